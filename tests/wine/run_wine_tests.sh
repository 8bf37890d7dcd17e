#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Windows build under Wine: its unit tests, then the end-to-end tests of the headless
# program against simulated boards. Arguments: the Windows build folder and the Linux build
# folder that holds wine_e2e_tests.
set -euo pipefail
windows=$(realpath "${1:-build/windows}")
linux=$(realpath "${2:-build/checked}")

export WINEPREFIX=$windows/wine/prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
# The prefix's COM5 leads to this link, which each test points at its board's pty.
port_link=$windows/wine/board5

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # Wine makes the prefix's folder, not the folders above it.
    mkdir -p "$windows/wine"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$port_link" /f >/dev/null
    wineserver -w
fi
# The user's profile names English, so that the program starts without asking for a language.
profile_dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/ZephranFPV"
mkdir -p "$profile_dir"
printf '[Settings]\r\nLanguage=english\r\n' >"$profile_dir/profile.ini"

# One Wine server for the whole run (kept from an earlier run if one still runs), ended with it;
# this prefix's only.
wineserver -p 2>/dev/null || true
trap 'wineserver -k || true' EXIT

echo "== unit tests under Wine"
(cd "$windows/bin" && wine unit_tests.exe --gtest_brief=1)
echo "== end-to-end tests under Wine"
ZEPHRAN_WINE_EXE="$windows/bin/zephran.exe" ZEPHRAN_WINE_UNIT_TESTS="$windows/bin/unit_tests.exe" \
    ZEPHRAN_WINE_PORT_LINK="$port_link" \
    "$linux/bin/wine_e2e_tests" --gtest_brief=1
