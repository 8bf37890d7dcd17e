#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "frontends/qt/attitude_gl_window.h"
#include "frontends/qt/scope_widget.h"
#include "views/live_views.h"

namespace zephran::qt {

// The desktop's live windows: the scope dialog and the 3-D view windows of the main window's
// views owner, for which it is the front end while it lives. The windows belong to owner.
class LiveWindows : public views::ViewsFrontEnd {
public:
    // quitting: whether the application is leaving its loops; no modal window opens then.
    LiveWindows(views::LiveViews& views, QWidget* owner, std::function<bool()> quitting);
    ~LiveWindows() override;
    LiveWindows(const LiveWindows&) = delete;
    LiveWindows& operator=(const LiveWindows&) = delete;

    // The window of an open 3-D view, or null.
    AttitudeGlWindow* Window(views::ViewKind kind) const;
    // The scope dialog while it runs, or null.
    ScopeDialog* Scope() const { return scope_; }

    // views::ViewsFrontEnd
    void ShowView(views::AttitudeView& view) override;
    void DestroyView(views::AttitudeView& view) override;
    void RedrawView(views::AttitudeView& view) override;
    void RunScope(views::CDlgScope& scope) override;
    void RefreshScope(views::CDlgScope& scope) override;

private:
    static std::size_t Index(views::ViewKind kind) { return static_cast<std::size_t>(kind); }

    views::LiveViews& views_;
    QPointer<QWidget> owner_;
    std::function<bool()> quitting_;
    std::array<QPointer<AttitudeGlWindow>, 2> windows_;
    ScopeDialog* scope_ = nullptr;
};

}  // namespace zephran::qt
