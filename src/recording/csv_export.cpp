#include "recording/csv_export.h"

#include <cstdio>
#include <fstream>

#include "platform/file_system.h"
#include "recording/recording_columns.h"
#include "recording/recording_export.h"

namespace zephran {

bool WriteRecordingCsv(const Recording& recording, const std::string& out) {
    std::ofstream csv(PathFromUtf8(out), std::ios::binary | std::ios::trunc);
    if (!csv) return false;
    csv << "time (s),record";
    for (const RecordColumn& column : RecordColumns())
        csv << ',' << column.name;
    csv << '\n';
    for (std::size_t n = 0; n < recording.records.size(); ++n) {
        char time[32];
        std::snprintf(time, sizeof time, "%.3f", recording.times.seconds[n]);
        csv << time << ',' << n;
        for (const RecordColumn& column : RecordColumns())
            csv << ',' << FormatColumn(recording.records[n], column);
        csv << '\n';
    }
    csv.flush();
    return static_cast<bool>(csv);
}

int ExportRecordingCsv(const std::string& recordingPath, std::string out, std::string& result,
                       const TextSource& texts) {
    if (out.empty()) out = ExportPathFor(recordingPath, ExportFormat::Csv);
    return ExportRecordingAs(ExportFormat::Csv, recordingPath, out, result, texts);
}

}  // namespace zephran
