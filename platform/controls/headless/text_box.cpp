#include "platform/controls/headless/text_box.h"

#include "platform/automation/errors.h"

namespace ax {

void HeadlessTextBox::setText(const std::string& v) {
    if (v == field_.text()) return;
    field_.setText(v);
    fire(onChange);
}

void HeadlessTextBox::setMaxLength(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    field_.maxLength = v;
}

void HeadlessTextBox::setSelStart(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    field_.setSelStart(v);
}

void HeadlessTextBox::setSelLength(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    field_.setSelLength(v);
}

void HeadlessTextBox::setSelText(const std::string& v) {
    const std::string before = field_.text();
    field_.replaceSelection(v);
    if (field_.text() != before) fire(onChange);
}

void HeadlessTextBox::keyDown(int16_t& keyCode, int16_t& shift) {
    fire(onKeyDown, keyCode, shift);
    if (keyCode == key::Delete) {
        if (field_.deleteForward()) fire(onChange);
    } else {
        field_.moveCaret(keyCode, shift);
    }
}

void HeadlessTextBox::keyPress(int16_t& keyAscii) {
    fire(onKeyPress, keyAscii);
    if (keyAscii == 0) return;
    if (keyAscii == key::Back) {
        if (field_.backspace()) fire(onChange);
        return;
    }
    // Enter, Esc, Tab and the other control characters do not enter a single-line box.
    if (keyAscii > 0 && keyAscii < 32) return;
    std::string ch = decoder_.feed(keyAscii);
    if (!ch.empty() && field_.typeChar(ch)) fire(onChange);
}

void HeadlessTextBox::keyUp(int16_t& keyCode, int16_t& shift) { fire(onKeyUp, keyCode, shift); }

}  // namespace ax
