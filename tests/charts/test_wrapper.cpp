// The chart-control wrapper, read back from the chart's model (nothing is painted).
#include "ChartFixture.h"

#include "charts/clsTChartInterface.h"

#include <functional>

using testing_charts::ChartFixture;

namespace {

class Wrapper : public ChartFixture {
protected:
    void SetUp() override
    {
        ChartFixture::SetUp();
        clsTChartInterface().InitChart(form());
    }
    clsTChartInterface w;

    static QDateTime at(int y, int m, int d, int h = 0, int min = 0) { return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC); }
};

TEST_F(Wrapper, EachShowAndHideCallLeavesTheSeriesItNames)
{
    const struct {
        const char* step;
        std::function<void(clsTChartInterface&)> call;
        const char* shown;
    } steps[] = {
        {"candles", [](auto& c) { c.SetSeriesType(0, 11); }, "0 11 12"},
        {"lines", [](auto& c) { c.SetSeriesType(0, 0); }, "9 10 11 12"},
        {"candles again", [](auto& c) { c.SetSeriesType(0, 11); }, "0 11 12"},
        {"area leaves candles and lines", [](auto& c) { c.SetSeriesType(0, 3); }, "0 11 12"},
        {"regimen labels", [](auto& c) { c.ShowTopAxisSeries(2); }, "0 8 11 12"},
        {"weight", [](auto& c) { c.SetSeriesType(2, 1); }, "0 2 8 11 12"},
        {"hide all keeps labels", [](auto& c) { c.HideAllSeries(); }, "8"},
        {"mood labels", [](auto& c) { c.ShowTopAxisSeries(3); }, "7"},
        {"lines alone", [](auto& c) { c.SetSeriesType(0, 0); }, "7 9 10 11 12"},
        {"hide group 0", [](auto& c) { c.HideSeries(0); }, "7"},
        {"sugar points", [](auto& c) { c.SetSeriesType(5, 4); }, "5 7"},
        {"hide one", [](auto& c) { c.HideSeries(5); }, "7"},
        {"sugar test labels", [](auto& c) { c.ShowTopAxisSeries(4); }, "6"},
        {"unknown choice", [](auto& c) { c.ShowTopAxisSeries(7); }, "6"},
        {"no labels", [](auto& c) { c.ShowTopAxisSeries(1); }, ""},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.call(w);
        EXPECT_EQ(QString::fromLatin1(s.shown), shown());
    }
    EXPECT_EQ(tchart::Line, chart().Series(9).Kind());
    EXPECT_EQ(tchart::Line, chart().Series(10).Kind());
    EXPECT_EQ(tchart::Point, chart().Series(5).Kind());
    EXPECT_THROW(w.HideSeries(13), std::out_of_range);
}

TEST_F(Wrapper, BloodPressurePointsAreColouredByClass)
{
    const struct {
        float high, low;
        vb::OLE_COLOR highColour, lowColour;
    } rows[] = {
        {140.0f, 90.0f, clsTChartInterface::BpRed, clsTChartInterface::BpRed},
        {139.9f, 89.9f, clsTChartInterface::BpYellow, clsTChartInterface::BpYellow},
        {130.0f, 85.0f, clsTChartInterface::BpYellow, clsTChartInterface::BpYellow},
        {129.9f, 84.9f, clsTChartInterface::BpGreen, clsTChartInterface::BpGreen},
        {129.0f, 95.0f, clsTChartInterface::BpGreen, clsTChartInterface::BpRed},
    };
    w.SetDailyXAxis(3, 2024);
    int day = 1;
    for (const auto& r : rows)
        w.AddMeasurement(0, at(2024, 3, day++, 8), r.low, r.high, QString());
    ASSERT_EQ(5, chart().Series(11).Count());
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].highColour, chart().Series(11).Point(i).color);
        EXPECT_EQ(rows[i].lowColour, chart().Series(12).Point(i).color);
        EXPECT_FLOAT_EQ(rows[i].high, float(chart().Series(11).Point(i).y));
        EXPECT_FLOAT_EQ(rows[i].low, float(chart().Series(12).Point(i).y));
        // One candle from the low to the high reading; the lines hold one value each.
        const TChartPoint& candle = chart().Series(0).Point(i);
        EXPECT_FLOAT_EQ(rows[i].low, float(candle.open));
        EXPECT_FLOAT_EQ(rows[i].high, float(candle.high));
        EXPECT_FLOAT_EQ(rows[i].low, float(candle.low));
        EXPECT_FLOAT_EQ(rows[i].high, float(candle.y));
        EXPECT_FLOAT_EQ(rows[i].low, float(chart().Series(9).Point(i).y));
        EXPECT_FLOAT_EQ(rows[i].high, float(chart().Series(10).Point(i).y));
    }
}

