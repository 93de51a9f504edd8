// The inner grid surface: a grid that holds every cell's text and format, the shape, the current cell
// and selection, scrolling and layout, and reports what the user does through notifications. The grid
// control drives it only through this interface; a headless model and a window can both stand behind it.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/automation/colour.h"
#include "platform/automation/font.h"
#include "platform/automation/object.h"
#include "platform/automation/picture.h"
#include "platform/host/child.h"

namespace ax {

// The surface's own enumerations, passed as their numeric values.
namespace flex {
// CellAlignment, ColAlignment, FixedAlignment. General: text to the left, numbers to the right.
inline constexpr int32_t AlignLeftTop = 0, AlignLeftCenter = 1, AlignLeftBottom = 2, AlignCenterTop = 3,
                         AlignCenterCenter = 4, AlignCenterBottom = 5, AlignRightTop = 6,
                         AlignRightCenter = 7, AlignRightBottom = 8, AlignGeneral = 9;
// CellPictureAlignment: the nine placements above, then stretched and tiled.
inline constexpr int32_t PictureStretch = 9, PictureTile = 10;
// Sort codes.
inline constexpr int16_t SortNone = 0, SortGenericAscending = 1, SortGenericDescending = 2,
                         SortNumericAscending = 3, SortNumericDescending = 4, SortStringNoCaseAscending = 5,
                         SortStringNoCaseDescending = 6, SortStringAscending = 7, SortStringDescending = 8,
                         SortCustom = 9;
// FillStyle: a cell-format let reaches the current cell only, or the whole selection.
inline constexpr int32_t FillSingle = 0, FillRepeat = 1;
// SelectionMode.
inline constexpr int32_t SelectionFree = 0, SelectionByRow = 1, SelectionByColumn = 2;
// HighLight.
inline constexpr int32_t HighlightNever = 0, HighlightAlways = 1, HighlightWithFocus = 2;
// FocusRect.
inline constexpr int32_t FocusNone = 0, FocusLight = 1, FocusHeavy = 2;
// GridLines, GridLinesFixed.
inline constexpr int32_t GridNone = 0, GridFlat = 1, GridInset = 2, GridRaised = 3;
// TextStyle, TextStyleFixed, CellTextStyle.
inline constexpr int32_t TextFlat = 0, TextRaised = 1, TextInset = 2, TextRaisedLight = 3, TextInsetLight = 4;
// ScrollBars.
inline constexpr int32_t ScrollNone = 0, ScrollHorizontal = 1, ScrollVertical = 2, ScrollBoth = 3;
// AllowUserResizing.
inline constexpr int32_t ResizeNone = 0, ResizeColumns = 1, ResizeRows = 2, ResizeBoth = 3;
// Appearance, BorderStyle, PictureType, OLEDropMode.
inline constexpr int32_t AppearanceFlat = 0, Appearance3D = 1;
inline constexpr int32_t BorderNone = 0, BorderSingle = 1;
inline constexpr int32_t PictureColor = 0, PictureMonochrome = 1;
inline constexpr int32_t DropNone = 0, DropManual = 1;
// MousePointer: 0..15 the desktop's cursors, 99 the MouseIcon.
inline constexpr int32_t PointerDefault = 0, PointerCustom = 99;
// OLE drag effects and the DragOver states.
inline constexpr int32_t EffectNone = 0, EffectCopy = 1, EffectMove = 2, EffectScroll = int32_t(0x80000000u);
inline constexpr int16_t DragEnter = 0, DragLeave = 1, DragOver = 2;
}  // namespace flex

// What the cells of a grid may claim, counted in texts (a cell's text, an owner's string per cell; a
// cell's own format weighs a few). A damaged form file or a stray value asking for more is refused with
// 380 rather than allowed to take all the memory there is: the budget is about a gigabyte.
inline constexpr int64_t kCellBudget = int64_t(1) << 25;

// Rows, columns and the fixed ones, read in one call by code that checks a cell address per cell.
struct GridShape {
    int32_t rows, cols, fixedRows, fixedCols;
};

class FlexGrid : public Child, public InputTarget {
  public:
    // --- shape and addressing -------------------------------------------------------------------
    virtual GridShape shape() const { return {Rows(), Cols(), FixedRows(), FixedCols()}; }
    virtual int32_t Rows() const = 0;
    virtual void setRows(int32_t v) = 0;  // keeps the texts, row data and formats of remaining rows
    virtual int32_t Cols() const = 0;
    virtual void setCols(int32_t v) = 0;
    virtual int32_t FixedRows() const = 0;
    virtual void setFixedRows(int32_t v) = 0;
    virtual int32_t FixedCols() const = 0;
    virtual void setFixedCols(int32_t v) = 0;
    // Strings the grid's owner keeps beside the cells, counted against the same budget as the cells:
    // `perRow` for every row (a column of them per column of the owner's) and `fixed` whatever the
    // shape (a saved copy). Raises 380 and keeps the old counts when the grid as it stands would not
    // fit with them; later changes of the shape count them too.
    virtual void setCellsBeside(int64_t perRow, int64_t fixed) = 0;
    // The current cell; setting Row or Col also collapses the selection onto it.
    virtual int32_t Row() const = 0;
    virtual void setRow(int32_t v) = 0;
    virtual int32_t Col() const = 0;
    virtual void setCol(int32_t v) = 0;
    // The other corner of the selection.
    virtual int32_t RowSel() const = 0;
    virtual void setRowSel(int32_t v) = 0;
    virtual int32_t ColSel() const = 0;
    virtual void setColSel(int32_t v) = 0;
    // The first scrollable row and column shown.
    virtual int32_t TopRow() const = 0;
    virtual void setTopRow(int32_t v) = 0;
    virtual int32_t LeftCol() const = 0;
    virtual void setLeftCol(int32_t v) = 0;

