// The child controls of the Qt host. Each is the headless control (the same state and the same
// notifications) with a real widget that shows that state; the widget's input goes back through the
// container as the headless host delivers it, so a control behaves the same on screen as in tests.
#pragma once
#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/host/headless_host.h"

namespace ax {

// A child with a widget: sync() brings the widget in line with the control's state. The child tells its
// view when its state changes; the view then asks its host for a sync, which runs once for every change
// made before the event loop comes round again (or at once after input), so nothing polls.
class QtView {
  public:
    QtView();
    virtual ~QtView();
    QtView(const QtView&) = delete;
    QtView& operator=(const QtView&) = delete;

    virtual Child& child() = 0;
    virtual void sync() = 0;
    // Whether the child changed since the widget last showed it (or the widget is not made yet).
    bool needsSync() const { return pending_ || !widget_; }
    // The widget, made on first use once the child's container is on a Qt host; nullptr before.
    QWidget* widget() const { return widget_; }
    // Whether sync() is writing to the widget now: its signals then are not the user's.
    bool syncing() const { return syncing_; }

  protected:
    // Makes the widget (and its input filter) when the container is known; false while it is not.
    bool ensureWidget();
    virtual QWidget* makeWidget(QWidget* parent) = 0;
    // Sends the widget's input to the container (every inner widget's too, by default).
    virtual void installInput();
    // Position, size, visibility and enabled state from the child's members.
    void placeWidget();

    // The child changed: mark the view and ask its host for a sync.
    void requestSync();

    QPointer<QWidget> widget_;
    bool syncing_ = false;  // set while sync() writes to the widget, so its signals are not the user's
    bool pending_ = true;   // the child changed since the last sync
};

// Every live view (the host syncs the ones on its controls).
const std::vector<QtView*>& liveViews();

// The widget showing a child, nullptr when the child has none (yet).
QWidget* widgetOf(const Child& child);
// Gives Qt's keyboard focus to the child's widget, as the host does when it moves the focus itself
// (a widget that holds a control passes on the focus Qt gave it).
void giveQtFocus(const Child& child);

class QtChildFactory : public ChildFactory {
  public:
    ChildPtr create(ChildKind kind) override;
};

}  // namespace ax
