#include "update/firmware_update.h"

#include <algorithm>

#include "app/menu_bar.h"
#include "pages/update/dlg_iap_update.h"
#include "support/bytes.h"
#include "support/fake_host.h"
#include "support/fake_texts.h"
#include "support/page_fixture.h"
#include "support/temp_dir.h"

namespace zephran {
namespace {

using Bytes = std::vector<std::uint8_t>;

class FirmwareUpdateTest : public testing::PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        // A product without a rate display, which would take over the status pane.
        ShowPage("Update_FirmwareUpdate", "Standard");
    }

    // An image of size bytes, each byte a function of its offset.
    std::string WriteImage(std::size_t size, const std::string& name = "image.bin") {
        image.resize(size);
        for (std::size_t i = 0; i < size; ++i)
            image[i] = static_cast<std::uint8_t>(i * 7 + i / 1024);
        dir.Write(name, std::string(image.begin(), image.end()));
        return dir.File(name);
    }

    void Start(const std::string& path) {
        Type(CIAPUpdateDlg::kPath, path);
        Click(CIAPUpdateDlg::kStart);
    }
    // Starts and acknowledges an update of a fresh image of size bytes.
    void Begin(std::size_t size) {
        Start(WriteImage(size));
        ASSERT_EQ(Last().group, 14);
        Receive(14, 0);
        ASSERT_TRUE(dialog->Update().Active());
    }
    void Request(unsigned page) {
        Receive(14, 1,
                {static_cast<std::uint8_t>(page & 0xFF), static_cast<std::uint8_t>(page >> 8)});
    }
    // The page data the tool answered last, after checking its header.
    Bytes AnsweredPage(unsigned page) {
        const Written last = Last();
        EXPECT_EQ(last.group, 14);
        EXPECT_EQ(last.msgId, 1);
        EXPECT_EQ(last.payload.size(), 1026u);
        if (last.payload.size() != 1026) return {};
        EXPECT_EQ(last.payload[0], page & 0xFF);
        EXPECT_EQ(last.payload[1], 0);
        return {last.payload.begin() + 2, last.payload.end()};
    }
    void ExpectEnded() {
        EXPECT_FALSE(dialog->Update().Active());
        EXPECT_EQ(Box(CIAPUpdateDlg::kStart), Text("DlgIAPUPDATE", "Start"));
        EXPECT_EQ(dialog->StatusBar().Progress(), 0);
        EXPECT_TRUE(Shown().Find(CIAPUpdateDlg::kBrowse)->enabled);
    }

    // Back to the update page of product after a product change.
    void ShowPageOf(const std::string& product) {
        dialog->OnCommand(
            std::find_if(kProductCommands.begin(), kProductCommands.end(),
                         [&](const ProductCommand& item) { return item.product == product; })
                ->command);
        dialog->Tree().SelectItem(dialog->Tree().FindKey("Update_FirmwareUpdate"));
    }

    Bytes image;
};

