// An OSD product selected while the simulated AHRS board answers: the program says why every
// request times out.
#include <algorithm>

#include "headless_board_test.h"

namespace zephran::test {
namespace {

constexpr int kReadRssi = 1423;

class HeadlessWrongProduct : public HeadlessBoardTest {
protected:
    // A request that the AHRS board leaves unanswered, up to its time-out.
    void Unanswered() {
        Send(kReadRssi, "Read RSSI Cal");
        Run("wait 1100");
    }
    long Told(const std::string& hint) {
        const Lines& traffic = Traffic();
        return std::count(traffic.begin(), traffic.end(), hint);
    }
};

TEST_F(HeadlessWrongProduct, TheThirdUnansweredRequestNamesTheProductAndTheBoard) {
    Connect("Vantrel", "AHRS");
    ASSERT_TRUE(app_->WaitUntil("get 1013", "ZephranFPV AHRS board", 3s));
    Run("page OSD_Calibrate");
    const std::string hint =
        "The board does not answer requests of the product Vantrel OSD. If it is another "
        "product, choose that in the Product menu. The board says: ZephranFPV AHRS board, "
        "firmware 3.5";
    Unanswered();
    Unanswered();
    EXPECT_EQ(Told(hint), 0);
    Unanswered();
    EXPECT_EQ(Told(hint), 1);
    EXPECT_EQ(app_->Pane(0), hint);
    EXPECT_TRUE(Contains(app_->Transcript(), "message: Read RSSI Cal timed out"));

    // Once for this connection, and the product stays the user's choice.
    Unanswered();
    Unanswered();
    Unanswered();
    EXPECT_EQ(Told(hint), 1);
    EXPECT_TRUE(Contains(app_->Listing("menubar"), "[x] Vantrel OSD (1220)"));
}

}  // namespace
}  // namespace zephran::test
