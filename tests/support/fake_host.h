#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/host_services.h"
#include "ui/window.h"

namespace zephran::testing {

// Records what would have been shown; modal windows are worked by a test callback.
class FakeHost : public ui::HostServices {
public:
    void MessageBox(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return answer;
    }
    int RunModal(ui::Window& window) override {
        window.InitDialog();
        if (onModal) onModal(window);
        return window.Result();
    }
    std::optional<std::string> ChooseFile(const std::string&,
                                          const std::string& startDir) override {
        startDirs.push_back(startDir);
        return nextFile;
    }
    std::optional<std::string> ChooseSaveFile(const std::string&,
                                              const std::string& proposed) override {
        proposals.push_back(proposed);
        if (cancelSave) return std::nullopt;
        return saveAs.value_or(proposed);
    }
    bool ViewRecording(const std::string& path, const TextSource&) override {
        if (hasViewer) viewed.push_back(path);
        return hasViewer;
    }
    void OpenFolder(const std::string& path) override { opened.push_back(path); }
    void OpenUrl(const std::string& url) override { opened.push_back(url); }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    bool answer = false;  // to every question
    std::vector<std::string> opened;
    std::optional<std::string> nextFile;
    std::vector<std::string> startDirs;  // of every file chooser
    // The save chooser takes saveAs, or what it proposes; or is cancelled.
    std::optional<std::string> saveAs;
    bool cancelSave = false;
    std::vector<std::string> proposals;
    std::function<void(ui::Window&)> onModal;
    // A desktop's viewer takes the recordings viewed; a host without windows has none.
    bool hasViewer = true;
    std::vector<std::string> viewed;
};

}  // namespace zephran::testing
