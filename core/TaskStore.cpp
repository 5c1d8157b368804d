#include "core/TaskStore.h"

#include <QFileInfo>

namespace tolvane {
namespace {

std::vector<platform::FieldValue> Values(const TaskFields& f) {
    std::vector<platform::FieldValue> v;
    if (f.B) v.push_back({QStringLiteral("B"), *f.B});
    if (f.C) v.push_back({QStringLiteral("C"), *f.C});
    if (f.D) v.push_back({QStringLiteral("D"), *f.D});
    if (f.E) v.push_back({QStringLiteral("E"), *f.E});
    return v;
}

}  // namespace

TaskStore::TaskStore(const QString& runDir) : path_(runDir + QStringLiteral("/task.edb")) {}

bool TaskStore::Exists() const { return QFileInfo::exists(path_); }

bool TaskStore::Create() {
    std::lock_guard lock(mutex_);
    using platform::FieldKind;
    return platform::RecordDb::create(path_, {{QStringLiteral("B"), FieldKind::Bytes, 20},
                                              {QStringLiteral("C"), FieldKind::Bytes, 20},
                                              {QStringLiteral("D"), FieldKind::Text, 100},
                                              {QStringLiteral("E"), FieldKind::Text, 512}});
}

bool TaskStore::Open() {
    std::lock_guard lock(mutex_);
    return db_.open(path_);
}

bool TaskStore::Purge() {
    std::lock_guard lock(mutex_);
    return db_.purge();
}

int TaskStore::RecordCount() {
    std::lock_guard lock(mutex_);
    return db_.count();
}

bool TaskStore::AddRecord(const TaskFields& fields) {
    // A record with a field left out would be unusable; refuse it instead of keeping it.
    if (!fields.B || !fields.C || !fields.D || !fields.E) return false;
    std::lock_guard lock(mutex_);
    return db_.append(Values(fields)) > 0;
}

bool TaskStore::UpdateRecord(int n, const TaskFields& fields) {
    std::lock_guard lock(mutex_);
    return db_.update(n, Values(fields));
}

void TaskStore::DeleteRecord(int n) {
    std::lock_guard lock(mutex_);
    (void)db_.markDeleted(n);
}

bool TaskStore::IsDeleted(int n) {
    std::lock_guard lock(mutex_);
    return db_.isDeleted(n);
}

QByteArray TaskStore::ReadB(int n) {
    std::lock_guard lock(mutex_);
    return db_.readBytes(n, QStringLiteral("B"));
}

QByteArray TaskStore::ReadC(int n) {
    std::lock_guard lock(mutex_);
    return db_.readBytes(n, QStringLiteral("C"));
}

QString TaskStore::ReadD(int n) {
    std::lock_guard lock(mutex_);
    return db_.readText(n, QStringLiteral("D"));
}

QString TaskStore::ReadE(int n) {
    std::lock_guard lock(mutex_);
    return db_.readText(n, QStringLiteral("E"));
}

qint64 TaskStore::KeyOf(int n) {
    std::lock_guard lock(mutex_);
    return db_.keyOf(n);
}

int TaskStore::NumberOfKey(qint64 key) {
    std::lock_guard lock(mutex_);
    return db_.numberOf(key);
}

QString TaskStore::ReadDOfKey(qint64 key) {
    std::lock_guard lock(mutex_);
    const int n = db_.numberOf(key);
    return n > 0 ? db_.readText(n, QStringLiteral("D")) : QString();
}

bool TaskStore::DeleteKey(qint64 key) {
    std::lock_guard lock(mutex_);
    const int n = db_.numberOf(key);
    return n > 0 && db_.markDeleted(n);
}

bool TaskStore::IsLiveKey(qint64 key) {
    std::lock_guard lock(mutex_);
    const int n = db_.numberOf(key);
    return n > 0 && !db_.isDeleted(n);
}

std::vector<TaskRow> TaskStore::Snapshot() {
    std::vector<platform::RecordDb::Row> rows;
    {
        std::lock_guard lock(mutex_);
        rows = db_.readAll({QStringLiteral("B"), QStringLiteral("C")});
    }
    std::vector<TaskRow> out;
    out.reserve(rows.size());
    for (auto& r : rows)
        out.push_back({r.number, r.key, r.deleted, r.values[0].toByteArray(), r.values[1].toByteArray()});
    return out;
}

}  // namespace tolvane
