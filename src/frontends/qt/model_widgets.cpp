#include "frontends/qt/model_widgets.h"

#include <algorithm>

#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalBlocker>

namespace zephran::qt {
namespace {

// Trees and lists sit on the window's own colour rather than the white of edit boxes.
void UseWindowBackground(QWidget& widget) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    widget.setPalette(palette);
}

}  // namespace

PageTreeWidget::PageTreeWidget(ui::TreeModel& model, QWidget* parent)
    : QTreeWidget(parent), model_(model) {
    setHeaderHidden(true);
    setColumnCount(1);
    UseWindowBackground(*this);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (current) model_.SelectItem(current->data(0, Qt::UserRole).toInt());
    });
    model_.changed.Connect([this] { Refresh(); });
    Refresh();
}

PageTreeWidget::~PageTreeWidget() {
    model_.changed.Connect(nullptr);
}

QSize PageTreeWidget::sizeHint() const {
    return {minimumWidth(), QTreeWidget::sizeHint().height()};
}

QTreeWidgetItem* PageTreeWidget::ItemOf(ui::TreeModel::Handle handle) const {
    const auto found = items_.find(handle);
    return found == items_.end() ? nullptr : found->second;
}

void PageTreeWidget::Refresh() {
    std::vector<Shape> shape;
    const std::function<void(ui::TreeModel::Handle)> visit = [&](ui::TreeModel::Handle handle) {
        const ui::TreeModel::Node* node = model_.Get(handle);
        shape.push_back({handle, node->parent, node->text, node->expanded});
        for (ui::TreeModel::Handle child : node->children)
            visit(child);
    };
    for (ui::TreeModel::Handle root : model_.Roots())
        visit(root);

    const QSignalBlocker blocker(this);
    if (shape != shape_) {
        shape_ = std::move(shape);
        Rebuild();
    }
    QTreeWidgetItem* selected = ItemOf(model_.GetSelectedItem());
    setCurrentItem(selected);
    if (!selected) clearSelection();
}

void PageTreeWidget::Rebuild() {
    clear();
    items_.clear();
    for (const Shape& node : shape_) {
        QTreeWidgetItem* parent = ItemOf(node.parent);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setText(0, QString::fromStdString(node.text));
        item->setData(0, Qt::UserRole, node.handle);
        items_[node.handle] = item;
    }
    for (const Shape& node : shape_)
        items_[node.handle]->setExpanded(node.expanded);
    // Wide enough for the longest text in this language and font, with room for a scroll bar.
    setMinimumWidth(sizeHintForColumn(0) + 2 * frameWidth() +
                    verticalScrollBar()->sizeHint().width());
}

LineListWidget::LineListWidget(ui::ListBoxModel& model, QWidget* parent)
    : QListWidget(parent), model_(model) {
    UseWindowBackground(*this);
    model_.changed.Connect([this] { Refresh(); });
    Refresh();
}

LineListWidget::~LineListWidget() {
    model_.changed.Connect(nullptr);
}

void LineListWidget::Refresh() {
    // Lines are only ever appended or all removed.
    const std::vector<std::string>& lines = model_.Lines();
    if (lines.size() < static_cast<std::size_t>(count())) clear();
    for (std::size_t i = static_cast<std::size_t>(count()); i < lines.size(); ++i)
        addItem(QString::fromStdString(lines[i]));
    scrollToBottom();
}

StatusPanes::StatusPanes(ui::StatusBarModel& model, QWidget* parent)
    : QStatusBar(parent), model_(model) {
    for (int pane = 0; pane < ui::StatusBarModel::kPanes; ++pane) {
        QWidget* widget = nullptr;
        if (pane == ui::StatusBarModel::kPanes - 1) {
            progress_ = new QProgressBar;
            progress_->setRange(0, 100);
            progress_->setTextVisible(false);
            widget = progress_;
        } else {
            auto* label = new QLabel;
            label->setTextFormat(Qt::PlainText);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            panes_.push_back(label);
            widget = label;
        }
        // The percentages alone decide the widths, never the texts.
        widget->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        widget->setMinimumWidth(0);
        addWidget(widget, ui::StatusBarModel::kWidthPercent[static_cast<std::size_t>(pane)]);
    }
    model_.changed.Connect([this] { refresh_.Request(); });
    Refresh();
}

StatusPanes::~StatusPanes() {
    model_.changed.Connect(nullptr);
}

