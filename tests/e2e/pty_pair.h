#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zephran::test {

// A pseudo-terminal pair: the application opens SlavePath(), the test plays the board on the
// master side. Both transfer helpers give up at their time-out instead of blocking.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsValid() const { return master_ >= 0; }
    int Slave() const { return slave_; }
    const std::string& SlavePath() const { return slavePath_; }
    void CloseMaster();
    bool MakeSlaveRaw();
    // Bytes written on the master that no reader of the slave has taken yet (raw mode).
    std::size_t Pending() const;

    bool WriteAll(const std::uint8_t* bytes, std::size_t count, std::chrono::milliseconds timeout);
    bool ReadExactly(std::vector<std::uint8_t>& out, std::size_t count,
                     std::chrono::milliseconds timeout);

private:
    // Waits for events on the master until deadline; false on time-out, error or hang-up.
    bool WaitMaster(short events, std::chrono::steady_clock::time_point deadline);

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace zephran::test
