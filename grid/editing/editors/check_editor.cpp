// The check-box editor of CheckBox columns: a check box centred over the cell. Its state is the
// cell's picture, written back through the cell-text rules on every click, loading included.
#include "grid/editing/column_settings.h"
#include "grid/editing/edit_engine.h"
#include "grid/editing/editors/editor_kinds.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/convert.h"
#include "platform/controls/check_box.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {
namespace {

class CheckEditor final : public CellEditor {
  public:
    CheckEditor(EditEngine& engine, ax::CheckBox& box) : engine_(engine), box_(box) {
        box_.onClick = [this] {
            engine_.raiseClick();
            WriteBackEditor();
        };
        box_.onKeyDown = [this](int16_t& keyCode, int16_t& shift) {
            if (keyCode == 13 || keyCode == 27) engine_.raiseKeyDown(keyCode, shift);
        };
        box_.onKeyPress = [this](int16_t& key) { keyPress(key); };
        box_.onLostFocus = [this] { box_.setVisible(false); };
    }
    ~CheckEditor() override {
        box_.onClick = nullptr;
        box_.onKeyDown = nullptr;
        box_.onKeyPress = nullptr;
        box_.onLostFocus = nullptr;
    }

    bool TryShowEditor() override {
        if (engine_.editKind() != CheckBox) return false;
        const CellGeometry g = engine_.geometry();
        box_.setTop(g.top);
        box_.setLeft(g.left + g.width / 2 - box_.Width() / 2);
        box_.setHeight(g.height);
        box_.setBackColor(engine_.EditBackColor);
        box_.setForeColor(engine_.EditForeColor);
        box_.setMousePointer(engine_.mousePointer());
        box_.setMouseIcon(engine_.mouseIcon());

        // The cell's state is its picture; a changed value clicks, which writes the state back.
        box_.setValue(ax::hasPicture(engine_.flex().CellPicture()) ? 1 : 0);
        engine_.EditStartText = ax::decimalText(box_.Value());  // what Esc restores
        EditEngine::showInFront(box_);
        return true;
    }

    void WriteBackEditor() override {
        if (!engine_.editCellExists()) return;
        engine_.grid().SetCellText(engine_.EditRow, engine_.EditCol, ax::decimalText(box_.Value()));
    }

  private:
    // Only Enter and Esc are the editor's; the space bar toggles the box by its own handling.
    void keyPress(int16_t& key) {
        if (!box_.Visible()) return;
        const int16_t typed = key;
        if (typed == 13) {
            engine_.raiseKeyPress(key);
            box_.setVisible(false);
        } else if (typed == 27) {
            engine_.raiseKeyPress(key);
            box_.setValue(ax::leadingNumber(engine_.EditStartText) != 0 ? 1 : 0);
            WriteBackEditor();
            box_.setVisible(false);
        }
    }

    EditEngine& engine_;
    ax::CheckBox& box_;
};

}  // namespace

std::unique_ptr<CellEditor> makeCheckEditor(EditEngine& engine) {
    ax::CheckBox* box = engine.chckBox();
    return box ? std::make_unique<CheckEditor>(engine, *box) : nullptr;
}

}  // namespace vantrel
