#include "toolbox/DateTime.h"

#include <QDate>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace tolvane::toolbox {

namespace {

constexpr qint64 kSecondsPerDay = 86'400;

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Seconds since 1 January 100, 00:00:00; only for valid values.
qint64 ToSeconds(const DateTime& v) {
    const qint64 days = QDate(v.year, v.month, v.day).toJulianDay() -
                        QDate(kMinYear, 1, 1).toJulianDay();
    return days * kSecondsPerDay + v.hour * 3600 + v.minute * 60 + v.second;
}

DateTime FromSeconds(qint64 s) {
    qint64 days = s / kSecondsPerDay;
    qint64 rest = s % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    const QDate d = QDate::fromJulianDay(QDate(kMinYear, 1, 1).toJulianDay() + days);
    DateTime v{d.year(), d.month(), d.day(), static_cast<int>(rest / 3600),
               static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60)};
    return IsValidDateTime(v) ? v : kInvalidDateTime;
}

// The scanned pieces of a text: numbers and the separator text behind each.
struct Piece {
    qint64 number;
    QString separator;
};

// Splits text into number/separator pairs. False when the text does not start with a digit
// or a number is absurdly long (which no valid field can be).
bool Scan(const QString& text, std::vector<Piece>& pieces) {
    int i = 0;
    const int n = text.size();
    while (i < n) {
        // Only ASCII digits: other scripts' digits are not numbers here.
        if (text[i] < u'0' || text[i] > u'9')
            return false;
        qint64 number = 0;
        int digits = 0;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            if (++digits > 9)
                return false;
            number = number * 10 + (text[i].unicode() - u'0');
            ++i;
        }
        QString separator;
        while (i < n && (text[i] < u'0' || text[i] > u'9'))
            separator += text[i++];
        pieces.push_back({number, separator});
    }
    return !pieces.empty();
}

DateTime Make(const std::vector<Piece>& p) {
    auto field = [&](size_t i) { return i < p.size() ? static_cast<int>(p[i].number) : 0; };
    const DateTime v{field(0), field(1), field(2), field(3), field(4), field(5)};
    return IsValidDateTime(v) ? v : kInvalidDateTime;
}

}  // namespace

bool IsValidDateTime(const DateTime& v) {
    return v.year >= kMinYear && v.year <= kMaxYear && v.month >= 1 && v.month <= 12 &&
           v.day >= 1 && v.day <= DaysInMonth(v.year, v.month) && v.hour >= 0 &&
           v.hour <= 23 && v.minute >= 0 && v.minute <= 59 && v.second >= 0 &&
           v.second <= 59;
}

DateTime ParseDateTime(const QString& text) {
    std::vector<Piece> p;
    if (!Scan(text, p))
        return kInvalidDateTime;

    // Dash form: three or six numbers, nothing behind the last.
    if (p[0].separator == u"-") {
        if (p.size() != 3 && p.size() != 6)
            return kInvalidDateTime;
        for (size_t i = 0; i + 1 < p.size(); ++i)
            if (p[i].separator != u"-")
                return kInvalidDateTime;
        if (!p.back().separator.isEmpty())
            return kInvalidDateTime;
        return Make(p);
    }

    // Chinese form: each number carries its unit word; the last one may drop it.
    static const QString kUnits[] = {QStringLiteral("年"), QStringLiteral("月"),
                                     QStringLiteral("日"), QStringLiteral("时"),
                                     QStringLiteral("分"), QStringLiteral("秒")};
    if (p.size() < 3 || p.size() > 6)
        return kInvalidDateTime;
    for (size_t i = 0; i < p.size(); ++i) {
        const bool last = i + 1 == p.size();
        if (p[i].separator == kUnits[i])
            continue;
        if (last && i >= 2 && p[i].separator.isEmpty())
            continue;
        return kInvalidDateTime;
    }
    return Make(p);
}

QString DateTimeText(const DateTime& v) {
    QString text = QStringLiteral("%1年%2月%3日").arg(v.year).arg(v.month).arg(v.day);
    if (v.second != 0)
        text += QStringLiteral("%1时%2分%3秒").arg(v.hour).arg(v.minute).arg(v.second);
    else if (v.minute != 0)
        text += QStringLiteral("%1时%2分").arg(v.hour).arg(v.minute);
    else if (v.hour != 0)
        text += QStringLiteral("%1时").arg(v.hour);
    return text;
}

DateTime AddToDateTime(const DateTime& value, DateUnit unit, qint64 n) {
    if (n == 0)
        return value;
    if (!IsValidDateTime(value))
        return kInvalidDateTime;

    auto calendar = [&](qint64 year, qint64 month) {
        // month is 0-based here so that carrying whole years is plain division.
        qint64 y = year + (month >= 0 ? month / 12 : (month - 11) / 12);
        qint64 m = month - (y - year) * 12;
        y = std::clamp<qint64>(y, kMinYear, kMaxYear);
        DateTime v = value;
        v.year = static_cast<int>(y);
        v.month = static_cast<int>(m) + 1;
        v.day = std::min(v.day, DaysInMonth(v.year, v.month));
        return v;
    };

    // Beyond this many seconds every shift lands outside the representable years anyway,
    // and the multiplication below cannot overflow.
    constexpr qint64 kSpan = 10'000LL * 366 * kSecondsPerDay;
    auto timeline = [&](qint64 unitSeconds) {
        if (n > kSpan / unitSeconds || n < -kSpan / unitSeconds)
            return kInvalidDateTime;
        return FromSeconds(ToSeconds(value) + n * unitSeconds);
    };

    switch (unit) {
    case DateUnit::Year: {
        const qint64 clampedN = std::clamp<qint64>(n, -kMaxYear, kMaxYear);
        return calendar(value.year + clampedN, value.month - 1);
    }
    case DateUnit::Month: {
        const qint64 clampedN = std::clamp<qint64>(n, -12LL * kMaxYear, 12LL * kMaxYear);
        return calendar(value.year, value.month - 1 + clampedN);
    }
    case DateUnit::Day:
        return timeline(kSecondsPerDay);
    case DateUnit::Hour:
        return timeline(3600);
    case DateUnit::Minute:
        return timeline(60);
    case DateUnit::Second:
        return timeline(1);
    }
    return kInvalidDateTime;
}

double DateTimeDiff(const DateTime& a, const DateTime& b, DateUnit unit) {
    switch (unit) {
    case DateUnit::Year:
        return a.year - b.year;
    case DateUnit::Month:
        return (a.year - b.year) * 12 + (a.month - b.month);
    default:
        break;
    }
    const qint64 seconds = ToSeconds(a) - ToSeconds(b);
    switch (unit) {
    case DateUnit::Day:
        return static_cast<double>(seconds) / kSecondsPerDay;
    case DateUnit::Hour:
        return static_cast<double>(seconds / 3600);
    case DateUnit::Minute:
        return static_cast<double>(seconds / 60);
    default:
        return static_cast<double>(seconds);
    }
}

int TextToInt(const QString& text) {
    int i = 0;
    const bool negative = !text.isEmpty() && text[0] == u'-';
    if (negative)
        i = 1;
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        // Stop growing once past the int range; the result saturates below.
        if (value > static_cast<qint64>(std::numeric_limits<int>::max()) + 1)
            value = static_cast<qint64>(std::numeric_limits<int>::max()) + 1;
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

}  // namespace tolvane::toolbox
