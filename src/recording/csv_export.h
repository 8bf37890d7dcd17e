#pragma once

#include <string>

#include "recording/recording_reader.h"

namespace zephran {

// Writes a recording as CSV: a header of column names with their units, then one row per
// record, starting with its time in seconds from the start and its number. False when out cannot
// be written.
bool WriteRecordingCsv(const Recording& recording, const std::string& out);

// Reads a recording and writes its CSV to out, or beside the recording when out is empty, as
// ExportRecording does.
int ExportRecordingCsv(const std::string& recordingPath, std::string out, std::string& result,
                       const TextSource& texts);

}  // namespace zephran
