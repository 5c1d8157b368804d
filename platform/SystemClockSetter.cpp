#include "platform/SystemClockSetter.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>

#include <cerrno>
#include <ctime>

namespace tolvane::platform {

namespace {

constexpr auto kService = "org.freedesktop.timedate1";
constexpr auto kPath = "/org/freedesktop/timedate1";
constexpr auto kInterface = "org.freedesktop.timedate1";
// The authorization prompt waits for the user; give them time to type a password.
constexpr int kDbusTimeoutMs = 120'000;

// True when timedated can be reached: either running or activatable on the system bus.
bool TimedatedAvailable(QDBusConnection& bus) {
    if (!bus.isConnected())
        return false;
    QDBusConnectionInterface* iface = bus.interface();
    if (!iface)
        return false;
    if (iface->isServiceRegistered(kService).value())
        return true;
    return iface->activatableServiceNames().value().contains(kService);
}

QString DbusReason(const QDBusError& error) {
    const QString name = error.name();
    if (name == "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired" ||
        name == "org.freedesktop.DBus.Error.AccessDenied" ||
        name.endsWith(".NotAuthorized") || name.contains("PolicyKit"))
        return QStringLiteral("没有修改系统时间的权限");
    if (name == "org.freedesktop.DBus.Error.NoReply" ||
        name == "org.freedesktop.DBus.Error.Timeout")
        return QStringLiteral("系统时间服务没有应答");
    return QStringLiteral("系统时间服务拒绝了请求（%1）").arg(error.message());
}

bool SetWithClockSettime(qint64 msecsSinceEpoch, QString& reason) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(msecsSinceEpoch / 1000);
    ts.tv_nsec = static_cast<long>(msecsSinceEpoch % 1000) * 1'000'000L;
    if (clock_settime(CLOCK_REALTIME, &ts) == 0)
        return true;
    switch (errno) {
    case EPERM:
        reason = QStringLiteral("没有修改系统时间的权限");
        break;
    case EINVAL:
        reason = QStringLiteral("系统不接受这个时间");
        break;
    default:
        reason = QStringLiteral("系统拒绝修改时间（错误 %1）").arg(errno);
        break;
    }
    return false;
}

}  // namespace

bool RealSystemClockSetter::set(const QDateTime& local, QString& reason) {
    reason.clear();
    if (!local.isValid()) {
        reason = QStringLiteral("时间无效");
        return false;
    }
    const QDateTime inZone(local.date(), local.time(), Qt::LocalTime);
    const qint64 msecs = inZone.toMSecsSinceEpoch();
    if (!inZone.isValid() || msecs < 0) {
        reason = QStringLiteral("系统不接受这个时间");
        return false;
    }

    QDBusConnection bus = QDBusConnection::systemBus();
    if (TimedatedAvailable(bus)) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kInterface, "SetTime");
        // usec_utc, relative, interactive: an absolute time, and let polkit ask the user.
        call << static_cast<qlonglong>(msecs * 1000) << false << true;
        call.setInteractiveAuthorizationAllowed(true);
        const QDBusMessage answer = bus.call(call, QDBus::Block, kDbusTimeoutMs);
        if (answer.type() == QDBusMessage::ReplyMessage)
            return true;
        const QDBusError error(answer);
        // timedated refuses while automatic network time is on; that is its own reason.
        if (error.name() == "org.freedesktop.timedate1.AutomaticTimeSyncEnabled") {
            reason = QStringLiteral("系统已开启自动网络对时，不允许手动修改时间");
            return false;
        }
        reason = DbusReason(error);
        return false;
    }
    return SetWithClockSettime(msecs, reason);
}

}  // namespace tolvane::platform
