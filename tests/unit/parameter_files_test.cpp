#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <optional>

#include "app/language_dlg.h"
#include "app/menu_bar.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/framework/parameter_page.h"
#include "support/page_fixture.h"

namespace zephran::testing {
namespace {

using Json = nlohmann::ordered_json;

// The AHRS product against a board in memory that keeps one record per parameter set, answers
// its reads and acknowledges its writes, except where a test silences it.
class ParameterFilesTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ShowPage("AHRS_Set");
        for (const auto& page : dialog->Pages().All()) {
            auto* parameters = dynamic_cast<ParameterPage*>(page.get());
            for (std::size_t k = 0; parameters && k < parameters->SetCount(); ++k) {
                const ParameterSet& set = parameters->Set(k).Set();
                if (!set.requests.read) continue;
                sets.push_back(&set);
                std::vector<std::uint8_t> record(
                    dialog->Records().Bytes(set.record, set.recordIndex).size());
                for (std::size_t i = 0; i < record.size(); ++i)
                    record[i] = static_cast<std::uint8_t>(i + sets.size());
                board[std::string(set.name)] = record;
            }
        }
        seen = link->written.size();
    }

    const ParameterSet* SetOf(std::uint8_t group, std::uint8_t msgId, bool write) const {
        for (const ParameterSet* set : sets) {
            const Message* m = write ? set->requests.write : set->requests.read;
            if (m && m->Is(group, msgId)) return set;
        }
        return nullptr;
    }

    // Lets ms pass in 10 ms steps, the board answering what was written before each.
    void Serve(std::int64_t ms) {
        for (std::int64_t t = 0; t < ms; t += 10) {
            for (; seen < link->written.size(); ++seen) {
                const auto& frame = link->written[seen];
                const std::uint8_t group = frame[2];
                const std::uint8_t msgId = frame[3];
                if (const ParameterSet* set = SetOf(group, msgId, false)) {
                    ++reads;
                    maxPending = std::max(maxPending, dialog->Session().Pending().size());
                    if (silentRead != set->name)
                        Receive(group, msgId, board[std::string(set->name)]);
                } else if (const ParameterSet* written = SetOf(group, msgId, true)) {
                    writes.push_back(std::string(written->name));
                    if (silentWrite == written->name) continue;
                    board[std::string(written->name)] = PayloadOf(frame);
                    Receive(group, msgId);
                }
            }
            Advance(10);
        }
    }

    // Runs an operation to its end, the board serving it.
    ParameterFiles::Outcome Run(const std::function<void(ParameterFiles::Done)>& start) {
        std::optional<ParameterFiles::Outcome> outcome;
        start([&outcome](const ParameterFiles::Outcome& o) { outcome = o; });
        for (int i = 0; i < 100 && !outcome; ++i)
            Serve(100);
        EXPECT_TRUE(outcome) << "no end within 10 s";
        return outcome.value_or(ParameterFiles::Outcome{"no end", {}});
    }

    ParameterFiles::Outcome Save(const std::string& path) {
        return Run([&](ParameterFiles::Done done) { dialog->Parameters().Save(path, done); });
    }
    ParameterFiles::Outcome Load(const std::string& path) {
        return Run([&](ParameterFiles::Done done) { dialog->Parameters().Load(path, done); });
    }

    std::vector<const ParameterSet*> sets;
    std::map<std::string, std::vector<std::uint8_t>> board;
    std::string_view silentRead;
    std::string_view silentWrite;
    std::size_t seen = 0;
    int reads = 0;
    std::size_t maxPending = 0;
    std::vector<std::string> writes;
};

TEST_F(ParameterFilesTest, SaveReadsEverySetOneAtATimeAndKeepsItsRecord) {
    const std::string path = dir.File("board.json");
    const ParameterFiles::Outcome outcome = Save(path);
    ASSERT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.lines, std::vector<std::string>{"Saved 9 parameter sets to " + path + "."});
    EXPECT_EQ(reads, 9);
    EXPECT_EQ(maxPending, 1u);
    const Json file = Json::parse(dir.Read("board.json"));
    EXPECT_EQ(file["product"], "AHRS");
    // The virtual clock's wall time, a second after its start.
    EXPECT_EQ(file["date"], "2027-01-15T08:00:01Z");
    ASSERT_EQ(file["sets"].size(), 9u);
    EXPECT_EQ(file["sets"][0]["name"], "AHRS noise parameters");
    // The board's bytes, leading byte included.
    const std::vector<std::uint8_t>& noise = board["AHRS noise parameters"];
    char start[7];
    std::snprintf(start, sizeof start, "%02x%02x%02x", noise[0], noise[1], noise[2]);
    EXPECT_EQ(file["sets"][0]["record"].get<std::string>().substr(0, 6), start);
    EXPECT_EQ(dialog->StatusBar().Progress(), 0);
    EXPECT_FALSE(dialog->Parameters().Busy());
}

