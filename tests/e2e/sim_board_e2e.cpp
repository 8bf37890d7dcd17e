// Virtual boards on a pty, reached the way the application reaches them: by opening the slave
// device raw and exchanging frames with it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <deque>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "sim/link_control.h"
#include "sim/virtual_board.h"
#include "support/temp_dir.h"

namespace zephran::sim {
namespace {

using namespace std::chrono_literals;
using Deadline = std::chrono::steady_clock::time_point;

const Bytes kConnect = EncodeFrame(kLinkControlGroup, kConnectId, {});

Deadline In(std::chrono::milliseconds timeout) {
    return std::chrono::steady_clock::now() + timeout;
}

int MillisLeft(Deadline deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::int64_t>(left.count(), 0));
}

// The application's end: the slave device opened raw and non-blocking.
class SlaveClient {
public:
    explicit SlaveClient(const std::string& path)
        : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        termios raw{};
        if (fd_ >= 0 && tcgetattr(fd_, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(fd_, TCSANOW, &raw);
        }
    }
    ~SlaveClient() { Close(); }

    bool IsOpen() const { return fd_ >= 0; }
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    bool Send(const Bytes& bytes) {
        return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // The next frame (group, msgId), skipping any others; nothing if none comes in time.
    std::optional<Frame> WaitFor(std::uint8_t group, std::uint8_t msgId,
                                 std::chrono::milliseconds timeout = 5s) {
        const Deadline deadline = In(timeout);
        for (;;) {
            while (!frames_.empty()) {
                const Frame frame = std::move(frames_.front());
                frames_.pop_front();
                if (frame.group == group && frame.msgId == msgId) return frame;
            }
            std::array<std::uint8_t, 4096> buffer{};
            pollfd fd{fd_, POLLIN, 0};
            const ssize_t n = poll(&fd, 1, MillisLeft(deadline)) == 1
                                  ? read(fd_, buffer.data(), buffer.size())
                                  : -1;
            if (n <= 0) return std::nullopt;
            for (Frame& frame : decoder_.Feed({buffer.data(), static_cast<std::size_t>(n)}))
                frames_.push_back(std::move(frame));
        }
    }

    std::optional<std::string> NextText() {
        const auto frame = WaitFor(kTextGroup, kTextLineId);
        return frame ? std::optional<std::string>(std::in_place, frame->payload.begin(),
                                                  frame->payload.end())
                     : std::nullopt;
    }

private:
    int fd_;
    FrameDecoder decoder_;
    std::deque<Frame> frames_;
};

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

TEST(SimVirtualBoard, AnswersOverThePtyAndStopsPromptly) {
    VirtualBoard board;
    const auto slave = board.Start("AHRS");
    ASSERT_TRUE(slave) << board.LastError();
    SlaveClient client(*slave);
    ASSERT_TRUE(client.Send(kConnect));
    EXPECT_TRUE(client.WaitFor(kLinkControlGroup, kConnectId));
    EXPECT_EQ(client.NextText(), "ZephranFPV AHRS board, firmware 3.5\r\n");
    ASSERT_TRUE(client.Send(EncodeFrame(kLinkControlGroup, kSetBaudId, Bytes{7})));
    EXPECT_TRUE(client.WaitFor(kLinkControlGroup, kSetBaudId));

    // Stopping wakes the thread at once rather than at its next time-out, and closes the pty.
    const Deadline before = In(0ms);
    board.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
    EXPECT_FALSE(board.IsRunning());
    client.Close();
    EXPECT_FALSE(SlaveClient(*slave).IsOpen());
}

// The process's CPU time over a short quiet wait: far below the wait itself unless a thread spins.
double CpuSecondsOverQuietWait() {
    const double before = ProcessCpuSeconds();
    std::this_thread::sleep_for(300ms);
    return ProcessCpuSeconds() - before;
}

TEST(SimVirtualBoard, SurvivesTheSlaveClosingAndReopeningWithoutSpinning) {
    VirtualBoard board;
    const auto slave = board.Start("GPSINS");
    ASSERT_TRUE(slave) << board.LastError();
    for (int round = 0; round < 3; ++round) {
        {
            // A request written while the previous holder's hang-up is still on its way to the
            // master goes with it, as bytes meant for a closed port do; the board answers one of
            // a few.
            SlaveClient client(*slave);
            bool answered = false;
            for (int attempt = 0; attempt < 4 && !answered; ++attempt) {
                ASSERT_TRUE(client.Send(kConnect));
                answered = client.WaitFor(kLinkControlGroup, kConnectId, 1500ms).has_value();
            }
            ASSERT_TRUE(answered) << round;
        }
        EXPECT_LT(CpuSecondsOverQuietWait(), 0.1) << round;
    }
}

TEST(SimVirtualBoard, WaitsQuietlyWhileNobodyReadsAFullSlave) {
    // A board that talks far faster than anyone reads fills the pty's buffer within milliseconds.
    auto chatty = std::make_unique<Board>("Test", "test board", Clock::now());
    chatty->AddSource(1ms, [](Board& b) { b.Send(15, 1, Bytes(200, 0x55)); });
    VirtualBoard board;
    ASSERT_TRUE(board.Start(std::move(chatty))) << board.LastError();
    std::this_thread::sleep_for(200ms);
    EXPECT_LT(CpuSecondsOverQuietWait(), 0.1);
}

TEST(SimVirtualBoard, RunsTheHandlersAndSourcesOfABoardPutTogetherByTheCaller) {
    auto custom = std::make_unique<Board>("Test", "test board", Clock::now());
    custom->Handle(
        15, 32, [](std::span<const std::uint8_t> request, Board& b) { b.Send(15, 33, request); });
    custom->AddSource(20ms, [](Board& b) { b.Send(15, 1); });

    VirtualBoard board;
    const auto slave = board.Start(std::move(custom));
    ASSERT_TRUE(slave) << board.LastError();
    SlaveClient client(*slave);
    ASSERT_TRUE(client.Send(EncodeFrame(15, 32, Bytes{0xFF, 0x01})));
    EXPECT_EQ(client.WaitFor(15, 33), (Frame{15, 33, {0xFF, 0x01}}));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(client.WaitFor(15, 1)) << i;
}

TEST(SimVirtualBoard, PlacesItsLinkOverASymlinkButNeverOverAFile) {
    testing::TempDir dir;
    const std::string link = dir.File("board");
    ASSERT_EQ(symlink("/nonexistent", link.c_str()), 0);

    VirtualBoard board;
    for (const auto& [product, text] :
         {std::pair{"AAT", "ZephranFPV antenna tracker, firmware 1.6\r\n"},
          std::pair{"Helicopter", "ZephranFPV helicopter board, firmware 1.1\r\n"}}) {
        // Starting again replaces the running board and its link.
        const auto slave = board.Start(product, link);
        ASSERT_TRUE(slave) << board.LastError();
        EXPECT_EQ(std::filesystem::read_symlink(link).string(), *slave);
        SlaveClient client(link);
        ASSERT_TRUE(client.Send(kConnect));
        EXPECT_EQ(client.NextText(), text);
    }
    board.Stop();
    EXPECT_FALSE(std::filesystem::is_symlink(link));

    const std::string file = dir.Write("file", "keep me");
    EXPECT_FALSE(board.Start("AHRS", file));
    EXPECT_NE(board.LastError().find("not a symbolic link"), std::string::npos);
    EXPECT_FALSE(board.IsRunning());
    EXPECT_EQ(dir.Read("file"), "keep me");
    EXPECT_FALSE(board.Start("Nope"));
    EXPECT_NE(board.LastError().find("Nope"), std::string::npos);
}

// A shell command line run with its output (stdout and stderr) read through a pipe.
class Command {
public:
    explicit Command(const std::string& line) : pipe_(popen((line + " 2>&1").c_str(), "r")) {}
    ~Command() { Close(); }

