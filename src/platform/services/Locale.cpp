#include "platform/services/Locale.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace services {

namespace {

bool IsFieldLetter(QChar c) { return c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y'); }

} // namespace

QString VbDatePattern(const QString& pattern)
{
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != QLatin1Char('%') || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        ++i;
        // GNU padding flags: "-" (none) and "_" (blank) make a day or month unpadded.
        bool unpadded = false;
        while (i < pattern.size() && QStringLiteral("-_0^#").contains(pattern[i])) {
            if (pattern[i] == QLatin1Char('-') || pattern[i] == QLatin1Char('_'))
                unpadded = true;
            ++i;
        }
        while (i < pattern.size() && pattern[i].isDigit())
            ++i; // field width
        if (i < pattern.size() && (pattern[i] == QLatin1Char('E') || pattern[i] == QLatin1Char('O')))
            ++i; // alternative representations
        if (i >= pattern.size())
            break;
        switch (pattern[i].unicode()) {
        case 'd': out += unpadded ? QStringLiteral("d") : QStringLiteral("dd"); break;
        case 'e': out += QStringLiteral("d"); break;
        case 'm': out += unpadded ? QStringLiteral("M") : QStringLiteral("MM"); break;
        case 'y': out += QStringLiteral("yy"); break;
        case 'Y':
        case 'G': out += QStringLiteral("yyyy"); break;
        case 'b':
        case 'h': out += QStringLiteral("MMM"); break;
        case 'B': out += QStringLiteral("MMMM"); break;
        case 'a': out += QStringLiteral("ddd"); break;
        case 'A': out += QStringLiteral("dddd"); break;
        case 'D': out += QStringLiteral("MM/dd/yy"); break;
        case 'F': out += QStringLiteral("yyyy-MM-dd"); break;
        case '%': out += QLatin1Char('%'); break;
        case 'n': out += QLatin1Char(' '); break;
        case 't': out += QLatin1Char(' '); break;
        default: break; // nothing a short date shows
        }
    }
    return out;
}

QString DateSeparatorOf(const QString& pattern)
{
    qsizetype i = 0;
    while (i < pattern.size() && !IsFieldLetter(pattern[i]))
        ++i;
    if (i >= pattern.size())
        return {};
    const QChar field = pattern[i];
    while (i < pattern.size() && pattern[i] == field)
        ++i;
    QString separator;
    while (i < pattern.size() && !IsFieldLetter(pattern[i]))
        separator += pattern[i++];
    if (i >= pattern.size())
        return {}; // one field only
    return separator;
}

QString SystemLocale::DateFormat()
{
    // The user's locale is read without switching the process's own (setlocale would change how
    // the C library reads and writes numbers for the whole program).
    locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (!user)
        user = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    if (!user)
        return QStringLiteral("%m/%d/%y");
    const QString format = QString::fromUtf8(nl_langinfo_l(D_FMT, user));
    freelocale(user);
    return format.isEmpty() ? QStringLiteral("%m/%d/%y") : format;
}

QString SystemLocale::ShortDatePattern() { return VbDatePattern(DateFormat()); }

QString SystemLocale::DateSeparator() { return DateSeparatorOf(ShortDatePattern()); }

} // namespace services
