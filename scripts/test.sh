#!/usr/bin/env bash
# The test command. Installs what is missing first, and prints how long each
# phase took.
#
#   scripts/test.sh          the normal build, then every test once (core,
#                            window, driver scenarios in both modes, layers)
#   scripts/test.sh --full   what CI runs: the above with the benchmarks built,
#                            then a build with AddressSanitizer and
#                            UndefinedBehaviorSanitizer and its tests, the fuzz
#                            targets for a minute each, the Debian package,
#                            the format, clang-tidy and the layer check
set -euo pipefail
cd "$(dirname "$0")/.."
full=false
case "${1:-}" in
'') ;;
--full) full=true ;;
*)
    echo "usage: scripts/test.sh [--full]" >&2
    exit 2
    ;;
esac
scripts/install-deps.sh
jobs=$(nproc)

timings=()
report() { ((${#timings[@]})) && printf '== time: %s\n' "${timings[@]}"; return 0; }
trap report EXIT
timed() {  # timed NAME COMMAND...: runs the command, notes its time
    local name=$1 start=$SECONDS
    shift
    echo "== $name"
    "$@"
    timings+=("$name $((SECONDS - start)) s")
}

test_build() {
    local variant=$1 dir=build-test-$1
    # The benchmarks are run by hand; CI only keeps them building.
    local flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKBT2_BUILD_BENCH=$($full && echo ON || echo OFF))
    [ "$variant" = sanitize ] && flags=(-DCMAKE_BUILD_TYPE=Debug -DKBT2_SANITIZE=ON -DKBT2_BUILD_BENCH=OFF)
    # A compiler cache, when there is one, makes the second run quick.
    command -v ccache >/dev/null && flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
    cmake --build "$dir" -j "$jobs"
    (cd "$dir" && ctest --output-on-failure -j "$jobs")
}

timed "normal build and tests" test_build normal
$full || exit 0
timed "sanitize build and tests" test_build sanitize
timed "fuzzing" scripts/fuzz.sh 60
timed "package" scripts/check-package.sh build-test-normal
timed "format" scripts/check-format.sh
timed "tidy" scripts/check-tidy.sh build-test-normal
timed "layers" scripts/check-layers.sh
