// Cell formats, appearance properties, FormatString and painting control of the headless grid surface.
#include <cmath>

#include "platform/automation/convert.h"
#include "platform/flexgrid/flexgrid_errors.h"
#include "platform/flexgrid/headless_flexgrid.h"

namespace ax {

namespace {
void checkRange(int32_t v, int32_t lo, int32_t hi) {
    if (v < lo || v > hi) flexerr::raise(flexerr::InvalidPropertyValue);
}
bool hasOwn(const void* f, uint32_t own, uint32_t bit) { return f && (own & bit); }
}  // namespace

// --- formats of the current cell -----------------------------------------------------------------------

#define VN_CELL_GET(field, bit, fallback)         \
    checkCurrent();                               \
    const CellFormat* f = findFormat(row_, col_); \
    return hasOwn(f, f ? f->own : 0, bit) ? f->field : (fallback)

#define VN_CELL_SET(field, bit, value)        \
    checkRoomForFormats();                    \
    forEachTarget([&](int32_t r, int32_t c) { \
        CellFormat& f = formatFor(r, c);      \
        f.field = value;                      \
        f.own |= bit;                         \
    });                                       \
    invalidate()

OleColor HeadlessFlexGrid::CellBackColor() const { VN_CELL_GET(back, OwnBack, 0); }
OleColor HeadlessFlexGrid::CellForeColor() const { VN_CELL_GET(fore, OwnFore, 0); }

// A colour of 0 gives the cell back to the grid's colour, which is what reading 0 means.
void HeadlessFlexGrid::setCellBackColor(OleColor v) {
    if (v == 0) {
        forEachTarget([&](int32_t r, int32_t c) { dropFormat(r, c, OwnBack); });
        invalidate();
        return;
    }
    VN_CELL_SET(back, OwnBack, v);
}

void HeadlessFlexGrid::setCellForeColor(OleColor v) {
    if (v == 0) {
        forEachTarget([&](int32_t r, int32_t c) { dropFormat(r, c, OwnFore); });
        invalidate();
        return;
    }
    VN_CELL_SET(fore, OwnFore, v);
}

int16_t HeadlessFlexGrid::CellAlignment() const {
    bool fixed = row_ < fixedRows_ || col_ < fixedCols_;
    VN_CELL_GET(alignment, OwnAlignment,
                int16_t(fixed ? fixedAlignment_[size_t(col_)] : colAlignment_[size_t(col_)]));
}

void HeadlessFlexGrid::setCellAlignment(int16_t v) {
    checkRange(v, flex::AlignLeftTop, flex::AlignGeneral);
    VN_CELL_SET(alignment, OwnAlignment, v);
}

int32_t HeadlessFlexGrid::CellTextStyle() const {
    bool fixed = row_ < fixedRows_ || col_ < fixedCols_;
    VN_CELL_GET(textStyle, OwnTextStyle, fixed ? textStyleFixed_ : textStyle_);
}

void HeadlessFlexGrid::setCellTextStyle(int32_t v) {
    checkRange(v, flex::TextFlat, flex::TextInsetLight);
    VN_CELL_SET(textStyle, OwnTextStyle, v);
}

// A cell without a picture answers one shared empty picture: reads of whole columns make no objects.
PicturePtr HeadlessFlexGrid::CellPicture() const {
    static const PicturePtr none = emptyPicture();
    VN_CELL_GET(picture, OwnPicture, none);
}

void HeadlessFlexGrid::setCellPicture(PicturePtr p) {
    if (!hasPicture(p)) {
        forEachTarget([&](int32_t r, int32_t c) { dropFormat(r, c, OwnPicture); });
        invalidate();
        return;
    }
    VN_CELL_SET(picture, OwnPicture, p);
}

int16_t HeadlessFlexGrid::CellPictureAlignment() const {
    VN_CELL_GET(pictureAlignment, OwnPictureAlignment, int16_t(flex::AlignLeftCenter));
}

void HeadlessFlexGrid::setCellPictureAlignment(int16_t v) {
    checkRange(v, flex::AlignLeftTop, flex::PictureTile);
    VN_CELL_SET(pictureAlignment, OwnPictureAlignment, v);
}

std::string HeadlessFlexGrid::CellFontName() const { VN_CELL_GET(fontName, OwnFontName, font_->Name()); }
void HeadlessFlexGrid::setCellFontName(const std::string& v) {
    if (v.empty()) flexerr::raise(flexerr::InvalidPropertyValue);
    VN_CELL_SET(fontName, OwnFontName, v);
}

float HeadlessFlexGrid::CellFontSize() const { VN_CELL_GET(fontSize, OwnFontSize, font_->Size()); }
void HeadlessFlexGrid::setCellFontSize(float v) {
    if (!(v > 0 && v <= 2048)) flexerr::raise(flexerr::InvalidPropertyValue);
    VN_CELL_SET(fontSize, OwnFontSize, v);
}

float HeadlessFlexGrid::CellFontWidth() const { VN_CELL_GET(fontWidth, OwnFontWidth, fontWidth_); }
void HeadlessFlexGrid::setCellFontWidth(float v) {
    if (!(v >= 0 && v <= 2048)) flexerr::raise(flexerr::InvalidPropertyValue);
    VN_CELL_SET(fontWidth, OwnFontWidth, v);
}

bool HeadlessFlexGrid::CellFontBold() const { VN_CELL_GET(bold, OwnBold, font_->Bold()); }
void HeadlessFlexGrid::setCellFontBold(bool v) { VN_CELL_SET(bold, OwnBold, v); }
bool HeadlessFlexGrid::CellFontItalic() const { VN_CELL_GET(italic, OwnItalic, font_->Italic()); }
void HeadlessFlexGrid::setCellFontItalic(bool v) { VN_CELL_SET(italic, OwnItalic, v); }
bool HeadlessFlexGrid::CellFontUnderline() const { VN_CELL_GET(underline, OwnUnderline, font_->Underline()); }
void HeadlessFlexGrid::setCellFontUnderline(bool v) { VN_CELL_SET(underline, OwnUnderline, v); }
bool HeadlessFlexGrid::CellFontStrikeThrough() const {
    VN_CELL_GET(strikeThrough, OwnStrikeThrough, font_->Strikethrough());
}
void HeadlessFlexGrid::setCellFontStrikeThrough(bool v) { VN_CELL_SET(strikeThrough, OwnStrikeThrough, v); }

#undef VN_CELL_GET
#undef VN_CELL_SET

void HeadlessFlexGrid::setFillStyle(int32_t v) {
    checkRange(v, flex::FillSingle, flex::FillRepeat);
    fillStyle_ = v;
}

// --- appearance ----------------------------------------------------------------------------------------

void HeadlessFlexGrid::setAllowUserResizing(int32_t v) {
    checkRange(v, flex::ResizeNone, flex::ResizeBoth);
    allowUserResizing_ = v;
}
void HeadlessFlexGrid::setAppearance(int32_t v) {
    checkRange(v, flex::AppearanceFlat, flex::Appearance3D);
    setLook(appearance_, v);
}
void HeadlessFlexGrid::setBorderStyle(int32_t v) {
    checkRange(v, flex::BorderNone, flex::BorderSingle);
    setLook(borderStyle_, v);
}
void HeadlessFlexGrid::setFocusRect(int32_t v) {
    checkRange(v, flex::FocusNone, flex::FocusHeavy);
    setLook(focusRect_, v);
}
void HeadlessFlexGrid::setGridLines(int32_t v) {
    checkRange(v, flex::GridNone, flex::GridRaised);
    setLook(gridLines_, v);
}
void HeadlessFlexGrid::setGridLinesFixed(int32_t v) {
    checkRange(v, flex::GridNone, flex::GridRaised);
    setLook(gridLinesFixed_, v);
}
void HeadlessFlexGrid::setGridLineWidth(int16_t v) {
    checkRange(v, 1, 10);
    setLook(gridLineWidth_, v);
}
void HeadlessFlexGrid::setHighLight(int32_t v) {
    checkRange(v, flex::HighlightNever, flex::HighlightWithFocus);
    setLook(highLight_, v);
}
void HeadlessFlexGrid::setMousePointer(int32_t v) {
    if (v != flex::PointerCustom) checkRange(v, 0, 15);
    mousePointer_ = v;
    changed();
}
void HeadlessFlexGrid::setMouseIcon(PicturePtr p) {
    mouseIcon_ = std::move(p);
    changed();
}
void HeadlessFlexGrid::setOLEDropMode(int32_t v) {
    checkRange(v, flex::DropNone, flex::DropManual);
    oleDropMode_ = v;
}
void HeadlessFlexGrid::setPictureType(int32_t v) {
    checkRange(v, flex::PictureColor, flex::PictureMonochrome);
    pictureType_ = v;
}
void HeadlessFlexGrid::setRightToLeft(bool v) { setLook(rightToLeft_, v); }
void HeadlessFlexGrid::setScrollBars(int32_t v) {
    checkRange(v, flex::ScrollNone, flex::ScrollBoth);
    setLook(scrollBars_, v);
}
void HeadlessFlexGrid::setSelectionMode(int32_t v) {
    checkRange(v, flex::SelectionFree, flex::SelectionByColumn);
    selectionMode_ = v;
    invalidate();
}
void HeadlessFlexGrid::setTextStyle(int32_t v) {
    checkRange(v, flex::TextFlat, flex::TextInsetLight);
    setLook(textStyle_, v);
}
void HeadlessFlexGrid::setTextStyleFixed(int32_t v) {
    checkRange(v, flex::TextFlat, flex::TextInsetLight);
    setLook(textStyleFixed_, v);
}
void HeadlessFlexGrid::setWordWrap(bool v) { setLook(wordWrap_, v); }

void HeadlessFlexGrid::setFontWidth(float v) {
    if (!(v >= 0 && v <= 2048)) flexerr::raise(flexerr::InvalidPropertyValue);
    setLook(fontWidth_, v);
}

// The grid shares the font object it is given, as automation fonts are shared; default row heights
// and column widths follow its size.
void HeadlessFlexGrid::setFont(FontPtr f) {
    if (!f) flexerr::raise(flexerr::InvalidPropertyValue);
    font_ = std::move(f);
    rowsChanged();
    invalidate();
}

int32_t HeadlessFlexGrid::ColAlignment(int32_t col) const {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    return colAlignment_[size_t(col)];
}
void HeadlessFlexGrid::setColAlignment(int32_t col, int32_t v) {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    checkRange(v, flex::AlignLeftTop, flex::AlignGeneral);
    setLook(colAlignment_[size_t(col)], v);
}
int32_t HeadlessFlexGrid::FixedAlignment(int32_t col) const {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    return fixedAlignment_[size_t(col)];
}
void HeadlessFlexGrid::setFixedAlignment(int32_t col, int32_t v) {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    checkRange(v, flex::AlignLeftTop, flex::AlignGeneral);
    setLook(fixedAlignment_[size_t(col)], v);
}

// --- painting ------------------------------------------------------------------------------------------

void HeadlessFlexGrid::setRedraw(bool v) {
    redraw_ = v;
    if (v && dirty_) {
        dirty_ = false;
        ++paintCount_;
    }
    changed();
}

void HeadlessFlexGrid::Refresh() {
    if (!redraw_) return;
    dirty_ = false;
    ++paintCount_;
    changed();
}

// --- FormatString --------------------------------------------------------------------------------------

namespace {

std::vector<std::string> splitBars(const std::string& s) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = s.find('|', start);
        parts.push_back(s.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) return parts;
        start = bar + 1;
    }
}

