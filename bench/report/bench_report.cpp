// The report for the doctor against plain SQLite and a bare QCustomPlot doing the same work in
// the same run, for a person with 14,600 readings (10 years x 4 a day), period "Last 1 Year",
// every measurement column and every chart ticked:
//  (a) with charts: the whole report (page written, windows driven, 12 months x 7 images)
//      against as many bare 700x300 JPEG exports at quality 100 plus the plain queries of the
//      sections;
//  (b) without charts: the whole report against the plain queries alone.
// Run under the offscreen platform when there is no display.
#include "data/Globals.h"
#include "data/clsAverage.h"
#include "data/clsCreateMDB.h"
#include "data/clsModifyMDB.h"
#include "data/clsModifyMDB1.h"
#include "platform/runtime/ui/Form.h"
#include "records/frmDSetGoal.h"
#include "reports/frmReportDoctor.h"
#include "support/BenchDatabase.h"
#include "support/ServiceDoubles.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <qcustomplot.h>

namespace {

constexpr int kRuns = 5;

using namespace bench;

// Reads every column of every row, as the report reads what it shows.
std::size_t readAll(const std::string& sql, int person)
{
    Stmt s(gDB->handle(), sql);
    if (sqlite3_bind_parameter_count(s.get()) > 0)
        sqlite3_bind_int(s.get(), 1, person);
    std::size_t bytes = 0;
    while (s.step()) {
        for (int c = 0; c < sqlite3_column_count(s.get()); ++c)
            if (const unsigned char* text = sqlite3_column_text(s.get(), c))
                bytes += std::char_traits<char>::length(reinterpret_cast<const char*>(text));
    }
    return bytes;
}

// The plain queries of the sections: dates, person, latest weight, the aggregates, seven
// medians, the rows for the extremes' dates, the months, the measurement table, the goals and
// the regimens.
std::size_t plainQueries(int person, const std::string& from)
{
    const std::string period = " AND msrd_dt >= '" + from + "'";
    std::size_t bytes = 0;
    bytes += readAll("SELECT max(msrd_dt), min(msrd_dt) FROM measure WHERE prsn_ky = ?", person);
    bytes += readAll("SELECT prsn_nm, age, hgt, sex FROM person WHERE prsn_ky = ?", person);
    bytes +=
        readAll("SELECT wt, msrd_dt FROM measure WHERE prsn_ky = ? AND wt IS NOT NULL ORDER BY msrd_dt DESC LIMIT 1", person);
    std::string aggregate = "SELECT ";
    for (const char* c : {"hbp", "lbp", "plse", "wt", "temp", "temp1", "temp2"})
        aggregate += std::string("max(") + c + "), min(" + c + "), avg(" + c + "), ";
    aggregate += "0 FROM measure WHERE prsn_ky = ?" + period;
    bytes += readAll(aggregate, person);
    for (const char* c : {"hbp", "lbp", "plse", "wt", "temp", "temp1", "temp2"})
        bytes += readAll(std::string("SELECT ") + c + " FROM measure WHERE prsn_ky = ? AND " + c + " IS NOT NULL" + period +
                             " ORDER BY " + c,
                         person);
    bytes += readAll("SELECT msrd_dt, hbp, lbp, plse, wt, temp, temp1, temp2 FROM measure WHERE prsn_ky = ?" + period +
                         " ORDER BY msrd_dt",
                     person);
    bytes += readAll("SELECT strftime('%Y', msrd_dt), strftime('%m', msrd_dt), count(*) FROM measure WHERE prsn_ky = ?" + period +
                         " GROUP BY 1, 2 ORDER BY 1, 2 DESC",
                     person);
    bytes += readAll("SELECT f.msrd_dt, f.lbp, f.hbp, f.plse, f.wt, f.temp, f.temp1, f.temp2, m.md_nm, r.rgmn_nm, d.gl_nm, "
                     "f.cmmnt FROM measure AS f LEFT JOIN mood AS m ON f.md_ky = m.md_ky LEFT JOIN regimen AS r ON "
                     "f.rgmn_ky = r.rgmn_ky LEFT JOIN dbts_goal AS d ON f.gl_ky = d.gl_ky WHERE f.prsn_ky = ?" +
                         period + " ORDER BY f.msrd_dt",
                     person);
    bytes += readAll("SELECT gl_ky, gl_dtl, gl_nl, gl_nh, gl_dl, gl_dh, gl_nm FROM dbts_goal ORDER BY gl_nm", person);
    bytes += readAll("SELECT r.rgmn_nm, r.rgmn_dtl FROM regimen r JOIN measure f ON f.rgmn_ky = r.rgmn_ky WHERE f.prsn_ky = ? "
                     "GROUP BY r.rgmn_nm, r.rgmn_dtl",
                     person);
    if (bytes == 0)
        throw std::runtime_error("no rows read");
    return bytes;
}

void tickEverything(frmReportDoctor& report, bool charts)
{
    report.lstSelectPeriod->setCurrentRow(4); // "Last 1 Year"
    for (QCheckBox* box : {report.chkBP, report.chkPLSE, report.chkWt, report.chkTemp, report.chkTemp1, report.chkSugar,
                           report.chkRegimen, report.chkMood, report.chkCmmnt})
        box->setChecked(true);
    report.chkIncludeChart->setChecked(charts);
    for (QCheckBox* box : report.chkFact)
        box->setChecked(true);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    services::TestServices doubles;
    try {
        ProgramDatabase database;
        const int person = addBigPerson("INSERT INTO PERSON (PRSN_NM, AGE, HGT, SEX) VALUES ('Bench Person', 52, 68, 'M')");
        gPersonKey = person;
        gWeightUnit = 1;
        gWeightUnitText = QStringLiteral("lb");
        gHeightUnit = 1;
        figure("readings of the person",
               double(countOf(gDB->handle(), "SELECT count(*) FROM MEASURE WHERE PRSN_KY = (SELECT max(PRSN_KY) FROM PERSON)")),
               "rows");
        const std::string from = std::to_string(countOf(gDB->handle(), "SELECT CAST(strftime('%Y', max(msrd_dt)) AS INTEGER) "
                                                                       "FROM measure")) +
                                 "-01-01";

        auto& report = vb::defaultInstance<frmReportDoctor>();
        report.setGoalFormMaker([] { return static_cast<vb::FormBase*>(&vb::defaultInstance<frmDSetGoal>()); });
        report.Load();

        // A bare plot with a month of candles, exported as the report exports its charts.
        QCustomPlot bare;
        bare.resize(1280, 600);
        auto* candles = new QCPFinancial(bare.xAxis, bare.yAxis);
        candles->setChartStyle(QCPFinancial::csCandlestick);
        for (int d = 0; d < 124; ++d)
            candles->addData(d, 80 + d % 10, 140 + d % 20, 70 + d % 10, 130 + d % 20);
        bare.rescaleAxes();
        const QString bareFile = App::Path() + QStringLiteral("/bare.jpeg");

        for (const bool charts : {true, false}) {
            tickEverything(report, charts);
            std::vector<double> ours, plain;
            int images = 0;
            for (int run = 0; run < kRuns; ++run) {
                const int before = report.ChartImageNumber;
                QElapsedTimer t;
                t.start();
                report.cmdShow_Click();
                ours.push_back(msSince(t));
                images = report.ChartImageNumber - before;
                if (report.LastPage().isEmpty())
                    throw std::runtime_error("no page written");

                t.restart();
                plainQueries(person, from);
                for (int i = 0; i < images; ++i) {
                    if (!bare.saveJpg(bareFile, 700, 300, 1.0, 100))
                        throw std::runtime_error("no bare JPEG written");
                }
                plain.push_back(msSince(t));
            }
            if (charts) {
                figure("chart images per report", images, "images");
                figure("report with charts", median(ours), "ms");
                figure("bare JPEG exports + plain queries", median(plain), "ms");
                ratio("report with charts", median(ours) / median(plain));
            } else {
                figure("report without charts", median(ours), "ms");
                figure("plain queries", median(plain), "ms");
                ratio("report without charts", median(ours) / median(plain));
            }
        }
        report.Unload();
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_report: %s\n", e.what());
        return 1;
    }
    return 0;
}
