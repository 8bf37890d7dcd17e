#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "pages/framework/parameter_set.h"
#include "ui/layout.h"

namespace zephran {

// The noise parameters of a board's attitude or navigation filter: doubles after the record's
// leading byte, read, written and reset to the board's defaults with Read, Write and Default.

constexpr ParameterField NoiseField(std::uint16_t offset, std::string_view name, int box, int label,
                                    std::string_view caption, std::string_view key, double initial,
                                    AddedTextOf description) {
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
constexpr ParameterSet NoiseSet(std::string_view name, AddedTextOf caption,
                                ParameterSet::Requests requests, ParameterSet::Buttons buttons,
                                ReplyRecord record, std::span<const ParameterField> fields) {
    return RecordSet(name, caption, requests, buttons, record, fields, SetRules::kLeadingByte);
}

// A filter page: its set, the stem of its buttons' keys (IDC_BUTTON_<stem>_PARA_READ,
// _PARA_WRITE and _RARA_SET_DEFAULT) and the group around its boxes.
struct NoisePage {
    const ParameterSet& set;
    std::string_view buttonStem;
    int group;
    std::string_view caption, key;
};

// A filter page's template: the set's boxes as `arrange` lays them out, in the page's group, and
// Read, Write and Default below.
using ArrangeBoxes = ui::LayoutItem (*)(std::vector<ui::LayoutItem> boxes, ui::WindowTemplate& t);
ui::WindowTemplate NoisePageTemplate(const NoisePage& page, ArrangeBoxes arrange);

}  // namespace zephran
