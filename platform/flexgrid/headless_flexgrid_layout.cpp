// Layout of the headless grid surface: sizes, positions, visibility, scrolling and the snapshot.
// Positions are twips from the surface's own top-left corner: fixed rows and columns first, then the
// scrolled part starting at TopRow and LeftCol.
#include <algorithm>
#include <cmath>

#include "platform/automation/convert.h"
#include "platform/flexgrid/flexgrid_errors.h"
#include "platform/flexgrid/headless_flexgrid.h"

namespace ax {

namespace {
constexpr int32_t kTwipsPerPixel = 15;
int32_t toLong(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
}  // namespace

// A text line of the font plus a few pixels of margin: 240 twips for the default 8.25-point font.
int32_t HeadlessFlexGrid::defaultRowHeight() const {
    const double points = font_ ? font_->Size() : 8.25;
    const double twips = (std::ceil(points * 96.0 / 72.0 * 1.15) + 3) * kTwipsPerPixel;
    // A font of absurd size still gives a height that a column width (four of them) can hold.
    return std::min(clampToLong(twips), INT32_MAX / 4);
}

// About eight average characters of the font.
int32_t HeadlessFlexGrid::defaultColWidth() const { return defaultRowHeight() * 4; }

int32_t HeadlessFlexGrid::rowHeightAt(int32_t row) const {
    ++layoutReads_;
    int32_t h = rows_[row].height;
    if (h == 0) return 0;  // hidden on purpose
    if (h < 0) h = defaultRowHeight();
    return std::max(h, rowHeightMin_);
}

int32_t HeadlessFlexGrid::colWidthAt(int32_t col) const {
    ++layoutReads_;
    int32_t w = colWidth_[col];
    return w < 0 ? defaultColWidth() : w;
}

bool HeadlessFlexGrid::uniformRows() const { return customHeights_ == 0; }

// The positions are kept until a size changes; the font's size is checked at every use, since the
// font object is shared and may change under the grid.
const std::vector<int64_t>& HeadlessFlexGrid::rowPrefix() const {
    const int32_t height = defaultRowHeight();
    if (!prefixValid_ || prefixDefault_ != height) {
        prefix_.resize(rows_.size() + 1);
        prefix_[0] = 0;
        for (size_t r = 0; r < rows_.size(); ++r) prefix_[r + 1] = prefix_[r] + rowHeightAt(int32_t(r));
        prefixValid_ = true;
        prefixDefault_ = height;
    }
    return prefix_;
}

const std::vector<int64_t>& HeadlessFlexGrid::colPrefix() const {
    const int32_t width = defaultColWidth();
    if (!colPrefixValid_ || colPrefixDefault_ != width) {
        colPrefix_.resize(size_t(cols_) + 1);
        colPrefix_[0] = 0;
        for (int32_t c = 0; c < cols_; ++c) colPrefix_[size_t(c) + 1] = colPrefix_[size_t(c)] + colWidthAt(c);
        colPrefixValid_ = true;
        colPrefixDefault_ = width;
    }
    return colPrefix_;
}

int64_t HeadlessFlexGrid::rowsSpan(int32_t from, int32_t to) const {
    if (to <= from) return 0;
    if (uniformRows()) return int64_t(to - from) * std::max(defaultRowHeight(), rowHeightMin_);
    const auto& p = rowPrefix();
    return p[to] - p[from];
}

int64_t HeadlessFlexGrid::colsSpan(int32_t from, int32_t to) const {
    if (to <= from) return 0;
    const auto& p = colPrefix();
    return p[size_t(to)] - p[size_t(from)];
}

int64_t HeadlessFlexGrid::widthTwips() const { return clampToLong(Width()); }
int64_t HeadlessFlexGrid::heightTwips() const { return clampToLong(Height()); }

// --- sizes ---------------------------------------------------------------------------------------------

int32_t HeadlessFlexGrid::RowHeight(int32_t row) const {
    if (row < 0 || row >= Rows()) flexerr::raise(flexerr::SubscriptOutOfRange);
    return rowHeightAt(row);
}

void HeadlessFlexGrid::setRowHeight(int32_t row, int32_t v) {
    if (row < 0 || row >= Rows()) flexerr::raise(flexerr::SubscriptOutOfRange);
    if (v < -1) flexerr::raise(flexerr::InvalidPropertyValue);
    int32_t& h = rows_[row].height;
    customHeights_ += (v >= 0) - (h >= 0);
    h = v;
    rowsChanged();
    invalidate();
}

int32_t HeadlessFlexGrid::ColWidth(int32_t col) const {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    return colWidthAt(col);
}

void HeadlessFlexGrid::setColWidth(int32_t col, int32_t v) {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    if (v < -1) flexerr::raise(flexerr::InvalidPropertyValue);
    colWidth_[col] = v;
    colsChanged();
    invalidate();
}

void HeadlessFlexGrid::setRowHeightMin(int32_t v) {
    if (v < 0) flexerr::raise(flexerr::InvalidPropertyValue);
    rowHeightMin_ = v;
    rowsChanged();
    invalidate();
}

// --- positions and visibility --------------------------------------------------------------------------
// Every query below reads the kept positions, so none walks the rows or columns between two cells.

int32_t HeadlessFlexGrid::RowPos(int32_t row) const {
    if (row < 0 || row >= Rows()) flexerr::raise(flexerr::SubscriptOutOfRange);
    if (row < fixedRows_) return toLong(rowsSpan(0, row));
    if (row >= topRow_) return toLong(fixedRowsHeight() + rowsSpan(topRow_, row));
    return toLong(fixedRowsHeight() - rowsSpan(row, topRow_));
}

int32_t HeadlessFlexGrid::ColPos(int32_t col) const {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    if (col < fixedCols_) return toLong(colsSpan(0, col));
    if (col >= leftCol_) return toLong(fixedColsWidth() + colsSpan(leftCol_, col));
    return toLong(fixedColsWidth() - colsSpan(col, leftCol_));
}

// A row is visible when some of it lies inside the surface: it is not hidden, not scrolled off above,
// and starts above the bottom edge.
bool HeadlessFlexGrid::RowIsVisible(int32_t row) const {
    if (row < 0 || row >= Rows()) flexerr::raise(flexerr::SubscriptOutOfRange);
    if (rowHeightAt(row) <= 0) return false;
    if (row >= fixedRows_ && row < topRow_) return false;
    return RowPos(row) < heightTwips();
}

bool HeadlessFlexGrid::ColIsVisible(int32_t col) const {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    if (colWidthAt(col) <= 0) return false;
    if (col >= fixedCols_ && col < leftCol_) return false;
    return ColPos(col) < widthTwips();
}

int32_t HeadlessFlexGrid::CellLeft() const {
    checkCurrent();
    return ColPos(col_);
}
int32_t HeadlessFlexGrid::CellTop() const {
    checkCurrent();
    return RowPos(row_);
}
int32_t HeadlessFlexGrid::CellWidth() const {
    checkCurrent();
    return colWidthAt(col_);
}
int32_t HeadlessFlexGrid::CellHeight() const {
    checkCurrent();
    return rowHeightAt(row_);
}

// --- hit test ------------------------------------------------------------------------------------------

namespace {
// The index i in [from, to) whose span [p[i], p[i+1]) holds `at`, or -1. Empty spans hold nothing.
int32_t spanHolding(const std::vector<int64_t>& p, int32_t from, int32_t to, double at) {
    if (from >= to || at < double(p[size_t(from)])) return -1;
    auto it = std::upper_bound(p.begin() + from + 1, p.begin() + to + 1, at,
                               [](double v, int64_t edge) { return v < double(edge); });
    return it == p.begin() + to + 1 ? -1 : int32_t(it - p.begin()) - 1;
}
}  // namespace

int32_t HeadlessFlexGrid::rowAt(float y) const {
    if (!(y >= 0 && y < Height())) return -1;  // NaN too
    const int32_t rows = Rows();
    const int64_t fixedHeight = fixedRowsHeight();
    const bool inFixed = y < fixedHeight;
    const int32_t from = inFixed ? 0 : topRow_, to = inFixed ? fixedRows_ : rows;
    if (from >= to) return -1;
    // The point as a distance from the top of row 0, had nothing scrolled.
    const double at = inFixed ? double(y) : double(y) - double(fixedHeight) + double(rowsSpan(0, topRow_));
    if (uniformRows()) {
        const int32_t h = std::max(defaultRowHeight(), rowHeightMin_);
        if (h <= 0) return -1;
        const double r = std::floor(at / h);
        return r >= from && r < to ? int32_t(r) : -1;
    }
    return spanHolding(rowPrefix(), from, to, at);
}

int32_t HeadlessFlexGrid::colAt(float x) const {
    if (!(x >= 0 && x < Width())) return -1;
    const int64_t fixedWidth = fixedColsWidth();
    if (x < fixedWidth) return spanHolding(colPrefix(), 0, fixedCols_, x);
    return spanHolding(colPrefix(), leftCol_, cols_, double(x) - double(fixedWidth) + double(colsSpan(0, leftCol_)));
}

bool HeadlessFlexGrid::cellAt(float x, float y, int32_t& row, int32_t& col) const {
    row = rowAt(y);
    col = colAt(x);
    return row >= 0 && col >= 0;
}

void HeadlessFlexGrid::updateMouse(float x, float y) {
    mouseRow_ = rowAt(y);
    mouseCol_ = colAt(x);
}

// --- scrolling -----------------------------------------------------------------------------------------

// The last TopRow that still leaves the surface filled: the rows from it to the end just fit.
int32_t HeadlessFlexGrid::maxTopRow() const {
    int32_t rows = Rows();
    if (rows <= fixedRows_) return fixedRows_;
    int64_t room = heightTwips() - fixedRowsHeight();
    if (uniformRows()) {
        int32_t h = std::max(defaultRowHeight(), rowHeightMin_);
        int64_t fit = h > 0 ? std::max<int64_t>(room / h, 1) : 1;
        return int32_t(std::max<int64_t>(fixedRows_, rows - fit));
    }
    // Walk back over the rows that fit; this is called after every row change, so it must not
    // rebuild the positions of the whole grid.
    int32_t t = rows;
    int64_t used = 0;
    while (t - 1 >= fixedRows_) {
        const int32_t h = rowHeightAt(t - 1);
        if (used + h > room) break;
        used += h;
        --t;
    }
    return std::min(t, rows - 1);
}

int32_t HeadlessFlexGrid::maxLeftCol() const {
    if (cols_ <= fixedCols_) return fixedCols_;
    // The first column from which the rest fit the room; the last column shows even when it alone
    // is wider.
    const auto& p = colPrefix();
    const int64_t room = widthTwips() - fixedColsWidth();
    const int64_t from = p[size_t(cols_)] - room;
    auto it = std::lower_bound(p.begin() + fixedCols_, p.begin() + cols_, from);
    return std::min(int32_t(it - p.begin()), cols_ - 1);
}

// Scrollable rows shown whole from TopRow; a page moves by this many, and by at least one.
int32_t HeadlessFlexGrid::pageRows() const {
    int64_t room = heightTwips() - fixedRowsHeight();
    int32_t n = 0;
    if (uniformRows()) {
        int32_t h = std::max(defaultRowHeight(), rowHeightMin_);
        n = h > 0 ? int32_t(std::min<int64_t>(room / h, Rows() - topRow_)) : 0;
    } else {
        const auto& p = rowPrefix();
        auto end = std::upper_bound(p.begin() + topRow_, p.end(), p[size_t(topRow_)] + room);
        n = int32_t(end - p.begin()) - 1 - topRow_;
    }
    return std::max(n, 1);
}

void HeadlessFlexGrid::scrollTo(int32_t top, int32_t left) {
    top = std::clamp(top, fixedRows_, std::max(fixedRows_, maxTopRow()));
    left = std::clamp(left, fixedCols_, std::max(fixedCols_, maxLeftCol()));
    if (top == topRow_ && left == leftCol_) return;
    topRow_ = top;
    leftCol_ = left;
    invalidate();
    fire(onScroll);
}

// Scrolls as little as needed for the whole cell to show (or its start, when it is bigger than the room).
void HeadlessFlexGrid::showCell(int32_t row, int32_t col) {
    int32_t top = topRow_, left = leftCol_;
    if (row >= fixedRows_ && row < Rows()) {
        int64_t room = heightTwips() - fixedRowsHeight();
        if (row < top) {
            top = row;
        } else if (rowsSpan(top, row + 1) > room) {
            if (uniformRows()) {
                int32_t h = std::max(defaultRowHeight(), rowHeightMin_);
                int64_t fit = h > 0 ? std::max<int64_t>(room / h, 1) : 1;
                top = int32_t(std::max<int64_t>(top, row - fit + 1));
            } else {
                const auto& p = rowPrefix();
                auto it = std::lower_bound(p.begin() + top, p.begin() + row + 1, p[row + 1] - room);
                top = std::min(int32_t(it - p.begin()), row);
            }
        }
    }
    if (col >= fixedCols_ && col < cols_) {
        int64_t room = widthTwips() - fixedColsWidth();
        if (col < left) {
            left = col;
        } else if (colsSpan(left, col + 1) > room) {
            const auto& p = colPrefix();
            auto it = std::lower_bound(p.begin() + left, p.begin() + col + 1, p[size_t(col) + 1] - room);
            left = std::min(int32_t(it - p.begin()), col);
        }
    }
    scrollTo(top, left);
}

void HeadlessFlexGrid::setTopRow(int32_t v) {
    checkRow(v);
    scrollTo(v, leftCol_);
}

void HeadlessFlexGrid::setLeftCol(int32_t v) {
    checkCol(v);
    scrollTo(topRow_, v);
}

// --- snapshot ------------------------------------------------------------------------------------------

// The rows (or columns) in view with their edges in twips: the fixed ones, then the scrolled ones from
// the first in view, up to the far edge. `size` gives one's height (width); hidden ones are left out.
template <class Size>
std::vector<HeadlessFlexGrid::Band> HeadlessFlexGrid::bandsInView(int32_t fixed, int32_t first, int32_t count,
                                                                  int64_t edge, Size&& size) const {
    std::vector<Band> bands;
    int64_t at = 0;
    auto add = [&](int32_t i) {
        const int32_t extent = size(i);
        if (extent > 0) bands.push_back({i, at, at + extent});
        at += extent;
        return at < edge;
    };
    bool more = true;
    for (int32_t i = 0; i < std::min(fixed, count) && more; ++i) more = add(i);
    for (int32_t i = std::max(first, fixed); i < count && more; ++i) more = add(i);
    return bands;
}

// The grid as it would be drawn: cell backgrounds (fixed, selected, own colour) and grid lines, at one
// pixel per 15 twips. Texts are left to a real window.
PicturePtr HeadlessFlexGrid::Picture() const {
    const int w = int(std::clamp<int64_t>(widthTwips() / kTwipsPerPixel, 1, 4096)),
              h = int(std::clamp<int64_t>(heightTwips() / kTwipsPerPixel, 1, 4096));
    auto px = [](OleColor c) { return resolveColor(c) | 0xFF000000u; };
    std::vector<uint32_t> image(size_t(w) * size_t(h), px(backColorBkg_));
    auto fill = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t colour) {
        for (int64_t y = std::max<int64_t>(y0, 0); y < std::min<int64_t>(y1, h); ++y)
            for (int64_t x = std::max<int64_t>(x0, 0); x < std::min<int64_t>(x1, w); ++x)
                image[size_t(y) * size_t(w) + size_t(x)] = colour;
    };
    const int64_t edgeX = int64_t(w) * kTwipsPerPixel, edgeY = int64_t(h) * kTwipsPerPixel;
    const auto rows = bandsInView(fixedRows_, topRow_, Rows(), edgeY, [&](int32_t r) { return rowHeightAt(r); });
    const auto cols = bandsInView(fixedCols_, leftCol_, cols_, edgeX, [&](int32_t c) { return colWidthAt(c); });
    for (const Band& row : rows) {
        const int32_t r = row.index;
        const int64_t y0 = row.from / kTwipsPerPixel, y1 = row.to / kTwipsPerPixel;
        for (const Band& col : cols) {
            const int32_t c = col.index;
            const int64_t x0 = col.from / kTwipsPerPixel, x1 = col.to / kTwipsPerPixel;
            bool fixed = r < fixedRows_ || c < fixedCols_;
            OleColor back = backColor_;
            if (fixed)
                back = backColorFixed_;
            else if (highLight_ != flex::HighlightNever && isSelected(r, c) && !(r == row_ && c == col_))
                back = backColorSel_;
            else if (const CellFormat* f = findFormat(r, c); f && (f->own & OwnBack))
                back = f->back;
            fill(x0, y0, x1, y1, px(back));
            int32_t lines = fixed ? gridLinesFixed_ : gridLines_;
            if (lines != flex::GridNone) {
                uint32_t line = px(fixed ? gridColorFixed_ : gridColor_);
                fill(x1 - gridLineWidth_, y0, x1, y1, line);
                fill(x0, y1 - gridLineWidth_, x1, y1, line);
            }
        }
    }
    return std::make_shared<ax::Picture>(w, h, std::move(image), ax::Picture::Kind::Bitmap);
}

}  // namespace ax
