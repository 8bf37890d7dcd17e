#include "frontends/headless/headless.h"

#include <array>
#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frontends/common/session.h"
#include "frontends/headless/event_loop.h"
#include "frontends/headless/protocol.h"
#include "frontends/headless/view_commands.h"
#include "platform/process.h"

namespace zephran {
namespace {

using headless::EscapeLineBreaks;

constexpr std::int64_t kLongestWaitMs = 24LL * 3600 * 1000;

// The desktop for the command stream: message boxes print, modal windows take the following
// commands, file dialogs get the answer given in advance.
class HeadlessFrontEnd : public ui::HostServices, private headless::LoopClient {
public:
    HeadlessFrontEnd(const Options& options, int inputFd, std::FILE* output)
        : input_(inputFd),
          output_(output),
          loop_(*this, options.virtualTime),
          session_(options, *this, loop_.Time()) {}

    int Run();

    // ui::HostServices
    void MessageBox(const std::string& text) override {
        Print("message: " + EscapeLineBreaks(text));
    }
    // The following lines answer it, until one says yes or no.
    bool AskYesNo(const std::string& text) override;
    int RunModal(ui::Window& window) override;
    // The answer comes from the script, wherever the dialog would open.
    std::optional<std::string> ChooseFile(const std::string& filter,
                                          const std::string& /*startDir*/) override {
        Print("file dialog: " + EscapeLineBreaks(filter));
        return std::exchange(nextFile_, std::nullopt);
    }
    std::optional<std::string> AskText(const std::string& prompt,
                                       const std::vector<std::string>& offered) override {
        std::string line = "text dialog: " + EscapeLineBreaks(prompt);
        for (const std::string& text : offered)
            line += " | " + text;
        Print(line);
        return std::exchange(nextText_, std::nullopt);
    }
    void OpenFolder(const std::string& path) override {
        Print("open folder: " + EscapeLineBreaks(path));
    }
    void OpenUrl(const std::string& url) override { Print("open url: " + EscapeLineBreaks(url)); }

private:
    // A command's work; returns the error text, empty on success.
    using Handler = std::string (HeadlessFrontEnd::*)(std::string_view arguments);
    struct Verb {
        std::string_view name;
        Handler run;
    };

    // headless::LoopClient
    void ProcessPortEvents() override { Dialog().ProcessPortEvents(); }
    std::optional<std::int64_t> NextTimerDue() override { return Dialog().NextTimerDue(); }
    void RunDueTimers() override { Dialog().RunDueTimers(); }

    CZephranDlg& Dialog() { return session_.Dialog(); }
    void Print(const std::string& line);
    std::optional<std::string> ReadLine();
    // Runs commands until done() holds, "quit" or the end of input.
    void CommandLoop(const std::function<bool()>& done);
    void Execute(std::string_view line);
    ui::Window* ModalWindow() const { return modals_.empty() ? nullptr : modals_.back(); }
    // Where set, click, choose and release go: the open modal window, else the shown page.
    ui::Window* InputWindow();

