// The open-form save and restore: the data forms the report takes out of the way come back,
// maximised, with the chart window's and the grid view's selections.
#include "reports/GridFixture.h"

#include "charts/frmChart.h"
#include "platform/controls/TChart.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/controls/usrMonthYear.h"
#include "records/frmDSetGoal.h"
#include "records/frmMeasure.h"
#include "records/frmMemo.h"
#include "records/frmRegimen.h"
#include "reports/clsScreenConfiguration.h"
#include "reports/frmGrid.h"

#include <QCheckBox>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace {

using testing_reports::GridFixture;

class ScreenConfigurationTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        gPersonKey = count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = 'Pellam Ostry'"));
    }

    static bool isLoaded(const char* name) { return vb::Forms().Find(QLatin1String(name)) != nullptr; }
    static vb::FormBase* loaded(const char* name) { return vb::Forms().Find(QLatin1String(name)); }
};

TEST_F(ScreenConfigurationTest, EachDataFormIsClosedAndComesBackMaximised)
{
    const struct {
        const char* name;
        std::function<void()> open;
    } forms[] = {
        {"frmMeasure", [] { vb::defaultInstance<frmMeasure>().Show(); }},
        {"frmRegimen", [] { vb::defaultInstance<frmRegimen>().Show(); }},
        {"frmDSetGoal", [] { vb::defaultInstance<frmDSetGoal>().Show(); }},
        {"frmChart", [] { vb::defaultInstance<frmChart>().Show(); }},
        {"frmGrid", [] { vb::defaultInstance<frmGrid>().Show(); }},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE(f.name);
        f.open();
        vb::defaultInstance<frmMemo>().Load(); // not a data form: left alone
        clsScreenConfiguration screen;
        screen.SaveAndClose();
        EXPECT_FALSE(isLoaded(f.name));
        EXPECT_TRUE(isLoaded("frmMemo"));
        EXPECT_EQ(QLatin1String(f.name), screen.FormName());

        screen.Restore();
        ASSERT_TRUE(isLoaded(f.name));
        EXPECT_TRUE(loaded(f.name)->Window()->isMaximized());
        loaded(f.name)->Unload();
    }
}

TEST_F(ScreenConfigurationTest, TheGridComesBackWithItsCategoryPeriodAndColumnsShown)
{
    auto& grid = vb::defaultInstance<frmGrid>();
    grid.Show();
    grid.lstPlotType->setCurrentRow(3);     // "Monthly Average"
    grid.lstSelectPeriod->setCurrentRow(3); // "Last 6 Months"
    for (QCheckBox* box : grid.ColumnCheckBoxes())
        box->setChecked(box == grid.chkPLSE);
    grid.chkBPColor->setChecked(false);

    clsScreenConfiguration screen;
    screen.SaveAndClose();
    ASSERT_FALSE(isLoaded("frmGrid"));
    screen.Restore();

    auto* back = vb::Forms().Find<frmGrid>(QStringLiteral("frmGrid"));
    ASSERT_NE(nullptr, back);
    EXPECT_TRUE(back->Window()->isMaximized());
    EXPECT_EQ(3, back->lstPlotType->currentRow());
    EXPECT_EQ(3, back->lstSelectPeriod->currentRow());
    for (QCheckBox* box : back->ColumnCheckBoxes())
        EXPECT_EQ(box == back->chkPLSE, box->isChecked()) << box->objectName().toStdString();
    // The table shows them: month rows, only the pulse among the groups.
    EXPECT_EQ(3, back->ShownPlotType);
    EXPECT_FALSE(back->vsFGShow->ColHidden(frmGrid::colPulse));
    for (const int col : {5, 6, 8, 9, 10, 11, 12, 13, 14, 15})
        EXPECT_TRUE(back->vsFGShow->ColHidden(col)) << col;
    // Six months counted back from December 1999: July to December.
    EXPECT_EQ(7, back->vsFGShow->Rows());
    EXPECT_EQ(QStringLiteral("07/01/99"), back->vsFGShow->TextMatrix(1, frmGrid::colDate));
}

