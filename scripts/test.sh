#!/usr/bin/env bash
# The test command: installs what is missing, builds both presets and runs every test of both
# under Wine and Xvfb. Each preset's run gets fresh prefixes (xp, vista, win7) and a persistent
# wineserver per prefix, stopped at the end. Ends with ctest's summary line for the whole run and
# exits non-zero when a build or any test fails.
# usage: test.sh [i686] [x86_64]   (HK_BUILD_NAME=name builds into build/name-<preset>)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(i686 x86_64)
export LC_ALL=C.UTF-8 WINEDEBUG=-all
name=${HK_BUILD_NAME:+$HK_BUILD_NAME-}

bash scripts/setup.sh
mkdir -p build

# The first preset's prefixes are made while the code builds.
first=$root/build/$name${presets[0]}
# In a session of its own, so that a failed build can stop it with everything it started.
setsid bash scripts/prefixes.sh "$first/prefixes" >build/prefixes-$name${presets[0]}.log 2>&1 &
prefix_job=$!
trap 'kill -- -$prefix_job 2>/dev/null || true' EXIT
bash scripts/build.sh "${presets[@]}"
if ! wait $prefix_job; then
  cat build/prefixes-$name${presets[0]}.log >&2
  exit 1
fi
trap - EXIT

passed=0 failed=0 total=0 status=0
for p in "${presets[@]}"; do
  dir=$root/build/$name$p
  [ "$dir" = "$first" ] || { echo "== $p: making test prefixes"; bash scripts/prefixes.sh "$dir/prefixes"; }
  echo "== $p: running tests"
  log=$dir/test-run.log
  for attempt in 1 2; do
    rc=0
    xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/run-ctest.sh "$dir" </dev/null 2>&1 | tee "$log" || rc=$?
    # xvfb-run -a can lose the race for a display number to another run starting at once.
    grep -q 'Xvfb failed to start' "$log" || break
  done
  [ $rc = 0 ] || status=1
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n1 || true)
  if [ -z "$line" ]; then
    echo "== $p: ctest gave no summary" >&2
    status=1
    continue
  fi
  read -r f t <<<"$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/')"
  failed=$((failed + f))
  total=$((total + t))
  passed=$((passed + t - f))
done

echo "== all presets (${presets[*]})"
[ $total -gt 0 ] || { echo "No tests were found!!!"; exit 1; }
[ $failed = 0 ] || status=1
echo "$((passed * 100 / total))% tests passed, $failed tests failed out of $total"
exit $status
