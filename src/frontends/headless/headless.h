#pragma once

#include <cstdio>

#include "frontends/common/options.h"

namespace zephran {

// Runs the application without windows, driven by commands read from inputFd, one a line, and
// answered on output (docs/headless.md). Returns when the input ends or on "quit"; the result
// is the program's exit code.
int RunHeadless(const Options& options, int inputFd, std::FILE* output);

}  // namespace zephran
