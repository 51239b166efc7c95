#!/usr/bin/env bash
# The run command: installs what is missing, builds the shipped 32-bit program and starts the
# wizard under Wine in a demo prefix (.demo-prefix/, made once and kept) whose user folders hold
# a little sample data, so a backup can be tried at once. With --restore it starts the wizard in
# a second demo prefix (.demo-prefix-2/, made anew each time) that shares the first one's
# C:\Backups, so the set made there can be restored onto a fresh machine. WINEPREFIX, when set,
# is used instead of the demo prefix (and is not seeded).
# usage: run.sh [--reset] [--restore] [--check]
#   --reset    make the demo prefix anew (the sample data and the settings are reset)
#   --restore  start the wizard in the fresh second demo prefix
#   --check    start the wizard, wait for its window, close it again (e.g. under xvfb-run)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
reset=0 check=0 restore=0
for arg in "$@"; do
  case $arg in
    --reset) reset=1 ;;
    --check) check=1 ;;
    --restore) restore=1 ;;
    *) echo "usage: scripts/run.sh [--reset] [--restore] [--check]" >&2; exit 2 ;;
  esac
done

if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'EOF'
run: no display (DISPLAY is not set), and Halvorkeep3 is a desktop program. Either
  - run scripts/run.sh on a Linux desktop, or over ssh with X forwarding (ssh -X), or
  - just check that it builds and starts, without a screen:
      xvfb-run -a scripts/run.sh --check
EOF
  exit 2
fi

export LC_ALL=${LC_ALL:-C.UTF-8} WINEDEBUG=${WINEDEBUG:--all}
. scripts/demo-prefix.sh
build=$root/build/${HK_BUILD_NAME:+$HK_BUILD_NAME-}i686
HK_BUILD_TARGETS="Halvorkeep3 hkdrive" bash scripts/build.sh i686

demo=$root/.demo-prefix
second=$root/.demo-prefix-2
if [ -n "${WINEPREFIX:-}" ]; then
  [ $reset = 0 ] || { echo "run: --reset only resets the demo prefix, not WINEPREFIX=$WINEPREFIX" >&2; exit 2; }
  [ $restore = 0 ] || { echo "run: --restore uses the demo prefixes; unset WINEPREFIX" >&2; exit 2; }
  prefix=$WINEPREFIX
  if [ ! -f "$prefix/system.reg" ]; then
    echo "run: making the Wine prefix $prefix"
    WINEPREFIX=$prefix wineboot -i </dev/null >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w
  fi
else
  prefix=$demo
  if [ $reset = 1 ] && [ -d "$prefix" ]; then
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
  fi
  if [ ! -f "$prefix/.hk-demo" ]; then
    echo "run: making the demo prefix $prefix (once, about 20 s)"
    rm -rf "$prefix"
    hk_make_user_prefix "$prefix"
    hk_seed_user_data "$prefix"
    date >"$prefix/.hk-demo"
  fi
  if [ $restore = 1 ]; then
    echo "run: making the second demo prefix $second (each time, about 20 s)"
    WINEPREFIX=$second wineserver -k >/dev/null 2>&1 || true
    rm -rf "$second"
    hk_make_user_prefix "$second"
    hk_share_backups "$second" "$demo"
    prefix=$second
  fi
fi
hk_install_program "$prefix" "$build/program"
export WINEPREFIX=$prefix

# Started from inside drive_c: without the Z: drive Wine knows no other path to it.
cd "$prefix/drive_c/Halvorkeep3"
if [ $check = 0 ]; then
  if [ "$prefix" = "$second" ]; then
    echo "run: starting Halvorkeep3 (prefix $prefix; C:\\Backups is the first demo prefix's)"
  else
    echo "run: starting Halvorkeep3 (prefix $prefix; sample data under C:\\users\\$(id -un))"
  fi
  exec wine Halvorkeep3.exe </dev/null
fi

mkdir -p "$prefix/drive_c/hktools"
cp "$build/tools/hkdrive.exe" "$prefix/drive_c/hktools/"
wine Halvorkeep3.exe </dev/null >/dev/null 2>&1 &
program=$!
if wine 'C:\hktools\hkdrive.exe' wait-window 30 </dev/null; then
  wine 'C:\hktools\hkdrive.exe' close 10 </dev/null || true
  wait $program || true
  echo "run: Halvorkeep3 started and showed its window"
  rc=0
else
  kill $program 2>/dev/null || true
  echo "run: Halvorkeep3 did not show its window" >&2
  rc=1
fi
# The X server of a check goes away with it: stop the demo prefixes' wineserver too.
case $prefix in "$demo" | "$second") wineserver -k >/dev/null 2>&1 || true ;; esac
exit $rc
