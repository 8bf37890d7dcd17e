// CPU use of the desktop tool with its live windows open while a simulated AHRS board streams
// 200 live frames a second through a real pty into it. The tool runs on an Xvfb display of its
// own with Mesa's software OpenGL, so the 3-D view's rendering is counted in its CPU time.
// Two cases: the scope window and the 3-D attitude view open (target: at most 35 % of one
// core), and the 3-D attitude view alone (target: at most 20 %); then, for reference, no live
// window on the same platform.
//
// bench_gui_views_cpu [--seconds N]   measures N seconds per case (default 10), exit 1 over a
// target. With a --benchmark_* option (the smoke run of the test suite) it measures 2 seconds
// per case and only reports.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sim/frame_codec.h"
#include "sim/products.h"
#include "sim/virtual_board.h"

#include "bench_support.h"

namespace {

using bench::CpuSeconds;
using bench::WriteFile;

// An Xvfb server of its own for as long as it lives; it picks a free display number.
class Display {
public:
    Display() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 2);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1200x24",
                     "-nolisten", "tcp", static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        ::close(fds[1]);
        std::string number;
        char c = 0;
        while (::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (!number.empty()) name_ = ":" + number;
    }
    ~Display() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

struct Case {
    const char* what;
    std::vector<std::string> open;
    double targetPercent;
};

// Runs the tool with the given live windows open and returns its CPU use in % of one core.
std::optional<double> Measure(const std::string& app, const Case& measured, int seconds) {
    char pattern[] = "/tmp/zephran-views-cpu-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern);
    WriteFile(dir / "app/Config.ini",
              "[PCSetting]\nPortScanMode=Auto\n[ProductSetting]\nProduct=AHRS\n");
    WriteFile(dir / "config/ZephranFPV/profile.ini", "[Settings]\nLanguage=english\n");

    // An AHRS board switched to 200 Hz (output-rate item 4) before it is served.
    auto board = zephran::sim::MakeBoard("AHRS", std::chrono::steady_clock::now());
    const std::vector<std::uint8_t> rate200{4};
    board->Receive(zephran::sim::EncodeFrame(15, 21, rate200), std::chrono::steady_clock::now());
    board->TakeOutput();
    zephran::sim::VirtualBoard served;
    const auto device = served.Start(std::move(board));
    if (!device) {
        std::fprintf(stderr, "cannot start the simulated board: %s\n", served.LastError().c_str());
        return std::nullopt;
    }
    const Display display;
    if (display.Name().empty()) {
        std::fprintf(stderr, "cannot start Xvfb (Debian: xvfb)\n");
        return std::nullopt;
    }

    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("DISPLAY", display.Name().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        const std::string appDir = (dir / "app").string();
        std::vector<std::string> args{app, "--app-dir", appDir, "--port", *device};
        for (const std::string& view : measured.open) {
            args.push_back("--open");
            args.push_back(view);
        }
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv(app.c_str(), argv.data());
        std::_Exit(127);
    }
    // The scan connects on its first tick, a second after start; let the windows settle.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const double before = CpuSeconds(child);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double used = CpuSeconds(child) - before;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    served.Stop();
    std::filesystem::remove_all(dir);
    return 100.0 * used / elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = 10;
    bool smoke = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) seconds = std::atoi(argv[++i]);
        if (arg.rfind("--benchmark_", 0) == 0) smoke = true;
    }
    if (smoke) seconds = 2;

    const auto bin = std::filesystem::canonical("/proc/self/exe").parent_path();
    const std::string app = (bin / "zephran").string();
    if (!std::filesystem::exists(app)) {
        std::fprintf(stderr, "no %s: build the desktop tool first\n", app.c_str());
        return 2;
    }
    const Case cases[] = {
        {"scope window and 3-D view", {"attitude", "scope"}, 35.0},
        {"3-D view alone", {"attitude"}, 20.0},
        {"no live window (reference)", {}, 0.0},
    };
    bool over = false;
    for (const Case& measured : cases) {
        const auto percent = Measure(app, measured, seconds);
        if (!percent) return 2;
        std::printf("gui_views_cpu: %s: %.1f %% of one core over %d s at 200 frames/s",
                    measured.what, *percent, seconds);
        if (measured.targetPercent > 0) std::printf(" (target <= %.0f %%)", measured.targetPercent);
        std::printf("\n");
        if (measured.targetPercent > 0 && *percent > measured.targetPercent) {
            std::printf("gui_views_cpu: %s: over the target\n", measured.what);
            over = true;
        }
    }
    return over && !smoke ? 1 : 0;
}
