// The measurement grid view for a person with 14,600 readings (ten years, four a day):
//  (a) opening the view on "All Period", "Daily" until the first screen is painted, against a
//      plain SQLite query of the same rows with every cell formatted;
//  (b) "Show Data" after changing the period (from "Last 1 Month" to "All Period"), against
//      the same query;
//  (c) the text export of all rows, against writing the same lines from a plain query.
// Run under the offscreen platform when there is no display.
#include "support/BenchSupport.h"

#include "data/Globals.h"
#include "data/clsCreateMDB.h"
#include "data/clsModifyMDB.h"
#include "data/clsModifyMDB1.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/dao/dao.h"
#include "platform/runtime/ui/Form.h"
#include "reports/clsWebReportGenerator.h"
#include "reports/frmGrid.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QListWidget>
#include <QSaveFile>

#include <functional>

namespace {

constexpr int kYears = 10;
constexpr int kPerDay = 4;
constexpr int kRuns = 7;

// The readings: ten years from 2014, four a day, every measurement filled in, and a regimen,
// mood and goal on some.
qint32 buildPerson()
{
    gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('Bench Person')"), dao::dbFailOnError);
    auto rs =
        gDB->OpenRecordset(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = 'Bench Person'"), dao::dbOpenSnapshot);
    const qint32 person = rs->Fields(0).Value().toInt();
    auto keys = [](const char* sql) {
        std::vector<int> out;
        auto k = gDB->OpenRecordset(QString::fromLatin1(sql), dao::dbOpenSnapshot);
        for (; !k->Eof(); k->MoveNext())
            out.push_back(k->Fields(0).Value().toInt());
        return out;
    };
    const std::vector<int> goals = keys("select GL_KY from DBTS_GOAL");
    const std::vector<int> regimens = keys("select RGMN_KY from REGIMEN");
    const std::vector<int> moods = keys("select MD_KY from MOOD");

    sqlite3* h = gDB->handle();
    bench::exec(h, "BEGIN");
    bench::Stmt insert(h, "insert into MEASURE (PRSN_KY, MSRD_DT, HBP, LBP, PLSE, WT, TEMP, TEMP1, TEMP2, GL_KY, RGMN_KY, "
                          "MD_KY, CMMNT) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const QDate first(2014, 1, 1);
    int i = 0;
    for (int day = 0; day < kYears * 365; ++day) {
        for (int k = 0; k < kPerDay; ++k, ++i) {
            const QDateTime when(first.addDays(day), QTime(7 + 4 * k, (i * 7) % 60), Qt::UTC);
            const QByteArray text = when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
            sqlite3_stmt* s = insert.get();
            sqlite3_bind_int(s, 1, person);
            sqlite3_bind_text(s, 2, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(s, 3, 110 + i % 45);
            sqlite3_bind_int(s, 4, 70 + i % 25);
            sqlite3_bind_int(s, 5, 55 + i % 40);
            sqlite3_bind_double(s, 6, 150.0 + (i % 300) / 10.0);
            sqlite3_bind_double(s, 7, 97.0 + (i % 30) / 10.0);
            sqlite3_bind_double(s, 8, 30.0 + (i % 20) / 10.0);
            sqlite3_bind_double(s, 9, 70.0 + i % 150);
            if (i % 2 && !goals.empty())
                sqlite3_bind_int(s, 10, goals[std::size_t(i) % goals.size()]);
            else
                sqlite3_bind_null(s, 10);
            if (i % 3 && !regimens.empty())
                sqlite3_bind_int(s, 11, regimens[std::size_t(i) % regimens.size()]);
            else
                sqlite3_bind_null(s, 11);
            sqlite3_bind_int(s, 12, moods[std::size_t(i) % moods.size()]);
            const QByteArray comment = "reading " + QByteArray::number(i);
            if (i % 5 == 0)
                sqlite3_bind_text(s, 13, comment.constData(), int(comment.size()), SQLITE_TRANSIENT);
            else
                sqlite3_bind_null(s, 13);
            insert.step();
            insert.reset();
        }
    }
    bench::exec(h, "COMMIT");
    return person;
}

// The grid's rows from plain SQLite: the same joins and order, every cell formatted as the grid
// shows it (dates mm/dd/yy, times hh:mm AM/PM, measurements with one decimal).
const char* const kPlainDaily =
    "SELECT M.RGMN_KY, M.MD_KY, M.MSRD_DT, M.HBP, M.LBP, M.PLSE, M.WT, M.TEMP, M.TEMP1, M.TEMP2, D.GL_NM, R.RGMN_NM, "
    "MO.MD_NM, M.CMMNT FROM (((PERSON AS P INNER JOIN MEASURE AS M ON P.PRSN_KY = M.PRSN_KY) "
    "LEFT JOIN MOOD AS MO ON M.MD_KY = MO.MD_KY) LEFT JOIN REGIMEN AS R ON M.RGMN_KY = R.RGMN_KY) "
    "LEFT JOIN DBTS_GOAL AS D ON M.GL_KY = D.GL_KY WHERE P.PRSN_KY = ? ORDER BY M.MSRD_DT";

QString text(sqlite3_stmt* s, int col)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, col));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(s, col)) : QString();
}

QString oneDecimal(sqlite3_stmt* s, int col)
{
    return sqlite3_column_type(s, col) == SQLITE_NULL ? QString() : QString::number(sqlite3_column_double(s, col), 'f', 1);
}

