#pragma once
// The date-time value shared by the toolbox's tools, and its operations.
//
// A DateTime is a Gregorian calendar date and a time of day to the second, years 100 to
// 9999, without time zone. 1 January 100, 00:00:00 doubles as the invalid value: every
// conversion that fails yields it, and callers recognise failure by comparing
// DateTimeText of a value with kInvalidDateTimeText.
#include <QString>
#include <QtGlobal>

namespace tolvane::toolbox {

struct DateTime {
    int year = 100;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

inline constexpr DateTime kInvalidDateTime{};
inline constexpr int kMinYear = 100;
inline constexpr int kMaxYear = 9999;
// How the invalid value reads (see DateTimeText).
inline const QString kInvalidDateTimeText = QStringLiteral("100年1月1日");

enum class DateUnit { Year, Month, Day, Hour, Minute, Second };

// Parses one of three shapes, numbers decimal with leading zeros allowed:
//   Y-M-D                       2010-8-9
//   Y-M-D-h-m-s                 2010-8-9-13-5-0
//   Y年M月D日[h时[m分[s[秒]]]]  2010年08月09日13时5分0秒, 2010年8月9日 (a closing 日 or 秒
//                               may be left out after the last number)
// A left-out time counts as 00:00:00. Empty text, any other shape, anything left over
// behind the last number (other than the closing 日 or 秒), or numbers that do not form a
// valid date and time in years 100 to 9999 give kInvalidDateTime.
DateTime ParseDateTime(const QString& text);

// "%d年%d月%d日", followed by "%d时%d分%d秒" when the second is not 0, else "%d时%d分"
// when the minute is not 0, else "%d时" when the hour is not 0. No leading zeros.
QString DateTimeText(const DateTime& value);

// `value` shifted by `n` units (n may be negative; 0 returns `value`). Years and months
// move the calendar numbers (months carry whole years), then hold the year within 100 to
// 9999 and cap the day at the length of the resulting month. Days, hours, minutes and
// seconds are exact arithmetic on the time line; a result outside years 100 to 9999 is
// kInvalidDateTime. `value` must be a valid DateTime.
DateTime AddToDateTime(const DateTime& value, DateUnit unit, qint64 n);

// a minus b in `unit`. Years: difference of the year numbers. Months: year difference × 12
// plus month difference. Days: the exact difference in days, fractional when the times of
// day differ. Hours, minutes, seconds: the difference in whole units, truncated toward
// zero.
double DateTimeDiff(const DateTime& a, const DateTime& b, DateUnit unit);

// The integer value of the text's leading decimal digits, with an optional leading "-";
// 0 when the text does not start with a number (so "" and "-" give 0). Values beyond the
// int range saturate at its ends.
int TextToInt(const QString& text);

// True when the fields form a valid date and time within years 100 to 9999.
bool IsValidDateTime(const DateTime& value);

}  // namespace tolvane::toolbox
