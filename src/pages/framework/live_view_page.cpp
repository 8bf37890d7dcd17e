#include "pages/framework/live_view_page.h"

#include "link/messages.h"
#include "ui/controls.h"
#include "ui/layout.h"
#include "views/live_views.h"

namespace zephran {

LiveViewPage::LiveViewPage(PageHost& host, const PageServices& services, Identity identity,
                           ui::WindowTemplate windowTemplate, const Buttons& buttons)
    : Page(host, std::move(identity), std::move(windowTemplate)),
      views_(services.views),
      buttons_(buttons) {}

std::vector<ui::LayoutItem> LiveViewPage::AddButtons(const Buttons& buttons,
                                                     std::initializer_list<Button Buttons::*> order,
                                                     ui::WindowTemplate& t) {
    std::vector<ui::LayoutItem> cells;
    for (Button Buttons::*member : order) {
        const Button& b = buttons.*member;
        t.controls.push_back(ui::Button(b.id, std::string(b.caption), std::string(b.key)));
        cells.push_back(ui::Item(b.id));
    }
    return cells;
}

// The heading reference follows the yaw only while the 3-D attitude view is open; the live
// windows keep it.
void LiveViewPage::OnCommand(int id) {
    if (id == 0) return;
    if (id == buttons_.reset.id) Send(msg::DL_MINIAHRS_RESET);
    if (!views_) return;
    if (id == buttons_.attitudeView.id) views_->OpenAttitudeView();
    if (id == buttons_.positionView.id) views_->OpenPositionView();
    if (id == buttons_.scope.id) views_->OpenScope();
    if (id == buttons_.headingToYaw.id) views_->HeadingToYaw();
    if (id == buttons_.headingToZero.id) views_->HeadingToZero();
}

}  // namespace zephran
