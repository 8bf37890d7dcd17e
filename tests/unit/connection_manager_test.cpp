#include <algorithm>

#include "app/menu_bar.h"
#include "session/wrong_product_hint.h"
#include "support/dialog_fixture.h"
#include "support/fake_texts.h"

namespace zephran {
namespace {

using testing::DialogFixture;
using testing::FakeLink;

class ConnectionTest : public DialogFixture {
protected:
    bool Logged(const std::string& line) const {
        return std::find(Log().begin(), Log().end(), line) != Log().end();
    }
    void ConnectOnFirstPort() {
        devices.AddDevice("/dev/ttyUSB0", true);
        Start();
        Advance(1000);
        ASSERT_TRUE(dialog->Session().Connected());
    }
    void Request(std::uint8_t group, std::uint8_t msgId) {
        dialog->SendFrame(group, msgId, 0, nullptr);
        ASSERT_TRUE(dialog->CheckConnected());
    }
    // A request that the board leaves unanswered until it times out.
    void TimeOut(std::uint8_t group, std::uint8_t msgId) {
        Request(group, msgId);
        Advance(1000);
    }
    bool HintLogged() const {
        return std::any_of(Log().begin(), Log().end(), [](const std::string& line) {
            return line.starts_with("The board does not answer");
        });
    }
};

const std::string kVantrelHint =
    "The board does not answer requests of the product Vantrel OSD. If it is another product, "
    "choose that in the Product menu.";

TEST_F(ConnectionTest, StartUpShowsCountersBaudAndScanText) {
    Start();
    EXPECT_EQ(Pane(3), Text("Panel", "RX") + " 0");
    EXPECT_EQ(Pane(4), Text("Panel", "TX") + " 0");
    EXPECT_EQ(Pane(2), "115200");
    EXPECT_EQ(Pane(0), Text("Panel", "Try Hardware Concect"));
    // No port at all: the scan timer never starts.
    EXPECT_EQ(host.messages, std::vector<std::string>{"No UartPort Dectect"});
}

TEST_F(ConnectionTest, BoardOnTheThirdPortIsFoundInTheThirdSecond) {
    devices.AddDevice("/dev/ttyUSB0");
    devices.AddDevice("/dev/ttyUSB1");
    devices.AddDevice("/dev/ttyACM0", true);
    Start();
    Advance(999);
    EXPECT_EQ(link->opens, 0);
    Advance(1);
    EXPECT_EQ(link->openPath, "/dev/ttyUSB0");
    Advance(1000);
    EXPECT_EQ(link->openPath, "/dev/ttyUSB1");
    EXPECT_FALSE(dialog->Session().Connected());
    Advance(1000);
    EXPECT_TRUE(dialog->Session().Connected());
    EXPECT_EQ(Pane(1), "COM3");
    EXPECT_EQ(Pane(0), Text("Panel", "Hardware Connect Succeed"));
    EXPECT_TRUE(Logged("**" + Text("Communicate State", "CheckConnect") + "**"));
    EXPECT_TRUE(
        Logged(Text("Communicate State", "CheckConnect") + Text("Communicate State", "Succeed")));
    // Connected: the scan stops on this port.
    Advance(3000);
    EXPECT_EQ(link->opens, 3);
    EXPECT_EQ(link->openPath, "/dev/ttyACM0");
}

TEST_F(ConnectionTest, ScanWrapsAroundThePortList) {
    devices.AddDevice("/dev/ttyUSB0");
    devices.AddDevice("/dev/ttyUSB1");
    Start();
    Advance(3000);
    EXPECT_EQ(link->openPath, "/dev/ttyUSB0");
    EXPECT_EQ(link->opens, 3);
}

TEST_F(ConnectionTest, RequestTimesOutOnTheNinetyNinthTick) {
    ConnectOnFirstPort();
    host.messages.clear();
    dialog->SendFrame(15, 32, 0, nullptr);
    dialog->CheckConnected();
    ASSERT_EQ(dialog->Session().Pending().size(), 1u);
    Advance(500);
    EXPECT_GT(dialog->StatusBar().Progress(), 40);
    Advance(480);  // 98 ticks
    EXPECT_EQ(dialog->Session().Pending().size(), 1u);
    Advance(10);  // the 99th
    EXPECT_TRUE(dialog->Session().Pending().empty());
    const std::string name = Text("Communicate State", "DL_MINIAHRS_READ_QR_PARA");
    EXPECT_EQ(host.messages, std::vector<std::string>{name + " " + Text("MessagBox", "TimeOut")});
    EXPECT_EQ(Log().back(), name + Text("Communicate State", "Timeout"));
    EXPECT_EQ(dialog->StatusBar().Progress(), 0);
}

// A firmware page at 9600 baud is over a second on the wire: its time-out starts after that.
TEST_F(ConnectionTest, ALongFrameAtALowBaudRateHasItsWireTimeBeforeTheTimeOut) {
    WriteConfig("[PCSetting]\nbps=9600\n");
    ConnectOnFirstPort();
    ASSERT_EQ(link->openBaud, 9600u);
    host.messages.clear();
    const std::vector<std::uint8_t> page(1026, 0xA5);
    dialog->SendFrame(14, 1, static_cast<std::uint16_t>(page.size()), page.data());
    ASSERT_TRUE(dialog->CheckConnected());
    // 1034 bytes of ten bits: 1.077 s, 107 whole ticks before the usual 100.
    ASSERT_EQ(dialog->Session().Pending().size(), 1u);
    EXPECT_EQ(dialog->Session().Pending()[0].total, 207);
    Advance(2050);  // 205 ticks
    EXPECT_EQ(dialog->Session().Pending().size(), 1u);
    EXPECT_TRUE(host.messages.empty());
    Advance(10);
    EXPECT_TRUE(dialog->Session().Pending().empty());
    EXPECT_EQ(host.messages.size(), 1u);

    // A short request keeps the usual second.
    dialog->SendFrame(15, 32, 0, nullptr);
    ASSERT_TRUE(dialog->CheckConnected());
    EXPECT_EQ(dialog->Session().Pending()[0].total, 100);
}

TEST_F(ConnectionTest, OneReplyRemovesEveryPendingEntryOfItsKind) {
    ConnectOnFirstPort();
    for (int i = 0; i < 2; ++i) {
        dialog->SendFrame(18, 1, 0, nullptr);
        dialog->CheckConnected();
    }
    dialog->SendFrame(18, 4, 0, nullptr);
    dialog->CheckConnected();
    EXPECT_EQ(dialog->Session().Pending().size(), 3u);
    Receive(18, 1, FakeLink::Bytes(32));
    ASSERT_EQ(dialog->Session().Pending().size(), 1u);
    EXPECT_EQ(dialog->Session().Pending()[0].msgId, 4);
}

TEST_F(ConnectionTest, RequestWithoutBoardIsNeitherWrittenNorPending) {
    Start();
    host.messages.clear();
    dialog->SendFrame(15, 2, 0, nullptr);
    dialog->CheckConnected();
    EXPECT_TRUE(link->written.empty());
    EXPECT_TRUE(dialog->Session().Pending().empty());
    EXPECT_EQ(host.messages, std::vector<std::string>{Text("MessagBox", "Check Hardware Connect")});
    Advance(2000);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(Pane(4), Text("Panel", "TX") + " 1");
}

TEST_F(ConnectionTest, TextStreamShowsTheLastOneToSevenFrames) {
    ConnectOnFirstPort();
    for (int i = 0; i < 6; ++i)
        Receive(1, 0, {'A'});
    EXPECT_EQ(dialog->MainWindow().GetDlgItemText(kIdBoardText), "AAAAAA");
    Receive(1, 0, {'A'});
    EXPECT_EQ(dialog->MainWindow().GetDlgItemText(kIdBoardText), "A");
    Receive(1, 0, {0xB0, 'C'});
    EXPECT_EQ(dialog->MainWindow().GetDlgItemText(kIdBoardText),
              "A\xC2\xB0"
              "C");
}

TEST_F(ConnectionTest, LostPortRescansAndSaysWhichPortWasLost) {
    devices.AddDevice("/dev/ttyUSB0", true);
    devices.AddDevice("/dev/ttyUSB1");
    Start();
    Advance(1000);
    ASSERT_TRUE(dialog->Session().Connected());
    link->Lose();
    dialog->ProcessPortEvents();
    EXPECT_FALSE(dialog->Session().Connected());
    EXPECT_FALSE(dialog->Connection().PortOpen());
    EXPECT_EQ(Pane(0), Text("Panel", "Port Lost") + " COM1");
    // The scan starts over and finds the board again.
    Advance(1000);
    EXPECT_TRUE(dialog->Session().Connected());
}

TEST_F(ConnectionTest, NewDeviceRestartsTheScan) {
    devices.AddDevice("/dev/ttyUSB0");
    Start();
    Advance(1000);
    link->AddDevice("/dev/ttyACM0", true);
    Advance(1000);
    // The fresh probe starts at the first port again, then moves on to the new one.
    EXPECT_EQ(link->openPath, "/dev/ttyUSB0");
    Advance(1000);
    EXPECT_TRUE(dialog->Session().Connected());
    EXPECT_EQ(Pane(1), "COM2");
}

TEST_F(ConnectionTest, TheOnlyBoardUnpluggedAndPluggedBackInIsFoundAgain) {
    devices.AddDevice("/dev/ttyACM0", true);
    Start();
    Advance(1000);
    ASSERT_TRUE(dialog->Session().Connected());
    link->unplugged.insert("/dev/ttyACM0");
    link->Lose();
    Advance(3000);
    EXPECT_FALSE(dialog->Session().Connected());
    // Its path stays listed (a --port path) but is no device while unplugged.
    link->unplugged.clear();
    Advance(2000);
    EXPECT_TRUE(dialog->Session().Connected());
    EXPECT_EQ(Pane(1), "COM1");
}

TEST_F(ConnectionTest, ManualModeOpensTheConfiguredPort) {
    WriteConfig("[PCSetting]\nPortScanMode=Manual\nCom=2\nbps=57600\n");
    devices.AddDevice("/dev/ttyUSB0");
    devices.AddDevice("/dev/ttyUSB1", true);
    Start();
    EXPECT_EQ(Pane(0), Text("Panel", "ManualConnectMode"));
    EXPECT_EQ(host.messages, std::vector<std::string>{Text("Panel", "MunualConnectProm")});
    dialog->OnCommand(kCmdManualPort);
    dialog->ProcessPortEvents();
    EXPECT_EQ(link->openPath, "/dev/ttyUSB1");
    EXPECT_EQ(link->openBaud, 57600u);
    EXPECT_TRUE(dialog->Session().Connected());
}

TEST_F(ConnectionTest, ManualModeRetriesALostPortEverySecond) {
    WriteConfig("[PCSetting]\nPortScanMode=Manual\nCom=1\n");
    devices.AddDevice("/dev/ttyUSB0", true);
    Start();
    dialog->OnCommand(kCmdManualPort);
    dialog->ProcessPortEvents();
    ASSERT_TRUE(dialog->Session().Connected());
    link->Lose();
    link->refused["/dev/ttyUSB0"] = OpenFailure::NoSuchDevice;
    dialog->ProcessPortEvents();
    host.messages.clear();
    Advance(2000);
    EXPECT_FALSE(dialog->Session().Connected());
    EXPECT_TRUE(host.messages.empty());
    link->refused.clear();
    Advance(1000);
    EXPECT_TRUE(dialog->Session().Connected());
}

TEST_F(ConnectionTest, UnopenablePortsSayWhyAndHintAtTheDialoutGroup) {
    WriteConfig("[PCSetting]\nPortScanMode=Manual\nCom=1\n");
    devices.AddDevice("/dev/ttyUSB0");
    devices.refused["/dev/ttyUSB0"] = OpenFailure::PermissionDenied;
    Start();
    host.messages.clear();
    dialog->OnCommand(kCmdPortBase + 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("Open com port 1 Err", 0), 0u);
    EXPECT_NE(host.messages[0].find(Text("MessagBox", "Port Permission Denied")),
              std::string::npos);

    host.messages.clear();
    dialog->OnCommand(kCmdPortBase + 9);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Open com port 9 Err"});
}

TEST_F(ConnectionTest, ScanReportsAPermissionProblemOnceInTheStatusBar) {
    devices.AddDevice("/dev/ttyUSB0");
    Start();
    link->refused["/dev/ttyUSB0"] = OpenFailure::PermissionDenied;
    Advance(1000);
    EXPECT_NE(Pane(0).find(Text("MessagBox", "Port Permission Denied")), std::string::npos);
    dialog->SetStatus(kStatusMain, "other", 0);
    Advance(1000);
    EXPECT_EQ(Pane(0), "other");
}

TEST_F(ConnectionTest, RatesAndTheBaudSwitchReply) {
    WriteConfig("[ProductSetting]\nProduct=AHRS\n[AHRSSetting]\nbps=57600\n");
    ConnectOnFirstPort();
    for (int i = 0; i < 50; ++i)
        Receive(15, 1, FakeLink::Bytes(49));
    Advance(1000);
    EXPECT_EQ(Pane(0), "AHRS 50 Hz");
    Advance(1000);
    EXPECT_EQ(Pane(0), "AHRS 0 Hz");
    Receive(12, 2);
    EXPECT_EQ(Pane(0), Text("Panel", "switch to new bps") + " 57600");
    EXPECT_EQ(Log().back(), Text("Communicate State", "DL_ID_COMMUNICATE_SET_BPS") +
                                Text("Communicate State", "Succeed"));
}

TEST_F(ConnectionTest, DispatcherCountsEveryFrameAndLogsByGroup) {
    ConnectOnFirstPort();
    const auto lines = Log().size();
    Receive(7, 1);
    EXPECT_EQ(Pane(3), Text("Panel", "RX") + " 2");
    EXPECT_EQ(Log().size(), lines);
    Receive(15, 26);
    EXPECT_EQ(Log().size(), lines);
    Receive(18, 2);
    EXPECT_EQ(Log().back(), Text("Communicate State", "DL_STANDARDOSD_PID_ROLLRATE2AILE_WRITE") +
                                Text("Communicate State", "Succeed"));
    Receive(13, 9);
    EXPECT_EQ(Log().back(),
              Text("Communicate State", "UnknowCMD") + Text("Communicate State", "Succeed"));
}

// The third request of the product in a row that times out says why, with the board's own
// words; once per connection.
TEST_F(ConnectionTest, ABoardThatAnswersNoRequestOfTheProductIsToldOncePerConnection) {
    WriteConfig("[ProductSetting]\nProduct=Vantrel\n");
    ConnectOnFirstPort();
    // Its first line names the board; the lines after it do not.
    for (const std::string said : {"\r\nZephranFPV AHRS", " board\r\nuptime", " 3 s\r\n"})
        Receive(1, 0, FakeLink::Bytes(said.begin(), said.end()));
    const std::string hint = kVantrelHint + " The board says: ZephranFPV AHRS board";
    TimeOut(11, 1);
    TimeOut(11, 2);
    EXPECT_FALSE(HintLogged());
    EXPECT_NE(Pane(0), hint);
    TimeOut(11, 1);
    EXPECT_EQ(Pane(0), hint);
    EXPECT_EQ(Log().back(), hint);
    // The product stays as the user chose it.
    EXPECT_EQ(dialog->Settings().ReadText("ProductSetting", "Product"), "Vantrel");

    dialog->SetStatus(kStatusMain, "other", 0);
    for (int i = 0; i < 3; ++i)
        TimeOut(11, 1);
    EXPECT_EQ(Pane(0), "other");

    // The port opened again may hold another board: it is told again, and what the board said
    // before counts no more.
    link->Lose();
    dialog->ProcessPortEvents();
    Advance(1000);
    ASSERT_TRUE(dialog->Session().Connected());
    for (int i = 0; i < 3; ++i)
        TimeOut(11, 1);
    EXPECT_EQ(Pane(0), kVantrelHint);
}

TEST_F(ConnectionTest, OnlyUnansweredRequestsOfTheProductInARowCount) {
    WriteConfig("[ProductSetting]\nProduct=Vantrel\n");
    ConnectOnFirstPort();
    TimeOut(11, 1);
    TimeOut(11, 1);
    Request(11, 2);
    Receive(11, 2, FakeLink::Bytes(8));
    TimeOut(11, 1);
    TimeOut(11, 1);
    // Any board answers the link control, and only a bootloader the update: neither says
    // anything about the product.
    TimeOut(kLinkControlGroup, 2);
    TimeOut(14, 0);
    TimeOut(14, 1);
    EXPECT_FALSE(HintLogged());
    TimeOut(11, 1);
    EXPECT_EQ(Pane(0), kVantrelHint);
    EXPECT_TRUE(HintLogged());
}

// The rate display would replace the hint within a second; it waits until the board answers
// or another product is chosen.
TEST_F(ConnectionTest, TheHintKeepsTheStatusPaneFromTheRatesUntilAnAnswerOrAProductChange) {
    WriteConfig("[ProductSetting]\nProduct=AHRS\n");
    ConnectOnFirstPort();
    for (int i = 0; i < 3; ++i)
        TimeOut(15, 32);
    const std::string hint = Pane(0);
    EXPECT_TRUE(hint.starts_with("The board does not answer requests of the product AHRS."));
    Advance(3000);
    EXPECT_EQ(Pane(0), hint);
    Request(15, 32);
    Receive(15, 32, FakeLink::Bytes(40));
    Advance(1000);
    EXPECT_EQ(Pane(0), "AHRS 0 Hz");

    link->Lose();
    dialog->ProcessPortEvents();
    Advance(1000);
    ASSERT_TRUE(dialog->Session().Connected());
    for (int i = 0; i < 3; ++i)
        TimeOut(15, 32);
    ASSERT_EQ(Pane(0), hint);
    dialog->OnCommand(kProductCommands[4].command);  // GPS/INS
    Advance(1000);
    EXPECT_EQ(Pane(0), "Nav Sensor GPS: 0 0 0  Hz");
}

TEST(WrongProductText, TheBoardsWordsGoOnOneLineAndALongTextIsCutBetweenCharacters) {
    testing::FakeTexts texts;
    texts.Set("Product Menu", "1000", "Produkt");
    texts.Set("Panel", "Wrong Product", "%1 antwortet nicht, siehe %2.");
    texts.Set("Panel", "Board Says", "Es sagt: %1");
    EXPECT_EQ(WrongProductText(texts, "GPSINS", "\x01 hallo\t\r\n  welt \r\n"),
              "GPSINS antwortet nicht, siehe Produkt. Es sagt: hallo welt");
    EXPECT_EQ(WrongProductText(texts, "GPSINS", " \r\n"), "GPSINS antwortet nicht, siehe Produkt.");
    // 119 letters, then two-byte characters: the cut falls before the one that crosses 120.
    const std::string said = std::string(119, 'a') + "\xC2\xB0\xC2\xB0";
    EXPECT_EQ(WrongProductText(texts, "GPSINS", said),
              "GPSINS antwortet nicht, siehe Produkt. Es sagt: " + std::string(119, 'a') + "...");
}

}  // namespace
}  // namespace zephran
