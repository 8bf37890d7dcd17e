#include "pages/framework/parameter_field_info.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "records/ahrs_units.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

constexpr std::string_view kDegree = "°";

std::string RangeText(const IntegerRange& range, std::string_view unit, const TextSource& texts) {
    std::string text = FillIn(AddedText(texts, "FieldTips", "Range", "Range: %1 to %2"),
                              {std::to_string(range.low), std::to_string(range.high)});
    if (!unit.empty()) text += " " + std::string(unit);
    return text;
}

std::string ConversionText(const ParameterField& field, const TextSource& texts) {
    const std::string unit = BoardUnit(field);
    if (unit.empty()) return {};
    const std::string factor = field.conversion == Conversion::kGravity
                                   ? "1 g = " + ui::FormatFloat(kStandardGravity, 6) + " m/s²"
                                   : "1 rad = " + ui::FormatFloat(kDegreesPerRadian, 6) + "°";
    return FillIn(AddedText(texts, "FieldTips", "Board Unit", "The board keeps it in %1 (%2)"),
                  {unit, factor});
}

std::string KindText(const ParameterField& field, const TextSource& texts) {
    switch (field.type) {
        case FieldType::kF32:
            return AddedText(texts, "FieldTips", "Single",
                             "A number (single precision, 6 significant digits)");
        case FieldType::kF64:
            return AddedText(texts, "FieldTips", "Double",
                             "A number (double precision, 15 significant digits)");
        case FieldType::kCoefficients:
            return FillIn(AddedText(texts, "FieldTips", "Coefficients",
                                    "Up to %1 whole numbers from -32768 to 32767, separated by "
                                    "commas; those from the tap count on are cleared"),
                          {std::to_string(FieldSize(field.type) / 2)});
        case FieldType::kChoice:
            return AddedText(texts, "FieldTips", "Choice", "One of the buttons of its group");
        case FieldType::kU8:
        case FieldType::kI8:
        case FieldType::kI32:
        case FieldType::kCount:
            break;
    }
    return AddedText(texts, "FieldTips", "Whole Number", "A whole number");
}

}  // namespace

std::optional<IntegerRange> FieldRange(const ParameterField& field) {
    IntegerRange range{};
    switch (field.type) {
        case FieldType::kU8:
            range = {0, 255};
            break;
        case FieldType::kI8:
            range = {-128, 127};
            break;
        case FieldType::kCount:
            range = {0, static_cast<std::int64_t>(FieldSize(FieldType::kCoefficients) / 2)};
            break;
        case FieldType::kChoice:
            range = {0, static_cast<std::int64_t>(field.choices->options.size()) - 1};
            break;
        case FieldType::kI32:
            range = {std::numeric_limits<std::int32_t>::min(),
                     std::numeric_limits<std::int32_t>::max()};
            break;
        case FieldType::kF32:
        case FieldType::kF64:
        case FieldType::kCoefficients:
            return std::nullopt;
    }
    if (field.low < field.high) {
        range.low = std::max<std::int64_t>(range.low, field.low);
        range.high = std::min<std::int64_t>(range.high, field.high);
    }
    return range;
}

std::string BoardUnit(const ParameterField& field) {
    switch (field.conversion) {
        case Conversion::kNone:
            break;
        case Conversion::kGravity:
            return "m/s²";
        case Conversion::kDegrees:
            // Degrees become radians, degrees per second radians per second.
            if (field.unit.starts_with(kDegree))
                return "rad" + std::string(field.unit.substr(kDegree.size()));
            return "rad";
    }
    return {};
}

std::string FieldTip(const ParameterField& field, const TextSource& texts) {
    std::vector<std::string> lines;
    if (field.description) lines.push_back(field.description(texts));
    if (!field.unit.empty())
        lines.push_back(FillIn(AddedText(texts, "FieldTips", "Unit", "Unit: %1"), {field.unit}));
    lines.push_back(KindText(field, texts));
    // A 32-bit integer without a range of its own takes whatever its box parses; a choice's
    // range is its buttons.
    const auto range = FieldRange(field);
    if (range && field.type != FieldType::kChoice &&
        (field.type != FieldType::kI32 || field.low < field.high))
        lines.push_back(RangeText(*range, field.unit, texts));
    if (const std::string conversion = ConversionText(field, texts); !conversion.empty())
        lines.push_back(conversion);
    if (field.readOnly)
        lines.push_back(
            AddedText(texts, "FieldTips", "Reported", "Set by the board; shown here only"));
    std::string tip;
    for (const std::string& line : lines)
        tip += (tip.empty() ? "" : "\n") + line;
    return tip;
}

}  // namespace zephran
