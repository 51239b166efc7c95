#!/usr/bin/env bash
# Runs one test exe under Wine in the prefix of its group, from its own folder C:\tests\<entry>
# (the exe's program folder), with the built program folder copied beside it as app\ when given.
# Makes the group's prefix when it is missing and starts its wineserver when none of this X
# server runs, so ctest also works when it is not started through scripts/run-ctest.sh.
# usage: run-test.sh <prefix-root> <group> <entry> <exe> [program-folder]
set -euo pipefail
root=$1 group=$2 entry=$3 exe=$4 program=${5:-}
scripts=$(cd "$(dirname "$0")/../scripts" && pwd)
prefix=$root/$group
export WINEDEBUG=${WINEDEBUG:--all} LC_ALL=C.UTF-8

[ -n "${DISPLAY:-}" ] || echo "run-test: no X display: windows cannot be made (run the tests through scripts/run-ctest.sh under xvfb-run)" >&2

# The locks are taken with flock -o so that the wineserver and Wine's background processes,
# which outlive this script, do not inherit (and hold) them.
mkdir -p "$root"
if [ ! -f "$prefix/system.reg" ]; then
  flock -o "$root/.hk-lock" bash -c '[ -f "$1/system.reg" ] || bash "$2/prefixes.sh" "$3" "$4"' \
    _ "$prefix" "$scripts" "$root" "$group" >&2
fi
# Outside run-ctest.sh the server persists a minute after the last exe.
flock -o "$prefix/.hk-lock" bash -c '. "$1/wine-server.sh" && hk_server_up "$2" 60' _ "$scripts" "$prefix"

dir=$prefix/drive_c/tests/$entry
rm -rf "$dir"
mkdir -p "$dir"
cp "$exe" "$dir/"
if [ -n "$program" ]; then
  mkdir -p "$dir/app"
  cp -r "$program"/. "$dir/app/"
fi
cd "$dir"
export WINEPREFIX=$prefix HK_TEST_GROUP=$group
# An entry that sets HK_TEST_LOCALE runs under that locale, and so under its ANSI code page.
[ -z "${HK_TEST_LOCALE:-}" ] || { export LC_ALL=$HK_TEST_LOCALE; } 2>/dev/null
# A test exe that crashes may still end with code 0: only GoogleTest's own summary counts as a pass.
# The output goes to a file, shown once the exe has ended: a Wine background process that the exe
# starts (the desktop's explorer, when it had ended since the last exe) inherits the exe's output
# and lives on, and through a pipe it would keep ctest waiting until the test's timeout.
set +e
wine "$(basename "$exe")" --gtest_brief=1 </dev/null >"$dir/test-output.txt" 2>&1
rc=$?
set -e
cat "$dir/test-output.txt"
if [ "$rc" = 0 ] && ! grep -q '^\[  PASSED  \]' "$dir/test-output.txt"; then
  echo "run-test: $entry ended without GoogleTest's summary line (did it crash?)" >&2
  rc=1
fi
exit "$rc"
