// The grid surface as a model without a window: texts stored densely, formats sparsely, layout
// answered from the row and column sizes, notifications raised synchronously, and keyboard and mouse
// input accepted as a desktop delivers it. A window can paint it and feed it; tests drive it directly.
#pragma once
#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/flexgrid/cell_store.h"
#include "platform/flexgrid/flexgrid.h"
#include "platform/flexgrid/flexgrid_errors.h"

namespace ax {

class HeadlessFlexGrid : public FlexGrid {
  public:
    // `cellBudget`: what the cells may claim (see kCellBudget); a host that knows its memory may set less.
    explicit HeadlessFlexGrid(int64_t cellBudget = kCellBudget);
    ~HeadlessFlexGrid() override;

    // --- shape and addressing
    GridShape shape() const override { return {int32_t(rows_.size()), cols_, fixedRows_, fixedCols_}; }
    int32_t Rows() const override { return int32_t(rows_.size()); }
    void setRows(int32_t v) override;
    int32_t Cols() const override { return cols_; }
    void setCols(int32_t v) override;
    int32_t FixedRows() const override { return fixedRows_; }
    void setFixedRows(int32_t v) override;
    int32_t FixedCols() const override { return fixedCols_; }
    void setFixedCols(int32_t v) override;
    void setCellsBeside(int64_t perRow, int64_t fixed) override;
    int32_t Row() const override { return row_; }
    void setRow(int32_t v) override;
    int32_t Col() const override { return col_; }
    void setCol(int32_t v) override;
    int32_t RowSel() const override { return rowSel_; }
    void setRowSel(int32_t v) override;
    int32_t ColSel() const override { return colSel_; }
    void setColSel(int32_t v) override;
    int32_t TopRow() const override { return topRow_; }
    void setTopRow(int32_t v) override;
    int32_t LeftCol() const override { return leftCol_; }
    void setLeftCol(int32_t v) override;

    // --- cell text and item data
    std::string TextMatrix(int32_t row, int32_t col) const override;
    void copyTextMatrix(int32_t row, int32_t col, std::string& out) const override;
    void setTextMatrix(int32_t row, int32_t col, const std::string& text) override;
    std::string Text() const override;
    void setText(const std::string& text) override;
    std::string TextArray(int32_t index) const override;
    void setTextArray(int32_t index, const std::string& text) override;
    int32_t RowData(int32_t row) const override;
    void setRowData(int32_t row, int32_t v) override;
    int32_t ColData(int32_t col) const override;
    void setColData(int32_t col, int32_t v) override;
    void setRowPosition(int32_t index, int32_t v) override;
    void setColPosition(int32_t index, int32_t v) override;

    // --- methods
    void AddItem(const std::string& item, std::optional<int32_t> index = std::nullopt) override;
    void RemoveItem(int32_t index) override;
    void Clear() override;
    void setSort(int16_t code) override;
    void Refresh() override;
    void OLEDrag() override;
    std::string FormatString() const override { return formatString_; }
    void setFormatString(const std::string& v) override;
    bool Redraw() const override { return redraw_; }
    void setRedraw(bool v) override;

    // --- formats of the current cell
    int32_t FillStyle() const override { return fillStyle_; }
    void setFillStyle(int32_t v) override;
    OleColor CellBackColor() const override;
    void setCellBackColor(OleColor v) override;
    OleColor CellForeColor() const override;
    void setCellForeColor(OleColor v) override;
    int16_t CellAlignment() const override;
    void setCellAlignment(int16_t v) override;
    int32_t CellTextStyle() const override;
    void setCellTextStyle(int32_t v) override;
    PicturePtr CellPicture() const override;
    void setCellPicture(PicturePtr p) override;
    int16_t CellPictureAlignment() const override;
    void setCellPictureAlignment(int16_t v) override;
    std::string CellFontName() const override;
    void setCellFontName(const std::string& v) override;
    float CellFontSize() const override;
    void setCellFontSize(float v) override;
    bool CellFontBold() const override;
    void setCellFontBold(bool v) override;
    bool CellFontItalic() const override;
    void setCellFontItalic(bool v) override;
    bool CellFontUnderline() const override;
    void setCellFontUnderline(bool v) override;
    bool CellFontStrikeThrough() const override;
    void setCellFontStrikeThrough(bool v) override;
    float CellFontWidth() const override;
    void setCellFontWidth(float v) override;

