#pragma once

#include <span>
#include <string>
#include <string_view>

#include "recording/live_record.h"

namespace zephran {

// One field of a record, as a named column with its unit.
struct RecordColumn {
    enum class Type { U8, U16, I32, F32, F64 };
    std::string_view name;  // with the unit in parentheses
    std::size_t offset;     // in the record
    Type type;
    double scale = 1.0;  // the column shows the field times this
};

// Every field of the sensor, GPS and navigation blocks, in record order.
std::span<const RecordColumn> RecordColumns();

double ColumnValue(const LiveRecordBytes& record, const RecordColumn& column);
// The value as the CSV shows it: integers whole, floats with their full precision.
std::string FormatColumn(const LiveRecordBytes& record, const RecordColumn& column);

}  // namespace zephran
