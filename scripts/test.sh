#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test of both under Wine and Xvfb.
# Each preset's run gets fresh prefixes (xp, vista, win7) and a persistent wineserver per prefix,
# stopped at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(i686 x86_64)
bash scripts/build.sh "${presets[@]}"
export LC_ALL=C.UTF-8 WINEDEBUG=-all
status=0
for p in "${presets[@]}"; do
  echo "== $p: making test prefixes"
  bash scripts/prefixes.sh "$root/build/$p/prefixes"
  echo "== $p: running tests"
  xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/run-ctest.sh "$root/build/$p" || status=1
done
exit $status
