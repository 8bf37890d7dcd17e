// The shipped language files answer every lookup the program makes, in every language.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "app/menu_bar.h"
#include "app/page_factory.h"
#include "lang/lang_ini.h"
#include "lang/text_encoding.h"
#include "link/message_catalogue.h"
#include "link/network_transport_factory.h"
#include "pages/framework/added_captions.h"
#include "pages/framework/parameter_page.h"
#include "pages/framework/products.h"
#include "platform/app_paths.h"
#include "platform/clock.h"
#include "recording/live_recorder.h"
#include "recording/replay_link.h"
#include "records/record_store.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/list_box.h"
#include "update/firmware_update.h"

namespace zephran {
namespace {

using Lookup = std::pair<std::string, std::string>;

const std::string kSourceDir = ZEPHRAN_SOURCE_DIR;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

// The text of every source file of the program.
const std::vector<std::string>& Sources() {
    static const std::vector<std::string> sources = [] {
        std::vector<std::string> texts;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(kSourceDir + "/src")) {
            if (entry.path().extension() == ".cpp" || entry.path().extension() == ".h")
                texts.push_back(ReadFile(entry.path().string()));
        }
        return texts;
    }();
    return sources;
}

// AddedText(texts, "section", "key", english), the English a literal or a named constant; the
// texts argument may be a call without arguments.
const std::regex kAddedTextCall(
    R"re(\bAddedText\((?:[^,()]|\(\))*,\s*"([^"]*)"\s*,\s*"([^"]*)"\s*,\s*("[^"]*"|\w+))re");

struct AddedCall {
    Lookup lookup;
    std::string english;  // as written: a literal with its quotes, or a name
};

const std::vector<AddedCall>& AddedCalls() {
    static const std::vector<AddedCall> calls = [] {
        std::vector<AddedCall> found;
        for (const std::string& text : Sources()) {
            for (std::sregex_iterator it(text.begin(), text.end(), kAddedTextCall), end; it != end;
                 ++it)
                found.push_back({{(*it)[1].str(), (*it)[2].str()}, (*it)[3].str()});
        }
        return found;
    }();
    return calls;
}

// Every LangText("section", "key") with two literal names in the sources, the same through the
// firmware update's Text, and every AddedText call.
std::set<Lookup> LiteralLookups() {
    const std::regex call(R"re(\b(?:LangText|Text)\(\s*"([^"]*)"\s*,\s*"([^"]*)"\s*[,)])re");
    std::set<Lookup> found;
    for (const std::string& text : Sources()) {
        for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it)
            found.insert({(*it)[1].str(), (*it)[2].str()});
    }
    for (const AddedCall& added : AddedCalls())
        found.insert(added.lookup);
    return found;
}

// The texts the program adds, with the English it falls back to: the literal AddedText calls and
// the added caption keys.
std::set<Lookup> AddedKeys() {
    std::set<Lookup> added;
    for (const AddedCall& call : AddedCalls())
        added.insert(call.lookup);
    for (const AddedCaptionKey& key : AddedCaptionKeys())
        added.insert({std::string(key.section), std::string(key.key)});
    return added;
}

// Answers nothing and remembers what was asked.
class RecordingTexts : public TextSource {
public:
    std::string LangText(std::string_view section, std::string_view key) const override {
        asked.insert({std::string(section), std::string(key)});
        return {};
    }
    mutable std::set<Lookup> asked;
};

// Just enough of a main dialog to create the pages.
class PageHostStub : public PageHost {
public:
    bool SendFrame(std::uint8_t, std::uint8_t, std::uint16_t, const std::uint8_t*) override {
        return true;
    }
    bool CheckConnected() override { return true; }
    void SetStatus(int, const std::string&, int) override {}
    const TextSource& Texts() const override { return texts; }
    bool LanguageChosen() const override { return true; }
    ui::HostServices& Host() const override { return host; }
    RecordStore& Records() override { return records; }
    bool IsShown(const Page&) const override { return false; }

    RecordingTexts texts;
    RecordStore records;
    mutable testing::FakeHost host;
    ui::ListBoxModel lines;
    TrafficLog log{lines, texts};
    VirtualClock clock;
    FirmwareUpdate update{
        {texts, host, log,
         [](std::uint8_t, std::uint8_t, std::uint16_t, const std::uint8_t*) { return false; },
         [](int, const std::string&, int) {}, [](std::uint8_t, std::uint8_t) {}, clock}};
    std::string logDir = "/nonexistent/Log";
    LiveRecorder recorder{{host, clock, logDir, records}};
    ReplayLink replay{clock};
};

