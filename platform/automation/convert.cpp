// Numbers in text, whole-number narrowing, Variant conversions and UTF-8 counting.
// Dates live in dates.cpp.
#include "platform/automation/convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/automation/errors.h"
#include "platform/automation/object.h"
#include "platform/automation/text.h"

namespace ax {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
using detail::equalsNoCase;
using detail::isDigit;

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Whether a plain "[sign]digits[.digits][e[sign]digits]" number that a double cannot hold is
// too small (it underflows to zero) rather than too large.
bool underflows(std::string_view s) {
    size_t i = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    int64_t order = 0;  // decimal order of the first significant digit, before the exponent
    bool seenDot = false, found = false;
    int64_t intDigits = 0, leadingFracZeros = 0;
    for (; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
        if (s[i] == '.') {
            seenDot = true;
        } else if (!found && s[i] == '0') {
            if (seenDot) ++leadingFracZeros;
        } else {
            found = true;
            if (!seenDot) ++intDigits;
        }
    }
    if (!found) return true;  // all zeros
    order = intDigits > 0 ? intDigits : -leadingFracZeros;
    int64_t exponent = 0;
    if (i < s.size()) {
        ++i;
        bool negative = i < s.size() && s[i] == '-';
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        for (; i < s.size(); ++i) exponent = std::min<int64_t>(exponent * 10 + (s[i] - '0'), 1000000000);
        if (negative) exponent = -exponent;
    }
    return order + exponent < 0;
}

// Reads a plain "[-]digits[.digits][e[+-]digits]" string (already stripped of grouping). A value
// too small for a double reads as zero; one too large does not read.
std::optional<double> readPlain(const std::string& s) {
    double value = 0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range && ptr == last && underflows(s)) return s[0] == '-' ? -0.0 : 0.0;
    if (ec != std::errc() || ptr != last) return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

// Text of a floating number with the given number of significant digits. std::to_chars ignores
// the process locale, which a windowing toolkit may have changed.
std::string significantText(double value, int digits, char decimalPoint) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0) return "0";  // also -0
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    std::string s = ec == std::errc() ? std::string(buf, end) : std::string("0");
    // The exponent is written as automation writes it, "1E-05", "1E+15".
    for (char& c : s) {
        if (c == 'e')
            c = 'E';
        else if (c == '.')
            c = decimalPoint;
    }
    return s;
}

double toNumber(const Variant& v) {
    switch (v.type()) {
        case VarType::Empty:
            return 0;
        case VarType::Null:
            raise(err::InvalidUseOfNull);
        case VarType::Integer:
            return *v.get<int16_t>();
        case VarType::Long:
            return *v.get<int32_t>();
        case VarType::Single:
            return *v.get<float>();
        case VarType::Double:
            return *v.get<double>();
        case VarType::Boolean:
            return *v.get<bool>() ? -1.0 : 0.0;
        case VarType::Date:
            return v.get<Date>()->value;
        case VarType::String: {
            auto n = parseNumber(*v.get<std::string>());
            if (!n) raise(err::TypeMismatch);
            return *n;
        }
        default:
            raise(err::TypeMismatch);
    }
}

// Length of the UTF-8 sequence starting at s[i], or 1 when the byte there does not start a
// well-formed sequence (so that a stray byte counts as one character of its own).
size_t sequenceLength(std::string_view s, size_t i) {
    auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) return 1;
    size_t n;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) lo = 0xA0;  // overlong
        if (b == 0xED) hi = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) lo = 0x90;  // overlong
        if (b == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
        return 1;
    }
    if (i + n > s.size()) return 1;
    auto b1 = static_cast<unsigned char>(s[i + 1]);
    if (b1 < lo || b1 > hi) return 1;
    for (size_t k = 2; k < n; ++k) {
        auto bk = static_cast<unsigned char>(s[i + k]);
        if (bk < 0x80 || bk > 0xBF) return 1;
    }
    return n;
}

}  // namespace

// --- whole numbers ---------------------------------------------------------------------------

double roundHalfEven(double x) {
    if (!std::isfinite(x)) return x;
    double r = std::floor(x);
    double diff = x - r;
    if (diff > 0.5) return r + 1;
    if (diff < 0.5) return r;
    return std::fmod(r, 2.0) == 0 ? r : r + 1;
}

int16_t toInteger16(double x) {
    double r = roundHalfEven(x);
    if (!(r >= -32768.0 && r <= 32767.0)) raise(err::Overflow);  // NaN fails too
    return static_cast<int16_t>(r);
}

int32_t toLong32(double x) {
    double r = roundHalfEven(x);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) raise(err::Overflow);
    return static_cast<int32_t>(r);
}

int16_t narrow16(int64_t x) {
    if (x < std::numeric_limits<int16_t>::min() || x > std::numeric_limits<int16_t>::max())
        raise(err::Overflow);
    return static_cast<int16_t>(x);
}

int32_t narrow32(int64_t x) {
    if (x < std::numeric_limits<int32_t>::min() || x > std::numeric_limits<int32_t>::max())
        raise(err::Overflow);
    return static_cast<int32_t>(x);
}

int32_t clampToLong(double x) {
    if (!(x == x)) return 0;
    if (x <= -2147483648.0) return INT32_MIN;
    if (x >= 2147483647.0) return INT32_MAX;
    return static_cast<int32_t>(x);
}

// --- numbers in text ---------------------------------------------------------------------------

