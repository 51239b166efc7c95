#!/usr/bin/env bash
# Inside the X server of a test run: starts a persistent wineserver in every prefix of the build
# folder (so Wine's background processes do not hold ctest's pipes), runs ctest, stops them.
# usage: run-ctest.sh <build-folder> [ctest arguments]
set -uo pipefail
build=$1
shift
for p in "$build"/prefixes/*/; do
  WINEPREFIX=$p wineserver -p
  WINEPREFIX=$p wine wineboot </dev/null >/dev/null 2>&1
done
ctest --test-dir "$build" --output-on-failure --timeout 300 -j "$(nproc)" "$@"
rc=$?
for p in "$build"/prefixes/*/; do WINEPREFIX=$p wineserver -k 2>/dev/null; done
exit $rc