// Takes a leading alignment mark off a heading; -1 when there is none.
int32_t takeAlignment(std::string& text) {
    if (text.empty()) return -1;
    int32_t a = text[0] == '<'   ? flex::AlignLeftCenter
                : text[0] == '^' ? flex::AlignCenterCenter
                : text[0] == '>' ? flex::AlignRightCenter
                                 : -1;
    if (a >= 0) text.erase(0, 1);
    return a;
}

size_t characters(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

}  // namespace

// Column headings before ";" go into the first row and size their columns to fit; row headings after
// it go into the first column. The counts of headings become Cols and Rows.
void HeadlessFlexGrid::setFormatString(const std::string& v) {
    size_t semi = v.find(';');
    std::string colPart = v.substr(0, semi);
    bool hasRowPart = semi != std::string::npos;
    float points = font_->Size();
    const double charTwips = std::ceil(points * 96.0 / 72.0 * 0.5) * 15;
    // Held to the 32-bit range: a long heading in a huge font is as wide as a column can be.
    auto fitWidth = [&](const std::string& text) { return clampToLong(double(characters(text)) * charTwips + 8 * 15); };

    if (!colPart.empty() || !hasRowPart) {
        std::vector<std::string> heads = splitBars(colPart);
        if (!v.empty()) {
            setCols(int32_t(heads.size()));
            if (Rows() == 0) setRows(1);
            for (size_t c = 0; c < heads.size(); ++c) {
                std::string text = heads[c];
                int32_t align = takeAlignment(text);
                if (align >= 0) colAlignment_[c] = fixedAlignment_[c] = align;
                cell(0, int32_t(c)) = text;
                if (!text.empty()) colWidth_[c] = fitWidth(text);
            }
            colsChanged();
        }
    }
    if (hasRowPart) {
        std::vector<std::string> heads = splitBars(v.substr(semi + 1));
        setRows(int32_t(heads.size()));
        if (cols_ == 0) setCols(1);
        int32_t widest = 0;
        for (size_t r = 0; r < heads.size(); ++r) {
            std::string text = heads[r];
            takeAlignment(text);
            cell(int32_t(r), 0) = text;
            if (r > 0 || colPart.empty()) widest = std::max(widest, text.empty() ? 0 : fitWidth(text));
        }
        if (widest > colWidthAt(0)) colWidth_[0] = widest;
        colsChanged();
    }
    formatString_ = v;
    noteAllTexts();
    invalidate();
}

}  // namespace ax
