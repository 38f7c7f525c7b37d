#!/usr/bin/env bash
# Makes the README's pictures of the window: runs the sample case of
# scripts/screenshots_case.txt in the window on a virtual X display (Xvfb) and
# saves every page as docs/screenshots/page-N.png.
#
#   scripts/screenshots.sh [BUILD_DIR]      default: build
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/install-deps.sh
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target kbt2-screenshots
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
# The X platform of a desktop, with the program's own data folder for the
# sample rate file.
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/bin/kbt2-screenshots" docs/screenshots scripts/screenshots_case.txt
echo "pictures in docs/screenshots/"
