// The four loaders of the chart builder and the plot settings, read back from the chart model.
#include "ChartFixture.h"

#include "charts/clsChart.h"
#include "charts/clsTChartInterface.h"
#include "data/clsDataService.h"
#include "data/modFunctions.h"

using testing_charts::ChartFixture;

namespace {

class Loaders : public ChartFixture {
protected:
    void SetUp() override
    {
        ChartFixture::SetUp();
        clsTChartInterface().InitChart(form());
        person = addPerson(QStringLiteral("Lena Brook"));
    }

    void load(int category, int month, int year)
    {
        clsDataService service;
        auto rs = service.GetMeasureData(person, category);
        clsChart chart;
        switch (category) {
        case 0: chart.LoadDailyPlot(month, year, *rs, form()); break;
        case 1: chart.LoadDayAveragePlot(month, year, *rs, form()); break;
        case 2: chart.LoadWeeklyAveragePlot(month, year, *rs, form()); break;
        default: chart.LoadMonthlyAveragePlot(month, year, *rs, form()); break;
        }
        rs->Close();
    }

    void addAverage(const char* table, const char* column, const QString& day, int pulse)
    {
        gDB->Execute(QStringLiteral("insert into %1 (PRSN_KY, %2, PLSE) values (%3, %4, %5)")
                         .arg(QLatin1String(table), QLatin1String(column))
                         .arg(person)
                         .arg(day)
                         .arg(pulse),
                     dao::dbFailOnError);
    }

