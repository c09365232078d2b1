#include "data/clsModifyMDB.h"

#include "data/Globals.h"
#include "data/clsAverage.h"
#include "data/clsCreateMDB.h"
#include "data/clsDefaultChartValues.h"
#include "data/clsImport.h"
#include "data/modFunctions.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"

#include <sqlite3.h>
#include <vector>

// ---- the layer's transaction ---------------------------------------------------------------

void unwindTransactions(dao::Database& db, int depth)
{
    while (db.isOpen() && db.transactionDepth() > depth) {
        try {
            db.Rollback();
        } catch (const dao::Error&) {
            return; // the connection is gone: nothing is left open
        }
    }
}

namespace {

dao::Error transactionLost()
{
    return dao::Error(dao::errReservedError,
                      QStringLiteral("The database stopped the upgrade's transaction after an error (a full disk, say); "
                                     "nothing of the upgrade was kept, and it runs again at the next start."));
}

// While a layer runs, no commit but its own reaches the file: once SQLite has rolled the layer
// back by itself, a later statement or step would otherwise commit on its own.
int refuseCommit(void* layer) { return static_cast<const UpgradeTransaction*>(layer)->committing() ? 0 : 1; }

} // namespace

UpgradeTransaction::UpgradeTransaction(dao::Database& db) : db_(db), depth_(db.transactionDepth())
{
    db_.BeginTrans();
    sqlite3_commit_hook(db_.handle(), &refuseCommit, this);
}

UpgradeTransaction::~UpgradeTransaction()
{
    if (!done_)
        unwindTransactions(db_, depth_);
    if (db_.isOpen())
        sqlite3_commit_hook(db_.handle(), nullptr, nullptr);
}

bool UpgradeTransaction::lost() const { return sqlite3_get_autocommit(db_.handle()) != 0; }

void UpgradeTransaction::check() const
{
    if (lost())
        throw transactionLost();
}

void UpgradeTransaction::commit()
{
    check();
    // A step that ended well with a level of its own still open: that level is part of the layer.
    while (db_.transactionDepth() > depth_ + 1)
        db_.CommitTrans();
    committing_ = true;
    db_.CommitTrans();
    done_ = true;
}

void checkTransactionKept(dao::Database& db, int depth)
{
    if (depth > 0 && sqlite3_get_autocommit(db.handle()))
        throw transactionLost();
}

// ---- layer 2 -------------------------------------------------------------------------------

bool clsModifyMDB::runUpgrade()
{
    if (IsVersion20())
        return false;
    if (!gDB)
        throw dao::Error(dao::errObjectClosed, QStringLiteral("Object invalid or no longer set: no database is open."));
    UpgradeTransaction layer(*gDB);
    try {
        updateFields();
    } catch (const dao::Error& e) {
        showFailure(e);
        throw;
    }
    layer.check();
    CreateAverageDayTable();
    layer.check();
    CreateGridColumnPersistanceTable();
    layer.check();
    try {
        addChartRows();
    } catch (const dao::Error& e) {
        showFailure(e);
        throw;
    }
    layer.check();
    ResetChartDefaults();
    layer.check();
    LoadSampleData();
    layer.check();
    FillAverageDay();
    layer.commit();
    return true;
}

void clsModifyMDB::showFailure(const dao::Error& e)
{
    dataMessage::show(QStringLiteral("Failed to update fields from Version 1.5 to 2.0 in Ravelcombrick\n") +
                          QString::number(e.Number()) + QLatin1Char(' ') + e.Description(),
                      dataMessage::vbOKOnly, App::Title());
}

bool clsModifyMDB::IsVersion20()
{
    if (!gDB)
        return false;
    try {
        auto rs = gDB->OpenRecordset(QStringLiteral(" SELECT *    FROM Application"), dao::dbOpenSnapshot);
        for (const dao::Field& fld : rs->Fields())
            if (fld.Name() == QLatin1String("Temp1LBL"))
                return true;
    } catch (const std::exception&) {
    }
    return false;
}

void clsModifyMDB::UpdateFields15To20()
{
    try {
        updateFields();
    } catch (const dao::Error& e) {
        showFailure(e);
    }
}

