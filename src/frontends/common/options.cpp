#include "frontends/common/options.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "link/port_address.h"

namespace zephran {

std::string UsageText() {
    return "usage: zephran [options]\n"
           "  --app-dir DIR       keep Config.ini, Language/ and Log/ in DIR\n"
           "  --port PORT         use this port (repeatable); replaces the devices found. PORT is\n"
           "                      a device path, tcp://HOST:PORT (or socket://) for a raw bridge\n"
           "                      or rfc2217://HOST:PORT; an IPv6 HOST goes in brackets\n"
           "  --demo [PRODUCT]    connect to a simulated board (AHRS unless PRODUCT is given)\n"
           "  --headless          run without windows, driven by commands on standard input\n"
           "  --virtual-time      headless: time moves only with 'wait'\n"
           "  --page KEY          show the page with this tree key (AHRS_Set, ...) after start\n"
           "  --open VIEW         open a live window after start (repeatable): attitude,\n"
           "                      position or scope; the scope, being modal, opens last\n"
           "  --view REC.dat      open the flight-log viewer on a recording after start\n"
           "  --screenshot FILE   save the main window as PNG and exit; each open live window\n"
           "                      goes beside it as FILE-attitude.png, -position.png, -scope.png,\n"
           "                      a viewer as FILE-viewer.png\n"
           "  --after MS          wait MS milliseconds before the screenshot (default 1500)\n"
           "  --export-csv REC.dat [OUT.csv]  write a recording as CSV (beside it unless OUT is\n"
           "                      given) and exit\n"
           "  --export REC.dat OUT  write a recording by OUT's extension and exit: .csv (every\n"
           "                      record), .gpx or .kml (the track of a GPS/INS recording)\n"
           "  --help              show this text\n"
           "  --version           show the program's version\n"
           "Environment: ZEPHRAN_PORTS adds serial devices (colon-separated glob patterns).\n";
}

namespace {

struct Flag {
    std::string_view name;
    bool Options::*member;
};
constexpr Flag kFlags[] = {{"--headless", &Options::headless},
                           {"--virtual-time", &Options::virtualTime},
                           {"--help", &Options::help},
                           {"-h", &Options::help},
                           {"--version", &Options::version}};

// Options whose value is kept as it is given.
struct Text {
    std::string_view name;
    std::optional<std::string> Options::*member;
};
constexpr Text kTexts[] = {
    {"--app-dir", &Options::appDir},        {"--page", &Options::page},
    {"--screenshot", &Options::screenshot}, {"--view", &Options::view},
    {"--export-csv", &Options::exportCsv},  {"--export", &Options::exportRecording}};

// Options whose value is checked or collected.
constexpr std::string_view kOtherValued[] = {"--port", "--open", "--after"};

}  // namespace

std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string& error) {
    Options options;
    const auto fail = [&error](std::string message) -> std::optional<Options> {
        error = std::move(message);
        return std::nullopt;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        // An optional word after an option: the next argument unless it is an option itself.
        const auto optionalWord = [&]() -> std::optional<std::string> {
            if (i + 1 < argc && argv[i + 1][0] != '-') return argv[++i];
            return std::nullopt;
        };
        if (const auto* flag = std::ranges::find(kFlags, arg, &Flag::name);
            flag != std::end(kFlags)) {
            options.*(flag->member) = true;
            continue;
        }
        if (arg == "--demo") {
            options.demo = optionalWord().value_or("AHRS");
            continue;
        }
        const auto* text = std::ranges::find(kTexts, arg, &Text::name);
        if (text == std::end(kTexts) &&
            std::ranges::find(kOtherValued, arg) == std::end(kOtherValued))
            return fail("unknown option " + arg);
        if (i + 1 >= argc) return fail(arg + " needs a value");
        const std::string value = argv[++i];
        if (text != std::end(kTexts)) {
            options.*(text->member) = value;
            if (arg == "--export-csv") options.exportCsvOut = optionalWord().value_or("");
            if (arg == "--export") {
                if (i + 1 >= argc) return fail("--export needs a recording and an output file");
                options.exportOut = argv[++i];
            }
        } else if (arg == "--port") {
            const ParsedPortAddress port = ParsePortAddress(value);
            if (!port.Ok()) return fail("--port: " + port.error);
            options.ports.push_back(port.address.Text());
        } else if (arg == "--open") {
            if (value != "attitude" && value != "position" && value != "scope")
                return fail("--open takes attitude, position or scope");
            options.open.push_back(value);
        } else {
            char* end = nullptr;
            // long long: a long has 32 bits on Windows, where an overflow would read as INT_MAX.
            const long long parsed = std::strtoll(value.c_str(), &end, 10);
            if (end == value.c_str() || *end != '\0' || parsed < 0 || parsed > INT_MAX)
                return fail("--after needs a number of milliseconds");
            options.screenshotAfterMs = static_cast<int>(parsed);
        }
    }
    return options;
}

std::string VersionText() {
    return std::string("zephran ") + ZEPHRAN_VERSION + "\n";
}

}  // namespace zephran