    // --- layout
    int32_t CellLeft() const override;
    int32_t CellTop() const override;
    int32_t CellWidth() const override;
    int32_t CellHeight() const override;
    int32_t RowHeight(int32_t row) const override;
    void setRowHeight(int32_t row, int32_t v) override;
    int32_t ColWidth(int32_t col) const override;
    void setColWidth(int32_t col, int32_t v) override;
    int32_t RowHeightMin() const override { return rowHeightMin_; }
    void setRowHeightMin(int32_t v) override;
    int32_t RowPos(int32_t row) const override;
    int32_t ColPos(int32_t col) const override;
    bool RowIsVisible(int32_t row) const override;
    bool ColIsVisible(int32_t col) const override;
    int32_t MouseRow() const override { return mouseRow_; }
    int32_t MouseCol() const override { return mouseCol_; }

    // --- appearance
    bool AllowBigSelection() const override { return allowBigSelection_; }
    void setAllowBigSelection(bool v) override { allowBigSelection_ = v; }
    int32_t AllowUserResizing() const override { return allowUserResizing_; }
    void setAllowUserResizing(int32_t v) override;
    int32_t Appearance() const override { return appearance_; }
    void setAppearance(int32_t v) override;
    OleColor BackColor() const override { return backColor_; }
    void setBackColor(OleColor v) override { setLook(backColor_, v); }
    OleColor BackColorBkg() const override { return backColorBkg_; }
    void setBackColorBkg(OleColor v) override { setLook(backColorBkg_, v); }
    OleColor BackColorFixed() const override { return backColorFixed_; }
    void setBackColorFixed(OleColor v) override { setLook(backColorFixed_, v); }
    OleColor BackColorSel() const override { return backColorSel_; }
    void setBackColorSel(OleColor v) override { setLook(backColorSel_, v); }
    int32_t BorderStyle() const override { return borderStyle_; }
    void setBorderStyle(int32_t v) override;
    int32_t ColAlignment(int32_t col) const override;
    void setColAlignment(int32_t col, int32_t v) override;
    int32_t FixedAlignment(int32_t col) const override;
    void setFixedAlignment(int32_t col, int32_t v) override;
    int32_t FocusRect() const override { return focusRect_; }
    void setFocusRect(int32_t v) override;
    FontPtr Font() const override { return font_; }
    void setFont(FontPtr f) override;
    float FontWidth() const override { return fontWidth_; }
    void setFontWidth(float v) override;
    OleColor ForeColor() const override { return foreColor_; }
    void setForeColor(OleColor v) override { setLook(foreColor_, v); }
    OleColor ForeColorFixed() const override { return foreColorFixed_; }
    void setForeColorFixed(OleColor v) override { setLook(foreColorFixed_, v); }
    OleColor ForeColorSel() const override { return foreColorSel_; }
    void setForeColorSel(OleColor v) override { setLook(foreColorSel_, v); }
    OleColor GridColor() const override { return gridColor_; }
    void setGridColor(OleColor v) override { setLook(gridColor_, v); }
    OleColor GridColorFixed() const override { return gridColorFixed_; }
    void setGridColorFixed(OleColor v) override { setLook(gridColorFixed_, v); }
    int32_t GridLines() const override { return gridLines_; }
    void setGridLines(int32_t v) override;
    int32_t GridLinesFixed() const override { return gridLinesFixed_; }
    void setGridLinesFixed(int32_t v) override;
    int16_t GridLineWidth() const override { return gridLineWidth_; }
    void setGridLineWidth(int16_t v) override;
    int32_t HighLight() const override { return highLight_; }
    void setHighLight(int32_t v) override;
    PicturePtr MouseIcon() const override { return mouseIcon_; }
    void setMouseIcon(PicturePtr p) override;
    int32_t MousePointer() const override { return mousePointer_; }
    void setMousePointer(int32_t v) override;
    int32_t OLEDropMode() const override { return oleDropMode_; }
    void setOLEDropMode(int32_t v) override;
    PicturePtr Picture() const override;
    int32_t PictureType() const override { return pictureType_; }
    void setPictureType(int32_t v) override;
    bool RightToLeft() const override { return rightToLeft_; }
    void setRightToLeft(bool v) override;
    int32_t ScrollBars() const override { return scrollBars_; }
    void setScrollBars(int32_t v) override;
    bool ScrollTrack() const override { return scrollTrack_; }
    void setScrollTrack(bool v) override { scrollTrack_ = v; }
    int32_t SelectionMode() const override { return selectionMode_; }
    void setSelectionMode(int32_t v) override;
    int32_t TextStyle() const override { return textStyle_; }
    void setTextStyle(int32_t v) override;
    int32_t TextStyleFixed() const override { return textStyleFixed_; }
    void setTextStyleFixed(int32_t v) override;
    bool WordWrap() const override { return wordWrap_; }
    void setWordWrap(bool v) override;
    int32_t hWnd() const override { return hWnd_; }

