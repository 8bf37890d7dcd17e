#pragma once

#include <string>

#include "pages/framework/page.h"
#include "pages/framework/page_services.h"

namespace zephran {

class FirmwareUpdate;

// The firmware update page: the image path, Browse, the start button, which reads as the
// cancel text while an update runs, and how the last update ended.
class CIAPUpdateDlg : public Page {
public:
    enum : int { kPrompt = 1401, kPath = 1402, kBrowse = 1403, kStart = 1404, kOutcome = 1405 };

    CIAPUpdateDlg(PageHost& host, const PageServices& services, Identity identity);

    void ApplyTexts() override;

    std::string imagePath;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;

private:
    // The start button's text, Browse, the path box and the outcome follow the update's state.
    void ShowState();

    FirmwareUpdate& update_;
};

}  // namespace zephran
