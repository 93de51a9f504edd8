#include "platform/controls/headless/mask_ed_box.h"

#include <algorithm>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/locale.h"
#include "platform/host/clipboard.h"

namespace ax {

namespace {

bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }

// ASCII letters, and every character beyond ASCII that is not Latin-1 punctuation or a sign.
bool isLetter(char32_t c) {
    if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
    if (c < 0xC0) return c == 0xAA || c == 0xB5 || c == 0xBA;
    return c != 0xD7 && c != 0xF7;
}

char32_t upper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    return c;
}

char32_t lower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    return c;
}

}  // namespace

template <class F>
void HeadlessMaskEdBox::changing(F&& edit) {
    const std::string before = Text();
    edit();
    changed();
    if (Text() != before) fire(onChange);
}

HeadlessMaskEdBox::Snapshot HeadlessMaskEdBox::snapshot() const {
    Snapshot s{{}, anchor_, caret_};
    s.values.reserve(slots_.size());
    for (const Slot& slot : slots_) s.values.push_back(slot.value);
    return s;
}

template <class F>
void HeadlessMaskEdBox::userEdit(Run run, F&& edit) {
    if (!masked()) return changing(std::forward<F>(edit));
    Snapshot before = snapshot();
    changing(std::forward<F>(edit));
    if (snapshot().values == before.values) return;
    if (run == Run::None || run != run_) {
        undo_.push_back(std::move(before));
        if (undo_.size() > 100) undo_.erase(undo_.begin());
    }
    redo_.clear();
    run_ = run;
}

void HeadlessMaskEdBox::forgetEdits() {
    undo_.clear();
    redo_.clear();
    run_ = Run::None;
}

void HeadlessMaskEdBox::restoreFrom(std::vector<Snapshot>& from, std::vector<Snapshot>& to) {
    changing([&] {
        to.push_back(snapshot());
        Snapshot& s = from.back();
        for (size_t i = 0; i < slots_.size() && i < s.values.size(); ++i) slots_[i].value = s.values[i];
        anchor_ = s.anchor;
        caret_ = s.caret;
        from.pop_back();
    });
    run_ = Run::None;
}

bool HeadlessMaskEdBox::pasteMasked(const std::string& text) {
    const int32_t start = SelStart();
    clearRange(start, SelLength());
    int32_t p = start;
    for (const std::string& ch : detail::splitChars(detail::firstLine(text))) {
        while (p < size() && !slots_[size_t(p)].kind && slots_[size_t(p)].literal != ch) ++p;
        if (p >= size()) break;
        Slot& s = slots_[size_t(p)];
        if (!s.kind || ch == prompt_) {
            ++p;
            continue;
        }
        std::string f = fitted(s, ch);
        if (!f.empty()) {
            s.value = std::move(f);
            ++p;
            continue;
        }
        // A separator further on ends this part early, as typing it does; anything else is dropped.
        for (int32_t q = p + 1; q < size(); ++q) {
            if (!slots_[size_t(q)].kind && slots_[size_t(q)].literal == ch) {
                p = q + 1;
                break;
            }
        }
    }
    anchor_ = caret_ = p;
    return true;
}

void HeadlessMaskEdBox::run(detail::EditField::Command command) {
    using C = detail::EditField::Command;
    Clipboard* clipboard = container_ ? container_->clipboard() : nullptr;
    if (!masked()) {
        changing([&] { detail::runEditCommand(plain_, command, clipboard); });
        return;
    }
    switch (command) {
        case C::SelectAll:
            anchor_ = 0;
            caret_ = size();
            run_ = Run::None;
            changed();
            break;
        case C::Copy:
            if (clipboard && SelLength() > 0) clipboard->setText(SelText());
            break;
        case C::Cut:
            if (!clipboard || SelLength() == 0) break;
            clipboard->setText(SelText());
            userEdit(Run::None, [&] { deleteMasked(); });
            break;
        case C::Paste:
            if (clipboard) userEdit(Run::None, [&] { pasteMasked(clipboard->text()); });
            break;
        case C::Undo:
            if (!undo_.empty()) restoreFrom(undo_, redo_);
            break;
        case C::Redo:
            if (!redo_.empty()) restoreFrom(redo_, undo_);
            break;
        case C::None:
            break;
    }
}

void HeadlessMaskEdBox::deleteSelection() {
    if (SelLength() == 0) return;
    userEdit(Run::None, [&] { masked() ? deleteMasked() : plain_.deleteForward(); });
}