TEST_F(Wrapper, ChangingASeriesTypeKeepsItsPointsAndBarsAreFiveWide)
{
    w.SetDailyXAxis(3, 2024);
    w.AddMeasurement(2, at(2024, 3, 1), 180, 0, QString());
    w.AddMeasurement(2, at(2024, 3, 2), 181, 0, QString());
    w.AddMeasurement(6, at(2024, 3, 2), 1, 2, QString()); // no such plot: nothing, no error
    for (int code : {0, 3, 4, 1}) {
        w.SetSeriesType(2, code);
        EXPECT_EQ(code, chart().Series(2).Kind());
        EXPECT_EQ(2, chart().Series(2).Count());
    }
    chart().Series(2).setBarWidth(9);
    w.SetSeriesWidth(2, 9);
    EXPECT_EQ(5, chart().Series(2).BarWidth());
    w.SetSeriesType(2, 0);
    chart().Series(2).setBarWidth(9);
    w.SetSeriesWidth(2, 3); // a line is left as it is
    EXPECT_EQ(9, chart().Series(2).BarWidth());
}

TEST_F(Wrapper, PlotsOutsideZeroToFiveRaiseTheSubscriptErrorWhereTheyAreSetOrRead)
{
    int code = -1;
    vb::OLE_COLOR colour = 1;
    EXPECT_THROW(w.SetSeriesType(6, 0), SubscriptOutOfRange);
    EXPECT_THROW(w.SetSeriesColor(6, 0), SubscriptOutOfRange);
    EXPECT_THROW(w.SetSeriesWidth(-1, 0), SubscriptOutOfRange);
    EXPECT_THROW(w.GetSeriesType(6, code), SubscriptOutOfRange);
    EXPECT_THROW(w.GetSeriesWidth(7, code), SubscriptOutOfRange);
    EXPECT_EQ("", shown());
    w.GetSeriesColor(6, colour);
    EXPECT_EQ(0u, colour);

    // The caches start at 0 and belong to the instance.
    w.GetSeriesType(3, code);
    EXPECT_EQ(0, code);
    w.SetSeriesType(3, 4);
    w.GetSeriesType(3, code);
    EXPECT_EQ(4, code);
    clsTChartInterface().GetSeriesType(3, code);
    EXPECT_EQ(0, code);
    w.SetSeriesWidth(3, 7);
    w.GetSeriesWidth(3, code);
    EXPECT_EQ(0, code);
}

TEST_F(Wrapper, ColoursAndDepthReadBack)
{
    w.SetSeriesColor(0, 0x123456);
    w.SetSeriesColor(3, 0xABCDEF);
    vb::OLE_COLOR colour = 0;
    w.GetSeriesColor(0, colour);
    EXPECT_EQ(0x123456u, colour);
    EXPECT_EQ(0x123456u, chart().Series(9).Color());
    EXPECT_EQ(0x123456u, chart().Series(10).Color());
    w.GetSeriesColor(3, colour);
    EXPECT_EQ(0xABCDEFu, colour);
    EXPECT_FALSE(chart().Series(3).ColorEachPoint());

    w.SetPanelColor(vb::vbButtonFace);
    w.SetPanelColor(0x00FF00);
    w.GetPanelColor(colour);
    EXPECT_EQ(0x00FF00u, colour);
    EXPECT_EQ(0x00FF00u, chart().TitleBackColor());
    w.SetBackColor(0x0000FF);
    w.GetBackColor(colour);
    EXPECT_EQ(0x0000FFu, colour);

    int depth = -1;
    w.Set3DPercent(12);
    w.Get3DPercent(depth);
    EXPECT_EQ(12, depth);
    w.Set3DPercent(0);
    w.Get3DPercent(depth);
    EXPECT_EQ(0, depth);
    EXPECT_EQ(12, chart().Chart3DPercent()); // kept for when the view is turned on again
}

