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

} // namespace

// ---------------------------------------------------------------------------------------------
// Reading the chart: nothing cut at the plot's edges, every value level with its axis, and no
// mark over another series' point.

namespace {

// The multiple plot of the chart window: blood pressure as candles with their class points
// against one value axis, pulse as a line against the other, readings on days 3 to 27. Each
// reading's high point is red (pure: drawn nowhere else), the pulse line pure blue.
std::unique_ptr<TChart> multipleChart(int pressureSide)
{
    auto chart = std::make_unique<TChart>();
    for (int id : {tchart::BottomAxis, tchart::TopAxis})
        chart->SetMinMax(id, day(1) - 0.4, day(31) + 1 - 1.0 / 86400);
    const int pulseSide = 1 - pressureSide;
    // No tick at the ends, where the date axes' lines would hide it.
    chart->SetMinMax(pressureSide == 0 ? tchart::LeftAxis : tchart::RightAxis, 42, 198);
    chart->SetMinMax(pulseSide == 0 ? tchart::LeftAxis : tchart::RightAxis, 43, 107);
    chart->Axis(tchart::LeftAxis).Title = QStringLiteral("Left");
    chart->Axis(tchart::RightAxis).Title = QStringLiteral("Right");
    TChartSeries& candles = chart->AddSeries(tchart::Candle);
    TChartSeries& pulse = chart->AddSeries(tchart::Line);
    TChartSeries& high = chart->AddSeries(tchart::Point);
    TChartSeries& low = chart->AddSeries(tchart::Point);
    candles.setVerticalAxis(pressureSide);
    high.setVerticalAxis(pressureSide);
    low.setVerticalAxis(pressureSide);
    pulse.setVerticalAxis(pulseSide);
    pulse.setColor(0xFF0000); // blue
    high.setColorEachPoint(true);
    low.setColorEachPoint(true);
    for (int d = 3; d <= 27; ++d) {
        candles.AddCandle(day(d) + 0.3, 80, 150, 80, 150);
        high.AddXY(day(d) + 0.3, 150, QString(), Red);
        low.AddXY(day(d) + 0.3, 80, QString(), 0x00FF00);
        pulse.AddXY(day(d) + 0.3, 70, QString(), 0);
    }
    return chart;
}

// The rows of a value axis's tick marks in the image (black, five pixels long inward from the
// axis line), paired with the axis's tick values from the top down; and the
// row of a value read from them.
double RowOf(double value, const QImage& image, const QCPAxis* axis, int axisX, bool left)
{
    std::vector<int> rows;
    const int inward = left ? 1 : -1;
    const auto black = [&image](int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); };
    for (int y = 0; y < image.height(); ++y)
        if (black(axisX + 3 * inward, y) && !black(axisX + 8 * inward, y)) // not a date axis's line
            rows.push_back(y);
    QVector<double> ticks = axis->tickVector();
    std::sort(ticks.begin(), ticks.end(), std::greater<>());
    if (rows.size() != std::size_t(ticks.size()) || rows.size() < 2)
        return -1;
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (value >= ticks[int(i)])
            return rows[i - 1] + (ticks[int(i) - 1] - value) / (ticks[int(i) - 1] - ticks[int(i)]) * (rows[i] - rows[i - 1]);
    return -1;
}

} // namespace

TEST(TChartReading, EveryValueStandsLevelWithItsOwnAxisAtEveryDepth)
{
    for (int pressureSide : {0, 1}) {
        auto chart = multipleChart(pressureSide);
        for (int percent : {0, 9, 20}) {
            SCOPED_TRACE(QStringLiteral("pressure on side %1, depth %2").arg(pressureSide).arg(percent).toStdString());
            const QImage image = render(*chart, percent > 0, percent);
            const QRect plot = chart->axisRect()->rect();
            const int leftX = plot.left() - chart->yAxis->offset();
            const int rightX = plot.right() + 1 + chart->yAxis2->offset();
            const auto axisRow = [&](int side, double value) {
                return side == 0 ? RowOf(value, image, chart->yAxis, leftX, true)
                                 : RowOf(value, image, chart->yAxis2, rightX, false);
            };
            // The high points' faces: the middle of the pure red rows around day 15.
            std::vector<int> red;
            for (int y = 0; y < image.height(); ++y)
                for (int x = plot.left(); x < image.width(); ++x)
                    if (std::abs(x - int(chart->xAxis->coordToPixel(day(15) + 0.3))) < 30 &&
                        image.pixel(x, y) == qRgb(255, 0, 0)) {
                        red.push_back(y);
                        break;
                    }
            ASSERT_FALSE(red.empty());
            const double highRow = (red.front() + red.back()) / 2.0;
            // The pulse line's front edge: its lowest blue row in the middle of the month, where
            // it shows between the candles (the flat line is smoothed over two rows).
            int blueRow = -1;
            const int middle = int(chart->xAxis->coordToPixel(day(15)));
            for (int x = middle - 20; x <= middle + 20; ++x)
                for (int y = 0; y < image.height(); ++y) {
                    const QRgb c = image.pixel(x, y);
                    if (qBlue(c) - std::max(qRed(c), qGreen(c)) > 100)
                        blueRow = std::max(blueRow, y);
                }
            ASSERT_GE(blueRow, 0);
            const double pressureAxis = axisRow(pressureSide, 150);
            const double pulseAxis = axisRow(1 - pressureSide, 70);
            ASSERT_GE(pressureAxis, 0);
            ASSERT_GE(pulseAxis, 0);
            EXPECT_NEAR(pressureAxis, highRow, 2.0);
            EXPECT_NEAR(pulseAxis, blueRow, 2.0);
        }
    }
}

