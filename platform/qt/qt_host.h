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

    // Brings every child widget in line with its control's state; the host does this after each
    // input it delivers and on a short timer for changes a program makes.
    void syncViews();

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