    // --- simulated OLE drag and drop
    bool dragInProgress() const override { return dragging_; }
    void simulateGiveFeedback(int32_t effect) override;
    void simulateSetData(int16_t dataFormat) override;
    void simulateCompleteDrag(int32_t effect) override;
    int32_t simulateDragOver(std::shared_ptr<Object> data, int32_t effect, int16_t button, int16_t shift,
                             float x, float y, int16_t state) override;
    int32_t simulateDragDrop(std::shared_ptr<Object> data, int32_t effect, int16_t button, int16_t shift,
                             float x, float y) override;

    // --- input, as a desktop delivers it
    void keyDown(int16_t& keyCode, int16_t& shift) override;
    void keyPress(int16_t& keyAscii) override;
    void keyUp(int16_t& keyCode, int16_t& shift) override;
    void mouseDown(int16_t button, int16_t shift, float x, float y) override;
    void mouseMove(int16_t button, int16_t shift, float x, float y) override;
    void mouseUp(int16_t button, int16_t shift, float x, float y) override;
    void click() override;
    void dblClick() override;

    // --- what a window would use to paint
    // Paints done so far: every visible change paints once while Redraw is on; while it is off the
    // change is remembered and painted once when Redraw comes back.
    uint64_t paintCount() const { return paintCount_; }
    bool paintPending() const { return dirty_; }
    // Column widths and row heights read so far. Layout keeps positions between changes, so a paint or
    // a query reads the sizes of what it shows, not of every row and column before it.
    uint64_t layoutReads() const { return layoutReads_; }
    // Whether a cell is inside the selection as it is highlighted (selection mode applied).
    bool isSelected(int32_t row, int32_t col) const;
    // The cell under a point in twips from the surface's corner; false when the point hits no cell.
    bool cellAt(float x, float y, int32_t& row, int32_t& col) const;