    // --- cell text and item data ------------------------------------------------------------------
    // Any cell, without moving the current cell.
    virtual std::string TextMatrix(int32_t row, int32_t col) const = 0;
    // TextMatrix into a string the caller keeps, reusing its buffer (for reads of whole tables).
    virtual void copyTextMatrix(int32_t row, int32_t col, std::string& out) const {
        out = TextMatrix(row, col);
    }
    virtual void setTextMatrix(int32_t row, int32_t col, const std::string& text) = 0;
    // The current cell (a let may reach the whole selection when FillStyle is FillRepeat).
    virtual std::string Text() const = 0;
    virtual void setText(const std::string& text) = 0;
    // Cells counted row by row: index = row * Cols + col.
    virtual std::string TextArray(int32_t index) const = 0;
    virtual void setTextArray(int32_t index, const std::string& text) = 0;
    virtual int32_t RowData(int32_t row) const = 0;
    virtual void setRowData(int32_t row, int32_t v) = 0;
    virtual int32_t ColData(int32_t col) const = 0;
    virtual void setColData(int32_t col, int32_t v) = 0;
    // Moves row (column) index to position v, with its texts, data and formats.
    virtual void setRowPosition(int32_t index, int32_t v) = 0;
    virtual void setColPosition(int32_t index, int32_t v) = 0;

    // --- methods ------------------------------------------------------------------------------------
    // Adds a row whose cells are the tab-separated fields of item, before row index or at the end.
    virtual void AddItem(const std::string& item, std::optional<int32_t> index = std::nullopt) = 0;
    virtual void RemoveItem(int32_t index) = 0;
    // Empties the text and formatting of every cell, fixed ones included; the shape stays.
    virtual void Clear() = 0;
    // Sorts rows Row..RowSel by the columns Col..ColSel, left to right (flex::Sort* codes).
    virtual void setSort(int16_t code) = 0;
    virtual void Refresh() = 0;
    // Starts an OLE drag from the grid (raises OLEStartDrag).
    virtual void OLEDrag() = 0;
    // Column headings separated by "|", row headings after ";", alignment marks "<", "^", ">".
    virtual std::string FormatString() const = 0;
    virtual void setFormatString(const std::string& v) = 0;
    // False stops painting until set back.
    virtual bool Redraw() const = 0;
    virtual void setRedraw(bool v) = 0;

