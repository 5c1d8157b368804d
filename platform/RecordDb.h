#pragma once
// A file of numbered records with named, typed fields and deleted marks, over SQLite.
//
// Records are numbered 1 … count() in the order they were added. Deleting only marks a
// record; purge() removes the marked ones and renumbers the rest densely, keeping their
// order. Each record also has a key that never changes and is never reused, so a holder can
// find "its" record again after a purge has moved the numbers.
//
// Every numbered operation is an indexed look-up: its cost does not grow with the number.
// Not thread-safe: one owner serialises the calls (TaskStore holds one lock per operation).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <map>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tolvane::platform {

enum class FieldKind { Bytes, Text };

struct FieldDef {
    QString name;     // a plain identifier, e.g. "B"
    FieldKind kind;
    int width;        // declared width; informational, values are stored whole
};

// A value to write: a field name and a QByteArray (Bytes) or a QString (Text).
struct FieldValue {
    QString name;
    QVariant value;
};

class RecordDb {
public:
    RecordDb() = default;
    ~RecordDb();
    RecordDb(const RecordDb&) = delete;
    RecordDb& operator=(const RecordDb&) = delete;

    // Creates a new database file at `path` with `fields` in that order. False if a file is
    // already there, or it could not be written. Does not open it.
    [[nodiscard]] static bool create(const QString& path, const std::vector<FieldDef>& fields);

    // Opens the database at `path` (which must exist and have been made by create()).
    [[nodiscard]] bool open(const QString& path);
    bool isOpen() const { return db_ != nullptr; }

    // Number of records, deleted ones included; 0 when not open.
    int count();

    // Appends a record holding `values` (fields not named stay empty) as one transaction.
    // On failure nothing is added. Returns the new record's number, or 0 on failure.
    int append(const std::vector<FieldValue>& values);

    // Writes `values` into record n as one transaction: on failure nothing changes.
    [[nodiscard]] bool update(int n, const std::vector<FieldValue>& values);

    // Deleted mark of record n. markDeleted is false when there is no record n.
    [[nodiscard]] bool markDeleted(int n);
    bool isDeleted(int n);

    // Field of record n; empty when there is no such record or field.
    QByteArray readBytes(int n, const QString& field);
    QString readText(int n, const QString& field);

    // Removes every marked record and renumbers the rest; one transaction.
    [[nodiscard]] bool purge();

    // Stable key of record n (0 if none), and the current number of the record with `key`
    // (0 if it is gone).
    qint64 keyOf(int n);
    int numberOf(qint64 key);

    // Every record in number order with the named fields (Bytes as QByteArray, Text as
    // QString), read in one pass: a consistent view, far cheaper than one look-up per field.
    struct Row {
        int number = 0;
        qint64 key = 0;
        bool deleted = false;
        std::vector<QVariant> values;
    };
    std::vector<Row> readAll(const QStringList& fields);

private:
    bool exec(const char* sql);
    sqlite3_stmt* prepare(const std::string& sql);
    sqlite3* db_ = nullptr;
    std::map<std::string, sqlite3_stmt*> statements_;  // prepared once, finalised on close
    QStringList fieldNames_;
};

}  // namespace tolvane::platform
