#!/usr/bin/env bash
# The driving window's figures on the demo line: a 60-second scripted drive of `vesk --stats` in a real X server
# (frames a second, the process's share of one core, frame pacing, the simulation thread's lateness and drift,
# the window's load time), then the video reader's seek times for station jumps.
#   bench/window_bench.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${VESK_BUILD_DIR:-build/dev}
scripts/run_vesk_xvfb.sh "$seconds" >/dev/null
stats=build/artifacts/vesk-stats.json
jq -r '
  "window, \(.wallMs / 1000 | floor) s of the demo drive under Xvfb:",
  "  frames shown            \(.frames) (\(.fps * 100 | round / 100) a second), \(.drawnFrames) composed anew",
  "  frame interval          p50 \(.frameP50Ms) ms, p99 \(.frameP99Ms) ms",
  "  compose and present     (frames composed anew) p50 \(.drawP50Ms) ms, p99 \(.drawP99Ms) ms",
  "  CPU                     \(.cpuShare * 1000 | round / 10) % of one core (whole process)",
  "  control step lateness   p99 \(.stepP99Ms) ms; tick p99 \(.tickP99Ms) ms",
  "  virtual against wall    \(.virtualMs) ms against \(.wallMs) ms: drift \(.driftMs) ms (the last control step is at most 33 ms behind)",
  "  load to first frame     \(.loadMs) ms"' "$stats"
"$build/bench/video_seek_bench" build/demo-pack
