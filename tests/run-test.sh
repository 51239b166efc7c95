#!/usr/bin/env bash
# Runs one test exe under Wine in the prefix of its group, from its own folder C:\tests\<entry>
# (the exe's program folder), with the built program folder copied beside it as app\ when given.
# usage: run-test.sh <prefix-root> <group> <entry> <exe> [program-folder]
set -euo pipefail
root=$1 group=$2 entry=$3 exe=$4 program=${5:-}
prefix=$root/$group
if [ ! -f "$prefix/system.reg" ]; then
  echo "run-test: no prefix $prefix; run the tests through scripts/test.sh" >&2
  exit 1
fi
dir=$prefix/drive_c/tests/$entry
rm -rf "$dir"
mkdir -p "$dir"
cp "$exe" "$dir/"
if [ -n "$program" ]; then
  mkdir -p "$dir/app"
  cp -r "$program"/. "$dir/app/"
fi
cd "$dir"
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} HK_TEST_GROUP=$group
exec wine "$(basename "$exe")" --gtest_brief=1
