// SPDX-License-Identifier: GPL-3.0-or-later
// Every window's template: its control ids are unique, each layout cell names one of its
// controls, and each control is placed exactly once. A duplicate id would otherwise be found
// silently as the first control of that id, and an unplaced control never drawn.
#include <map>
#include <string>

#include "support/dialog_fixture.h"
#include "ui/window.h"

namespace zephran {
namespace {

// How often the layout places each control id.
void CountPlacements(const ui::LayoutItem& item, std::map<int, int>& placed) {
    if (item.kind == ui::LayoutItem::Kind::Control || item.kind == ui::LayoutItem::Kind::Group)
        ++placed[item.controlId];
    for (const ui::LayoutItem& child : item.children)
        CountPlacements(child, placed);
}

// What is wrong with a window's template, one line each; empty when nothing.
std::string TemplateFaults(const ui::Window& window) {
    std::string faults;
    std::map<int, int> declared;
    for (const ui::Control& control : window.Controls())
        ++declared[control.id];
    std::map<int, int> placed;
    CountPlacements(window.Layout(), placed);
    for (const auto& [id, count] : declared) {
        if (count > 1)
            faults +=
                "id " + std::to_string(id) + " declared " + std::to_string(count) + " times\n";
        if (placed[id] != 1)
            faults += "control " + std::to_string(id) + " placed " + std::to_string(placed[id]) +
                      " times\n";
    }
    for (const auto& [id, count] : placed) {
        if (!declared.contains(id))
            faults += "layout names " + std::to_string(id) + ", no control\n";
    }
    return faults;
}

class PageTemplateTest : public testing::DialogFixture {};

TEST_F(PageTemplateTest, EveryPagePlacesEachOfItsControlsOnce) {
    Start();
    ASSERT_EQ(dialog->Pages().All().size(), 24u);
    for (const auto& page : dialog->Pages().All())
        EXPECT_EQ(TemplateFaults(*page), "") << page->Id().className;
    EXPECT_EQ(TemplateFaults(dialog->MainWindow()), "");
}

TEST_F(PageTemplateTest, FindsADuplicateAnUnplacedAndADanglingControl) {
    Start();
    ui::WindowTemplate t;
    t.controls = {ui::Control{.id = 1}, ui::Control{.id = 2}, ui::Control{.id = 2},
                  ui::Control{.id = 3}};
    t.layout = ui::Column({ui::Item(1), ui::Item(2), ui::Item(1), ui::Item(4)});
    const ui::Window window(host, t);
    EXPECT_EQ(TemplateFaults(window),
              "control 1 placed 2 times\n"
              "id 2 declared 2 times\n"
              "control 3 placed 0 times\n"
              "layout names 4, no control\n");
}

}  // namespace
}  // namespace zephran
