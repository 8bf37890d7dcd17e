#pragma once

#include <QDialog>
#include <QFont>
#include <QPixmap>
#include <QWidget>
#include <array>

#include "ui/window.h"
#include "views/scope_window.h"

namespace zephran::qt {

// One trace of the scope drawn with QPainter in its fixed colours and places. The
// parts that change only on a scale, zero-line or label change (background, frame, axis labels,
// slider, bottom strip) are kept in an off-screen image; RefreshPlot repaints only the plot and
// the readout from it.
class ScopeWidget : public QWidget {
public:
    explicit ScopeWidget(views::ScopeModel& model, QWidget* parent = nullptr);

    views::ScopeModel& Model() const { return model_; }
    // New samples and readout: the plot and the readout box are drawn again.
    void RefreshPlot();
    // Scales or labels changed: everything is drawn again.
    void Invalidate();

    QSize sizeHint() const override {
        return {views::CDlgScope::kNominalWidth, views::CDlgScope::kNominalHeight};
    }
    QSize minimumSizeHint() const override { return {160, 110}; }

    // The fonts standing in for the named "Arial", "FixedSys" and "Times New Roman".
    static QFont LabelFont();
    static QFont ReadoutFont();
    static QFont CaptionFont();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Relayout();
    void Apply(const views::ScopeRedraw& redraw);
    void PaintStatic(QPainter& p) const;
    void PaintGrid(QPainter& p) const;
    void PaintTrace(QPainter& p) const;
    void PaintButtons(QPainter& p) const;
    void PaintReadout(QPainter& p) const;

    views::ScopeModel& model_;
    QFont labelFont_;
    QFont readoutFont_;
    QFont captionFont_;
    QPixmap static_;
    bool staticValid_ = false;
};

// The scope window: twelve traces in four rows of three, run modally. Its close box
// ends the window's model; the model ending closes the dialog.
class ScopeDialog : public QDialog, private ui::WindowObserver {
public:
    ScopeDialog(views::CDlgScope& scope, QWidget* parent);
    ~ScopeDialog() override;

    void RefreshPlots();
    ScopeWidget& Trace(std::size_t index) const { return *traces_.at(index); }
    views::CDlgScope& Model() const { return scope_; }

    void reject() override;

private:
    void ControlChanged(ui::Window&, int) override {}
    void WindowEnded(ui::Window& window) override;

    views::CDlgScope& scope_;
    std::array<ScopeWidget*, views::kScopeTraceCount> traces_{};
};

}  // namespace zephran::qt
