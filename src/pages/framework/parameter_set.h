#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/message.h"
#include "pages/framework/value_state.h"
#include "ui/layout.h"

namespace zephran {

class Page;
class PageHost;
class ReplyDispatcher;
class TextSource;
namespace ui {
class DataExchange;
}

// How a field lies in its record and how its box takes it.
enum class FieldType : std::uint8_t {
    kU8,            // a byte: "Enter an integer between 0 and 255."
    kI8,            // signed byte, taken as an integer within its range
    kI32,           // taken as an integer, within its range where it has one
    kF32,           // shown with 6 significant digits
    kF64,           // shown with 15 significant digits
    kCount,         // a byte holding how many coefficients follow, taken as an integer
    kCoefficients,  // 32 signed 16-bit values as comma-separated text; its count is the field
                    // listed just before it
    kChoice,        // a byte: the index of the checked button of a group of radio buttons
};

// Conversions between the board's unit and the one shown.
enum class Conversion : std::uint8_t {
    kNone,
    kGravity,  // m/s² on the board, g shown
    kDegrees,  // radians on the board, degrees shown
};

// One radio button of a choice field; a button not offered is shown greyed.
struct ChoiceOption {
    std::string_view key;
    std::string_view text;
    bool offered = true;
};

// The buttons of a choice field, in index order, laid out in rows of `columns`.
struct Choices {
    std::span<const ChoiceOption> options;
    int columns = 1;
};

// A text the program adds, in the language in use: a function making one AddedText call, so
// that tables of constants can name texts that follow the language.
using AddedTextOf = std::string (*)(const TextSource& texts);

// One value of a parameter set: where it lies in the record, the box that shows it and the
// label beside it.
struct ParameterField {
    std::string_view name;  // as parameter files and tooltips name it
    std::uint16_t offset = 0;
    FieldType type = FieldType::kF32;
    int box = 0;
    int label = 0;  // 0 for a box without a label of its own
    std::string_view caption;
    std::string_view key;  // the label's language key
    double initial = 0;
    std::string_view unit;  // of the shown value
    int unitLabel = 0;      // a label after the box showing the unit, 0 for none
    std::string_view unitKey;
    Conversion conversion = Conversion::kNone;
    int low = 0, high = 0;  // an integer range where low < high
    bool readOnly = false;
    int width = 10;                     // of the box, in characters
    AddedTextOf description = nullptr;  // what the board does with it, where that is known
    // A choice field's buttons: `box` is the first button's id (the others follow), `label` the
    // group box holding them.
    const Choices* choices = nullptr;

    // Copies with one property changed: a table row names only what differs from the usual.
    constexpr ParameterField Typed(FieldType t) const;
    constexpr ParameterField Initially(double v) const;
    constexpr ParameterField Within(int lowest, int highest) const;
    constexpr ParameterField InUnit(std::string_view shown, int label,
                                    std::string_view labelKey) const;
    constexpr ParameterField Wide(int characters) const;
};

namespace field_detail {
template <typename T, typename V>
constexpr ParameterField With(ParameterField f, T ParameterField::*member, V value) {
    f.*member = value;
    return f;
}
}  // namespace field_detail

constexpr ParameterField ParameterField::Typed(FieldType t) const {
    return field_detail::With(*this, &ParameterField::type, t);
}
constexpr ParameterField ParameterField::Initially(double v) const {
    return field_detail::With(*this, &ParameterField::initial, v);
}
constexpr ParameterField ParameterField::Within(int lowest, int highest) const {
    return field_detail::With(field_detail::With(*this, &ParameterField::low, lowest),
                              &ParameterField::high, highest);
}
constexpr ParameterField ParameterField::InUnit(std::string_view shown, int label,
                                                std::string_view labelKey) const {
    ParameterField f = field_detail::With(*this, &ParameterField::unit, shown);
    f.unitLabel = label;
    f.unitKey = labelKey;
    return f;
}
constexpr ParameterField ParameterField::Wide(int characters) const {
    return field_detail::With(*this, &ParameterField::width, characters);
}

// A field in a box with a label before it.
constexpr ParameterField LabelledField(std::string_view name, std::uint16_t offset, int box,
                                       int label, std::string_view caption, std::string_view key) {
    return {
        .name = name, .offset = offset, .box = box, .label = label, .caption = caption, .key = key};
}

// A choice in a group box of radio buttons; a byte the board holds that no button stands for
// checks none and goes back unchanged.
constexpr ParameterField ChoiceField(std::string_view name, std::uint16_t offset, int groupBox,
                                     int firstButton, std::string_view caption,
                                     std::string_view key, const Choices& choices, double initial) {
    ParameterField field = LabelledField(name, offset, firstButton, groupBox, caption, key);
    field.type = FieldType::kChoice;
    field.choices = &choices;
    field.initial = initial;
    return field;
}

// The ids of a field's controls that take the user's input: its box, or a choice's buttons.
std::vector<int> InputsOf(const ParameterField& field);

// A value the board reports: shown, never sent.
constexpr ParameterField ReportedField(std::string_view name, std::uint16_t offset, int box,
                                       int label, std::string_view caption, std::string_view key) {
    ParameterField field = LabelledField(name, offset, box, label, caption, key);
    field.readOnly = true;
    return field;
}

// A set of values the board keeps in one record: its requests, the page's buttons for them,
// its record and its fields.
struct ParameterSet {
    struct Requests {
        const Message* read = nullptr;
        const Message* write = nullptr;
        const Message* reset = nullptr;
    };
    struct Buttons {  // 0 where the page has none
        int read = 0;
        int write = 0;
        int reset = 0;
    };
    std::string_view name;  // as parameter files name it
    // The set as the user reads it; without one, the caption of the page's group box `group`.
    AddedTextOf caption = nullptr;
    int group = 0;
    Requests requests;
    Buttons buttons;
    // The receive record the board's copy lives in; without one, writes are built from the
    // fields alone.
    ReplyRecord record = ReplyRecord::kNone;
    std::size_t recordIndex = 0;
    // The record's first byte is the board's own: never shown or set, sent back as last read.
    bool leadingByte = false;
    // Read and Default first take the page's boxes that parse, so that a reply rewriting every
    // box keeps what was typed (the tracker's pages); a bad box never stops them.
    bool readTakesBoxes = false;
    std::span<const ParameterField> fields;
};

// What a set's buttons say: each caption with its language key. The defaults are the tracker's
// and the OSD's Read, Set and Default.
struct ButtonCaptions {
    struct Caption {
        std::string text;
        std::string key;
    };
    Caption read{"Read", "m_ButtonRead"};
    Caption write{"Set", "m_ButtonSet"};
    Caption reset{"Default", "m_ButtonSetDefault"};

