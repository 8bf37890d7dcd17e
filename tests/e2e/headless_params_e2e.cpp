// Parameter files through the headless front end against a simulated AHRS board: the board's
// sets saved, a change on the board found by a comparison and undone by a load, and files that
// do not check out refused before anything is sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "headless_board_test.h"
#include "pages/ahrs/dlg_ahrs_setting.h"

namespace zephran::test {
namespace {

using S = CDlgAHRSSetting;

class HeadlessParams : public HeadlessBoardTest {
protected:
    void SetUp() override {
        HeadlessBoardTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(Connect("AHRS", "AHRS"));
        saved_ = appDir_.File("saved.json");
        const Lines saved = app_->Command("params save " + saved_);
        ASSERT_FALSE(saved.empty());
        ASSERT_EQ(saved.back(), "ok") << ::testing::PrintToString(saved);
        ASSERT_TRUE(Contains(saved, "Saved 9 parameter sets to " + saved_ + "."));
        Traffic();
        traffic_.clear();
    }

    // The board's gyro noise changed with the tool's own page write.
    void ChangeGyroNoiseOnTheBoard(const std::string& value) {
        Run("page AHRS_Set");
        Set(S::kGyroNoise, value);
        Send(S::kWrite, "Write AHRS Parameters");
        ASSERT_EQ(BoardGyroNoise(), value);
    }

    std::string BoardGyroNoise() {
        Run("page AHRS_Set");
        Ask(S::kRead, "Read AHRS Parameters");
        return app_->Get(S::kGyroNoise).value_or("");
    }

    // Every request the log took since the last look.
    Lines Requests() {
        const Lines& traffic = Traffic();
        Lines requests;
        std::copy_if(traffic.begin(), traffic.end(), std::back_inserter(requests),
                     [](const std::string& line) { return line.starts_with("**"); });
        traffic_.clear();
        return requests;
    }

    std::string saved_;
};

TEST_F(HeadlessParams, SavedFileHoldsTheBoardsSetsWithTheirRecords) {
    const std::string text = appDir_.Read("saved.json");
    EXPECT_NE(text.find("\"product\": \"AHRS\""), std::string::npos);
    EXPECT_NE(text.find("\"name\": \"AHRS noise parameters\""), std::string::npos);
    EXPECT_NE(text.find("\"gyroNoise\": {\n"), std::string::npos);
    EXPECT_NE(text.find("\"record\": \"5a"), std::string::npos);  // the board's leading byte
}

TEST_F(HeadlessParams, ACompareShowsExactlyTheChangedFieldAndALoadRestoresIt) {
    ASSERT_NO_FATAL_FAILURE(ChangeGyroNoiseOnTheBoard("2.5e-06"));
    EXPECT_EQ(
        app_->Command("params diff " + saved_),
        (Lines{"AHRS noise parameters / Gyroscope Noise (Q): file=1e-07, board=2.5e-06", "ok"}));

    const Lines question = app_->Command("params load " + saved_);
    ASSERT_FALSE(question.empty());
    EXPECT_EQ(question.back(),
              "question: These values will change:\\nAHRS noise parameters / Gyroscope Noise (Q): "
              "board=2.5e-06, file=1e-07\\nWrite them to the board?");
    EXPECT_EQ(app_->Command("yes"),
              (Lines{"Wrote 1 parameter sets: AHRS noise parameters.", "ok"}));
    EXPECT_EQ(BoardGyroNoise(), "1e-07");
    EXPECT_EQ(app_->Command("params diff " + saved_), (Lines{"No differences.", "ok"}));
}

TEST_F(HeadlessParams, ALoadAnsweredNoLeavesTheBoardAlone) {
    ASSERT_NO_FATAL_FAILURE(ChangeGyroNoiseOnTheBoard("3e-06"));
    Requests();
    ASSERT_TRUE(app_->Command("params load " + saved_).back().starts_with("question: "));
    EXPECT_EQ(app_->Command("maybe"), (Lines{"error: answer yes or no"}));
    EXPECT_EQ(app_->Command("no"), (Lines{"Nothing was written.", "ok"}));
    for (const std::string& request : Requests())
        EXPECT_EQ(request.find("Write"), std::string::npos) << request;
    EXPECT_EQ(BoardGyroNoise(), "3e-06");
}

TEST_F(HeadlessParams, FilesForAnotherProductOrDamagedAreRefusedWithNothingSent) {
    ASSERT_NO_FATAL_FAILURE(ChangeGyroNoiseOnTheBoard("4e-06"));
    Requests();
    std::string text = appDir_.Read("saved.json");
    const std::string other = text;
    const std::size_t product = text.find("\"AHRS\"");
    const std::string gpsins = appDir_.Write("gpsins.json", text.replace(product, 6, "\"GPSINS\""));
    const std::string damaged = appDir_.Write("damaged.json", other.substr(0, other.size() / 2));
    const std::string edited = appDir_.Write(
        "edited.json",
        std::string(other).replace(other.find("\"taps\""), 0, "\"tap\": {\"value\": 1}, "));

    const Lines refusedProduct = app_->Command("params load " + gpsins);
    EXPECT_EQ(refusedProduct.back(), "error: " + gpsins +
                                         ": The file holds parameters of the product \"GPSINS\", "
                                         "not of \"AHRS\".");
    EXPECT_TRUE(app_->Command("params load " + damaged)
                    .back()
                    .starts_with("error: " + damaged + ": The file is damaged: "));
    EXPECT_EQ(app_->Command("params load " + edited).back(),
              "error: " + edited + ": Set \"Gyro FIR\", field \"tap\": the set has no such field.");
    EXPECT_TRUE(app_->Command("params diff " + damaged + " " + saved_)
                    .back()
                    .starts_with("error: " + damaged));
    EXPECT_EQ(Requests(), Lines{});
    EXPECT_EQ(BoardGyroNoise(), "4e-06");
}

TEST_F(HeadlessParams, FieldsShowTheirTips) {
    Run("page AHRS_Set");
    EXPECT_EQ(app_->Command("tip " + std::to_string(S::kGyroNoise)),
              (Lines{std::to_string(S::kGyroNoise) +
                         "=Process noise of the gyroscope in the attitude filter (Q)\\nA number "
                         "(double precision, 15 significant digits)",
                     "ok"}));
    EXPECT_EQ(app_->Command("params"),
              (Lines{"error: usage: params save FILE | params load FILE | params diff FILE "
                     "[FILE2]"}));
}

// On the virtual clock a save waits for the board's replies as it does in real time.
class HeadlessParamsVirtualTime : public HeadlessBoardTest {};

TEST_F(HeadlessParamsVirtualTime, SaveTakesEveryReply) {
    Configure("Auto", 1, "AHRS");
    const std::string port = appDir_.File("board");
    ASSERT_TRUE(board_.Start("AHRS", port)) << board_.LastError();
    app_.emplace(Arguments({port}, {"--virtual-time"}));
    ASSERT_TRUE(app_->WaitUntil("log", "Connect OK", std::chrono::seconds(5)));
    const std::string file = appDir_.File("virtual.json");
    EXPECT_EQ(app_->Command("params save " + file),
              (Lines{"Saved 9 parameter sets to " + file + ".", "ok"}));
}

}  // namespace
}  // namespace zephran::test
