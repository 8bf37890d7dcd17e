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
//
// Companion files (a record's time, say) take one fixed-size entry per record, handed over and
// written with the records; a failed write cuts every file back to the same count of whole
// entries, so the files always agree.
class RecordWriter {
public:
    static constexpr std::size_t kHandOverBytes = 1000;
    static constexpr std::int64_t kHandOverMs = 1000;

    // A file the writer fills: its open descriptor and the size of its entries.
    struct Target {
        int fd;
        std::size_t entrySize;
    };

    // Takes the open descriptors, the records' file first; the clock times the waiting records.
    RecordWriter(std::vector<Target> targets, const Clock& clock);
    RecordWriter(int fd, std::size_t recordSize, const Clock& clock)
        : RecordWriter({Target{fd, recordSize}}, clock) {}
    ~RecordWriter() { Close(); }
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // Buffers one record, handing the buffer over when it is due.
    void Append(std::span<const std::uint8_t> record) { Append({&record, 1}); }
    // Buffers one entry per target, in the targets' order.
    void Append(std::span<const std::span<const std::uint8_t>> entries);
    // Hands the waiting records over once the oldest has waited kHandOverMs; called by the
    // owner's periodic timer.
    void Tick();
    // Record bytes buffered and not yet handed to the writing thread.
    std::size_t Waiting() const { return filling_.front().size(); }
    // Whether a write has failed; set by the writing thread, safe to read from any thread.
    bool Failed() const { return failed_; }
    // Writes everything buffered, ends the thread and closes the files; false when a write or
    // a close failed. Only the first call does anything.
    bool Close();

private:
    // One buffer per target.
    using Buffers = std::vector<std::vector<std::uint8_t>>;
    struct File {
        Target target;
        // Bytes of the file, kept by the writing thread.
        std::uint64_t written = 0;
    };

    void Run();
    // Writes one hand-over whole; false on failure, after cutting the files back.
    bool WriteHandOver(const Buffers& buffers);
    // Writes count bytes to file; false when a write fails.
    static bool WriteBytes(File& file, const std::uint8_t* bytes, std::size_t count);
    // Cuts every file to the whole entries all of them hold.
    void CutToCommonLength();
    void HandOver();

    std::vector<File> files_;
    const Clock& clock_;
    Buffers filling_;
    // When the oldest record of filling_ came.
    std::int64_t oldestMs_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Buffers> queue_;
    bool closing_ = false;
    bool closed_ = false;
    std::atomic<bool> failed_ = false;
    std::thread thread_;
};

}  // namespace zephran
