#include "app/window_title.h"

namespace zephran {

std::string WindowTitle(const std::string& caption, const ConnectionManager& connection,
                        const TextSource& texts) {
    static constexpr const char* kDash = " \u2014 ";
    const PortEntry* port = connection.OpenPort();
    if (!port) return caption + kDash + texts.LangText("Panel", "Title No Port");
    std::string title = caption + kDash + port->Label();
    if (!connection.Connected()) title += kDash + texts.LangText("Panel", "Title Waiting");
    return title;
}

}  // namespace zephran
