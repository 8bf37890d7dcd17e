// CPU use of the desktop tool while a simulated AHRS board streams 200 live frames a second
// through a real pty into it, with the AHRS view shown. Target: under 10 % of one core.
//
// bench_gui_live_cpu [--seconds N]   measures N seconds (default 10), exit 1 over the target
// With a --benchmark_* option (the smoke run of the test suite) it measures 2 seconds and only
// reports.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

constexpr double kTargetPercent = 10.0;

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
    char pattern[] = "/tmp/zephran-cpu-XXXXXX";
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
        return 2;
    }

    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        const std::string appDir = (dir / "app").string();
        ::execl(app.c_str(), app.c_str(), "--app-dir", appDir.c_str(), "--port", device->c_str(),
                static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    // The scan connects on its first tick, a second after start; let the window settle.
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

    const double percent = 100.0 * used / elapsed;
    std::printf(
        "gui_live_cpu: %.1f %% of one core over %.1f s at 200 frames/s (target < %.0f %%)\n",
        percent, elapsed, kTargetPercent);
    if (!smoke && percent >= kTargetPercent) {
        std::printf("gui_live_cpu: over the target\n");
        return 1;
    }
    return 0;
}