QLabel* StatusPanes::Pane(int index) const {
    return (index >= 0 && index < static_cast<int>(panes_.size()))
               ? panes_[static_cast<std::size_t>(index)]
               : nullptr;
}

void StatusPanes::Refresh() {
    for (std::size_t pane = 0; pane < panes_.size(); ++pane) {
        const QString text = QString::fromStdString(model_.PaneText(static_cast<int>(pane)));
        panes_[pane]->setText(text);
        panes_[pane]->setToolTip(QString::fromStdString(model_.PaneTip(static_cast<int>(pane))));
    }
    progress_->setValue(model_.Progress());
    progress_->setToolTip(QString::fromStdString(model_.PaneTip(ui::StatusBarModel::kPanes - 1)));
    if (refreshed_) refreshed_();
}

MenuBinder::MenuBinder(QMenuBar& bar, ui::MenuBarModel& model,
                       std::function<void(unsigned)> onCommand)
    : QObject(&bar), bar_(bar), model_(model), onCommand_(std::move(onCommand)) {
    model_.changed.Connect([this] { Refresh(); });
    Refresh();
}

MenuBinder::~MenuBinder() {
    model_.changed.Connect(nullptr);
}

QAction* MenuBinder::Action(unsigned command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void MenuBinder::Refresh() {
    // The old menus may be the ones whose command is running: they go when it has returned.
    for (QMenu* menu : menus_)
        menu->deleteLater();
    menus_.clear();
    actions_.clear();
    bar_.clear();
    for (const ui::Menu::Item& item : model_.Bar().items) {
        if (item.popup) {
            QMenu* menu = bar_.addMenu(QString::fromStdString(item.text));
            menu->menuAction()->setEnabled(!item.grayed);
            Fill(*menu, *item.popup);
            menus_.push_back(menu);
        } else {
            AddCommand(bar_.addAction(QString::fromStdString(item.text)), item);
        }
    }
}

void MenuBinder::Fill(QMenu& menu, const ui::Menu& model) {
    for (const ui::Menu::Item& item : model.items) {
        if (item.popup) {
            QMenu* popup = menu.addMenu(QString::fromStdString(item.text));
            popup->menuAction()->setEnabled(!item.grayed);
            Fill(*popup, *item.popup);
        } else {
            AddCommand(menu.addAction(QString::fromStdString(item.text)), item);
        }
    }
}

void MenuBinder::AddCommand(QAction* action, const ui::Menu::Item& item) {
    action->setEnabled(!item.grayed);
    action->setCheckable(item.checked);
    action->setChecked(item.checked);
    actions_[item.command] = action;
    const unsigned command = item.command;
    const bool checked = item.checked;
    connect(action, &QAction::triggered, this, [this, action, command, checked] {
        // The model moves the check marks; Qt's own toggle is undone.
        action->setChecked(checked);
        QMetaObject::invokeMethod(
            this, [this, command] { onCommand_(command); }, Qt::QueuedConnection);
    });
}

PageArea::PageArea(QWidget* parent)
    : QScrollArea(parent), shelf_(new QWidget(this)), empty_(new QWidget) {
    shelf_->hide();
    setWidgetResizable(true);
    setWidget(empty_);
}

QSize PageArea::sizeHint() const {
    QSize largest;
    for (const auto& [page, widget] : pages_)
        largest = largest.expandedTo(widget->sizeHint());
    const int frame = 2 * frameWidth();
    return largest + QSize(frame, frame);
}

QSize PageArea::minimumSizeHint() const {
    int narrowest = 0;
    for (const auto& [page, widget] : pages_)
        narrowest = std::max(narrowest, widget->minimumSizeHint().width());
    const int frame = 2 * frameWidth();
    return {narrowest + frame + verticalScrollBar()->sizeHint().width(),
            QScrollArea::minimumSizeHint().height()};
}

WindowWidget& PageArea::Add(ui::Window& page) {
    WindowWidget*& widget = pages_[&page];
    if (!widget) {
        widget = new WindowWidget(page, WindowWidget::Role::Page, shelf_);
        updateGeometry();
    }
    return *widget;
}

void PageArea::Show(ui::Window* page) {
    QWidget* shown = page ? &Add(*page) : empty_;
    if (widget() == shown) return;
    if (QWidget* previous = takeWidget()) previous->setParent(shelf_);
    setWidget(shown);
    shown->show();
}

WindowWidget* PageArea::Current() const {
    return qobject_cast<WindowWidget*>(widget());
}

}  // namespace zephran::qt
