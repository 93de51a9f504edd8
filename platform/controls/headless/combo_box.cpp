#include "platform/controls/headless/combo_box.h"
#include "platform/controls/headless/drop_down_keys.h"

#include <cctype>

#include "platform/automation/errors.h"

namespace ax {

namespace {
constexpr int32_t TextReadOnly = 383;  // what a desktop list-style combo raises for an unlisted text
}

HeadlessComboBox::HeadlessComboBox(Style style) : style_(style) {
    if (style != Style::DropDownCombo && style != Style::DropDownList) raise(err::InvalidPropertyValue);
}

void HeadlessComboBox::AddItem(const std::string& item, int32_t index) {
    if (index == -1) index = ListCount();
    if (index < 0 || index > ListCount()) raise(err::InvalidProcedureCall);
    items_.insert(items_.begin() + index, item);
    if (listIndex_ >= index) ++listIndex_;
    changed();
}

void HeadlessComboBox::RemoveItem(int32_t index) {
    if (index < 0 || index >= ListCount()) raise(err::InvalidProcedureCall);
    items_.erase(items_.begin() + index);
    if (listIndex_ == index) {
        listIndex_ = -1;  // the drop-down combo keeps its text; the list style shows nothing
    } else if (listIndex_ > index) {
        --listIndex_;
    }
    changed();
}

void HeadlessComboBox::Clear() {
    const bool hadText = editable() && field_.length() > 0;
    items_.clear();
    listIndex_ = -1;
    field_.setText("");
    changed();
    if (hadText) fire(onChange);
}

std::string HeadlessComboBox::List(int32_t index) const {
    return index >= 0 && index < ListCount() ? items_[size_t(index)] : std::string();
}

void HeadlessComboBox::setList(int32_t index, const std::string& v) {
    if (index < 0 || index >= ListCount()) raise(err::InvalidPropertyArrayIndex);
    items_[size_t(index)] = v;
    if (index == listIndex_ && !editable()) field_.setText(v);
    changed();
}

int32_t HeadlessComboBox::findExact(const std::string& text) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text) return static_cast<int32_t>(i);
    return -1;
}

void HeadlessComboBox::select(int32_t i, bool click) {
    listIndex_ = i;
    field_.setText(i >= 0 ? items_[size_t(i)] : std::string());
    field_.select(0, field_.length());
    changed();
    if (click) fire(onClick);
}

void HeadlessComboBox::setListIndex(int32_t v) {
    if (v < -1 || v >= ListCount()) raise(err::InvalidPropertyValue);
    if (v == listIndex_) return;
    select(v, v >= 0);
}

std::string HeadlessComboBox::Text() const {
    if (editable()) return field_.text();
    return List(listIndex_);
}

void HeadlessComboBox::setText(const std::string& v) {
    if (!editable()) {
        if (v.empty()) {
            if (listIndex_ != -1) select(-1, false);
            return;
        }
        const int32_t i = findExact(v);
        if (i < 0) raise(TextReadOnly, "'Text' property is read-only");
        if (i != listIndex_) select(i, true);
        return;
    }
    if (v == field_.text()) return;
    field_.setText(v);
    listIndex_ = findExact(v);
    changed();
    fire(onChange);
}

void HeadlessComboBox::setSelStart(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    field_.setSelStart(v);
    changed();
}

void HeadlessComboBox::setSelLength(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    field_.setSelLength(v);
    changed();
}

void HeadlessComboBox::setSelText(const std::string& v) {
    if (!editable()) return;  // the list style has no text of its own to edit
    const std::string before = field_.text();
    field_.replaceSelection(v);
    changed();
    if (field_.text() != before) {
        listIndex_ = findExact(field_.text());
        fire(onChange);
    }
}

void HeadlessComboBox::dropDown() {
    if (dropped_ || !Enabled()) return;
    fire(onDropDown);
    dropped_ = true;
    changed();
}

