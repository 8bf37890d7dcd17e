#pragma once

#include "app/page.h"

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

    CDlgAHRSSetting(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    double gyroNoise = 1e-7;
    double accNoise = 0.00001;
    double compassNoise = 1e-7;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;
};

}  // namespace zephran
