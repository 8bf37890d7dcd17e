#include "pages/framework/parameter_set.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "dispatch/reply_dispatcher.h"
#include "pages/framework/page.h"
#include "records/ahrs_units.h"
#include "records/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

constexpr std::size_t kCoefficientCount = 32;

template <typename T>
T Get(std::span<const std::uint8_t> record, std::size_t offset) {
    T value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

template <typename T>
void Put(std::span<std::uint8_t> record, std::size_t offset, T value) {
    std::memcpy(record.data() + offset, &value, sizeof value);
}

double ToShown(Conversion conversion, double board) {
    switch (conversion) {
        case Conversion::kNone:
            break;
        case Conversion::kGravity:
            return board / kStandardGravity;
        case Conversion::kDegrees:
            return board * kDegreesPerRadian;
    }
    return board;
}

double ToBoard(Conversion conversion, double shown) {
    switch (conversion) {
        case Conversion::kNone:
            break;
        case Conversion::kGravity:
            return shown * kStandardGravity;
        case Conversion::kDegrees:
            return shown / kDegreesPerRadian;
    }
    return shown;
}

bool Ranged(const ParameterField& f) {
    return f.low < f.high;
}

}  // namespace

std::size_t FieldSize(FieldType type) {
    switch (type) {
        case FieldType::kU8:
        case FieldType::kI8:
        case FieldType::kCount:
        case FieldType::kChoice:
            return 1;
        case FieldType::kI32:
        case FieldType::kF32:
            return 4;
        case FieldType::kF64:
            return 8;
        case FieldType::kCoefficients:
            break;
    }
    return 2 * kCoefficientCount;
}

std::size_t FieldExtent(const ParameterSet& set) {
    std::size_t extent = 0;
    for (const ParameterField& f : set.fields)
        extent = std::max(extent, f.offset + FieldSize(f.type));
    return extent;
}

std::size_t ParseFirCoefficients(const std::string& text, std::int16_t (&coefficients)[32]) {
    std::size_t count = 0;
    std::size_t start = 0;
    while (start <= text.size() && count < kCoefficientCount) {
        auto end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) {
            const std::string token = text.substr(start, end - start);
            const long long value = std::strtoll(token.c_str(), nullptr, 10);
            coefficients[count++] =
                static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
        }
        start = end + 1;
    }
    return count;
}

namespace {

std::vector<int> BoxesOf(const ParameterSet& set) {
    std::vector<int> boxes;
    for (const ParameterField& f : set.fields) {
        const std::vector<int> inputs = InputsOf(f);
        boxes.insert(boxes.end(), inputs.begin(), inputs.end());
    }
    return boxes;
}

// A choice's group box of radio buttons, as one layout cell.
ui::LayoutItem AddChoice(const ParameterField& f, ui::WindowTemplate& t) {
    using namespace ui;
    t.controls.push_back(GroupBox(f.label, std::string(f.caption), std::string(f.key)));
    std::vector<LayoutItem> buttons;
    for (const int id : InputsOf(f)) {
        const ChoiceOption& option = f.choices->options[static_cast<std::size_t>(id - f.box)];
        Control radio = Radio(id, f.label, std::string(option.text), std::string(option.key));
        radio.enabled = option.offered;
        t.controls.push_back(std::move(radio));
        buttons.push_back(Item(id));
    }
    if (f.choices->columns > 1) buttons = {Grid(f.choices->columns, std::move(buttons))};
    return Group(f.label, std::move(buttons));
}

}  // namespace

std::vector<int> InputsOf(const ParameterField& field) {
    if (field.type != FieldType::kChoice) return {field.box};
    std::vector<int> ids;
    for (std::size_t k = 0; k < field.choices->options.size(); ++k)
        ids.push_back(field.box + static_cast<int>(k));
    return ids;
}

ParameterSetBinding::ParameterSetBinding(const ParameterSet& set, Page& page, PageHost& host)
    : set_(set), page_(page), host_(host), state_(std::string(set.name), page, BoxesOf(set)) {
    for (const ParameterField& f : set.fields)
        values.push_back({f.initial, {}});
}

