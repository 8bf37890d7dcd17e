#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file includes a folder on a higher floor than its own. Folders on one
# floor may include each other; a folder not listed is its parent's (pages/ahrs is pages).
set -euo pipefail
# The tree checked: the argument, or the project's src folder.
cd "${1:-$(dirname "$0")/../../src}"

FLOORS='
platform        1
link            2
lang            3
ui              3
sim             3
records         4
dispatch        5
session         6
views           7
update          7
recording       8
pages/framework 9
pages           10
params          11
app             12
frontends       13
'

# The floor of a path under src/: its longest listed folder prefix.
floor_of() {
    local path=$1 folder best="" floor
    while read -r folder floor; do
        [ -n "$folder" ] || continue
        case "$path/" in
        "$folder"/*) [ ${#folder} -gt ${#best} ] && best=$folder && found=$floor ;;
        esac
    done <<<"$FLOORS"
    [ -n "$best" ] && echo "$found" || echo "?"
}

declare -A floors
failed=0
while IFS= read -r file; do
    dir=$(dirname "$file")
    [ -n "${floors[$dir]:-}" ] || floors[$dir]=$(floor_of "$dir")
    own=${floors[$dir]}
    if [ "$own" = "?" ]; then
        echo "$file: its folder has no floor" >&2
        failed=1
        continue
    fi
    while IFS= read -r included; do
        target=$(dirname "$included")
        [ -n "${floors[$target]:-}" ] || floors[$target]=$(floor_of "$target")
        if [ "${floors[$target]}" = "?" ] || [ "${floors[$target]}" -gt "$own" ]; then
            echo "$file (floor $own) includes $included (floor ${floors[$target]})" >&2
            failed=1
        fi
    done < <(sed -n 's|^#include "\([a-z_]*/[^"]*\)".*|\1|p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)
[ "$failed" -eq 0 ] && echo "every include stays on its floor or goes down"
exit "$failed"
