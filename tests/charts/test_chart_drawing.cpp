// The chart of the chart window as drawn at the window's sizes and in the report's images: the
// top axis's labels against the plot, the value axes and the value marks.
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

    // February 2024 with blood pressure on the left and pulse bars (marks on) on the right, a
    // reading at each hour given of every day, each with the label texts given by hour.
    void fillMonth(const std::vector<std::pair<int, QString>>& readings)
    {
        clsTChartInterface w;
        w.SetDailyXAxis(2, 2024);
        for (int d = 1; d <= 29; ++d) {
            for (const auto& [hour, text] : readings) {
                const QDateTime at(QDate(2024, 2, d), QTime(hour, 0), Qt::UTC);
                w.AddMeasurement(0, at, 70 + d % 20, 125 + (d * 7) % 30, QString());
                w.AddMeasurement(1, at, 60 + (d * 5) % 40, 0, QString());
                for (int kind = 1; kind <= 3; ++kind)
                    w.AddTopAxisLabel(kind, at, text);
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

    // The chart laid out in the window at that size (0 x 0: as the report's 700 x 300 image).
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
    const QString longText = QStringLiteral("Evening walk and low-salt diet"); // 30 characters
    const struct {
        const char* what;
        QString text;
        bool blank;
    } rows[] = {
        {"long labels", longText, false},
        {"sugar test names", QStringLiteral("5.1-2 Hrs after Lunch"), false},
        {"blank labels", QString(15, QLatin1Char(' ')), true},
    };
    for (const auto& r : rows) {
        fillMonth({{8, r.text}});
        for (QSize window : {QSize(700, 430), QSize(1600, 1000), QSize()}) {
            for (int depth : {0, 9, 20}) {
                layOut(window, 1, depth);
                const int without = chart().axisRect()->rect().height();
                for (int choice : {2, 3, 4}) {
                    SCOPED_TRACE(QStringLiteral("%1, %2x%3, depth %4, choice %5")
                                     .arg(QLatin1String(r.what))
                                     .arg(window.width())
                                     .arg(window.height())
                                     .arg(depth)
                                     .arg(choice)
                                     .toStdString());
                    layOut(window, choice, depth);
                    const QRect plot = chart().axisRect()->rect();
                    const QRect whole(QPoint(0, 0), window.isEmpty() ? QSize(700, 300) : chart().size());
                    if (r.blank)
                        EXPECT_EQ(without, plot.height()) << "blank labels take no room";
                    else
                        EXPECT_GE(2 * plot.height(), without);
                    for (const TChartLabel& label : chart().TopLabels()) {
                        EXPECT_TRUE(whole.contains(label.rect.toAlignedRect())) << label.text.toStdString();
                        EXPECT_EQ(r.text.trimmed(), label.fullText);
                        for (const TChartMark& mark : chart().Marks())
                            EXPECT_FALSE(mark.rect.intersects(label.rect)) << mark.text.toStdString();
                    }
                    EXPECT_EQ(r.blank, chart().TopLabels().empty());
                    // Both value axes' titles whole inside the chart, and their scales' labels apart.
                    for (int axis : {tchart::LeftAxis, tchart::RightAxis}) {
                        EXPECT_EQ(chart().Axis(axis).Title, chart().AxisTitleText(axis));
                        EXPECT_TRUE(whole.contains(chart().AxisTitleRect(axis).toAlignedRect()));
                        QCPAxis* scale = axis == tchart::LeftAxis ? chart().yAxis : chart().yAxis2;
                        const QVector<double> ticks = scale->tickVector();
                        const double height = QFontMetricsF(scale->tickLabelFont()).height();
                        for (int i = 1; i < ticks.size(); ++i)
                            EXPECT_GE(std::abs(scale->coordToPixel(ticks[i]) - scale->coordToPixel(ticks[i - 1])), height);
                    }
                }
            }
        }
    }
}

TEST_F(ChartDrawing, ALabelIsLeftOutOnlyForARealLabelItWouldRunInto)
{
    const QString blank(15, QLatin1Char(' '));
    const QString breakfast = QStringLiteral("2.Before Breakfast");
    const struct {
        const char* what;
        std::vector<std::pair<int, QString>> readings;
        QSize window;
        int shown; // of "2.Before Breakfast"
    } rows[] = {
        {"one a day, opening size", {{8, breakfast}}, QSize(700, 430), 29},
        {"one a day, full screen", {{8, breakfast}}, QSize(1600, 1000), 29},
        {"blank at midnight, full screen", {{0, blank}, {7, breakfast}}, QSize(1600, 1000), 29},
        {"blank at midnight, opening size", {{0, blank}, {7, breakfast}}, QSize(700, 430), 29},
        {"two real a day, opening size", {{7, breakfast}, {19, breakfast}}, QSize(700, 430), 29},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        fillMonth(r.readings);
        for (int depth : {0, 20}) {
            layOut(r.window, 2, depth);
            const auto& labels = chart().TopLabels();
            EXPECT_EQ(r.shown, std::count_if(labels.cbegin(), labels.cend(),
                                             [&](const TChartLabel& l) { return l.fullText == breakfast; }));
            EXPECT_EQ(std::ptrdiff_t(labels.size()), chart().ShownLabels(tchart::TopAxis).size());
            // What is drawn does not overlap.
            for (std::size_t i = 1; i < labels.size(); ++i)
                EXPECT_LE(labels[i - 1].rect.right(), labels[i].rect.left() + 0.01);
        }
    }
}

} // namespace
