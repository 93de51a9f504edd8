// The headless combo box: typing into the drop-down combo's text, choosing entries by mouse and
// keys, and dropping the list down.
#pragma once
#include <vector>

#include "platform/controls/combo_box.h"
#include "platform/controls/headless/appearance.h"
#include "platform/controls/headless/edit_field.h"
#include "platform/controls/headless/field_editing.h"

namespace ax {

class HeadlessComboBox : public ComboBox, public InputTarget, public FieldEditing {
  public:
    explicit HeadlessComboBox(Style style = Style::DropDownCombo);

    Style style() const override { return style_; }
    void AddItem(const std::string& item, int32_t index = -1) override;
    void RemoveItem(int32_t index) override;
    void Clear() override;
    std::string List(int32_t index) const override;
    void setList(int32_t index, const std::string& v) override;
    int32_t ListCount() const override { return static_cast<int32_t>(items_.size()); }
    int32_t ListIndex() const override { return listIndex_; }
    void setListIndex(int32_t v) override;
    std::string Text() const override;
    void setText(const std::string& v) override;
    int32_t SelStart() const override { return field_.selStart(); }
    void setSelStart(int32_t v) override;
    int32_t SelLength() const override { return field_.selLength(); }
    void setSelLength(int32_t v) override;
    std::string SelText() const override { return field_.selText(); }
    void setSelText(const std::string& v) override;
    bool Locked() const override { return field_.locked; }
    void setLocked(bool v) override {
        field_.locked = v;
        changed();
    }
    bool RightToLeft() const override { return look_.rightToLeft; }
    void setRightToLeft(bool v) override {
        look_.rightToLeft = v;
        changed();
    }
    AX_HEADLESS_FONT_AND_POINTER
    AX_HEADLESS_COLOURS

    // The user's side: dropping the list down (F4 or Alt+Down do it too), closing it, and
    // choosing an entry with the mouse (drops the list, selects, closes it, raises Click).
    bool DroppedDown() const { return dropped_; }
    void dropDown();
    void closeUp() {
        dropped_ = false;
        changed();
    }
    void chooseByMouse(int32_t index);

    // Keys: Up/Down (and Home/End, PageUp/PageDown in the list style) choose entries; characters
    // edit the drop-down combo's text, and in the list style select the next entry starting with them.
    void keyDown(int16_t& keyCode, int16_t& shift) override;
    void keyPress(int16_t& keyAscii) override;
    void keyUp(int16_t& keyCode, int16_t& shift) override { fire(onKeyUp, keyCode, shift); }
    // A press on the drop-down button (anywhere on a drop-down list) drops the list or closes it.
    void mouseDown(int16_t button, int16_t shift, float x, float y) override;

    // TextEditing, on the drop-down combo's text (the list style has none: it offers nothing).
    bool canUndo() const override { return editable() && !field_.locked && field_.canUndo(); }
    bool canRedo() const override { return editable() && !field_.locked && field_.canRedo(); }
    bool hasSelection() const override { return editable() && field_.selLength() > 0; }
    bool readOnly() const override { return !editable() || field_.locked; }
    void deleteSelection() override;

  private:
    bool editable() const { return style_ == Style::DropDownCombo; }
    int32_t findExact(const std::string& text) const;
    // Selects entry i (the text follows it) and raises Click when asked.
    void select(int32_t i, bool click);
    // After the user edited the text: the entry that reads the same, if any, is the selection.
    void typedTextChanged();
    void run(detail::EditField::Command command) override;
    void moveCaret(int16_t keyCode, int16_t shift) {
        if (field_.moveCaret(keyCode, shift)) changed();
    }

    Style style_;
    std::vector<std::string> items_;
    int32_t listIndex_ = -1;
    detail::EditField field_;  // the text of the drop-down combo
    detail::Appearance look_;
    detail::KeyCharDecoder decoder_;
    bool dropped_ = false;
};

}  // namespace ax
