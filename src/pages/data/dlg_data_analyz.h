#pragma once

#include "pages/framework/page.h"
#include "pages/framework/page_services.h"
#include "recording/recording_export.h"

namespace zephran {

class LiveRecorder;
class ReplayLink;

// The live data recording page: the record kind, start and stop, the elapsed time and the Log
// folder; and the playback of a recording, with its export as CSV, GPX or KML.
class CDialog_Data_Analyz : public Page {
public:
    enum : int {
        kRecordingGroup = 1501,
        kKind = 1502,
        kStartStop = 1503,
        kLengthLabel = 1504,
        kElapsed = 1505,
        kOpenFolder = 1506,
        kPlaybackGroup = 1507,
        kOpenRecording = 1508,
        kRecordingName = 1509,
        kPlayPause = 1510,
        kSpeed = 1511,
        kPosition = 1512,
        kExportCsv = 1513,
        kExportGpx = 1514,
        kExportKml = 1515,
        kView = 1516,
    };

    CDialog_Data_Analyz(PageHost& host, const PageServices& services, Identity identity);

    void ApplyTexts() override;

protected:
    void OnCommand(int id) override;
    void OnInitDialog() override;
    void OnSelChange(int id) override;

private:
    // The button's caption and the elapsed time follow the recorder.
    void ShowState();
    void ShowPlayback();
    // Fills the speed list in the current language, keeping the selection.
    void ShowSpeeds();
    std::string PlayPauseCaption() const;
    void OpenRecording();
    // Asks where to save, proposing the file beside the recording, and exports there.
    void Export(ExportFormat format);

    LiveRecorder& recorder_;
    ReplayLink& replay_;
    const Clock& clock_;
    const std::string& logDir_;
    bool wasRecording_ = false;
};

}  // namespace zephran
