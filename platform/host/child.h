// The members a container adds to every child control (its extender): position and size in the
// container's units, visibility, focus and z-order, and the focus notifications.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ax {

class Child;
class Clipboard;

// The container side of every child: focus, z-order and the reaction to a hidden focused child.
class Container {
  public:
    virtual ~Container() = default;
    // Moves the keyboard focus to c (nullptr: to no child); the child that had it loses it first.
    virtual void focusChild(Child* c) = 0;
    virtual Child* focusedChild() const = 0;
    virtual void zorderChild(Child* c, int16_t position) = 0;
    // A child became hidden or disabled: when it held the focus (itself or inside it), the focus
    // moves on.
    virtual void childHidden(Child* c) = 0;
    // A child changed size (so a component child can lay itself out).
    virtual void childResized(Child* c) { (void)c; }
    // The host's clipboard, for the cut, copy and paste of text controls; nullptr when there is none.
    virtual Clipboard* clipboard() { return nullptr; }
};

// A notification handler a control registers on its child; by-reference parameters let the
// handler change what the child then does (a KeyAscii set to 0 discards the key).
template <class... A>
using Handler = std::function<void(A...)>;

template <class... A, class... P>
void fire(const Handler<A...>& h, P&&... args) {
    if (h) h(std::forward<P>(args)...);
}

class Child {
  public:
    virtual ~Child();

    const std::string& Name() const { return name_; }

    virtual float Left() const { return left_; }
    virtual void setLeft(float v) { left_ = v; }
    virtual float Top() const { return top_; }
    virtual void setTop(float v) { top_ = v; }
    virtual float Width() const { return width_; }
    virtual void setWidth(float v);
    virtual float Height() const { return height_; }
    virtual void setHeight(float v);
    virtual bool Visible() const { return visible_; }
    virtual void setVisible(bool v);
    virtual bool Enabled() const { return enabled_; }
    virtual void setEnabled(bool v);

    // Gives this child the keyboard focus: the child that had it loses it first, synchronously.
    virtual void SetFocus();
    // 0 brings the child to the front of its container's z-order, 1 sends it to the back.
    virtual void ZOrder(int16_t position = 0);

    bool hasFocus() const;
    // Whether the child can take the focus at all (an image cannot).
    virtual bool canFocus() const { return true; }

    Handler<> onGotFocus;
    Handler<> onLostFocus;
    Handler<> onResize;  // after Width or Height changed

    // Called by the container's focus manager.
    virtual void gotFocus() { fire(onGotFocus); }
    virtual void lostFocus() { fire(onLostFocus); }

    // Set by the container when it adopts the child.
    void attach(Container* container, std::string name) {
        container_ = container;
        name_ = std::move(name);
    }
    Container* container() const { return container_; }

    // A view showing the child on a screen watches it: the child tells it once that its state changed
    // (stateChanged), and again only after the view has shown that state (viewCaughtUp). Without a view
    // a change costs one test.
    void setWatched(bool on) {
        watched_ = on;
        stale_ = false;
    }
    void viewCaughtUp() { stale_ = false; }

  protected:
    // Every change a view would show calls this.
    void changed() {
        if (watched_ && !stale_) {
            stale_ = true;
            stateChanged();
        }
    }
    virtual void stateChanged() {}

    Container* container_ = nullptr;
    std::string name_;
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool watched_ = false, stale_ = false;
};

using ChildPtr = std::shared_ptr<Child>;

// Keyboard and mouse input as a desktop delivers it to the focused (or clicked) child. The
// headless host calls these; a GUI host calls them from its own events.
class InputTarget {
  public:
    virtual ~InputTarget() = default;
    virtual void keyDown(int16_t& keyCode, int16_t& shift) = 0;
    // A character key; a handler that sets the key to 0 discards it. Handles the text change.
    virtual void keyPress(int16_t& keyAscii) = 0;
    virtual void keyUp(int16_t& keyCode, int16_t& shift) = 0;
    virtual void mouseDown(int16_t button, int16_t shift, float x, float y) {
        (void)button, (void)shift, (void)x, (void)y;
    }
    virtual void mouseMove(int16_t button, int16_t shift, float x, float y) {
        (void)button, (void)shift, (void)x, (void)y;
    }
    virtual void mouseUp(int16_t button, int16_t shift, float x, float y) {
        (void)button, (void)shift, (void)x, (void)y;
    }
    virtual void click() {}
    virtual void dblClick() {}
};

// Key codes used by the controls (the desktop's virtual-key numbers).
namespace key {
inline constexpr int16_t Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Escape = 27, Space = 32;
inline constexpr int16_t PageUp = 33, PageDown = 34, End = 35, Home = 36;
inline constexpr int16_t Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46;
inline constexpr int16_t F2 = 113, F4 = 115;
}  // namespace key
namespace shiftmask {
inline constexpr int16_t Shift = 1, Ctrl = 2, Alt = 4;
}

}  // namespace ax
