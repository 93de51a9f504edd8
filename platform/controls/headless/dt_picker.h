// The headless date picker. The keyboard edits one field of the displayed text at a time: Left and
// Right move between fields, Up and Down step the focused field (wrapping within it), digits type
// into it and move on once it is full, the space bar toggles the check box.
#pragma once
#include <vector>

#include "platform/automation/convert.h"
#include "platform/controls/dt_picker.h"
#include "platform/controls/headless/appearance.h"
#include "platform/controls/text_editing.h"

namespace ax {

// Its typed fields take the clipboard as a whole: Ctrl+C (Ctrl+Insert) copies the displayed text, and
// Ctrl+V (Shift+Insert) pastes a text that reads as a date or time into the fields the format shows,
// within MinDate..MaxDate; anything else is refused without a change.
class HeadlessDTPicker : public DTPicker, public InputTarget, public TextEditing {
  public:
    HeadlessDTPicker();

    Variant Value() const override;
    void setValue(const Variant& v) override;
    bool CheckBox() const override { return checkBox_; }
    void setCheckBox(bool v) override;
    Date MinDate() const override { return minDate_; }
    void setMinDate(Date v) override;
    Date MaxDate() const override { return maxDate_; }
    void setMaxDate(Date v) override;
    int16_t Format() const override { return format_; }
    void setFormat(int16_t v) override;
    std::string CustomFormat() const override { return customFormat_; }
    void setCustomFormat(const std::string& v) override;
    bool UpDown() const override { return upDown_; }
    void setUpDown(bool v) override {
        upDown_ = v;
        changed();
    }
    std::string Text() const override;

    OleColor CalendarBackColor() const override { return calendar_[0]; }
    void setCalendarBackColor(OleColor c) override { calendar_[0] = c; }
    OleColor CalendarForeColor() const override { return calendar_[1]; }
    void setCalendarForeColor(OleColor c) override { calendar_[1] = c; }
    OleColor CalendarTitleBackColor() const override { return calendar_[2]; }
    void setCalendarTitleBackColor(OleColor c) override { calendar_[2] = c; }
    OleColor CalendarTitleForeColor() const override { return calendar_[3]; }
    void setCalendarTitleForeColor(OleColor c) override { calendar_[3] = c; }
    OleColor CalendarTrailingForeColor() const override { return calendar_[4]; }
    void setCalendarTrailingForeColor(OleColor c) override { calendar_[4] = c; }
    AX_HEADLESS_FONT_AND_POINTER

    // The user's side: the check box clicked, the calendar dropped down (F4 or Alt+Down too, unless
    // UpDown) and a day chosen in it (keeps the time of day, closes the calendar).
    bool Checked() const { return !checkBox_ || checked_; }
    void clickCheckBox();
    bool DroppedDown() const { return dropped_; }
    void dropDown();
    void closeUp();
    void chooseFromCalendar(Date day);
    // The focused field, as its pattern token ("M", "dd", "yyyy", "tt", ...), and its number.
    std::string focusedField() const;
    int focusedFieldIndex() const { return field_; }

    void keyDown(int16_t& keyCode, int16_t& shift) override;
    void keyPress(int16_t& keyAscii) override;
    void keyUp(int16_t& keyCode, int16_t& shift) override { fire(onKeyUp, keyCode, shift); }
    // A press on the check box square (at the left) toggles it; on the button at the right it
    // drops the calendar, or with UpDown steps the focused field (upper half up, lower half down).
    void mouseDown(int16_t button, int16_t shift, float x, float y) override;
    void lostFocus() override;

    // TextEditing: copy and paste of the whole value; nothing to cut or undo.
    bool canUndo() const override { return false; }
    bool canRedo() const override { return false; }
    bool hasSelection() const override { return Checked(); }
    bool readOnly() const override { return !Enabled(); }
    bool canCut() const override { return false; }
    void cut() override {}
    void copy() override;
    void paste() override;
    void undo() override {}
    void redo() override {}
    void deleteSelection() override {}
    void selectAll() override {}

    struct Token {
        std::string text;  // a pattern token, or literal text
        bool literal = false;
        char field = 0;  // y M d h(H) m s t for editable fields; 0 otherwise (literals, weekday)
    };

  private:
    std::vector<Token> tokens() const;
    std::vector<size_t> fieldTokens() const;
    // Sets the value's date and time from civil parts (the day held to its month), held within
    // MinDate..MaxDate, raising Change when it differs.
    bool moveTo(CivilDateTime c);
    void stepField(int delta);
    void typeDigit(int digit);
    void nextField();

    CivilDateTime value_;
    bool checkBox_ = false, checked_ = true;
    Date minDate_, maxDate_;
    int16_t format_ = ShortDate;
    std::string customFormat_;
    bool upDown_ = false;
    OleColor calendar_[5];
    detail::Appearance look_;
    bool dropped_ = false;
    int field_ = 0;    // the focused editable field, counted among the editable fields
    int pending_ = 0;  // digits typed into the focused field so far
    int pendingDigits_ = 0;
};

}  // namespace ax