    // Read, Write and Default under keys of the page's own.
    static ButtonCaptions ReadWriteDefault(std::string readKey, std::string writeKey,
                                           std::string resetKey);
};

// How a board keeps its sets: plainly; behind a leading byte of its own (the attitude and
// navigation boards); or, on the tracker, with the page's boxes taken in before every request.
enum class SetRules : std::uint8_t { kPlain, kLeadingByte, kTracker };

// A set kept in a record, its requests made with its buttons.
constexpr ParameterSet RecordSet(std::string_view name, AddedTextOf caption,
                                 ParameterSet::Requests requests, ParameterSet::Buttons buttons,
                                 ReplyRecord record, std::span<const ParameterField> fields,
                                 SetRules rules = SetRules::kPlain) {
    return {.name = name,
            .caption = caption,
            .requests = requests,
            .buttons = buttons,
            .record = record,
            .leadingByte = rules == SetRules::kLeadingByte,
            .readTakesBoxes = rules == SetRules::kTracker,
            .fields = fields};
}

// One shown value: a number, or the text of a coefficient list.
struct ParameterValue {
    double number = 0;
    std::string text;
};

// A parameter set on a page: its controls, its values, the exchange with its boxes, the copies
// between its record and its values, and its Read, Write and Default requests.
class ParameterSetBinding {
public:
    ParameterSetBinding(const ParameterSet& set, Page& page, PageHost& host);

    const ParameterSet& Set() const { return set_; }
    // Whether the set's boxes show what the board holds.
    ValueState& Values() { return state_; }
    const ValueState& Values() const { return state_; }

    // Adds each field's label, box and unit to the template; returns their layout cells, a
    // field's cells in that order (the label only where it has one, the unit only where it has
    // one).
    static std::vector<ui::LayoutItem> AddControls(const ParameterSet& set, ui::WindowTemplate& t);
    // Adds the set's buttons to the template; returns their cells, Read, Write, Default.
    static std::vector<ui::LayoutItem> AddButtons(const ParameterSet& set, ui::WindowTemplate& t,
                                                  const ButtonCaptions& captions = {});

    void Exchange(ui::DataExchange& dx);
    // The values from the record, converted to their shown units; LoadFrom takes another record
    // of the same layout.
    void Load();
    void LoadFrom(std::span<const std::uint8_t> record);
    // The board reported the set: its record, or another record of the same layout. The values
    // follow it and are as on the board.
    void TakeReport();
    void TakeReport(std::span<const std::uint8_t> record);
    // The values into the record in the board's units; the leading byte stays as it came.
    void StoreInto(std::span<std::uint8_t> record) const;
    // Read and Reset carry no values: they go out whatever the boxes hold. Write takes every
    // box of the page first, all or nothing (ui::Window::UpdateData): a box that does not
    // parse or lies out of range is reported, changes nothing and sends nothing.
    bool Read();
    bool Write();
    bool Reset();
    // The write with the values as they stand, for pages that take their boxes in themselves.
    bool SendWrite();
    // Runs the request of one of the set's buttons; false for any other control.
    bool OnCommand(int id);
    // The read reply: the dispatcher has copied it into the record; the values and every box
    // of the page follow. The write's acknowledgement makes the values written as on the board.
    void RouteReplies(ReplyDispatcher& dispatcher);

    ParameterValue& Value(std::string_view name);
    std::vector<ParameterValue> values;

private:
    std::vector<std::uint8_t> Payload() const;

    const ParameterSet& set_;
    Page& page_;
    PageHost& host_;
    ValueState state_;
};

// The bytes a field of that type takes in its record.
std::size_t FieldSize(FieldType type);
// The bytes the fields span, for a set without a record of its own.
std::size_t FieldExtent(const ParameterSet& set);
// The values a record holds, converted to their shown units.
std::vector<ParameterValue> ReadFields(const ParameterSet& set,
                                       std::span<const std::uint8_t> record);
// The values into a record in the board's units; bytes outside the fields stay as they are.
void WriteFields(const ParameterSet& set, const std::vector<ParameterValue>& values,
                 std::span<std::uint8_t> record);

// The coefficients of a text: tokens between commas (runs of commas are one separator), each
// read as a decimal integer the way atoi does, at most 32, keeping the low 16 bits. Returns
// how many tokens were found.
std::size_t ParseFirCoefficients(const std::string& text, std::int16_t (&coefficients)[32]);

}  // namespace zephran
