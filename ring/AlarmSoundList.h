#pragma once
// The alarm sound list in music.db: a play-order flag line, then one line per sound.
//
// The file is GBK text written as GB18030 (the superset that is byte for byte the same on
// every GBK character): lines joined by CR LF with none after the last, line 1 the flag
// ("0" in order, "1" shuffled), every further line enabled|playCount|name|filePath.
// Nothing is kept in memory: every load reads the file, every save replaces it.
//
// Thread-safety: the object only holds the path; any thread may call. Loads and saves are
// whole-file operations, and a save replaces the file atomically, so a concurrent load sees
// either the old list or the new one.
#include <QList>
#include <QString>
#include <QtGlobal>

namespace tolvane {

// One sound of the list; a plain value.
struct AlarmSound {
    qint32 enabled = 0;    // the sound rings only when this is exactly 1
    qint32 playCount = 0;  // plays in a row when its turn comes
    QString name;          // display name
    QString filePath;      // full path of the wav, mid or mp3 file

    friend bool operator==(const AlarmSound&, const AlarmSound&) = default;
};

class AlarmSoundList {
public:
    // `runDir` is the program's folder without a trailing "/"; the file is
    // runDir + "/music.db". When that file is missing, writes the default list: flag "0",
    // "卡农(默认闹铃1)" (1 play) and "机械闹钟(默认闹铃2)" (15 plays) with the full paths of
    // the two sound files shipped in `runDir`. A failure to write it is not reported; loads
    // then give an empty list.
    explicit AlarmSoundList(QString runDir);

    const QString& path() const { return path_; }

    // Whether `sound` can be saved so that it loads back as the same entry: false when its
    // path holds a line break, U+FFFD (what a file name whose bytes are not valid text
    // decodes to) or an unpaired surrogate, or its name holds an unpaired surrogate.
    // Windows that take paths from the user check this first and say why.
    static bool CanStore(const AlarmSound& sound);

    // Replaces the file with `flag` and `sounds` in order. In a name, "|" is written as the
    // full-width "｜" and each line break as a space, so the name cannot cut the line; a
    // path may hold "|" (it is the rest of its line). False, with the file unchanged, when
    // the write fails, when `flag` holds a line break, or when any sound fails CanStore.
    [[nodiscard]] bool SaveSounds(const QString& flag, const QList<AlarmSound>& sounds) const;

    // Sets `sounds` to the entries of the file and returns the flag line's text as stored
    // (callers judge it). A missing, unreadable or empty file gives an empty list and empty
    // text. Never fails on a malformed line: a missing or non-numeric number reads as 0
    // (leading digits count, "3x" is 3), a missing name or path as empty text, and an empty
    // line as an entry of zeros. A trailing CR LF adds no entry.
    QString LoadSounds(QList<AlarmSound>& sounds) const;

private:
    QString path_;
};

}  // namespace tolvane
