// The Measurement form against plain SQLite doing the same work in the same run, for a person
// with 14,600 readings (10 years x 4 a day):
//  (a) opening the form (load, lists, the grid's query and the first screen painted, taken
//      with a grab of the form) against a plain query of the same rows, joins and order, every
//      cell read as text;
//  (b) saving one reading through the form's save path (the checks, the existence check, the
//      INSERT and the averages in one transaction, the saved row read again into the grid's
//      rows and the move to it) against the plain INSERT plus the day, week and month averages
//      recomputed in plain SQL, in one transaction as well.
// Run under the offscreen platform when there is no display.
#include "data/Globals.h"
#include "data/clsAverage.h"
#include "data/clsCreateMDB.h"
#include "data/clsModifyMDB.h"
#include "data/clsModifyMDB1.h"
#include "platform/controls/DataControl.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/Form.h"
#include "records/frmMeasure.h"
#include "support/BenchDatabase.h"
#include "support/RuntimeDoubles.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kOpenRuns = 7;
constexpr int kSaveRuns = 15;

using namespace bench;

// A program folder with the shipped sample files and a database made as the program makes it.

// The person of the benchmark with 10 years of 4 readings a day, written in one transaction,
// and its stored averages.

// The grid's rows as plain SQLite gives them: the same joins and order, every cell read.
const char* const kPlainQuery =
    "SELECT M.RGMN_KY, M.MD_KY, D.GL_KY, M.MSRD_DT, M.HBP, M.LBP, M.PLSE, printf('%.1f', M.WT), printf('%.1f', M.TEMP), "
    "printf('%.1f', M.TEMP1), printf('%.1f', M.TEMP2), D.GL_NM, R.RGMN_NM, MO.MD_NM, M.CMMNT "
    "FROM PERSON AS P INNER JOIN MEASURE AS M ON P.PRSN_KY = M.PRSN_KY "
    "LEFT JOIN MOOD AS MO ON M.MD_KY = MO.MD_KY LEFT JOIN REGIMEN AS R ON M.RGMN_KY = R.RGMN_KY "
    "LEFT JOIN DBTS_GOAL AS D ON M.GL_KY = D.GL_KY WHERE P.PRSN_KY = ? ORDER BY M.MSRD_DT DESC";

double plainQueryMs(int person, long long& rows)
{
    QElapsedTimer t;
    t.start();
    Stmt s(gDB->handle(), kPlainQuery);
    sqlite3_bind_int(s.get(), 1, person);
    rows = 0;
    std::size_t bytes = 0;
    while (s.step()) {
        for (int c = 0; c < 15; ++c)
            if (const unsigned char* text = sqlite3_column_text(s.get(), c))
                bytes += std::char_traits<char>::length(reinterpret_cast<const char*>(text));
        ++rows;
    }
    if (bytes == 0)
        throw std::runtime_error("no rows read");
    return msSince(t);
}