    // --- resizing by the user (AllowUserResizing)
    // In the fixed rows, a press within a few pixels of a column's right border drags that border; in
    // the fixed columns, the same for a row's bottom border. Sizes stop at a minimum that can still
    // be grabbed (and RowHeightMin); a double click on a column border fits the column to its texts.
    enum class Border { None, Column, Row };
    struct BorderHit {
        Border kind = Border::None;
        int32_t index = -1;
    };
    // The border a point (twips) lies on that the user may drag now.
    BorderHit borderAt(float x, float y) const;
    static constexpr int32_t kBorderGrip = 45;      // twips either side of a border (3 pixels)
    static constexpr int32_t kMinDraggedSize = 60;  // twips (4 pixels): a border that stays grabbable
    // The mouse pointer the grid shows now: a size pointer while the mouse is over a border it may
    // drag (or drags one), else MousePointer.
    int32_t pointerShown() const;
    // The width a column needs to show every text of it whole, with the cell margins.
    int32_t fittingWidth(int32_t col) const;

    // --- what a window showing the grid learns of changes
    // The cells whose texts changed since the window last asked (a range), or all of them.
    struct TextChanges {
        int32_t row0 = INT32_MAX, col0 = INT32_MAX, row1 = -1, col1 = -1;
        bool all = false;
        bool any() const { return all || row1 >= 0; }
    };
    TextChanges takeTextChanges() { return std::exchange(textChanges_, TextChanges{}); }

  protected:
    // The width of a cell's text in twips, in the cell's font. A window measures with its fonts; the
    // model without one estimates from the font size.
    virtual int32_t textWidth(int32_t row, int32_t col) const;

  public:
  private:
    // Per row, in display order. The texts of a row live in its slot of the cell store, so
    // moving or sorting rows moves only these small records; formats are keyed by slot and travel too.
    struct RowInfo {
        uint32_t slot;
        int32_t data;
        int32_t height;  // -1: the default height
    };

  public:
    // The attributes a cell owns; a bit in `own` says which fields hold a value.
    struct CellFormat {
        uint32_t own = 0;
        OleColor back = 0, fore = 0;
        int16_t alignment = 0, pictureAlignment = 0;
        int32_t textStyle = 0;
        PicturePtr picture;
        std::string fontName;
        float fontSize = 0, fontWidth = 0;
        bool bold = false, italic = false, underline = false, strikeThrough = false;
    };
    enum OwnBit : uint32_t {
        OwnBack = 0x1,
        OwnFore = 0x2,
        OwnAlignment = 0x4,
        OwnTextStyle = 0x8,
        OwnPicture = 0x10,
        OwnPictureAlignment = 0x20,
        OwnFontName = 0x40,
        OwnFontSize = 0x80,
        OwnFontWidth = 0x100,
        OwnBold = 0x200,
        OwnItalic = 0x400,
        OwnUnderline = 0x800,
        OwnStrikeThrough = 0x1000
    };
    // The formats a cell owns, read without moving the current cell; nullptr when it owns none.
    const CellFormat* cellFormat(int32_t row, int32_t col) const { return findFormat(row, col); }

  private:
    // The formatted cells of one slot, few per row.
    using RowFormats = std::vector<std::pair<int32_t, CellFormat>>;

    // storage
    // Whether rows x cols cells, the owner's strings and `formats` cell formats fit the budget.
    bool fits(int64_t rows, int64_t cols, int64_t formats) const;
    void checkRoomForFormats() const;  // before a format let: refuses one that would not fit whole
    uint32_t newSlot();
    void releaseSlot(uint32_t slot);
    void compactIfSparse();
    void resizeCols(int32_t newCols);
    std::string& cell(int32_t row, int32_t col) { return store_.slot(rows_[row].slot)[col]; }
    const std::string& cell(int32_t row, int32_t col) const { return store_.slot(rows_[row].slot)[col]; }
    const CellFormat* findFormat(int32_t row, int32_t col) const;
    CellFormat& formatFor(int32_t row, int32_t col);
    void dropFormat(int32_t row, int32_t col, uint32_t bit);
    // Range checks, inline because every cell access makes one; they raise out of line.
    void checkRow(int32_t row) const {
        if (uint32_t(row) >= rows_.size()) flexerr::raise(flexerr::InvalidRowValue);
    }
    void checkCol(int32_t col) const {
        if (uint32_t(col) >= uint32_t(cols_)) flexerr::raise(flexerr::InvalidColValue);
    }
    void checkCell(int32_t row, int32_t col) const {
        if (uint32_t(row) >= rows_.size() || uint32_t(col) >= uint32_t(cols_))
            flexerr::raise(flexerr::SubscriptOutOfRange);
    }
    void checkCurrent() const {
        checkRow(row_);
        checkCol(col_);
    }
    // Applies a format let to the current cell, or to the selection when FillStyle repeats it.
    template <class F>
    void forEachTarget(F&& apply);
    template <class T>
    void setLook(T& field, T v) {
        if (field != v) {
            field = v;
            invalidate();
        }
    }

