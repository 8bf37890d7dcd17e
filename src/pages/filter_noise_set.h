#pragma once

#include <cstdint>
#include <string>

#include "pages/parameter_set.h"

namespace zephran {

// The noise parameters of a board's attitude or navigation filter: doubles after the record's
// leading byte, read, written and reset to the board's defaults with Read, Write and Default.

constexpr ParameterField NoiseField(std::uint16_t offset, std::string_view name, int box, int label,
                                    std::string_view caption, std::string_view key, double initial,
                                    std::string_view description) {
    return {.name = name,
            .offset = offset,
            .type = FieldType::kF64,
            .box = box,
            .label = label,
            .caption = caption,
            .key = key,
            .initial = initial,
            .width = 16,
            .description = description};
}

// Read, Write and Default keyed IDC_BUTTON_<stem>_PARA_READ, _PARA_WRITE and _RARA_SET_DEFAULT.
inline ButtonCaptions NoiseButtonCaptions(const std::string& stem) {
    return ButtonCaptions::ReadWriteDefault("IDC_BUTTON_" + stem + "_PARA_READ",
                                            "IDC_BUTTON_" + stem + "_PARA_WRITE",
                                            "IDC_BUTTON_" + stem + "_RARA_SET_DEFAULT");
}

}  // namespace zephran
