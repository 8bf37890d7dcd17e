#include "pages/ahrs/dlg_ahrs_setting.h"

#include "link/messages.h"
#include "ui/controls.h"

namespace zephran {
namespace {

using D = CDlgAHRSSetting;
enum : int { kGroup = 1180 };

constexpr ParameterField kFields[] = {
    {.name = "gyroNoise",
     .offset = 1,
     .type = FieldType::kF64,
     .box = D::kGyroNoise,
     .label = 1181,
     .caption = "Gyro noise (Q)",
     .key = "IDC_STATIC_Q_GYRO",
     .initial = 1e-7,
     .width = 16},
    {.name = "accNoise",
     .offset = 9,
     .type = FieldType::kF64,
     .box = D::kAccNoise,
     .label = 1182,
     .caption = "Acc noise (R)",
     .key = "IDC_STATIC_R_ACC",
     .initial = 0.00001,
     .width = 16},
    {.name = "compassNoise",
     .offset = 17,
     .type = FieldType::kF64,
     .box = D::kCompassNoise,
     .label = 1183,
     .caption = "Compass noise (R)",
     .key = "IDC_STATIC_R_MAG",
     .initial = 1e-7,
     .width = 16},
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

const ParameterSet CDlgAHRSSetting::kNoise{.name = "AHRS noise parameters",
                                           .read = &msg::DL_MINIAHRS_READ_QR_PARA,
                                           .write = &msg::DL_MINIAHRS_WRITE_QR_PARA,
                                           .reset = &msg::DL_MINIAHRS_DEFAULT_QR_PARA,
                                           .record = ReplyRecord::kAhrsParam,
                                           .leadingByte = true,
                                           .fields = kFields,
                                           .readButton = D::kRead,
                                           .writeButton = D::kWrite,
                                           .resetButton = D::kDefault};

CDlgAHRSSetting::CDlgAHRSSetting(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()) {}

}  // namespace zephran
