// Turning Qt's keyboard, mouse and focus events on a child's widget into the container's input, so
// the child's control sees the same notifications, in the same order, as in the headless host.
#pragma once
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QObject>
#include <QRect>
#include <cstdint>

#include "platform/automation/colour.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"

class QKeyEvent;

namespace ax {

class Child;
class Container;

// The desktop's virtual-key number for a Qt key (0 when it has none) and the shift mask.
int16_t virtualKeyOf(int qtKey);
int16_t shiftMaskOf(Qt::KeyboardModifiers m);
// The character a key event types, as the desktop's KeyPress sees it; 0 when it types none.
int16_t keyAsciiOf(const QKeyEvent& e);

// A system colour is the style's palette colour where the palette has one, so the controls look at home.
QColor qtColour(OleColor c);
QFont qtFont(const Font& f);
// The cursor of a desktop mouse pointer code (0 default, 1..15 the desktop's pointers, 99 the icon).
QCursor qtCursor(int32_t pointer, const PicturePtr& icon);

// A child's rectangle in its container's units, in pixels of the container's widget.
QRect pixelRect(const Container* c, float left, float top, float width, float height);
// A point in pixels of the child's widget, in the container's units from the child's corner.
float containerUnitsX(const Container* c, int px);
float containerUnitsY(const Container* c, int px);

// Installed on a child's widget (and its inner widgets): keys, mouse and focus go to the container's
// input for the child, and Qt's own handling of them is suppressed.
class ChildInputFilter : public QObject {
  public:
    ChildInputFilter(Child* child, QObject* parent, bool twips = false)
        : QObject(parent), child_(child), twips_(twips) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Gives the widget an event of the filter's own making, which the filter lets through.
    void forward(QObject* to, QEvent& event);

    Child* child_;
    bool twips_;  // mouse positions in twips from the child's corner (the grid surface), not container units
    bool pressed_ = false;
    bool forwarding_ = false;
};

// Set while the host moves Qt's focus itself, so the focus-in that follows is not taken for the user's.
extern bool gHostMovingFocus;

}  // namespace ax