    // --- formats of the current cell ------------------------------------------------------------
    virtual int32_t FillStyle() const = 0;
    virtual void setFillStyle(int32_t v) = 0;
    // 0 when the cell has no colour of its own.
    virtual OleColor CellBackColor() const = 0;
    virtual void setCellBackColor(OleColor v) = 0;
    virtual OleColor CellForeColor() const = 0;
    virtual void setCellForeColor(OleColor v) = 0;
    virtual int16_t CellAlignment() const = 0;
    virtual void setCellAlignment(int16_t v) = 0;
    virtual int32_t CellTextStyle() const = 0;
    virtual void setCellTextStyle(int32_t v) = 0;
    // An empty picture (handle 0) when the cell has none.
    virtual PicturePtr CellPicture() const = 0;
    virtual void setCellPicture(PicturePtr p) = 0;
    virtual int16_t CellPictureAlignment() const = 0;
    virtual void setCellPictureAlignment(int16_t v) = 0;
    // The cell's own font attributes, or the grid's font where the cell has none.
    virtual std::string CellFontName() const = 0;
    virtual void setCellFontName(const std::string& v) = 0;
    virtual float CellFontSize() const = 0;
    virtual void setCellFontSize(float v) = 0;
    virtual bool CellFontBold() const = 0;
    virtual void setCellFontBold(bool v) = 0;
    virtual bool CellFontItalic() const = 0;
    virtual void setCellFontItalic(bool v) = 0;
    virtual bool CellFontUnderline() const = 0;
    virtual void setCellFontUnderline(bool v) = 0;
    virtual bool CellFontStrikeThrough() const = 0;
    virtual void setCellFontStrikeThrough(bool v) = 0;
    virtual float CellFontWidth() const = 0;
    virtual void setCellFontWidth(float v) = 0;

    // --- layout (twips, from the surface's own top-left corner) -----------------------------------
    // The current cell's rectangle.
    virtual int32_t CellLeft() const = 0;
    virtual int32_t CellTop() const = 0;
    virtual int32_t CellWidth() const = 0;
    virtual int32_t CellHeight() const = 0;
    // -1 restores the default size.
    virtual int32_t RowHeight(int32_t row) const = 0;
    virtual void setRowHeight(int32_t row, int32_t v) = 0;
    virtual int32_t ColWidth(int32_t col) const = 0;
    virtual void setColWidth(int32_t col, int32_t v) = 0;
    virtual int32_t RowHeightMin() const = 0;
    virtual void setRowHeightMin(int32_t v) = 0;
    virtual int32_t RowPos(int32_t row) const = 0;
    virtual int32_t ColPos(int32_t col) const = 0;
    virtual bool RowIsVisible(int32_t row) const = 0;
    virtual bool ColIsVisible(int32_t col) const = 0;
    // The cell under the last mouse position (-1 outside every cell).
    virtual int32_t MouseRow() const = 0;
    virtual int32_t MouseCol() const = 0;

    // --- appearance -------------------------------------------------------------------------------
    virtual bool AllowBigSelection() const = 0;
    virtual void setAllowBigSelection(bool v) = 0;
    virtual int32_t AllowUserResizing() const = 0;
    virtual void setAllowUserResizing(int32_t v) = 0;
    virtual int32_t Appearance() const = 0;
    virtual void setAppearance(int32_t v) = 0;
    virtual OleColor BackColor() const = 0;
    virtual void setBackColor(OleColor v) = 0;
    virtual OleColor BackColorBkg() const = 0;
    virtual void setBackColorBkg(OleColor v) = 0;
    virtual OleColor BackColorFixed() const = 0;
    virtual void setBackColorFixed(OleColor v) = 0;
    virtual OleColor BackColorSel() const = 0;
    virtual void setBackColorSel(OleColor v) = 0;
    virtual int32_t BorderStyle() const = 0;
    virtual void setBorderStyle(int32_t v) = 0;
    virtual int32_t ColAlignment(int32_t col) const = 0;
    virtual void setColAlignment(int32_t col, int32_t v) = 0;
    virtual int32_t FixedAlignment(int32_t col) const = 0;
    virtual void setFixedAlignment(int32_t col, int32_t v) = 0;
    virtual int32_t FocusRect() const = 0;
    virtual void setFocusRect(int32_t v) = 0;
    virtual FontPtr Font() const = 0;
    virtual void setFont(FontPtr f) = 0;
    virtual float FontWidth() const = 0;
    virtual void setFontWidth(float v) = 0;
    virtual OleColor ForeColor() const = 0;
    virtual void setForeColor(OleColor v) = 0;
    virtual OleColor ForeColorFixed() const = 0;
    virtual void setForeColorFixed(OleColor v) = 0;
    virtual OleColor ForeColorSel() const = 0;
    virtual void setForeColorSel(OleColor v) = 0;
    virtual OleColor GridColor() const = 0;
    virtual void setGridColor(OleColor v) = 0;
    virtual OleColor GridColorFixed() const = 0;
    virtual void setGridColorFixed(OleColor v) = 0;
    virtual int32_t GridLines() const = 0;
    virtual void setGridLines(int32_t v) = 0;
    virtual int32_t GridLinesFixed() const = 0;
    virtual void setGridLinesFixed(int32_t v) = 0;
    virtual int16_t GridLineWidth() const = 0;
    virtual void setGridLineWidth(int16_t v) = 0;
    virtual int32_t HighLight() const = 0;
    virtual void setHighLight(int32_t v) = 0;
    virtual PicturePtr MouseIcon() const = 0;
    virtual void setMouseIcon(PicturePtr p) = 0;
    virtual int32_t MousePointer() const = 0;
    virtual void setMousePointer(int32_t v) = 0;
    virtual int32_t OLEDropMode() const = 0;
    virtual void setOLEDropMode(int32_t v) = 0;
    // A snapshot of the grid as it would be drawn now.
    virtual PicturePtr Picture() const = 0;
    virtual int32_t PictureType() const = 0;
    virtual void setPictureType(int32_t v) = 0;
    virtual bool RightToLeft() const = 0;
    virtual void setRightToLeft(bool v) = 0;
    virtual int32_t ScrollBars() const = 0;
    virtual void setScrollBars(int32_t v) = 0;
    virtual bool ScrollTrack() const = 0;
    virtual void setScrollTrack(bool v) = 0;
    virtual int32_t SelectionMode() const = 0;
    virtual void setSelectionMode(int32_t v) = 0;
    virtual int32_t TextStyle() const = 0;
    virtual void setTextStyle(int32_t v) = 0;
    virtual int32_t TextStyleFixed() const = 0;
    virtual void setTextStyleFixed(int32_t v) = 0;
    virtual bool WordWrap() const = 0;
    virtual void setWordWrap(bool v) = 0;
    // The surface's own window, distinct from the control's.
    virtual int32_t hWnd() const = 0;

