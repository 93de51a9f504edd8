// Layout of the headless grid surface: sizes, positions, visibility, scrolling and the snapshot.
// Positions are twips from the surface's own top-left corner: fixed rows and columns first, then the
// scrolled part starting at TopRow and LeftCol.
#include <algorithm>
#include <cmath>

#include "platform/flexgrid/flexgrid_errors.h"
#include "platform/flexgrid/headless_flexgrid.h"

namespace ax {

namespace {
constexpr int32_t kTwipsPerPixel = 15;
int32_t toLong(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
}  // namespace

// A text line of the font plus a few pixels of margin: 240 twips for the default 8.25-point font.
int32_t HeadlessFlexGrid::defaultRowHeight() const {
    float points = font_ ? font_->Size() : 8.25f;
    int32_t textPixels = int32_t(std::ceil(points * 96.0f / 72.0f * 1.15f));
    return (textPixels + 3) * kTwipsPerPixel;
}

// About eight average characters of the font.
int32_t HeadlessFlexGrid::defaultColWidth() const { return defaultRowHeight() * 4; }

int32_t HeadlessFlexGrid::rowHeightAt(int32_t row) const {
    int32_t h = rows_[row].height;
    if (h == 0) return 0;  // hidden on purpose
    if (h < 0) h = defaultRowHeight();
    return std::max(h, rowHeightMin_);
}

int32_t HeadlessFlexGrid::colWidthAt(int32_t col) const {
    int32_t w = colWidth_[col];
    return w < 0 ? defaultColWidth() : w;
}

bool HeadlessFlexGrid::uniformRows() const { return customHeights_ == 0; }

const std::vector<int64_t>& HeadlessFlexGrid::rowPrefix() const {
    if (!prefixValid_) {
        prefix_.resize(rows_.size() + 1);
        prefix_[0] = 0;
        for (size_t r = 0; r < rows_.size(); ++r) prefix_[r + 1] = prefix_[r] + rowHeightAt(int32_t(r));
        prefixValid_ = true;
    }
    return prefix_;
}

int64_t HeadlessFlexGrid::rowsSpan(int32_t from, int32_t to) const {
    if (to <= from) return 0;
    if (uniformRows()) return int64_t(to - from) * std::max(defaultRowHeight(), rowHeightMin_);
    const auto& p = rowPrefix();
    return p[to] - p[from];
}

int64_t HeadlessFlexGrid::fixedColsWidth() const {
    int64_t w = 0;
    for (int32_t c = 0; c < fixedCols_; ++c) w += colWidthAt(c);
    return w;
}

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
    invalidate();
}

void HeadlessFlexGrid::setRowHeightMin(int32_t v) {
    if (v < 0) flexerr::raise(flexerr::InvalidPropertyValue);
    rowHeightMin_ = v;
    rowsChanged();
    invalidate();
}

// --- positions and visibility --------------------------------------------------------------------------

int32_t HeadlessFlexGrid::RowPos(int32_t row) const {
    if (row < 0 || row >= Rows()) flexerr::raise(flexerr::SubscriptOutOfRange);
    if (row < fixedRows_) return toLong(rowsSpan(0, row));
    if (row >= topRow_) return toLong(fixedRowsHeight() + rowsSpan(topRow_, row));
    return toLong(fixedRowsHeight() - rowsSpan(row, topRow_));
}

int32_t HeadlessFlexGrid::ColPos(int32_t col) const {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    int64_t x = 0;
    if (col < fixedCols_) {
        for (int32_t c = 0; c < col; ++c) x += colWidthAt(c);
        return toLong(x);
    }
    x = fixedColsWidth();
    if (col >= leftCol_)
        for (int32_t c = leftCol_; c < col; ++c) x += colWidthAt(c);
    else
        for (int32_t c = col; c < leftCol_; ++c) x -= colWidthAt(c);
    return toLong(x);
}

// A row is visible when some of it lies inside the surface: it is not hidden, not scrolled off above,
// and starts above the bottom edge.
bool HeadlessFlexGrid::RowIsVisible(int32_t row) const {
    if (row < 0 || row >= Rows()) flexerr::raise(flexerr::SubscriptOutOfRange);
    if (rowHeightAt(row) <= 0) return false;
    if (row >= fixedRows_ && row < topRow_) return false;
    return RowPos(row) < Height();
}

bool HeadlessFlexGrid::ColIsVisible(int32_t col) const {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    if (colWidthAt(col) <= 0) return false;
    if (col >= fixedCols_ && col < leftCol_) return false;
    return ColPos(col) < Width();
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

int32_t HeadlessFlexGrid::rowAt(float y) const {
    if (y < 0 || y >= Height()) return -1;
    int64_t top = 0;
    for (int32_t r = 0; r < fixedRows_; ++r) {
        int32_t h = rowHeightAt(r);
        if (y < top + h) return h > 0 ? r : -1;
        top += h;
    }
    double inside = double(y) - double(top);
    int32_t rows = Rows();
    if (topRow_ >= rows) return -1;
    int32_t r;
    if (uniformRows()) {
        int32_t h = std::max(defaultRowHeight(), rowHeightMin_);
        if (h <= 0) return -1;
        r = topRow_ + int32_t(inside / h);
    } else {
        // The first row whose end lies beyond the point.
        const auto& p = rowPrefix();
        double target = double(p[topRow_]) + inside;
        auto it = std::upper_bound(p.begin() + topRow_ + 1, p.end(), int64_t(std::floor(target)));
        r = int32_t(it - p.begin()) - 1;
    }
    return r < rows ? r : -1;
}

int32_t HeadlessFlexGrid::colAt(float x) const {
    if (x < 0 || x >= Width()) return -1;
    int64_t left = 0;
    for (int32_t c = 0; c < fixedCols_; ++c) {
        int32_t w = colWidthAt(c);
        if (x < left + w) return w > 0 ? c : -1;
        left += w;
    }
    for (int32_t c = leftCol_; c < cols_ && left <= x; ++c) {
        int32_t w = colWidthAt(c);
        if (x < left + w) return c;
        left += w;
    }
    return -1;
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
    int64_t room = int64_t(Height()) - fixedRowsHeight();
    if (uniformRows()) {
        int32_t h = std::max(defaultRowHeight(), rowHeightMin_);
        int64_t fit = h > 0 ? std::max<int64_t>(room / h, 1) : 1;
        return int32_t(std::max<int64_t>(fixedRows_, rows - fit));
    }
    // Walk back over the rows that fit; this is called after every row change, so it must not
    // rebuild the positions of the whole grid.
    int32_t t = rows;
    int64_t used = 0;
    while (t - 1 >= fixedRows_ && used + rowHeightAt(t - 1) <= room) used += rowHeightAt(--t);
    return std::min(t, rows - 1);
}

int32_t HeadlessFlexGrid::maxLeftCol() const {
    if (cols_ <= fixedCols_) return fixedCols_;
    int64_t room = int64_t(Width()) - fixedColsWidth(), used = 0;
    int32_t c = cols_ - 1;
    used = colWidthAt(c);
    while (c - 1 >= fixedCols_ && used + colWidthAt(c - 1) <= room) used += colWidthAt(--c);
    return c;
}

// Scrollable rows shown whole from TopRow; a page moves by this many, and by at least one.
int32_t HeadlessFlexGrid::pageRows() const {
    int64_t room = int64_t(Height()) - fixedRowsHeight();
    int32_t n = 0;
    if (uniformRows()) {
        int32_t h = std::max(defaultRowHeight(), rowHeightMin_);
        n = h > 0 ? int32_t(std::min<int64_t>(room / h, Rows() - topRow_)) : 0;
    } else {
        for (int32_t r = topRow_; r < Rows() && rowsSpan(topRow_, r + 1) <= room; ++r) ++n;
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
        int64_t room = int64_t(Height()) - fixedRowsHeight();
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
        int64_t room = int64_t(Width()) - fixedColsWidth();
        if (col < left) {
            left = col;
        } else {
            int64_t span = 0;
            for (int32_t c = left; c <= col; ++c) span += colWidthAt(c);
            while (left < col && span > room) span -= colWidthAt(left++);
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

// The grid as it would be drawn: cell backgrounds (fixed, selected, own colour) and grid lines, at one
// pixel per 15 twips. Texts are left to a real window.
PicturePtr HeadlessFlexGrid::Picture() const {
    int w = std::clamp(int(Width()) / kTwipsPerPixel, 1, 4096),
        h = std::clamp(int(Height()) / kTwipsPerPixel, 1, 4096);
    auto px = [](OleColor c) { return resolveColor(c) | 0xFF000000u; };
    std::vector<uint32_t> image(size_t(w) * size_t(h), px(backColorBkg_));
    auto fill = [&](int x0, int y0, int x1, int y1, uint32_t colour) {
        for (int y = std::max(y0, 0); y < std::min(y1, h); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, w); ++x) image[size_t(y) * w + x] = colour;
    };
    for (int32_t r = 0; r < Rows(); ++r) {
        if (r >= fixedRows_ && r < topRow_) continue;
        if (rowHeightAt(r) == 0) continue;
        if (RowPos(r) >= Height()) {
            if (r >= fixedRows_) break;  // every later row is further down
            continue;
        }
        int y0 = RowPos(r) / kTwipsPerPixel, y1 = (RowPos(r) + rowHeightAt(r)) / kTwipsPerPixel;
        for (int32_t c = 0; c < cols_; ++c) {
            if (!ColIsVisible(c)) continue;
            int x0 = ColPos(c) / kTwipsPerPixel, x1 = (ColPos(c) + colWidthAt(c)) / kTwipsPerPixel;
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
