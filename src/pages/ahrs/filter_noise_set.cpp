#include "pages/ahrs/filter_noise_set.h"

#include <string>
#include <utility>

#include "ui/controls.h"

namespace zephran {

ui::WindowTemplate NoisePageTemplate(const NoisePage& page, ArrangeBoxes arrange) {
    ui::WindowTemplate t;
    ui::LayoutItem boxes = arrange(ParameterSetBinding::AddControls(page.set, t), t);
    ui::LayoutItem group = ui::AddGroup(t, page.group, std::string(page.caption),
                                        std::string(page.key), {std::move(boxes)});
    const std::string key = "IDC_BUTTON_" + std::string(page.buttonStem);
    const ButtonCaptions captions = ButtonCaptions::ReadWriteDefault(
        key + "_PARA_READ", key + "_PARA_WRITE", key + "_RARA_SET_DEFAULT");
    t.layout = ui::Column({
        std::move(group),
        ui::LeftRow(ParameterSetBinding::AddButtons(page.set, t, captions)),
        ui::Stretch(),
    });
    return t;
}

}  // namespace zephran
