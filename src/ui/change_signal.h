#pragma once

#include <functional>

namespace zephran::ui {

// One listener told that a model changed; front ends redraw on it.
class ChangeSignal {
public:
    void Connect(std::function<void()> listener) { listener_ = std::move(listener); }
    void Emit() const {
        if (listener_) listener_();
    }

private:
    std::function<void()> listener_;
};

}  // namespace zephran::ui
