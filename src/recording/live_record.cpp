#include "recording/live_record.h"

#include <algorithm>
#include <cstring>

namespace zephran {

using namespace live_record;

std::array<std::uint8_t, 2> RecordSums(std::span<const std::uint8_t> bytes) {
    std::uint8_t a = 0, b = 0;
    for (const std::uint8_t byte : bytes) {
        a = static_cast<std::uint8_t>(a + byte);
        b = static_cast<std::uint8_t>(b + a);
    }
    return {a, b};
}

LiveRecordBytes BuildLiveRecord(const RecordSources& sources) {
    LiveRecordBytes record{};
    record[0] = 'T';
    record[1] = 'M';
    record[kType] = kLiveRecordType;
    record[kMask] = kLiveRecordMask & 0xFF;
    record[kMask + 1] = kLiveRecordMask >> 8;
    record[kLength] = kLiveRecordPayload & 0xFF;
    record[kLength + 1] = kLiveRecordPayload >> 8;
    std::copy(sources.sensorsRaw.begin() + 1, sources.sensorsRaw.end(), record.begin() + kSensors);
    std::copy(sources.gpsRaw.begin(), sources.gpsRaw.end(), record.begin() + kGps);
    record[kSensorByte] = sources.sensorsRaw[0];
    std::memcpy(record.data() + kNavigation,
                reinterpret_cast<const std::uint8_t*>(&sources.navigation) + 1,
                sizeof sources.navigation - 1);
    const auto sums = RecordSums(std::span(record).subspan(kType, kSumA - kType));
    record[kSumA] = sums[0];
    record[kSumB] = sums[1];
    return record;
}

bool IsSoundRecord(std::span<const std::uint8_t, kLiveRecordSize> record) {
    const auto sums = RecordSums(record.subspan(kType, kSumA - kType));
    return record[0] == 'T' && record[1] == 'M' && record[kType] == kLiveRecordType &&
           (record[kMask] | record[kMask + 1] << 8) == kLiveRecordMask &&
           (record[kLength] | record[kLength + 1] << 8) == kLiveRecordPayload &&
           record[kSumA] == sums[0] && record[kSumB] == sums[1];
}

}  // namespace zephran