void HeadlessMaskEdBox::setMask(const std::string& v) {
    changing([&] {
        const std::string source = masked() ? display(true) : plain_.text();
        const Locale& locale = currentLocale();
        std::vector<Slot> slots;
        int caseMode = 0;
        const detail::Chars chars = detail::splitChars(v);
        for (size_t i = 0; i < chars.size(); ++i) {
            const std::string& c = chars[i];
            Slot slot;
            if (c == "\\") {
                slot.literal = i + 1 < chars.size() ? chars[++i] : c;
            } else if (c == ">" || c == "<") {
                caseMode = c == ">" ? 1 : 2;
                continue;
            } else if (c.size() == 1 && std::string_view("#9?Aa&C").find(c[0]) != std::string_view::npos) {
                slot.kind = c[0];
                slot.caseMode = caseMode;
            } else if (c == ".") {
                slot.literal = std::string(1, locale.decimalPoint);
            } else if (c == ",") {
                slot.literal = std::string(1, locale.thousandsSeparator);
            } else if (c == ":") {
                slot.literal = std::string(1, locale.timeSeparator);
            } else if (c == "/") {
                slot.literal = std::string(1, locale.dateSeparator);
            } else {
                slot.literal = c;
            }
            slots.push_back(std::move(slot));
        }
        mask_ = v;
        slots_ = std::move(slots);
        anchor_ = caret_ = 0;
        forgetEdits();
        if (masked())
            refit(source);
        else
            plain_.setText(source);
    });
}

void HeadlessMaskEdBox::setPromptChar(const std::string& v) {
    if (charCount(v) != 1) raise(err::InvalidPropertyValue);
    changing([&] { prompt_ = v; });
}

void HeadlessMaskEdBox::setPromptInclude(bool v) {
    changing([&] { promptInclude_ = v; });
}

void HeadlessMaskEdBox::setMaxLength(int32_t v) {
    if (v < 1 || v > 64) raise(err::InvalidPropertyValue);
    plain_.maxLength = v;
}

std::string HeadlessMaskEdBox::display(bool withPrompts) const {
    std::string out;
    for (const Slot& s : slots_) {
        if (!s.kind)
            out += s.literal;
        else if (!s.value.empty())
            out += s.value;
        else
            out += withPrompts ? prompt_ : std::string(" ");
    }
    return out;
}

std::string HeadlessMaskEdBox::Text() const { return masked() ? display(promptInclude_) : plain_.text(); }

std::string HeadlessMaskEdBox::ClipText() const {
    if (!masked()) return plain_.text();
    std::string out;
    for (const Slot& s : slots_) out += s.value;
    return out;
}

std::string HeadlessMaskEdBox::fitted(const Slot& slot, const std::string& ch) const {
    const char32_t c = detail::codePoint(ch);
    bool fits = false;
    switch (slot.kind) {
        case '#':
        case '9':
            fits = isDigit(c);
            break;
        case '?':
            fits = isLetter(c);
            break;
        case 'A':
        case 'a':
            fits = isLetter(c) || isDigit(c);
            break;
        case '&':
        case 'C':
            fits = c >= 32 && c != 0x7F;
            break;
        default:
            break;
    }
    if (!fits) return {};
    if (slot.caseMode == 1) return encodeUtf8(upper(c));
    if (slot.caseMode == 2) return encodeUtf8(lower(c));
    return ch;
}

void HeadlessMaskEdBox::refit(const std::string& source) {
    for (Slot& s : slots_) s.value.clear();
    int32_t p = 0;
    for (const std::string& ch : detail::splitChars(source)) {
        // Literals that the source does not repeat are stepped over; a character that fits no
        // position here is dropped and the next one tries the same position.
        while (p < size() && !slots_[size_t(p)].kind && slots_[size_t(p)].literal != ch) ++p;
        if (p >= size()) break;
        Slot& s = slots_[size_t(p)];
        if (!s.kind || ch == prompt_) {
            ++p;
            continue;
        }
        std::string f = fitted(s, ch);
        if (!f.empty()) {
            s.value = std::move(f);
            ++p;
        }
    }
}

void HeadlessMaskEdBox::setText(const std::string& v) {
    if (!masked()) {
        changing([&] { plain_.setText(v); });
        return;
    }
    const detail::Chars chars = detail::splitChars(v);
    if (static_cast<int32_t>(chars.size()) > size()) raise(err::InvalidPropertyValue);
    std::vector<std::string> values(slots_.size());
    for (size_t i = 0; i < chars.size(); ++i) {
        const Slot& s = slots_[i];
        const std::string& ch = chars[i];
        if (!s.kind) {
            if (ch != s.literal) raise(err::InvalidPropertyValue);
        } else if (ch == prompt_ || (!promptInclude_ && ch == " ")) {
            // an empty position
        } else {
            values[i] = fitted(s, ch);
            if (values[i].empty()) raise(err::InvalidPropertyValue);
        }
    }
    changing([&] {
        for (size_t i = 0; i < slots_.size(); ++i) slots_[i].value = std::move(values[i]);
        anchor_ = caret_ = 0;
    });
    forgetEdits();
}

int32_t HeadlessMaskEdBox::SelStart() const {
    return masked() ? std::min(anchor_, caret_) : plain_.selStart();
}

int32_t HeadlessMaskEdBox::SelLength() const {
    return masked() ? std::abs(caret_ - anchor_) : plain_.selLength();
}

