// Firmware updates through the headless front end against the simulated bootloader.
#include <functional>

#include "headless_board_test.h"
#include "sim/bootloader.h"

namespace zephran::test {
namespace {

using Fault = sim::BootloaderControl::Fault;

constexpr int kPath = 1402;
constexpr int kStart = 1404;
constexpr int kOutcome = 1405;

class HeadlessUpdate : public HeadlessBoardTest {
protected:
    void SetUp() override {
        HeadlessBoardTest::SetUp();
        control_->SetEraseTime(std::chrono::milliseconds(50));
    }
    void Open() {
        board_.SetBootloader(control_);
        // A product without a rate display, which would take over the status pane.
        Connect("Standard", "Standard");
        Run("page Update_FirmwareUpdate");
    }
    std::string WriteImage(std::size_t size) {
        image_.resize(size);
        for (std::size_t i = 0; i < size; ++i)
            image_[i] = static_cast<std::uint8_t>(i * 13 + i / 1024 + 1);
        appDir_.Write("image.bin", std::string(image_.begin(), image_.end()));
        return appDir_.File("image.bin");
    }
    void StartUpdate(std::size_t size) {
        Set(kPath, WriteImage(size));
        Run("click " + std::to_string(kStart));
    }
    bool WaitForPane(const std::string& text, std::chrono::milliseconds timeout = 20s) {
        return app_->WaitUntil("status", "pane 0: " + text, timeout);
    }
    // Lets time pass until done holds; false after timeout.
    bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 20s) {
        const auto deadline = steady_clock::now() + timeout;
        while (!done()) {
            if (steady_clock::now() >= deadline) return false;
            Run("wait 50");
        }
        return true;
    }
    // Waits for the next completed update.
    bool WaitForCompletion(std::chrono::milliseconds timeout = 20s) {
        const int completed = control_->CompletedUpdates();
        return WaitFor([&] { return control_->CompletedUpdates() > completed; }, timeout) &&
               WaitFor([&] { return app_->Get(kStart) == "Start Update"; });
    }
    // The board holds exactly the image, its last page padded with erased flash.
    void ExpectFlashed() {
        std::vector<std::uint8_t> expected = image_;
        expected.resize((image_.size() + 1023) / 1024 * 1024, 0xFF);
        EXPECT_EQ(control_->CompletedUpdates(), 1);
        EXPECT_TRUE(control_->ReceivedImage() == expected);
    }
    bool Messaged(const std::string& text) {
        return Contains(app_->Transcript(), "message: " + text);
    }

