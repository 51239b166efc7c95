#!/usr/bin/env bash
# Makes the Wine prefixes of one test run under <root>: xp, vista and win7, each fresh, without
# the Z: drive, with real user folders (not links into the Linux home) and with windows that
# hide at once under a bare X server.
# usage: prefixes.sh <root> [group ...]
set -euo pipefail
root=${1:?usage: prefixes.sh <root> [group ...]}
shift
groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=(xp vista win7)
export WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="

base=$root/.base
rm -rf "$root"
mkdir -p "$root"
WINEPREFIX=$base wineboot -i >/dev/null 2>&1
WINEPREFIX=$base wineserver -w
rm -f "$base/dosdevices/z:"
for link in "$base"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm "$link"; mkdir -p "$link"; fi
done
WINEPREFIX=$base wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
WINEPREFIX=$base wineserver -w

for g in "${groups[@]}"; do
  cp -a "$base" "$root/$g"
  case $g in
    xp) WINEPREFIX=$root/$g wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1 ;;
    vista) WINEPREFIX=$root/$g wine reg add 'HKCU\Software\Wine' /v Version /d vista /f >/dev/null 2>&1 ;;
    win7) WINEPREFIX=$root/$g wine winecfg -v win7 >/dev/null 2>&1 ;;
  esac
  WINEPREFIX=$root/$g wineserver -w
done
rm -rf "$base"
