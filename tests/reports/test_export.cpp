// The grid-to-HTML converter: a grid as the user sees it, as one table on the page.
#include "reports/clsExport.h"
#include "reports/clsWebReportGenerator.h"

// VSFlexGrid.h needs DataControl complete (its DataSource() converts a QPointer inline).
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/App.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The body the converter appended: the page saved and its head and foot taken off.
QString bodyOf(clsWebReportGenerator& page)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.html"));
    page.SaveToFile(file);
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    const QString all = QString::fromLatin1(in.readAll());
    const qsizetype begin = all.indexOf(QStringLiteral("<body>")) + 6 + 2;
    const qsizetype end = all.lastIndexOf(QStringLiteral("\r\n</body>"));
    return all.mid(begin, end - begin);
}

// Lines joined with CR LF, each line ending in one.
QString lines(std::initializer_list<const char*> parts)
{
    QString out;
    for (const char* part : parts)
        out += QString::fromUtf8(part) + kCrLf;
    return out;
}

// A grid with the members the converter reads that the real control keeps at their defaults
// (merges, outline), for the cases only such grids show.
class GridDouble : public FlexGridSource {
public:
    GridDouble(int rows, int cols) : rows_(rows), cols_(cols), widths_(cols, 1100), align_(cols, flexAlignGeneral) {}

    int Rows() const override { return rows_; }
    int Cols() const override { return cols_; }
    int FixedRows() const override { return fixedRows; }
    int FixedCols() const override { return 1; }
    int ColWidth(int col) const override { return widths_.at(col); }
    bool ColHidden(int col) const override { return hiddenCols.count(col) > 0; }
    bool RowHidden(int) const override { return false; }
    int RowHeight(int) const override { return 240; }
    int ColAlignment(int col) const override { return align_.at(col); }
    int ColDataType(int) const override { return flexDTString; }
    void GetMergedRange(int row, int col, int& row1, int& col1, int& row2, int& col2) const override
    {
        row1 = row2 = row;
        col1 = col2 = col;
        for (const auto& m : merges) {
            if (row >= m[0] && row <= m[2] && col >= m[1] && col <= m[3]) {
                row1 = m[0], col1 = m[1], row2 = m[2], col2 = m[3];
            }
        }
    }
    QVariant Cell(int setting, int row, int col) const override
    {
        if (setting == flexcpTextDisplay) {
            const auto it = texts.find({row, col});
            return it == texts.end() ? QString() : it->second;
        }
        if (setting == flexcpBackColor)
            return 0u;
        return false;
    }
    QString FontName() const override { return QStringLiteral("Sans"); }
    int OutlineBar() const override { return outlineBar; }
    int OutlineCol() const override { return 1; }
    bool IsSubtotal(int row) const override { return levels.count(row) > 0; }
    int RowOutlineLevel(int row) const override { return levels.count(row) ? levels.at(row) : 0; }

    void setWidth(int col, int twips) { widths_.at(col) = twips; }
    void setAlignment(int col, int code) { align_.at(col) = code; }

    int fixedRows = 1;
    int outlineBar = 0;
    std::set<int> hiddenCols;
    std::map<std::pair<int, int>, QString> texts;
    std::vector<std::array<int, 4>> merges; // first row, first col, last row, last col
    std::map<int, int> levels;              // subtotal rows and their outline levels

private:
    int rows_;
    int cols_;
    std::vector<int> widths_;
    std::vector<int> align_;
};

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        App::setPath(dir_.path());
    }
    QTemporaryDir dir_;
    clsExport exporter_;
    clsWebReportGenerator page_;
};

