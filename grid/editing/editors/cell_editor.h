// The contract between the edit engine and one pop-up editor: the engine offers the edit cell to
// each editor in turn; the editor whose kind the column asks for shows itself over the cell and from
// then on writes its value back into the cell. Everything else an editor does is its own.
#pragma once
#include <memory>
#include <vector>

namespace vantrel {

class EditEngine;

class CellEditor {
  public:
    virtual ~CellEditor() = default;
    // When the edit column's kind is this editor's: place it over the cell, load it with the cell's
    // value and look, show it with the focus and answer True. Otherwise touch nothing, answer False.
    virtual bool TryShowEditor() = 0;
    // Copies the editor's current value into the edit cell.
    virtual void WriteBackEditor() = 0;
};

// The editors in the order the engine offers them the cell: text, the two combo boxes, image
// combo, check box, masked text, date, number.
std::vector<std::unique_ptr<CellEditor>> makeCellEditors(EditEngine& engine);

}  // namespace vantrel
