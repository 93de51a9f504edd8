// The headless image control: a picture holder.
#pragma once
#include "platform/controls/image.h"

namespace ax {

class HeadlessImage : public Image {
  public:
    PicturePtr Picture() const override { return picture_; }
    void setPicture(PicturePtr p) override { picture_ = p ? std::move(p) : emptyPicture(); }
    bool Stretch() const override { return stretch_; }
    void setStretch(bool v) override { stretch_ = v; }

  private:
    PicturePtr picture_ = emptyPicture();
    bool stretch_ = false;
};

}  // namespace ax
