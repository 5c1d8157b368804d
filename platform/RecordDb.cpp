#include "platform/RecordDb.h"

#include <QFile>
#include <QRegularExpression>
#include <map>
#include <sqlite3.h>
#include <string>

namespace tolvane::platform {
namespace {

bool ValidName(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch() && name != QLatin1String("key") && name != QLatin1String("num") &&
           name != QLatin1String("deleted");
}

// A prepared statement that resets itself when it goes out of scope.
class Stmt {
public:
    explicit Stmt(sqlite3_stmt* s) : s_(s) {}
    ~Stmt() {
        if (s_) { sqlite3_reset(s_); sqlite3_clear_bindings(s_); }
    }
    sqlite3_stmt* get() const { return s_; }
    explicit operator bool() const { return s_ != nullptr; }

private:
    sqlite3_stmt* s_;
};

bool BindValue(sqlite3_stmt* s, int index, const QVariant& v) {
    if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray b = v.toByteArray();
        return sqlite3_bind_blob(s, index, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT) == SQLITE_OK;
    }
    const QByteArray u = v.toString().toUtf8();
    return sqlite3_bind_text(s, index, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT) == SQLITE_OK;
}

}  // namespace

sqlite3_stmt* RecordDb::prepare(const std::string& sql) {
    auto it = statements_.find(sql);
    if (it != statements_.end()) return it->second;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) return nullptr;
    statements_.emplace(sql, s);
    return s;
}

RecordDb::~RecordDb() {
    if (!db_) return;
    for (auto& [sql, s] : statements_) sqlite3_finalize(s);
    sqlite3_close(db_);
}

