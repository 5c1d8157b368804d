#pragma once
// One key at a time of a GBK (GB18030) INI file.
//
// Reading never caches: every call reads the file. Writing a key changes only that key's
// line (or appends the key to its section, or a new section at the end of the file); every
// other byte stays as it was. A write replaces the file atomically (a temporary file beside
// it, then a rename), so a crash never leaves a half-written file. Both programs of the
// system read what the other writes. Safe to call from any thread; two writers of the same
// file in one process are serialised.
#include <QString>

namespace tolvane::platform {

class IniFile {
public:
    explicit IniFile(QString path);

    const QString& path() const { return path_; }

    // The value of `key` in `section` (section and key names compare case-insensitively,
    // surrounding blanks of the value are dropped); `fallback` when the file, the section or
    // the key is missing.
    QString read(const QString& section, const QString& key, const QString& fallback = {}) const;

    // Writes `value` for `key` in `section`. False when the file could not be written (the
    // old file is then unchanged) or when the value cannot be stored (a line break in it).
    // Also false, with the file untouched, when the file exists but cannot be read, when a
    // name could not be found again as written (empty, surrounding blanks, "]" in a section
    // name, "=" or a leading ";", "#" or "[" in a key name), or when a text holds an unpaired
    // UTF-16 surrogate. New lines follow the file's first line ending, CR LF in a new file.
    [[nodiscard]] bool write(const QString& section, const QString& key, const QString& value);

private:
    QString path_;
};

}  // namespace tolvane::platform
