// Date and time picker: a date (or nothing, while its check box is shown and cleared) edited field
// by field, within MinDate..MaxDate.
#pragma once
#include <cstdint>
#include <string>

#include "platform/automation/variant.h"
#include "platform/controls/appearance.h"
#include "platform/host/child.h"

namespace ax {

class DTPicker : public Child {
  public:
    enum : int16_t { LongDate = 0, ShortDate = 1, Time = 2, CustomFormatted = 3 };
    // Raised by setting Value to a date outside MinDate..MaxDate. A distinct number (rather than
    // the general 380) lets a host tell a date out of range from a value of the wrong kind.
    static constexpr int32_t DateOutOfRange = 35788;

    // A Date, or Null while the check box is shown and cleared. Setting: a date (or text or number
    // that reads as one; 13 otherwise), outside the range 35788; Null (or the empty text) clears
    // the check box, and without a check box Null raises 380 while the empty text gives today.
    virtual Variant Value() const = 0;
    virtual void setValue(const Variant& v) = 0;
    virtual bool CheckBox() const = 0;
    virtual void setCheckBox(bool v) = 0;
    // Dates only (a time of day is dropped), 1 January 1601 to 31 December 9999, else 380. A bound
    // set past the other one takes the other one along; the value follows the range.
    virtual Date MinDate() const = 0;
    virtual void setMinDate(Date v) = 0;
    virtual Date MaxDate() const = 0;
    virtual void setMaxDate(Date v) = 0;
    // 0 long date, 1 short date (default), 2 time, 3 custom; else 380.
    virtual int16_t Format() const = 0;
    virtual void setFormat(int16_t v) = 0;
    // Patterns of d dd ddd dddd, M MM MMM MMMM, y yy yyyy, h hh H HH, m mm, s ss, t tt and
    // 'quoted text'; other characters show as they are.
    virtual std::string CustomFormat() const = 0;
    virtual void setCustomFormat(const std::string& v) = 0;
    // Spin arrows instead of a drop-down calendar.
    virtual bool UpDown() const = 0;
    virtual void setUpDown(bool v) = 0;
    // The displayed text of the value in the current format.
    virtual std::string Text() const = 0;

    virtual OleColor CalendarBackColor() const = 0;
    virtual void setCalendarBackColor(OleColor c) = 0;
    virtual OleColor CalendarForeColor() const = 0;
    virtual void setCalendarForeColor(OleColor c) = 0;
    virtual OleColor CalendarTitleBackColor() const = 0;
    virtual void setCalendarTitleBackColor(OleColor c) = 0;
    virtual OleColor CalendarTitleForeColor() const = 0;
    virtual void setCalendarTitleForeColor(OleColor c) = 0;
    virtual OleColor CalendarTrailingForeColor() const = 0;
    virtual void setCalendarTrailingForeColor(OleColor c) = 0;
    AX_CONTROL_FONT_AND_POINTER

    Handler<> onChange;  // the value (or the check box) changed, by the user or by the host
    Handler<> onDropDown;
    Handler<> onCloseUp;
    Handler<int16_t&, int16_t&> onKeyDown;
    Handler<int16_t&> onKeyPress;
    Handler<int16_t&, int16_t&> onKeyUp;
};

}  // namespace ax