    // The next line of output, or nothing at its end or when none comes in time.
    std::optional<std::string> Line() {
        const Deadline deadline = In(5s);
        std::size_t end;
        while ((end = text_.find('\n')) == std::string::npos) {
            std::array<char, 512> buffer{};
            pollfd fd{fileno(pipe_), POLLIN, 0};
            const ssize_t n = poll(&fd, 1, MillisLeft(deadline)) == 1
                                  ? read(fd.fd, buffer.data(), buffer.size())
                                  : -1;
            ended_ = n == 0;
            if (n <= 0) return std::nullopt;
            text_.append(buffer.data(), static_cast<std::size_t>(n));
        }
        std::string line = text_.substr(0, end);
        text_.erase(0, end + 1);
        return line;
    }

    bool Ended() const { return ended_; }

    // Reads the rest of the output and waits for the command to end; its exit code.
    int Close() {
        if (pipe_ == nullptr) return -1;
        while (Line()) {
        }
        const int status = pclose(std::exchange(pipe_, nullptr));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    FILE* pipe_;
    std::string text_;
    bool ended_ = false;
};

const std::string kProgram = ZEPHRAN_SIM_PATH;

TEST(SimProgram, AnswersThroughItsLinkAndStopsCleanlyOnSigterm) {
    testing::TempDir dir;
    const std::string link = dir.File("ahrs");
    // The shell names its process, which the program then takes over.
    Command program("echo $$; exec " + kProgram + " --product AHRS --link " + link);
    const auto pid = program.Line();
    const auto ready = program.Line();
    ASSERT_TRUE(pid && ready);
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(*ready, parts,
                                 std::regex("board AHRS ready on (.*) \\(-> (/dev/pts/\\d+)\\)")))
        << *ready;
    EXPECT_EQ(parts[1].str(), link);
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), parts[2].str());
    {
        SlaveClient client(link);
        ASSERT_TRUE(client.Send(kConnect));
        EXPECT_TRUE(client.WaitFor(kLinkControlGroup, kConnectId));
    }
    kill(std::stoi(*pid), SIGTERM);
    EXPECT_EQ(program.Line(), std::nullopt);
    if (!program.Ended()) kill(std::stoi(*pid), SIGKILL);
    EXPECT_TRUE(program.Ended());
    EXPECT_EQ(program.Close(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
}

TEST(SimProgram, RefusesBadArgumentsWithExitCodeTwo) {
    const std::string link = testing::TempDir().File("never-made");
    for (const std::string& args : std::vector<std::string>{
             "", "--product AHRS", "--link " + link, "--product Blimp --link " + link,
             "--product AHRS --link", "--baud 9600",
             "--product AHRS --link " + link + " --baud fast"}) {
        Command program("timeout 10 " + kProgram + " " + args);
        EXPECT_EQ(program.Line().value_or("").rfind("zephran-sim: ", 0), 0u) << args;
        EXPECT_EQ(program.Close(), 2) << args;
    }
    Command help(kProgram + " --help");
    EXPECT_EQ(help.Line(), "usage: zephran-sim --product NAME --link PATH [--baud RATE]");
    EXPECT_EQ(help.Close(), 0);
}

}  // namespace
}  // namespace zephran::sim
