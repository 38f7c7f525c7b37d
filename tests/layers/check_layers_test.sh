#!/usr/bin/env bash
# The layer check on small made-up trees: each case is a file written into a
# two-layer tree (low below high), or into an empty tree with this project's
# own kbt2_layer rows, the exit status the check must give, and the text its
# report must hold.
# Usage: check_layers_test.sh CHECK_SCRIPT PROJECT_ROOT
set -euo pipefail
check=$1
project=$2
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
    "high/a.cpp|#include \"low/p.h\"|1|high/a.cpp:2: high -> low/p.h is not an allowed arrow"
    "high/a.cpp|#include \"low/q.h\"|0|every include follows"
)
# The project's own rows: the arithmetic talks to nobody and reads no rate file.
project_cases=(
    "calc/probe.cpp|#include \"worksheet/platform.h\"|1|calc/probe.cpp:2: calc -> worksheet/platform.h is not an allowed arrow"
    "calc/probe.h|#include \"rates/rate_file.h\"|1|calc/probe.h:2: calc -> rates is not an allowed arrow"
    "calc/probe.cpp|#include \"worksheet/worksheet.h\"|0|every include follows"
    "rates/probe.cpp|#include \"calc/numbers.h\"|0|every include follows"
    "rates/probe.cpp|#include \"commands/form.h\"|1|rates/probe.cpp:2: rates -> commands is not an allowed arrow"
    "commands/probe.cpp|#include \"rates/rate_source.h\"|0|every include follows"
    "commands/probe.cpp|#include \"quote/fresh_quote.h\"|1|commands/probe.cpp:2: commands -> quote is not an allowed arrow"
    "quote/probe.cpp|#include \"commands/form.h\"|0|every include follows"
    "quote/probe.h|#include \"paint/charts.h\"|1|quote/probe.h:2: quote -> paint is not an allowed arrow"
    "paint/probe.cpp|#include \"quote/quote_summary.h\"|0|every include follows"
    "paint/probe.cpp|#include \"ui/main_window.h\"|1|paint/probe.cpp:2: paint -> ui is not an allowed arrow"
    "ui/probe.cpp|#include \"paint/charts.h\"|0|every include follows"
)
# clang-format on

made_up_tree() {
    mkdir -p "$tree/low" "$tree/high" "$tree/app"
    printf 'kbt2_layer(low)\n' >"$tree/CMakeLists.txt"
    printf 'kbt2_layer(high PUBLIC low FORBID low/p.h)\n' >"$tree/high/CMakeLists.txt"
}

project_tree() {
    cp "$project/CMakeLists.txt" "$tree/"
    for rows in "$project"/*/CMakeLists.txt; do
        mkdir -p "$tree/$(basename "$(dirname "$rows")")"
        cp "$rows" "$tree/$(basename "$(dirname "$rows")")/"
    done
    for folder in $(sed -n 's/^[[:space:]]*kbt2_layer(\([a-z]*\).*/\1/p' "$tree"/CMakeLists.txt); do
        mkdir -p "$tree/$folder"
    done
}

failures=0
total=0
run_case() {
    local make_tree=$1 row=$2
    IFS='|' read -r file include status expected <<<"$row"
    tree=$scratch/tree
    rm -rf "$tree" && mkdir -p "$tree"
    "$make_tree"
    mkdir -p "$tree/$(dirname "$file")"
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
    total=$((total + 1))
}
for row in "${cases[@]}"; do run_case made_up_tree "$row"; done
for row in "${project_cases[@]}"; do run_case project_tree "$row"; done
echo "$((total - failures)) of $total cases pass"
((failures == 0))
