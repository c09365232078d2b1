// The chart control's drawing: the 3D view against the flat one, the date labels chosen at the
// size drawn, and point symbols large enough to see.
#include "platform/controls/TChart.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr vb::OLE_COLOR Red = 0x0000FF;

double day(int d) { return tchart::DateValue(QDateTime(QDate(2024, 1, d), QTime(0, 0), Qt::UTC)); }

// A chart of January 2024 as the chart window sets it up, with one series of the kind given
// (a reading a day) and, for candles, the two series of points that mark their ends.
std::unique_ptr<TChart> monthChart(int kind)
{
    auto chart = std::make_unique<TChart>();
    for (int id : {tchart::BottomAxis, tchart::TopAxis})
        chart->SetMinMax(id, day(1) - 0.4, day(31) + 0.4);
    chart->SetMinMax(tchart::LeftAxis, 40, 200);
    chart->setTitle({QStringLiteral("January 2024")});
    chart->setBackColor(0xE0FFFF);
    TChartSeries& s = chart->AddSeries(kind);
    s.setColor(Red);
    for (int d = 1; d <= 31; ++d) {
        const double low = 70 + (d * 7) % 25, high = 120 + (d * 13) % 40;
        if (kind == tchart::Candle)
            s.AddCandle(day(d) + 0.3, low, high, low, high);
        else
            s.AddXY(day(d) + 0.3, high, QString(), Red);
    }
    if (kind == tchart::Candle) {
        for (bool high : {true, false}) {
            TChartSeries& points = chart->AddSeries(tchart::Point);
            points.setColorEachPoint(true);
            for (const TChartPoint& p : s.Points())
                points.AddXY(p.x, high ? p.high : p.low, QString(), high ? 0x00FF00 : 0x00FFFF);
        }
    }
    return chart;
}

QImage render(TChart& chart, bool view3D, int percent)
{
    chart.setView3D(view3D);
    chart.setChart3DPercent(percent);
    return chart.RenderImage(700, 300);
}

TEST(TChartView3D, DepthZeroDrawsTheFlatChartAndOtherDepthsTheBox)
{
    for (int kind : {tchart::Line, tchart::Bar, tchart::Area, tchart::Point, tchart::Candle}) {
        SCOPED_TRACE(kind);
        auto chart = monthChart(kind);
        const QImage flat = render(*chart, false, 9);
        const QImage deep9 = render(*chart, true, 9);
        const QImage deep20 = render(*chart, true, 20);
        EXPECT_NE(flat, deep9);
        EXPECT_NE(flat, deep20);
        EXPECT_NE(deep9, deep20);
        // Depth 0 and depths outside 0 to 20 (clamped when drawn, kept as set).
        EXPECT_EQ(flat, render(*chart, true, 0));
        EXPECT_EQ(flat, render(*chart, true, -4));
        EXPECT_EQ(deep20, render(*chart, true, 35));
        EXPECT_EQ(35, chart->Chart3DPercent());
        // Going back to flat leaves nothing of the box behind.
        EXPECT_EQ(flat, render(*chart, false, 9));
    }
}

TEST(TChartView3D, TheBackWallIsShiftedUpAndRightInTheBackColour)
{
    auto chart = monthChart(tchart::Line);
    chart->setBackColor(0x00FF00); // pure green, drawn nowhere else
    const auto greenAt = [](const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(0, 255, 0); };
    const QImage flat = render(*chart, false, 20);
    const QRect area = chart->axisRect()->rect(); // the flat plot area at 700 x 300
    const QImage deep = render(*chart, true, 20);
    const QRect front = chart->axisRect()->rect();
    const int depth = static_cast<int>(std::lround(0.2 * std::min(area.width(), area.height())));
    EXPECT_EQ(area.right(), front.right() + depth);
    EXPECT_TRUE(greenAt(flat, area.left() + 2, area.bottom() - 2));
    EXPECT_FALSE(greenAt(deep, front.left() + 2, front.bottom() - 2)) << "the floor's corner";
    EXPECT_TRUE(greenAt(deep, front.right() + depth - 2, front.top() - depth + 3)) << "the back wall's corner";
}

TEST(TChartView3D, NothingBreaksAtZeroOrTinySizes)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("chart.jpeg"));
    for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(12, 8), QSize(60, 40)}) {
        for (int percent : {0, 20}) {
            SCOPED_TRACE(QStringLiteral("%1x%2 at %3").arg(size.width()).arg(size.height()).arg(percent).toStdString());
            auto chart = monthChart(tchart::Candle);
            chart->setView3D(true);
            chart->setChart3DPercent(percent);
            chart->resize(size);
            EXPECT_EQ(size.isEmpty(), chart->RenderImage().isNull());
            EXPECT_EQ(!size.isEmpty(), chart->ExportJpeg(file, 0, 0));
            // An image of the report's size from a chart never shown.
            ASSERT_TRUE(chart->ExportJpeg(file));
            EXPECT_EQ(QSize(700, 300), QImage(file).size());
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Date labels

TEST(TChartLabels, TheDaysThatFitAreChosenAtTheSizeDrawn)
{
    QTemporaryDir dir;
    const struct {
        int shownWidth;  // the widget's width on screen
        bool exported;   // then drawn as a 700 x 300 image
        int least, most; // day labels drawn
    } rows[] = {
        {160, false, 2, 12},
        {160, true, 16, 31},
        {1400, false, 31, 31},
        {700, false, 16, 31},
    };
    auto chart = monthChart(tchart::Bar);
    chart->show();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.shownWidth);
        chart->resize(r.shownWidth, 300);
        QCoreApplication::processEvents(); // the resize replots once it is handled
        if (r.exported) {
            ASSERT_TRUE(chart->ExportJpeg(dir.filePath(QStringLiteral("month.jpeg"))));
        }
        const qsizetype shown = chart->ShownLabels(tchart::BottomAxis).size();
        EXPECT_GE(shown, r.least);
        EXPECT_LE(shown, r.most);
    }
}

