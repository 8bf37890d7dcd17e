#include "frontends/common/session.h"

namespace zephran {

Session::Session(const Options& options, ui::HostServices& host, const Clock& clock)
    : options_(options), host_(host), clock_(clock), app_(ResolveAppPaths(options.appDir)) {}

Session::~Session() {
    dialog_.reset();
    demoBoard_.Stop();
}

bool Session::Start(std::string& error) {
    app_.PrepareSettings();
    PortDirectoryOptions ports;
    ports.explicitPaths = options_.ports;
    ports.extraPatterns = PortPatternsFromEnvironment();
    if (options_.demo) {
        const auto device = demoBoard_.Start(*options_.demo);
        if (!device) {
            error = "cannot start the simulated " + *options_.demo +
                    " board: " + demoBoard_.LastError();
            return false;
        }
        // The simulated board is the only port, found by the automatic scan.
        ports.explicitPaths = {*device};
        ports.extraPatterns.clear();
        app_.Settings().Write("PCSetting", "PortScanMode", "Auto");
        app_.Settings().Write("ProductSetting", "Product", *options_.demo);
    }
    dialog_ = std::make_unique<CZephranDlg>(host_, clock_, app_.Paths(), std::move(ports));
    return true;
}

}  // namespace zephran
