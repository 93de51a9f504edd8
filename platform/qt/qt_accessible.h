// The grid for screen readers: Qt's accessibility interface answered as a table of the grid model's
// rows, columns, cell texts, headings, selection and current cell, with the events a reader follows.
#pragma once
#include "platform/qt/qt_grid_widget.h"

namespace ax {

// Makes Qt ask this library for the grid canvas's accessible interface; called once by the host.
void installGridAccessibility();

// Tells a listening screen reader what changed between two looks at the grid: the table's shape or
// texts (model change), the selection, the current cell as the focused one while the grid has the
// focus, and the current cell's value.
void announceGridChanges(GridCanvas* canvas, const QtFlexGrid::Seen& before, const QtFlexGrid::Seen& now,
                         const HeadlessFlexGrid::TextChanges& texts);

}  // namespace ax
