#pragma once
// Small file helpers shared by the test binaries.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace tolvane::test {

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// While alive, no file of this process may grow past `bytes` (a full disk, for any user,
// root included); a write past it fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = old_;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// Makes `dir` read-only while alive. `effective()` is false when the process may write there
// anyway (running as root), so a test can skip what it cannot show.
class ReadOnlyDir {
public:
    explicit ReadOnlyDir(QString dir) : dir_(std::move(dir)) {
        QFile::setPermissions(dir_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        effective_ = access(QFile::encodeName(dir_).constData(), W_OK) != 0;
    }
    ~ReadOnlyDir() {
        QFile::setPermissions(dir_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool effective() const { return effective_; }

private:
    QString dir_;
    bool effective_ = false;
};

}  // namespace tolvane::test
