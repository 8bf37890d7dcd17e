#pragma once

#include "pages/framework/page.h"

namespace zephran {

// The multicopter controller's one setting: whether it passes the GPS/INS data straight through
// to its output or runs in its normal mode. It is written, never read back.
class CDlgMulticopterMisc : public Page {
public:
    enum : int { kPrompt = 1700, kNormal = 1701, kDirect = 1702, kSet = 1703 };

    CDlgMulticopterMisc(PageHost& host, Identity identity);

    int output = 0;  // 0 normal mode, 1 direct output

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;
};

}  // namespace zephran
