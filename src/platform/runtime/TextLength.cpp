#include "platform/runtime/TextLength.h"

#include <algorithm>

namespace vb {

qsizetype characterCount(QStringView text)
{
    qsizetype count = text.size();
    const char16_t* p = text.utf16();
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        if (QChar::isHighSurrogate(p[i]) && QChar::isLowSurrogate(p[i + 1])) {
            --count;
            ++i;
        }
    return count;
}

qsizetype unitsBefore(QStringView text, qsizetype end, qsizetype characters)
{
    end = std::clamp<qsizetype>(end, 0, text.size());
    const char16_t* p = text.utf16();
    qsizetype i = end;
    for (; characters > 0 && i > 0; --characters) {
        --i;
        if (i > 0 && QChar::isLowSurrogate(p[i]) && QChar::isHighSurrogate(p[i - 1]))
            --i;
    }
    return end - i;
}

qsizetype typedExcess(QStringView text, qsizetype caret, qsizetype before, qsizetype limit)
{
    const qsizetype excess = characterCount(text) - std::max(before, limit);
    return excess > 0 ? unitsBefore(text, caret, excess) : 0;
}

} // namespace vb
