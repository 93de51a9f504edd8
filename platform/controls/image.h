// Standard image control: holds a picture; the grid never shows it.
#pragma once
#include "platform/automation/picture.h"
#include "platform/host/child.h"

namespace ax {

class Image : public Child {
  public:
    virtual PicturePtr Picture() const = 0;  // never null: an empty picture has handle 0
    virtual void setPicture(PicturePtr p) = 0;
    virtual bool Stretch() const = 0;
    virtual void setStretch(bool v) = 0;

    bool canFocus() const override { return false; }
};

}  // namespace ax
