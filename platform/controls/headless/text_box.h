// The headless single-line text box: text, selection and the editing keys as a desktop text box
// handles them, with its notifications in the desktop's order; cut, copy and paste go through the
// host's clipboard, and the user's edits undo.
#pragma once
#include "platform/controls/headless/appearance.h"
#include "platform/controls/headless/edit_field.h"
#include "platform/controls/headless/field_editing.h"
#include "platform/controls/text_box.h"

namespace ax {

class HeadlessTextBox : public TextBox, public InputTarget, public FieldEditing {
  public:
    std::string Text() const override { return field_.text(); }
    void setText(const std::string& v) override;
    int32_t MaxLength() const override { return field_.maxLength; }
    void setMaxLength(int32_t v) override;
    int32_t SelStart() const override { return field_.selStart(); }
    void setSelStart(int32_t v) override;
    int32_t SelLength() const override { return field_.selLength(); }
    void setSelLength(int32_t v) override;
    std::string SelText() const override { return field_.selText(); }
    void setSelText(const std::string& v) override;
    bool Locked() const override { return field_.locked; }
    void setLocked(bool v) override { look(field_.locked, v); }
    bool RightToLeft() const override { return look_.rightToLeft; }
    void setRightToLeft(bool v) override { look(look_.rightToLeft, v); }
    FontPtr Font() const override { return look_.font; }
    void setFont(FontPtr f) override {
        look_.font = detail::checkedFont(std::move(f));
        changed();
    }
    OleColor BackColor() const override { return look_.backColor; }
    void setBackColor(OleColor c) override { look(look_.backColor, c); }
    OleColor ForeColor() const override { return look_.foreColor; }
    void setForeColor(OleColor c) override { look(look_.foreColor, c); }
    int16_t MousePointer() const override { return look_.mousePointer; }
    void setMousePointer(int16_t v) override { look(look_.mousePointer, detail::checkedMousePointer(v)); }
    PicturePtr MouseIcon() const override { return look_.mouseIcon; }
    void setMouseIcon(PicturePtr p) override {
        look_.mouseIcon = std::move(p);
        changed();
    }

    // InputTarget: KeyDown (Delete, the caret keys and the clipboard keys act after it), KeyPress
    // (characters, Backspace and Ctrl+A, C, V, X, Y, Z act after it unless the handler set the key to
    // 0), KeyUp.
    void keyDown(int16_t& keyCode, int16_t& shift) override;
    void keyPress(int16_t& keyAscii) override;
    void keyUp(int16_t& keyCode, int16_t& shift) override;

    // TextEditing: the context menu's commands.
    bool canUndo() const override { return !field_.locked && field_.canUndo(); }
    bool canRedo() const override { return !field_.locked && field_.canRedo(); }
    bool hasSelection() const override { return field_.selLength() > 0; }
    bool readOnly() const override { return field_.locked; }
    void deleteSelection() override;

  private:
    template <class T>
    void look(T& field, T v) {
        field = v;
        changed();
    }
    // Runs an editing command; a changed text raises Change.
    void run(detail::EditField::Command command) override;

    detail::EditField field_;
    detail::Appearance look_;
    detail::KeyCharDecoder decoder_;
};

}  // namespace ax
