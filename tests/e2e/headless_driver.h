// Drives the headless front end from a test, either over a whole script or command by command:
// then it runs on a thread of its own, reads commands from a pipe and answers into another,
// which a reader thread splits into lines. Every wait of the driver gives up at a time-out, so
// a front end that stops answering fails the test instead of hanging it.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "frontends/common/options.h"
#include "frontends/headless/headless.h"
#include "support/temp_dir.h"

namespace zephran::test {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

// The last line of an answer: "ok", "error: ..." or, for a command that opened a modal window
// or asks a question, "modal: TITLE" or "question: TEXT".
inline bool EndsAnswer(const std::string& line) {
    return line == "ok" || line.rfind("error: ", 0) == 0 || line.rfind("modal: ", 0) == 0 ||
           line.rfind("question: ", 0) == 0;
}

inline bool Contains(const Lines& lines, const std::string& text) {
    for (const std::string& line : lines) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

// The options of a command line given without the program name.
inline std::optional<Options> OptionsFrom(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv{"zephran"};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    std::string error;
    auto options = ParseOptions(static_cast<int>(argv.size()), argv.data(), error);
    EXPECT_TRUE(options) << error;
    return options;
}

// Runs the front end on input to its end; returns every line it printed.
inline Lines RunScript(const std::vector<std::string>& arguments, const std::string& input,
                       int& exitCode) {
    const auto options = OptionsFrom(arguments);
    int pipeFds[2];
    std::FILE* output = std::tmpfile();
    if (!options || !output || pipe2(pipeFds, O_CLOEXEC) != 0 || input.size() > 65536 ||
        write(pipeFds[1], input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
        ADD_FAILURE() << "cannot run the script";
        return {};
    }
    close(pipeFds[1]);
    exitCode = RunHeadless(*options, pipeFds[0], output);
    close(pipeFds[0]);
    std::rewind(output);
    Lines lines;
    std::string line;
    for (int c = std::fgetc(output); c != EOF; c = std::fgetc(output)) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        lines.push_back(std::move(line));
        line.clear();
    }
    std::fclose(output);
    return lines;
}

class HeadlessDriver {
public:
    // arguments: the command line after the program name.
    explicit HeadlessDriver(const std::vector<std::string>& arguments) {
        // A front end that has ended must not take the test down with SIGPIPE.
        std::signal(SIGPIPE, SIG_IGN);
        const auto options = OptionsFrom(arguments);
        int input[2];
        int output[2];
        if (!options || pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) return;
        commands_ = input[1];
        answers_ = output[0];
        std::FILE* out = fdopen(output[1], "w");
        const int in = input[0];
        std::promise<void> done;
        ended_ = done.get_future();
        frontEnd_ = std::thread([options = *options, in, out, done = std::move(done)]() mutable {
            RunHeadless(options, in, out);
            done.set_value();
            std::fclose(out);
            close(in);
        });
        reader_ = std::thread([this] { ReadAnswers(); });
    }

    // The front end as the program itself, in a child process whose files may grow to
    // fileSizeLimit bytes at most: arguments as above, program the executable.
    HeadlessDriver(const std::vector<std::string>& arguments, const std::string& program,
                   rlim_t fileSizeLimit) {
        std::signal(SIGPIPE, SIG_IGN);
        std::vector<std::string> words{program};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        int input[2];
        int output[2];
        if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) return;
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        child_ = fork();
        if (child_ == 0) {
            // Only calls that are safe between fork and exec.
            if (dup2(input[0], 0) < 0 || dup2(output[1], 1) < 0 ||
                setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(126);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(input[0]);
        close(output[1]);
        if (child_ < 0) {
            ADD_FAILURE() << "cannot start " << program;
            close(input[1]);
            close(output[0]);
            return;
        }
        commands_ = input[1];
        answers_ = output[0];
        std::promise<void> done;
        ended_ = done.get_future();
        frontEnd_ = std::thread([this, done = std::move(done)]() mutable {
            int status = 0;
            waitpid(child_, &status, 0);
            exitStatus_ = status;
            done.set_value();
        });
        reader_ = std::thread([this] { ReadAnswers(); });
    }

    ~HeadlessDriver() {
        EndInput();
        if (frontEnd_.joinable()) frontEnd_.join();
        if (reader_.joinable()) reader_.join();
        if (answers_ >= 0) close(answers_);
    }

    HeadlessDriver(const HeadlessDriver&) = delete;
    HeadlessDriver& operator=(const HeadlessDriver&) = delete;

    // Sends one command and returns the lines up to the end of its answer, together with any
    // message printed before it.
    Lines Command(const std::string& line, std::chrono::milliseconds timeout = 10s) {
        const std::string text = line + "\n";
        if (commands_ < 0 ||
            write(commands_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            ADD_FAILURE() << "cannot send: " << line;
            return {};
        }
        return Answer(line, timeout);
    }

    // The lines up to the end of the next answer, for a command answered later (one that
    // opened a modal window).
    Lines Answer(const std::string& what, std::chrono::milliseconds timeout = 10s) {
        Lines lines;
        while (const auto line = NextLine(timeout)) {
            transcript_.push_back(*line);
            lines.push_back(*line);
            if (EndsAnswer(*line)) return lines;
        }
        ADD_FAILURE() << "no answer to '" << what << "' within " << timeout.count() << " ms";
        return lines;
    }

    // Ends the input and waits for the front end to end; for a child process, its wait status.
    int End() {
        EndInput();
        if (frontEnd_.joinable()) frontEnd_.join();
        return exitStatus_;
    }

    // Every line of every answer so far, in order: messages that came with any command.
    const Lines& Transcript() const { return transcript_; }

    // The text of control id as "get" prints it, or nothing.
    std::optional<std::string> Get(int id) {
        const std::string prefix = std::to_string(id) + "=";
        for (const std::string& line : Command("get " + std::to_string(id))) {
            if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
        }
        return std::nullopt;
    }

    // The text of status pane 0 to 5.
    std::string Pane(int pane) {
        const std::string prefix = "pane " + std::to_string(pane) + ": ";
        for (const std::string& line : Command("status")) {
            if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
        }
        return {};
    }

    // The lines a listing command prints, without its "ok".
    Lines Listing(const std::string& command) {
        Lines lines = Command(command);
        if (!lines.empty() && lines.back() == "ok") lines.pop_back();
        return lines;
    }

    // Lets time pass in steps of 100 ms until probe's answer has a line containing text; every
    // line seen on the way goes to seen. False when that did not happen within timeout.
    bool WaitUntil(const std::string& probe, const std::string& text,
                   std::chrono::milliseconds timeout, Lines* seen = nullptr) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const Lines lines = Command(probe);
            if (seen) seen->insert(seen->end(), lines.begin(), lines.end());
            if (Contains(lines, text)) return true;
            if (std::chrono::steady_clock::now() >= deadline || Ended()) return false;
            const Lines waited = Command("wait 100");
            if (seen) seen->insert(seen->end(), waited.begin(), waited.end());
        }
    }

private:
    // Whether the front end has stopped answering for good.
    bool Ended() {
        std::lock_guard lock(mutex_);
        return closed_ && lines_.empty();
    }

    // Ends the input; a front end still running 20 s later is killed when it is a child
    // process, and otherwise ends the test program, as nothing else can stop its thread.
    void EndInput() {
        if (commands_ >= 0) {
            close(commands_);
            commands_ = -1;
        }
        if (!ended_.valid() || ended_.wait_for(20s) == std::future_status::ready) return;
        std::fprintf(stderr, "the headless front end did not end after its input ended\n");
        if (child_ <= 0) std::abort();
        kill(child_, SIGKILL);
        ended_.wait();
    }

    void ReadAnswers() {
        std::string partial;
        char buffer[4096];
        for (;;) {
            const ssize_t count = read(answers_, buffer, sizeof buffer);
            if (count <= 0) break;
            std::lock_guard lock(mutex_);
            for (ssize_t i = 0; i < count; ++i) {
                if (buffer[i] != '\n') {
                    partial += buffer[i];
                    continue;
                }
                lines_.push_back(std::move(partial));
                partial.clear();
            }
            arrived_.notify_all();
        }
        std::lock_guard lock(mutex_);
        closed_ = true;
        arrived_.notify_all();
    }

    std::optional<std::string> NextLine(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, timeout, [this] { return !lines_.empty() || closed_; }) ||
            lines_.empty()) {
            return std::nullopt;
        }
        std::string line = std::move(lines_.front());
        lines_.pop_front();
        return line;
    }

