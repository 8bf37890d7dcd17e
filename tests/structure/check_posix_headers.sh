#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file outside those named *_posix.cpp or *_posix.h includes a POSIX or Linux
# header: the rest builds for Windows as well.
set -euo pipefail
# The tree checked: the argument, or the project's src folder.
cd "${1:-$(dirname "$0")/../../src}"

headers='unistd|termios|fcntl|poll|pty|glob|iconv|signal|dirent|pwd|dlfcn|sys/[a-z_]+|asm/[a-z_]+|linux/[a-z_]+'
# Windows' own C library has fcntl.h, io.h and sys/stat.h; its files may use them.
found=$(grep -rlE "^#include <($headers)\\.h>" --include='*.cpp' --include='*.h' . |
    grep -vE '_posix\.(cpp|h)$' | while read -r file; do
        case "$file" in
        *_win32.cpp) grep -E "^#include <($headers)\\.h>" "$file" |
            grep -vqE '<(fcntl|sys/stat)\.h>' && echo "$file" ;;
        *) echo "$file" ;;
        esac
    done || true)
if [ -n "$found" ]; then
    echo "POSIX headers outside the files for POSIX:" >&2
    echo "$found" >&2
    exit 1
fi
echo "POSIX headers only in the files for POSIX"
