#include <bit>
#include <climits>
#include <cstring>

#include "pages/ahrs/dlg_ahrs.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "pages/autopilot/dlg_gpsins_view.h"
#include "records/gpsins_texts.h"
#include "records/record_store.h"
#include "support/page_fixture.h"
#include "views/live_views.h"

namespace zephran {
namespace {

using testing::PayloadBuilder;
using View = CDlgGPSINSView;

struct Nav {
    std::uint8_t flags = 7;
    double lon = 121.5, lat = 31.25;
    float hmsl = 132.5f;
    float vel[3] = {1.5f, -2.25f, 0.5f};
    float q[4] = {1, 0, 0, 0};
    float gyro[3] = {0.1f, 0, 0};
    float acc[3] = {0, 0, -9.7873f};
    std::uint8_t numSv = 11;
    float kfHealth = 3.0f;

    std::vector<std::uint8_t> Bytes() const {
        PayloadBuilder b;
        b.U8(flags).Double(lon).Double(lat).Float(hmsl);
        for (float v : vel)
            b.Float(v);
        for (float v : q)
            b.Float(v);
        for (float v : gyro)
            b.Float(v);
        for (float v : acc)
            b.Float(v);
        return b.U8(numSv).Float(kfHealth).bytes;
    }
};

std::vector<std::uint8_t> SensorsRaw(float gx, float az, float mx, float my, float mz) {
    return PayloadBuilder()
        .U8(2)
        .Float(gx)
        .Float(0)
        .Float(0)
        .Float(0)
        .Float(0)
        .Float(az)
        .Float(mx)
        .Float(my)
        .Float(mz)
        .Float(55.5f)
        .bytes;
}

std::vector<std::uint8_t> GpsRaw(std::uint8_t dataNewF, std::uint16_t pdop) {
    PayloadBuilder b;
    // ITOW 10000.
    b.U8(dataNewF).U8(0x10).U8(0x27).U8(0).U8(0).Double(121.5).Double(31.25).Float(130);
    b.U8(3).U8(1).U8(pdop & 0xFF).U8(pdop >> 8).U8(9);
    for (int i = 0; i < 6; ++i)
        b.Float(1.0f);
    return b.bytes;
}

bool Has(const std::string& text, const std::string& line) {
    return text.find(line) != std::string::npos;
}

class GpsInsTelemetryTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("GPSINS_View", "GPSINS");
    }
    void Show(const char* key) { dialog->Tree().SelectItem(dialog->Tree().FindKey(key)); }
    Page& PageOf(const char* key) { return *dialog->Pages().Find(key); }
    RecordStore& Records() { return dialog->Records(); }
};

TEST_F(GpsInsTelemetryTest, NavOutputRefreshesAllThreeTextsInTheirFormats) {
    Receive(16, 1, SensorsRaw(1.0f, 9.7873f, 100, 0, 0));
    // A SensorsRaw alone never reaches the screen.
    EXPECT_EQ(Box(View::kSensorsRawText), "");
    Receive(16, 2, GpsRaw(1, 154));
    Nav nav;
    nav.q[0] = 0.7071068f;
    nav.q[3] = 0.7071068f;
    Receive(16, 3, nav.Bytes());

    const std::string sensors = Box(View::kSensorsRawText);
    EXPECT_TRUE(sensors.starts_with("    SensorsRaw\r\n Health:   2 \r\n gx:    57.296 \r\n"));
    EXPECT_TRUE(Has(sensors, " az:     1.000 \r\n mx:     100.0 \r\n"));
    EXPECT_TRUE(Has(sensors, " HMSL:     55.50 \r\n"));

    const std::string gps = Box(View::kGpsRawText);
    EXPECT_TRUE(gps.starts_with("    GPSRaw\r\n DataNewF:   1 \r\n ITOW:    10000 \r\n"));
    EXPECT_TRUE(Has(gps, " LON:    121.50000000 \r\n LAT:    31.25000000 \r\n"));
    EXPECT_TRUE(Has(gps, " PDOP:      1.54 \r\n NumSV:    9 \r\n"));

    const std::string out = Box(View::kNavOutputText);
    EXPECT_TRUE(out.starts_with("    NavOutput\r\n Flags:   7 \r\n Lon:    121.50000000 \r\n"));
    EXPECT_TRUE(Has(out, " Hmsl:    132.50 \r\n VccN:     1.500 \r\n VccE:   -2.250 \r\n"));
    EXPECT_TRUE(Has(out, " Roll:       0.0 \r\n Pitch:       0.0 \r\n Yaw:      90.0 \r\n")) << out;
    EXPECT_TRUE(Has(out, " GyroX:      5.73 \r\n"));
    EXPECT_TRUE(Has(out, " AccbZ:    -9.787 \r\n NumSV:    11\r\n KFHealth:    3 \r\n"));
    // Telemetry is not logged.
    EXPECT_FALSE(Has(Log().back(), "DL_GPSINS"));
}

