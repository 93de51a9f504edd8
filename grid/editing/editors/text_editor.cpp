// The plain text editor of TextBox columns: a single-line text box over the cell whose every change
// is written into the cell. The host hears every key first and may change it.
#include "grid/editing/column_settings.h"
#include "grid/editing/edit_engine.h"
#include "grid/editing/editors/editor_kinds.h"
#include "platform/automation/convert.h"
#include "platform/controls/text_box.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {
namespace {

class TextEditor final : public CellEditor {
  public:
    TextEditor(EditEngine& engine, ax::TextBox& box) : engine_(engine), box_(box) {
        box_.onChange = [this] {
            if (engine_.EditArmed && box_.Visible()) WriteBackEditor();
        };
        box_.onKeyDown = [this](int16_t& keyCode, int16_t& shift) { engine_.raiseKeyDown(keyCode, shift); };
        box_.onKeyUp = [this](int16_t& keyCode, int16_t& shift) { engine_.raiseKeyUp(keyCode, shift); };
        box_.onKeyPress = [this](int16_t& key) { keyPress(key); };
        box_.onLostFocus = [this] { box_.setVisible(false); };
    }
    ~TextEditor() override {
        box_.onChange = nullptr;
        box_.onKeyDown = nullptr;
        box_.onKeyUp = nullptr;
        box_.onKeyPress = nullptr;
        box_.onLostFocus = nullptr;
    }

    bool TryShowEditor() override {
        if (engine_.editKind() != TextBox) return false;
        const CellGeometry g = engine_.geometry();
        box_.setTop(g.top);
        box_.setLeft(g.left);
        box_.setWidth(raisedTo(g.width, g.widthFloor));
        box_.setHeight(g.height);
        box_.setFont(engine_.cellFont(box_.Font()));
        box_.setBackColor(engine_.EditBackColor);
        box_.setForeColor(engine_.EditForeColor);
        box_.setMousePointer(engine_.mousePointer());
        box_.setMouseIcon(engine_.mouseIcon());
        box_.setMaxLength(engine_.editColumn().TextMaxLength);
        box_.setText(engine_.EditStartText);
        box_.setSelStart(0);
        box_.setSelLength(static_cast<int32_t>(ax::charCount(box_.Text())));
        box_.setRightToLeft(engine_.flex().RightToLeft());
        EditEngine::showInFront(box_);
        return true;
    }

    void WriteBackEditor() override { engine_.writeCell(box_.Text()); }

  private:
    // The host hears the key first and the editor acts on what the host left.
    void keyPress(int16_t& key) {
        if (!box_.Visible()) return;
        engine_.raiseKeyPress(key);
        if (key == 13) {
            key = 0;
            box_.setVisible(false);
        } else if (key == 27) {
            engine_.writeCell(engine_.EditStartText);
            box_.setVisible(false);
        }
    }

    EditEngine& engine_;
    ax::TextBox& box_;
};

}  // namespace

std::unique_ptr<CellEditor> makeTextEditor(EditEngine& engine) {
    ax::TextBox* box = engine.txtBox();
    return box ? std::make_unique<TextEditor>(engine, *box) : nullptr;
}

}  // namespace vantrel
