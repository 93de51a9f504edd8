// The keys every drop-down list answers alike, shared by the headless combo boxes.
#pragma once
#include <cstdint>

#include "platform/host/child.h"

namespace ax::detail {

// F4 and Alt+Up/Down open or close the list; Enter, Esc and Tab close an open one. True when the key
// was one of these, which the control then takes no further.
template <class DropDown>
bool handleDropDownKey(DropDown& control, int16_t keyCode, int16_t shift) {
    const bool alt = (shift & shiftmask::Alt) != 0;
    if (keyCode == key::F4 || (alt && (keyCode == key::Down || keyCode == key::Up))) {
        if (control.DroppedDown())
            control.closeUp();
        else
            control.dropDown();
        return true;
    }
    if (control.DroppedDown() && (keyCode == key::Return || keyCode == key::Escape || keyCode == key::Tab)) {
        control.closeUp();
        return true;
    }
    return false;
}

}  // namespace ax::detail
