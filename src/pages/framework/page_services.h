#pragma once

#include <string>

#include "platform/clock.h"

namespace zephran {

class FirmwareUpdate;
class LiveRecorder;
class ReplayLink;
namespace views {
class LiveViews;
}

// What a few pages reach beyond the page host: the firmware update, the recorder and its
// playback, the live windows, the clock and the Log folder. Pages that need none of these are
// made without them.
struct PageServices {
    FirmwareUpdate& update;
    LiveRecorder& recorder;
    ReplayLink& replay;
    views::LiveViews* views;  // null where there are no live windows
    const Clock& clock;
    const std::string& logDir;
};

}  // namespace zephran
