// The factories of the eight editors, one per file; each answers nullptr when the grid has no child
// for it (the number editor when its component could not be created).
#pragma once
#include <memory>

#include "grid/editing/editors/cell_editor.h"

namespace vantrel {

std::unique_ptr<CellEditor> makeTextEditor(EditEngine& engine);
std::unique_ptr<CellEditor> makeComboEditor(EditEngine& engine);
std::unique_ptr<CellEditor> makeImageComboEditor(EditEngine& engine);
std::unique_ptr<CellEditor> makeCheckEditor(EditEngine& engine);
std::unique_ptr<CellEditor> makeMaskEditor(EditEngine& engine);
std::unique_ptr<CellEditor> makeDateEditor(EditEngine& engine);
std::unique_ptr<CellEditor> makeNumberEditor(EditEngine& engine);

}  // namespace vantrel