    std::shared_ptr<sim::BootloaderControl> control_ = std::make_shared<sim::BootloaderControl>();
    std::vector<std::uint8_t> image_;
};

// At 9600 baud each page is over a second on the wire; no request times out meanwhile.
TEST_F(HeadlessUpdate, PagesLongerThanASecondOnTheWireGoThroughAtALowBaudRate) {
    baud_ = 9600;
    board_.PaceToBaud(9600);
    Open();
    StartUpdate(2 * 1024 + 100);
    ASSERT_TRUE(WaitForCompletion(30s));
    EXPECT_EQ(app_->Pane(0), "Firmware update succeeded");
    ExpectFlashed();
    EXPECT_FALSE(Contains(app_->Transcript(), "timed out"));
}

TEST_F(HeadlessUpdate, ImagesAreFlashedByteForByte) {
    Open();
    for (const std::size_t size : {std::size_t{1024}, std::size_t{1025}, std::size_t{256 * 1024}}) {
        SCOPED_TRACE(size);
        StartUpdate(size);
        ASSERT_TRUE(WaitForCompletion(60s));
        EXPECT_EQ(app_->Pane(0), "Firmware update succeeded");
        std::vector<std::uint8_t> expected = image_;
        expected.resize((image_.size() + 1023) / 1024 * 1024, 0xFF);
        EXPECT_TRUE(control_->ReceivedImage() == expected);
        EXPECT_EQ(app_->Get(kStart), "Start Update");
    }
    EXPECT_EQ(control_->RejectedPages(), 0);
    EXPECT_FALSE(Contains(app_->Transcript(), "message: "));
}

TEST_F(HeadlessUpdate, EmptyAndOversizedImagesAreRefused) {
    Open();
    StartUpdate(0);
    StartUpdate(257 * 1024);
    Run("wait 300");
    EXPECT_EQ(control_->Starts(), 0);
    EXPECT_TRUE(Messaged("The firmware file is empty."));
    EXPECT_TRUE(Messaged("The firmware file is larger than 256 pages (256 KiB)."));
}

TEST_F(HeadlessUpdate, RequestBeyondTheImageShowsWrongPage) {
    control_->SetFault(Fault::RequestBeyondImage, 1, 0x0105);
    Open();
    StartUpdate(5 * 1024);
    ASSERT_TRUE(WaitFor([&] {
        return Contains(app_->Transcript(), "message: The board requested a page beyond");
    }));
    EXPECT_EQ(app_->Get(kStart), "Start Update");
    EXPECT_EQ(control_->CompletedUpdates(), 0);
}

TEST_F(HeadlessUpdate, RepeatedRequestIsAnsweredAgainAndTheImageStaysWhole) {
    control_->SetFault(Fault::RepeatRequest, 2);
    Open();
    StartUpdate(4 * 1024 + 10);
    ASSERT_TRUE(WaitForCompletion());
    ExpectFlashed();
}

TEST_F(HeadlessUpdate, SilenceMidTransferTimesOutAndCancelEndsIt) {
    control_->SetFault(Fault::SilentMidTransfer, 1);
    Open();
    StartUpdate(4 * 1024);
    ASSERT_TRUE(WaitFor([&] { return Contains(app_->Transcript(), "message: Firmware Page"); }));
    EXPECT_EQ(app_->Get(kStart), "Cancel Update");
    Run("click " + std::to_string(kStart));
    EXPECT_EQ(app_->Pane(0), "Update cancelled by user");
    EXPECT_EQ(app_->Get(kStart), "Start Update");
}

TEST_F(HeadlessUpdate, PortUnpluggedMidUpdateEndsItAndTheBoardIsFoundAgain) {
    control_->SetFault(Fault::SilentMidTransfer, 3);
    Open();
    StartUpdate(8 * 1024);
    ASSERT_TRUE(WaitForPane("Programming page 3"));
    board_.Stop();
    ASSERT_TRUE(WaitForPane("Connection lost: COM1", 5s));
    EXPECT_EQ(app_->Get(kStart), "Start Update");
    control_->SetFault(Fault::None);
    ASSERT_TRUE(board_.Start("Standard", appDir_.File("board")));
    ASSERT_TRUE(app_->WaitUntil("log", "Connect OK", 10s));
}

// The answer to a page is pending until the board asks again; a cancel right after it leaves
// nothing that could time out later.
TEST_F(HeadlessUpdate, CancelRightAfterAPageLeavesNothingToTimeOut) {
    control_->SetFault(Fault::SilentMidTransfer, 1);
    Open();
    StartUpdate(4 * 1024);
    ASSERT_TRUE(WaitForPane("Programming page 1", 5s));
    Run("click " + std::to_string(kStart));
    EXPECT_EQ(app_->Pane(0), "Update cancelled by user");
    Run("wait 1500");
    EXPECT_EQ(app_->Pane(0), "Update cancelled by user");
    EXPECT_FALSE(Contains(app_->Transcript(), "message: "));
    EXPECT_FALSE(Contains(Traffic(), "time-out"));
}

// Two starts, the first acknowledged late: its acknowledgement arrives after the update the
// second one began has been cancelled, and starts nothing.
TEST_F(HeadlessUpdate, LateAcknowledgementAfterCancelIsIgnored) {
    control_->SetEraseTime(5s);
    Open();
    Set(kPath, WriteImage(2048));
    board_.Misbehave({.kind = sim::FaultKind::AnswerLate, .time = 1500ms});
    Run("click " + std::to_string(kStart));
    Run("wait 200");
    Run("click " + std::to_string(kStart));
    ASSERT_TRUE(WaitForPane("Erasing flash", 1s));
    EXPECT_EQ(app_->Get(kStart), "Cancel Update");
    Run("click " + std::to_string(kStart));
    Run("wait 2000");
    EXPECT_EQ(control_->Starts(), 2);
    EXPECT_EQ(app_->Pane(0), "Update cancelled by user");
    EXPECT_EQ(app_->Get(kStart), "Start Update");
    EXPECT_FALSE(Contains(app_->Transcript(), "message: "));
}

TEST_F(HeadlessUpdate, TheOutcomeStaysOnThePage) {
    Open();
    StartUpdate(3 * 1024);
    ASSERT_TRUE(WaitForCompletion());
    Run("wait 1500");
    const std::optional<std::string> outcome = app_->Get(kOutcome);
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->starts_with("Firmware update succeeded (3 pages, ")) << *outcome;
    EXPECT_TRUE(outcome->ends_with(" s)")) << *outcome;
}

