#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tolvane::platform {

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Never fall back to writing the target in place: that is the half-written file this
    // function exists to avoid.
    file.setDirectWriteFallback(false);
    // Unbuffered, so a short write (full disk, size limit) fails here: QSaveFile::commit
    // does not look at the result of flushing its buffer and would rename a truncated file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();  // discards the temporary file
        return false;
    }
    return file.commit();
}

bool ReadWholeFile(const QString& path, QByteArray& bytes, bool* missing) {
    bytes.clear();
    QFileInfo info(path);
    if (missing) *missing = !info.exists() && !info.isSymLink();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace tolvane::platform
