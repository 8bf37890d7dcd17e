// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace zephran::test {

// The path of an installed program, looked for on PATH and in the administrators' folders
// (ser2net lives in /usr/sbin); empty when it is not installed.
std::string FindProgram(const std::string& name);

// A loopback TCP port nothing listens on now.
std::uint16_t FreeLoopbackPort();

// Whether something listens on the IPv4 loopback port, from the kernel's table rather than by
// connecting, which a bridge would take as its one client.
bool ListeningOnLoopback(std::uint16_t port);

// A helper program run for a test, its output going to a log file; stopped with SIGTERM and
// waited for at the latest when destroyed.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::string& logPath);
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    void Stop();

private:
    pid_t pid_ = -1;
};

// Waits until port is listened on; false after timeout.
bool WaitUntilListening(std::uint16_t port, std::chrono::milliseconds timeout);

}  // namespace zephran::test
