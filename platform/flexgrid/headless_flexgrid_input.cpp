// The current cell, the selection, and keyboard, mouse and drag-and-drop input of the headless grid.
#include <algorithm>

#include "platform/flexgrid/flexgrid_errors.h"
#include "platform/flexgrid/headless_flexgrid.h"

namespace ax {

// Moving the current cell raises LeaveCell while the old cell is still current, then EnterCell and
// RowColChange on the new one; any change of the selected range ends with SelChange.
void HeadlessFlexGrid::moveTo(int32_t row, int32_t col, int32_t rowSel, int32_t colSel) {
    bool cellMoves = row != row_ || col != col_;
    if (!cellMoves && rowSel == rowSel_ && colSel == colSel_) return;
    if (cellMoves) fire(onLeaveCell);
    row_ = row;
    col_ = col;
    rowSel_ = rowSel;
    colSel_ = colSel;
    invalidate();
    if (cellMoves) {
        fire(onEnterCell);
        fire(onRowColChange);
    }
    fire(onSelChange);
}

// Setting Row or Col also collapses the selection onto the current cell along that axis.
void HeadlessFlexGrid::setRow(int32_t v) {
    checkRow(v);
    moveTo(v, col_, v, colSel_);
}

void HeadlessFlexGrid::setCol(int32_t v) {
    checkCol(v);
    moveTo(row_, v, rowSel_, v);
}

void HeadlessFlexGrid::setRowSel(int32_t v) {
    checkRow(v);
    moveTo(row_, col_, v, colSel_);
}

void HeadlessFlexGrid::setColSel(int32_t v) {
    checkCol(v);
    moveTo(row_, col_, rowSel_, v);
}

bool HeadlessFlexGrid::isSelected(int32_t row, int32_t col) const {
    bool inRows = row >= std::min(row_, rowSel_) && row <= std::max(row_, rowSel_);
    bool inCols = col >= std::min(col_, colSel_) && col <= std::max(col_, colSel_);
    switch (selectionMode_) {
        case flex::SelectionByRow:
            return inRows && row >= fixedRows_ && col >= fixedCols_;
        case flex::SelectionByColumn:
            return inCols && row >= fixedRows_ && col >= fixedCols_;
        default:
            return inRows && inCols;
    }
}

// --- mouse ---------------------------------------------------------------------------------------------

// A press on a scrollable cell makes it current (with Shift: extends the selection to it); a press on
// a heading selects the whole column or row when big selections are allowed, the corner everything.
// The grid reacts before it reports the press, so MouseDown handlers see the new current cell.
void HeadlessFlexGrid::mouseDown(int16_t button, int16_t shift, float x, float y) {
    if (!Enabled()) return;
    updateMouse(x, y);
    press_ = Press::None;
    int32_t r = mouseRow_, c = mouseCol_, rows = Rows();
    // A press on a border the user may drag starts resizing and selects nothing.
    const bool resizing = startResize(button, x, y);
    if (!resizing && (button & 1) && r >= 0 && c >= 0) {
        bool headRow = r < fixedRows_, headCol = c < fixedCols_;
        if (!headRow && !headCol) {
            if (shift & shiftmask::Shift)
                moveTo(row_, col_, r, c);
            else
                moveTo(r, c, r, c);
            showCell(r, c);
            press_ = Press::Cell;
        } else if (allowBigSelection_ && rows > fixedRows_ && cols_ > fixedCols_) {
            if (headRow && !headCol) {
                moveTo(fixedRows_, c, rows - 1, c);
                press_ = Press::ColumnHead;
            } else if (headCol && !headRow) {
                moveTo(r, fixedCols_, r, cols_ - 1);
                press_ = Press::RowHead;
            } else {
                moveTo(fixedRows_, fixedCols_, rows - 1, cols_ - 1);
            }
        }
    }
    fire(onMouseDown, button, shift, x, y);
}

// Dragging with the left button held extends the selection the press started, or moves the border.
void HeadlessFlexGrid::mouseMove(int16_t button, int16_t shift, float x, float y) {
    if (!Enabled()) return;
    updateMouse(x, y);
    hoverAt(x, y);
    int32_t r = mouseRow_, c = mouseCol_;
    if ((button & 1) && press_ != Press::None) {
        if (press_ == Press::Resize) {
            followResize(x, y);
        } else if (press_ == Press::Cell && r >= fixedRows_ && c >= fixedCols_) {
            moveTo(row_, col_, r, c);
            showCell(r, c);
        } else if (press_ == Press::ColumnHead && c >= fixedCols_) {
            moveTo(row_, col_, rowSel_, c);
        } else if (press_ == Press::RowHead && r >= fixedRows_) {
            moveTo(row_, col_, r, colSel_);
        }
    }
    fire(onMouseMove, button, shift, x, y);
}

void HeadlessFlexGrid::mouseUp(int16_t button, int16_t shift, float x, float y) {
    if (!Enabled()) return;
    updateMouse(x, y);
    if (press_ == Press::Resize) {
        followResize(x, y);
        changed();  // the pointer may change back
    }
    press_ = Press::None;
    hoverAt(x, y);
    fire(onMouseUp, button, shift, x, y);
}

void HeadlessFlexGrid::click() {
    if (Enabled()) fire(onClick);
}

// A double click on a column border fits the column to its widest text, as desktop lists do.
void HeadlessFlexGrid::dblClick() {
    if (!Enabled()) return;
    if (lastPress_.kind == Border::Column && lastPress_.index < cols_)
        setColWidth(lastPress_.index, fittingWidth(lastPress_.index));
    fire(onDblClick);
}

// --- keyboard ------------------------------------------------------------------------------------------

// The grid cannot be typed into: character keys are only reported. A KeyDown handler that sets the
// key code to 0 keeps the grid from moving.
void HeadlessFlexGrid::keyDown(int16_t& keyCode, int16_t& shift) {
    if (!Enabled()) return;
    fire(onKeyDown, keyCode, shift);
    if (keyCode != 0) navigate(keyCode, shift);
}

void HeadlessFlexGrid::keyPress(int16_t& keyAscii) {
    if (Enabled()) fire(onKeyPress, keyAscii);
}

void HeadlessFlexGrid::keyUp(int16_t& keyCode, int16_t& shift) {
    if (Enabled()) fire(onKeyUp, keyCode, shift);
}

// Arrows move one cell, Page Up/Down a page, Home/End to the first/last column (with Ctrl also the
// first/last row); with Shift they move the selection's far corner instead. The target is scrolled into view.
void HeadlessFlexGrid::navigate(int16_t keyCode, int16_t shift) {
    int32_t rows = Rows();
    if (rows <= fixedRows_ || cols_ <= fixedCols_) return;
    bool extend = shift & shiftmask::Shift, ctrl = shift & shiftmask::Ctrl;
    int32_t r = std::max(extend ? rowSel_ : row_, fixedRows_);
    int32_t c = std::max(extend ? colSel_ : col_, fixedCols_);
    int32_t top = topRow_;
    switch (keyCode) {
        case key::Left:
            c = std::max(fixedCols_, c - 1);
            break;
        case key::Right:
            c = std::min(cols_ - 1, c + 1);
            break;
        case key::Up:
            r = std::max(fixedRows_, r - 1);
            break;
        case key::Down:
            r = std::min(rows - 1, r + 1);
            break;
        case key::PageDown: {
            int32_t page = pageRows();
            r = std::min(rows - 1, r + page);
            top += page;
            break;
        }
        case key::PageUp: {
            int32_t page = pageRows();
            r = std::max(fixedRows_, r - page);
            top -= page;
            break;
        }
        case key::Home:
            c = fixedCols_;
            if (ctrl) r = fixedRows_;
            break;
        case key::End:
            c = cols_ - 1;
            if (ctrl) r = rows - 1;
            break;
        default:
            return;
    }
    if (extend)
        moveTo(row_, col_, r, c);
    else
        moveTo(r, c, r, c);
    if (top != topRow_) scrollTo(std::min(top, r), leftCol_);
    showCell(r, c);
}

// --- OLE drag and drop ---------------------------------------------------------------------------------

// The host fills the data and may narrow the allowed effects; none left cancels the drag.
void HeadlessFlexGrid::OLEDrag() {
    if (dragging_) return;
    std::shared_ptr<Object> data = std::make_shared<Object>();
    int32_t allowed = flex::EffectCopy | flex::EffectMove;
    fire(onOLEStartDrag, data, allowed);
    if (allowed == flex::EffectNone) return;
    dragging_ = true;
    dragData_ = std::move(data);
}

void HeadlessFlexGrid::simulateGiveFeedback(int32_t effect) {
    if (!dragging_) return;
    bool defaultCursors = true;
    fire(onOLEGiveFeedback, effect, defaultCursors);
}

void HeadlessFlexGrid::simulateSetData(int16_t dataFormat) {
    if (!dragging_) return;
    fire(onOLESetData, dragData_, dataFormat);
}

void HeadlessFlexGrid::simulateCompleteDrag(int32_t effect) {
    if (!dragging_) return;
    dragging_ = false;
    fire(onOLECompleteDrag, effect);
    dragData_.reset();
}

int32_t HeadlessFlexGrid::simulateDragOver(std::shared_ptr<Object> data, int32_t effect, int16_t button,
                                           int16_t shift, float x, float y, int16_t state) {
    if (oleDropMode_ == flex::DropNone) return flex::EffectNone;
    updateMouse(x, y);
    fire(onOLEDragOver, data, effect, button, shift, x, y, state);
    return effect;
}

int32_t HeadlessFlexGrid::simulateDragDrop(std::shared_ptr<Object> data, int32_t effect, int16_t button,
                                           int16_t shift, float x, float y) {
    if (oleDropMode_ == flex::DropNone) return flex::EffectNone;
    updateMouse(x, y);
    fire(onOLEDragDrop, data, effect, button, shift, x, y);
    return effect;
}

}  // namespace ax
