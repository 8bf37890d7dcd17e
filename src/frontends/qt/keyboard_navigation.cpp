#include "frontends/qt/keyboard_navigation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QShortcut>
#include <QStyleOption>

namespace zephran::qt {
namespace {

// Buttons that Enter presses: push buttons and the flat ones of clickable labels, not check
// boxes or radio buttons.
bool PressedByEnter(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) &&
           !qobject_cast<const QCheckBox*>(widget) && !qobject_cast<const QRadioButton*>(widget);
}

// Menus show their own highlight, and a window has no edge of its own to ring.
bool Ringed(const QWidget* widget) {
    return widget && !widget->isWindow() && !qobject_cast<const QMenuBar*>(widget) &&
           !qobject_cast<const QMenu*>(widget);
}

}  // namespace

int KeyboardNavigation::MenuBarStyle::styleHint(StyleHint hint, const QStyleOption* option,
                                                const QWidget* widget,
                                                QStyleHintReturn* returned) const {
    if (hint == SH_MenuBar_AltKeyNavigation) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returned);
}

void KeyboardNavigation::MenuBarStyle::drawControl(ControlElement element,
                                                   const QStyleOption* option, QPainter* painter,
                                                   const QWidget* widget) const {
    // The menu bar has the focus only while the keyboard walks it.
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuBarItem && item && (item->state & State_Selected) && widget &&
        widget->hasFocus()) {
        QStyleOptionMenuItem walked = *item;
        walked.state |= State_Sunken;
        QProxyStyle::drawControl(element, &walked, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

KeyboardNavigation::KeyboardNavigation(QMainWindow& window)
    : window_(window), bar_(*window.menuBar()) {
    bar_.setStyle(&style_);
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window_);
    connect(f10, &QShortcut::activated, this, [this] { OpenMenuBar(); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { FollowFocus(now); });
    FollowFocus(QApplication::focusWidget());
}

KeyboardNavigation::~KeyboardNavigation() {
    if (button_) button_->removeEventFilter(this);
    delete ring_;
    bar_.setStyle(nullptr);
}

void KeyboardNavigation::OpenMenuBar() {
    const QList<QAction*> titles = bar_.actions();
    if (titles.isEmpty()) return;
    // Leaving the first menu with Escape leaves the bar in its keyboard mode, on that title.
    bar_.setActiveAction(titles.first());
    if (QMenu* menu = titles.first()->menu()) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(menu, &escape);
    }
}

void KeyboardNavigation::FollowFocus(QWidget* now) {
    if (button_) button_->removeEventFilter(this);
    button_ = PressedByEnter(now) ? now : nullptr;
    if (button_) button_->installEventFilter(this);

    if (!ring_) ring_ = new FocusRing;
    ring_->Follow(Ringed(now) ? now : nullptr);
}

bool KeyboardNavigation::eventFilter(QObject* watched, QEvent* event) {
    if (watched == button_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            static_cast<QAbstractButton*>(button_.data())->click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zephran::qt
