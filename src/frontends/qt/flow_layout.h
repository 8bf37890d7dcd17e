#pragma once

#include <QLayout>
#include <vector>

namespace zephran::qt {

// Lays its items out left to right and starts a new line below where the width runs out, so a
// short window makes a page taller, never wider. With uniform cells every item is as wide as the
// widest, and the lines line up in columns.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(bool uniformCells);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // Everything on one line.
    QSize sizeHint() const override;
    // The widest item alone on its line.
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in rect (only measures unless apply); the height used.
    int Arrange(const QRect& rect, bool apply) const;
    QSize ItemSize(const QLayoutItem* item) const;
    int UniformWidth() const;
    // The spacing set, else the style's.
    int Gap() const;

    std::vector<QLayoutItem*> items_;
    bool uniformCells_;
};

}  // namespace zephran::qt
