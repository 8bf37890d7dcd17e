#include "recording/recording_reader.h"

#include <algorithm>
#include <fstream>

#include "platform/file_system.h"

namespace zephran {

Recording ParseRecording(std::span<const std::uint8_t> bytes) {
    Recording recording;
    // As many records as could fit: the file and its records are then held once each, never
    // with a half-grown copy of the records besides.
    recording.records.reserve(bytes.size() / kLiveRecordSize);
    recording.places.reserve(bytes.size() / kLiveRecordSize);
    RecordingDamage& damage = recording.damage;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t left = bytes.size() - at;
        const bool header = bytes[at] == 'T' && (left < 2 || bytes[at + 1] == 'M') &&
                            (left < 3 || bytes[at + 2] == kLiveRecordType);
        if (left < kLiveRecordSize) {
            if (header) {
                damage.truncatedTail = true;
                damage.skippedBytes += left;
                break;
            }
        } else {
            const auto candidate = bytes.subspan(at).first<kLiveRecordSize>();
            if (IsSoundRecord(candidate)) {
                LiveRecordBytes& record = recording.records.emplace_back();
                std::copy(candidate.begin(), candidate.end(), record.begin());
                recording.places.push_back(static_cast<std::uint32_t>(at / kLiveRecordSize));
                at += kLiveRecordSize;
                continue;
            }
            if (header) ++damage.badRecords;
        }
        ++damage.skippedBytes;
        ++at;
    }
    recording.times = TimeRecords(recording.records, recording.places, {}, std::nullopt);
    return recording;
}

namespace {

// The bytes of a regular file; false when it cannot be read.
bool ReadBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
    const auto size = RegularFileSize(path);
    if (!size) return false;
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    if (!file) return false;
    bytes.resize(static_cast<std::size_t>(*size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // A file that shrank meanwhile keeps what was read.
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return !file.bad();
}

}  // namespace

bool ReadRecording(const std::string& path, Recording& recording) {
    std::vector<std::uint8_t> bytes;
    if (!ReadBytes(path, bytes)) return false;
    recording = ParseRecording(bytes);
    if (!ReadBytes(TimesPathFor(path), bytes)) bytes.clear();
    recording.times = TimeRecords(recording.records, recording.places, DecodeTimeEntries(bytes),
                                  RecordingStartFromName(path));
    return true;
}

std::string DescribeDamage(const RecordingDamage& damage, const TextSource& texts) {
    if (!damage.Any()) return {};
    std::string parts = FillIn(AddedText(texts, "Recordings", "Skipped Bytes", "skipped %1 bytes"),
                               {std::to_string(damage.skippedBytes)});
    if (damage.badRecords != 0) {
        parts += FillIn(AddedText(texts, "Recordings", "Bad Sums", ", %1 records with bad sums"),
                        {std::to_string(damage.badRecords)});
    }
    if (damage.truncatedTail)
        parts += AddedText(texts, "Recordings", "Truncated Tail", ", a truncated last record");
    return FillIn(AddedText(texts, "Recordings", "Damaged", "Damaged recording: %1."), {parts});
}

std::string CannotReadRecording(const std::string& path, const TextSource& texts) {
    return AddedText(texts, "DlgDataAnalyz", "Cannot Read Recording", "Cannot read the recording") +
           " " + path;
}

}  // namespace zephran
