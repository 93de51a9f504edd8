// Flat scroll bar: the spin arrows of the number editor.
#pragma once
#include <cstdint>

#include "platform/host/child.h"

namespace ax {

class FlatScrollBar : public Child {
  public:
    enum class Orientation : int16_t { Vertical = 0, Horizontal = 1 };
    enum class Part { LeftArrow, RightArrow, PageLeft, PageRight };

    virtual int16_t Min() const = 0;
    virtual void setMin(int16_t v) = 0;
    virtual int16_t Max() const = 0;
    virtual void setMax(int16_t v) = 0;
    virtual int16_t Value() const = 0;
    virtual void setValue(
        int16_t v) = 0;  // raises Change when the value actually changes; 380 outside Min..Max
    virtual int16_t SmallChange() const = 0;
    virtual void setSmallChange(int16_t v) = 0;
    virtual int16_t LargeChange() const = 0;
    virtual void setLargeChange(int16_t v) = 0;
    virtual int16_t Arrows() const = 0;  // 0 both, 1 left/up only, 2 right/down only
    virtual void setArrows(int16_t v) = 0;
    virtual Orientation orientation() const = 0;
    virtual void setOrientation(Orientation o) = 0;
    virtual int16_t MousePointer() const = 0;
    virtual void setMousePointer(int16_t v) = 0;
    // Whether a click or Tab gives the bar the keyboard focus (True, as for any desktop scroll bar
    // with a tab stop). A bar without one leaves the focus where it is, so the spin arrows of a text
    // field can be clicked while the keys still go to the field.
    virtual bool TabStop() const = 0;
    virtual void setTabStop(bool v) = 0;

    // A user's click on a part of the bar: arrows step by SmallChange, the track by LargeChange,
    // within Min..Max (a disabled arrow does nothing).
    virtual void clickPart(Part part) = 0;

    Handler<> onChange;
    // A mouse button went down on the bar (Button, Shift, X, Y in the bar's own units), before the
    // bar acts on the press.
    Handler<int16_t, int16_t, float, float> onMouseDown;
};

}  // namespace ax
