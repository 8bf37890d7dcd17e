#pragma once

#include <cstdint>
#include <string>

namespace zephran::ui {

class Window;

// One list of bindings between a window's controls and its fields, run in one of three
// directions. Taking boxes into fields is all or nothing (Window::UpdateData): a checking run
// first parses every box and stores nothing, and only when all of them pass does a taking run
// store them. A box the user cannot edit (read-only, hidden or disabled) only shows its field:
// it is neither checked nor taken, so a board's number that does not parse blocks nothing.
class DataExchange {
public:
    enum class Direction : std::uint8_t {
        kShow,   // fields to controls
        kCheck,  // parses every editable box, stores nothing, notes the first that fails
        kTake,   // controls to fields; a box that does not parse leaves its field as it is
    };

    DataExchange(Window& window, Direction direction) : window_(window), direction_(direction) {}

    // From the controls towards the fields: checking or taking.
    bool Saving() const { return direction_ != Direction::kShow; }
    bool Taking() const { return direction_ == Direction::kTake; }
    // The first box that did not parse or lay out of range, with its standard message.
    bool Failed() const { return failedBox_ != 0; }
    int FailedBox() const { return failedBox_; }
    const std::string& FailureMessage() const { return failure_; }

    void Text(int id, float& value);   // shown with 6 significant digits
    void Text(int id, double& value);  // shown with 15 significant digits
    void Text(int id, int& value);
    void Text(int id, int& value, int low, int high);
    void Text(int id, std::uint8_t& value);  // 0 to 255
    void Text(int id, std::string& value);
    void Check(int id, bool& value);
    // index: which of the radio buttons first..last is checked, -1 for none.
    void Radio(int first, int last, int& index);

private:
    // Whether box id takes part in checking and taking: a person can type into it.
    bool Editable(int id) const;
    // Shows a number; checks a box; or takes it into value when it parses and lies within
    // low..high. badText: the message for a box that does not parse; outOfRange: for a number
    // outside low..high.
    template <typename T, typename Parse>
    void Number(int id, T& value, const std::string& shown, Parse parse, double low, double high,
                const std::string& badText, const std::string& outOfRange);
    void Fail(int id, const std::string& message);

    Window& window_;
    Direction direction_;
    int failedBox_ = 0;
    std::string failure_;
};

// "%.*g" formatting of floats as the boxes show them.
std::string FormatFloat(double value, int significantDigits);

}  // namespace zephran::ui