void clsModifyMDB::updateFields()
{
    using namespace dao;
    auto append = [](TableDef& td, const QString& name, int type, int size = 0, bool zeroLength = false) {
        Field fld = td.CreateField(name, type, size);
        if (zeroLength)
            fld.setAllowZeroLength(true);
        td.Fields().Append(fld);
    };

    TableDef measure = gDB->TableDefs(QStringLiteral("MEASURE"));
    append(measure, QStringLiteral("TEMP1"), dbSingle);
    append(measure, QStringLiteral("TEMP2"), dbSingle);
    append(measure, QStringLiteral("CMMNT"), dbText, 100, true);
    append(measure, QStringLiteral("GL_KY"), dbLong);

    for (const QString& name : {QStringLiteral("AVERAGE_WEEK"), QStringLiteral("AVERAGE_MONTH")}) {
        TableDef average = gDB->TableDefs(name);
        append(average, QStringLiteral("TEMP1"), dbSingle);
        append(average, QStringLiteral("TEMP2"), dbSingle);
    }

    TableDef application = gDB->TableDefs(QStringLiteral("APPLICATION"));
    application.Fields().Delete(QStringLiteral("TempUnit"));
    append(application, QStringLiteral("TempUnit"), dbText, 12);
    append(application, QStringLiteral("Temp1Unit"), dbText, 12);
    append(application, QStringLiteral("TempLBL"), dbText, 12);
    append(application, QStringLiteral("Temp1LBL"), dbText, 12);
    append(application, QStringLiteral("OptnTime"), dbInteger);
    gDB->Execute(QStringLiteral("update application set TempUnit ='Unit1', Temp1Unit ='Unit2', TempLBL ='Custom1', "
                                "Temp1LBL ='Custom2'"));

    TableDef goal = gDB->CreateTableDef(QStringLiteral("DBTS_GOAL"));
    {
        Field key = goal.CreateField(QStringLiteral("GL_KY"), dbLong);
        key.setAttributes(key.Attributes() + dbAutoIncrField);
        goal.Fields().Append(key);
    }
    append(goal, QStringLiteral("GL_NM"), dbText, 25);
    append(goal, QStringLiteral("GL_DTL"), dbText, 200);
    append(goal, QStringLiteral("GL_NL"), dbText, 20);
    append(goal, QStringLiteral("GL_NH"), dbText, 20);
    append(goal, QStringLiteral("GL_DL"), dbText, 20);
    append(goal, QStringLiteral("GL_DH"), dbText, 20, true);
    {
        Index pk = goal.CreateIndex(QStringLiteral("PrimaryKey"));
        pk.Fields().Append(pk.CreateField(QStringLiteral("GL_KY")));
        pk.setPrimary(true);
        pk.setClustered(true);
        goal.Indexes().Append(pk);
    }
    gDB->TableDefs().Append(goal);

    struct Goal {
        const char* name;
        const char* detail;
        int nl, nh, dl, dh;
    };
    static const Goal goals[] = {
        {"1.Very Early Morning", "Early morning around 3:00 AM", 80, 180, 60, 240},
        {"2.Before Breakfast", "Fasting - Before Break Fast", 80, 120, 60, 240},
        {"3.1-2 Hrs after Breakfast", "1-2 Hours after Breakfast", 80, 180, 60, 240},
        {"4.Before Lunch", "Fasting - Before Lunch", 80, 120, 60, 240},
        {"5.1-2 Hrs after Lunch", "1-2 Hours after Lunch", 80, 180, 60, 240},
        {"6.Before Dinner", "Fasting - Before Dinner", 80, 120, 60, 240},
        {"7.1-2 Hrs after Diner", "1-2 Hours after Dinner", 80, 180, 60, 240},
        {"8.Bed time", "During the day and before bed", 100, 140, 60, 240},
    };
    for (const Goal& g : goals)
        gDB->Execute(QStringLiteral("insert into DBTS_GOAL (GL_NM, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH) ") +
                     QStringLiteral(" values(%1, %2, %3, %4, %5, %6)")
                         .arg(vb::SqlText(QLatin1String(g.name)), vb::SqlText(QLatin1String(g.detail)))
                         .arg(g.nl)
                         .arg(g.nh)
                         .arg(g.dl)
                         .arg(g.dh));
}

