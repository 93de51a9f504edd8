// Scoped helpers for work on the inner grid that must not be seen: painting is switched off and the
// current cell is put back when the work ends, also when it ends by an error.
#pragma once
#include <cstdint>

#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

// Saves Redraw, switches it off, and restores the saved value.
class RedrawOff {
  public:
    explicit RedrawOff(ax::FlexGrid& grid) : grid_(grid), saved_(grid.Redraw()) { grid_.setRedraw(false); }
    ~RedrawOff() {
        try {
            grid_.setRedraw(saved_);
        } catch (...) {
        }
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

  private:
    ax::FlexGrid& grid_;
    bool saved_;
};

// Saves the current cell and moves back to it (row first, then column).
class CurrentCellKept {
  public:
    explicit CurrentCellKept(ax::FlexGrid& grid) : grid_(grid), row_(grid.Row()), col_(grid.Col()) {}
    ~CurrentCellKept() {
        try {
            if (grid_.Row() != row_) grid_.setRow(row_);
            if (grid_.Col() != col_) grid_.setCol(col_);
        } catch (...) {
        }
    }
    CurrentCellKept(const CurrentCellKept&) = delete;
    CurrentCellKept& operator=(const CurrentCellKept&) = delete;

    // Makes (row, col) the current cell. Setting Row and Col collapses the selection onto the cell,
    // which a cell-format write needs; a read may skip the moves that change nothing.
    void moveTo(int32_t row, int32_t col, bool collapseSelection = true) {
        if (collapseSelection || grid_.Row() != row) grid_.setRow(row);
        if (collapseSelection || grid_.Col() != col) grid_.setCol(col);
    }

  private:
    ax::FlexGrid& grid_;
    int32_t row_;
    int32_t col_;
};

}  // namespace vantrel
