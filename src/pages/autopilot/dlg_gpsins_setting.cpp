#include "pages/autopilot/dlg_gpsins_setting.h"

#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "pages/record_copy.h"
#include "pages/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {

const std::array<CDlgGPSINSSetting::Parameter, kGpsInsQrCount> CDlgGPSINSSetting::kParameters{{
    {"Gyro", "IDC_STATIC_Q_GYRO", 1e-8},
    {"Acc", "IDC_STATIC_Q_ACC", 0.001},
    {"Gyro Random Walk", "IDC_STATIC_Q_GYRO_RANDOM_WALK", 1e-9},
    {"Acc Random Walk", "IDC_STATIC_Q_ACC_RANDOM_WALK", 1e-20},
    {"GPS Hori Position", "IDC_STATIC_R_GPS_HORI_POSITION", 0.01},
    {"GPS Verti Position", "IDC_STATIC_R_GPS_VERTI_POSITION", 0.001},
    {"GPS Hori Velocity", "IDC_STATIC_R_GPS_HORI_VELOCITY", 0.001},
    {"GPS Verti Velocity", "IDC_STATIC_R_GPS_VERTI_VELOCITY", 100.0},
    {"Barometer", "IDC_STATIC_R_BAROMETER", 0.001},
    {"AccNoGPS", "IDC_STATIC_R_ACC_NO_GPS", 1e-5},
    {"Mag Yaw", "IDC_STATIC_R_MAG_YAW", 1e-4},
    {"Acc", "IDC_STATIC_R_ACC", 0.001},
}};

namespace {

enum : int { kQrGroup = 1404, kQGroup = 1405, kRGroup = 1406, kFirstLabel = 1430 };

// The captions in the template are the board's own names for the parameters; the language
// files give them in words.
ui::WindowTemplate Template() {
    using namespace ui;
    using P = CDlgGPSINSSetting;
    WindowTemplate t;
    t.controls = {
        GroupBox(kQrGroup, "QR_PARAMETER", "IDC_STATIC_QR_PARAMETER"),
        GroupBox(kQGroup, "Q", "IDC_STATIC_Q"),
        GroupBox(kRGroup, "R", "IDC_STATIC_R"),
        Button(P::kRead, "Read", "IDC_BUTTON_GPSINS_PARA_READ"),
        Button(P::kWrite, "Write", "IDC_BUTTON_GPSINS_PARA_WRITE"),
        Button(P::kDefault, "Default", "IDC_BUTTON_GPSINS_RARA_SET_DEFAULT"),
    };
    std::vector<LayoutItem> q, r;
    for (std::size_t n = 0; n < kGpsInsQrCount; ++n) {
        const int label = kFirstLabel + static_cast<int>(n);
        t.controls.push_back(Label(label, P::kParameters[n].caption, P::kParameters[n].key));
        t.controls.push_back(Edit(P::Box(n), 16));
        std::vector<LayoutItem>& cells = n < kGpsInsQCount ? q : r;
        cells.push_back(Item(label));
        cells.push_back(Item(P::Box(n)));
    }
    t.layout = Column({
        Group(kQrGroup, {Row({Group(kQGroup, {Grid(2, std::move(q)), Stretch()}),
                              Group(kRGroup, {Grid(2, std::move(r))})})}),
        Row({Item(P::kRead), Item(P::kWrite), Item(P::kDefault), Stretch()}),
        Stretch(),
    });
    return t;
}

}  // namespace

CDlgGPSINSSetting::CDlgGPSINSSetting(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()) {
    for (std::size_t n = 0; n < kGpsInsQrCount; ++n)
        values[n] = kParameters[n].initial;
}

void CDlgGPSINSSetting::DoDataExchange(ui::DataExchange& dx) {
    for (std::size_t n = 0; n < kGpsInsQrCount; ++n)
        dx.Text(Box(n), values[n]);
}

void CDlgGPSINSSetting::OnCommand(int id) {
    GpsInsQrRecord& record = host_.Records().gpsInsQr;
    switch (id) {
        case kRead:
            Send(kGpsInsGroup, DL_GPSINS_QR_READ);
            break;
        case kWrite:
            // Sent even when a box does not parse, with the values as they then stand; the
            // leading byte goes back as the board last sent it.
            UpdateData(true);
            for (std::size_t n = 0; n < kGpsInsQrCount; ++n)
                record.params[n] = values[n];
            SendRecord(kGpsInsGroup, DL_GPSINS_QR_WRITE, record);
            break;
        case kDefault:
            Send(kGpsInsGroup, DL_GPSINS_QR_DEFAULT);
            break;
        default:
            break;
    }
}

// Group 16 does not log by itself; the read reply is logged by its route.
void CDlgGPSINSSetting::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(
        kGpsInsGroup, DL_GPSINS_QR_READ,
        [this](const ReceiveArea& frame) {
            GpsInsQrRecord& record = host_.Records().gpsInsQr;
            CopyPayload(record, frame);
            for (std::size_t n = 0; n < kGpsInsQrCount; ++n)
                values[n] = record.params[n];
            UpdateData(false);
        },
        true);
}

}  // namespace zephran
