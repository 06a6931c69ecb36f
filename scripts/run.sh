#!/usr/bin/env bash
# Sets up, builds, writes the demo line (once) and drives it headless: the down local with the VK500 on the
# debugging auto-run (the train runs at the video's recorded speed), printing a summary of the drive.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh dev
scripts/demo.sh
script=$(mktemp)
trap 'rm -f "$script"' EXIT
echo "0 key F1 shift" > "$script"
build/dev/tools/vesk-sim run --program-dir build/demo-pack --vehicle-dir build/demo-pack \
  --vehicle train_VK500.dat --route line_down_local.dat --ms 720000 --script "$script" --summary
