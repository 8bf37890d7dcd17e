#include "app/language_dlg.h"

#include <algorithm>
#include <filesystem>

#include "platform/file_system.h"

namespace zephran {
namespace {

ui::WindowTemplate LanguageTemplate() {
    ui::WindowTemplate t;
    t.title = "Language";
    ui::Control prompt{
        .id = kIdLanguagePrompt, .kind = ui::ControlKind::Label, .text = "Choose Language:"};
    ui::Control list{.id = kIdLanguageList, .kind = ui::ControlKind::DropDown, .widthChars = 24};
    ui::Control ok{.id = ui::IDOK, .kind = ui::ControlKind::Button, .text = "OK"};
    ui::Control cancel{.id = ui::IDCANCEL, .kind = ui::ControlKind::Button, .text = "Cancel"};
    t.controls = {prompt, list, ok, cancel};
    t.layout = ui::Column({ui::Item(kIdLanguagePrompt), ui::Item(kIdLanguageList),
                           ui::Row({ui::Stretch(), ui::Item(ui::IDOK), ui::Item(ui::IDCANCEL)})});
    return t;
}

}  // namespace

CLanguageDlg::CLanguageDlg(ui::HostServices& host, const TextSource& texts,
                           const LanguageSetting& setting, std::string languageDir,
                           std::function<void(const std::string&)> apply)
    : ui::Window(host, LanguageTemplate()),
      texts_(texts),
      setting_(setting),
      languageDir_(std::move(languageDir)),
      apply_(std::move(apply)) {}

std::vector<std::string> CLanguageDlg::LanguageNames(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(dir), error)) {
        const std::string file = Utf8FromPath(entry.path().filename());
        if (file.size() < 4 || file.compare(file.size() - 4, 4, ".ini") != 0) continue;
        const auto dot = file.rfind('.');
        names.push_back(dot != 0 && dot != std::string::npos ? file.substr(0, dot) : file);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void CLanguageDlg::OnInitDialog() {
    if (!setting_.Read().empty()) {
        SetWindowText(texts_.LangText("DlgLanguageSelect", "Lang Title"));
        SetDlgItemText(kIdLanguagePrompt, texts_.LangText("DlgLanguageSelect", "Lang Prompt"));
        SetDlgItemText(ui::IDOK, texts_.LangText("DlgLanguageSelect", "OK"));
        SetDlgItemText(ui::IDCANCEL, texts_.LangText("DlgLanguageSelect", "Cancel"));
    }
    ResetContent(kIdLanguageList);
    const std::vector<std::string> names = LanguageNames(languageDir_);
    for (const std::string& name : names)
        AddString(kIdLanguageList, name);
    // The language in use is preselected, so that OK alone changes nothing.
    const auto inUse = std::find(names.begin(), names.end(), setting_.Read());
    SetCurSel(kIdLanguageList, inUse == names.end() ? 0 : static_cast<int>(inUse - names.begin()));
}

void CLanguageDlg::OnOK() {
    const int selection = GetCurSel(kIdLanguageList);
    const auto* list = Find(kIdLanguageList);
    const std::string chosen =
        selection >= 0 ? list->entries[static_cast<std::size_t>(selection)] : std::string();
    EndDialog(ui::IDOK);
    apply_(chosen);
}

}  // namespace zephran
