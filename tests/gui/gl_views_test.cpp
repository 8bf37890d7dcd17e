// The 3-D views on Mesa's software renderer under Xvfb, read back from the framebuffer: the
// box's face colours at the centre, the text column and the legend where the view's steps put
// them, the position view's grid, and the redraw pacing. Runs at 100 % and 200 %.
#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cmath>
#include <optional>

#include "app/zephran_app.h"
#include "app/zephran_dlg.h"
#include "frontends/qt/main_window.h"
#include "frontends/qt/qt_host.h"
#include "gui_support.h"
#include "pages/ahrs/dlg_ahrs.h"
#include "support/temp_dir.h"

namespace zephran::qt {
namespace {

using testing::TempDir;
using views::ViewKind;

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);

// The AHRS product without ports, on the steady clock, its AHRS view on show.
class GuiGlViews : public ::testing::Test {
protected:
    GuiGlViews() {
        PrepareEnglishAhrs(dir, paths);
        window.show();
        window.Start();
    }

    // Presses one of the AHRS view's buttons.
    void Press(int id) {
        auto* button = qobject_cast<QPushButton*>(window.Pages().Current()->ControlWidget(id));
        ASSERT_NE(button, nullptr) << id;
        ASSERT_TRUE(button->isEnabled()) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Opens a view by its button and waits for its first frame.
    AttitudeGlWindow& Open(ViewKind kind) {
        Press(kind == ViewKind::Attitude ? int{CDlgAHRS::kAttitudeView}
                                         : int{CDlgAHRS::kPositionView});
        AttitudeGlWindow* shown = window.Live().Window(kind);
        EXPECT_NE(shown, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(shown));
        AttitudeGlWindow& gl = *shown;
        EXPECT_TRUE(gl.isValid()) << "no OpenGL context";
        EXPECT_TRUE(QTest::qWaitFor([&] { return gl.Frames() > 0; }, 5000));
        return gl;
    }
    // A live frame's attitude reaches the views, which are then drawn again.
    void Live(AttitudeGlWindow& gl, float roll, float pitch, float yaw) {
        AhrsLiveRecord& live = dialog.Records().ahrsLive;
        live.roll = roll;
        live.pitch = pitch;
        live.yaw = yaw;
        const long long before = gl.Frames();
        dialog.Views()->OnLiveValues(true);
        EXPECT_TRUE(QTest::qWaitFor([&] { return gl.Frames() > before; }, 2000));
    }
    static QColor Centre(const QImage& image) {
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }
    // The image pixel of a window point (x from the left, y from the bottom, in the view's
    // units).
    static QPoint Pixel(const AttitudeGlWindow& gl, double x, double y) {
        const qreal ratio = gl.devicePixelRatio();
        return {static_cast<int>(std::floor(x * ratio)),
                static_cast<int>(std::floor((gl.height() - y) * ratio))};
    }
    // Whether a pixel of that colour lies within `radius` image pixels of p.
    static bool ColourNear(const QImage& image, QPoint p, const QColor& colour, int radius) {
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                const QPoint q(p.x() + dx, p.y() + dy);
                if (image.rect().contains(q) && image.pixelColor(q) == colour) return true;
            }
        }
        return false;
    }
    // The state in force at the n-th call of a display list, or at the first text.
    static std::optional<views::GlEvaluator::State> StateAtList(const views::AttitudeView& view,
                                                                int list) {
        std::optional<views::GlEvaluator::State> found;
        views::GlEvaluator gl;
        gl.onCallList = [&](int called, const views::GlEvaluator::State& state) {
            if (called == list && !found) found = state;
        };
        gl.Run(view.RenderSteps());
        return found;
    }

    TempDir dir;
    AppPaths paths = PathsIn(dir);
    QtHost host{QtHost::Mode::Recording};
    SystemClock clock;
    CZephranDlg dialog{host, clock, paths, NoPorts(dir)};
    MainWindow window{dialog, clock};
};

TEST_F(GuiGlViews, TheBoxShowsTheFaceTheAttitudeTurnsToTheCentre) {
    AttitudeGlWindow& gl = Open(ViewKind::Attitude);
    EXPECT_EQ(window.Live().Window(ViewKind::Attitude)->title(), "Euler");
    EXPECT_EQ(Centre(gl.Render()), kGreen);
    Live(gl, 90, 0, 0);
    EXPECT_EQ(Centre(gl.Render()), kBlue);
    Live(gl, 0, 0, 90);
    EXPECT_EQ(Centre(gl.Render()), kRed);
    // Yaw 90 seen against a heading reference of 90 is yaw 0 again.
    dialog.Views()->SetHeadingReference(90);
    EXPECT_EQ(Centre(gl.Render()), kGreen);
    // The corners are the window's black.
    EXPECT_EQ(gl.Render().pixelColor(gl.width() * gl.devicePixelRatio() - 2, 1), QColor(0, 0, 0));
}

