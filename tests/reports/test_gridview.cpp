// "Browse Measurements": the rows of each category and period, colours, hidden columns and rows,
// and the fixed-width text export of what is shown.
#include "reports/GridFixture.h"

#include "data/clsDataService.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/ui/MsgBox.h"
#include "reports/clsExport.h"
#include "reports/clsWebReportGenerator.h"
#include "reports/frmGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>

#include <map>
#include <set>

namespace {

using testing_reports::at;
using testing_reports::GridFixture;
using testing_reports::Reading;

class GridViewTest : public GridFixture {
protected:
    frmGrid& openGrid()
    {
        auto& grid = vb::defaultInstance<frmGrid>();
        grid.Load();
        return grid;
    }

    // Sets the category, the period and the ticked groups (all when empty), then shows.
    static void show(frmGrid& grid, int category, const QString& period, const std::set<QCheckBox*>& ticked = {})
    {
        grid.lstPlotType->setCurrentRow(category);
        grid.lstSelectPeriod->setCurrentRow(int(PeriodName::all().indexOf(period)));
        for (QCheckBox* box : grid.ColumnCheckBoxes())
            box->setChecked(ticked.empty() || ticked.count(box) > 0);
        grid.cmdShow_Click();
    }

    // Date texts of the rows the grid shows.
    static QStringList shownDates(const frmGrid& grid)
    {
        QStringList out;
        for (int row = 1; row < grid.vsFGShow->Rows(); ++row) {
            if (!grid.vsFGShow->RowHidden(row))
                out << grid.vsFGShow->TextMatrix(row, frmGrid::colDate);
        }
        return out;
    }

    static std::vector<int> hiddenColumns(const frmGrid& grid)
    {
        std::vector<int> out;
        for (int col = 1; col < grid.vsFGShow->Cols(); ++col) {
            if (grid.vsFGShow->ColHidden(col))
                out.push_back(col);
        }
        return out;
    }