// ---------------------------------------------------------------------------------------------
// Point symbols

TEST(TChartPoints, ASymbolOfSizeThreeIsSevenPixelsAcross)
{
    for (int percent : {0, 9}) {
        SCOPED_TRACE(percent);
        TChart chart;
        chart.SetMinMax(tchart::BottomAxis, 0, 2);
        chart.SetMinMax(tchart::LeftAxis, 0, 2);
        TChartSeries& points = chart.AddSeries(tchart::Point);
        points.setColorEachPoint(true);
        points.setPointerSize(3, 3);
        points.AddXY(1, 1, QString(), Red);
        const QImage image = render(chart, true, percent);
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                red += image.pixel(x, y) == qRgb(255, 0, 0);
        EXPECT_GE(red, 25) << "at least the inside of a 7-pixel square";
        EXPECT_LE(red, 49);
    }
}

// The multiple plot in a month as the chart window sets it: candles with their high (pure red)
// and low points against one value axis, a pure blue pulse line against the other, readings on
// days 3 to 27.
std::unique_ptr<TChart> multipleChart(int pressureSide)
{
    auto chart = std::make_unique<TChart>();
    for (int id : {tchart::BottomAxis, tchart::TopAxis})
        chart->SetMinMax(id, day(1) - 0.4, day(31) + 1 - 1.0 / 86400);
    // No tick at the ends, where the date axes' lines would hide it.
    chart->SetMinMax(pressureSide == 0 ? tchart::LeftAxis : tchart::RightAxis, 42, 198);
    chart->SetMinMax(pressureSide == 0 ? tchart::RightAxis : tchart::LeftAxis, 43, 107);
    TChartSeries& candles = chart->AddSeries(tchart::Candle);
    TChartSeries& pulse = chart->AddSeries(tchart::Line);
    pulse.setVerticalAxis(1 - pressureSide);
    pulse.setColor(0xFF0000);
    candles.setVerticalAxis(pressureSide);
    for (int d = 3; d <= 27; ++d) {
        candles.AddCandle(day(d) + 0.3, 80, 150, 80, 150);
        pulse.AddXY(day(d) + 0.3, 70, QString(), 0);
    }
    for (bool high : {true, false}) {
        TChartSeries& points = chart->AddSeries(tchart::Point);
        points.setVerticalAxis(pressureSide);
        points.setColorEachPoint(true);
        for (int d = 3; d <= 27; ++d)
            points.AddXY(day(d) + 0.3, high ? 150 : 80, QString(), high ? Red : 0x00FF00);
    }
    return chart;
}

// The row of a value as read from the axis's tick marks in the image (black, five pixels long
// inward from the axis line at axisX); -1 if the marks do not match the ticks.
double RowOf(double value, const QImage& image, const QCPAxis* axis, int axisX, int inward)
{
    std::vector<int> rows;
    const auto black = [&image](int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); };
    for (int y = 0; y < image.height(); ++y)
        if (black(axisX + 3 * inward, y) && !black(axisX + 8 * inward, y)) // not a date axis's line
            rows.push_back(y);
    QVector<double> ticks = axis->tickVector();
    std::sort(ticks.begin(), ticks.end(), std::greater<>());
    if (rows.size() != std::size_t(ticks.size()))
        return -1;
    for (int i = 1; i < ticks.size(); ++i)
        if (value >= ticks[i])
            return rows[i - 1] + (ticks[i - 1] - value) / (ticks[i - 1] - ticks[i]) * (rows[i] - rows[i - 1]);
    return -1;
}

// The first and last rows around the 15th where a pixel passes the test; -1 if none does.
template <typename Test>
std::pair<int, int> RowsAround15th(const QImage& image, const TChart& chart, Test test)
{
    int first = -1, last = -1;
    const int x0 = int(chart.xAxis->coordToPixel(day(15)));
    for (int y = 0; y < image.height(); ++y)
        for (int x = x0 - 20; x <= x0 + 20; ++x)
            if (test(image.pixel(x, y))) {
                last = y;
                first = first < 0 ? y : first;
            }
    return {first, last};
}

