// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <csignal>

#include "platform/process.h"

namespace zephran {

int ProcessId() {
    return static_cast<int>(::getpid());
}

void IgnoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

void IgnoreFileSizeLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
}

// Streams on POSIX systems have no text mode.
void SetBinaryMode(std::FILE*) {}

}  // namespace zephran
