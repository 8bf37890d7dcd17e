#pragma once

#include <string>

#include "ui/control.h"
#include "ui/layout.h"

namespace zephran::ui {

// Shorthands for templates: a control with its template caption and its language key.
inline Control Label(int id, std::string text, std::string key = {}) {
    return Control{
        .id = id, .kind = ControlKind::Label, .text = std::move(text), .textKey = std::move(key)};
}
inline Control ClickableLabel(int id, std::string text) {
    return Control{
        .id = id, .kind = ControlKind::Label, .text = std::move(text), .clickable = true};
}
inline Control GroupBox(int id, std::string text, std::string key = {}) {
    return Control{.id = id,
                   .kind = ControlKind::GroupBox,
                   .text = std::move(text),
                   .textKey = std::move(key)};
}
inline Control Button(int id, std::string text, std::string key = {}) {
    return Control{
        .id = id, .kind = ControlKind::Button, .text = std::move(text), .textKey = std::move(key)};
}
inline Control CheckBox(int id, std::string text, std::string key = {}) {
    return Control{.id = id,
                   .kind = ControlKind::CheckBox,
                   .text = std::move(text),
                   .textKey = std::move(key)};
}
inline Control Radio(int id, int group, std::string text, std::string key = {}) {
    return Control{.id = id,
                   .kind = ControlKind::Radio,
                   .text = std::move(text),
                   .radioGroup = group,
                   .textKey = std::move(key)};
}
inline Control VerticalSlider(int id, int heightRows = 6) {
    return Control{.id = id, .kind = ControlKind::Slider, .vertical = true, .rows = heightRows};
}
inline Control Edit(int id, int widthChars = 12) {
    return Control{.id = id, .kind = ControlKind::Edit, .widthChars = widthChars};
}
inline Control ReadOnlyEdit(int id, int widthChars = 12) {
    return Control{.id = id, .kind = ControlKind::Edit, .readOnly = true, .widthChars = widthChars};
}
inline Control TextBox(int id, bool readOnly, int widthChars = 40, int rows = 0) {
    return Control{.id = id,
                   .kind = ControlKind::Edit,
                   .readOnly = readOnly,
                   .multiline = true,
                   .widthChars = widthChars,
                   .rows = rows};
}

// A group box declared where it is laid out: its caption control goes into the template and the
// group holding `children` is returned.
inline LayoutItem AddGroup(WindowTemplate& t, int id, std::string text, std::string key,
                           std::vector<LayoutItem> children) {
    t.controls.push_back(GroupBox(id, std::move(text), std::move(key)));
    return Group(id, std::move(children));
}

}  // namespace zephran::ui
