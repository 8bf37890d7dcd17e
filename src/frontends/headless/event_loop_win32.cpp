// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <io.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "frontends/headless/event_loop.h"

namespace zephran::headless {
namespace {

// What the input thread and the loop share; the thread keeps it alive after the loop ends.
struct InputState {
    std::mutex mutex;
    std::string bytes;
    bool ended = false;
    bool failed = false;
};

// Wake-ups on an event. A pipe's handle cannot be waited on, so input is read on a thread of
// its own that wakes the loop; it stays blocked in its read when the loop ends and goes with
// the process.
class EventWaiter : public EventLoop::Waiter {
public:
    EventWaiter() : wake_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~EventWaiter() override {
        // An input thread may still signal the event: it stays open for it.
        if (!reader_) CloseHandle(wake_);
    }
    EventWaiter(const EventWaiter&) = delete;
    EventWaiter& operator=(const EventWaiter&) = delete;

    void Signal() override {
        signalled_.store(true);
        SetEvent(wake_);
    }

    bool TakeSignal() override {
        ResetEvent(wake_);
        return signalled_.exchange(false);
    }

    void WaitSignal(int timeoutMs) override {
        WaitForSingleObject(wake_, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
    }

    bool WaitSignalOrInput(int fd, int timeoutMs) override {
        if (!input_) StartReader(fd);
        if (InputWaiting()) return true;
        WaitSignal(timeoutMs);
        return InputWaiting();
    }

    std::optional<long> Read(int, char* buffer, std::size_t size) override {
        const std::lock_guard lock(input_->mutex);
        if (input_->bytes.empty()) {
            if (input_->failed) return -1;
            if (input_->ended) return 0;
            return std::nullopt;
        }
        const std::size_t count = std::min(size, input_->bytes.size());
        std::memcpy(buffer, input_->bytes.data(), count);
        input_->bytes.erase(0, count);
        return static_cast<long>(count);
    }

private:
    bool InputWaiting() {
        const std::lock_guard lock(input_->mutex);
        return !input_->bytes.empty() || input_->ended || input_->failed;
    }

    void StartReader(int fd) {
        input_ = std::make_shared<InputState>();
        const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
        if (handle == INVALID_HANDLE_VALUE) {
            input_->failed = true;
            return;
        }
        reader_ = true;
        std::thread([input = input_, handle, wake = wake_] {
            char chunk[4096];
            for (;;) {
                DWORD count = 0;
                const bool read = ReadFile(handle, chunk, sizeof chunk, &count, nullptr);
                const DWORD error = read ? ERROR_SUCCESS : GetLastError();
                {
                    const std::lock_guard lock(input->mutex);
                    if (read && count > 0) input->bytes.append(chunk, count);
                    // A pipe whose writer closed its end reports it as an error.
                    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF ||
                        (read && count == 0)) {
                        input->ended = true;
                    } else if (!read) {
                        input->failed = true;
                    }
                }
                SetEvent(wake);
                if (!read || count == 0) return;
            }
        }).detach();
    }

    HANDLE wake_;
    std::atomic<bool> signalled_{false};
    std::shared_ptr<InputState> input_;
    bool reader_ = false;
};

}  // namespace

std::unique_ptr<EventLoop::Waiter> MakeWaiter() {
    return std::make_unique<EventWaiter>();
}

}  // namespace zephran::headless
