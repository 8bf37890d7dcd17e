#include "recording/recording_reader.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/file_system.h"

namespace zephran {

Recording ParseRecording(std::span<const std::uint8_t> bytes) {
    Recording recording;
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
                at += kLiveRecordSize;
                continue;
            }
            if (header) ++damage.badRecords;
        }
        ++damage.skippedBytes;
        ++at;
    }
    return recording;
}

bool ReadRecording(const std::string& path, Recording& recording) {
    if (!RegularFileSize(path)) return false;
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    if (!file) return false;
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    if (file.bad()) return false;
    recording = ParseRecording(bytes);
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
