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