    int person = 0;
};

TEST_F(Loaders, ADailyMonthRunsFromMidnightOfItsFirstDayToTheEndOfItsLast)
{
    addReading(person, QStringLiteral("#2/29/2024 11:30 PM#"), QStringLiteral("HBP, LBP, PLSE"), QStringLiteral("120, 80, 61"));
    addReading(person, QStringLiteral("#3/1/2024 12:00 AM#"), QStringLiteral("HBP, LBP, PLSE"), QStringLiteral("130, 85, 62"));
    addReading(person, QStringLiteral("#3/15/2024 8:00 AM#"), QStringLiteral("HBP, PLSE, WT"), QStringLiteral("150, 63, 181.5"));
    addReading(person, QStringLiteral("#3/20/2024 8:00 AM#"), QStringLiteral("LBP, TEMP, TEMP1"), QStringLiteral("95, 98.6, 97"));
    addReading(person, QStringLiteral("#3/31/2024 11:30 PM#"), QStringLiteral("HBP, LBP, TEMP2"), QStringLiteral("140, 90, 110"));
    addReading(person, QStringLiteral("#4/1/2024 12:00 AM#"), QStringLiteral("HBP, LBP, PLSE"), QStringLiteral("125, 82, 64"));
    load(0, 3, 2024);

    // Blood pressure only where both values are there.
    EXPECT_EQ((QStringList{QStringLiteral("3/1 0:00"), QStringLiteral("3/31 23:30")}), dates(0));
    for (int i : {9, 10, 11, 12})
        EXPECT_EQ(dates(0), dates(i)) << i;
    EXPECT_EQ((QStringList{QStringLiteral("3/1 0:00"), QStringLiteral("3/15 8:00")}), dates(1));
    EXPECT_EQ(QStringList{QStringLiteral("3/15 8:00")}, dates(2));
    EXPECT_FLOAT_EQ(181.5f, float(chart().Series(2).Point(0).y));
    EXPECT_EQ(QStringList{QStringLiteral("3/20 8:00")}, dates(3));
    EXPECT_EQ(QStringList{QStringLiteral("3/20 8:00")}, dates(4));
    EXPECT_EQ(QStringList{QStringLiteral("3/31 23:30")}, dates(5));
    // A sugar reading without a goal gets the colour of no goal; each-point colouring is off.
    EXPECT_EQ(vb::OLE_COLOR(modFunctions::SugarNoGoalColor), chart().Series(5).Point(0).color);
    for (int i : {1, 2, 3, 4, 5, 9, 10})
        EXPECT_FALSE(chart().Series(i).ColorEachPoint()) << i;
    // Every reading of the month has its three labels; names it lacks are 15 blanks.
    for (int i : {6, 7, 8}) {
        ASSERT_EQ(4, chart().Series(i).Count()) << i;
        EXPECT_EQ(QString(15, QLatin1Char(' ')), chart().Series(i).Point(0).label);
    }
}

TEST_F(Loaders, TopAxisLabelsNameTheMoodRegimenAndGoal)
{
    gDB->Execute(QStringLiteral("insert into REGIMEN (RGMN_NM, RGMN_DTL) values ('Swim45', 'Swim')"), dao::dbFailOnError);
    const int regimen = count(QStringLiteral("select RGMN_KY from REGIMEN where RGMN_NM = 'Swim45'"));
    const int mood = count(QStringLiteral("select min(MD_KY) from MOOD"));
    const QString moodName = value(QStringLiteral("select MD_NM from MOOD where MD_KY = %1").arg(mood)).toString();
    const QVariant goal = value(QStringLiteral("select min(GL_KY) from DBTS_GOAL"));
    addReading(person, QStringLiteral("#5/2/2024 7:00 AM#"), QStringLiteral("MD_KY, RGMN_KY, TEMP2"),
               QStringLiteral("%1, %2, 100").arg(mood).arg(regimen));
    if (!goal.isNull())
        gDB->Execute(QStringLiteral("update MEASURE set GL_KY = %1 where PRSN_KY = %2").arg(goal.toInt()).arg(person));
    load(0, 5, 2024);
    EXPECT_EQ(moodName, chart().Series(7).Point(0).label);
    EXPECT_EQ(QStringLiteral("Swim45"), chart().Series(8).Point(0).label);
    if (!goal.isNull()) {
        const QString goalName =
            value(QStringLiteral("select GL_NM from DBTS_GOAL where GL_KY = %1").arg(goal.toInt())).toString();
        EXPECT_EQ(goalName, chart().Series(6).Point(0).label);
        EXPECT_EQ(vb::OLE_COLOR(modFunctions::GetSugarGoalColor(100, goalName)), chart().Series(5).Point(0).color);
    }
}

TEST_F(Loaders, AveragesCoverTheirPeriodWhateverMonthIsPassed)
{
    // Weeks are keyed by their Sunday: the week ending 1/7/2024 is 2024's first, the one ending
    // 12/31/2023 the year before's last, the one ending 1/5/2025 the next year's.
    for (const char* week : {"#12/31/2023#", "#1/7/2024#", "#12/29/2024#", "#1/5/2025#"})
        addAverage("AVERAGE_WEEK", "WEEK", QLatin1String(week), 70);
    for (const char* month : {"#12/1/2023#", "#1/1/2024#", "#12/1/2024#", "#1/1/2025#"})
        addAverage("AVERAGE_MONTH", "MNTH", QLatin1String(month), 71);
    for (const char* day : {"#2/29/2024#", "#3/1/2024#", "#3/31/2024#", "#4/1/2024#"})
        addAverage("AVERAGE_DAY", "DT", QLatin1String(day), 72);

    const struct {
        int category, month, year;
        QStringList dates;
    } rows[] = {
        {2, 1, 2024, {QStringLiteral("1/7 0:00"), QStringLiteral("12/29 0:00")}},
        {2, 9, 2024, {QStringLiteral("1/7 0:00"), QStringLiteral("12/29 0:00")}},
        {2, 3, 2023, {QStringLiteral("12/31 0:00")}},
        {3, 6, 2024, {QStringLiteral("1/1 0:00"), QStringLiteral("12/1 0:00")}},
        {1, 3, 2024, {QStringLiteral("3/1 0:00"), QStringLiteral("3/31 0:00")}},
        {1, 6, 2024, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(QStringLiteral("%1 %2/%3").arg(r.category).arg(r.month).arg(r.year).toStdString());
        load(r.category, r.month, r.year);
        EXPECT_EQ(r.dates, dates(1));
        // Averages carry no top-axis labels.
        EXPECT_EQ(0, chart().Series(6).Count() + chart().Series(7).Count() + chart().Series(8).Count());
    }
}

TEST_F(Loaders, AnEmptyPeriodOrRecordsetLeavesTheAxesAndNoPoints)
{
    load(0, 6, 2024); // no readings at all
    addReading(person, QStringLiteral("#3/5/2024 9:00 AM#"), QStringLiteral("PLSE"), QStringLiteral("60"));
    load(0, 6, 2024); // readings, none in June
    load(0, 2, 2024); // the only reading comes after the period
    for (int i = 0; i < chart().SeriesCount(); ++i)
        EXPECT_EQ(0, chart().Series(i).Count()) << i;
    EXPECT_NEAR(tchart::DateValue(QDateTime(QDate(2024, 2, 1), QTime(0, 0), Qt::UTC)) - 0.4,
                chart().Axis(tchart::BottomAxis).Minimum, 1e-9);
    load(0, 3, 2024); // one reading
    EXPECT_EQ(QStringList{QStringLiteral("3/5 9:00")}, dates(1));
}

TEST_F(Loaders, PlotSettingsShowAndStyleTheChosenPlot)
{
    gPersonKey = person;
    gDB->Execute(QStringLiteral("update single_person_plot set chrt_cl = 255, y_min = 50, y_max = 120 "
                                "where prsn_ky = %1 and plt_ky = 1")
                     .arg(person));
    gDB->Execute(QStringLiteral("update person set plt_pnl_cl = 65280, plt_bck_cl = 16711680, plt_3d_prcnt = 0 "
                                "where prsn_ky = %1")
                     .arg(person));
    clsChart builder;
    builder.ApplyPersonAppearance(form());
    EXPECT_EQ(0x00FF00u, chart().PanelColor());
    EXPECT_EQ(0xFF0000u, chart().BackColor());
    EXPECT_FALSE(chart().View3D());
    EXPECT_EQ(255u, chart().Series(1).Color());

    builder.ApplyPlotSettings(form(), 1, person);
    EXPECT_EQ("1", shown());
    EXPECT_EQ(tchart::Line, chart().Series(1).Kind());
    EXPECT_EQ(50, chart().Axis(tchart::LeftAxis).Minimum);
    EXPECT_EQ(120, chart().Axis(tchart::LeftAxis).Maximum);

    // The multiple plot of a new person: blood pressure (candles) left, pulse (line) right.
    builder.ApplyPlotSettings(form(), 6, person);
    EXPECT_EQ("0 1 11 12", shown());
    EXPECT_EQ(0, chart().Series(0).VerticalAxis());
    EXPECT_EQ(1, chart().Series(1).VerticalAxis());
    EXPECT_EQ(50, chart().Axis(tchart::RightAxis).Minimum);

    // A new range shows without a reload; none switched on shows nothing.
    gDB->Execute(QStringLiteral("update single_person_plot set y_max = 150 where prsn_ky = %1 and plt_ky = 1").arg(person));
    builder.ApplyPlotSettings(form(), 1, person);
    EXPECT_EQ(150, chart().Axis(tchart::LeftAxis).Maximum);
    gDB->Execute(QStringLiteral("update chart_multiple_person_plot set chrt_act = 0 where prsn_ky = %1").arg(person));
    builder.ApplyPlotSettings(form(), 6, person);
    EXPECT_EQ("", shown());
}

} // namespace
