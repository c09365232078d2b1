// The flex grid: format string, twips, hidden rows and columns, alignments, cell settings, texts,
// and the bound grid that follows its data control.
#include "ControlsFixture.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/Conversions.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

int px(const QWidget& w, int twips) { return qRound(twips * w.logicalDpiX() / 1440.0); }

QVariant modelData(const VSFlexGrid& g, int row, int col, int role)
{
    // Row 0 and column 0 are the headers: cell (r, c) is model (r - 1, c - 1).
    return g.model()->index(row - 1, col - 1).data(role);
}

TEST(VSFlexGridLayout, FormatStringSetsColumnsHeadersAndHeaderAlignment)
{
    VSFlexGrid g;
    g.setFormatString(QStringLiteral("|rgmn_ky|Date (mm/dd/yy)|^Sugar (mg/dl)|<Left|>Right"));
    EXPECT_EQ(6, g.Cols());
    EXPECT_EQ(1, g.Rows());
    EXPECT_EQ(QString(), g.TextMatrix(0, 0));
    EXPECT_EQ(QStringLiteral("Date (mm/dd/yy)"), g.TextMatrix(0, 2));
    EXPECT_EQ(QStringLiteral("Sugar (mg/dl)"), g.TextMatrix(0, 3));
    EXPECT_EQ(flexAlignCenterCenter, g.FixedAlignment(3));
    EXPECT_EQ(flexAlignLeftCenter, g.FixedAlignment(4));
    EXPECT_EQ(flexAlignRightCenter, g.FixedAlignment(5));
    EXPECT_EQ(flexAlignGeneral, g.FixedAlignment(2));
    EXPECT_EQ(flexAlignGeneral, g.ColAlignment(3)); // the mark aligns the header only
    EXPECT_EQ(QStringLiteral("Sugar (mg/dl)"), g.model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString());
    const auto headerAlign = Qt::Alignment(g.model()->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
    EXPECT_TRUE(headerAlign & Qt::AlignHCenter);

    // A shorter format string takes the columns away again.
    g.setFormatString(QStringLiteral("|a|b"));
    EXPECT_EQ(3, g.Cols());
    EXPECT_EQ(QStringLiteral("|a|b"), g.FormatString());
}

TEST(VSFlexGridLayout, WidthsAreTwipsAndHiddenColumnsAndRowsLeaveTheView)
{
    VSFlexGrid g;
    g.setFormatString(QStringLiteral("|k|Name|Age"));
    g.setRows(4);
    g.setColWidth(0, 300);
    g.setColWidth(1, 0);
    g.setColWidth(2, 1400);
    g.setColHidden(1, true);
    EXPECT_EQ(1400, g.ColWidth(2));
    EXPECT_EQ(0, g.ColWidth(1));
    EXPECT_TRUE(g.ColHidden(1));
    EXPECT_FALSE(g.ColHidden(2));
    EXPECT_EQ(px(g, 1400), g.horizontalHeader()->sectionSize(1));
    EXPECT_TRUE(g.isColumnHidden(0));
    EXPECT_EQ(px(g, 300), g.verticalHeader()->width());

    // Shown again, the column keeps the width it was given while hidden.
    g.setColWidth(1, 700);
    g.setColHidden(1, false);
    EXPECT_EQ(px(g, 700), g.horizontalHeader()->sectionSize(0));

    // A width the user drags is read back in twips.
    g.horizontalHeader()->resizeSection(1, px(g, 2000));
    EXPECT_NEAR(2000, g.ColWidth(2), 15);

    g.setRowHidden(2, true);
    EXPECT_TRUE(g.RowHidden(2));
    EXPECT_TRUE(g.isRowHidden(1));
    EXPECT_FALSE(g.RowHidden(3));
    g.setRowHidden(0, true); // the header row
    EXPECT_TRUE(g.horizontalHeader()->isHidden());
    g.setRowHidden(0, false);

    g.setRowHeight(0, 500);
    EXPECT_EQ(500, g.RowHeight(0));
    EXPECT_EQ(qRound(500 * g.logicalDpiY() / 1440.0), g.horizontalHeader()->height());
    g.setRowHeight(3, 0);
    EXPECT_EQ(0, g.RowHeight(3));
    EXPECT_EQ(0, g.rowHeight(2));
    EXPECT_GT(g.RowHeight(1), 0);

    // Hidden rows stay hidden when rows are added behind them.
    g.setRows(14);
    EXPECT_TRUE(g.RowHidden(2));
    EXPECT_TRUE(g.isRowHidden(1));
}

TEST(VSFlexGridLayout, AlignmentCodesAndTheGeneralAlignment)
{
    VSFlexGrid g;
    g.setCols(3);
    g.setRows(3);
    g.setTextMatrix(1, 1, QStringLiteral("12.5"));
    g.setTextMatrix(2, 1, QStringLiteral("abc"));
    auto align = [&](int row, int col) { return Qt::Alignment(modelData(g, row, col, Qt::TextAlignmentRole).toInt()); };
    EXPECT_EQ(flexAlignGeneral, g.ColAlignment(1));
    EXPECT_EQ(Qt::AlignRight | Qt::AlignVCenter, align(1, 1));
    EXPECT_EQ(Qt::AlignLeft | Qt::AlignVCenter, align(2, 1));

    const std::pair<int, Qt::Alignment> codes[] = {
        {0, Qt::AlignLeft | Qt::AlignTop},
        {1, Qt::AlignLeft | Qt::AlignVCenter},
        {2, Qt::AlignLeft | Qt::AlignBottom},
        {3, Qt::AlignHCenter | Qt::AlignTop},
        {4, Qt::AlignCenter},
        {5, Qt::AlignHCenter | Qt::AlignBottom},
        {6, Qt::AlignRight | Qt::AlignTop},
        {7, Qt::AlignRight | Qt::AlignVCenter},
        {8, Qt::AlignRight | Qt::AlignBottom},
    };
    for (const auto& [code, expected] : codes) {
        g.setColAlignment(1, code);
        EXPECT_EQ(code, g.ColAlignment(1));
        EXPECT_EQ(expected, align(2, 1)) << "code " << code;
    }
}

TEST(VSFlexGridCells, BackColoursFontsAndTheirDefaults)
{
    VSFlexGrid g;
    g.setCols(4);
    g.setRows(5);
    EXPECT_EQ(0u, g.Cell(flexcpBackColor, 2, 2).toUInt());
    EXPECT_FALSE(modelData(g, 2, 2, Qt::BackgroundRole).isValid());

    g.setCell(flexcpBackColor, 2, 2, 0x9999FF);
    EXPECT_EQ(0x9999FFu, g.Cell(flexcpBackColor, 2, 2).toUInt());
    EXPECT_EQ(QColor(0xFF, 0x99, 0x99), modelData(g, 2, 2, Qt::BackgroundRole).value<QBrush>().color()); // &HBBGGRR

    // A range, with the corners in any order; a system colour goes through the palette.
    g.setCell(flexcpBackColor, 4, 3, 1, 3, 0x99FF99);
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(0x99FF99u, g.Cell(flexcpBackColor, r, 3).toUInt());
    g.setCell(flexcpBackColor, 1, 1, qint64(0x8000000F));
    EXPECT_EQ(0x8000000Fu, g.Cell(flexcpBackColor, 1, 1).toUInt());
    EXPECT_EQ(g.palette().color(QPalette::Button), modelData(g, 1, 1, Qt::BackgroundRole).value<QBrush>().color());

    // The header row takes colours too (the converter reads them there).
    g.setCell(flexcpBackColor, 0, 2, 0x99FFFF);
    EXPECT_EQ(0x99FFFFu, g.Cell(flexcpBackColor, 0, 2).toUInt());
    EXPECT_EQ(QColor(0xFF, 0xFF, 0x99), g.model()->headerData(1, Qt::Horizontal, Qt::BackgroundRole).value<QBrush>().color());

    EXPECT_FALSE(g.Cell(flexcpFontBold, 3, 1).toBool());
    g.setCell(flexcpFontBold, 3, 1, true);
    g.setCell(flexcpFontUnderline, 3, 1, true);
    EXPECT_TRUE(g.Cell(flexcpFontBold, 3, 1).toBool());
    EXPECT_FALSE(g.Cell(flexcpFontItalic, 3, 1).toBool());
    EXPECT_TRUE(g.Cell(flexcpFontUnderline, 3, 1).toBool());
    const QFont font = modelData(g, 3, 1, Qt::FontRole).value<QFont>();
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.underline());
    EXPECT_EQ(g.FontName(), g.Cell(flexcpFontName, 3, 1).toString());
    g.setCell(flexcpForeColor, 3, 1, 0xC00000);
    EXPECT_EQ(0xC00000u, g.Cell(flexcpForeColor, 3, 1).toUInt());
    EXPECT_EQ(QColor(0, 0, 0xC0), modelData(g, 3, 1, Qt::ForegroundRole).value<QBrush>().color());

    // Writing a text leaves the cell's colour alone.
    g.setTextMatrix(2, 2, QStringLiteral("x"));
    EXPECT_EQ(0x9999FFu, g.Cell(flexcpBackColor, 2, 2).toUInt());

    int r1, c1, r2, c2;
    g.GetMergedRange(3, 2, r1, c1, r2, c2);
    EXPECT_EQ(std::make_tuple(3, 2, 3, 2), std::make_tuple(r1, c1, r2, c2));
    EXPECT_EQ(0, g.OutlineBar());
    EXPECT_FALSE(g.IsSubtotal(1));
    EXPECT_EQ(0, g.RowOutlineLevel(1));
}

