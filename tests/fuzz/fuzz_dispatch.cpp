// Arbitrary replies through the whole main dialog: the frame parser, the dispatcher and every
// page's reply handler, with the AHRS pages shown in turn. The input is a run of records
// (group, msgId, two length bytes, payload) sent as frames with a good CRC, so that the handlers
// see arbitrary payloads of every length from 0 to 2048; what does not fill a record goes in as
// raw bytes. The harness's folder is removed when the fuzzer exits.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/zephran_app.h"
#include "app/zephran_dlg.h"
#include "support/fake_host.h"
#include "support/fake_link.h"

namespace {

struct Harness {
    Harness() {
        char pattern[] = "/tmp/zephran-fuzz-XXXXXX";
        dir = ::mkdtemp(pattern);
        std::filesystem::create_directories(dir / "config/ZephranFPV");
        std::ofstream(dir / "config/ZephranFPV/profile.ini") << "[Settings]\nLanguage=english\n";
        std::filesystem::create_directories(dir / "app");
        std::ofstream(dir / "app/Config.ini") << "[ProductSetting]\nProduct=AHRS\n";
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        zephran::CZephranApp app(zephran::ResolveAppPaths((dir / "app").string()));
        app.PrepareSettings();
        auto owned = std::make_unique<zephran::testing::FakeLink>();
        owned->AddDevice("/dev/fuzz", true);
        link = owned.get();
        dialog = std::make_unique<zephran::CZephranDlg>(
            host, clock, app.Paths(), zephran::PortDirectoryOptions{}, std::move(owned));
        dialog->OnInitDialog();
    }
    ~Harness() {
        dialog.reset();
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }

    std::filesystem::path dir;
    zephran::testing::FakeHost host;
    zephran::VirtualClock clock;
    zephran::testing::FakeLink* link = nullptr;
    std::unique_ptr<zephran::CZephranDlg> dialog;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Harness harness;
    static const char* const kPages[] = {"AHRS_View", "AHRS_Set",     "AHRS_Set_FIR",
                                         "AHRS_Cal",  "AHRS_ACC_CAL", "AHRS_MAG_CAL"};
    static unsigned run = 0;
    auto& tree = harness.dialog->Tree();
    tree.SelectItem(tree.FindKey(kPages[run++ % 6]));
    std::size_t at = 0;
    constexpr std::size_t kHeader = 4;
    while (at + kHeader <= size) {
        const std::uint8_t group = data[at], msgId = data[at + 1];
        const std::size_t declared =
            (data[at + 2] | data[at + 3] << 8) % (zephran::kMaxPayload + 1);
        const std::size_t length = std::min(declared, size - at - kHeader);
        const std::uint8_t* body = data + at + kHeader;
        harness.link->Receive(
            zephran::testing::FakeLink::Frame(group, msgId, {body, body + length}));
        at += kHeader + length;
    }
    harness.link->Receive({data + at, data + size});
    harness.dialog->ProcessPortEvents();
    harness.host.messages.clear();
    return 0;
}
