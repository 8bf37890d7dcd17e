#include "ui/window.h"

#include <algorithm>

#include "ui/data_exchange.h"

namespace zephran::ui {

Window::Window(HostServices& host, WindowTemplate windowTemplate)
    : host_(host),
      title_(std::move(windowTemplate.title)),
      controls_(std::move(windowTemplate.controls)),
      layout_(std::move(windowTemplate.layout)) {}

const Control* Window::Find(int id) const {
    const auto found = std::find_if(controls_.begin(), controls_.end(),
                                    [id](const Control& c) { return c.id == id; });
    return found == controls_.end() ? nullptr : &*found;
}

Control* Window::Mutable(int id) {
    return const_cast<Control*>(Find(id));
}

Control* Window::Usable(int id) {
    Control* control = Mutable(id);
    return (control && control->visible && control->enabled) ? control : nullptr;
}

void Window::Changed(int id) {
    if (observer_) observer_->ControlChanged(*this, id);
}

template <typename T>
void Window::Assign(int id, T Control::*property, const T& value) {
    Control* control = Mutable(id);
    if (!control || control->*property == value) return;
    control->*property = value;
    Changed(id);
}

void Window::SetWindowText(const std::string& title) {
    if (title_ == title) return;
    title_ = title;
    Changed(0);
}

void Window::SetDlgItemText(int id, const std::string& text) {
    Assign(id, &Control::text, text);
}

std::string Window::GetDlgItemText(int id) const {
    const Control* control = Find(id);
    return control ? control->text : std::string();
}

void Window::CheckDlgButton(int id, bool checked) {
    Assign(id, &Control::checked, checked);
}

bool Window::IsDlgButtonChecked(int id) const {
    const Control* control = Find(id);
    return control && control->checked;
}

void Window::CheckRadioButton(int first, int last, int checkedId) {
    for (const Control& control : controls_) {
        if (control.id >= first && control.id <= last)
            CheckDlgButton(control.id, control.id == checkedId);
    }
}

void Window::EnableControl(int id, bool enabled) {
    Assign(id, &Control::enabled, enabled);
}

void Window::ShowControl(int id, bool visible) {
    Assign(id, &Control::visible, visible);
}

void Window::SetTip(int id, const std::string& tip) {
    Assign(id, &Control::tip, tip);
}

void Window::SetRange(int id, int low, int high) {
    Control* control = Mutable(id);
    if (!control) return;
    control->rangeMin = low;
    control->rangeMax = high;
    control->position = std::clamp(control->position, std::min(low, high), std::max(low, high));
    Changed(id);
}

void Window::SetPos(int id, int position) {
    Control* control = Mutable(id);
    if (!control) return;
    position = std::clamp(position, std::min(control->rangeMin, control->rangeMax),
                          std::max(control->rangeMin, control->rangeMax));
    if (control->position == position) return;
    control->position = position;
    Changed(id);
}

int Window::GetPos(int id) const {
    const Control* control = Find(id);
    return control ? control->position : 0;
}

void Window::ResetContent(int id) {
    Control* control = Mutable(id);
    if (!control) return;
    control->entries.clear();
    control->selection = -1;
    Changed(id);
}

void Window::AddString(int id, const std::string& entry) {
    Control* control = Mutable(id);
    if (!control) return;
    control->entries.push_back(entry);
    Changed(id);
}

void Window::SetCurSel(int id, int index) {
    Control* control = Mutable(id);
    if (!control) return;
    const int count = static_cast<int>(control->entries.size());
    const int selection = (index >= 0 && index < count) ? index : -1;
    if (control->selection == selection) return;
    control->selection = selection;
    Changed(id);
}

void Window::SetMark(int id, ValueMark mark) {
    Assign(id, &Control::mark, mark);
}

void Window::SetNote(int id, const std::string& note) {
    Assign(id, &Control::note, note);
}

int Window::GetCurSel(int id) const {
    const Control* control = Find(id);
    return control ? control->selection : -1;
}

void Window::SetFocus(int id, bool selectText) {
    focus_ = id;
    focusTextSelected_ = selectText;
    if (observer_) observer_->FocusChanged(*this);
}

void Window::UserFocus(int id) {
    focus_ = id;
    focusTextSelected_ = false;
}

bool Window::UpdateData(bool saveAndValidate) {
    using Direction = DataExchange::Direction;
    if (!saveAndValidate) {
        DataExchange show(*this, Direction::kShow);
        DoDataExchange(show);
        return true;
    }
    DataExchange check(*this, Direction::kCheck);
    DoDataExchange(check);
    if (check.Failed()) {
        host_.MessageBox(check.FailureMessage());
        SetFocus(check.FailedBox(), true);
        return false;
    }
    TakeValidBoxes();
    return true;
}

void Window::TakeValidBoxes() {
    DataExchange take(*this, DataExchange::Direction::kTake);
    DoDataExchange(take);
}

bool Window::UserSetText(int id, const std::string& text) {
    Control* control = Usable(id);
    if (!control || control->readOnly ||
        (control->kind != ControlKind::Edit && control->kind != ControlKind::DropDown)) {
        return false;
    }
    UserFocus(id);
    SetDlgItemText(id, text);
    OnEditChange(id);
    return true;
}

bool Window::UserClick(int id) {
    Control* control = Usable(id);
    if (!control) return false;
    switch (control->kind) {
        case ControlKind::CheckBox:
            CheckDlgButton(id, !control->checked);
            break;
        case ControlKind::Radio: {
            const int group = control->radioGroup;
            for (const Control& member : controls_) {
                if (member.kind == ControlKind::Radio && member.radioGroup == group) {
                    CheckDlgButton(member.id, member.id == id);
                }
            }
            break;
        }
        case ControlKind::Button:
            break;
        case ControlKind::Label:
            if (!control->clickable) return false;
            break;
        default:
            return false;
    }
    UserFocus(id);
    OnCommand(id);
    return true;
}

bool Window::UserChoose(int id, int index) {
    Control* control = Usable(id);
    if (!control || index < 0 || index >= static_cast<int>(control->entries.size())) return false;
    UserFocus(id);
    SetCurSel(id, index);
    OnSelChange(id);
    return true;
}

bool Window::UserSetPos(int id, int position) {
    if (!Usable(id)) return false;
    UserFocus(id);
    SetPos(id, position);
    OnPositionChange(id);
    return true;
}

bool Window::UserReleaseSpin(int id) {
    Control* control = Usable(id);
    if (!control || (control->kind != ControlKind::Spin && control->kind != ControlKind::Slider)) {
        return false;
    }
    OnSpinRelease(id);
    return true;
}

void Window::OnCommand(int id) {
    if (id == IDOK) OnOK();
    if (id == IDCANCEL) OnCancel();
}

void Window::EndDialog(int result) {
    ended_ = true;
    result_ = result;
    if (observer_) observer_->WindowEnded(*this);
}

void Window::InitDialog() {
    ended_ = false;
    result_ = 0;
    UpdateData(false);
    OnInitDialog();
}

}  // namespace zephran::ui