    // current cell, selection and scrolling
    void moveTo(int32_t row, int32_t col, int32_t rowSel, int32_t colSel);
    void clampPositions();
    void scrollTo(int32_t top, int32_t left);
    void showCell(int32_t row, int32_t col);
    int32_t maxTopRow() const;
    int32_t maxLeftCol() const;
    int32_t pageRows() const;
    void invalidate() {
        if (redraw_)
            ++paintCount_;
        else
            dirty_ = true;
        changed();
    }
    // Record text changes only while a window watches the grid.
    void noteText(int32_t row, int32_t col) {
        if (!watched_) return;
        TextChanges& t = textChanges_;
        t.row0 = std::min(t.row0, row), t.col0 = std::min(t.col0, col);
        t.row1 = std::max(t.row1, row), t.col1 = std::max(t.col1, col);
    }
    void noteAllTexts() {
        if (watched_) textChanges_.all = true;
    }

    // layout
    int32_t defaultRowHeight() const;
    int32_t defaultColWidth() const;
    int32_t rowHeightAt(int32_t row) const;
    int32_t colWidthAt(int32_t col) const;
    bool uniformRows() const;
    const std::vector<int64_t>& rowPrefix() const;
    const std::vector<int64_t>& colPrefix() const;
    int64_t rowsSpan(int32_t from, int32_t to) const;  // total height of rows [from, to)
    int64_t colsSpan(int32_t from, int32_t to) const;  // total width of columns [from, to)
    int64_t fixedRowsHeight() const { return rowsSpan(0, fixedRows_); }
    int64_t fixedColsWidth() const { return colsSpan(0, fixedCols_); }
    int64_t widthTwips() const;  // the surface's size as whole twips, whatever the host gave
    int64_t heightTwips() const;
    void rowsChanged() { prefixValid_ = false; }
    void colsChanged() { colPrefixValid_ = false; }
    struct Band {
        int32_t index;
        int64_t from, to;
    };
    template <class Size>
    std::vector<Band> bandsInView(int32_t fixed, int32_t first, int32_t count, int64_t edge, Size&& size) const;
    int32_t rowAt(float y) const;  // -1 outside every row
    int32_t colAt(float x) const;
    void updateMouse(float x, float y);

    // input
    void selectFromUser(int32_t row, int32_t col, int32_t rowSel, int32_t colSel);
    void navigate(int16_t keyCode, int16_t shift);
    // resizing: starts, follows and ends a drag of a border; tracks the border under the mouse
    bool startResize(int16_t button, float x, float y);
    void followResize(float x, float y);
    void hoverAt(float x, float y);

    // sorting
    void sortRows(int16_t code);
    void applyOrder(int32_t first, const std::vector<int32_t>& order);

