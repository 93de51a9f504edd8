#include "spin/zel.h"

#include <cmath>
#include <cstdlib>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"

namespace zel {

namespace {

// Digits plus one sign position: a minus for negatives, a blank for zero and positives.
int32_t signedWidth(int16_t v) { return int32_t(ax::decimalText(std::abs(int32_t(v))).size()) + 1; }

}  // namespace

Zel::Zel() {
    // A control created without InitProperties (or before it) still holds consistent bounds.
    enabled_ = true;
    max_ = 32767;
    min_ = -32768;
    smallChange_ = 1;
    largeChange_ = 1;
    events_.describe(kZelEvents);
}

Zel::~Zel() {
    // The host may hold the children longer than the control: they must not call back into it.
    if (txt_) {
        txt_->onKeyPress = nullptr;
        txt_->onChange = nullptr;
        txt_->onGotFocus = nullptr;
        txt_->onKeyDown = nullptr;
    }
    if (bar_) {
        bar_->onChange = nullptr;
        bar_->onMouseDown = nullptr;
    }
}

void Zel::SetSite(std::shared_ptr<ax::Site> site) {
    ax::Control::SetSite(std::move(site));
    if (sited() && !txt_) createChildren();
}

void Zel::createChildren() {
    txt_ = std::dynamic_pointer_cast<ax::TextBox>(site().CreateChild(ax::ChildKind::TextBox, "Txt"));
    bar_ = std::dynamic_pointer_cast<ax::FlatScrollBar>(
        site().CreateChild(ax::ChildKind::FlatScrollBar, "FltScrollBar"));
    if (!txt_ || !bar_) ax::raise(ax::err::TypeMismatch, "The container supplied a child of the wrong kind");

    bar_->setOrientation(ax::FlatScrollBar::Orientation::Horizontal);
    bar_->setMin(min_);
    bar_->setMax(max_);
    bar_->setSmallChange(smallChange_);
    bar_->setLargeChange(largeChange_);
    bar_->setArrows(arrows_);
    // The arrows never take the keyboard focus: it stays in the text field, where Enter, Esc and the
    // digits keep working (a host such as the grid's number editor listens to the field's keys).
    bar_->setTabStop(false);
    txt_->onKeyPress = [this](int16_t& k) { onTextKeyPress(k); };
    txt_->onKeyDown = [this](int16_t& k, int16_t& s) { onTextKeyDown(k, s); };
    txt_->onChange = [this] { onTextChange(); };
    txt_->onGotFocus = [this] { onTextGotFocus(); };
    bar_->onChange = [this] { onScrollChange(); };
    bar_->onMouseDown = [this](int16_t, int16_t, float, float) { onScrollMouseDown(); };
    bar_->setVisible(true);
    txt_->setVisible(true);
    updateMaxLength();
}

std::string Zel::Text() const { return txt_ ? txt_->Text() : std::string(); }

void Zel::notify(std::string_view name) {
    if (sited()) site().PropertyChanged(name);
}

void Zel::raiseChange() {
    if (sink_) sink_->Change();
    events_.raise(dispid::Change, "Change");
}

void Zel::raiseKeyPress(int16_t keyAscii) {
    // Each host hears the key as typed: what one writes back is not used, so not passed on either.
    int16_t typed = keyAscii;
    if (sink_) sink_->KeyPress(typed);
    int16_t named = keyAscii;
    events_.raise(dispid::KeyPress, "KeyPress", named);
}

void Zel::setFieldText(const std::string& text) {
    if (txt_) txt_->setText(text);
}

// --- properties -------------------------------------------------------------------------------

ax::OleColor Zel::BackColor() const { return txt_ ? txt_->BackColor() : ax::syscolor::WindowBackground; }

void Zel::setBackColor(ax::OleColor v) {
    if (txt_) txt_->setBackColor(v);
    notify("BackColor");
}

ax::OleColor Zel::ForeColor() const { return txt_ ? txt_->ForeColor() : ax::syscolor::WindowText; }

void Zel::setForeColor(ax::OleColor v) {
    if (txt_) txt_->setForeColor(v);
    notify("ForeColor");
}

void Zel::setEnabled(bool v) {
    enabled_ = v;
    if (sited()) site().Surface().setEnabled(v);
    notify("Enabled");
}

void Zel::setFont(ax::FontPtr f) {
    // Kept for the host; the text field keeps its own font, which the layout measures.
    font_ = std::move(f);
    notify("Font");
}

void Zel::setMax(int16_t v) {
    if (v < min_ && !isLoading_) return;
    // Decided before the bar hears of it: the bar pulls its own value in and reports that at once.
    const bool moveValue = value_ > v;
    max_ = v;
    updateMaxLength();
    if (bar_) bar_->setMax(v);
    if (moveValue) setValue(v);
    layoutChildren();
    notify("Max");
}

void Zel::setMin(int16_t v) {
    if (v > max_ && !isLoading_) return;
    const bool moveValue = value_ < v;
    min_ = v;
    updateMaxLength();
    if (bar_) bar_->setMin(v);
    if (moveValue) setValue(v);
    layoutChildren();
    notify("Min");
}

void Zel::setSmallChange(int16_t v) {
    if (v < 1 || v > largeChange_) return;
    smallChange_ = v;
    if (bar_) bar_->setSmallChange(v);
    notify("SmallChange");
}

void Zel::setLargeChange(int16_t v) {
    const double limit = ax::roundHalfEven((int32_t(max_) - int32_t(min_)) / 2.0 - 1);
    if (v > limit || v < 1 || v < smallChange_) return;
    largeChange_ = v;
    if (bar_) bar_->setLargeChange(v);
    notify("LargeChange");
}

void Zel::setValue(int16_t v) {
    if (v < min_ || v > max_) return;
    value_ = v;
    // The bar reports its change at once; its handler rewrites the text, which validates it.
    if (bar_) bar_->setValue(v);
    setFieldText(ax::decimalText(v));
    notify("Value");
}

void Zel::setStyle(int32_t v) {
    style_ = v;
    layoutChildren();
    notify("Style");
}

ax::PicturePtr Zel::MouseIcon() const { return sited() ? site().Surface().MouseIcon() : nullptr; }

void Zel::setMouseIcon(ax::PicturePtr p) {
    if (sited()) site().Surface().setMouseIcon(std::move(p));
    notify("MouseIcon");
}

int16_t Zel::MousePointer() const { return sited() ? site().Surface().MousePointer() : 0; }

void Zel::setMousePointer(int16_t v) {
    if (sited()) site().Surface().setMousePointer(v);
    if (txt_) txt_->setMousePointer(v);
    if (bar_) bar_->setMousePointer(v);
    notify("MousePointer");
}

bool Zel::RightToLeft() const { return txt_ && txt_->RightToLeft(); }

void Zel::setRightToLeft(bool v) {
    if (txt_) txt_->setRightToLeft(v);
    notify("RightToLeft");
}

void Zel::setArrows(int32_t v) {
    const int16_t arrows = ax::narrow16(v);
    // The bar refuses values it does not know; then nothing changes here either.
    if (bar_) bar_->setArrows(arrows);
    arrows_ = arrows;
    notify("Arrows");
}

// --- child notifications ------------------------------------------------------------------------

void Zel::onTextKeyPress(int16_t& keyAscii) {
    const int16_t typed = keyAscii;
    const std::string text = txt_->Text();
    if (text != "-" && !text.empty()) {
        // The text as it stands before this key: where a rejected edit returns to.
        if (auto number = ax::parseNumber(text, site().AmbientLocale())) {
            const double whole = std::floor(*number);
            if (whole >= -32768.0 && whole <= 32767.0) lastGoodValue_ = int16_t(whole);
        }
    }
    if (keyAscii != 13 && keyAscii != 8 && keyAscii != '-' && (keyAscii > '9' || keyAscii < '0'))
        keyAscii = 0;
    // The host sees the key as typed; what it writes back does not reach the text.
    raiseKeyPress(typed);
}

// With the arrows out of the tab order, the arrow and page keys in the text field spin instead:
// up raises the number, down lowers it, as on the arrows, within the arrows' own rules.
void Zel::onTextKeyDown(int16_t& keyCode, int16_t& shift) {
    if (shift & (ax::shiftmask::Ctrl | ax::shiftmask::Alt)) return;
    using Part = ax::FlatScrollBar::Part;
    switch (keyCode) {
        case ax::key::Up:
            bar_->clickPart(Part::RightArrow);
            break;
        case ax::key::Down:
            bar_->clickPart(Part::LeftArrow);
            break;
        case ax::key::PageUp:
            bar_->clickPart(Part::PageRight);
            break;
        case ax::key::PageDown:
            bar_->clickPart(Part::PageLeft);
            break;
        default:
            break;
    }
}

void Zel::onTextChange() {
    const std::string text = txt_->Text();
    if (text.empty() || text == "-") return;

    const auto number = ax::parseNumber(text, site().AmbientLocale());
    const double v = ax::leadingNumber(text);
    // The leading number decides; the whole text must also round into the bounds, so that a text
    // such as "1,000" (leading number 1) cannot carry 1000 past Max.
    const double n = number ? ax::roundHalfEven(*number) : 0;
    if (!number || v > max_ || v < min_ || n > max_ || n < min_) {
        if (restoring_) return;  // the fallback text is refused too: stop here
        // LastGoodValue can lie outside bounds set after it was taken; the accepted Value is the
        // text the field last showed, and then the nearest bound.
        int32_t fallback = lastGoodValue_;
        if (fallback < min_ || fallback > max_) {
            fallback = value_;
            if (fallback < min_) fallback = min_;
            if (fallback > max_) fallback = max_;
        }
        restoring_ = true;
        try {
            setFieldText(ax::decimalText(fallback));
        } catch (...) {
            restoring_ = false;
            throw;
        }
        restoring_ = false;
        return;
    }

    const int16_t accepted = int16_t(n);
    bar_->setValue(accepted);
    value_ = accepted;
    raiseChange();
}

void Zel::onTextGotFocus() {
    txt_->setSelStart(0);
    txt_->setSelLength(int32_t(ax::charCount(txt_->Text())));
}

// A click on the arrows puts the focus in the text field (where it usually is already), so the
// number just spun can be typed over or confirmed with Enter.
void Zel::onScrollMouseDown() {
    if (!txt_->hasFocus() && txt_->Visible() && txt_->Enabled()) txt_->SetFocus();
}

void Zel::onScrollChange() {
    setFieldText(ax::decimalText(bar_->Value()));
    value_ = bar_->Value();
}

void Zel::updateMaxLength() {
    if (txt_) txt_->setMaxLength(std::max(signedWidth(max_), signedWidth(min_)));
}

void Zel::Resize() { layoutChildren(); }

}  // namespace zel
