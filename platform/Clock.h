#pragma once
// The local wall clock, behind an interface so that tests can set and advance time.
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <mutex>

namespace tolvane::platform {

// A reading of the local wall-clock time, to the millisecond.
struct LocalTime {
    QDate date;
    QTime time;
    // Day of the week, 1 Sunday, 2 Monday … 7 Saturday.
    int dayOfWeek() const { return date.dayOfWeek() % 7 + 1; }
};

// Contract: `now` may be called from any thread at any time and returns one consistent
// reading (date and time from the same instant).
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
};

// The machine's local time.
class SystemClock final : public Clock {
public:
    LocalTime now() const override {
        const QDateTime t = QDateTime::currentDateTime();
        return {t.date(), t.time()};
    }
};

// A clock for tests: it stands still until it is set or advanced. Thread-safe. The given
// date and time are taken as the local wall clock; internally they are kept as a plain
// calendar value (UTC), so no time-zone rules or daylight saving shift them.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 9), QTime(9, 0, 0)))
        : now_(Plain(start)) {}
    LocalTime now() const override {
        std::lock_guard lock(mutex_);
        return {now_.date(), now_.time()};
    }
    void set(const QDateTime& t) {
        std::lock_guard lock(mutex_);
        now_ = Plain(t);
    }
    void set(int hour, int minute, int second) {
        std::lock_guard lock(mutex_);
        now_.setTime(QTime(hour, minute, second));
    }
    void advanceMs(qint64 ms) {
        std::lock_guard lock(mutex_);
        now_ = now_.addMSecs(ms);
    }

private:
    static QDateTime Plain(const QDateTime& t) { return QDateTime(t.date(), t.time(), Qt::UTC); }
    mutable std::mutex mutex_;
    QDateTime now_;  // guarded by mutex_
};

}  // namespace tolvane::platform
