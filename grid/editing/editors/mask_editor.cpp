// The masked editor of MaskEDBox columns. The cell follows every keystroke, but an edit only ends
// with a complete entry, an empty one, or the text the cell had before.
#include "grid/editing/column_settings.h"
#include "grid/editing/edit_engine.h"
#include "grid/editing/editors/editor_kinds.h"
#include "platform/automation/convert.h"
#include "platform/controls/headless/edit_field.h"
#include "platform/controls/mask_ed_box.h"

namespace vantrel {
namespace {

class MaskEditor final : public CellEditor {
  public:
    MaskEditor(EditEngine& engine, ax::MaskEdBox& box) : engine_(engine), box_(box) {
        box_.onChange = [this] {
            if (engine_.EditArmed && box_.Visible()) WriteBackEditor();
        };
        box_.onKeyDown = [this](int16_t& keyCode, int16_t& shift) {
            if (keyCode == 13 || keyCode == 27) engine_.raiseKeyDown(keyCode, shift);
        };
        box_.onKeyPress = [this](int16_t& key) { keyPress(key); };
        box_.onLostFocus = [this] { leave(); };
    }
    ~MaskEditor() override {
        box_.onChange = nullptr;
        box_.onKeyDown = nullptr;
        box_.onKeyPress = nullptr;
        box_.onLostFocus = nullptr;
    }

    bool TryShowEditor() override {
        if (engine_.editKind() != MaskEDBox) return false;
        const ColumnSettings& cs = engine_.editColumn();
        const CellGeometry g = engine_.geometry();
        box_.setTop(g.top);
        box_.setLeft(g.left);
        box_.setWidth(raisedTo(g.width, g.widthFloor));
        box_.setHeight(raisedTo(g.height, g.fontSize * 30));
        box_.setFont(engine_.cellFont(box_.Font()));
        box_.setBackColor(engine_.EditBackColor);
        box_.setForeColor(engine_.EditForeColor);
        box_.setMousePointer(engine_.mousePointer());
        box_.setMouseIcon(engine_.mouseIcon());
        box_.setMaxLength(cs.TextMaxLength >= 1 && cs.TextMaxLength <= 64 ? cs.TextMaxLength : 64);
        // The start text goes in without a mask; the mask then shapes it as the box sees fit.
        box_.setMask("");
        box_.setText("");
        box_.setText(engine_.EditStartText);
        box_.setMask(cs.MaskEditMask);
        box_.setPromptChar(cs.MaskEditPromptChar);
        box_.setSelStart(0);
        box_.setSelLength(static_cast<int32_t>(ax::charCount(box_.Text())));
        maskPromptCount_ = countPrompts(cs.MaskEditMask, cs.MaskEditPromptChar, ax::charCount(box_.Mask()));
        open_ = true;
        EditEngine::showInFront(box_);
        return true;
    }

    void WriteBackEditor() override { engine_.writeCell(box_.Text()); }

  private:
    // How many characters of the mask are the prompt character itself: the prompts that a filled
    // entry still shows.
    static int16_t countPrompts(const std::string& mask, const std::string& prompt, size_t length) {
        const ax::detail::Chars chars = ax::detail::splitChars(mask);
        int16_t n = 0;
        for (size_t i = 0; i < chars.size() && i < length; ++i) {
            if (chars[i] == prompt) ++n;
        }
        return n;
    }

    bool entryEmpty() const { return box_.ClipText().empty(); }
    bool entryComplete() const {
        const std::string prompt = box_.PromptChar();
        int32_t shown = 0;
        for (const auto& ch : ax::detail::splitChars(box_.Text())) {
            if (ch == prompt) ++shown;
        }
        return shown == maskPromptCount_;
    }

    // The key is judged as typed; the host hears only Enter and Esc.
    void keyPress(int16_t& key) {
        if (!box_.Visible()) return;
        const int16_t typed = key;
        if (typed == 13) {
            engine_.raiseKeyPress(key);
            key = 0;
            if (entryComplete()) {
                close();
            } else if (entryEmpty()) {
                engine_.writeCell("");
                close();
            } else {
                engine_.writeCell(engine_.EditStartText);  // a partial entry stays open
            }
        } else if (typed == 27) {
            engine_.raiseKeyPress(key);
            engine_.writeCell(engine_.EditStartText);
            close();
        }
    }

    // Enter and Esc have already decided what the cell keeps; the focus loss that hiding causes
    // must not decide again.
    void close() {
        open_ = false;
        box_.setVisible(false);
    }

    // Leaving keeps only a complete entry; an emptied one empties the cell, anything else restores it.
    // This also holds when the grid hides the box while it has the focus (a scroll, a drag).
    void leave() {
        if (!open_) return;
        open_ = false;
        if (entryEmpty()) {
            engine_.writeCell("");
        } else if (!entryComplete()) {
            engine_.writeCell(engine_.EditStartText);
        }
        box_.setVisible(false);
    }

    EditEngine& engine_;
    ax::MaskEdBox& box_;
    int16_t maskPromptCount_ = 0;
    bool open_ = false;  // shown for an edit that Enter, Esc or a focus loss has not ended yet
};

}  // namespace

std::unique_ptr<CellEditor> makeMaskEditor(EditEngine& engine) {
    ax::MaskEdBox* box = engine.maskEdit();
    return box ? std::make_unique<MaskEditor>(engine, *box) : nullptr;
}

}  // namespace vantrel
