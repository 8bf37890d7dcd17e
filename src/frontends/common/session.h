#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/zephran_app.h"
#include "app/zephran_dlg.h"
#include "frontends/common/demo_board.h"
#include "frontends/common/options.h"

namespace zephran {

// Everything a front end starts with: the paths, Config.ini, an optional simulated board and
// the main dialog, created but not yet initialised.
class Session {
public:
    Session(const Options& options, ui::HostServices& host, const Clock& clock);
    ~Session();

    // Starts the demo board when asked for and creates the main dialog; false with error set
    // when the demo board cannot start.
    bool Start(std::string& error);
    // Tells the user, once, what start-up found wrong with the settings (Config.ini that cannot
    // be saved, values put back to their defaults). The front end calls it once it can show a
    // message box.
    void TellSettingsNotice();

    CZephranDlg& Dialog() { return *dialog_; }
    CZephranApp& App() { return app_; }

private:
    Options options_;
    ui::HostServices& host_;
    const Clock& clock_;
    CZephranApp app_;
    DemoBoard demoBoard_;
    std::unique_ptr<CZephranDlg> dialog_;
    std::string settingsNotice_;
};

}  // namespace zephran
