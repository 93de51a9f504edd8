// The part every Qt child shares: geometry, visibility and focus passed to its widget, and its sync.
#pragma once
#include <QAccessible>

#include "platform/qt/qt_children.h"
#include "platform/qt/qt_input.h"

namespace ax {

// Marks the view's own writes to its widget for their duration, so the widget's signals are not
// taken for the user's.
struct Syncing {
    explicit Syncing(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Syncing() { flag_ = was_; }
    bool& flag_;
    bool was_;
};

// The child's geometry and focus members, passed through to the widget, and its sync: the widget placed
// and shown the control's state by `show`, with the view's own writes marked as such.
template <class Model, class Widget = QWidget>
class QtChild : public Model, public QtView {
  public:
    template <class... A>
    explicit QtChild(A&&... args) : Model(std::forward<A>(args)...) {
        Model::setWatched(true);
    }
    Child& child() override { return *this; }
    void sync() final {
        if (!ensureWidget()) return;
        // Changes made while the widget is written are heard again.
        pending_ = false;
        Model::viewCaughtUp();
        Syncing s(syncing_);
        placeWidget();
        show(static_cast<Widget*>(widget_.data()));
    }

    void setLeft(float v) override {
        Model::setLeft(v);
        placeWidget();
    }
    void setTop(float v) override {
        Model::setTop(v);
        placeWidget();
    }
    void setWidth(float v) override {
        Model::setWidth(v);
        placeWidget();
    }
    void setHeight(float v) override {
        Model::setHeight(v);
        placeWidget();
    }
    void setVisible(bool v) override {
        Model::setVisible(v);
        if (ensureWidget()) sync();
    }
    void setEnabled(bool v) override {
        Model::setEnabled(v);
        placeWidget();
    }
    void ZOrder(int16_t position = 0) override {
        Model::ZOrder(position);
        if (widget_) position == 0 ? widget_->raise() : widget_->lower();
    }
    void gotFocus() override {
        Model::gotFocus();
        if (widget_ && widget_->isVisible() && !widget_->hasFocus()) {
            gHostMovingFocus = true;
            widget_->setFocus(Qt::OtherFocusReason);
            gHostMovingFocus = false;
            // A window that is not active takes no focus in Qt, which then tells no screen reader: the
            // child that has the control's focus (an editor that opened) is announced all the same.
            if (!widget_->hasFocus() && QAccessible::isActive()) {
                QWidget* focusable = widget_->focusProxy() ? widget_->focusProxy() : widget_.data();
                QAccessibleEvent focus(focusable, QAccessible::Focus);
                QAccessible::updateAccessibility(&focus);
            }
        }
        Model::changed();
    }
    void lostFocus() override {
        Model::lostFocus();
        Model::changed();
    }

  protected:
    void stateChanged() override { requestSync(); }
    // Shows the control's state in its widget.
    virtual void show(Widget* widget) = 0;
};

}  // namespace ax
