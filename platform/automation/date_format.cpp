// Writing automation dates: the general date form of a locale and formatting with a pattern.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/automation/convert.h"
#include "platform/automation/text.h"

namespace ax {

namespace {

using detail::lowerAscii;
using detail::startsWithNoCase;

std::string pad2(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

std::string datePartText(const CivilDateTime& c, const Locale& locale) {
    std::string d = locale.padDayMonth ? pad2(c.day) : std::to_string(c.day);
    std::string m = locale.padDayMonth ? pad2(c.month) : std::to_string(c.month);
    std::string y = std::to_string(c.year);
    const char sep = locale.dateSeparator;
    switch (locale.dateOrder) {
        case Locale::DateOrder::MonthDayYear:
            return m + sep + d + sep + y;
        case Locale::DateOrder::DayMonthYear:
            return d + sep + m + sep + y;
        case Locale::DateOrder::YearMonthDay:
            return y + sep + m + sep + d;
    }
    return {};
}

std::string timePartText(const CivilDateTime& c, const Locale& locale) {
    const char sep = locale.timeSeparator;
    if (locale.hour12) {
        int h = c.hour % 12 == 0 ? 12 : c.hour % 12;
        return std::to_string(h) + sep + pad2(c.minute) + sep + pad2(c.second) + ' ' +
               (c.hour < 12 ? locale.am : locale.pm);
    }
    return pad2(c.hour) + sep + pad2(c.minute) + sep + pad2(c.second);
}

int weekday(Date d) {
    // 1899-12-30 was a Saturday (6 with Sunday as 0).
    auto day = int64_t(std::trunc(d.value));
    return int(((day + 6) % 7 + 7) % 7);
}

int dayOfYear(const CivilDateTime& c) {
    return int(toAutomationDate({c.year, c.month, c.day}).value - toAutomationDate({c.year, 1, 1}).value) + 1;
}

enum class Tok {
    Literal,
    Day,
    Day2,
    DayName3,
    DayName,
    Month,
    Month2,
    MonthName3,
    MonthName,
    Year2,
    Year4,
    DayOfYear,
    Hour,
    Hour2,
    Minute,
    Minute2,
    Second,
    Second2,
    AmPmLocale,
    AmPmUpper,
    AmPmLower,
    APUpper,
    APLower
};

struct FmtToken {
    Tok kind;
    std::string literal;
};

size_t runLength(std::string_view p, size_t i, char c) {
    size_t j = i;
    while (j < p.size() && lowerAscii(p[j]) == c) ++j;
    return j - i;
}

std::vector<FmtToken> tokenizePattern(std::string_view p, const Locale& locale) {
    std::vector<FmtToken> out;
    auto literal = [&](std::string s) {
        if (!out.empty() && out.back().kind == Tok::Literal)
            out.back().literal += s;
        else
            out.push_back({Tok::Literal, std::move(s)});
    };
    size_t i = 0;
    while (i < p.size()) {
        char c = p[i];
        char lc = lowerAscii(c);
        if (c == '"') {  // quoted literal text
            size_t j = p.find('"', i + 1);
            if (j == std::string_view::npos) j = p.size();
            literal(std::string(p.substr(i + 1, j - i - 1)));
            i = j + 1;
        } else if (c == '\\' && i + 1 < p.size()) {
            literal(std::string(1, p[i + 1]));
            i += 2;
        } else if (startsWithNoCase(p.substr(i), "ampm")) {
            out.push_back({Tok::AmPmLocale, {}});
            i += 4;
        } else if (p.substr(i, 5) == "AM/PM" || p.substr(i, 5) == "am/pm") {
            out.push_back({c == 'A' ? Tok::AmPmUpper : Tok::AmPmLower, {}});
            i += 5;
        } else if (p.substr(i, 3) == "A/P" || p.substr(i, 3) == "a/p") {
            out.push_back({c == 'A' ? Tok::APUpper : Tok::APLower, {}});
            i += 3;
        } else if (lc == 'd') {
            size_t n = runLength(p, i, 'd');
            Tok k = n == 1 ? Tok::Day : n == 2 ? Tok::Day2 : n == 3 ? Tok::DayName3 : Tok::DayName;
            out.push_back({k, {}});
            i += std::min<size_t>(n, 4);
        } else if (lc == 'm') {
            size_t n = runLength(p, i, 'm');
            Tok k = n == 1 ? Tok::Month : n == 2 ? Tok::Month2 : n == 3 ? Tok::MonthName3 : Tok::MonthName;
            out.push_back({k, {}});
            i += std::min<size_t>(n, 4);
        } else if (lc == 'y') {
            size_t n = runLength(p, i, 'y');
            if (n >= 4) {
                out.push_back({Tok::Year4, {}});
                i += 4;
            } else if (n >= 2) {
                out.push_back({Tok::Year2, {}});
                i += 2;
            } else {
                out.push_back({Tok::DayOfYear, {}});
                i += 1;
            }
        } else if (lc == 'h' || lc == 'n' || lc == 's') {
            size_t n = std::min<size_t>(runLength(p, i, lc), 2);
            Tok k = lc == 'h'   ? (n == 1 ? Tok::Hour : Tok::Hour2)
                    : lc == 'n' ? (n == 1 ? Tok::Minute : Tok::Minute2)
                                : (n == 1 ? Tok::Second : Tok::Second2);
            out.push_back({k, {}});
            i += n;
        } else if (c == '/') {
            literal(std::string(1, locale.dateSeparator));
            ++i;
        } else if (c == ':') {
            literal(std::string(1, locale.timeSeparator));
            ++i;
        } else {
            literal(std::string(1, c));
            ++i;
        }
    }
    // "m"/"mm" mean minutes right after an hour or right before seconds (literals in between).
    for (size_t k = 0; k < out.size(); ++k) {
        if (out[k].kind != Tok::Month && out[k].kind != Tok::Month2) continue;
        bool minutes = false;
        for (size_t b = k; b-- > 0;) {
            if (out[b].kind == Tok::Literal) continue;
            minutes = out[b].kind == Tok::Hour || out[b].kind == Tok::Hour2;
            break;
        }
        for (size_t a = k + 1; !minutes && a < out.size(); ++a) {
            if (out[a].kind == Tok::Literal) continue;
            minutes = out[a].kind == Tok::Second || out[a].kind == Tok::Second2;
            break;
        }
        if (minutes) out[k].kind = out[k].kind == Tok::Month ? Tok::Minute : Tok::Minute2;
    }
    return out;
}

}  // namespace

std::string generalDate(Date d, const Locale& locale) {
    CivilDateTime c = toCivil(d);
    bool hasTime = c.hour != 0 || c.minute != 0 || c.second != 0;
    bool hasDate = !(c.year == 1899 && c.month == 12 && c.day == 30);
    // Day zero shows as a time, midnight included: it stands for a time of no particular day.
    if (!hasDate) return timePartText(c, locale);
    if (!hasTime) return datePartText(c, locale);
    return datePartText(c, locale) + ' ' + timePartText(c, locale);
}

std::string formatDate(Date d, std::string_view pattern, const Locale& locale) {
    if (pattern.empty()) return generalDate(d, locale);
    CivilDateTime c = toCivil(d);
    auto tokens = tokenizePattern(pattern, locale);
    bool twelveHour = false;
    for (const auto& t : tokens)
        if (t.kind >= Tok::AmPmLocale) twelveHour = true;
    int hour = twelveHour ? (c.hour % 12 == 0 ? 12 : c.hour % 12) : c.hour;
    bool pm = c.hour >= 12;

    std::string out;
    for (const auto& t : tokens) {
        switch (t.kind) {
            case Tok::Literal:
                out += t.literal;
                break;
            case Tok::Day:
                out += std::to_string(c.day);
                break;
            case Tok::Day2:
                out += pad2(c.day);
                break;
            case Tok::DayName3:
                out += locale.dayAbbreviations[weekday(d)];
                break;
            case Tok::DayName:
                out += locale.dayNames[weekday(d)];
                break;
            case Tok::Month:
                out += std::to_string(c.month);
                break;
            case Tok::Month2:
                out += pad2(c.month);
                break;
            case Tok::MonthName3:
                out += locale.monthAbbreviations[c.month - 1];
                break;
            case Tok::MonthName:
                out += locale.monthNames[c.month - 1];
                break;
            case Tok::Year2:
                out += pad2(c.year % 100);
                break;
            case Tok::Year4:
                out += std::to_string(c.year);
                break;
            case Tok::DayOfYear:
                out += std::to_string(dayOfYear(c));
                break;
            case Tok::Hour:
                out += std::to_string(hour);
                break;
            case Tok::Hour2:
                out += pad2(hour);
                break;
            case Tok::Minute:
                out += std::to_string(c.minute);
                break;
            case Tok::Minute2:
                out += pad2(c.minute);
                break;
            case Tok::Second:
                out += std::to_string(c.second);
                break;
            case Tok::Second2:
                out += pad2(c.second);
                break;
            case Tok::AmPmLocale:
                out += pm ? locale.pm : locale.am;
                break;
            case Tok::AmPmUpper:
                out += pm ? "PM" : "AM";
                break;
            case Tok::AmPmLower:
                out += pm ? "pm" : "am";
                break;
            case Tok::APUpper:
                out += pm ? "P" : "A";
                break;
            case Tok::APLower:
                out += pm ? "p" : "a";
                break;
        }
    }
    return out;
}

}  // namespace ax