    pid_t child_ = -1;
    int exitStatus_ = 0;
    int commands_ = -1;
    int answers_ = -1;
    std::thread frontEnd_;
    std::thread reader_;
    std::future<void> ended_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::string> lines_;
    bool closed_ = false;
    Lines transcript_;
};

// A program folder with Config.ini and a per-user profile that names English, so that the
// front end starts without asking for a language.
class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", profileHome_.Path().c_str(), 1);
        unsetenv("ZEPHRAN_PORTS");
        profileHome_.Write("ZephranFPV/profile.ini", "[Settings]\nLanguage=english\n");
    }

    // Config.ini with the given scan mode, port number and product.
    void Configure(const std::string& scanMode, int com, const std::string& product) {
        appDir_.Write("Config.ini", "[PCSetting]\nPortScanMode=" + scanMode + "\nCom=" +
                                        std::to_string(com) + "\nbps=" + std::to_string(baud_) +
                                        "\n[AHRSSetting]\nbps=115200\n"
                                        "OutputRate=50\n[ProductSetting]\nProduct=" +
                                        product + "\n");
    }

    // The command line: the program folder, the ports in order, then any other options.
    std::vector<std::string> Arguments(const std::vector<std::string>& ports,
                                       const std::vector<std::string>& more = {}) const {
        std::vector<std::string> arguments{"--headless", "--app-dir", appDir_.Path()};
        for (const std::string& port : ports) {
            arguments.push_back("--port");
            arguments.push_back(port);
        }
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    }

    testing::TempDir appDir_;
    testing::TempDir profileHome_;
    unsigned baud_ = 115200;  // the program's line speed in the Config.ini Configure writes
};

}  // namespace zephran::test
