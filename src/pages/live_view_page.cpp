#include "pages/live_view_page.h"

#include "link/messages.h"
#include "views/live_views.h"

namespace zephran {

LiveViewPage::LiveViewPage(PageHost& host, const PageServices& services, Identity identity,
                           ui::WindowTemplate windowTemplate, Buttons buttons)
    : Page(host, std::move(identity), std::move(windowTemplate)),
      views_(services.views),
      buttons_(buttons) {}

// The heading reference follows the yaw only while the 3-D attitude view is open; the live
// windows keep it.
void LiveViewPage::OnCommand(int id) {
    if (id == 0) return;
    if (id == buttons_.reset) Send(msg::DL_MINIAHRS_RESET);
    if (!views_) return;
    if (id == buttons_.attitudeView) views_->OpenAttitudeView();
    if (id == buttons_.positionView) views_->OpenPositionView();
    if (id == buttons_.scope) views_->OpenScope();
    if (id == buttons_.headingToYaw) views_->HeadingToYaw();
    if (id == buttons_.headingToZero) views_->HeadingToZero();
}

}  // namespace zephran
