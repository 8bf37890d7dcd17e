#include "pages/osd_tracker/dlg_aat_communicate.h"

#include <cstdio>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "records/record_store.h"
#include "ui/controls.h"

namespace zephran {
namespace {

using Dlg = CDlg_AAT_Communicate;

// Scaled the way the tracker scales them, then narrowed to single precision.
double Single(double raw, double scale) {
    return static_cast<float>(raw / scale);
}

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    t.controls = {
        GroupBox(Dlg::kAudioGroup, "Audio Data Enable"),
        Radio(Dlg::kAudioNo, Dlg::kAudioGroup, "NO"),
        Radio(Dlg::kAudioYes, Dlg::kAudioGroup, "YES"),
        Button(Dlg::kRead, "Read"),
        Button(Dlg::kWrite, "Write"),
        GroupBox(Dlg::kReceiveGroup, "Data Receive"),
        TextBox(Dlg::kReceived, true, 32, 6),
    };
    t.layout = Column({
        Group(Dlg::kAudioGroup, {LeftRow({Item(Dlg::kAudioNo), Item(Dlg::kAudioYes),
                                          Item(Dlg::kRead), Item(Dlg::kWrite)})}),
        Group(Dlg::kReceiveGroup, {Item(Dlg::kReceived)}),
        Stretch(),
    });
    return t;
}

}  // namespace

std::string FormatTrackerStatus(const AatStatusRecord& status) {
    char text[160];
    std::snprintf(text, sizeof text,
                  " Pitch: %6.2f \r\n Yaw:  %6.2f \r\n Lat:    %11.7f \r\n Lon:    %11.7f \r\n "
                  "Alt:     %d \r\n",
                  Single(status.pitch, 100), Single(status.yaw, 100),
                  Single(status.latitude, 10'000'000), Single(status.longitude, 10'000'000),
                  status.altitude);
    return text;
}

CDlg_AAT_Communicate::CDlg_AAT_Communicate(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()) {}

// Whichever page is shown, the text follows the last status frame.
void CDlg_AAT_Communicate::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::DL_ID_AAT, [this](const ReceiveArea&) {
        text_ = FormatTrackerStatus(host_.Records().aatStatus);
        SetDlgItemText(kReceived, text_);
    });
}

}  // namespace zephran