TEST(VSFlexGridCells, TextMatrixRaisesCellChangedAndRefusesCellsOutsideTheGrid)
{
    VSFlexGrid g;
    g.setFormatString(QStringLiteral("|Line no|Date"));
    QSignalSpy changed(&g, &VSFlexGrid::CellChanged);
    EXPECT_THROW(g.setTextMatrix(1, 1, QStringLiteral("x")), FlexGridError);
    EXPECT_EQ(0, changed.count());

    // The import's way of growing: a write beyond the last row fails, 10 rows are added, retried.
    int grown = 0;
    for (int line = 1; line <= 25; ++line) {
        for (;;) {
            try {
                g.setTextMatrix(line, 1, QString::number(line));
                break;
            } catch (const FlexGridError& e) {
                EXPECT_EQ(381, e.Number());
                g.setRows(g.Rows() + 10);
                ++grown;
            }
        }
    }
    EXPECT_EQ(3, grown);
    EXPECT_EQ(31, g.Rows());
    EXPECT_EQ(25, changed.count());
    EXPECT_EQ(QStringLiteral("25"), g.TextMatrix(25, 1));
    EXPECT_EQ(QString(), g.TextMatrix(26, 1));
    EXPECT_EQ(25.0, g.Cell(flexcpValue, 25, 1).toDouble());
    EXPECT_THROW(g.TextMatrix(31, 0), FlexGridError);
    EXPECT_THROW(g.TextMatrix(0, 3), FlexGridError);
    EXPECT_THROW(g.Cell(flexcpBackColor, -1, 0), FlexGridError);

    // The user's edits go the same way.
    g.setEditable(2);
    EXPECT_TRUE(g.model()->flags(g.model()->index(0, 1)) & Qt::ItemIsEditable);
    g.model()->setData(g.model()->index(2, 1), QStringLiteral("typed"), Qt::EditRole);
    EXPECT_EQ(QStringLiteral("typed"), g.TextMatrix(3, 2));
    EXPECT_EQ(26, changed.count());
    EXPECT_EQ(3, changed.last().at(0).toInt());
    EXPECT_EQ(2, changed.last().at(1).toInt());

    // Columns by key.
    g.setColKey(2, QStringLiteral("DT"));
    EXPECT_EQ(2, g.ColIndex(QStringLiteral("dt")));
    EXPECT_EQ(-1, g.ColIndex(QStringLiteral("none")));
}

