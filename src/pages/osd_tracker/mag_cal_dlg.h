#pragma once

#include "pages/framework/parameter_page.h"

namespace zephran {

// The tracker's compass calibration: the turning speed it calibrates at, the start of a
// calibration, the compass readings it reports while turning, the offsets and scales it derives
// and its compass offset (declination) in degrees.
class CMagCalDlg : public ParameterPage {
public:
    enum : int { kSpeed = 1005, kReadSpeed = 1101, kSetSpeed = 1102 };
    enum : int { kXValue = 1006, kYValue = 1008, kXMin = 1010, kYMin = 1011 };
    enum : int { kXMax = 1013, kYMax = 1014, kBeginCal = 1103 };
    enum : int { kXOffset = 1007, kYOffset = 1017, kXScale = 1016, kYScale = 1018 };
    enum : int { kReadCalibration = 1104, kDefaultCalibration = 1105 };
    enum : int { kCompassOffset = 1019, kReadCompassOffset = 1083, kSetCompassOffset = 1084 };
    static const ParameterSet kSpeedSet, kReadings, kCalibration, kCompassOffsetSet;

    CMagCalDlg(PageHost& host, Identity identity);

protected:
    void OnCommand(int id) override;
};

}  // namespace zephran
