#!/usr/bin/env bash
# Runs ctest in a build folder, inside the X server of a test run: makes the folder's Wine
# prefixes when they are missing, starts a persistent wineserver in each (so Wine's background
# processes do not hold ctest's pipes), runs ctest and stops the servers again.
# usage: run-ctest.sh <build-folder> [ctest arguments]
# e.g.   xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/run-ctest.sh build/i686 -R program
set -uo pipefail
build=${1:?usage: run-ctest.sh <build-folder> [ctest arguments]}
shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-server.sh"
export WINEDEBUG=${WINEDEBUG:--all} LC_ALL=C.UTF-8

if [ -z "${DISPLAY:-}" ]; then
  echo "run-ctest: no X display; run it under Xvfb:" >&2
  echo "  xvfb-run -a -s \"-screen 0 1024x768x24\" bash scripts/run-ctest.sh $build" >&2
  exit 1
fi
[ -f "$build/CTestTestfile.cmake" ] || { echo "run-ctest: $build is not a configured build folder" >&2; exit 1; }
# Wine needs absolute prefix paths.
build=$(cd "$build" && pwd)

missing=()
for g in xp vista win7; do [ -f "$build/prefixes/$g/system.reg" ] || missing+=("$g"); done
if [ ${#missing[@]} -gt 0 ]; then
  bash "$here/prefixes.sh" "$build/prefixes" "${missing[@]}" || exit 1
fi

prefixes=()
for p in "$build"/prefixes/*/; do
  [ -f "$p/system.reg" ] && prefixes+=("${p%/}")
done
# A fresh server for this run in every prefix, whatever was left running before.
for p in "${prefixes[@]}"; do
  hk_server_down "$p"
  hk_server_up "$p" || exit 1
done

jobs=$(nproc)
[ "$jobs" -ge 2 ] || jobs=2
ctest --test-dir "$build" --output-on-failure --timeout 300 -j "$jobs" "$@"
rc=$?
for p in "${prefixes[@]}"; do hk_server_down "$p"; done
exit $rc
