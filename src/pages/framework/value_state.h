#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zephran {

namespace ui {
class Window;
}

// Whether a set of values shown on a page is what the board connected now holds.
enum class SetState : std::uint8_t {
    kNotRead,    // nothing received from this board since the values may have changed
    kAsOnBoard,  // what the board last reported, or the last write it acknowledged
    kEdited,     // the user changed a box since
};

// "not read", "as on the board" or "edited".
std::string_view SetStateText(SetState state);

// The state of one set of boxes of a window, marked on the boxes for the front ends: a not-read
// set's boxes as not read, an edited set's changed boxes as edited.
class ValueState {
public:
    ValueState(std::string name, ui::Window& window, std::vector<int> boxes);

    const std::string& Name() const { return name_; }
    SetState State() const { return state_; }
    const std::vector<int>& Boxes() const { return boxes_; }
    bool Holds(int box) const;

    // The board reported the values: the boxes show what it holds.
    void Reported();
    // A write of the values went out; its acknowledgement counts unless a box changes first.
    void WriteSent();
    void WriteAcknowledged();
    // The board changed its values without reporting them (Default, a calibration).
    void Outdated();
    // Another board, or none: values from before are no longer this board's. Edits stay, as
    // they are the user's and not any board's.
    void BoardChanged();
    // The user changed one of the boxes.
    void Edited(int box);

    // Told after every change of state.
    std::function<void()> changed;

private:
    void Enter(SetState state);

    std::string name_;
    ui::Window& window_;
    std::vector<int> boxes_;
    SetState state_ = SetState::kNotRead;
    bool writeSent_ = false;
};

}  // namespace zephran