TEST_F(ExportTest, GridShowsAsSeen)
{
    // A button face the test knows, for the system colour.
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Button, QColor(0xD4, 0xD0, 0xC8));
    QApplication::setPalette(palette);

    VSFlexGrid grid;
    grid.setCols(8);
    grid.setRows(6);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    const int widths[] = {300, 1000, 0, 1100, 700, 800, 1200, 900};
    const char* headers[] = {"", "Name", "Key", "Time", "Sugar", "Secret", "Taken", "Date"};
    for (int c = 0; c < 8; ++c) {
        grid.setColWidth(c, widths[c]);
        grid.setTextMatrix(0, c, QString::fromUtf8(headers[c]));
    }
    grid.setColHidden(5, true);
    grid.setColAlignment(3, flexAlignLeftCenter);
    grid.setColAlignment(4, flexAlignCenterCenter);
    grid.setColDataType(6, flexDTBoolean);
    grid.setColDataType(7, flexDTDate);

    const char* data[6][8] = {
        {},
        {"1", "a<b", "k1", "07:30 AM", "5.5", "s", "-1", "03/04/08"},
        {"2", "hidden row", "k", "", "", "", "", ""},
        {"3", "no height", "k", "", "", "", "", ""},
        {"4", "  Zo\u00EB & \u540D ", "k2", "", "12,5", "s", "0", "12"},
        {"5", "-3", "k3", "10:00 PM", "", "s", "1", ""},
    };
    for (int r = 1; r < 6; ++r)
        for (int c = 0; c < 8; ++c)
            grid.setTextMatrix(r, c, QString::fromUtf8(data[r][c]));
    grid.setRowHidden(2, true);
    grid.setRowHeight(3, 0);
    grid.setCell(flexcpBackColor, 1, 4, 0x99FF99u);
    grid.setCell(flexcpFontBold, 1, 4, true);
    grid.setCell(flexcpBackColor, 4, 4, vb::vbButtonFace);
    grid.setCell(flexcpFontItalic, 4, 4, true);
    grid.setCell(flexcpFontUnderline, 4, 4, true);

    EXPECT_TRUE(exporter_.GridToHTML(grid, QStringLiteral("<Zo\u00EB & O'Brien>"), page_));
    QApplication::setPalette(saved);

    const QString nbsp5 = QStringLiteral("&nbsp;").repeated(5);
    const QString expected =
        lines({"<TABLE WIDTH=90%>", "<THEAD>", "<TR class='TableHeader'>",
               "<TD align='center' Class='TableHeader2' colspan='6'>&lt;Zo\u00EB &amp; O'Brien&gt;</TD>"}) +
        QStringLiteral("</TR>") + lines({"<TR Class='TableHeader'>", "<TD Width = \"90.90909\" > Name</TD>"}) +
        QStringLiteral("<TD Width = \"100\" > ") + nbsp5 + QStringLiteral("Time") + nbsp5 + QStringLiteral("</TD>") + kCrLf +
        lines({"<TD Width = \"63.63636\" ALIGN=CENTER > Sugar</TD>",
               "<TD Width = \"109.0909\" ALIGN=CENTER > Taken</TD>",
               "<TD Width = \"81.81818\" > Date</TD>",
               "</TR>",
               "</THEAD>",
               "<TBODY>",
               "<TR >",
               "<TD Width = \"90.90909\" > a&lt;b</TD>",
               "<TD Width = \"100\" > 07:30 AM</TD>",
               "<TD Width = \"63.63636\" BGCOLOR=\"#99FF99\" ALIGN=CENTER > <B>5.5</B></TD>",
               "<TD Width = \"109.0909\" ALIGN=CENTER > Y</TD>",
               "<TD Width = \"81.81818\" > 03/04/08</TD>",
               "</TR>",
               "<TR >",
               "<TD Width = \"90.90909\" > &nbsp;&nbsp;Zo\u00EB &amp; \u540D&nbsp;</TD>",
               "<TD Width = \"100\" > &nbsp;</TD>",
               "<TD Width = \"63.63636\" BGCOLOR=\"#D4D0C8\" ALIGN=CENTER > <I><U>12,5</I></U></TD>",
               "<TD Width = \"109.0909\" ALIGN=CENTER > &nbsp;</TD>",
               "<TD Width = \"81.81818\" > 12</TD>",
               "</TR>",
               "<TR >",
               "<TD Width = \"90.90909\" ALIGN=RIGHT > -3</TD>",
               "<TD Width = \"100\" > 10:00 PM</TD>",
               "<TD Width = \"63.63636\" ALIGN=CENTER > &nbsp;</TD>",
               "<TD Width = \"109.0909\" ALIGN=CENTER > Y</TD>",
               "<TD Width = \"81.81818\" > &nbsp;</TD>",
               "</TR>",
               "</TBODY>",
               "</TABLE>",
               "<p class='pSpacer'></p>"});
    EXPECT_EQ(bodyOf(page_).toStdString(), QString::fromLatin1(toWindows1252Html(expected)).toStdString());
}