bool RecordDb::create(const QString& path, const std::vector<FieldDef>& fields) {
    if (fields.empty() || QFile::exists(path)) return false;
    std::string sql =
        "CREATE TABLE fields(pos INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, kind TEXT NOT NULL, width INTEGER NOT NULL);"
        "CREATE TABLE records(key INTEGER PRIMARY KEY AUTOINCREMENT, num INTEGER NOT NULL UNIQUE, "
        "deleted INTEGER NOT NULL DEFAULT 0";
    std::string meta;
    int pos = 1;
    for (const FieldDef& f : fields) {
        if (!ValidName(f.name)) return false;
        const std::string name = f.name.toStdString();
        const char* kind = f.kind == FieldKind::Bytes ? "BLOB" : "TEXT";
        sql += ", \"" + name + "\" " + kind + " NOT NULL DEFAULT " + (f.kind == FieldKind::Bytes ? "x''" : "''");
        meta += "INSERT INTO fields VALUES(" + std::to_string(pos++) + ",'" + name + "','" +
                (f.kind == FieldKind::Bytes ? "bytes" : "text") + "'," + std::to_string(f.width) + ");";
    }
    sql += ");";
    sqlite3* db = nullptr;
    const QByteArray p = QFile::encodeName(path);
    if (sqlite3_open_v2(p.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    const std::string all = "BEGIN;" + sql + meta + "COMMIT;";
    const bool ok = sqlite3_exec(db, all.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!ok) QFile::remove(path);
    return ok;
}

bool RecordDb::open(const QString& path) {
    if (db_) return true;
    const QByteArray p = QFile::encodeName(path);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(p.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sqlite3_busy_timeout(db, 2000);
    sqlite3_stmt* s = nullptr;
    QStringList names;
    if (sqlite3_prepare_v2(db, "SELECT name FROM fields ORDER BY pos", -1, &s, nullptr) == SQLITE_OK) {
        while (sqlite3_step(s) == SQLITE_ROW)
            names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    }
    sqlite3_finalize(s);
    if (names.isEmpty()) {
        sqlite3_close(db);
        return false;
    }
    db_ = db;
    fieldNames_ = names;
    return true;
}

bool RecordDb::exec(const char* sql) {
    return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

int RecordDb::count() {
    if (!db_) return 0;
    // Numbers are dense, so the highest one is the count: an index look-up, not a scan.
    Stmt s(prepare("SELECT IFNULL(MAX(num), 0) FROM records"));
    if (!s || sqlite3_step(s.get()) != SQLITE_ROW) return 0;
    return sqlite3_column_int(s.get(), 0);
}

int RecordDb::append(const std::vector<FieldValue>& values) {
    if (!db_ || !exec("BEGIN IMMEDIATE")) return 0;
    int n = 0;
    {
        Stmt s(prepare("INSERT INTO records(num) SELECT IFNULL(MAX(num), 0) + 1 FROM records"));
        if (s && sqlite3_step(s.get()) == SQLITE_DONE) n = count();
    }
    if (n > 0 && !values.empty() && !update(n, values)) n = 0;
    if (n > 0 && exec("COMMIT")) return n;
    exec("ROLLBACK");
    return 0;
}

bool RecordDb::update(int n, const std::vector<FieldValue>& values) {
    if (!db_) return false;
    std::string sql = "UPDATE records SET ";
    for (size_t i = 0; i < values.size(); ++i) {
        if (!fieldNames_.contains(values[i].name)) return false;
        sql += (i ? ", \"" : "\"") + values[i].name.toStdString() + "\" = ?";
    }
    if (values.empty()) return numberOf(keyOf(n)) == n && n > 0;
    sql += " WHERE num = ?";
    // One UPDATE statement is atomic by itself, also inside append's transaction.
    Stmt s(prepare(sql));
    if (!s) return false;
    for (size_t i = 0; i < values.size(); ++i)
        if (!BindValue(s.get(), static_cast<int>(i) + 1, values[i].value)) return false;
    sqlite3_bind_int(s.get(), static_cast<int>(values.size()) + 1, n);
    return sqlite3_step(s.get()) == SQLITE_DONE && sqlite3_changes(db_) == 1;
}

bool RecordDb::markDeleted(int n) {
    if (!db_) return false;
    Stmt s(prepare("UPDATE records SET deleted = 1 WHERE num = ?"));
    if (!s) return false;
    sqlite3_bind_int(s.get(), 1, n);
    return sqlite3_step(s.get()) == SQLITE_DONE && sqlite3_changes(db_) == 1;
}

bool RecordDb::isDeleted(int n) {
    if (!db_) return false;
    Stmt s(prepare("SELECT deleted FROM records WHERE num = ?"));
    if (!s) return false;
    sqlite3_bind_int(s.get(), 1, n);
    return sqlite3_step(s.get()) == SQLITE_ROW && sqlite3_column_int(s.get(), 0) != 0;
}

QByteArray RecordDb::readBytes(int n, const QString& field) {
    if (!db_ || !fieldNames_.contains(field)) return {};
    Stmt s(prepare("SELECT \"" + field.toStdString() + "\" FROM records WHERE num = ?"));
    if (!s) return {};
    sqlite3_bind_int(s.get(), 1, n);
    if (sqlite3_step(s.get()) != SQLITE_ROW) return {};
    const void* data = sqlite3_column_blob(s.get(), 0);
    const int size = sqlite3_column_bytes(s.get(), 0);
    return QByteArray(static_cast<const char*>(data), size);
}

QString RecordDb::readText(int n, const QString& field) {
    if (!db_ || !fieldNames_.contains(field)) return {};
    Stmt s(prepare("SELECT \"" + field.toStdString() + "\" FROM records WHERE num = ?"));
    if (!s) return {};
    sqlite3_bind_int(s.get(), 1, n);
    if (sqlite3_step(s.get()) != SQLITE_ROW) return {};
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
    return QString::fromUtf8(text, sqlite3_column_bytes(s.get(), 0));
}

bool RecordDb::purge() {
    if (!db_ || !exec("BEGIN IMMEDIATE")) return false;
    // Renumbering in increasing order never collides: each survivor moves to a number that
    // was held by a removed record or by itself.
    bool ok = exec("DELETE FROM records WHERE deleted <> 0");
    if (ok) {
        Stmt select(prepare("SELECT key, num FROM records ORDER BY num"));
        std::vector<std::pair<qint64, int>> moves;
        int next = 1;
        while (select && sqlite3_step(select.get()) == SQLITE_ROW) {
            const qint64 key = sqlite3_column_int64(select.get(), 0);
            if (sqlite3_column_int(select.get(), 1) != next) moves.emplace_back(key, next);
            ++next;
        }
        for (const auto& [key, num] : moves) {
            Stmt s(prepare("UPDATE records SET num = ? WHERE key = ?"));
            sqlite3_bind_int(s.get(), 1, num);
            sqlite3_bind_int64(s.get(), 2, key);
            if (sqlite3_step(s.get()) != SQLITE_DONE) { ok = false; break; }
        }
    }
    if (ok && exec("COMMIT")) return true;
    exec("ROLLBACK");
    return false;
}

qint64 RecordDb::keyOf(int n) {
    if (!db_) return 0;
    Stmt s(prepare("SELECT key FROM records WHERE num = ?"));
    if (!s) return 0;
    sqlite3_bind_int(s.get(), 1, n);
    return sqlite3_step(s.get()) == SQLITE_ROW ? sqlite3_column_int64(s.get(), 0) : 0;
}

int RecordDb::numberOf(qint64 key) {
    if (!db_ || key <= 0) return 0;
    Stmt s(prepare("SELECT num FROM records WHERE key = ?"));
    if (!s) return 0;
    sqlite3_bind_int64(s.get(), 1, key);
    return sqlite3_step(s.get()) == SQLITE_ROW ? sqlite3_column_int(s.get(), 0) : 0;
}

}  // namespace tolvane::platform

namespace tolvane::platform {

std::vector<RecordDb::Row> RecordDb::readAll(const QStringList& fields) {
    std::vector<Row> rows;
    if (!db_) return rows;
    std::string sql = "SELECT num, key, deleted";
    for (const QString& f : fields) {
        if (!fieldNames_.contains(f)) return rows;
        sql += ", \"" + f.toStdString() + "\"";
    }
    sql += " FROM records ORDER BY num";
    Stmt s(prepare(sql));
    if (!s) return rows;
    while (sqlite3_step(s.get()) == SQLITE_ROW) {
        Row row;
        row.number = sqlite3_column_int(s.get(), 0);
        row.key = sqlite3_column_int64(s.get(), 1);
        row.deleted = sqlite3_column_int(s.get(), 2) != 0;
        for (int i = 0; i < fields.size(); ++i) {
            const int col = i + 3;
            if (sqlite3_column_type(s.get(), col) == SQLITE_BLOB)
                row.values.emplace_back(QByteArray(static_cast<const char*>(sqlite3_column_blob(s.get(), col)),
                                                   sqlite3_column_bytes(s.get(), col)));
            else
                row.values.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), col)),
                                                          sqlite3_column_bytes(s.get(), col)));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tolvane::platform
