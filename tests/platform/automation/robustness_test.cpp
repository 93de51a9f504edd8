// Random and oversized inputs: every parser must return (or raise an automation error), never
// crash or hang, and whatever it accepts must be consistent.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/picture.h"

using namespace ax;

namespace {

std::string randomText(std::mt19937& rng, std::string_view alphabet) {
    std::uniform_int_distribution<size_t> len(0, 40);
    std::uniform_int_distribution<size_t> pick(0, alphabet.empty() ? 255 : alphabet.size() - 1);
    std::string s(len(rng), '\0');
    for (char& c : s) c = alphabet.empty() ? char(pick(rng)) : alphabet[pick(rng)];
    return s;
}

// Parts of dates and times joined by separators, now and then with a stray piece, so that a fair
// share reads as a date and the rest fails in many different places.
std::string randomDateLike(std::mt19937& rng) {
    static const char* const parts[] = {"1",    "07", "12", "13",  "29",  "31",
                                        "2026", "99", "0",  "Dec", "may", "Sept"};
    static const char* const seps[] = {"/", "-", ".", " ", ", "};
    static const char* const times[] = {"",          "",       " 3:04",  " 15:04:05",
                                        " 12:00 AM", " 11 PM", " 25:00", " 1:2:3"};
    static const char* const noise[] = {"x", "//", ":", "-", "Monday ", "1"};
    std::uniform_int_distribution<size_t> count(2, 3), part(0, std::size(parts) - 1),
        sep(0, std::size(seps) - 1), time(0, std::size(times) - 1), stray(0, std::size(noise) - 1),
        percent(0, 99);
    std::string s;
    for (size_t n = count(rng); n > 0; --n) {
        s += parts[part(rng)];
        if (n > 1) s += seps[sep(rng)];
    }
    s += times[time(rng)];
    if (percent(rng) < 15) s.insert(percent(rng) % (s.size() + 1), noise[stray(rng)]);
    return s;
}

}  // namespace

TEST(Robustness, RandomTextThroughEveryParser) {
    std::mt19937 rng(20261207);
    const Locale locales[] = {Locale::enUS(), Locale::enGB()};
    // Raw bytes, and texts made of the characters dates and numbers are written with, which
    // reach much deeper into the parsers.
    const std::string_view alphabets[] = {"", "0123456789/-.:, ", "0123456789 DecJanMayAPM:/,",
                                          "0123456789.,eE+- \t"};
    int datesRead = 0, numbersRead = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string s = round % 5 == 4 ? randomDateLike(rng) : randomText(rng, alphabets[round % 5]);
        for (const Locale& locale : locales) {
            if (auto d = parseDate(s, locale)) {
                ++datesRead;
                // A date read from text is in range and survives being written and read again.
                std::string text = generalDate(*d, locale);
                auto again = parseDate(text, locale);
                ASSERT_TRUE(again.has_value()) << s << " -> " << text;
                EXPECT_NEAR(again->value, d->value, 1e-9) << s << " -> " << text;
            }
            if (auto n = parseNumber(s, locale)) {
                ++numbersRead;
                EXPECT_TRUE(std::isfinite(*n)) << s;
                EXPECT_EQ(parseNumber(numberText(*n, locale), locale).has_value(), true) << s;
            }
        }
        (void)leadingNumber(s);
        EXPECT_EQ(leftChars(s, charCount(s)), s);
        EXPECT_LE(charCount(s), s.size());
        for (auto convert :
             {+[](const Variant& v) { (void)cBool(v); }, +[](const Variant& v) { (void)cInt(v); },
              +[](const Variant& v) { (void)cDate(v); }}) {
            try {
                convert(Variant(s));
            } catch (const AutomationError& e) {
                EXPECT_TRUE(e.number() == err::TypeMismatch || e.number() == err::Overflow) << e.number();
            }
        }
        try {
            (void)pictureFromBytes(reinterpret_cast<const uint8_t*>(s.data()), s.size());
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.number(), err::InvalidPicture);
        }
    }
    // The alphabets are chosen so that a fair share of texts are accepted, or the checks above
    // would prove little.
    EXPECT_GT(datesRead, 400);
    EXPECT_GT(numbersRead, 100);
}

TEST(Robustness, HugeAndMalformedInputs) {
    const std::string digits(1 << 20, '7');
    EXPECT_FALSE(parseNumber(digits).has_value());  // far beyond a double
    EXPECT_TRUE(std::isinf(leadingNumber(digits)));
    EXPECT_FALSE(parseDate(digits).has_value());
    EXPECT_EQ(charCount(digits), digits.size());
    const std::string tiny = "0." + std::string(100000, '0') + "1";
    EXPECT_EQ(parseNumber(tiny), 0.0);  // too small for a double: zero
    EXPECT_EQ(leadingNumber(tiny), 0.0);
    EXPECT_EQ(parseNumber("-1e-999"), 0.0);
    EXPECT_EQ(parseNumber("1e-999x"), std::nullopt);
    std::string bytes(1 << 16, '\xC3');  // lead bytes with no continuation
    EXPECT_EQ(charCount(bytes), bytes.size());
    EXPECT_EQ(leftChars(bytes, 3).size(), 3u);
    // Picture headers that claim an enormous image are refused rather than allocated.
    uint8_t bigPng[] = {0x89, 'P',  'N',  'G',  0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0x7F,
                        0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 8,    6, 0, 0, 0,  0,   0,   0,   0};
    EXPECT_THROW(pictureFromBytes(bigPng, sizeof bigPng), AutomationError);
}

TEST(Robustness, RandomPatternsAndDateValues) {
    std::mt19937 rng(7122026);
    std::uniform_real_distribution<double> anyDay(-657434.0, 2958465.99);
    const Date fixed = toAutomationDate({2026, 12, 7, 15, 4, 5});
    for (int round = 0; round < 2000; ++round) {
        // Any pattern formats without failing; text without tokens is copied as it is.
        (void)formatDate(fixed, randomText(rng, round % 2 ? "dmyhnsAMP/:\"\\ -,ampw" : ""), Locale::enGB());
        std::string plain = "#" + randomText(rng, " -,.;!#0123456789bcfgijkloqrtuvxz");
        EXPECT_EQ(formatDate(fixed, plain, Locale::enGB()), plain);

        // Every date in range can be written and read back to the second.
        Date d{anyDay(rng)};
        for (const Locale& locale : {Locale::enUS(), Locale::enGB()}) {
            auto back = parseDate(generalDate(d, locale), locale);
            ASSERT_TRUE(back.has_value()) << d.value;
            EXPECT_NEAR(back->value, d.value, 1.0 / 86400) << d.value;
        }
    }
}
