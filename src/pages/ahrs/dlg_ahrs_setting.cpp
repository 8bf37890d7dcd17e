#include "pages/ahrs/dlg_ahrs_setting.h"

#include "dispatch/reply_dispatcher.h"
#include "pages/ahrs/ahrs_messages.h"
#include "pages/record_copy.h"
#include "pages/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

enum : int { kGroup = 1180, kGyroLabel = 1181, kAccLabel = 1182, kCompassLabel = 1183 };

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {
        GroupBox(kGroup, "Filter noise parameters", "IDC_STATIC_QR_SETTING_PROM"),
        Label(kGyroLabel, "Gyro noise (Q)", "IDC_STATIC_Q_GYRO"),
        Edit(CDlgAHRSSetting::kGyroNoise, 16),
        Label(kAccLabel, "Acc noise (R)", "IDC_STATIC_R_ACC"),
        Edit(CDlgAHRSSetting::kAccNoise, 16),
        Label(kCompassLabel, "Compass noise (R)", "IDC_STATIC_R_MAG"),
        Edit(CDlgAHRSSetting::kCompassNoise, 16),
        Button(CDlgAHRSSetting::kRead, "Read", "IDC_BUTTON_AHRS_PARA_READ"),
        Button(CDlgAHRSSetting::kWrite, "Write", "IDC_BUTTON_AHRS_PARA_WRITE"),
        Button(CDlgAHRSSetting::kDefault, "Default", "IDC_BUTTON_AHRS_RARA_SET_DEFAULT"),
    };
    t.layout = Column({
        Group(kGroup, {Grid(2, {Item(kGyroLabel), Item(CDlgAHRSSetting::kGyroNoise),
                                Item(kAccLabel), Item(CDlgAHRSSetting::kAccNoise),
                                Item(kCompassLabel), Item(CDlgAHRSSetting::kCompassNoise)})}),
        Row({Item(CDlgAHRSSetting::kRead), Item(CDlgAHRSSetting::kWrite),
             Item(CDlgAHRSSetting::kDefault), Stretch()}),
        Stretch(),
    });
    return t;
}

}  // namespace

CDlgAHRSSetting::CDlgAHRSSetting(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()) {}

void CDlgAHRSSetting::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(kGyroNoise, gyroNoise);
    dx.Text(kAccNoise, accNoise);
    dx.Text(kCompassNoise, compassNoise);
}

void CDlgAHRSSetting::OnCommand(int id) {
    AhrsParamRecord& record = host_.Records().ahrsParam;
    switch (id) {
        case kRead:
            Send(kAhrsGroup, DL_MINIAHRS_READ_QR_PARA);
            break;
        case kWrite:
            UpdateData(true);
            record.gyroNoise = gyroNoise;
            record.accNoise = accNoise;
            record.compassNoise = compassNoise;
            SendRecord(kAhrsGroup, DL_MINIAHRS_WRITE_QR_PARA, record);
            break;
        case kDefault:
            Send(kAhrsGroup, DL_MINIAHRS_DEFAULT_QR_PARA);
            break;
        default:
            break;
    }
}

void CDlgAHRSSetting::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(
        kAhrsGroup, DL_MINIAHRS_READ_QR_PARA,
        [this](const ReceiveArea& frame) {
            AhrsParamRecord& record = host_.Records().ahrsParam;
            CopyPayload(record, frame);
            gyroNoise = record.gyroNoise;
            accNoise = record.accNoise;
            compassNoise = record.compassNoise;
            UpdateData(false);
        },
        true);
}

}  // namespace zephran
