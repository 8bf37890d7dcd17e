#include "recording/csv_export.h"

#include <fstream>

#include "recording/recording_columns.h"

namespace zephran {

bool WriteRecordingCsv(const Recording& recording, const std::string& out) {
    std::ofstream csv(out, std::ios::binary | std::ios::trunc);
    if (!csv) return false;
    csv << "record";
    for (const RecordColumn& column : RecordColumns())
        csv << ',' << column.name;
    csv << '\n';
    for (std::size_t n = 0; n < recording.records.size(); ++n) {
        csv << n;
        for (const RecordColumn& column : RecordColumns())
            csv << ',' << FormatColumn(recording.records[n], column);
        csv << '\n';
    }
    csv.flush();
    return static_cast<bool>(csv);
}

std::string CsvPathFor(const std::string& recordingPath) {
    const std::string suffix = ".dat";
    if (recordingPath.size() > suffix.size() && recordingPath.ends_with(suffix))
        return recordingPath.substr(0, recordingPath.size() - suffix.size()) + ".csv";
    return recordingPath + ".csv";
}

int ExportRecordingCsv(const std::string& recordingPath, std::string out, std::string& result,
                       const TextSource& texts) {
    Recording recording;
    if (!ReadRecording(recordingPath, recording)) {
        result = CannotReadRecording(recordingPath, texts);
        return 1;
    }
    if (out.empty()) out = CsvPathFor(recordingPath);
    if (!WriteRecordingCsv(recording, out)) {
        result =
            FillIn(AddedText(texts, "Recordings", "Cannot Write CSV", "Cannot write %1"), {out});
        return 1;
    }
    result = FillIn(AddedText(texts, "Recordings", "CSV Written", "%1 records written to %2"),
                    {std::to_string(recording.records.size()), out});
    if (recording.damage.Any()) result += "\n" + DescribeDamage(recording.damage, texts);
    return 0;
}

}  // namespace zephran
