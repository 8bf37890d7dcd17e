// Every request that carries a page's values checks every box of the page before it takes any:
// a box that does not parse or lies out of range gives the standard message, moves the focus
// to that box with its text selected, changes no value and sends nothing. Requests that carry
// no values go out whatever the boxes hold.

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_fir.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "pages/autopilot/dlg_airplane_pid.h"
#include "pages/autopilot/dlg_gpsins_setting.h"
#include "pages/framework/parameter_page.h"
#include "pages/osd_tracker/dlg_aat_servo_set.h"
#include "pages/osd_tracker/dlg_calibrate.h"
#include "pages/osd_tracker/mag_cal_dlg.h"
#include "support/page_fixture.h"

namespace zephran {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Cal = CCalibrateDlg;
using Servo = CAATServoSet;

// A request that carries values of its page: the control that makes it and the product whose
// tree shows the page.
struct Request {
    std::string name;  // for the test's name
    std::string product;
    std::string page;  // tree key
    int control = 0;
    bool spin = false;  // released rather than clicked
    // The write button of the set whose record goes out, where that is another control (the
    // tracker's offset spins).
    int setButton = 0;
    // For a request that is no set's write: the box whose value goes out alone, 0 for none.
    int carries = 0;
};

std::vector<Request> PidRequests(const char* name, const char* page,
                                 const CDlgAirplanePID::Table& table) {
    std::vector<Request> requests;
    for (std::size_t k = 0; k < table.controllers.size(); ++k) {
        requests.push_back({std::string(name) + std::to_string(k), "Standard", page,
                            table.controllers[k].WriteButton()});
    }
    return requests;
}

// Every request of every page that sends values a person types. The pages whose
// value-carrying requests have no boxes (OSD screen settings, multicopter output, GPS/INS misc
// settings: radio buttons alone) cannot hold a bad box; AllPagesWithBoxesAreCovered checks
// that no other page is missing.
std::vector<Request> ValueRequests() {
    std::vector<Request> requests = {
        {"AhrsSettingsWrite", "AHRS", "AHRS_Set", CDlgAHRSSetting::kWrite},
        {"SensorCalibrationScaleWrite", "AHRS", "AHRS_Cal", CDlgSensorCalibrate::kGyroWriteScale},
        {"GpsInsFilterWrite", "GPSINS", "GPSINS_Set", CDlgGPSINSSetting::kWrite},
        {"TrackerSpeedSet", "AAT", "AAT_Mag_Cal", CMagCalDlg::kSetSpeed},
        {"TrackerCompassOffsetSet", "AAT", "AAT_Mag_Cal", CMagCalDlg::kSetCompassOffset},
        {"TrackerPowerOnSet", "AAT", "AAT_Servo_Set", Servo::kSetPowerOn},
        {"TrackerOffsetsSet", "AAT", "AAT_Servo_Set", Servo::kSetOffsets},
        {"TrackerHorizontalSpin", "AAT", "AAT_Servo_Set", Servo::kHorizontalSpin, true,
         Servo::kSetOffsets},
        {"TrackerVerticalSpin", "AAT", "AAT_Servo_Set", Servo::kVerticalSpin, true,
         Servo::kSetOffsets},
        {"TrackerStepSet", "AAT", "AAT_Servo_Set", Servo::kSetStep},
        {"TrackerPidSet", "AAT", "AAT_Servo_Set", Servo::kSetPid},
        {"TrackerServoGapSet", "AAT", "AAT_Servo_Set", Servo::kSetServoGap},
        {"OsdCurrentZeroOffsetSet", "Vantrel", "OSD_Calibrate", Cal::kSetCurrentZeroOffset},
        {"OsdCurrentReferenceSet", "Vantrel", "OSD_Calibrate", Cal::kSetCurrentReference},
        {"OsdVoltageReferenceSet", "Vantrel", "OSD_Calibrate", Cal::kSetVoltageReference},
    };
    for (int k = 0; k < 3; ++k) {
        requests.push_back({"FirWrite" + std::to_string(k), "AHRS", "AHRS_Set_FIR",
                            CDlgFIR::kColumns[static_cast<std::size_t>(k)].write});
    }
    const char* quantityNames[] = {"OsdCurrent", "OsdVoltage"};
    for (std::size_t q = 0; q < Cal::kQuantities.size(); ++q) {
        const Cal::Quantity& quantity = Cal::kQuantities[q];
        requests.push_back({std::string(quantityNames[q]) + "CalibrationSet", "Vantrel",
                            "OSD_Calibrate", quantity.Id(Cal::kSet)});
        // The current's point reads send the value known there.
        if (!quantity.fromKnown) continue;
        for (const auto& [read, known] :
             {std::pair{Cal::kReadA, Cal::kKnownA}, std::pair{Cal::kReadB, Cal::kKnownB}}) {
            requests.push_back(
                {std::string(quantityNames[q]) + "PointRead" + (read == Cal::kReadA ? "A" : "B"),
                 "Vantrel", "OSD_Calibrate", quantity.Id(read), false, 0, quantity.Id(known)});
        }
    }
    for (const Request& r :
         PidRequests("InnerPidWrite", "Airplane_PID_Inner", kInnerLoopControllers))
        requests.push_back(r);
    for (const Request& r :
         PidRequests("OuterPidWrite", "Airplane_PID_Outer", kOuterLoopControllers))
        requests.push_back(r);
    return requests;
}

// Boxes of the pages that belong to no parameter set: the OSD calibration's known values.
std::set<int> LooseFloatBoxes() {
    std::set<int> boxes;
    for (const Cal::Quantity& q : Cal::kQuantities) {
        boxes.insert(q.Id(Cal::kKnownA));
        boxes.insert(q.Id(Cal::kKnownB));
    }
    return boxes;
}

enum class Position { kFirst, kMiddle, kLast };
enum class Fault { kNotANumber, kOutOfRange };

// What a box refuses and what it takes.
struct BoxRule {
    std::string notANumber, notANumberMessage;
    std::string outOfRange, outOfRangeMessage;
    int low = -1000, high = 1000;  // where an integer must lie to be valid
};

BoxRule FloatRule(const char* outOfRange) {
    return {"xyz", "Enter a number.", outOfRange, "Enter a number."};
}

BoxRule RuleOf(const ParameterField& f) {
    const bool ranged = f.low < f.high;
    switch (f.type) {
        case FieldType::kF32:
            return FloatRule("1e39");
        case FieldType::kF64:
            return FloatRule("1e400");
        case FieldType::kU8: {
            const std::string message = "Enter an integer between 0 and 255.";
            return {"xyz", message, "256", message, 0, 255};
        }
        case FieldType::kI8:
        case FieldType::kI32:
        case FieldType::kCount:
        case FieldType::kCoefficients:
        case FieldType::kChoice:
            break;
    }
    if (!ranged) return {"12.5", "Enter an integer.", "99999999999", "Enter an integer."};
    return {"xyz",
            "Enter an integer.",
            std::to_string(f.high + 1),
            "Enter an integer between " + std::to_string(f.low) + " and " + std::to_string(f.high) +
                ".",
            f.low,
            f.high};
}

// A number for a box that is valid there and differs from what it shows.
std::string ValidOther(const BoxRule& rule, const std::string& shown, int preferred) {
    for (int v = preferred;; ++v) {
        const int value = std::clamp(v, rule.low, rule.high);
        if (std::to_string(value) != shown) return std::to_string(value);
    }
}

// A box that takes part in the check: where it lies among the page's sets.
struct CheckedBox {
    int id = 0;
    BoxRule rule;
    ParameterSetBinding* binding = nullptr;  // null for a loose box
    std::size_t field = 0;
};

using Case = std::tuple<Request, Position, Fault>;

class RefusedWrite : public testing::PageFixture, public ::testing::WithParamInterface<Case> {
protected:
    ParameterPage* Parameters() { return dynamic_cast<ParameterPage*>(&Shown()); }

