// The OSD screen settings page through the headless front end, against a simulated Vantrel OSD
// board on a pty: every choice of every setting is sent and acknowledged by the board.
#include <gtest/gtest.h>

#include <string>

#include "headless_board_test.h"
#include "pages/osd_tracker/dlg_osd.h"

namespace zephran::test {
namespace {

class HeadlessOsdScreen : public HeadlessBoardTest {};

TEST_F(HeadlessOsdScreen, EveryChoiceOfEverySettingIsAcknowledged) {
    ASSERT_NO_FATAL_FAILURE(Connect("Vantrel", "Vantrel"));
    Run("page OSD_Screen_Set");
    const std::array<std::string, 6> names{"Set Main Screen", "Set Radar Mode",
                                           "Set Units",       "Set RSSI Display",
                                           "Set RSSI Input",  "Set Flight Summary"};
    for (std::size_t c = 0; c < COSD::kChoices.size(); ++c) {
        const COSD::Choice& choice = COSD::kChoices[c];
        SCOPED_TRACE(names[c]);
        for (int option = choice.options - 1; option >= 0; --option) {
            Run("click " + std::to_string(choice.firstRadio + option));
            Ask(choice.set, names[c]);
        }
    }
    ExpectNoTimeOut();
}

}  // namespace
}  // namespace zephran::test
