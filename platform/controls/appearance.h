// The appearance members shared by the standard controls' interfaces.
#pragma once
#include <cstdint>

#include "platform/automation/colour.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"

// Font, mouse pointer (0..15, 99 custom; others raise 380) and mouse icon.
#define AX_CONTROL_FONT_AND_POINTER              \
    virtual FontPtr Font() const = 0;            \
    virtual void setFont(FontPtr f) = 0;         \
    virtual int16_t MousePointer() const = 0;    \
    virtual void setMousePointer(int16_t v) = 0; \
    virtual PicturePtr MouseIcon() const = 0;    \
    virtual void setMouseIcon(PicturePtr p) = 0;

#define AX_CONTROL_COLOURS                     \
    virtual OleColor BackColor() const = 0;    \
    virtual void setBackColor(OleColor c) = 0; \
    virtual OleColor ForeColor() const = 0;    \
    virtual void setForeColor(OleColor c) = 0;
