#include "app/language_coverage.h"

#include "app/products.h"
#include "lang/lang_ini.h"
#include "link/message_catalogue.h"

namespace zephran {

VocabularyCoverage MeasureVocabulary(const std::string& languageFile) {
    CLangIni file;
    file.SetPath(languageFile);
    file.Load();
    VocabularyCoverage coverage;
    const auto count = [&](std::string_view section, std::string_view key) {
        ++coverage.total;
        if (!file.LangText(section, key).empty()) ++coverage.answered;
    };
    for (const CatalogueEntry& message : CatalogueMessages())
        count(kCommunicateState, message.name);
    for (std::string_view key : kTreeMatchOrder)
        count("Tree", key);
    return coverage;
}

std::optional<std::string> LanguageCoverageCheck::Check(const std::string& path) {
    if (told_.contains(path)) return std::nullopt;
    const VocabularyCoverage coverage = MeasureVocabulary(path);
    if (coverage.answered * 2 >= coverage.total) return std::nullopt;
    told_.insert(path);
    return "The language file " + path + " answers only " + std::to_string(coverage.answered) +
           " of the program's " + std::to_string(coverage.total) +
           " texts: it is damaged or not a language file of this program, and the texts it "
           "lacks stay blank.";
}

}  // namespace zephran
