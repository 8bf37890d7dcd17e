// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "app/language_coverage.h"
#include "lang/lang_ini.h"
#include "lang/language_setting.h"
#include "ui/host_services.h"

namespace zephran {

// The language of the program's texts: the setting in the user's profile, the language file it
// names loaded into the text store, and the choice of another.
class ProgramLanguage {
public:
    ProgramLanguage(ui::HostServices& host, std::string languageDir, std::string profileFile)
        : host_(host), languageDir_(std::move(languageDir)), setting_(std::move(profileFile)) {}

    // Loads the language set, English where none is; false, with the setting cleared, when its
    // file cannot be loaded.
    bool LoadStartup();
    // Loads a language file; tells the user when it cannot be read or answers too little.
    bool LoadFile(const std::string& path);
    // Lets the user choose a language; loaded then runs once the choice is loaded.
    void Choose(const std::function<void()>& loaded);

    bool Chosen() const { return !setting_.Read().empty(); }
    CLangIni& Store() { return store_; }
    const CLangIni& Store() const { return store_; }
    const LanguageSetting& Setting() const { return setting_; }

private:
    // Loads the file of language; clears the setting when that fails.
    bool Load(const std::string& language);

    ui::HostServices& host_;
    std::string languageDir_;
    LanguageSetting setting_;
    CLangIni store_;
    LanguageCoverageCheck coverage_;
};

}  // namespace zephran
