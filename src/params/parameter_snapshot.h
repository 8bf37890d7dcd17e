#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/framework/parameter_set.h"

namespace zephran {

struct RecordStore;

// A parameter set with the size of the record that carries it.
struct SetLayout {
    const ParameterSet* set = nullptr;
    std::size_t recordSize = 0;
};

// The layout of a set: its receive record's size, or the fields' extent without one.
SetLayout LayoutOf(const ParameterSet& set, RecordStore& records);

// One set as the board held it or a file holds it: its whole record, values in place.
struct SetSnapshot {
    const ParameterSet* set = nullptr;
    std::vector<std::uint8_t> record;
};

// The parameter sets of one product, from the board or from a file.
struct ParameterSnapshot {
    std::string product;
    std::string date;  // when the sets were read, ISO 8601 in UTC
    std::vector<SetSnapshot> sets;

    const SetSnapshot* Find(std::string_view name) const;
};

// A field's value as the pages show it: "%g" with the type's digits, a coefficient list as
// comma-separated integers.
std::string ShownValue(const ParameterField& field, const ParameterValue& value);

}  // namespace zephran
