// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace zephran {

// The simulated board of the demo, served where the platform can: on a pty.
class DemoBoard {
public:
    DemoBoard();
    ~DemoBoard();
    DemoBoard(const DemoBoard&) = delete;
    DemoBoard& operator=(const DemoBoard&) = delete;

    // Starts a board of the product; the device to open, or nothing with error set.
    std::optional<std::string> Start(const std::string& product, std::string& error);
    void Stop();

private:
    struct Board;
    std::unique_ptr<Board> board_;
};

}  // namespace zephran
