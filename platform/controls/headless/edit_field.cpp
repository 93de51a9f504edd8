#include "platform/controls/headless/edit_field.h"

#include "platform/automation/convert.h"
#include "platform/host/child.h"
#include "platform/host/clipboard.h"

namespace ax::detail {

Chars splitChars(std::string_view text) {
    Chars out;
    while (!text.empty()) {
        std::string ch = leftChars(text, 1);
        text.remove_prefix(ch.size());
        out.push_back(std::move(ch));
    }
    return out;
}

std::string joinChars(const Chars& chars, size_t from, size_t count) {
    std::string out;
    const size_t end = count == std::string::npos ? chars.size() : std::min(chars.size(), from + count);
    for (size_t i = from; i < end; ++i) out += chars[i];
    return out;
}

char32_t codePoint(const std::string& ch) {
    if (ch.empty()) return 0;
    auto b = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 1) return b < 0x80 ? char32_t(b) : char32_t(0xFFFD);
    char32_t c = ch.size() == 2 ? (b & 0x1F) : ch.size() == 3 ? (b & 0x0F) : (b & 0x07);
    for (size_t i = 1; i < ch.size(); ++i) c = (c << 6) | (static_cast<unsigned char>(ch[i]) & 0x3F);
    return c;
}

std::string KeyCharDecoder::feed(int16_t keyAscii) {
    const auto unit = static_cast<char16_t>(static_cast<uint16_t>(keyAscii));
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        pendingHigh_ = unit;
        return {};
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (!pendingHigh_) return encodeUtf8(0xFFFD);
        char32_t c = 0x10000 + ((char32_t(pendingHigh_) - 0xD800) << 10) + (char32_t(unit) - 0xDC00);
        pendingHigh_ = 0;
        return encodeUtf8(c);
    }
    pendingHigh_ = 0;
    return encodeUtf8(unit);
}

void EditField::setText(std::string_view text) {
    chars_ = splitChars(text);
    anchor_ = caret_ = 0;
    undo_.clear();
    redo_.clear();
    run_ = Run::None;
}

void EditField::setSelStart(int32_t v) {
    anchor_ = caret_ = std::clamp(v, 0, length());
    run_ = Run::None;
}

void EditField::setSelLength(int32_t v) {
    run_ = Run::None;
    const int32_t start = selStart();
    anchor_ = start;
    caret_ = static_cast<int32_t>(std::min<int64_t>(int64_t(start) + std::max(v, 0), length()));
}

void EditField::select(int32_t start, int32_t len) {
    setSelStart(start);
    setSelLength(len);
}

std::string EditField::selText() const { return joinChars(chars_, size_t(selStart()), size_t(selLength())); }

void EditField::eraseSelection() {
    const int32_t s = selStart(), n = selLength();
    chars_.erase(chars_.begin() + s, chars_.begin() + s + n);
    anchor_ = caret_ = s;
}

void EditField::replaceSelection(std::string_view text) {
    // A change by the program, like a new text, ends what the user can undo.
    undo_.clear();
    redo_.clear();
    run_ = Run::None;
    eraseSelection();
    Chars add = splitChars(text);
    chars_.insert(chars_.begin() + caret_, add.begin(), add.end());
    caret_ += static_cast<int32_t>(add.size());
    anchor_ = caret_;
}

bool EditField::typeChar(const std::string& ch) {
    if (locked || ch.empty()) return false;
    // The typed character replaces the selection, so only the remainder counts against the limit.
    if (maxLength > 0 && length() - selLength() + 1 > maxLength) return false;
    remember(Run::Typing, selLength() > 0);  // typing over a selection starts a new step
    eraseSelection();
    chars_.insert(chars_.begin() + caret_, ch);
    anchor_ = ++caret_;
    return true;
}

bool EditField::backspace() {
    if (locked) return false;
    if (selLength() > 0) {
        remember(Run::None);
        eraseSelection();
        return true;
    }
    if (caret_ == 0) return false;
    remember(Run::Erasing);
    chars_.erase(chars_.begin() + (caret_ - 1));
    anchor_ = --caret_;
    return true;
}

bool EditField::deleteForward() {
    if (locked) return false;
    if (selLength() > 0) {
        remember(Run::None);
        eraseSelection();
        return true;
    }
    if (caret_ >= length()) return false;
    remember(Run::Erasing);
    chars_.erase(chars_.begin() + caret_);
    return true;
}

