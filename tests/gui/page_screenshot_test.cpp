// The recording page while recording and while playing back, the firmware update page
// mid-transfer, and the parameter toolbar with a field's tooltip after a save, against a
// simulated AHRS board at line rate; a GPS/INS recording played back into the GPS/INS view.
// The pictures go to $ZEPHRAN_SCREENSHOT_DIR when it is set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/zephran_app.h"
#include "app/zephran_dlg.h"
#include "frontends/qt/main_window.h"
#include "frontends/qt/qt_host.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "pages/autopilot/dlg_gpsins_view.h"
#include "pages/data/dlg_data_analyz.h"
#include "pages/framework/parameter_field_info.h"
#include "pages/update/dlg_iap_update.h"
#include "recording/recording_reader.h"
#include "sim/bootloader.h"
#include "sim/virtual_board.h"
#include "support/temp_dir.h"

namespace zephran::qt {
namespace {

using testing::TempDir;
using Analyz = CDialog_Data_Analyz;

class GuiPageScreenshots : public ::testing::Test {
protected:
    void SetUp() override { StartWith("AHRS"); }
    void StartWith(const std::string& product) {
        dir.Write("profile.ini", "[Settings]\nLanguage=english\n");
        const AppPaths paths{dir.Path(), dir.File("Config.ini"), ExecutableDir() + "/Language",
                             dir.File("Log"), dir.File("profile.ini")};
        CZephranApp(paths).PrepareSettings();
        CZephranApp(paths).Settings().Write("ProductSetting", "Product", product);
        CZephranApp(paths).Settings().Write("PCSetting", "PortScanMode", "Auto");
        board.PaceToBaud(115200);
        board.SetBootloader(control);
        const auto device = board.Start(product);
        ASSERT_TRUE(device) << board.LastError();
        PortDirectoryOptions ports;
        ports.explicitPaths = {*device};
        dialog = std::make_unique<CZephranDlg>(host, clock, paths, ports);
        window = std::make_unique<MainWindow>(*dialog, clock);
        window->show();
        window->Start();
        ASSERT_TRUE(WaitFor([this] { return dialog->Session().Connected(); }, 5000));
    }
    void TearDown() override { Stop(); }
    void Stop() {
        window.reset();
        dialog.reset();
        board.Stop();
    }

    bool WaitFor(const std::function<bool()>& done, int ms) {
        for (int waited = 0; !done(); waited += 20) {
            if (waited > ms) return false;
            QTest::qWait(20);
        }
        return true;
    }
    Page& Show(const char* key) {
        dialog->Tree().SelectItem(dialog->Tree().FindKey(key));
        QApplication::processEvents();
        return *dialog->Pages().Shown();
    }
    // Records the kind of list entry for a little over two seconds, saving the window while it
    // records; path is the recording's file.
    void Record(Page& analyz, int entry, const std::string& picture, std::string& path) {
        ASSERT_TRUE(analyz.UserChoose(Analyz::kKind, entry));
        ASSERT_TRUE(analyz.UserClick(Analyz::kStartStop));
        QTest::qWait(2300);
        ASSERT_TRUE(dialog->Recorder().Recording());
        Save(picture);
        path = dialog->Recorder().FilePath();
    }
    // Takes a recording of more than a second for playback.
    void Load(const std::string& path) {
        Recording recording;
        ASSERT_TRUE(ReadRecording(path, recording));
        ASSERT_GT(recording.records.size(), 50u);
        dialog->Replay().Load(path, std::move(recording));
    }
    // Saves the window, or the whole screen where one can be grabbed (tooltips are windows of
    // their own); the picture must not be blank.
    void Save(const std::string& name, bool wholeScreen = false) {
        QTest::qWait(100);
        QImage image;
        if (wholeScreen) image = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        if (image.isNull()) image = window->grab().toImage();
        ASSERT_GT(image.width(), 400);
        const char* out = std::getenv("ZEPHRAN_SCREENSHOT_DIR");
        const std::string file = out ? std::string(out) + "/" + name : dir.File(name);
        EXPECT_TRUE(image.save(QString::fromStdString(file), "PNG")) << file;
    }

