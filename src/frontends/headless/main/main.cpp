// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontends/headless/program.h"

int main(int argc, char** argv) {
    return zephran::RunProgram(argc, argv, nullptr);
}
