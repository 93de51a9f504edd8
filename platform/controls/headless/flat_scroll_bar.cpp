#include "platform/controls/headless/flat_scroll_bar.h"

#include <algorithm>

#include "platform/automation/errors.h"

namespace ax {

void HeadlessFlatScrollBar::moveTo(int32_t v) {
    const auto clamped = static_cast<int16_t>(std::clamp<int32_t>(v, low(), high()));
    if (clamped == value_) return;
    value_ = clamped;
    fire(onChange);
}

void HeadlessFlatScrollBar::setMin(int16_t v) {
    min_ = v;
    moveTo(value_);  // a value outside the new range follows it
}

void HeadlessFlatScrollBar::setMax(int16_t v) {
    max_ = v;
    moveTo(value_);
}

void HeadlessFlatScrollBar::setValue(int16_t v) {
    if (v < low() || v > high()) raise(err::InvalidPropertyValue);
    moveTo(v);
}

void HeadlessFlatScrollBar::setSmallChange(int16_t v) {
    if (v < 1) raise(err::InvalidPropertyValue);
    small_ = v;
}

void HeadlessFlatScrollBar::setLargeChange(int16_t v) {
    if (v < 1) raise(err::InvalidPropertyValue);
    large_ = v;
}

void HeadlessFlatScrollBar::setArrows(int16_t v) {
    if (v < 0 || v > 2) raise(err::InvalidPropertyValue);
    arrows_ = v;
}

void HeadlessFlatScrollBar::setOrientation(Orientation o) {
    if (o != Orientation::Vertical && o != Orientation::Horizontal) raise(err::InvalidPropertyValue);
    orientation_ = o;
}

void HeadlessFlatScrollBar::step(int32_t delta) {
    // The left/up side always leads to Min, also when Min is the larger number.
    moveTo(int32_t(value_) + (min_ <= max_ ? delta : -delta));
}

void HeadlessFlatScrollBar::clickPart(Part part) {
    if (!Enabled()) return;
    switch (part) {
        case Part::LeftArrow:
            if (arrows_ != 2) step(-small_);
            break;
        case Part::RightArrow:
            if (arrows_ != 1) step(small_);
            break;
        case Part::PageLeft:
            step(-large_);
            break;
        case Part::PageRight:
            step(large_);
            break;
    }
}

bool HeadlessFlatScrollBar::partAt(float x, float y, Part& part) const {
    const bool horizontal = orientation_ == Orientation::Horizontal;
    const float length = horizontal ? Width() : Height();
    const float thickness = horizontal ? Height() : Width();
    const float pos = horizontal ? x : y;
    if (length <= 0 || pos < 0 || pos >= length) return false;
    // Arrow buttons are square, unless the bar is too short for two squares.
    const float arrow = std::min(thickness, length / 2);
    if (pos < arrow) {
        part = Part::LeftArrow;
        return true;
    }
    if (pos >= length - arrow) {
        part = Part::RightArrow;
        return true;
    }
    const float track = length - 2 * arrow;
    const float thumb = std::min(arrow, track);
    const int32_t span = int32_t(high()) - low();
    const int32_t fromMin = min_ <= max_ ? int32_t(value_) - min_ : int32_t(min_) - value_;
    const float thumbStart = arrow + (span == 0 ? 0.0f : (track - thumb) * float(fromMin) / float(span));
    if (pos < thumbStart) {
        part = Part::PageLeft;
        return true;
    }
    if (pos >= thumbStart + thumb) {
        part = Part::PageRight;
        return true;
    }
    return false;
}

void HeadlessFlatScrollBar::mouseDown(int16_t button, int16_t shift, float x, float y) {
    fire(onMouseDown, button, shift, x, y);
    Part part;
    if (button == 1 && partAt(x, y, part)) clickPart(part);
}

void HeadlessFlatScrollBar::keyDown(int16_t& keyCode, int16_t&) {
    if (!Enabled()) return;
    switch (keyCode) {
        case key::Left:
        case key::Up:
            clickPart(Part::LeftArrow);
            break;
        case key::Right:
        case key::Down:
            clickPart(Part::RightArrow);
            break;
        case key::PageUp:
            clickPart(Part::PageLeft);
            break;
        case key::PageDown:
            clickPart(Part::PageRight);
            break;
        case key::Home:
            moveTo(min_);
            break;
        case key::End:
            moveTo(max_);
            break;
        default:
            break;
    }
}

}  // namespace ax
