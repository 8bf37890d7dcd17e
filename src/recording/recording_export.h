// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "link/text_source.h"

namespace zephran {

enum class ExportFormat { Csv, Gpx, Kml };

// The format an output file's extension names (".csv", ".gpx", ".kml", in any case).
std::optional<ExportFormat> ExportFormatOf(const std::string& out);

// The file chooser's filter for format in the language of texts: "CSV files (*.csv)|*.csv".
std::string ExportFilter(ExportFormat format, const TextSource& texts);

// The file beside a recording for format: its name with ".csv", ".gpx" or ".kml" for ".dat".
std::string ExportPathFor(const std::string& recordingPath, ExportFormat format);

// Reads a recording and writes it to out in format: every record as CSV, or the track as GPX or
// KML, which a recording without positions refuses. The result line says what was done, or why
// not, in the language of texts. The return value is 0 on success, 1 when nothing was written.
int ExportRecordingAs(ExportFormat format, const std::string& recordingPath, const std::string& out,
                      std::string& result, const TextSource& texts);

// The same in the format out's extension names; another extension is refused.
int ExportRecording(const std::string& recordingPath, const std::string& out, std::string& result,
                    const TextSource& texts);

}  // namespace zephran
