// The scope trace drawn by QPainter, read back pixel by pixel: the trace where the model maps
// its samples, the readout text in its box, and the buttons and slider worked with the mouse.
// Runs at 100 % and again at 200 % (QT_SCALE_FACTOR=2): places are in the model's pixels and
// the image's pixels are those times the screen's scale.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "app/zephran_app.h"
#include "app/zephran_dlg.h"
#include "frontends/qt/main_window.h"
#include "frontends/qt/qt_host.h"
#include "frontends/qt/scope_widget.h"
#include "gui_support.h"
#include "pages/ahrs/dlg_ahrs.h"
#include "support/temp_dir.h"

namespace zephran::qt {
namespace {

const QColor kGreen(0, 255, 0);

class GuiScope : public ::testing::Test {
protected:
    GuiScope() : widget(model) {
        model.SetVerticalScale(100);
        model.SetLabels("Roll", "Degree");
        widget.resize(300, 170);
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }

    QImage Image() {
        widget.RefreshPlot();
        QApplication::processEvents();
        return widget.grab().toImage();
    }
    qreal Ratio() const { return widget.devicePixelRatioF(); }
    // The image pixel at the model's point (its top-left device pixel, nudged inwards).
    QColor At(const QImage& image, views::Point p, int dy = 0) const {
        const int x = static_cast<int>(std::lround(p.x * Ratio()));
        const int y = static_cast<int>(std::lround(p.y * Ratio())) + dy;
        return image.pixelColor(x, y);
    }
    // Whether a green pixel lies within a trace's pen around the model's point.
    bool GreenNear(const QImage& image, views::Point p) const {
        const int span = static_cast<int>(std::ceil(2 * Ratio()));
        for (int dy = -span; dy <= span; ++dy) {
            if (At(image, p, dy) == kGreen) return true;
        }
        return false;
    }
    // Bounding box, in model pixels, of the green pixels inside a model rectangle.
    QRectF GreenBox(const QImage& image, const views::Rect& r) const {
        QRect found;
        const QRect device(static_cast<int>(r.left * Ratio()), static_cast<int>(r.top * Ratio()),
                           static_cast<int>(r.Width() * Ratio()),
                           static_cast<int>(r.Height() * Ratio()));
        for (int y = device.top(); y <= device.bottom(); ++y) {
            for (int x = device.left(); x <= device.right(); ++x) {
                if (image.pixelColor(x, y) == kGreen) found |= QRect(x, y, 1, 1);
            }
        }
        return QRectF(found.left() / Ratio(), found.top() / Ratio(), found.width() / Ratio(),
                      found.height() / Ratio());
    }
    // The ink of a text drawn from x = 0 on its baseline, in model pixels.
    QRectF Ink(const QFont& font, const QString& text) const {
        const QFontMetrics metrics(font);
        QImage scratch(static_cast<int>(std::ceil(200 * Ratio())),
                       static_cast<int>(std::ceil(40 * Ratio())), QImage::Format_RGB32);
        scratch.setDevicePixelRatio(Ratio());
        scratch.fill(Qt::black);
        {
            QPainter p(&scratch);
            p.setFont(font);
            p.setPen(kGreen);
            p.drawText(QPoint(0, 20), text);
        }
        QRect found;
        for (int y = 0; y < scratch.height(); ++y) {
            for (int x = 0; x < scratch.width(); ++x) {
                if (scratch.pixelColor(x, y) == kGreen) found |= QRect(x, y, 1, 1);
            }
        }
        return QRectF(found.left() / Ratio(), found.top() / Ratio() - 20, found.width() / Ratio(),
                      found.height() / Ratio());
    }
    QPoint Centre(int button) const {
        const views::Triangle& t = model.Geometry().buttons[static_cast<std::size_t>(button)];
        return {(t.apex.x + t.baseLeft.x + t.baseRight.x) / 3,
                (t.apex.y + t.baseLeft.y + t.baseRight.y) / 3};
    }

