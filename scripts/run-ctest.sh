#!/usr/bin/env bash
# Inside the X server of a test run: starts a persistent wineserver in every prefix (so Wine's
# background processes do not hold ctest's pipes), runs ctest for the preset, stops the servers.
set -uo pipefail
prefixes=$1 preset=$2
for p in "$prefixes"/*/; do
  WINEPREFIX=$p wineserver -p
  WINEPREFIX=$p wine wineboot </dev/null >/dev/null 2>&1
done
ctest --preset "$preset" -j "$(nproc)"
rc=$?
for p in "$prefixes"/*/; do WINEPREFIX=$p wineserver -k 2>/dev/null; done
exit $rc
