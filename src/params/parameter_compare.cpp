#include "params/parameter_compare.h"

#include <algorithm>

namespace zephran {
namespace {

bool SameBytes(const ParameterField& field, const SetSnapshot& a, const SetSnapshot& b) {
    const auto begin = static_cast<std::ptrdiff_t>(field.offset);
    const auto end = begin + static_cast<std::ptrdiff_t>(FieldSize(field.type));
    return std::equal(a.record.begin() + begin, a.record.begin() + end, b.record.begin() + begin);
}

}  // namespace

std::vector<const ParameterSet*> Comparison::ChangedSets() const {
    std::vector<const ParameterSet*> sets;
    for (const FieldDifference& difference : fields) {
        if (std::find(sets.begin(), sets.end(), difference.set) == sets.end())
            sets.push_back(difference.set);
    }
    return sets;
}

Comparison CompareSnapshots(const ParameterSnapshot& first, const ParameterSnapshot& second) {
    Comparison comparison;
    for (const SetSnapshot& a : first.sets) {
        const SetSnapshot* b = second.Find(a.set->name);
        if (!b) {
            comparison.onlyFirst.push_back(a.set);
            continue;
        }
        const std::vector<ParameterValue> valuesA = ReadFields(*a.set, a.record);
        const std::vector<ParameterValue> valuesB = ReadFields(*b->set, b->record);
        for (std::size_t i = 0; i < a.set->fields.size(); ++i) {
            const ParameterField& field = a.set->fields[i];
            if (SameBytes(field, a, *b)) continue;
            comparison.fields.push_back(
                {a.set, &field, ShownValue(field, valuesA[i]), ShownValue(field, valuesB[i])});
        }
    }
    for (const SetSnapshot& b : second.sets) {
        if (!first.Find(b.set->name)) comparison.onlySecond.push_back(b.set);
    }
    return comparison;
}

std::vector<std::string> DescribeComparison(const Comparison& comparison,
                                            std::string_view firstName, std::string_view secondName,
                                            const TextSource& texts, const ShownNames& names) {
    std::vector<std::string> lines;
    for (const FieldDifference& d : comparison.fields) {
        std::string line = names.set(*d.set) + " / " + names.field(*d.set, *d.field);
        if (!d.field->unit.empty()) line += " (" + std::string(d.field->unit) + ")";
        line += ": " + std::string(firstName) + "=" + d.first + ", " + std::string(secondName) +
                "=" + d.second;
        lines.push_back(std::move(line));
    }
    const std::string onlyIn = AddedText(texts, "ParameterFiles", "Only In", "%1: only in %2");
    for (const ParameterSet* set : comparison.onlyFirst)
        lines.push_back(FillIn(onlyIn, {names.set(*set), firstName}));
    for (const ParameterSet* set : comparison.onlySecond)
        lines.push_back(FillIn(onlyIn, {names.set(*set), secondName}));
    if (lines.empty())
        lines.push_back(AddedText(texts, "ParameterFiles", "No Differences", "No differences."));
    return lines;
}

}  // namespace zephran