// The keys looked up through tables: the page tree, the menus and the pages' captions.
std::set<Lookup> TableLookups() {
    std::set<Lookup> lookups;
    for (const ProductSpec& product : Products()) {
        for (const TreeNodeSpec& node : product.nodes) {
            lookups.insert({"Tree", std::string(node.key)});
            for (auto child : node.children)
                lookups.insert({"Tree", std::string(child)});
        }
    }
    lookups.insert({"Tree", std::string(UpdateNode().key)});
    lookups.insert({"Tree", std::string(UpdateNode().children[0])});

    testing::TempDir dir;
    const SettingsFile settings(dir.Write("Config.ini", "[ProductSetting]\nProduct=AHRS\n"));
    RecordingTexts menuTexts;
    BuildMenuBar(settings, menuTexts, {PortEntry{1, "/dev/ttyUSB0", ""}});
    lookups.insert(menuTexts.asked.begin(), menuTexts.asked.end());

    PageHostStub host;
    for (const PageIdentity& identity : kPages)
        CreatePage(host,
                   {host.update, host.recorder, host.replay, nullptr, host.clock, host.logDir},
                   identity)
            ->ApplyTexts();
    lookups.insert(host.texts.asked.begin(), host.texts.asked.end());
    return lookups;
}

std::set<Lookup> ProgramLookups() {
    std::set<Lookup> lookups = LiteralLookups();
    const auto tables = TableLookups();
    lookups.insert(tables.begin(), tables.end());
    const auto added = AddedKeys();
    lookups.insert(added.begin(), added.end());
    for (const auto& message : CatalogueMessages()) {
        lookups.insert({std::string(kCommunicateState), std::string(message.name)});
    }
    lookups.insert({std::string(kCommunicateState), "UnknowCMD"});
    return lookups;
}

class LanguageFileTest : public ::testing::TestWithParam<std::string> {
protected:
    std::string Path() const { return kSourceDir + "/resources/Language/" + GetParam(); }
};

TEST_P(LanguageFileTest, AnswersEveryLookupOfTheProgram) {
    CLangIni store;
    store.SetPath(Path());
    ASSERT_TRUE(store.Load());
    const auto lookups = ProgramLookups();
    // The scans must see these, or they are looking in the wrong place.
    EXPECT_TRUE(lookups.count({"MessagBox", "Check Hardware Connect"}));
    EXPECT_TRUE(lookups.count({"Ahrs Configure", "9007"}));
    EXPECT_TRUE(lookups.count({"DlgOSD", "Title"}));
    for (const auto& [section, key] : lookups) {
        EXPECT_FALSE(store.LangText(section, key).empty()) << "[" << section << "] " << key;
    }
}

TEST_P(LanguageFileTest, IsUtf8WithTheSameKeysAsEnglish) {
    const std::string text = ReadFile(Path());
    EXPECT_TRUE(IsValidUtf8(text));

    CLangIni store;
    store.SetPath(Path());
    ASSERT_TRUE(store.Load());
    std::istringstream english(ReadFile(kSourceDir + "/resources/Language/english.ini"));
    std::string line, section;
    int keys = 0;
    while (std::getline(english, line)) {
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        ++keys;
        EXPECT_FALSE(store.LangText(section, line.substr(0, eq)).empty())
            << "[" << section << "] " << line.substr(0, eq);
    }
    EXPECT_GT(keys, 700);
}

// Every added text has words of its own in Chinese, not the English copied.
TEST(LanguageFiles, AddedTextsAreTranslated) {
    CLangIni english, chinese;
    english.SetPath(kSourceDir + "/resources/Language/english.ini");
    chinese.SetPath(kSourceDir + "/resources/Language/chinese.ini");
    ASSERT_TRUE(english.Load());
    ASSERT_TRUE(chinese.Load());
    const auto added = AddedKeys();
    EXPECT_TRUE(added.count({"DlgGPSINSSetting", "IDC_STATIC_QR_PARAMETER"}));
    EXPECT_TRUE(added.count({"ParameterFiles", "Save"}));
    EXPECT_TRUE(added.count({"DlgDataAnalyz", "Cannot Read Recording"}));
    for (const auto& [section, key] : added) {
        EXPECT_NE(chinese.LangText(section, key), english.LangText(section, key))
            << "[" << section << "] " << key;
    }
}

