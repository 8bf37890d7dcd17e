// SPDX-License-Identifier: GPL-3.0-or-later
// The flight-log viewer on a GPS/INS and an AHRS recording: the plots follow the keys, the mouse
// and the cursor, a one-record spike stays in view at every zoom, and only a recording with
// positions gets its ground track; its texts come from the language. With ZEPHRAN_VIEWER_SHOTS
// naming a folder, the window is saved there zoomed out and in, to be looked at.
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstring>
#include <map>

#include "frontends/qt/flight_log_window.h"
#include "frontends/qt/qt_host.h"
#include "recording/record_times.h"
#include "support/temp_dir.h"

namespace zephran::qt {
namespace {

constexpr int kRecords = 3000;  // a minute at 50 a second
constexpr int kSpike = 1234;

// Writes a recording of a circuit flown for a minute, with its time file; roll jumps to 170 in
// one record. An AHRS recording has no GPS block and no position.
std::string WriteFlight(const testing::TempDir& dir, const std::string& name, bool gpsIns) {
    std::string records, times;
    for (int n = 0; n < kRecords; ++n) {
        const double t = n / 50.0;
        RecordSources sources;
        sources.navigation.roll = n == kSpike ? 170.0f : static_cast<float>(20 * std::sin(t));
        sources.navigation.pitch = static_cast<float>(5 * std::cos(t / 2));
        sources.navigation.yaw = static_cast<float>(std::fmod(6 * t, 360));
        const float gx = static_cast<float>(0.3 * std::cos(t));
        std::memcpy(sources.sensorsRaw.data() + 1, &gx, 4);
        if (gpsIns) {
            sources.navigation.lat = 31.2304 + 0.001 * std::sin(t / 10);
            sources.navigation.lon = 121.4737 + 0.0015 * (1 - std::cos(t / 10));
            sources.navigation.hmsl = static_cast<float>(50 + 10 * std::sin(t / 20));
            sources.navigation.vccN = static_cast<float>(10 * std::cos(t / 10));
            sources.gpsRaw[25] = 3;
            sources.gpsRaw[29] = 11;
        }
        const LiveRecordBytes record = BuildLiveRecord(sources);
        records.append(record.begin(), record.end());
        const TimeEntryBytes entry = EncodeTimeEntry(static_cast<std::uint32_t>(20 * n));
        times.append(entry.begin(), entry.end());
    }
    dir.Write(name + ".tim", times);
    return dir.Write(name + ".dat", records);
}

// Answers each [FlightLog] key it is given, nothing else.
class FlightLogTexts : public TextSource {
public:
    std::string LangText(std::string_view section, std::string_view key) const override {
        const auto found = answers.find(std::string(key));
        return section == "FlightLog" && found != answers.end() ? found->second : std::string();
    }
    std::map<std::string, std::string> answers;
};

class GuiFlightLog : public ::testing::Test {
protected:
    FlightLogWindow& Open(const std::string& file) {
        std::string error;
        window = FlightLogWindow::Open(file, host, texts, error);
        EXPECT_NE(window, nullptr) << error;
        window->resize(1366, 700);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        QTest::qWait(50);
        return *window;
    }
    ~GuiFlightLog() override { delete window.data(); }

    QList<QCustomPlot*> Plots() const { return window->findChildren<QCustomPlot*>(); }
    // The highest value the first plot (attitude) shows.
    double AttitudeTop() const {
        return Plots().front()->axisRect(0)->axis(QCPAxis::atLeft)->range().upper;
    }
    void Shot(const char* name) {
        if (const char* shots = std::getenv("ZEPHRAN_VIEWER_SHOTS"))
            window->grab().save(QString::fromLocal8Bit(shots) + "/" + name + ".png");
    }

