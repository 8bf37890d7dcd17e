#include "frontends/qt/focus_ring.h"

#include <QEvent>
#include <QPainter>

namespace zephran::qt {

FocusRing::FocusRing() {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void FocusRing::Follow(QWidget* widget) {
    if (target_) target_->removeEventFilter(this);
    target_ = widget;
    if (!target_) {
        hide();
        return;
    }
    if (parentWidget() != target_) setParent(target_);
    target_->installEventFilter(this);
    setGeometry(target_->rect());
    raise();
    show();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    // Children the widget makes later would cover the ring.
    if (watched == target_ &&
        (event->type() == QEvent::Resize || event->type() == QEvent::ChildAdded)) {
        setGeometry(target_->rect());
        raise();
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 2, 2);
}

}  // namespace zephran::qt
