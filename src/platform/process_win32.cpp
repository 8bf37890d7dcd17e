// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "platform/process.h"

namespace zephran {

int ProcessId() {
    return static_cast<int>(GetCurrentProcessId());
}

// Windows has no signal for it: the write fails.
void IgnoreBrokenPipes() {}

// Nor for this: Windows has no file-size limit.
void IgnoreFileSizeLimit() {}

void SetBinaryMode(std::FILE* stream) {
    _setmode(_fileno(stream), _O_BINARY);
}

}  // namespace zephran
