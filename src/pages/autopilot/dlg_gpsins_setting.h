#pragma once

#include <cstddef>

#include "app/page.h"
#include "pages/autopilot/gpsins_records.h"
#include "pages/parameter_set.h"

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
    static const ParameterSet kQr;

    CDlgGPSINSSetting(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override { qr.RouteReplies(dispatcher); }

    ParameterSetBinding qr{kQr, *this, host_};

protected:
    void DoDataExchange(ui::DataExchange& dx) override { qr.Exchange(dx); }
    void OnCommand(int id) override { qr.OnCommand(id); }
};

}  // namespace zephran
