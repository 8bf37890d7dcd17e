// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_language.h"

#include "app/language_dlg.h"

namespace zephran {

bool ProgramLanguage::LoadStartup() {
    std::string language = setting_.Read();
    if (language.empty()) {
        host_.MessageBox("Err,No Language Setting ,defaut set to english");
        setting_.Write("english");
        language = "english";
    }
    return Load(language);
}

bool ProgramLanguage::Load(const std::string& language) {
    if (LoadFile(languageDir_ + "/" + language + ".ini")) return true;
    setting_.Write("");
    return false;
}

bool ProgramLanguage::LoadFile(const std::string& path) {
    store_.SetPath(path);
    if (store_.Load()) {
        if (const auto warning = coverage_.Check(path)) host_.MessageBox(*warning);
        return true;
    }
    host_.MessageBox(store_.LangText("MessagBox", "Unable to locate ini file") + " " + path);
    return false;
}

void ProgramLanguage::Choose(const std::function<void()>& loaded) {
    CLanguageDlg dialog(host_, store_, setting_, languageDir_,
                        [this, &loaded](const std::string& chosen) {
                            setting_.Write(chosen);
                            const std::string language = setting_.Read();
                            if (!language.empty()) Load(language);
                            loaded();
                        });
    host_.RunModal(dialog);
}

}  // namespace zephran
