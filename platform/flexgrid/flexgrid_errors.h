// The errors the grid surface raises, with the numbers and texts a desktop grid of this kind uses.
// They reach callers as ax::AutomationError (number plus description).
#pragma once
#include <cstdint>

namespace ax::flexerr {

// A value outside the property's range: an unknown enumeration value, a negative size, a grid
// line width outside 1..10, a sort code outside 0..9.
inline constexpr int32_t InvalidPropertyValue = 380;
// An index of an indexed member outside its range: TextMatrix(r, c), TextArray(i), ColWidth(c),
// RowHeight(r), RowData(r), ColData(c), ColAlignment(c), RowPos(r), ...
inline constexpr int32_t SubscriptOutOfRange = 381;
// Row, RowSel, TopRow, FixedRows, RowPosition or an AddItem/RemoveItem index naming no row.
inline constexpr int32_t InvalidRowValue = 30009;
// Col, ColSel, LeftCol, FixedCols or ColPosition naming no column.
inline constexpr int32_t InvalidColValue = 30010;
// RemoveItem on a fixed row.
inline constexpr int32_t CannotRemoveFixedRow = 30014;
// RemoveItem on the only non-fixed row left.
inline constexpr int32_t CannotRemoveLastNonFixedRow = 30015;

// The description raised with each number.
inline const char* text(int32_t number) {
    switch (number) {
        case InvalidPropertyValue:
            return "Invalid property value";
        case SubscriptOutOfRange:
            return "Subscript out of range";
        case InvalidRowValue:
            return "Invalid Row value";
        case InvalidColValue:
            return "Invalid Col value";
        case CannotRemoveFixedRow:
            return "Cannot remove a fixed row";
        case CannotRemoveLastNonFixedRow:
            return "Cannot remove last non-fixed row";
        default:
            return "Grid error";
    }
}

// Raises one of the numbers above with its description.
[[noreturn]] void raise(int32_t number);

}  // namespace ax::flexerr
