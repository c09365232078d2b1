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

QString fittingInsert(QStringView inserted, qsizetype present, qsizetype replaced, qsizetype limit)
{
    qsizetype room = std::max(present, limit) - present + replaced;
    const char16_t* p = inserted.utf16();
    qsizetype units = 0;
    for (; room > 0 && units < inserted.size(); --room) {
        const bool pair = units + 1 < inserted.size() && QChar::isHighSurrogate(p[units]) && QChar::isLowSurrogate(p[units + 1]);
        units += pair ? 2 : 1;
    }
    return inserted.left(units).toString();
}

} // namespace vb