TEST_F(GuiGlViews, TheTextColumnSitsAtItsRasterPositions) {
    AttitudeGlWindow& gl = Open(ViewKind::Attitude);
    Live(gl, 12.34f, -5, 170);
    const views::AttitudeView& view = *dialog.Views()->View(ViewKind::Attitude);
    std::vector<std::pair<std::string, views::WindowPoint>> texts;
    views::GlEvaluator evaluator;
    evaluator.onText = [&](const std::string& text, const views::GlEvaluator::State& state) {
        texts.emplace_back(text, state.raster);
    };
    evaluator.Run(view.RenderSteps());
    ASSERT_EQ(texts.size(), 15u + 3u);
    EXPECT_EQ(texts[1].first, "Roll:    12.3");
    const QImage image = gl.Render();
    const qreal ratio = gl.devicePixelRatio();
    // Each line's white glyphs begin at its raster position and rise above it.
    for (std::size_t line : {0u, 1u, 4u, 13u, 14u}) {
        const views::WindowPoint& at = texts[line].second;
        ASSERT_TRUE(at.visible) << texts[line].first;
        const QPoint origin = Pixel(gl, at.x, at.y);
        int left = image.width();
        int top = image.height();
        for (int y = origin.y() - static_cast<int>(12 * ratio); y <= origin.y(); ++y) {
            for (int x = origin.x() - 2; x < origin.x() + static_cast<int>(60 * ratio); ++x) {
                if (image.pixelColor(x, y) == kWhite) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                }
            }
        }
        EXPECT_NEAR(left / ratio, origin.x() / ratio, 2.5) << texts[line].first;
        // Capitals stand about 9 pixels above the baseline.
        EXPECT_NEAR((origin.y() - top) / ratio, 9, 3) << texts[line].first;
    }
}

TEST_F(GuiGlViews, TheLegendKeepsItsCreationSizeAndPlace) {
    AttitudeGlWindow& gl = Open(ViewKind::Attitude);
    const auto centreOf = [&] {
        const auto state =
            StateAtList(*dialog.Views()->View(ViewKind::Attitude), views::kLegendList);
        const views::WindowPoint p = state->ToWindow(0, 0, 0);
        return Pixel(gl, p.x, p.y);
    };
    const QPoint before = centreOf();
    EXPECT_TRUE(ColourNear(gl.Render(), before, kWhite, 2));
    window.Live().Window(ViewKind::Attitude)->resize(700, 300);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return dialog.Views()->View(ViewKind::Attitude)->Current() == views::ViewSize{700, 300};
        },
        2000));
    const QPoint after = centreOf();
    // Same distance from the bottom-left corner.
    EXPECT_EQ(after.x(), before.x());
    EXPECT_EQ(gl.height() * gl.devicePixelRatio() - after.y(),
              400 * gl.devicePixelRatio() - before.y());
    EXPECT_TRUE(ColourNear(gl.Render(), after, kWhite, 2));
}

TEST_F(GuiGlViews, ThePositionViewDrawsItsGrid) {
    Open(ViewKind::Attitude);
    AttitudeGlWindow& gl = Open(ViewKind::Position);
    EXPECT_EQ(window.Live().Window(ViewKind::Attitude), nullptr);
    EXPECT_EQ(window.Live().Window(ViewKind::Position)->title(), "Euler(+Vcc)");
    const auto grid = StateAtList(*dialog.Views()->View(ViewKind::Position), views::kGridList);
    ASSERT_TRUE(grid);
    const QImage image = gl.Render();
    const int radius = static_cast<int>(std::ceil(gl.devicePixelRatio()));
    // The top line of each plane, beside the box: red (x = 0), green (z = 0), blue (y = 0).
    const struct {
        views::Vec3f point;
        QColor colour;
    } lines[] = {{{0, 0.5f, 0.25f}, kRed}, {{0.25f, 0.5f, 0}, kGreen}, {{0.25f, 0, -0.5f}, kBlue}};
    for (const auto& line : lines) {
        const views::WindowPoint p = grid->ToWindow(line.point[0], line.point[1], line.point[2]);
        ASSERT_TRUE(p.visible);
        EXPECT_TRUE(ColourNear(image, Pixel(gl, p.x, p.y), line.colour, radius))
            << line.colour.name().toStdString() << " at " << p.x << "," << p.y;
    }
    // At rest the box covers the centre with its top, blue.
    EXPECT_EQ(Centre(image), kBlue);
}

TEST_F(GuiGlViews, AnIdleViewIsNotDrawnAgain) {
    AttitudeGlWindow& gl = Open(ViewKind::Attitude);
    Live(gl, 1, 2, 3);
    QTest::qWait(100);
    const long long frames = gl.Frames();
    // The same values again, and time passing: nothing to draw.
    dialog.Views()->OnLiveValues(true);
    QTest::qWait(300);
    EXPECT_EQ(gl.Frames(), frames);
    // Hundreds of changes a second are drawn at most once per frame of the display.
    const long long start = gl.Frames();
    const auto began = std::chrono::steady_clock::now();
    for (int i = 0; i < 40; ++i) {
        dialog.Records().ahrsLive.yaw = static_cast<float>(i);
        dialog.Views()->OnLiveValues(true);
        QTest::qWait(5);
    }
    QTest::qWait(50);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    EXPECT_GT(gl.Frames(), start);
    // 60 frames a second at most, and a few for the waits' ends.
    EXPECT_LE(gl.Frames() - start, 60 * seconds + 3);
    EXPECT_LT(gl.Frames() - start, 40);
}

TEST_F(GuiGlViews, TheCloseBoxClosesTheView) {
    Open(ViewKind::Attitude);
    window.Live().Window(ViewKind::Attitude)->close();
    EXPECT_FALSE(dialog.Views()->IsOpen(ViewKind::Attitude));
    EXPECT_EQ(window.Live().Window(ViewKind::Attitude), nullptr);
    QApplication::processEvents();
    // Opened again, it is a new window.
    Open(ViewKind::Attitude);
    EXPECT_TRUE(dialog.Views()->IsOpen(ViewKind::Attitude));
}

}  // namespace
}  // namespace zephran::qt
