#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "platform/clock.h"

namespace zephran {

// Writes fixed-size records to a file on a thread of its own, so that a slow or full disk
// never holds up the thread that hands them over. Whole records go to the writing thread as soon
// as kHandOverBytes wait, and at the latest kHandOverMs after the oldest of them came, so a crash
// loses little. After a failed write the file is cut back to the records written whole, and
// nothing more is written.
class RecordWriter {
public:
    static constexpr std::size_t kHandOverBytes = 1000;
    static constexpr std::int64_t kHandOverMs = 1000;

    // Takes the open descriptor; the clock times the waiting records.
    RecordWriter(int fd, std::size_t recordSize, const Clock& clock);
    ~RecordWriter() { Close(); }
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // Buffers one record, handing the buffer over when it is due.
    void Append(std::span<const std::uint8_t> record);
    // Hands the waiting records over once the oldest has waited kHandOverMs; called by the
    // owner's periodic timer.
    void Tick();
    // Bytes buffered and not yet handed to the writing thread.
    std::size_t Waiting() const { return filling_.size(); }
    // Whether a write has failed; set by the writing thread, safe to read from any thread.
    bool Failed() const { return failed_; }
    // Writes everything buffered, ends the thread and closes the file; false when a write or
    // the close failed. Only the first call does anything.
    bool Close();

private:
    using Buffer = std::vector<std::uint8_t>;

    void Run();
    // Writes one buffer whole; false on failure, after cutting the file back.
    bool WriteBuffer(const Buffer& buffer);
    void HandOver();

    int fd_;
    std::size_t recordSize_;
    const Clock& clock_;
    Buffer filling_;
    // When the oldest record of filling_ came.
    std::int64_t oldestMs_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Buffer> queue_;
    bool closing_ = false;
    bool closed_ = false;
    std::atomic<bool> failed_ = false;
    // Bytes of the file, kept by the writing thread.
    std::uint64_t written_ = 0;
    std::thread thread_;
};

}  // namespace zephran
