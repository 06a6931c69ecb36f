#!/usr/bin/env bash
# Sets up, builds and runs every test, the demo line's checks included (the demo line is written once first).
# With --sanitize the tests run under AddressSanitizer and UndefinedBehaviorSanitizer instead.
set -euo pipefail
cd "$(dirname "$0")/.."

kind=dev
[ "${1:-}" = "--sanitize" ] && kind=asan

scripts/setup.sh
scripts/build.sh "$kind"
scripts/demo.sh
export QT_QPA_PLATFORM=offscreen ALSOFT_DRIVERS=null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
ctest --test-dir "build/$kind" --output-on-failure -j"$(nproc)"