double openFormMs(int& shownRows)
{
    QElapsedTimer t;
    t.start();
    auto& form = vb::defaultInstance<frmMeasure>();
    form.Load();
    form.resize(1280, 800);
    form.show();
    const QImage screen = form.grab().toImage();
    const double ms = msSince(t);
    if (screen.isNull())
        throw std::runtime_error("no picture of the form");
    shownRows = form.datInfo->Recordset()->RecordCount();
    form.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

// One reading entered and saved as the user does.
double saveThroughFormMs(frmMeasure& form, const QDateTime& when)
{
    QElapsedTimer t;
    t.start();
    form.cmdAddNew_Click();
    form.ctDt_DateSelected(when.date().day(), when.date().month(), when.date().year());
    const QString time = when.time().toString(QStringLiteral("hh:mm AP"));
    form.txtHr->setText(time.left(2));
    form.txtMin->setText(time.mid(3, 2));
    form.txtAMPM->setText(time.mid(6, 2));
    form.txtHBP->setText(QStringLiteral("125"));
    form.txtLBP->setText(QStringLiteral("82"));
    form.txtPlse->setText(QStringLiteral("70"));
    form.txtWt->setText(QStringLiteral("160.5"));
    form.txtCmmnt->setText(QStringLiteral("bench"));
    form.cmdSave_Click();
    const double ms = msSince(t);
    if (form.EditMode != QLatin1String("browse") || form.RecordKey() != when)
        throw std::runtime_error("the form did not save the reading");
    return ms;
}

// The same reading as a plain INSERT and the three averages recomputed in plain SQL.
double savePlainMs(int person, const QDateTime& when)
{
    sqlite3* db = gDB->handle();
    const QByteArray at = when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
    const QDate d = when.date();
    const QDate monday = d.addDays(1 - d.dayOfWeek());
    const QByteArray day = d.toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toLatin1();
    const QByteArray dayEnd = d.addDays(1).toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toLatin1();
    const QByteArray week = monday.addDays(6).toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toLatin1();
    const QByteArray weekFrom = monday.toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toLatin1();
    const QByteArray weekEnd = monday.addDays(7).toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toLatin1();
    const QByteArray month = QDate(d.year(), d.month(), 1).toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toLatin1();
    const QByteArray monthEnd =
        QDate(d.year(), d.month(), 1).addMonths(1).toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toLatin1();

    QElapsedTimer t;
    t.start();
    exec(db, "BEGIN");
    {
        Stmt ins(db, "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, LBP, HBP, PLSE, WT, CMMNT) VALUES (?,?,82,125,70,160.5,'bench')");
        sqlite3_bind_int(ins.get(), 1, person);
        sqlite3_bind_text(ins.get(), 2, at.constData(), int(at.size()), SQLITE_STATIC);
        ins.step();
    }
    struct Level {
        const char* table;
        const char* key;
        const QByteArray& value;
        const QByteArray& from;
        const QByteArray& to;
    };
    const Level levels[] = {{"AVERAGE_DAY", "DT", day, day, dayEnd},
                            {"AVERAGE_WEEK", "WEEK", week, weekFrom, weekEnd},
                            {"AVERAGE_MONTH", "MNTH", month, month, monthEnd}};
    for (const Level& level : levels) {
        const std::string del = std::string("DELETE FROM ") + level.table + " WHERE PRSN_KY = ? AND " + level.key + " = ?";
        Stmt remove(db, del.c_str());
        sqlite3_bind_int(remove.get(), 1, person);
        sqlite3_bind_text(remove.get(), 2, level.value.constData(), int(level.value.size()), SQLITE_STATIC);
        remove.step();
        const std::string add = std::string("INSERT INTO ") + level.table +
                                " SELECT PRSN_KY, ?, round(avg(LBP)), round(avg(HBP)), round(avg(PLSE)), avg(WT), avg(TEMP), "
                                "avg(TEMP1), avg(TEMP2) FROM MEASURE WHERE PRSN_KY = ? AND MSRD_DT >= ? AND MSRD_DT < ? "
                                "GROUP BY PRSN_KY";
        Stmt insert(db, add.c_str());
        sqlite3_bind_text(insert.get(), 1, level.value.constData(), int(level.value.size()), SQLITE_STATIC);
        sqlite3_bind_int(insert.get(), 2, person);
        sqlite3_bind_text(insert.get(), 3, level.from.constData(), int(level.from.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 4, level.to.constData(), int(level.to.size()), SQLITE_STATIC);
        insert.step();
    }
    exec(db, "COMMIT");
    return msSince(t);
}

void run()
{
    ProgramDatabase folder;
    vb::RuntimeDoubles doubles; // no dialog can wait for a user; the clock and random numbers are fixed
    gShortDateFormat = QStringLiteral("M/d/yyyy");
    const int person = addBigPerson();
    gPersonKey = person;
    const long long readings =
        countOf(gDB->handle(), "SELECT count(*) FROM MEASURE WHERE PRSN_KY = (SELECT max(PRSN_KY) FROM PERSON)");
    std::printf("# person with %lld readings\n", readings);

    // (a) Opening the form until its first screen is painted, against the plain query.
    std::vector<double> ours, plain;
    int shown = 0;
    long long plainRows = 0;
    openFormMs(shown); // warm-up: fonts, styles, first statements
    plainQueryMs(person, plainRows);
    for (int i = 0; i < kOpenRuns; ++i) {
        ours.push_back(openFormMs(shown));
        plain.push_back(plainQueryMs(person, plainRows));
    }
    if (shown != plainRows)
        throw std::runtime_error("the form and the plain query disagree on the rows");
    figure("open measurement form to first screen", median(ours), "ms");
    figure("plain sqlite query of the same rows", median(plain), "ms");
    ratio("open measurement form", median(ours) / median(plain));

    // (b) Saving one reading: the form's save path against plain SQL in one transaction.
    auto& form = vb::defaultInstance<frmMeasure>();
    form.Load();
    form.resize(1280, 800);
    form.show();
    std::vector<double> saves, plainSaves;
    for (int i = 0; i < kSaveRuns; ++i) {
        // Times no reading has, on days spread over the ten years.
        const QDate day = QDate(2014, 1, 1).addDays(37 * i + 11);
        saves.push_back(saveThroughFormMs(form, QDateTime(day, QTime(9, i % 60), Qt::UTC)));
        plainSaves.push_back(savePlainMs(person, QDateTime(day, QTime(14, i % 60), Qt::UTC)));
    }
    // Where the time goes: the full requery of the grid (what a save cost before it read only the
    // saved row again), and the engine's opening of the grid's rows with and without the
    // format() calls of its select list.
    std::vector<double> requery, engineOpen, engineOpenNoFormat;
    QString noFormat = form.datInfo->RecordSource();
    for (const char* column : {"WT", "TEMP", "TEMP1", "TEMP2"})
        noFormat.replace(QStringLiteral("format(M.%1,'0.0')").arg(QLatin1String(column)),
                         QStringLiteral("M.%1").arg(QLatin1String(column)));
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        form.RequeryMeasurements(0, true);
        requery.push_back(msSince(t));
        t.restart();
        gDB->OpenRecordset(form.datInfo->RecordSource(), dao::dbOpenDynaset)->Close();
        engineOpen.push_back(msSince(t));
        t.restart();
        gDB->OpenRecordset(noFormat, dao::dbOpenDynaset)->Close();
        engineOpenNoFormat.push_back(msSince(t));
    }
    form.Unload();
    figure("save one reading through the form", median(saves), "ms");
    figure("plain insert and averages in sql", median(plainSaves), "ms");
    ratio("save one reading", median(saves) / median(plainSaves));
    figure("grid requery that ends each save", median(requery), "ms");
    figure("engine open of the grid rows", median(engineOpen), "ms");
    figure("engine open of the grid rows without format()", median(engineOpenNoFormat), "ms");
    ratio("engine open of the grid rows", median(engineOpen) / median(plain));
    ratio("engine open of the grid rows without format()", median(engineOpenNoFormat) / median(plain));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_records: %s\n", e.what());
        return 1;
    }
    vb::DestroyAllForms();
    return 0;
}
