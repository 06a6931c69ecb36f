#!/usr/bin/env bash
# Writes the demo line's program folder, build/demo-pack, with the generator (tools/demo_line). It is written
# once and again only when the generator's sources change.
set -euo pipefail
cd "$(dirname "$0")/.."

out=build/demo-pack
stamp=$(cat tools/demo_line/*.cpp tools/demo_line/*.h src/data/track_positions.* | sha256sum | cut -c1-16)
if [ -f "$out/.stamp" ] && [ "$(cat "$out/.stamp")" = "$stamp" ]; then
  exit 0
fi
scripts/build.sh dev >/dev/null
echo "demo: writing the demo line to build/demo-pack (under a minute)"
rm -rf "$out.tmp"
build/dev/tools/demo_line/vesk-demo-line "$out.tmp"
echo "$stamp" > "$out.tmp/.stamp"
rm -rf "$out"
mv "$out.tmp" "$out"
