// Zel: a one-line text field with a pair of spin arrows for a bounded 16-bit whole number. The
// text field and the arrows (a horizontal flat scroll bar) are children the host supplies; the
// control keeps text, arrows and Value in step and raises Change and KeyPress to its host.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/colour.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"
#include "platform/controls/flat_scroll_bar.h"
#include "platform/controls/text_box.h"
#include "platform/host/control.h"
#include "platform/runtime/dispatch.h"
#include "spin/zel_events.h"

namespace zel {

// Arrangement of text field and arrows (the Style property).
enum ZelStyle : int32_t {
    ZelStyleCentered = 0,     // bar spans the control, text centred over it, one arrow each side
    ZelStyleArrowsLeft = 1,   // arrows at the left, text to their right
    ZelStyleArrowsRight = 2,  // text at the left, arrows at its right
};

// Which arrows are enabled; the scroll bar's own Arrows values.
enum ZelArrows : int32_t { ZelArrowsBoth = 0, ZelArrowsLeftUp = 1, ZelArrowsRightDown = 2 };

class Zel : public ax::Control {
  public:
    Zel();
    ~Zel() override;

    // --- _Zel, in interface order --------------------------------------------------------------
    ax::OleColor BackColor() const;
    void setBackColor(ax::OleColor v);
    ax::OleColor ForeColor() const;
    void setForeColor(ax::OleColor v);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool v);
    ax::FontPtr Font() const { return font_; }
    void setFont(ax::FontPtr f);
    int16_t Max() const { return max_; }
    void setMax(int16_t v);
    int16_t Min() const { return min_; }
    void setMin(int16_t v);
    int16_t SmallChange() const { return smallChange_; }
    void setSmallChange(int16_t v);
    int16_t Value() const { return value_; }
    void setValue(int16_t v);
    int16_t LargeChange() const { return largeChange_; }
    void setLargeChange(int16_t v);
    int32_t Style() const { return style_; }
    void setStyle(int32_t v);
    ax::PicturePtr MouseIcon() const;
    void setMouseIcon(ax::PicturePtr p);
    int16_t MousePointer() const;
    void setMousePointer(int16_t v);
    bool RightToLeft() const;
    void setRightToLeft(bool v);
    int32_t Arrows() const { return arrows_; }
    void setArrows(int32_t v);  // raises 6 when v does not fit 16 bits

    // --- host side ----------------------------------------------------------------------------
    // The typed event sink of a C++ host (late-bound hosts use events().Advise); not owned.
    void setEventSink(ZelEvents* sink) { sink_ = sink; }

    // The value typed text falls back to when it is rejected.
    int16_t LastGoodValue() const { return lastGoodValue_; }
    bool IsLoading() const { return isLoading_; }
    // The children, once the control is sited (nullptr before).
    ax::TextBox* textField() const { return txt_.get(); }
    ax::FlatScrollBar* scrollBar() const { return bar_.get(); }
    // The text the field shows ("" before the control is sited).
    std::string Text() const;

    void SetSite(std::shared_ptr<ax::Site> site) override;
    void InitProperties() override;
    void ReadProperties(ax::PropertyBag& bag) override;
    void WriteProperties(ax::PropertyBag& bag) override;
    void Resize() override;

    AX_DECLARE_DISPATCH(Zel);

  private:
    void createChildren();
    void notify(std::string_view name);
    void raiseChange();
    void raiseKeyPress(int16_t keyAscii);

    // Child notifications.
    void onTextKeyPress(int16_t& keyAscii);
    void onTextKeyDown(int16_t& keyCode, int16_t& shift);
    void onTextChange();
    void onTextGotFocus();
    void onScrollChange();
    void onScrollMouseDown();

    void updateMaxLength();
    void layoutChildren();
    void setFieldText(const std::string& text);

    // Fields, in the control's declared order.
    int32_t style_ = ZelStyleArrowsLeft;
    bool enabled_ = false;
    ax::FontPtr font_;
    int16_t lastGoodValue_ = 0;
    int16_t max_ = 0;
    int16_t min_ = 0;
    int16_t smallChange_ = 0;
    int16_t largeChange_ = 0;
    int16_t value_ = 0;
    int16_t arrows_ = 0;
    bool isLoading_ = false;

    std::shared_ptr<ax::TextBox> txt_;
    std::shared_ptr<ax::FlatScrollBar> bar_;
    ZelEvents* sink_ = nullptr;

    // Guards of the re-entrant steps: a rejected text whose fallback is rejected too, and the
    // resize the layout asks of the host (which lays out again).
    bool restoring_ = false;
    bool sizing_ = false;
};

}  // namespace zel
