#include "frontends/qt/flow_layout.h"

#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace zephran::qt {

FlowLayout::FlowLayout(bool uniformCells) : uniformCells_(uniformCells) {
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
    for (QLayoutItem* item : items_)
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item) {
    items_.push_back(item);
    invalidate();
}

int FlowLayout::count() const {
    return static_cast<int>(items_.size());
}

QLayoutItem* FlowLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? items_[static_cast<std::size_t>(index)] : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = items_[static_cast<std::size_t>(index)];
    items_.erase(items_.begin() + index);
    invalidate();
    return item;
}

int FlowLayout::Gap() const {
    if (spacing() >= 0) return spacing();
    const QWidget* widget = parentWidget();
    const int styled =
        widget ? widget->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) : -1;
    return styled >= 0 ? styled : 6;
}

int FlowLayout::UniformWidth() const {
    int width = 0;
    for (const QLayoutItem* item : items_) {
        if (!item->isEmpty()) width = std::max(width, item->sizeHint().width());
    }
    return width;
}

QSize FlowLayout::ItemSize(const QLayoutItem* item) const {
    QSize size = item->sizeHint();
    if (uniformCells_) size.setWidth(UniformWidth());
    if (item->hasHeightForWidth()) size.setHeight(item->heightForWidth(size.width()));
    return size;
}

int FlowLayout::heightForWidth(int width) const {
    return Arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::sizeHint() const {
    QSize size;
    int visible = 0;
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty()) continue;
        const QSize itemSize = ItemSize(item);
        size.rwidth() += itemSize.width();
        size.setHeight(std::max(size.height(), itemSize.height()));
        ++visible;
    }
    size.rwidth() += std::max(0, visible - 1) * Gap();
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize FlowLayout::minimumSize() const {
    QSize size;
    for (const QLayoutItem* item : items_) {
        if (!item->isEmpty()) size = size.expandedTo(item->minimumSize());
    }
    if (uniformCells_) size.setWidth(std::max(size.width(), UniformWidth()));
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int FlowLayout::Arrange(const QRect& rect, bool apply) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int gap = Gap();
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    for (QLayoutItem* item : items_) {
        if (item->isEmpty()) continue;
        QSize size = ItemSize(item);
        // An item wider than the whole line gets the line and shrinks as far as it can.
        size.setWidth(std::max(std::min(size.width(), area.width()), item->minimumSize().width()));
        if (x > area.x() && x + size.width() > area.x() + area.width()) {
            x = area.x();
            y += lineHeight + gap;
            lineHeight = 0;
        }
        if (item->hasHeightForWidth()) size.setHeight(item->heightForWidth(size.width()));
        if (apply) item->setGeometry(QRect(QPoint(x, y), size));
        x += size.width() + gap;
        lineHeight = std::max(lineHeight, size.height());
    }
    const QMargins margins = contentsMargins();
    return y + lineHeight - rect.y() + margins.bottom();
}

}  // namespace zephran::qt
