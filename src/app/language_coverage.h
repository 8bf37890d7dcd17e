#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>

#include "link/text_source.h"

namespace zephran {

// How many texts of the program's vocabulary a language file answers on its own: the message
// names of the traffic log and the page tree's texts.
struct VocabularyCoverage {
    std::size_t answered = 0;
    std::size_t total = 0;
};

VocabularyCoverage MeasureVocabulary(const TextSource& texts);
VocabularyCoverage MeasureVocabulary(const std::string& languageFile);
// Whether the texts answer at least half of the vocabulary.
bool AnswersVocabulary(const TextSource& texts);

// Tells, once per file, that a language file answers less than half of the vocabulary: random
// bytes, an empty file or one whose first line is too long load without error and leave every
// text blank.
class LanguageCoverageCheck {
public:
    // The text to tell the user the first time path falls short; nothing otherwise.
    std::optional<std::string> Check(const std::string& path);

private:
    std::set<std::string> told_;
};

}  // namespace zephran
