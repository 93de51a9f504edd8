// Maintained strings: one hidden string per cell, kept per column while the column maintains data.
#include <algorithm>

#include "grid/editing/column_settings.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

// The maintained strings and the transaction shadow scale with the grid's cells, so they count against
// the same budget: a form file's Rows, Cols and MaintainData cannot together claim gigabytes.
void Vantrel::countCellsBeside(int32_t maintainedColumns, int64_t shadowCells) {
    FlexGrid_->setCellsBeside(maintainedColumns, shadowCells);
    maintainedColumns_ = maintainedColumns;
    shadowCells_ = shadowCells;
}

bool Vantrel::ApplyColumnMaintainData(int32_t col, bool on) {
    ColumnSettings& column = settingsAt(col);
    if (column.MaintainData == on) return false;
    if (on) countCellsBeside(maintainedColumns_ + 1, shadowCells_);
    column.MaintainData = on;
    const int32_t rows = FlexGrid_->Rows();
    if (on && rows > 0)
        column.MaintainedStrings.resize(static_cast<size_t>(rows));
    else
        column.MaintainedStrings.assign(1, std::string());
    if (!on) countCellsBeside(std::max(maintainedColumns_ - 1, 0), shadowCells_);
    return true;
}

void Vantrel::ClearMaintainedStrings() {
    for (int32_t c = 0; c < settingsColumns(); ++c)
        if (settings_[c].MaintainData)
            for (auto& s : settings_[c].MaintainedStrings) s.clear();
}

bool Vantrel::MaintainData() const { return maintainData_; }
void Vantrel::setMaintainData(bool value) {
    if (inTransaction_) return;
    // Refused whole, before any column changes, when the strings of every column would not fit.
    if (value) {
        const int32_t counted = maintainedColumns_;
        countCellsBeside(std::max(counted, settingsColumns()), shadowCells_);
        maintainedColumns_ = counted;  // each column counts itself in below, within what was just let
    }
    maintainData_ = value;
    for (int32_t c = 0; c < settingsColumns(); ++c) ApplyColumnMaintainData(c, value);
    notify("MaintainData");
}

bool Vantrel::ColMaintainData() const {
    requireUserMode();
    return currentColumn().MaintainData;
}
void Vantrel::setColMaintainData(bool value) {
    requireUserMode();
    if (inTransaction_) return;
    try {
        if (ApplyColumnMaintainData(FlexGrid_->Col(), value)) notify("ColMaintainData");
    } catch (...) {
    }
}

std::string Vantrel::CellData() const {
    requireUserMode();
    try {
        const ColumnSettings& column = currentColumn();
        const size_t row = static_cast<size_t>(FlexGrid_->Row());
        if (column.MaintainData && row < column.MaintainedStrings.size())
            return column.MaintainedStrings[row];
    } catch (...) {
    }
    return std::string();
}

void Vantrel::setCellData(const std::string& value) {
    requireUserMode();
    ColumnSettings& column = currentColumn();
    if (!column.MaintainData) return;
    const int32_t row = FlexGrid_->Row();
    if (row < 0 || row >= static_cast<int32_t>(column.MaintainedStrings.size()))
        ax::raise(ax::err::SubscriptOutOfRange);
    column.MaintainedStrings[static_cast<size_t>(row)] = value;
    notify("CellData");
}

std::string Vantrel::DataMatrix(int32_t row, int32_t col) const {
    requireUserMode();
    const ColumnSettings& column = settingsAt(col);
    if (!column.MaintainData || row < 0 || row >= FlexGrid_->Rows() || col >= FlexGrid_->Cols())
        return std::string();
    if (static_cast<size_t>(row) >= column.MaintainedStrings.size()) return std::string();
    return column.MaintainedStrings[static_cast<size_t>(row)];
}

void Vantrel::setDataMatrix(int32_t row, int32_t col, const std::string& value) {
    requireUserMode();
    ColumnSettings& column = settingsAt(col);
    if (!column.MaintainData || row < 0 || row >= FlexGrid_->Rows() || col >= FlexGrid_->Cols()) return;
    if (static_cast<size_t>(row) >= column.MaintainedStrings.size()) return;
    column.MaintainedStrings[static_cast<size_t>(row)] = value;
    notify("DataMatrix");
}

}  // namespace vantrel
