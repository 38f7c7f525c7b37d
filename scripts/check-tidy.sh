#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over the core and app/, with the
# compile commands of an existing build, one process per core. Fails on any
# finding. The Qt window layer (ui/) is left out: its Qt headers make each
# file several times slower to check than a core file.
#
#   scripts/check-tidy.sh [BUILD_DIR]     default: build-test-normal
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test-normal}
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json: build first" >&2; exit 2; }
mapfile -t files < <(git ls-files -- worksheet calc commodities location rates storage commands quote app | grep '\.cpp$')
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
