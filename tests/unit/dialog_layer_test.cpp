#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"
#include "ui/timers.h"
#include "ui/window.h"

namespace zephran::ui {
namespace {

enum : int {
    kGain = 10,
    kRate = 11,
    kCount = 12,
    kName = 13,
    kAddress = 14,
    kOn = 20,
    kOff = 21,
    kCheck = 22,
    kApply = 23,
    kMode = 24,
    kSpin = 25,
    kLabel = 26,
    kSign = 27,
    kShown = 28
};

struct Fields {
    float gain = 1.5f;
    double rate = 0.1;
    int count = 7;
    std::uint8_t address = 200;
    std::string name = "board";
    int onOff = 0;
    bool check = true;
    float shown = 2;  // in a read-only box
    bool operator==(const Fields&) const = default;
};

class TestWindow : public Window {
public:
    explicit TestWindow(HostServices& host) : Window(host, Template()) {}

    static WindowTemplate Template() {
        const auto edit = [](int id) { return Control{.id = id, .kind = ControlKind::Edit}; };
        WindowTemplate t;
        t.controls = {
            edit(kGain),
            edit(kRate),
            edit(kCount),
            edit(kName),
            edit(kAddress),
            Control{.id = kOn, .kind = ControlKind::Radio, .radioGroup = 1},
            Control{.id = kOff, .kind = ControlKind::Radio, .radioGroup = 1},
            Control{.id = kCheck, .kind = ControlKind::CheckBox},
            Control{.id = kApply, .kind = ControlKind::Button},
            Control{.id = kMode, .kind = ControlKind::DropDown, .entries = {"a", "b"}},
            Control{.id = kSpin, .kind = ControlKind::Spin, .rangeMin = 0, .rangeMax = 10},
            Label(kLabel, "Gain:"),
            ClickableLabel(kSign, "+"),
            Control{.id = kShown, .kind = ControlKind::Edit, .readOnly = true}};
        return t;
    }

