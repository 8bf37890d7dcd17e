// SPDX-License-Identifier: GPL-3.0-or-later
#include "frontends/headless/program.h"

#include <cstdio>

#include "frontends/common/options.h"
#include "frontends/headless/headless.h"
#include "platform/arguments.h"
#include "platform/process.h"
#include "recording/csv_export.h"
#include "recording/recording_export.h"

namespace zephran {

int RunProgram(int argc, char** argv, DesktopRunner desktop) {
    const std::vector<std::string> arguments = Utf8Arguments(argc, argv);
    std::vector<const char*> utf8Argv;
    for (const std::string& argument : arguments)
        utf8Argv.push_back(argument.c_str());
    std::string error;
    const auto options = ParseOptions(static_cast<int>(utf8Argv.size()), utf8Argv.data(), error);
    if (!options) {
        std::fprintf(stderr, "zephran: %s\n%s", error.c_str(), UsageText().c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    }
    // The exports are command-line tools for scripts: their lines stay in English whatever
    // language the desktop uses.
    if (options->exportCsv || options->exportRecording) {
        std::string result;
        const int status =
            options->exportCsv
                ? ExportRecordingCsv(*options->exportCsv, options->exportCsvOut, result, NoTexts{})
                : ExportRecording(*options->exportRecording, options->exportOut, result, NoTexts{});
        std::fprintf(status == 0 ? stdout : stderr, "%s\n", result.c_str());
        return status;
    }
    if (options->headless) {
        // The protocol's lines end in "\n" alone.
        SetBinaryMode(stdout);
        return RunHeadless(*options, 0, stdout);
    }
    if (!desktop) {
        std::fputs("zephran: this build has no desktop; run it with --headless\n", stderr);
        return 2;
    }
    return desktop(*options, argc, argv);
}

}  // namespace zephran
