#include "platform/host/child.h"

#include "platform/automation/errors.h"

namespace ax {

Child::~Child() = default;

void Child::setWidth(float v) {
    if (v == width_) return;
    width_ = v;
    fire(onResize);
    if (container_) container_->childResized(this);
}

void Child::setHeight(float v) {
    if (v == height_) return;
    height_ = v;
    fire(onResize);
    if (container_) container_->childResized(this);
}

void Child::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    if (!v && container_) container_->childHidden(this);
}

void Child::setEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    if (!v && container_) container_->childHidden(this);
}

// A desktop refuses the focus to a hidden or disabled window with "invalid procedure call".
void Child::SetFocus() {
    if (!visible_ || !enabled_) raise(err::InvalidProcedureCall);
    if (container_) container_->focusChild(this);
}

void Child::ZOrder(int16_t position) {
    if (container_) container_->zorderChild(this, position);
}

bool Child::hasFocus() const { return container_ && container_->focusedChild() == this; }

}  // namespace ax
