#include "platform/automation/locale.h"

namespace ax {

namespace {

const std::array<std::string, 12> kEnglishMonths = {"January",   "February", "March",    "April",
                                                    "May",       "June",     "July",     "August",
                                                    "September", "October",  "November", "December"};
const std::array<std::string, 12> kEnglishMonthAbbreviations = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const std::array<std::string, 7> kEnglishDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};
const std::array<std::string, 7> kEnglishDayAbbreviations = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

Locale& current() {
    static Locale locale = Locale::enUS();
    return locale;
}

}  // namespace

Locale Locale::enUS() {
    Locale l;
    l.name = "en-US";
    l.dateOrder = DateOrder::MonthDayYear;
    l.dateSeparator = '/';
    l.timeSeparator = ':';
    l.decimalPoint = '.';
    l.thousandsSeparator = ',';
    l.hour12 = true;
    l.padDayMonth = false;
    l.am = "AM";
    l.pm = "PM";
    l.monthNames = kEnglishMonths;
    l.monthAbbreviations = kEnglishMonthAbbreviations;
    l.dayNames = kEnglishDays;
    l.dayAbbreviations = kEnglishDayAbbreviations;
    return l;
}

Locale Locale::enGB() {
    Locale l = enUS();
    l.name = "en-GB";
    l.dateOrder = DateOrder::DayMonthYear;
    l.hour12 = false;
    l.padDayMonth = true;
    return l;
}

Locale Locale::byName(const std::string& name) {
    std::string lower;
    for (char c : name) lower += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : (c == '_' ? '-' : c);
    if (lower == "en-gb") return enGB();
    return enUS();
}

const Locale& currentLocale() { return current(); }

void setCurrentLocale(const Locale& locale) { current() = locale; }

}  // namespace ax
