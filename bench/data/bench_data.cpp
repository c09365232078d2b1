// Data layer against plain SQLite doing the same work in the same run:
//  (a) a new database with the sample data (creation and both upgrade layers) against plain
//      SQLite creating the same tables and indexes and inserting the same rows;
//  (b) clsAverage.UpdateAverages after one added reading, in a database of 4 persons x 10 years
//      x 4 readings a day and in one a tenth of that size, against a plain INSERT of the reading;
//      durable (each on its own, as the program runs them: the disk flush dominates and varies
//      with the machine's load) and inside an open transaction (the work itself);
//  (c) RebuildAllAverages on the big database against GROUP BY queries doing the same sums.
#include "data/Globals.h"
#include "data/clsAverage.h"
#include "data/clsCreateMDB.h"
#include "data/clsModifyMDB.h"
#include "data/clsModifyMDB1.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/BenchDatabase.h"

namespace {

using namespace bench;

void openAsTheProgramDoes()
{
    clsCreateMDB().OpenOrCreateDatabase();
    clsModifyMDB().runUpgrade();
    clsModifyMDB1().runUpgrade();
}

void closeDatabase()
{
    if (gDB || gWS)
        clsCreateMDB().CloseDatabase();
}

// ---- (a) ----------------------------------------------------------------------------------

void benchCreation()
{
    ProgramFolder folder;
    if (!folder.hasSamples())
        note("the sample files are not beside the program: the creation figure has no sample data");
    QElapsedTimer t;
    t.start();
    openAsTheProgramDoes();
    const double ours = msSince(t);

    // What the program made: the program's tables (not the engine's catalogue), their indexes and rows.
    sqlite3* src = gDB->handle();
    const QStringList tables = gDB->TableDefs().names();
    std::vector<std::string> ddl;
    {
        Stmt s(src, "SELECT type, name, tbl_name, sql FROM sqlite_master WHERE sql IS NOT NULL AND type IN ('table','index') "
                    "ORDER BY rowid");
        while (s.step()) {
            const QString table = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 2)));
            if (tables.contains(table, Qt::CaseInsensitive))
                ddl.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 3)));
        }
    }
    struct TableRows {
        std::string name;
        int columns = 0;
        std::vector<sqlite3_value*> values; // row-major
    };
    std::vector<TableRows> data;
    long long rowCount = 0;
    for (const QString& table : tables) {
        TableRows tr;
        tr.name = table.toStdString();
        Stmt s(src, "SELECT * FROM \"" + tr.name + "\"");
        tr.columns = sqlite3_column_count(s.get());
        while (s.step()) {
            for (int c = 0; c < tr.columns; ++c)
                tr.values.push_back(sqlite3_value_dup(sqlite3_column_value(s.get(), c)));
            ++rowCount;
        }
        data.push_back(std::move(tr));
    }
    const long long readings = countOf(src, "SELECT count(*) FROM MEASURE");
    closeDatabase();

    QTemporaryDir plainDir;
    const std::string plainPath = (plainDir.path() + QStringLiteral("/plain.db")).toStdString();
    t.restart();
    sqlite3* db = nullptr;
    check(db, sqlite3_open(plainPath.c_str(), &db), "open");
    exec(db, "BEGIN");
    for (const std::string& sql : ddl)
        exec(db, sql);
    for (const TableRows& tr : data) {
        std::string marks;
        for (int c = 0; c < tr.columns; ++c)
            marks += c ? ",?" : "?";
        Stmt ins(db, "INSERT INTO \"" + tr.name + "\" VALUES(" + marks + ")");
        for (std::size_t r = 0; r + std::size_t(tr.columns) <= tr.values.size(); r += std::size_t(tr.columns)) {
            for (int c = 0; c < tr.columns; ++c)
                sqlite3_bind_value(ins.get(), c + 1, tr.values[r + std::size_t(c)]);
            ins.step();
            ins.reset();
        }
    }
    exec(db, "COMMIT");
    sqlite3_close(db);
    const double plain = msSince(t);
    for (TableRows& tr : data)
        for (sqlite3_value* v : tr.values)
            sqlite3_value_free(v);

    std::printf("# a new database: %lld rows in %d tables, %lld of them readings\n", rowCount, int(tables.size()), readings);
    figure("create database with sample data", ours, "ms");
    figure("plain sqlite same tables and rows", plain, "ms");
    ratio("create database with sample data", ours / plain);
}

// ---- the big databases ---------------------------------------------------------------------

struct BigDatabase {
    ProgramFolder folder;
    std::vector<int> persons;
    QDate first;
    int years = 0;
};

