#include "app/window_title.h"

namespace zephran {

std::string WindowTitle(const std::string& caption, const ConnectionManager& connection,
                        const TextSource& texts) {
    static constexpr const char* kDash = " \u2014 ";
    const PortEntry* port = connection.OpenPort();
    if (!port) return caption + kDash + AddedText(texts, "Panel", "Title No Port", "no port open");
    std::string title = caption + kDash + port->Label();
    if (!connection.Connected())
        title += kDash + AddedText(texts, "Panel", "Title Waiting", "waiting for the board");
    return title;
}

}  // namespace zephran
