// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontends/common/demo_board.h"
#include "sim/virtual_board.h"

namespace zephran {

struct DemoBoard::Board {
    sim::VirtualBoard board;
};

DemoBoard::DemoBoard() : board_(std::make_unique<Board>()) {}

DemoBoard::~DemoBoard() = default;

std::optional<std::string> DemoBoard::Start(const std::string& product, std::string& error) {
    auto device = board_->board.Start(product);
    if (!device) error = board_->board.LastError();
    return device;
}

void DemoBoard::Stop() {
    board_->board.Stop();
}

}  // namespace zephran
