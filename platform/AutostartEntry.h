#pragma once
// Starting a program at logon through an XDG autostart entry (a Desktop Entry file in the
// user's autostart folder).
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tolvane::platform {

struct AutostartEntry {
    QString name;           // Name key
    QString comment;        // Comment key
    QString program;        // absolute path of the executable
    QStringList arguments;  // passed to it as given
};

// The user's autostart folder, without a trailing "/": $XDG_CONFIG_HOME/autostart, or
// ~/.config/autostart when that variable is unset or not an absolute path. Empty when no
// home folder is known. Reads the environment on every call; any thread.
QString AutostartFolder();

// One argument of an Exec value, quoted so that a launcher following the Desktop Entry
// rules hands the program exactly `arg`: "%" doubled, and, when the argument holds a
// reserved character or is empty, double quotes around it with '"', '`', '$' and '\'
// backslash-escaped inside. This is the form before the file's own string escaping.
QString QuoteExecArgument(const QString& arg);

// A value of a Desktop Entry key with the string escapes applied: "\\", "\n", "\t", "\r",
// and "\s" for a leading space.
QString EscapeDesktopValue(const QString& value);

// The UTF-8 text of the entry file. False (and `out` empty) when a text holds an unpaired
// UTF-16 surrogate, which UTF-8 cannot hold.
[[nodiscard]] bool DesktopEntryText(const AutostartEntry& entry, QByteArray& out);

// Writes the entry as AutostartFolder()/`fileName`, replacing any file there atomically and
// creating the folder if needed. False when nothing could be written; an older entry is
// then left as it was.
[[nodiscard]] bool WriteAutostartEntry(const QString& fileName, const AutostartEntry& entry);

// Removes AutostartFolder()/`fileName`. True when it is gone afterwards, including when it
// was never there (nothing is touched then); false when the removal failed or the folder
// is unknown.
[[nodiscard]] bool RemoveAutostartEntry(const QString& fileName);

// Whether a file (or link) named `fileName` is in the autostart folder. Its content is not
// looked at.
bool HasAutostartEntry(const QString& fileName);

}  // namespace tolvane::platform
