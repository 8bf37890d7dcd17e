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
    std::optional<std::string> ChooseFile(const std::string&) override { return nextFile; }
    void OpenFolder(const std::string& path) override { opened.push_back(path); }
    void OpenUrl(const std::string& url) override { opened.push_back(url); }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    bool answer = false;  // to every question
    std::vector<std::string> opened;
    std::optional<std::string> nextFile;
    std::function<void(ui::Window&)> onModal;
};

}  // namespace zephran::testing
