// Soak: a simulated board streams AHRS live frames over a pty at the full 256000-baud byte rate
// (25,600 bytes/s) into the main dialog of the tool, run as the headless front end runs it, for
// 10 minutes. The board plays in a child process, so the figures below are the tool's alone:
//   - frames sent against frames dispatched (none may be lost);
//   - byte-to-dispatch latency, from the board writing a frame to the tool dispatching it, at
//     the median and the 99th percentile (target p99 < 2 ms);
//   - the tool's CPU, and its resident memory at the start and the end (no growth).
//
// bench_soak [--seconds N]   soaks N seconds (default 600); exit 1 when a target is missed
// With a --benchmark_* option (the smoke run of the test suite) it soaks 5 seconds and fails
// only on a lost frame.
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/zephran_app.h"
#include "app/zephran_dlg.h"
#include "frontends/headless/event_loop.h"
#include "sim/virtual_board.h"

#include "bench_support.h"

namespace {

using bench::WriteFile;

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr double kBytesPerSecond = 25600.0;
constexpr std::size_t kPayload = 49;  // an AHRS live record
constexpr double kFramesPerSecond = kBytesPerSecond / (kPayload + 8);
constexpr double kTargetP99Ms = 2.0;
constexpr long kMaxGrowthKiB = 512;

// Shared between the tool and the board's process; the send times follow it in the mapping.
struct Shared {
    std::atomic<std::uint64_t> generated{0};
    std::atomic<bool> stop{false};
    std::uint64_t capacity = 0;
    std::int64_t* sentNs = nullptr;
};

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// The board: answers the connect request, then streams live frames at the byte rate, each
// stamped with the time it goes out.
[[noreturn]] void RunBoard(Shared& shared, int pathPipe) {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    auto board = std::make_unique<zephran::sim::Board>("Soak", "soak stream", Clock::now());
    board->Handle(12, 1, [](std::span<const std::uint8_t>, zephran::sim::Board& b) {
        b.SetConnected();
        b.Send(12, 1);
    });
    auto start = std::make_shared<std::optional<Clock::time_point>>();
    board->AddSource(2ms, [&shared, start](zephran::sim::Board& b) {
        if (!b.Connected() || shared.stop.load()) return;
        if (!*start) *start = b.Now();
        const double elapsed = std::chrono::duration<double>(b.Now() - **start).count();
        const auto due = std::min<std::uint64_t>(
            static_cast<std::uint64_t>(elapsed * kFramesPerSecond) + 1, shared.capacity);
        std::vector<std::uint8_t> record(kPayload, 0);
        record[0] = 1;
        for (std::uint64_t n = shared.generated.load(); n < due; ++n) {
            shared.sentNs[n] = NowNs();
            b.Send(15, 1, record);
            shared.generated.store(n + 1);
        }
    });
    zephran::sim::VirtualBoard served;
    const auto device = served.Start(std::move(board));
    const std::string path = device.value_or("");
    [[maybe_unused]] const ssize_t n = ::write(pathPipe, path.c_str(), path.size() + 1);
    ::close(pathPipe);
    int received = 0;
    sigwait(&stopSignals, &received);
    served.Stop();
    std::_Exit(0);
}

class QuietHost : public zephran::ui::HostServices {
public:
    void MessageBox(const std::string& text) override {
        std::fprintf(stderr, "soak: message: %s\n", text.c_str());
        ++messages;
    }
    int RunModal(zephran::ui::Window&) override { return 0; }
    std::optional<std::string> ChooseFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void OpenFolder(const std::string&) override {}
    void OpenUrl(const std::string&) override {}
    int messages = 0;
};

class DialogClient : public zephran::headless::LoopClient {
public:
    zephran::CZephranDlg* dialog = nullptr;
    void ProcessPortEvents() override { dialog->ProcessPortEvents(); }
    std::optional<std::int64_t> NextTimerDue() override { return dialog->NextTimerDue(); }
    void RunDueTimers() override { dialog->RunDueTimers(); }
};

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return 0;
}

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<long>(at), values.end());
    return values[at];
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = 600;
    bool smoke = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) seconds = std::atoi(argv[++i]);
        if (arg.rfind("--benchmark_", 0) == 0) smoke = true;
    }
    if (smoke) seconds = 5;

    // Room for every frame, touched now so that the measurement's own memory is resident from
    // the start and does not show as the tool's growth.
    const auto capacity = static_cast<std::uint64_t>(kFramesPerSecond * (seconds + 60));
    const std::size_t bytes = sizeof(Shared) + capacity * sizeof(std::int64_t);
    void* memory =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    int pathPipe[2];
    if (memory == MAP_FAILED || ::pipe(pathPipe) != 0) {
        std::perror("soak");
        return 2;
    }
    std::memset(memory, 0, bytes);
    auto& shared = *new (memory) Shared;
    shared.capacity = capacity;
    shared.sentNs = reinterpret_cast<std::int64_t*>(static_cast<char*>(memory) + sizeof(Shared));
    const pid_t boardPid = ::fork();
    if (boardPid == 0) {
        ::close(pathPipe[0]);
        RunBoard(shared, pathPipe[1]);
    }
    ::close(pathPipe[1]);
    char pathText[256] = {};
    const ssize_t got = ::read(pathPipe[0], pathText, sizeof pathText - 1);
    ::close(pathPipe[0]);
    if (got <= 1) {
        std::fprintf(stderr, "soak: the simulated board did not start\n");
        return 2;
    }

    char pattern[] = "/tmp/zephran-soak-XXXXXX";
    const std::filesystem::path dir = ::mkdtemp(pattern);
    WriteFile(dir / "app/Config.ini",
              "[PCSetting]\nPortScanMode=Auto\nbps=256000\n[ProductSetting]\nProduct=AHRS\n");
    WriteFile(dir / "config/ZephranFPV/profile.ini", "[Settings]\nLanguage=english\n");
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);

    std::vector<double> latencyMs(capacity);
    std::size_t measured = 0;
    std::uint64_t dispatched = 0;
    int result = 0;
    {
        QuietHost host;
        DialogClient client;
        zephran::headless::EventLoop loop(client, false);
        zephran::CZephranApp app(zephran::ResolveAppPaths((dir / "app").string()));
        app.PrepareSettings();
        zephran::PortDirectoryOptions ports;
        ports.explicitPaths = {pathText};
        zephran::CZephranDlg dialog(host, loop.Time(), app.Paths(), std::move(ports));
        client.dialog = &dialog;
        dialog.SetWakeUpHandler([&loop] { loop.WakeUp(); });
        // Every dispatched frame sets the RX pane: the moment of dispatch. After the connect
        // reply only live frames come, in the order they were stamped.
        std::int32_t lastCount = 0;
        dialog.StatusBar().changed.Connect([&] {
            const std::int32_t count = dialog.Session().Dispatcher().ReceiveCount();
            if (count == lastCount) return;
            lastCount = count;
            if (!dialog.Session().Connected()) return;
            const std::uint64_t sequence =
                dialog.Session().Dispatcher().LiveCount(zephran::LiveStream::kAhrs);
            if (sequence < capacity)
                latencyMs[measured++] =
                    static_cast<double>(NowNs() - shared.sentNs[sequence]) / 1e6;
        });
        dialog.OnInitDialog();

        // The scan connects on its first tick, a second after start; then a warm-up.
        loop.Wait(3000);
        const long residentStart = ResidentKiB();
        const double cpuStart = CpuSeconds();
        const auto start = Clock::now();
        for (int s = 0; s < seconds; ++s)
            loop.Wait(1000);
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = CpuSeconds() - cpuStart;
        const long residentEnd = ResidentKiB();
        shared.stop.store(true);
        loop.Wait(500);
        dialog.StatusBar().changed.Connect(nullptr);
        dialog.SetWakeUpHandler(nullptr);

        dispatched = dialog.Session().Dispatcher().LiveCount(zephran::LiveStream::kAhrs);
        latencyMs.resize(measured);
        const std::uint64_t sent = shared.generated.load();
        const double p50 = Percentile(latencyMs, 0.5);
        const double p99 = Percentile(latencyMs, 0.99);
        const double cpuPercent = 100.0 * cpu / elapsed;
        std::printf("soak: %.0f s at %.0f bytes/s: %llu frames sent, %llu dispatched (%lld lost)\n",
                    elapsed, kBytesPerSecond, static_cast<unsigned long long>(sent),
                    static_cast<unsigned long long>(dispatched),
                    static_cast<long long>(sent) - static_cast<long long>(dispatched));
        std::printf(
            "soak: byte-to-dispatch latency: median %.3f ms, p99 %.3f ms, max %.3f ms "
            "(target p99 < %.0f ms)\n",
            p50, p99, Percentile(latencyMs, 1.0), kTargetP99Ms);
        std::printf(
            "soak: tool CPU %.2f %% of one core; resident memory %ld KiB at the start, "
            "%ld KiB at the end (%+ld KiB)\n",
            cpuPercent, residentStart, residentEnd, residentEnd - residentStart);
        if (sent != dispatched || sent == 0 || host.messages != 0) {
            std::printf("soak: frames were lost or the tool complained\n");
            result = 1;
        } else if (!smoke && (p99 >= kTargetP99Ms || residentEnd - residentStart > kMaxGrowthKiB)) {
            std::printf("soak: over a target\n");
            result = 1;
        }
    }
    ::kill(boardPid, SIGTERM);
    ::waitpid(boardPid, nullptr, 0);
    std::filesystem::remove_all(dir);
    return result;
}
