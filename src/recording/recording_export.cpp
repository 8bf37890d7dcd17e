// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/recording_export.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/file_system.h"
#include "recording/csv_export.h"
#include "recording/map_export.h"
#include "recording/track.h"

namespace zephran {
namespace {

struct FormatName {
    ExportFormat format;
    const char* extension;
};
constexpr FormatName kFormats[] = {
    {ExportFormat::Csv, ".csv"},
    {ExportFormat::Gpx, ".gpx"},
    {ExportFormat::Kml, ".kml"},
};

std::string CannotWrite(const std::string& out, const TextSource& texts) {
    return FillIn(AddedText(texts, "Recordings", "Cannot Write Export", "Cannot write %1"), {out});
}

// Writes the track; false with result set when there is none or it cannot be written.
bool WriteTrack(const Recording& recording, const std::string& recordingPath, ExportFormat format,
                const std::string& out, std::string& result, const TextSource& texts) {
    const std::vector<TrackPoint> track = TrackOf(recording);
    if (track.empty()) {
        result = AddedText(texts, "Recordings", "No Positions",
                           "The recording holds no position (no record has a GPS fix): there is "
                           "no track for GPX or KML.");
        return false;
    }
    const std::string name = Utf8FromPath(PathFromUtf8(recordingPath).stem());
    const bool written =
        format == ExportFormat::Gpx ? WriteGpx(track, name, out) : WriteKml(track, name, out);
    if (!written) {
        result = CannotWrite(out, texts);
        return false;
    }
    result =
        FillIn(AddedText(texts, "Recordings", "Track Written", "%1 track points written to %2"),
               {std::to_string(track.size()), out});
    return true;
}

}  // namespace

std::optional<ExportFormat> ExportFormatOf(const std::string& out) {
    std::string extension = Utf8FromPath(PathFromUtf8(out).extension());
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const FormatName& name : kFormats) {
        if (extension == name.extension) return name.format;
    }
    return std::nullopt;
}

std::string ExportFilter(ExportFormat format, const TextSource& texts) {
    switch (format) {
        case ExportFormat::Csv:
            return AddedText(texts, "Recordings", "CSV Filter", "CSV files (*.csv)|*.csv");
        case ExportFormat::Gpx:
            return AddedText(texts, "Recordings", "GPX Filter", "GPX tracks (*.gpx)|*.gpx");
        case ExportFormat::Kml:
            return AddedText(texts, "Recordings", "KML Filter", "KML tracks (*.kml)|*.kml");
    }
    return {};
}

std::string ExportPathFor(const std::string& recordingPath, ExportFormat format) {
    const std::string extension =
        std::ranges::find(kFormats, format, &FormatName::format)->extension;
    const std::string suffix = ".dat";
    if (recordingPath.size() > suffix.size() && recordingPath.ends_with(suffix))
        return recordingPath.substr(0, recordingPath.size() - suffix.size()) + extension;
    return recordingPath + extension;
}

int ExportRecording(const std::string& recordingPath, const std::string& out, std::string& result,
                    const TextSource& texts) {
    const auto format = ExportFormatOf(out);
    if (format) return ExportRecordingAs(*format, recordingPath, out, result, texts);
    result = FillIn(AddedText(texts, "Recordings", "Unknown Export",
                              "Cannot export to %1: the name must end in .csv, .gpx or .kml."),
                    {out});
    return 1;
}

int ExportRecordingAs(ExportFormat format, const std::string& recordingPath, const std::string& out,
                      std::string& result, const TextSource& texts) {
    Recording recording;
    if (!ReadRecording(recordingPath, recording)) {
        result = CannotReadRecording(recordingPath, texts);
        return 1;
    }
    if (format != ExportFormat::Csv) {
        if (!WriteTrack(recording, recordingPath, format, out, result, texts)) return 1;
    } else if (!WriteRecordingCsv(recording, out)) {
        result = CannotWrite(out, texts);
        return 1;
    } else {
        result = FillIn(AddedText(texts, "Recordings", "CSV Written", "%1 records written to %2"),
                        {std::to_string(recording.records.size()), out});
    }
    if (recording.damage.Any()) result += "\n" + DescribeDamage(recording.damage, texts);
    if (!recording.times.AllTimed()) result += "\n" + DescribeTimes(recording.times, texts);
    return 0;
}

}  // namespace zephran