    std::string Page(std::string_view arguments);
    std::string Set(std::string_view arguments);
    std::string Click(std::string_view arguments);
    std::string Choose(std::string_view arguments);
    std::string Release(std::string_view arguments);
    std::string Menu(std::string_view arguments);
    std::string File(std::string_view arguments);
    std::string Text(std::string_view arguments);
    std::string Get(std::string_view arguments);
    std::string Checked(std::string_view arguments);
    std::string Enabled(std::string_view arguments);
    std::string Tip(std::string_view arguments);
    std::string Focus(std::string_view arguments);
    // Prints "ID=" and what `show` gives of control ID, from the first window that has it.
    std::string PrintControl(std::string_view arguments, std::string_view verb,
                             const std::function<std::string(const ui::Window&, int)>& show);
    std::string Status(std::string_view arguments);
    std::string Title(std::string_view arguments);
    std::string Log(std::string_view arguments);
    std::string Traffic(std::string_view arguments);
    std::string Tree(std::string_view arguments);
    std::string MenuBar(std::string_view arguments);
    std::string Wait(std::string_view arguments);
    std::string Quit(std::string_view arguments);
    std::string Sets(std::string_view arguments);
    // Keeps every line the traffic log takes, also those it empties away again.
    void NoteTraffic();
    std::string Views(std::string_view arguments);
    std::string Scope(std::string_view arguments);
    std::string Attitude(std::string_view arguments);
    std::string Position(std::string_view arguments);
    std::string Close(std::string_view arguments);
    std::string Resize(std::string_view arguments);
    std::string Params(std::string_view arguments);
    // Runs the loop until the operation that start begins is done; prints its lines and returns
    // its error.
    std::string Await(const std::function<void(ParameterFiles::Done)>& start);
    std::string Report(const ParameterFiles::Outcome& outcome);
    // Prints a live-window command's lines; returns its error.
    std::string Answer(const headless::ViewAnswer& answer);
    // Control input through one of the window's User* calls, on the window of InputWindow.
    std::string ControlInput(int id, const std::function<bool(ui::Window&)>& input);
    // A verb that takes one control id: "VERB ID".
    std::string OneControlInput(std::string_view arguments, std::string_view verb,
                                const std::function<bool(ui::Window&, int)>& input);
    // A verb without arguments that prints lines.
    std::string PrintLines(std::string_view arguments, std::string_view verb,
                           const std::vector<std::string>& lines);

