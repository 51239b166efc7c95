#!/usr/bin/env bash
# Installs what is missing, then configures and builds the given presets (default: i686) into
# build/<preset>, or build/<HK_BUILD_NAME>-<preset> when HK_BUILD_NAME is set. Everything is
# built unless HK_BUILD_TARGETS names the targets (e.g. "Halvorkeep3 hkdrive").
# usage: build.sh [i686] [x86_64]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(i686)
bash scripts/setup.sh
for p in "${presets[@]}"; do
  case $p in
    i686) triplet=i686-w64-mingw32 ;;
    x86_64) triplet=x86_64-w64-mingw32 ;;
    *) echo "build: unknown preset $p (i686 or x86_64)" >&2; exit 1 ;;
  esac
  dir=build/${HK_BUILD_NAME:+$HK_BUILD_NAME-}$p
  bash scripts/deps.sh $triplet
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    echo "== $p: configuring $dir"
    cmake -S . -B "$dir" --preset $p >"$root/build/configure-${HK_BUILD_NAME:+$HK_BUILD_NAME-}$p.log" 2>&1 ||
      { cat "$root/build/configure-${HK_BUILD_NAME:+$HK_BUILD_NAME-}$p.log" >&2; exit 1; }
  fi
  echo "== $p: building $dir"
  targets=()
  for t in ${HK_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
  cmake --build "$dir" "${targets[@]}"
done
