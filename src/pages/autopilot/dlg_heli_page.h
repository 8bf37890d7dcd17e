#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "pages/framework/page.h"

namespace zephran {

// A value a helicopter page shows in its boxes: an integer or float box, or a radio group
// (box..lastRadio) holding an index. Each starts at zero; nothing takes the boxes back.
struct HeliValue {
    int box = 0;
    int lastRadio = 0;
    bool real = false;
};

// A label whose caption flips when clicked: from becomes to, any other caption becomes from.
struct CaptionToggle {
    int label = 0;
    std::string_view from;
    std::string_view to;
};

// A spin button that writes its position into the box beside it.
struct SpinBuddy {
    int spin = 0;
    int box = 0;
};

// One helicopter page as data: its controls, the values shown, its caption toggles and spins,
// and its buttons that would send a request.
struct HeliPageDesign {
    ui::WindowTemplate (*makeTemplate)();
    std::span<const HeliValue> values;
    std::span<const CaptionToggle> toggles;
    std::span<const SpinBuddy> spins;
    std::span<const int> requests;
};

// The helicopter controller's pages. No message for them exists yet: they send and receive
// nothing. Their Read, Write and Start buttons are greyed, and their tip says why.
class CDlgHeliPage : public Page {
public:
    CDlgHeliPage(PageHost& host, Identity identity, const HeliPageDesign& design);

    // The tip of the buttons without a request, in the language chosen.
    void ApplyTexts() override;

    std::vector<double> values;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;
    void OnPositionChange(int id) override;

private:
    const HeliPageDesign& design_;
};

// The controls of the five pages.
struct HeliSwashplate {
    static constexpr int kTypeFirst = 1801, kTypeLast = 1805;
    static constexpr int kRotation = 1811, kRotationSpin = 1812;
    static constexpr int kAileRate = 1814, kAileSign = 1815, kElevRate = 1818, kElevSign = 1819;
    static constexpr int kPitchRate = 1822, kPitchSign = 1823;
    // Direction labels, trim boxes and their spins of Aile, Elev, Pitch and Aux.
    static constexpr int kFirstDirection = 1831, kFirstTrim = 1839, kFirstTrimSpin = 1843;
    static constexpr int kRead = 1850, kWrite = 1851;
};
struct HeliRcCalibrate {
    // The ten input channels: display box, slider and label; the eight outputs: slider and label.
    static constexpr int kFirstInputBox = 1910, kFirstInputSlider = 1920, kFirstInputLabel = 1930;
    static constexpr int kFirstOutputSlider = 1940, kFirstOutputLabel = 1950;
    static constexpr int kCalibrateLabel = 1960, kStart = 1961;
};
struct HeliMounting {
    static constexpr int kFirstDirection = 2001;
    static constexpr int kImuGroup = 2010, kFirstImuBox = 2014, kGpsGroup = 2020,
                         kFirstGpsBox = 2024;
    static constexpr int kRead = 2030, kWrite = 2031;
};
struct HeliAutopilot {
    static constexpr int kRead = 2101, kWrite = 2102;
};

extern const HeliPageDesign kHeliSystemCheckDesign;
extern const HeliPageDesign kHeliSwashplateDesign;
extern const HeliPageDesign kHeliRcCalibrateDesign;
extern const HeliPageDesign kHeliMountingDesign;
extern const HeliPageDesign kHeliAutopilotDesign;

}  // namespace zephran
