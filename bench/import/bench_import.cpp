// The import window against plain SQLite doing the same write in the same run, for a person who
// already has 14,600 readings (10 years x 4 a day): a file of 10,000 and one of 1,000 new rows
// loaded into the preview grid (every cell checked, regimen and mood looked up), then written
// with the averages brought up to date; against plain SQLite inserting the same rows in one
// transaction plus the GROUP BY that recomputes the affected day, week and month averages.
// Each run starts from a copy of the same database. Run under the offscreen platform when there
// is no display.
//
// Last, the peak memory of loading a 100,000-row file into the preview grid, per byte of the
// file. It is read from the kernel, not guessed from our own counts: free heap is handed back
// (malloc_trim) and the resident high-water mark reset (writing 5 to /proc/self/clear_refs), so
// the peak that /proc/self/status shows as VmHWM after the load, less the resident size before
// it, is what the load made resident at its worst: the file's reading, the grid's rows and every
// buffer on the way, whoever allocated them.
#include "data/Globals.h"
#include "data/clsAverage.h"
#include "data/clsCreateMDB.h"
#include "data/clsModifyMDB.h"
#include "data/clsModifyMDB1.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/Form.h"
#include "reports/frmImportMeasurements.h"
#include "support/BenchDatabase.h"
#include "support/RuntimeDoubles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include <malloc.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr int kRuns = 3;

struct Row {
    QDateTime when;
    int high, low, pulse;
    double weight;
    int mood; // 0: none
    QString comment;
};

// New readings after the stored ones, 4 a day.
std::vector<Row> makeRows(int n, const QDate& first)
{
    std::vector<Row> rows;
    for (int i = 0; i < n; ++i) {
        const QDateTime when(first.addDays(i / 4), QTime(6 + 4 * (i % 4), 30), Qt::UTC);
        rows.push_back(
            {when, 110 + i % 40, 70 + i % 20, 55 + i % 30, 150.0 + (i % 200) / 10.0, i % 4, QStringLiteral("import %1").arg(i)});
    }
    return rows;
}

QByteArray fileOf(const std::vector<Row>& rows)
{
    static const char* const moods[] = {"", "Normal", "Happy", "Excited"};
    QByteArray out;
    for (const Row& r : rows) {
        out += r.when.toString(QStringLiteral("MM/dd/yyyy hh:mm AP")).toLatin1() + ',' + QByteArray::number(r.high) + ',' +
               QByteArray::number(r.low) + ',' + QByteArray::number(r.pulse) + ',' + QByteArray::number(r.weight, 'f', 1) +
               ",,,,," + (r.mood % 2 ? "Walk" : "") + ',' + moods[r.mood] + ',' + r.comment.toLatin1() + "\r\n";
    }
    return out;
}

// The same rows through plain SQLite: the inserts in one transaction, then the affected
// averages recomputed by GROUP BY (day, week and month of the rows' span).
double plainMs(const QString& file, int person, const std::vector<Row>& rows)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(file.toUtf8().constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open the copy");
    exec(db, "PRAGMA synchronous=FULL");
    const int walk = int(countOf(db, "SELECT RGMN_KY FROM REGIMEN WHERE RGMN_NM = 'Walk'"));
    QElapsedTimer t;
    t.start();
    exec(db, "BEGIN");
    {
        Stmt ins(db,
                 "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, CMMNT) VALUES (?,?,?,?,?,?,?,?,?)");
        for (const Row& r : rows) {
            const QByteArray when = r.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
            const QByteArray comment = r.comment.toUtf8();
            sqlite3_bind_int(ins.get(), 1, person);
            sqlite3_bind_text(ins.get(), 2, when.constData(), int(when.size()), SQLITE_TRANSIENT);
            if (r.mood)
                sqlite3_bind_int(ins.get(), 3, r.mood == 1 ? 1 : r.mood == 2 ? 3 : 2);
            else
                sqlite3_bind_null(ins.get(), 3);
            if (r.mood % 2)
                sqlite3_bind_int(ins.get(), 4, walk);
            else
                sqlite3_bind_null(ins.get(), 4);
            sqlite3_bind_int(ins.get(), 5, r.low);
            sqlite3_bind_int(ins.get(), 6, r.high);
            sqlite3_bind_int(ins.get(), 7, r.pulse);
            sqlite3_bind_double(ins.get(), 8, double(float(r.weight)));
            sqlite3_bind_text(ins.get(), 9, comment.constData(), int(comment.size()), SQLITE_TRANSIENT);
            ins.step();
            ins.reset();
        }
    }
    const std::string from = rows.front().when.date().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    const std::string who = std::to_string(person);
    // Whole numbers for the 16-bit columns, dates as stored ("yyyy-MM-dd 00:00:00").
    const std::string values = ", cast(round(avg(lbp)) as integer), cast(round(avg(hbp)) as integer), "
                               "cast(round(avg(plse)) as integer), avg(wt), avg(temp), avg(temp1), avg(temp2) FROM MEASURE "
                               "WHERE prsn_ky = " +
                               who + " AND msrd_dt >= ";
    exec(db, "INSERT OR REPLACE INTO AVERAGE_DAY SELECT prsn_ky, date(msrd_dt) || ' 00:00:00'" + values + "'" + from +
                 "' GROUP BY prsn_ky, date(msrd_dt)");
    exec(db, "INSERT OR REPLACE INTO AVERAGE_WEEK SELECT prsn_ky, date(msrd_dt, 'weekday 0') || ' 00:00:00'" + values + "date('" +
                 from + "', '-6 days') GROUP BY prsn_ky, date(msrd_dt, 'weekday 0')");
    exec(db, "INSERT OR REPLACE INTO AVERAGE_MONTH SELECT prsn_ky, date(msrd_dt, 'start of month') || ' 00:00:00'" + values +
                 "date('" + from + "', 'start of month') GROUP BY prsn_ky, date(msrd_dt, 'start of month')");
    exec(db, "COMMIT");
    const double ms = msSince(t);
    sqlite3_close(db);
    return ms;
}

