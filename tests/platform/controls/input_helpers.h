// Drives a control the way a desktop delivers input, and a tiny container that moves the focus.
#pragma once
#include <string>
#include <vector>

#include "platform/controls/headless/edit_field.h"
#include "platform/host/child.h"

namespace ctltest {

inline void press(ax::InputTarget& t, int16_t keyCode, int16_t shift = 0) {
    int16_t code = keyCode, sh = shift;
    t.keyDown(code, sh);
    if (keyCode == ax::key::Back || keyCode == ax::key::Return || keyCode == ax::key::Escape ||
        keyCode == ax::key::Space) {
        int16_t ascii = keyCode;
        t.keyPress(ascii);
    }
    code = keyCode, sh = shift;
    t.keyUp(code, sh);
}

// Types each character as key down, key press and key up.
inline void type(ax::InputTarget& t, const std::string& text) {
    for (const auto& ch : ax::detail::splitChars(text)) {
        char32_t c = ax::detail::codePoint(ch);
        int16_t code = 0, sh = 0;
        if (c >= 'a' && c <= 'z')
            code = int16_t(c - 32);
        else if (c < 128)
            code = int16_t(c);
        t.keyDown(code, sh);
        if (c >= 0x10000) {
            int16_t hi = int16_t(0xD800 + ((c - 0x10000) >> 10)),
                    lo = int16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
            t.keyPress(hi);
            t.keyPress(lo);
        } else {
            int16_t ascii = int16_t(uint16_t(c));
            t.keyPress(ascii);
        }
        t.keyUp(code, sh);
    }
}

inline void clickOn(ax::InputTarget& t, float x = 0, float y = 0) {
    t.mouseDown(1, 0, x, y);
    t.mouseUp(1, 0, x, y);
    t.click();
}

// Gives the focus to one child at a time, the old one losing it first.
class FocusContainer : public ax::Container {
  public:
    void focusChild(ax::Child* c) override {
        if (c == focused_) return;
        ax::Child* old = focused_;
        focused_ = nullptr;
        if (old) old->lostFocus();
        focused_ = c;
        if (c) c->gotFocus();
    }
    ax::Child* focusedChild() const override { return focused_; }
    void zorderChild(ax::Child*, int16_t) override {}
    void childHidden(ax::Child* c) override {
        if (c == focused_) focusChild(nullptr);
    }

  private:
    ax::Child* focused_ = nullptr;
};

}  // namespace ctltest
