#include "frontends/qt/window_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>

#include "frontends/qt/flow_layout.h"

namespace zephran::qt {
namespace {

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList Entries(const ui::Control& control) {
    QStringList entries;
    for (const std::string& entry : control.entries)
        entries.append(ToQt(entry));
    return entries;
}

QStringList ItemsOf(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items.append(combo.itemText(i));
    return items;
}

QStringList ItemsOf(const QListWidget& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items.append(list.item(i)->text());
    return items;
}

// Lists are refilled only when their entries differ, so a selection alone changes nothing else.
template <typename List>
void SyncEntries(List& list, const ui::Control& control) {
    const QStringList entries = Entries(control);
    if (ItemsOf(list) != entries) {
        list.clear();
        list.addItems(entries);
    }
}

template <typename Ranged>
void SyncRange(Ranged* widget, const ui::Control& control) {
    widget->setRange(std::min(control.rangeMin, control.rangeMax),
                     std::max(control.rangeMin, control.rangeMax));
    widget->setValue(control.position);
}

void SyncText(QWidget* widget, const ui::Control& control) {
    const QString text = ToQt(control.text);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setReadOnly(control.readOnly);
        if (line->text() != text) line->setText(text);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
        box->setReadOnly(control.readOnly);
        if (box->toPlainText() != text) {
            box->setPlainText(text);
            box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
        button->setChecked(control.checked);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(
            control.note.empty() ? text : QStringLiteral("%1 (%2)").arg(text, ToQt(control.note)));
    }
}

// A box not read from the board shows its text greyed; a box the user edited since, on a light
// tint of the highlight colour.
void SyncMark(QWidget* widget, ui::ValueMark mark) {
    if (!qobject_cast<QLineEdit*>(widget) && !qobject_cast<QPlainTextEdit*>(widget)) return;
    // Live values change many times a second; the palette only with the mark. An unmarked box
    // has the palette it inherits.
    const QVariant shown = widget->property("valueMark");
    const int before = shown.isValid() ? shown.toInt() : static_cast<int>(ui::ValueMark::None);
    if (before == static_cast<int>(mark)) return;
    widget->setProperty("valueMark", static_cast<int>(mark));
    QPalette palette = QApplication::palette(widget);
    switch (mark) {
        case ui::ValueMark::None:
            widget->setPalette(QPalette());
            return;
        case ui::ValueMark::NotRead:
            for (const auto group : {QPalette::Active, QPalette::Inactive})
                palette.setColor(group, QPalette::Text,
                                 palette.color(QPalette::Disabled, QPalette::Text));
            break;
        case ui::ValueMark::Edited: {
            const QColor base = palette.color(QPalette::Base);
            const QColor highlight = palette.color(QPalette::Highlight);
            const auto mix = [](int from, int to) { return from + (to - from) / 4; };
            const QColor tint(mix(base.red(), highlight.red()),
                              mix(base.green(), highlight.green()),
                              mix(base.blue(), highlight.blue()));
            for (const auto group : {QPalette::Active, QPalette::Inactive})
                palette.setColor(group, QPalette::Base, tint);
            break;
        }
    }
    widget->setPalette(palette);
}

void SyncValue(QWidget* widget, const ui::Control& control) {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        SyncEntries(*combo, control);
        combo->setCurrentIndex(control.selection);
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        SyncEntries(*list, control);
        list->setCurrentRow(control.selection);
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        SyncRange(spin, control);
    } else if (auto* slider = qobject_cast<QSlider*>(widget)) {
        SyncRange(slider, control);
    } else if (auto* progress = qobject_cast<QProgressBar*>(widget)) {
        SyncRange(progress, control);
    }
}

// A label that takes clicks: a flat button as wide as its text, so it reads as text yet answers
// mouse and keyboard.
QWidget* ClickableLabel() {
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

}  // namespace

WindowWidget::WindowWidget(ui::Window& window, Role role, QWidget* parent)
    : QWidget(parent), window_(window), displayRefresh_([this] {
          for (int id : std::exchange(pendingDisplays_, {}))
              Sync(id);
      }) {
    auto* top = new QVBoxLayout(this);
    if (role == Role::Embedded) top->setContentsMargins(0, 0, 0, 0);
    if (role == Role::Page) {
        heading_ = new QLabel(this);
        heading_->setTextFormat(Qt::PlainText);
        QFont font = heading_->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.25);
        heading_->setFont(font);
        top->addWidget(heading_);
    }
    const Built root = Build(window_.Layout());
    if (root.widget) top->addWidget(root.widget);
    if (root.layout) top->addLayout(root.layout);
    if (role == Role::Page) top->addStretch(1);

