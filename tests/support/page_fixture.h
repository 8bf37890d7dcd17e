#pragma once

#include "support/bytes.h"
#include "support/dialog_fixture.h"

namespace zephran::testing {

// A product (AHRS unless named) connected to a board in memory, with one page shown.
class PageFixture : public DialogFixture {
protected:
    void ShowPage(const std::string& treeKey, const std::string& product = "AHRS") {
        WriteConfig("[ProductSetting]\nProduct=" + product + "\n");
        devices.AddDevice("/dev/ttyUSB0", true);
        Start();
        Advance(1000);
        ASSERT_TRUE(dialog->Session().Connected());
        dialog->Tree().SelectItem(dialog->Tree().FindKey(treeKey));
        ASSERT_EQ(dialog->Pages().Shown()->Id().treeKey, treeKey);
        host.messages.clear();
    }
    Page& Shown() { return *dialog->Pages().Shown(); }
    // The last frame written, as (group, msgId, payload).
    struct Written {
        std::uint8_t group = 0;
        std::uint8_t msgId = 0;
        std::vector<std::uint8_t> payload;
    };
    Written Last() const {
        if (link->written.empty()) return {};
        const auto& frame = link->written.back();
        return {frame[2], frame[3], PayloadOf(frame)};
    }
    void ExpectLast(std::uint8_t group, std::uint8_t msgId,
                    const std::vector<std::uint8_t>& payload) const {
        EXPECT_EQ(Last().group, group);
        EXPECT_EQ(Last().msgId, msgId);
        EXPECT_EQ(Last().payload, payload);
    }
    void Click(int id) { ASSERT_TRUE(Shown().UserClick(id)) << id; }
    void Type(int id, const std::string& text) { ASSERT_TRUE(Shown().UserSetText(id, text)) << id; }
    std::string Box(int id) const { return dialog->Pages().Shown()->GetDlgItemText(id); }
};

}  // namespace zephran::testing