    views::ScopeModel model;
    ScopeWidget widget;
};

TEST_F(GuiScope, GreenTracePixelsWhereTheMappingPutsThem) {
    for (int i = 0; i <= 50; ++i)
        model.AddSample(i * 0.02, 60 * std::sin(i * 0.2));
    const QImage image = Image();
    const auto points = model.TracePoints();
    ASSERT_EQ(points.size(), 51u);
    int checked = 0;
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        EXPECT_TRUE(GreenNear(image, points[i]))
            << "sample " << i << " at " << points[i].x << "," << points[i].y;
        ++checked;
    }
    EXPECT_EQ(checked, 49);
    // Beyond the newest sample the plot is empty.
    EXPECT_FALSE(GreenNear(image, {points.back().x + 20, points.back().y}));
}

TEST_F(GuiScope, OneSampleDrawsNoLine) {
    model.AddSample(5.0, 0);
    const QImage image = Image();
    EXPECT_EQ(GreenBox(image, model.Geometry().plot), QRectF());
}

TEST_F(GuiScope, TheTraceIsClippedInsideThePlot) {
    model.AddSample(0, 1e6);
    model.AddSample(1, -1e6);
    model.AddSample(2, 1e6);
    const QImage image = Image();
    const QRectF green = GreenBox(image, model.Geometry().plot);
    ASSERT_FALSE(green.isEmpty());
    const views::Rect& clip = model.Geometry().clip;
    EXPECT_GE(green.top(), clip.top);
    EXPECT_LE(green.bottom(), clip.bottom);
}

TEST_F(GuiScope, ATraceBeyondItsScaleShowsAnArrowAtThatEdge) {
    // 100 per division with the zero line in the middle: the plot holds -200 to 200.
    model.AddSample(0, 500);
    model.AddSample(0.5, 600);
    QImage image = Image();
    auto arrow = model.OffScaleArrow();
    ASSERT_TRUE(arrow);
    const views::Rect& clip = model.Geometry().clip;
    EXPECT_EQ(arrow->apex.y, clip.top);
    const views::Rect box{arrow->baseLeft.x, arrow->apex.y, arrow->baseRight.x + 1,
                          arrow->baseLeft.y + 1};
    // The arrow is all the plot shows, and it is drawn.
    EXPECT_EQ(GreenBox(image, model.Geometry().plot), GreenBox(image, box));
    EXPECT_EQ(At(image, {arrow->apex.x, arrow->apex.y + 4}), kGreen);

    model.AddSample(1, -600);
    image = Image();
    arrow = model.OffScaleArrow();
    ASSERT_TRUE(arrow);
    EXPECT_EQ(arrow->apex.y, clip.bottom - 1);
    EXPECT_EQ(At(image, {arrow->apex.x, arrow->apex.y - 4}), kGreen);
    model.AddSample(1.5, 0);
    EXPECT_FALSE(model.OffScaleArrow());
}

TEST_F(GuiScope, LabelsInTheWidgetsFontNeverOverlap) {
    const QFontMetrics metrics(ScopeWidget::LabelFont());
    // The ink of every label, placed as drawn.
    const auto inkOf = [&](const views::AxisLabel& label) {
        const QString text = QString::fromStdString(label.text);
        QRect ink = metrics.tightBoundingRect(text);
        int x = label.at.x;
        if (label.align == views::TextAlign::Right) x -= metrics.horizontalAdvance(text);
        if (label.align == views::TextAlign::Centre) x -= metrics.horizontalAdvance(text) / 2;
        const int baseline =
            label.anchor == views::TextAnchor::Top ? label.at.y + metrics.ascent() : label.at.y;
        return ink.translated(x, baseline);
    };
    for (const QSize size : {QSize(160, 110), QSize(230, 130), QSize(300, 170), QSize(600, 340)}) {
        widget.resize(size);
        QApplication::processEvents();
        for (const int zero : {0, 3, 5, 10}) {
            const views::Rect& bar = model.Geometry().slider;
            QTest::mouseClick(&widget, Qt::LeftButton, {},
                              QPoint(bar.left + 5, model.SliderRowFor(zero)));
            std::vector<views::AxisLabel> labels = model.VerticalLabels();
            const auto time = model.TimeLabels();
            labels.insert(labels.end(), time.begin(), time.end());
            for (std::size_t i = 0; i < labels.size(); ++i) {
                for (std::size_t j = i + 1; j < labels.size(); ++j) {
                    EXPECT_FALSE(inkOf(labels[i]).intersects(inkOf(labels[j])))
                        << labels[i].text << " and " << labels[j].text << " at " << size.width()
                        << "x" << size.height() << ", zero " << zero;
                }
            }
        }
    }
}

TEST_F(GuiScope, TheReadoutTextSitsInItsBox) {
    const views::Rect& box = model.Geometry().readout;
    const QFont font = ScopeWidget::ReadoutFont();
    // The text starts 3 pixels inside the box, is centred in its height, and its ink is that
    // of the formatted value.
    for (const double value : {-12.345, 1.0, 0.0}) {
        model.SetReadout(value);
        const QString shown = QString::fromStdString(model.ReadoutText());
        const QRectF text = GreenBox(Image(), box);
        const QRectF ink = Ink(font, shown);
        EXPECT_NEAR(text.left(), box.left + 3 + ink.left(), 1) << shown.toStdString();
        EXPECT_NEAR(text.width(), ink.width(), 1) << shown.toStdString();
        EXPECT_NEAR(text.height(), ink.height(), 1) << shown.toStdString();
        EXPECT_NEAR(text.center().y(), (box.top + box.bottom) / 2.0, 3) << shown.toStdString();
    }
    EXPECT_EQ(model.ReadoutText(), "0.000");
}

TEST_F(GuiScope, ReadoutsAreNeverCut) {
    model.SetLabels("GyroX", "Degree");
    model.SetReadout(-12345.678);
    const QRectF ink = Ink(ScopeWidget::ReadoutFont(), "-12345.678");
    for (const QSize size : {QSize(160, 110), QSize(200, 120), QSize(230, 130), QSize(300, 170)}) {
        widget.resize(size);
        QApplication::processEvents();
        const views::ScopeGeometry& g = model.Geometry();
        const QRectF text = GreenBox(Image(), g.readout);
        EXPECT_NEAR(text.width(), ink.width(), 1) << size.width();
        EXPECT_GE(g.readout.left, g.strip.left) << size.width();
        EXPECT_LE(g.readout.right, g.strip.right) << size.width();
        // The name and the unit stay clear of it, or make way.
        if (g.unit) EXPECT_GE(g.unit->x, g.readout.right) << size.width();
    }
}

TEST_F(GuiScope, ButtonsLightUpAndStepTheScales) {
    QTest::mouseMove(&widget, Centre(views::kVerticalUp));
    EXPECT_EQ(model.Hovered(), views::kVerticalUp);
    EXPECT_EQ(At(Image(), {Centre(views::kVerticalUp).x(), Centre(views::kVerticalUp).y()}),
              kGreen);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, Centre(views::kVerticalUp));
    EXPECT_EQ(model.ValuePerDivision(), 200);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, Centre(views::kTimeDown));
    EXPECT_DOUBLE_EQ(model.TimePerDivision(), 0.4);
    QTest::mouseMove(&widget, QPoint(150, 60));
    EXPECT_EQ(model.Hovered(), views::kButtonNone);
    EXPECT_EQ(At(Image(), {Centre(views::kVerticalUp).x(), Centre(views::kVerticalUp).y()}),
              QColor(192, 192, 192));
}