TEST(VSFlexGridCells, TextsOfARowKeepEachOtherWhateverTheOrderOfWrites)
{
    // A row's texts share one block: a write of any length at any column leaves the others whole.
    struct Case {
        const char* name;
        std::vector<std::pair<int, QString>> writes;
        QStringList row; // columns 0 to 4 afterwards
    } cases[] = {
        {"in order", {{0, "a"}, {1, "bb"}, {2, "ccc"}}, {"a", "bb", "ccc", "", ""}},
        {"last column first", {{4, "e"}, {1, "b"}}, {"", "b", "", "", "e"}},
        {"a middle text longer, then shorter, then empty",
         {{0, "a"}, {2, "c"}, {4, "e"}, {2, "cccccc"}, {2, "cc"}, {0, ""}},
         {"", "", "cc", "", "e"}},
        {"characters of several bytes", {{1, "Zoë"}, {3, "\u20AC\U0001F600"}, {1, "Ø"}}, {"", "Ø", "", "\u20AC\U0001F600", ""}},
    };
    for (const Case& c : cases) {
        VSFlexGrid g;
        g.setCols(5);
        g.setRows(2);
        for (const auto& [col, text] : c.writes)
            g.setTextMatrix(1, col, text);
        QStringList row;
        for (int col = 0; col < 5; ++col)
            row << g.TextMatrix(1, col);
        EXPECT_EQ(row, c.row) << c.name;
        EXPECT_TRUE(g.TextMatrix(0, 1).isEmpty()) << c.name << ": another row is untouched";
    }

    VSFlexGrid g;
    g.setCols(5);
    g.setRows(2);
    for (int col = 0; col < 5; ++col)
        g.setTextMatrix(1, col, QString(col + 1, u'x'));
    g.setCols(3);
    g.setCols(5);
    EXPECT_EQ(g.TextMatrix(1, 2), QStringLiteral("xxx"));
    EXPECT_TRUE(g.TextMatrix(1, 3).isEmpty()) << "dropped columns come back empty";
}

class BoundGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = testing_controls::createDatabase(dir.filePath(QStringLiteral("grid.mdb")));
        db->Execute(QStringLiteral(
            "insert into PERSON (PRSN_NM, AGE, HGT, ACTV, BORN) values ('Ann', 40, 64.5, True, #3/8/1980 7:05 PM#)"));
        db->Execute(QStringLiteral("insert into PERSON (PRSN_NM, AGE, ACTV) values ('Bob', Null, False)"));
        db->Execute(QStringLiteral("insert into PERSON (PRSN_NM, AGE) values ('Cy', 7)"));
        dat.setDatabase(db);
        dat.setRecordSource(QStringLiteral("SELECT PRSN_KY, PRSN_NM, AGE, HGT, ACTV, BORN FROM PERSON ORDER BY PRSN_NM"));
        grid.setDataSource(&dat);
        dat.Refresh();
    }
    void TearDown() override { db->Close(); }

    QTemporaryDir dir;
    dao::DatabasePtr db;
    DataControl dat;
    VSFlexGrid grid;
};

TEST_F(BoundGridTest, ShowsTheRowsWithFieldHeadersAndDisplayTexts)
{
    EXPECT_EQ(4, grid.Rows());
    EXPECT_EQ(7, grid.Cols());
    EXPECT_EQ(QStringLiteral("PRSN_NM"), grid.TextMatrix(0, 2));
    EXPECT_EQ(2, grid.ColIndex(QStringLiteral("prsn_nm")));
    EXPECT_EQ(flexDTString, grid.ColDataType(2));
    EXPECT_EQ(flexDTBoolean, grid.ColDataType(5));
    EXPECT_EQ(flexDTDate, grid.ColDataType(6));

    EXPECT_EQ(QStringLiteral("Ann"), grid.TextMatrix(1, 2));
    EXPECT_EQ(QStringLiteral("40"), grid.TextMatrix(1, 3));
    EXPECT_EQ(QStringLiteral("64.5"), grid.TextMatrix(1, 4));
    EXPECT_EQ(QStringLiteral("-1"), grid.TextMatrix(1, 5));
    EXPECT_EQ(vb::CStr(QDateTime(QDate(1980, 3, 8), QTime(19, 5), Qt::UTC)), grid.TextMatrix(1, 6));
    EXPECT_EQ(QString(), grid.TextMatrix(2, 3)); // Null
    EXPECT_EQ(QStringLiteral("0"), grid.TextMatrix(2, 5));
    EXPECT_EQ(Qt::Checked, modelData(grid, 1, 5, Qt::CheckStateRole).toInt());
    EXPECT_EQ(QString(), grid.TextMatrix(1, 0)); // the row-header column

    // The forms lay the grid out after each refresh; a refresh with the same fields keeps it.
    grid.setFormatString(QStringLiteral("|PRSN_KY|Person Name|Age|Height(in)| Active|Born"));
    grid.setColWidth(1, 0);
    grid.setColHidden(1, true);
    EXPECT_EQ(QStringLiteral("Person Name"), grid.TextMatrix(0, 2));
    dat.Refresh();
    EXPECT_EQ(QStringLiteral("PRSN_NM"), grid.TextMatrix(0, 2));
    EXPECT_TRUE(grid.ColHidden(1));
    EXPECT_TRUE(grid.isColumnHidden(0));

    // Writing a bound cell changes the shown text only.
    grid.setTextMatrix(3, 2, QStringLiteral("Shown"));
    EXPECT_EQ(QStringLiteral("Shown"), grid.TextMatrix(3, 2));
    dat.Recordset()->MoveLast();
    EXPECT_EQ(QStringLiteral("Cy"), dat.Recordset()->Fields(1).Value().toString());

    // Without the row-header column the fields start at column 0, and the grid stays on its row.
    grid.setFixedCols(0);
    EXPECT_EQ(6, grid.Cols());
    EXPECT_EQ(QStringLiteral("PRSN_NM"), grid.TextMatrix(0, 1));
    EXPECT_EQ(QStringLiteral("Bob"), grid.TextMatrix(2, 1));
    EXPECT_TRUE(grid.verticalHeader()->isHidden());
    EXPECT_EQ(3, grid.Row());
}

