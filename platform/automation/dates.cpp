// Automation dates: civil calendar arithmetic and reading dates from text the way a person
// writes them. Writing dates is in date_format.cpp.
#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>
#include <vector>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/text.h"

namespace ax {

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr int64_t kMinDay = -657434;  // 1 January 100
constexpr int64_t kMaxDay = 2958465;  // 31 December 9999

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

bool validDate(int y, int m, int d) {
    return y >= 100 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, m);
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

const int64_t kEpoch = daysFromCivil(1899, 12, 30);

// An automation date from a day number and seconds into that day. Before the epoch the time
// is still added in magnitude: day -1 at 06:00 is -1.25.
Date makeDate(int64_t day, int seconds) {
    double t = seconds / kSecondsPerDay;
    return Date{day < 0 ? double(day) - t : double(day) + t};
}

using detail::equalsNoCase;
using detail::isDigit;
using detail::isLetter;

// --- reading ------------------------------------------------------------------------------------

struct Token {
    enum Kind { Number, Word, Sep } kind;
    std::string_view text;
    char sep = 0;  // for Sep: '/', '-', '.', ',', ':' or ' ' for blanks
};

// Splits text into runs of digits, runs of letters and single separators; blanks collapse
// into one ' '. Any other character makes the text unreadable.
std::optional<std::vector<Token>> tokenize(std::string_view s, const Locale& locale) {
    std::vector<Token> out;
    size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (isDigit(c)) {
            size_t j = i;
            while (j < s.size() && isDigit(s[j])) ++j;
            out.push_back({Token::Number, s.substr(i, j - i)});
            i = j;
        } else if (isLetter(c)) {
            size_t j = i;
            while (j < s.size() && isLetter(s[j])) ++j;
            out.push_back({Token::Word, s.substr(i, j - i)});
            i = j;
        } else if (c == ' ' || c == '\t') {
            while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
            if (!out.empty()) out.push_back({Token::Sep, {}, ' '});
        } else if (c == '/' || c == '-' || c == '.' || c == ',' || c == ':' || c == locale.dateSeparator ||
                   c == locale.timeSeparator) {
            out.push_back({Token::Sep, s.substr(i, 1), c == locale.timeSeparator ? ':' : c});
            ++i;
        } else {
            return std::nullopt;
        }
    }
    while (!out.empty() && out.back().kind == Token::Sep && out.back().sep == ' ') out.pop_back();
    return out;
}

std::optional<int> smallNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 4) return std::nullopt;
    int v = 0;
    for (char c : digits) v = v * 10 + (c - '0');
    return v;
}

// 1..12 for a month name or abbreviation ("Sept" too), 0 otherwise.
int monthOfWord(std::string_view w, const Locale& locale) {
    for (int m = 0; m < 12; ++m) {
        if (equalsNoCase(w, locale.monthNames[m]) || equalsNoCase(w, locale.monthAbbreviations[m]))
            return m + 1;
    }
    if (equalsNoCase(w, "sept")) return 9;
    return 0;
}

bool isWeekdayWord(std::string_view w, const Locale& locale) {
    for (int i = 0; i < 7; ++i)
        if (equalsNoCase(w, locale.dayNames[i]) || equalsNoCase(w, locale.dayAbbreviations[i])) return true;
    return false;
}

// 1 for AM, 2 for PM, 0 otherwise.
int meridiemOfWord(std::string_view w, const Locale& locale) {
    if (equalsNoCase(w, locale.am) || equalsNoCase(w, "am") || equalsNoCase(w, "a")) return 1;
    if (equalsNoCase(w, locale.pm) || equalsNoCase(w, "pm") || equalsNoCase(w, "p")) return 2;
    return 0;
}

// "st", "nd", "rd" or "th" as English writes them after the number.
bool isOrdinalSuffix(std::string_view number, std::string_view word) {
    int n = number.back() - '0';
    bool teen = number.size() == 2 && number[0] == '1';
    const char* expected = teen ? "th" : n == 1 ? "st" : n == 2 ? "nd" : n == 3 ? "rd" : "th";
    return equalsNoCase(word, expected);
}

int expandYear(int value, size_t digits) {
    if (digits <= 2) return value < 30 ? 2000 + value : 1900 + value;
    return value;
}

struct DatePart {
    bool isMonthWord = false;
    int value = 0;
    size_t digits = 0;
};

int currentYear() {
    int y, m, d;
    civilFromDays(int64_t(std::floor(today().value)) + kEpoch, y, m, d);
    return y;
}

