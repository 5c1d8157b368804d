#include "platform/AutostartEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/AtomicFile.h"

namespace tolvane::platform {
namespace {

QString EntryPath(const QString& fileName) {
    const QString folder = AutostartFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + fileName;
}

bool Present(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();  // a dangling link still names the entry
}

bool FitsUtf8(const QString& s) {
    return QString::fromUtf8(s.toUtf8()) == s;
}

}  // namespace

QString AutostartFolder() {
    // The base directory rules ignore a relative XDG_CONFIG_HOME; Qt would use it as is.
    const QString env = qEnvironmentVariable("XDG_CONFIG_HOME");
    QString base;
    if (!env.isEmpty() && QDir::isRelativePath(env)) {
        const QString home = QDir::homePath();
        if (!home.isEmpty()) base = home + QStringLiteral("/.config");
    } else {
        base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    }
    if (base.isEmpty()) return {};
    while (base.size() > 1 && base.endsWith(u'/')) base.chop(1);
    return base + QStringLiteral("/autostart");
}

QString QuoteExecArgument(const QString& arg) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = arg.isEmpty();
    for (QChar c : arg) quote = quote || kReserved.contains(c);
    QString out;
    if (quote) out += u'"';
    for (QChar c : arg) {
        if (c == u'%') {
            out += QStringLiteral("%%");  // a lone "%" would start a field code
        } else {
            if (quote && (c == u'"' || c == u'`' || c == u'$' || c == u'\\')) out += u'\\';
            out += c;
        }
    }
    if (quote) out += u'"';
    return out;
}

QString EscapeDesktopValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\') out += QStringLiteral("\\\\");
        else if (c == u'\n') out += QStringLiteral("\\n");
        else if (c == u'\t') out += QStringLiteral("\\t");
        else if (c == u'\r') out += QStringLiteral("\\r");
        else if (c == u' ' && i == 0) out += QStringLiteral("\\s");  // readers drop leading blanks
        else out += c;
    }
    return out;
}

bool DesktopEntryText(const AutostartEntry& entry, QByteArray& out) {
    out.clear();
    QString exec = QuoteExecArgument(entry.program);
    for (const QString& a : entry.arguments) exec += u' ' + QuoteExecArgument(a);
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=%1\n"
                                        "Comment=%2\n"
                                        "Exec=%3\n"
                                        "Terminal=false\n")
                             .arg(EscapeDesktopValue(entry.name), EscapeDesktopValue(entry.comment),
                                  EscapeDesktopValue(exec));
    if (!FitsUtf8(text)) return false;
    out = text.toUtf8();
    return true;
}

bool WriteAutostartEntry(const QString& fileName, const AutostartEntry& entry) {
    const QString path = EntryPath(fileName);
    QByteArray bytes;
    if (path.isEmpty() || !DesktopEntryText(entry, bytes)) return false;
    if (!QDir().mkpath(AutostartFolder())) return false;
    return WriteFileAtomically(path, bytes);
}

bool RemoveAutostartEntry(const QString& fileName) {
    const QString path = EntryPath(fileName);
    if (path.isEmpty()) return false;
    if (!Present(path)) return true;
    return QFile::remove(path);
}

bool HasAutostartEntry(const QString& fileName) {
    const QString path = EntryPath(fileName);
    return !path.isEmpty() && Present(path);
}

}  // namespace tolvane::platform
