#pragma once

#include <string>

#include "pages/framework/live_view_page.h"
#include "records/ahrs_records.h"

namespace zephran {

// The AHRS view: the latest attitude and sensor values as text, the board reset and the buttons
// of the live windows.
class CDlgAHRS : public LiveViewPage {
public:
    enum : int { kLiveText = 1128, kAttitudeView = 1129, kHeadingToYaw = 1130 };
    enum : int { kHeadingToZero = 1131, kScope = 1132, kReset = 1133, kPositionView = 1134 };

    CDlgAHRS(PageHost& host, const PageServices& services, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    std::string liveText;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void ShowLiveText(std::string text);
};

// The live text of one AHRS live record.
std::string FormatAhrsLiveText(const AhrsLiveRecord& live);
// The live text when a GPS/INS board drives the record: every value in full, no norms.
std::string FormatGpsInsLiveText(const AhrsLiveRecord& live);

}  // namespace zephran
