#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/page.h"
#include "link/messages.h"
#include "pages/ahrs/ahrs_records.h"

namespace zephran {

// The calibrations the attitude board runs itself: accelerometer level, gyroscope zero bias
// and scale, compass. The page starts and stops them, shows the live sensor values while the
// board is moved and the coefficients the board reports.
class CDlgSensorCalibrate : public Page {
public:
    enum : int {
        kAccToggle = 1116,
        kAccRead = 1111,
        kAccDefault = 1115,
        kGyroToggle = 1129,
        kGyroRead = 1130,
        kGyroDefault = 1131,
        kGyroReadScale = 1166,
        kGyroWriteScale = 1165,
        kMagToggle = 1132,
        kMagRead = 1133,
        kMagDefault = 1134,
        kMag3AxisToggle = 1161,  // hidden
        kMagNorm = 1162,
        kNorthTrim = 1160,  // hidden
    };

    using Axes = std::array<float, 3>;  // x, y, z

    // A start/stop button: its begin caption and frame, its caption while the board runs the
    // procedure and the frame that stops it.
    struct Toggle {
        int id;
        const char* beginKey;
        const char* beginText;
        const char* runningKey;
        const char* runningText;
        const Message* beginMsg;
        const Message* stopMsg;
    };
    static constexpr Toggle kAccCal{kAccToggle,
                                    "IDC_BUTTON_ACC_BEGIN_CAL",
                                    "Start",
                                    "IDC_BUTTON_STOP",
                                    "Stop",
                                    &msg::DL_MINIAHRS_ACC_BEGIN_CAL,
                                    &msg::DL_MINIAHRS_ACC_STOP_CAL};
    static constexpr Toggle kGyroCal{kGyroToggle,
                                     "IDC_BUTTON_GYRO_BEGIN_CAL",
                                     "Start",
                                     "IDC_BUTTON_STOP",
                                     "Stop",
                                     &msg::DL_MINIAHRS_GYGO_BEGIN_CAL,
                                     &msg::DL_MINIAHRS_GYRO_STOP_CAL};
    static constexpr Toggle kMagCal{kMagToggle,
                                    "IDC_BUTTON_MAG_BEGIN",
                                    "Start",
                                    "IDC_BUTTON_STOP",
                                    "Stop",
                                    &msg::DL_MINIAHRS_MAG_BEGIN_CAL,
                                    &msg::DL_MINIAHRS_MAG_STOP_CAL};
    static constexpr Toggle kMag3AxisCal{kMag3AxisToggle,
                                         "IDC_BUTTON_MAG_BEGIN2",
                                         "Start 3-axis",
                                         "IDC_BUTTON_CANCAL",
                                         "Cancel",
                                         &msg::DL_MINIAHRS_MAG_3AXIS_START_CAL,
                                         &msg::DL_MINIAHRS_MAG_3AXIS_CANCAL_CAL};

    CDlgSensorCalibrate(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;
    void ApplyTexts() override;

    // Called on every live frame: the current values always, their ten boxes only while this
    // page is the one shown.
    void TakeLiveValues(const AhrsLiveRecord& live);

    Axes accCurrent{};   // g
    Axes accOffset{};    // g
    Axes gyroCurrent{};  // degrees per second
    Axes gyroBias{};     // degrees per second
    Axes gyroScale{1.0f, 1.0f, 1.0f};
    Axes magCurrent{};
    Axes magMinimum{};
    Axes magMaximum{};
    float magNorm = 0.0f;
    Axes magOffset{};
    Axes magScale{1.0f, 1.0f, 1.0f};
    float northTrim = 0.0f;  // degrees

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;

private:
    void Press(const Toggle& toggle);
    void ShowRunning(const Toggle& toggle);
    void ShowStopped(const Toggle& toggle);
    void TakeAccOffsets();
    void TakeGyroBias();
    void TakeMagCoefficients();
    template <typename Record>
    void TakeExtremes(const Record& record);

    // The procedures the board acknowledged as running, by toggle id.
    std::array<int, 4> running_{};
};

}  // namespace zephran