    for (const auto& [id, widget] : widgets_)
        Sync(id);
    ControlChanged(window_, 0);
    window_.SetObserver(this);
}

WindowWidget::~WindowWidget() {
    window_.SetObserver(nullptr);
}

QWidget* WindowWidget::ControlWidget(int id) const {
    const auto found = widgets_.find(id);
    return found == widgets_.end() ? nullptr : found->second;
}

WindowWidget::Built WindowWidget::Build(const ui::LayoutItem& item) {
    using Kind = ui::LayoutItem::Kind;
    if (const ui::Wrap wrap = ui::WrapOf(item, window_.Controls()); wrap != ui::Wrap::Never)
        return {nullptr, BuildFlow(item, wrap == ui::Wrap::FlowInColumns)};
    switch (item.kind) {
        case Kind::Control: {
            const ui::Control* control = window_.Find(item.controlId);
            return {control ? CreateControl(*control) : nullptr, nullptr};
        }
        case Kind::Row:
            return {nullptr, BuildBox(item, new QHBoxLayout)};
        case Kind::Column:
            return {nullptr, BuildBox(item, new QVBoxLayout)};
        case Kind::Grid:
            return {nullptr, BuildGrid(item)};
        case Kind::Group: {
            auto* group = new QGroupBox;
            group->setLayout(BuildBox(item, new QVBoxLayout));
            widgets_[item.controlId] = group;
            return {group, nullptr};
        }
        case Kind::Stretch:
            break;
    }
    return {};
}

QLayout* WindowWidget::BuildBox(const ui::LayoutItem& item, QLayout* layout) {
    auto* box = static_cast<QBoxLayout*>(layout);
    if (item.kind != ui::LayoutItem::Kind::Group) box->setContentsMargins(0, 0, 0, 0);
    for (const ui::LayoutItem& child : item.children) {
        const Built built = Build(child);
        if (built.widget) {
            box->addWidget(built.widget);
        } else if (built.layout) {
            box->addLayout(built.layout);
        } else if (child.kind == ui::LayoutItem::Kind::Stretch) {
            box->addStretch(1);
        }
    }
    return box;
}

QLayout* WindowWidget::BuildFlow(const ui::LayoutItem& item, bool inColumns) {
    auto* flow = new FlowLayout(inColumns);
    for (const ui::LayoutItem& child : item.children) {
        const Built built = Build(child);
        if (built.widget) {
            flow->addWidget(built.widget);
        } else if (built.layout) {
            // A nested layout flows as one block.
            auto* block = new QWidget;
            block->setLayout(built.layout);
            flow->addWidget(block);
        }
    }
    return flow;
}

QLayout* WindowWidget::BuildGrid(const ui::LayoutItem& item) {
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    const int columns = std::max(1, item.columns);
    int cell = 0;
    for (const ui::LayoutItem& child : item.children) {
        const int row = cell / columns;
        const int column = cell % columns;
        ++cell;
        const Built built = Build(child);
        if (built.widget) {
            grid->addWidget(built.widget, row, column);
        } else if (built.layout) {
            grid->addLayout(built.layout, row, column);
        } else {
            // In a grid a stretch is an empty cell; the spare room goes to the right.
            grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), row,
                          column);
        }
    }
    // Space left over goes to the right of the grid, so its boxes keep their own widths.
    grid->setColumnStretch(columns, 1);
    return grid;
}

QWidget* WindowWidget::CreateControl(const ui::Control& control) {
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ui::ControlKind::Label: {
            if (control.clickable) {
                widget = ClickableLabel();
                break;
            }
            auto* label = new QLabel;
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(control.multiline);
            widget = label;
            break;
        }
        case ui::ControlKind::Edit:
            if (control.multiline) {
                auto* box = new QPlainTextEdit;
                // Read-only boxes show columns of numbers: a fixed-pitch font keeps them aligned.
                if (control.readOnly)
                    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
                widget = box;
            } else {
                widget = new QLineEdit;
            }
            break;
        case ui::ControlKind::Button: {
            auto* button = new QPushButton;
            button->setAutoDefault(false);
            button->setDefault(control.id == ui::IDOK);
            widget = button;
            break;
        }
        case ui::ControlKind::CheckBox:
            widget = new QCheckBox;
            break;
        case ui::ControlKind::Radio: {
            auto* radio = new QRadioButton;
            radio->setAutoExclusive(false);
            widget = radio;
            break;
        }
        case ui::ControlKind::DropDown:
            widget = new QComboBox;
            break;
        case ui::ControlKind::ListBox:
            widget = new QListWidget;
            break;
        case ui::ControlKind::GroupBox:
            widget = new QGroupBox;
            break;
        case ui::ControlKind::Spin: {
            auto* spin = new QSpinBox;
            spin->setKeyboardTracking(false);
            widget = spin;
            break;
        }
        case ui::ControlKind::Slider:
            widget = new QSlider(control.vertical ? Qt::Vertical : Qt::Horizontal);
            break;
        case ui::ControlKind::Progress: {
            auto* progress = new QProgressBar;
            progress->setTextVisible(false);
            widget = progress;
            break;
        }
    }
    const QFontMetrics metrics(widget->font());
    if (control.widthChars > 0) {
        const int width = metrics.averageCharWidth() * (control.widthChars + 2);
        widget->setMinimumWidth(width);
        // A one-line box holds a number or a short text: it grows a little, never across a page.
        if (qobject_cast<QLineEdit*>(widget)) widget->setMaximumWidth(width * 3 / 2);
    }
    if (control.rows > 0) widget->setMinimumHeight(metrics.lineSpacing() * (control.rows + 1));
    widgets_[control.id] = widget;
    Connect(control.id, widget);
    return widget;
}

