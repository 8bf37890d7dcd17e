#pragma once

#include <string>

#include "app/page_host.h"
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
        bool titled = true;  // whether the section has a "Title"
    };

    Page(PageHost& host, Identity identity, ui::WindowTemplate windowTemplate);

    const Identity& Id() const { return identity_; }

    // Re-applies the page's texts: its title from "Title" and every captioned control from its
    // key; nothing when no language is chosen.
    virtual void ApplyTexts();
    // Replies this page handles.
    virtual void RegisterReplies(ReplyDispatcher&) {}
    // The page became the one shown.
    virtual void OnShown() {}

protected:
    PageHost& host_;

private:
    Identity identity_;
};

}  // namespace zephran
