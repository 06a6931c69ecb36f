#!/usr/bin/env bash
# Sets up, builds and runs vesk on the bundled example: the headless runner reads the example vehicle and
# prints what it found.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh dev
build/dev/tools/vesk-sim dump-vehicle --pretty --vehicle-dir examples/vehicle train_example.dat
