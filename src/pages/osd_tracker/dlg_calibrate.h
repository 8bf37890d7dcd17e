#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/page.h"

namespace zephran {

// The OSD's battery-voltage, current and RSSI calibration: three one-point calibrations, two
// two-point calibrations whose bias and scale the page computes, read-back and defaults, and
// an RSSI range calibration the user starts and stops.
class CCalibrateDlg : public Page {
public:
    // The one-point boxes and their Set buttons.
    enum : int { kCurrentZeroOffset = 1401, kCurrentReference = 1402, kVoltageReference = 1403 };
    enum : int { kSetCurrentZeroOffset = 1411, kSetCurrentReference, kSetVoltageReference };
    enum : int { kRssiMin = 1421, kRssiMax = 1422, kReadRssi = 1423, kRssiToggle = 1424 };

    // The values of a two-point calibration.
    struct TwoPoint {
        float knownA = 0;
        float measuredA = 0;
        float knownB = 0;
        float measuredB = 0;
        float bias = 0;  // computed, sent by its Set
        float scale = 0;
        float biasRead = 0;  // as the board last reported
        float scaleRead = 0;
    };

    // A two-point calibration's controls, numbered from its group box.
    // clang-format off
    enum Slot : int {
        kGroupBox,
        kLabelA, kKnownA, kMeasuredA, kUnitA, kReadA,
        kLabelB, kKnownB, kMeasuredB, kUnitB, kReadB,
        kBiasLabel, kBias, kScaleLabel, kScale, kSet,
        kBiasReadLabel, kBiasRead, kScaleReadLabel, kScaleRead, kRead,
        kDefault
    };
    // clang-format on
    struct Quantity {
        int firstId;
        const Message* readA;
        const Message* readB;
        const Message* write;
        const Message* readBack;
        const Message* setDefault;
        // Current: the known value goes out with each point read and the board's reading is
        // modelled as bias + scale * known. Voltage: the point reads carry nothing and the
        // known value is modelled as bias + scale * reading.
        bool fromKnown;
        TwoPoint CCalibrateDlg::*values;

        int Id(Slot slot) const { return firstId + slot; }
    };
    static const std::array<Quantity, 2> kQuantities;  // current, voltage

    CCalibrateDlg(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;
    void ApplyTexts() override;

    float currentZeroOffset = 0.5f;
    float currentReference = 10.0f;
    float voltageReference = 12.2f;
    TwoPoint current{.scale = 0.05f, .scaleRead = 0.05f};
    TwoPoint voltage{};
    float rssiMin = 0;
    float rssiMax = 0;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;

private:
    void TakePoint(const Quantity& quantity, float TwoPoint::*measured, float value);
    void SendPointRead(const Quantity& quantity, const Message& message, float TwoPoint::*known);
    void ToggleRssi();

    bool rssiRunning_ = false;  // as the toggle last sent
};

}  // namespace zephran
