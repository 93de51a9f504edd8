#include "grid/editing/editors/cell_editor.h"

#include "grid/editing/editors/editor_kinds.h"

namespace vantrel {

std::vector<std::unique_ptr<CellEditor>> makeCellEditors(EditEngine& engine) {
    std::vector<std::unique_ptr<CellEditor>> editors;
    for (auto make : {makeTextEditor, makeComboEditor, makeImageComboEditor, makeCheckEditor, makeMaskEditor,
                      makeDateEditor, makeNumberEditor}) {
        if (auto editor = make(engine)) editors.push_back(std::move(editor));
    }
    return editors;
}

}  // namespace vantrel
