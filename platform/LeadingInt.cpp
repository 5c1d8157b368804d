#include "platform/LeadingInt.h"

#include <limits>

namespace tolvane::platform {

qint32 ParseLeadingInt(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate in 64 bits and stop growing once past the range, so long digit runs
    // clamp instead of wrapping.
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (value <= kLimit) value = value * 10 + (text[i].unicode() - u'0');
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<qint32>::max()) return std::numeric_limits<qint32>::max();
    if (value < std::numeric_limits<qint32>::min()) return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(value);
}

}  // namespace tolvane::platform