TEST_F(ScreenConfigurationTest, TheChartComesBackWithItsCategoryPeriodPlotAndTopAxisRedrawn)
{
    // A year besides the sample's 1999, with a mood to label.
    const QString mood = value(QStringLiteral("select min(MD_NM) from MOOD")).toString();
    for (const int day : {3, 17}) {
        testing_reports::Reading r(testing_reports::at(1998, 5, day), 130, 85, 70, 160.5);
        r.mood = mood;
        add(gPersonKey, r);
    }
    const struct {
        int category, year, month, plot, topLabel;
        int topSeries; // the top-axis label series shown, -1 for none
        const char* title;
    } rows[] = {
        {3, 1998, 5, 2, 0, -1, "Monthly Average of Weight for 1998"},
        {0, 1998, 5, 2, 2, 7, "Daily Plot of Weight for May, 1998"},
        {1, 1998, 5, 1, 0, -1, "Day Average of Pulse for May, 1998"},
        // The multiple plot and "Sugar Test Time" come back too.
        {0, 1999, 11, 6, 3, 6, "Daily Plot for November, 1999"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.title);
        auto& chart = vb::defaultInstance<frmChart>();
        chart.Show();
        chart.lstPlotType->setCurrentRow(r.category);
        chart.usrMonthYear1->SelectPeriod(r.year, r.month);
        chart.optFact[static_cast<std::size_t>(r.plot)]->setChecked(true);
        chart.optTopLbl[static_cast<std::size_t>(r.topLabel)]->setChecked(true);
        ASSERT_EQ(QLatin1String(r.title), chart.TChart1->Title().join(QLatin1Char('|')));

        clsScreenConfiguration screen;
        screen.SaveAndClose();
        ASSERT_FALSE(isLoaded("frmChart"));
        screen.Restore();

        auto* back = vb::Forms().Find<frmChart>(QStringLiteral("frmChart"));
        ASSERT_NE(nullptr, back);
        EXPECT_TRUE(back->Window()->isMaximized());
        EXPECT_EQ(r.category, back->lstPlotType->currentRow());
        EXPECT_EQ(r.year, back->usrMonthYear1->SelectedYear());
        EXPECT_EQ(r.month, back->usrMonthYear1->SelectedMonth());
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(i == r.plot, back->optFact[static_cast<std::size_t>(i)]->isChecked()) << "plot " << i;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(i == r.topLabel, back->optTopLbl[static_cast<std::size_t>(i)]->isChecked()) << "top " << i;
            EXPECT_EQ(i == r.topLabel, back->optTopLbl[static_cast<std::size_t>(i)]->font().bold()) << "top " << i;
        }
        // Redrawn through the window's handlers: the kept period's data, title and labels.
        EXPECT_EQ(QLatin1String(r.title), back->TChart1->Title().join(QLatin1Char('|')));
        EXPECT_GT(back->TChart1->Series(2).Count(), 0);
        for (const int series : {6, 7, 8})
            EXPECT_EQ(series == r.topSeries, back->TChart1->Series(series).Active()) << "series " << series;
        EXPECT_EQ(r.plot == 6, back->cmdMultipleCharts->isEnabled());
        back->Unload();
    }
}

TEST_F(ScreenConfigurationTest, TheChartsPeriodComesBackOnlyWhereThePersonItComesBackOnHasReadings)
{
    const qint32 sample = gPersonKey; // every month of 1999
    const qint32 ada = addPerson(QStringLiteral("Ada Holm"));
    const qint32 bo = addPerson(QStringLiteral("Bo Lind"));
    for (const QDateTime& when : {testing_reports::at(2026, 12, 4), testing_reports::at(1999, 3, 9)})
        add(ada, testing_reports::Reading(when, 120, 80, 60));
    for (const QDateTime& when : {testing_reports::at(1999, 6, 2), testing_reports::at(2001, 1, 5)})
        add(bo, testing_reports::Reading(when, 120, 80, 60));
    const struct {
        int keptYear, keptMonth;
        qint32 backOn; // the person the window comes back on
        int year, month;
        const char* marks; // the months of the shown year with readings
        const char* years;
    } rows[] = {
        {2026, 12, sample, 1999, 12, "xxxxxxxxxxxx", "1999"}, // no year of the person's: the latest
        {1999, 3, bo, 2001, 1, "x...........", "1999 2001"},  // the year, not the month: the latest
        {1999, 3, ada, 1999, 3, "..x.........", "1999 2026"}, // the marks of the kept year
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(QStringLiteral("%1/%2 on %3").arg(r.keptMonth).arg(r.keptYear).arg(r.backOn).toStdString());
        gPersonKey = ada;
        auto& chart = vb::defaultInstance<frmChart>();
        chart.Show();
        chart.usrMonthYear1->SelectPeriod(r.keptYear, r.keptMonth);
        clsScreenConfiguration screen;
        screen.SaveAndClose();
        gPersonKey = r.backOn; // the report's person
        screen.Restore();

        auto* back = vb::Forms().Find<frmChart>(QStringLiteral("frmChart"));
        ASSERT_NE(nullptr, back);
        EXPECT_EQ(r.year, back->usrMonthYear1->SelectedYear());
        EXPECT_EQ(r.month, back->usrMonthYear1->SelectedMonth());
        QString marks;
        for (int m = 1; m <= 12; ++m)
            marks += back->usrMonthYear1->MonthMarked(m) ? u'x' : u'.';
        EXPECT_EQ(r.marks, marks.toStdString());
        QStringList years;
        for (int i = 0; i < back->usrMonthYear1->YearCount(); ++i)
            years << QString::number(back->usrMonthYear1->Year(i));
        EXPECT_EQ(r.years, years.join(u' ').toStdString());
        const QString period = QLocale().toString(QDate(r.year, r.month, 1), QStringLiteral("MMMM, yyyy"));
        EXPECT_EQ(("Daily Plot of Blood Pressure for " + period).toStdString(), back->TChart1->Title().join(u'|').toStdString());
        back->Unload();
    }
}

TEST_F(ScreenConfigurationTest, TheMeasurementAndGoalFormsBothComeBackAndNothingOpensWithoutADataForm)
{
    vb::defaultInstance<frmMeasure>().Show();
    vb::defaultInstance<frmDSetGoal>().Show();
    clsScreenConfiguration screen;
    screen.SaveAndClose();
    EXPECT_FALSE(isLoaded("frmMeasure"));
    EXPECT_FALSE(isLoaded("frmDSetGoal"));
    EXPECT_EQ(QStringLiteral("frmDSetGoal"), screen.FormName());
    screen.Restore();
    EXPECT_TRUE(isLoaded("frmMeasure"));
    EXPECT_TRUE(isLoaded("frmDSetGoal"));
    // The one met last in the walk is on top, as before.
    EXPECT_EQ(vb::Forms().Item(vb::Forms().Count() - 1), loaded("frmDSetGoal"));

    vb::DestroyAllForms();
    clsScreenConfiguration empty;
    empty.SaveAndClose();
    EXPECT_EQ(QString(), empty.FormName());
    empty.Restore();
    EXPECT_EQ(0, vb::Forms().Count());
}

} // namespace
