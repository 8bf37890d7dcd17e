#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace zephran {

// Writes fixed-size records to a file on a thread of its own, so that a slow or full disk
// never holds up the thread that hands them over. After a failed write the file is cut back to
// the records written whole, and nothing more is written.
class RecordWriter {
public:
    // Takes the open descriptor.
    RecordWriter(int fd, std::size_t recordSize);
    ~RecordWriter() { Close(); }
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // Buffers one record; full buffers go to the writing thread.
    void Append(std::span<const std::uint8_t> record);
    // Whether a write has failed.
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
    Buffer filling_;
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
