#include "recording/recording_columns.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace zephran {
namespace {

using T = RecordColumn::Type;
using namespace live_record;

// SensorsRaw fields sit one byte early in block 0, which leaves out their Health byte.
constexpr std::size_t Sensors(std::size_t field) {
    return kSensors + field - 1;
}
// Navigation-sample fields sit one byte early in block 5, which leaves out its byte 0.
constexpr std::size_t Navigation(std::size_t field) {
    return kNavigation + field - 1;
}

constexpr std::array kColumns{
    RecordColumn{"health", kSensorByte, T::U8},
    RecordColumn{"gx (rad/s)", Sensors(1), T::F32},
    RecordColumn{"gy (rad/s)", Sensors(5), T::F32},
    RecordColumn{"gz (rad/s)", Sensors(9), T::F32},
    RecordColumn{"ax (m/s2)", Sensors(13), T::F32},
    RecordColumn{"ay (m/s2)", Sensors(17), T::F32},
    RecordColumn{"az (m/s2)", Sensors(21), T::F32},
    RecordColumn{"mx (board unit)", Sensors(25), T::F32},
    RecordColumn{"my (board unit)", Sensors(29), T::F32},
    RecordColumn{"mz (board unit)", Sensors(33), T::F32},
    RecordColumn{"sensor hmsl (m)", Sensors(37), T::F32},
    RecordColumn{"gps new data (flag)", kGps + 0, T::U8},
    RecordColumn{"gps itow (ms)", kGps + 1, T::I32},
    RecordColumn{"gps lon (deg)", kGps + 5, T::F64},
    RecordColumn{"gps lat (deg)", kGps + 13, T::F64},
    RecordColumn{"gps hmsl (m)", kGps + 21, T::F32},
    RecordColumn{"gps fix (type)", kGps + 25, T::U8},
    RecordColumn{"gps flags (bits)", kGps + 26, T::U8},
    RecordColumn{"gps pdop (1)", kGps + 27, T::U16, 0.01},
    RecordColumn{"gps satellites (count)", kGps + 29, T::U8},
    RecordColumn{"gps vel n (m/s)", kGps + 30, T::F32},
    RecordColumn{"gps vel e (m/s)", kGps + 34, T::F32},
    RecordColumn{"gps vel d (m/s)", kGps + 38, T::F32},
    RecordColumn{"gps speed (m/s)", kGps + 42, T::F32},
    RecordColumn{"gps ground speed (m/s)", kGps + 46, T::F32},
    RecordColumn{"gps heading (deg)", kGps + 50, T::F32},
    RecordColumn{"lon (deg)", Navigation(1), T::F64},
    RecordColumn{"lat (deg)", Navigation(9), T::F64},
    RecordColumn{"hmsl (m)", Navigation(17), T::F32},
    RecordColumn{"vel n (m/s)", Navigation(21), T::F32},
    RecordColumn{"vel e (m/s)", Navigation(25), T::F32},
    RecordColumn{"vel d (m/s)", Navigation(29), T::F32},
    RecordColumn{"roll (deg)", Navigation(37), T::F32},
    RecordColumn{"pitch (deg)", Navigation(41), T::F32},
    RecordColumn{"yaw (deg)", Navigation(45), T::F32},
    RecordColumn{"q0 (1)", Navigation(49), T::F32},
    RecordColumn{"q1 (1)", Navigation(53), T::F32},
    RecordColumn{"q2 (1)", Navigation(57), T::F32},
    RecordColumn{"q3 (1)", Navigation(61), T::F32},
};

template <typename V>
V At(const LiveRecordBytes& record, std::size_t offset) {
    V value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

}  // namespace

std::span<const RecordColumn> RecordColumns() {
    return kColumns;
}

double ColumnValue(const LiveRecordBytes& record, const RecordColumn& column) {
    double value = 0;
    switch (column.type) {
        case T::U8:
            value = record[column.offset];
            break;
        case T::U16:
            value = At<std::uint16_t>(record, column.offset);
            break;
        case T::I32:
            value = At<std::int32_t>(record, column.offset);
            break;
        case T::F32:
            value = At<float>(record, column.offset);
            break;
        case T::F64:
            value = At<double>(record, column.offset);
            break;
    }
    return value * column.scale;
}

std::string FormatColumn(const LiveRecordBytes& record, const RecordColumn& column) {
    char text[64];
    const double value = ColumnValue(record, column);
    if (column.type == T::F32) {
        std::snprintf(text, sizeof text, "%.9g", value);
    } else {
        std::snprintf(text, sizeof text, "%.17g", value);
    }
    return text;
}

}  // namespace zephran
