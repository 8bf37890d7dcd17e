#pragma once

#include <string>

#include "app/page.h"
#include "pages/ahrs/ahrs_records.h"

namespace zephran {

// The AHRS view: the latest attitude and sensor values as text, the board reset and the
// heading reference that the 3-D views subtract from the yaw.
class CDlgAHRS : public Page {
public:
    enum : int { kLiveText = 1128, kAttitudeView = 1129, kHeadingToYaw = 1130 };
    enum : int { kHeadingToZero = 1131, kScope = 1132, kReset = 1133, kPositionView = 1134 };

    CDlgAHRS(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    std::string liveText;
    float headingReference = 0.0f;  // degrees
    // Whether the 3-D attitude view is open; the heading can follow the yaw only then.
    bool attitudeViewOpen = false;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;
};

// The live text of one AHRS live record.
std::string FormatAhrsLiveText(const AhrsLiveRecord& live);

}  // namespace zephran
