#pragma once

#include <array>

#include "app/page.h"
#include "pages/parameter_set.h"

namespace zephran {

// The antenna tracker's motors: the pitch axis's power-on position, limit offsets and step,
// and the horizontal axis's PID controller and minimum output point.
class CAATServoSet : public Page {
public:
    enum : int {
        kPowerOnHorizontal = 1501,
        kPowerOnVertical = 1502,
        kSetPowerOn = 1503,
        kHorizontalOffset = 1510,
        kVerticalOffset = 1511,
        kHorizontalSpin = 1512,
        kVerticalSpin = 1513,
        kReadOffsets = 1514,
        kSetOffsets = 1515,
        kDefaultOffsets = 1516,
        kStep = 1520,
        kReadStep = 1521,
        kSetStep = 1522,
        kP = 1530,
        kI = 1531,
        kD = 1532,
        kIntegralThreshold = 1533,
        kIntegralLimit = 1534,
        kReadPid = 1535,
        kSetPid = 1536,
        kDefaultPid = 1537,
        kServoGap = 1540,
        kReadServoGap = 1541,
        kSetServoGap = 1542,
    };
    static constexpr int kOffsetLimit = 100;
    static const ParameterSet kOffsets, kStepSet, kYawPid, kServoGapSet;

    CAATServoSet(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    int powerOn = 1;  // 0 horizontal, 1 vertical
    ParameterSetBinding offsets{kOffsets, *this, host_};
    ParameterSetBinding step{kStepSet, *this, host_};
    ParameterSetBinding yawPid{kYawPid, *this, host_};
    ParameterSetBinding servoGap{kServoGapSet, *this, host_};

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;
    void OnPositionChange(int id) override;
    void OnSpinRelease(int id) override;

private:
    std::array<ParameterSetBinding*, 4> Sets() { return {&offsets, &step, &yawPid, &servoGap}; }
};

}  // namespace zephran
