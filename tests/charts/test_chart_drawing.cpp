// The chart window's chart as drawn at the window's sizes and as the report's image.
#include "ChartFixture.h"

#include "charts/clsTChartInterface.h"

#include <QApplication>

using testing_charts::ChartFixture;

namespace {

class ChartDrawing : public ChartFixture {
protected:
    void SetUp() override
    {
        ChartFixture::SetUp();
        clsTChartInterface().InitChart(form());
    }

    // February 2024: blood pressure on the left, pulse bars with marks on the right, and a
    // top-axis label at each (hour, text) given of every day.
    void fillMonth(const std::vector<std::pair<int, QString>>& readings)
    {
        clsTChartInterface w;
        w.SetDailyXAxis(2, 2024);
        for (int d = 1; d <= 29; ++d) {
            for (const auto& [hour, text] : readings) {
                const QDateTime at(QDate(2024, 2, d), QTime(hour, 0), Qt::UTC);
                w.AddMeasurement(0, at, 70 + d % 20, 125 + (d * 7) % 30, QString());
                w.AddMeasurement(1, at, 60 + (d * 5) % 40, 0, QString());
                w.AddTopAxisLabel(2, at, text);
            }
        }
        w.FinishDataLoad();
        w.HideAllSeries();
        w.SetSeriesType(0, SeriesTypeCode::Candle);
        w.SetSeriesType(1, SeriesTypeCode::Bar);
        w.SetVerticalAxis(0, 1, 40, 200);
        w.SetVerticalAxis(1, 2, 40, 110);
        w.SetTitle(QStringLiteral("Daily Plot for February, 2024"));
    }

    // Laid out in the window at that size; an empty size: as the report's 700 x 300 image.
    void layOut(QSize window, int choice, int depth)
    {
        clsTChartInterface w;
        w.ShowTopAxisSeries(choice);
        w.Set3DPercent(depth);
        if (window.isEmpty()) {
            chart().RenderImage(700, 300);
            return;
        }
        form().show();
        form().resize(window);
        QApplication::processEvents();
        chart().Repaint();
    }
};

TEST_F(ChartDrawing, TopLabelsLeaveThePlotHalfItsHeightAndTitlesMarksAndScalesApart)
{
    for (const QString& text : {QStringLiteral("Evening walk and low-salt diet"), QString(15, QLatin1Char(' '))}) {
        const bool blank = text.trimmed().isEmpty();
        fillMonth({{8, text}});
        for (QSize window : {QSize(700, 430), QSize(1600, 1000), QSize()}) {
            for (int depth : {0, 20}) {
                SCOPED_TRACE(testing::Message() << blank << " " << window.width() << " depth " << depth);
                layOut(window, 1, depth);
                const int without = chart().axisRect()->rect().height();
                layOut(window, 2, depth);
                const int with = chart().axisRect()->rect().height();
                EXPECT_TRUE(blank ? with == without : 2 * with >= without) << with << " of " << without;
                EXPECT_EQ(blank, chart().TopLabels().empty());
                const QRect whole(QPoint(0, 0), window.isEmpty() ? QSize(700, 300) : chart().size());
                for (const TChartLabel& label : chart().TopLabels()) {
                    EXPECT_TRUE(whole.contains(label.rect.toAlignedRect()));
                    for (const TChartMark& mark : chart().Marks())
                        EXPECT_FALSE(mark.rect.intersects(label.rect));
                }
                for (int axis : {tchart::LeftAxis, tchart::RightAxis}) {
                    EXPECT_EQ(chart().Axis(axis).Title, chart().AxisTitleText(axis));
                    EXPECT_TRUE(whole.contains(chart().AxisTitleRect(axis).toAlignedRect()));
                    const QCPAxis* scale = axis == tchart::LeftAxis ? chart().yAxis : chart().yAxis2;
                    const QVector<double> ticks = scale->tickVector();
                    for (int i = 1; i < ticks.size(); ++i)
                        EXPECT_GE(std::abs(scale->coordToPixel(ticks[i]) - scale->coordToPixel(ticks[i - 1])),
                                  QFontMetricsF(scale->tickLabelFont()).height());
                }
            }
        }
    }
}

TEST_F(ChartDrawing, ALabelIsLeftOutOnlyForARealLabelItWouldRunInto)
{
    const QString blank(15, QLatin1Char(' ')), breakfast = QStringLiteral("2.Before Breakfast");
    const std::vector<std::pair<int, QString>> rows[] = {
        {{8, breakfast}},                  // a day's width holds a label
        {{0, blank}, {7, breakfast}},      // a blank one keeps none out
        {{7, breakfast}, {19, breakfast}}, // of two real ones, the first is kept
    };
    for (const auto& readings : rows) {
        fillMonth(readings);
        for (int depth : {0, 20}) {
            SCOPED_TRACE(testing::Message() << readings.front().first << " depth " << depth);
            layOut(QSize(700, 430), 2, depth);
            const auto& labels = chart().TopLabels();
            EXPECT_EQ(
                29, std::count_if(labels.cbegin(), labels.cend(), [&](const TChartLabel& l) { return l.fullText == breakfast; }));
            for (std::size_t i = 1; i < labels.size(); ++i)
                EXPECT_LE(labels[i - 1].rect.right(), labels[i].rect.left() + 0.01);
        }
    }
}

} // namespace
