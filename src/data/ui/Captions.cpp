#include "data/ui/Captions.h"

#include "platform/controls/VSFlexGrid.h"

#include <QStringList>

#include <algorithm>

namespace captions {

QString plain(const QString& text)
{
    QString shown = text;
    shown.replace(u'&', QStringLiteral("&&"));
    return shown;
}

void setHeadings(VSFlexGrid& grid, const std::vector<Heading>& headings)
{
    QStringList marks;
    marks.reserve(qsizetype(headings.size()));
    for (const Heading& heading : headings)
        marks << (heading.centred ? QStringLiteral("^") : QString());
    grid.setFormatString(marks.join(u'|'));
    if (grid.Rows() < 1)
        return;
    const int columns = std::min<int>(grid.Cols(), int(headings.size()));
    for (int col = 0; col < columns; ++col)
        grid.setTextMatrix(0, col, headings[std::size_t(col)].text);
}

QString unitHeading(const QString& label, const QString& unit) { return label + QStringLiteral(" (") + unit + QLatin1Char(')'); }

} // namespace captions