TEST_F(Wrapper, DateAxesSpanThePeriodWithTheirMarginsAndEmptyEverySeries)
{
    const struct {
        const char* name;
        std::function<void(clsTChartInterface&)> call;
        QDateTime from, to;
        int labels;
        const char* firstLabel;
    } rows[] = {
        {"31 days", [](auto& c) { c.SetDailyXAxis(1, 2024); }, at(2023, 12, 31, 14, 24), at(2024, 2, 1).addSecs(-1), 31, "01"},
        {"30 days", [](auto& c) { c.SetDailyXAxis(4, 2024); }, at(2024, 3, 31, 14, 24), at(2024, 5, 1).addSecs(-1), 30, "01"},
        {"29 days", [](auto& c) { c.SetDailyXAxis(2, 2008); }, at(2008, 1, 31, 14, 24), at(2008, 3, 1).addSecs(-1), 29, "01"},
        {"28 days", [](auto& c) { c.SetDailyXAxis(2, 2007); }, at(2007, 1, 31, 14, 24), at(2007, 3, 1).addSecs(-1), 28, "01"},
        {"weeks", [](auto& c) { c.SetWeeklyXAxis(7, 2024); }, at(2023, 12, 28), at(2025, 1, 4), 53, "Dec 31"},
        {"weeks, any month", [](auto& c) { c.SetWeeklyXAxis(1, 2024); }, at(2023, 12, 28), at(2025, 1, 4), 53, "Dec 31"},
        {"months", [](auto& c) { c.SetMonthlyXAxis(5, 2024); }, at(2023, 12, 22), at(2024, 12, 11), 12, "Jan"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        w.AddMeasurement(1, at(2024, 3, 1), 70, 0, QString());
        w.AddTopAxisLabel(2, at(2024, 3, 1), QStringLiteral("Walk"));
        r.call(w);
        for (int axis : {tchart::BottomAxis, tchart::TopAxis}) {
            EXPECT_FALSE(chart().Axis(axis).Automatic);
            EXPECT_NEAR(tchart::DateValue(r.from), chart().Axis(axis).Minimum, 1e-9);
            EXPECT_NEAR(tchart::DateValue(r.to), chart().Axis(axis).Maximum, 1e-9);
        }
        EXPECT_EQ(90, chart().Axis(tchart::TopAxis).LabelsAngle);
        const auto labels = chart().DateLabels(tchart::BottomAxis);
        EXPECT_EQ(r.labels, labels.size());
        EXPECT_EQ(QString::fromLatin1(r.firstLabel), labels.first());
        for (int i = 0; i < chart().SeriesCount(); ++i)
            EXPECT_EQ(0, chart().Series(i).Count()) << i;
        for (int i : {6, 7, 8})
            EXPECT_FALSE(chart().Series(i).PointerVisible());
    }
}

TEST_F(Wrapper, TheMonthAxisHoldsEveryReadingOfItsFirstAndLastDayAndNoneOfTheNextMonth)
{
    const struct {
        int month, year;
        QDateTime reading;
        bool inside;
    } cases[] = {
        {1, 2024, at(2024, 1, 31, 23, 30), true}, {1, 2024, at(2024, 1, 31).addSecs(86399), true},
        {1, 2024, at(2024, 1, 1), true},          {1, 2024, at(2024, 1, 1, 0, 5), true},
        {2, 2008, at(2008, 2, 29, 23, 30), true}, {4, 2024, at(2024, 4, 30, 23, 59), true},
        {1, 2024, at(2024, 2, 1), false},         {2, 2007, at(2007, 3, 1), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reading.toString(Qt::ISODate).toStdString());
        w.SetDailyXAxis(c.month, c.year);
        const double x = tchart::DateValue(c.reading);
        for (int axis : {tchart::BottomAxis, tchart::TopAxis})
            EXPECT_EQ(c.inside, x >= chart().Axis(axis).Minimum && x <= chart().Axis(axis).Maximum);
    }
}

TEST_F(Wrapper, VerticalAxisTitlesUseTheUnitsAndCustomLabels)
{
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temperature', Temp1LBL = 'Oxygen Satu', "
                                "TempUnit = 'F', Temp1Unit = '%', Temp2Unit = 'mg/dl'"),
                 dao::dbFailOnError);
    gWeightUnitText = QStringLiteral("lb");
    const struct {
        int plot, position;
        int axis;
        const char* title;
    } rows[] = {
        {0, 1, tchart::LeftAxis, "Blood Pressure (mmHg)"}, {1, 2, tchart::RightAxis, "Pulse (/min)"},
        {2, 1, tchart::LeftAxis, "Weight (lb)"},           {3, 2, tchart::RightAxis, "Temperature (F)"},
        {4, 1, tchart::LeftAxis, "Oxygen Satu (%)"},       {5, 2, tchart::RightAxis, "Sugar (mg/dl)"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.plot);
        w.SetVerticalAxis(r.plot, r.position, 40, 300);
        EXPECT_EQ(QString::fromLatin1(r.title), chart().Axis(r.axis).Title);
        EXPECT_EQ(40, chart().Axis(r.axis).Minimum);
        EXPECT_EQ(300, chart().Axis(r.axis).Maximum);
        EXPECT_EQ(r.position - 1, chart().Series(r.plot).VerticalAxis());
    }
    // Blood pressure takes its line and point series along.
    w.SetVerticalAxis(0, 2, 60, 200);
    for (int i : {0, 9, 10, 11, 12})
        EXPECT_EQ(1, chart().Series(i).VerticalAxis()) << i;
    // Position 0 changes nothing.
    w.SetVerticalAxis(1, 0, 1, 2);
    EXPECT_EQ(1, chart().Series(1).VerticalAxis());
    EXPECT_EQ(60, chart().Axis(tchart::RightAxis).Minimum);

    // Null labels and units read as empty texts; the chart is still set.
    gDB->Execute(QStringLiteral("update Application set TempLBL = Null, TempUnit = Null, Temp2Unit = Null"), dao::dbFailOnError);
    w.SetVerticalAxis(3, 1, 0, 200);
    EXPECT_EQ(QStringLiteral(" ()"), chart().Axis(tchart::LeftAxis).Title);
    w.SetVerticalAxis(5, 1, 0, 400);
    EXPECT_EQ(QStringLiteral("Sugar ()"), chart().Axis(tchart::LeftAxis).Title);
    EXPECT_EQ(400, chart().Axis(tchart::LeftAxis).Maximum);
}

