#pragma once
// Clock readings and the conversions between a time of day and its text.
//
// Stateless apart from the clock it reads; every "Now" operation takes all its parts from one
// reading, so they never straddle a change of second. Any thread may call any operation.
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "platform/Clock.h"

namespace tolvane {

struct TimeTriple {
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
    friend bool operator==(const TimeTriple&, const TimeTriple&) = default;
};

class ClockHelper {
public:
    // `clock` must outlive the helper.
    explicit ClockHelper(const platform::Clock& clock) : clock_(clock) {}

    // 1 Sunday, 2 Monday … 7 Saturday.
    int DayOfWeek() const;
    // 1 to 31.
    int DayOfMonth() const;
    QString NowText(const QString& separator = QStringLiteral(":"), bool pad = false) const;
    TimeTriple& NowTriple(TimeTriple& out) const;
    static QString TripleText(const TimeTriple& t, const QString& separator = QStringLiteral(":"), bool pad = false);
    // Each text is read as an integer (leading digits, optional sign) held in one byte.
    static QString TextTripleText(const QString& hour, const QString& minute, const QString& second,
                                  const QString& separator = QStringLiteral(":"), bool pad = false);
    static QString ByteTripleText(unsigned char hour, unsigned char minute, unsigned char second,
                                  const QString& separator = QStringLiteral(":"), bool pad = false);
    // Sets the triple from the first three parts of `text` split at `separator`; parts that
    // are missing or not numbers give 0.
    static TimeTriple& ParseTimeText(const QString& text, const QString& separator, TimeTriple& out);
    static int32_t SecondsOfDay(const TimeTriple& t);
    QString NowHourMinuteText(const QString& separator = QStringLiteral(":"), bool pad = false) const;
    // Sets hm[0] and hm[1] to the current hour and minute; returns the minute.
    int NowHourMinute(int* hm) const;

    // The triple held by a field C (missing bytes count 0).
    static TimeTriple FromBytes(const QByteArray& c);
    static QByteArray ToBytes(const TimeTriple& t);

private:
    const platform::Clock& clock_;
};

}  // namespace tolvane