TEST_F(ExportTest, AlignmentCodesAndTheGeneralRule)
{
    // Columns 1 to 9 carry the codes 0 to 8; 10 and 11 are general (9 and an unknown code).
    GridDouble grid(1, 14);
    grid.fixedRows = 0;
    for (int code = 0; code <= 8; ++code) {
        grid.setAlignment(code + 1, code);
        grid.texts[{0, code + 1}] = QStringLiteral("7");
    }
    grid.setAlignment(11, 42);
    const char* general[] = {"12,5", "abc", "+4", "1.2.3"};
    for (int i = 0; i < 4; ++i)
        grid.texts[{0, 10 + i}] = QString::fromLatin1(general[i]);
    ASSERT_TRUE(exporter_.GridToHTML(grid, QStringLiteral("Codes"), page_));

    const QString body = bodyOf(page_);
    const char* attributes[] = {" VALIGN=TOP",
                                "",
                                " VALIGN=BOTTOM",
                                " ALIGN=CENTER VALIGN=TOP",
                                " ALIGN=CENTER",
                                " ALIGN=CENTER VALIGN=BOTTOM",
                                " ALIGN=RIGHT VALIGN=TOP",
                                " ALIGN=RIGHT",
                                " ALIGN=RIGHT VALIGN=BOTTOM",
                                " ALIGN=RIGHT",
                                "",
                                "",
                                ""};
    QString cells;
    for (const char* attribute : attributes) {
        cells += QStringLiteral("<TD Width = \"100\"") + QString::fromLatin1(attribute) + QStringLiteral(" > ");
    }
    QString written;
    for (const QString& line : body.split(kCrLf)) {
        if (line.startsWith(u"<TD Width"))
            written += line.left(line.indexOf(u'>') + 2);
    }
    EXPECT_EQ(written.toStdString(), cells.toStdString());
    EXPECT_TRUE(body.contains(QStringLiteral("colspan='13'>Codes</TD>")));
}

TEST_F(ExportTest, MergesOutlineAndColumnZeroOnly)
{
    // A two-by-two merge: one spanning cell, nothing for the three positions it covers.
    GridDouble merged(3, 4);
    merged.setWidth(1, 1000);
    merged.setWidth(2, 1200);
    merged.merges.push_back({1, 1, 2, 2});
    merged.texts[{1, 1}] = QStringLiteral("m");
    merged.texts[{1, 3}] = QStringLiteral("x");
    merged.texts[{2, 3}] = QStringLiteral("y");
    exporter_.GridToHTML(merged, QStringLiteral("Merge"), page_);
    const QString body = bodyOf(page_);
    EXPECT_TRUE(body.contains(lines({"<TR >", "<TD Width = \"200\" COLSPAN=2 ROWSPAN=2 > m</TD>", "<TD Width = \"100\" > x</TD>",
                                     "</TR>", "<TR >", "<TD Width = \"100\" > y</TD>", "</TR>"})))
        << body.toStdString();

    // Only column 0 shown: a title over no columns and rows without cells.
    GridDouble onlyFixed(2, 3);
    onlyFixed.hiddenCols = {1, 2};
    clsWebReportGenerator second;
    exporter_.GridToHTML(onlyFixed, QStringLiteral("Empty"), second);
    EXPECT_EQ(bodyOf(second).toStdString(), (lines({"<TABLE WIDTH=90%>", "<THEAD>", "<TR class='TableHeader'>",
                                                    "<TD align='center' Class='TableHeader2' colspan='0'>Empty</TD>"}) +
                                             QStringLiteral("</TR>") +
                                             lines({"<TR Class='TableHeader'>", "</TR>", "</THEAD>", "<TBODY>", "<TR >", "</TR>",
                                                    "</TBODY>", "</TABLE>", "<p class='pSpacer'></p>"}))
                                                .toStdString());

    // Outline: the indentation of the last subtotal row, in the outline column only.
    GridDouble outline(5, 3);
    outline.outlineBar = 1;
    outline.levels = {{2, 2}, {4, 1}};
    for (int r = 0; r < 5; ++r) {
        outline.texts[{r, 1}] = QStringLiteral("r%1").arg(r);
        outline.texts[{r, 2}] = QStringLiteral("v");
    }
    clsWebReportGenerator third;
    exporter_.GridToHTML(outline, QStringLiteral("Outline"), third);
    // Each row has two cells, the outline column's first.
    QStringList firstCells;
    bool first = true;
    for (const QString& line : bodyOf(third).split(kCrLf)) {
        if (!line.startsWith(u"<TD Width"))
            continue;
        if (first)
            firstCells << line.mid(line.indexOf(u" > ") + 3);
        first = !first;
    }
    const QString four = QStringLiteral("&nbsp&nbsp&nbsp&nbsp");
    EXPECT_EQ(firstCells,
              (QStringList{QStringLiteral("r0</TD>"), QStringLiteral("r1</TD>"), four + four + QStringLiteral("r2</TD>"),
                           four + four + QStringLiteral("r3</TD>"), four + QStringLiteral("r4</TD>")}));
    EXPECT_FALSE(bodyOf(third).contains(QStringLiteral("&nbsp&nbsp&nbsp&nbspv")));
}

