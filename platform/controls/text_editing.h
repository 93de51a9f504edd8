// What a user does to a text control besides typing: cut, copy and paste through the host's clipboard,
// undo and redo, delete and select all. The keys for them (Ctrl+X, C, V, Z, Y, A; Shift+Delete,
// Ctrl+Insert, Shift+Insert) reach a control as every key does, so its key handlers can refuse them; a
// host with a screen also offers them in a context menu, which calls these members without any key.
#pragma once

namespace ax {

class TextEditing {
  public:
    virtual ~TextEditing() = default;
    virtual bool canUndo() const = 0;
    virtual bool canRedo() const = 0;
    virtual bool hasSelection() const = 0;
    // The user may copy but not change the text.
    virtual bool readOnly() const = 0;
    virtual bool canCut() const { return hasSelection() && !readOnly(); }
    virtual void cut() = 0;
    virtual void copy() = 0;
    virtual void paste() = 0;
    virtual void undo() = 0;
    virtual void redo() = 0;
    virtual void deleteSelection() = 0;
    virtual void selectAll() = 0;
};

// The character codes of the editing keys as a key press carries them (Ctrl with the letter).
namespace editkey {
inline constexpr int16_t SelectAll = 1, Copy = 3, Paste = 22, Cut = 24, Redo = 25, Undo = 26;
}

}  // namespace ax
