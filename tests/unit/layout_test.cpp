// Which rows and grids of a template may wrap where the width is short.
#include <gtest/gtest.h>

#include "ui/controls.h"
#include "ui/layout.h"

namespace zephran::ui {
namespace {

const std::vector<Control> kControls = {
    GroupBox(1, "First"), GroupBox(2, "Second"),    Edit(3),
    Button(4, "Read"),    TextBox(5, true, 30, 12), Label(6, "Taps"),
};

TEST(LayoutWrap, RowsAndGridsOfBlocksFlowGridsInColumns) {
    EXPECT_EQ(WrapOf(Row({Group(1, {Item(3)}), Group(2, {Item(4)})}), kControls), Wrap::Flow);
    EXPECT_EQ(WrapOf(Grid(2, {Group(1, {}), Group(2, {}), Group(1, {})}), kControls),
              Wrap::FlowInColumns);
    // A live text box beside a column of buttons, stretches aside.
    EXPECT_EQ(WrapOf(Row({Item(5), Column({Item(4)}), Stretch()}), kControls), Wrap::Flow);
    // A grid of numbers beside its buttons.
    EXPECT_EQ(WrapOf(Row({Grid(2, {Item(6), Item(3)}), Column({Item(4)})}), kControls), Wrap::Flow);
}

TEST(LayoutWrap, SingleControlsAndLoneBlocksKeepTheirShape) {
    // Captions beside their boxes, and rows of buttons, stay on one line.
    EXPECT_EQ(WrapOf(Row({Item(6), Item(3)}), kControls), Wrap::Never);
    EXPECT_EQ(WrapOf(Row({Item(4), Item(4), Stretch()}), kControls), Wrap::Never);
    EXPECT_EQ(WrapOf(Grid(2, {Item(6), Item(3), Group(1, {})}), kControls), Wrap::Never);
    // One block has nothing to flow beside.
    EXPECT_EQ(WrapOf(Row({Group(1, {}), Stretch()}), kControls), Wrap::Never);
    // Columns and groups are never rows.
    EXPECT_EQ(WrapOf(Column({Group(1, {}), Group(2, {})}), kControls), Wrap::Never);
    // A control missing from the template is no block.
    EXPECT_EQ(WrapOf(Row({Item(99), Group(1, {})}), kControls), Wrap::Never);
}

}  // namespace
}  // namespace zephran::ui
