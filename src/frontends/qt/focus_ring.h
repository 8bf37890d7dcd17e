#pragma once

#include <QPointer>
#include <QWidget>

namespace zephran::qt {

// A ring in the highlight colour just inside the edges of the widget it follows, drawn over the
// widget: the focus shows on every kind of control, also on one that fills its pane to the
// edges, where a frame around it would be cut away. It lives as a child of that widget.
class FocusRing : public QWidget {
public:
    FocusRing();

    // Moves onto widget; null hides the ring.
    void Follow(QWidget* widget);
    QWidget* Target() const { return target_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> target_;
};

}  // namespace zephran::qt
