// The flex grid over a 100,000-row recordset:
//  (a) binding the grid to a data control on an open recordset and painting the first screen,
//      against walking the same recordset and formatting every cell in a plain loop;
//  (b) the same from the SQL text: data control refresh (open) plus first screen, against
//      opening the recordset and the plain loop;
//  (c) the first screen with a per-cell fill handler colouring cells, and moving to the last row.
// Run under the offscreen platform when there is no display.
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/dao/dao.h"
#include "platform/runtime/Conversions.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

using namespace dao;

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 5;
const QString kSource =
    QStringLiteral("SELECT M.RGMN_KY, M.MD_KY, MSRD_DT, M.HBP, M.LBP, M.PLSE, format(M.WT,'0.0'), format(M.TEMP,'0.0'), M.CMMNT "
                   "FROM MEASURE AS M WHERE M.PRSN_KY = 1 ORDER BY M.MSRD_DT Desc");

void buildDatabase(Database& db)
{
    TableDef td = db.CreateTableDef(QStringLiteral("MEASURE"));
    auto add = [&](const char* name, int type, int size = 0) {
        Field f = td.CreateField(QString::fromLatin1(name), type, size);
        if (type == dbText)
            f.setAllowZeroLength(true);
        td.Fields().Append(f);
    };
    add("PRSN_KY", dbLong);
    add("MSRD_DT", dbDate);
    add("MD_KY", dbInteger);
    add("RGMN_KY", dbLong);
    add("LBP", dbInteger);
    add("HBP", dbInteger);
    add("PLSE", dbInteger);
    add("WT", dbSingle);
    add("TEMP", dbSingle);
    add("CMMNT", dbText, 100);
    db.TableDefs().Append(td);

    sqlite3* h = db.handle();
    sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h,
                       "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, CMMNT) "
                       "VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &st, nullptr);
    const QDateTime start(QDate(2015, 1, 1), QTime(7, 0), Qt::UTC);
    for (int i = 0; i < kRows; ++i) {
        const QByteArray when = start.addSecs(3600LL * i).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
        sqlite3_bind_text(st, 1, when.constData(), int(when.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 2, 1 + i % 6);
        if (i % 3)
            sqlite3_bind_int(st, 3, 1 + i % 4);
        else
            sqlite3_bind_null(st, 3);
        sqlite3_bind_int(st, 4, 70 + i % 25);
        sqlite3_bind_int(st, 5, 110 + i % 45);
        sqlite3_bind_int(st, 6, 55 + i % 40);
        sqlite3_bind_double(st, 7, 150.0 + (i % 300) / 10.0);
        if (i % 2)
            sqlite3_bind_double(st, 8, 97.0 + (i % 30) / 10.0);
        else
            sqlite3_bind_null(st, 8);
        const QByteArray comment = "reading " + QByteArray::number(i);
        if (i % 7 == 0)
            sqlite3_bind_text(st, 9, comment.constData(), int(comment.size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(st, 9);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
}

// The best of a few runs, in milliseconds.
double best(const std::function<void()>& once)
{
    double fastest = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        once();
        fastest = std::min(fastest, t.nsecsElapsed() / 1e6);
    }
    return fastest;
}

// Every cell's text, as the grid shows it, summed up so the work is not optimised away.
qsizetype walk(const Recordset& rs)
{
    qsizetype total = 0;
    for (int r = 0; r < rs.RecordCount(); ++r)
        for (int c = 0; c < rs.columnCount(); ++c) {
            const QVariant& v = rs.valueAt(r, c);
            total += v.isNull() ? 0 : vb::CStr(v).size();
        }
    return total;
}

// A grid as the forms lay one out, painted once.
qint64 showFirstScreen(DataControl& dat, const std::function<void(VSFlexGrid&)>& prepare,
                       const std::function<void(DataControl&)>& load)
{
    VSFlexGrid grid;
    grid.resize(1000, 700);
    grid.show();
    grid.setDataSource(&dat);
    prepare(grid);
    load(dat);
    grid.setFormatString(
        QStringLiteral("|rgmn_ky|md_ky|Date(mm/dd/yy)|High BP|Low BP|Pulse (/min)|Weight (lb)|Temp (F)|Comment"));
    grid.setColHidden(1, true);
    grid.setColHidden(2, true);
    grid.setColWidth(3, 1900);
    grid.setRowHeight(0, 500);
    const QImage shot = grid.grab().toImage();
    return shot.sizeInBytes() + grid.Rows();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    DatabasePtr db = Database::create(dir.filePath(QStringLiteral("bench.mdb")));
    buildDatabase(*db);
    qint64 sink = 0;

    // (a) an open recordset: the grid's first screen against formatting every cell.
    RecordsetPtr rs = db->OpenRecordset(kSource, dbOpenDynaset);
    const double walkMs = best([&] { sink += walk(*rs); });
    const double bindMs = best([&] {
        DataControl dat;
        sink += showFirstScreen(
            dat, [](VSFlexGrid&) {}, [&](DataControl& d) { d.setRecordset(rs); });
    });
    std::printf("rows: %d\n", rs->RecordCount());
    std::printf("plain_walk_format_all_cells: %.1f ms\n", walkMs);
    std::printf("grid_bind_first_screen: %.1f ms\n", bindMs);
    std::printf("ratio grid_first_screen_vs_plain_walk: %.2f\n", bindMs / walkMs);

    // (b) from the SQL text.
    const double openWalkMs = best([&] {
        RecordsetPtr fresh = db->OpenRecordset(kSource, dbOpenDynaset);
        sink += walk(*fresh);
    });
    const double refreshMs = best([&] {
        DataControl dat;
        dat.setDatabase(db);
        dat.setRecordSource(kSource);
        sink += showFirstScreen(
            dat, [](VSFlexGrid&) {}, [](DataControl& d) { d.Refresh(); });
    });
    std::printf("plain_open_and_walk: %.1f ms\n", openWalkMs);
    std::printf("grid_refresh_first_screen: %.1f ms\n", refreshMs);
    std::printf("ratio grid_refresh_vs_plain_open_and_walk: %.2f\n", refreshMs / openWalkMs);

    // (c) a fill handler colouring blood-pressure cells, and the jump to the last row.
    int filled = 0;
    const double colouredMs = best([&] {
        DataControl dat;
        sink += showFirstScreen(
            dat,
            [&](VSFlexGrid& g) {
                QObject::connect(&g, &VSFlexGrid::FilterData, [&filled, &g](int row, int col, QString& text, bool, bool& cancel) {
                    ++filled;
                    if (col == 4 && !text.isEmpty())
                        g.setCell(flexcpBackColor, row, col,
                                  vb::Val(text) >= 140   ? 0x9999FF
                                  : vb::Val(text) >= 130 ? 0x99FFFF
                                                         : 0x99FF99);
                    cancel = true;
                });
            },
            [&](DataControl& d) { d.setRecordset(rs); });
    });
    std::printf("grid_first_screen_with_fill_handler: %.1f ms\n", colouredMs);
    std::printf("fill_events_per_first_screen: %d\n", filled / kRuns);
    std::printf("ratio grid_fill_handler_vs_plain_walk: %.2f\n", colouredMs / walkMs);

    const double lastMs = best([&] {
        DataControl dat;
        VSFlexGrid grid;
        grid.resize(1000, 700);
        grid.show();
        grid.setDataSource(&dat);
        dat.setRecordset(rs);
        dat.lastButton()->click();
        sink += grid.grab().toImage().sizeInBytes() + grid.Row();
    });
    std::printf("grid_move_to_last_row_and_paint: %.1f ms\n", lastMs);
    std::printf("ratio grid_last_row_vs_plain_walk: %.2f\n", lastMs / walkMs);

    // (d) hiding every other row of the shown grid (the empty rows of a measurement view).
    const double hideMs = best([&] {
        DataControl dat;
        VSFlexGrid grid;
        grid.resize(1000, 700);
        grid.show();
        grid.setDataSource(&dat);
        dat.setRecordset(rs);
        grid.grab();
        for (int r = 1; r < grid.Rows(); r += 2)
            grid.setRowHidden(r, true);
        sink += grid.grab().toImage().sizeInBytes();
    });
    std::printf("grid_hide_every_other_row_and_paint: %.1f ms\n", hideMs);
    std::printf("ratio grid_hide_rows_vs_plain_walk: %.2f\n", hideMs / walkMs);

    std::fprintf(stderr, "(checksum %lld)\n", static_cast<long long>(sink));
    db->Close();
    return 0;
}
