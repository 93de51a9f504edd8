// The grid for screen readers: Qt's accessibility interface answered as a table of the grid model's
// rows, columns, cell texts, headings, selection and current cell.
#pragma once

namespace ax {

// Makes Qt ask this library for the grid canvas's accessible interface; called once by the host.
void installGridAccessibility();

}  // namespace ax