TEST_F(GpsInsTelemetryTest, DataNewFShowsOnlyOnTheFirstNavOutputAfterEachGpsRaw) {
    Receive(16, 2, GpsRaw(1, 100));
    Receive(16, 3, Nav().Bytes());
    EXPECT_TRUE(Has(Box(View::kGpsRawText), "DataNewF:   1 "));
    Receive(16, 3, Nav().Bytes());
    EXPECT_TRUE(Has(Box(View::kGpsRawText), "DataNewF:   0 "));
    Receive(16, 2, GpsRaw(1, 100));
    Receive(16, 3, Nav().Bytes());
    EXPECT_TRUE(Has(Box(View::kGpsRawText), "DataNewF:   1 "));
}

TEST_F(GpsInsTelemetryTest, HiddenViewIsNotRewrittenButTheRecordsAndCountersAre) {
    Show("GPSINS_Set_Misc");
    Receive(16, 3, Nav().Bytes());
    Receive(16, 3, Nav().Bytes());
    EXPECT_EQ(PageOf("GPSINS_View").GetDlgItemText(View::kNavOutputText), "");
    EXPECT_EQ(Records().navOutput.numSv, 11);
    EXPECT_EQ(dialog->Session().Dispatcher().LiveCount(LiveStream::kNavOutput), 2u);
    Show("GPSINS_View");
    EXPECT_EQ(Box(View::kNavOutputText), "");
    Receive(16, 3, Nav().Bytes());
    EXPECT_NE(Box(View::kNavOutputText), "");
}

TEST_F(GpsInsTelemetryTest, NavOutputFeedsTheLiveRecordNavigationSampleAndAhrsView) {
    Nav nav;
    nav.q[0] = 0.7071068f;
    nav.q[3] = 0.7071068f;
    Receive(16, 1, SensorsRaw(0, 9.7873f, 30, 40, 0));
    Receive(16, 3, nav.Bytes());
    const AhrsLiveRecord& live = Records().ahrsLive;
    EXPECT_EQ(live.flags, 7);
    EXPECT_NEAR(live.yaw, 90.0f, 1e-3);
    EXPECT_NEAR(live.gx, 5.729578f, 1e-4);
    EXPECT_FLOAT_EQ(live.az, 1.0f);
    EXPECT_FLOAT_EQ(live.mx, 30.0f);

    const NavigationSample& sample = Records().navSample;
    EXPECT_DOUBLE_EQ(sample.lon, 121.5);
    EXPECT_DOUBLE_EQ(sample.lat, 31.25);
    EXPECT_FLOAT_EQ(sample.hmsl, 132.5f);
    EXPECT_FLOAT_EQ(sample.vccE, -2.25f);
    EXPECT_NEAR(sample.yaw, 90.0f, 1e-3);
    EXPECT_FLOAT_EQ(sample.q[3], 0.7071068f);
    EXPECT_EQ(sample.unused, 0);

    // The AHRS view is not in this product's tree: its text is kept for when it is shown.
    const std::string text = static_cast<CDlgAHRS&>(PageOf("AHRS_View")).liveText;
    EXPECT_TRUE(text.starts_with(" Flags: 7 \r\n Roll:  0.000000 \r\n"));
    EXPECT_TRUE(Has(text, " az:    1.000000 \r\n mx:    30.000000 \r\n"));
    EXPECT_FALSE(Has(text, "ANorm"));
}

TEST_F(GpsInsTelemetryTest, SensorsRawReachesTheCalibrationPageWhileShown) {
    Receive(16, 3, Nav().Bytes());  // rates 0.1 rad/s about x
    Show("AHRS_Cal");
    Receive(16, 1, SensorsRaw(0, 9.7873f, 30, 40, 0));
    EXPECT_EQ(Box(1028), " 1.000");
    EXPECT_EQ(Box(1024), " 5.730");
    EXPECT_EQ(Box(1148), "30.000");
    EXPECT_EQ(Box(1162), "50.000");
}

