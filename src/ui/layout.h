#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace zephran::ui {

// Where controls sit: nested rows, columns, grids and group boxes, never pixel positions, so
// front ends lay pages out to fit their fonts and screen density.
struct LayoutItem {
    enum class Kind { Control, Row, Column, Grid, Group, Stretch };
    Kind kind = Kind::Column;
    int controlId = 0;  // Control, and the caption control of a Group
    int columns = 1;    // Grid: items fill rows of this many cells
    std::vector<LayoutItem> children;
};

inline LayoutItem Item(int controlId) {
    return {LayoutItem::Kind::Control, controlId, 1, {}};
}
inline LayoutItem Stretch() {
    return {LayoutItem::Kind::Stretch, 0, 1, {}};
}
inline LayoutItem Row(std::vector<LayoutItem> children) {
    return {LayoutItem::Kind::Row, 0, 1, std::move(children)};
}
inline LayoutItem Column(std::vector<LayoutItem> children) {
    return {LayoutItem::Kind::Column, 0, 1, std::move(children)};
}
inline LayoutItem Grid(int columns, std::vector<LayoutItem> children) {
    return {LayoutItem::Kind::Grid, 0, columns, std::move(children)};
}
// A group box titled by its GroupBox control, holding a column of children.
inline LayoutItem Group(int captionId, std::vector<LayoutItem> children) {
    return {LayoutItem::Kind::Group, captionId, 1, std::move(children)};
}

// How a row or grid meets a width too short for it. One made only of blocks (group boxes,
// nested rows, columns and grids, multi-line boxes; stretches aside) wraps: its blocks flow onto
// further lines below instead of widening the window. A grid's blocks keep lining up in columns
// of one width. Rows and grids of single controls keep their shape.
enum class Wrap { Never, Flow, FlowInColumns };
Wrap WrapOf(const LayoutItem& item, const std::vector<Control>& controls);

// A window's template: its title, its controls with their initial state, and their layout.
struct WindowTemplate {
    std::string title;
    std::vector<Control> controls;
    LayoutItem layout;
};

}  // namespace zephran::ui