void HeadlessComboBox::chooseByMouse(int32_t index) {
    if (index < 0 || index >= ListCount()) raise(err::InvalidPropertyValue);
    if (!Enabled() || Locked()) return;
    dropDown();
    dropped_ = false;
    select(index, true);
}

void HeadlessComboBox::mouseDown(int16_t button, int16_t, float x, float) {
    if (button != 1 || !Enabled()) return;
    if (editable() && !(Width() > 0 && x >= Width() - detail::ButtonWidth)) return;
    if (dropped_)
        closeUp();
    else
        dropDown();
}

void HeadlessComboBox::typedTextChanged() {
    listIndex_ = findExact(field_.text());
    changed();
    fire(onChange);
}

void HeadlessComboBox::run(detail::EditField::Command command) {
    if (!editable()) return;
    if (detail::runEditCommand(field_, command, container_ ? container_->clipboard() : nullptr))
        typedTextChanged();
    else
        changed();
}

void HeadlessComboBox::deleteSelection() {
    if (editable() && field_.selLength() > 0 && field_.deleteForward()) typedTextChanged();
}

void HeadlessComboBox::keyDown(int16_t& keyCode, int16_t& shift) {
    fire(onKeyDown, keyCode, shift);
    if (keyCode == 0) return;
    if (detail::handleDropDownKey(*this, keyCode, shift)) return;
    if (const auto command = detail::editCommandOfKeyDown(keyCode, shift);
        command != detail::EditField::Command::None) {
        run(command);
        return;
    }
    const bool listKeys = !editable() || dropped_;
    int32_t to = listIndex_;
    switch (keyCode) {
        case key::Down:
            to = listIndex_ + 1;
            break;
        case key::Up:
            to = listIndex_ < 0 ? 0 : listIndex_ - 1;
            break;
        case key::PageDown:
            to = listKeys ? listIndex_ + 8 : listIndex_;
            break;
        case key::PageUp:
            to = listKeys ? std::max(listIndex_ - 8, 0) : listIndex_;
            break;
        case key::Home:
            if (!listKeys) return moveCaret(keyCode, shift);
            to = 0;
            break;
        case key::End:
            if (!listKeys) return moveCaret(keyCode, shift);
            to = ListCount() - 1;
            break;
        case key::Delete:
            if (editable() && field_.deleteForward()) typedTextChanged();
            return;
        default:
            if (editable()) moveCaret(keyCode, shift);
            return;
    }
    if (ListCount() == 0 || Locked()) return;
    to = std::clamp(to, 0, ListCount() - 1);
    if (to != listIndex_) select(to, true);
}

void HeadlessComboBox::keyPress(int16_t& keyAscii) {
    fire(onKeyPress, keyAscii);
    if (keyAscii == 0) return;
    if (editable()) {
        if (keyAscii == key::Back) {
            if (field_.backspace()) typedTextChanged();
            return;
        }
        if (const auto command = detail::editCommandOfKeyPress(keyAscii);
            command != detail::EditField::Command::None)
            return run(command);
        if (keyAscii > 0 && keyAscii < 32) return;
        std::string ch = decoder_.feed(keyAscii);
        if (!ch.empty() && field_.typeChar(ch)) typedTextChanged();
        return;
    }
    // The list style jumps to the next entry that starts with the typed letter.
    if (keyAscii < 32 || keyAscii > 126 || Locked() || ListCount() == 0) return;
    const auto wanted = static_cast<char>(std::tolower(keyAscii));
    for (int32_t n = 1; n <= ListCount(); ++n) {
        const int32_t i = (listIndex_ + n + ListCount()) % ListCount();
        const std::string& item = items_[size_t(i)];
        if (!item.empty() && std::tolower(static_cast<unsigned char>(item[0])) == wanted) {
            if (i != listIndex_) select(i, true);
            return;
        }
    }
}

}  // namespace ax