TEST_F(GuiScope, TheSliderDragsTheZeroLineAndStopsAtTheEnds) {
    const views::Rect& bar = model.Geometry().slider;
    const QPoint thumb((bar.left + bar.right) / 2, model.SliderRowFor(model.ZeroNumerator()));
    QTest::mousePress(&widget, Qt::LeftButton, {}, thumb);
    EXPECT_TRUE(model.Dragging());
    QTest::mouseMove(&widget, QPoint(thumb.x(), -200));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(thumb.x(), -200));
    EXPECT_EQ(model.ZeroNumerator(), 0);
    EXPECT_FALSE(model.Dragging());
    // The zero line now runs along the plot's top: a flat zero trace there.
    model.AddSample(0, 0);
    model.AddSample(1, 0);
    const QImage image = Image();
    EXPECT_EQ(model.ZeroY(), model.Geometry().plot.top);
    // Clipped 2 pixels inside the plot, the line on the top edge shows no green.
    EXPECT_EQ(GreenBox(image, model.Geometry().plot), QRectF());
}

TEST_F(GuiScope, GeometryAndHitRegionsFollowTheSize) {
    widget.resize(600, 340);
    QApplication::processEvents();
    EXPECT_EQ(model.Geometry().client.Width(), 600);
    EXPECT_EQ(model.Geometry().plot.bottom, 340 - 30 - 25);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, Centre(views::kTimeUp));
    EXPECT_DOUBLE_EQ(model.TimePerDivision(), 0.6);
    model.AddSample(0, 50);
    model.AddSample(2, 50);
    const QImage image = Image();
    EXPECT_EQ(image.width(), static_cast<int>(std::lround(600 * Ratio())));
    EXPECT_TRUE(GreenNear(image, model.TracePoints()[1]));
}

// The scope window opened by the AHRS view's button: modal, sampling on its own timer while
// the main window's loop runs on, closed by its close box.
TEST(GuiScopeWindow, OpensModallySamplesAndCloses) {
    testing::TempDir dir;
    const AppPaths paths = PathsIn(dir);
    PrepareEnglishAhrs(dir, paths);
    const PortDirectoryOptions ports = NoPorts(dir);
    QtHost host(QtHost::Mode::Recording);
    SystemClock clock;
    CZephranDlg dialog(host, clock, paths, ports);
    MainWindow window(dialog, clock);
    window.show();
    window.Start();
    dialog.Records().ahrsLive.yaw = 42.5f;

    bool checked = false;
    QTimer::singleShot(0, [&] {
        ScopeDialog* scope = window.Live().Scope();
        ASSERT_NE(scope, nullptr);
        EXPECT_TRUE(scope->isModal());
        EXPECT_EQ(scope->windowTitle(), "Scope");
        EXPECT_EQ(QApplication::activeModalWidget(), scope);
        views::ScopeModel& yaw = scope->Trace(2).Model();
        // Eight samples of the 20 ms timer; a loaded machine may take longer than 160 ms.
        EXPECT_TRUE(QTest::qWaitFor([&] { return yaw.Samples().size() >= 8; }, 5000));
        EXPECT_EQ(yaw.Name(), "Yaw");
        EXPECT_GE(yaw.Samples().size(), 8u);
        EXPECT_EQ(yaw.ReadoutText(), "42.500");
        // The traces are laid out in the widgets' own size.
        EXPECT_EQ(yaw.Geometry().client.Width(), scope->Trace(2).width());
        checked = true;
        scope->reject();
    });
    auto* button =
        qobject_cast<QPushButton*>(window.Pages().Current()->ControlWidget(CDlgAHRS::kScope));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(checked);
    EXPECT_EQ(window.Live().Scope(), nullptr);
    EXPECT_EQ(dialog.Views()->Scope(), nullptr);
}

}  // namespace
}  // namespace zephran::qt
