// The headless flat scroll bar: a value within Min..Max (either may be the larger one) moved by
// its arrows, its track, and the arrow and page keys while it has the focus.
#pragma once
#include "platform/controls/flat_scroll_bar.h"
#include "platform/controls/headless/appearance.h"

namespace ax {

class HeadlessFlatScrollBar : public FlatScrollBar, public InputTarget {
  public:
    int16_t Min() const override { return min_; }
    void setMin(int16_t v) override;
    int16_t Max() const override { return max_; }
    void setMax(int16_t v) override;
    int16_t Value() const override { return value_; }
    void setValue(int16_t v) override;
    int16_t SmallChange() const override { return small_; }
    void setSmallChange(int16_t v) override;
    int16_t LargeChange() const override { return large_; }
    void setLargeChange(int16_t v) override;
    int16_t Arrows() const override { return arrows_; }
    void setArrows(int16_t v) override;
    Orientation orientation() const override { return orientation_; }
    void setOrientation(Orientation o) override;
    int16_t MousePointer() const override { return mousePointer_; }
    void setMousePointer(int16_t v) override { mousePointer_ = detail::checkedMousePointer(v); }
    bool TabStop() const override { return tabStop_; }
    void setTabStop(bool v) override { tabStop_ = v; }
    // The host gives the focus on a click and on Tab only to children that can take it.
    bool canFocus() const override { return tabStop_; }

    void clickPart(Part part) override;

    // Which part lies under a point of the bar (in the bar's own twips); the thumb is no part.
    bool partAt(float x, float y, Part& part) const;

    // InputTarget: a mouse press is reported (onMouseDown), then acts like clickPart on the arrow or
    // track under it; Left/Up and Right/Down step, PageUp/PageDown page, Home/End go to Min/Max.
    void keyDown(int16_t& keyCode, int16_t& shift) override;
    void keyPress(int16_t& keyAscii) override { (void)keyAscii; }
    void keyUp(int16_t& keyCode, int16_t& shift) override { (void)keyCode, (void)shift; }
    void mouseDown(int16_t button, int16_t shift, float x, float y) override;

  private:
    int16_t low() const { return std::min(min_, max_); }
    int16_t high() const { return std::max(min_, max_); }
    // Moves the value by delta towards Max (negative: towards Min), held within the range.
    void step(int32_t delta);
    void moveTo(int32_t v);

    int16_t min_ = 0, max_ = 100, value_ = 0;
    int16_t small_ = 1, large_ = 10;
    int16_t arrows_ = 0;
    Orientation orientation_ = Orientation::Horizontal;
    int16_t mousePointer_ = 0;
    bool tabStop_ = true;
};

}  // namespace ax