template <typename F>
void WindowWidget::UserInput(int id, F&& input) {
    input();
    Sync(id);
}

void WindowWidget::Connect(int id, QWidget* widget) {
    ui::Window& w = window_;
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        connect(line, &QLineEdit::textEdited, this, [this, &w, id](const QString& text) {
            UserInput(id, [&] { w.UserSetText(id, text.toStdString()); });
        });
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
        connect(box, &QPlainTextEdit::textChanged, this, [this, &w, id, box] {
            UserInput(id, [&] { w.UserSetText(id, box->toPlainText().toStdString()); });
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, &w, id] { UserInput(id, [&] { w.UserClick(id); }); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::activated, this,
                [this, &w, id](int index) { UserInput(id, [&] { w.UserChoose(id, index); }); });
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        connect(list, &QListWidget::currentRowChanged, this,
                [this, &w, id](int row) { UserInput(id, [&] { w.UserChoose(id, row); }); });
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        // Without keyboard tracking each change is complete: an arrow step or a typed value.
        connect(spin, &QSpinBox::valueChanged, this, [this, &w, id](int value) {
            UserInput(id, [&] {
                w.UserSetPos(id, value);
                w.UserReleaseSpin(id);
            });
        });
    } else if (auto* slider = qobject_cast<QSlider*>(widget)) {
        // A drag ends at the release; a key or page step ends at once.
        connect(slider, &QSlider::valueChanged, this, [this, &w, id, slider](int value) {
            UserInput(id, [&] {
                w.UserSetPos(id, value);
                if (!slider->isSliderDown()) w.UserReleaseSpin(id);
            });
        });
        connect(slider, &QSlider::sliderReleased, this,
                [this, &w, id] { UserInput(id, [&] { w.UserReleaseSpin(id); }); });
    }
}

void WindowWidget::Sync(int id) {
    const ui::Control* control = window_.Find(id);
    QWidget* widget = ControlWidget(id);
    if (!control || !widget) return;
    const QSignalBlocker blocker(widget);
    // Disabling a Qt group box would disable the controls inside it too; theirs is their own.
    if (!qobject_cast<QGroupBox*>(widget)) widget->setEnabled(control->enabled);
    if (widget->isHidden() == control->visible) widget->setHidden(!control->visible);
    SyncText(widget, *control);
    if (widget->toolTip() != ToQt(control->tip)) widget->setToolTip(ToQt(control->tip));
    SyncMark(widget, control->mark);
    SyncValue(widget, *control);
}

void WindowWidget::ControlChanged(ui::Window&, int id) {
    if (id != 0) {
        const auto* display = qobject_cast<QPlainTextEdit*>(ControlWidget(id));
        if (display && display->isReadOnly()) {
            pendingDisplays_.insert(id);
            displayRefresh_.Request();
        } else {
            Sync(id);
        }
        return;
    }
    const QString title = ToQt(window_.GetWindowText());
    if (heading_) {
        heading_->setText(title);
        heading_->setHidden(title.isEmpty());
    }
    emit titleChanged(title);
}

void WindowWidget::FocusChanged(ui::Window& window) {
    QWidget* widget = ControlWidget(window.Focus());
    if (!widget) return;
    for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            area->ensureWidgetVisible(widget);
            break;
        }
    }
    // A window behind a message box gets the focus back where it is put here.
    widget->setFocus(Qt::OtherFocusReason);
    if (!window.FocusTextSelected()) return;
    if (auto* line = qobject_cast<QLineEdit*>(widget)) line->selectAll();
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) box->selectAll();
}

void WindowWidget::WindowEnded(ui::Window& window) {
    emit ended(window.Result());
}

}  // namespace zephran::qt
