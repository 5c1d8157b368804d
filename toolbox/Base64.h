#pragma once
// Decoding of the Base64 texts in which the toolbox stores its dialogue texts.
#include <QByteArray>

namespace tolvane::toolbox {

// Decodes standard Base64 (RFC 4648 alphabet). The result is empty when the input is empty,
// its length is not a multiple of 4, or it holds a byte outside the alphabet (other than
// the one or two closing "="). Decoded bytes of value 0 are dropped, so the padding leaves
// no trace.
QByteArray Base64Decode(const QByteArray& text);

// Appends "=" to `stored` until its length is a multiple of 4, as the stored texts need
// before decoding.
QByteArray PadBase64(QByteArray stored);

}  // namespace tolvane::toolbox
