#include "app/language_coverage.h"

#include "lang/lang_ini.h"
#include "link/message_catalogue.h"
#include "pages/framework/products.h"

namespace zephran {

VocabularyCoverage MeasureVocabulary(const TextSource& texts) {
    VocabularyCoverage coverage;
    const auto count = [&](std::string_view section, std::string_view key) {
        ++coverage.total;
        if (!texts.LangText(section, key).empty()) ++coverage.answered;
    };
    for (const Message& message : CatalogueMessages())
        count(kCommunicateState, message.name);
    for (std::string_view key : kTreeMatchOrder)
        count("Tree", key);
    return coverage;
}

VocabularyCoverage MeasureVocabulary(const std::string& languageFile) {
    CLangIni file;
    file.SetPath(languageFile);
    file.Load();
    return MeasureVocabulary(file);
}

bool AnswersVocabulary(const TextSource& texts) {
    const VocabularyCoverage coverage = MeasureVocabulary(texts);
    return coverage.answered * 2 >= coverage.total;
}

std::optional<std::string> LanguageCoverageCheck::Check(const std::string& path) {
    if (told_.contains(path)) return std::nullopt;
    CLangIni file;
    file.SetPath(path);
    file.Load();
    if (AnswersVocabulary(file)) return std::nullopt;
    const VocabularyCoverage coverage = MeasureVocabulary(file);
    told_.insert(path);
    // In the file's own language where it has this text at all.
    return FillIn(AddedText(file, "LanguageFiles", "Few Texts",
                            "The language file %1 answers only %2 of the program's %3 texts: it "
                            "is damaged or not a language file of this program, and the texts it "
                            "lacks stay blank."),
                  {path, std::to_string(coverage.answered), std::to_string(coverage.total)});
}

}  // namespace zephran