    bool Editable(const ui::Control& c) const {
        return c.kind == ui::ControlKind::Edit && !c.readOnly && c.visible && c.enabled;
    }

    // The boxes a person can make bad, in the page's order; every editable box is one of them
    // or a coefficient list, which takes any text.
    std::vector<CheckedBox> CheckedBoxes() {
        std::map<int, CheckedBox> known;
        std::set<int> texts;
        if (ParameterPage* page = Parameters()) {
            for (std::size_t k = 0; k < page->SetCount(); ++k) {
                ParameterSetBinding& binding = page->Set(k);
                const auto& fields = binding.Set().fields;
                for (std::size_t i = 0; i < fields.size(); ++i) {
                    if (fields[i].readOnly) continue;
                    if (fields[i].type == FieldType::kCoefficients) {
                        texts.insert(fields[i].box);
                        continue;
                    }
                    known[fields[i].box] = {fields[i].box, RuleOf(fields[i]), &binding, i};
                }
            }
        }
        for (int id : LooseFloatBoxes())
            known.emplace(id, CheckedBox{id, FloatRule("1e39")});
        std::vector<CheckedBox> boxes;
        for (const ui::Control& c : Shown().Controls()) {
            if (!Editable(c)) continue;
            const auto found = known.find(c.id);
            if (found != known.end()) {
                boxes.push_back(found->second);
            } else {
                EXPECT_TRUE(texts.count(c.id)) << "box " << c.id << " is not covered";
            }
        }
        return boxes;
    }

