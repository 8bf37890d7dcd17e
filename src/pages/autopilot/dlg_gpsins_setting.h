#pragma once

#include <array>
#include <cstddef>

#include "app/page.h"
#include "pages/autopilot/gpsins_records.h"

namespace zephran {

// The GPS/INS navigation filter's twelve noise parameters: read, written and reset to the
// board's defaults.
class CDlgGPSINSSetting : public Page {
public:
    enum : int {
        kRead = 1401,
        kWrite = 1402,
        kDefault = 1403,
        kFirstBox = 1410,  // one box per parameter, in record order
    };
    static constexpr int Box(std::size_t n) { return kFirstBox + static_cast<int>(n); }

    struct Parameter {
        const char* caption;
        const char* key;  // of the caption's language text
        double initial;
    };
    // In record order: the Q parameters first.
    static const std::array<Parameter, kGpsInsQrCount> kParameters;

    CDlgGPSINSSetting(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    std::array<double, kGpsInsQrCount> values{};

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;
};

}  // namespace zephran
