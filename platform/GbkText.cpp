#include "platform/GbkText.h"

#include <cerrno>
#include <iconv.h>

namespace tolvane::platform {
namespace {

// Runs one whole conversion; false on any invalid or incomplete sequence.
bool Convert(const char* to, const char* from, const QByteArray& in, QByteArray& out) {
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    QByteArray buffer(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char* dst = buffer.data();
    size_t dstLeft = static_cast<size_t>(buffer.size());
    bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
    if (ok) ok = iconv(cd, nullptr, nullptr, &dst, &dstLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (!ok) return false;
    buffer.truncate(buffer.size() - static_cast<qsizetype>(dstLeft));
    out = buffer;
    return true;
}

}  // namespace

bool EncodeGbk(const QString& text, QByteArray& out) {
    // QString::toUtf8 silently replaces lone surrogates, so test them first.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate()) { out.clear(); return false; }
            ++i;
        } else if (c.isLowSurrogate()) {
            out.clear();
            return false;
        }
    }
    return Convert("GB18030", "UTF-8", text.toUtf8(), out);
}

bool DecodeGbk(const QByteArray& bytes, QString& out) {
    QByteArray utf8;
    if (!Convert("UTF-8", "GB18030", bytes, utf8)) { out.clear(); return false; }
    out = QString::fromUtf8(utf8);
    return true;
}

QByteArray ToGbk(const QString& text) {
    QByteArray out;
    (void)EncodeGbk(text, out);
    return out;
}

QString FromGbk(const QByteArray& bytes) {
    QString out;
    if (DecodeGbk(bytes, out)) return out;
    // Decode piece by piece so one bad byte costs one character, not the whole text.
    out.clear();
    qsizetype i = 0;
    while (i < bytes.size()) {
        bool done = false;
        for (int len : {1, 2, 4}) {
            QString piece;
            if (i + len <= bytes.size() && DecodeGbk(bytes.mid(i, len), piece)) {
                out += piece;
                i += len;
                done = true;
                break;
            }
        }
        if (!done) { out += QChar(0xFFFD); ++i; }
    }
    return out;
}

int GbkLength(const QString& text) {
    return static_cast<int>(ToGbk(text).size());
}

}  // namespace tolvane::platform
