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

// Width of the drop-down button and of a check box square on a desktop control (17 pixels).
inline constexpr float ButtonWidth = 255;

struct Appearance {
    FontPtr font = std::make_shared<Font>();
    OleColor backColor = syscolor::WindowBackground;
    OleColor foreColor = syscolor::WindowText;
    int16_t mousePointer = 0;
    PicturePtr mouseIcon;
    bool rightToLeft = false;
};

}  // namespace ax::detail

// The appearance members of a headless control, kept in a detail::Appearance member named look_. Each
// let tells a watching view (Child::changed).
#define AX_HEADLESS_FONT_AND_POINTER                                     \
    FontPtr Font() const override { return look_.font; }                 \
    void setFont(FontPtr f) override {                                   \
        look_.font = ax::detail::checkedFont(std::move(f));              \
        changed();                                                       \
    }                                                                    \
    int16_t MousePointer() const override { return look_.mousePointer; } \
    void setMousePointer(int16_t v) override {                           \
        look_.mousePointer = ax::detail::checkedMousePointer(v);         \
        changed();                                                       \
    }                                                                    \
    PicturePtr MouseIcon() const override { return look_.mouseIcon; }    \
    void setMouseIcon(PicturePtr p) override {                           \
        look_.mouseIcon = std::move(p);                                  \
        changed();                                                       \
    }

#define AX_HEADLESS_COLOURS                                         \
    OleColor BackColor() const override { return look_.backColor; } \
    void setBackColor(OleColor c) override {                        \
        look_.backColor = c;                                        \
        changed();                                                  \
    }                                                               \
    OleColor ForeColor() const override { return look_.foreColor; } \
    void setForeColor(OleColor c) override {                        \
        look_.foreColor = c;                                        \
        changed();                                                  \
    }
