#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: a normal
# build, and one with AddressSanitizer and UndefinedBehaviorSanitizer. Then
# runs the fuzz targets for a bounded time, builds and checks the Debian
# package, and checks the format and clang-tidy. Prints how long each phase took.
set -euo pipefail
cd "$(dirname "$0")/.."
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
  local flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
  [ "$variant" = sanitize ] && flags=(-DCMAKE_BUILD_TYPE=Debug -DKBT2_SANITIZE=ON -DKBT2_BUILD_BENCH=OFF)
  cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs")
}

timed "normal build and tests" test_build normal
timed "sanitize build and tests" test_build sanitize
timed "fuzzing" scripts/fuzz.sh 60
timed "package" scripts/check-package.sh build-test-normal
timed "format" scripts/check-format.sh
timed "tidy" scripts/check-tidy.sh build-test-normal