// Every row as its fifteen cell texts.
std::vector<QStringList> plainRows(qint32 person)
{
    std::vector<QStringList> rows;
    bench::Stmt q(gDB->handle(), kPlainDaily);
    sqlite3_bind_int(q.get(), 1, person);
    while (q.step()) {
        sqlite3_stmt* s = q.get();
        const QString when = text(s, 2); // yyyy-MM-dd HH:mm:ss
        const int hour = when.mid(11, 2).toInt();
        QStringList cells;
        cells.reserve(15);
        cells << text(s, 0) << text(s, 1) << when.mid(5, 2) + u'/' + when.mid(8, 2) + u'/' + when.mid(2, 2)
              << QStringLiteral("%1:%2 %3")
                     .arg((hour + 11) % 12 + 1, 2, 10, QLatin1Char('0'))
                     .arg(when.mid(14, 2), hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM"))
              << text(s, 3) << text(s, 4) << text(s, 5) << oneDecimal(s, 6) << oneDecimal(s, 7) << oneDecimal(s, 8)
              << oneDecimal(s, 9) << text(s, 10) << text(s, 11) << text(s, 12) << text(s, 13);
        rows.push_back(std::move(cells));
    }
    return rows;
}

// Times the plain work and the program's in turns, so that both meet the same load on a shared
// machine, and gives the fastest run of each in milliseconds. Each function returns the
// milliseconds it wants counted.
std::pair<double, double> interleaved(const std::function<double()>& plain, const std::function<double()>& program)
{
    double plainBest = 1e300, programBest = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        plainBest = std::min(plainBest, plain());
        programBest = std::min(programBest, program());
    }
    return {plainBest, programBest};
}

// Milliseconds of one call.
double timed(const std::function<void()>& once)
{
    QElapsedTimer t;
    t.start();
    once();
    return bench::msSince(t);
}

qint64 paint(QWidget& form) { return form.grab().toImage().sizeInBytes(); }

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        bench::ProgramFolder folder;
        clsCreateMDB().OpenOrCreateDatabase();
        clsModifyMDB().runUpgrade();
        clsModifyMDB1().runUpgrade();
        gWeightUnitText = QStringLiteral("lb");
        const qint32 person = buildPerson();
        gPersonKey = person;
        qint64 sink = 0;

        auto plainQuery = [&] { return timed([&] { sink += qint64(plainRows(person).size()); }); };

        // (a) Opening on "All Period", "Daily": the form loads (on its default period), the
        // period is chosen and shown, and the first screen is painted.
        int rows = 0;
        const auto [plainMs, openMs] = interleaved(plainQuery, [&] {
            return timed([&] {
                frmGrid grid;
                grid.resize(1200, 800);
                grid.Load();
                grid.lstSelectPeriod->setCurrentRow(0);
                grid.cmdShow_Click();
                grid.show();
                sink += paint(grid);
                rows = grid.vsFGShow->Rows() - 1;
                grid.Unload();
            });
        });
        std::printf("readings: %d\n", rows);
        // Of the opening, what the engine takes to load the grid's record source.
        double engineMs = 1e300;
        for (int run = 0; run < kRuns; ++run)
            engineMs =
                std::min(engineMs, timed([&] {
                             sink += gDB->OpenRecordset(frmGrid::RecordSource(0, QString()), dao::dbOpenDynaset)->RecordCount();
                         }));
        bench::figure("engine_open_grid_record_source", engineMs, "ms");
        bench::figure("plain_query_formatted_rows", plainMs, "ms");
        bench::figure("grid_open_all_period_first_screen", openMs, "ms");
        bench::ratio("grid_open_vs_plain_query", openMs / plainMs);

        // (b) "Show Data" after the period changed: each run goes to "Last 1 Month" first, and
        // only the change back to "All Period" is timed.
        frmGrid grid;
        grid.resize(1200, 800);
        grid.Load();
        grid.show();
        paint(grid);
        const auto [plainAgainMs, showMs] = interleaved(plainQuery, [&] {
            grid.lstSelectPeriod->setCurrentRow(1);
            grid.cmdShow_Click();
            paint(grid);
            return timed([&] {
                grid.lstSelectPeriod->setCurrentRow(0);
                grid.cmdShow_Click();
                sink += paint(grid);
            });
        });
        bench::figure("grid_show_data_after_period_change", showMs, "ms");
        bench::ratio("grid_show_data_vs_plain_query", showMs / plainAgainMs);

        // (c) The export of every row, against the same lines from the plain query.
        const QString exportPath = folder.path() + QStringLiteral("/export.txt");
        const QString plainPath = folder.path() + QStringLiteral("/plain.txt");
        auto write = [](const QString& path, const QByteArray& bytes) {
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
                throw std::runtime_error("cannot write the export");
        };
        const auto [plainExportMs, exportMs] = interleaved(
            [&] {
                return timed([&] {
                    QString out = QStringLiteral("\r\n\r\n") + QStringLiteral("header\r\nunderline\r\n");
                    for (const QStringList& cells : plainRows(person)) {
                        QString line;
                        for (int c = 2; c < cells.size(); ++c)
                            line += cells[c].leftJustified(c == 2 ? 15 : 12);
                        out += line + QStringLiteral("\r\n");
                    }
                    write(plainPath, toWindows1252Text(out));
                });
            },
            [&] { return timed([&] { write(exportPath, grid.ExportText()); }); });
        bench::figure("plain_export_lines", plainExportMs, "ms");
        bench::figure("grid_text_export_all_rows", exportMs, "ms");
        bench::ratio("grid_export_vs_plain_lines", exportMs / plainExportMs);

        grid.Unload();
        vb::DestroyAllForms();
        clsCreateMDB().CloseDatabase();
        std::printf("# sink %lld\n", static_cast<long long>(sink % 7));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_gridview: %s\n", e.what());
        return 1;
    }
    return 0;
}
