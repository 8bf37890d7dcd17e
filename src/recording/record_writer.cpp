#include "recording/record_writer.h"

#include <algorithm>
#include <limits>

#include "platform/raw_file.h"

namespace zephran {

RecordWriter::RecordWriter(std::vector<Target> targets, const Clock& clock)
    : clock_(clock), filling_(targets.size()) {
    for (const Target& target : targets)
        files_.push_back(File{target});
    thread_ = std::thread([this] { Run(); });
}

void RecordWriter::Append(std::span<const std::span<const std::uint8_t>> entries) {
    if (closed_ || failed_) return;
    if (filling_.front().empty()) oldestMs_ = clock_.SteadyMs();
    for (std::size_t n = 0; n < filling_.size() && n < entries.size(); ++n)
        filling_[n].insert(filling_[n].end(), entries[n].begin(), entries[n].end());
    if (filling_.front().size() >= kHandOverBytes) {
        HandOver();
    } else {
        Tick();
    }
}

void RecordWriter::Tick() {
    if (!filling_.front().empty() && clock_.SteadyMs() - oldestMs_ >= kHandOverMs) HandOver();
}

void RecordWriter::HandOver() {
    if (filling_.front().empty()) return;
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(filling_));
    }
    filling_ = Buffers(files_.size());
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
    bool closedWell = true;
    for (const File& file : files_)
        closedWell = CloseFile(file.target.fd) && closedWell;
    return closedWell && !failed_;
}

void RecordWriter::Run() {
    for (;;) {
        Buffers buffers;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return closing_ || !queue_.empty(); });
            if (queue_.empty()) return;
            buffers = std::move(queue_.front());
            queue_.pop_front();
        }
        if (failed_ || WriteHandOver(buffers)) continue;
        failed_ = true;
    }
}

// The records go first; a companion file then takes only the entries of the records that were
// written whole.
bool RecordWriter::WriteHandOver(const Buffers& buffers) {
    std::size_t entries = buffers.front().size() / files_.front().target.entrySize;
    bool whole = true;
    for (std::size_t n = 0; n < files_.size(); ++n) {
        File& file = files_[n];
        const std::size_t size = file.target.entrySize;
        const std::uint64_t before = file.written / size;
        const std::size_t count = std::min(buffers[n].size(), entries * size);
        if (WriteBytes(file, buffers[n].data(), count) && count == entries * size) continue;
        whole = false;
        entries = std::min<std::size_t>(entries, file.written / size - before);
    }
    if (!whole) CutToCommonLength();
    return whole;
}

bool RecordWriter::WriteBytes(File& file, const std::uint8_t* bytes, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const long n = WriteToFile(file.target.fd, bytes + done, count - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
        file.written += static_cast<std::uint64_t>(n);
    }
    return true;
}

void RecordWriter::CutToCommonLength() {
    std::uint64_t common = std::numeric_limits<std::uint64_t>::max();
    for (const File& file : files_)
        common = std::min(common, file.written / file.target.entrySize);
    for (File& file : files_) {
        const std::uint64_t length = common * file.target.entrySize;
        if (length != file.written && TruncateFile(file.target.fd, length)) file.written = length;
    }
}

}  // namespace zephran