bool EditField::moveCaret(int16_t keyCode, int16_t shift) {
    int32_t to;
    switch (keyCode) {
        case key::Left:
            // Without Shift, Left on a selection lands at its start, as desktop edits do.
            to = (!(shift & shiftmask::Shift) && selLength() > 0) ? selStart() : caret_ - 1;
            break;
        case key::Right:
            to = (!(shift & shiftmask::Shift) && selLength() > 0) ? selStart() + selLength() : caret_ + 1;
            break;
        case key::Home:
            to = 0;
            break;
        case key::End:
            to = length();
            break;
        default:
            return false;
    }
    caret_ = std::clamp(to, 0, length());
    if (!(shift & shiftmask::Shift)) anchor_ = caret_;
    run_ = Run::None;
    return true;
}

namespace {
constexpr size_t kUndoSteps = 100;  // enough for any cell; older steps are dropped
}

void EditField::remember(Run run, bool fresh) {
    if (!fresh && run != Run::None && run == run_) return;
    undo_.push_back({chars_, anchor_, caret_});
    if (undo_.size() > kUndoSteps) undo_.erase(undo_.begin());
    redo_.clear();
    run_ = run;
}

void EditField::restoreFrom(std::vector<Snapshot>& from, std::vector<Snapshot>& to) {
    to.push_back({chars_, anchor_, caret_});
    Snapshot& s = from.back();
    chars_ = std::move(s.chars);
    anchor_ = s.anchor;
    caret_ = s.caret;
    from.pop_back();
    run_ = Run::None;
}

bool EditField::undo() {
    if (locked || undo_.empty()) return false;
    restoreFrom(undo_, redo_);
    return true;
}

bool EditField::redo() {
    if (locked || redo_.empty()) return false;
    restoreFrom(redo_, undo_);
    return true;
}

bool EditField::paste(std::string_view clip) {
    if (locked) return false;
    Chars add = splitChars(firstLine(clip));
    if (maxLength > 0) {
        const int32_t room = maxLength - (length() - selLength());
        if (room <= 0) return false;
        if (int32_t(add.size()) > room) add.resize(size_t(room));
    }
    if (add.empty() && selLength() == 0) return false;
    remember(Run::None);
    eraseSelection();
    chars_.insert(chars_.begin() + caret_, add.begin(), add.end());
    caret_ += static_cast<int32_t>(add.size());
    anchor_ = caret_;
    run_ = Run::None;
    return true;
}

std::string EditField::cut() {
    if (locked || selLength() == 0) return {};
    std::string removed = selText();
    remember(Run::None);
    eraseSelection();
    return removed;
}

EditField::Command editCommandOfKeyPress(int16_t keyAscii) {
    switch (keyAscii) {
        case 1:
            return EditField::Command::SelectAll;
        case 3:
            return EditField::Command::Copy;
        case 22:
            return EditField::Command::Paste;
        case 24:
            return EditField::Command::Cut;
        case 25:
            return EditField::Command::Redo;
        case 26:
            return EditField::Command::Undo;
        default:
            return EditField::Command::None;
    }
}

EditField::Command editCommandOfKeyDown(int16_t keyCode, int16_t shift) {
    const int16_t mods = shift & (shiftmask::Shift | shiftmask::Ctrl | shiftmask::Alt);
    if (keyCode == key::Delete && mods == shiftmask::Shift) return EditField::Command::Cut;
    if (keyCode == key::Insert && mods == shiftmask::Ctrl) return EditField::Command::Copy;
    if (keyCode == key::Insert && mods == shiftmask::Shift) return EditField::Command::Paste;
    return EditField::Command::None;
}

std::string_view firstLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

bool runEditCommand(EditField& field, EditField::Command command, Clipboard* clipboard) {
    switch (command) {
        case EditField::Command::SelectAll:
            field.selectAll();
            return false;
        case EditField::Command::Copy:
            if (clipboard && field.selLength() > 0) clipboard->setText(field.selText());
            return false;
        case EditField::Command::Cut: {
            if (!clipboard || field.locked || field.selLength() == 0) return false;
            clipboard->setText(field.selText());
            return !field.cut().empty();
        }
        case EditField::Command::Paste:
            return clipboard && field.paste(clipboard->text());
        case EditField::Command::Undo:
            return field.undo();
        case EditField::Command::Redo:
            return field.redo();
        case EditField::Command::None:
            break;
    }
    return false;
}

}  // namespace ax::detail
