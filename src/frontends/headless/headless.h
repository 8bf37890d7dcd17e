#pragma once

#include <cstdio>

#include "frontends/common/options.h"

namespace zephran {

// Runs the application without windows, driven by commands read from inputFd, one a line, and
// answered on output (docs/headless.md). Returns when the input ends, on "quit" or when the
// output is closed; the result is the program's exit code. SIGPIPE is ignored from then on.
int RunHeadless(const Options& options, int inputFd, std::FILE* output);

}  // namespace zephran
