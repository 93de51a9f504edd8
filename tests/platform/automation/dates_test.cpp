#include <gtest/gtest.h>

#include <cmath>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "tests/support/error_of.h"

using namespace ax;

namespace {

const Locale kUS = Locale::enUS();
const Locale kGB = Locale::enGB();

Date at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return toAutomationDate({y, mo, d, h, mi, s});
}

// The date a text reads as, or a NaN date when it does not read as one.
Date read(const char* text, const Locale& locale) {
    auto d = parseDate(text, locale);
    return d ? *d : Date{NAN};
}

using testsupport::errorOf;

}  // namespace

TEST(Calendar, DayNumbersAroundTheEpochAndAtTheEnds) {
    EXPECT_EQ(at(1899, 12, 30).value, 0);
    EXPECT_EQ(at(1899, 12, 31).value, 1);
    EXPECT_EQ(at(1900, 1, 1).value, 2);
    EXPECT_EQ(at(2026, 12, 7).value, 46363);
    EXPECT_EQ(at(2026, 12, 7, 18).value, 46363.75);
    EXPECT_EQ(at(100, 1, 1).value, -657434);
    EXPECT_EQ(at(9999, 12, 31).value, 2958465);
    // Before the epoch the time of day is a magnitude added away from zero.
    EXPECT_EQ(at(1899, 12, 29, 6).value, -1.25);
    CivilDateTime c = toCivil(Date{-1.25});
    EXPECT_EQ((std::array{c.year, c.month, c.day, c.hour, c.minute}), (std::array{1899, 12, 29, 6, 0}));
    c = toCivil(Date{-0.5});  // on the epoch day itself, at noon
    EXPECT_EQ((std::array{c.year, c.month, c.day, c.hour}), (std::array{1899, 12, 30, 12}));
    c = toCivil(at(2000, 2, 29, 23, 59, 59));
    EXPECT_EQ((std::array{c.year, c.month, c.day, c.hour, c.minute, c.second}),
              (std::array{2000, 2, 29, 23, 59, 59}));
    // A time a hair before midnight rounds to the next day, not to second 86400.
    c = toCivil(Date{at(2026, 12, 7).value + 0.9999999});
    EXPECT_EQ((std::array{c.month, c.day, c.hour}), (std::array{12, 8, 0}));

    c = toCivil(Date{2958465.9999999});  // the last instant cDate accepts stays on the last day
    EXPECT_EQ((std::array{c.year, c.month, c.day, c.hour, c.minute, c.second}),
              (std::array{9999, 12, 31, 23, 59, 59}));

    EXPECT_EQ(errorOf([] { at(1900, 2, 29); }), err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { at(2026, 13, 1); }), err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { at(99, 12, 31); }), err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { at(2026, 1, 1, 24); }), err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { toCivil(Date{3e6}); }), err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { toCivil(Date{NAN}); }), err::InvalidProcedureCall);

    Date t = today();
    EXPECT_EQ(t.value, std::floor(t.value));
    EXPECT_GT(t.value, at(2020, 1, 1).value);
}

TEST(DateFormats, EveryPatternOfTheFormatTable) {
    const Date d = at(2026, 12, 7, 15, 4, 5);
    const struct {
        const char* pattern;
        const char* text;
    } table[] = {{"dd/mm/yy", "07/12/26"},         {"dd-mmm-yy", "07-Dec-26"},
                 {"dd mmmm,yy", "07 December,26"}, {"dd/mm/yyyy", "07/12/2026"},
                 {"dd-mmm-yyyy", "07-Dec-2026"},   {"dd mmmm,yyyy", "07 December,2026"},
                 {"mm/dd/yy", "12/07/26"},         {"mm/dd/yyyy", "12/07/2026"},
                 {"hh:mm:ss", "15:04:05"},         {"hh:mm:ss AMPM", "03:04:05 PM"}};
    for (const auto& row : table) {
        EXPECT_EQ(formatDate(d, row.pattern, kUS), row.text) << row.pattern;
        EXPECT_EQ(formatDate(d, row.pattern, kGB), row.text) << row.pattern;
    }
    // What each pattern writes reads back as the same day (numeric ones in the order they are written).
    for (const auto& row : table) {
        if (std::string(row.pattern).find('h') != std::string::npos) continue;
        const Locale& order = row.pattern[0] == 'm' ? kUS : kGB;
        EXPECT_EQ(read(row.text, order), at(2026, 12, 7)) << row.text;
    }
}