TEST_F(FirmwareUpdateTest, ImageOfTwoPagesIsSentPageByPageAndCompletes) {
    Begin(1025);
    EXPECT_EQ(Box(CIAPUpdateDlg::kStart), Text("DlgIAPUPDATE", "Cancal"));
    EXPECT_EQ(Pane(0), Text("Panel", "erase"));
    EXPECT_FALSE(Shown().Find(CIAPUpdateDlg::kBrowse)->enabled);

    Request(0);
    EXPECT_EQ(AnsweredPage(0), Bytes(image.begin(), image.begin() + 1024));
    EXPECT_EQ(Pane(0), Text("Panel", "programming") + " 0");
    ASSERT_GE(Log().size(), 2u);
    EXPECT_EQ(Log()[Log().size() - 2], Text("Communicate State", "Request Page") + " 0");

    Request(1);
    Bytes last(1024, 0xFF);
    last[0] = image[1024];
    EXPECT_EQ(AnsweredPage(1), last);
    EXPECT_EQ(dialog->StatusBar().Progress(), 50);

    const auto writes = link->written.size();
    Request(2);
    EXPECT_EQ(link->written.size(), writes);
    EXPECT_EQ(Pane(0), Text("MessagBox", "Firmware Update Succeed"));
    ExpectEnded();
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(FirmwareUpdateTest, StartCarriesThePageCount) {
    Start(WriteImage(1024));
    EXPECT_EQ(Last().payload, (Bytes{1, 0}));
    Start(WriteImage(256 * 1024));
    EXPECT_EQ(Last().payload, (Bytes{0, 1}));
}

TEST_F(FirmwareUpdateTest, ImagesThatCannotBeSentAreRefusedBeforeAnythingGoesOut) {
    const auto writes = link->written.size();
    Start("");
    Start(WriteImage(0));
    Start(WriteImage(256 * 1024 + 1));
    Start(dir.Path());
    Start(dir.File("missing.bin"));
    EXPECT_EQ(link->written.size(), writes);
    ASSERT_EQ(host.messages.size(), 5u);
    EXPECT_EQ(host.messages[0], Text("MessagBox", "Select Bin File First"));
    EXPECT_EQ(host.messages[1], Text("MessagBox", "Bin File Empty"));
    EXPECT_EQ(host.messages[2], Text("MessagBox", "Bin File Too Large"));
    EXPECT_NE(host.messages[2].find("256 pages"), std::string::npos);
    EXPECT_EQ(host.messages[3], Text("MessagBox", "Open File Err"));
    EXPECT_EQ(host.messages[4], Text("MessagBox", "Open File Err"));
}

TEST_F(FirmwareUpdateTest, PageNumberIsComparedInFullSixteenBits) {
    Begin(5 * 1024);
    Request(0x0105);
    EXPECT_NE(Pane(0), Text("MessagBox", "Firmware Update Succeed"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], Text("MessagBox", "Wrong Page"));
    ExpectEnded();
}

TEST_F(FirmwareUpdateTest, EraseTimesOutOnTheThousandthTick) {
    Begin(1024);
    Advance(9990);
    EXPECT_TRUE(dialog->Update().Active());
    EXPECT_TRUE(host.messages.empty());
    Advance(10);
    ExpectEnded();
    EXPECT_EQ(Pane(0), Text("Panel", "erase timeout"));
    EXPECT_EQ(host.messages, std::vector<std::string>{Text("Panel", "erase timeout")});
}

TEST_F(FirmwareUpdateTest, FirstPageRequestEndsTheErase) {
    Begin(1024);
    Advance(5000);
    Request(0);
    Advance(20000);
    EXPECT_TRUE(dialog->Update().Active());
    EXPECT_EQ(dialog->Update().EraseCountdown(), 0);
}

TEST_F(FirmwareUpdateTest, CancelEndsTheUpdateAndIgnoresTheBoardAfterwards) {
    Begin(2048);
    Request(0);
    const auto writes = link->written.size();
    Click(CIAPUpdateDlg::kStart);
    ExpectEnded();
    EXPECT_EQ(Pane(0), Text("Panel", "User Cancal"));
    EXPECT_EQ(link->written.size(), writes);

    Request(1);
    Receive(14, 0);  // a late acknowledgement
    EXPECT_FALSE(dialog->Update().Active());
    EXPECT_EQ(link->written.size(), writes);
    EXPECT_EQ(Box(CIAPUpdateDlg::kStart), Text("DlgIAPUPDATE", "Start"));

    // The next press starts again.
    Click(CIAPUpdateDlg::kStart);
    EXPECT_EQ(Last().group, 14);
    EXPECT_EQ(Last().msgId, 0);
}

// The answer to page 0 waits for the board's next request; after a cancel nothing waits, so no
// time-out comes later.
TEST_F(FirmwareUpdateTest, CancelLeavesNothingPending) {
    Begin(2048);
    Request(0);
    ASSERT_FALSE(dialog->Session().Pending().empty());
    Click(CIAPUpdateDlg::kStart);
    EXPECT_TRUE(dialog->Session().Pending().empty());
    Advance(2000);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Pane(0), Text("Panel", "User Cancal"));
    EXPECT_EQ(dialog->StatusBar().Progress(), 0);
}

