#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/text_source.h"
#include "params/parameter_snapshot.h"

namespace zephran {

// A field whose value differs between two snapshots, with both values as shown.
struct FieldDifference {
    const ParameterSet* set = nullptr;
    const ParameterField* field = nullptr;
    std::string first;
    std::string second;
};

// Two snapshots field by field: fields differ where the bytes they take in the record differ,
// so a value differs only where writing it would change the board.
struct Comparison {
    std::vector<FieldDifference> fields;
    std::vector<const ParameterSet*> onlyFirst;
    std::vector<const ParameterSet*> onlySecond;

    bool Same() const { return fields.empty() && onlyFirst.empty() && onlySecond.empty(); }
    // The sets with a field that differs, each once, in the order of the first snapshot.
    std::vector<const ParameterSet*> ChangedSets() const;
};

Comparison CompareSnapshots(const ParameterSnapshot& first, const ParameterSnapshot& second);

// Sets and fields as the user reads them, not as files name them.
struct ShownNames {
    std::function<std::string(const ParameterSet&)> set;
    std::function<std::string(const ParameterSet&, const ParameterField&)> field;
};

// One line per difference: "SET / FIELD (UNIT): FIRST=value, SECOND=value", then
// "SET: only in NAME" for a set one side lacks; "No differences." when there are none.
std::vector<std::string> DescribeComparison(const Comparison& comparison,
                                            std::string_view firstName, std::string_view secondName,
                                            const TextSource& texts, const ShownNames& names);

}  // namespace zephran
