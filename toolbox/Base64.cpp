#include "toolbox/Base64.h"

namespace tolvane::toolbox {

namespace {

int Position(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

}  // namespace

QByteArray Base64Decode(const QByteArray& text) {
    const qsizetype n = text.size();
    if (n < 1 || n % 4 != 0)
        return {};
    QByteArray bytes = text;
    // Closing padding reads as "A", which contributes only zero bits.
    if (bytes[n - 1] == '=') {
        bytes[n - 1] = 'A';
        if (bytes[n - 2] == '=')
            bytes[n - 2] = 'A';
    }
    QByteArray out;
    out.reserve(n / 4 * 3);
    for (qsizetype i = 0; i < n; i += 4) {
        const int a = Position(bytes[i]);
        const int b = Position(bytes[i + 1]);
        const int c = Position(bytes[i + 2]);
        const int d = Position(bytes[i + 3]);
        if (a < 0 || b < 0 || c < 0 || d < 0)
            return {};
        const unsigned char yielded[3] = {
            static_cast<unsigned char>((a * 4 + b / 16) % 256),
            static_cast<unsigned char>((b * 16 + c / 4) % 256),
            static_cast<unsigned char>((c * 64 + d) % 256)};
        for (unsigned char y : yielded)
            if (y != 0)
                out.append(static_cast<char>(y));
    }
    return out;
}

QByteArray PadBase64(QByteArray stored) {
    while (stored.size() % 4 != 0)
        stored.append('=');
    return stored;
}

}  // namespace tolvane::toolbox
