// The two list editors built on combo boxes: the editable drop-down of ComboBox columns and the
// drop-down list of ComboDropDown columns. Both copy the column's item list in at each open, write
// the chosen or typed text into the cell and the chosen item's data string into the cell's
// maintained string. One hook serves both and picks the box by the column's kind.
#include "grid/editing/column_settings.h"
#include "grid/editing/edit_engine.h"
#include "grid/editing/editors/editor_kinds.h"
#include "platform/automation/convert.h"
#include "platform/controls/combo_box.h"
#include "platform/flexgrid/flexgrid.h"

namespace vantrel {
namespace {

class ComboEditor final : public CellEditor {
  public:
    ComboEditor(EditEngine& engine, ax::ComboBox* editable, ax::ComboBox* list)
        : engine_(engine), editable_(editable), list_(list) {
        if (editable_) wire(*editable_, false);
        if (list_) wire(*list_, true);
    }
    ~ComboEditor() override {
        for (ax::ComboBox* box : {editable_, list_}) {
            if (!box) continue;
            box->onChange = nullptr;
            box->onClick = nullptr;
            box->onKeyDown = nullptr;
            box->onKeyPress = nullptr;
            box->onKeyUp = nullptr;
            box->onLostFocus = nullptr;
        }
    }

    bool TryShowEditor() override {
        const int32_t kind = engine_.editKind();
        ax::ComboBox* box = kind == ComboBox ? editable_ : kind == ComboDropDown ? list_ : nullptr;
        if (!box) return false;
        active_ = box;
        const bool dropDownList = box == list_;
        const ColumnSettings& cs = engine_.editColumn();

        box->Clear();
        for (int32_t i = 1; i <= cs.itemCount(); ++i) box->AddItem(cs.ComboItems[i].Text);
        if (!dropDownList) box->setText("");
        const std::string& start = engine_.EditStartText;
        if (!start.empty()) {
            int32_t found = -1;
            for (int32_t i = 0; i < box->ListCount(); ++i) {
                if (box->List(i) == start) {
                    found = i;
                    break;
                }
            }
            if (found >= 0) {
                box->setListIndex(found);
            } else if (!dropDownList) {
                // The cell's own text joins the editor's copy of the list, not the column's.
                box->AddItem(start);
                box->setListIndex(box->ListCount() - 1);
            }
        }

        box->setFont(engine_.cellFont(box->Font()));
        const CellGeometry g = engine_.geometry();
        box->setTop(g.top);
        box->setLeft(g.left);
        box->setWidth(raisedTo(g.width, g.widthFloor));
        box->setBackColor(engine_.EditBackColor);
        box->setForeColor(engine_.EditForeColor);
        box->setMousePointer(engine_.mousePointer());
        box->setMouseIcon(engine_.mouseIcon());
        box->setRightToLeft(engine_.flex().RightToLeft());
        box->setLocked(cs.LockedCombo);
        EditEngine::showInFront(*box);
        return true;
    }

    void WriteBackEditor() override {
        if (active_) writeBack(*active_);
    }

  private:
    void wire(ax::ComboBox& box, bool dropDownList) {
        box.onChange = [this, &box] {
            if (engine_.EditArmed && box.Visible()) writeBack(box);
        };
        box.onClick = [this, &box, dropDownList] {
            if (!engine_.EditArmed || !box.Visible()) return;
            engine_.raiseClick();
            writeBack(box);
            if (dropDownList) box.setVisible(false);  // a choice from the list ends the edit
        };
        if (!dropDownList) {
            box.onKeyDown = [this](int16_t& keyCode, int16_t& shift) {
                engine_.raiseKeyDown(keyCode, shift);
            };
            box.onKeyUp = [this](int16_t& keyCode, int16_t& shift) { engine_.raiseKeyUp(keyCode, shift); };
        }
        box.onKeyPress = [this, &box, dropDownList](int16_t& key) { keyPress(box, dropDownList, key); };
        box.onLostFocus = [&box] { box.setVisible(false); };
    }

    // The text, cut to the column's length limit, then the chosen item's data string.
    void writeBack(ax::ComboBox& box) {
        const ColumnSettings& cs = engine_.editColumn();
        std::string text = box.Text();
        if (cs.TextMaxLength >= 1) text = ax::leftChars(text, static_cast<size_t>(cs.TextMaxLength));
        engine_.writeCell(text);
        if (!engine_.maintainsData()) return;
        const int32_t k = box.ListIndex() + 1;
        const int32_t n = cs.itemCount();
        if (k >= 1 && k <= n) {
            engine_.writeMaintained(cs.ComboItems[k].Data);
        } else if (k > n) {
            engine_.writeMaintained(engine_.EditStartData);  // the extra entry holding the start text
        } else {
            engine_.writeMaintained("");  // a typed text that is not in the list
        }
    }

    // The host hears the key first; the editor acts on what the host left.
    void keyPress(ax::ComboBox& box, bool dropDownList, int16_t& key) {
        if (!box.Visible()) return;
        engine_.raiseKeyPress(key);
        if (key == 13) {
            writeBack(box);
            box.setVisible(false);
        } else if (key == 27) {
            engine_.writeCell(engine_.EditStartText);
            if (engine_.maintainsData()) engine_.writeMaintained(engine_.EditStartData);
            box.setVisible(false);
        } else if (key != 8 && !dropDownList) {
            const int16_t limit = engine_.editColumn().TextMaxLength;
            if (limit >= 1 && static_cast<int64_t>(ax::charCount(box.Text())) + 1 > limit) key = 0;
        }
    }

    EditEngine& engine_;
    ax::ComboBox* editable_;
    ax::ComboBox* list_;
    ax::ComboBox* active_ = nullptr;  // the box of the last edit
};

}  // namespace

std::unique_ptr<CellEditor> makeComboEditor(EditEngine& engine) {
    if (!engine.comboBx() && !engine.comboBxDropDown()) return nullptr;
    return std::make_unique<ComboEditor>(engine, engine.comboBx(), engine.comboBxDropDown());
}

}  // namespace vantrel
