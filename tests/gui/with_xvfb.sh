#!/usr/bin/env bash
# Runs a test program on a display of its own: a fresh Xvfb (Mesa's software OpenGL) that ends
# with it. Xvfb picks a free display number itself (-displayfd), so tests can run side by side.
# Listing the tests needs no display.
set -u
for arg in "$@"; do
    if [ "$arg" = "--gtest_list_tests" ]; then exec "$@"; fi
done
command -v Xvfb >/dev/null || { echo "with_xvfb.sh: Xvfb is not installed (Debian: xvfb)" >&2; exit 1; }
number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 3840x2400x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
xvfb=$!
for _ in $(seq 1 200); do
    [ -s "$number_file" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.05
done
display=$(head -n 1 "$number_file")
rm -f "$number_file"
if [ -z "$display" ]; then
    echo "with_xvfb.sh: Xvfb did not start" >&2
    kill "$xvfb" 2>/dev/null
    exit 1
fi
export DISPLAY=":$display"
export QT_QPA_PLATFORM=xcb
export LIBGL_ALWAYS_SOFTWARE=1
# Mesa and D-Bus keep a few allocations until exit; the leak check is left to the other tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
"$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