void HeadlessMaskEdBox::setSelStart(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    changed();
    if (!masked()) return plain_.setSelStart(v);
    anchor_ = caret_ = std::min(v, size());
    run_ = Run::None;
}

void HeadlessMaskEdBox::setSelLength(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    changed();
    if (!masked()) return plain_.setSelLength(v);
    anchor_ = SelStart();
    caret_ = static_cast<int32_t>(std::min<int64_t>(int64_t(anchor_) + v, size()));
    run_ = Run::None;
}

std::string HeadlessMaskEdBox::SelText() const {
    if (!masked()) return plain_.selText();
    return detail::joinChars(detail::splitChars(Text()), size_t(SelStart()), size_t(SelLength()));
}

void HeadlessMaskEdBox::clearRange(int32_t from, int32_t count) {
    for (int32_t i = from; i < from + count && i < size(); ++i) slots_[size_t(i)].value.clear();
}

bool HeadlessMaskEdBox::typeMasked(const std::string& ch) {
    const int32_t start = SelStart();
    for (int32_t p = start; p < size(); ++p) {
        const Slot& s = slots_[size_t(p)];
        if (!s.kind) {
            // Typing a separator moves past it, so a user can type "1/2/2026".
            if (s.literal == ch) {
                anchor_ = caret_ = p + 1;
                return false;
            }
            continue;
        }
        // The prompt character is input of its own only while AllowPrompt says so.
        std::string f = ch == prompt_ ? (allowPrompt_ ? ch : std::string()) : fitted(s, ch);
        if (f.empty()) {
            // Not for this position; a separator further on still moves the caret there.
            for (int32_t q = p + 1; q < size(); ++q) {
                if (!slots_[size_t(q)].kind && slots_[size_t(q)].literal == ch) {
                    anchor_ = caret_ = q + 1;
                    return false;
                }
            }
            detail::Chars shown = detail::splitChars(display(true));
            shown[size_t(p)] = ch;
            std::string invalidText = detail::joinChars(shown);
            int32_t position = p;
            fire(onValidationError, invalidText, position);
            return false;
        }
        clearRange(start, SelLength());
        slots_[size_t(p)].value = std::move(f);
        anchor_ = caret_ = p + 1;
        return true;
    }
    return false;
}

bool HeadlessMaskEdBox::backspaceMasked() {
    if (SelLength() > 0) {
        const int32_t start = SelStart();
        clearRange(start, SelLength());
        anchor_ = caret_ = start;
        return true;
    }
    int32_t p = caret_ - 1;
    while (p >= 0 && !slots_[size_t(p)].kind) --p;
    if (p < 0) return false;
    slots_[size_t(p)].value.clear();
    anchor_ = caret_ = p;
    return true;
}

bool HeadlessMaskEdBox::deleteMasked() {
    if (SelLength() > 0) {
        clearRange(SelStart(), SelLength());
        anchor_ = caret_ = SelStart();
        return true;
    }
    int32_t p = caret_;
    while (p < size() && !slots_[size_t(p)].kind) ++p;
    if (p >= size()) return false;
    slots_[size_t(p)].value.clear();
    return true;
}

void HeadlessMaskEdBox::keyDown(int16_t& keyCode, int16_t& shift) {
    fire(onKeyDown, keyCode, shift);
    if (const auto command = detail::editCommandOfKeyDown(keyCode, shift);
        command != detail::EditField::Command::None)
        return run(command);
    if (keyCode == key::Delete) {
        userEdit(Run::None, [&] { masked() ? deleteMasked() : plain_.deleteForward(); });
        return;
    }
    if (!masked()) {
        if (plain_.moveCaret(keyCode, shift)) changed();
        return;
    }
    const bool extend = (shift & shiftmask::Shift) != 0;
    int32_t to;
    switch (keyCode) {
        case key::Left:
            to = (!extend && SelLength() > 0) ? SelStart() : caret_ - 1;
            break;
        case key::Right:
            to = (!extend && SelLength() > 0) ? SelStart() + SelLength() : caret_ + 1;
            break;
        case key::Home:
            to = 0;
            break;
        case key::End:
            to = size();
            break;
        default:
            return;
    }
    caret_ = std::clamp(to, 0, size());
    if (!extend) anchor_ = caret_;
    run_ = Run::None;
    changed();
}

void HeadlessMaskEdBox::keyPress(int16_t& keyAscii) {
    fire(onKeyPress, keyAscii);
    if (keyAscii == 0) return;
    if (keyAscii == key::Back) {
        userEdit(Run::None, [&] { masked() ? backspaceMasked() : plain_.backspace(); });
        return;
    }
    if (const auto command = detail::editCommandOfKeyPress(keyAscii);
        command != detail::EditField::Command::None)
        return run(command);
    if (keyAscii > 0 && keyAscii < 32) return;
    const std::string ch = decoder_.feed(keyAscii);
    if (ch.empty()) return;
    userEdit(Run::Typing, [&] { masked() ? typeMasked(ch) : plain_.typeChar(ch); });
}

}  // namespace ax
