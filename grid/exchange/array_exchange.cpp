// Moving the grid's contents to and from two-dimensional string arrays, and its headings to and
// from one-dimensional ones. Loads write through the column rules; saves leave the grid unchanged.
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "grid/exchange/exchange.h"
#include "grid/frame/inner_grid_guards.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

namespace {

// The array a Variant holds, when it holds one whose elements can be read as text.
const ax::SafeArray* textArray(const ax::Variant& value) {
    if (!value.isArray()) return nullptr;
    const ax::SafeArray* array = value.array().get();
    if (!array || array->elementType() == ax::VarType::Object) return nullptr;
    return array;
}

// Two dimensions with both upper bounds 0 or more; anything else is not a grid's worth of data.
bool isValid2DArray(const ax::SafeArray* array) {
    return array && array->dims() == 2 && array->ubound(1) >= 0 && array->ubound(2) >= 0;
}

// Empty and Null elements give the empty text; other kinds their automation text.
const std::string& elementText(const ax::Variant& element, std::string& scratch) {
    if (const std::string* s = element.get<std::string>()) return *s;
    scratch = element.isEmpty() || element.isNull() ? std::string() : ax::cStr(element);
    return scratch;
}

// The array a save writes into: the caller's own when it holds one of strings or variants, else a
// new array of strings put into the caller's Variant. Nullptr for an array of another type.
ax::SafeArray* arrayToSave(ax::Variant& target) {
    if (target.isArray() && target.array()) {
        ax::SafeArray* array = target.array().get();
        const ax::VarType type = array->elementType();
        return type == ax::VarType::String || type == ax::VarType::Variant ? array : nullptr;
    }
    auto fresh = std::make_shared<ax::SafeArray>(ax::VarType::String);
    target = ax::Variant(fresh);
    return fresh.get();
}

// Removes the pictures a row kept from earlier contents, except those that are check marks.
void clearRowPictures(ax::FlexGrid& g, const std::vector<ColumnSettings>& settings, int32_t row) {
    CurrentCellKept keep(g);
    g.setRow(row);
    const int32_t cols = g.Cols();
    for (int32_t c = 0; c < cols; ++c) {
        if (static_cast<size_t>(c) < settings.size() &&
            settings[static_cast<size_t>(c)].InputStyle == CheckBox)
            continue;
        g.setCol(c);
        g.setCellPicture(ax::emptyPicture());
    }
}

}  // namespace

bool Vantrel::LoadArray(const ax::Variant& StrArray) {
    const ax::SafeArray* array = textArray(StrArray);
    if (inTransaction_ || !isValid2DArray(array)) return false;
    RedrawOff quiet(*FlexGrid_);  // from the first change on, so the whole load paints once
    suppressBindingReset_ = false;
    setRows(FlexGrid_->FixedRows() + 1);
    ResetXMLBinding();
    suppressBindingReset_ = true;
    const bool filled = fillFromArray(*array);
    suppressBindingReset_ = false;
    return filled;
}

bool Vantrel::fillFromArray(const ax::SafeArray& array) {
    ax::FlexGrid& g = *FlexGrid_;
    RedrawOff quiet(g);
    const int32_t savedCol = g.Col();
    bool filled = false;
    try {
        const int32_t firstRow = array.lbound(1), rows = array.ubound(1) - firstRow + 1;
        const int32_t firstCol = array.lbound(2), cols = array.ubound(2) - firstCol + 1;
        setCols(cols);
        const int32_t fixedRows = g.FixedRows();
        // An array as long as a Long can count would take the row count past it.
        if (int64_t(fixedRows) + rows > INT32_MAX) throw std::length_error("array too large");
        // Rows that exist before the grid grows may still show pictures; new rows start without.
        const int32_t keptRows = g.Rows();
        setRows(fixedRows + rows);
        // A shape the grid refuses so that cells would be lost (too many rows or columns) ends the fill
        // as an error would; a grid left wider than the array (Cols below FixedCols) just takes it.
        if (g.Cols() < cols || g.Rows() != fixedRows + rows) throw std::length_error("array too large");
        const auto& data = array.data();
        const ax::GridShape shape = g.shape();
        std::string scratch;
        for (int32_t i = 0; i < rows; ++i) {
            const int32_t r = fixedRows + i;
            if (r < keptRows) clearRowPictures(g, settings_, r);
            for (int32_t c = 0; c < cols; ++c) {
                const ax::Variant& element = data[static_cast<size_t>(i) + static_cast<size_t>(c) * rows];
                setCellTextWithin(shape, r, c, elementText(element, scratch));
            }
        }
        filled = true;
    } catch (...) {
        // The fill stops where the error met it; rows and columns already set stay as they are.
    }
    try {
        if (savedCol >= 0 && savedCol < g.Cols() && g.Col() != savedCol) g.setCol(savedCol);
    } catch (...) {
    }
    return filled;
}

