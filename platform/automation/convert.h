// Text, number and date conversions with the automation rules, following the current locale.
// Nothing here crashes or hangs on any input: bad text gives std::nullopt or error 13.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/locale.h"
#include "platform/automation/variant.h"

namespace ax {

// --- whole numbers -------------------------------------------------------------------------
double roundHalfEven(double x);                 // 12.5 -> 12, 13.5 -> 14, -2.5 -> -2
int16_t toInteger16(double x);                  // rounds half to even; outside -32768..32767 raises 6
int32_t toLong32(double x);                     // rounds half to even; outside the 32-bit range raises 6
int16_t narrow16(int64_t x);                    // raises 6 when x does not fit
int32_t narrow32(int64_t x);
// A floating length or position as a whole number for layout arithmetic, which must not fail: truncated
// toward zero and held within the 32-bit range; NaN counts as 0.
int32_t clampToLong(double x);

// --- numbers in text ----------------------------------------------------------------------
// "Reads as a number": optional blanks, sign, digits with an optional decimal point, an optional
// exponent, optional trailing blanks. "12", "-3", "12.0", " 1e3 " read; "", "-", "1x", "0x10" do not.
std::optional<double> parseNumber(std::string_view text, const Locale& locale = currentLocale());
bool readsAsNumber(std::string_view text, const Locale& locale = currentLocale());
// The value of the leading number of a text, ignoring what follows ("12abc" -> 12, "abc" -> 0),
// with "." as the decimal point whatever the locale.
double leadingNumber(std::string_view text);
// Plain decimal text of a whole number ("7", "-12").
std::string decimalText(int64_t value);
// Text of a floating number as automation writes it (shortest form, no exponent for ordinary
// magnitudes, the locale's decimal point): 12.5 -> "12.5", 3.0 -> "3".
std::string numberText(double value, const Locale& locale = currentLocale());

// --- dates --------------------------------------------------------------------------------
struct CivilDateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};
// Civil date and time to an automation date and back; years 100..9999. Out of range raises 5.
Date toAutomationDate(const CivilDateTime& c);
CivilDateTime toCivil(Date d);
Date today();  // the current local date, time 0

// "Reads as a date": numeric short dates with "/", "-" or "." in the locale's order, ISO
// year-month-day, month names and abbreviations ("7 Dec 2026", "December 7, 2026"), an optional
// time (h:mm, h:mm:ss, with AM/PM), or a time alone.
std::optional<Date> parseDate(std::string_view text, const Locale& locale = currentLocale());
bool readsAsDate(std::string_view text, const Locale& locale = currentLocale());

// The general date form: the date alone when there is no time, the time alone when the date part
// is zero, both otherwise ("12/7/2026", "3:04:05 PM", "12/7/2026 3:04:05 PM" in en-US).
std::string generalDate(Date d, const Locale& locale = currentLocale());
// Formats with a pattern of d, dd, m, mm, mmm, mmmm, yy, yyyy, h, hh, n, nn, s, ss, AMPM, AM/PM,
// am/pm, A/P; "m"/"mm" right after an hour token (or before a seconds token) mean minutes.
// Any other character is copied. An empty pattern gives the general date form.
std::string formatDate(Date d, std::string_view pattern, const Locale& locale = currentLocale());

// --- Variant conversions (CInt, CLng, CSng, CDbl, CBool, CDate, CStr) ----------------------------
// cSng refuses NaN and the infinities with 6, as it refuses finite numbers past a Single's range: a
// Single argument reaching a member is always a number it can measure with.
int16_t cInt(const Variant& v);
int32_t cLng(const Variant& v);
float cSng(const Variant& v);
double cDbl(const Variant& v);
bool cBool(const Variant& v);
Date cDate(const Variant& v);
std::string cStr(const Variant& v);

// --- UTF-8 --------------------------------------------------------------------------------
// Lengths and cuts count code points; invalid bytes count as one character each and are kept.
size_t charCount(std::string_view text);
std::string leftChars(std::string_view text, size_t count);  // first count characters, never split

}  // namespace ax