// Builds y-m-d from the date parts left once the time is taken out.
std::optional<int64_t> readDateParts(const std::vector<DatePart>& parts, const Locale& locale) {
    auto dayNumber = [](int y, int m, int d) -> std::optional<int64_t> {
        if (!validDate(y, m, d)) return std::nullopt;
        return daysFromCivil(y, m, d) - kEpoch;
    };
    int monthWords = 0;
    std::vector<DatePart> numbers;
    int month = 0;
    for (const auto& p : parts) {
        if (p.isMonthWord) {
            ++monthWords;
            month = p.value;
        } else {
            numbers.push_back(p);
        }
    }
    if (monthWords > 1 || numbers.empty() || parts.size() > 3) return std::nullopt;

    if (monthWords == 1) {
        if (numbers.size() == 1) {
            const auto& n = numbers[0];
            // "Dec 7" is a day of this year; "Dec 2026" the first of that month.
            if (n.digits <= 2 && n.value >= 1 && n.value <= 31)
                return dayNumber(currentYear(), month, n.value);
            return dayNumber(expandYear(n.value, n.digits), month, 1);
        }
        // Two numbers: a long one is the year; otherwise the day comes before the year.
        const auto& a = numbers[0];
        const auto& b = numbers[1];
        if (a.digits > 2 && b.digits <= 2) return dayNumber(expandYear(a.value, a.digits), month, b.value);
        if (b.digits > 2 && a.digits > 2) return std::nullopt;
        return dayNumber(expandYear(b.value, b.digits), month, a.value);
    }

    if (numbers.size() == 3) {
        const auto& a = numbers[0];
        const auto& b = numbers[1];
        const auto& c = numbers[2];
        if (a.digits > 2) {
            if (b.digits > 2 || c.digits > 2) return std::nullopt;
            return dayNumber(expandYear(a.value, a.digits), b.value, c.value);
        }
        if (b.digits > 2) return std::nullopt;
        int year = expandYear(c.value, c.digits);
        if (locale.dateOrder == Locale::DateOrder::YearMonthDay) {
            // Short year first: "26/12/7".
            return dayNumber(expandYear(a.value, a.digits), b.value, c.value);
        }
        bool monthFirst = locale.dateOrder == Locale::DateOrder::MonthDayYear;
        // The locale's order first; when that makes no date, the other order is tried.
        if (auto d = monthFirst ? dayNumber(year, a.value, b.value) : dayNumber(year, b.value, a.value))
            return d;
        return monthFirst ? dayNumber(year, b.value, a.value) : dayNumber(year, a.value, b.value);
    }

    if (numbers.size() == 2) {
        const auto& a = numbers[0];
        const auto& b = numbers[1];
        if (a.digits > 2 && b.digits <= 2) return dayNumber(expandYear(a.value, a.digits), b.value, 1);
        if (a.digits > 2) return std::nullopt;
        if (b.digits > 2) return dayNumber(expandYear(b.value, b.digits), a.value, 1);  // "12/2026"
        int year = currentYear();
        bool monthFirst = locale.dateOrder != Locale::DateOrder::DayMonthYear;
        if (auto d = monthFirst ? dayNumber(year, a.value, b.value) : dayNumber(year, b.value, a.value))
            return d;
        if (auto d = monthFirst ? dayNumber(year, b.value, a.value) : dayNumber(year, a.value, b.value))
            return d;
        // "12/26": December of 2026
        return dayNumber(expandYear(b.value, b.digits), a.value, 1);
    }
    return std::nullopt;  // a lone number is not a date
}

}  // namespace

// --- calendar ---------------------------------------------------------------------------------

Date toAutomationDate(const CivilDateTime& c) {
    if (!validDate(c.year, c.month, c.day) || c.hour < 0 || c.hour > 23 || c.minute < 0 || c.minute > 59 ||
        c.second < 0 || c.second > 59)
        raise(err::InvalidProcedureCall);
    return makeDate(daysFromCivil(c.year, c.month, c.day) - kEpoch, c.hour * 3600 + c.minute * 60 + c.second);
}

CivilDateTime toCivil(Date d) {
    double v = d.value;
    if (!std::isfinite(v) || v <= double(kMinDay) - 1.0 || v >= double(kMaxDay) + 1.0)
        raise(err::InvalidProcedureCall);
    double whole = std::trunc(v);
    double frac = std::fabs(v - whole);
    int64_t day = int64_t(whole);
    auto seconds = int64_t(std::llround(frac * kSecondsPerDay));
    if (day < kMinDay || day > kMaxDay) raise(err::InvalidProcedureCall);
    if (seconds >= int64_t(kSecondsPerDay)) {
        // Rounds up to the next midnight, away from the epoch as the magnitude grows; on the
        // first and last day of the range the last second of the day is kept instead.
        int64_t next = day + (v < 0 ? -1 : 1);
        if (next < kMinDay || next > kMaxDay) {
            seconds = int64_t(kSecondsPerDay) - 1;
        } else {
            seconds = 0;
            day = next;
        }
    }
    CivilDateTime c;
    civilFromDays(day + kEpoch, c.year, c.month, c.day);
    c.hour = int(seconds / 3600);
    c.minute = int(seconds / 60 % 60);
    c.second = int(seconds % 60);
    return c;
}

