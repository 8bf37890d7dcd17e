#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "views/live_views.h"

namespace zephran::headless {

// What a command about the live windows prints, and its error (empty on success).
struct ViewAnswer {
    std::vector<std::string> lines;
    std::string error;
};

// "views": one line per open live window, "NAME: TITLE", the modal scope marked.
ViewAnswer ListViews(const views::LiveViews& views);

// "scope": a line per trace. "scope TRACE": that trace's state, labels and trace.
// "scope TRACE press BUTTON": a click on up, down, time-up or time-down.
// "scope TRACE zero N": the zero-line slider dragged from its thumb to position N, which the
// slider keeps within 0 to 10. TRACE is a number from 0 or a name (Roll, …, MagZ).
ViewAnswer ScopeCommand(views::LiveViews& views, std::string_view arguments);

// "attitude" and "position": the view's title, attitude, heading reference, sizes and text
// column.
ViewAnswer ViewState(const views::LiveViews& views, views::ViewKind kind);

// The window named by "scope", "attitude" or "position"; false for another word.
bool ParseViewName(std::string_view word, views::ViewKind& kind, bool& scope);

// "resize VIEW W H": a 3-D view's client gets a new size.
ViewAnswer ResizeCommand(views::LiveViews& views, std::string_view arguments);

}  // namespace zephran::headless
