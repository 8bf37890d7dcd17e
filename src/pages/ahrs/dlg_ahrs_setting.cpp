#include "pages/ahrs/dlg_ahrs_setting.h"

#include "link/messages.h"
#include "ui/controls.h"

namespace zephran {
namespace {

using D = CDlgAHRSSetting;
enum : int { kGroup = 1180 };

// A noise parameter: a double of the record after the leading byte.
constexpr ParameterField Noise(std::uint16_t offset, std::string_view name, int box, int label,
                               std::string_view caption, std::string_view key, double initial,
                               std::string_view description) {
    return {.name = name,
            .offset = offset,
            .type = FieldType::kF64,
            .box = box,
            .label = label,
            .caption = caption,
            .key = key,
            .initial = initial,
            .width = 16,
            .description = description};
}

constexpr ParameterField kFields[] = {
    Noise(1, "gyroNoise", D::kGyroNoise, 1181, "Gyro noise (Q)", "IDC_STATIC_Q_GYRO", 1e-7,
          "Process noise of the gyroscope in the attitude filter (Q)"),
    Noise(9, "accNoise", D::kAccNoise, 1182, "Acc noise (R)", "IDC_STATIC_R_ACC", 0.00001,
          "Measurement noise of the accelerometer in the attitude filter (R)"),
    Noise(17, "compassNoise", D::kCompassNoise, 1183, "Compass noise (R)", "IDC_STATIC_R_MAG", 1e-7,
          "Measurement noise of the compass in the attitude filter (R)"),
};

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {
        GroupBox(kGroup, "Filter noise parameters", "IDC_STATIC_QR_SETTING_PROM"),
        Button(D::kRead, "Read", "IDC_BUTTON_AHRS_PARA_READ"),
        Button(D::kWrite, "Write", "IDC_BUTTON_AHRS_PARA_WRITE"),
        Button(D::kDefault, "Default", "IDC_BUTTON_AHRS_RARA_SET_DEFAULT"),
    };
    t.layout = Column({
        Group(kGroup, {Grid(2, ParameterSetBinding::AddControls(D::kNoise, t))}),
        Row({Item(D::kRead), Item(D::kWrite), Item(D::kDefault), Stretch()}),
        Stretch(),
    });
    return t;
}

}  // namespace

const ParameterSet CDlgAHRSSetting::kNoise{
    "AHRS noise parameters",
    {&msg::DL_MINIAHRS_READ_QR_PARA, &msg::DL_MINIAHRS_WRITE_QR_PARA,
     &msg::DL_MINIAHRS_DEFAULT_QR_PARA},
    {kRead, kWrite, kDefault},
    ReplyRecord::kAhrsParam,
    0,
    true,
    kFields};

CDlgAHRSSetting::CDlgAHRSSetting(PageHost& host, Identity identity)
    : ParameterPage(host, std::move(identity), Template(), {&kNoise}) {}

}  // namespace zephran
