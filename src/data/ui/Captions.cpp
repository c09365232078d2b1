#include "data/ui/Captions.h"

#include "platform/controls/VSFlexGrid.h"

#include "platform/runtime/ui/Twips.h"

#include <QHeaderView>
#include <QStringList>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace captions {

int headingLines(const QString& text, const QFont& font, int width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    bool broken = false;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++lines;
        const int end = line.textStart() + line.textLength();
        broken = broken || (end < text.size() && text.at(end - 1) != u' ');
    }
    layout.endLayout();
    return broken ? -1 : lines;
}

int headingPadding(const VSFlexGrid& grid)
{
    const QHeaderView& header = *grid.horizontalHeader();
    return 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header) + 12;
}

int headingWidthPixels(const VSFlexGrid& grid, const QString& heading)
{
    const QHeaderView& header = *grid.horizontalHeader();
    const QFont font = header.font();
    const QFontMetrics metrics(font);
    const QString text = heading.simplified();
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    const int oneLine = metrics.horizontalAdvance(text);
    // The narrowest break into two lines at a blank.
    int needed = oneLine;
    for (qsizetype split = 1; split < words.size(); ++split) {
        const int first = metrics.horizontalAdvance(words.mid(0, split).join(u' '));
        const int second = metrics.horizontalAdvance(words.mid(split).join(u' '));
        needed = std::min(needed, std::max(first, second));
    }
    // Measured widths are rounded: a pixel more lets the text layout take what was measured.
    ++needed;
    const int padding = headingPadding(grid);
    auto wrapsCleanly = [&](int width) {
        const int lines = headingLines(text, font, width);
        return lines >= 0 && lines <= 2;
    };
    if (needed < oneLine && !(wrapsCleanly(needed) && wrapsCleanly(needed + padding)))
        needed = oneLine;
    return needed + padding;
}

void fitHeadings(VSFlexGrid& grid, std::initializer_list<int> columns)
{
    if (grid.Rows() < 1)
        return;
    for (const int col : columns) {
        if (col < 0 || col >= grid.Cols() || grid.ColHidden(col) || grid.ColWidth(col) <= 0)
            continue;
        const int needed = int(std::ceil(vb::PixelsToTwipsX(headingWidthPixels(grid, grid.TextMatrix(0, col)), &grid)));
        if (grid.ColWidth(col) < needed)
            grid.setColWidth(col, needed);
    }
    const QFontMetrics metrics(grid.horizontalHeader()->font());
    const int twoLines = int(std::ceil(vb::PixelsToTwipsY(2 * metrics.lineSpacing() + 10, &grid)));
    if (grid.RowHeight(0) < twoLines)
        grid.setRowHeight(0, twoLines);
}

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
