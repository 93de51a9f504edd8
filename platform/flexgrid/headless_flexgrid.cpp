// Storage, shape and cell text of the headless grid surface.
#include "platform/flexgrid/headless_flexgrid.h"

#include <algorithm>

#include "platform/automation/errors.h"
#include "platform/flexgrid/flexgrid_errors.h"
#include "platform/host/headless_host.h"

namespace ax {

namespace flexerr {
void raise(int32_t number) { ax::raise(number, text(number)); }
}  // namespace flexerr

namespace {
// Rows and columns beyond this cannot be addressed by the 32-bit positions a window reports.
constexpr int32_t kMaxRows = 0x7FFFFFF, kMaxCols = 0x7FFF;
}  // namespace

HeadlessFlexGrid::HeadlessFlexGrid(int64_t cellBudget)
    : cellBudget_(cellBudget), font_(std::make_shared<ax::Font>()), hWnd_(ax::newWindowHandle()) {
    setCols(2);
    setRows(2);
    fixedRows_ = 1;
    fixedCols_ = 1;
    row_ = rowSel_ = topRow_ = 1;
    col_ = colSel_ = leftCol_ = 1;
}

HeadlessFlexGrid::~HeadlessFlexGrid() = default;

// --- storage and its budget ------------------------------------------------------------------------------------------

namespace {
// A cell's own format weighs as many texts as it takes the room of.
constexpr int64_t kFormatWeight =
    int64_t((sizeof(std::pair<int32_t, HeadlessFlexGrid::CellFormat>) + sizeof(std::string) - 1) / sizeof(std::string));
}  // namespace

bool HeadlessFlexGrid::fits(int64_t rows, int64_t cols, int64_t formats) const {
    return rows * (cols + besidePerRow_) + besideFixed_ + formats * kFormatWeight <= cellBudget_;
}

void HeadlessFlexGrid::setCellsBeside(int64_t perRow, int64_t fixed) {
    if (perRow < 0 || fixed < 0 || perRow > kCellBudget || fixed > kCellBudget)
        flexerr::raise(flexerr::InvalidPropertyValue);
    const int64_t oldPerRow = besidePerRow_, oldFixed = besideFixed_;
    besidePerRow_ = perRow;
    besideFixed_ = fixed;
    if (fits(Rows(), cols_, formattedCells_)) return;
    besidePerRow_ = oldPerRow;
    besideFixed_ = oldFixed;
    flexerr::raise(flexerr::InvalidPropertyValue);
}

// A let that gives its cells a format must fit whole, or it would stop half-way through a selection.
void HeadlessFlexGrid::checkRoomForFormats() const {
    checkCurrent();
    int64_t targets = 1;
    const int32_t r0 = std::min(row_, rowSel_), r1 = std::max(row_, rowSel_);
    const int32_t c0 = std::min(col_, colSel_), c1 = std::max(col_, colSel_);
    if (fillStyle_ == flex::FillRepeat) targets = int64_t(r1 - r0 + 1) * (c1 - c0 + 1);
    if (fits(Rows(), cols_, formattedCells_ + targets)) return;
    // Only cells without a format yet need room: counted only when the budget is that close.
    int64_t fresh = 0;
    if (fillStyle_ != flex::FillRepeat)
        fresh = findFormat(row_, col_) ? 0 : 1;
    else
        for (int32_t r = r0; r <= r1; ++r)
            for (int32_t c = c0; c <= c1; ++c) fresh += findFormat(r, c) ? 0 : 1;
    if (!fits(Rows(), cols_, formattedCells_ + fresh)) flexerr::raise(flexerr::InvalidPropertyValue);
}

uint32_t HeadlessFlexGrid::newSlot() {
    if (!freeSlots_.empty()) {
        uint32_t s = freeSlots_.back();
        freeSlots_.pop_back();
        return s;
    }
    return store_.addSlots(1);
}

void HeadlessFlexGrid::releaseSlot(uint32_t slot) {
    // Free the texts' memory now; the slot is handed out again empty.
    std::string* texts = store_.slot(slot);
    static const size_t inPlace = std::string().capacity();  // a text this short owns no memory
    for (int32_t c = 0; c < cols_; ++c) {
        if (texts[c].capacity() > inPlace)
            std::string().swap(texts[c]);
        else
            texts[c].clear();
    }
    if (slot < formats_.size()) {
        formattedCells_ -= int64_t(formats_[slot].size());
        RowFormats().swap(formats_[slot]);
    }
    freeSlots_.push_back(slot);
}

// After many rows went away, packs the live rows into fresh slots so the memory can be returned.
void HeadlessFlexGrid::compactIfSparse() {
    if (freeSlots_.size() <= std::max<size_t>(rows_.size(), 1024)) return;
    detail::CellStore packed;
    packed.setWidth(cols_);
    packed.addSlots(uint32_t(rows_.size()));
    std::vector<RowFormats> moved;
    for (size_t r = 0; r < rows_.size(); ++r) {
        uint32_t old = rows_[r].slot;
        std::move(store_.slot(old), store_.slot(old) + cols_, packed.slot(uint32_t(r)));
        if (old < formats_.size() && !formats_[old].empty()) {
            moved.resize(r + 1);
            moved[r] = std::move(formats_[old]);
        }
        rows_[r].slot = uint32_t(r);
    }
    store_.swap(packed);
    formats_ = std::move(moved);
    freeSlots_.clear();
}

void HeadlessFlexGrid::resizeCols(int32_t newCols) {
    store_.setWidth(newCols);
    if (newCols < cols_) {
        for (auto& list : formats_)
            formattedCells_ -= int64_t(std::erase_if(list, [&](const auto& f) { return f.first >= newCols; }));
    }
    colWidth_.resize(size_t(newCols), -1);
    colsChanged();
    colAlignment_.resize(size_t(newCols), flex::AlignGeneral);
    fixedAlignment_.resize(size_t(newCols), flex::AlignLeftCenter);
    colData_.resize(size_t(newCols), 0);
    cols_ = newCols;
}

const HeadlessFlexGrid::CellFormat* HeadlessFlexGrid::findFormat(int32_t row, int32_t col) const {
    const uint32_t slot = rows_[row].slot;
    if (slot >= formats_.size()) return nullptr;
    for (const auto& f : formats_[slot])
        if (f.first == col) return &f.second;
    return nullptr;
}

HeadlessFlexGrid::CellFormat& HeadlessFlexGrid::formatFor(int32_t row, int32_t col) {
    const uint32_t slot = rows_[row].slot;
    if (slot >= formats_.size()) formats_.resize(size_t(slot) + 1);
    RowFormats& list = formats_[slot];
    for (auto& f : list)
        if (f.first == col) return f.second;
    list.emplace_back(col, CellFormat{});
    ++formattedCells_;
    return list.back().second;
}

void HeadlessFlexGrid::dropFormat(int32_t row, int32_t col, uint32_t bit) {
    const uint32_t slot = rows_[row].slot;
    if (slot >= formats_.size()) return;
    auto& list = formats_[slot];
    for (auto f = list.begin(); f != list.end(); ++f) {
        if (f->first != col) continue;
        f->second.own &= ~bit;
        if (bit & OwnPicture) f->second.picture.reset();
        if (f->second.own == 0) {
            list.erase(f);
            --formattedCells_;
        }
        break;
    }
}

// --- shape ---------------------------------------------------------------------------------------------

void HeadlessFlexGrid::setRows(int32_t v) {
    if (v < 0 || v > kMaxRows || (v > Rows() && !fits(v, cols_, formattedCells_)))
        flexerr::raise(flexerr::InvalidPropertyValue);
    int32_t old = Rows();
    if (v == old) return;
    if (v > old) {
        if (v - old > 1) rows_.reserve(size_t(v));  // one row at a time grows geometrically instead
        if (freeSlots_.empty()) {
            // Grow in one step rather than a slot at a time.
            uint32_t first = store_.addSlots(uint32_t(v - old));
            for (int32_t i = 0; i < v - old; ++i) rows_.push_back({first + uint32_t(i), 0, -1});
        } else {
            for (int32_t i = old; i < v; ++i) rows_.push_back({newSlot(), 0, -1});
        }
    } else {
        for (int32_t r = v; r < old; ++r) {
            if (rows_[r].height >= 0) --customHeights_;
            releaseSlot(rows_[r].slot);
        }
        rows_.resize(size_t(v));
        compactIfSparse();
        if (fixedRows_ > v) fixedRows_ = v;
    }
    rowsChanged();
    clampPositions();
    invalidate();
}

void HeadlessFlexGrid::setCols(int32_t v) {
    if (v < 0 || v > kMaxCols || (v > cols_ && !fits(Rows(), v, formattedCells_)))
        flexerr::raise(flexerr::InvalidPropertyValue);
    if (v == cols_) return;
    resizeCols(v);
    if (fixedCols_ > v) fixedCols_ = v;
    clampPositions();
    invalidate();
}

void HeadlessFlexGrid::setFixedRows(int32_t v) {
    if (v < 0 || v > Rows()) flexerr::raise(flexerr::InvalidRowValue);
    if (v == fixedRows_) return;
    fixedRows_ = v;
    clampPositions();
    invalidate();
}

void HeadlessFlexGrid::setFixedCols(int32_t v) {
    if (v < 0 || v > cols_) flexerr::raise(flexerr::InvalidColValue);
    if (v == fixedCols_) return;
    fixedCols_ = v;
    clampPositions();
    invalidate();
}

// Keeps the current cell, the selection and the scroll position inside the grid after a shape change;
// a current cell that had to move raises the same notifications as any other move.
void HeadlessFlexGrid::clampPositions() {
    auto clampTo = [](int32_t v, int32_t lo, int32_t hi) { return hi < lo ? hi : std::clamp(v, lo, hi); };
    int32_t rows = Rows();
    int32_t firstRow = fixedRows_ < rows ? fixedRows_ : 0, firstCol = fixedCols_ < cols_ ? fixedCols_ : 0;
    int32_t row = row_ >= rows ? clampTo(row_, firstRow, rows - 1) : row_;
    int32_t col = col_ >= cols_ ? clampTo(col_, firstCol, cols_ - 1) : col_;
    if (rows > 0 && row < 0) row = firstRow;
    if (cols_ > 0 && col < 0) col = firstCol;
    int32_t rowSel = std::min(rowSel_, rows - 1), colSel = std::min(colSel_, cols_ - 1);
    if (rows > 0 && rowSel < 0) rowSel = row;
    if (cols_ > 0 && colSel < 0) colSel = col;
    // The largest scroll positions are worked out only when the grid is scrolled at all.
    topRow_ = topRow_ > fixedRows_ ? std::min(topRow_, std::max(fixedRows_, maxTopRow())) : fixedRows_;
    leftCol_ = leftCol_ > fixedCols_ ? std::min(leftCol_, std::max(fixedCols_, maxLeftCol())) : fixedCols_;
    if (row != row_ || col != col_ || rowSel != rowSel_ || colSel != colSel_)
        moveTo(row, col, rowSel, colSel);
}

// --- cell text -----------------------------------------------------------------------------------------

std::string HeadlessFlexGrid::TextMatrix(int32_t row, int32_t col) const {
    checkCell(row, col);
    return cell(row, col);
}

void HeadlessFlexGrid::copyTextMatrix(int32_t row, int32_t col, std::string& out) const {
    checkCell(row, col);
    out = cell(row, col);
}

void HeadlessFlexGrid::setTextMatrix(int32_t row, int32_t col, const std::string& text) {
    checkCell(row, col);
    cell(row, col) = text;
    noteText(row, col);
    invalidate();
}

std::string HeadlessFlexGrid::Text() const {
    checkCurrent();
    return cell(row_, col_);
}

void HeadlessFlexGrid::setText(const std::string& text) {
    checkCurrent();
    forEachTarget([&](int32_t r, int32_t c) {
        cell(r, c) = text;
        noteText(r, c);
    });
    invalidate();
}

std::string HeadlessFlexGrid::TextArray(int32_t index) const {
    if (index < 0 || cols_ == 0 || int64_t(index) >= int64_t(Rows()) * cols_)
        flexerr::raise(flexerr::SubscriptOutOfRange);
    return cell(index / cols_, index % cols_);
}

void HeadlessFlexGrid::setTextArray(int32_t index, const std::string& text) {
    if (index < 0 || cols_ == 0 || int64_t(index) >= int64_t(Rows()) * cols_)
        flexerr::raise(flexerr::SubscriptOutOfRange);
    cell(index / cols_, index % cols_) = text;
    noteText(index / cols_, index % cols_);
    invalidate();
}

int32_t HeadlessFlexGrid::RowData(int32_t row) const {
    if (row < 0 || row >= Rows()) flexerr::raise(flexerr::SubscriptOutOfRange);
    return rows_[row].data;
}

void HeadlessFlexGrid::setRowData(int32_t row, int32_t v) {
    if (row < 0 || row >= Rows()) flexerr::raise(flexerr::SubscriptOutOfRange);
    rows_[row].data = v;
}

int32_t HeadlessFlexGrid::ColData(int32_t col) const {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    return colData_[col];
}

void HeadlessFlexGrid::setColData(int32_t col, int32_t v) {
    if (col < 0 || col >= cols_) flexerr::raise(flexerr::SubscriptOutOfRange);
    colData_[col] = v;
}

// --- moving rows and columns ---------------------------------------------------------------------------

void HeadlessFlexGrid::setRowPosition(int32_t index, int32_t v) {
    checkRow(index);
    checkRow(v);
    if (index == v) return;
    if (index < v)
        std::rotate(rows_.begin() + index, rows_.begin() + index + 1, rows_.begin() + v + 1);
    else
        std::rotate(rows_.begin() + v, rows_.begin() + index, rows_.begin() + index + 1);
    rowsChanged();
    noteAllTexts();
    invalidate();
}

void HeadlessFlexGrid::setColPosition(int32_t index, int32_t v) {
    checkCol(index);
    checkCol(v);
    if (index == v) return;
    // Column c ends up at position map(c).
    auto map = [&](int32_t c) {
        if (c == index) return v;
        if (index < v && c > index && c <= v) return c - 1;
        if (v < index && c >= v && c < index) return c + 1;
        return c;
    };
    auto move = [&](auto first) {
        if (index < v)
            std::rotate(first + index, first + index + 1, first + v + 1);
        else
            std::rotate(first + v, first + index, first + index + 1);
    };
    for (uint32_t s = 0; s < store_.slotCount(); ++s) move(store_.slot(s));
    for (auto& list : formats_)
        for (auto& f : list) f.first = map(f.first);
    move(colWidth_.begin());
    colsChanged();
    move(colAlignment_.begin());
    move(fixedAlignment_.begin());
    move(colData_.begin());
    noteAllTexts();
    invalidate();
}

// --- adding, removing and clearing rows ----------------------------------------------------------------

void HeadlessFlexGrid::AddItem(const std::string& item, std::optional<int32_t> index) {
    int32_t at = index.value_or(Rows());
    if (at < 0 || at > Rows()) flexerr::raise(flexerr::InvalidRowValue);
    if (Rows() >= kMaxRows || !fits(int64_t(Rows()) + 1, cols_, formattedCells_))
        flexerr::raise(flexerr::InvalidPropertyValue);
    uint32_t slot = newSlot();
    // Fields beyond the last column are dropped, as the grid has nowhere to show them.
    std::string* row = store_.slot(slot);
    size_t start = 0;
    for (int32_t c = 0; c < cols_ && start <= item.size(); ++c) {
        size_t tab = item.find('\t', start);
        if (tab == std::string::npos) tab = item.size();
        row[c].assign(item, start, tab - start);
        start = tab + 1;
    }
    rows_.insert(rows_.begin() + at, RowInfo{slot, 0, -1});
    rowsChanged();
    clampPositions();
    noteAllTexts();
    invalidate();
}

void HeadlessFlexGrid::RemoveItem(int32_t index) {
    checkRow(index);
    if (index < fixedRows_) flexerr::raise(flexerr::CannotRemoveFixedRow);
    if (Rows() - fixedRows_ <= 1) flexerr::raise(flexerr::CannotRemoveLastNonFixedRow);
    if (rows_[index].height >= 0) --customHeights_;
    releaseSlot(rows_[index].slot);
    rows_.erase(rows_.begin() + index);
    compactIfSparse();
    rowsChanged();
    clampPositions();
    noteAllTexts();
    invalidate();
}

void HeadlessFlexGrid::Clear() {
    store_.clearTexts();
    formats_.clear();
    formattedCells_ = 0;
    noteAllTexts();
    invalidate();
}

}  // namespace ax
