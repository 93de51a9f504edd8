// Resizing rows and columns with the mouse, as AllowUserResizing allows: the border under a point,
// the drag that moves it, the pointer shown over it, and a double click that fits a column to its texts.
#include <cmath>

#include "platform/flexgrid/headless_flexgrid.h"

namespace ax {

namespace {
constexpr int32_t kTwipsPerPixel = 15;
constexpr int32_t kPointerSizeNS = 7, kPointerSizeWE = 9;  // the desktop's size pointers
constexpr int32_t kCellMargins = 8 * kTwipsPerPixel;       // what a cell leaves around its text

size_t characters(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}
}  // namespace

HeadlessFlexGrid::BorderHit HeadlessFlexGrid::borderAt(float x, float y) const {
    if (!Enabled() || x < 0 || y < 0 || x >= Width() || y >= Height()) return {};
    const bool columns = allowUserResizing_ & flex::ResizeColumns,
               rows = allowUserResizing_ & flex::ResizeRows;
    // Column borders are grabbed in the fixed rows, row borders in the fixed columns; the walks stop
    // at the point, so they cost only the columns (rows) in view before it.
    if (columns && fixedRows_ > 0 && y < fixedRowsHeight()) {
        int64_t edge = 0;
        BorderHit hit;
        auto near = [&](int32_t c) {
            edge += colWidthAt(c);
            if (std::abs(double(x) - double(edge)) <= kBorderGrip) hit = {Border::Column, c};
            return edge <= int64_t(x) + kBorderGrip;
        };
        bool more = true;
        for (int32_t c = 0; c < fixedCols_ && more; ++c) more = near(c);
        for (int32_t c = std::max(leftCol_, fixedCols_); c < cols_ && more; ++c) more = near(c);
        if (hit.kind != Border::None) return hit;
    }
    if (rows && fixedCols_ > 0 && x < fixedColsWidth()) {
        int64_t edge = 0;
        BorderHit hit;
        auto near = [&](int32_t r) {
            edge += rowHeightAt(r);
            if (std::abs(double(y) - double(edge)) <= kBorderGrip) hit = {Border::Row, r};
            return edge <= int64_t(y) + kBorderGrip;
        };
        bool more = true;
        for (int32_t r = 0; r < fixedRows_ && more; ++r) more = near(r);
        for (int32_t r = std::max(topRow_, fixedRows_); r < Rows() && more; ++r) more = near(r);
        if (hit.kind != Border::None) return hit;
    }
    return {};
}

int32_t HeadlessFlexGrid::pointerShown() const {
    const Border b = press_ == Press::Resize ? resizing_.kind : hover_.kind;
    if (b == Border::Column) return kPointerSizeWE;
    if (b == Border::Row) return kPointerSizeNS;
    return mousePointer_;
}

void HeadlessFlexGrid::hoverAt(float x, float y) {
    const BorderHit now = borderAt(x, y);
    if (now.kind == hover_.kind && now.index == hover_.index) return;
    hover_ = now;
    changed();
}

bool HeadlessFlexGrid::startResize(int16_t button, float x, float y) {
    lastPress_ = borderAt(x, y);
    if (!(button & 1) || lastPress_.kind == Border::None) return false;
    press_ = Press::Resize;
    resizing_ = lastPress_;
    resizeOrigin_ = lastPress_.kind == Border::Column ? x : y;
    resizeFrom_ =
        lastPress_.kind == Border::Column ? colWidthAt(lastPress_.index) : rowHeightAt(lastPress_.index);
    changed();
    return true;
}

void HeadlessFlexGrid::followResize(float x, float y) {
    const bool column = resizing_.kind == Border::Column;
    const double moved = (column ? x : y) - resizeOrigin_;
    const int32_t least = column ? kMinDraggedSize : std::max(kMinDraggedSize, rowHeightMin_);
    const auto size = int32_t(std::max<double>(least, std::round(resizeFrom_ + moved)));
    if (column) {
        if (size != colWidthAt(resizing_.index)) setColWidth(resizing_.index, size);
    } else if (size != rowHeightAt(resizing_.index)) {
        setRowHeight(resizing_.index, size);
    }
}

int32_t HeadlessFlexGrid::textWidth(int32_t row, int32_t col) const {
    const std::string& text = cell(row, col);
    if (text.empty()) return 0;
    float points = font_ ? font_->Size() : 8.25f;
    if (const CellFormat* f = findFormat(row, col); f && (f->own & OwnFontSize)) points = f->fontSize;
    // About half an em a character, as the headings of FormatString are sized.
    const int32_t charTwips = int32_t(std::ceil(points * 96.0f / 72.0f * 0.5f)) * kTwipsPerPixel;
    return int32_t(std::min<int64_t>(int64_t(characters(text)) * charTwips, INT32_MAX / 2));
}

int32_t HeadlessFlexGrid::fittingWidth(int32_t col) const {
    checkCol(col);
    int32_t widest = 0;
    for (int32_t r = 0; r < Rows(); ++r) {
        int32_t w = textWidth(r, col);
        if (const CellFormat* f = findFormat(r, col); f && (f->own & OwnPicture) && hasPicture(f->picture))
            w += f->picture->Width() * kTwipsPerPixel;
        widest = std::max(widest, w);
    }
    return std::max(kMinDraggedSize, widest + kCellMargins);
}

}  // namespace ax
