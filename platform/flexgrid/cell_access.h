// What a control showing its cells through an inner grid tells assistive technology about them: which
// cells the user may change, which show a check mark rather than text, and the one road by which a
// changed value enters a cell (the control's own rules for the column apply, as for a host's write).
#pragma once
#include <cstdint>
#include <string>

namespace ax {

class CellAccess {
  public:
    enum class Kind { ReadOnly, Text, Check };

    virtual ~CellAccess() = default;
    virtual Kind cellKind(int32_t row, int32_t col) const = 0;
    // The cell as the host reads it (a check cell reads "1" or "0").
    virtual std::string cellValue(int32_t row, int32_t col) const = 0;
    // Writes the cell as a host write does; false when the cell is not editable or the write failed.
    virtual bool writeCell(int32_t row, int32_t col, const std::string& text) = 0;
};

}  // namespace ax
