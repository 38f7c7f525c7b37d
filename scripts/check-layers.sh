#!/usr/bin/env bash
# Fails when a file includes a header of a folder its layer may not reach.
# The allowed arrows are the kbt2_layer(FOLDER PUBLIC ... PRIVATE ...) rows of
# the CMakeLists.txt files, the same rows that link the layer's library, so
# the rule and the build cannot drift apart. A row may end with FORBID and
# headers of an allowed folder that the layer still may not include (calc/
# may read the worksheet but not talk to the user through its platform).
# Folders with no row (app/, the tests, fuzz/, bench/) sit above every layer
# and may include anything.
# Usage: scripts/check-layers.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

declare -A allowed forbidden
while read -r folder reaches; do
    forbids=
    if [[ " $reaches " == *" FORBID "* ]]; then
        forbids=${reaches#*FORBID}
        reaches=${reaches%%FORBID*}
    fi
    allowed[$folder]=" $folder $reaches "
    forbidden[$folder]=" $forbids "
done < <(cat CMakeLists.txt ./*/CMakeLists.txt 2>/dev/null |
    sed -n 's/^[[:space:]]*kbt2_layer(\([^)]*\)).*/\1/p' | sed 's/\<PUBLIC\>//; s/\<PRIVATE\>//')

if ((${#allowed[@]} == 0)); then
    echo "check-layers: no kbt2_layer rows found in $PWD" >&2
    exit 2
fi

faults=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file line target header; do
        if [[ ${allowed[$folder]} != *" $target "* ]]; then
            echo "check-layers: $file:$line: $folder -> $target is not an allowed arrow" >&2
            faults=$((faults + 1))
        elif [[ ${forbidden[$folder]} == *" $header "* ]]; then
            echo "check-layers: $file:$line: $folder -> $header is not an allowed arrow" >&2
            faults=$((faults + 1))
        fi
    done < <(find "$folder" -maxdepth 1 -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
        xargs -0 -r grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]*/' |
        sed 's/^\([^:]*\):\([0-9]*\):[^"]*"\(\([^"/]*\)\/[^"]*\)".*/\1:\2:\4:\3/')
done

if ((faults)); then
    echo "check-layers: $faults include(s) across a forbidden arrow; the kbt2_layer rows say which are allowed" >&2
    exit 1
fi
echo "check-layers: ${#allowed[@]} layers, every include follows an allowed arrow"
