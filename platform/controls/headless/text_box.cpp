#include "platform/controls/headless/text_box.h"

#include "platform/automation/errors.h"

namespace ax {

void HeadlessTextBox::setText(const std::string& v) {
    if (v == field_.text()) return;
    field_.setText(v);
    changed();
    fire(onChange);
}

void HeadlessTextBox::setMaxLength(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    field_.maxLength = v;
}

void HeadlessTextBox::setSelStart(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    field_.setSelStart(v);
    changed();
}

void HeadlessTextBox::setSelLength(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    field_.setSelLength(v);
    changed();
}

void HeadlessTextBox::setSelText(const std::string& v) {
    const std::string before = field_.text();
    field_.replaceSelection(v);
    changed();
    if (field_.text() != before) fire(onChange);
}

void HeadlessTextBox::run(detail::EditField::Command command) {
    const bool textChanged =
        detail::runEditCommand(field_, command, container_ ? container_->clipboard() : nullptr);
    changed();
    if (textChanged) fire(onChange);
}

void HeadlessTextBox::deleteSelection() {
    if (field_.selLength() == 0 || !field_.deleteForward()) return;
    changed();
    fire(onChange);
}

void HeadlessTextBox::keyDown(int16_t& keyCode, int16_t& shift) {
    fire(onKeyDown, keyCode, shift);
    if (const auto command = detail::editCommandOfKeyDown(keyCode, shift);
        command != detail::EditField::Command::None) {
        run(command);
    } else if (keyCode == key::Delete) {
        if (field_.deleteForward()) {
            changed();
            fire(onChange);
        }
    } else if (field_.moveCaret(keyCode, shift)) {
        changed();
    }
}

void HeadlessTextBox::keyPress(int16_t& keyAscii) {
    fire(onKeyPress, keyAscii);
    if (keyAscii == 0) return;
    if (keyAscii == key::Back) {
        if (field_.backspace()) {
            changed();
            fire(onChange);
        }
        return;
    }
    if (const auto command = detail::editCommandOfKeyPress(keyAscii);
        command != detail::EditField::Command::None)
        return run(command);
    // Enter, Esc, Tab and the other control characters do not enter a single-line box.
    if (keyAscii > 0 && keyAscii < 32) return;
    std::string ch = decoder_.feed(keyAscii);
    if (!ch.empty() && field_.typeChar(ch)) {
        changed();
        fire(onChange);
    }
}

void HeadlessTextBox::keyUp(int16_t& keyCode, int16_t& shift) { fire(onKeyUp, keyCode, shift); }

}  // namespace ax
