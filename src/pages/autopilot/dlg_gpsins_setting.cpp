#include "pages/autopilot/dlg_gpsins_setting.h"

#include <vector>

#include "link/messages.h"
#include "ui/controls.h"

namespace zephran {
namespace {

using P = CDlgGPSINSSetting;
enum : int { kQrGroup = 1404, kQGroup = 1405, kRGroup = 1406, kFirstLabel = 1430 };

// Parameter n of the record: a double after the leading byte, labelled with a fixed English
// name that no language file translates.
constexpr ParameterField Parameter(int n, std::string_view name, std::string_view caption,
                                   double initial) {
    return {.name = name,
            .offset = static_cast<std::uint16_t>(1 + 8 * n),
            .type = FieldType::kF64,
            .box = P::kFirstBox + n,
            .label = kFirstLabel + n,
            .caption = caption,
            .initial = initial,
            .width = 16};
}

// In record order: the four process noises (Q), then the eight measurement noises (R).
constexpr ParameterField kFields[kGpsInsQrCount] = {
    Parameter(0, "qGyro", "Gyro", 1e-8),
    Parameter(1, "qAcc", "Acc", 0.001),
    Parameter(2, "qGyroRandomWalk", "Gyro Random Walk", 1e-9),
    Parameter(3, "qAccRandomWalk", "Acc Random Walk", 1e-20),
    Parameter(4, "rGpsHoriPosition", "GPS Hori Position", 0.01),
    Parameter(5, "rGpsVertiPosition", "GPS Verti Position", 0.001),
    Parameter(6, "rGpsHoriVelocity", "GPS Hori Velocity", 0.001),
    Parameter(7, "rGpsVertiVelocity", "GPS Verti Velocity", 100.0),
    Parameter(8, "rBarometer", "Barometer", 0.001),
    Parameter(9, "rAccNoGps", "AccNoGPS", 1e-5),
    Parameter(10, "rMagYaw", "Mag Yaw", 1e-4),
    Parameter(11, "rAcc", "Acc", 0.001),
};

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {
        GroupBox(kQrGroup, "QR_PARAMETER"),
        GroupBox(kQGroup, "Q"),
        GroupBox(kRGroup, "R"),
        Button(P::kRead, "Read", "IDC_BUTTON_GPSINS_PARA_READ"),
        Button(P::kWrite, "Write", "IDC_BUTTON_GPSINS_PARA_WRITE"),
        Button(P::kDefault, "Default", "IDC_BUTTON_GPSINS_RARA_SET_DEFAULT"),
    };
    std::vector<LayoutItem> q = ParameterSetBinding::AddControls(P::kQr, t);
    std::vector<LayoutItem> r(q.begin() + 2 * kGpsInsQCount, q.end());
    q.resize(2 * kGpsInsQCount);
    t.layout = Column({
        Group(kQrGroup, {Row({Group(kQGroup, {Grid(2, std::move(q)), Stretch()}),
                              Group(kRGroup, {Grid(2, std::move(r))})})}),
        Row({Item(P::kRead), Item(P::kWrite), Item(P::kDefault), Stretch()}),
        Stretch(),
    });
    return t;
}

}  // namespace

const ParameterSet CDlgGPSINSSetting::kQr{.name = "GPS/INS filter parameters",
                                          .read = &msg::DL_GPSINS_QR_READ,
                                          .write = &msg::DL_GPSINS_QR_WRITE,
                                          .reset = &msg::DL_GPSINS_QR_DEFAULT,
                                          .record = ReplyRecord::kGpsInsQr,
                                          .leadingByte = true,
                                          .fields = kFields,
                                          .readButton = P::kRead,
                                          .writeButton = P::kWrite,
                                          .resetButton = P::kDefault};

CDlgGPSINSSetting::CDlgGPSINSSetting(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()) {}

}  // namespace zephran
