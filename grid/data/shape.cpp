// The grid's shape, the current cell, row insertion and removal, moves and sorting. Each member ends
// in the inner grid's own operation; the settings array and maintained strings follow the rows.
#include <algorithm>

#include "grid/editing/column_settings.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {

namespace {
constexpr int32_t kShapeLimit = 32768;  // rows and columns stay below this
}

int32_t Vantrel::Rows() const { return FlexGrid_->Rows(); }
void Vantrel::setRows(int32_t value) {
    ax::FlexGrid& g = *FlexGrid_;
    if (value < g.FixedRows() || value < 0 || value >= kShapeLimit) return;
    // Whatever fails here ends the let quietly; what was done stays done.
    try {
        const int32_t oldRows = g.Rows();
        g.setRows(value);
        const int32_t columns = settingsColumns();
        for (int32_t c = 0; c < columns; ++c) {
            auto& strings = settings_[c].MaintainedStrings;
            if (!settings_[c].MaintainData) continue;
            if (value == 0)
                strings.assign(1, std::string());
            else
                strings.resize(static_cast<size_t>(value));
        }
        if (value > oldRows) {
            for (int32_t c = 0; c < columns; ++c) {
                const int32_t kind = settings_[c].InputStyle;
                if (kindInitialisesNewRows(kind)) ConvertColumnCells(c, oldRows, value - 1, kind);
            }
        }
        notify("Rows");
    } catch (...) {
    }
}

int32_t Vantrel::Cols() const { return FlexGrid_->Cols(); }
void Vantrel::setCols(int32_t value) {
    ax::FlexGrid& g = *FlexGrid_;
    if (inTransaction_ || value < g.FixedCols() || value >= kShapeLimit) return;
    g.setCols(value);
    ReDimArray();
    ResetXMLBinding();
    notify("Cols");
}

int32_t Vantrel::FixedRows() const { return FlexGrid_->FixedRows(); }
void Vantrel::setFixedRows(int32_t value) {
    ax::FlexGrid& g = *FlexGrid_;
    if (inTransaction_ || value > g.Rows() || value < 0) return;
    try {
        const int32_t old = g.FixedRows();
        if (old > value) {
            // Rows that become scrollable take the empty state of check-box and number columns.
            for (int32_t c = g.FixedCols(); c < settingsColumns(); ++c) {
                const int32_t kind = settings_[c].InputStyle;
                if (kind == CheckBox || kind == ZelPicker) ConvertColumnCells(c, value, old - 1, kind);
            }
        }
        g.setFixedRows(value);
        notify("FixedRows");
    } catch (const ax::AutomationError& e) {
        site().MsgBox("Vantrel -FixedRows: " + std::to_string(e.number()) + ":" + e.description());
    } catch (const std::bad_alloc&) {
        site().MsgBox("Vantrel -FixedRows: " + std::to_string(ax::err::OutOfMemory) + ":" +
                      ax::errorText(ax::err::OutOfMemory));
    }
}

int32_t Vantrel::FixedCols() const { return FlexGrid_->FixedCols(); }
void Vantrel::setFixedCols(int32_t value) {
    ax::FlexGrid& g = *FlexGrid_;
    if (inTransaction_ || value < 0 || value > g.Cols()) return;
    g.setFixedCols(value);
    notify("FixedCols");
}

int32_t Vantrel::Row() const {
    requireUserMode();
    return FlexGrid_->Row();
}
void Vantrel::setRow(int32_t value) {
    requireUserMode();
    ax::FlexGrid& g = *FlexGrid_;
    if (value < g.FixedRows() || value > g.Rows() - 1) return;
    g.setRow(value);
    notify("Row");
}

int32_t Vantrel::Col() const {
    requireUserMode();
    return FlexGrid_->Col();
}
void Vantrel::setCol(int32_t value) {
    requireUserMode();
    ax::FlexGrid& g = *FlexGrid_;
    if (value < g.FixedCols() || value > g.Cols() - 1) return;
    g.setCol(value);
    notify("Col");
}

int32_t Vantrel::RowSel() const {
    requireUserMode();
    return FlexGrid_->RowSel();
}
void Vantrel::setRowSel(int32_t value) {
    requireUserMode();
    FlexGrid_->setRowSel(value);
    notify("RowSel");
}

