#include "reports/clsExport.h"

#include "platform/runtime/Conversions.h"
#include "reports/clsWebReportGenerator.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kNbsp = QStringLiteral("&nbsp;");

// The attribute of a column alignment code; nullptr for the general alignment.
const QString* alignmentAttribute(int code)
{
    static const QString attributes[] = {
        QStringLiteral(" VALIGN=TOP"),
        QString(),
        QStringLiteral(" VALIGN=BOTTOM"),
        QStringLiteral(" ALIGN=CENTER VALIGN=TOP"),
        QStringLiteral(" ALIGN=CENTER"),
        QStringLiteral(" ALIGN=CENTER VALIGN=BOTTOM"),
        QStringLiteral(" ALIGN=RIGHT VALIGN=TOP"),
        QStringLiteral(" ALIGN=RIGHT"),
        QStringLiteral(" ALIGN=RIGHT VALIGN=BOTTOM"),
    };
    if (code < flexAlignLeftTop || code > flexAlignRightBottom)
        return nullptr;
    return &attributes[code];
}

// A cell width as the page gives it: the twips divided by 11 in single precision, up to seven
// significant digits.
QString widthText(qint64 twips)
{
    const float width = static_cast<float>(twips) / 11.0f;
    return QString::number(static_cast<double>(width), 'g', 7);
}

// Whether the text holds a word (a run without blanks, a web address say) longer than a table
// column is usually wide.
bool hasLongWord(QStringView text)
{
    constexpr qsizetype kLongWord = 20;
    qsizetype run = 0;
    for (const QChar ch : text) {
        run = ch.isSpace() ? 0 : run + 1;
        if (run > kLongWord)
            return true;
    }
    return false;
}

bool isTrueText(const QString& text) { return vb::Val(text) != 0.0 || text.trimmed().compare(u"true", Qt::CaseInsensitive) == 0; }

} // namespace

QString htmlText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        default: out += ch;
        }
    }
    return out;
}

namespace {

// Appends text as a page cell shows it: "&", "<" and ">" escaped, leading and trailing blanks
// kept as &nbsp; (an all-blank text counts each blank as leading and as trailing), and an empty
// text as one &nbsp; so the cell keeps its height.
void appendCellText(QString& out, QStringView text)
{
    qsizetype leading = 0;
    while (leading < text.size() && text.at(leading) == u' ')
        ++leading;
    if (text.isEmpty()) {
        out += kNbsp;
        return;
    }
    if (leading == text.size()) {
        for (qsizetype i = 0; i < 2 * leading; ++i)
            out += kNbsp;
        return;
    }
    qsizetype trailing = 0;
    while (text.at(text.size() - 1 - trailing) == u' ')
        ++trailing;
    for (qsizetype i = 0; i < leading; ++i)
        out += kNbsp;
    // Runs without a character to escape go in whole.
    QStringView middle = text.mid(leading, text.size() - leading - trailing);
    while (!middle.isEmpty()) {
        qsizetype run = 0;
        while (run < middle.size() && middle[run] != u'&' && middle[run] != u'<' && middle[run] != u'>')
            ++run;
        out += middle.first(run);
        if (run == middle.size())
            break;
        switch (middle[run].unicode()) {
        case u'&': out += u"&amp;"; break;
        case u'<': out += u"&lt;"; break;
        default: out += u"&gt;"; break;
        }
        middle = middle.sliced(run + 1);
    }
    for (qsizetype i = 0; i < trailing; ++i)
        out += kNbsp;
}

} // namespace

