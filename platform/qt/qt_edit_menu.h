// The context menu of a text control on screen: Qt's standard entries (Undo, Redo, Cut, Copy, Paste,
// Delete, Select All), each running the control's own editing command, so the headless rules (length
// limits, masks, the control's notifications) hold for what the menu does.
#pragma once
#include <functional>

class QMenu;
class QWidget;

namespace ax {

class TextEditing;

// A menu for the control's text, enabled as its state allows; `done` runs after each command.
QMenu* makeEditMenu(TextEditing& text, QWidget* parent, std::function<void()> done);

}  // namespace ax
