// Zel's layout, its design-time persistence and its member table.
#include <functional>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "spin/zel.h"

namespace zel {

namespace {

int16_t length16(float v) { return ax::toInteger16(v); }
int16_t sum16(int32_t a, int32_t b) { return ax::narrow16(int64_t(a) + b); }

// Applies one stored key; a stored value the bag cannot read (a damaged form file entry), that does
// not convert, or that its setter refuses with an error, is replaced by the key's default so that
// one bad entry neither loses the others nor stops the form that holds the control from opening.
void applyStored(ax::PropertyBag& bag, std::string_view key, const ax::Variant& def,
                 const std::function<void(const ax::Variant&)>& apply) {
    try {
        apply(bag.ReadProperty(key, def));
    } catch (const ax::AutomationError&) {
        apply(def);
    }
}

ax::Variant objectOrNothing(std::shared_ptr<ax::Object> o) { return ax::Variant(std::move(o)); }

}  // namespace

// --- layout -------------------------------------------------------------------------------------

void Zel::layoutChildren() {
    if (!sited() || !txt_ || !bar_) return;
    ax::ControlSurface& surface = site().Surface();

    const double points = txt_->Font() ? txt_->Font()->Size() : 8.25;
    const int16_t tw = ax::toInteger16(points * 30 * txt_->MaxLength() / 2.2);
    int16_t th = ax::toInteger16(points * 30);
    if (th < 200) th = 200;

    int16_t w = length16(surface.Width());
    if (w < sum16(tw, 275)) w = sum16(tw, 275);
    if (w > sum16(tw, 450)) w = sum16(tw, 450);
    const int16_t h = sum16(th, 30);
    // The host lays the control out again after a resize; that pass sees sizes already in range,
    // and it must not ask for another one (a host may round sizes to its own grid).
    if (!sizing_ && (surface.Width() != float(w) || surface.Height() != float(h))) {
        sizing_ = true;
        try {
            surface.Size(w, h);
        } catch (...) {
            sizing_ = false;
            throw;
        }
        sizing_ = false;
    }
    txt_->setWidth(tw);

    const int16_t innerLeft = length16(surface.ScaleLeft());
    const int16_t innerTop = length16(surface.ScaleTop());
    const int16_t innerWidth = length16(surface.ScaleWidth());
    const int16_t innerHeight = length16(surface.ScaleHeight());
    bar_->setHeight(innerHeight);
    bar_->setTop(innerTop);

    int16_t arrowWidth = 275;
    if (innerWidth > sum16(tw, 450)) {
        arrowWidth = 450;
    } else {
        const int16_t rest = sum16(innerWidth, -int32_t(tw));
        if (rest > 0) arrowWidth = rest;
    }
    // The text takes what the arrows leave, never less than 1.
    auto remaining = [&](int32_t taken) {
        const int16_t r = sum16(innerWidth, -taken);
        return r > 0 ? r : int16_t(1);
    };

    switch (style_) {
        case ZelStyleCentered: {
            bar_->setWidth(innerWidth);
            bar_->setLeft(innerLeft);
            txt_->setTop(innerTop);
            txt_->setHeight(innerHeight);
            const int16_t textWidth = remaining(400);
            txt_->setWidth(textWidth);
            txt_->setLeft(float(sum16(innerWidth, -int32_t(textWidth))) / 2);
            break;
        }
        case ZelStyleArrowsLeft:
            bar_->setLeft(innerLeft);
            bar_->setWidth(arrowWidth);
            txt_->setTop(innerTop);
            txt_->setHeight(innerHeight);
            txt_->setWidth(remaining(length16(bar_->Width())));
            txt_->setLeft(bar_->Left() + bar_->Width());
            break;
        case ZelStyleArrowsRight:
            bar_->setWidth(arrowWidth);
            txt_->setTop(innerTop);
            txt_->setHeight(innerHeight);
            txt_->setLeft(innerLeft);
            txt_->setWidth(remaining(length16(bar_->Width())));
            bar_->setLeft(txt_->Left() + txt_->Width());
            break;
        default:
            break;
    }
    txt_->ZOrder(0);
}

// --- persistence --------------------------------------------------------------------------------

void Zel::InitProperties() {
    setEnabled(true);
    setFont(sited() ? site().AmbientFont() : nullptr);
    style_ = ZelStyleArrowsLeft;
    setMax(32767);
    setMin(-32768);
    setLargeChange(1);
    setSmallChange(1);
    setArrows(ZelArrowsBoth);
}

void Zel::ReadProperties(ax::PropertyBag& bag) {
    isLoading_ = true;
    try {
        using V = const ax::Variant&;
        applyStored(bag, "BackColor", int32_t(ax::syscolor::WindowBackground),
                    [&](V v) { setBackColor(ax::OleColor(ax::cLng(v))); });
        applyStored(bag, "ForeColor", int32_t(ax::syscolor::WindowText),
                    [&](V v) { setForeColor(ax::OleColor(ax::cLng(v))); });
        applyStored(bag, "Enabled", true, [&](V v) { setEnabled(ax::cBool(v)); });
        const ax::FontPtr ambient = sited() ? site().AmbientFont() : nullptr;
        applyStored(bag, "Font", objectOrNothing(ambient),
                    [&](V v) { font_ = ax::fromVariant<ax::FontPtr>(v); });
        applyStored(bag, "Arrows", int32_t(0), [&](V v) { setArrows(ax::cLng(v)); });
        applyStored(bag, "Max", int16_t(32767), [&](V v) { setMax(ax::cInt(v)); });
        applyStored(bag, "Min", int16_t(-32768), [&](V v) { setMin(ax::cInt(v)); });
        applyStored(bag, "LargeChange", int16_t(1), [&](V v) { setLargeChange(ax::cInt(v)); });
        applyStored(bag, "SmallChange", int16_t(1), [&](V v) { setSmallChange(ax::cInt(v)); });
        applyStored(bag, "Value", int16_t(-32768), [&](V v) {
            setValue(ax::cInt(v));
            setFieldText(ax::decimalText(value_));
        });
        applyStored(bag, "Style", int32_t(ZelStyleArrowsLeft), [&](V v) { setStyle(ax::cLng(v)); });
        applyStored(bag, "MouseIcon", objectOrNothing(nullptr),
                    [&](V v) { setMouseIcon(ax::fromVariant<ax::PicturePtr>(v)); });
        applyStored(bag, "MousePointer", int16_t(0), [&](V v) {
            if (sited()) site().Surface().setMousePointer(ax::cInt(v));
        });
        applyStored(bag, "RightToLeft", false, [&](V v) {
            if (txt_) txt_->setRightToLeft(ax::cBool(v));
        });
    } catch (...) {
        isLoading_ = false;
        throw;
    }
    isLoading_ = false;
}

void Zel::WriteProperties(ax::PropertyBag& bag) {
    const ax::FontPtr ambient = sited() ? site().AmbientFont() : nullptr;
    const ax::PicturePtr icon = MouseIcon();
    bag.WriteProperty("BackColor", int32_t(BackColor()), int32_t(ax::syscolor::WindowBackground));
    bag.WriteProperty("ForeColor", int32_t(ForeColor()), int32_t(ax::syscolor::WindowText));
    bag.WriteProperty("Enabled", enabled_, true);
    bag.WriteProperty("Font", objectOrNothing(font_), objectOrNothing(ambient));
    bag.WriteProperty("Arrows", int32_t(arrows_), int32_t(0));
    bag.WriteProperty("Max", max_, int16_t(32767));
    bag.WriteProperty("Min", min_, int16_t(-32768));
    bag.WriteProperty("SmallChange", smallChange_, int16_t(1));
    bag.WriteProperty("LargeChange", largeChange_, int16_t(1));
    bag.WriteProperty("Value", value_, int16_t(-32768));
    bag.WriteProperty("Style", style_, int32_t(ZelStyleArrowsLeft));
    // An icon without a picture is no icon.
    bag.WriteProperty("MouseIcon", objectOrNothing(ax::hasPicture(icon) ? icon : nullptr),
                      objectOrNothing(nullptr));
    bag.WriteProperty("MousePointer", MousePointer(), int16_t(0));
    bag.WriteProperty("RightToLeft", RightToLeft(), false);
}

// --- _Zel ---------------------------------------------------------------------------------------

const ax::DispatchTable<Zel>& Zel::dispatchTable() {
    static const ax::DispatchTable<Zel> table = [] {
        ax::DispatchTable<Zel> t;
        t.prop("BackColor", &Zel::BackColor, &Zel::setBackColor)
            .prop("ForeColor", &Zel::ForeColor, &Zel::setForeColor)
            .prop("Enabled", &Zel::Enabled, &Zel::setEnabled)
            .propRef("Font", &Zel::Font, &Zel::setFont)
            .prop("Max", &Zel::Max, &Zel::setMax)
            .prop("Min", &Zel::Min, &Zel::setMin)
            .prop("SmallChange", &Zel::SmallChange, &Zel::setSmallChange)
            .prop("Value", &Zel::Value, &Zel::setValue)
            .prop("LargeChange", &Zel::LargeChange, &Zel::setLargeChange)
            .prop("Style", &Zel::Style, &Zel::setStyle)
            .propRef("MouseIcon", &Zel::MouseIcon, &Zel::setMouseIcon)
            .prop("MousePointer", &Zel::MousePointer, &Zel::setMousePointer)
            .prop("RightToLeft", &Zel::RightToLeft, &Zel::setRightToLeft)
            .prop("Arrows", &Zel::Arrows, &Zel::setArrows);
        return t;
    }();
    return table;
}

}  // namespace zel
