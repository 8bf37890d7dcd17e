#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "link/message.h"
#include "pages/framework/page_host.h"
#include "pages/framework/value_state.h"
#include "ui/window.h"

namespace zephran {

class ReplyDispatcher;

// A page of the page area: a window with its tree key and language section.
class Page : public ui::Window {
public:
    struct Identity {
        std::string className;  // e.g. "CDlgAHRS"
        std::string treeKey;    // e.g. "AHRS_View"
        std::string section;    // language section, empty when the page has no texts
        int liveCode = kPageNotLive;
        bool titled = true;        // whether the section has a "Title"
        std::string builtInTitle;  // the title before any language texts
    };

    Page(PageHost& host, Identity identity, ui::WindowTemplate windowTemplate);

    const Identity& Id() const { return identity_; }

    // Re-applies the page's texts: its title from "Title" (or its tree text when its section has
    // none) and every captioned control from its key, an added key falling back to the
    // template's caption; nothing when no language is chosen.
    virtual void ApplyTexts();
    // Replies this page handles.
    virtual void RegisterReplies(ReplyDispatcher&) {}
    // The page became the one shown.
    virtual void OnShown() {}

    bool IsShown() const { return host_.IsShown(*this); }
    // A request: SendFrame then CheckConnected. True when the frame was written.
    bool Send(const Message& message, std::span<const std::uint8_t> payload = {});
    // The text of a key in the page's section, or the template's own text without a language
    // (and for an added key the language file lacks).
    std::string Caption(std::string_view key, std::string_view templateText) const;

    // The page's sets of values from the board, in the page's order.
    const std::vector<ValueState*>& ValueStates() const { return valueStates_; }
    // Another board, or none: the values shown from before no longer count as this board's.
    void BoardChanged();
    // Whether a set holds changes the board has not acknowledged.
    bool HasUnwrittenEdits() const;

protected:
    // Follows a set of values: the user's edits of its boxes, and a note "not read" after the
    // caption of every group box holding one of its boxes while it is not read.
    void TrackValues(ValueState& state);
    void OnEditChange(int id) override;

    PageHost& host_;

private:
    void ShowStateNotes();

    // The template's captions of the controls with an added key.
    std::vector<std::pair<int, std::string>> builtInCaptions_;
    Identity identity_;
    std::vector<ValueState*> valueStates_;
};

}  // namespace zephran
