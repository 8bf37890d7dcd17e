#pragma once

#include <cstdint>
#include <vector>

#include "app/page.h"

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

    // What a request carries.
    enum class Payload { kNone, kPowerOn, kOffsets, kStep, kYawPid, kServoGap };

    CAATServoSet(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    int powerOn = 1;  // 0 horizontal, 1 vertical
    int horizontalOffset = 0;
    int verticalOffset = 0;
    float step = 0.3f;
    float p = 200.0f;
    float i = 0.0f;
    float d = 100.0f;
    float integralThreshold = 3.0f;
    float integralLimit = 100.0f;
    int servoGap = 0;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;
    void OnPositionChange(int id) override;
    void OnSpinRelease(int id) override;

private:
    std::vector<std::uint8_t> Build(Payload payload) const;
    void Request(std::uint8_t msgId, Payload payload);
};

}  // namespace zephran
