#include "frontends/common/session.h"

#include <utility>

#include "platform/process.h"

namespace zephran {

Session::Session(const Options& options, ui::HostServices& host, const Clock& clock)
    : options_(options), host_(host), clock_(clock), app_(ResolveAppPaths(options.appDir)) {}

Session::~Session() {
    dialog_.reset();
    demoBoard_.Stop();
}

bool Session::Start(std::string& error) {
    // A write beyond a file-size limit then fails like one to a full disk, which the recording
    // reports, instead of ending the program.
    IgnoreFileSizeLimit();
    settingsNotice_ = app_.PrepareSettings();
    PortDirectoryOptions ports;
    ports.explicitPaths = options_.ports;
    ports.extraPatterns = PortPatternsFromEnvironment();
    std::optional<std::string> demoDevice;
    if (options_.demo) {
        std::string why;
        demoDevice = demoBoard_.Start(*options_.demo, why);
        if (!demoDevice) {
            error = "cannot start the simulated " + *options_.demo + " board: " + why;
            return false;
        }
        // The simulated board is the only port, found by the automatic scan.
        ports.explicitPaths = {*demoDevice};
        ports.extraPatterns.clear();
    }
    dialog_ = std::make_unique<CZephranDlg>(host_, clock_, app_.Paths(), std::move(ports));
    if (demoDevice) {
        // Through the dialog's own settings, which keep the values even when they cannot be
        // saved.
        dialog_->Settings().Write("PCSetting", "PortScanMode", "Auto");
        dialog_->Settings().Write("ProductSetting", "Product", *options_.demo);
    }
    return true;
}

void Session::TellSettingsNotice() {
    if (!settingsNotice_.empty()) host_.MessageBox(std::exchange(settingsNotice_, {}));
}

}  // namespace zephran
