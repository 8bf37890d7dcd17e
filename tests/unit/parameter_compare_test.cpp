#include <gtest/gtest.h>

#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_fir.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "pages/osd_tracker/dlg_aat_servo_set.h"
#include "params/parameter_compare.h"
#include "records/record_store.h"
#include "support/fake_texts.h"

namespace zephran {
namespace {

// Stand in for the pages' captions.
const ShownNames kNames{[](const ParameterSet& set) { return "[" + std::string(set.name) + "]"; },
                        [](const ParameterSet&, const ParameterField& field) {
                            return "<" + std::string(field.name) + ">";
                        }};

class ParameterCompareTest : public ::testing::Test {
protected:
    SetSnapshot Snapshot(const ParameterSet& set, const std::vector<ParameterValue>& values,
                         std::uint8_t leading = 0) {
        SetSnapshot snapshot{&set, std::vector<std::uint8_t>(LayoutOf(set, records).recordSize)};
        snapshot.record[0] = leading;
        WriteFields(set, values, snapshot.record);
        return snapshot;
    }
    ParameterSnapshot Of(std::vector<SetSnapshot> sets) { return {"AHRS", "", std::move(sets)}; }

    RecordStore records;
    testing::FakeTexts texts;  // none: the built-in English
};

TEST_F(ParameterCompareTest, FindsExactlyTheFieldsThatDifferWithTheirShownValuesAndUnit) {
    const auto first =
        Of({Snapshot(CAATServoSet::kYawPid, {{200, {}}, {0, {}}, {100, {}}, {3, {}}, {100, {}}}),
            Snapshot(CDlgAHRSSetting::kNoise, {{1e-7, {}}, {1e-5, {}}, {1e-7, {}}})});
    const auto second =
        Of({Snapshot(CAATServoSet::kYawPid, {{200, {}}, {0, {}}, {100, {}}, {4.5, {}}, {100, {}}}),
            Snapshot(CDlgAHRSSetting::kNoise, {{1e-7, {}}, {1e-5, {}}, {2e-7, {}}})});
    const Comparison comparison = CompareSnapshots(first, second);
    ASSERT_EQ(comparison.fields.size(), 2u);
    EXPECT_EQ(comparison.fields[0].field->name, "integralThreshold");
    EXPECT_EQ(comparison.ChangedSets(),
              (std::vector<const ParameterSet*>{&CAATServoSet::kYawPid, &CDlgAHRSSetting::kNoise}));
    EXPECT_EQ(DescribeComparison(comparison, "file", "board", texts, kNames),
              (std::vector<std::string>{
                  "[Horizontal axis PID] / <integralThreshold> (°): file=3, board=4.5",
                  "[AHRS noise parameters] / <compassNoise>: file=1e-07, board=2e-07"}));
}

TEST_F(ParameterCompareTest, ValuesTheBoardWouldStoreAlikeAreTheSame) {
    // 0.1 typed by hand and the single float the board returned for it take the same bytes;
    // the leading byte is the board's and no field.
    const auto typed =
        Of({Snapshot(CDlgSensorCalibrate::kSets[1], {{0.1, {}}, {0, {}}, {0, {}}}, 1)});
    const auto board =
        Of({Snapshot(CDlgSensorCalibrate::kSets[1],
                     {{static_cast<float>(0.1 * 9.7873) / 9.7873, {}}, {0, {}}, {0, {}}}, 2)});
    EXPECT_TRUE(CompareSnapshots(typed, board).Same());
    EXPECT_EQ(DescribeComparison(CompareSnapshots(typed, board), "a", "b", texts, kNames),
              std::vector<std::string>{"No differences."});
}

TEST_F(ParameterCompareTest, ACoefficientListDiffersWhereAnyCoefficientDoes) {
    const auto first = Of({Snapshot(CDlgFIR::kFilters[1], {{2, {}}, {0, "1,2"}})});
    const auto second = Of({Snapshot(CDlgFIR::kFilters[1], {{2, {}}, {0, "1,3"}})});
    const Comparison comparison = CompareSnapshots(first, second);
    ASSERT_EQ(comparison.fields.size(), 1u);
    EXPECT_EQ(comparison.fields[0].first.substr(0, 6), "1,2,0,");
    EXPECT_EQ(comparison.fields[0].second.substr(0, 6), "1,3,0,");
}

TEST_F(ParameterCompareTest, NamesTheSetsOneSideLacks) {
    const auto first = Of({Snapshot(CDlgFIR::kFilters[0], {{0, {}}, {0, ""}}),
                           Snapshot(CDlgFIR::kFilters[1], {{0, {}}, {0, ""}})});
    const auto second = Of({Snapshot(CDlgFIR::kFilters[1], {{0, {}}, {0, ""}}),
                            Snapshot(CDlgFIR::kFilters[2], {{0, {}}, {0, ""}})});
    EXPECT_EQ(DescribeComparison(CompareSnapshots(first, second), "file", "board", texts, kNames),
              (std::vector<std::string>{"[Gyro FIR]: only in file", "[Mag FIR]: only in board"}));
    // A language places the names where its sentence needs them.
    texts.Set("ParameterFiles", "Only In", "仅在%2中：%1");
    EXPECT_EQ(DescribeComparison(CompareSnapshots(first, second), "文件", "模块", texts, kNames),
              (std::vector<std::string>{"仅在文件中：[Gyro FIR]", "仅在模块中：[Mag FIR]"}));
}

}  // namespace
}  // namespace zephran