TEST_F(BoundGridTest, FollowsTheCurrentRowBothWays)
{
    EXPECT_EQ(1, grid.Row());
    EXPECT_TRUE(grid.IsSelected(1));
    dat.nextButton()->click();
    EXPECT_EQ(2, grid.Row());
    dat.Recordset()->FindFirst(QStringLiteral("PRSN_NM = 'Cy'"));
    EXPECT_EQ(3, grid.Row());
    EXPECT_TRUE(grid.IsSelected(3));
    EXPECT_FALSE(grid.IsSelected(2));

    // The user's choice of a row moves the data control.
    QSignalSpy reposition(&dat, &DataControl::Reposition);
    QSignalSpy selChange(&grid, &VSFlexGrid::SelChange);
    grid.setRow(1);
    EXPECT_EQ(0, dat.Recordset()->AbsolutePosition());
    EXPECT_EQ(1, reposition.count());
    EXPECT_EQ(1, selChange.count());

    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QRect rowTwo = grid.visualRect(grid.model()->index(1, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, rowTwo.center());
    EXPECT_EQ(1, dat.Recordset()->AbsolutePosition());
    EXPECT_EQ(QStringLiteral("Bob"), dat.Recordset()->Fields(1).Value().toString());

    // An empty refresh leaves no current row.
    dat.setRecordSource(QStringLiteral("SELECT PRSN_KY, PRSN_NM FROM PERSON WHERE PRSN_KY = 0"));
    dat.Refresh();
    EXPECT_EQ(1, grid.Rows());
    EXPECT_EQ(3, grid.Cols());
    EXPECT_EQ(-1, grid.Row());
}

TEST_F(BoundGridTest, TabLeavesTheGridAndADisabledDataControlStaysWhereItIs)
{
    QWidget window;
    auto* after = new QLineEdit(&window);
    // The fixture's grid and data control go back to it before the window goes.
    struct GiveBack {
        VSFlexGrid& grid;
        DataControl& dat;
        ~GiveBack()
        {
            grid.setParent(nullptr);
            dat.setParent(nullptr);
        }
    } giveBack{grid, dat};
    grid.setParent(&window);
    dat.setParent(&window);
    grid.setGeometry(0, 0, 400, 200);
    after->setGeometry(0, 210, 100, 20);
    QWidget::setTabOrder(&grid, after);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Tab);
    EXPECT_EQ(after, QApplication::focusWidget());
    EXPECT_EQ(0, dat.Recordset()->AbsolutePosition());
    EXPECT_EQ(1, grid.Row());

    // While the data control is disabled the user's choices in the grid do not move it, and the
    // grid goes back to its row; moves from code are still followed.
    dat.setEnabled(false);
    for (const auto& choose : std::initializer_list<std::function<void()>>{
             [&] { QTest::keyClick(&grid, Qt::Key_Down); },
             [&] { QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(2, 1)).center()); },
         }) {
        choose();
        QCoreApplication::processEvents();
        EXPECT_EQ(0, dat.Recordset()->AbsolutePosition());
        EXPECT_EQ(1, grid.Row());
    }
    dat.Recordset()->MoveLast();
    EXPECT_EQ(3, grid.Row());
}

