#include "pages/framework/value_state.h"

#include <algorithm>

#include "ui/window.h"

namespace zephran {

std::string_view SetStateText(SetState state) {
    switch (state) {
        case SetState::kNotRead:
            break;
        case SetState::kAsOnBoard:
            return "as on the board";
        case SetState::kEdited:
            return "edited";
    }
    return "not read";
}

ValueState::ValueState(std::string name, ui::Window& window, std::vector<int> boxes)
    : name_(std::move(name)), window_(window), boxes_(std::move(boxes)) {
    for (int box : boxes_)
        window_.SetMark(box, ui::ValueMark::NotRead);
}

bool ValueState::Holds(int box) const {
    return std::find(boxes_.begin(), boxes_.end(), box) != boxes_.end();
}

void ValueState::Enter(SetState state) {
    writeSent_ = false;
    state_ = state;
    const ui::ValueMark mark =
        state == SetState::kNotRead ? ui::ValueMark::NotRead : ui::ValueMark::None;
    for (int box : boxes_)
        window_.SetMark(box, mark);
    if (changed) changed();
}

void ValueState::Reported() {
    Enter(SetState::kAsOnBoard);
}

void ValueState::WriteSent() {
    writeSent_ = true;
}

void ValueState::WriteAcknowledged() {
    if (writeSent_) Enter(SetState::kAsOnBoard);
}

void ValueState::Outdated() {
    Enter(SetState::kNotRead);
}

void ValueState::BoardChanged() {
    if (state_ == SetState::kAsOnBoard) Enter(SetState::kNotRead);
}

void ValueState::Edited(int box) {
    writeSent_ = false;
    window_.SetMark(box, ui::ValueMark::Edited);
    state_ = SetState::kEdited;
    if (changed) changed();
}

}  // namespace zephran
