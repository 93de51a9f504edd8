// The editable one-line text shared by the headless text-taking controls: characters, caret,
// selection, length limit and the editing keys, without any notification of its own.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/utf8.h"

namespace ax {
class Clipboard;
}

namespace ax::detail {

// A text as a list of characters, each kept as its own UTF-8 bytes (a stray byte is one
// character), so positions and cuts count characters and nothing is ever split or lost.
using Chars = std::vector<std::string>;
Chars splitChars(std::string_view text);
std::string joinChars(const Chars& chars, size_t from = 0, size_t count = std::string::npos);
// The code point of one character; a stray byte gives U+FFFD.
char32_t codePoint(const std::string& ch);

// Turns the 16-bit character codes of key presses into characters; a high surrogate waits for
// the low one that follows it.
class KeyCharDecoder {
  public:
    // The character of the code, or an empty text while half of a surrogate pair is pending.
    std::string feed(int16_t keyAscii);

  private:
    char16_t pendingHigh_ = 0;
};

class EditField {
  public:
    // What an editing key asks for (see editCommandOf).
    enum class Command { None, SelectAll, Copy, Paste, Cut, Undo, Redo };

    const Chars& chars() const { return chars_; }
    std::string text() const { return joinChars(chars_); }
    int32_t length() const { return static_cast<int32_t>(chars_.size()); }
    // Replaces the whole text; the caret goes to the start, as a desktop edit does.
    void setText(std::string_view text);

    int32_t maxLength = 0;  // 0: unlimited; limits typing only
    bool locked = false;

    int32_t selStart() const { return std::min(anchor_, caret_); }
    int32_t selLength() const { return std::abs(caret_ - anchor_); }
    int32_t caret() const { return caret_; }
    // Both clamp to the text; SelStart collapses the selection as a desktop edit does.
    void setSelStart(int32_t v);
    void setSelLength(int32_t v);
    void select(int32_t start, int32_t length);
    std::string selText() const;
    // Replaces the selection with text (no length limit: only typing is limited); caret after it.
    void replaceSelection(std::string_view text);

    // Editing by the user; each answers whether the text changed. A locked field refuses them all.
    bool typeChar(const std::string& ch);  // replaces the selection; refused beyond maxLength
    bool backspace();
    bool deleteForward();
    // Caret keys (Left, Right, Home, End); Shift extends the selection. Answers whether handled.
    bool moveCaret(int16_t keyCode, int16_t shift);

    // The clipboard side, as a desktop edit does it: a paste replaces the selection with the text up
    // to its first line break, cut to the room maxLength leaves; a cut answers what it removed.
    bool paste(std::string_view clip);
    std::string cut();
    void selectAll() { select(0, length()); }
    // The user's edits undo step by step (a run of typed characters, or of erased ones, is one step)
    // and redo; the program setting the text forgets them.
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    bool undo();
    bool redo();

  private:
    enum class Run { None, Typing, Erasing };
    struct Snapshot {
        Chars chars;
        int32_t anchor, caret;
    };
    void eraseSelection();
    // Keeps the state before a user's edit, unless the edit continues a run of the same kind.
    void remember(Run run, bool fresh = false);
    void restoreFrom(std::vector<Snapshot>& from, std::vector<Snapshot>& to);

    Chars chars_;
    int32_t anchor_ = 0, caret_ = 0;
    std::vector<Snapshot> undo_, redo_;
    Run run_ = Run::None;
};

// The editing command of a key press (Ctrl+A, C, V, X, Y, Z) or key down (Shift+Delete cuts,
// Ctrl+Insert copies, Shift+Insert pastes); None for any other key.
EditField::Command editCommandOfKeyPress(int16_t keyAscii);
EditField::Command editCommandOfKeyDown(int16_t keyCode, int16_t shift);
// The first line of a text: a single-line field takes a pasted text up to its first line break.
std::string_view firstLine(std::string_view text);
// Runs an editing command on the field through the clipboard (none: cut, copy and paste do nothing);
// answers whether the text changed.
bool runEditCommand(EditField& field, EditField::Command command, Clipboard* clipboard);

}  // namespace ax::detail