Date today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return makeDate(daysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) - kEpoch, 0);
}

std::optional<Date> parseDate(std::string_view text, const Locale& locale) {
    // Trim, and refuse anything far longer than a date could be written.
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty() || text.size() > 80) return std::nullopt;
    auto tokens = tokenize(text, locale);
    if (!tokens || tokens->empty()) return std::nullopt;
    auto& t = *tokens;

    // Take out the time: h:mm[:ss] with an optional AM/PM word, or a number followed by AM/PM.
    bool haveTime = false;
    int seconds = 0;
    std::vector<bool> used(t.size(), false);
    for (size_t i = 0; i < t.size() && !haveTime; ++i) {
        if (t[i].kind != Token::Number) continue;
        size_t j = i;
        int fields[3] = {0, 0, 0};
        int count = 0;
        bool ok = true;
        while (true) {
            auto v = smallNumber(t[j].text);
            if (!v || t[j].text.size() > 2) {
                ok = false;
                break;
            }
            fields[count++] = *v;
            if (count < 3 && j + 2 < t.size() && t[j + 1].kind == Token::Sep && t[j + 1].sep == ':' &&
                t[j + 2].kind == Token::Number) {
                j += 2;
                continue;
            }
            break;
        }
        if (!ok) continue;
        // Optional AM/PM, possibly after a blank.
        size_t k = j + 1;
        if (k < t.size() && t[k].kind == Token::Sep && t[k].sep == ' ') ++k;
        int meridiem = (k < t.size() && t[k].kind == Token::Word) ? meridiemOfWord(t[k].text, locale) : 0;
        if (count == 1 && meridiem == 0) continue;  // a plain number belongs to the date
        int h = fields[0], mi = fields[1], s = fields[2];
        if (mi > 59 || s > 59) return std::nullopt;
        if (meridiem != 0) {
            if (h > 23 || (meridiem == 1 && h > 12)) return std::nullopt;
            if (h <= 12) h = (h % 12) + (meridiem == 2 ? 12 : 0);
        } else if (h > 23) {
            return std::nullopt;
        }
        seconds = h * 3600 + mi * 60 + s;
        haveTime = true;
        size_t last = meridiem != 0 ? k : j;
        for (size_t x = i; x <= last; ++x) used[x] = true;
    }

    // What is left must be a date: numbers and at most one month name, with separators between,
    // weekday names ignored.
    std::vector<DatePart> parts;
    bool pendingSep = true;  // a part may start the text
    bool started = false;    // something has been read, so punctuation may follow
    char mark = 0;           // punctuation since the last part: at most one ("Dec.," aside)
    for (size_t i = 0; i < t.size(); ++i) {
        if (used[i]) {
            pendingSep = true;
            started = true;
            mark = 0;
            continue;
        }
        const Token& tok = t[i];
        if (tok.kind == Token::Sep) {
            if (tok.sep == ':') return std::nullopt;
            if (tok.sep != ' ') {
                if (!started || (mark != 0 && !(mark == '.' && tok.sep == ','))) return std::nullopt;
                mark = tok.sep;
            }
            pendingSep = true;
            continue;
        }
        started = true;
        mark = 0;
        if (tok.kind == Token::Word) {
            if (isWeekdayWord(tok.text, locale)) {
                pendingSep = true;
                continue;
            }
            int m = monthOfWord(tok.text, locale);
            if (m == 0 || !pendingSep) return std::nullopt;
            parts.push_back({true, m, tok.text.size()});
        } else {
            if (!pendingSep) return std::nullopt;
            auto v = smallNumber(tok.text);
            if (!v) return std::nullopt;
            parts.push_back({false, *v, tok.text.size()});
            // An ordinal day: "7th December", "December 1st".
            if (i + 1 < t.size() && t[i + 1].kind == Token::Word && !used[i + 1] && tok.text.size() <= 2 &&
                isOrdinalSuffix(tok.text, t[i + 1].text))
                ++i;
        }
        pendingSep = false;
        // A number or a name must be followed by a separator or the end (no "7Dec").
        if (i + 1 < t.size() && t[i + 1].kind != Token::Sep && !used[i + 1]) return std::nullopt;
    }
    if (mark != 0 && mark != '.') return std::nullopt;  // "7 Dec." ends well, "12/7/" does not

    if (parts.empty()) {
        if (!haveTime) return std::nullopt;
        return makeDate(0, seconds);
    }
    auto day = readDateParts(parts, locale);
    if (!day) return std::nullopt;
    return makeDate(*day, seconds);
}

bool readsAsDate(std::string_view text, const Locale& locale) { return parseDate(text, locale).has_value(); }

}  // namespace ax
