// Standard single-line text box.
#pragma once
#include <cstdint>
#include <string>

#include "platform/automation/colour.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"
#include "platform/host/child.h"

namespace ax {

class TextBox : public Child {
  public:
    virtual std::string Text() const = 0;
    virtual void setText(const std::string& v) = 0;  // raises Change when the text differs
    virtual int32_t MaxLength() const = 0;           // characters; 0 = unlimited
    virtual void setMaxLength(int32_t v) = 0;        // typing beyond it is refused; Text is not cut
    virtual int32_t SelStart() const = 0;            // characters
    virtual void setSelStart(int32_t v) = 0;
    virtual int32_t SelLength() const = 0;
    virtual void setSelLength(int32_t v) = 0;
    virtual std::string SelText() const = 0;
    virtual void setSelText(const std::string& v) = 0;  // replaces the selection
    virtual bool Locked() const = 0;
    virtual void setLocked(bool v) = 0;
    virtual bool RightToLeft() const = 0;
    virtual void setRightToLeft(bool v) = 0;
    virtual FontPtr Font() const = 0;
    virtual void setFont(FontPtr f) = 0;
    virtual OleColor BackColor() const = 0;
    virtual void setBackColor(OleColor c) = 0;
    virtual OleColor ForeColor() const = 0;
    virtual void setForeColor(OleColor c) = 0;
    virtual int16_t MousePointer() const = 0;
    virtual void setMousePointer(int16_t v) = 0;
    virtual PicturePtr MouseIcon() const = 0;
    virtual void setMouseIcon(PicturePtr p) = 0;

    Handler<> onChange;                     // after every change of the text, typed or set
    Handler<int16_t&, int16_t&> onKeyDown;  // KeyCode, Shift
    Handler<int16_t&> onKeyPress;           // KeyAscii; 0 discards the key
    Handler<int16_t&, int16_t&> onKeyUp;
};

}  // namespace ax
