// zephran-sim: plays one board on a pseudo-terminal until SIGINT, SIGTERM or SIGHUP; each line
// on standard input meanwhile tells it to misbehave once.
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "sim/products.h"
#include "sim/virtual_board.h"

namespace {

constexpr int kUsageError = 2;

void PrintUsage(std::ostream& out) {
    out << "usage: zephran-sim --product NAME --link PATH [--baud RATE]\n"
           "Plays a ZephranFPV board on a pseudo-terminal until SIGINT, SIGTERM or SIGHUP.\n"
           "  --product NAME  the board:";
    for (const std::string_view name : zephran::sim::ProductNames())
        out << ' ' << name;
    out << "\n"
           "  --link PATH     make PATH a symbolic link to the board's serial device\n"
           "  --baud RATE     send and take bytes no faster than a line of RATE baud\n"
           "  --help          show this text\n"
           "Each line on standard input makes the board misbehave once:\n  "
        << zephran::sim::FaultCommandsHelp() << "\n";
}

int UsageError(const std::string& message) {
    std::cerr << "zephran-sim: " << message << "\n";
    PrintUsage(std::cerr);
    return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string> product;
    std::optional<std::string> link;
    unsigned baud = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            PrintUsage(std::cout);
            return 0;
        }
        if (arg != "--product" && arg != "--link" && arg != "--baud")
            return UsageError("unknown option " + std::string(arg));
        if (i + 1 == argc) return UsageError(std::string(arg) + " needs a value");
        if (arg == "--baud") {
            const std::string value = argv[++i];
            if (value.empty() || value.size() > 7 ||
                value.find_first_not_of("0123456789") != std::string::npos)
                return UsageError("--baud needs a rate in baud");
            baud = static_cast<unsigned>(std::stoul(value));
            continue;
        }
        (arg == "--product" ? product : link) = argv[++i];
    }
    if (!product || !link)
        return UsageError(product ? "--link is missing" : "--product is missing");
    const auto names = zephran::sim::ProductNames();
    if (std::ranges::find(names, *product) == names.end())
        return UsageError("unknown product " + *product);

    // Blocked before the board's thread starts, so that only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    zephran::sim::VirtualBoard board;
    board.PaceToBaud(baud);
    const auto slave = board.Start(*product, *link);
    if (!slave) {
        std::cerr << "zephran-sim: " << board.LastError() << "\n";
        return 1;
    }
    std::cout << "board " << *product << " ready on " << *link << " (-> " << *slave << ")"
              << std::endl;
    // Ends with the process; it only ever blocks on reading.
    std::thread([&board] {
        for (std::string line; std::getline(std::cin, line);) {
            if (const auto fault = zephran::sim::ParseFault(line)) {
                board.Misbehave(*fault);
                std::cout << "fault: " << line << std::endl;
            } else if (line.find_first_not_of(" \t\r") != std::string::npos) {
                std::cout << "unknown fault: " << line << " (" << zephran::sim::FaultCommandsHelp()
                          << ")" << std::endl;
            }
        }
    }).detach();
    int received = 0;
    sigwait(&stopSignals, &received);
    board.Stop();
    // Without running destructors: the input thread may still hold the board.
    std::cout.flush();
    std::_Exit(0);
}
