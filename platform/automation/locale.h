// The host's locale as far as text conversions need it: date order, separators, names.
#pragma once
#include <array>
#include <string>

namespace ax {

struct Locale {
    enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

    std::string name = "en-US";
    DateOrder dateOrder = DateOrder::MonthDayYear;
    char dateSeparator = '/';
    char timeSeparator = ':';
    char decimalPoint = '.';
    char thousandsSeparator = ',';
    bool hour12 = true;             // general date form shows a 12-hour clock with AM/PM
    bool padDayMonth = false;       // general date form pads day and month to two digits
    std::string am = "AM";
    std::string pm = "PM";
    std::array<std::string, 12> monthNames{};
    std::array<std::string, 12> monthAbbreviations{};
    std::array<std::string, 7> dayNames{};  // Sunday first
    std::array<std::string, 7> dayAbbreviations{};

    static Locale enUS();
    static Locale enGB();
    static Locale byName(const std::string& name);  // "en-US", "en-GB"; unknown names give en-US
};

// The locale used by conversions that have no explicit one (Variant to text, CDate). The host
// sets it from its ambient locale; en-US until then.
const Locale& currentLocale();
void setCurrentLocale(const Locale& locale);

}  // namespace ax
