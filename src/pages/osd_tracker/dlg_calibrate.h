#pragma once

#include <array>

#include "pages/framework/parameter_page.h"

namespace zephran {

// The OSD's battery-voltage, current and RSSI calibration: three one-point calibrations, two
// two-point calibrations whose bias and scale the page computes, read-back and defaults, and
// an RSSI range calibration the user starts and stops.
class CCalibrateDlg : public ParameterPage {
public:
    // The one-point boxes and their Set buttons.
    enum : int { kCurrentZeroOffset = 1401, kCurrentReference = 1402, kVoltageReference = 1403 };
    enum : int { kSetCurrentZeroOffset = 1411, kSetCurrentReference, kSetVoltageReference };
    enum : int { kRssiMin = 1421, kRssiMax = 1422, kReadRssi = 1423, kRssiToggle = 1424 };

    // The two points of a two-point calibration: the values known at each and the board's
    // readings there.
    struct Points {
        float knownA = 0;
        float measuredA = 0;
        float knownB = 0;
        float measuredB = 0;
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
        // Current: the known value goes out with each point read and the board's reading is
        // modelled as bias + scale * known. Voltage: the point reads carry nothing and the
        // known value is modelled as bias + scale * reading.
        bool fromKnown;
        Points CCalibrateDlg::*points;
        const ParameterSet* calibration;  // the bias and scale computed, sent by Set
        const ParameterSet* readBack;     // as the board last reported them; Read and Default

        int Id(Slot slot) const { return firstId + slot; }
    };
    static const std::array<Quantity, 2> kQuantities;  // current, voltage
    static const ParameterSet kCurrentZeroOffsetSet, kCurrentReferenceSet, kVoltageReferenceSet;
    static const ParameterSet kCurrentCal, kCurrentReadBack, kVoltageCal, kVoltageReadBack;
    static const ParameterSet kRssiRange;

    CCalibrateDlg(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;
    void ApplyTexts() override;

    Points current;
    Points voltage;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;

private:
    void TakePoint(const Quantity& quantity, float Points::*measured, float value);
    void SendPointRead(const Quantity& quantity, const Message& message, float Points::*known);
    void ToggleRssi();

    bool rssiRunning_ = false;  // as the toggle last sent
};

}  // namespace zephran
