#include "reports/clsExport.h"

#include "platform/runtime/Conversions.h"
#include "reports/clsWebReportGenerator.h"

#include <algorithm>

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

bool clsExport::GridToHTML(const FlexGridSource& grid, const QString& title, clsWebReportGenerator& report)
{
    report.AddContent(QStringLiteral("<TABLE WIDTH=90%>") + kCrLf);

    const int cols = grid.Cols();
    const int rows = grid.Rows();
    int visibleCols = 0;
    for (int c = 0; c < cols; ++c) {
        if (!grid.ColHidden(c))
            ++visibleCols;
    }

    report.AddContent(QStringLiteral("<TR class='TableHeader'>") + kCrLf);
    report.AddContent(QStringLiteral("<TD align='center' Class='TableHeader2' colspan='") + QString::number(visibleCols - 1) +
                      QStringLiteral("'>") + htmlText(title) + QStringLiteral("</TD>") + kCrLf);
    report.AddContent(QStringLiteral("</TR>"));

    const int fixedRows = grid.FixedRows();
    const bool outline = grid.OutlineBar() > 0;
    const int outlineCol = grid.OutlineCol();
    QString indent; // of the last subtotal row met in this table

    for (int r = 0; r < rows; ++r) {
        if (grid.RowHidden(r) || grid.RowHeight(r) == 0)
            continue;
        report.AddContent(QStringLiteral("<TR ") + (r < fixedRows ? QStringLiteral("Class='TableHeader'") : QString()) +
                          QStringLiteral(">") + kCrLf);

        for (int c = 1; c < cols; ++c) {
            if (grid.ColHidden(c) || grid.ColWidth(c) == 0)
                continue;

            int r1 = r, c1 = c, r2 = r, c2 = c;
            grid.GetMergedRange(r, c, r1, c1, r2, c2);
            if (c1 < c || r1 < r)
                continue; // inside a merge an earlier cell opened

            QString span;
            if (c2 > c)
                span += QStringLiteral(" COLSPAN=") + QString::number(c2 - c + 1);
            if (r2 > r)
                span += QStringLiteral(" ROWSPAN=") + QString::number(r2 - r + 1);

            qint64 twips = 0;
            for (int k = c1; k <= c2; ++k)
                twips += grid.ColWidth(k);
            const QString width = u'"' + widthText(twips) + u'"';

            const QString displayed = grid.Cell(flexcpTextDisplay, r, c).toString();
            QString text = displayed;
            if (text == u"Time")
                text = QStringLiteral("     Time     ");
            const int dataType = grid.ColDataType(c);
            if (r >= fixedRows && dataType == flexDTBoolean)
                text = isTrueText(text) ? QStringLiteral("Y") : QString();
            text = EscapeHTML(text);

            if (outline && c == outlineCol) {
                if (grid.IsSubtotal(r)) {
                    indent.clear();
                    for (int level = grid.RowOutlineLevel(r); level > 0; --level)
                        indent += QStringLiteral("&nbsp&nbsp&nbsp&nbsp");
                }
                text = indent + text;
            }

            QString background;
            const auto backColor = vb::ColorCode(grid.Cell(flexcpBackColor, r, c).toLongLong());
            if (backColor != 0)
                background = QStringLiteral(" BGCOLOR=") + ColorToHTML(backColor);

            QString style;
            if (grid.Cell(flexcpFontBold, r, c).toBool())
                style += QStringLiteral("<B>");
            if (grid.Cell(flexcpFontItalic, r, c).toBool())
                style += QStringLiteral("<I>");
            if (grid.Cell(flexcpFontUnderline, r, c).toBool())
                style += QStringLiteral("<U>");

            QString align;
            if (const QString* fixed = alignmentAttribute(grid.ColAlignment(c))) {
                align = *fixed;
            } else if (dataType == flexDTBoolean) {
                align = QStringLiteral(" ALIGN=CENTER");
            } else if (dataType != flexDTDate && IsNumberText(displayed)) {
                align = QStringLiteral(" ALIGN=RIGHT");
            }

            QString cell =
                QStringLiteral("<TD Width = ") + width + background + align + span + QStringLiteral(" > ") + style + text;
            if (style.contains(u'B'))
                cell += QStringLiteral("</B>");
            if (style.contains(u'I'))
                cell += QStringLiteral("</I>");
            if (style.contains(u'U'))
                cell += QStringLiteral("</U>");
            cell += QStringLiteral("</TD>") + kCrLf;
            report.AddContent(cell);
        }
        report.AddContent(QStringLiteral("</TR>") + kCrLf);
    }

    report.AddContent(QStringLiteral("</TABLE>") + kCrLf);
    report.AddContent(QStringLiteral("<p class='pSpacer'></p>") + kCrLf);
    return true;
}

QString clsExport::ColorToHTML(vb::OLE_COLOR color)
{
    return u'"' + vb::ColorFromCode(color).name(QColor::HexRgb).toUpper() + u'"';
}

QString clsExport::EscapeHTML(const QString& text)
{
    QString escaped = text;
    ReplaceAll(escaped, QStringLiteral("&"), QStringLiteral("&amp;"));
    ReplaceAll(escaped, QStringLiteral("<"), QStringLiteral("&lt;"));
    ReplaceAll(escaped, QStringLiteral(">"), QStringLiteral("&gt;"));

    qsizetype leading = 0;
    while (leading < escaped.size() && escaped.at(leading) == u' ')
        ++leading;
    qsizetype trailing = 0;
    while (trailing < escaped.size() && escaped.at(escaped.size() - 1 - trailing) == u' ')
        ++trailing;
    // An all-blank text counts each blank as leading and as trailing.
    const QString middle = leading == escaped.size() ? QString() : escaped.mid(leading, escaped.size() - leading - trailing);
    QString out = kNbsp.repeated(leading) + middle + kNbsp.repeated(trailing);
    if (out.isEmpty())
        out = kNbsp;
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
