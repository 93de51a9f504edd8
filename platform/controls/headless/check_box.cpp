#include "platform/controls/headless/check_box.h"

#include "platform/automation/errors.h"

namespace ax {

void HeadlessCheckBox::setValue(int16_t v) {
    if (v < Unchecked || v > Grayed) raise(err::InvalidPropertyValue);
    if (v == value_) return;
    value_ = v;
    changed();
    fire(onClick);
}

void HeadlessCheckBox::toggle() { setValue(value_ == Unchecked ? Checked : Unchecked); }

void HeadlessCheckBox::keyDown(int16_t& keyCode, int16_t& shift) {
    fire(onKeyDown, keyCode, shift);
    if (keyCode == key::Space) spaceDown_ = true;
}

void HeadlessCheckBox::keyUp(int16_t& keyCode, int16_t& shift) {
    fire(onKeyUp, keyCode, shift);
    // A button acts when the space bar is released, and only if it went down on this button.
    if (keyCode == key::Space && spaceDown_ && Enabled()) toggle();
    spaceDown_ = false;
}

void HeadlessCheckBox::click() {
    if (Enabled()) toggle();
}

}  // namespace ax
