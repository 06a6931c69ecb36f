#!/usr/bin/env bash
# Configures (once) and builds one build tree: dev (optimised with debug info), asan (AddressSanitizer and
# UndefinedBehaviorSanitizer) or fuzz (clang with libFuzzer). Incremental and cached with ccache.
set -euo pipefail
cd "$(dirname "$0")/.."

kind=${1:-dev}
dir=build/$kind
case "$kind" in
  dev) options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  asan) options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_SANITIZE=ON -DVESK_BENCH=OFF) ;;
  fuzz) options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "usage: scripts/build.sh [dev|asan|fuzz]" >&2; exit 1 ;;
esac

if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
fi
cmake --build "$dir" -- -j"$(nproc)"