TEST(DateFormats, ClockHoursTokensAndSeparators) {
    EXPECT_EQ(formatDate(at(2026, 1, 2, 9, 5, 0), "hh:mm:ss AMPM", kUS), "09:05:00 AM");
    EXPECT_EQ(formatDate(at(2026, 1, 2, 0, 0, 0), "hh:mm:ss AMPM", kUS), "12:00:00 AM");
    EXPECT_EQ(formatDate(at(2026, 1, 2, 12, 30, 0), "h:nn AM/PM", kUS), "12:30 PM");
    EXPECT_EQ(formatDate(at(2026, 1, 2, 13, 7, 0), "h:m a/p", kUS), "1:7 p");
    EXPECT_EQ(formatDate(at(2026, 1, 2, 13, 7, 9), "H:MM:SS", kUS), "13:07:09");
    EXPECT_EQ(formatDate(at(2026, 1, 2, 13, 7, 9), "mm:ss", kUS), "07:09");  // minutes before seconds
    EXPECT_EQ(formatDate(at(2026, 3, 4), "d/m/yyyy", kUS), "4/3/2026");
    EXPECT_EQ(formatDate(at(2026, 12, 7), "dddd, mmmm d, yyyy", kUS), "Monday, December 7, 2026");
    EXPECT_EQ(formatDate(at(2026, 12, 7), "ddd \"the\" d\\t\\h", kUS), "Mon the 7th");
    EXPECT_EQ(formatDate(at(2026, 2, 1), "y", kUS), "32");  // day of the year
    // "/" and ":" stand for the locale's separators.
    Locale dotted = kUS;
    dotted.dateSeparator = '.';
    dotted.timeSeparator = '.';
    EXPECT_EQ(formatDate(at(2026, 12, 7, 15, 4, 5), "dd/mm/yyyy hh:nn", dotted), "07.12.2026 15.04");
    // No pattern: the general date form.
    EXPECT_EQ(formatDate(at(2026, 12, 7), "", kGB), "07/12/2026");
}

TEST(DateFormats, GeneralDateInBothLocales) {
    EXPECT_EQ(generalDate(at(2026, 12, 7, 15, 4, 5), kUS), "12/7/2026 3:04:05 PM");
    EXPECT_EQ(generalDate(at(2026, 12, 7, 15, 4, 5), kGB), "07/12/2026 15:04:05");
    EXPECT_EQ(generalDate(at(2026, 12, 7), kUS), "12/7/2026");
    EXPECT_EQ(generalDate(at(2026, 1, 2), kGB), "02/01/2026");
    EXPECT_EQ(generalDate(Date{0.25}, kUS), "6:00:00 AM");
    EXPECT_EQ(generalDate(Date{0.25}, kGB), "06:00:00");
    EXPECT_EQ(generalDate(Date{0}, kUS), "12:00:00 AM");  // day zero shows as a time, midnight too
    EXPECT_EQ(generalDate(Date{-1.25}, kUS), "12/29/1899 6:00:00 AM");
    EXPECT_EQ(generalDate(at(2026, 1, 2, 0, 0, 1), kUS), "1/2/2026 12:00:01 AM");
}

