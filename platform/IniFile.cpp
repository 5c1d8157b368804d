#include "platform/IniFile.h"

#include <mutex>
#include <optional>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/GbkText.h"

namespace tolvane::platform {
namespace {

// One writer at a time in this process, so two read-modify-write rounds never lose a key.
std::mutex& WriteMutex() {
    static std::mutex m;
    return m;
}

// A line as raw bytes plus its own terminator ("\r\n", "\n", or "" for a last line without
// one), so untouched lines go back byte for byte.
struct Line {
    QByteArray text;
    QByteArray eol;
};

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    QString name;   // section or key name
    QString value;  // key lines only, blanks dropped
};

std::vector<Line> SplitLines(const QByteArray& data) {
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype nl = data.indexOf('\n', start);
        if (nl < 0) {
            lines.push_back({data.mid(start), {}});
            break;
        }
        Line line{data.mid(start, nl - start), "\n"};
        if (line.text.endsWith('\r')) {
            line.text.chop(1);
            line.eol = "\r\n";
        }
        lines.push_back(std::move(line));
        start = nl + 1;
    }
    return lines;
}

// GB18030 trail bytes are 0x30-0x39 and 0x40-0xFE, so '\n', '\r' and '=' never occur inside
// a multi-byte character and may be searched for in the raw bytes. '[' and ']' may, so
// structure is judged on the decoded text.
Parsed ParseLine(const QByteArray& raw) {
    Parsed p;
    const QString line = FromGbk(raw).trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) return p;
    if (line.startsWith(u'[')) {
        const qsizetype close = line.indexOf(u']');
        if (close > 0) {
            p.kind = Kind::Section;
            p.name = line.mid(1, close - 1).trimmed();
        }
        return p;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) return p;
    p.kind = Kind::Key;
    p.name = line.left(eq).trimmed();
    p.value = line.mid(eq + 1).trimmed();
    return p;
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the first line holding `key` in any section named `section`.
std::optional<size_t> FindKey(const std::vector<Line>& lines, const std::vector<Parsed>& parsed,
                              const QString& section, const QString& key) {
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (parsed[i].kind == Kind::Section) inSection = SameName(parsed[i].name, section);
        else if (inSection && parsed[i].kind == Kind::Key && SameName(parsed[i].name, key)) return i;
    }
    return std::nullopt;
}

bool HasLineBreak(const QString& s) {
    return s.contains(u'\n') || s.contains(u'\r');
}

// Names that the reader would not find again as written are refused.
bool ValidSection(const QString& s) {
    return !s.isEmpty() && s.trimmed() == s && !s.contains(u']') && !HasLineBreak(s);
}

bool ValidKey(const QString& k) {
    return !k.isEmpty() && k.trimmed() == k && !k.contains(u'=') && !HasLineBreak(k) &&
           !k.startsWith(u';') && !k.startsWith(u'#') && !k.startsWith(u'[');
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::read(const QString& section, const QString& key, const QString& fallback) const {
    QByteArray data;
    if (!ReadWholeFile(path_, data)) return fallback;
    const std::vector<Line> lines = SplitLines(data);
    std::vector<Parsed> parsed;
    parsed.reserve(lines.size());
    for (const Line& l : lines) parsed.push_back(ParseLine(l.text));
    const auto at = FindKey(lines, parsed, section, key);
    return at ? parsed[*at].value : fallback;
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) {
    if (!ValidSection(section) || !ValidKey(key) || HasLineBreak(value)) return false;
    QByteArray sectionBytes, keyBytes, valueBytes;
    if (!EncodeGbk(section, sectionBytes) || !EncodeGbk(key, keyBytes) || !EncodeGbk(value, valueBytes))
        return false;

    std::lock_guard lock(WriteMutex());
    QByteArray data;
    bool missing = false;
    // A file that exists but cannot be read must not be replaced by one holding a single key.
    if (!ReadWholeFile(path_, data, &missing) && !missing) return false;

    std::vector<Line> lines = SplitLines(data);
    std::vector<Parsed> parsed;
    parsed.reserve(lines.size());
    for (const Line& l : lines) parsed.push_back(ParseLine(l.text));
    // New lines follow the file's own line ending.
    QByteArray eol = "\r\n";
    if (!lines.empty() && !lines.front().eol.isEmpty()) eol = lines.front().eol;

    if (const auto at = FindKey(lines, parsed, section, key)) {
        // Keep the key as spelled and the spacing around "=", replace only the value.
        QByteArray& text = lines[*at].text;
        qsizetype cut = text.indexOf('=') + 1;
        while (cut < text.size() && (text[cut] == ' ' || text[cut] == '\t')) ++cut;
        text = text.left(cut) + valueBytes;
    } else {
        const Line keyLine{keyBytes + '=' + valueBytes, eol};
        std::optional<size_t> header;
        for (size_t i = 0; i < lines.size() && !header; ++i)
            if (parsed[i].kind == Kind::Section && SameName(parsed[i].name, section)) header = i;
        if (header) {
            // After the section's last non-blank line, so blank lines before the next
            // section stay between the sections.
            size_t after = *header;
            for (size_t i = *header + 1; i < lines.size() && parsed[i].kind != Kind::Section; ++i)
                if (!FromGbk(lines[i].text).trimmed().isEmpty()) after = i;
            if (lines[after].eol.isEmpty()) lines[after].eol = eol;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after) + 1, keyLine);
        } else {
            if (!lines.empty() && lines.back().eol.isEmpty()) lines.back().eol = eol;
            lines.push_back({'[' + sectionBytes + ']', eol});
            lines.push_back(keyLine);
        }
    }

    QByteArray out;
    out.reserve(data.size() + valueBytes.size() + keyBytes.size() + sectionBytes.size() + 8);
    for (const Line& l : lines) out += l.text + l.eol;
    return WriteFileAtomically(path_, out);
}

}  // namespace tolvane::platform