// Load, check and write the file through the window; the statistics box is answered.
double windowMs(vb::RuntimeDoubles& doubles, const QString& file, int expected, double& loadMs)
{
    QElapsedTimer t;
    t.start();
    auto& form = vb::defaultInstance<frmImportMeasurements>();
    form.Load();
    form.txtImportFileName->setText(file);
    form.cmdLoadTemplateToGrid_Click();
    loadMs = msSince(t);
    doubles.messages().Answer(vb::vbOK);
    form.cmdLoadDataFromGrid_Click();
    const double ms = msSince(t);
    const QString box = doubles.messages().Last().text;
    if (!box.contains(QStringLiteral("Rows loaded (shown in green):%1\r\n").arg(expected)))
        throw std::runtime_error(("unexpected result: " + box).toStdString());
    form.txtImportFileName->setText(QStringLiteral("import.csv"));
    form.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

// A figure of /proc/self/status in kB ("VmRSS", "VmHWM").
long long statusKb(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0)
            return std::stoll(line.substr(key.size() + 1));
    throw std::runtime_error("no " + key + " in /proc/self/status");
}

// Peak resident bytes added while loading the file into a fresh window, per byte of the file.
double peakPerByte(const QString& file)
{
    malloc_trim(0);
    {
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5";
        if (!reset.flush())
            throw std::runtime_error("cannot reset the resident high-water mark");
    }
    const long long before = statusKb("VmRSS");
    auto& form = vb::defaultInstance<frmImportMeasurements>();
    form.Load();
    form.txtImportFileName->setText(file);
    form.cmdLoadTemplateToGrid_Click();
    const long long peak = statusKb("VmHWM");
    if (form.vsFGImport->Rows() < 100001)
        throw std::runtime_error("the file was not loaded whole");
    form.txtImportFileName->setText(QStringLiteral("import.csv"));
    form.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return double(peak - before) * 1024.0 / double(QFileInfo(file).size());
}

void reopen(const QString& database, const QString& original)
{
    clsCreateMDB().CloseDatabase();
    QFile::remove(database);
    if (!QFile::copy(original, database))
        throw std::runtime_error("cannot restore the database");
    clsCreateMDB().OpenOrCreateDatabase();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        ProgramFolder folder;
        vb::RuntimeDoubles doubles;
        clsCreateMDB().OpenOrCreateDatabase();
        clsModifyMDB().runUpgrade();
        clsModifyMDB1().runUpgrade();
        const int person = addBigPerson("INSERT INTO PERSON (PRSN_NM) VALUES ('Bench Person')", 2020);
        gPersonKey = person;
        gWeightUnitText = QStringLiteral("lb");
        std::printf("# person %d with %lld readings\n", person,
                    countOf(gDB->handle(), "SELECT count(*) FROM MEASURE WHERE PRSN_KY = " + std::to_string(person)));
        const QString database = clsCreateMDB::databasePath();
        const QString original = folder.path() + QStringLiteral("/original.db");
        clsCreateMDB().CloseDatabase();
        QFile::copy(database, original);
        clsCreateMDB().OpenOrCreateDatabase();

        double perRow[2] = {0, 0};
        const int sizes[2] = {10000, 1000};
        for (int s = 0; s < 2; ++s) {
            const int n = sizes[s];
            const std::vector<Row> rows = makeRows(n, QDate(2030, 1, 1));
            const QString file = folder.path() + QStringLiteral("/import%1.csv").arg(n);
            QFile out(file);
            if (!out.open(QIODevice::WriteOnly) || out.write(fileOf(rows)) < 0)
                throw std::runtime_error("cannot write the file");
            out.close();
            std::vector<double> ours, plain, loads;
            for (int run = 0; run < kRuns; ++run) {
                reopen(database, original);
                gPersonKey = person;
                double loadMs = 0;
                ours.push_back(windowMs(doubles, file, n, loadMs));
                loads.push_back(loadMs);
                const QString copy = folder.path() + QStringLiteral("/plain.db");
                QFile::remove(copy);
                QFile::copy(original, copy);
                plain.push_back(plainMs(copy, person, rows));
            }
            const double o = median(ours), p = median(plain);
            const std::string name = "import " + std::to_string(n) + " rows";
            figure((name + " through the window").c_str(), o, "ms");
            figure((name + " of which the load and checks").c_str(), median(loads), "ms");
            figure((name + " plain SQLite").c_str(), p, "ms");
            ratio(name.c_str(), o / p);
            perRow[s] = o / n;
        }
        figure("per-row cost 10000 rows", perRow[0] * 1000, "us");
        figure("per-row cost 1000 rows", perRow[1] * 1000, "us");
        ratio("per-row cost 1000 against 10000", perRow[1] / perRow[0]);

        {
            const QString file = folder.path() + QStringLiteral("/import100000.csv");
            QFile out(file);
            if (!out.open(QIODevice::WriteOnly) || out.write(fileOf(makeRows(100000, QDate(2030, 1, 1)))) < 0)
                throw std::runtime_error("cannot write the file");
            out.close();
            std::printf("# file of 100000 rows: %lld bytes\n", static_cast<long long>(QFileInfo(file).size()));
            ratio("peak memory per file byte", peakPerByte(file));
        }
        vb::DestroyAllForms();
        clsCreateMDB().CloseDatabase();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_import: %s\n", e.what());
        return 1;
    }
    return 0;
}
