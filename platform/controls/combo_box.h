// Standard combo box, in one of two styles fixed when it is created: a drop-down combo (an editable
// text with a list) or a drop-down list (only list entries can be chosen).
#pragma once
#include <cstdint>
#include <string>

#include "platform/controls/appearance.h"
#include "platform/host/child.h"

namespace ax {

class ComboBox : public Child {
  public:
    enum class Style : int16_t { DropDownCombo = 0, DropDownList = 2 };

    virtual Style style() const = 0;

    // Inserts at index (0..ListCount) or, with -1, appends; another index raises 5.
    virtual void AddItem(const std::string& item, int32_t index = -1) = 0;
    virtual void RemoveItem(int32_t index) = 0;                     // 0..ListCount-1, else 5
    virtual void Clear() = 0;                                       // the list and the text
    virtual std::string List(int32_t index) const = 0;              // empty text outside the list
    virtual void setList(int32_t index, const std::string& v) = 0;  // 381 outside the list
    virtual int32_t ListCount() const = 0;
    virtual int32_t ListIndex() const = 0;     // -1: no entry selected (or a typed text not in the list)
    virtual void setListIndex(int32_t v) = 0;  // -1..ListCount-1, else 380; a new entry raises Click

    // The drop-down combo's text, or the selected entry of the drop-down list. A drop-down list
    // takes only a listed text (or the empty text, selecting nothing); another raises 383.
    virtual std::string Text() const = 0;
    virtual void setText(const std::string& v) = 0;
    virtual int32_t SelStart() const = 0;
    virtual void setSelStart(int32_t v) = 0;
    virtual int32_t SelLength() const = 0;
    virtual void setSelLength(int32_t v) = 0;
    virtual std::string SelText() const = 0;
    virtual void setSelText(const std::string& v) = 0;
    virtual bool Locked() const = 0;  // the user can neither type nor choose
    virtual void setLocked(bool v) = 0;
    virtual bool RightToLeft() const = 0;
    virtual void setRightToLeft(bool v) = 0;
    AX_CONTROL_FONT_AND_POINTER
    AX_CONTROL_COLOURS

    Handler<> onChange;    // the editable text changed, typed or set (drop-down combo only)
    Handler<> onClick;     // an entry was chosen, by mouse, by keys or by setting ListIndex
    Handler<> onDropDown;  // the list is about to drop down
    Handler<int16_t&, int16_t&> onKeyDown;
    Handler<int16_t&> onKeyPress;
    Handler<int16_t&, int16_t&> onKeyUp;
};

}  // namespace ax