TEST_F(FirmwareUpdateTest, PageRequestsWithoutAnUpdateAreIgnored) {
    const auto writes = link->written.size();
    Request(0);
    Receive(14, 0);
    EXPECT_FALSE(dialog->Update().Active());
    EXPECT_EQ(link->written.size(), writes);
}

TEST_F(FirmwareUpdateTest, FileChangedMidUpdateDoesNotMixImages) {
    Begin(2048);
    const Bytes original = image;
    WriteImage(3000);
    Request(1);
    EXPECT_EQ(AnsweredPage(1), Bytes(original.begin() + 1024, original.end()));
}

TEST_F(FirmwareUpdateTest, ProgressIsLeftToTheUpdateWhilePagesArePending) {
    Begin(4096);
    Request(2);
    Advance(500);
    EXPECT_EQ(dialog->StatusBar().Progress(), 50);
}

TEST_F(FirmwareUpdateTest, LosingThePortEndsTheUpdateAndTheScanResumes) {
    Begin(2048);
    Request(0);
    link->Lose();
    dialog->ProcessPortEvents();
    ExpectEnded();
    const int opens = link->opens;
    Advance(1000);
    EXPECT_GT(link->opens, opens);
}

TEST_F(FirmwareUpdateTest, BrowseShowsTheChosenPath) {
    host.nextFile = "/tmp/board.bin";
    Click(CIAPUpdateDlg::kBrowse);
    EXPECT_EQ(Box(CIAPUpdateDlg::kPath), "/tmp/board.bin");
}

TEST_F(FirmwareUpdateTest, TheOutcomeStaysOnThePageUntilTheNextStart) {
    EXPECT_EQ(Box(CIAPUpdateDlg::kOutcome), "");
    Begin(1025);
    Advance(1500);
    Request(0);
    Request(1);
    Request(2);
    const std::string succeeded = "Firmware update succeeded (2 pages, 1.5 s)";
    EXPECT_EQ(Box(CIAPUpdateDlg::kOutcome), succeeded);
    dialog->SetStatus(kStatusMain, "other", 0);
    Advance(5000);
    EXPECT_EQ(Box(CIAPUpdateDlg::kOutcome), succeeded);

    // A refused start is no start.
    Start("");
    EXPECT_EQ(Box(CIAPUpdateDlg::kOutcome), succeeded);
    Start(WriteImage(1024));
    EXPECT_EQ(Box(CIAPUpdateDlg::kOutcome), "");
    Receive(14, 0);
    Click(CIAPUpdateDlg::kStart);
    EXPECT_EQ(Box(CIAPUpdateDlg::kOutcome), Text("Panel", "User Cancal"));
}

TEST_F(FirmwareUpdateTest, AFailedUpdateShowsTheReasonTheStatusBarGave) {
    const std::string failed = "Firmware update failed: ";
    Begin(1024);
    Advance(10000);
    EXPECT_EQ(Box(CIAPUpdateDlg::kOutcome), failed + Pane(0));

    Begin(5 * 1024);
    Request(6);
    EXPECT_EQ(Box(CIAPUpdateDlg::kOutcome), failed + Text("MessagBox", "Wrong Page"));

    // A start the board never acknowledges.
    host.messages.clear();
    Start(WriteImage(1024));
    Advance(1000);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(Box(CIAPUpdateDlg::kOutcome), failed + host.messages[0]);

    Begin(2048);
    Request(0);
    link->Lose();
    dialog->ProcessPortEvents();
    EXPECT_EQ(Box(CIAPUpdateDlg::kOutcome), failed + Pane(0));
    EXPECT_EQ(Pane(0), Text("Panel", "Port Lost") + " COM1");
}

