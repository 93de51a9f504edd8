// Masked edit box: a one-line text whose input positions follow a mask.
//
// Mask characters: # digit, 9 optional digit, ? letter, A letter or digit, a optional letter or
// digit, & any character, C optional any character or space, \ takes the next character as a
// literal, > and < turn the following input to upper or lower case, . , : / are the locale's
// decimal, thousands, time and date separators; every other character is a literal.
#pragma once
#include <cstdint>
#include <string>

#include "platform/controls/appearance.h"
#include "platform/host/child.h"

namespace ax {

class MaskEdBox : public Child {
  public:
    // Setting the mask refits the characters already there into the new input positions, in
    // order, dropping what does not fit; it never raises. An empty mask makes a plain text box.
    virtual std::string Mask() const = 0;
    virtual void setMask(const std::string& v) = 0;
    // Exactly one character, else 380. Default "_".
    virtual std::string PromptChar() const = 0;
    virtual void setPromptChar(const std::string& v) = 0;
    // The displayed text: literals, typed characters and a prompt at each empty input position
    // (a blank instead while PromptInclude is False). Setting a text that does not fit the mask
    // raises 380: it must match the mask from its start (literals as they are, the prompt for an
    // empty position), and may stop early, leaving the rest empty; the empty text clears it.
    virtual std::string Text() const = 0;
    virtual void setText(const std::string& v) = 0;
    // The typed characters only, without literals and prompts.
    virtual std::string ClipText() const = 0;
    // Limits typing while the mask is empty: 1..64, else 380. Default 64.
    virtual int32_t MaxLength() const = 0;
    virtual void setMaxLength(int32_t v) = 0;
    virtual int32_t SelStart() const = 0;
    virtual void setSelStart(int32_t v) = 0;
    virtual int32_t SelLength() const = 0;
    virtual void setSelLength(int32_t v) = 0;
    virtual std::string SelText() const = 0;
    // Whether the prompt character may be typed as a character of its own. Default False.
    virtual bool AllowPrompt() const = 0;
    virtual void setAllowPrompt(bool v) = 0;
    // Whether Text shows the prompts of empty positions. Default True.
    virtual bool PromptInclude() const = 0;
    virtual void setPromptInclude(bool v) = 0;
    AX_CONTROL_FONT_AND_POINTER
    AX_CONTROL_COLOURS

    Handler<> onChange;  // after every change of the displayed text, typed or set
    // A typed character fitted no position: the text as it would have read, and the position.
    Handler<std::string&, int32_t&> onValidationError;
    Handler<int16_t&, int16_t&> onKeyDown;
    Handler<int16_t&> onKeyPress;
    Handler<int16_t&, int16_t&> onKeyUp;
};

}  // namespace ax