    int input_;
    std::FILE* output_;
    std::string unread_;
    bool inputEnded_ = false;
    bool quit_ = false;
    std::optional<std::string> nextFile_;
    std::optional<std::string> nextText_;
    std::vector<ui::Window*> modals_;
    std::size_t trafficSeen_ = 0;
    std::vector<std::string> trafficLines_;
    // The session's port thread wakes the loop, so the loop outlives the session.
    headless::EventLoop loop_;
    Session session_;
};

std::optional<int> ParseId(std::string_view text) {
    const auto id = headless::ParseNumber(text, 0, INT_MAX);
    return id ? std::optional<int>(static_cast<int>(*id)) : std::nullopt;
}

// The id of arguments that are one id alone.
std::optional<int> OnlyId(std::string_view arguments) {
    const auto words = headless::Words(arguments);
    return words.size() == 1 ? ParseId(words[0]) : std::nullopt;
}

// Why a window refused input to control id.
std::string Refusal(const ui::Window& window, int id) {
    const ui::Control* control = window.Find(id);
    const std::string name = "control " + std::to_string(id);
    if (!control) return "no " + name;
    if (!control->visible) return name + " is hidden";
    if (!control->enabled) return name + " is disabled";
    return name + " does not take that input";
}

int HeadlessFrontEnd::Run() {
    std::string error;
    if (!session_.Start(error)) {
        Print("error: " + EscapeLineBreaks(error));
        return 1;
    }
    session_.TellSettingsNotice();
    Dialog().SetWakeUpHandler([this] { loop_.WakeUp(); });
    Dialog().TrafficList().changed.Connect([this] { NoteTraffic(); });
    Dialog().OnInitDialog();
    CommandLoop([] { return false; });
    // Ended by the input or a closed output: nobody can answer any more, so what runs stops
    // as its Cancel stops it.
    Dialog().Update().Cancel();
    Dialog().TrafficList().changed.Connect(nullptr);
    Dialog().SetWakeUpHandler(nullptr);
    return 0;
}

void HeadlessFrontEnd::Print(const std::string& line) {
    if (quit_ && std::ferror(output_)) return;
    std::fwrite(line.data(), 1, line.size(), output_);
    std::fputc('\n', output_);
    // Nobody reads any more (a closed pipe): the session ends as after "quit".
    if (std::fflush(output_) != 0 || std::ferror(output_)) quit_ = true;
}

void HeadlessFrontEnd::NoteTraffic() {
    const std::vector<std::string>& lines = Dialog().TrafficList().Lines();
    if (lines.size() < trafficSeen_) trafficSeen_ = 0;
    trafficLines_.insert(trafficLines_.end(), lines.begin() + static_cast<long>(trafficSeen_),
                         lines.end());
    trafficSeen_ = lines.size();
}

std::optional<std::string> HeadlessFrontEnd::ReadLine() {
    loop_.RunPending();
    for (;;) {
        if (const std::size_t end = unread_.find('\n'); end != std::string::npos) {
            std::string line = unread_.substr(0, end);
            unread_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        if (inputEnded_) {
            if (unread_.empty()) return std::nullopt;
            return std::exchange(unread_, {});
        }
        std::array<char, 4096> buffer{};
        const long count = loop_.ReadInput(input_, buffer.data(), buffer.size());
        if (count > 0) {
            unread_.append(buffer.data(), static_cast<std::size_t>(count));
        } else {
            inputEnded_ = true;
        }
    }
}

void HeadlessFrontEnd::CommandLoop(const std::function<bool()>& done) {
    while (!quit_ && !done()) {
        const auto line = ReadLine();
        if (!line) {
            quit_ = true;
            return;
        }
        Execute(*line);
    }
}

void HeadlessFrontEnd::Execute(std::string_view line) {
    const auto [verb, arguments] = headless::SplitWord(line);
    if (verb.empty() || verb.front() == '#') return;
    static constexpr Verb kVerbs[] = {
        {"page", &HeadlessFrontEnd::Page},         {"set", &HeadlessFrontEnd::Set},
        {"click", &HeadlessFrontEnd::Click},       {"choose", &HeadlessFrontEnd::Choose},
        {"release", &HeadlessFrontEnd::Release},   {"menu", &HeadlessFrontEnd::Menu},
        {"file", &HeadlessFrontEnd::File},         {"text", &HeadlessFrontEnd::Text},
        {"get", &HeadlessFrontEnd::Get},           {"checked", &HeadlessFrontEnd::Checked},
        {"status", &HeadlessFrontEnd::Status},     {"title", &HeadlessFrontEnd::Title},
        {"log", &HeadlessFrontEnd::Log},           {"traffic", &HeadlessFrontEnd::Traffic},
        {"tree", &HeadlessFrontEnd::Tree},         {"menubar", &HeadlessFrontEnd::MenuBar},
        {"wait", &HeadlessFrontEnd::Wait},         {"quit", &HeadlessFrontEnd::Quit},
        {"views", &HeadlessFrontEnd::Views},       {"scope", &HeadlessFrontEnd::Scope},
        {"attitude", &HeadlessFrontEnd::Attitude}, {"position", &HeadlessFrontEnd::Position},
        {"close", &HeadlessFrontEnd::Close},       {"resize", &HeadlessFrontEnd::Resize},
        {"tip", &HeadlessFrontEnd::Tip},           {"params", &HeadlessFrontEnd::Params},
        {"focus", &HeadlessFrontEnd::Focus},       {"sets", &HeadlessFrontEnd::Sets},
        {"enabled", &HeadlessFrontEnd::Enabled},
    };
    for (const Verb& candidate : kVerbs) {
        if (candidate.name == verb) {
            const std::string error = (this->*candidate.run)(arguments);
            Print(error.empty() ? "ok" : "error: " + error);
            return;
        }
    }
    Print("error: unknown command " + std::string(verb));
}

int HeadlessFrontEnd::RunModal(ui::Window& window) {
    window.InitDialog();
    if (window.Ended()) return window.Result();
    Print("modal: " + EscapeLineBreaks(window.GetWindowText()));
    modals_.push_back(&window);
    CommandLoop([&window] { return window.Ended(); });
    modals_.pop_back();
    return window.Ended() ? window.Result() : ui::IDCANCEL;
}

ui::Window* HeadlessFrontEnd::InputWindow() {
    if (ui::Window* modal = ModalWindow()) return modal;
    return Dialog().Pages().Shown();
}

std::string HeadlessFrontEnd::ControlInput(int id, const std::function<bool(ui::Window&)>& input) {
    ui::Window* window = InputWindow();
    if (!window) return "no page is shown";
    return input(*window) ? std::string() : Refusal(*window, id);
}

std::string HeadlessFrontEnd::Page(std::string_view arguments) {
    const auto words = headless::Words(arguments);
    if (words.size() != 1) return "usage: page KEY";
    if (ModalWindow()) return "a modal window is open";
    const std::string key(words[0]);
    const auto node = Dialog().Tree().FindKey(key);
    if (!node) return "no tree node " + key;
    Dialog().Tree().SelectItem(node);
    return {};
}

std::string HeadlessFrontEnd::Set(std::string_view arguments) {
    const auto [idText, text] = headless::SplitWord(arguments);
    const auto id = ParseId(idText);
    if (!id) return "usage: set ID TEXT";
    const std::string value(text);
    return ControlInput(*id, [&](ui::Window& w) { return w.UserSetText(*id, value); });
}

std::string HeadlessFrontEnd::OneControlInput(std::string_view arguments, std::string_view verb,
                                              const std::function<bool(ui::Window&, int)>& input) {
    const auto id = OnlyId(arguments);
    if (!id) return "usage: " + std::string(verb) + " ID";
    return ControlInput(*id, [&](ui::Window& w) { return input(w, *id); });
}

std::string HeadlessFrontEnd::Click(std::string_view arguments) {
    return OneControlInput(arguments, "click",
                           [](ui::Window& w, int id) { return w.UserClick(id); });
}

std::string HeadlessFrontEnd::Choose(std::string_view arguments) {
    const auto words = headless::Words(arguments);
    const auto id = words.size() == 2 ? ParseId(words[0]) : std::nullopt;
    const auto index = words.size() == 2 ? ParseId(words[1]) : std::nullopt;
    if (!id || !index) return "usage: choose ID INDEX";
    return ControlInput(*id, [&](ui::Window& w) { return w.UserChoose(*id, *index); });
}

std::string HeadlessFrontEnd::Release(std::string_view arguments) {
    return OneControlInput(arguments, "release",
                           [](ui::Window& w, int id) { return w.UserReleaseSpin(id); });
}

std::string HeadlessFrontEnd::Menu(std::string_view arguments) {
    const auto words = headless::Words(arguments);
    const auto command =
        words.size() == 1 ? headless::ParseNumber(words[0], 0, UINT_MAX) : std::nullopt;
    if (!command) return "usage: menu COMMAND";
    if (ModalWindow()) return "a modal window is open";
    const auto number = static_cast<unsigned>(*command);
    const headless::MenuHit hit = headless::FindMenuCommand(Dialog().MenuBar().Bar(), number);
    if (!hit.item) return "no menu item " + std::to_string(number);
    if (hit.grayed) return "menu item " + std::to_string(number) + " is greyed";
    Dialog().OnCommand(number);
    return {};
}

std::string HeadlessFrontEnd::File(std::string_view arguments) {
    if (arguments.empty()) return "usage: file PATH";
    nextFile_ = std::string(arguments);
    return {};
}

std::string HeadlessFrontEnd::Text(std::string_view arguments) {
    if (arguments.empty()) return "usage: text TEXT";
    nextText_ = std::string(arguments);
    return {};
}

std::string HeadlessFrontEnd::Get(std::string_view arguments) {
    return PrintControl(arguments, "get", [](const ui::Window& window, int id) {
        return EscapeLineBreaks(ui::ShownText(*window.Find(id)));
    });
}

std::string HeadlessFrontEnd::Checked(std::string_view arguments) {
    return PrintControl(arguments, "checked", [](const ui::Window& window, int id) {
        return std::string(window.IsDlgButtonChecked(id) ? "1" : "0");
    });
}

std::string HeadlessFrontEnd::Enabled(std::string_view arguments) {
    return PrintControl(arguments, "enabled", [](const ui::Window& window, int id) {
        return std::string(window.Find(id)->enabled ? "1" : "0");
    });
}

std::string HeadlessFrontEnd::Tip(std::string_view arguments) {
    return PrintControl(arguments, "tip", [](const ui::Window& window, int id) {
        return EscapeLineBreaks(window.Find(id)->tip);
    });
}

// The control with the focus in the window that takes input, and whether its text is selected.
std::string HeadlessFrontEnd::Focus(std::string_view arguments) {
    if (!headless::Words(arguments).empty()) return "usage: focus";
    const ui::Window* window = InputWindow();
    if (!window || window->Focus() == 0) {
        Print("focus: none");
        return {};
    }
    Print("focus: " + std::to_string(window->Focus()) +
          (window->FocusTextSelected() ? ", text selected" : ""));
    return {};
}

std::string HeadlessFrontEnd::PrintControl(
    std::string_view arguments, std::string_view verb,
    const std::function<std::string(const ui::Window&, int)>& show) {
    const auto id = OnlyId(arguments);
    if (!id) return "usage: " + std::string(verb) + " ID";
    const std::array<const ui::Window*, 3> windows{ModalWindow(), Dialog().Pages().Shown(),
                                                   &Dialog().MainWindow()};
    for (const ui::Window* window : windows) {
        if (window && window->Find(*id)) {
            Print(std::to_string(*id) + "=" + show(*window, *id));
            return {};
        }
    }
    return "no control " + std::to_string(*id);
}

std::string HeadlessFrontEnd::Status(std::string_view arguments) {
    const auto words = headless::Words(arguments);
    const bool tips = words.size() == 1 && words[0] == "tips";
    if (!words.empty() && !tips) return "usage: status [tips]";
    const ui::StatusBarModel& bar = Dialog().StatusBar();
    if (tips) {
        for (int pane = 0; pane < ui::StatusBarModel::kPanes; ++pane)
            Print("tip " + std::to_string(pane) + ": " + EscapeLineBreaks(bar.PaneTip(pane)));
        return {};
    }
    for (int pane = 0; pane < ui::StatusBarModel::kPanes; ++pane)
        Print("pane " + std::to_string(pane) + ": " + EscapeLineBreaks(bar.PaneText(pane)));
    Print("progress: " + std::to_string(bar.Progress()));
    return {};
}

std::string HeadlessFrontEnd::Title(std::string_view arguments) {
    if (!headless::Words(arguments).empty()) return "usage: title";
    Print("title: " + EscapeLineBreaks(Dialog().Title()));
    return {};
}

std::string HeadlessFrontEnd::PrintLines(std::string_view arguments, std::string_view verb,
                                         const std::vector<std::string>& lines) {
    if (!headless::Words(arguments).empty()) return "usage: " + std::string(verb);
    for (const std::string& line : lines)
        Print(EscapeLineBreaks(line));
    return {};
}

std::string HeadlessFrontEnd::Log(std::string_view arguments) {
    return PrintLines(arguments, "log", Dialog().TrafficList().Lines());
}

std::string HeadlessFrontEnd::Traffic(std::string_view arguments) {
    if (!headless::Words(arguments).empty()) return "usage: traffic";
    return PrintLines(arguments, "traffic", std::exchange(trafficLines_, {}));
}

std::string HeadlessFrontEnd::Tree(std::string_view arguments) {
    return PrintLines(arguments, "tree", headless::FormatTree(Dialog().Tree()));
}

std::string HeadlessFrontEnd::MenuBar(std::string_view arguments) {
    return PrintLines(arguments, "menubar", headless::FormatMenu(Dialog().MenuBar().Bar()));
}

std::string HeadlessFrontEnd::Wait(std::string_view arguments) {
    const auto words = headless::Words(arguments);
    const auto ms =
        words.size() == 1 ? headless::ParseNumber(words[0], 0, kLongestWaitMs) : std::nullopt;
    if (!ms) return "usage: wait MS (0 to " + std::to_string(kLongestWaitMs) + ")";
    loop_.Wait(*ms);
    return {};
}

std::string HeadlessFrontEnd::Quit(std::string_view arguments) {
    if (!headless::Words(arguments).empty()) return "usage: quit";
    if (Dialog().MayQuit()) quit_ = true;
    return {};
}

std::string HeadlessFrontEnd::Sets(std::string_view arguments) {
    if (!headless::Words(arguments).empty()) return "usage: sets";
    if (const zephran::Page* page = Dialog().Pages().Shown()) {
        for (const ValueState* state : page->ValueStates())
            Print(
                EscapeLineBreaks(state->Name() + ": " + std::string(SetStateText(state->State()))));
    }
    return {};
}

std::string HeadlessFrontEnd::Answer(const headless::ViewAnswer& answer) {
    for (const std::string& line : answer.lines)
        Print(EscapeLineBreaks(line));
    return answer.error;
}

std::string HeadlessFrontEnd::Views(std::string_view arguments) {
    if (!headless::Words(arguments).empty()) return "usage: views";
    return Answer(headless::ListViews(*Dialog().Views()));
}

std::string HeadlessFrontEnd::Scope(std::string_view arguments) {
    views::LiveViews& views = *Dialog().Views();
    // Its controls are worked only while it is the window on top.
    if (views.Scope() && ModalWindow() != views.Scope() && headless::Words(arguments).size() > 1)
        return "another modal window is open";
    return Answer(headless::ScopeCommand(views, arguments));
}

std::string HeadlessFrontEnd::Attitude(std::string_view arguments) {
    if (!headless::Words(arguments).empty()) return "usage: attitude";
    return Answer(headless::ViewState(*Dialog().Views(), views::ViewKind::Attitude));
}

std::string HeadlessFrontEnd::Position(std::string_view arguments) {
    if (!headless::Words(arguments).empty()) return "usage: position";
    return Answer(headless::ViewState(*Dialog().Views(), views::ViewKind::Position));
}

std::string HeadlessFrontEnd::Close(std::string_view arguments) {
    const auto words = headless::Words(arguments);
    views::ViewKind kind = views::ViewKind::Attitude;
    bool scope = false;
    if (words.size() != 1 || !headless::ParseViewName(words[0], kind, scope))
        return "usage: close scope|attitude|position";
    views::LiveViews& views = *Dialog().Views();
    if (scope) {
        if (!views.Scope()) return "the scope is not open";
        if (ModalWindow() != views.Scope()) return "another modal window is open";
        views.CloseScope();
        return {};
    }
    if (ModalWindow()) return "a modal window is open";
    if (!views.IsOpen(kind)) return "the " + std::string(words[0]) + " view is not open";
    views.CloseView(kind);
    return {};
}

std::string HeadlessFrontEnd::Resize(std::string_view arguments) {
    if (ModalWindow()) return "a modal window is open";
    return Answer(headless::ResizeCommand(*Dialog().Views(), arguments));
}

bool HeadlessFrontEnd::AskYesNo(const std::string& text) {
    Print("question: " + EscapeLineBreaks(text));
    while (!quit_) {
        const auto line = ReadLine();
        if (!line) break;
        const auto words = headless::Words(*line);
        if (words.size() == 1 && (words[0] == "yes" || words[0] == "no")) return words[0] == "yes";
        Print("error: answer yes or no");
    }
    return false;
}

std::string HeadlessFrontEnd::Report(const ParameterFiles::Outcome& outcome) {
    for (const std::string& line : outcome.lines)
        Print(EscapeLineBreaks(line));
    return outcome.error;
}

std::string HeadlessFrontEnd::Await(const std::function<void(ParameterFiles::Done)>& start) {
    std::optional<ParameterFiles::Outcome> outcome;
    start([&outcome](const ParameterFiles::Outcome& result) { outcome = result; });
    // While there is no outcome a transfer runs: cancelling it gives one at once.
    while (!outcome) {
        if (quit_) {
            Dialog().Parameters().Cancel();  // nobody reads the answer any more
        } else {
            loop_.Pace(10);
        }
    }
    return Report(*outcome);
}

std::string HeadlessFrontEnd::Params(std::string_view arguments) {
    const auto [action, rest] = headless::SplitWord(arguments);
    const std::string path(rest);
    const auto files = headless::Words(rest);
    if (ModalWindow()) return "a modal window is open";
    ParameterFiles& parameters = Dialog().Parameters();
    if (action == "save" && !path.empty())
        return Await([&](ParameterFiles::Done done) { parameters.Save(path, done); });
    if (action == "load" && !path.empty())
        return Await([&](ParameterFiles::Done done) { parameters.Load(path, done); });
    if (action == "diff" && files.size() == 1) {
        return Await([&](ParameterFiles::Done done) {
            parameters.CompareWithBoard(std::string(files[0]), done);
        });
    }
    if (action == "diff" && files.size() == 2)
        return Report(parameters.CompareFiles(std::string(files[0]), std::string(files[1])));
    return "usage: params save FILE | params load FILE | params diff FILE [FILE2]";
}

}  // namespace

int RunHeadless(const Options& options, int inputFd, std::FILE* output) {
    // A closed output is seen as a failed write and ends the session; it must not kill it.
    IgnoreBrokenPipes();
    HeadlessFrontEnd frontEnd(options, inputFd, output);
    return frontEnd.Run();
}

}  // namespace zephran