    void Press(const Request& r) {
        if (r.spin) {
            ASSERT_TRUE(Shown().UserReleaseSpin(r.control)) << r.control;
        } else {
            Click(r.control);
        }
    }

    // Every value of the page as it keeps it, and every control after the values are shown
    // again (which also brings back what a refused request left in the boxes).
    struct State {
        std::vector<std::vector<std::pair<double, std::string>>> sets;
        std::vector<std::pair<std::string, bool>> controls;
        bool operator==(const State&) const = default;
    };
    State Snapshot() {
        State state;
        if (ParameterPage* page = Parameters()) {
            for (std::size_t k = 0; k < page->SetCount(); ++k) {
                auto& values = state.sets.emplace_back();
                for (const ParameterValue& v : page->Set(k).values)
                    values.emplace_back(v.number, v.text);
            }
        }
        Shown().UpdateData(false);
        for (const ui::Control& c : Shown().Controls())
            state.controls.emplace_back(c.text, c.checked);
        return state;
    }

    // What the request must send once the bad box holds number: the old values with that box's.
    Bytes Expected(const Request& r, const Written& old, const CheckedBox& box, double number) {
        if (r.carries) return r.carries == box.id ? testing::Floats({float(number)}) : old.payload;
        const int setButton = r.setButton ? r.setButton : r.control;
        if (!box.binding || box.binding->Set().buttons.write != setButton) return old.payload;
        std::vector<ParameterValue> values = box.binding->values;
        values[box.field].number = number;
        Bytes expected = old.payload;
        WriteFields(box.binding->Set(), values, expected);
        return expected;
    }
};

TEST_P(RefusedWrite, SendsNothingAndChangesNothingUntilTheBoxIsCorrected) {
    const auto& [request, position, fault] = GetParam();
    ShowPage(request.page, request.product);
    const std::vector<CheckedBox> boxes = CheckedBoxes();
    ASSERT_FALSE(boxes.empty());
    const std::size_t index = position == Position::kFirst    ? 0
                              : position == Position::kMiddle ? boxes.size() / 2
                                                              : boxes.size() - 1;
    const CheckedBox& bad = boxes[index];

    // The request with the page as it stands sends the old values.
    const std::size_t first = link->written.size();
    Press(request);
    ASSERT_EQ(link->written.size(), first + 1);
    const Written old = Last();
    ASSERT_TRUE(host.messages.empty());
    const State before = Snapshot();

    // Valid new numbers in every other box, a bad one in this box: nothing is taken or sent.
    for (const ui::Control& c : Shown().Controls()) {
        if (!Editable(c) || c.id == bad.id) continue;
        const auto checked = std::find_if(boxes.begin(), boxes.end(),
                                          [&](const CheckedBox& b) { return b.id == c.id; });
        Type(c.id, checked == boxes.end() ? (c.text == "1,2,3" ? "4,5" : "1,2,3")
                                          : ValidOther(checked->rule, c.text, 7));
    }
    const bool notANumber = fault == Fault::kNotANumber;
    const std::string badText = notANumber ? bad.rule.notANumber : bad.rule.outOfRange;
    Type(bad.id, badText);
    const std::size_t sent = link->written.size();
    Press(request);
    EXPECT_EQ(host.messages, std::vector<std::string>{notANumber ? bad.rule.notANumberMessage
                                                                 : bad.rule.outOfRangeMessage});
    EXPECT_EQ(link->written.size(), sent) << "a frame went out";
    EXPECT_EQ(Shown().Focus(), bad.id);
    EXPECT_TRUE(Shown().FocusTextSelected());
    EXPECT_EQ(Box(bad.id), badText);
    EXPECT_TRUE(Snapshot() == before) << "a value of the page changed";

    // Corrected, the request sends the old values and the corrected box.
    host.messages.clear();
    const std::string corrected = ValidOther(bad.rule, Box(bad.id), 5);
    Type(bad.id, corrected);
    Press(request);
    EXPECT_TRUE(host.messages.empty());
    ASSERT_EQ(link->written.size(), sent + 1);
    EXPECT_EQ(Last().group, old.group);
    EXPECT_EQ(Last().msgId, old.msgId);
    EXPECT_EQ(Last().payload, Expected(request, old, bad, std::stod(corrected)));
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    const auto& [request, position, fault] = info.param;
    const char* positions[] = {"First", "Middle", "Last"};
    return request.name + positions[static_cast<int>(position)] +
           (fault == Fault::kNotANumber ? "NotANumber" : "OutOfRange");
}

INSTANTIATE_TEST_SUITE_P(
    EveryValueRequest, RefusedWrite,
    ::testing::Combine(::testing::ValuesIn(ValueRequests()),
                       ::testing::Values(Position::kFirst, Position::kMiddle, Position::kLast),
                       ::testing::Values(Fault::kNotANumber, Fault::kOutOfRange)),
    CaseName);

// A page with boxes, and the requests on it that carry none of its values besides the sets'
// Read and Default.
struct PageRequests {
    std::string name;
    std::string product;
    std::string page;
    std::vector<int> more;
};

std::vector<PageRequests> PagesWithBoxes() {
    using S = CDlgSensorCalibrate;
    const Cal::Quantity& voltage = Cal::kQuantities[1];
    return {
        {"AhrsSettings", "AHRS", "AHRS_Set", {}},
        {"Fir", "AHRS", "AHRS_Set_FIR", {}},
        {"SensorCalibration", "AHRS", "AHRS_Cal", {S::kAccToggle, S::kGyroToggle, S::kMagToggle}},
        {"GpsInsFilter", "GPSINS", "GPSINS_Set", {}},
        {"TrackerCompass", "AAT", "AAT_Mag_Cal", {CMagCalDlg::kBeginCal}},
        {"TrackerMotors", "AAT", "AAT_Servo_Set", {}},
        {"OsdCalibration",
         "Vantrel",
         "OSD_Calibrate",
         {Cal::kRssiToggle, voltage.Id(Cal::kReadA), voltage.Id(Cal::kReadB)}},
        {"InnerPid", "Standard", "Airplane_PID_Inner", {}},
        {"OuterPid", "Standard", "Airplane_PID_Outer", {}},
    };
}

class RequestWithoutValues : public testing::PageFixture,
                             public ::testing::WithParamInterface<PageRequests> {};

TEST_P(RequestWithoutValues, GoesOutWhateverTheBoxesHold) {
    const PageRequests& p = GetParam();
    ShowPage(p.page, p.product);
    for (const ui::Control& c : Shown().Controls()) {
        if (c.kind == ui::ControlKind::Edit && !c.readOnly) Type(c.id, "xyz");
    }
    std::vector<int> controls = p.more;
    if (auto* page = dynamic_cast<ParameterPage*>(&Shown())) {
        for (std::size_t k = 0; k < page->SetCount(); ++k) {
            const ParameterSet::Buttons& b = page->Set(k).Set().buttons;
            for (int id : {b.read, b.reset}) {
                if (id) controls.push_back(id);
            }
        }
    }
    ASSERT_FALSE(controls.empty());
    for (int id : controls) {
        const std::size_t sent = link->written.size();
        Click(id);
        EXPECT_EQ(link->written.size(), sent + 1) << "control " << id;
    }
    EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryPageWithBoxes, RequestWithoutValues,
                         ::testing::ValuesIn(PagesWithBoxes()),
                         [](const auto& info) { return info.param.name; });

class RefusedWriteCoverage : public testing::DialogFixture {};

// The tables above leave out no page: every page with a box a person can type into is listed
// with every write of its sets, or no request sends its boxes' values.
TEST_F(RefusedWriteCoverage, AllPagesWithBoxesAreCovered) {
    WriteConfig("[ProductSetting]\nProduct=AHRS\n");
    Start();
    // The helicopter pages send nothing; the update page's file name is no value of the board.
    const std::set<std::string> noValueRequests = {"Helicopter_Mouting", "Helicopter_SwashPlate",
                                                   "Update_FirmwareUpdate"};
    std::set<std::string> listed;
    for (const PageRequests& p : PagesWithBoxes())
        listed.insert(p.page);
    std::set<std::pair<std::string, int>> requests;
    for (const Request& r : ValueRequests())
        requests.insert({r.page, r.control});
    for (const auto& page : dialog->Pages().All()) {
        const std::string key(page->Id().treeKey);
        const bool boxes =
            std::any_of(page->Controls().begin(), page->Controls().end(), [](const auto& c) {
                return c.kind == ui::ControlKind::Edit && !c.readOnly && c.visible && c.enabled;
            });
        EXPECT_EQ(boxes, listed.count(key) + noValueRequests.count(key) == 1) << key;
        if (!boxes || noValueRequests.count(key)) continue;
        auto* parameters = dynamic_cast<ParameterPage*>(page.get());
        if (!parameters) continue;
        for (std::size_t k = 0; k < parameters->SetCount(); ++k) {
            const int write = parameters->Set(k).Set().buttons.write;
            if (write) {
                EXPECT_TRUE(requests.count({key, write})) << key << " " << write;
            }
        }
    }
}

}  // namespace
}  // namespace zephran