TEST_F(ParameterFilesTest, ProgressShowsHowManySetsAreRead) {
    std::optional<ParameterFiles::Outcome> outcome;
    dialog->Parameters().Save(dir.File("p.json"),
                              [&](const ParameterFiles::Outcome& o) { outcome = o; });
    std::vector<int> seenProgress;
    while (!outcome) {
        Serve(10);
        seenProgress.push_back(dialog->StatusBar().Progress());
    }
    EXPECT_NE(std::find(seenProgress.begin(), seenProgress.end(), 100 * 4 / 9), seenProgress.end());
    EXPECT_TRUE(std::is_sorted(seenProgress.begin(), seenProgress.end() - 1));
}

TEST_F(ParameterFilesTest, AReadLeftUnansweredEndsAtTheTimeOutNamingItsSetAndWritesNoFile) {
    silentRead = "Acc FIR";
    const ParameterFiles::Outcome outcome = Save(dir.File("none.json"));
    EXPECT_EQ(outcome.error, "The board did not answer the read of set \"Acc FIR\".");
    EXPECT_EQ(reads, 3);
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.json")));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages.back().find(Text("MessagBox", "TimeOut")), std::string::npos);
}

TEST_F(ParameterFilesTest, CancelEndsTheTransferAtOnce) {
    std::optional<ParameterFiles::Outcome> outcome;
    dialog->Parameters().Save(dir.File("c.json"),
                              [&](const ParameterFiles::Outcome& o) { outcome = o; });
    Serve(30);
    ASSERT_TRUE(dialog->Parameters().Busy());
    dialog->Parameters().Cancel();
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->error, "Cancelled.");
    EXPECT_EQ(dialog->StatusBar().Progress(), 0);
    const std::size_t framesBefore = link->written.size();
    Serve(2000);
    EXPECT_EQ(link->written.size(), framesBefore);
    EXPECT_FALSE(std::filesystem::exists(dir.File("c.json")));
}

TEST_F(ParameterFilesTest, NothingStartsWithoutABoardOrWhileATransferRuns) {
    std::vector<std::string> errors;
    const auto note = [&](const ParameterFiles::Outcome& o) { errors.push_back(o.error); };
    dialog->Parameters().Save(dir.File("a.json"), note);
    dialog->Parameters().Save(dir.File("b.json"), note);
    dialog->Parameters().Load(dir.File("a.json"), note);
    EXPECT_EQ(errors, std::vector<std::string>(2, "Parameters are being transferred already."));
    dialog->Parameters().Cancel();
    link->Lose();
    Advance(10);
    dialog->Parameters().Save(dir.File("a.json"), note);
    EXPECT_EQ(errors.back(), "No board is connected.");
}

class ParameterLoadTest : public ParameterFilesTest {
protected:
    void SetUp() override {
        ParameterFilesTest::SetUp();
        path = dir.File("saved.json");
        SetBoardGyroNoise(1e-7);
        ASSERT_EQ(Save(path).error, "");
        SetBoardGyroNoise(0.25);  // changed after the save
        writes.clear();
        host.questions.clear();
    }
    void SetBoardGyroNoise(double value) {
        std::memcpy(board["AHRS noise parameters"].data() + 1, &value, sizeof value);
    }
    double BoardGyroNoise() { return DoubleAt(board["AHRS noise parameters"], 1); }

    std::string path;
};

TEST_F(ParameterLoadTest, AsksWithTheChangesAndWritesOnlyTheSetsThatDiffer) {
    host.answer = true;
    const ParameterFiles::Outcome outcome = Load(path);
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.lines,
              std::vector<std::string>{"Wrote 1 parameter sets: AHRS noise parameters."});
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0],
              "These values will change:\nAHRS noise parameters / Gyroscope Noise (Q): board=0.25, "
              "file=1e-07\nWrite them to the board?");
    EXPECT_EQ(writes, std::vector<std::string>{"AHRS noise parameters"});
    EXPECT_EQ(BoardGyroNoise(), 1e-7);
    // The page shows what went to the board.
    EXPECT_EQ(Box(CDlgAHRSSetting::kGyroNoise), "1e-07");
}