// Every AddedText call with a literal section names its key as a literal too, so that the scans
// above see it, and its English is not empty; every added caption key is used.
TEST(LanguageFiles, EveryAddedTextHasItsEnglish) {
    const std::regex literalSection(R"re(\bAddedText\((?:[^,()]|\(\))*,\s*")re");
    std::size_t calls = 0;
    for (const std::string& text : Sources()) {
        calls += static_cast<std::size_t>(
            std::distance(std::sregex_iterator(text.begin(), text.end(), literalSection),
                          std::sregex_iterator()));
    }
    EXPECT_EQ(AddedCalls().size(), calls);
    EXPECT_GT(calls, 40u);
    for (const AddedCall& call : AddedCalls())
        EXPECT_NE(call.english, "\"\"") << call.lookup.second;
    for (const AddedCaptionKey& key : AddedCaptionKeys()) {
        const std::string quoted = "\"" + std::string(key.key) + "\"";
        std::size_t uses = 0;
        for (const std::string& text : Sources())
            uses += text.find(quoted) != std::string::npos ? 1 : 0;
        EXPECT_GE(uses, 2u) << key.key;  // the table and a page
    }
}

// A language file without the added caption keys shows the pages' built-in English for them;
// a missing key of the board family's own texts stays an empty caption.
TEST(LanguageFiles, MissingAddedCaptionsFallBackToEnglish) {
    PageHostStub host;
    std::size_t added = 0;
    for (const PageIdentity& identity : kPages) {
        auto page = CreatePage(
            host, {host.update, host.recorder, host.replay, nullptr, host.clock, host.logDir},
            identity);
        std::vector<ui::Control> before = page->Controls();
        page->ApplyTexts();
        for (std::size_t i = 0; i < before.size(); ++i) {
            const ui::Control& control = page->Controls()[i];
            if (control.textKey.empty()) continue;
            if (IsAddedCaption(identity.section, control.textKey)) {
                ++added;
                EXPECT_EQ(control.text, before[i].text) << control.textKey;
                EXPECT_FALSE(control.text.empty()) << control.textKey;
            } else {
                EXPECT_EQ(control.text, "") << control.textKey;
            }
        }
    }
    EXPECT_GE(added, 15u + 2u + 3u);
}

// Every parameter set of every page is named for the user by a caption of its own or by its
// group's, never by its name in parameter files alone.
TEST(LanguageFiles, ThePortByHandItemOffersAddressesOnlyWhereTheyOpen) {
    testing::TempDir dir;
    const SettingsFile settings(dir.Write("Config.ini", "[ProductSetting]\nProduct=AHRS\n"));
    const ui::Menu bar = BuildMenuBar(settings, RecordingTexts(), {});
    const ui::Menu::Item* item = bar.FindCommand(kCmdPortByHand);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, NetworkTransportsAvailable() ? "Port or Network Address..." : "Port...");
}

TEST(LanguageFiles, EveryParameterSetHasACaption) {
    PageHostStub host;
    std::size_t sets = 0;
    for (const PageIdentity& identity : kPages) {
        auto page = CreatePage(
            host, {host.update, host.recorder, host.replay, nullptr, host.clock, host.logDir},
            identity);
        auto* parameters = dynamic_cast<ParameterPage*>(page.get());
        for (std::size_t k = 0; parameters && k < parameters->SetCount(); ++k) {
            const ParameterSet& set = parameters->Set(k).Set();
            const ui::Control* group = set.group ? page->Find(set.group) : nullptr;
            EXPECT_TRUE(set.caption || (group && !group->textKey.empty())) << set.name;
            ++sets;
        }
    }
    EXPECT_GT(sets, 30u);
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguageFileTest,
                         ::testing::Values("english.ini", "chinese.ini"));

TEST(LanguageFiles, CopiedBesideTheExecutable) {
    for (const char* name : {"english.ini", "chinese.ini"}) {
        EXPECT_EQ(ReadFile(ExecutableDir() + "/Language/" + name),
                  ReadFile(kSourceDir + "/resources/Language/" + name));
    }
}

}  // namespace
}  // namespace zephran
