#include "recording/record_writer.h"

#include "platform/raw_file.h"

namespace zephran {

RecordWriter::RecordWriter(int fd, std::size_t recordSize, const Clock& clock)
    : fd_(fd), recordSize_(recordSize), clock_(clock), thread_([this] { Run(); }) {}

void RecordWriter::Append(std::span<const std::uint8_t> record) {
    if (closed_ || failed_) return;
    if (filling_.empty()) oldestMs_ = clock_.SteadyMs();
    filling_.insert(filling_.end(), record.begin(), record.end());
    if (filling_.size() >= kHandOverBytes) {
        HandOver();
    } else {
        Tick();
    }
}

void RecordWriter::Tick() {
    if (!filling_.empty() && clock_.SteadyMs() - oldestMs_ >= kHandOverMs) HandOver();
}

void RecordWriter::HandOver() {
    if (filling_.empty()) return;
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(filling_));
    }
    filling_ = {};
    wake_.notify_one();
}

bool RecordWriter::Close() {
    if (closed_) return !failed_;
    closed_ = true;
    HandOver();
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    wake_.notify_one();
    thread_.join();
    const bool closedWell = CloseFile(fd_);
    return closedWell && !failed_;
}

void RecordWriter::Run() {
    for (;;) {
        Buffer buffer;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return closing_ || !queue_.empty(); });
            if (queue_.empty()) return;
            buffer = std::move(queue_.front());
            queue_.pop_front();
        }
        if (failed_ || WriteBuffer(buffer)) continue;
        failed_ = true;
    }
}

bool RecordWriter::WriteBuffer(const Buffer& buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const long n = WriteToFile(fd_, buffer.data() + done, buffer.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            written_ += static_cast<std::uint64_t>(n);
            continue;
        }
        // Keep only whole records.
        const std::uint64_t whole = written_ - written_ % recordSize_;
        if (whole != written_ && TruncateFile(fd_, whole)) written_ = whole;
        return false;
    }
    return true;
}

}  // namespace zephran
