#pragma once

#include <functional>
#include <string>

#include "lang/language_setting.h"
#include "link/text_source.h"
#include "ui/window.h"

namespace zephran {

inline constexpr int kIdLanguagePrompt = 1100;
inline constexpr int kIdLanguageList = 1101;

// Lets the user pick one of the language files present.
class CLanguageDlg : public ui::Window {
public:
    // apply: loads the chosen language (its base name) and refreshes the texts.
    CLanguageDlg(ui::HostServices& host, const TextSource& texts, const LanguageSetting& setting,
                 std::string languageDir, std::function<void(const std::string&)> apply);

    // The base names of the language files in dir, sorted.
    static std::vector<std::string> LanguageNames(const std::string& dir);

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    const TextSource& texts_;
    const LanguageSetting& setting_;
    std::string languageDir_;
    std::function<void(const std::string&)> apply_;
};

}  // namespace zephran