    TempDir dir;
    QtHost host{QtHost::Mode::Recording};
    SystemClock clock;
    sim::VirtualBoard board;
    std::shared_ptr<sim::BootloaderControl> control = std::make_shared<sim::BootloaderControl>();
    std::unique_ptr<CZephranDlg> dialog;
    std::unique_ptr<MainWindow> window;
};

TEST_F(GuiPageScreenshots, RecordingPlaybackAndUpdate) {
    Page& analyz = Show("Analyz");
    std::string path;
    ASSERT_NO_FATAL_FAILURE(Record(analyz, 2, "recording.png", path));
    ASSERT_TRUE(analyz.UserClick(Analyz::kStartStop));
    ASSERT_NO_FATAL_FAILURE(Load(path));
    ASSERT_TRUE(analyz.UserClick(Analyz::kPlayPause));
    QTest::qWait(700);
    ASSERT_TRUE(dialog->Replay().Playing());
    Save("playback.png");
    ASSERT_TRUE(analyz.UserClick(Analyz::kPlayPause));

    std::string image(64 * 1024, '\0');
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 7);
    Page& update = Show("Update_FirmwareUpdate");
    ASSERT_TRUE(update.UserSetText(CIAPUpdateDlg::kPath, dir.Write("board.bin", image)));
    ASSERT_TRUE(update.UserClick(CIAPUpdateDlg::kStart));
    ASSERT_TRUE(WaitFor([this] { return dialog->StatusBar().Progress() >= 40; }, 10000));
    Save("update.png");
    ASSERT_TRUE(WaitFor([this] { return control->CompletedUpdates() == 1; }, 10000));
}

TEST_F(GuiPageScreenshots, ParameterToolBarAfterASaveWithAFieldsTip) {
    Show("AHRS_Set");
    std::optional<ParameterFiles::Outcome> outcome;
    dialog->Parameters().Save(dir.File("board.json"),
                              [&outcome](const ParameterFiles::Outcome& o) { outcome = o; });
    EXPECT_TRUE(window->ParameterBar().CancelAction().isEnabled());
    ASSERT_TRUE(WaitFor([&outcome] { return outcome.has_value(); }, 20000));
    EXPECT_EQ(outcome->error, "");
    EXPECT_FALSE(window->ParameterBar().CancelAction().isEnabled());
    EXPECT_NE(dir.Read("board.json").find("\"AHRS noise parameters\""), std::string::npos);

    QWidget* box = window->Pages().Current()->ControlWidget(CDlgAHRSSetting::kGyroNoise);
    ASSERT_NE(box, nullptr);
    QToolTip::showText(box->mapToGlobal(QPoint(box->width() / 2, box->height())), box->toolTip(),
                       box);
    EXPECT_EQ(QToolTip::text().toStdString(),
              FieldTip(CDlgAHRSSetting::kNoise.fields[0], dialog->Texts()));
    Save("parameter-toolbar-tip.png", true);
}

// The sensor-calibration and AHRS settings pages with sets not read, as on the board and edited.
TEST_F(GuiPageScreenshots, ParameterSetStates) {
    Page& cal = Show("AHRS_Cal");
    const auto state = [&cal](std::size_t k) { return cal.ValueStates()[k]->State(); };
    Save("sets-not-read.png");
    ASSERT_TRUE(cal.UserClick(CDlgSensorCalibrate::kAccRead));
    ASSERT_TRUE(cal.UserClick(CDlgSensorCalibrate::kMagRead));
    ASSERT_TRUE(WaitFor(
        [&] {
            return state(CDlgSensorCalibrate::kAccOffsetSet) == SetState::kAsOnBoard &&
                   state(CDlgSensorCalibrate::kExtremesSet) == SetState::kAsOnBoard;
        },
        3000));
    ASSERT_TRUE(cal.UserSetText(1034, "1.02"));  // gyroscope scale x
    EXPECT_EQ(state(CDlgSensorCalibrate::kGyroScaleSet), SetState::kEdited);
    Save("sets-read-and-edited.png");

    Page& settings = Show("AHRS_Set");
    ASSERT_TRUE(settings.UserClick(CDlgAHRSSetting::kRead));
    ASSERT_TRUE(WaitFor(
        [&settings] { return settings.ValueStates()[0]->State() == SetState::kAsOnBoard; }, 3000));
    Save("sets-as-on-the-board.png");
    ASSERT_TRUE(settings.UserSetText(CDlgAHRSSetting::kAccNoise, "2e-05"));
    Save("sets-edited.png");
}

// Playback drives the GPS/INS view as the board did, with the board unplugged.
// A write refused for a bad box on the desktop: the message, then the box with the keyboard
// focus and its whole text selected in the page on screen; the board saw no write.
TEST_F(GuiPageScreenshots, RefusedWriteLeavesTheBadBoxSelected) {
    window->resize(1366, 768);
    Page& page = Show("AHRS_Set");
    ASSERT_TRUE(page.UserSetText(CDlgAHRSSetting::kGyroNoise, "0.5"));
    ASSERT_TRUE(page.UserSetText(CDlgAHRSSetting::kAccNoise, "lots"));
    const std::size_t pending = dialog->Session().Pending().size();
    ASSERT_TRUE(page.UserClick(CDlgAHRSSetting::kWrite));
    QApplication::processEvents();
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"Enter a number."});
    auto* box = qobject_cast<QLineEdit*>(window->focusWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "lots");
    EXPECT_EQ(box->selectedText(), "lots");
    EXPECT_FALSE(box->visibleRegion().isEmpty());
    EXPECT_EQ(dialog->Session().Pending().size(), pending);
    Save("refused-write.png");
}

TEST_F(GuiPageScreenshots, GpsInsPlayback) {
    Stop();
    StartWith("GPSINS");
    Page& analyz = Show("Analyz");
    std::string path;
    ASSERT_NO_FATAL_FAILURE(Record(analyz, 3, "recording-gpsins.png", path));
    board.Stop();
    ASSERT_TRUE(WaitFor([this] { return !dialog->Recorder().Recording(); }, 5000));
    ASSERT_NO_FATAL_FAILURE(Load(path));
    ASSERT_TRUE(analyz.UserClick(Analyz::kPlayPause));
    Page& view = Show("GPSINS_View");
    QTest::qWait(700);
    ASSERT_TRUE(dialog->Replay().Playing());
    EXPECT_NE(view.GetDlgItemText(CDlgGPSINSView::kNavOutputText).find("Lon:    121.47"),
              std::string::npos);
    Save("playback-gpsins.png");
}

}  // namespace
}  // namespace zephran::qt
