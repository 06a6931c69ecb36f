#!/usr/bin/env bash
# Configures (once) and builds one build tree: dev (optimised with debug info), release (as a packager builds it),
# asan (AddressSanitizer and UndefinedBehaviorSanitizer), tsan (ThreadSanitizer) or fuzz (clang with libFuzzer).
# Incremental and cached with ccache; warnings are errors in every tree.
set -euo pipefail
cd "$(dirname "$0")/.."

kind=${1:-dev}
dir=build/$kind
case "$kind" in
  dev) options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  release) options=(-DCMAKE_BUILD_TYPE=Release -DVESK_TESTS=OFF -DVESK_BENCH=OFF) ;;  # what a packager builds
  tsan) options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_TSAN=ON -DVESK_BENCH=OFF) ;;
  asan) options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_SANITIZE=ON -DVESK_BENCH=OFF) ;;
  fuzz) options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "usage: scripts/build.sh [dev|release|asan|tsan|fuzz]" >&2; exit 1 ;;
esac

if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DVESK_WERROR=ON "${options[@]}" >/dev/null
fi
targets=()
# Under ThreadSanitizer only the tests of threads meeting are run, so only they are built.
[ "$kind" = tsan ] && targets=(--target vesk_thread_tests)
cmake --build "$dir" "${targets[@]}" -- -j"$(nproc)"
