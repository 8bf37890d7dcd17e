#include "pages/filter_noise_set.h"

#include <utility>

#include "ui/controls.h"

namespace zephran {

ui::LayoutItem NoisePageLayout(ui::WindowTemplate& t, const ParameterSet& set,
                               const std::string& buttonStem, ui::LayoutItem group) {
    const std::string key = "IDC_BUTTON_" + buttonStem;
    const ButtonCaptions captions = ButtonCaptions::ReadWriteDefault(
        key + "_PARA_READ", key + "_PARA_WRITE", key + "_RARA_SET_DEFAULT");
    return ui::Column({
        std::move(group),
        ui::LeftRow(ParameterSetBinding::AddButtons(set, t, captions)),
        ui::Stretch(),
    });
}

}  // namespace zephran
