#!/usr/bin/env bash
# Runs the simulator from its title screen in a real X server (Xvfb) on the demo line for SECONDS (default 8) and
# keeps a screenshot of the title in build/artifacts/vesk-title.png. Fails when the program fails or the picture
# is missing or empty. The user's own settings are not touched.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-8}
build=${VESK_BUILD_DIR:-build/dev}
out=build/artifacts
mkdir -p "$out"
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
rm -f "$out/vesk-title.png"

env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$config" ALSOFT_DRIVERS=null \
  xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/src/vesk" --data build/demo-pack --exit-after "$seconds" --screenshot "$out/vesk-title.png"

if [ ! -s "$out/vesk-title.png" ]; then
  echo "run_title_xvfb: no screenshot" >&2
  exit 1
fi
# The title picture has more than one colour.
colours=$(convert "$out/vesk-title.png" -format '%k' info:)
if [ "$colours" -lt 16 ]; then
  echo "run_title_xvfb: the screenshot is nearly empty ($colours colours)" >&2
  exit 1
fi
echo "run_title_xvfb: $(identify -format '%wx%h, ' "$out/vesk-title.png")$colours colours"