    static vb::OLE_COLOR backColor(const frmGrid& grid, int row, int col)
    {
        return grid.vsFGShow->Cell(flexcpBackColor, row, col).value<vb::OLE_COLOR>();
    }
};

// ---------------------------------------------------------------------------------------------
// Rows of each category and period

TEST_F(GridViewTest, EachCategoryShowsThePersonsRowsInDateOrderAsAQueryOfItsOwnFindsThem)
{
    const qint32 other = addPerson(QStringLiteral("Other"));
    add(other, Reading{at(2024, 3, 9), 150, 95});
    const qint32 person = addPerson(QStringLiteral("Ada"));
    gPersonKey = person;
    // Out of order, over three months and two readings on one day.
    for (const auto& [when, hbp] : std::vector<std::pair<QDateTime, int>>{
             {at(2024, 3, 2, 21, 5), 131}, {at(2024, 1, 15), 120}, {at(2024, 3, 2, 7, 30), 125}, {at(2024, 2, 27), 140}})
        add(person, Reading{when, hbp, 80, 70, 150.25});

    frmGrid& grid = openGrid();
    const struct {
        int category;
        const char* query;
    } cases[] = {
        {0, "select MSRD_DT, HBP from MEASURE where PRSN_KY = %1 order by MSRD_DT"},
        {1, "select DT, HBP from AVERAGE_DAY where PRSN_KY = %1 order by DT"},
        {2, "select WEEK, HBP from AVERAGE_WEEK where PRSN_KY = %1 order by WEEK"},
        {3, "select MNTH, HBP from AVERAGE_MONTH where PRSN_KY = %1 order by MNTH"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.category);
        show(grid, c.category, PeriodName::AllPeriod);
        QStringList expected, actual;
        auto rs = gDB->OpenRecordset(QString::fromLatin1(c.query).arg(person), dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            const QDateTime when = rs->Fields(0).Value().toDateTime();
            expected << when.toString(QStringLiteral("MM/dd/yy")) + u' ' +
                            (c.category == 0 ? when.toString(QStringLiteral("hh:mm AP")) : QStringLiteral("00:00 AM")) + u' ' +
                            vb::CStr(rs->Fields(1).Value());
        }
        for (int row = 1; row < grid.vsFGShow->Rows(); ++row)
            actual << grid.vsFGShow->TextMatrix(row, frmGrid::colDate) + u' ' + grid.vsFGShow->TextMatrix(row, frmGrid::colTime) +
                          u' ' + grid.vsFGShow->TextMatrix(row, frmGrid::colHighBP);
        EXPECT_EQ(expected, actual);
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(c.category, grid.ShownPlotType);
    }
    // The weight shows with one decimal.
    show(grid, 0, PeriodName::AllPeriod);
    EXPECT_EQ(QStringLiteral("150.3"), grid.vsFGShow->TextMatrix(1, frmGrid::colWeight));
}

TEST_F(GridViewTest, EachPeriodStartsWhereItsBoundaryLiesCountedFromTheLatestReading)
{
    const qint32 person = addPerson(QStringLiteral("Ada"));
    gPersonKey = person;
    // The latest reading is on 15 March 2024; each period's first day holds a reading at
    // midnight and the evening before holds another.
    const QDate firsts[] = {{2024, 3, 1}, {2024, 1, 1}, {2023, 10, 1}, {2023, 1, 1}, {2022, 1, 1}};
    add(person, Reading{at(2024, 3, 15, 10), 120, 80});
    add(person, Reading{at(2021, 6, 1), 120, 80});
    for (const QDate& first : firsts) {
        add(person, Reading{QDateTime(first, QTime(0, 0), Qt::UTC), 120, 80});
        add(person, Reading{QDateTime(first.addDays(-1), QTime(23, 0), Qt::UTC), 120, 80});
    }

    frmGrid& grid = openGrid();
    const struct {
        QString period;
        QDate first;
    } cases[] = {
        {PeriodName::AllPeriod, {2021, 6, 1}},    {PeriodName::Last1Month, {2024, 3, 1}}, {PeriodName::Last3Months, {2024, 1, 1}},
        {PeriodName::Last6Months, {2023, 10, 1}}, {PeriodName::Last1Year, {2024, 1, 1}},  {PeriodName::Last2Years, {2023, 1, 1}},
        {PeriodName::Last3Years, {2022, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.period.toStdString());
        show(grid, 0, c.period);
        const QStringList dates = shownDates(grid);
        ASSERT_FALSE(dates.isEmpty());
        EXPECT_EQ(c.first.toString(QStringLiteral("MM/dd/yy")), dates.first());
        EXPECT_EQ(count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1 and MSRD_DT >= #%2#")
                            .arg(person)
                            .arg(c.first.toString(QStringLiteral("M/d/yyyy")))),
                  dates.size());
    }
}

TEST_F(GridViewTest, APersonWithoutRowsInTheCategoryShowsOnlyTheHeaderRow)
{
    const qint32 person = addPerson(QStringLiteral("Ada"));
    gPersonKey = person;
    // Written without their averages.
    gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, PLSE) values (%1, #3/1/2024 8:00 AM#, 70)").arg(person));
    frmGrid& grid = openGrid();
    show(grid, 2, PeriodName::AllPeriod);
    EXPECT_EQ(1, grid.vsFGShow->Rows());
    EXPECT_EQ(QStringLiteral("Pulse (/min)"), grid.vsFGShow->TextMatrix(0, frmGrid::colPulse));
}

// ---------------------------------------------------------------------------------------------
// Colours, columns and rows

TEST_F(GridViewTest, BloodPressureAndSugarCellsTakeTheirBandsAndGoalsColours)
{
    addGoal(QStringLiteral("Fasting"), 80, 120, 60, 180);
    addGoal(QStringLiteral("Dad's <\u00E9>"), 90, 100, 80, 110);
    const qint32 person = addPerson(QStringLiteral("Ada"));
    gPersonKey = person;
    const vb::OLE_COLOR red = 0x9999FF, yellow = 0x99FFFF, green = 0x99FF99;
    const struct {
        std::optional<int> hbp, lbp;
        std::optional<double> sugar;
        const char* goal;
        vb::OLE_COLOR high, low, sugarColor; // the goal cell takes the sugar cell's colour
    } cases[] = {
        {129, 84, 100, "Fasting", green, green, green},
        {130, 85, 80, "Fasting", yellow, yellow, green},
        {139, 89, 70, "Fasting", yellow, yellow, yellow},
        {140, 90, 150, "Fasting", red, red, yellow},
        {{}, {}, 50, "Fasting", 0, 0, red},
        {{}, {}, 200, "Fasting", 0, 0, red},
        {{}, {}, 100, "", 0, 0, 0},
        {{}, {}, {}, "Fasting", 0, 0, red}, // no sugar reads as 0
        {{}, {}, 95, "Dad's <\u00E9>", 0, 0, green},
        {{}, {}, 105, "Dad's <\u00E9>", 0, 0, yellow},
    };
    int minute = 0;
    for (const auto& c : cases) {
        Reading r{at(2024, 3, 1, 8, minute++), c.hbp, c.lbp, 60};
        r.sugar = c.sugar;
        r.goal = QString::fromUtf8(c.goal);
        add(person, r);
    }
    frmGrid& grid = openGrid();
    show(grid, 0, PeriodName::AllPeriod);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].high, backColor(grid, i + 1, frmGrid::colHighBP));
        EXPECT_EQ(cases[i].low, backColor(grid, i + 1, frmGrid::colLowBP));
        EXPECT_EQ(cases[i].sugarColor, backColor(grid, i + 1, frmGrid::colSugar));
        EXPECT_EQ(cases[i].sugarColor, backColor(grid, i + 1, frmGrid::colGoal));
        EXPECT_EQ(0u, backColor(grid, i + 1, frmGrid::colPulse));
    }
    // Unticked colour boxes colour nothing.
    grid.chkBPColor->setChecked(false);
    grid.chkSugarColor->setChecked(false);
    show(grid, 0, PeriodName::AllPeriod);
    EXPECT_EQ(0u, backColor(grid, 4, frmGrid::colHighBP));
    EXPECT_EQ(0u, backColor(grid, 4, frmGrid::colSugar));
}

