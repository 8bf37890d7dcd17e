// The live windows through the headless front end, against a simulated AHRS board on a pty:
// the AHRS view's buttons open them, and their state and controls are read and worked by
// commands as a person would see and work them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "headless_board_test.h"
#include "pages/ahrs/dlg_ahrs.h"

namespace zephran::test {
namespace {

class HeadlessViews : public HeadlessBoardTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(Connect("AHRS", "AHRS")); }

    void Click(int id) { Run("click " + std::to_string(id)); }

    // The value after "key: " in a listing, or empty.
    static std::string Field(const Lines& lines, const std::string& key) {
        for (const std::string& line : lines) {
            if (line.rfind(key + ": ", 0) == 0) return line.substr(key.size() + 2);
        }
        return {};
    }
    static double Number(const std::string& text) { return std::strtod(text.c_str(), nullptr); }
};

TEST_F(HeadlessViews, TheAttitudeViewShowsTheBoardAndFollowsTheHeadingReference) {
    Click(CDlgAHRS::kAttitudeView);
    Click(CDlgAHRS::kAttitudeView);
    EXPECT_EQ(app_->Listing("views"), Lines{"attitude: Euler"});
    Run("wait 300");
    Lines state = app_->Listing("attitude");
    EXPECT_EQ(Field(state, "title"), "Euler");
    // The view's yaw is the one its text column shows: both come from the last live frame.
    const std::string attitude = Field(state, "attitude");
    const double yaw = Number(attitude.substr(attitude.find("yaw ") + 4));
    char text[32];
    std::snprintf(text, sizeof text, "Yaw:   %6.1f", yaw);
    EXPECT_TRUE(Contains(state, "text: " + std::string(text))) << attitude;
    EXPECT_TRUE(Contains(state, "text: ANorm:"));
    EXPECT_NE(yaw, 0.0);

    // North: the heading reference takes the yaw, so the box turns to about 0.
    Click(CDlgAHRS::kHeadingToYaw);
    state = app_->Listing("attitude");
    EXPECT_NEAR(Number(Field(state, "heading reference")), yaw, 10.0);
    EXPECT_LT(std::abs(Number(Field(state, "relative yaw"))), 10.0);
    Click(CDlgAHRS::kHeadingToZero);
    EXPECT_EQ(Field(app_->Listing("attitude"), "heading reference"), "0");

    // The position view replaces it and keeps its creation size for the legend.
    Click(CDlgAHRS::kPositionView);
    EXPECT_EQ(app_->Listing("views"), Lines{"position: Euler(+Vcc)"});
    Run("resize position 300 0");
    state = app_->Listing("position");
    EXPECT_EQ(Field(state, "size"), "300x1, at creation 480x400");
    EXPECT_FALSE(Contains(state, "text: Flags"));
    EXPECT_TRUE(Contains(state, "text: Mz:"));
    Run("close position");
    EXPECT_TRUE(app_->Listing("views").empty());
    EXPECT_EQ(app_->Command("attitude").back(), "error: the attitude view is not open");
}

TEST_F(HeadlessViews, TheScopeIsModalSamplesTheBoardAndTakesItsControls) {
    EXPECT_EQ(app_->Command("click " + std::to_string(CDlgAHRS::kScope)).back(), "modal: Scope");
    Run("wait 500");
    const Lines traces = app_->Listing("scope");
    ASSERT_EQ(traces.size(), 12u);
    EXPECT_EQ(traces[0].rfind("0 Roll: ", 0), 0u) << traces[0];
    EXPECT_NE(traces[8].find("AccZ"), std::string::npos);
    EXPECT_NE(traces[8].find(" g, 1 per division, 0.5 s per division, zero 5/10, "),
              std::string::npos)
        << traces[8];
    // About 25 samples in half a second at one every 20 ms.
    const Lines roll = app_->Listing("scope Roll");
    const int samples = std::atoi(Field(roll, "samples").c_str());
    EXPECT_GE(samples, 15);
    EXPECT_LE(samples, 30);
    EXPECT_EQ(Field(roll, "value per division"), "100");

    Run("scope Roll press down");
    Run("scope Roll press time-down");
    Run("scope Roll zero 20");
    const Lines changed = app_->Listing("scope 0");
    EXPECT_EQ(Field(changed, "value per division"), "90");
    EXPECT_EQ(Field(changed, "time per division"), "0.4");
    EXPECT_EQ(Field(changed, "zero line").rfind("10/10", 0), 0u);
    EXPECT_TRUE(Contains(changed, "vertical label 0 at "));
    EXPECT_FALSE(Contains(changed, "vertical label -90 at "));
    EXPECT_EQ(app_->Command("scope Speed").back(), "error: no trace Speed");
    // Gravity on the board's Z axis leaves the plot at a tenth of a g per division.
    EXPECT_EQ(Field(app_->Listing("scope AccZ"), "off scale"), "none");
    for (int press = 0; press < 9; ++press)
        Run("scope AccZ press down");
    const Lines acc = app_->Listing("scope AccZ");
    EXPECT_EQ(Field(acc, "value per division"), "0.1");
    EXPECT_NE(Field(acc, "off scale"), "none");

    // The main window cannot be reached while it is open.
    EXPECT_EQ(app_->Command("page AHRS_Set").back(), "error: a modal window is open");
    EXPECT_EQ(app_->Command("click 1129").back(), "error: no control 1129");
    EXPECT_EQ(app_->Command("close attitude").back(), "error: a modal window is open");
    Run("close scope");
    EXPECT_EQ(app_->Answer("click 1132").back(), "ok");
    EXPECT_EQ(app_->Command("scope").back(), "error: the scope is not open");
    EXPECT_TRUE(app_->Listing("views").empty());
}

}  // namespace
}  // namespace zephran::test
