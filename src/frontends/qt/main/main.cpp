#include <cstdio>

#include "frontends/common/options.h"
#include "frontends/headless/headless.h"
#include "frontends/qt/desktop.h"
#include "recording/csv_export.h"
#include "recording/recording_export.h"

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
    // The exports are command-line tools for scripts: their lines stay in English whatever
    // language the desktop uses.
    if (options->exportCsv || options->exportRecording) {
        std::string result;
        const int status =
            options->exportCsv
                ? zephran::ExportRecordingCsv(*options->exportCsv, options->exportCsvOut, result,
                                              zephran::NoTexts{})
                : zephran::ExportRecording(*options->exportRecording, options->exportOut, result,
                                           zephran::NoTexts{});
        std::fprintf(status == 0 ? stdout : stderr, "%s\n", result.c_str());
        return status;
    }
    if (options->headless) return zephran::RunHeadless(*options, 0, stdout);
    return zephran::qt::RunDesktop(*options, argc, argv);
}
