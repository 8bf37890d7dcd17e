#pragma once

#include <QObject>
#include <QPointer>
#include <QProxyStyle>

#include "frontends/qt/focus_ring.h"

class QMainWindow;
class QMenuBar;

namespace zephran::qt {

// Keyboard use of the desktop: F10, or Alt pressed and released alone, opens the menu bar,
// whose titles the arrows then walk and which Escape leaves; Enter presses the focused button
// as Space does; and whatever control has the focus wears a focus ring, so the focus shows on
// buttons, check boxes and the tree as well as on text boxes. It must not outlive the window's
// menu bar.
class KeyboardNavigation : public QObject {
public:
    explicit KeyboardNavigation(QMainWindow& window);
    ~KeyboardNavigation() override;

    // The ring on the control with the focus; null or without a target while none wears it.
    const FocusRing* Ring() const { return ring_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Enters the menu bar's keyboard mode, as a lone Alt does: its first title highlighted.
    void OpenMenuBar();
    void FollowFocus(QWidget* now);

    // The application's style for the menu bar: a lone Alt opens it, and the title the keyboard
    // is on is highlighted as an open one is (Fusion highlights open titles only).
    class MenuBarStyle : public QProxyStyle {
    public:
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                      QStyleHintReturn* returned) const override;
        void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                         const QWidget* widget) const override;
    };

    QMainWindow& window_;
    QMenuBar& bar_;
    MenuBarStyle style_;
    // The ring is a child of the focused control, so it goes when that control goes.
    QPointer<FocusRing> ring_;
    QPointer<QWidget> button_;
};

}  // namespace zephran::qt
