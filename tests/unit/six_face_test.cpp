#include "pages/ahrs/dlg_six_face_cal.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using testing::PayloadBuilder;
using Page = CDlgSixFaceCal;

std::vector<std::uint8_t> Floats(std::uint8_t leading, std::vector<float> values) {
    PayloadBuilder b;
    b.U8(leading);
    for (float v : values)
        b.Float(v);
    return b.bytes;
}

// Six faces with one reading set, the others zero.
std::vector<std::uint8_t> Faces(int face, int axis, float value) {
    std::vector<float> values(18, 0.0f);
    values[static_cast<std::size_t>((face - 1) * 3 + axis)] = value;
    return Floats(0, values);
}

class SixFaceTest : public testing::PageFixture {
protected:
    std::string BoxOf(const char* treeKey, int id) {
        return dialog->Pages().Find(treeKey)->GetDlgItemText(id);
    }
};

TEST_F(SixFaceTest, FaceButtonsSendTheFaceIndexOthersSendNothing) {
    ShowPage("AHRS_ACC_CAL");
    for (std::uint8_t face = 0; face < 6; ++face) {
        Click(Page::kFaceButtons[face]);
        EXPECT_EQ(Last().msgId, 53);
        EXPECT_EQ(Last().payload, std::vector<std::uint8_t>{face});
    }
    const std::pair<int, int> buttons[] = {
        {Page::kStartCal, 54}, {Page::kReadCal, 55}, {Page::kDefault, 56}};
    for (const auto& [id, msgId] : buttons) {
        Click(id);
        EXPECT_EQ(Last().msgId, msgId);
        EXPECT_TRUE(Last().payload.empty());
    }
}

TEST_F(SixFaceTest, MagPageSendsItsOwnMessages) {
    ShowPage("AHRS_MAG_CAL");
    Click(Page::kFaceButtons[5]);
    EXPECT_EQ(Last().msgId, 57);
    EXPECT_EQ(Last().payload, std::vector<std::uint8_t>{5});
    Click(Page::kStartCal);
    EXPECT_EQ(Last().msgId, 64);
    Click(Page::kReadCal);
    EXPECT_EQ(Last().msgId, 65);
    Click(Page::kDefault);
    EXPECT_EQ(Last().msgId, 66);
}

TEST_F(SixFaceTest, AccFaceReadingsAreShownInG) {
    ShowPage("AHRS_ACC_CAL");
    Receive(15, 53, Faces(3, 2, 9.7873f));
    EXPECT_EQ(Box(1030), "1");
    Receive(15, 53, Faces(5, 1, -4.89365f));
    EXPECT_EQ(Box(1151), "-0.5");
    // Every face is rewritten by each reply.
    EXPECT_EQ(Box(1030), "0");
    EXPECT_EQ(Log().back(), Text("Communicate State", "DL_MINIAHRS_READ_ACC_6FACE") +
                                Text("Communicate State", "Succeed"));
}

TEST_F(SixFaceTest, AccComputationIsDividedTheStoredCoefficientsAreNot) {
    ShowPage("AHRS_ACC_CAL");
    const auto record = Floats(0, {0.97873f, 0, -1.95746f, 1.01f, 0.99f, 1.5f});
    Receive(15, 54, record);
    EXPECT_EQ(Box(1216), "0.1");
    EXPECT_EQ(Box(1218), "-0.2");
    EXPECT_EQ(Box(1219), "1.01");
    EXPECT_EQ(Box(1221), "1.5");
    Receive(15, 55, record);
    EXPECT_EQ(Box(1216), "0.97873");
    EXPECT_EQ(Box(1218), "-1.95746");
    EXPECT_EQ(Box(1219), "1.01");
}

TEST_F(SixFaceTest, MagValuesAreShownUnconverted) {
    ShowPage("AHRS_MAG_CAL");
    Receive(15, 57, Faces(2, 1, 250.5f));
    EXPECT_EQ(Box(1226), "250.5");
    Receive(15, 57, Faces(6, 2, -3.25f));
    EXPECT_EQ(Box(1239), "-3.25");
    EXPECT_EQ(Box(1226), "0");
    const auto record = Floats(0, {12.5f, -3, 0.5f, 1.25f, 0.75f, 2});
    for (std::uint8_t msgId : {64, 65}) {
        Receive(15, msgId, record);
        EXPECT_EQ(Box(1240), "12.5");
        EXPECT_EQ(Box(1242), "0.5");
        EXPECT_EQ(Box(1243), "1.25");
        EXPECT_EQ(Box(1245), "2");
    }
}

TEST_F(SixFaceTest, HiddenPagesAreRefreshedAndKeepEachOthersValues) {
    ShowPage("AHRS_View");
    EXPECT_EQ(BoxOf("AHRS_ACC_CAL", 1219), "1");
    EXPECT_EQ(BoxOf("AHRS_MAG_CAL", 1245), "1");
    Receive(15, 53, Faces(1, 0, 19.5746f));
    Receive(15, 57, Faces(1, 0, 7));
    EXPECT_EQ(BoxOf("AHRS_ACC_CAL", 1022), "2");
    EXPECT_EQ(BoxOf("AHRS_MAG_CAL", 1222), "7");
    // The defaults' acknowledgement is logged and changes nothing.
    Receive(15, 66);
    EXPECT_EQ(Log().back(), Text("Communicate State", "DL_MINIAHRS_DEFAULT_MAG_6FACE_CAL_COF") +
                                Text("Communicate State", "Succeed"));
    EXPECT_EQ(BoxOf("AHRS_MAG_CAL", 1222), "7");
}

TEST_F(SixFaceTest, ShortReplyKeepsTheRecordsTail) {
    ShowPage("AHRS_MAG_CAL");
    Receive(15, 65, Floats(0, {1, 2, 3, 4, 5, 6}));
    Receive(15, 57, std::vector<std::uint8_t>(73, 0xEE));
    Receive(15, 65, Floats(0, {10}));
    EXPECT_EQ(Box(1240), "10");
    EXPECT_EQ(Box(1241), "2");
    EXPECT_EQ(Box(1245), "6");
}

}  // namespace
}  // namespace zephran
