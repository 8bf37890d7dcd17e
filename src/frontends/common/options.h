#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zephran {

// The command line shared by the desktop and the headless front end.
struct Options {
    std::optional<std::string> appDir;      // --app-dir DIR
    std::vector<std::string> ports;         // --port PORT, repeatable: a path or an address
    bool headless = false;                  // --headless
    bool virtualTime = false;               // --virtual-time (headless)
    std::optional<std::string> demo;        // --demo [PRODUCT]; "AHRS" when no product is given
    std::optional<std::string> page;        // --page KEY: the page shown after start
    std::vector<std::string> open;          // --open VIEW, repeatable: attitude, position, scope
    std::optional<std::string> view;        // --view REC.dat: the viewer opened after start
    std::optional<std::string> screenshot;  // --screenshot FILE
    int screenshotAfterMs = 1500;           // --after MS
    bool help = false;                      // --help
    bool version = false;                   // --version
    // --export-csv REC.dat [OUT.csv]: writes the recording as CSV and exits
    std::optional<std::string> exportCsv;
    std::string exportCsvOut;
    // --export REC.dat OUT: writes the recording in the format OUT's extension names and exits
    std::optional<std::string> exportRecording;
    std::string exportOut;
};

// Parses argv; on a mistake returns nothing and sets error.
std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string& error);

// The --help text.
std::string UsageText();
// The --version text: "zephran VERSION".
std::string VersionText();

}  // namespace zephran