int32_t Vantrel::ColSel() const {
    requireUserMode();
    return FlexGrid_->ColSel();
}
void Vantrel::setColSel(int32_t value) {
    requireUserMode();
    FlexGrid_->setColSel(value);
    notify("ColSel");
}

int32_t Vantrel::TopRow() const {
    requireUserMode();
    return FlexGrid_->TopRow();
}
void Vantrel::setTopRow(int32_t value) {
    requireUserMode();
    ax::FlexGrid& g = *FlexGrid_;
    if (value < 0 || value > g.Rows() - 1) return;
    g.setTopRow(value);
    notify("TopRow");
}

int32_t Vantrel::LeftCol() const {
    requireUserMode();
    return FlexGrid_->LeftCol();
}
void Vantrel::setLeftCol(int32_t value) {
    requireUserMode();
    ax::FlexGrid& g = *FlexGrid_;
    if (value < 0 || value > g.Cols() - 1) return;
    g.setLeftCol(value);
    notify("LeftCol");
}

void Vantrel::AddItem(const std::string& item, int32_t index) {
    ax::FlexGrid& g = *FlexGrid_;
    try {
        int32_t newRow;
        if (index != kAddItemIndexNotGiven) {
            if (index < 0 || index > g.Rows() - 1) return;
            g.AddItem(item, index);
            newRow = index;
        } else {
            g.AddItem(item);
            newRow = g.Rows() - 1;
        }
        // The strings move first, so that a failing conversion never leaves them off by a row.
        const size_t rows = static_cast<size_t>(g.Rows());
        for (int32_t c = 0; c < settingsColumns(); ++c) {
            auto& strings = settings_[c].MaintainedStrings;
            if (!settings_[c].MaintainData) continue;
            strings.resize(rows);
            for (size_t r = rows - 1; r > static_cast<size_t>(newRow); --r)
                strings[r] = std::move(strings[r - 1]);
            strings[static_cast<size_t>(newRow)].clear();
        }
        for (int32_t c = 0; c < settingsColumns(); ++c) {
            const int32_t kind = settings_[c].InputStyle;
            if (kindInitialisesNewRows(kind)) ConvertColumnCells(c, newRow, newRow, kind);
        }
    } catch (...) {
    }
}

void Vantrel::RemoveItem(int32_t index) {
    ax::FlexGrid& g = *FlexGrid_;
    if (index < 0 || index > g.Rows() - 1) return;
    g.RemoveItem(index);
    const size_t rows = static_cast<size_t>(std::max(g.Rows(), 1));
    for (int32_t c = 0; c < settingsColumns(); ++c) {
        ColumnSettings& column = settings_[c];
        if (!column.MaintainData) continue;
        auto& strings = column.MaintainedStrings;
        if (static_cast<size_t>(index) < strings.size()) strings.erase(strings.begin() + index);
        strings.resize(rows);
    }
}

void Vantrel::Clear() {
    ax::FlexGrid& g = *FlexGrid_;
    try {
        g.Clear();
        for (int32_t c = 0; c < settingsColumns(); ++c) {
            ColumnSettings& column = settings_[c];
            if (kindInitialisesNewRows(column.InputStyle))
                ConvertColumnCells(c, g.FixedRows(), g.Rows() - 1, column.InputStyle);
            column.ColAttributeName.clear();
            column.ColElementName.clear();
        }
        ClearMaintainedStrings();
    } catch (...) {
    }
}

void Vantrel::setColPosition(int32_t index, int32_t value) {
    ax::FlexGrid& g = *FlexGrid_;
    if (inTransaction_ || value == g.Col() || value < g.FixedCols() || value >= g.Cols()) return;
    g.setColPosition(index, value);
    ResetXMLBinding();
    notify("ColPosition");
}

void Vantrel::setRowPosition(int32_t index, int32_t value) {
    ax::FlexGrid& g = *FlexGrid_;
    if (value == g.Row() || value < g.FixedRows() || value >= g.Rows()) return;
    g.setRowPosition(index, value);
    notify("RowPosition");
}

bool Vantrel::sortRefused() const {
    // Maintained strings cannot follow a sort, so no sort happens while any column keeps them.
    if (maintainData_) return true;
    for (int32_t c = 0; c < settingsColumns(); ++c)
        if (settings_[c].MaintainData) return true;
    return false;
}

void Vantrel::setSort(int32_t value) {
    if (sortRefused()) return;
    FlexGrid_->setSort(ax::narrow16(value));
    notify("Sort");
}

}  // namespace vantrel
