// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "link/transport.h"

namespace zephran::testing {

// Collects a transport's events on the test thread, woken by the transport's thread.
class TransportWatcher : public SerialPortOwner {
public:
    void WakeUp() override {
        ++wakeUps;
        {
            const std::lock_guard lock(mutex_);
            woken_ = true;
        }
        wake_.notify_all();
    }

    // Drains the transport until done() holds; false if it still does not after timeout.
    bool WaitUntil(Transport& transport, const std::function<bool()>& done,
                   std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::unique_lock lock(mutex_);
        for (;;) {
            woken_ = false;
            lock.unlock();
            Drain(transport);
            lock.lock();
            if (done()) return true;
            if (!wake_.wait_until(lock, deadline, [this] { return woken_; })) {
                lock.unlock();
                Drain(transport);
                return done();
            }
        }
    }

    bool WaitForLost(Transport& transport,
                     std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        return WaitUntil(
            transport, [this] { return Count(PortEvent::Kind::Lost) > 0; }, timeout);
    }

    void Drain(Transport& transport) {
        for (PortEvent& event : transport.TakeEvents()) {
            if (event.kind == PortEvent::Kind::Received)
                received.insert(received.end(), event.bytes.begin(), event.bytes.end());
            events.push_back(std::move(event));
        }
    }

    std::size_t Count(PortEvent::Kind kind) const {
        return std::count_if(events.begin(), events.end(),
                             [kind](const PortEvent& e) { return e.kind == kind; });
    }

    // The text of the first Error event, step and reason; empty when there is none.
    std::string FirstError() const {
        for (const PortEvent& event : events) {
            if (event.kind == PortEvent::Kind::Error) return event.step + ": " + event.text;
        }
        return {};
    }

    std::vector<std::uint8_t> received;
    std::vector<PortEvent> events;
    std::atomic<int> wakeUps{0};

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
};

}  // namespace zephran::testing
