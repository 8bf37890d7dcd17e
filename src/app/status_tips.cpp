#include "app/status_tips.h"

namespace zephran {

void ApplyStatusTips(ui::StatusBarModel& bar, const TextSource& texts) {
    bar.SetPaneTip(0, texts.LangText("Panel", "Tip Status"));
    bar.SetPaneTip(1, texts.LangText("Panel", "Tip Port"));
    bar.SetPaneTip(2, texts.LangText("Panel", "Tip bps"));
    bar.SetPaneTip(3, texts.LangText("Panel", "Tip RX"));
    bar.SetPaneTip(4, texts.LangText("Panel", "Tip TX"));
    bar.SetPaneTip(5, texts.LangText("Panel", "Tip Progress"));
}

}  // namespace zephran
