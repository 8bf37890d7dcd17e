#pragma once

#include "frontends/common/options.h"

namespace zephran::qt {

// Runs the desktop front end until its window closes; the process's exit code.
int RunDesktop(const Options& options, int& argc, char** argv);

}  // namespace zephran::qt
