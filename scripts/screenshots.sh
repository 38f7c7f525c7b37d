#!/usr/bin/env bash
# Makes the README's pictures of the window: runs the sample case of
# scripts/screenshots_case.txt in the window on a virtual X display (Xvfb) and
# saves every page as docs/screenshots/page-N.png; then a few pages at 150%
# and at 200% scaling on a 1920x1080 screen, in docs/screenshots/150/ and
# docs/screenshots/200/. The first run also saves the Premium Details view
# and the first page of the quote summary (docs/screenshots/summary-page-1.png,
# and in Spanish docs/screenshots/summary-page-1-es.png),
# and the comparison view of two scenarios beside it (docs/screenshots/compare.png).
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

# shoot SCREEN SCALE OUTDIR [PAGES]: the X platform of a desktop, with the
# program's own data folder for the sample rate file.
shoot() {
  XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$2 \
    xvfb-run -a -s "-screen 0 $1x24" \
    "$build/bin/kbt2-screenshots" "$3" scripts/screenshots_case.txt ${4:+"$4"}
}
shoot 1280x1024 1 docs/screenshots
pdftoppm -r 80 -png -f 1 -l 1 -singlefile docs/screenshots/quote-summary.pdf docs/screenshots/summary-page-1
pdftoppm -r 80 -png -f 1 -l 1 -singlefile docs/screenshots/quote-summary-es.pdf docs/screenshots/summary-page-1-es
rm docs/screenshots/quote-summary.pdf docs/screenshots/quote-summary-es.pdf
shoot 1920x1080 1.5 docs/screenshots/150 1,7,9
shoot 1920x1080 2 docs/screenshots/200 1,7,9
echo "pictures in docs/screenshots/, docs/screenshots/150/ and docs/screenshots/200/"
