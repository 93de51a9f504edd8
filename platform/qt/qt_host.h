// The Qt host: the same container the headless host is (sites, focus, notifications, property bags),
// with each placed control given a real widget, its children shown as Qt widgets over it, ambient
// font and locale taken from the application and message boxes shown as QMessageBox.
#pragma once
#include <memory>
#include <string_view>

#include "platform/host/headless_host.h"

class QWidget;

namespace ax {

class Child;
class Container;

class QtHost {
  public:
    // The form holding every placed control is made as a child of parent (a top-level window
    // when parent is nullptr). The host starts in run mode, as a program on screen does.
    explicit QtHost(QWidget* parent = nullptr);
    ~QtHost();
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    // The container behind the screen: focus, sites, recorded notifications and simulated input.
    HeadlessHost& host() { return *host_; }
    QWidget* form() const;

    // Places a control at (x, y) pixels of the form, width x height twips.
    std::shared_ptr<Site> place(std::shared_ptr<Control> control, float width, float height, int x = 0,
                                int y = 0, PropertyBag* saved = nullptr);
    // Resizes the control's widget and tells the control (twips).
    void resize(Control& control, float width, float height);
    QWidget* surfaceWidget(const Control& control) const;

    // Twips in one screen pixel, from the screen's logical resolution (1440 twips an inch).
    float twipsPerPixelX() const;
    float twipsPerPixelY() const;

    // Shows message boxes on screen (the default) or, when false, only records them and answers
    // the first button as the headless host does (tests and the offscreen tour).
    void setShowMessageBoxes(bool v);

    // Brings every child widget whose control changed in line with its state. The host does this at
    // once after each input it delivers; a change a program makes asks for it (requestSync), and it
    // runs when the event loop comes round, once for all the changes made before.
    void syncViews();
    void requestSync();

    // Tab (or Shift+Tab) pressed in a child: moves the focus to the next widget of the window in Qt's
    // focus order outside the child's control (another placed control is entered at its first
    // child, as the form's tab order enters it). False when the control is the only stop.
    bool tabOut(Child& from, bool backwards);
    // Whether a widget is one of this host's children (or inside one).
    bool owns(const QWidget* w) const;
    // The child a focus arriving by Tab takes in the control holding c (its tab stop).
    Child* tabStopOf(const Child& c) const;

    // The host of a child's container, and the widget its children go on; nullptr when the
    // container is not one of a Qt host's controls.
    static QtHost* hostOf(const Container* c);
    static QWidget* surfaceOf(const Container* c);

    struct Impl;

  private:
    std::unique_ptr<HeadlessHost> host_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ax
