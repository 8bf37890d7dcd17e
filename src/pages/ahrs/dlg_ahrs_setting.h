#pragma once

#include "app/page.h"
#include "pages/parameter_set.h"

namespace zephran {

// The attitude filter's noise parameters: read, written and reset to the board's defaults.
class CDlgAHRSSetting : public Page {
public:
    enum : int {
        kGyroNoise = 1005,
        kAccNoise = 1016,
        kCompassNoise = 1015,
        kRead = 1177,
        kWrite = 1178,
        kDefault = 1179,
    };
    static const ParameterSet kNoise;

    CDlgAHRSSetting(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override { noise.RouteReplies(dispatcher); }

    ParameterSetBinding noise{kNoise, *this, host_};

protected:
    void DoDataExchange(ui::DataExchange& dx) override { noise.Exchange(dx); }
    void OnCommand(int id) override { noise.OnCommand(id); }
};

}  // namespace zephran
