#!/usr/bin/env bash
# Makes the README's pictures from the real program under Xvfb: docs/welcome.png (the welcome
# page) and docs/backup-page.png (backup page 1, reached with Next), each cropped to the
# program's window. Runs in a scratch prefix with the demo's sample user data.
# usage: screenshots.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export LC_ALL=C.UTF-8 WINEDEBUG=-all
build=$root/build/${HK_BUILD_NAME:+$HK_BUILD_NAME-}i686
work=$root/build/screenshots

if [ "${1:-}" != --inside ]; then
  HK_WITH_IMAGEMAGICK=1 bash scripts/setup.sh
  HK_BUILD_TARGETS="Halvorkeep3 hkdrive" bash scripts/build.sh i686
  . scripts/demo-prefix.sh
  # A fresh Windows 7 prefix (no Z:, real user folders, windows drawn by Wine itself).
  bash scripts/prefixes.sh "$work/prefixes" win7
  prefix=$work/prefixes/win7
  hk_seed_user_data "$prefix"
  app=$prefix/drive_c/Halvorkeep3
  mkdir -p "$app" "$prefix/drive_c/Backups" "$prefix/drive_c/hktools"
  cp -r "$build/program"/. "$app/"
  cp "$build/tools/hkdrive.exe" "$prefix/drive_c/hktools/"
  # Next on the welcome page needs an existing storage folder.
  printf '[CONFIG]\r\nLastLanguage=English\r\nLastBackupFolder=C:\\Backups\r\nBackupInSubFolder=NO\r\n' >"$app/Halvorkeep.ini"
  mkdir -p docs
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside
fi

export WINEPREFIX=$work/prefixes/win7
# The control IDs come from the program's own header.
id() { awk -v name="IDC_$1" '$1 == "#define" && $2 == name { print $3 }' "$root/resources/resource.h"; }
drive() { wine 'C:\hktools\hkdrive.exe' "$@" </dev/null | tr -d '\r'; }
# capture <file>: the screen, cropped to the program's window without the frame (under a bare X
# server Wine draws the frame itself, with stand-in caption buttons).
capture() {
  local geometry
  sleep 1  # let the page finish painting
  geometry=$(drive geometry client)
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "$geometry" +repage "$1"
  echo "screenshots: $1 ($geometry)"
}
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
cd "$WINEPREFIX/drive_c/Halvorkeep3"
wine Halvorkeep3.exe </dev/null >/dev/null 2>&1 &
drive wait-window 30
capture "$root/docs/welcome.png"
drive click "$(id WelcomeNext)"
drive wait-visible "$(id BackupTabSheet1)"
capture "$root/docs/backup-page.png"
drive close 10 || true
