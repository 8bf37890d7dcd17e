#include "app/page.h"

#include <algorithm>

#include "app/added_captions.h"

namespace zephran {

Page::Page(PageHost& host, Identity identity, ui::WindowTemplate windowTemplate)
    : ui::Window(host.Host(), std::move(windowTemplate)),
      host_(host),
      identity_(std::move(identity)) {
    SetWindowText(identity_.builtInTitle);
    for (const ui::Control& control : Controls()) {
        if (!control.textKey.empty() && IsAddedCaption(identity_.section, control.textKey))
            builtInCaptions_.emplace_back(control.id, control.text);
    }
}

bool Page::Send(const Message& message, std::span<const std::uint8_t> payload) {
    host_.SendFrame(message.group, message.msgId, static_cast<std::uint16_t>(payload.size()),
                    payload.data());
    return host_.CheckConnected();
}

std::string Page::Caption(std::string_view key, std::string_view templateText) const {
    if (!host_.LanguageChosen()) return std::string(templateText);
    if (IsAddedCaption(identity_.section, key))
        return AddedText(host_.Texts(), identity_.section, key, templateText);
    return host_.Texts().LangText(identity_.section, key);
}

void Page::ApplyTexts() {
    if (!host_.LanguageChosen()) return;
    const TextSource& texts = host_.Texts();
    // A page without a title of its own is headed by its node's text in the tree.
    SetWindowText(identity_.titled ? texts.LangText(identity_.section, "Title")
                                   : texts.LangText("Tree", identity_.treeKey));
    if (identity_.section.empty()) return;
    for (const ui::Control& control : Controls()) {
        if (control.textKey.empty()) continue;
        const auto added =
            std::find_if(builtInCaptions_.begin(), builtInCaptions_.end(),
                         [&](const auto& caption) { return caption.first == control.id; });
        SetDlgItemText(control.id,
                       added == builtInCaptions_.end()
                           ? texts.LangText(identity_.section, control.textKey)
                           : AddedText(texts, identity_.section, control.textKey, added->second));
    }
}

}  // namespace zephran
