#!/usr/bin/env bash
# clang-tidy (bugprone-*, performance-*) over our sources, and a clang-format check.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh dev >/dev/null
files=$(git ls-files 'src/*.cpp' 'tools/*.cpp' 'bench/*.cpp')
run-clang-tidy -quiet -p build/dev -j "$(nproc)" $files 2>/dev/null | grep -E '(warning|error):' && exit 1
clang-format --dry-run --Werror $(git ls-files '*.cpp' '*.h')
echo "lint: clean"
