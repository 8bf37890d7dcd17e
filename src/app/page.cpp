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
    if (!host_.LanguageChosen() || identity_.section.empty()) return;
    const TextSource& texts = host_.Texts();
    if (identity_.titled) SetWindowText(texts.LangText(identity_.section, "Title"));
    for (const ui::Control& control : Controls()) {
        if (!control.textKey.empty())
            SetDlgItemText(control.id, texts.LangText(identity_.section, control.textKey));
    }
}

}  // namespace zephran