TEST_F(BoundGridTest, FollowsAppendedChangedAndDeletedRows)
{
    const dao::RecordsetPtr rs = dat.Recordset();
    grid.setCell(flexcpBackColor, 3, 2, 0x99FF99); // Cy
    grid.setRowHidden(3, true);

    rs->AddNew();
    rs->Fields(QStringLiteral("PRSN_NM")).setValue(QStringLiteral("Al"));
    rs->Update();
    EXPECT_EQ(5, grid.Rows());
    EXPECT_EQ(QStringLiteral("Al"), grid.TextMatrix(4, 2)); // at the end until the next refresh

    rs->MoveFirst();
    rs->Edit();
    rs->Fields(QStringLiteral("AGE")).setValue(41);
    rs->Update();
    EXPECT_EQ(QStringLiteral("41"), grid.TextMatrix(1, 3));

    rs->setAbsolutePosition(1); // Bob
    rs->Delete();
    EXPECT_EQ(4, grid.Rows());
    EXPECT_EQ(QStringLiteral("Cy"), grid.TextMatrix(2, 2));
    // Colour and hidden flag moved up with Cy's row.
    EXPECT_EQ(0x99FF99u, grid.Cell(flexcpBackColor, 2, 2).toUInt());
    EXPECT_TRUE(grid.RowHidden(2));
    EXPECT_TRUE(grid.isRowHidden(1));
    EXPECT_FALSE(grid.RowHidden(3));

    dat.Refresh(); // a refresh starts the rows afresh
    EXPECT_EQ(4, grid.Rows());
    EXPECT_FALSE(grid.RowHidden(2));
    EXPECT_EQ(0u, grid.Cell(flexcpBackColor, 2, 2).toUInt());
    EXPECT_EQ(QStringLiteral("Al"), grid.TextMatrix(1, 2));
}

