// The toolbox's date-time value: parsing, text, shifting, differences, leading integers.
#include <gtest/gtest.h>

#include "toolbox/DateTime.h"

namespace tolvane::toolbox {
namespace {

std::ostream& operator<<(std::ostream& os, const DateTime& v) {
    return os << DateTimeText(v).toStdString();
}

struct ParseCase {
    const char* text;
    DateTime expected;
};

TEST(ParseDateTime, AcceptsTheThreeShapes) {
    const ParseCase cases[] = {
        {"2010-8-9", {2010, 8, 9, 0, 0, 0}},
        {"2010-08-09", {2010, 8, 9, 0, 0, 0}},
        {"2010-8-9-13-5-0", {2010, 8, 9, 13, 5, 0}},
        {"2010年08月09日13时5分0秒", {2010, 8, 9, 13, 5, 0}},
        {"2010年08月09日", {2010, 8, 9, 0, 0, 0}},
        {"2010年8月09日", {2010, 8, 9, 0, 0, 0}},
        {"2010年8月9日23时59分59", {2010, 8, 9, 23, 59, 59}},
        {"2008年8月8日20时", {2008, 8, 8, 20, 0, 0}},  // its own text reads back
        {"100-1-1", {100, 1, 1, 0, 0, 0}},
        {"9999-12-31-23-59-59", {9999, 12, 31, 23, 59, 59}},
        {"2008-2-29", {2008, 2, 29, 0, 0, 0}},
        {"2000-2-29", {2000, 2, 29, 0, 0, 0}},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(ParseDateTime(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(ParseDateTime, RejectsInvalidDatesLeftoversAndOtherShapes) {
    const char* cases[] = {
        "",                     // empty
        "2010-2-30",            // no such day
        "2010年8月9日)",        // a left-over ")" behind the date
        "2010年8月9日13时5分0秒)",
        "2010-8-9)",
        "1900-2-29",            // divisible by 100, not by 400
        "2011-2-29",
        "99-12-31",             // below year 100
        "10000-1-1",            // above year 9999
        "2010-13-1", "2010-0-1", "2010-1-0", "2010-1-32",
        "2010-1-1-24-0-0", "2010-1-1-0-60-0", "2010-1-1-0-0-60",
        "2010-1-1--0-0",        // a lone "-" in a time box
        "2010-1-1---0-0",
        "2010-8",               // too few numbers
        "2010-8-9-13",          // a partial time in the dash form
        "2010-8-9-13-5-0-1",
        " 2010-8-9",            // blanks are left-overs too
        "-2010-8-9",
        "2010/8/9",
        "2010年8月9日13时5分0秒1",
        "2010-1-1-99999999999999-0-0",  // a number too long for any field
        "２０１０-8-9",          // full-width digits are not numbers here
        "2010年8月09日'",
    };
    for (const char* text : cases)
        EXPECT_EQ(ParseDateTime(QString::fromUtf8(text)), kInvalidDateTime) << text;
}

TEST(DateTimeText, DropsTrailingZeroParts) {
    const struct {
        DateTime value;
        const char* text;
    } cases[] = {
        {kInvalidDateTime, "100年1月1日"},
        {{2008, 8, 8, 20, 0, 0}, "2008年8月8日20时"},
        {{2010, 8, 9, 13, 5, 0}, "2010年8月9日13时5分"},
        {{2010, 8, 9, 13, 5, 2}, "2010年8月9日13时5分2秒"},
        {{2010, 8, 9, 0, 0, 7}, "2010年8月9日0时0分7秒"},
        {{2010, 8, 9, 0, 30, 0}, "2010年8月9日0时30分"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateTimeText(c.value), QString::fromUtf8(c.text));
    EXPECT_EQ(DateTimeText(kInvalidDateTime), kInvalidDateTimeText);
}

TEST(AddToDateTime, ShiftsByEachUnit) {
    const struct {
        DateTime from;
        DateUnit unit;
        qint64 n;
        DateTime expected;
    } cases[] = {
        // Months cap the day at the length of the resulting month.
        {{2010, 1, 31, 0, 0, 0}, DateUnit::Month, 1, {2010, 2, 28, 0, 0, 0}},
        {{2008, 1, 31, 0, 0, 0}, DateUnit::Month, 1, {2008, 2, 29, 0, 0, 0}},
        {{2010, 3, 31, 5, 6, 7}, DateUnit::Month, -1, {2010, 2, 28, 5, 6, 7}},
        // Months carry whole years either way.
        {{2010, 11, 15, 0, 0, 0}, DateUnit::Month, 3, {2011, 2, 15, 0, 0, 0}},
        {{2010, 1, 15, 0, 0, 0}, DateUnit::Month, -1, {2009, 12, 15, 0, 0, 0}},
        {{2010, 1, 15, 0, 0, 0}, DateUnit::Month, -25, {2007, 12, 15, 0, 0, 0}},
        {{2010, 1, 15, 0, 0, 0}, DateUnit::Month, 24, {2012, 1, 15, 0, 0, 0}},
        // Years: leap day capping, and the year held within 100 to 9999.
        {{2008, 2, 29, 0, 0, 0}, DateUnit::Year, 1, {2009, 2, 28, 0, 0, 0}},
        {{2008, 2, 29, 0, 0, 0}, DateUnit::Year, 4, {2012, 2, 29, 0, 0, 0}},
        {{2008, 2, 29, 0, 0, 0}, DateUnit::Year, -108, {1900, 2, 28, 0, 0, 0}},
        {{2010, 5, 5, 0, 0, 0}, DateUnit::Year, 9000, {9999, 5, 5, 0, 0, 0}},
        {{2010, 5, 5, 0, 0, 0}, DateUnit::Year, -5000, {100, 5, 5, 0, 0, 0}},
        {{2010, 5, 5, 0, 0, 0}, DateUnit::Year, 2'000'000'000, {9999, 5, 5, 0, 0, 0}},
        {{2010, 5, 5, 0, 0, 0}, DateUnit::Month, -2'000'000'000, {100, 5, 5, 0, 0, 0}},
        // The time line.
        {{2010, 1, 31, 0, 0, 0}, DateUnit::Day, 1, {2010, 2, 1, 0, 0, 0}},
        {{2008, 2, 28, 12, 0, 0}, DateUnit::Day, 1, {2008, 2, 29, 12, 0, 0}},
        {{2010, 3, 1, 0, 0, 0}, DateUnit::Day, -1, {2010, 2, 28, 0, 0, 0}},
        {{2010, 12, 31, 23, 0, 0}, DateUnit::Hour, 1, {2011, 1, 1, 0, 0, 0}},
        {{2010, 1, 1, 0, 0, 0}, DateUnit::Minute, -1, {2009, 12, 31, 23, 59, 0}},
        {{2010, 8, 9, 13, 5, 0}, DateUnit::Second, 2, {2010, 8, 9, 13, 5, 2}},
        {{2010, 8, 9, 23, 59, 59}, DateUnit::Second, 1, {2010, 8, 10, 0, 0, 0}},
        {{2010, 8, 9, 13, 5, 0}, DateUnit::Second, -86'400 * 365LL, {2009, 8, 9, 13, 5, 0}},
        // Beyond the representable years the result is the invalid value.
        {{9999, 12, 31, 23, 59, 59}, DateUnit::Second, 1, kInvalidDateTime},
        {{100, 1, 1, 0, 0, 1}, DateUnit::Second, -2, kInvalidDateTime},
        {{2010, 1, 1, 0, 0, 0}, DateUnit::Day, 2'000'000'000, kInvalidDateTime},
        {{2010, 1, 1, 0, 0, 0}, DateUnit::Second, std::numeric_limits<qint64>::min(),
         kInvalidDateTime},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddToDateTime(c.from, c.unit, c.n), c.expected)
            << DateTimeText(c.from).toStdString() << " + " << c.n;
}

TEST(AddToDateTime, ZeroReturnsTheValueInEveryUnit) {
    const DateTime v{2010, 1, 31, 13, 5, 9};
    for (DateUnit u : {DateUnit::Year, DateUnit::Month, DateUnit::Day, DateUnit::Hour,
                       DateUnit::Minute, DateUnit::Second})
        EXPECT_EQ(AddToDateTime(v, u, 0), v);
}

TEST(DateTimeDiff, CountsCalendarNumbersForYearsAndMonthsAndTimeForTheRest) {
    const DateTime jan31{2011, 1, 31, 0, 0, 0};
    const DateTime dec31{2010, 12, 31, 0, 0, 0};
    EXPECT_EQ(DateTimeDiff(jan31, dec31, DateUnit::Year), 1);
    EXPECT_EQ(DateTimeDiff(jan31, dec31, DateUnit::Month), 1);
    EXPECT_EQ(DateTimeDiff(jan31, dec31, DateUnit::Day), 31);
    EXPECT_EQ(DateTimeDiff(dec31, jan31, DateUnit::Day), -31);

    // A leap year's February counts its 29th day.
    EXPECT_EQ(DateTimeDiff({2008, 3, 1, 0, 0, 0}, {2008, 2, 1, 0, 0, 0}, DateUnit::Day), 29);
    EXPECT_EQ(DateTimeDiff({2001, 1, 1, 0, 0, 0}, {2000, 1, 1, 0, 0, 0}, DateUnit::Day), 366);
    EXPECT_EQ(DateTimeDiff({2010, 8, 9, 0, 0, 0}, kInvalidDateTime, DateUnit::Year), 1910);

    // Days are exact, fractional when the times of day differ.
    EXPECT_DOUBLE_EQ(
        DateTimeDiff({2010, 8, 10, 12, 0, 0}, {2010, 8, 9, 0, 0, 0}, DateUnit::Day), 1.5);

    // Seconds: whole, across midnight and month ends.
    EXPECT_EQ(DateTimeDiff({2010, 9, 1, 0, 0, 1}, {2010, 8, 31, 23, 59, 59},
                           DateUnit::Second),
              2);
    EXPECT_EQ(DateTimeDiff({2010, 8, 31, 23, 59, 59}, {2010, 9, 1, 0, 0, 1},
                           DateUnit::Second),
              -2);

    const DateTime v{2010, 5, 6, 7, 8, 9};
    for (DateUnit u : {DateUnit::Year, DateUnit::Month, DateUnit::Day, DateUnit::Hour,
                       DateUnit::Minute, DateUnit::Second})
        EXPECT_EQ(DateTimeDiff(v, v, u), 0);
}

TEST(TextToInt, ReadsTheLeadingNumber) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},      {"-", 0},       {"abc", 0},   {"12", 12},       {"007", 7},
        {"-5", -5},   {"12abc", 12},  {"5.9", 5},   {"13;", 13},      {" 5", 0},
        {"--5", 0},   {"5-3", 5},     {"+5", 0},    {"2147483647", 2147483647},
        {"99999999999999999999", 2147483647},       {"-99999999999999999999", -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToInt(QString::fromUtf8(c.text)), c.value) << c.text;
}

}  // namespace
}  // namespace tolvane::toolbox