    testing::TempDir dir;
    QtHost host{QtHost::Mode::Recording};
    FlightLogTexts texts;
    QPointer<FlightLogWindow> window;
};

TEST_F(GuiFlightLog, KeysAndMouseZoomPanAndPlaceTheCursor) {
    FlightLogWindow& viewer = Open(WriteFlight(dir, "2027-01-15-08-00-00", true));
    // The plots, the ground track and the height profile.
    ASSERT_EQ(Plots().size(), 3);
    EXPECT_DOUBLE_EQ(viewer.Window().Span(), 59.98);
    EXPECT_GE(AttitudeTop(), 170.0);
    Shot("gpsins-whole");

    const double spike = kSpike / 50.0;
    viewer.PlaceCursor(spike);
    EXPECT_TRUE(viewer.ReadoutText().contains("roll (deg)")) << viewer.ReadoutText().toStdString();
    EXPECT_TRUE(viewer.ReadoutText().contains("170")) << viewer.ReadoutText().toStdString();
    // Its UTC time, from the GPS time of week (0 here: the week's start).
    EXPECT_TRUE(viewer.ReadoutText().contains("(GPS)")) << viewer.ReadoutText().toStdString();
    for (int n = 0; n < 8; ++n) {
        QTest::keyClick(&viewer, Qt::Key_Plus);
        EXPECT_GE(AttitudeTop(), 170.0) << n;
    }
    EXPECT_NEAR(viewer.Window().Span(), 59.98 / 256, 1e-9);
    EXPECT_LE(viewer.Window().From(), spike);
    EXPECT_GE(viewer.Window().To(), spike);
    Shot("gpsins-zoomed");

    const double from = viewer.Window().From();
    QTest::keyClick(&viewer, Qt::Key_Right);
    EXPECT_NEAR(viewer.Window().From(), from + 0.2 * viewer.Window().Span(), 1e-9);
    // A drag to the right moves the window back; a click places the cursor there.
    QCustomPlot* plots = Plots().front();
    const QRect rect = plots->axisRect(0)->rect();
    const int y = rect.center().y();
    QTest::mousePress(plots, Qt::LeftButton, {}, QPoint(rect.left() + 100, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(rect.left() + 300, y),
                     plots->mapToGlobal(QPointF(rect.left() + 300, y)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(plots, &move);
    QTest::mouseRelease(plots, Qt::LeftButton, {}, QPoint(rect.left() + 300, y));
    EXPECT_LT(viewer.Window().From(), from + 0.2 * viewer.Window().Span() - 1e-6);
    QTest::mouseClick(plots, Qt::LeftButton, {}, QPoint(rect.center().x(), y));
    EXPECT_NEAR(viewer.CursorTime(), (viewer.Window().From() + viewer.Window().To()) / 2,
                viewer.Window().Span() / 50);

    QTest::keyClick(&viewer, Qt::Key_Home);
    EXPECT_DOUBLE_EQ(viewer.Window().Span(), 59.98);
}

TEST_F(GuiFlightLog, FitsFullHdAtTwiceTheScaleWithEveryGroupShown) {
    FlightLogWindow& viewer = Open(WriteFlight(dir, "2027-01-15-08-00-00", true));
    for (QCheckBox* box : viewer.findChildren<QCheckBox*>())
        box->setChecked(true);
    viewer.PlaceCursor(kSpike / 50.0);
    QApplication::processEvents();
    // 1920 x 1080 at 200 % leaves 960 logical pixels across, less the window's frame.
    EXPECT_LE(viewer.minimumSizeHint().width(), 940) << viewer.ReadoutText().toStdString();
}

TEST_F(GuiFlightLog, AhrsRecordingHasNoTrackAndSaysSo) {
    FlightLogWindow& viewer = Open(WriteFlight(dir, "2027-01-15-09-00-00", false));
    EXPECT_EQ(Plots().size(), 1);
    bool gpxEnabled = true;
    for (QPushButton* button : viewer.findChildren<QPushButton*>()) {
        if (button->text() == "Export GPX") gpxEnabled = button->isEnabled();
    }
    EXPECT_FALSE(gpxEnabled);
    bool said = false;
    for (QLabel* label : viewer.findChildren<QLabel*>())
        said = said || label->text().contains("No positions");
    EXPECT_TRUE(said);
    Shot("ahrs-whole");
    viewer.PlaceCursor(30);
    for (int n = 0; n < 5; ++n)
        viewer.ZoomAboutCursor(0.5);
    Shot("ahrs-zoomed");
    EXPECT_NEAR(viewer.Window().Span(), 59.98 / 32, 1e-9);
}

TEST_F(GuiFlightLog, TextsComeFromTheLanguage) {
    texts.answers = {{"Title", "飞行日志 - %1"},      {"Attitude", "姿态"},
                     {"GPS Quality", "GPS 信号质量"}, {"Reset Zoom", "复位缩放"},
                     {"Export KML", "导出 KML"},      {"Time Axis", "时间 (秒)"},
                     {"East Axis", "东向 (米)"},      {"Cursor", "%1 秒，第 %2 条记录"},
                     {"GPS Time", "%1（GPS 时间）"}};
    FlightLogWindow& viewer = Open(WriteFlight(dir, "2027-01-15-10-00-00", true));
    EXPECT_EQ(viewer.windowTitle(), QString::fromUtf8("飞行日志 - 2027-01-15-10-00-00.dat"));
    QStringList captions;
    for (QAbstractButton* button : viewer.findChildren<QAbstractButton*>())
        captions << button->text();
    for (const char* caption : {"姿态", "GPS 信号质量", "复位缩放", "导出 KML", "Export CSV"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
    // The ground track, the height profile and the stacked plots' shared time axis.
    const QList<QCustomPlot*> plots = Plots();
    ASSERT_EQ(plots.size(), 3);
    QStringList axes;
    for (QCustomPlot* plot : plots) {
        for (QCPAxisRect* rect : plot->axisRects())
            axes << rect->axis(QCPAxis::atBottom)->label();
    }
    EXPECT_TRUE(axes.contains(QString::fromUtf8("东向 (米)"))) << axes.join('|').toStdString();
    EXPECT_EQ(axes.count(QString::fromUtf8("时间 (秒)")), 2) << axes.join('|').toStdString();

    viewer.PlaceCursor(20);
    const QString readout = viewer.ReadoutText();
    EXPECT_TRUE(readout.startsWith(QString::fromUtf8("20.000 秒，第 1000 条记录\n")))
        << readout.toStdString();
    EXPECT_TRUE(readout.contains(QString::fromUtf8("（GPS 时间）"))) << readout.toStdString();
}

}  // namespace
}  // namespace zephran::qt
