#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehavior-
# Sanitizer) and runs each for a bounded time, two at a time. Exits non-zero
# when any target finds a crash, a leak, a hang or a sanitizer report.
#
#   scripts/fuzz.sh [SECONDS [TARGET...]]    default: 60 seconds, every target
#
# Each target starts from its committed seeds (fuzz/corpus/TARGET) and keeps
# what it finds in build-fuzz/corpus/TARGET, so later runs go on from there.
# A failing input is written to build-fuzz/artifacts/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DKBT2_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

targets=("$@")
if ((${#targets[@]} == 0)); then
  for seeds in fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

run() {
  local target=$1
  local corpus=$build/corpus/$target artifacts=$build/artifacts/$target/
  local dict=fuzz/${target%%_*}.dict
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
                 -artifact_prefix="$artifacts")
  [ -f "$dict" ] && options+=(-dict="$dict")
  mkdir -p "$corpus" "$artifacts"
  local status=0
  "$build/bin/$target" "${options[@]}" "$corpus" "fuzz/corpus/$target" >"$build/logs/$target.log" 2>&1 || status=$?
  echo "$status" >"$build/logs/$target.status"
}

rm -rf "$build/logs"
mkdir -p "$build/logs"
echo "== fuzzing ${#targets[@]} targets, ${seconds} s each"
running=0
for target in "${targets[@]}"; do
  [ -x "$build/bin/$target" ] || { echo "no fuzz target $target" >&2; exit 2; }
  run "$target" &
  running=$((running + 1))
  if ((running >= 2)); then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

failed=0
for target in "${targets[@]}"; do
  log=$build/logs/$target.log
  status=$(cat "$build/logs/$target.status" 2>/dev/null || echo missing)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ "$status" = 0 ]; then
    echo "$target: ${runs:-?} executions, nothing found"
  else
    failed=1
    echo "$target: FAILED (exit status $status); the end of its log:"
    tail -n 60 "$log"
    ls "$build/artifacts/$target/" 2>/dev/null | sed "s|^|  input: $build/artifacts/$target/|"
  fi
done
exit "$failed"
