#include "params/parameter_file.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <ctime>
#include <nlohmann/json.hpp>

#include "link/text_source.h"
#include "pages/framework/parameter_field_info.h"
#include "records/ahrs_units.h"

namespace zephran {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kFormat = "ZephranFPV parameters";
constexpr int kVersion = 1;
// The file's own structure is three levels deep; anything much deeper is not one.
constexpr int kMaxDepth = 8;

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string Hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> FromHex(std::string_view text, std::size_t size) {
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (text.size() != 2 * size) return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        const int high = digit(text[2 * i]);
        const int low = digit(text[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return bytes;
}

Json ValueOf(const ParameterField& field, const ParameterValue& value) {
    switch (field.type) {
        case FieldType::kF32:
        case FieldType::kF64:
            if (!std::isfinite(value.number)) return nullptr;
            return value.number;
        case FieldType::kCoefficients: {
            std::int16_t coefficients[32];
            const std::size_t count = ParseFirCoefficients(value.text, coefficients);
            Json list = Json::array();
            for (std::size_t k = 0; k < count; ++k)
                list.push_back(coefficients[k]);
            return list;
        }
        case FieldType::kU8:
        case FieldType::kI8:
        case FieldType::kI32:
        case FieldType::kCount:
        case FieldType::kChoice:
            break;
    }
    return static_cast<std::int64_t>(value.number);
}

// How deeply arrays and objects nest, strings skipped; enough to refuse a file before the
// parser recurses through it.
int NestingDepth(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

// The checks of one file against the product's sets; each failure names what it concerns.
class Reader {
public:
    Reader(std::string_view product, std::span<const SetLayout> layouts, const TextSource& texts)
        : product_(product), layouts_(layouts), texts_(texts) {}

    FileReading Read(const Json& file) {
        const Json* format = file.is_object() ? Member(file, "format") : nullptr;
        if (!format || !format->is_string() || format->get<std::string>() != kFormat) {
            return Fail(AddedText(texts_, "ParameterFiles", "Not A Parameter File",
                                  "The file is not a ZephranFPV parameter file."));
        }
        const Json* version = Member(file, "version");
        if (!version || !version->is_number_integer() || version->get<std::int64_t>() != kVersion) {
            return Fail(AddedText(texts_, "ParameterFiles", "Other Version",
                                  "The file's format version is not one this program reads."));
        }
        const Json* product = Member(file, "product");
        if (!product || !product->is_string())
            return Fail(
                AddedText(texts_, "ParameterFiles", "No Product", "The file names no product."));
        if (product->get<std::string>() != product_) {
            return Fail(FillIn(AddedText(texts_, "ParameterFiles", "Other Product",
                                         "The file holds parameters of the product %1, not of %2."),
                               {Quoted(product->get<std::string>()), Quoted(product_)}));
        }
        const Json* date = Member(file, "date");
        const Json* sets = Member(file, "sets");
        if (!date || !date->is_string())
            return Fail(AddedText(texts_, "ParameterFiles", "No Date", "The file has no date."));
        if (!sets || !sets->is_array()) {
            return Fail(AddedText(texts_, "ParameterFiles", "No Set List",
                                  "The file has no list of sets."));
        }
        ParameterSnapshot snapshot{product_, date->get<std::string>(), {}};
        for (const Json& entry : *sets) {
            std::optional<SetSnapshot> set = ReadSet(entry, snapshot);
            if (!set) return Fail(error_);
            snapshot.sets.push_back(std::move(*set));
        }
        return {std::move(snapshot), {}};
    }

private:
    static const Json* Member(const Json& object, const char* name) {
        const auto found = object.find(name);
        return found == object.end() ? nullptr : &*found;
    }

    static FileReading Fail(std::string error) { return {std::nullopt, std::move(error)}; }

    const SetLayout* Layout(std::string_view name) const {
        for (const SetLayout& layout : layouts_) {
            if (layout.set->name == name) return &layout;
        }
        return nullptr;
    }

    std::optional<SetSnapshot> Refuse(std::string error) {
        error_ = std::move(error);
        return std::nullopt;
    }

    std::optional<SetSnapshot> ReadSet(const Json& entry, const ParameterSnapshot& earlier) {
        const Json* name = entry.is_object() ? Member(entry, "name") : nullptr;
        if (!name || !name->is_string()) {
            return Refuse(AddedText(texts_, "ParameterFiles", "Set Without Name",
                                    "A set of the file has no name."));
        }
        const std::string setName = Quoted(name->get<std::string>());
        const SetLayout* layout = Layout(name->get<std::string>());
        if (!layout) {
            return Refuse(FillIn(AddedText(texts_, "ParameterFiles", "Unknown Set",
                                           "Set %1 is not a parameter set of the product %2."),
                                 {setName, Quoted(product_)}));
        }
        if (earlier.Find(name->get<std::string>())) {
            return Refuse(
                FillIn(AddedText(texts_, "ParameterFiles", "Set Twice", "Set %1 appears twice."),
                       {setName}));
        }
        const Json* recordText = Member(entry, "record");
        const auto record = recordText && recordText->is_string()
                                ? FromHex(recordText->get<std::string>(), layout->recordSize)
                                : std::nullopt;
        if (!record) {
            return Refuse(FillIn(AddedText(texts_, "ParameterFiles", "Bad Record",
                                           "Set %1: the record is not %2 bytes in hexadecimal."),
                                 {setName, std::to_string(layout->recordSize)}));
        }
        const Json* fields = Member(entry, "fields");
        if (!fields || !fields->is_object()) {
            return Refuse(
                FillIn(AddedText(texts_, "ParameterFiles", "No Fields", "Set %1 has no fields."),
                       {setName}));
        }
        const ParameterSet& set = *layout->set;
        for (const auto& [fieldName, ignored] : fields->items()) {
            if (!FindField(set, fieldName)) {
                return Refuse(FillIn(AddedText(texts_, "ParameterFiles", "Unknown Field",
                                               "Set %1, field %2: the set has no such field."),
                                     {setName, Quoted(fieldName)}));
            }
        }
        const std::vector<ParameterValue> recorded = ReadFields(set, *record);
        std::vector<ParameterValue> values = recorded;
        for (std::size_t i = 0; i < set.fields.size(); ++i) {
            const ParameterField& field = set.fields[i];
            const std::string problem = TakeValue(field, *fields, values[i]);
            if (!problem.empty()) {
                return Refuse(FillIn(
                    AddedText(texts_, "ParameterFiles", "Field Problem", "Set %1, field %2: %3"),
                    {setName, Quoted(field.name), problem}));
            }
        }
        return SetSnapshot{&set, LaidOver(set, *record, recorded, values)};
    }

    static bool Same(const ParameterValue& a, const ParameterValue& b) {
        const bool sameNumber =
            a.number == b.number || (std::isnan(a.number) && std::isnan(b.number));
        return sameNumber && a.text == b.text;
    }

    // The record with the values in place. A field whose value is the one its bytes give keeps
    // its bytes: a converted single float shown and stored again may move by a last bit.
    static std::vector<std::uint8_t> LaidOver(const ParameterSet& set,
                                              const std::vector<std::uint8_t>& record,
                                              const std::vector<ParameterValue>& recorded,
                                              const std::vector<ParameterValue>& values) {
        std::vector<std::uint8_t> laid = record;
        WriteFields(set, values, laid);
        for (std::size_t i = 0; i < set.fields.size(); ++i) {
            const ParameterField& field = set.fields[i];
            // A coefficient list is also cleared from its count on: it keeps its bytes only
            // when the count is the same too.
            const bool countSame = field.type != FieldType::kCoefficients ||
                                   (i > 0 && Same(values[i - 1], recorded[i - 1]));
            if (!Same(values[i], recorded[i]) || !countSame) continue;
            const auto begin = static_cast<std::ptrdiff_t>(field.offset);
            const auto end = begin + static_cast<std::ptrdiff_t>(FieldSize(field.type));
            std::copy(record.begin() + begin, record.begin() + end, laid.begin() + begin);
        }
        return laid;
    }

    static const ParameterField* FindField(const ParameterSet& set, std::string_view name) {
        for (const ParameterField& field : set.fields) {
            if (field.name == name) return &field;
        }
        return nullptr;
    }

    // Takes the field's entry into value; returns what is wrong with it, empty when nothing.
    std::string TakeValue(const ParameterField& field, const Json& fields,
                          ParameterValue& value) const {
        const Json* entry = Member(fields, std::string(field.name).c_str());
        if (!entry) return AddedText(texts_, "ParameterFiles", "Field Missing", "missing.");
        const Json* unit = entry->is_object() ? Member(*entry, "unit") : nullptr;
        const Json* number = entry->is_object() ? Member(*entry, "value") : nullptr;
        if (!unit || !unit->is_string() || !number)
            return AddedText(texts_, "ParameterFiles", "No Value", "no value with its unit.");
        if (unit->get<std::string>() != field.unit) {
            return FillIn(
                AddedText(texts_, "ParameterFiles", "Other Unit", "the unit is %1, not %2."),
                {Quoted(unit->get<std::string>()), Quoted(field.unit)});
        }
        switch (field.type) {
            case FieldType::kF32:
            case FieldType::kF64:
                return TakeNumber(field, *number, value);
            case FieldType::kCoefficients:
                return TakeCoefficients(*number, value);
            case FieldType::kU8:
            case FieldType::kI8:
            case FieldType::kI32:
            case FieldType::kCount:
            case FieldType::kChoice:
                break;
        }
        return TakeInteger(field, *number, value);
    }

    std::string TakeNumber(const ParameterField& field, const Json& number,
                           ParameterValue& value) const {
        if (number.is_null()) return {};  // the board's own non-number, kept in the record
        if (!number.is_number())
            return AddedText(texts_, "ParameterFiles", "Not A Number", "not a number.");
        const double taken = number.get<double>();
        const double onBoard =
            field.conversion == Conversion::kGravity ? taken * kStandardGravity : taken;
        if (!std::isfinite(taken) ||
            (field.type == FieldType::kF32 && std::fabs(onBoard) > FLT_MAX)) {
            return AddedText(texts_, "ParameterFiles", "Number Too Large",
                             "the number is too large.");
        }
        value.number = taken;
        return {};
    }

    std::string TakeInteger(const ParameterField& field, const Json& number,
                            ParameterValue& value) const {
        const auto range = FieldRange(field);
        if (!number.is_number() || number.get<double>() != std::floor(number.get<double>()))
            return AddedText(texts_, "ParameterFiles", "Not Whole", "not a whole number.");
        const double taken = number.get<double>();
        if (taken < static_cast<double>(range->low) || taken > static_cast<double>(range->high)) {
            return FillIn(AddedText(texts_, "ParameterFiles", "Out Of Range",
                                    "%1 is out of range (%2 to %3)."),
                          {number.dump(), std::to_string(range->low), std::to_string(range->high)});
        }
        value.number = taken;
        return {};
    }

    std::string TakeCoefficients(const Json& list, ParameterValue& value) const {
        const std::size_t most = FieldSize(FieldType::kCoefficients) / 2;
        if (!list.is_array() || list.size() > most) {
            return FillIn(AddedText(texts_, "ParameterFiles", "Not A List",
                                    "not a list of at most %1 whole numbers."),
                          {std::to_string(most)});
        }
        std::string text;
        for (const Json& number : list) {
            if (!number.is_number_integer() || number.get<std::int64_t>() < INT16_MIN ||
                number.get<std::int64_t>() > INT16_MAX) {
                return FillIn(AddedText(texts_, "ParameterFiles", "Not A Coefficient",
                                        "%1 is not a whole number from -32768 to 32767."),
                              {number.dump()});
            }
            text += (text.empty() ? "" : ",") + std::to_string(number.get<std::int64_t>());
        }
        value.text = std::move(text);
        return {};
    }

    std::string product_;
    std::span<const SetLayout> layouts_;
    const TextSource& texts_;
    std::string error_;
};

}  // namespace

std::string WriteParameterFile(const ParameterSnapshot& snapshot) {
    Json sets = Json::array();
    for (const SetSnapshot& s : snapshot.sets) {
        const std::vector<ParameterValue> values = ReadFields(*s.set, s.record);
        Json fields = Json::object();
        for (std::size_t i = 0; i < s.set->fields.size(); ++i) {
            const ParameterField& field = s.set->fields[i];
            fields[std::string(field.name)] = {{"value", ValueOf(field, values[i])},
                                               {"unit", std::string(field.unit)}};
        }
        sets.push_back({{"name", std::string(s.set->name)},
                        {"fields", std::move(fields)},
                        {"record", Hex(s.record)}});
    }
    const Json file{{"format", std::string(kFormat)},
                    {"version", kVersion},
                    {"product", snapshot.product},
                    {"date", snapshot.date},
                    {"sets", std::move(sets)}};
    return file.dump(2) + "\n";
}

FileReading ReadParameterFile(std::string_view text, std::string_view product,
                              std::span<const SetLayout> layouts, const TextSource& texts) {
    if (text.size() > kMaxParameterFileSize)
        return {std::nullopt,
                AddedText(texts, "ParameterFiles", "File Too Large", "The file is too large.")};
    const std::string damaged =
        AddedText(texts, "ParameterFiles", "Damaged File", "The file is damaged: %1");
    if (NestingDepth(text) > kMaxDepth) {
        return {std::nullopt,
                FillIn(damaged, {AddedText(texts, "ParameterFiles", "Nests Too Deeply",
                                           "it nests too deeply.")})};
    }
    try {
        return Reader(product, layouts, texts).Read(Json::parse(text));
    } catch (const Json::exception& e) {
        // "[json.exception.parse_error.101] parse error at line 3, ...": the part after the tag.
        const std::string what = e.what();
        const std::size_t tag = what.find("] ");
        return {std::nullopt,
                FillIn(damaged, {tag == std::string::npos ? what : what.substr(tag + 2)})};
    }
}

}  // namespace zephran
