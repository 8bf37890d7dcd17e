// A firmware update of a 256 KiB image at 115200 baud against a simulated board paced to the
// line rate, through the real serial path. Target: done within 1.02 × the wire time of every
// byte the update moves. Then, unpaced, the time from each page request to its answer.
//
// bench_firmware_update            the full image; exit 1 over the target
// With a --benchmark_* option (the smoke run of the test suite) it sends 16 pages and only
// reports.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/zephran_app.h"
#include "app/zephran_dlg.h"
#include "frontends/headless/event_loop.h"
#include "pages/update/dlg_iap_update.h"
#include "sim/bootloader.h"
#include "sim/virtual_board.h"
#include "update/firmware_update.h"

#include "bench_support.h"

namespace {

using bench::WriteFile;

using namespace zephran;
using Seconds = std::chrono::duration<double>;

constexpr unsigned kBaud = 115200;
constexpr double kTarget = 1.02;

class QuietHost : public ui::HostServices {
public:
    void MessageBox(const std::string& text) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    int RunModal(ui::Window&) override { return 0; }
    std::optional<std::string> ChooseFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void OpenFolder(const std::string&) override {}
    void OpenUrl(const std::string&) override {}
};

// The main dialog on the headless event loop, connected to the one port it is given.
class Tool : private headless::LoopClient {
public:
    Tool(const std::filesystem::path& appDir, const std::string& port) : loop_(*this, false) {
        CZephranApp app(ResolveAppPaths(appDir.string()));
        app.PrepareSettings();
        PortDirectoryOptions ports;
        ports.explicitPaths = {port};
        dialog_ = std::make_unique<CZephranDlg>(host_, loop_.Time(), app.Paths(), ports);
        dialog_->SetWakeUpHandler([this] { loop_.WakeUp(); });
        dialog_->OnInitDialog();
    }
    ~Tool() { dialog_->SetWakeUpHandler(nullptr); }

    CZephranDlg& Dialog() { return *dialog_; }
    // Runs the loop until done holds or the time is up.
    bool RunUntil(const std::function<bool()>& done, Seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            loop_.Wait(1);
        }
        return true;
    }

private:
    void ProcessPortEvents() override { dialog_->ProcessPortEvents(); }
    std::optional<std::int64_t> NextTimerDue() override { return dialog_->NextTimerDue(); }
    void RunDueTimers() override { dialog_->RunDueTimers(); }

    QuietHost host_;
    headless::EventLoop loop_;
    std::unique_ptr<CZephranDlg> dialog_;
};

struct Run {
    Seconds elapsed{};
    std::vector<sim::Clock::duration> answerTimes;
    bool completed = false;
};

// One update of pages pages against a board paced to baud (0: unpaced).
Run Update(const std::filesystem::path& dir, std::size_t pages, unsigned baud) {
    std::string image(pages * 1024, '\0');
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 31 + i / 1024);
    WriteFile(dir / "image.bin", image);

    auto control = std::make_shared<sim::BootloaderControl>();
    control->SetEraseTime(sim::Clock::duration::zero());
    sim::VirtualBoard board;
    board.PaceToBaud(baud);
    board.SetBootloader(control);
    const auto device = board.Start("Standard");
    Run run;
    if (!device) return run;
    Tool tool(dir / "app", *device);
    if (!tool.RunUntil([&] { return tool.Dialog().Session().Connected(); }, Seconds(5))) return run;
    Page* page = tool.Dialog().Pages().Find("Update_FirmwareUpdate");
    page->UserSetText(CIAPUpdateDlg::kPath, (dir / "image.bin").string());
    const auto start = std::chrono::steady_clock::now();
    page->UserClick(CIAPUpdateDlg::kStart);
    run.completed = tool.RunUntil([&] { return control->CompletedUpdates() == 1; }, Seconds(60));
    run.elapsed = std::chrono::steady_clock::now() - start;
    run.answerTimes = control->AnswerTimes();
    return run;
}

double Milliseconds(sim::Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
    bool smoke = false;
    for (int i = 1; i < argc; ++i)
        smoke = smoke || std::string(argv[i]).rfind("--benchmark_", 0) == 0;
    const std::size_t pages = smoke ? 16 : 256;

    char pattern[] = "/tmp/zephran-update-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern);
    WriteFile(dir / "app/Config.ini",
              "[PCSetting]\nPortScanMode=Auto\nbps=115200\n[ProductSetting]\nProduct=Standard\n");
    WriteFile(dir / "config/ZephranFPV/profile.ini", "[Settings]\nLanguage=english\n");
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);

    const Run paced = Update(dir, pages, kBaud);
    const Run unpaced = Update(dir, pages, 0);
    std::filesystem::remove_all(dir);
    if (!paced.completed || !unpaced.completed) {
        std::fprintf(stderr, "firmware_update: the update did not complete\n");
        return 2;
    }

    // Start and acknowledgement, pages + 1 requests, pages answers: frames of 8 bytes plus
    // their payloads, ten bits a byte.
    const double bytes = (8 + 2) + 8 + double(pages + 1) * (8 + 2) + double(pages) * (8 + 1026);
    const double wire = bytes * 10.0 / kBaud;
    const double ratio = paced.elapsed.count() / wire;
    std::vector<sim::Clock::duration> times = unpaced.answerTimes;
    std::sort(times.begin(), times.end());
    const double median = Milliseconds(times[times.size() / 2]);
    const double p99 = Milliseconds(times[std::min(times.size() - 1, times.size() * 99 / 100)]);
    std::printf(
        "firmware_update: %zu KiB at %u baud in %.2f s, wire time %.2f s, ratio %.4f "
        "(target <= %.2f)\n",
        pages, kBaud, paced.elapsed.count(), wire, ratio, kTarget);
    std::printf(
        "firmware_update: page request to answer, unpaced: median %.3f ms, 99th "
        "percentile %.3f ms over %zu pages\n",
        median, p99, times.size());
    if (!smoke && ratio > kTarget) {
        std::printf("firmware_update: over the target\n");
        return 1;
    }
    return 0;
}
