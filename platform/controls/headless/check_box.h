// The headless check box: the space bar (on its release) and a mouse click toggle it, as on a desktop.
#pragma once
#include "platform/controls/check_box.h"
#include "platform/controls/headless/appearance.h"

namespace ax {

class HeadlessCheckBox : public CheckBox, public InputTarget {
  public:
    // A box without a caption is as wide as its square, as a desktop check box drawn on a form is.
    HeadlessCheckBox() {
        look_.backColor = syscolor::ButtonFace;
        look_.foreColor = syscolor::ButtonText;
        width_ = detail::ButtonWidth;
    }

    int16_t Value() const override { return value_; }
    void setValue(int16_t v) override;
    std::string Caption() const override { return caption_; }
    void setCaption(const std::string& v) override {
        caption_ = v;
        changed();
    }
    AX_HEADLESS_FONT_AND_POINTER
    AX_HEADLESS_COLOURS
    bool RightToLeft() const override { return look_.rightToLeft; }
    void setRightToLeft(bool v) override {
        look_.rightToLeft = v;
        changed();
    }

    // A user's toggle: unchecked becomes checked, checked and greyed become unchecked.
    void toggle();

    void keyDown(int16_t& keyCode, int16_t& shift) override;
    void keyPress(int16_t& keyAscii) override { fire(onKeyPress, keyAscii); }
    void keyUp(int16_t& keyCode, int16_t& shift) override;
    void click() override;

  private:
    int16_t value_ = Unchecked;
    std::string caption_;
    bool spaceDown_ = false;
    detail::Appearance look_;
};

}  // namespace ax
