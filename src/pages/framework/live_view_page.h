#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "pages/framework/page.h"
#include "pages/framework/page_services.h"

namespace zephran {

// A page of live values with the board's reset and the buttons of the live windows: the 3-D
// views, the scope and the heading reference the 3-D views subtract from the yaw (both kept by
// the main window's views, src/views/live_views.h). A button the page lacks has id 0.
class LiveViewPage : public Page {
public:
    struct Button {
        int id = 0;
        std::string_view caption, key;
    };
    struct Buttons {
        Button reset, attitudeView, positionView, scope, headingToYaw, headingToZero;
    };

    // Adds the named buttons to a template in the order given; returns their layout cells.
    static std::vector<ui::LayoutItem> AddButtons(const Buttons& buttons,
                                                  std::initializer_list<Button Buttons::*> order,
                                                  ui::WindowTemplate& t);

protected:
    LiveViewPage(PageHost& host, const PageServices& services, Identity identity,
                 ui::WindowTemplate windowTemplate, const Buttons& buttons);

    void OnCommand(int id) override;

private:
    views::LiveViews* views_;
    Buttons buttons_;
};

}  // namespace zephran
