// The headless component host: a container without a screen that places controls, supplies their
// ambient properties, sites and children, owns the keyboard focus, records what a control tells
// its host, and feeds children keyboard and mouse input in the order a desktop delivers it.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/clipboard.h"
#include "platform/host/control.h"
#include "platform/host/property_bag.h"
#include "platform/host/site.h"

namespace ax {

// Makes the child controls a control asks its site for.
class ChildFactory {
  public:
    virtual ~ChildFactory() = default;
    // A new child of that kind, or nullptr when this factory does not make it.
    virtual ChildPtr create(ChildKind kind) = 0;
};

// The factory a HeadlessHost built without one uses: the library of headless controls installs
// its own here when it is loaded, so `HeadlessHost host;` makes real headless children.
// A plain function pointer, so nothing of the installing library runs once it is unloaded.
using ChildFactoryMaker = std::shared_ptr<ChildFactory> (*)();
void setDefaultChildFactory(ChildFactoryMaker maker);
ChildFactoryMaker defaultChildFactory();

// A window handle unique in the process (control surfaces and child windows share the series).
int32_t newWindowHandle();

// Twips in one unit of a scale mode (User has no fixed size: 1).
float twipsPerUnitX(ScaleMode mode);
float twipsPerUnitY(ScaleMode mode);

// The character a key produces on a US keyboard with the given shift state, 0 for a key that
// produces none (arrows, function keys, Tab, Alt combinations). Ctrl with a letter gives 1 to 26.
int16_t keyAsciiFor(int16_t keyCode, int16_t shift);

class HeadlessHost {
  public:
    struct MessageBox {
        std::string prompt;
        int buttons = 0;
        std::string title;
    };

    // Without a factory the default one is used (see setDefaultChildFactory), if any.
    explicit HeadlessHost(std::shared_ptr<ChildFactory> factory = nullptr);
    ~HeadlessHost();
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    void setChildFactory(std::shared_ptr<ChildFactory> factory);

    // Ambient properties. The host starts in design mode, as a form designer does.
    bool userMode() const;
    void setUserMode(bool v);
    FontPtr ambientFont() const;  // a copy: a control that changes its font leaves the ambient one alone
    void setAmbientFont(FontPtr font);
    const Locale& locale() const;
    void setLocale(const Locale& locale);  // also the process's current conversion locale
    ScaleMode containerScaleMode() const;
    void setContainerScaleMode(ScaleMode mode);

    // Places a control of width x height twips: site, InitProperties (or ReadProperties from
    // saved), Resize, Show. The host keeps the control alive.
    std::shared_ptr<Site> place(std::shared_ptr<Control> control, float width, float height,
                                PropertyBag* saved = nullptr);
    void resize(Control& control, float width, float height);
    void show(Control& control);
    void hide(Control& control);  // a focus inside the control is dropped
    void save(Control& control, PropertyBag& bag);
    ControlSurface& surface(Control& control);
    bool shown(const Control& control) const;

    // The children a control created, in creation order, and by name.
    std::vector<ChildPtr> children(const Control& control) const;
    ChildPtr child(const Control& control, std::string_view name) const;
    // The control's children front to back.
    std::vector<Child*> zOrder(const Control& control) const;

    // What controls told the host.
    std::vector<std::string> propertyChanges(const Control& control) const;
    void clearPropertyChanges();
    const std::vector<MessageBox>& messageBoxes() const;
    void clearMessageBoxes();
    // The next message box answers this (mb::Result*); otherwise a box answers its first button.
    void queueMessageBoxAnswer(int result);
    // A host with a screen shows the box itself and returns the button pressed; a queued answer
    // still comes first. nullptr: boxes answer their first button.
    void setMessageBoxHandler(std::function<int(const MessageBox&)> handler);
    std::string helpFile(const Control& control) const;

    // The keyboard focus, shared by every control on this host.
    Child* focused() const;
    void setFocus(Child* child);  // nullptr: no child has the focus
    // The child through which Tab enters a placed control (its first child that can take the focus,
    // a component's children in its place), and the same for the placed control holding a child;
    // nullptr when none can take it.
    Child* tabStop(const Control& control) const;
    Child* tabStop(const Child& child) const;

    // Keyboard input to the focused child (looked up afresh at every phase). Each returns the
    // key value as the handlers left it.
    int16_t keyDown(int16_t keyCode, int16_t shift = 0);
    int16_t keyPress(int16_t keyAscii);
    int16_t keyUp(int16_t keyCode, int16_t shift = 0);
    // Down, press when the key produces a character, up.
    void typeKey(int16_t keyCode, int16_t shift = 0);
    // Each character (UTF-8) as down, press, up; newline types Enter.
    void typeText(std::string_view utf8);
    // An input method's commit (a composed text, such as "日本"): each of its characters reaches the
    // focused child as a key press alone, as a desktop delivers an input method's result.
    void commitText(std::string_view utf8);

    // The clipboard the host's controls cut, copy and paste through: in memory unless a host with a
    // screen passes the system's.
    Clipboard& clipboard();
    void setClipboard(std::shared_ptr<Clipboard> clipboard);

    // Mouse input to a child; a hidden or disabled child takes none. A button going down moves the
    // focus to the child first when it can take the focus.
    void click(Child& child, float x, float y);
    void dblClick(Child& child, float x, float y);  // down, up, click, double-click, up
    void mouseDown(Child& child, int16_t button, int16_t shift, float x, float y);
    void mouseMove(Child& child, int16_t button, int16_t shift, float x, float y);
    void mouseUp(Child& child, int16_t button, int16_t shift, float x, float y);
    void click(const ChildPtr& c, float x, float y) { click(*c, x, y); }
    void dblClick(const ChildPtr& c, float x, float y) { dblClick(*c, x, y); }

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace ax
