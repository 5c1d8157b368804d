#include "core/ClockHelper.h"

#include <QStringList>

#include "platform/LeadingInt.h"

namespace tolvane {
namespace {

QString Part(qint64 value, bool pad) {
    QString s = QString::number(value);
    if (pad && s.size() < 2) s.prepend(QLatin1Char('0'));
    return s;
}

QString Join(qint64 h, qint64 m, qint64 s, const QString& sep, bool pad) {
    return Part(h, pad) + sep + Part(m, pad) + sep + Part(s, pad);
}

}  // namespace

int ClockHelper::DayOfWeek() const { return clock_.now().dayOfWeek(); }

int ClockHelper::DayOfMonth() const { return clock_.now().date.day(); }

QString ClockHelper::NowText(const QString& separator, bool pad) const {
    const QTime t = clock_.now().time;
    return Join(t.hour(), t.minute(), t.second(), separator, pad);
}

TimeTriple& ClockHelper::NowTriple(TimeTriple& out) const {
    const QTime t = clock_.now().time;
    out = {t.hour(), t.minute(), t.second()};
    return out;
}

QString ClockHelper::TripleText(const TimeTriple& t, const QString& separator, bool pad) {
    return Join(t.hour, t.minute, t.second, separator, pad);
}

QString ClockHelper::TextTripleText(const QString& hour, const QString& minute, const QString& second,
                                    const QString& separator, bool pad) {
    auto byte = [](const QString& s) { return static_cast<unsigned char>(platform::ParseLeadingInt(s)); };
    return Join(byte(hour), byte(minute), byte(second), separator, pad);
}

QString ClockHelper::ByteTripleText(unsigned char hour, unsigned char minute, unsigned char second,
                                    const QString& separator, bool pad) {
    return Join(hour, minute, second, separator, pad);
}

TimeTriple& ClockHelper::ParseTimeText(const QString& text, const QString& separator, TimeTriple& out) {
    const QStringList parts = text.split(separator.isEmpty() ? QStringLiteral(":") : separator);
    auto at = [&](int i) { return i < parts.size() ? platform::ParseLeadingInt(parts.at(i)) : 0; };
    out = {at(0), at(1), at(2)};
    return out;
}

int32_t ClockHelper::SecondsOfDay(const TimeTriple& t) {
    return t.hour * 3600 + t.minute * 60 + t.second;
}

QString ClockHelper::NowHourMinuteText(const QString& separator, bool pad) const {
    const QTime t = clock_.now().time;
    return Part(t.hour(), pad) + separator + Part(t.minute(), pad);
}

int ClockHelper::NowHourMinute(int* hm) const {
    const QTime t = clock_.now().time;
    hm[0] = t.hour();
    hm[1] = t.minute();
    return hm[1];
}

TimeTriple ClockHelper::FromBytes(const QByteArray& c) {
    auto at = [&](int i) { return i < c.size() ? static_cast<int32_t>(static_cast<unsigned char>(c.at(i))) : 0; };
    return {at(0), at(1), at(2)};
}

QByteArray ClockHelper::ToBytes(const TimeTriple& t) {
    QByteArray c(3, '\0');
    c[0] = static_cast<char>(static_cast<unsigned char>(t.hour));
    c[1] = static_cast<char>(static_cast<unsigned char>(t.minute));
    c[2] = static_cast<char>(static_cast<unsigned char>(t.second));
    return c;
}

}  // namespace tolvane
