#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/object.h"
#include "tests/support/error_of.h"

using namespace ax;

namespace {

using testsupport::errorOf;

}  // namespace

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(12.5), 12);
    EXPECT_EQ(roundHalfEven(13.5), 14);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(-2.51), -3);
    EXPECT_EQ(toInteger16(12.5), 12);
    EXPECT_EQ(toLong32(-7.5), -8);
}

TEST(Rounding, WholeNumbersOutsideTheirRangeOverflow) {
    EXPECT_EQ(toInteger16(32767.4), 32767);
    EXPECT_EQ(toInteger16(-32768.5), -32768);  // rounds to the even -32768, which fits
    EXPECT_EQ(errorOf([] { toInteger16(32767.5); }), err::Overflow);
    EXPECT_EQ(errorOf([] { toInteger16(-32769); }), err::Overflow);
    EXPECT_EQ(errorOf([] { toInteger16(NAN); }), err::Overflow);
    EXPECT_EQ(toLong32(2147483647.0), 2147483647);
    EXPECT_EQ(errorOf([] { toLong32(2147483647.5); }), err::Overflow);
    EXPECT_EQ(errorOf([] { toLong32(-1e300); }), err::Overflow);
    EXPECT_EQ(narrow16(-32768), -32768);
    EXPECT_EQ(errorOf([] { narrow16(32768); }), err::Overflow);
    EXPECT_EQ(narrow32(-2147483648LL), INT32_MIN);
    EXPECT_EQ(errorOf([] { narrow32(2147483648LL); }), err::Overflow);
}

TEST(NumbersInText, WhatReadsAsANumber) {
    const Locale us = Locale::enUS();
    struct {
        const char* text;
        double value;
    } good[] = {{"12", 12},        {"-3", -3},    {"12.0", 12}, {" 1e3 ", 1000}, {"+4", 4},
                {".5", 0.5},       {"-.5", -0.5}, {"12.", 12},  {"1,000", 1000}, {"1,234,567.5", 1234567.5},
                {"2.5E-2", 0.025}, {"007", 7},    {"\t-0\n", 0}};
    for (const auto& g : good) {
        auto v = parseNumber(g.text, us);
        ASSERT_TRUE(v.has_value()) << g.text;
        EXPECT_DOUBLE_EQ(*v, g.value) << g.text;
    }
    for (const char* bad : {"", " ", "-", "+", ".", "1x", "abc", "0x10", "1,2", "1,0000", ",100", "1e", "1e+",
                            "--1", "1 2", "1..2", "1e400", "12-"}) {
        EXPECT_FALSE(readsAsNumber(bad, us)) << bad;
    }
    // A locale with a decimal comma reads "2,5" and groups with dots.
    Locale comma = us;
    comma.decimalPoint = ',';
    comma.thousandsSeparator = '.';
    EXPECT_EQ(parseNumber("2,5", comma), 2.5);
    EXPECT_EQ(parseNumber("1.000,25", comma), 1000.25);
    EXPECT_FALSE(readsAsNumber("2.5", comma));
}

TEST(NumbersInText, LeadingNumberIgnoresWhatFollows) {
    EXPECT_EQ(leadingNumber("12abc"), 12);
    EXPECT_EQ(leadingNumber("  -3.5e1x"), -35);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber("-"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("2e"), 2);
    EXPECT_EQ(leadingNumber("1.5.7"), 1.5);
    EXPECT_EQ(leadingNumber(".25"), 0.25);
    EXPECT_EQ(leadingNumber("+8 apples"), 8);
    EXPECT_TRUE(std::isinf(leadingNumber("1e999")));
    EXPECT_EQ(leadingNumber("1e-999"), 0);
}

