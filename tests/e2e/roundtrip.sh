#!/usr/bin/env bash
# One round trip through the real program. A fresh prefix of the source version gets the seeded
# user and two backups (C:\Backups\Plain, and a dated sub-folder of C:\Backups\Dated); then, for
# each restore, a fresh prefix gets the backup drive's C:\Backups (a plain file copy between the
# two drive_c folders) and the set is restored there. The driver e2e_roundtrip.exe works the
# program in each prefix and checks what it left; its phases are picked with --gtest_filter and
# told the rest through HK_E2E_* variables. Runs inside the test run's X server.
# usage: roundtrip.sh <work-root> <source-group> <driver-exe> <program-folder> <restore>...
#   restore: <group>:<plain|dated>:<default|origin>
set -euo pipefail
work=$1 source=$2 driver=$3 program=$4
shift 4
restores=("$@")
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
. "$scripts/wine-server.sh"
export WINEDEBUG=${WINEDEBUG:--all} LC_ALL=C.UTF-8
[ -n "${DISPLAY:-}" ] || { echo "roundtrip: no X display (run it through scripts/run-ctest.sh under xvfb-run)" >&2; exit 1; }

root=$work/$source
prefixes=()
cleanup() {
  local p
  for p in "${prefixes[@]}"; do hk_server_down "$p"; done
}
trap cleanup EXIT

# fresh <name> <group>: a new prefix of that version under the round trip's root, in $made.
fresh() {
  bash "$scripts/prefixes.sh" "$root/$1" "$2"
  made=$root/$1/$2
  prefixes+=("$made")
}

# install <prefix>: the program folder as C:\Halvorkeep3 and the driver in C:\e2e.
install() {
  mkdir -p "$1/drive_c/Halvorkeep3" "$1/drive_c/e2e"
  cp -r "$program"/. "$1/drive_c/Halvorkeep3/"
  cp "$driver" "$1/drive_c/e2e/"
}

# phase <prefix> <group> <gtest-filter> [VAR=value...]: the driver in that prefix; only GoogleTest's
# own summary counts as a pass.
phase() {
  local prefix=$1 group=$2 filter=$3 out rc
  shift 3
  hk_server_up "$prefix"
  out=$prefix/drive_c/e2e/$filter.txt
  echo "== $group ($(basename "$(dirname "$prefix")")): $filter $*"
  set +e
  (cd "$prefix/drive_c/e2e" &&
    env "$@" WINEPREFIX="$prefix" HK_TEST_GROUP="$group" wine "$(basename "$driver")" --gtest_filter="$filter" \
      --gtest_brief=1 </dev/null 2>&1) | tee "$out"
  rc=${PIPESTATUS[0]}
  set -e
  if [ "$rc" = 0 ] && ! grep -q '^\[  PASSED  \]' "$out"; then
    echo "roundtrip: $filter ended without GoogleTest's summary line" >&2
    rc=1
  fi
  hk_server_down "$prefix"
  return "$rc"
}

rm -rf "$root"
mkdir -p "$root"
fresh source "$source"
from=$made
install "$from"
phase "$from" "$source" 'Backup.*'
dated=$(cd "$from/drive_c/Backups/Dated" && ls -d ./*/ | head -n1)
dated=${dated#./}
dated=${dated%/}
[ -n "$dated" ] || { echo "roundtrip: no dated set in C:\\Backups\\Dated" >&2; exit 1; }

n=0
for restore in "${restores[@]}"; do
  IFS=: read -r group which profiles <<<"$restore"
  n=$((n + 1))
  fresh "target$n" "$group"
  to=$made
  install "$to"
  cp -a "$from/drive_c/Backups" "$to/drive_c/"
  subfolder=0
  backup_set='C:\Backups\Plain'
  if [ "$which" = dated ]; then
    # The user carries the program folder along: its settings tick the sub-folder option.
    cp "$from/drive_c/Halvorkeep3/Halvorkeep.ini" "$to/drive_c/Halvorkeep3/"
    subfolder=1
    backup_set="C:\\Backups\\Dated\\$dated"
  fi
  phase "$to" "$group" 'Restore.*' HK_E2E_SOURCE="$source" HK_E2E_SET="$backup_set" HK_E2E_PROFILES="$profiles" \
    HK_E2E_SUBFOLDER=$subfolder
done
echo "roundtrip: $source backed up and restored ${#restores[@]} time(s)"
