#!/usr/bin/env bash
# One round trip through the real program. A fresh prefix of the source version gets the seeded
# user and two backups (C:\Backups\Plain, and a dated sub-folder of C:\Backups\Dated); then, for
# each restore, a fresh prefix gets the backup drive's C:\Backups (a plain file copy between the
# two drive_c folders) and the set is restored there. The driver e2e_roundtrip.exe works the
# program in each prefix and checks what it left; it runs through tests/run-test.sh, its phases
# picked with GTEST_FILTER and told the rest through HK_E2E_* variables. Runs inside the test
# run's X server.
# usage: roundtrip.sh <work-root> <source-group> <driver-exe> <program-folder> <restore>...
#   restore: <group>:<plain|dated>:<default|origin>[:installed]  (installed: today's Firefox and
#            Thunderbird are on the new machine already, each with a profile of its own)
set -euo pipefail
work=$1 source=$2 driver=$3 program=$4
shift 4
restores=("$@")
tests=$(cd "$(dirname "$0")/.." && pwd)
scripts=$(cd "$tests/../scripts" && pwd)
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

# phase <prefix> <group> <gtest-filter> <program-folder> [VAR=value...]: the driver in that prefix,
# through the test runner, with the program folder beside it as app\.
phase() {
  local prefix=$1 group=$2 filter=$3 folder=$4
  shift 4
  hk_server_up "$prefix"
  echo "== $group ($(basename "$(dirname "$prefix")")): $filter $*"
  env "$@" GTEST_FILTER="$filter" bash "$tests/run-test.sh" "$(dirname "$prefix")" "$group" e2e "$driver" "$folder"
  hk_server_down "$prefix"
}

rm -rf "$root"
mkdir -p "$root"
fresh source "$source"
from=$made
phase "$from" "$source" 'Backup.*' "$program"
dated=$(cd "$from/drive_c/Backups/Dated" && ls -d ./*/ | head -n1)
dated=${dated#./}
dated=${dated%/}
[ -n "$dated" ] || { echo "roundtrip: no dated set in C:\\Backups\\Dated" >&2; exit 1; }
# The user carries the program folder along: its settings tick the sub-folder option.
carried=$root/carried-program
cp -r "$program" "$carried"
cp "$from/drive_c/tests/e2e/app/Halvorkeep.ini" "$carried/"

n=0
for restore in "${restores[@]}"; do
  IFS=: read -r group which profiles browsers <<<"$restore"
  n=$((n + 1))
  fresh "target$n" "$group"
  to=$made
  cp -a "$from/drive_c/Backups" "$to/drive_c/"
  if [ "$which" = dated ]; then
    phase "$to" "$group" 'Restore.*' "$carried" HK_E2E_SOURCE="$source" HK_E2E_SET="C:\\Backups\\Dated\\$dated" \
      HK_E2E_PROFILES="$profiles" HK_E2E_SUBFOLDER=1 HK_E2E_BROWSERS="${browsers:-}"
  else
    phase "$to" "$group" 'Restore.*' "$program" HK_E2E_SOURCE="$source" HK_E2E_SET='C:\Backups\Plain' \
      HK_E2E_PROFILES="$profiles" HK_E2E_SUBFOLDER=0 HK_E2E_BROWSERS="${browsers:-}"
  fi
done
echo "roundtrip: $source backed up and restored ${#restores[@]} time(s)"