bool clsExport::GridToHTML(const FlexGridSource& grid, const QString& title, clsWebReportGenerator& report)
{
    const int cols = grid.Cols();
    const int rows = grid.Rows();
    int visibleCols = 0;
    for (int c = 0; c < cols; ++c) {
        if (!grid.ColHidden(c))
            ++visibleCols;
    }

    // A table runs to thousands of cells: it is built in one text and added to the page once,
    // with what belongs to a column worked out once.
    struct Column {
        bool shown = false;
        int twips = 0;
        QString open; // "<TD Width = " and the column's own width
        const QString* align = nullptr;
        int dataType = flexDTEmpty;
    };
    std::vector<Column> columns(static_cast<std::size_t>(std::max(cols, 0)));
    for (int c = 0; c < cols; ++c) {
        Column& column = columns[static_cast<std::size_t>(c)];
        column.twips = grid.ColWidth(c);
        column.shown = !grid.ColHidden(c) && column.twips != 0;
        column.open = QStringLiteral("<TD Width = \"") + widthText(column.twips) + u'"';
        column.align = alignmentAttribute(grid.ColAlignment(c));
        column.dataType = grid.ColDataType(c);
    }

    QString out;
    out.reserve(qsizetype(rows) * visibleCols * 48 + 256);
    out += QStringLiteral("<TABLE WIDTH=90%>") + kCrLf;
    // The title and the fixed rows stand in the table's head, which a browser repeats on every
    // printed page of a long table.
    out += QStringLiteral("<THEAD>") + kCrLf;
    out += QStringLiteral("<TR class='TableHeader'>") + kCrLf;
    out += QStringLiteral("<TD align='center' Class='TableHeader2' colspan='") + QString::number(visibleCols - 1) +
           QStringLiteral("'>") + htmlText(title) + QStringLiteral("</TD>") + kCrLf;
    out += QStringLiteral("</TR>");

    const int fixedRows = grid.FixedRows();
    const bool outline = grid.OutlineBar() > 0;
    const int outlineCol = grid.OutlineCol();
    QString indent; // of the last subtotal row met in this table
    QHash<vb::OLE_COLOR, QString> colors;
    bool inBody = false;

    for (int r = 0; r < rows; ++r) {
        if (grid.RowHidden(r) || grid.RowHeight(r) == 0)
            continue;
        if (r >= fixedRows && !inBody) {
            out += QStringLiteral("</THEAD>\r\n<TBODY>\r\n");
            inBody = true;
        }
        out += r < fixedRows ? QStringLiteral("<TR Class='TableHeader'>\r\n") : QStringLiteral("<TR >\r\n");

        for (int c = 1; c < cols; ++c) {
            const Column& column = columns[static_cast<std::size_t>(c)];
            if (!column.shown)
                continue;

            int r1 = r, c1 = c, r2 = r, c2 = c;
            grid.GetMergedRange(r, c, r1, c1, r2, c2);
            if (c1 < c || r1 < r)
                continue; // inside a merge an earlier cell opened

            const FlexCellLook look = grid.Look(r, c);
            const QString& displayed = look.text;

            if (c1 == c && c2 == c) {
                out += column.open;
            } else {
                qint64 twips = 0;
                for (int k = c1; k <= c2; ++k)
                    twips += grid.ColWidth(k);
                out += QStringLiteral("<TD Width = \"");
                out += widthText(twips);
                out += u'"';
            }
            if (look.back != 0) {
                auto color = colors.find(look.back);
                if (color == colors.end())
                    color = colors.insert(look.back, ColorToHTML(look.back));
                out += QStringLiteral(" BGCOLOR=");
                out += *color;
            }
            if (column.align) {
                out += *column.align;
            } else if (column.dataType == flexDTBoolean) {
                out += QStringLiteral(" ALIGN=CENTER");
            } else if (column.dataType != flexDTDate && IsNumberText(displayed)) {
                out += QStringLiteral(" ALIGN=RIGHT");
            }
            if (c2 > c)
                out += QStringLiteral(" COLSPAN=") + QString::number(c2 - c + 1);
            if (r2 > r)
                out += QStringLiteral(" ROWSPAN=") + QString::number(r2 - r + 1);
            // Such a word may break anywhere, so it wraps inside its cell instead of widening the
            // table past the window or the paper; other cells keep their words whole.
            if (hasLongWord(displayed))
                out += QStringLiteral(" STYLE='overflow-wrap:anywhere;word-break:break-word'");
            out += QStringLiteral(" > ");
            if (look.bold)
                out += QStringLiteral("<B>");
            if (look.italic)
                out += QStringLiteral("<I>");
            if (look.underline)
                out += QStringLiteral("<U>");

            if (outline && c == outlineCol) {
                if (grid.IsSubtotal(r)) {
                    indent.clear();
                    for (int level = grid.RowOutlineLevel(r); level > 0; --level)
                        indent += QStringLiteral("&nbsp&nbsp&nbsp&nbsp");
                }
                out += indent;
            }
            if (r >= fixedRows && column.dataType == flexDTBoolean)
                appendCellText(out, isTrueText(displayed) ? u"Y" : u"");
            else if (displayed == u"Time")
                appendCellText(out, u"     Time     ");
            else
                appendCellText(out, displayed);

            if (look.bold)
                out += QStringLiteral("</B>");
            if (look.italic)
                out += QStringLiteral("</I>");
            if (look.underline)
                out += QStringLiteral("</U>");
            out += QStringLiteral("</TD>\r\n");
        }
        out += QStringLiteral("</TR>\r\n");
    }

    out += inBody ? QStringLiteral("</TBODY>") : QStringLiteral("</THEAD>");
    out += kCrLf;
    out += QStringLiteral("</TABLE>") + kCrLf;
    out += QStringLiteral("<p class='pSpacer'></p>") + kCrLf;
    report.AddContent(out);
    return true;
}

QString clsExport::ColorToHTML(vb::OLE_COLOR color)
{
    return u'"' + vb::ColorFromCode(color).name(QColor::HexRgb).toUpper() + u'"';
}

QString clsExport::EscapeHTML(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    appendCellText(out, text);
    return out;
}

bool clsExport::IsNumberText(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;

    int points = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const QChar ch = text.at(i);
        if (ch == u'.') {
            if (++points > 1)
                return false;
        } else if (ch == u'-') {
            if (i != begin)
                return false;
        } else if (ch != u',' && !(ch >= u'0' && ch <= u'9')) {
            return false;
        }
    }
    return true;
}

void clsExport::ReplaceAll(QString& text, const QString& find, const QString& replaceWith)
{
    if (find.isEmpty())
        return;
    qsizetype from = 0;
    for (;;) {
        const qsizetype hit = text.indexOf(find, from);
        if (hit < 0)
            return;
        text.replace(hit, find.size(), replaceWith);
        // Past the inserted text, so a replacement holding the searched text is not found again.
        from = hit + std::max<qsizetype>(1, replaceWith.size());
    }
}
