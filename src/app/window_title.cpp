#include "app/window_title.h"

namespace zephran {

std::string WindowTitle(const std::string& caption, const PortEntry* port, bool connected,
                        const TextSource& texts) {
    static constexpr const char* kDash = " \u2014 ";
    if (!port) return caption + kDash + AddedText(texts, "Panel", "Title No Port", "no port open");
    std::string title = caption + kDash + port->Label();
    if (!connected)
        title += kDash + AddedText(texts, "Panel", "Title Waiting", "waiting for the board");
    return title;
}

}  // namespace zephran