TEST(ReadingDates, ShortAndLongFormsInTheLocaleOrder) {
    const Date dec7 = at(2026, 12, 7);
    for (const char* text : {"12/7/2026", "12-7-2026", "12.7.2026", "12/07/26", "7 Dec 2026", "Dec 7, 2026",
                             "December 7 2026", "07-Dec-26", "2026-12-07", "7 december, 2026", "DEC 7 2026",
                             "Monday, December 7, 2026", "2026 Dec 7", " 12/7/2026 ", "Mon. 7 Dec. 2026",
                             "Dec., 7 2026", "7th December 2026", "December 7th, 2026"})
        EXPECT_EQ(read(text, kUS), dec7) << text;
    for (const char* text : {"7/12/2026", "07-12-26", "7.12.2026", "7 Dec 2026", "Dec 7, 2026", "2026-12-07"})
        EXPECT_EQ(read(text, kGB), dec7) << text;

    // An order that cannot be a date in the locale is read the other way round.
    EXPECT_EQ(read("13/1/2026", kUS), at(2026, 1, 13));
    EXPECT_EQ(read("1/13/2026", kGB), at(2026, 1, 13));
    // Two-digit years: 00-29 in the 2000s, 30-99 in the 1900s.
    EXPECT_EQ(read("1/1/29", kUS), at(2029, 1, 1));
    EXPECT_EQ(read("1/1/30", kUS), at(1930, 1, 1));
    EXPECT_EQ(read("1/1/00", kUS), at(2000, 1, 1));
    // Without a year the current one is meant; a month with a long year means its first day.
    int year = toCivil(today()).year;
    EXPECT_EQ(read("12/7", kUS), at(year, 12, 7));
    EXPECT_EQ(read("12/7", kGB), at(year, 7, 12));
    EXPECT_EQ(read("Dec 2026", kUS), at(2026, 12, 1));
    EXPECT_EQ(read("1/1/1601", kUS), at(1601, 1, 1));
    EXPECT_EQ(read("12/31/9999", kUS), at(9999, 12, 31));
}

TEST(ReadingDates, TimesWithAndWithoutADate) {
    EXPECT_EQ(read("12/7/2026 3:04:05 PM", kUS), at(2026, 12, 7, 15, 4, 5));
    EXPECT_EQ(read("07/12/2026 15:04:05", kGB), at(2026, 12, 7, 15, 4, 5));
    EXPECT_EQ(read("3:04 PM Dec 7, 2026", kUS), at(2026, 12, 7, 15, 4));
    EXPECT_EQ(read("15:04", kUS).value, (15 * 60 + 4) / 1440.0);
    EXPECT_EQ(read("3 PM", kUS).value, 0.625);
    EXPECT_EQ(read("12:00 AM", kUS).value, 0);
    EXPECT_EQ(read("12:30 pm", kUS).value, 12.5 / 24);
    EXPECT_EQ(read("03:04:05 PM", kGB), read("15:04:05", kGB));
    EXPECT_EQ(read("0:00:01", kUS).value, 1 / 86400.0);
}

TEST(ReadingDates, TextsThatAreNotDates) {
    for (const char* text : {"",
                             "   ",
                             "12",
                             "2026",
                             "-1",
                             "abc",
                             "2/30/2026",
                             "2/29/2025",
                             "32/13/2026",
                             "13/13/2026",
                             "12/7/2026 x",
                             "7Dec2026",
                             "1:60",
                             "25:00",
                             "13:00 AM",
                             "12/7/2026 25:00",
                             "Dec Jan 7",
                             "1/2/3/4",
                             "12/7/12026",
                             "Foo 7, 2026",
                             "1:2:3:4",
                             "12/7/2026 3:04 5:06",
                             "2026-12-07T15:04",
                             "12//7/2026",
                             "/12/7/2026",
                             "-12/7/2026",
                             "12/7/2026/",
                             "12/-7/2026",
                             "7nd Dec 2026",
                             "Dec 7 th 2026"}) {
        EXPECT_FALSE(readsAsDate(text, kUS)) << text;
        EXPECT_FALSE(readsAsDate(text, kGB)) << text;
    }
}