TEST_F(GridViewTest, AveragesHideTimeGoalRegimenMoodAndCommentWhateverTheBoxesSay)
{
    const qint32 person = addPerson(QStringLiteral("Ada"));
    gPersonKey = person;
    add(person, Reading{at(2024, 3, 1), 120, 80, 70});
    frmGrid& grid = openGrid();
    const std::vector<int> daily = {frmGrid::colRegimenKey, frmGrid::colMoodKey};
    const std::vector<int> averages = {frmGrid::colRegimenKey, frmGrid::colMoodKey, frmGrid::colTime,   frmGrid::colGoal,
                                       frmGrid::colRegimen,    frmGrid::colMood,    frmGrid::colComment};
    for (const int category : {2, 0, 1, 3, 0}) {
        SCOPED_TRACE(category);
        show(grid, category, PeriodName::AllPeriod);
        EXPECT_EQ(category == 0 ? daily : averages, hiddenColumns(grid));
        EXPECT_EQ(category, grid.ShownPlotType);
        EXPECT_EQ(category == 0, grid.chkRegimen->isEnabled());
        EXPECT_EQ(category == 0, grid.chkCmmnt->isEnabled());
    }
    // Unticked groups hide their columns.
    show(grid, 0, PeriodName::AllPeriod, {grid.chkPLSE, grid.chkSugar});
    EXPECT_EQ((std::vector<int>{1, 2, 5, 6, 8, 9, 10, 13, 14, 15}), hiddenColumns(grid));
}

