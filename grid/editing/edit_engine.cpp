#include "grid/editing/edit_engine.h"

#include "grid/frame/vantrel.h"
#include "platform/host/child.h"

namespace vantrel {

// The editors join with in-cell editing; until then no editor opens and hiding walks the children.
EditEngine::EditEngine(Vantrel& grid) : grid_(grid) {}
EditEngine::~EditEngine() = default;

void EditEngine::BeginCellEdit(int16_t& KeyAscii) { (void)KeyAscii; }

void EditEngine::SetEditorsVisible(bool visible) { (void)visible; }

bool EditEngine::NoEditorVisible() const { return true; }

}  // namespace vantrel