TEST_F(GpsInsTelemetryTest, AhrsLiveDataGivesTheSensorsRecordAndSampleTheirAttitude) {
    PayloadBuilder b;
    b.U8(1).Float(10).Float(20).Float(30).Float(57.29578f).Float(0).Float(0);
    b.Float(0).Float(0).Float(1).Float(5).Float(6).Float(7);
    Receive(15, 1, b.bytes);
    EXPECT_NEAR(Records().sensorsRaw.gx, 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(Records().sensorsRaw.az, 9.7873f);
    EXPECT_FLOAT_EQ(Records().sensorsRaw.mz, 7.0f);
    EXPECT_FLOAT_EQ(Records().navSample.pitch, 20.0f);
    EXPECT_DOUBLE_EQ(Records().navSample.lon, 0.0);
}

TEST_F(GpsInsTelemetryTest, RecordsAreCopiedBoundedByTheirSize) {
    Receive(16, 3, Nav().Bytes());
    // Shorter: the tail stays.
    Receive(16, 3, PayloadBuilder().U8(9).bytes);
    EXPECT_EQ(Records().navOutput.flags, 9);
    EXPECT_EQ(Records().navOutput.numSv, 11);
    // Longer: cut at the record's end, nothing runs into the sample behind it.
    std::vector<std::uint8_t> longer = Nav().Bytes();
    longer.resize(120, 0xEE);
    Receive(16, 3, longer);
    EXPECT_EQ(Records().navSample.unused, 0);
    std::vector<std::uint8_t> gps = GpsRaw(1, 154);
    gps.resize(80, 0xEE);
    Receive(16, 2, gps);
    EXPECT_EQ(Records().navOutput.flags, 7);
    EXPECT_EQ(static_cast<int>(Records().gpsRaw.pdop), 154);
}

TEST_F(GpsInsTelemetryTest, ViewButtons) {
    Click(View::kReset);
    EXPECT_EQ(Last().group, 15);
    EXPECT_EQ(Last().msgId, 2);
    EXPECT_TRUE(Last().payload.empty());
    views::LiveViews& views = *dialog->Views();
    Nav nav;
    nav.q[0] = 0.7071068f;
    nav.q[3] = 0.7071068f;
    Receive(16, 3, nav.Bytes());
    Click(View::kHeadingToYaw);
    EXPECT_FLOAT_EQ(views.HeadingReference(), 0.0f);  // the 3-D view is closed
    Click(View::kAttitudeView);
    ASSERT_TRUE(views.IsOpen(views::ViewKind::Attitude));
    // The navigation output's attitude reaches the open view.
    Receive(16, 3, nav.Bytes());
    EXPECT_NEAR(views.View(views::ViewKind::Attitude)->Yaw(), 90.0f, 1e-3);
    Click(View::kHeadingToYaw);
    EXPECT_NEAR(views.HeadingReference(), 90.0f, 1e-3);
    EXPECT_NEAR(views.View(views::ViewKind::Attitude)->RelativeYaw(), 0.0f, 1e-3);
    Click(View::kHeadingToZero);
    EXPECT_FLOAT_EQ(views.HeadingReference(), 0.0f);
    // The scope runs modally; here its window is closed at once.
    bool scopeRan = false;
    host.onModal = [&](ui::Window& window) {
        scopeRan = window.GetWindowText() == "Scope";
        static_cast<views::CDlgScope&>(window).Close();
    };
    Click(View::kScope);
    EXPECT_TRUE(scopeRan);
    EXPECT_EQ(views.Scope(), nullptr);
    EXPECT_EQ(Box(View::kReset), Text("DlgGPSINSView", "IDC_BUTTON_RESETAHRS"));
}

TEST(GpsInsConversions, QuaternionToAngles) {
    const Angles level = QuaternionToAngles({1, 0, 0, 0});
    EXPECT_FLOAT_EQ(level.roll, 0);
    EXPECT_FLOAT_EQ(level.pitch, 0);
    EXPECT_FLOAT_EQ(level.yaw, 0);
    EXPECT_NEAR(QuaternionToAngles({0.7071068f, 0, 0, 0.7071068f}).yaw, 90.0f, 1e-3);
    EXPECT_NEAR(QuaternionToAngles({0.9659258f, 0.2588190f, 0, 0}).roll, 30.0f, 1e-3);
    EXPECT_NEAR(QuaternionToAngles({0.9659258f, 0, 0.2588190f, 0}).pitch, 30.0f, 1e-3);
    // Slightly off unit length past the pole: the pitch is clamped, not NaN.
    EXPECT_NEAR(QuaternionToAngles({0.7072f, 0, 0.7072f, 0}).pitch, 90.0f, 1e-3);
}

int Decode(std::uint32_t bits) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, &bits, sizeof bytes);
    return DecodeKfHealth(bytes);
}

int Decode(float value) {
    return Decode(std::bit_cast<std::uint32_t>(value));
}

TEST(GpsInsConversions, KfHealthPrintsFloatsAndIntegersAsWholeNumbers) {
    EXPECT_EQ(Decode(3.0f), 3);
    EXPECT_EQ(Decode(2.6f), 3);
    EXPECT_EQ(Decode(-7.4f), -7);
    EXPECT_EQ(Decode(1e20f), INT_MAX);
    EXPECT_EQ(Decode(0u), 0);
    EXPECT_EQ(Decode(5u), 5);
    EXPECT_EQ(Decode(0xFFFFFFFFu), -1);
}

}  // namespace
}  // namespace zephran
