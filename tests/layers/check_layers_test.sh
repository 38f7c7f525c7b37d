#!/usr/bin/env bash
# The layer check on small made-up trees: each case is a file written into a
# two-layer tree (low below high), the exit status the check must give, and
# the text its report must hold.
set -euo pipefail
check=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# clang-format off
cases=(
    # file           its include        status  report
    "high/a.cpp|#include \"low/b.h\"|0|every include follows"
    "high/a.h|#include \"high/c.h\"|0|every include follows"
    "low/b.cpp|#include \"high/a.h\"|1|low/b.cpp:2: low -> high is not an allowed arrow"
    "low/b.h|  #  include \"app/x.h\"|1|low/b.h:2: low -> app is not an allowed arrow"
    "low/b.cpp|#include <vector>|0|every include follows"
    "app/m.cpp|#include \"high/a.h\"|0|every include follows"
)
# clang-format on

failures=0
for row in "${cases[@]}"; do
    IFS='|' read -r file include status expected <<<"$row"
    tree=$scratch/tree
    rm -rf "$tree" && mkdir -p "$tree/low" "$tree/high" "$tree/app"
    printf 'kbt2_layer(low)\n' >"$tree/CMakeLists.txt"
    printf 'kbt2_layer(high PUBLIC low)\n' >"$tree/high/CMakeLists.txt"
    printf '#pragma once\n%s\n' "$include" >"$tree/$file"
    set +e
    report=$("$check" "$tree" 2>&1)
    actual=$?
    set -e
    if [[ $actual != "$status" || $report != *"$expected"* ]]; then
        echo "FAIL: $file with '$include': status $actual, report:"
        echo "$report"
        failures=$((failures + 1))
    fi
done
echo "$((${#cases[@]} - failures)) of ${#cases[@]} cases pass"
((failures == 0))