// The user reads sets and fields by the captions of the language in use; files keep their names.
TEST_F(ParameterLoadTest, LinesNameTheSetByItsCaptionInTheLanguageInUse) {
    host.onModal = [](ui::Window& window) {
        window.UserChoose(kIdLanguageList, 0);  // chinese
        window.UserClick(ui::IDOK);
    };
    dialog->OnCommand(kCmdLanguage);
    ASSERT_EQ(dialog->Language().Setting().Read(), "chinese");
    const std::string set = Text("ParameterSets", "AHRS Noise");
    ASSERT_FALSE(set.empty());
    ASSERT_EQ(Save(dir.File("now.json")).error, "");
    const auto compared = dialog->Parameters().CompareFiles(path, dir.File("now.json")).lines;
    ASSERT_EQ(compared.size(), 1u);
    EXPECT_EQ(compared[0].rfind(set + " / ", 0), 0u) << compared[0];
    EXPECT_EQ(compared[0].find("AHRS noise parameters"), std::string::npos) << compared[0];
    EXPECT_NE(dir.Read("now.json").find("\"AHRS noise parameters\""), std::string::npos);
}

TEST_F(ParameterLoadTest, AnsweringNoWritesNothing) {
    const ParameterFiles::Outcome outcome = Load(path);
    EXPECT_EQ(outcome.lines, std::vector<std::string>{"Nothing was written."});
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(BoardGyroNoise(), 0.25);
}

TEST_F(ParameterLoadTest, AWriteLeftUnacknowledgedIsNamed) {
    host.answer = true;
    silentWrite = "AHRS noise parameters";
    const ParameterFiles::Outcome outcome = Load(path);
    EXPECT_EQ(outcome.error,
              "The board did not answer the write of set \"AHRS noise parameters\". Sets written "
              "before it: none.");
}

TEST_F(ParameterLoadTest, AFileThatDoesNotCheckOutSendsNothing) {
    Json file = Json::parse(dir.Read("saved.json"));
    file["product"] = "GPSINS";
    const std::string other = dir.Write("other.json", file.dump());
    const std::string damaged = dir.Write("damaged.json", dir.Read("saved.json").substr(0, 300));
    const std::size_t before = link->written.size();
    host.answer = true;
    EXPECT_EQ(Load(other).error,
              other + ": The file holds parameters of the product \"GPSINS\", not of \"AHRS\".");
    EXPECT_NE(Load(damaged).error.find("The file is damaged"), std::string::npos);
    EXPECT_NE(Load(dir.File("missing.json")).error.find("Cannot read"), std::string::npos);
    EXPECT_EQ(link->written.size(), before);
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(ParameterLoadTest, CompareListsTheChangedFieldAgainstTheBoardAndAnotherFile) {
    const ParameterFiles::Outcome withBoard =
        Run([&](ParameterFiles::Done done) { dialog->Parameters().CompareWithBoard(path, done); });
    EXPECT_EQ(withBoard.lines,
              std::vector<std::string>{
                  "AHRS noise parameters / Gyroscope Noise (Q): file=1e-07, board=0.25"});
    ASSERT_EQ(Save(dir.File("now.json")).error, "");
    EXPECT_EQ(dialog->Parameters().CompareFiles(path, dir.File("now.json")).lines,
              std::vector<std::string>{
                  "AHRS noise parameters / Gyroscope Noise (Q): first=1e-07, second=0.25"});
    // The caption is the label as the page shows it now, in whatever language.
    constexpr int kGyroNoiseLabel = 1181;
    dialog->Pages().Find("AHRS_Set")->SetDlgItemText(kGyroNoiseLabel, "陀螺仪噪声(Q):");
    EXPECT_EQ(dialog->Parameters().CompareFiles(path, dir.File("now.json")).lines,
              std::vector<std::string>{"AHRS noise parameters / 陀螺仪噪声(Q): first=1e-07, "
                                       "second=0.25"});
    EXPECT_EQ(dialog->Parameters().CompareFiles(path, path).lines,
              std::vector<std::string>{"No differences."});
}

}  // namespace
}  // namespace zephran::testing
