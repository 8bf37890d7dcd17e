#pragma once

#include "app/page.h"

namespace zephran {

class LiveRecorder;

// The live data recording page: the record kind, start and stop, the elapsed time and the Log
// folder.
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
    };

    CDialog_Data_Analyz(PageHost& host, Identity identity);

    void ApplyTexts() override;

protected:
    void OnCommand(int id) override;
    void OnInitDialog() override;

private:
    // The button's caption and the elapsed time follow the recorder.
    void ShowState();

    LiveRecorder& recorder_;
    bool wasRecording_ = false;
};

}  // namespace zephran
