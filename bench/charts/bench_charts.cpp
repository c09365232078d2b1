// The chart window against plain SQLite and a bare QCustomPlot doing the same work in the same
// run, for a person with 14,600 readings (10 years x 4 a day):
//  (a) month redraw: the daily plot of one month through the window (its query of the month's
//      readings, the load, the plot settings and the repaint) against the same query in plain
//      SQLite, every column read, and a bare QCustomPlot given the month's candles and coloured
//      points and replotted;
//  (b) year redraw: the same for the monthly-average plot of a year;
//  (c) plot switch: showing plot 0 to 5 in turn, data loaded, against a bare replot;
//  (d) jpeg export: the chart written as a 700x300 JPEG at quality 100 against a bare
//      QCustomPlot's saveJpg of the same size and quality;
//  (e) the 3D view: the month redraw and the jpeg export at the person's depth (9) against the
//      same chart drawn flat, in turns.
// (a) to (d) draw the chart as the person's settings say, in 3D.
// Run under the offscreen platform when there is no display.
#include "charts/frmChart.h"
#include "data/Globals.h"
#include "data/clsAverage.h"
#include "data/clsCreateMDB.h"
#include "data/clsDataService.h"
#include "data/clsModifyMDB.h"
#include "data/clsModifyMDB1.h"
#include "platform/controls/TChart.h"
#include "platform/controls/usrMonthYear.h"
#include "platform/runtime/ui/Form.h"
#include "support/BenchDatabase.h"
#include "support/RuntimeDoubles.h"

#include <QApplication>
#include <QListWidget>
#include <QRadioButton>
#include <qcustomplot.h>

#include <cstring>
#include <map>

namespace {

constexpr int kYears = 10;
constexpr int kRuns = 25;

using namespace bench;

double dayNumber(const unsigned char* text)
{
    const QDateTime dt =
        QDateTime::fromString(QString::fromLatin1(reinterpret_cast<const char*>(text)), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return tchart::DateValue(QDateTime(dt.date(), dt.time(), Qt::UTC));
}

QColor bpColour(double v, bool high)
{
    const double red = high ? 140 : 90, yellow = high ? 130 : 85;
    return v >= red ? QColor(Qt::red) : v >= yellow ? QColor(Qt::yellow) : QColor(Qt::green);
}

// The bare chart: candles from low to high and the two reading series as coloured squares.
void fillBare(QCustomPlot& plot, const QVector<QCPFinancialData>& candles)
{
    plot.clearPlottables();
    auto* fin = new QCPFinancial(plot.xAxis, plot.yAxis);
    fin->setChartStyle(QCPFinancial::csCandlestick);
    fin->setWidthType(QCPFinancial::wtAbsolute);
    fin->setWidth(5);
    fin->data()->set(candles, true);
    for (bool high : {true, false}) {
        std::map<QRgb, std::pair<QVector<double>, QVector<double>>> groups;
        for (const QCPFinancialData& c : candles) {
            const double v = high ? c.high : c.low;
            auto& g = groups[bpColour(v, high).rgb()];
            g.first.append(c.key);
            g.second.append(v);
        }
        for (auto& [rgb, xy] : groups) {
            auto* g = new QCPGraph(plot.xAxis, plot.yAxis);
            g->setLineStyle(QCPGraph::lsNone);
            g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, QColor(rgb), QColor(rgb), 3));
            g->setData(xy.first, xy.second, true);
        }
    }
    if (!candles.isEmpty())
        plot.xAxis->setRange(candles.first().key - 0.4, candles.last().key + 0.4);
    plot.yAxis->setRange(60, 200);
}

