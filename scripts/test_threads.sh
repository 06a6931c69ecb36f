#!/usr/bin/env bash
# The tests of threads meeting (the simulation thread, the window's snapshots, input from other threads), built and
# run under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh tsan
export QT_QPA_PLATFORM=offscreen ALSOFT_DRIVERS=null
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
build/tsan/tests/vesk_thread_tests
