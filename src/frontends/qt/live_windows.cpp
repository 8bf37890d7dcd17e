#include "frontends/qt/live_windows.h"

#include <QApplication>

namespace zephran::qt {

LiveWindows::LiveWindows(views::LiveViews& views, QWidget* owner, std::function<bool()> quitting)
    : views_(views), owner_(owner), quitting_(std::move(quitting)) {
    views_.SetFrontEnd(this);
}

LiveWindows::~LiveWindows() {
    views_.SetFrontEnd(nullptr);
    for (QPointer<AttitudeGlWindow>& window : windows_)
        delete window.data();
}

AttitudeGlWindow* LiveWindows::Window(views::ViewKind kind) const {
    return windows_[Index(kind)].data();
}

void LiveWindows::ShowView(views::AttitudeView& view) {
    const views::ViewKind kind = view.Kind();
    auto* window = new AttitudeGlWindow(
        view, [this, kind](float w, float h) { views_.ViewResized(kind, w, h); },
        [this, kind] { views_.CloseView(kind); }, owner_ ? owner_->windowHandle() : nullptr);
    windows_[Index(kind)] = window;
    window->show();
}

void LiveWindows::DestroyView(views::AttitudeView& view) {
    QPointer<AttitudeGlWindow>& window = windows_[Index(view.Kind())];
    if (window) window->Dismiss();
    window = nullptr;
}

void LiveWindows::RedrawView(views::AttitudeView& view) {
    if (AttitudeGlWindow* window = Window(view.Kind())) window->RequestRedraw();
}

void LiveWindows::RunScope(views::CDlgScope& scope) {
    scope.InitDialog();
    if (scope.Ended() || (quitting_ && quitting_())) return;
    QWidget* parent = QApplication::activeModalWidget();
    ScopeDialog dialog(scope, parent ? parent : owner_.data());
    scope_ = &dialog;
    dialog.exec();
    scope_ = nullptr;
}

void LiveWindows::RefreshScope(views::CDlgScope&) {
    if (scope_) scope_->RefreshPlots();
}

}  // namespace zephran::qt
