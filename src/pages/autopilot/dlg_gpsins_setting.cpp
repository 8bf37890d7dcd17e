#include "pages/autopilot/dlg_gpsins_setting.h"

#include <vector>

#include "link/messages.h"
#include "link/text_source.h"
#include "pages/ahrs/filter_noise_set.h"
#include "ui/controls.h"

namespace zephran {
namespace {

using P = CDlgGPSINSSetting;
enum : int { kQrGroup = 1404, kQGroup = 1405, kRGroup = 1406, kFirstLabel = 1430 };

std::string ProcessNoise(const TextSource& texts) {
    return AddedText(texts, "FieldTips", "Navigation Q",
                     "Process noise of the navigation filter (Q)");
}

std::string MeasurementNoise(const TextSource& texts) {
    return AddedText(texts, "FieldTips", "Navigation R",
                     "Measurement noise of the navigation filter (R)");
}

// Parameter n of the record: a double after the leading byte. The template captions are the
// board's own names for the parameters; the language files give them in words.
constexpr ParameterField Parameter(int n, std::string_view name, std::string_view caption,
                                   std::string_view key, double initial) {
    return NoiseField(
        static_cast<std::uint16_t>(1 + 8 * n), name, P::kFirstBox + n, kFirstLabel + n, caption,
        key, initial,
        static_cast<std::size_t>(n) < kGpsInsQCount ? ProcessNoise : MeasurementNoise);
}

// In record order: the four process noises (Q), then the eight measurement noises (R).
constexpr ParameterField kFields[kGpsInsQrCount] = {
    Parameter(0, "qGyro", "Gyro", "IDC_STATIC_Q_GYRO", 1e-8),
    Parameter(1, "qAcc", "Acc", "IDC_STATIC_Q_ACC", 0.001),
    Parameter(2, "qGyroRandomWalk", "Gyro Random Walk", "IDC_STATIC_Q_GYRO_RANDOM_WALK", 1e-9),
    Parameter(3, "qAccRandomWalk", "Acc Random Walk", "IDC_STATIC_Q_ACC_RANDOM_WALK", 1e-20),
    Parameter(4, "rGpsHoriPosition", "GPS Hori Position", "IDC_STATIC_R_GPS_HORI_POSITION", 0.01),
    Parameter(5, "rGpsVertiPosition", "GPS Verti Position", "IDC_STATIC_R_GPS_VERTI_POSITION",
              0.001),
    Parameter(6, "rGpsHoriVelocity", "GPS Hori Velocity", "IDC_STATIC_R_GPS_HORI_VELOCITY", 0.001),
    Parameter(7, "rGpsVertiVelocity", "GPS Verti Velocity", "IDC_STATIC_R_GPS_VERTI_VELOCITY",
              100.0),
    Parameter(8, "rBarometer", "Barometer", "IDC_STATIC_R_BAROMETER", 0.001),
    Parameter(9, "rAccNoGps", "AccNoGPS", "IDC_STATIC_R_ACC_NO_GPS", 1e-5),
    Parameter(10, "rMagYaw", "Mag Yaw", "IDC_STATIC_R_MAG_YAW", 1e-4),
    Parameter(11, "rAcc", "Acc", "IDC_STATIC_R_ACC", 0.001),
};

// The process noises in one group, the measurement noises in another, side by side.
ui::WindowTemplate Template() {
    return NoisePageTemplate(
        {P::kQr, "GPSINS", kQrGroup, "QR_PARAMETER", "IDC_STATIC_QR_PARAMETER"},
        [](std::vector<ui::LayoutItem> q, ui::WindowTemplate& t) {
            using namespace ui;
            std::vector<LayoutItem> r(q.begin() + 2 * kGpsInsQCount, q.end());
            q.resize(2 * kGpsInsQCount);
            return Row(
                {AddGroup(t, kQGroup, "Q", "IDC_STATIC_Q", {Grid(2, std::move(q)), Stretch()}),
                 AddGroup(t, kRGroup, "R", "IDC_STATIC_R", {Grid(2, std::move(r))})});
        });
}

}  // namespace

const ParameterSet CDlgGPSINSSetting::kQr = NoiseSet(
    "GPS/INS filter parameters",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "GPS/INS Filter", "GPS/INS filter parameters");
    },
    {&msg::DL_GPSINS_QR_READ, &msg::DL_GPSINS_QR_WRITE, &msg::DL_GPSINS_QR_DEFAULT},
    {kRead, kWrite, kDefault}, ReplyRecord::kGpsInsQr, kFields);

CDlgGPSINSSetting::CDlgGPSINSSetting(PageHost& host, Identity identity)
    : ParameterPage(host, std::move(identity), Template(), {&kQr}) {}

}  // namespace zephran
