// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace zephran::testing {

// The path of an installed program, looked for on PATH and in the administrators' folders
// (ser2net lives in /usr/sbin); empty when it is not installed.
std::string FindProgram(const std::string& name);

// A loopback TCP port nothing listens on now.
std::uint16_t FreeLoopbackPort();

// Whether something listens on the IPv4 loopback port, from the kernel's table rather than by
// connecting, which a bridge would take as its one client.
bool ListeningOnLoopback(std::uint16_t port);

// A helper program run beside the tool, its output going to a log file; stopped with SIGTERM and
// waited for at the latest when destroyed.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::string& logPath);
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    void Stop();

private:
    pid_t pid_ = -1;
};

// The rate a tty runs at, read from a descriptor of the test's own on it; 0 when unreadable.
unsigned TtyBaud(int fd);

// Waits until port is listened on; false after timeout.
bool WaitUntilListening(std::uint16_t port, std::chrono::milliseconds timeout);

enum class BridgeKind { kSocat, kSer2netRaw, kSer2netRfc2217 };

// The program that plays the bridge.
inline std::string ToolOf(BridgeKind kind) {
    return kind == BridgeKind::kSocat ? "socat" : "ser2net";
}

// One bridge program on a loopback port in front of a device, restartable on the same port; its
// configuration and log go to folder. ser2net by default holds what it reads from the device
// until the line has been quiet for two characters' time, at least 1 ms; without charDelay it
// sends at once.
class Bridge {
public:
    Bridge(BridgeKind kind, std::string program, std::string device, const std::string& folder,
           bool charDelay = true)
        : kind_(kind),
          program_(std::move(program)),
          device_(std::move(device)),
          port_(FreeLoopbackPort()),
          config_(folder + "/ser2net.yaml"),
          log_(folder + "/bridge.log") {
        // The port's own rate differs from every rate the tool asks for.
        std::ofstream config(config_);
        config << "connection: &board\n"
               << "  accepter: "
               << (kind == BridgeKind::kSer2netRfc2217 ? "telnet(rfc2217),tcp," : "tcp,")
               << "127.0.0.1," << port_ << "\n"
               << "  connector: serialdev," << device_ << ",9600n81,local\n";
        if (!charDelay) config << "  options:\n    chardelay: false\n";
    }

    bool Start() {
        const std::string listen =
            "TCP-LISTEN:" + std::to_string(port_) + ",bind=127.0.0.1,reuseaddr";
        const std::vector<std::string> argv =
            kind_ == BridgeKind::kSocat
                ? std::vector<std::string>{program_, listen, "FILE:" + device_ + ",raw,echo=0"}
                : std::vector<std::string>{program_, "-n", "-d", "-c", config_};
        process_.emplace(argv, log_);
        return process_->Started() && WaitUntilListening(port_, std::chrono::seconds(5));
    }
    void Stop() { process_.reset(); }
    // The bridge program's process; -1 when it is not running.
    pid_t Pid() const { return process_ ? process_->Pid() : -1; }

    std::string Address() const {
        const char* scheme = kind_ == BridgeKind::kSer2netRfc2217 ? "rfc2217://" : "tcp://";
        return scheme + std::string("127.0.0.1:") + std::to_string(port_);
    }
    std::string Log() const {
        std::ifstream in(log_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    BridgeKind kind_;
    std::string program_;
    std::string device_;
    std::uint16_t port_;
    std::string config_;
    std::string log_;
    std::optional<ChildProcess> process_;
};

}  // namespace zephran::testing
