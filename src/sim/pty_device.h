#pragma once

#include <string>

namespace zephran::sim {

// Owns one file descriptor.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    int Release();
    void Reset(int fd = -1);

private:
    int fd_ = -1;
};

// Opens the master side of a new pseudo-terminal, raw, non-blocking and close-on-exec, and
// names its slave device, which is left closed for the application to open. On failure the
// returned descriptor is closed and error says why.
UniqueFd OpenPtyMaster(std::string& slavePath, std::string& error);

// A symbolic link to a device, removed again by Remove() or on destruction. An existing
// symbolic link at the path is replaced; anything else there is left alone and refused.
class DeviceLink {
public:
    DeviceLink() = default;
    ~DeviceLink() { Remove(); }
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    bool Place(const std::string& path, const std::string& target, std::string& error);
    // Removes the link if it still points where it was placed to point.
    void Remove();

private:
    std::string path_;
    std::string target_;
};

}  // namespace zephran::sim
