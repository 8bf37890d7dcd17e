#include "sim/pty_device.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace zephran::sim {
namespace {

std::string SystemError(const std::string& what) {
    const int code = errno;
    return what + ": " + std::strerror(code);
}

// Unlocks and names the slave and makes the line raw and the master non-blocking and
// close-on-exec; returns the step that failed, or nothing.
const char* SetUpMaster(int master, std::string& slavePath) {
    std::array<char, 128> name{};
    if (grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name.data(), name.size()) != 0)
        return "pty slave";
    // The master's line settings are the slave's, so the device starts raw for whoever opens
    // it and nothing the board writes is echoed back to it.
    termios raw{};
    if (tcgetattr(master, &raw) != 0) return "tcgetattr";
    cfmakeraw(&raw);
    if (tcsetattr(master, TCSANOW, &raw) != 0) return "tcsetattr";
    if (fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0 ||
        fcntl(master, F_SETFD, FD_CLOEXEC) != 0)
        return "fcntl";
    slavePath = name.data();
    return nullptr;
}

std::string ReadLink(const std::string& path) {
    std::array<char, 4096> target{};
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    return n < 0 ? std::string() : std::string(target.data(), static_cast<std::size_t>(n));
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    Reset(other.Release());
    return *this;
}

int UniqueFd::Release() {
    return std::exchange(fd_, -1);
}

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
}

UniqueFd OpenPtyMaster(std::string& slavePath, std::string& error) {
    UniqueFd master(posix_openpt(O_RDWR | O_NOCTTY));
    const char* failed = master.IsOpen() ? SetUpMaster(master.Get(), slavePath) : "posix_openpt";
    if (failed != nullptr) {
        error = SystemError(failed);
        master.Reset();
    }
    return master;
}

bool DeviceLink::Place(const std::string& path, const std::string& target, std::string& error) {
    Remove();
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = path + " exists and is not a symbolic link";
        return false;
    }
    // A new link under a temporary name renamed over the old one replaces it in one step.
    const std::string temporary = path + ".new-" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(target.c_str(), temporary.c_str()) != 0) {
        error = SystemError("symlink " + path);
        return false;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        error = SystemError("rename to " + path);
        unlink(temporary.c_str());
        return false;
    }
    path_ = path;
    target_ = target;
    return true;
}

void DeviceLink::Remove() {
    if (path_.empty()) return;
    if (ReadLink(path_) == target_) unlink(path_.c_str());
    path_.clear();
    target_.clear();
}

}  // namespace zephran::sim
