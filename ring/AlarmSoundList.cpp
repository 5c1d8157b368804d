#include "ring/AlarmSoundList.h"

#include <QFileInfo>

#include "platform/AtomicFile.h"
#include "platform/GbkText.h"
#include "platform/LeadingInt.h"

namespace tolvane {
namespace {

const QString kLineBreak = QStringLiteral("\r\n");

bool HasLineBreak(const QString& s) {
    return s.contains(u'\n') || s.contains(u'\r');
}

bool Encodable(const QString& s) {
    QByteArray ignored;
    return platform::EncodeGbk(s, ignored);
}

// The name is only shown, so it is adjusted rather than refused: refusing would make the
// whole list unsaveable over one character.
QString StorableName(QString name) {
    name.replace(u'|', QChar(0xFF5C));
    name.replace(kLineBreak, QStringLiteral(" "));
    name.replace(u'\r', u' ');
    name.replace(u'\n', u' ');
    return name;
}

// Splits at every CR LF; an empty piece after the last separator is not a line.
QStringList SplitLines(const QString& text) {
    QStringList lines = text.split(kLineBreak);
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

AlarmSoundList::AlarmSoundList(QString runDir) : path_(runDir + QStringLiteral("/music.db")) {
    const QFileInfo info(path_);
    if (info.exists() || info.isSymLink()) return;
    const QList<AlarmSound> defaults{
        {1, 1, QStringLiteral("卡农(默认闹铃1)"), runDir + QStringLiteral("/默认闹铃.mp3")},
        {1, 15, QStringLiteral("机械闹钟(默认闹铃2)"), runDir + QStringLiteral("/默认闹铃2.mp3")},
    };
    (void)SaveSounds(QStringLiteral("0"), defaults);
}

bool AlarmSoundList::CanStore(const AlarmSound& sound) {
    return !HasLineBreak(sound.filePath) && !sound.filePath.contains(QChar(0xFFFD)) &&
           Encodable(sound.filePath) && Encodable(sound.name);
}

bool AlarmSoundList::SaveSounds(const QString& flag, const QList<AlarmSound>& sounds) const {
    if (HasLineBreak(flag)) return false;
    QString text = flag;
    for (const AlarmSound& s : sounds) {
        if (!CanStore(s)) return false;
        text += kLineBreak + QString::number(s.enabled) + u'|' + QString::number(s.playCount) + u'|' +
                StorableName(s.name) + u'|' + s.filePath;
    }
    QByteArray bytes;
    if (!platform::EncodeGbk(text, bytes)) return false;
    return platform::WriteFileAtomically(path_, bytes);
}

QString AlarmSoundList::LoadSounds(QList<AlarmSound>& sounds) const {
    sounds.clear();
    QByteArray bytes;
    if (!platform::ReadWholeFile(path_, bytes)) return {};
    const QStringList lines = SplitLines(platform::FromGbk(bytes));
    if (lines.isEmpty()) return {};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        // The first three "|" end the numbers and the name; the path is the rest of the
        // line, so a path holding "|" (even at its end) reads back whole. A line with fewer
        // fields leaves the missing ones zero or empty.
        QString fields[3];
        qsizetype start = 0;
        int n = 0;
        for (; n < 3; ++n) {
            const qsizetype bar = line.indexOf(u'|', start);
            if (bar < 0) break;
            fields[n] = line.mid(start, bar - start);
            start = bar + 1;
        }
        AlarmSound s;
        if (n < 3) fields[n] = line.mid(start);  // the last, unterminated field
        else s.filePath = line.mid(start);
        s.enabled = platform::ParseLeadingInt(fields[0]);
        s.playCount = platform::ParseLeadingInt(fields[1]);
        s.name = fields[2];
        sounds.append(s);
    }
    return lines.front();
}

}  // namespace tolvane