TEST_F(FirmwareUpdateTest, ProductChangeAndQuitAskFirstWhileAnUpdateRuns) {
    EXPECT_TRUE(dialog->MayQuit());
    dialog->OnCommand(kProductCommands[0].command);
    EXPECT_TRUE(host.questions.empty());
    ShowPageOf("Standard");

    Begin(2048);
    Request(0);
    const auto writes = link->written.size();
    host.answer = false;
    dialog->OnCommand(kProductCommands[0].command);
    EXPECT_FALSE(dialog->MayQuit());
    EXPECT_EQ(host.questions, (std::vector<std::string>{
                                  "A firmware update is running. Stop it and change the product?",
                                  "A firmware update is running. Stop it and quit?"}));
    // No changes nothing: the update goes on, on the page it runs on.
    EXPECT_TRUE(dialog->Update().Active());
    EXPECT_EQ(dialog->Settings().ReadText("ProductSetting", "Product"), "Standard");
    EXPECT_EQ(Shown().Id().treeKey, "Update_FirmwareUpdate");
    EXPECT_EQ(Box(CIAPUpdateDlg::kStart), Text("DlgIAPUPDATE", "Cancal"));
    Request(1);
    EXPECT_GT(link->written.size(), writes);

    // A language change asks nothing and keeps the update with its Cancel caption.
    dialog->ApplyLanguageRefresh();
    EXPECT_EQ(host.questions.size(), 2u);
    EXPECT_EQ(Box(CIAPUpdateDlg::kStart), Text("DlgIAPUPDATE", "Cancal"));

    // Yes stops it as Cancel does, then goes on.
    host.answer = true;
    EXPECT_TRUE(dialog->MayQuit());
    ExpectEnded();
    EXPECT_EQ(Pane(0), Text("Panel", "User Cancal"));
    EXPECT_TRUE(dialog->Session().Pending().empty());

    Begin(2048);
    dialog->OnCommand(kProductCommands[0].command);
    EXPECT_EQ(host.questions.size(), 4u);
    EXPECT_FALSE(dialog->Update().Active());
    EXPECT_EQ(dialog->Settings().ReadText("ProductSetting", "Product"),
              kProductCommands[0].product);
    EXPECT_EQ(
        dialog->Pages().Find("Update_FirmwareUpdate")->GetDlgItemText(CIAPUpdateDlg::kOutcome),
        Text("Panel", "User Cancal"));
}

// The refusals come from the language file, in English when it lacks them.
TEST(FirmwareUpdateTexts, RefusalsAreLookedUpWithEnglishAsFallback) {
    testing::FakeTexts texts;
    testing::FakeHost host;
    testing::VectorLines lines;
    TrafficLog log(lines, texts);
    int sent = 0;
    VirtualClock clock;
    FirmwareUpdate update({texts, host, log,
                           [&](std::uint8_t, std::uint8_t, std::uint16_t, const std::uint8_t*) {
                               ++sent;
                               return true;
                           },
                           [](int, const std::string&, int) {}, [](std::uint8_t, std::uint8_t) {},
                           clock});
    testing::TempDir dir;
    const std::string empty = dir.Write("empty.bin", "");
    const std::string large = dir.Write("large.bin", std::string(256 * 1024 + 1, 'x'));
    update.Start(empty);
    update.Start(large);
    texts.Set("MessagBox", "Bin File Empty", "Leer");
    texts.Set("MessagBox", "Bin File Too Large", "Zu groß");
    update.Start(empty);
    update.Start(large);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"The firmware file is empty.",
                                        "The firmware file is larger than 256 pages (256 KiB).",
                                        "Leer", "Zu groß"}));
    EXPECT_EQ(sent, 0);
}

}  // namespace
}  // namespace zephran
