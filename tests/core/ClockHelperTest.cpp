#include <gtest/gtest.h>

#include "core/ClockHelper.h"

using namespace tolvane;

TEST(ClockHelper, NowTexts) {
    platform::FakeClock clock(QDateTime(QDate(2026, 12, 13), QTime(9, 5, 7)));  // a Sunday
    ClockHelper helper(clock);
    EXPECT_EQ(helper.NowText(QStringLiteral(":"), true), "09:05:07");
    EXPECT_EQ(helper.NowText(), "9:5:7");
    EXPECT_EQ(helper.NowText(QStringLiteral("-"), true), "09-05-07");
    EXPECT_EQ(helper.NowHourMinuteText(QStringLiteral(":"), true), "09:05");
    int hm[2] = {0, 0};
    EXPECT_EQ(helper.NowHourMinute(hm), 5);
    EXPECT_EQ(hm[0], 9);
    TimeTriple t;
    EXPECT_EQ(helper.NowTriple(t), (TimeTriple{9, 5, 7}));
    EXPECT_EQ(helper.DayOfWeek(), 1);
    EXPECT_EQ(helper.DayOfMonth(), 13);
    clock.set(QDateTime(QDate(2026, 12, 19), QTime(0, 0, 0)));  // a Saturday, midnight
    EXPECT_EQ(helper.DayOfWeek(), 7);
    EXPECT_EQ(helper.NowText(QStringLiteral(":"), true), "00:00:00");
}

TEST(ClockHelper, TripleTexts) {
    EXPECT_EQ(ClockHelper::TripleText({12, 0, 5}, QStringLiteral(":"), true), "12:00:05");
    EXPECT_EQ(ClockHelper::TripleText({123, 0, 0}, QStringLiteral(":"), true), "123:00:00");
    EXPECT_EQ(ClockHelper::TripleText({-1, 0, 0}, QStringLiteral(":"), true), "-1:00:00");
    EXPECT_EQ(ClockHelper::ByteTripleText(7, 5, 0, QStringLiteral(":"), true), "07:05:00");
    EXPECT_EQ(ClockHelper::ByteTripleText(255, 0, 0), "255:0:0");
    EXPECT_EQ(ClockHelper::TextTripleText("7", "300", "-1"), "7:44:255");  // each held in one byte
    TimeTriple t;
    EXPECT_EQ(ClockHelper::ParseTimeText("10:20:30", ":", t), (TimeTriple{10, 20, 30}));
    EXPECT_EQ(ClockHelper::ParseTimeText("10-20", "-", t), (TimeTriple{10, 20, 0}));
    EXPECT_EQ(ClockHelper::SecondsOfDay({23, 59, 59}), 86399);
    EXPECT_EQ(ClockHelper::SecondsOfDay({0, 0, 0}), 0);
    EXPECT_EQ(ClockHelper::FromBytes(QByteArray("\x17\x3b", 2)), (TimeTriple{23, 59, 0}));
    EXPECT_EQ(ClockHelper::ToBytes({7, 5, 200}), QByteArray("\x07\x05\xc8", 3));
}
