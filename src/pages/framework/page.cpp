#include "pages/framework/page.h"

#include <algorithm>

#include "pages/framework/added_captions.h"

namespace zephran {
namespace {

// Every control id a layout item holds, its own group caption included.
void CollectControls(const ui::LayoutItem& item, std::vector<int>& ids) {
    if (item.controlId) ids.push_back(item.controlId);
    for (const ui::LayoutItem& child : item.children)
        CollectControls(child, ids);
}

}  // namespace

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
    ShowStateNotes();
}

void Page::TrackValues(ValueState& state) {
    valueStates_.push_back(&state);
    state.changed = [this] { ShowStateNotes(); };
    ShowStateNotes();
}

void Page::OnEditChange(int id) {
    for (ValueState* state : valueStates_) {
        if (state->Holds(id)) state->Edited(id);
    }
}

void Page::BoardChanged() {
    for (ValueState* state : valueStates_)
        state->BoardChanged();
}

bool Page::HasUnwrittenEdits() const {
    return std::any_of(valueStates_.begin(), valueStates_.end(),
                       [](const ValueState* state) { return state->State() == SetState::kEdited; });
}

void Page::ShowStateNotes() {
    const TextSource& texts = host_.Texts();
    const std::string note = AddedText(texts, "Panel", "Not Read", "not read");
    const auto notRead = [this](int id) {
        const ui::Control* control = Find(id);
        return control && control->visible && control->mark == ui::ValueMark::NotRead;
    };
    std::vector<const ui::LayoutItem*> items{&Layout()};
    while (!items.empty()) {
        const ui::LayoutItem& item = *items.back();
        items.pop_back();
        for (const ui::LayoutItem& child : item.children)
            items.push_back(&child);
        if (item.kind != ui::LayoutItem::Kind::Group) continue;
        std::vector<int> ids;
        CollectControls(item, ids);
        SetNote(item.controlId, std::any_of(ids.begin(), ids.end(), notRead) ? note : "");
    }
}

}  // namespace zephran
