// The edit engine: when a cell editor opens, over which cell, with what value; how every change
// reaches the cell and how the edit ends. Editors are offered the cell in a fixed order.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/colour.h"

namespace vantrel {

class Vantrel;

class EditEngine {
public:
    explicit EditEngine(Vantrel& grid);  // after the grid's children exist: wires the editors' notifications
    ~EditEngine();

    void BeginCellEdit(int16_t& KeyAscii);
    void SetEditorsVisible(bool visible);
    bool NoEditorVisible() const;

    // Edit state: kept after an edit ends, until the next start attempt overwrites it.
    int32_t EditCol = 0;
    int32_t EditRow = 0;
    std::string EditStartText;
    std::string EditStartData;
    ax::OleColor EditBackColor = 0;
    ax::OleColor EditForeColor = 0;
    bool EditArmed = false;

private:
    Vantrel& grid_;
};

}  // namespace vantrel
