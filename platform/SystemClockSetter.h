#pragma once
// Setting the machine's local date and time, behind an interface so that nothing but the
// real program ever touches the system clock. Tests use FakeClockSetter.
#include <QDateTime>
#include <QString>
#include <vector>

namespace tolvane::platform {

// Contract: `set` asks the system to set its clock to the local date and time `local`
// (interpreted in the machine's time zone). True when the system accepted the new time.
// False when it refused or could not be asked; `reason` then holds a short user-facing
// Chinese explanation (for example missing rights). May block while the system asks the
// user for authorization.
class SystemClockSetter {
public:
    virtual ~SystemClockSetter() = default;
    [[nodiscard]] virtual bool set(const QDateTime& local, QString& reason) = 0;
};

// The real clock: systemd-timedated over the system D-Bus (org.freedesktop.timedate1,
// SetTime, with interactive authorization) where that service can be reached, else
// clock_settime(CLOCK_REALTIME), which needs the right to set the time (CAP_SYS_TIME).
// Dates before 1970 or that cannot be represented are refused without asking the system.
class RealSystemClockSetter final : public SystemClockSetter {
public:
    [[nodiscard]] bool set(const QDateTime& local, QString& reason) override;
};

// A clock setter for tests: records every request and answers as told.
class FakeClockSetter final : public SystemClockSetter {
public:
    [[nodiscard]] bool set(const QDateTime& local, QString& reason) override {
        requests.push_back(local);
        if (!accept)
            reason = refusalReason;
        return accept;
    }

    bool accept = true;
    QString refusalReason = QStringLiteral("权限不足");
    std::vector<QDateTime> requests;
};

}  // namespace tolvane::platform