// The board erases long enough for the questions: the update runs meanwhile.
TEST_F(HeadlessUpdate, ProductChangeAndQuitAskWhileAnUpdateRuns) {
    control_->SetEraseTime(8s);
    Open();
    StartUpdate(2048);
    ASSERT_TRUE(WaitForPane("Erasing flash", 2s));
    EXPECT_EQ(app_->Command("menu 1220").back(),
              "question: A firmware update is running. Stop it and change the product?");
    EXPECT_EQ(app_->Command("no").back(), "ok");
    EXPECT_EQ(app_->Command("quit").back(),
              "question: A firmware update is running. Stop it and quit?");
    EXPECT_EQ(app_->Command("no").back(), "ok");
    // No changed nothing.
    EXPECT_EQ(app_->Get(kStart), "Cancel Update");
    EXPECT_EQ(app_->Pane(0), "Erasing flash...");
    EXPECT_TRUE(Contains(app_->Listing("menubar"), "[x] Standard OSD Autopilot (1221)"));

    // Yes stops it as Cancel does, then changes the product.
    EXPECT_EQ(app_->Command("menu 1220").back(),
              "question: A firmware update is running. Stop it and change the product?");
    EXPECT_EQ(app_->Command("yes").back(), "ok");
    EXPECT_TRUE(Contains(app_->Listing("menubar"), "[x] Vantrel OSD (1220)"));
    Run("page Update_FirmwareUpdate");
    EXPECT_EQ(app_->Get(kStart), "Start Update");
    EXPECT_EQ(app_->Get(kOutcome), "Update cancelled by user");

    Run("click " + std::to_string(kStart));
    ASSERT_TRUE(WaitForPane("Erasing flash", 2s));
    EXPECT_EQ(app_->Command("quit").back(),
              "question: A firmware update is running. Stop it and quit?");
    EXPECT_EQ(app_->Command("yes").back(), "ok");
    app_->End();
    EXPECT_EQ(control_->CompletedUpdates(), 0);
}

// The erase allowance on the headless front end's virtual clock.
class HeadlessUpdateVirtualTime : public HeadlessUpdate {};

TEST_F(HeadlessUpdateVirtualTime, EraseThatNeverEndsTimesOutAfterTenSeconds) {
    control_->SetFault(Fault::EraseNeverEnds);
    board_.SetBootloader(control_);
    Configure("Auto", 1, "Standard");
    const std::string port = appDir_.File("board");
    ASSERT_TRUE(board_.Start("Standard", port)) << board_.LastError();
    app_.emplace(Arguments({port}, {"--virtual-time"}));
    ASSERT_TRUE(app_->WaitUntil("log", "Connect OK", 5s));
    Run("page Update_FirmwareUpdate");
    StartUpdate(2048);
    // The acknowledgement is seen within one 100 ms step of the wait that took it.
    ASSERT_TRUE(app_->WaitUntil("status", "pane 0: Erasing flash", 5s));
    Run("wait 9800");
    EXPECT_EQ(app_->Get(kStart), "Cancel Update");
    Run("wait 300");
    EXPECT_EQ(app_->Pane(0), "Flash erase timed out");
    EXPECT_TRUE(Messaged("Flash erase timed out"));
    EXPECT_EQ(app_->Get(kStart), "Start Update");
}

}  // namespace
}  // namespace zephran::test
