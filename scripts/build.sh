#!/usr/bin/env bash
# Installs what is missing, then configures and builds the given presets (default: i686).
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
  bash scripts/deps.sh $triplet
  [ -f build/$p/CMakeCache.txt ] || cmake --preset $p >/dev/null
  cmake --build --preset $p
done