TEST_F(ExportTest, HelperRules)
{
    // Escaping: markup, leading and trailing blanks, empty and all-blank texts.
    const std::pair<const char*, const char*> escapes[] = {
        {"a<b", "a&lt;b"},
        {"<&>", "&lt;&amp;&gt;"},
        {"&lt;", "&amp;lt;"},
        {"", "&nbsp;"},
        {"   ", "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"},
        {" a b  ", "&nbsp;a b&nbsp;&nbsp;"},
        {"O'Brien \"x\"", "O'Brien \"x\""},
    };
    for (const auto& [text, escaped] : escapes)
        EXPECT_EQ(exporter_.EscapeHTML(QString::fromLatin1(text)), QString::fromLatin1(escaped)) << text;
    EXPECT_EQ(htmlText(QStringLiteral(" <a & b> ")), QStringLiteral(" &lt;a &amp; b&gt; "));

    // Plain numbers.
    for (const char* yes : {"12,5", "-3", "", "   ", " 42 ", "1,000.25", "-", ".5"})
        EXPECT_TRUE(exporter_.IsNumberText(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"1.2.3", "+4", "abc", "4-", "1 2", "1e5", "--1"})
        EXPECT_FALSE(exporter_.IsNumberText(QString::fromLatin1(no))) << no;

    // Replacing: every hit, never the replacement again, nothing for an empty search.
    QString text = QStringLiteral("a&b&&c");
    exporter_.ReplaceAll(text, QStringLiteral("&"), QStringLiteral("&amp;"));
    EXPECT_EQ(text, QStringLiteral("a&amp;b&amp;&amp;c"));
    text = QStringLiteral("xax");
    exporter_.ReplaceAll(text, QStringLiteral("a"), QStringLiteral("baa"));
    EXPECT_EQ(text, QStringLiteral("xbaax"));
    text = QStringLiteral("abab");
    exporter_.ReplaceAll(text, QStringLiteral(""), QStringLiteral("z"));
    EXPECT_EQ(text, QStringLiteral("abab"));
    exporter_.ReplaceAll(text, QStringLiteral("b"), QString());
    EXPECT_EQ(text, QStringLiteral("aa"));

    // Colours: BGR codes as "#RRGGBB", system colours from the palette.
    EXPECT_EQ(exporter_.ColorToHTML(0x9999FF), QStringLiteral("\"#FF9999\""));
    EXPECT_EQ(exporter_.ColorToHTML(0x99FFFF), QStringLiteral("\"#FFFF99\""));
    EXPECT_EQ(exporter_.ColorToHTML(0x0A0B0C), QStringLiteral("\"#0C0B0A\""));
    EXPECT_EQ(exporter_.ColorToHTML(vb::vbWindowBackground),
              u'"' + QApplication::palette().color(QPalette::Active, QPalette::Base).name().toUpper() + u'"');
}

} // namespace
