#include "platform/controls/headless/dt_picker.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/automation/errors.h"
#include "platform/automation/locale.h"
#include "platform/controls/headless/edit_field.h"
#include "platform/host/clipboard.h"

namespace ax {

namespace {

const std::array<const char*, 7> kWeekdays{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : days[m - 1];
}

int dayKey(const CivilDateTime& c) { return c.year * 10000 + c.month * 100 + c.day; }

bool sameMoment(const CivilDateTime& a, const CivilDateTime& b) {
    return dayKey(a) == dayKey(b) && a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

// Sunday 0 .. Saturday 6; day 0 of automation dates (30 December 1899) was a Saturday.
int weekday(const CivilDateTime& c) {
    CivilDateTime day = c;
    day.hour = day.minute = day.second = 0;
    auto n = static_cast<int64_t>(std::floor(toAutomationDate(day).value));
    return static_cast<int>(((n + 6) % 7 + 7) % 7);
}

CivilDateTime dateOnly(Date d) {
    CivilDateTime c = toCivil(d);
    c.hour = c.minute = c.second = 0;
    return c;
}

std::string pad2(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

const CivilDateTime kEarliest{1601, 1, 1};
const CivilDateTime kLatest{9999, 12, 31};

}  // namespace

HeadlessDTPicker::HeadlessDTPicker()
    : minDate_(toAutomationDate(kEarliest)),
      maxDate_(toAutomationDate(kLatest)),
      calendar_{syscolor::WindowBackground, syscolor::WindowText, syscolor::ActiveTitleBar,
                syscolor::TitleBarText, syscolor::GrayText} {
    value_ = toCivil(today());
}

Variant HeadlessDTPicker::Value() const {
    if (!Checked()) return Variant(Null{});
    return Variant(toAutomationDate(value_));
}

void HeadlessDTPicker::setValue(const Variant& v) {
    const bool blank = v.isEmpty() || (v.isString() && v.get<std::string>()->empty());
    if (v.isNull() || (blank && checkBox_)) {
        if (!checkBox_) raise(err::InvalidPropertyValue);
        if (checked_) {
            checked_ = false;
            changed();
            fire(onChange);
        }
        return;
    }
    CivilDateTime c;
    if (blank) {
        // Without a check box the picker always shows a date: an empty value means today.
        c = toCivil(today());
    } else {
        const Date d = cDate(v);
        try {
            c = toCivil(d);
        } catch (const AutomationError&) {
            raise(DateOutOfRange, "The date lies outside the range from MinDate to MaxDate");
        }
        if (dayKey(c) < dayKey(toCivil(minDate_)) || dayKey(c) > dayKey(toCivil(maxDate_)))
            raise(DateOutOfRange, "The date lies outside the range from MinDate to MaxDate");
    }
    const bool wasChecked = checked_;
    checked_ = true;
    changed();
    if (!moveTo(c) && !wasChecked) fire(onChange);
}

void HeadlessDTPicker::setCheckBox(bool v) {
    checkBox_ = v;
    changed();
    if (!v && !checked_) {
        checked_ = true;  // without a check box there is always a date
        fire(onChange);
    }
}

void HeadlessDTPicker::setMinDate(Date v) {
    CivilDateTime c;
    try {
        c = dateOnly(v);
    } catch (const AutomationError&) {
        raise(err::InvalidPropertyValue);
    }
    if (dayKey(c) < dayKey(kEarliest) || dayKey(c) > dayKey(kLatest)) raise(err::InvalidPropertyValue);
    minDate_ = toAutomationDate(c);
    // A host moving the range sets one bound after the other: the other bound follows.
    if (dayKey(c) > dayKey(toCivil(maxDate_))) maxDate_ = minDate_;
    moveTo(value_);
}

void HeadlessDTPicker::setMaxDate(Date v) {
    CivilDateTime c;
    try {
        c = dateOnly(v);
    } catch (const AutomationError&) {
        raise(err::InvalidPropertyValue);
    }
    if (dayKey(c) < dayKey(kEarliest) || dayKey(c) > dayKey(kLatest)) raise(err::InvalidPropertyValue);
    maxDate_ = toAutomationDate(c);
    if (dayKey(c) < dayKey(toCivil(minDate_))) minDate_ = maxDate_;
    moveTo(value_);
}

void HeadlessDTPicker::setFormat(int16_t v) {
    if (v < LongDate || v > CustomFormatted) raise(err::InvalidPropertyValue);
    format_ = v;
    field_ = pending_ = pendingDigits_ = 0;
    changed();
}

void HeadlessDTPicker::setCustomFormat(const std::string& v) {
    customFormat_ = v;
    field_ = pending_ = pendingDigits_ = 0;
    changed();
}

std::vector<HeadlessDTPicker::Token> HeadlessDTPicker::tokens() const {
    const Locale& loc = currentLocale();
    const std::string ds(1, loc.dateSeparator), ts(1, loc.timeSeparator);
    std::string shortPattern;
    switch (loc.dateOrder) {
        case Locale::DateOrder::MonthDayYear:
            shortPattern = "M" + ds + "d" + ds + "yyyy";
            break;
        case Locale::DateOrder::DayMonthYear:
            shortPattern = "dd" + ds + "MM" + ds + "yyyy";
            break;
        case Locale::DateOrder::YearMonthDay:
            shortPattern = "yyyy" + ds + "MM" + ds + "dd";
            break;
    }
    std::string pattern;
    switch (format_) {
        case LongDate:
            pattern = loc.dateOrder == Locale::DateOrder::MonthDayYear   ? "dddd, MMMM d, yyyy"
                      : loc.dateOrder == Locale::DateOrder::DayMonthYear ? "dd MMMM yyyy"
                                                                         : "yyyy MMMM d";
            break;
        case ShortDate:
            pattern = shortPattern;
            break;
        case Time:
            pattern = loc.hour12 ? "h" + ts + "mm" + ts + "ss tt" : "HH" + ts + "mm" + ts + "ss";
            break;
        default:
            pattern = customFormat_.empty() ? shortPattern : customFormat_;
            break;
    }
    std::vector<Token> out;
    auto literal = [&](const std::string& s) {
        if (!out.empty() && out.back().literal)
            out.back().text += s;
        else
            out.push_back(Token{s, true, 0});
    };
    for (size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            const size_t end = pattern.find('\'', i + 1);
            literal(pattern.substr(i + 1, (end == std::string::npos ? pattern.size() : end) - i - 1));
            i = end == std::string::npos ? pattern.size() : end + 1;
            continue;
        }
        if (std::string_view("dMyhHmst").find(c) == std::string_view::npos) {
            literal(std::string(1, c));
            ++i;
            continue;
        }
        size_t j = i;
        while (j < pattern.size() && pattern[j] == c) ++j;
        Token t{pattern.substr(i, j - i), false, c};
        if (c == 'd' && t.text.size() >= 3) t.field = 0;  // the weekday follows from the date
        out.push_back(std::move(t));
        i = j;
    }
    return out;
}

std::vector<size_t> HeadlessDTPicker::fieldTokens() const {
    std::vector<size_t> out;
    const auto ts = tokens();
    for (size_t i = 0; i < ts.size(); ++i)
        if (ts[i].field) out.push_back(i);
    return out;
}

std::string HeadlessDTPicker::Text() const {
    const Locale& loc = currentLocale();
    const CivilDateTime& c = value_;
    std::string out;
    for (const Token& t : tokens()) {
        if (t.literal) {
            out += t.text;
            continue;
        }
        const size_t n = t.text.size();
        const int h12 = c.hour % 12 == 0 ? 12 : c.hour % 12;
        switch (t.text[0]) {
            case 'd':
                if (n >= 4)
                    out += kWeekdays[size_t(weekday(c))];
                else if (n == 3)
                    out += std::string(kWeekdays[size_t(weekday(c))]).substr(0, 3);
                else
                    out += n == 2 ? pad2(c.day) : std::to_string(c.day);
                break;
            case 'M':
                if (n >= 4)
                    out += loc.monthNames[size_t(c.month - 1)];
                else if (n == 3)
                    out += loc.monthAbbreviations[size_t(c.month - 1)];
                else
                    out += n == 2 ? pad2(c.month) : std::to_string(c.month);
                break;
            case 'y':
                if (n >= 3)
                    out += std::to_string(c.year);
                else
                    out += n == 2 ? pad2(c.year % 100) : std::to_string(c.year % 10);
                break;
            case 'h':
                out += n >= 2 ? pad2(h12) : std::to_string(h12);
                break;
            case 'H':
                out += n >= 2 ? pad2(c.hour) : std::to_string(c.hour);
                break;
            case 'm':
                out += n >= 2 ? pad2(c.minute) : std::to_string(c.minute);
                break;
            case 's':
                out += n >= 2 ? pad2(c.second) : std::to_string(c.second);
                break;
            case 't': {
                const std::string& ampm = c.hour < 12 ? loc.am : loc.pm;
                out += n >= 2 ? ampm : ampm.substr(0, 1);
                break;
            }
        }
    }
    return out;
}

std::string HeadlessDTPicker::focusedField() const {
    const auto ts = tokens();
    const auto fs = fieldTokens();
    if (fs.empty()) return {};
    return ts[fs[size_t(std::min<int>(field_, int(fs.size()) - 1))]].text;
}

bool HeadlessDTPicker::moveTo(CivilDateTime c) {
    c.day = std::min(c.day, daysInMonth(c.year, c.month));
    const CivilDateTime lo = toCivil(minDate_), hi = toCivil(maxDate_);
    if (dayKey(c) < dayKey(lo)) c.year = lo.year, c.month = lo.month, c.day = lo.day;
    if (dayKey(c) > dayKey(hi)) c.year = hi.year, c.month = hi.month, c.day = hi.day;
    changed();
    if (sameMoment(c, value_)) return false;
    value_ = c;
    fire(onChange);
    return true;
}

void HeadlessDTPicker::clickCheckBox() {
    if (!checkBox_ || !Enabled()) return;
    checked_ = !checked_;
    changed();
    fire(onChange);
}

void HeadlessDTPicker::dropDown() {
    if (upDown_ || dropped_ || !Enabled()) return;
    fire(onDropDown);
    dropped_ = true;
    changed();
}

void HeadlessDTPicker::closeUp() {
    if (!dropped_) return;
    dropped_ = false;
    changed();
    fire(onCloseUp);
}

void HeadlessDTPicker::copy() {
    Clipboard* clipboard = container_ ? container_->clipboard() : nullptr;
    if (clipboard && Checked()) clipboard->setText(Text());
}

void HeadlessDTPicker::paste() {
    Clipboard* clipboard = container_ ? container_->clipboard() : nullptr;
    if (!clipboard || !Enabled()) return;
    const std::string text(detail::firstLine(clipboard->text()));
    if (!readsAsDate(text)) return;
    CivilDateTime pasted;
    try {
        pasted = toCivil(cDate(Variant(text)));
    } catch (const AutomationError&) {
        return;
    }
    // The pasted text replaces what the format shows: the time of a time picker, else the date.
    CivilDateTime c = value_;
    if (format_ == Time) {
        c.hour = pasted.hour, c.minute = pasted.minute, c.second = pasted.second;
    } else {
        c.year = pasted.year, c.month = pasted.month, c.day = pasted.day;
        if (dayKey(c) < dayKey(toCivil(minDate_)) || dayKey(c) > dayKey(toCivil(maxDate_))) return;
    }
    pending_ = pendingDigits_ = 0;
    const bool wasChecked = checked_;
    checked_ = true;
    if (!moveTo(c) && !wasChecked) fire(onChange);
}

void HeadlessDTPicker::chooseFromCalendar(Date day) {
    if (!Enabled()) return;
    CivilDateTime c = dateOnly(day);
    c.hour = value_.hour, c.minute = value_.minute, c.second = value_.second;
    const bool wasChecked = checked_;
    checked_ = true;  // choosing a day ticks the check box
    if (!moveTo(c) && !wasChecked) fire(onChange);
    closeUp();
}

void HeadlessDTPicker::nextField() {
    pending_ = pendingDigits_ = 0;
    const int n = static_cast<int>(fieldTokens().size());
    if (field_ < n - 1) ++field_;
}

void HeadlessDTPicker::stepField(int delta) {
    const auto fs = fieldTokens();
    if (fs.empty()) return;
    pending_ = pendingDigits_ = 0;
    const char f = tokens()[fs[std::min(size_t(field_), fs.size() - 1)]].field;
    CivilDateTime c = value_;
    auto wrap = [](int v, int lo, int hi) {
        return lo + (((v - lo) % (hi - lo + 1)) + (hi - lo + 1)) % (hi - lo + 1);
    };
    switch (f) {
        case 'y':
            c.year = std::clamp(c.year + delta, 1601, 9999);
            break;
        case 'M':
            c.month = wrap(c.month + delta, 1, 12);
            break;
        case 'd':
            c.day = wrap(c.day + delta, 1, daysInMonth(c.year, c.month));
            break;
        case 'h': {
            // The 12-hour field turns round within its half of the day.
            const bool pm = c.hour >= 12;
            c.hour = wrap((c.hour % 12 == 0 ? 12 : c.hour % 12) + delta, 1, 12) % 12 + (pm ? 12 : 0);
            break;
        }
        case 'H':
            c.hour = wrap(c.hour + delta, 0, 23);
            break;
        case 'm':
            c.minute = wrap(c.minute + delta, 0, 59);
            break;
        case 's':
            c.second = wrap(c.second + delta, 0, 59);
            break;
        case 't':
            c.hour = (c.hour + 12) % 24;
            break;
    }
    moveTo(c);
}

void HeadlessDTPicker::typeDigit(int digit) {
    const auto fs = fieldTokens();
    if (fs.empty()) return;
    const char f = tokens()[fs[std::min(size_t(field_), fs.size() - 1)]].field;
    CivilDateTime c = value_;
    if (f == 't') return;
    if (f == 'y') {
        pending_ = pending_ * 10 + digit;
        if (++pendingDigits_ < 4) return;
        if (pending_ >= 1601) {
            c.year = pending_;
            moveTo(c);
        }
        nextField();
        return;
    }
    int lo = 0, hi = 59;
    switch (f) {
        case 'M':
            lo = 1, hi = 12;
            break;
        case 'd':
            lo = 1, hi = daysInMonth(c.year, c.month);
            break;
        case 'h':
            lo = 1, hi = 12;
            break;
        case 'H':
            lo = 0, hi = 23;
            break;
        default:
            break;
    }
    int candidate = pending_ * 10 + digit;
    if (pendingDigits_ == 0 || candidate > hi) {
        candidate = digit;
        pendingDigits_ = 1;
    } else {
        pendingDigits_ = 2;
    }
    pending_ = candidate;
    if (candidate >= lo) {
        switch (f) {
            case 'M':
                c.month = candidate;
                break;
            case 'd':
                c.day = candidate;
                break;
            case 'h':
                c.hour = candidate % 12 + (c.hour >= 12 ? 12 : 0);
                break;
            case 'H':
                c.hour = candidate;
                break;
            case 'm':
                c.minute = candidate;
                break;
            case 's':
                c.second = candidate;
                break;
        }
        moveTo(c);
    }
    // A field is full once another digit could not make a valid number.
    if (pendingDigits_ == 2 || candidate * 10 > hi) nextField();
}

void HeadlessDTPicker::keyDown(int16_t& keyCode, int16_t& shift) {
    fire(onKeyDown, keyCode, shift);
    if (keyCode == 0 || !Enabled()) return;
    const bool alt = (shift & shiftmask::Alt) != 0;
    if (keyCode == key::F4 || (alt && keyCode == key::Down)) {
        dropped_ ? closeUp() : dropDown();
        return;
    }
    switch (detail::editCommandOfKeyDown(keyCode, shift)) {
        case detail::EditField::Command::Copy:
            return copy();
        case detail::EditField::Command::Paste:
            return paste();
        default:
            break;
    }
    if (dropped_ && (keyCode == key::Escape || keyCode == key::Return)) {
        closeUp();
        return;
    }
    const int n = static_cast<int>(fieldTokens().size());
    switch (keyCode) {
        case key::Left:
            pending_ = pendingDigits_ = 0;
            field_ = std::max(field_ - 1, 0);
            break;
        case key::Right:
            pending_ = pendingDigits_ = 0;
            field_ = std::clamp(field_ + 1, 0, std::max(n - 1, 0));
            break;
        case key::Up:
            if (Checked()) stepField(1);
            break;
        case key::Down:
            if (Checked()) stepField(-1);
            break;
        default:
            break;
    }
}

void HeadlessDTPicker::keyPress(int16_t& keyAscii) {
    fire(onKeyPress, keyAscii);
    if (keyAscii == 0 || !Enabled()) return;
    if (keyAscii == key::Space) {
        clickCheckBox();
        return;
    }
    if (keyAscii == editkey::Copy) return copy();
    if (keyAscii == editkey::Paste) return paste();
    if (!Checked()) return;  // a cleared picker takes no typing until it is ticked again
    const Locale& loc = currentLocale();
    if (keyAscii >= '0' && keyAscii <= '9') {
        typeDigit(keyAscii - '0');
    } else if (keyAscii == loc.dateSeparator || keyAscii == loc.timeSeparator) {
        nextField();
    } else if (keyAscii == 'a' || keyAscii == 'A' || keyAscii == 'p' || keyAscii == 'P') {
        const auto fs = fieldTokens();
        if (fs.empty() || tokens()[fs[std::min(size_t(field_), fs.size() - 1)]].field != 't') return;
        CivilDateTime c = value_;
        const bool pm = keyAscii == 'p' || keyAscii == 'P';
        c.hour = c.hour % 12 + (pm ? 12 : 0);
        moveTo(c);
    }
}

void HeadlessDTPicker::mouseDown(int16_t button, int16_t, float x, float y) {
    if (button != 1 || !Enabled()) return;
    if (checkBox_ && x >= 0 && x < detail::ButtonWidth) {
        clickCheckBox();
    } else if (Width() > 0 && x >= Width() - detail::ButtonWidth) {
        if (!upDown_)
            dropped_ ? closeUp() : dropDown();
        else if (Checked())
            stepField(y < Height() / 2 ? 1 : -1);
    }
}

void HeadlessDTPicker::lostFocus() {
    pending_ = pendingDigits_ = 0;
    closeUp();
    DTPicker::lostFocus();
}

}  // namespace ax
