#include "app/page.h"

namespace zephran {

Page::Page(PageHost& host, Identity identity, ui::WindowTemplate windowTemplate)
    : ui::Window(host.Host(), std::move(windowTemplate)),
      host_(host),
      identity_(std::move(identity)) {
    SetWindowText(identity_.builtInTitle);
}

void Page::Send(std::uint8_t group, std::uint8_t msgId, const std::uint8_t* payload,
                std::uint16_t length) {
    host_.SendFrame(group, msgId, length, payload);
    host_.CheckConnected();
}

void Page::ApplyTexts() {
    if (!host_.LanguageChosen()) return;
    const TextSource& texts = host_.Texts();
    // A page without a title of its own is headed by its node's text in the tree.
    SetWindowText(identity_.titled ? texts.LangText(identity_.section, "Title")
                                   : texts.LangText("Tree", identity_.treeKey));
    if (identity_.section.empty()) return;
    for (const ui::Control& control : Controls()) {
        if (!control.textKey.empty())
            SetDlgItemText(control.id, texts.LangText(identity_.section, control.textKey));
    }
}

}  // namespace zephran
