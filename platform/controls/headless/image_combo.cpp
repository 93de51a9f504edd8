#include "platform/controls/headless/image_combo.h"
#include "platform/controls/headless/drop_down_keys.h"

#include <algorithm>

#include "platform/automation/errors.h"

namespace ax {

HeadlessImageCombo::HeadlessImageCombo() {
    // Choosing an entry, by the user or the host, shows its text (no Change: that is for typing
    // and for setting Text).
    items_->onSelectionChanged = [this] {
        if (typing_) return;
        if (auto item = items_->selected()) {
            field_.setText(item->Text());
            field_.select(0, field_.length());
        }
        changed();
    };
    // Clearing the entries clears the text with them, as a combo box's Clear does.
    items_->onCleared = [this] {
        if (field_.length() == 0) return;
        field_.setText("");
        changed();
        fire(onChange);
    };
    items_->onEntriesChanged = [this] { changed(); };
}

void HeadlessImageCombo::setSelectedItem(std::shared_ptr<ComboItem> item) {
    if (!items_->select(item.get())) raise(err::InvalidPropertyValue);
}

void HeadlessImageCombo::setText(const std::string& v) {
    if (v == field_.text()) return;
    field_.setText(v);
    typedTextChanged();
}

void HeadlessImageCombo::setSelStart(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    field_.setSelStart(v);
    changed();
}

void HeadlessImageCombo::setSelLength(int32_t v) {
    if (v < 0) raise(err::InvalidPropertyValue);
    field_.setSelLength(v);
    changed();
}

void HeadlessImageCombo::typedTextChanged() {
    std::shared_ptr<ComboItem> match;
    for (const auto& it : items_->list().items()) {
        if (it->Text() == field_.text()) {
            match = it;
            break;
        }
    }
    typing_ = true;
    items_->select(match.get());
    typing_ = false;
    changed();
    fire(onChange);
}

void HeadlessImageCombo::run(detail::EditField::Command command) {
    if (detail::runEditCommand(field_, command, container_ ? container_->clipboard() : nullptr))
        typedTextChanged();
    else
        changed();
}

void HeadlessImageCombo::deleteSelection() {
    if (field_.selLength() > 0 && field_.deleteForward()) typedTextChanged();
}

void HeadlessImageCombo::dropDown() {
    if (dropped_ || !Enabled()) return;
    fire(onDropDown);
    dropped_ = true;
    changed();
}

void HeadlessImageCombo::mouseDown(int16_t button, int16_t, float x, float) {
    if (button != 1 || !Enabled() || !(Width() > 0 && x >= Width() - detail::ButtonWidth)) return;
    if (dropped_)
        closeUp();
    else
        dropDown();
}

void HeadlessImageCombo::choose(int32_t index) {
    auto item = items_->list().items()[size_t(index - 1)];
    items_->select(item.get());
    // Choosing the entry that is already selected still puts its text back.
    field_.setText(item->Text());
    field_.select(0, field_.length());
    changed();
    fire(onClick);
}

void HeadlessImageCombo::chooseByMouse(int32_t index) {
    if (index < 1 || index > items_->Count()) raise(err::InvalidPropertyValue);
    if (!Enabled() || Locked()) return;
    dropDown();
    dropped_ = false;
    choose(index);
}

void HeadlessImageCombo::keyDown(int16_t& keyCode, int16_t& shift) {
    fire(onKeyDown, keyCode, shift);
    if (keyCode == 0) return;
    if (detail::handleDropDownKey(*this, keyCode, shift)) return;
    if (const auto command = detail::editCommandOfKeyDown(keyCode, shift);
        command != detail::EditField::Command::None)
        return run(command);
    if (keyCode == key::Down || keyCode == key::Up) {
        const int32_t n = items_->Count();
        if (n == 0 || Locked()) return;
        auto current = items_->selected();
        const int32_t at = current ? current->Index() : 0;
        const int32_t to = std::clamp(keyCode == key::Down ? at + 1 : (at == 0 ? 1 : at - 1), 1, n);
        if (to != at) choose(to);
        return;
    }
    if (keyCode == key::Delete) {
        if (field_.deleteForward()) typedTextChanged();
        return;
    }
    if (field_.moveCaret(keyCode, shift)) changed();
}

void HeadlessImageCombo::keyPress(int16_t& keyAscii) {
    fire(onKeyPress, keyAscii);
    if (keyAscii == 0) return;
    if (keyAscii == key::Back) {
        if (field_.backspace()) typedTextChanged();
        return;
    }
    if (const auto command = detail::editCommandOfKeyPress(keyAscii);
        command != detail::EditField::Command::None)
        return run(command);
    if (keyAscii > 0 && keyAscii < 32) return;
    const std::string ch = decoder_.feed(keyAscii);
    if (!ch.empty() && field_.typeChar(ch)) typedTextChanged();
}

}  // namespace ax
