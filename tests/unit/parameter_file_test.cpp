#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>

#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_fir.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "pages/osd_tracker/dlg_aat_servo_set.h"
#include "params/parameter_file.h"
#include "records/record_store.h"
#include "support/fake_texts.h"

namespace zephran {
namespace {

using Json = nlohmann::ordered_json;

// A product's sets with their record sizes, and snapshots of them with chosen values.
class ParameterFileTest : public ::testing::Test {
protected:
    ParameterFileTest() {
        for (const ParameterSet* set :
             {&CDlgAHRSSetting::kNoise, &CDlgFIR::kFilters[0], &CAATServoSet::kOffsets,
              &CAATServoSet::kServoGapSet, &CDlgSensorCalibrate::kSets[1]}) {
            layouts.push_back(LayoutOf(*set, records));
        }
    }

    SetSnapshot Snapshot(const ParameterSet& set, const std::vector<ParameterValue>& values,
                         std::uint8_t leading = 0xA5) {
        SetSnapshot snapshot{&set, std::vector<std::uint8_t>(LayoutOf(set, records).recordSize)};
        if (set.leadingByte) snapshot.record[0] = leading;
        WriteFields(set, values, snapshot.record);
        return snapshot;
    }

    ParameterSnapshot Board() {
        ParameterSnapshot board{"AHRS", "2026-12-08T09:00:00Z", {}};
        board.sets.push_back(
            Snapshot(CDlgAHRSSetting::kNoise, {{1e-7, {}}, {2.5e-5, {}}, {3e-9, {}}}));
        board.sets.push_back(Snapshot(CDlgFIR::kFilters[0], {{3, {}}, {0, "100,-200,32767"}}));
        board.sets.push_back(Snapshot(CAATServoSet::kOffsets, {{-5, {}}, {100, {}}}));
        board.sets.push_back(Snapshot(CAATServoSet::kServoGapSet, {{-70000, {}}}));
        board.sets.push_back(
            Snapshot(CDlgSensorCalibrate::kSets[1], {{0.5, {}}, {-1, {}}, {0, {}}}));
        return board;
    }

    FileReading Read(const std::string& text, const std::string& product = "AHRS") {
        return ReadParameterFile(text, product, layouts, texts);
    }

    // The board's file with one change made to its JSON.
    FileReading ReadEdited(const std::function<void(Json&)>& edit) {
        Json file = Json::parse(WriteParameterFile(Board()));
        edit(file);
        return Read(file.dump());
    }

    Json& Field(Json& file, std::size_t set, const char* name) {
        return file["sets"][set]["fields"][name];
    }