TEST(NumbersInText, WritingNumbers) {
    EXPECT_EQ(decimalText(-12), "-12");
    EXPECT_EQ(decimalText(0), "0");
    EXPECT_EQ(numberText(12.5), "12.5");
    EXPECT_EQ(numberText(3.0), "3");
    EXPECT_EQ(numberText(-0.25), "-0.25");
    EXPECT_EQ(numberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(numberText(123456789012345.0), "123456789012345");
    EXPECT_EQ(numberText(1e15), "1E+15");
    EXPECT_EQ(numberText(1e-5), "1E-05");
    EXPECT_EQ(numberText(-0.0), "0");
    Locale comma = Locale::enUS();
    comma.decimalPoint = ',';
    EXPECT_EQ(numberText(2.5, comma), "2,5");
}

TEST(VariantConversions, NumbersFromEveryKind) {
    EXPECT_EQ(cInt(Variant()), 0);
    EXPECT_EQ(cInt(Variant(true)), -1);
    EXPECT_EQ(cInt(Variant(false)), 0);
    EXPECT_EQ(cInt(Variant("12.5")), 12);
    EXPECT_EQ(cInt(Variant(" 13.5 ")), 14);
    EXPECT_EQ(cInt(Variant(int32_t(300))), 300);
    EXPECT_EQ(cLng(Variant(2.5f)), 2);
    EXPECT_EQ(cLng(Variant(Date{45000.75})), 45001);
    EXPECT_DOUBLE_EQ(cDbl(Variant("1,000.5")), 1000.5);
    EXPECT_FLOAT_EQ(cSng(Variant(int16_t(-7))), -7.0f);

    EXPECT_EQ(errorOf([] { cInt(Variant(Null{})); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([] { cDbl(Variant(Null{})); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([] { cInt(Variant("abc")); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([] { cInt(Variant(int32_t(40000))); }), err::Overflow);
    EXPECT_EQ(errorOf([] { cInt(Variant("40000")); }), err::Overflow);
    EXPECT_EQ(errorOf([] { cSng(Variant(1e300)); }), err::Overflow);
    // Numbers a Single argument cannot measure with are refused as those past its range are, from a
    // Single too.
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(errorOf([&] { cSng(Variant(nan)); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { cSng(Variant(-inf)); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { cSng(Variant(float(nan))); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { cSng(Variant(float(inf))); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { cSng(Variant("1e39")); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { cInt(Variant(nan)); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { cLng(Variant(float(inf))); }), err::Overflow);
    // Layout arithmetic takes any floating number without failing.
    EXPECT_EQ(clampToLong(nan), 0);
    EXPECT_EQ(clampToLong(inf), INT32_MAX);
    EXPECT_EQ(clampToLong(-1e300), INT32_MIN);
    EXPECT_EQ(clampToLong(-7.9), -7);
    EXPECT_EQ(clampToLong(2147483647.5), INT32_MAX);
    EXPECT_EQ(errorOf([] { cLng(Variant(std::make_shared<Object>())); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([] { cDbl(Variant(SafeArray(VarType::Long, {{0, 2}}))); }), err::TypeMismatch);
}

TEST(VariantConversions, BooleansDatesAndText) {
    EXPECT_FALSE(cBool(Variant()));
    EXPECT_TRUE(cBool(Variant("True")));
    EXPECT_TRUE(cBool(Variant("tRUE")));
    EXPECT_FALSE(cBool(Variant("FALSE")));
    EXPECT_TRUE(cBool(Variant("-1")));
    EXPECT_TRUE(cBool(Variant("0.5")));
    EXPECT_FALSE(cBool(Variant("0")));
    EXPECT_TRUE(cBool(Variant(int16_t(2))));
    EXPECT_EQ(errorOf([] { cBool(Variant("yes")); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([] { cBool(Variant(Null{})); }), err::InvalidUseOfNull);

    setCurrentLocale(Locale::enUS());
    EXPECT_EQ(cStr(Variant()), "");
    EXPECT_EQ(cStr(Variant(true)), "True");
    EXPECT_EQ(cStr(Variant(false)), "False");
    EXPECT_EQ(cStr(Variant(int16_t(-5))), "-5");
    EXPECT_EQ(cStr(Variant(0.1f)), "0.1");
    EXPECT_EQ(cStr(Variant(2.75)), "2.75");
    EXPECT_EQ(cStr(Variant(toAutomationDate({2026, 12, 7, 15, 4, 5}))), "12/7/2026 3:04:05 PM");
    EXPECT_EQ(errorOf([] { cStr(Variant(Null{})); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([] { cStr(Variant(std::make_shared<Object>())); }), err::TypeMismatch);

    EXPECT_EQ(cDate(Variant("12/7/2026")), toAutomationDate({2026, 12, 7}));
    EXPECT_EQ(cDate(Variant(2.5)).value, 2.5);
    EXPECT_EQ(errorOf([] { cDate(Variant("not a date")); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([] { cDate(Variant(1e9)); }), err::Overflow);
    EXPECT_EQ(errorOf([] { cDate(Variant(Null{})); }), err::InvalidUseOfNull);

    // Text follows the current locale.
    setCurrentLocale(Locale::enGB());
    EXPECT_EQ(cStr(Variant(toAutomationDate({2026, 12, 7, 15, 4, 5}))), "07/12/2026 15:04:05");
    EXPECT_EQ(cDate(Variant("7/12/2026")), toAutomationDate({2026, 12, 7}));
    setCurrentLocale(Locale::enUS());
}

TEST(Utf8, CountsAndCutsCodePoints) {
    EXPECT_EQ(charCount(""), 0u);
    EXPECT_EQ(charCount("abc"), 3u);
    EXPECT_EQ(charCount("h\xC3\xA9llo"), 5u);              // é
    EXPECT_EQ(charCount("\xE6\x97\xA5\xE6\x9C\xAC"), 2u);  // two CJK characters
    EXPECT_EQ(charCount("\xF0\x9F\x98\x80!"), 2u);         // an emoji and "!"
    EXPECT_EQ(charCount("\xFF\xFE"), 2u);                  // stray bytes count one each
    EXPECT_EQ(charCount("\xE6\x97"), 2u);                  // a cut-off sequence
    EXPECT_EQ(charCount("\xC0\xAF"), 2u);                  // overlong form
    EXPECT_EQ(charCount("\xED\xA0\x80"), 3u);              // an encoded surrogate

    EXPECT_EQ(leftChars("h\xC3\xA9llo", 2), "h\xC3\xA9");
    EXPECT_EQ(leftChars("\xE6\x97\xA5\xE6\x9C\xAC", 1), "\xE6\x97\xA5");
    EXPECT_EQ(leftChars("\xF0\x9F\x98\x80", 1), "\xF0\x9F\x98\x80");
    EXPECT_EQ(leftChars("abc", 0), "");
    EXPECT_EQ(leftChars("abc", 10), "abc");
    EXPECT_EQ(leftChars("a\xFF"
                        "b",
                        2),
              "a\xFF");
}

TEST(Errors, NumbersCarryTheirStandardTexts) {
    EXPECT_EQ(errorText(err::InvalidUseOfNull), "Invalid use of Null");
    EXPECT_EQ(errorText(31999), "Application-defined or object-defined error");
    EXPECT_EQ(AutomationError(err::FileNotFound).description(), "File not found");
    EXPECT_EQ(AutomationError(1000, "Custom failure").description(), "Custom failure");
}
