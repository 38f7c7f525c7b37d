#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over our sources outside the
# tests, with the compile commands of an existing build, one process per core.
# Fails on any finding.
#
#   scripts/check-tidy.sh [BUILD_DIR]     default: build-test-normal
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test-normal}
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json: build first" >&2; exit 2; }
mapfile -t files < <(git ls-files -- worksheet calc commodities location storage ui app | grep '\.cpp$')
set +e
printf '%s\0' "${files[@]}" |
  xargs -0 -n 1 -P "$(nproc)" clang-tidy-14 -p "$build" --quiet 2>&1 |
  grep -vE '^[0-9]+ warnings? generated\.$'
status=${PIPESTATUS[1]}
set -e
if [ "$status" -ne 0 ]; then
  echo "clang-tidy found problems (see above)"
  exit 1
fi
echo "tidy: ${#files[@]} files clean"
