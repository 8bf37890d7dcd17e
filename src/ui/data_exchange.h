#pragma once

#include <cstdint>
#include <string>

namespace zephran::ui {

class Window;

// One list of bindings between a window's controls and its fields, run in either direction.
// Taking boxes into fields stops at the first box that does not parse: it shows the standard
// message, moves the focus there and leaves that field and all later ones unchanged.
class DataExchange {
public:
    DataExchange(Window& window, bool saveAndValidate)
        : window_(window), saving_(saveAndValidate) {}

    bool Saving() const { return saving_; }
    bool Failed() const { return failed_; }

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
    bool Active() const { return !failed_; }
    // Shows a number, or takes the box into it when it parses and lies within low..high.
    // badText: the message for a box that does not parse; outOfRange: for a number outside
    // low..high.
    template <typename T, typename Parse>
    void Number(int id, T& value, const std::string& shown, Parse parse, double low, double high,
                const std::string& badText, const std::string& outOfRange);
    void Fail(int id, const std::string& message);

    Window& window_;
    bool saving_;
    bool failed_ = false;
};

// "%.*g" formatting of floats as the boxes show them.
std::string FormatFloat(double value, int significantDigits);

}  // namespace zephran::ui