void clsModifyMDB::CreateAverageDayTable()
{
    using namespace dao;
    TableDef td = gDB->CreateTableDef(QStringLiteral("AVERAGE_DAY"));
    auto append = [&td](const QString& name, int type, bool required = false) {
        Field fld = td.CreateField(name, type);
        if (required)
            fld.setRequired(true);
        td.Fields().Append(fld);
    };
    append(QStringLiteral("PRSN_KY"), dbLong, true);
    append(QStringLiteral("DT"), dbDate, true);
    append(QStringLiteral("LBP"), dbInteger);
    append(QStringLiteral("HBP"), dbInteger);
    append(QStringLiteral("PLSE"), dbInteger);
    append(QStringLiteral("WT"), dbSingle);
    append(QStringLiteral("TEMP"), dbSingle);
    append(QStringLiteral("TEMP1"), dbSingle);
    append(QStringLiteral("TEMP2"), dbSingle);
    gDB->TableDefs().Append(td);

    Index pk = td.CreateIndex(QStringLiteral("PrimaryKey"));
    pk.Fields().Append(pk.CreateField(QStringLiteral("PRSN_KY")));
    pk.Fields().Append(pk.CreateField(QStringLiteral("DT")));
    pk.setPrimary(true);
    pk.setClustered(true);
    td.Indexes().Append(pk);
}

void clsModifyMDB::CreateGridColumnPersistanceTable()
{
    using namespace dao;
    TableDef td = gDB->CreateTableDef(QStringLiteral("GridColumnPersistance"));
    Field name = td.CreateField(QStringLiteral("GRID_NM"), dbText, 20);
    name.setRequired(true);
    td.Fields().Append(name);
    for (int n = 1; n <= 30; ++n)
        td.Fields().Append(td.CreateField(QStringLiteral("COL") + QString::number(n), dbInteger));
    Index pk = td.CreateIndex(QStringLiteral("PrimaryKey"));
    pk.Fields().Append(pk.CreateField(QStringLiteral("GRID_NM")));
    pk.setPrimary(true);
    pk.setClustered(true);
    td.Indexes().Append(pk);
    gDB->TableDefs().Append(td);

    for (const char* grid : {"vsFGInfo", "vsFGDSetGoal", "vsFGShow", "vsFGPerson", "vsFGRegimen"})
        gDB->Execute(QStringLiteral("INSERT INTO GridColumnPersistance (GRID_NM) VALUES('") + QLatin1String(grid) +
                     QStringLiteral("')"));
}

void clsModifyMDB::AddChartRows()
{
    try {
        addChartRows();
    } catch (const dao::Error& e) {
        showFailure(e);
    }
}

void clsModifyMDB::addChartRows()
{
    // A row that is there already keeps its name: the insert of its key is dropped.
    gDB->Execute(QStringLiteral("Insert into CHART (CHRT_ID, CHRT_NM) VALUES(4,'Temp1')"));
    gDB->Execute(QStringLiteral("Insert into CHART (CHRT_ID, CHRT_NM) VALUES(5,'Sugar')"));
}

void clsModifyMDB::ResetChartDefaults()
{
    clsDefaultChartValues chartValues;
    std::vector<qint32> persons;
    {
        auto rs = gDB->OpenRecordset(QStringLiteral(" select p.prsn_ky ") + QStringLiteral(" from person p "),
                                     dao::dbOpenSnapshot, dao::dbReadOnly);
        for (; !rs->Eof(); rs->MoveNext())
            persons.push_back(rs->Fields(0).Value().toInt());
    }
    for (qint32 key : persons) {
        chartValues.DeletePersonPlots(key);
        chartValues.CreateDefaultPlots(key);
    }
}

void clsModifyMDB::LoadSampleData()
{
    modFunctions::ShowSplashStatus(1);
    ImportSampleFiles();
}

void clsModifyMDB::ImportSampleFiles()
{
    clsImport import;
    clsAverage average;
    for (int n = 1; n <= 12; ++n) {
        const QString path =
            App::Path() + QStringLiteral("/Sample/Pellam Ostry-daily-") + QString::number(n) + QStringLiteral("-99.txt");
        passOverErrors(*gDB, [&] { import.ImportFile(path); });
    }
    passOverErrors(*gDB, [&] { average.RebuildAllAverages(); });
}

void clsModifyMDB::FillAverageDay()
{
    gDB->Execute(QStringLiteral("delete from average_day"));
    gDB->Execute(QStringLiteral("insert into average_day (PRSN_KY, DT, LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2) "
                                "select prsn_ky, datevalue(msrd_dt), avg(lbp), avg(hbp), avg(plse), avg(wt), "
                                "avg(temp), avg(temp1), avg(temp2) from measure group by prsn_ky, datevalue(msrd_dt)"));
}