TEST(TChartReading, EveryValueStandsLevelWithItsOwnAxisAtEveryDepth)
{
    for (int pressureSide : {0, 1}) {
        auto chart = multipleChart(pressureSide);
        for (int percent : {0, 9, 20}) {
            SCOPED_TRACE(testing::Message() << "pressure on side " << pressureSide << ", depth " << percent);
            const QImage image = render(*chart, percent > 0, percent);
            const QRect plot = chart->axisRect()->rect();
            const auto axisRow = [&](int side, double value) {
                return side == 0 ? RowOf(value, image, chart->yAxis, plot.left() - chart->yAxis->offset(), 1)
                                 : RowOf(value, image, chart->yAxis2, plot.right() + 1 + chart->yAxis2->offset(), -1);
            };
            // The high points' faces, and the pulse line's front edge (its lowest blue row).
            const auto [top, bottom] = RowsAround15th(image, *chart, [](QRgb c) { return c == qRgb(255, 0, 0); });
            const int blue =
                RowsAround15th(image, *chart, [](QRgb c) { return qBlue(c) - std::max(qRed(c), qGreen(c)) > 100; }).second;
            ASSERT_GE(top, 0);
            ASSERT_GE(blue, 0);
            EXPECT_NEAR(axisRow(pressureSide, 150), (top + bottom) / 2.0, 2.0);
            EXPECT_NEAR(axisRow(1 - pressureSide, 70), blue, 2.0);
        }
    }
}

TEST(TChartReading, MarksAreWholeInsideThePlotAndCoverNoPoint)
{
    const struct {
        int kind;
        double first, last; // the values on the 1st and late on the 31st
        QSize shown;        // on screen at that size; empty: as the report's image
    } rows[] = {
        {tchart::Bar, 169.8, 97.9, QSize()},
        {tchart::Point, 160, 160, QSize()},
        {tchart::Line, 95, 95, QSize(696, 193)},
    };
    for (const auto& r : rows) {
        // Marked values on the right, on the blood pressure's high points on the left.
        auto chart = multipleChart(0);
        TChartSeries& values = chart->Series(1);
        values.Clear();
        values.setKind(r.kind);
        values.setMarksVisible(true);
        chart->SetMinMax(tchart::RightAxis, 40, 200);
        values.AddXY(day(1), r.first, QString(), 0);
        for (int d = 3; d <= 27; ++d)
            values.AddXY(day(d) + 0.3, 150, QString(), 0);
        values.AddXY(day(31) + 23.5 / 24, r.last, QString(), 0);
        for (int percent : {0, 20}) {
            SCOPED_TRACE(testing::Message() << "kind " << r.kind << " at " << r.shown.width() << ", depth " << percent);
            render(*chart, percent > 0, percent);
            if (!r.shown.isEmpty()) {
                chart->resize(r.shown);
                chart->Repaint();
            }
            const QRect plot = chart->axisRect()->rect();
            const QRectF box = QRectF(plot).adjusted(0, -plot.height(), plot.height(), 0); // holds any depth
            for (const TChartMark& mark : chart->Marks()) {
                EXPECT_TRUE(box.contains(mark.rect)) << mark.text.toStdString();
                for (int s : {2, 3})
                    for (const TChartPoint& p : chart->Series(s).Points()) {
                        QRectF symbol(0, 0, 7, 7);
                        symbol.moveCenter({chart->xAxis->coordToPixel(p.x), chart->yAxis->coordToPixel(p.y)});
                        EXPECT_FALSE(percent == 0 && mark.rect.intersects(symbol)) << mark.text.toStdString();
                    }
            }
            ASSERT_FALSE(chart->Marks().empty());
            EXPECT_EQ(0, chart->Marks().front().point);
            EXPECT_EQ(values.Count() - 1, chart->Marks().back().point);
        }
    }
}

TEST(TChartReading, AReadingLateOnTheLastDayIsDrawnWholeWithoutTheNextMonthsLabel)
{
    for (int kind : {tchart::Candle, tchart::Bar, tchart::Point}) {
        auto chart = monthChart(kind);
        for (int id : {tchart::BottomAxis, tchart::TopAxis})
            chart->SetMinMax(id, day(1) - 0.4, day(31) + 1 - 1.0 / 86400); // as the chart window sets a month
        TChartSeries& s = chart->Series(0);
        const double late = day(31) + 23.5 / 24;
        if (kind == tchart::Candle)
            s.AddCandle(late, 80, 150, 80, 150);
        else
            s.AddXY(late, 150, QString(), Red);
        const double half = kind == tchart::Candle ? s.CandleWidth() / 2.0 : kind == tchart::Bar ? s.BarWidth() / 2.0 : 3.5;
        for (int percent : {0, 20}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", depth " << percent);
            render(*chart, percent > 0, percent);
            EXPECT_LE(chart->xAxis->coordToPixel(late) + half, chart->axisRect()->rect().right() + 1);
            // The 1st first and only once: the room at the end shows no label of the next month.
            EXPECT_EQ(0, chart->ShownLabels(tchart::BottomAxis).lastIndexOf(QStringLiteral("01")));
        }
    }
}

} // namespace
