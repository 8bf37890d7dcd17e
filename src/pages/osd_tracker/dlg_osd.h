#pragma once

#include <array>

#include "pages/framework/page.h"

namespace zephran {

// The OSD's display choices: six radio groups, each sent to the board by its own Set button.
class COSD : public Page {
public:
    struct Choice {
        int group;       // group box
        int firstRadio;  // radio buttons firstRadio .. firstRadio + options - 1
        int options;
        int set;  // its Set button
        const Message* message;
        int initial;
    };
    static const std::array<Choice, 6> kChoices;

    COSD(PageHost& host, Identity identity);

    // The selected index of each choice.
    std::array<int, 6> indexes{};

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;
};

}  // namespace zephran
