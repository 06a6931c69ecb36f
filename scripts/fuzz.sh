#!/usr/bin/env bash
# Builds the fuzzers and runs each for the given number of seconds (default 60) on a copy of its seed corpus.
# Usage: scripts/fuzz.sh [SECONDS] [FUZZER...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
fuzzers=("$@")
[ ${#fuzzers[@]} -eq 0 ] && fuzzers=(vehicle_file_fuzzer route_file_fuzzer string_file_fuzzer picture_fuzzer wave_fuzzer saved_state_fuzzer)

scripts/build.sh fuzz
for fuzzer in "${fuzzers[@]}"; do
  corpus=build/fuzz/corpus/${fuzzer%_fuzzer}
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"${fuzzer%_fuzzer}"/* "$corpus"/ 2>/dev/null || true
  dict=()
  [ -f "fuzz/${fuzzer%_fuzzer}.dict" ] && dict=(-dict="fuzz/${fuzzer%_fuzzer}.dict")
  echo "fuzz: $fuzzer for ${seconds}s"
  "build/fuzz/fuzz/$fuzzer" "${dict[@]}" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=4096 -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
done
