#pragma once

#include "pages/framework/parameter_page.h"

namespace zephran {

// The antenna tracker's motors: the pitch axis's power-on position, limit offsets and step,
// and the horizontal axis's PID controller and minimum output point.
class CAATServoSet : public ParameterPage {
public:
    enum : int { kPowerOnHorizontal = 1501, kPowerOnVertical = 1502, kSetPowerOn = 1503 };
    enum : int { kHorizontalOffset = 1510, kVerticalOffset = 1511 };
    enum : int { kHorizontalSpin = 1512, kVerticalSpin = 1513 };
    enum : int { kReadOffsets = 1514, kSetOffsets = 1515, kDefaultOffsets = 1516 };
    enum : int { kStep = 1520, kReadStep = 1521, kSetStep = 1522 };
    enum : int {
        kP = 1530,
        kI = 1531,
        kD = 1532,
        kIntegralThreshold = 1533,
        kIntegralLimit = 1534
    };
    enum : int { kReadPid = 1535, kSetPid = 1536, kDefaultPid = 1537 };
    enum : int { kServoGap = 1540, kReadServoGap = 1541, kSetServoGap = 1542 };
    static constexpr int kOffsetLimit = 100;
    static const ParameterSet kOffsets, kStepSet, kYawPid, kServoGapSet;

    CAATServoSet(PageHost& host, Identity identity);

    int powerOn = 1;  // 0 horizontal, 1 vertical

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;
    void OnPositionChange(int id) override;
    void OnSpinRelease(int id) override;
};

}  // namespace zephran
