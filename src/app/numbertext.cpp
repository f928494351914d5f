#include "app/numbertext.h"

int32_t NumberOr(QStringView text, int32_t d) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return d;
    // The magnitude may reach 2^31 for the most negative number; stop before it can grow further.
    constexpr int64_t limit = int64_t{1} << 31;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return d;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > limit)
            return d;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        return d;
    return static_cast<int32_t>(value);
}
