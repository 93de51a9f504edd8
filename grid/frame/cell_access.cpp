// The grid's cells as assistive technology sees them: a column the user cannot edit (locked, without an
// editor, or fixed) is read only, check-box columns are checks, and a value set from outside takes the
// road of a host's TextMatrix write.
#include "grid/frame/vantrel.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

ax::CellAccess::Kind Vantrel::cellKind(int32_t row, int32_t col) const {
    const ax::GridShape s = FlexGrid_->shape();
    if (row < s.fixedRows || col < s.fixedCols || row >= s.rows || col >= s.cols) return Kind::ReadOnly;
    if (static_cast<size_t>(col) >= settings_.size()) return Kind::ReadOnly;
    const ColumnSettings& c = settings_[static_cast<size_t>(col)];
    if (c.Locked || c.InputStyle < TextBox || c.InputStyle > ZelPicker) return Kind::ReadOnly;
    return c.InputStyle == CheckBox ? Kind::Check : Kind::Text;
}

std::string Vantrel::cellValue(int32_t row, int32_t col) const {
    try {
        return TextMatrix(row, col);
    } catch (const ax::AutomationError&) {
        return {};
    }
}

bool Vantrel::writeCell(int32_t row, int32_t col, const std::string& text) {
    if (cellKind(row, col) == Kind::ReadOnly) return false;
    try {
        setTextMatrix(row, col, text);
        return true;
    } catch (const ax::AutomationError&) {
        return false;
    }
}

}  // namespace vantrel