// Persons and their readings, four a day, written through the engine's connection with one
// prepared statement in one transaction.
void fillReadings(BigDatabase& big, int persons, int years)
{
    openAsTheProgramDoes();
    sqlite3* db = gDB->handle();
    big.first = QDate(2010, 1, 1);
    big.years = years;
    for (int p = 0; p < persons; ++p) {
        gDB->Execute(QStringLiteral("insert into person (prsn_nm) values ('Bench %1')").arg(p + 1), dao::dbFailOnError);
        auto rs = gDB->OpenRecordset(QStringLiteral("select max(prsn_ky) from person"), dao::dbOpenSnapshot);
        big.persons.push_back(rs->Fields(0).Value().toInt());
    }
    QRandomGenerator rng(4242);
    exec(db, "BEGIN");
    {
        Stmt ins(db, "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2) VALUES (?,?,?,?,?,?,?,?,?)");
        const QDate end = big.first.addYears(years);
        const int hours[] = {7, 12, 18, 22};
        for (int person : big.persons)
            for (QDate d = big.first; d < end; d = d.addDays(1))
                for (int h : hours) {
                    const QByteArray when =
                        d.toString(Qt::ISODate).toLatin1() + ' ' + QByteArray::number(h).rightJustified(2, '0') + ":00:00";
                    sqlite3_bind_int(ins.get(), 1, person);
                    sqlite3_bind_text(ins.get(), 2, when.constData(), int(when.size()), SQLITE_TRANSIENT);
                    sqlite3_bind_int(ins.get(), 3, 60 + int(rng.bounded(40)));
                    sqlite3_bind_int(ins.get(), 4, 100 + int(rng.bounded(70)));
                    sqlite3_bind_int(ins.get(), 5, 50 + int(rng.bounded(50)));
                    sqlite3_bind_double(ins.get(), 6, double(float(60 + rng.bounded(400) / 10.0)));
                    if (rng.bounded(3) == 0)
                        sqlite3_bind_null(ins.get(), 7);
                    else
                        sqlite3_bind_double(ins.get(), 7, double(float(36 + rng.bounded(30) / 10.0)));
                    sqlite3_bind_null(ins.get(), 8);
                    sqlite3_bind_double(ins.get(), 9, double(float(4 + rng.bounded(80) / 10.0)));
                    ins.step();
                    ins.reset();
                }
    }
    exec(db, "COMMIT");
}

// Day averages as the upgrade makes them, so that the day rows are there as in use.
void fillDayAverages()
{
    exec(gDB->handle(), "DELETE FROM AVERAGE_DAY");
    exec(gDB->handle(),
         "INSERT INTO AVERAGE_DAY SELECT prsn_ky, datevalue(msrd_dt), cint(avg(lbp)), cint(avg(hbp)), cint(avg(plse)), "
         "csng(avg(wt)), csng(avg(temp)), csng(avg(temp1)), csng(avg(temp2)) FROM MEASURE GROUP BY prsn_ky, datevalue(msrd_dt)");
}

struct UpdateCost {
    double insertMs = 0; // durable, each on its own
    double updateMs = 0;
    double insertTxMs = 0; // inside an open transaction
    double updateTxMs = 0;
};

