#pragma once

#include "pages/framework/live_view_page.h"

namespace zephran {

// The GPS/INS view: the navigation output, raw sensors and GPS solution as three texts, the
// board reset and the heading reference of the 3-D views.
class CDlgGPSINSView : public LiveViewPage {
public:
    enum : int { kNavOutputText = 1201, kSensorsRawText = 1202, kGpsRawText = 1203 };
    enum : int { kAttitudeView = 1204, kHeadingToYaw = 1205, kHeadingToZero = 1206 };
    enum : int { kScope = 1207, kReset = 1208 };

    CDlgGPSINSView(PageHost& host, const PageServices& services, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;
};

}  // namespace zephran
