#include "pages/autopilot/dlg_heli_page.h"

#include <string>

#include "ui/data_exchange.h"

namespace zephran {

CDlgHeliPage::CDlgHeliPage(PageHost& host, Identity identity, const HeliPageDesign& design)
    : Page(host, std::move(identity), design.makeTemplate()),
      values(design.values.size()),
      design_(design) {
    for (int id : design_.requests)
        EnableControl(id, false);
}

void CDlgHeliPage::ApplyTexts() {
    Page::ApplyTexts();
    const std::string tip = AddedText(host_.Texts(), "DlgHeli", "No Request Yet",
                                      "This board takes no such request yet.");
    for (int id : design_.requests)
        SetTip(id, tip);
}

// Only ever run towards the boxes: no button takes them back.
void CDlgHeliPage::DoDataExchange(ui::DataExchange& dx) {
    for (std::size_t k = 0; k < design_.values.size(); ++k) {
        const HeliValue& v = design_.values[k];
        if (v.real) {
            auto number = static_cast<float>(values[k]);
            dx.Text(v.box, number);
            values[k] = number;
            continue;
        }
        auto number = static_cast<int>(values[k]);
        if (v.lastRadio) {
            dx.Radio(v.box, v.lastRadio, number);
        } else {
            dx.Text(v.box, number);
        }
        values[k] = number;
    }
}

void CDlgHeliPage::OnCommand(int id) {
    for (const CaptionToggle& toggle : design_.toggles) {
        if (toggle.label != id) continue;
        const bool flip = GetDlgItemText(id) == toggle.from;
        SetDlgItemText(id, std::string(flip ? toggle.to : toggle.from));
    }
}

void CDlgHeliPage::OnPositionChange(int id) {
    for (const SpinBuddy& spin : design_.spins) {
        if (spin.spin == id) SetDlgItemText(spin.box, std::to_string(GetPos(id)));
    }
}

}  // namespace zephran
