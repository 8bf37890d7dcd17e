// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zephran {

struct Options;

// Runs the desktop front end; argc and argv as main got them.
using DesktopRunner = int (*)(const Options& options, int& argc, char** argv);

// The program: help, version, the exports and the headless front end; anything else goes to the
// desktop, or is refused where the build has none.
int RunProgram(int argc, char** argv, DesktopRunner desktop);

}  // namespace zephran