// The person's rows as plain SQLite gives them, every column read; the period's blood
// pressures become candles.
QVector<QCPFinancialData> plainRows(const char* sql, int person, const QDate& from, const QDate& to)
{
    // Stored dates are ISO texts: the period test compares texts, only its rows are converted.
    const QByteArray first = from.toString(Qt::ISODate).toLatin1();
    const QByteArray end = to.toString(Qt::ISODate).toLatin1();
    Stmt s(gDB->handle(), sql);
    sqlite3_bind_int(s.get(), 1, person);
    sqlite3_bind_text(s.get(), 2, first.constData(), int(first.size()), SQLITE_STATIC);
    sqlite3_bind_text(s.get(), 3, end.constData(), int(end.size()), SQLITE_STATIC);
    QVector<QCPFinancialData> candles;
    std::size_t bytes = 0;
    while (s.step()) {
        for (int c = 0; c < sqlite3_column_count(s.get()); ++c)
            if (const unsigned char* text = sqlite3_column_text(s.get(), c))
                bytes += std::char_traits<char>::length(reinterpret_cast<const char*>(text));
        const char* when = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
        if (std::strcmp(when, first.constData()) < 0 || std::strcmp(when, end.constData()) >= 0)
            continue;
        const double x = dayNumber(sqlite3_column_text(s.get(), 0));
        if (sqlite3_column_type(s.get(), 1) == SQLITE_NULL || sqlite3_column_type(s.get(), 2) == SQLITE_NULL)
            continue;
        const double low = sqlite3_column_double(s.get(), 1);
        const double high = sqlite3_column_double(s.get(), 2);
        candles.append(QCPFinancialData(x, low, high, low, high));
    }
    if (bytes == 0)
        throw std::runtime_error("no rows read");
    return candles;
}

const char* const kDailySql =
    "SELECT f.msrd_dt, f.lbp, f.hbp, f.plse, f.wt, f.temp, f.temp1, f.temp2, m.md_nm, r.rgmn_nm, d.gl_nm "
    "FROM measure AS f LEFT JOIN mood AS m ON f.md_ky = m.md_ky LEFT JOIN regimen AS r ON f.rgmn_ky = r.rgmn_ky "
    "LEFT JOIN dbts_goal AS d ON f.gl_ky = d.gl_ky WHERE f.prsn_ky = ? AND f.msrd_dt >= ? AND f.msrd_dt < ? "
    "ORDER BY f.msrd_dt";
