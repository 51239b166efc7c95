#!/usr/bin/env bash
# Makes fresh Wine prefixes for one test run under <root>: xp, vista and win7 (or the groups
# named), each reporting its Windows version, without the Z: drive, with real user folders (not
# links into the Linux home) and with windows that hide at once under a bare X server.
#
# The prefixes are copies of a template made once by `wineboot -i` and kept in
# $HK_PREFIX_TEMPLATE (default build/prefix-template); the template is never used itself, so
# every copy is as fresh as a new prefix. Windows' big system folders are hard-linked into the
# copies (nothing writes into them in place), the rest is copied. A new Wine version or a
# change of this script's recipe remakes the template.
# usage: prefixes.sh <root> [group ...]
set -euo pipefail
root=${1:?usage: prefixes.sh <root> [group ...]}
shift
groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=(xp vista win7)
for g in "${groups[@]}"; do
  case $g in xp | vista | win7) ;; *) echo "prefixes: unknown group $g (xp, vista or win7)" >&2; exit 1 ;; esac
done
repo=$(cd "$(dirname "$0")/.." && pwd)
template=${HK_PREFIX_TEMPLATE:-$repo/build/prefix-template}
export WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# What the template depends on: this recipe, Wine and Wine's fonts (cached in the registry).
recipe="recipe 3; $(wine --version 2>/dev/null); fonts-wine $(dpkg-query -W -f='${Version}' fonts-wine 2>/dev/null)"

# clone <from> <to>: a prefix copy whose system folders are hard links.
clone() {
  local from=$1 to=$2 e name
  shopt -s dotglob nullglob
  mkdir -p "$to/drive_c/windows"
  for e in "$from"/*; do [ "${e##*/}" = drive_c ] || cp -a "$e" "$to/"; done
  for e in "$from"/drive_c/*; do [ "${e##*/}" = windows ] || cp -a "$e" "$to/drive_c/"; done
  for e in "$from"/drive_c/windows/*; do
    name=${e##*/}
    case $name in
      system32 | syswow64 | winsxs) cp -al "$e" "$to/drive_c/windows/" ;;
      *) cp -a "$e" "$to/drive_c/windows/" ;;
    esac
  done
  shopt -u dotglob nullglob
}

set_version() {
  local prefix=$1 group=$2
  case $group in
    xp) WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f ;;
    vista) WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine' /v Version /d vista /f ;;
    # Version=win7 in the registry reports a server; winecfg reports a workstation.
    win7) WINEPREFIX=$prefix wine winecfg -v win7 ;;
  esac </dev/null >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w
}

make_template() {
  local work=$template.new.$$ base g pids=()
  rm -rf "$work"
  mkdir -p "$work"
  base=$work/base
  echo "prefixes: making the prefix template (wineboot -i)"
  WINEPREFIX=$base wineboot -i </dev/null >/dev/null 2>&1
  WINEPREFIX=$base wineserver -w
  # Z: is the whole Linux root and would count as a fixed drive.
  rm -f "$base/dosdevices/z:"
  # Desktop, Documents, Music... link into the Linux home: make them real folders.
  for link in "$base"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm "$link"; mkdir -p "$link"; fi
  done
  # Under a bare X server every hide of a managed window waits 2 s.
  WINEPREFIX=$base wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  # A test exe that crashes ends with a backtrace instead of waiting in the crash dialog.
  WINEPREFIX=$base wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  WINEPREFIX=$base wineserver -w
  [ -f "$base/system.reg" ] && [ -d "$base/drive_c/windows/system32" ] ||
    { echo "prefixes: wineboot did not make a prefix in $base" >&2; rm -rf "$work"; exit 1; }
  for g in xp vista win7; do
    (clone "$base" "$work/$g" && set_version "$work/$g" $g) &
    pids+=($!)
  done
  for p in "${pids[@]}"; do wait "$p"; done
  rm -rf "$base"
  echo "$recipe" >"$work/stamp"
  rm -rf "$template"
  mv "$work" "$template"
}

template_ready() { [ "$(cat "$template/stamp" 2>/dev/null)" = "$recipe" ]; }

# Several runs may want the template at once: one makes it, the others wait for it. The lock
# is taken with flock -o, so Wine's processes do not inherit it.
if [ "${HK_MAKING_TEMPLATE:-}" = 1 ]; then
  template_ready || make_template
  exit 0
fi
mkdir -p "$(dirname "$template")" "$root"
template_ready || HK_MAKING_TEMPLATE=1 flock -o "$template.lock" bash "$0" "$root"

# Copies are made under a shared lock, so the template is not remade beneath them.
exec 8>>"$template.lock"
flock -s 8
pids=()
for g in "${groups[@]}"; do
  # A server left running in an old copy would outlive it.
  [ -d "$root/$g" ] && WINEPREFIX=$root/$g wineserver -k >/dev/null 2>&1 || true
  rm -rf "${root:?}/$g"
  clone "$template/$g" "$root/$g" &
  pids+=($!)
done
for p in "${pids[@]}"; do wait "$p"; done
exec 8>&-
