#!/usr/bin/env bash
# Runs the simulator in a real X server (Xvfb) on the demo line: a scripted drive of SECONDS (default 20), a
# screenshot of the drawing area and the run's figures, both kept in build/artifacts. Fails when the program
# fails, the screenshot is missing or the figures do not parse. The user's own settings are not touched.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
build=${VESK_BUILD_DIR:-build/dev}
out=build/artifacts
mkdir -p "$out"
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
rm -f "$out/vesk.png" "$out/vesk-stats.json"

env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$config" ALSOFT_DRIVERS=null \
  xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/src/vesk" --data build/demo-pack --script tests/app/window_drive.script --exit-after "$seconds" \
  --screenshot "$out/vesk.png" --stats >"$out/vesk-stats.json"

if [ ! -s "$out/vesk.png" ]; then
  echo "run_vesk_xvfb: no screenshot" >&2
  exit 1
fi
if ! jq -e '(.frames > 0) and (.drawnFrames > 0) and (.drawnFrames <= .frames) and (.fps | type == "number") and (.cpuShare | type == "number")' \
  "$out/vesk-stats.json" >/dev/null; then
  echo "run_vesk_xvfb: the figures do not parse:" >&2
  cat "$out/vesk-stats.json" >&2
  exit 1
fi
echo "run_vesk_xvfb: $(cat "$out/vesk-stats.json")"