std::vector<ui::LayoutItem> ParameterSetBinding::AddControls(const ParameterSet& set,
                                                             ui::WindowTemplate& t) {
    using namespace ui;
    std::vector<LayoutItem> cells;
    for (const ParameterField& f : set.fields) {
        if (f.type == FieldType::kChoice) {
            cells.push_back(AddChoice(f, t));
            continue;
        }
        if (f.label) {
            t.controls.push_back(Label(f.label, std::string(f.caption), std::string(f.key)));
            cells.push_back(Item(f.label));
        }
        if (f.type == FieldType::kCoefficients) {
            t.controls.push_back(TextBox(f.box, f.readOnly, f.width));
        } else {
            t.controls.push_back(f.readOnly ? ReadOnlyEdit(f.box, f.width) : Edit(f.box, f.width));
        }
        cells.push_back(Item(f.box));
        if (f.unitLabel) {
            t.controls.push_back(Label(f.unitLabel, std::string(f.unit), std::string(f.unitKey)));
            cells.push_back(Item(f.unitLabel));
        }
    }
    return cells;
}

ButtonCaptions ButtonCaptions::ReadWriteDefault(std::string readKey, std::string writeKey,
                                                std::string resetKey) {
    return {{"Read", std::move(readKey)},
            {"Write", std::move(writeKey)},
            {"Default", std::move(resetKey)}};
}

std::vector<ui::LayoutItem> ParameterSetBinding::AddButtons(const ParameterSet& set,
                                                            ui::WindowTemplate& t,
                                                            const ButtonCaptions& captions) {
    std::vector<ui::LayoutItem> cells;
    const auto add = [&](int id, const ButtonCaptions::Caption& caption) {
        if (!id) return;
        t.controls.push_back(ui::Button(id, caption.text, caption.key));
        cells.push_back(ui::Item(id));
    };
    add(set.buttons.read, captions.read);
    add(set.buttons.write, captions.write);
    add(set.buttons.reset, captions.reset);
    return cells;
}

void ParameterSetBinding::Exchange(ui::DataExchange& dx) {
    for (std::size_t i = 0; i < set_.fields.size(); ++i) {
        const ParameterField& f = set_.fields[i];
        double& number = values[i].number;
        switch (f.type) {
            case FieldType::kF32: {
                auto value = static_cast<float>(number);
                dx.Text(f.box, value);
                number = value;
                break;
            }
            case FieldType::kF64:
                dx.Text(f.box, number);
                break;
            case FieldType::kU8: {
                auto value = static_cast<std::uint8_t>(number);
                dx.Text(f.box, value);
                number = value;
                break;
            }
            case FieldType::kI8:
            case FieldType::kI32:
            case FieldType::kCount: {
                auto value = static_cast<int>(number);
                if (Ranged(f)) {
                    dx.Text(f.box, value, f.low, f.high);
                } else {
                    dx.Text(f.box, value);
                }
                number = value;
                break;
            }
            case FieldType::kCoefficients:
                dx.Text(f.box, values[i].text);
                break;
            case FieldType::kChoice: {
                // With no button checked the value stays the board's byte.
                auto index = static_cast<int>(number);
                const auto last = static_cast<int>(f.choices->options.size()) - 1;
                dx.Radio(f.box, f.box + last, index);
                if (index >= 0) number = index;
                break;
            }
        }
    }
}

void ParameterSetBinding::Load() {
    LoadFrom(host_.Records().Bytes(set_.record, set_.recordIndex));
}

std::vector<ParameterValue> ReadFields(const ParameterSet& set,
                                       std::span<const std::uint8_t> record) {
    std::vector<ParameterValue> values(set.fields.size());
    for (std::size_t i = 0; i < set.fields.size(); ++i) {
        const ParameterField& f = set.fields[i];
        ParameterValue& v = values[i];
        switch (f.type) {
            case FieldType::kU8:
            case FieldType::kCount:
            case FieldType::kChoice:
                v.number = Get<std::uint8_t>(record, f.offset);
                break;
            case FieldType::kI8:
                v.number = Get<std::int8_t>(record, f.offset);
                break;
            case FieldType::kI32:
                v.number = Get<std::int32_t>(record, f.offset);
                break;
            case FieldType::kF32:
                v.number = static_cast<float>(
                    ToShown(f.conversion, static_cast<double>(Get<float>(record, f.offset))));
                break;
            case FieldType::kF64:
                v.number = ToShown(f.conversion, Get<double>(record, f.offset));
                break;
            case FieldType::kCoefficients:
                v.text.clear();
                for (std::size_t k = 0; k < kCoefficientCount; ++k) {
                    if (k > 0) v.text += ",";
                    v.text += std::to_string(Get<std::int16_t>(record, f.offset + 2 * k));
                }
                break;
        }
    }
    return values;
}

