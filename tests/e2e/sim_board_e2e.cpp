// Virtual boards on a pty, reached the way the application reaches them: by opening the slave
// device raw and exchanging frames with it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "sim/link_control.h"
#include "sim/virtual_board.h"
#include "support/temp_dir.h"

extern char** environ;

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
        if (fd_ >= 0)
            close(fd_);
        fd_ = -1;
    }
    bool Send(const Bytes& bytes) {
        return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // The next frame (group, msgId), skipping any others; nothing if none comes in time.
    std::optional<Frame> WaitFor(std::uint8_t group, std::uint8_t msgId) {
        const Deadline deadline = In(5s);
        for (;;) {
            for (Frame& frame : frames_) {
                if (frame.group == group && frame.msgId == msgId) {
                    Frame found = std::move(frame);
                    frames_.erase(frames_.begin(), frames_.begin() + (&frame - frames_.data()) + 1);
                    return found;
                }
            }
            frames_.clear();
            std::array<std::uint8_t, 4096> buffer{};
            pollfd fd{fd_, POLLIN, 0};
            const ssize_t n = poll(&fd, 1, MillisLeft(deadline)) == 1
                                  ? read(fd_, buffer.data(), buffer.size())
                                  : -1;
            if (n <= 0)
                return std::nullopt;
            frames_ = decoder_.Feed({buffer.data(), static_cast<std::size_t>(n)});
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
    std::vector<Frame> frames_;
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

TEST(SimVirtualBoard, SurvivesTheSlaveClosingAndReopeningWithoutSpinning) {
    VirtualBoard board;
    const auto slave = board.Start("GPSINS");
    ASSERT_TRUE(slave) << board.LastError();
    for (int round = 0; round < 3; ++round) {
        {
            SlaveClient client(*slave);
            ASSERT_TRUE(client.Send(kConnect));
            ASSERT_TRUE(client.WaitFor(kLinkControlGroup, kConnectId)) << round;
        }
        const double cpuBefore = ProcessCpuSeconds();
        std::this_thread::sleep_for(300ms);
        EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.1) << round;
    }
}

TEST(SimVirtualBoard, RunsTheHandlersAndSourcesOfABoardPutTogetherByTheCaller) {
    auto custom = std::make_unique<Board>("Test", "test board", Clock::now());
    custom->Handle(15, 32, [](std::span<const std::uint8_t> request, Board& b) {
        Bytes reply;
        PutU16(reply, 0, static_cast<std::uint16_t>(GetU16(request, 0) + 1));
        b.Send(15, 32, reply);
    });
    custom->AddSource(20ms, [count = 0](Board& b) mutable { b.Send(15, 1, Bytes{0, 0}); });

    VirtualBoard board;
    const auto slave = board.Start(std::move(custom));
    ASSERT_TRUE(slave) << board.LastError();
    SlaveClient client(*slave);
    ASSERT_TRUE(client.Send(EncodeFrame(15, 32, Bytes{0xFF, 0x01})));
    const auto reply = client.WaitFor(15, 32);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->payload, (Bytes{0x00, 0x02}));
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

// The zephran-sim program as a child process, its stdout and stderr in one pipe.
class SimProgram {
public:
    explicit SimProgram(std::vector<std::string> args) {
        args.insert(args.begin(), ZEPHRAN_SIM_PATH);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::array<int, 2> pipe{};
        if (pipe2(pipe.data(), O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, pipe[1], STDERR_FILENO);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipe[1]);
        output_ = pipe[0];
    }
    ~SimProgram() {
        if (pid_ > 0 && kill(pid_, SIGKILL) == 0)
            waitpid(pid_, nullptr, 0);
        close(output_);
    }

    const std::string& Output() const { return text_; }
    void Terminate() { kill(pid_, SIGTERM); }

    // Collects output until a whole line has come; false if none does in time.
    bool WaitForLine() {
        const Deadline deadline = In(5s);
        while (text_.find('\n') == std::string::npos) {
            if (!Collect(deadline))
                return false;
        }
        return true;
    }

    // Collects output until the program closes its end, then returns its exit code; nothing if
    // it does not end in time.
    std::optional<int> WaitForExit() {
        const Deadline deadline = In(5s);
        while (Collect(deadline)) {
        }
        int status = 0;
        if (MillisLeft(deadline) == 0 || waitpid(std::exchange(pid_, -1), &status, 0) < 0 ||
            !WIFEXITED(status))
            return std::nullopt;
        return WEXITSTATUS(status);
    }

private:
    // False at the end of the output or when the deadline passed.
    bool Collect(Deadline deadline) {
        pollfd fd{output_, POLLIN, 0};
        std::array<char, 512> buffer{};
        const ssize_t n = poll(&fd, 1, MillisLeft(deadline)) == 1
                              ? read(output_, buffer.data(), buffer.size())
                              : -1;
        if (n > 0)
            text_.append(buffer.data(), static_cast<std::size_t>(n));
        return n > 0;
    }

    pid_t pid_ = -1;
    int output_ = -1;
    std::string text_;
};

TEST(SimProgram, AnswersThroughItsLinkAndStopsCleanlyOnSigterm) {
    testing::TempDir dir;
    const std::string link = dir.File("ahrs");
    SimProgram program({"--product", "AHRS", "--link", link});
    ASSERT_TRUE(program.WaitForLine()) << program.Output();
    std::smatch ready;
    ASSERT_TRUE(std::regex_match(program.Output(), ready,
                                 std::regex("board AHRS ready on (.*) \\(-> (/dev/pts/\\d+)\\)\n")))
        << program.Output();
    EXPECT_EQ(ready[1].str(), link);
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), ready[2].str());
    {
        SlaveClient client(link);
        ASSERT_TRUE(client.Send(kConnect));
        EXPECT_TRUE(client.WaitFor(kLinkControlGroup, kConnectId));
    }
    program.Terminate();
    EXPECT_EQ(program.WaitForExit(), 0) << program.Output();
    EXPECT_FALSE(std::filesystem::is_symlink(link));
}

TEST(SimProgram, RefusesBadArgumentsWithExitCodeTwo) {
    const std::string link = testing::TempDir().File("never-made");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"--product", "AHRS"},
             {"--link", link},
             {"--product", "Blimp", "--link", link},
             {"--product", "AHRS", "--link"},
             {"--baud", "9600"},
         }) {
        SimProgram program(args);
        EXPECT_EQ(program.WaitForExit(), 2);
        EXPECT_EQ(program.Output().rfind("zephran-sim: ", 0), 0u) << program.Output();
    }
    SimProgram help({"--help"});
    EXPECT_EQ(help.WaitForExit(), 0);
    EXPECT_NE(help.Output().find("--product NAME"), std::string::npos);
}

}  // namespace
}  // namespace zephran::sim