// Adds readings at a time of day no reading has, spread over the years, and times the plain
// INSERT of each and the averages update that follows it.
UpdateCost timeUpdates(const BigDatabase& big, int durableRounds, int rounds)
{
    sqlite3* db = gDB->handle();
    Stmt ins(db, "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, LBP, HBP, PLSE, WT) VALUES (?,?,?,?,?,?)");
    const int days = int(big.first.daysTo(big.first.addYears(big.years)));
    QRandomGenerator rng(77);
    clsAverage averages;
    std::vector<double> insertMs, updateMs, insertTxMs, updateTxMs;
    auto one = [&](int hour, int minute, std::vector<double>& insertOut, std::vector<double>& updateOut) {
        const int person = big.persons[rng.bounded(quint32(big.persons.size()))];
        const QDateTime when(big.first.addDays(rng.bounded(days)), QTime(hour, minute), Qt::UTC);
        const QByteArray text = when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
        QElapsedTimer t;
        t.start();
        sqlite3_bind_int(ins.get(), 1, person);
        sqlite3_bind_text(ins.get(), 2, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(ins.get(), 3, 80);
        sqlite3_bind_int(ins.get(), 4, 125);
        sqlite3_bind_int(ins.get(), 5, 70);
        sqlite3_bind_double(ins.get(), 6, 72.5);
        ins.step();
        ins.reset();
        insertOut.push_back(msSince(t));
        gPersonKey = person;
        t.restart();
        averages.UpdateAverages(when, clsAverage::actAdded);
        updateOut.push_back(msSince(t));
    };
    for (int i = 0; i < durableRounds; ++i)
        one(13, i % 60, insertMs, updateMs);
    {
        dao::Transaction tx(*gDB);
        for (int i = 0; i < rounds; ++i)
            one(14 + i / 60, i % 60, insertTxMs, updateTxMs); // 14:00 to 17:59, free of readings
        tx.commit();
    }
    return {median(insertMs), median(updateMs), median(insertTxMs), median(updateTxMs)};
}

UpdateCost benchUpdatesAt(int persons, int years, bool rebuild)
{
    BigDatabase big;
    QElapsedTimer t;
    t.start();
    fillReadings(big, persons, years);
    const long long rows = countOf(gDB->handle(), "SELECT count(*) FROM MEASURE");
    std::printf("# %d persons x %d years x 4 readings a day: %lld readings, built in %.0f ms\n", persons, years, rows,
                msSince(t));

    if (rebuild) {
        // (c) month and week rows of every person, from empty tables.
        exec(gDB->handle(), "DELETE FROM AVERAGE_MONTH");
        exec(gDB->handle(), "DELETE FROM AVERAGE_WEEK");
        t.restart();
        clsAverage().RebuildAllAverages();
        const double ours = msSince(t);
        t.restart();
        long long groups = 0;
        for (const char* key : {"substr(msrd_dt, 1, 7)", "date(msrd_dt, 'weekday 0')"}) {
            Stmt s(gDB->handle(), std::string("SELECT prsn_ky, ") + key +
                                      ", count(*), avg(lbp), avg(hbp), avg(plse), avg(wt), avg(temp), avg(temp1), avg(temp2) "
                                      "FROM MEASURE GROUP BY 1, 2");
            while (s.step())
                ++groups;
        }
        const double plain = msSince(t);
        const long long stored = countOf(gDB->handle(), "SELECT count(*) FROM AVERAGE_MONTH") +
                                 countOf(gDB->handle(), "SELECT count(*) FROM AVERAGE_WEEK");
        std::printf("# rebuild: %lld month and week rows written, %lld groups read by the plain queries\n", stored, groups);
        figure("rebuild all averages", ours, "ms");
        figure("plain sqlite group by month and week", plain, "ms");
        ratio("rebuild all averages", ours / plain);
    } else {
        clsAverage().RebuildAllAverages();
    }
    fillDayAverages();
    const UpdateCost cost = timeUpdates(big, 40, 240);
    closeDatabase();
    return cost;
}

void benchUpdates()
{
    const UpdateCost big = benchUpdatesAt(4, 10, true);
    const UpdateCost small = benchUpdatesAt(4, 1, false);
    figure("update averages after one reading 4x10 years", big.updateMs, "ms");
    figure("plain insert of the reading 4x10 years", big.insertMs, "ms");
    ratio("update averages 4x10 years", big.updateMs / big.insertMs);
    figure("update averages after one reading 4x1 year", small.updateMs, "ms");
    figure("plain insert of the reading 4x1 year", small.insertMs, "ms");
    ratio("update averages 4x1 year", small.updateMs / small.insertMs);
    ratio("update averages 4x10 years against 4x1 year", big.updateMs / small.updateMs);

    figure("update averages in a transaction 4x10 years", big.updateTxMs, "ms");
    figure("plain insert in a transaction 4x10 years", big.insertTxMs, "ms");
    ratio("update averages in a transaction 4x10 years", big.updateTxMs / big.insertTxMs);
    figure("update averages in a transaction 4x1 year", small.updateTxMs, "ms");
    figure("plain insert in a transaction 4x1 year", small.insertTxMs, "ms");
    ratio("update averages in a transaction 4x1 year", small.updateTxMs / small.insertTxMs);
    ratio("update averages in a transaction 4x10 years against 4x1 year", big.updateTxMs / small.updateTxMs);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    dataMessage::setHandler([](const QString& prompt, int, const QString& title) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(prompt));
    });
    try {
        QElapsedTimer total;
        total.start();
        benchCreation();
        benchUpdates();
        figure("whole run", msSince(total) / 1000.0, "s");
    } catch (const dao::Error& e) {
        std::fprintf(stderr, "engine error %d: %s\n", e.Number(), qPrintable(e.Description()));
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return 0;
}
