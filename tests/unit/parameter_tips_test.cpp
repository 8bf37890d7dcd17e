#include <gtest/gtest.h>

#include "app/language_dlg.h"
#include "app/menu_bar.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "pages/framework/parameter_field_info.h"
#include "pages/osd_tracker/dlg_aat_servo_set.h"
#include "support/fake_texts.h"
#include "support/page_fixture.h"

namespace zephran::testing {
namespace {

TEST(ParameterFieldInfo, RangesComeFromTheTableOrElseTheType) {
    using Range = std::pair<std::int64_t, std::int64_t>;
    const auto range = [](FieldType type, int low = 0, int high = 0) {
        const auto r = FieldRange({.type = type, .low = low, .high = high});
        return r ? Range{r->low, r->high} : Range{-1, -1};
    };
    EXPECT_EQ(range(FieldType::kU8), Range(0, 255));
    EXPECT_EQ(range(FieldType::kI8), Range(-128, 127));
    EXPECT_EQ(range(FieldType::kI8, -100, 100), Range(-100, 100));
    EXPECT_EQ(range(FieldType::kCount), Range(0, 32));
    EXPECT_EQ(range(FieldType::kI32), Range(INT32_MIN, INT32_MAX));
    EXPECT_EQ(range(FieldType::kF32), Range(-1, -1));
    EXPECT_EQ(range(FieldType::kCoefficients), Range(-1, -1));
}

TEST(ParameterFieldInfo, TheBoardsUnitFollowsTheConversion) {
    EXPECT_EQ(BoardUnit({.unit = "g", .conversion = Conversion::kGravity}), "m/s²");
    EXPECT_EQ(BoardUnit({.unit = "°/s", .conversion = Conversion::kDegrees}), "rad/s");
    EXPECT_EQ(BoardUnit({.unit = "°", .conversion = Conversion::kDegrees}), "rad");
    EXPECT_EQ(BoardUnit({.unit = "°"}), "");
}

TEST(ParameterFieldInfo, ATipSaysWhatTheFieldIsItsUnitRangeAndConversion) {
    const FakeTexts none;
    EXPECT_EQ(FieldTip(CDlgSensorCalibrate::kSets[2].fields[0], none),
              "Zero bias of the gyroscope axis, found by the board's calibration\n"
              "Unit: °/s\n"
              "A number (single precision, 6 significant digits)\n"
              "The board keeps it in rad/s (1 rad = 57.2958°)\n"
              "Set by the board; shown here only");
    EXPECT_EQ(FieldTip(CAATServoSet::kOffsets.fields[1], none),
              "A whole number\nRange: -100 to 100");
    EXPECT_NE(
        FieldTip(CDlgSensorCalibrate::kSets[1].fields[0], none).find("m/s² (1 g = 9.7873 m/s²)"),
        std::string::npos);
}

TEST(ParameterFieldInfo, ATipTakesTheLanguagesWordsAndPlacesTheValuesInThem) {
    FakeTexts texts;
    texts.Set("FieldTips", "Gyro Bias", "bias");
    texts.Set("FieldTips", "Unit", "[%1]");
    texts.Set("FieldTips", "Single", "float");
    texts.Set("FieldTips", "Board Unit", "%2 => %1");
    texts.Set("FieldTips", "Reported", "board only");
    EXPECT_EQ(FieldTip(CDlgSensorCalibrate::kSets[2].fields[0], texts),
              "bias\n[°/s]\nfloat\n1 rad = 57.2958° => rad/s\nboard only");
    texts.Set("FieldTips", "Range", "%2 >= x >= %1");
    EXPECT_EQ(FieldTip(CAATServoSet::kOffsets.fields[1], texts),
              "A whole number\n100 >= x >= -100");
}

class ParameterTipsOnPages : public PageFixture {};

TEST_F(ParameterTipsOnPages, BoxLabelAndUnitOfAFieldCarryItsTip) {
    ShowPage("AAT_Servo_Set", "AAT");
    const std::string tip = Shown().Find(CAATServoSet::kIntegralThreshold)->tip;
    EXPECT_EQ(tip, FieldTip(CAATServoSet::kYawPid.fields[3], dialog->Texts()));
    EXPECT_NE(tip.find("Unit: °"), std::string::npos);
    EXPECT_EQ(Shown().Find(1566)->tip, tip);  // its label
    EXPECT_EQ(Shown().Find(1568)->tip, tip);  // its unit beside the box
    EXPECT_EQ(Shown().Find(1568)->text, "°");
    EXPECT_EQ(Shown().Find(CAATServoSet::kReadPid)->tip, "");
}

TEST_F(ParameterTipsOnPages, TipsFollowAChangeOfLanguage) {
    ShowPage("AHRS_Set");
    const ParameterField& field = CDlgAHRSSetting::kNoise.fields[0];
    const std::string english = Shown().Find(field.box)->tip;
    EXPECT_NE(english.find("attitude filter"), std::string::npos);
    host.onModal = [](ui::Window& window) {
        window.UserChoose(kIdLanguageList, 0);  // chinese
        window.UserClick(ui::IDOK);
    };
    dialog->OnCommand(kCmdLanguage);
    ASSERT_EQ(dialog->Language().Setting().Read(), "chinese");
    const std::string chinese = Shown().Find(field.box)->tip;
    EXPECT_EQ(chinese, FieldTip(field, dialog->Texts()));
    EXPECT_NE(chinese, english);
    for (const char* key : {"Gyro Noise", "Double"}) {
        const std::string text = Text("FieldTips", key);
        ASSERT_FALSE(text.empty()) << key;
        EXPECT_NE(chinese.find(text), std::string::npos) << key;
    }
    EXPECT_EQ(Shown().Find(field.label)->tip, chinese);
}

TEST_F(ParameterTipsOnPages, EveryFieldOfEveryParameterPageHasATipAndShowsItsUnit) {
    ShowPage("AHRS_Set");
    for (const auto& page : dialog->Pages().All()) {
        auto* parameters = dynamic_cast<ParameterPage*>(page.get());
        for (std::size_t k = 0; parameters && k < parameters->SetCount(); ++k) {
            for (const ParameterField& field : parameters->Set(k).Set().fields) {
                const ui::Control* box = parameters->Find(field.box);
                ASSERT_TRUE(box) << field.name;
                EXPECT_FALSE(box->tip.empty()) << field.name;
                if (field.unit.empty()) continue;
                // The unit stands beside the box, or in the caption of its label.
                const ui::Control* unit = parameters->Find(field.unitLabel);
                const ui::Control* label = parameters->Find(field.label);
                const bool beside = unit && unit->text == field.unit;
                const bool inCaption = label && label->text.find(field.unit) != std::string::npos;
                EXPECT_TRUE(beside || inCaption || !box->visible) << field.name;
            }
        }
    }
}

}  // namespace
}  // namespace zephran::testing
