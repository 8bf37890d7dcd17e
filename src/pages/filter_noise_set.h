#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "pages/parameter_set.h"
#include "ui/layout.h"

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

// A noise set: its read, write and default requests made with its Read, Write and Default.
constexpr ParameterSet NoiseSet(std::string_view name, ParameterSet::Requests requests,
                                ParameterSet::Buttons buttons, ReplyRecord record,
                                std::span<const ParameterField> fields) {
    return RecordSet(name, requests, buttons, record, fields, SetRules::kLeadingByte);
}

// A filter page's layout: the group of its noise boxes with Read, Write and Default below it,
// the buttons keyed IDC_BUTTON_<stem>_PARA_READ, _PARA_WRITE and _RARA_SET_DEFAULT.
ui::LayoutItem NoisePageLayout(ui::WindowTemplate& t, const ParameterSet& set,
                               const std::string& buttonStem, ui::LayoutItem group);

}  // namespace zephran
