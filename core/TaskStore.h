#pragma once
// The task database task.edb: one TaskRecord per alarm task.
//
// Fields, in order: B (bytes: enabled flag, recurrence type, day flags), C (bytes: hour,
// minute, second), D (text: prompt flag and prompt), E (text: independent alarm flag|count|
// path). Record 1 is the countdown slot; ordinary tasks are records 2 and up. Records are
// numbered from 1 in the order added; deleting marks a record, Purge removes the marked ones
// and moves every following record down. Each record also has a stable key (never reused)
// so that a holder of a record can find the same task again after a purge.
//
// Thread-safety: every operation is one indivisible step (one lock per operation); any
// thread may call any operation. Record numbers obtained earlier may name another record
// after a purge ran on another thread; keys never do.
#include <QByteArray>
#include <QString>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/RecordDb.h"

namespace tolvane {

// The four fields of a task; a field left empty is "not supplied".
struct TaskFields {
    std::optional<QByteArray> B;
    std::optional<QByteArray> C;
    std::optional<QString> D;
    std::optional<QString> E;
};

// One record as seen by a single consistent read of the whole store.
struct TaskRow {
    int number = 0;
    qint64 key = 0;
    bool deleted = false;
    QByteArray B;
    QByteArray C;
};

// Recurrence types, byte 1 of field B.
enum TaskType : unsigned char {
    kOnce = 0, kDaily = 1, kWeekly = 2, kMonthly = 3, kCountdown = 5, kDelayed = 6
};

class TaskStore {
public:
    // `runDir` is the program's folder; the database is runDir + "/task.edb".
    explicit TaskStore(const QString& runDir);
    TaskStore(const TaskStore&) = delete;
    TaskStore& operator=(const TaskStore&) = delete;

    const QString& path() const { return path_; }

    bool Exists() const;
    // Creates the database file with fields B, C, D, E; false if it exists or cannot be made.
    // Does not open it.
    [[nodiscard]] bool Create();
    // True if the database is open afterwards; returns at once when it already is.
    [[nodiscard]] bool Open();
    // Removes the records marked deleted; the rest are renumbered densely, order kept.
    // False when the purge failed (the store is then as it was).
    bool Purge();
    // Number of records, deleted ones included (0 when not open).
    int RecordCount();
    // Appends a record. All four fields must be supplied. False (and the store unchanged)
    // when a field is missing or the write failed.
    [[nodiscard]] bool AddRecord(const TaskFields& fields);
    // Writes the supplied fields of record n; the others keep their values. False (and
    // record n unchanged) when there is no record n or the write failed.
    [[nodiscard]] bool UpdateRecord(int n, const TaskFields& fields);
    // Marks record n deleted (nothing happens when there is none).
    void DeleteRecord(int n);
    bool IsDeleted(int n);
    // Fields of record n; empty when there is no record n.
    QByteArray ReadB(int n);
    QByteArray ReadC(int n);
    QString ReadD(int n);
    QString ReadE(int n);

    // Stable keys. KeyOf gives 0 when there is no record n; NumberOfKey gives 0 when the
    // record with `key` has been purged.
    qint64 KeyOf(int n);
    int NumberOfKey(qint64 key);
    // Field D of the record with `key` (empty when gone), and its deleted mark (false when
    // gone): each one step, so a purge on another thread cannot slip in between.
    QString ReadDOfKey(qint64 key);
    [[nodiscard]] bool DeleteKey(qint64 key);
    // Whether the record with `key` still exists and is not marked deleted.
    bool IsLiveKey(qint64 key);

    // Every record, in number order, with B and C: one consistent read.
    std::vector<TaskRow> Snapshot();

private:
    const QString path_;
    std::mutex mutex_;           // one lock per operation
    platform::RecordDb db_;      // guarded by mutex_
};

}  // namespace tolvane
