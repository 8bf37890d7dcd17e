#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zephran::ui {

enum class ControlKind {
    Label,
    Edit,
    Button,
    CheckBox,
    Radio,
    DropDown,
    ListBox,
    GroupBox,
    Spin,
    Slider,
    Progress,
};

// How a box's text stands against the board connected now: unmarked (as on the board, or not
// a board value at all), not read from this board, or changed by the user since.
enum class ValueMark { None, NotRead, Edited };

// Well-known command ids of dialog buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// One control of a window, as a person sees it.
struct Control {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;
    bool multiline = false;
    // A label that reports clicks as a button does.
    bool clickable = false;
    // A slider that runs up and down rather than across.
    bool vertical = false;
    // Radio buttons with the same group number exclude each other.
    int radioGroup = 0;
    int rangeMin = 0;
    int rangeMax = 100;
    int position = 0;
    std::vector<std::string> entries;
    int selection = -1;
    // Room for this many characters (edit boxes, labels); 0 lets the layout decide.
    int widthChars = 0;
    // Room for this many lines (multi-line boxes); 0 lets the layout decide.
    int rows = 0;
    // The language key of the control's caption in its window's section, or empty.
    std::string textKey;
    // What the pointer resting on the control shows; empty for nothing.
    std::string tip;
    ValueMark mark = ValueMark::None;
    // A short remark shown after a group box's caption; empty for none.
    std::string note;
};

// The text a person sees on a control: a drop-down shows its selected entry, any other control
// its text.
inline const std::string& ShownText(const Control& control) {
    const bool selected = control.kind == ControlKind::DropDown && control.selection >= 0 &&
                          control.selection < static_cast<int>(control.entries.size());
    return selected ? control.entries[static_cast<std::size_t>(control.selection)] : control.text;
}

}  // namespace zephran::ui
