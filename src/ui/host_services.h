#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/text_source.h"

namespace zephran::ui {

class Window;

// What the desktop provides. Modal calls run a nested event loop in which timers fire and
// bytes keep arriving.
class HostServices {
public:
    virtual ~HostServices() = default;
    // A plain OK message box.
    virtual void MessageBox(const std::string& text) = 0;
    // A message box with Yes and No; true for Yes. A host that cannot ask shows the text and
    // answers No.
    virtual bool AskYesNo(const std::string& text) {
        MessageBox(text);
        return false;
    }
    // Shows a modal window until it ends itself; returns the id it ended with.
    virtual int RunModal(Window& window) = 0;
    // The file the user chose, or nothing when cancelled. filter: "Name (*.ext)|*.ext". The
    // chooser opens in startDir, or where the host likes when it is empty.
    virtual std::optional<std::string> ChooseFile(const std::string& filter,
                                                  const std::string& startDir = {}) = 0;
    // The file to write, or nothing when cancelled; the chooser proposes the file proposed. A
    // host without a save dialog takes the proposed file, and has none without one.
    virtual std::optional<std::string> ChooseSaveFile(const std::string& /*filter*/,
                                                      const std::string& proposed = {}) {
        if (proposed.empty()) return std::nullopt;
        return proposed;
    }
    // A line the user types, with earlier answers offered to pick from; nothing when cancelled.
    // A host that cannot ask has none.
    virtual std::optional<std::string> AskText(const std::string& /*prompt*/,
                                               const std::vector<std::string>& /*offered*/) {
        return std::nullopt;
    }
    // Opens the flight-log viewer on a recording file, its texts from texts, which outlives it;
    // false when the host has no viewer (a host without windows).
    virtual bool ViewRecording(const std::string& /*path*/, const TextSource& /*texts*/) {
        return false;
    }
    virtual void OpenFolder(const std::string& path) = 0;
    virtual void OpenUrl(const std::string& url) = 0;
};

}  // namespace zephran::ui
