#pragma once

#include <cstdint>
#include <ctime>

namespace zephran {

// Steady milliseconds and wall-clock time, injected so tests run on a virtual clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t SteadyMs() const = 0;
    virtual std::time_t WallTime() const = 0;
};

class SystemClock : public Clock {
public:
    std::int64_t SteadyMs() const override;
    std::time_t WallTime() const override;
};

// A clock that moves only when told to.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(std::time_t wallStart = 1'800'000'000) : wallStart_(wallStart) {}
    std::int64_t SteadyMs() const override { return now_; }
    std::time_t WallTime() const override {
        return wallStart_ + static_cast<std::time_t>(now_ / 1000);
    }
    void AdvanceTo(std::int64_t ms) {
        if (ms > now_) now_ = ms;
    }

private:
    std::int64_t now_ = 0;
    std::time_t wallStart_;
};

}  // namespace zephran
