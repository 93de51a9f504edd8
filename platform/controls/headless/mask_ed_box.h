// The headless masked edit box: typing fills input positions in overwrite mode and skips
// literals; a character that does not fit its position is refused. A paste goes through the mask
// the same way from the caret on; the user's edits undo.
#pragma once
#include <vector>

#include "platform/controls/headless/appearance.h"
#include "platform/controls/headless/edit_field.h"
#include "platform/controls/headless/field_editing.h"
#include "platform/controls/mask_ed_box.h"

namespace ax {

class HeadlessMaskEdBox : public MaskEdBox, public InputTarget, public FieldEditing {
  public:
    HeadlessMaskEdBox() { plain_.maxLength = 64; }

    std::string Mask() const override { return mask_; }
    void setMask(const std::string& v) override;
    std::string PromptChar() const override { return prompt_; }
    void setPromptChar(const std::string& v) override;
    std::string Text() const override;
    void setText(const std::string& v) override;
    std::string ClipText() const override;
    int32_t MaxLength() const override { return plain_.maxLength; }
    void setMaxLength(int32_t v) override;
    int32_t SelStart() const override;
    void setSelStart(int32_t v) override;
    int32_t SelLength() const override;
    void setSelLength(int32_t v) override;
    std::string SelText() const override;
    bool AllowPrompt() const override { return allowPrompt_; }
    void setAllowPrompt(bool v) override {
        allowPrompt_ = v;
        changed();
    }
    bool PromptInclude() const override { return promptInclude_; }
    void setPromptInclude(bool v) override;
    AX_HEADLESS_FONT_AND_POINTER
    AX_HEADLESS_COLOURS

    // Characters fill input positions (Backspace empties the one before the caret); Delete
    // empties the one at the caret or the selected ones; Left/Right/Home/End move the caret.
    void keyDown(int16_t& keyCode, int16_t& shift) override;
    void keyPress(int16_t& keyAscii) override;
    void keyUp(int16_t& keyCode, int16_t& shift) override { fire(onKeyUp, keyCode, shift); }

    // TextEditing: the clipboard holds the selected text as shown; a paste fills positions from the
    // selection's start as typing would (a separator moves past the mask's next one, a prompt character
    // leaves its position empty); what fits nowhere is dropped.
    bool canUndo() const override { return masked() ? !undo_.empty() : plain_.canUndo(); }
    bool canRedo() const override { return masked() ? !redo_.empty() : plain_.canRedo(); }
    bool hasSelection() const override { return SelLength() > 0; }
    bool readOnly() const override { return false; }
    void deleteSelection() override;

  private:
    struct Slot {
        char kind = 0;        // 0 for a literal, else the mask character of an input position
        std::string literal;  // the literal's character
        int caseMode = 0;     // 1 upper, 2 lower
        std::string value;    // the entered character; empty when the position is empty
    };

    bool masked() const { return !slots_.empty(); }
    int32_t size() const { return static_cast<int32_t>(slots_.size()); }
    std::string display(bool withPrompts) const;
    // The character as the position takes it (case converted), or empty when it does not fit.
    std::string fitted(const Slot& slot, const std::string& ch) const;
    // Sets the masked positions from a text as setMask refits it: never fails.
    void refit(const std::string& source);
    void clearRange(int32_t from, int32_t count);
    bool typeMasked(const std::string& ch);
    bool backspaceMasked();
    bool deleteMasked();
    bool pasteMasked(const std::string& text);
    // Runs an edit and raises Change when the displayed text differs afterwards.
    template <class F>
    void changing(F&& edit);
    // A user's edit of the masked positions: kept for undo when it changes them (a run of typed
    // characters is one step).
    enum class Run { None, Typing, Other };
    template <class F>
    void userEdit(Run run, F&& edit);
    void run(detail::EditField::Command command) override;
    void forgetEdits();
    struct Snapshot {
        std::vector<std::string> values;
        int32_t anchor, caret;
    };
    Snapshot snapshot() const;
    void restoreFrom(std::vector<Snapshot>& from, std::vector<Snapshot>& to);

    std::string mask_;
    std::string prompt_ = "_";
    bool allowPrompt_ = false;
    bool promptInclude_ = true;
    std::vector<Slot> slots_;
    detail::EditField plain_;         // the text while the mask is empty
    int32_t anchor_ = 0, caret_ = 0;  // selection over the masked display
    std::vector<Snapshot> undo_, redo_;
    Run run_ = Run::None;
    detail::Appearance look_;
    detail::KeyCharDecoder decoder_;
};

}  // namespace ax