    RecordStore records;
    testing::FakeTexts texts;
    std::vector<SetLayout> layouts;
};

TEST_F(ParameterFileTest, WritesTheProductDateAndEachSetsFieldsUnitsAndRecord) {
    const Json file = Json::parse(WriteParameterFile(Board()));
    EXPECT_EQ(file["format"], "ZephranFPV parameters");
    EXPECT_EQ(file["product"], "AHRS");
    EXPECT_EQ(file["date"], "2026-12-08T09:00:00Z");
    ASSERT_EQ(file["sets"].size(), 5u);
    const Json& noise = file["sets"][0];
    EXPECT_EQ(noise["name"], "AHRS noise parameters");
    EXPECT_DOUBLE_EQ(noise["fields"]["accNoise"]["value"].get<double>(), 2.5e-5);
    // 25 bytes: the board's leading byte, then three doubles.
    EXPECT_EQ(noise["record"].get<std::string>().size(), 50u);
    EXPECT_EQ(noise["record"].get<std::string>().substr(0, 2), "a5");
    const Json& fir = file["sets"][1];
    EXPECT_EQ(fir["fields"]["taps"]["value"], 3);
    ASSERT_EQ(fir["fields"]["coefficients"]["value"].size(), 32u);
    EXPECT_EQ(fir["fields"]["coefficients"]["value"][1], -200);
    EXPECT_EQ(fir["fields"]["coefficients"]["value"][3], 0);  // cleared from the tap count on
    EXPECT_EQ(file["sets"][3]["fields"]["servoGap"]["value"], -70000);
    EXPECT_EQ(file["sets"][4]["fields"]["accOffsetX"]["unit"], "g");
    // Field order follows the table.
    EXPECT_EQ(noise["fields"].begin().key(), "gyroNoise");
}

TEST_F(ParameterFileTest, ReadsBackExactlyTheRecordsItWrote) {
    const ParameterSnapshot board = Board();
    const FileReading reading = Read(WriteParameterFile(board));
    ASSERT_TRUE(reading.snapshot) << reading.error;
    EXPECT_EQ(reading.snapshot->date, board.date);
    ASSERT_EQ(reading.snapshot->sets.size(), board.sets.size());
    for (std::size_t i = 0; i < board.sets.size(); ++i) {
        EXPECT_EQ(reading.snapshot->sets[i].set, board.sets[i].set);
        EXPECT_EQ(reading.snapshot->sets[i].record, board.sets[i].record) << i;
    }
}

TEST_F(ParameterFileTest, AValueEditedByHandIsLaidOverTheRecordsBytes) {
    const FileReading reading =
        ReadEdited([this](Json& file) { Field(file, 2, "verticalOffset")["value"] = -42; });
    ASSERT_TRUE(reading.snapshot) << reading.error;
    const SetSnapshot& offsets = reading.snapshot->sets[2];
    EXPECT_EQ(offsets.record[0], 0xFB);  // -5 kept
    EXPECT_EQ(offsets.record[1], static_cast<std::uint8_t>(-42));
}

TEST_F(ParameterFileTest, AConvertedSingleFloatKeepsItsExactBytes) {
    // Shown in g and stored again, some floats move by a last bit, as this one does; the file
    // must not move them.
    const ParameterSet& offsets = CDlgSensorCalibrate::kSets[1];
    const std::uint32_t bits = 0x3F9C98CB;  // 1.2234129f
    std::vector<std::uint8_t> drifting(LayoutOf(offsets, records).recordSize);
    std::memcpy(drifting.data() + 1, &bits, sizeof bits);
    std::vector<std::uint8_t> again = drifting;
    WriteFields(offsets, ReadFields(offsets, drifting), again);
    ASSERT_NE(again, drifting);
    ParameterSnapshot board = Board();
    board.sets[4].record = drifting;
    const FileReading reading = Read(WriteParameterFile(board));
    ASSERT_TRUE(reading.snapshot) << reading.error;
    EXPECT_EQ(reading.snapshot->sets[4].record, drifting);
}

TEST_F(ParameterFileTest, ABoardsNonNumberIsSavedAsNullAndTakenFromTheRecord) {
    ParameterSnapshot board = Board();
    board.sets[0] = Snapshot(CDlgAHRSSetting::kNoise,
                             {{std::numeric_limits<double>::quiet_NaN(), {}}, {1, {}}, {2, {}}});
    const std::string text = WriteParameterFile(board);
    EXPECT_TRUE(Json::parse(text)["sets"][0]["fields"]["gyroNoise"]["value"].is_null());
    const FileReading reading = Read(text);
    ASSERT_TRUE(reading.snapshot) << reading.error;
    EXPECT_TRUE(std::isnan(
        ReadFields(CDlgAHRSSetting::kNoise, reading.snapshot->sets[0].record)[0].number));
}

TEST_F(ParameterFileTest, RefusesAFileForAnotherProductNamingBoth) {
    const FileReading reading = Read(WriteParameterFile(Board()), "GPSINS");
    EXPECT_FALSE(reading.snapshot);
    EXPECT_EQ(reading.error,
              "The file holds parameters of the product \"AHRS\", not of \"GPSINS\".");
}

TEST_F(ParameterFileTest, RefusesDamagedFilesWithoutThrowing) {
    const std::string good = WriteParameterFile(Board());
    for (const std::string& text :
         {good.substr(0, good.size() / 2), std::string(), std::string("[]"), std::string("nul"),
          std::string("{\"format\":\"ZephranFPV parameters\",\"version\":1}"),
          std::string(100, '[') + std::string(100, ']'), std::string("\"\xff\xfe\"")}) {
        const FileReading reading = Read(text);
        EXPECT_FALSE(reading.snapshot) << text;
        EXPECT_FALSE(reading.error.empty()) << text;
    }
    EXPECT_NE(Read(good.substr(0, good.size() / 2)).error.find("The file is damaged"),
              std::string::npos);
    EXPECT_EQ(Read(std::string(kMaxParameterFileSize + 1, ' ')).error, "The file is too large.");
}

TEST_F(ParameterFileTest, RefusesHandEditsThatDoNotCheckOutNamingTheSetAndField) {
    struct Case {
        std::function<void(Json&)> edit;
        std::string error;
    };
    const std::vector<Case> cases{
        {[this](Json& f) { Field(f, 2, "verticalOffset")["value"] = 101; },
         "Set \"Pitch axis limit offsets\", field \"verticalOffset\": 101 is out of range (-100 to "
         "100)."},
        {[this](Json& f) { Field(f, 1, "taps")["value"] = 33; },
         "Set \"Gyro FIR\", field \"taps\": 33 is out of range (0 to 32)."},
        {[this](Json& f) { Field(f, 2, "horizontalOffset")["value"] = 1.5; },
         "Set \"Pitch axis limit offsets\", field \"horizontalOffset\": not a whole number."},
        {[this](Json& f) { Field(f, 3, "servoGap")["value"] = 3000000000LL; },
         "Set \"Horizontal axis minimum output point\", field \"servoGap\": 3000000000 is out of "
         "range "
         "(-2147483648 to 2147483647)."},
        {[this](Json& f) { Field(f, 0, "accNoise")["value"] = "small"; },
         "Set \"AHRS noise parameters\", field \"accNoise\": not a number."},
        {[this](Json& f) { Field(f, 4, "accOffsetY")["value"] = 1e38; },
         "Set \"Accelerometer offsets\", field \"accOffsetY\": the number is too large."},
        {[this](Json& f) { Field(f, 4, "accOffsetY")["unit"] = "m/s²"; },
         "Set \"Accelerometer offsets\", field \"accOffsetY\": the unit is \"m/s²\", not \"g\"."},
        {[](Json& f) { f["sets"][0]["fields"].erase("compassNoise"); },
         "Set \"AHRS noise parameters\", field \"compassNoise\": missing."},
        {[this](Json& f) {
             Field(f, 0, "magNoise") = {{"value", 1}, {"unit", ""}};
         },
         "Set \"AHRS noise parameters\", field \"magNoise\": the set has no such field."},
        {[this](Json& f) { Field(f, 1, "coefficients")["value"][0] = 40000; },
         "Set \"Gyro FIR\", field \"coefficients\": 40000 is not a whole number from -32768 to "
         "32767."},
        {[this](Json& f) { Field(f, 1, "coefficients")["value"].push_back(1); },
         "Set \"Gyro FIR\", field \"coefficients\": not a list of at most 32 whole numbers."},
        {[](Json& f) { f["sets"][0]["record"] = "a5"; },
         "Set \"AHRS noise parameters\": the record is not 25 bytes in hexadecimal."},
        {[](Json& f) { f["sets"][0]["name"] = "PID"; },
         "Set \"PID\" is not a parameter set of the product \"AHRS\"."},
        {[](Json& f) { f["sets"].push_back(f["sets"][0]); },
         "Set \"AHRS noise parameters\" appears twice."},
        {[](Json& f) { f["version"] = 2; },
         "The file's format version is not one this program reads."},
        {[](Json& f) { f.erase("date"); }, "The file has no date."},
    };
    for (const Case& c : cases) {
        const FileReading reading = ReadEdited(c.edit);
        EXPECT_FALSE(reading.snapshot) << c.error;
        EXPECT_EQ(reading.error, c.error);
    }
}

// A language places the set, the field and the values where its sentences need them.
TEST_F(ParameterFileTest, RefusalsAreInTheLanguageInUse) {
    texts.Set("ParameterFiles", "Field Problem", "<%2> of <%1>: %3");
    texts.Set("ParameterFiles", "Out Of Range", "%1 outside %2..%3");
    texts.Set("ParameterFiles", "Other Product", "for %2, not %1");
    texts.Set("ParameterFiles", "Damaged File", "broken (%1)");
    texts.Set("ParameterFiles", "Nests Too Deeply", "too deep");
    EXPECT_EQ(ReadEdited([this](Json& f) { Field(f, 1, "taps")["value"] = 33; }).error,
              "<\"taps\"> of <\"Gyro FIR\">: 33 outside 0..32");
    EXPECT_EQ(Read(WriteParameterFile(Board()), "GPSINS").error, "for \"GPSINS\", not \"AHRS\"");
    EXPECT_EQ(Read(std::string(100, '[')).error, "broken (too deep)");
}

TEST_F(ParameterFileTest, ACoefficientListShorterThanThirtyTwoReplacesTheLeadingOnes) {
    const FileReading reading = ReadEdited([this](Json& f) {
        Field(f, 1, "taps")["value"] = 2;
        Field(f, 1, "coefficients")["value"] = Json::array({7, 8});
    });
    ASSERT_TRUE(reading.snapshot) << reading.error;
    const auto values = ReadFields(CDlgFIR::kFilters[0], reading.snapshot->sets[1].record);
    EXPECT_EQ(values[0].number, 2);
    EXPECT_EQ(values[1].text.substr(0, 10), "7,8,0,0,0,");
}

}  // namespace
}  // namespace zephran