    int64_t cellBudget_;
    int64_t besidePerRow_ = 0, besideFixed_ = 0;  // the owner's strings (setCellsBeside)
    int64_t formattedCells_ = 0;                  // cells with a format of their own
    detail::CellStore store_;
    std::vector<RowInfo> rows_;
    std::vector<uint32_t> freeSlots_;
    // Indexed by slot; only as long as the last slot that ever held a format.
    std::vector<RowFormats> formats_;
    int32_t cols_ = 0;
    int32_t fixedRows_ = 0, fixedCols_ = 0;
    std::vector<int32_t> colWidth_, colAlignment_, fixedAlignment_, colData_;
    int32_t customHeights_ = 0;  // rows with a height of their own
    // Edges of the rows and columns from the first one, kept until a size or the default size changes.
    mutable std::vector<int64_t> prefix_, colPrefix_;
    mutable bool prefixValid_ = false, colPrefixValid_ = false;
    mutable int32_t prefixDefault_ = 0, colPrefixDefault_ = 0;
    mutable uint64_t layoutReads_ = 0;

    int32_t row_ = 0, col_ = 0, rowSel_ = 0, colSel_ = 0, topRow_ = 0, leftCol_ = 0;
    int32_t mouseRow_ = -1, mouseCol_ = -1;
    enum class Press { None, Cell, ColumnHead, RowHead, Resize };
    Press press_ = Press::None;  // what the held left button started selecting (or resizing)
    BorderHit resizing_;         // the border being dragged
    float resizeOrigin_ = 0;     // where the drag started (x or y)
    int32_t resizeFrom_ = 0;     // the size it started from
    BorderHit hover_;            // the draggable border under the mouse
    BorderHit lastPress_;        // the border the last press went down on (a double click fits it)
    TextChanges textChanges_;
    bool dragging_ = false;
    std::shared_ptr<Object> dragData_;

    bool redraw_ = true, dirty_ = false;
    uint64_t paintCount_ = 0;
    std::string formatString_;
    int32_t fillStyle_ = flex::FillSingle;
    int32_t rowHeightMin_ = 0;

    bool allowBigSelection_ = true;
    int32_t allowUserResizing_ = flex::ResizeNone;
    int32_t appearance_ = flex::Appearance3D;
    OleColor backColor_ = syscolor::WindowBackground;
    OleColor backColorBkg_ = rgb(128, 128, 128);
    OleColor backColorFixed_ = syscolor::ButtonFace;
    OleColor backColorSel_ = syscolor::Highlight;
    int32_t borderStyle_ = flex::BorderSingle;
    int32_t focusRect_ = flex::FocusLight;
    FontPtr font_;
    float fontWidth_ = 0;
    OleColor foreColor_ = syscolor::WindowText;
    OleColor foreColorFixed_ = syscolor::ButtonText;
    OleColor foreColorSel_ = syscolor::HighlightText;
    OleColor gridColor_ = rgb(192, 192, 192);
    OleColor gridColorFixed_ = 0;
    int32_t gridLines_ = flex::GridFlat;
    int32_t gridLinesFixed_ = flex::GridInset;
    int16_t gridLineWidth_ = 1;
    int32_t highLight_ = flex::HighlightAlways;
    PicturePtr mouseIcon_;
    int32_t mousePointer_ = flex::PointerDefault;
    int32_t oleDropMode_ = flex::DropNone;
    int32_t pictureType_ = flex::PictureColor;
    bool rightToLeft_ = false;
    int32_t scrollBars_ = flex::ScrollBoth;
    bool scrollTrack_ = false;
    int32_t selectionMode_ = flex::SelectionFree;
    int32_t textStyle_ = flex::TextFlat;
    int32_t textStyleFixed_ = flex::TextFlat;
    bool wordWrap_ = false;
    int32_t hWnd_;
};

template <class F>
void HeadlessFlexGrid::forEachTarget(F&& apply) {
    checkCurrent();
    if (fillStyle_ != flex::FillRepeat) {
        apply(row_, col_);
        return;
    }
    int32_t r0 = std::min(row_, rowSel_), r1 = std::max(row_, rowSel_);
    int32_t c0 = std::min(col_, colSel_), c1 = std::max(col_, colSel_);
    for (int32_t r = r0; r <= r1; ++r)
        for (int32_t c = c0; c <= c1; ++c) apply(r, c);
}

}  // namespace ax