TEST_F(GridViewTest, ARowIsShownOnlyWhenATickedGroupHasAValueInIt)
{
    addGoal(QStringLiteral("Fasting"), 80, 120, 60, 180);
    addRegimen(QStringLiteral("Walk"), QStringLiteral("Brisk walk"));
    const QString mood = value(QStringLiteral("select MD_NM from MOOD order by MD_KY")).toString();
    const qint32 person = addPerson(QStringLiteral("Ada"));
    gPersonKey = person;
    // One group's value on each day.
    Reading pulse{at(2024, 3, 1)}, weight{at(2024, 3, 2)}, custom{at(2024, 3, 3)}, sugar{at(2024, 3, 4)},
        sugarGoal{at(2024, 3, 5)}, comment{at(2024, 3, 6)}, regimen{at(2024, 3, 7)}, moodOnly{at(2024, 3, 8)},
        highOnly{at(2024, 3, 9)}, both{at(2024, 3, 10)};
    pulse.pulse = 70;
    weight.weight = 150;
    custom.temp1 = 98.6;
    sugar.sugar = 100; // no goal named
    sugarGoal.sugar = 110;
    sugarGoal.goal = QStringLiteral("Fasting");
    comment.comment = QStringLiteral("felt fine");
    regimen.regimen = QStringLiteral("Walk");
    moodOnly.mood = mood;
    highOnly.hbp = 130;
    both.hbp = 120;
    both.lbp = 80;
    for (const Reading& r : {pulse, weight, custom, sugar, sugarGoal, comment, regimen, moodOnly, highOnly, both})
        add(person, r);

    frmGrid& grid = openGrid();
    const struct {
        int category;
        std::set<QCheckBox*> ticked;
        QStringList days;
    } cases[] = {
        {0, {grid.chkPLSE}, {"03/01/24"}},
        {0, {grid.chkWt}, {"03/02/24"}},
        {0, {grid.chkTemp1}, {"03/03/24"}},
        {0, {grid.chkTemp}, {}},
        {0, {grid.chkSugar}, {"03/04/24", "03/05/24"}},
        {0, {grid.chkCmmnt}, {"03/06/24"}},
        {0, {grid.chkRegimen}, {"03/07/24"}},
        {0, {grid.chkMood}, {"03/08/24"}},
        {0, {grid.chkBP}, {"03/10/24"}}, // both values needed
        {0, {grid.chkPLSE, grid.chkSugar}, {"03/01/24", "03/04/24", "03/05/24"}},
        {1, {grid.chkSugar}, {"03/04/24", "03/05/24"}},
        {1, {grid.chkCmmnt}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days.join(u',').toStdString());
        show(grid, c.category, PeriodName::AllPeriod, c.ticked);
        EXPECT_EQ(c.days, shownDates(grid));
    }
    // Nothing ticked: every row hidden.
    grid.lstPlotType->setCurrentRow(0);
    for (QCheckBox* box : grid.ColumnCheckBoxes())
        box->setChecked(false);
    grid.cmdShow_Click();
    EXPECT_EQ(QStringList(), shownDates(grid));
}

