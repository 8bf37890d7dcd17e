// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontends/common/demo_board.h"

namespace zephran {

struct DemoBoard::Board {};

DemoBoard::DemoBoard() = default;

DemoBoard::~DemoBoard() = default;

std::optional<std::string> DemoBoard::Start(const std::string&, std::string& error) {
    error = "the simulated boards need a pty, which Windows does not have";
    return std::nullopt;
}

void DemoBoard::Stop() {}

}  // namespace zephran