bool Vantrel::LoadHeadingFromArray(const ax::Variant& ColumnHeadings) {
    ax::FlexGrid& g = *FlexGrid_;
    if (inTransaction_ || g.FixedRows() < 1) return false;
    const ax::SafeArray* array = textArray(ColumnHeadings);
    if (!array || array->dims() != 1) return false;
    const int32_t lower = array->lbound(1);
    const int32_t n = std::min(array->ubound(1) - lower + 1, g.Cols());
    std::string scratch;
    for (int32_t k = 0; k < n; ++k)
        g.setTextMatrix(0, k, elementText(array->data()[static_cast<size_t>(k)], scratch));
    return true;
}

bool Vantrel::SaveToArray(ax::Variant& StrArray) {
    ax::FlexGrid& g = *FlexGrid_;
    const int32_t fixedRows = g.FixedRows();
    const int32_t rows = g.Rows() - fixedRows, cols = g.Cols();
    // An array cannot have an upper bound of -1: without data rows (or columns) there is nothing to size.
    if (rows < 1 || cols < 1) return false;
    ax::SafeArray* array = arrayToSave(StrArray);
    if (!array) return false;
    RedrawOff quiet(g);
    CurrentCellKept keep(g);
    try {
        array->redim({{0, rows}, {0, cols}});
        std::vector<char> checkBox(static_cast<size_t>(cols));
        for (int32_t c = 0; c < cols; ++c)
            checkBox[static_cast<size_t>(c)] = settingsAt(c).InputStyle == CheckBox;
        auto& data = array->data();
        for (int32_t r = fixedRows; r < fixedRows + rows; ++r) {
            size_t at = static_cast<size_t>(r - fixedRows);  // the first dimension varies fastest
            for (int32_t c = 0; c < cols; ++c, at += static_cast<size_t>(rows)) {
                if (checkBox[static_cast<size_t>(c)]) {
                    keep.moveTo(r, c, false);
                    data[at] = ax::Variant(checkTextOfCurrentCell());
                } else if (std::string* text = data[at].get<std::string>()) {
                    g.copyTextMatrix(r, c, *text);  // a string array: fill its element in place
                } else {
                    data[at] = ax::Variant(g.TextMatrix(r, c));
                }
            }
        }
    } catch (...) {
        return false;
    }
    return true;
}

bool Vantrel::SaveHeadingToArray(ax::Variant& StrArray) {
    ax::FlexGrid& g = *FlexGrid_;
    ax::SafeArray* array = arrayToSave(StrArray);
    if (!array) return false;
    try {
        if (g.FixedRows() < 1 || g.Cols() < 1) {
            array->redim({{0, 1}});
            array->data()[0] = ax::Variant(std::string());
            return false;
        }
        const int32_t cols = g.Cols();
        array->redim({{0, cols}});
        for (int32_t c = 0; c < cols; ++c)
            array->data()[static_cast<size_t>(c)] = ax::Variant(g.TextMatrix(0, c));
    } catch (...) {
        return false;
    }
    return true;
}

}  // namespace vantrel