TEST_F(GridViewTest, LoadingReadsTheLabelsAndChoosingAPersonSelectsDailyButLeavesTheTable)
{
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temperature1', TempUnit = 'degrees Fahr', "
                                "Temp1LBL = 'Waist <cm>', Temp1Unit = 'cm', Temp2Unit = 'mmol/l'"));
    const qint32 ada = addPerson(QStringLiteral("Ada"));
    const qint32 bea = addPerson(QStringLiteral("Bea"));
    add(ada, Reading{at(2024, 3, 1), 120, 80});
    add(bea, Reading{at(2024, 4, 1), 130, 85});
    gPersonKey = -1; // not listed: the first person is chosen
    frmGrid& grid = openGrid();
    ASSERT_GE(grid.cboPerson->count(), 2);
    EXPECT_EQ(QStringLiteral("Ada"), grid.cboPerson->currentText());
    EXPECT_EQ(ada, gPersonKey);
    EXPECT_EQ(QStringLiteral("Last 1 Month"), grid.lstSelectPeriod->currentItem()->text());
    EXPECT_EQ(QStringLiteral("Show &Data"), grid.cmdShow->text());
    EXPECT_TRUE(grid.cmdShow->font().bold());
    EXPECT_EQ(QStringLiteral("Temperature1 (degrees Fahr)"), grid.vsFGShow->TextMatrix(0, frmGrid::colTemp));
    EXPECT_EQ(QStringLiteral("Waist <cm> (cm)"), grid.vsFGShow->TextMatrix(0, frmGrid::colTemp1));
    EXPECT_EQ(QStringLiteral("Sugar (mmol/l)"), grid.vsFGShow->TextMatrix(0, frmGrid::colSugar));
    EXPECT_EQ(QStringLiteral("Weight (lb)"), grid.vsFGShow->TextMatrix(0, frmGrid::colWeight));
    EXPECT_EQ(QStringLiteral("Waist <cm>"), grid.chkTemp1->text());
    EXPECT_GE(grid.vsFGShow->RowHeight(0), 500);

    show(grid, 2, PeriodName::AllPeriod);
    grid.cboPerson->setCurrentIndex(grid.cboPerson->findText(QStringLiteral("Bea")));
    EXPECT_EQ(bea, gPersonKey);
    EXPECT_EQ(0, grid.lstPlotType->currentRow());
    EXPECT_EQ(QStringList{QStringLiteral("03/03/24")}, shownDates(grid)); // Ada's week, still
    EXPECT_EQ(2, grid.ShownPlotType);
}

TEST_F(GridViewTest, TheWebPageOfTheGridEscapesItsTextsAndKeepsItsColours)
{
    const qint32 person = addPerson(QStringLiteral("Ada"));
    gPersonKey = person;
    Reading r{at(2024, 3, 1), 145, 80};
    r.comment = QStringLiteral("a<b & \"quoted\" Zo\u00EB");
    add(person, r);
    frmGrid& grid = openGrid();
    show(grid, 0, PeriodName::AllPeriod);
    clsWebReportGenerator page;
    clsExport().GridToHTML(*grid.vsFGShow, QStringLiteral("Daily measurement reading for Ada"), page);
    const QString path = programFolder() + QStringLiteral("/page.html");
    page.SaveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray html = file.readAll();
    EXPECT_TRUE(html.contains("a&lt;b &amp; \"quoted\" Zo\xEB</TD>"));
    EXPECT_TRUE(html.contains("BGCOLOR=\"#FF9999\" ALIGN=RIGHT > 145</TD>")) << html.toStdString();
    EXPECT_FALSE(html.contains("rgmn_ky"));
}

TEST_F(GridViewTest, LabelsAndUnitsHoldingMarksKeepTheirColumns)
{
    gPersonKey = addPerson(QStringLiteral("Ada"));
    Reading r{at(2024, 3, 1), 120, 80};
    r.temp = 37.5;
    r.sugar = 101;
    add(gPersonKey, r);
    // Written by an older program or edited outside this one.
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temp|C', TempUnit = '^F', Temp1Unit = '|'"));
    frmGrid& grid = openGrid();
    show(grid, 0, PeriodName::AllPeriod);
    QStringList headings, values;
    for (int col = frmGrid::colTemp; col < grid.vsFGShow->Cols(); ++col) {
        headings << grid.vsFGShow->TextMatrix(0, col);
        values << grid.vsFGShow->TextMatrix(1, col);
    }
    EXPECT_EQ((QStringList{"Temp|C (^F)", "Custom2 (|)", "Sugar (mg/dl)", "Sugar Goal Name", "Regimen", "Mood", "Comment"}),
              headings);
    EXPECT_EQ((QStringList{"37.5", "", "101.0", "", "", "", ""}), values);
}

} // namespace
