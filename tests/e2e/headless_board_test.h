#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

#include "headless_driver.h"
#include "sim/virtual_board.h"

namespace zephran::test {

// The application with one simulated board as its only port. Helpers send requests and wait for
// the board's replies as the traffic log shows them.
class HeadlessBoardTest : public HeadlessTest {
protected:
    using steady_clock = std::chrono::steady_clock;

    // Starts a board of boardProduct and the application set to product, and waits until they
    // are connected. With a file-size limit the application is the program itself, in a child
    // process whose files may grow to that many bytes.
    void Connect(const std::string& product, const std::string& boardProduct,
                 std::optional<rlim_t> fileSizeLimit = std::nullopt) {
        Configure("Auto", 1, product);
        const std::string port = appDir_.File("board");
        ASSERT_TRUE(board_.Start(boardProduct, port)) << board_.LastError();
        if (fileSizeLimit) {
            app_.emplace(Arguments({port}), ZEPHRAN_EXE, *fileSizeLimit);
        } else {
            app_.emplace(Arguments({port}));
        }
        ASSERT_TRUE(app_->WaitUntil("log", "Connect OK", std::chrono::seconds(5)));
    }

    void Run(const std::string& command) {
        const Lines answer = app_->Command(command);
        EXPECT_TRUE(!answer.empty() && answer.back() == "ok") << command;
    }

    void Set(int id, const std::string& text) { Run("set " + std::to_string(id) + " " + text); }

    // Every line the traffic log took so far, also those it has emptied away: a board that
    // reports every 100 ms empties the nine-line log within a second.
    const Lines& Traffic() {
        const Lines added = app_->Listing("traffic");
        traffic_.insert(traffic_.end(), added.begin(), added.end());
        return traffic_;
    }

    // Sends a request by a command; the traffic log takes its request line at once.
    void Send(const std::string& command, const std::string& name) {
        const std::size_t before = Traffic().size();
        Run(command);
        lastRequest_ = steady_clock::now();
        const Lines& traffic = Traffic();
        const auto request =
            std::find_if(traffic.begin() + static_cast<long>(before), traffic.end(),
                         [](const std::string& line) { return line.starts_with("**"); });
        EXPECT_TRUE(request != traffic.end() && *request == "**" + name + "**")
            << command << " adds to the log "
            << ::testing::PrintToString(
                   Lines(traffic.begin() + static_cast<long>(before), traffic.end()));
    }

    void Send(int button, const std::string& name) {
        Send("click " + std::to_string(button), name);
    }

    // Whether the log shows the reply to the last request of that name within 3 s.
    bool Answered(const std::string& name) {
        const auto deadline = steady_clock::now() + std::chrono::seconds(3);
        for (;;) {
            const Lines& traffic = Traffic();
            const auto request = std::find(traffic.rbegin(), traffic.rend(), "**" + name + "**");
            if (std::find(request.base(), traffic.end(), name + " OK") != traffic.end())
                return true;
            if (steady_clock::now() >= deadline) return false;
            app_->Command("wait 20");
        }
    }

    // A request whose reply the log shows.
    void Ask(int button, const std::string& name) {
        Send(button, name);
        EXPECT_TRUE(Answered(name)) << "no reply to " << name;
    }

    // Lets a request's time-out pass after the last request: none timed out, and no message
    // box came up at all.
    void ExpectNoTimeOut() {
        const auto rest =
            std::chrono::milliseconds(1200) - std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  steady_clock::now() - lastRequest_);
        if (rest > std::chrono::milliseconds(0)) Run("wait " + std::to_string(rest.count()));
        for (const std::string& line : app_->Transcript())
            EXPECT_FALSE(line.starts_with("message: ")) << line;
        EXPECT_FALSE(Contains(Traffic(), "time-out"));
    }

    sim::VirtualBoard board_;
    std::optional<HeadlessDriver> app_;
    Lines traffic_;
    steady_clock::time_point lastRequest_ = steady_clock::now();
};

}  // namespace zephran::test
