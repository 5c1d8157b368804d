#pragma once
// Whole-file replacement that a crash or a full disk cannot leave half done.
#include <QByteArray>
#include <QString>

namespace tolvane::platform {

// Replaces the file at `path` with `bytes`: the bytes go to a temporary file in the same
// folder, which is then renamed over `path`. False when any step fails; the file at `path`
// is then exactly as before (or still missing) and no temporary file is left behind. An
// existing file keeps its permissions. Any thread may call; writers of the same path must be
// serialised by the caller if they read-modify-write.
[[nodiscard]] bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Reads the whole file at `path` into `bytes`. False (and `bytes` empty) when the file is
// missing or cannot be read; `missing` (if given) tells the two apart.
[[nodiscard]] bool ReadWholeFile(const QString& path, QByteArray& bytes, bool* missing = nullptr);

}  // namespace tolvane::platform
