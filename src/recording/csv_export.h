#pragma once

#include <string>

#include "recording/recording_reader.h"

namespace zephran {

// Writes a recording as CSV: a header of column names with their units, then one row per
// record. False when out cannot be written.
bool WriteRecordingCsv(const Recording& recording, const std::string& out);

// The CSV file beside a recording: its name with ".csv" for ".dat".
std::string CsvPathFor(const std::string& recordingPath);

// Reads a recording and writes its CSV; the result line says what was done, or why not, in the
// language of texts. The return value is 0 on success, 1 when the recording cannot be read or
// the CSV written.
int ExportRecordingCsv(const std::string& recordingPath, std::string out, std::string& result,
                       const TextSource& texts);

}  // namespace zephran