const char* const kMonthlySql =
    "SELECT mnth, lbp, hbp, plse, wt, temp, temp1, temp2 FROM average_month WHERE prsn_ky = ? AND mnth >= ? AND mnth < ? "
    "ORDER BY mnth";

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vb::RuntimeDoubles doubles;
    try {
        ProgramDatabase database;
        const int person = addBigPerson();
        gPersonKey = person;
        gWeightUnit = 1;
        figure("readings",
               double(countOf(gDB->handle(), "SELECT count(*) FROM MEASURE WHERE PRSN_KY = (SELECT max(PRSN_KY) FROM PERSON)")),
               "rows");

        auto& form = vb::defaultInstance<frmChart>();
        form.Load();
        form.resize(1280, 800);
        form.show();
        QCoreApplication::processEvents();
        TChart& chart = *form.TChart1;

        QCustomPlot bare;
        bare.resize(chart.size());
        bare.legend->setVisible(false);

        // (a) the daily plot of a month
        std::vector<double> ours, plain;
        for (int run = 0; run < kRuns; ++run) {
            const int month = 1 + run % 12;
            QElapsedTimer t;
            t.start();
            form.usrMonthYear1->SelectPeriod(2019, month);
            chart.Repaint();
            ours.push_back(msSince(t));
            t.restart();
            fillBare(bare, plainRows(kDailySql, person, QDate(2019, month, 1), QDate(2019, month, 1).addMonths(1)));
            bare.replot(QCustomPlot::rpImmediateRefresh);
            plain.push_back(msSince(t));
        }
        {
            std::vector<double> query;
            for (int run = 0; run < 5; ++run) {
                QElapsedTimer t;
                t.start();
                clsDataService()
                    .GetMeasureData(person, 0, QDateTime(QDate(2019, 6, 1), QTime(0, 0), Qt::UTC),
                                    QDateTime(QDate(2019, 7, 1), QTime(0, 0), Qt::UTC))
                    ->Close();
                query.push_back(msSince(t));
            }
            figure("month redraw, of which the window's query of the readings", median(query), "ms");
        }
        figure("month redraw, chart window", median(ours), "ms");
        figure("month redraw, plain SQLite + bare plot", median(plain), "ms");
        const double monthRatio = median(ours) / median(plain);

        // (c) switching the plot with a month loaded
        ours.clear();
        plain.clear();
        for (int run = 0; run < kRuns; ++run) {
            for (int plot = 0; plot <= 5; ++plot) {
                QElapsedTimer t;
                t.start();
                form.optFact[static_cast<std::size_t>(plot)]->setChecked(true);
                chart.Repaint();
                ours.push_back(msSince(t));
                t.restart();
                bare.replot(QCustomPlot::rpImmediateRefresh);
                plain.push_back(msSince(t));
            }
        }
        figure("plot switch, chart window", median(ours), "ms");
        figure("plot switch, bare replot", median(plain), "ms");
        const double switchRatio = median(ours) / median(plain);

        // (d) the report's picture
        form.optFact[0]->setChecked(true);
        const QString file = App::Path() + QStringLiteral("/chart.jpeg");
        ours.clear();
        plain.clear();
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer t;
            t.start();
            if (!chart.ExportJpeg(file, 700, 300, 100))
                throw std::runtime_error("no JPEG written");
            ours.push_back(msSince(t));
            t.restart();
            if (!bare.saveJpg(file, 700, 300, 1.0, 100))
                throw std::runtime_error("no bare JPEG written");
            plain.push_back(msSince(t));
        }
        figure("jpeg export, chart window", median(ours), "ms");
        figure("jpeg export, bare saveJpg", median(plain), "ms");
        const double jpegRatio = median(ours) / median(plain);

        // (e) the 3D view against flat, in turns, on the daily plot of blood pressure
        std::vector<double> deepRedraw, flatRedraw, deepJpeg, flatJpeg;
        for (int run = 0; run < kRuns; ++run) {
            for (bool deep : {true, false}) {
                chart.setView3D(deep);
                QElapsedTimer t;
                t.start();
                form.usrMonthYear1->SelectPeriod(2019, 1 + run % 12);
                chart.Repaint();
                (deep ? deepRedraw : flatRedraw).push_back(msSince(t));
                t.restart();
                if (!chart.ExportJpeg(file, 700, 300, 100))
                    throw std::runtime_error("no JPEG written");
                (deep ? deepJpeg : flatJpeg).push_back(msSince(t));
            }
        }
        chart.setView3D(true);
        figure("3d month redraw, depth 9", median(deepRedraw), "ms");
        figure("3d month redraw, flat", median(flatRedraw), "ms");
        figure("3d jpeg export, depth 9", median(deepJpeg), "ms");
        figure("3d jpeg export, flat", median(flatJpeg), "ms");
        const double deepRedrawRatio = median(deepRedraw) / median(flatRedraw);
        const double deepJpegRatio = median(deepJpeg) / median(flatJpeg);

        // (b) the monthly averages of a year
        form.lstPlotType->setCurrentRow(3);
        ours.clear();
        plain.clear();
        for (int run = 0; run < kRuns; ++run) {
            const int year = 2014 + run % kYears;
            QElapsedTimer t;
            t.start();
            form.usrMonthYear1->SelectPeriod(year, 1);
            chart.Repaint();
            ours.push_back(msSince(t));
            t.restart();
            fillBare(bare, plainRows(kMonthlySql, person, QDate(year, 1, 1), QDate(year + 1, 1, 1)));
            bare.replot(QCustomPlot::rpImmediateRefresh);
            plain.push_back(msSince(t));
        }
        figure("year redraw, chart window", median(ours), "ms");
        figure("year redraw, plain SQLite + bare plot", median(plain), "ms");
        const double yearRatio = median(ours) / median(plain);

        ratio("month redraw", monthRatio);
        ratio("year redraw", yearRatio);
        ratio("plot switch", switchRatio);
        ratio("jpeg export", jpegRatio);
        ratio("3d month redraw against flat", deepRedrawRatio);
        ratio("3d jpeg export against flat", deepJpegRatio);
        form.Unload();
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_charts: %s\n", e.what());
        return 1;
    }
    return 0;
}
