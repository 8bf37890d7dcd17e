#pragma once

#include <QTimer>
#include <functional>

namespace zephran::qt {

// Runs an action at most once per interval however often it is asked for, and always once
// after the last request. Live data changes some texts hundreds of times a second; the screen
// needs them no faster than it can show them.
class Throttle {
public:
    static constexpr int kIntervalMs = 40;

    explicit Throttle(std::function<void()> action) : action_(std::move(action)) {
        timer_.setSingleShot(true);
        timer_.setInterval(kIntervalMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] { action_(); });
    }

    void Request() {
        if (!timer_.isActive()) timer_.start();
    }

private:
    std::function<void()> action_;
    QTimer timer_;
};

}  // namespace zephran::qt
