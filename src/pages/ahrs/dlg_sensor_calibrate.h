#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/messages.h"
#include "pages/framework/parameter_page.h"
#include "records/ahrs_records.h"

namespace zephran {

// The calibrations the attitude board runs itself: accelerometer level, gyroscope zero bias
// and scale, compass. The page starts and stops them, shows the live sensor values while the
// board is moved and the coefficients the board reports.
class CDlgSensorCalibrate : public ParameterPage {
public:
    enum : int { kAccToggle = 1116, kAccRead = 1111, kAccDefault = 1115 };
    enum : int { kGyroToggle = 1129, kGyroRead = 1130, kGyroDefault = 1131 };
    enum : int { kGyroReadScale = 1166, kGyroWriteScale = 1165 };
    enum : int { kMagToggle = 1132, kMagRead = 1133, kMagDefault = 1134, kMagNorm = 1162 };
    // Hidden: the three-axis compass calibration and the north trim.
    enum : int { kMag3AxisToggle = 1161, kNorthTrim = 1160 };

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

    // The board's coefficients as parameter sets over their records, the editable gyroscope
    // scale first: acc offsets (g), gyro zero bias (°/s), compass offsets and scales, compass
    // extremes, north trim.
    static const std::array<ParameterSet, 6> kSets;
    enum SetIndex : std::size_t {
        kGyroScaleSet,
        kAccOffsetSet,
        kGyroBiasSet,
        kMagSet,
        kExtremesSet
    };

    // The live values, from every live frame.
    Axes accCurrent{};   // g
    Axes gyroCurrent{};  // degrees per second
    Axes magCurrent{};
    float magNorm = 0.0f;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;

private:
    void Press(const Toggle& toggle);
    void ShowRunning(const Toggle& toggle);
    void ShowStopped(const Toggle& toggle);

    // The procedures the board acknowledged as running, by toggle id.
    std::array<int, 4> running_{};
};

}  // namespace zephran
