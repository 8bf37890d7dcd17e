#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The floor check on small trees: it passes includes that go down or stay level and fails one
# that goes up, one from a folder without a floor and one into such a folder.
set -uo pipefail
check=$(dirname "$0")/check_floors.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

mkdir -p "$tree"/{link,ui,app,pages/ahrs,pages/framework}
echo '#include "link/crc16.h"' >"$tree/ui/window.h"
echo '#include "sim/board.h"' >"$tree/ui/window.cpp"
echo '#include "pages/framework/page.h"' >"$tree/pages/ahrs/dlg_ahrs.h"
echo '#include "ui/window.h"' >"$tree/app/main.cpp"
"$check" "$tree" >/dev/null || { echo "FAIL: a tree going down only was refused"; exit 1; }

expect_refused() { # file, include, what
    echo "#include \"$2\"" >"$tree/$1"
    if "$check" "$tree" 2>/dev/null >&2; then
        echo "FAIL: $3 passed"
        exit 1
    fi
    rm "$tree/$1"
}
expect_refused link/port.h app/zephran_dlg.h "an include up from link to app"
expect_refused pages/framework/page.h pages/ahrs/dlg_ahrs.h "an include from the framework up to a page"
expect_refused ui/list.h nowhere/thing.h "an include into a folder without a floor"
mkdir -p "$tree/nowhere"
expect_refused nowhere/thing.h link/crc16.h "a file in a folder without a floor"
echo "PASS"
