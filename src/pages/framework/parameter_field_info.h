#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/text_source.h"
#include "pages/framework/parameter_set.h"

namespace zephran {

// The whole numbers a field takes: inclusive bounds.
struct IntegerRange {
    std::int64_t low;
    std::int64_t high;
};

// A whole-number field's range: its own where the table gives one, else its type's (a tap
// count up to the 32 coefficients that follow it). Nothing for numbers and coefficient lists.
std::optional<IntegerRange> FieldRange(const ParameterField& field);

// The unit the board keeps a converted value in ("m/s²", "rad", "rad/s"); empty when the
// value goes to the board as shown.
std::string BoardUnit(const ParameterField& field);

// The field's tooltip in the language of texts, one fact a line: what the board does with it,
// its unit, its range, the board's unit and the conversion, and whether only the board sets it.
std::string FieldTip(const ParameterField& field, const TextSource& texts);

}  // namespace zephran
