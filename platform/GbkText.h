#pragma once
// Conversion between Qt text and the GBK bytes of the program's files, over glibc iconv.
//
// The files are written as GB18030, the superset of GBK that is byte for byte the same on
// every GBK character, so any character a user types survives a round trip while every
// GBK file still reads as before. All functions are thread-safe (each call owns its iconv
// descriptor).
#include <QByteArray>
#include <QString>

namespace tolvane::platform {

// Sets `out` to the GB18030 bytes of `text`. False (and `out` empty) when the text cannot be
// encoded, which only happens for unpaired UTF-16 surrogates.
[[nodiscard]] bool EncodeGbk(const QString& text, QByteArray& out);

// Sets `out` to the text of the GBK/GB18030 bytes. False (and `out` empty) when the bytes are
// not valid GB18030.
[[nodiscard]] bool DecodeGbk(const QByteArray& bytes, QString& out);

// Convenience forms: an unencodable text gives empty bytes; invalid bytes decode with
// U+FFFD in place of each bad byte.
QByteArray ToGbk(const QString& text);
QString FromGbk(const QByteArray& bytes);

// Length of `text` in GBK bytes (a Chinese character counts 2), as entry boxes count it.
int GbkLength(const QString& text);

}  // namespace tolvane::platform
