#include "params/parameter_snapshot.h"

#include "records/record_store.h"
#include "ui/data_exchange.h"

namespace zephran {

SetLayout LayoutOf(const ParameterSet& set, RecordStore& records) {
    if (set.record == ReplyRecord::kNone) return {&set, FieldExtent(set)};
    return {&set, records.Bytes(set.record, set.recordIndex).size()};
}

const SetSnapshot* ParameterSnapshot::Find(std::string_view name) const {
    for (const SetSnapshot& snapshot : sets) {
        if (snapshot.set->name == name) return &snapshot;
    }
    return nullptr;
}

std::string ShownValue(const ParameterField& field, const ParameterValue& value) {
    switch (field.type) {
        case FieldType::kF32:
            return ui::FormatFloat(value.number, 6);
        case FieldType::kF64:
            return ui::FormatFloat(value.number, 15);
        case FieldType::kCoefficients:
            return value.text;
        case FieldType::kU8:
        case FieldType::kI8:
        case FieldType::kI32:
        case FieldType::kCount:
        case FieldType::kChoice:
            break;
    }
    return std::to_string(static_cast<long long>(value.number));
}

}  // namespace zephran