TEST(TChartReading, MarksAreWholeInsideThePlotAndCoverNoPoint)
{
    const struct {
        const char* what;
        int kind;
        double first, last;
        QSize shown; // the widget's size; empty: the report's 700 x 300 image
    } rows[] = {
        {"weight bars", tchart::Bar, 169.8, 97.9, QSize()},
        {"sugar points", tchart::Point, 160, 160, QSize()},
        {"pulse line", tchart::Line, 95, 95, QSize(696, 193)},
        {"pulse bars", tchart::Bar, 95, 95, QSize(1596, 854)},
    };
    for (const auto& r : rows) {
        // The value series on the right, over the blood pressure's class points on the left.
        auto chart = multipleChart(0);
        TChartSeries& values = chart->Series(1);
        values.Clear();
        values.setKind(r.kind);
        values.setMarksVisible(true);
        chart->SetMinMax(tchart::RightAxis, 40, 200);
        values.AddXY(day(1), r.first, QString(), 0);
        for (int d = 3; d <= 27; ++d)
            values.AddXY(day(d) + 0.3, 150, QString(), 0); // on the red points
        values.AddXY(day(31) + 23.5 / 24, r.last, QString(), 0);
        for (int percent : {0, 9, 20}) {
            SCOPED_TRACE(QStringLiteral("%1 at depth %2").arg(QLatin1String(r.what)).arg(percent).toStdString());
            if (r.shown.isEmpty()) {
                render(*chart, percent > 0, percent);
            } else {
                chart->resize(r.shown);
                chart->setView3D(percent > 0);
                chart->setChart3DPercent(percent);
                chart->Repaint();
            }
            const QRect plot = chart->axisRect()->rect();
            const QRectF box = QRectF(plot).adjusted(0, -plot.height(), plot.height(), 0); // holds any depth
            std::vector<int> marked;
            for (const TChartMark& mark : chart->Marks()) {
                EXPECT_TRUE(box.contains(mark.rect)) << mark.text.toStdString();
                EXPECT_GE(mark.rect.left(), plot.left());
                EXPECT_EQ(QString::number(values.Point(mark.point).y, 'g', 5), mark.text);
                marked.push_back(mark.point);
                for (int s : {2, 3})
                    for (const TChartPoint& p : chart->Series(s).Points()) {
                        QRectF symbol(0, 0, 7, 7);
                        symbol.moveCenter({chart->xAxis->coordToPixel(p.x), chart->yAxis->coordToPixel(p.y)});
                        if (percent == 0) {
                            EXPECT_FALSE(mark.rect.intersects(symbol)) << mark.text.toStdString();
                        }
                    }
            }
            // The first and last values are marked, whole.
            EXPECT_EQ(0, marked.front());
            EXPECT_EQ(values.Count() - 1, marked.back());
        }
    }
}

TEST(TChartReading, AReadingLateOnTheLastDayIsDrawnWholeWithoutTheNextMonthsLabel)
{
    for (int kind : {tchart::Candle, tchart::Bar, tchart::Point}) {
        auto chart = monthChart(kind);
        // As the chart window sets a month: up to the last second of its last day.
        for (int id : {tchart::BottomAxis, tchart::TopAxis})
            chart->SetMinMax(id, day(1) - 0.4, day(31) + 1 - 1.0 / 86400);
        TChartSeries& s = chart->Series(0);
        const double late = day(31) + 23.5 / 24;
        if (kind == tchart::Candle)
            s.AddCandle(late, 80, 150, 80, 150);
        else
            s.AddXY(late, 150, QString(), Red);
        const double half = kind == tchart::Candle ? s.CandleWidth() / 2.0 : kind == tchart::Bar ? s.BarWidth() / 2.0 : 3.5;
        for (int percent : {0, 9, 20}) {
            for (bool image : {true, false}) {
                SCOPED_TRACE(
                    QStringLiteral("kind %1, depth %2, %3").arg(kind).arg(percent).arg(image ? "image" : "screen").toStdString());
                if (image) {
                    render(*chart, percent > 0, percent);
                } else {
                    chart->resize(696, 193);
                    chart->setView3D(percent > 0);
                    chart->setChart3DPercent(percent);
                    chart->Repaint();
                }
                const QRect plot = chart->axisRect()->rect();
                EXPECT_LE(chart->xAxis->coordToPixel(late) + half, plot.right() + 1);
                EXPECT_EQ(1, chart->ShownLabels(tchart::BottomAxis).count(QStringLiteral("01")));
                EXPECT_EQ(chart->ShownLabels(tchart::BottomAxis).first(), QStringLiteral("01"));
            }
        }
    }
}