std::optional<double> parseNumber(std::string_view text, const Locale& locale) {
    std::string_view s = trimBlanks(text);
    if (s.empty()) return std::nullopt;

    std::string plain;  // sign, digits, '.', exponent; grouping removed
    plain.reserve(s.size());
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-') plain += s[i++];

    // Integer part: digits, optionally grouped by the thousands separator in groups of three.
    size_t intDigits = 0, groupLen = 0;
    bool grouped = false;
    while (i < s.size()) {
        char c = s[i];
        if (isDigit(c)) {
            plain += c;
            ++intDigits;
            ++groupLen;
            ++i;
        } else if (c == locale.thousandsSeparator && c != locale.decimalPoint && intDigits > 0) {
            if ((grouped && groupLen != 3) || (!grouped && groupLen > 3)) return std::nullopt;
            // a separator is followed by exactly a group of three digits
            if (i + 3 >= s.size()) return std::nullopt;
            for (size_t k = 1; k <= 3; ++k)
                if (!isDigit(s[i + k])) return std::nullopt;
            grouped = true;
            groupLen = 0;
            ++i;
        } else {
            break;
        }
    }
    if (grouped && groupLen != 3) return std::nullopt;

    size_t fracDigits = 0;
    if (i < s.size() && s[i] == locale.decimalPoint) {
        plain += '.';
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            plain += s[i++];
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0) return std::nullopt;

    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
        size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            plain += s[i++];
            ++expDigits;
        }
        if (expDigits == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    if (plain.front() == '.' || (plain.size() > 1 && (plain[0] == '-' || plain[0] == '+') && plain[1] == '.'))
        plain.insert(plain.front() == '.' ? 0 : 1, "0");
    return readPlain(plain);
}

bool readsAsNumber(std::string_view text, const Locale& locale) {
    return parseNumber(text, locale).has_value();
}

double leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    std::string plain;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        plain += text[i++];
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        plain += '.';
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            plain += text[i++];
            ++digits;
        }
    }
    if (digits == 0) return 0;
    // An exponent counts only when digits follow it ("2e" is 2, "2e3" is 2000).
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            plain += 'e';
            plain.append(text.substr(i + 1, j - i - 1));
            while (j < text.size() && isDigit(text[j])) plain += text[j++];
        }
    }
    if (plain.back() == '.') plain.pop_back();
    size_t dot = plain.find('.');
    size_t signLen = (plain[0] == '+' || plain[0] == '-') ? 1 : 0;
    if (dot == signLen) plain.insert(signLen, "0");
    double value = 0;
    const char* first = plain.data() + (plain[0] == '+' ? 1 : 0);
    auto [ptr, ec] = std::from_chars(first, plain.data() + plain.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: infinity or zero, keeping the sign.
        bool negative = plain[0] == '-';
        if (underflows(plain)) return negative ? -0.0 : 0.0;
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    (void)ptr;
    return value;
}

std::string decimalText(int64_t value) { return std::to_string(value); }

std::string numberText(double value, const Locale& locale) {
    return significantText(value, 15, locale.decimalPoint);
}

// --- Variant conversions --------------------------------------------------------------------------

int16_t cInt(const Variant& v) {
    if (auto* i = v.get<int16_t>()) return *i;
    return toInteger16(toNumber(v));
}

int32_t cLng(const Variant& v) {
    if (auto* l = v.get<int32_t>()) return *l;
    return toLong32(toNumber(v));
}

float cSng(const Variant& v) {
    const double d = v.get<float>() ? double(*v.get<float>()) : toNumber(v);
    if (!std::isfinite(d) || std::fabs(d) > std::numeric_limits<float>::max()) raise(err::Overflow);
    return static_cast<float>(d);
}

double cDbl(const Variant& v) { return toNumber(v); }

bool cBool(const Variant& v) {
    if (auto* s = v.get<std::string>()) {
        std::string_view t = trimBlanks(*s);
        if (equalsNoCase(t, "true")) return true;
        if (equalsNoCase(t, "false")) return false;
        auto n = parseNumber(t);
        if (!n) raise(err::TypeMismatch);
        return *n != 0;
    }
    return toNumber(v) != 0;
}

Date cDate(const Variant& v) {
    if (auto* d = v.get<Date>()) return *d;
    if (auto* s = v.get<std::string>()) {
        auto d = parseDate(*s);
        if (!d) raise(err::TypeMismatch);
        return *d;
    }
    double x = toNumber(v);
    // 1 January 100 to the last second of 31 December 9999
    if (!(x >= -657434.0 && x < 2958466.0)) raise(err::Overflow);
    return Date{x};
}

std::string cStr(const Variant& v) {
    switch (v.type()) {
        case VarType::Empty:
            return {};
        case VarType::Null:
            raise(err::InvalidUseOfNull);
        case VarType::Integer:
            return decimalText(*v.get<int16_t>());
        case VarType::Long:
            return decimalText(*v.get<int32_t>());
        // Single keeps the 7 significant digits it can hold, so 0.1f reads back as "0.1".
        case VarType::Single:
            return significantText(*v.get<float>(), 7, currentLocale().decimalPoint);
        case VarType::Double:
            return numberText(*v.get<double>());
        case VarType::Boolean:
            return *v.get<bool>() ? "True" : "False";
        case VarType::Date:
            return generalDate(*v.get<Date>());
        case VarType::String:
            return *v.get<std::string>();
        default:
            raise(err::TypeMismatch);
    }
}

// --- UTF-8 -------------------------------------------------------------------------------------

size_t charCount(std::string_view text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); i += sequenceLength(text, i)) ++count;
    return count;
}

std::string leftChars(std::string_view text, size_t count) {
    size_t i = 0;
    for (size_t n = 0; n < count && i < text.size(); ++n) i += sequenceLength(text, i);
    return std::string(text.substr(0, i));
}

}  // namespace ax
