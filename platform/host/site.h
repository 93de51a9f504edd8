// What a container gives each control it holds: ambient properties, notifications, a message box,
// the control's own window and coordinate system, and the factory of its child controls.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/automation/colour.h"
#include "platform/automation/font.h"
#include "platform/automation/locale.h"
#include "platform/automation/picture.h"
#include "platform/host/child.h"

namespace ax {

enum class ScaleMode : int16_t {
    User = 0,
    Twips = 1,
    Points = 2,
    Pixels = 3,
    Characters = 4,
    Inches = 5,
    Millimeters = 6,
    Centimeters = 7
};

// The kinds of child control a container can create.
enum class ChildKind {
    FlexGrid,  // the inner grid surface
    TextBox,
    MaskEdBox,
    ComboDropDownCombo,  // combo box with editable text
    ComboDropDownList,   // combo box that takes only list entries
    ImageCombo,
    CheckBox,
    DTPicker,
    Image,
    FlatScrollBar,
};

// Message box buttons and icons, combined as the desktop combines them.
namespace mb {
inline constexpr int OkOnly = 0, OkCancel = 1, YesNo = 4;
inline constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
inline constexpr int ResultOk = 1, ResultCancel = 2, ResultYes = 6, ResultNo = 7;
}  // namespace mb

// The window of the control itself, distinct from any child's window.
class ControlSurface {
  public:
    virtual ~ControlSurface() = default;
    virtual int32_t hWnd() const = 0;
    virtual int32_t hDC() const = 0;
    virtual bool Enabled() const = 0;
    virtual void setEnabled(bool v) = 0;
    // The control's extent in the container (twips).
    virtual float Width() const = 0;
    virtual float Height() const = 0;
    // Resizes the control; the container then delivers Resize to the control.
    virtual void Size(float width, float height) = 0;
    // The control's internal coordinate system.
    virtual float ScaleWidth() const = 0;
    virtual void setScaleWidth(float v) = 0;
    virtual float ScaleHeight() const = 0;
    virtual void setScaleHeight(float v) = 0;
    virtual float ScaleLeft() const = 0;
    virtual void setScaleLeft(float v) = 0;
    virtual float ScaleTop() const = 0;
    virtual void setScaleTop(float v) = 0;
    virtual ScaleMode scaleMode() const = 0;
    virtual void setScaleMode(ScaleMode m) = 0;
    // Converts a horizontal (ScaleX) or vertical (ScaleY) extent between units; User means this
    // surface's own user scale.
    virtual float ScaleX(float value, ScaleMode from, ScaleMode to) const = 0;
    virtual float ScaleY(float value, ScaleMode from, ScaleMode to) const = 0;
    virtual int16_t MousePointer() const = 0;
    virtual void setMousePointer(int16_t v) = 0;
    virtual PicturePtr MouseIcon() const = 0;
    virtual void setMouseIcon(PicturePtr p) = 0;
};

// A component created by programmatic identifier and placed as a child: its extender (the
// container's members) and the object itself, reached by name.
struct ComponentChild {
    ChildPtr extender;
    std::shared_ptr<Object> object;
};

class Site {
  public:
    virtual ~Site() = default;

    // Ambient properties.
    virtual bool UserMode() const = 0;
    virtual FontPtr AmbientFont() const = 0;
    virtual const Locale& AmbientLocale() const = 0;
    // The container's ScaleMode, as the control reads it from its parent.
    virtual ScaleMode ContainerScaleMode() const = 0;

    // Tells the container that a property changed (marks the design-time state dirty).
    virtual void PropertyChanged(std::string_view name) = 0;
    // Shows a message box; buttons combines mb:: values; an empty title is the host's default.
    virtual int MsgBox(std::string_view prompt, int buttons = mb::OkOnly, std::string_view title = {}) = 0;
    // Makes path the help file of the component's members.
    virtual void SetHelpFile(const std::string& path) = 0;

    virtual ControlSurface& Surface() = 0;

    // Creates a child control of the control, hidden until shown; name is the child's name.
    virtual ChildPtr CreateChild(ChildKind kind, std::string name) = 0;
    // Creates a component by programmatic identifier through the component runtime and places it
    // as a child (sited, initialised). Raises 429 when it cannot be created.
    virtual ComponentChild CreateComponentChild(std::string_view progId, std::string name) = 0;
};

}  // namespace ax
