#include <cstdio>

#include "frontends/common/options.h"
#include "frontends/headless/headless.h"
#include "frontends/qt/desktop.h"

int main(int argc, char** argv) {
    std::string error;
    const auto options = zephran::ParseOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "zephran: %s\n%s", error.c_str(), zephran::UsageText().c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(zephran::UsageText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(zephran::VersionText().c_str(), stdout);
        return 0;
    }
    if (options->headless) return zephran::RunHeadless(*options, 0, stdout);
    return zephran::qt::RunDesktop(*options, argc, argv);
}
