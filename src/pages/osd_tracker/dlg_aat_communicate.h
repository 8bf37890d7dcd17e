#pragma once

#include <string>

#include "pages/framework/page.h"
#include "records/aat_tracker_records.h"

namespace zephran {

// The tracker's status as the page shows it: pitch and yaw in degrees, latitude and longitude,
// each quotient taken to single precision before it is printed, and the altitude as sent.
std::string FormatTrackerStatus(const AatStatusRecord& status);

// What the antenna tracker reports about itself, one text per status frame. The audio choice
// and its buttons are shown as the board's dialog has them but do nothing.
class CDlg_AAT_Communicate : public Page {
public:
    enum : int { kAudioGroup = 1600, kReceiveGroup = 1605, kReceived = 1606 };
    // The audio choice and its buttons.
    enum : int { kAudioNo = 1601, kAudioYes = 1602, kRead = 1603, kWrite = 1604 };

    CDlg_AAT_Communicate(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

}  // namespace zephran