TEST_F(Wrapper, TopAxisLabelsGoToTheirKindsSeries)
{
    const struct {
        int kind;
        int series; // -1: none
    } rows[] = {{0, -1}, {1, 7}, {2, 8}, {3, 6}, {4, -1}};
    for (const auto& r : rows)
        w.AddTopAxisLabel(r.kind, at(2024, 3, 1, 8), QStringLiteral("kind %1").arg(r.kind));
    for (const auto& r : rows) {
        if (r.series < 0)
            continue;
        ASSERT_EQ(1, chart().Series(r.series).Count());
        const TChartPoint& p = chart().Series(r.series).Point(0);
        EXPECT_EQ(QStringLiteral("kind %1").arg(r.kind), p.label);
        EXPECT_EQ(90.0, p.y);
        EXPECT_EQ(0xFF0000u, p.color);
    }
    // Shown on the top axis at the reading's time, repeated texts included.
    w.AddTopAxisLabel(2, at(2024, 3, 2, 8), QStringLiteral("kind 2"));
    w.SetDailyXAxis(3, 2024);
    w.AddTopAxisLabel(2, at(2024, 3, 1, 8), QStringLiteral("Walk"));
    w.AddTopAxisLabel(2, at(2024, 3, 2, 8), QStringLiteral("Walk"));
    w.ShowTopAxisSeries(2);
    EXPECT_EQ((QStringList{QStringLiteral("Walk"), QStringLiteral("Walk")}), chart().TopAxisLabels().values());
}

TEST_F(Wrapper, TheTitleIsOneLine)
{
    w.SetTitle(QStringLiteral("Daily Plot of Pulse for March, 2024"));
    w.SetTitle(QStringLiteral("Weekly Average for 2024"));
    EXPECT_EQ(QStringList{QStringLiteral("Weekly Average for 2024")}, chart().Title());
    EXPECT_EQ(12, chart().TitleFontSize());
}

TEST_F(Wrapper, LimitsTheWrongWayRoundOrEqualStillGiveADrawnRange)
{
    const struct {
        int lower, upper;
        double drawnLow, drawnHigh;
    } rows[] = {{40, 300, 40, 300}, {300, 40, 40, 300}, {90, 90, 89, 91}};
    w.SetDailyXAxis(3, 2024);
    w.AddMeasurement(1, at(2024, 3, 1, 8), 70, 0, QString());
    w.SetSeriesType(1, 1);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.lower);
        w.SetVerticalAxis(1, 1, r.lower, r.upper);
        EXPECT_EQ(r.lower, chart().Axis(tchart::LeftAxis).Minimum); // kept as given
        EXPECT_FALSE(chart().RenderImage(300, 200).isNull());
        EXPECT_EQ(r.drawnLow, chart().yAxis->range().lower);
        EXPECT_EQ(r.drawnHigh, chart().yAxis->range().upper);
    }
}

} // namespace
