// Standard check box: unchecked (0), checked (1) or greyed (2).
#pragma once
#include <cstdint>
#include <string>

#include "platform/controls/appearance.h"
#include "platform/host/child.h"

namespace ax {

class CheckBox : public Child {
  public:
    enum : int16_t { Unchecked = 0, Checked = 1, Grayed = 2 };

    virtual int16_t Value() const = 0;
    virtual void setValue(int16_t v) = 0;  // 0, 1 or 2, else 380; a different value raises Click
    virtual std::string Caption() const = 0;
    virtual void setCaption(const std::string& v) = 0;
    AX_CONTROL_FONT_AND_POINTER
    AX_CONTROL_COLOURS
    virtual bool RightToLeft() const = 0;
    virtual void setRightToLeft(bool v) = 0;

    Handler<> onClick;  // the value changed, by the user or by the host
    Handler<int16_t&, int16_t&> onKeyDown;
    Handler<int16_t&> onKeyPress;
    Handler<int16_t&, int16_t&> onKeyUp;
};

}  // namespace ax
