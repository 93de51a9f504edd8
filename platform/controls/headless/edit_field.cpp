#include "platform/controls/headless/edit_field.h"

#include "platform/automation/convert.h"
#include "platform/host/child.h"

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
}

void EditField::setSelStart(int32_t v) { anchor_ = caret_ = std::clamp(v, 0, length()); }

void EditField::setSelLength(int32_t v) {
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
    eraseSelection();
    chars_.insert(chars_.begin() + caret_, ch);
    anchor_ = ++caret_;
    return true;
}

bool EditField::backspace() {
    if (locked) return false;
    if (selLength() > 0) {
        eraseSelection();
        return true;
    }
    if (caret_ == 0) return false;
    chars_.erase(chars_.begin() + (caret_ - 1));
    anchor_ = --caret_;
    return true;
}

bool EditField::deleteForward() {
    if (locked) return false;
    if (selLength() > 0) {
        eraseSelection();
        return true;
    }
    if (caret_ >= length()) return false;
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
    return true;
}

}  // namespace ax::detail