TEST_F(BoundGridTest, TheFillEventRunsOncePerCellOfEachRowNeeded)
{
    struct Call {
        int row, col;
        QString text;
    };
    std::vector<Call> calls;
    QObject::connect(&grid, &VSFlexGrid::FilterData, [&](int row, int col, QString& text, bool, bool& cancel) {
        calls.push_back({row, col, text});
        if (col == 3 && !text.isEmpty() && text.toInt() >= 40) {
            grid.setCell(flexcpBackColor, row, 3, 0x9999FF);
            // The row's earlier cells are already filled.
            grid.setCell(flexcpBackColor, row, 2, grid.TextMatrix(row, 2) == QStringLiteral("ANN") ? 0x99FFFF : 0);
        }
        if (col == 2)
            text = text.toUpper();
        cancel = true;
    });
    dat.Refresh();
    EXPECT_TRUE(calls.empty()); // nothing is filled before it is needed

    EXPECT_EQ(QStringLiteral("ANN"), grid.TextMatrix(1, 2));
    ASSERT_EQ(6u, calls.size()); // one call per field of row 1, in column order
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(1, calls[std::size_t(i)].row);
        EXPECT_EQ(i + 1, calls[std::size_t(i)].col);
    }
    EXPECT_EQ(QStringLiteral("Ann"), calls[1].text);
    EXPECT_EQ(0x9999FFu, grid.Cell(flexcpBackColor, 1, 3).toUInt());
    EXPECT_EQ(0x99FFFFu, grid.Cell(flexcpBackColor, 1, 2).toUInt());
    grid.TextMatrix(1, 4);
    EXPECT_EQ(6u, calls.size()); // once per row

    EXPECT_EQ(0u, grid.Cell(flexcpBackColor, 3, 3).toUInt()); // Cy, 7
    EXPECT_EQ(12u, calls.size());

    // A changed row is filled again.
    dat.Recordset()->MoveLast();
    dat.Recordset()->Edit();
    dat.Recordset()->Fields(QStringLiteral("AGE")).setValue(70);
    dat.Recordset()->Update();
    EXPECT_EQ(0x9999FFu, grid.Cell(flexcpBackColor, 3, 3).toUInt());
    EXPECT_EQ(18u, calls.size());
}

TEST(VSFlexGridLarge, AHundredThousandRowsAreShownWithoutMakingThemAll)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    dao::DatabasePtr db = testing_controls::createDatabase(dir.filePath(QStringLiteral("large.mdb")));
    testing_controls::addReadings(*db, 100000);
    DataControl dat;
    dat.setDatabase(db);
    dat.setRecordSource(QStringLiteral("SELECT RD_KY, MSRD_DT, HBP, format(WT,'0.0'), CMMNT FROM READING ORDER BY MSRD_DT"));
    VSFlexGrid grid;
    grid.setDataSource(&dat);
    int filled = 0;
    QObject::connect(&grid, &VSFlexGrid::FilterData, [&](int, int, QString&, bool, bool& cancel) {
        ++filled;
        cancel = true;
    });
    dat.Refresh();
    grid.resize(800, 600);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QImage shot = grid.grab().toImage();
    EXPECT_FALSE(shot.isNull());

    EXPECT_EQ(100001, grid.Rows());
    EXPECT_EQ(100000, grid.model()->rowCount());
    EXPECT_GT(filled, 0);
    EXPECT_LT(filled, 5 * 200); // only the rows on screen were filled

    // Reading 60500 (grid row 60501): 60 + 500/10 kg, a comment on every tenth reading.
    EXPECT_EQ(QStringLiteral("110.0"), grid.TextMatrix(60501, 4));
    EXPECT_EQ(QStringLiteral("note 60500"), grid.TextMatrix(60501, 5));
    EXPECT_EQ(QString(), grid.TextMatrix(60502, 5));
    EXPECT_EQ(vb::CStr(QDateTime(QDate(2024, 1, 1), QTime(8, 0), Qt::UTC).addSecs(60LL * 60500)), grid.TextMatrix(60501, 2));

    // Hidden rows close up on screen.
    for (int r = 2; r <= 10; r += 2)
        grid.setRowHidden(r, true);
    QApplication::processEvents();
    EXPECT_EQ(grid.rowViewportPosition(0) + grid.rowHeight(0), grid.rowViewportPosition(2));
    EXPECT_TRUE(grid.visualRect(grid.model()->index(1, 1)).isEmpty());

    // Moving the data control to the last row scrolls the grid there.
    dat.lastButton()->click();
    EXPECT_EQ(100000, grid.Row());
    QApplication::processEvents();
    EXPECT_TRUE(grid.viewport()->rect().intersects(grid.visualRect(grid.model()->index(99999, 1))));
    db->Close();
}

} // namespace
