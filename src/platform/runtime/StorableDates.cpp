#include "platform/runtime/StorableDates.h"

namespace vb {

QDate FirstStorableDate() { return QDate(100, 1, 1); }

QDate LastStorableDate()
{
    QDate last(9999, 12, 31);
    return last.addDays(-(last.dayOfWeek() % 7)); // back to its Sunday
}

bool IsStorableDate(const QDate& date) { return date.isValid() && date >= FirstStorableDate() && date <= LastStorableDate(); }

QString WithFullYear(const QString& qtPattern)
{
    QString out;
    qsizetype i = 0;
    while (i < qtPattern.size()) {
        if (qtPattern[i] == u'\'') { // quoted text stays as it is
            const qsizetype close = qtPattern.indexOf(u'\'', i + 1);
            const qsizetype end = close < 0 ? qtPattern.size() : close + 1;
            out += qtPattern.mid(i, end - i);
            i = end;
            continue;
        }
        if (qtPattern[i] != u'y') {
            out += qtPattern[i++];
            continue;
        }
        qsizetype run = 0;
        while (i + run < qtPattern.size() && qtPattern[i + run] == u'y')
            ++run;
        out += QStringLiteral("yyyy");
        i += run;
    }
    return out;
}

} // namespace vb
