#!/usr/bin/env bash
# Fails when a C++ source of ours is not formatted as .clang-format says.
# Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
clang-format --dry-run -Werror "${files[@]}"
echo "format: ${#files[@]} files clean"
