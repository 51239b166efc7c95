#!/usr/bin/env bash
# The run command: installs what is missing, builds the shipped 32-bit program and starts the
# wizard under Wine in a demo prefix (.demo-prefix/, made once and kept) whose user folders hold
# a little sample data, so a backup and a restore can be tried at once. WINEPREFIX, when set,
# is used instead of the demo prefix (and is not seeded).
# usage: run.sh [--reset] [--check]
#   --reset  make the demo prefix anew (the sample data and the settings are reset)
#   --check  start the wizard, wait for its window, close it again (e.g. under xvfb-run)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
reset=0 check=0
for arg in "$@"; do
  case $arg in
    --reset) reset=1 ;;
    --check) check=1 ;;
    *) echo "usage: scripts/run.sh [--reset] [--check]" >&2; exit 2 ;;
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
if [ -n "${WINEPREFIX:-}" ]; then
  [ $reset = 0 ] || { echo "run: --reset only resets the demo prefix, not WINEPREFIX=$WINEPREFIX" >&2; exit 2; }
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
fi
hk_install_program "$prefix" "$build/program"
export WINEPREFIX=$prefix

# Started from inside drive_c: without the Z: drive Wine knows no other path to it.
cd "$prefix/drive_c/Halvorkeep3"
if [ $check = 0 ]; then
  echo "run: starting Halvorkeep3 (prefix $prefix; sample data under C:\\users\\$(id -un))"
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
# The X server of a check goes away with it: stop the demo prefix's wineserver too.
[ "$prefix" != "$demo" ] || wineserver -k >/dev/null 2>&1 || true
exit $rc