void WriteFields(const ParameterSet& set, const std::vector<ParameterValue>& values,
                 std::span<std::uint8_t> record) {
    for (std::size_t i = 0; i < set.fields.size(); ++i) {
        const ParameterField& f = set.fields[i];
        const double number = values[i].number;
        switch (f.type) {
            case FieldType::kU8:
            case FieldType::kCount:
            case FieldType::kChoice:
                Put(record, f.offset, static_cast<std::uint8_t>(number));
                break;
            case FieldType::kI8:
                Put(record, f.offset, static_cast<std::int8_t>(number));
                break;
            case FieldType::kI32:
                Put(record, f.offset, static_cast<std::int32_t>(number));
                break;
            case FieldType::kF32:
                Put(record, f.offset, static_cast<float>(ToBoard(f.conversion, number)));
                break;
            case FieldType::kF64:
                Put(record, f.offset, ToBoard(f.conversion, number));
                break;
            case FieldType::kCoefficients: {
                // Parsed tokens replace the leading coefficients, those from the count on are
                // cleared, and a count of 0 leaves them all as they were.
                const int count = static_cast<int>(values.at(i - 1).number);
                if (count <= 0) break;
                std::int16_t parsed[kCoefficientCount];
                const std::size_t found = ParseFirCoefficients(values[i].text, parsed);
                for (std::size_t k = 0; k < kCoefficientCount; ++k) {
                    if (k < found) Put(record, f.offset + 2 * k, parsed[k]);
                    if (static_cast<int>(k) >= count)
                        Put(record, f.offset + 2 * k, std::int16_t{0});
                }
                break;
            }
        }
    }
}

void ParameterSetBinding::LoadFrom(std::span<const std::uint8_t> record) {
    values = ReadFields(set_, record);
}

void ParameterSetBinding::TakeReport() {
    Load();
    state_.Reported();
}

void ParameterSetBinding::TakeReport(std::span<const std::uint8_t> record) {
    LoadFrom(record);
    state_.Reported();
}

void ParameterSetBinding::StoreInto(std::span<std::uint8_t> record) const {
    WriteFields(set_, values, record);
}

std::vector<std::uint8_t> ParameterSetBinding::Payload() const {
    if (set_.record == ReplyRecord::kNone) {
        std::vector<std::uint8_t> bytes(FieldExtent(set_));
        StoreInto(bytes);
        return bytes;
    }
    const std::span<std::uint8_t> record = host_.Records().Bytes(set_.record, set_.recordIndex);
    StoreInto(record);
    return {record.begin(), record.end()};
}

bool ParameterSetBinding::Read() {
    return page_.Send(*set_.requests.read);
}

bool ParameterSetBinding::Write() {
    if (!page_.UpdateData(true)) return false;
    return SendWrite();
}

bool ParameterSetBinding::SendWrite() {
    const bool sent = page_.Send(*set_.requests.write, Payload());
    if (sent) state_.WriteSent();
    return sent;
}

// The board resets the set without reporting the values it now holds.
bool ParameterSetBinding::Reset() {
    const bool sent = page_.Send(*set_.requests.reset);
    if (sent) state_.Outdated();
    return sent;
}

bool ParameterSetBinding::OnCommand(int id) {
    if (id == 0) return false;
    const ParameterSet::Buttons& b = set_.buttons;
    if ((id == b.read || id == b.reset) && set_.readTakesBoxes) page_.TakeValidBoxes();
    if (id == b.read) Read();
    if (id == b.write) Write();
    if (id == b.reset) Reset();
    return id == b.read || id == b.write || id == b.reset;
}

void ParameterSetBinding::RouteReplies(ReplyDispatcher& dispatcher) {
    if (set_.requests.write) {
        dispatcher.Route(*set_.requests.write,
                         [this](const ReceiveArea&) { state_.WriteAcknowledged(); });
    }
    if (!set_.requests.read) return;
    dispatcher.Route(*set_.requests.read, [this](const ReceiveArea&) {
        TakeReport();
        page_.UpdateData(false);
    });
}

ParameterValue& ParameterSetBinding::Value(std::string_view name) {
    for (std::size_t i = 0; i < set_.fields.size(); ++i) {
        if (set_.fields[i].name == name) return values[i];
    }
    throw std::out_of_range("no field " + std::string(name));
}

}  // namespace zephran
