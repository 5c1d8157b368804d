#pragma once
// Small builders shared by the task core tests.
#include <QTemporaryDir>
#include <initializer_list>
#include <sqlite3.h>

#include "core/Scheduler.h"
#include "core/TaskStore.h"

namespace tolvane::test {

inline QByteArray Daily(bool enabled = true) { return QByteArray(1, enabled ? 1 : 0) + QByteArray(1, 1); }
inline QByteArray Once() { return QByteArray("\x01\x00", 2); }
inline QByteArray Weekly(std::initializer_list<int> days) {  // 1 Sunday … 7 Saturday
    QByteArray b(9, '\0');
    b[0] = 1;
    b[1] = 2;
    for (int d : days) b[d + 1] = 1;
    return b;
}
inline QByteArray Monthly(std::initializer_list<int> days) {
    QByteArray b(33, '\0');
    b[0] = 1;
    b[1] = 3;
    for (int d : days) b[d + 1] = 1;
    return b;
}
inline TaskFields Task(const QByteArray& b, TimeTriple t, const QString& d) {
    return {b, ClockHelper::ToBytes(t), d, QStringLiteral("0|1|")};
}

inline void ExecSql(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// A task store with its default record in a temporary folder.
struct TempStore {
    QTemporaryDir dir;
    TaskStore store{dir.path()};
    TempStore() {
        (void)store.Create();
        (void)store.Open();
        (void)store.AddRecord({QByteArray(2, '\0'), QByteArray(3, '\0'), QStringLiteral("0"), QStringLiteral("0|1|")});
    }
};

class NullPresenter : public RingPresenter {
public:
    void Ring(const PendingAlarm&) override {}
};

}  // namespace tolvane::test