    Fields fields;
    std::vector<int> commands;

protected:
    void DoDataExchange(DataExchange& dx) override {
        dx.Text(kGain, fields.gain);
        dx.Text(kRate, fields.rate);
        dx.Text(kCount, fields.count);
        dx.Text(kAddress, fields.address);
        dx.Text(kName, fields.name);
        dx.Radio(kOn, kOff, fields.onOff);
        dx.Check(kCheck, fields.check);
        dx.Text(kShown, fields.shown);
    }
    void OnCommand(int id) override { commands.push_back(id); }
};

class DialogLayerTest : public ::testing::Test {
protected:
    testing::FakeHost host;
    TestWindow window{host};
};

TEST_F(DialogLayerTest, FieldsToControlsFormatsNumbers) {
    window.fields.gain = 1.0f / 3.0f;
    window.fields.rate = 2.0 / 3.0;
    window.UpdateData(false);
    EXPECT_EQ(window.GetDlgItemText(kGain), "0.333333");
    EXPECT_EQ(window.GetDlgItemText(kRate), "0.666666666666667");
    EXPECT_EQ(window.GetDlgItemText(kCount), "7");
    EXPECT_EQ(window.GetDlgItemText(kAddress), "200");
    EXPECT_TRUE(window.IsDlgButtonChecked(kOn));
    EXPECT_FALSE(window.IsDlgButtonChecked(kOff));
    EXPECT_TRUE(window.IsDlgButtonChecked(kCheck));
}

TEST_F(DialogLayerTest, ControlsToFieldsParsesWithBlanksAround) {
    window.UpdateData(false);
    window.UserSetText(kGain, " -2.5e1 ");
    window.UserSetText(kCount, "-12");
    window.UserSetText(kAddress, "255");
    window.UserSetText(kName, " spaced ");
    window.UserClick(kOff);
    window.UserClick(kCheck);
    ASSERT_TRUE(window.UpdateData(true));
    EXPECT_FLOAT_EQ(window.fields.gain, -25.0f);
    EXPECT_EQ(window.fields.count, -12);
    EXPECT_EQ(window.fields.address, 255);
    EXPECT_EQ(window.fields.name, " spaced ");
    EXPECT_EQ(window.fields.onOff, 1);
    EXPECT_FALSE(window.fields.check);
    EXPECT_TRUE(host.messages.empty());
}

// Taking the boxes is all or nothing: the first bad box is reported and gets the focus with its
// text selected, no field changes and the boxes keep what was typed.
TEST_F(DialogLayerTest, ABadBoxLeavesEveryFieldAsItWas) {
    window.UpdateData(false);
    window.UserSetText(kGain, "4");
    window.UserSetText(kRate, "12abc");
    window.UserSetText(kCount, "x");
    window.UserSetText(kAddress, "9");
    window.UserSetText(kName, "other");
    window.UserClick(kOff);
    window.UserClick(kCheck);
    const Fields before = window.fields;
    EXPECT_FALSE(window.UpdateData(true));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter a number."});
    EXPECT_EQ(window.Focus(), kRate);
    EXPECT_TRUE(window.FocusTextSelected());
    EXPECT_TRUE(window.fields == before);
    EXPECT_EQ(window.GetDlgItemText(kGain), "4");
    EXPECT_EQ(window.GetDlgItemText(kRate), "12abc");

    // The next bad box is reported once the first is corrected.
    host.messages.clear();
    window.UserSetText(kRate, "0.25");
    EXPECT_FALSE(window.UpdateData(true));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Enter an integer."});
    EXPECT_EQ(window.Focus(), kCount);
    EXPECT_TRUE(window.fields == before);

    host.messages.clear();
    window.UserSetText(kCount, "3");
    EXPECT_TRUE(window.UpdateData(true));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FLOAT_EQ(window.fields.gain, 4.0f);
    EXPECT_DOUBLE_EQ(window.fields.rate, 0.25);
    EXPECT_EQ(window.fields.count, 3);
    EXPECT_EQ(window.fields.address, 9);
    EXPECT_EQ(window.fields.name, "other");
    EXPECT_EQ(window.fields.onOff, 1);
    EXPECT_FALSE(window.fields.check);
}

// Wherever the bad box lies, first, in the middle or last, the boxes before it are not taken
// either.
TEST_F(DialogLayerTest, NoBoxIsTakenWhereverTheBadOneLies) {
    const std::pair<int, const char*> cases[] = {{kGain, "g"}, {kCount, "1.5"}, {kAddress, "256"}};
    for (const auto& [bad, text] : cases) {
        window.UpdateData(false);
        host.messages.clear();
        for (int id : {kGain, kRate, kCount, kAddress})
            window.UserSetText(id, "1");
        window.UserSetText(bad, text);
        const Fields before = window.fields;
        EXPECT_FALSE(window.UpdateData(true)) << bad;
        EXPECT_EQ(host.messages.size(), 1u) << bad;
        EXPECT_EQ(window.Focus(), bad);
        EXPECT_TRUE(window.fields == before) << bad;
    }
}

TEST_F(DialogLayerTest, EachKindOfBoxHasItsStandardMessage) {
    const auto refused = [&](int id, const char* text, const char* message) {
        window.UpdateData(false);
        host.messages.clear();
        window.UserSetText(id, text);
        EXPECT_FALSE(window.UpdateData(true)) << text;
        EXPECT_EQ(host.messages, std::vector<std::string>{message}) << text;
        EXPECT_EQ(window.Focus(), id) << text;
    };
    refused(kCount, "1.5", "Enter an integer.");
    refused(kCount, "99999999999", "Enter an integer.");
    refused(kAddress, "256", "Enter an integer between 0 and 255.");
    refused(kAddress, "-1", "Enter an integer between 0 and 255.");
    refused(kGain, "", "Enter a number.");
    refused(kGain, "nan", "Enter a number.");
    refused(kGain, "1e39", "Enter a number.");
}

// A box a person cannot edit shows its field and is neither checked nor taken: a board's number
// that does not parse there blocks nothing.
TEST_F(DialogLayerTest, BoxesNobodyCanEditAreOnlyShown) {
    window.UpdateData(false);
    EXPECT_EQ(window.GetDlgItemText(kShown), "2");
    window.SetDlgItemText(kShown, "nan");
    window.UserSetText(kRate, "0.5");
    window.ShowControl(kGain, false);
    window.SetDlgItemText(kGain, "hidden");
    window.UserSetText(kCount, "8");
    window.EnableControl(kCount, false);
    EXPECT_TRUE(window.UpdateData(true));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FLOAT_EQ(window.fields.shown, 2.0f);
    EXPECT_FLOAT_EQ(window.fields.gain, 1.5f);
    EXPECT_EQ(window.fields.count, 7);
    EXPECT_DOUBLE_EQ(window.fields.rate, 0.5);
}

// The checking run parses every box and stores nothing; it notes the first failure alone.
TEST_F(DialogLayerTest, CheckingRunStoresNothing) {
    window.UserSetText(kGain, "4");
    window.UserSetText(kCount, "x");
    window.UserSetText(kAddress, "300");
    DataExchange check(window, DataExchange::Direction::kCheck);
    EXPECT_TRUE(check.Saving());
    EXPECT_FALSE(check.Taking());
    float gain = 1;
    int count = 2;
    std::uint8_t address = 3;
    std::string name = "kept";
    int onOff = 5;
    bool on = true;
    check.Text(kGain, gain);
    check.Text(kCount, count);
    check.Text(kAddress, address);
    check.Text(kName, name);
    check.Radio(kOn, kOff, onOff);
    check.Check(kCheck, on);
    EXPECT_EQ(gain, 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(address, 3);
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(onOff, 5);
    EXPECT_TRUE(on);
    EXPECT_EQ(check.FailedBox(), kCount);
    EXPECT_EQ(check.FailureMessage(), "Enter an integer.");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(window.Focus(), kAddress);  // where the typing was; the check moves nothing
}

// For requests that carry no values: the boxes that parse are taken, the others quietly left.
TEST_F(DialogLayerTest, TakingTheValidBoxesSkipsTheBadOnesQuietly) {
    window.UpdateData(false);
    window.UserSetText(kGain, "4");
    window.UserSetText(kRate, "fast");
    window.UserSetText(kCount, "3");
    window.UserClick(kApply);
    window.TakeValidBoxes();
    EXPECT_FLOAT_EQ(window.fields.gain, 4.0f);
    EXPECT_DOUBLE_EQ(window.fields.rate, 0.1);
    EXPECT_EQ(window.fields.count, 3);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(window.Focus(), kApply);
    EXPECT_EQ(window.GetDlgItemText(kRate), "fast");
}

// Typing or pressing moves the focus quietly; a refusal moves it to the bad box, selects its
// text and tells the front end.
TEST_F(DialogLayerTest, FocusFollowsInputAndRefusals) {
    struct FocusObserver : WindowObserver {
        void ControlChanged(Window&, int) override {}
        void FocusChanged(Window& w) override {
            told.push_back({w.Focus(), w.FocusTextSelected()});
        }
        std::vector<std::pair<int, bool>> told;
    } observer;
    window.SetObserver(&observer);
    window.UpdateData(false);
    window.UserSetText(kGain, "x");
    EXPECT_EQ(window.Focus(), kGain);
    EXPECT_FALSE(window.FocusTextSelected());
    window.UserClick(kApply);
    EXPECT_EQ(window.Focus(), kApply);
    EXPECT_TRUE(observer.told.empty());
    EXPECT_FALSE(window.UpdateData(true));
    EXPECT_EQ(observer.told, (std::vector<std::pair<int, bool>>{{kGain, true}}));
    window.UserSetText(kGain, "2");
    EXPECT_EQ(window.Focus(), kGain);
    EXPECT_FALSE(window.FocusTextSelected());
    window.UserChoose(kMode, 1);
    EXPECT_EQ(window.Focus(), kMode);
    window.SetObserver(nullptr);
}

TEST_F(DialogLayerTest, UserInputReachesOnlyUsableControls) {
    window.EnableControl(kApply, false);
    EXPECT_FALSE(window.UserClick(kApply));
    window.EnableControl(kApply, true);
    window.ShowControl(kApply, false);
    EXPECT_FALSE(window.UserClick(kApply));
    window.ShowControl(kApply, true);
    EXPECT_TRUE(window.UserClick(kApply));
    EXPECT_EQ(window.commands, std::vector<int>{kApply});
    EXPECT_FALSE(window.UserClick(999));
    EXPECT_FALSE(window.UserSetText(kApply, "x"));
    EXPECT_FALSE(window.UserChoose(kMode, 2));
    EXPECT_TRUE(window.UserChoose(kMode, 1));
    EXPECT_EQ(window.GetCurSel(kMode), 1);
    EXPECT_TRUE(window.UserReleaseSpin(kSpin));
    EXPECT_FALSE(window.UserReleaseSpin(kGain));
    window.SetPos(kSpin, 50);
    EXPECT_EQ(window.GetPos(kSpin), 10);
}

// Only a clickable label reports clicks; a disabled radio button keeps its state.
TEST_F(DialogLayerTest, ClickableLabelsAndDisabledRadios) {
    EXPECT_FALSE(window.UserClick(kLabel));
    EXPECT_TRUE(window.UserClick(kSign));
    window.EnableControl(kOff, false);
    EXPECT_FALSE(window.UserClick(kOff));
    EXPECT_FALSE(window.IsDlgButtonChecked(kOff));
    EXPECT_EQ(window.commands, std::vector<int>{kSign});
}

TEST_F(DialogLayerTest, RadioGroupsExcludeEachOtherOnly) {
    window.UserClick(kOn);
    window.UserClick(kCheck);
    window.UserClick(kOff);
    EXPECT_FALSE(window.IsDlgButtonChecked(kOn));
    EXPECT_TRUE(window.IsDlgButtonChecked(kOff));
    EXPECT_TRUE(window.IsDlgButtonChecked(kCheck));
}

TEST(Timers, FireInTimeOrderAndSkipLongStalls) {
    TimerTable timers;
    timers.SetTimer(1, 10, 0);
    timers.SetTimer(2, 25, 0);
    std::vector<std::pair<int, int>> fired;  // (id, tick number)
    int ticks = 0;
    timers.RunDue(50, [&](int id) { fired.push_back({id, ++ticks}); });
    EXPECT_EQ(fired, (std::vector<std::pair<int, int>>{
                         {1, 1}, {1, 2}, {2, 3}, {1, 4}, {1, 5}, {1, 6}, {2, 7}}));
    EXPECT_EQ(timers.NextDue(), 60);

    // A handler may kill timers, its own included.
    timers.RunDue(60, [&](int id) { timers.KillTimer(id); });
    EXPECT_FALSE(timers.IsRunning(1));
    // Far behind, a timer comes back to the present instead of firing a burst.
    int count = 0;
    timers.RunDue(100000, [&](int) { ++count; });
    EXPECT_LE(count, 11);
    EXPECT_GT(*timers.NextDue(), 100000);
}

}  // namespace
}  // namespace zephran::ui