    // --- simulated OLE drag and drop ----------------------------------------------------------------
    // The grid as drag source, after OLEDrag started a drag that was not cancelled: the target asks
    // for feedback and data, then the drag completes with the effect the target chose.
    virtual bool dragInProgress() const = 0;
    virtual void simulateGiveFeedback(int32_t effect) = 0;
    virtual void simulateSetData(int16_t dataFormat) = 0;
    virtual void simulateCompleteDrag(int32_t effect) = 0;
    // The grid as drop target (only while OLEDropMode is DropManual): returns the effect the handler chose.
    virtual int32_t simulateDragOver(std::shared_ptr<Object> data, int32_t effect, int16_t button,
                                     int16_t shift, float x, float y, int16_t state) = 0;
    virtual int32_t simulateDragDrop(std::shared_ptr<Object> data, int32_t effect, int16_t button,
                                     int16_t shift, float x, float y) = 0;

    // --- notifications ------------------------------------------------------------------------------
    Handler<> onClick;
    Handler<> onDblClick;
    Handler<int16_t&, int16_t&> onKeyDown;  // KeyCode, Shift
    Handler<int16_t&> onKeyPress;           // KeyAscii
    Handler<int16_t&, int16_t&> onKeyUp;
    Handler<int16_t&, int16_t&, float&, float&> onMouseDown;  // Button, Shift, x, y (twips)
    Handler<int16_t&, int16_t&, float&, float&> onMouseMove;
    Handler<int16_t&, int16_t&, float&, float&> onMouseUp;
    Handler<> onSelChange;
    Handler<> onRowColChange;
    Handler<> onEnterCell;
    Handler<> onLeaveCell;
    Handler<> onScroll;
    // Custom sort: Cmp < 0 when Row1 sorts before Row2, 0 when equal, > 0 after.
    Handler<int32_t, int32_t, int16_t&> onCompare;
    Handler<std::shared_ptr<Object>&, int32_t&> onOLEStartDrag;  // Data, AllowedEffects
    Handler<int32_t&, bool&> onOLEGiveFeedback;                  // Effect, DefaultCursors
    Handler<std::shared_ptr<Object>&, int16_t&> onOLESetData;    // Data, DataFormat
    Handler<int32_t&> onOLECompleteDrag;                         // Effect
    // Data, Effect, Button, Shift, x, y, State
    Handler<std::shared_ptr<Object>&, int32_t&, int16_t&, int16_t&, float&, float&, int16_t&> onOLEDragOver;
    // Data, Effect, Button, Shift, x, y
    Handler<std::shared_ptr<Object>&, int32_t&, int16_t&, int16_t&, float&, float&> onOLEDragDrop;
};

using FlexGridPtr = std::shared_ptr<FlexGrid>;

}  // namespace ax
