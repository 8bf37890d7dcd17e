#include "frontends/common/options.h"

#include <cstdlib>

namespace zephran {

std::string UsageText() {
    return "usage: zephran [options]\n"
           "  --app-dir DIR       keep Config.ini, Language/ and Log/ in DIR\n"
           "  --port PATH         use this serial device (repeatable); replaces the devices found\n"
           "  --demo [PRODUCT]    connect to a simulated board (AHRS unless PRODUCT is given)\n"
           "  --headless          run without windows, driven by commands on standard input\n"
           "  --virtual-time      headless: time moves only with 'wait'\n"
           "  --page KEY          show the page with this tree key (AHRS_Set, ...) after start\n"
           "  --open VIEW         open a live window after start (repeatable): attitude,\n"
           "                      position or scope; the scope, being modal, opens last\n"
           "  --screenshot FILE   save the main window as PNG and exit; each open live window\n"
           "                      goes beside it as FILE-attitude.png, -position.png, -scope.png\n"
           "  --after MS          wait MS milliseconds before the screenshot (default 1500)\n"
           "  --export-csv REC.dat [OUT.csv]  write a recording as CSV (beside it unless OUT is\n"
           "                      given) and exit\n"
           "  --help              show this text\n"
           "  --version           show the program's version\n"
           "Environment: ZEPHRAN_PORTS adds serial devices (colon-separated glob patterns).\n";
}

std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string& error) {
    Options options;
    const auto value = [&](int& i, const std::string& name) -> std::optional<std::string> {
        if (i + 1 >= argc) {
            error = name + " needs a value";
            return std::nullopt;
        }
        return std::string(argv[++i]);
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--app-dir") {
            options.appDir = value(i, arg);
            if (!options.appDir) return std::nullopt;
        } else if (arg == "--port") {
            const auto path = value(i, arg);
            if (!path) return std::nullopt;
            options.ports.push_back(*path);
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--virtual-time") {
            options.virtualTime = true;
        } else if (arg == "--demo") {
            options.demo = "AHRS";
            if (i + 1 < argc && argv[i + 1][0] != '-') options.demo = argv[++i];
        } else if (arg == "--page") {
            options.page = value(i, arg);
            if (!options.page) return std::nullopt;
        } else if (arg == "--open") {
            const auto view = value(i, arg);
            if (!view) return std::nullopt;
            if (*view != "attitude" && *view != "position" && *view != "scope") {
                error = "--open takes attitude, position or scope";
                return std::nullopt;
            }
            options.open.push_back(*view);
        } else if (arg == "--screenshot") {
            options.screenshot = value(i, arg);
            if (!options.screenshot) return std::nullopt;
        } else if (arg == "--after") {
            const auto ms = value(i, arg);
            if (!ms) return std::nullopt;
            char* end = nullptr;
            const long parsed = std::strtol(ms->c_str(), &end, 10);
            if (end == ms->c_str() || *end != '\0' || parsed < 0) {
                error = "--after needs a number of milliseconds";
                return std::nullopt;
            }
            options.screenshotAfterMs = static_cast<int>(parsed);
        } else if (arg == "--export-csv") {
            options.exportCsv = value(i, arg);
            if (!options.exportCsv) return std::nullopt;
            if (i + 1 < argc && argv[i + 1][0] != '-') options.exportCsvOut = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    return options;
}

std::string VersionText() {
    return std::string("zephran ") + ZEPHRAN_VERSION + "\n";
}

}  // namespace zephran
