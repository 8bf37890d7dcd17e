#include "pages/ahrs/dlg_ahrs_setting.h"

#include "link/messages.h"
#include "link/text_source.h"
#include "pages/ahrs/filter_noise_set.h"
#include "ui/controls.h"

namespace zephran {
namespace {

using D = CDlgAHRSSetting;
enum : int { kGroup = 1180 };

constexpr ParameterField kFields[] = {
    NoiseField(1, "gyroNoise", D::kGyroNoise, 1181, "Gyro noise (Q)", "IDC_STATIC_Q_GYRO", 1e-7,
               [](const TextSource& texts) {
                   return AddedText(texts, "FieldTips", "Gyro Noise",
                                    "Process noise of the gyroscope in the attitude filter (Q)");
               }),
    NoiseField(9, "accNoise", D::kAccNoise, 1182, "Acc noise (R)", "IDC_STATIC_R_ACC", 0.00001,
               [](const TextSource& texts) {
                   return AddedText(
                       texts, "FieldTips", "Acc Noise",
                       "Measurement noise of the accelerometer in the attitude filter (R)");
               }),
    NoiseField(17, "compassNoise", D::kCompassNoise, 1183, "Compass noise (R)", "IDC_STATIC_R_MAG",
               1e-7,
               [](const TextSource& texts) {
                   return AddedText(texts, "FieldTips", "Compass Noise",
                                    "Measurement noise of the compass in the attitude filter (R)");
               }),
};

ui::WindowTemplate Template() {
    return NoisePageTemplate(
        {D::kNoise, "AHRS", kGroup, "Filter noise parameters", "IDC_STATIC_QR_SETTING_PROM"},
        [](std::vector<ui::LayoutItem> boxes, ui::WindowTemplate&) {
            return ui::Grid(2, std::move(boxes));
        });
}

}  // namespace

const ParameterSet CDlgAHRSSetting::kNoise = NoiseSet(
    "AHRS noise parameters",
    [](const TextSource& texts) {
        return AddedText(texts, "ParameterSets", "AHRS Noise", "AHRS noise parameters");
    },
    {&msg::DL_MINIAHRS_READ_QR_PARA, &msg::DL_MINIAHRS_WRITE_QR_PARA,
     &msg::DL_MINIAHRS_DEFAULT_QR_PARA},
    {kRead, kWrite, kDefault}, ReplyRecord::kAhrsParam, kFields);

CDlgAHRSSetting::CDlgAHRSSetting(PageHost& host, Identity identity)
    : ParameterPage(host, std::move(identity), Template(), {&kNoise}) {}

}  // namespace zephran
