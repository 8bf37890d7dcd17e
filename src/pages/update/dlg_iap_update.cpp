#include "pages/update/dlg_iap_update.h"

#include "ui/controls.h"
#include "ui/data_exchange.h"
#include "update/firmware_update.h"

namespace zephran {
namespace {

constexpr const char* kStartText = "Start";
constexpr const char* kCancelText = "Cancel";

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    Control outcome = Label(CIAPUpdateDlg::kOutcome, "");
    outcome.multiline = true;  // a failure's reason may be long: it wraps
    t.controls = {
        Label(CIAPUpdateDlg::kPrompt, "Firmware file:", "m_BinFilePrompt"),
        Edit(CIAPUpdateDlg::kPath, 40),
        Button(CIAPUpdateDlg::kBrowse, "Browse...", "BinFileBrowseButton"),
        Button(CIAPUpdateDlg::kStart, kStartText, "Start"),
        outcome,
    };
    t.layout = Column({Item(CIAPUpdateDlg::kPrompt),
                       Row({Item(CIAPUpdateDlg::kPath), Item(CIAPUpdateDlg::kBrowse), Stretch()}),
                       Row({Item(CIAPUpdateDlg::kStart), Stretch()}), Item(CIAPUpdateDlg::kOutcome),
                       Stretch()});
    return t;
}

}  // namespace

CIAPUpdateDlg::CIAPUpdateDlg(PageHost& host, const PageServices& services, Identity identity)
    : Page(host, std::move(identity), Template()), update_(services.update) {
    update_.changed.Connect([this] { ShowState(); });
}

void CIAPUpdateDlg::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(kPath, imagePath);
}

void CIAPUpdateDlg::ApplyTexts() {
    Page::ApplyTexts();
    if (update_.Active()) SetDlgItemText(kStart, Caption("Cancal", kCancelText));
    SetDlgItemText(kOutcome, update_.Outcome());
}

void CIAPUpdateDlg::ShowState() {
    const bool running = update_.Active();
    SetDlgItemText(kStart, running ? Caption("Cancal", kCancelText) : Caption("Start", kStartText));
    EnableControl(kBrowse, !running);
    EnableControl(kPath, !running);
    SetDlgItemText(kOutcome, update_.Outcome());
}

void CIAPUpdateDlg::OnCommand(int id) {
    switch (id) {
        case kBrowse:
            if (const auto chosen = host_.Host().ChooseFile("(*.bin)|*.bin")) {
                imagePath = *chosen;
                UpdateData(false);
            }
            break;
        case kStart:
            // The update's state decides, not the caption, which a language file may leave
            // equal for both.
            if (update_.Active()) {
                update_.Cancel();
                break;
            }
            UpdateData(true);
            update_.Start(imagePath);
            break;
        default:
            break;
    }
}

}  // namespace zephran
