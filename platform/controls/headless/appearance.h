// Settings that every headless control keeps the same way: font, colours, mouse pointer and icon.
#pragma once
#include <cstdint>

#include "platform/automation/colour.h"
#include "platform/automation/errors.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"

namespace ax::detail {

// Mouse pointers are 0 (default) to 15 and 99 (custom icon); anything else raises 380.
inline int16_t checkedMousePointer(int16_t v) {
    if ((v < 0 || v > 15) && v != 99) raise(err::InvalidPropertyValue);
    return v;
}

// A control always has a font; setting none raises 380.
inline FontPtr checkedFont(FontPtr f) {
    if (!f) raise(err::InvalidPropertyValue);
    return f;
}

struct Appearance {
    FontPtr font = std::make_shared<Font>();
    OleColor backColor = syscolor::WindowBackground;
    OleColor foreColor = syscolor::WindowText;
    int16_t mousePointer = 0;
    PicturePtr mouseIcon;
    bool rightToLeft = false;
};

}  // namespace ax::detail
