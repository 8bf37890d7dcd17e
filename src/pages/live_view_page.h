#pragma once

#include "app/page.h"
#include "app/page_services.h"

namespace zephran {

// A page of live values with the board's reset and the buttons of the live windows: the 3-D
// views, the scope and the heading reference the 3-D views subtract from the yaw (both kept by
// the main window's views, src/views/live_views.h). A button the page lacks is 0.
class LiveViewPage : public Page {
public:
    struct Buttons {
        int reset, attitudeView, positionView, scope, headingToYaw, headingToZero;
    };

protected:
    LiveViewPage(PageHost& host, const PageServices& services, Identity identity,
                 ui::WindowTemplate windowTemplate, Buttons buttons);

    void OnCommand(int id) override;

private:
    views::LiveViews* views_;
    Buttons buttons_;
};

}  // namespace zephran
