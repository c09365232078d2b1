#include "data/clsCreateMDB.h"

#include "data/Globals.h"
#include "data/clsEncrypt.h"
#include "data/modFunctions.h"
#include "platform/runtime/App.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

// ---- messages ------------------------------------------------------------------------------

namespace dataMessage {

namespace {

Handler& currentHandler()
{
    static Handler handler;
    return handler;
}

} // namespace

void setHandler(Handler handler) { currentHandler() = std::move(handler); }

void show(const QString& prompt, int buttons, const QString& title)
{
    if (const Handler& handler = currentHandler()) {
        handler(prompt, buttons, title);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(), prompt.toLocal8Bit().constData());
}

} // namespace dataMessage

// ---- files ---------------------------------------------------------------------------------

QString clsCreateMDB::databaseBaseName()
{
    return App::Path() + QStringLiteral("/database/Ravelcombrick-") + QString::number(App::Major());
}

QString clsCreateMDB::databasePath() { return databaseBaseName() + QStringLiteral(".mdb"); }

QString clsCreateMDB::previousDatabasePath() { return App::Path() + QStringLiteral("/database/Ravelcombrick-1.mdb"); }

// ---- open or create ------------------------------------------------------------------------

void clsCreateMDB::OpenOrCreateDatabase()
{
    const QString base = databaseBaseName();
    const QString path = base + QStringLiteral(".mdb");
    const QString previous = previousDatabasePath();

    if (!QFileInfo::exists(path) && QFileInfo::exists(previous))
        takeOverPrevious(previous, path);

    // The workgroup file has no meaning on our engine: it is named, never required.
    dao::DBEngine::setSystemDB(base + QStringLiteral(".mdw"));
    gWS =
        dao::DBEngine::CreateWorkspace(QStringLiteral("QJ"), QStringLiteral("Ravelcombrick-1"), clsEncrypt().GetDatabaseSecret());

    if (!QFileInfo::exists(path))
        createDatabaseFile(path);
    gDB = gWS->OpenDatabase(path);
}

namespace {

// Why the earlier version's file was not taken over; number 0 when it was.
struct Refusal {
    int number = 0;
    QString reason;
};

Refusal damaged() { return {dao::errDamaged, QStringLiteral("it is damaged")}; }
Refusal notOurs() { return {dao::errUnrecognisedFormat, QStringLiteral("it is no database of this program")}; }

Refusal refusalOf(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_OK: return {};
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return {dao::errFileInUse, QStringLiteral("another program is using it")};
    case SQLITE_CORRUPT: return damaged();
    case SQLITE_NOTADB: return notOurs();
    default:
        return {dao::errCannotOpenFile, QStringLiteral("it could not be read (%1)").arg(QString::fromUtf8(sqlite3_errstr(rc)))};
    }
}

// A plain SQLite connection, closed on every path.
class RawConnection {
public:
    RawConnection(const QString& path, int flags)
    {
        opened_ = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
        // A write of another program is waited for a little, as the engine's own connections do.
        sqlite3_busy_timeout(db_, 2000);
    }
    ~RawConnection() { sqlite3_close_v2(db_); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    sqlite3* get() const { return db_; }

    // Runs one statement, the text of its first value going to `first`; the extended code of a
    // failure (that of the open first).
    int run(const char* sql, QByteArray* first = nullptr) const
    {
        if (opened_ != SQLITE_OK)
            return db_ ? sqlite3_extended_errcode(db_) : opened_;
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(db_, sql, -1, &st, nullptr);
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(st);
            if (rc == SQLITE_ROW && first)
                *first = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
            if (rc == SQLITE_ROW || rc == SQLITE_DONE)
                rc = SQLITE_OK;
        }
        if (rc != SQLITE_OK)
            rc = sqlite3_extended_errcode(db_);
        sqlite3_finalize(st);
        return rc;
    }

    // True when a connection other than this one holds the file for a write.
    bool reservedByAnother() const
    {
        sqlite3_file* file = nullptr;
        int reserved = 0;
        return sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) == SQLITE_OK && file && file->pMethods &&
               file->pMethods->xCheckReservedLock(file, &reserved) == SQLITE_OK && reserved != 0;
    }

private:
    sqlite3* db_ = nullptr;
    int opened_ = SQLITE_OK;
};

// Copies the last committed state of the earlier version's file through SQLite, read-only and
// under a shared lock, so that neither a write of another program nor this copy changes what
// the other sees. A crash's hot journal cannot be undone without writing to the file, which is
// not ours to change: that is reported through `hotJournal` and nothing is copied.
Refusal backUpPrevious(const QString& previous, const QString& temp, bool& hotJournal)
{
    const RawConnection source(previous, SQLITE_OPEN_READONLY);
    int rc = source.run("BEGIN");
    if (rc == SQLITE_OK)
        rc = source.run("SELECT count(*) FROM sqlite_master");
    if (rc == SQLITE_READONLY_ROLLBACK) {
        hotJournal = true;
        return {};
    }
    if (rc == SQLITE_OK && source.reservedByAnother())
        rc = SQLITE_BUSY; // its change would be lost to the copy
    if (rc != SQLITE_OK)
        return refusalOf(rc);
    const RawConnection copy(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", source.get(), "main");
    if (!backup)
        return refusalOf(sqlite3_extended_errcode(copy.get()));
    const int step = sqlite3_backup_step(backup, -1);
    rc = sqlite3_backup_finish(backup);
    return refusalOf(step == SQLITE_DONE ? rc : step);
}

// A byte copy that this program may write to, whatever the original's permissions.
bool copyWritable(const QString& from, const QString& to)
{
    return QFile::copy(from, to) && QFile::setPermissions(to, QFile::permissions(from) | QFile::ReadOwner | QFile::WriteOwner);
}

// Reads the copy as SQLite does, which first undoes from a copied hot journal what a crash left
// half-written, then checks that it is whole and one of our databases.
Refusal checkCopy(const QString& temp)
{
    {
        const RawConnection copy(temp, SQLITE_OPEN_READWRITE);
        QByteArray verdict;
        if (const int rc = copy.run("PRAGMA integrity_check", &verdict); rc != SQLITE_OK)
            return refusalOf(rc);
        if (verdict != "ok")
            return damaged();
    }
    try {
        dao::Database::open(temp, true)->Close();
    } catch (const dao::Error& e) {
        if (e.Number() == dao::errUnrecognisedFormat)
            return notOurs();
        if (e.Number() == dao::errDamaged)
            return damaged();
        return {e.Number(), e.Description()};
    }
    return {};
}

void removeCopy(const QString& temp)
{
    QFile::remove(temp);
    QFile::remove(temp + QStringLiteral("-journal"));
}

} // namespace

// The earlier version's file is taken over in the state SQLite reads it in: its last committed
// one. It is copied under a temporary name that takes the current name only once the copy is
// whole and one of our databases. The file and its journal are never changed; when they
// cannot be taken over, no database is made in their place, so the next start tries again.
void clsCreateMDB::takeOverPrevious(const QString& previous, const QString& path)
{
    // Leftovers of a copy that was killed half-way go first.
    const QFileInfo target(path);
    for (const QString& name :
         QDir(target.absolutePath()).entryList({target.fileName() + QStringLiteral(".*.copying*")}, QDir::Files))
        QFile::remove(target.absolutePath() + QLatin1Char('/') + name);
    const QString temp = path + QStringLiteral(".%1.copying").arg(QCoreApplication::applicationPid());
    const QString journal = previous + QStringLiteral("-journal");
    const struct Cleanup {
        const QString& temp;
        ~Cleanup() { removeCopy(temp); }
    } cleanup{temp};

    bool hotJournal = false;
    Refusal refusal = backUpPrevious(previous, temp, hotJournal);
    bool journalLeftAside = false;
    if (hotJournal) {
        // The copy of file and journal is rolled back where the original cannot be.
        refusal = copyWritable(previous, temp) && copyWritable(journal, temp + QStringLiteral("-journal"))
                      ? checkCopy(temp)
                      : Refusal{dao::errCannotOpenFile, QStringLiteral("it could not be copied")};
        if (refusal.number == dao::errDamaged || refusal.number == dao::errUnrecognisedFormat) {
            // A journal of another file mixes foreign pages in. The pages of the file's own one
            // always make it whole again, so a file that is whole without it never needed it.
            removeCopy(temp);
            if (copyWritable(previous, temp) && checkCopy(temp).number == 0) {
                refusal = {};
                journalLeftAside = true;
            }
        }
    } else if (refusal.number == 0) {
        refusal = checkCopy(temp);
    }
    if (refusal.number == 0 && !QFile::rename(temp, path))
        refusal = {dao::errCannotOpenFile, QStringLiteral("its copy could not be saved as '%1'").arg(path)};

    if (refusal.number != 0) {
        // The journal of a write in progress elsewhere is that program's business.
        const bool withJournal = refusal.number != dao::errFileInUse && QFileInfo::exists(journal);
        const QString what =
            withJournal ? QStringLiteral("'%1' (with its journal '%2' beside it)").arg(previous, QFileInfo(journal).fileName())
                        : QStringLiteral("'%1'").arg(previous);
        const QString todo =
            refusal.number == dao::errFileInUse
                ? QStringLiteral("Close that program, then start %1 again.").arg(App::Title())
                : QStringLiteral("Put a sound copy of it from a backup in its place and start %1 again, or move it%2 out of "
                                 "the folder '%3' to begin with a new, empty database.")
                      .arg(App::Title(), withJournal ? QStringLiteral(" and its journal") : QString(),
                           QDir::toNativeSeparators(target.absolutePath()));
        throw dao::Error(refusal.number,
                         QStringLiteral("The readings of the earlier version are still in %1, but it could not be taken "
                                        "over: %2. It was left as it is, and no new database was made. %3")
                             .arg(what, refusal.reason, todo),
                         App::Title());
    }
    if (journalLeftAside)
        dataMessage::show(QStringLiteral("The database of the earlier version, '%1', was taken over as it was saved. The "
                                         "journal beside it, '%2', does not belong to it and was left as it is.")
                              .arg(previous, journal),
                          dataMessage::vbOKOnly + dataMessage::vbExclamation, App::Title());
}

void clsCreateMDB::createDatabaseFile(const QString& path)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    // A folder that cannot be made shows up as the engine's error when the file is created.
    QDir().mkpath(folder);

    // Leftovers of a build that was killed half-way are of no use to anyone.
    const QStringList stale = QDir(folder).entryList({target.fileName() + QStringLiteral(".*.building*")}, QDir::Files);
    for (const QString& name : stale)
        QFile::remove(folder + QLatin1Char('/') + name);

    const QString temp = path + QStringLiteral(".%1.building").arg(QCoreApplication::applicationPid());
    const dao::DatabasePtr former = gDB;
    dao::DatabasePtr building;
    try {
        building = gWS->CreateDatabase(temp, QString::fromLatin1(dao::dbLangGeneral));
        gDB = building;
        {
            // One transaction for the whole build: it is quick, and an error leaves nothing.
            dao::Transaction trans(*gDB);
            dao::Document doc = gDB->Containers(QStringLiteral("Databases")).Documents(QStringLiteral("MSysDb"));
            doc.setUserName(QStringLiteral("Users"));
            doc.setPermissions(0);
            doc.setUserName(QStringLiteral("Admins"));
            doc.setPermissions(0);

            modFunctions::ShowSplashStatus(0);
            CreateTables();
            LoadDefaultData();
            trans.commit();
        }
        gDB->Close();
        gDB = former;
        if (!QFile::rename(temp, path)) {
            if (QFileInfo::exists(path))
                throw dao::Error(dao::errDatabaseExists, QStringLiteral("Database '%1' already exists.").arg(path));
            throw dao::Error(dao::errCannotOpenFile, QStringLiteral("The new database could not be moved to '%1'.").arg(path));
        }
    } catch (...) {
        gDB = former;
        if (building)
            building->Close();
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
        throw;
    }
}

void clsCreateMDB::CloseDatabase()
{
    if (gDB)
        gDB->Close();
    gDB.reset();
    if (gWS)
        gWS->Close();
    gWS.reset();
}

// ---- field properties ----------------------------------------------------------------------

void clsCreateMDB::SetFieldProperty(dao::Field& fld, const QString& strPropName, int intPropType, const QVariant& varPropValue)
{
    try {
        fld.Properties()(strPropName).setValue(varPropValue);
        return;
    } catch (const dao::Error& e) {
        if (e.Number() != dao::errPropertyNotFound) {
            dataMessage::show(QStringLiteral("Couldn't set property '") + strPropName + QStringLiteral("' on field '") +
                                  fld.Name() + QStringLiteral("'"),
                              dataMessage::vbExclamation, QStringLiteral("SetFieldProperty"));
            return;
        }
    }
    fld.Properties().Append(fld.CreateProperty(strPropName, intPropType, varPropValue));
}

// ---- building blocks -----------------------------------------------------------------------

void clsCreateMDB::newTable(const QString& name) { tdfNew = gDB->CreateTableDef(name); }

void clsCreateMDB::newField(const QString& name, int type, int size, bool required, bool zeroLength, const QString& defaultValue)
{
    fldNew = tdfNew.CreateField(name, type, size);
    if (required)
        fldNew.setRequired(true);
    if (zeroLength)
        fldNew.setAllowZeroLength(true);
    if (!defaultValue.isEmpty())
        fldNew.setDefaultValue(defaultValue);
    tdfNew.Fields().Append(fldNew);
}

void clsCreateMDB::newCounter(const QString& name)
{
    fldNew = tdfNew.CreateField(name, dao::dbLong);
    fldNew.setAttributes(fldNew.Attributes() + dao::dbAutoIncrField);
    tdfNew.Fields().Append(fldNew);
}

void clsCreateMDB::appendTable() { gDB->TableDefs().Append(tdfNew); }

void clsCreateMDB::setFormat(const QString& fieldName, const QString& format)
{
    fldNew = tdfNew.Fields(fieldName);
    SetFieldProperty(fldNew, QStringLiteral("Format"), dao::dbText, format);
}

void clsCreateMDB::newIndex(const QString& name, const QStringList& columns, bool primary, bool unique)
{
    idxNew = tdfNew.CreateIndex(name);
    for (const QString& column : columns)
        idxNew.Fields().Append(idxNew.CreateField(column));
    if (primary) {
        idxNew.setPrimary(true);
        idxNew.setClustered(true);
    }
    if (unique)
        idxNew.setUnique(true);
    tdfNew.Indexes().Append(idxNew);
}

void clsCreateMDB::newRelation(const QString& name, const QString& table, const QString& foreignTable, const QStringList& columns,
                               bool cascade)
{
    dao::Relation rel = gDB->CreateRelation(name, table, foreignTable);
    for (const QString& column : columns) {
        dao::Field fld = rel.CreateField(column);
        fld.setForeignName(column);
        rel.Fields().Append(fld);
    }
    if (cascade) {
        rel.setAttributes(rel.Attributes() + dao::dbRelationDeleteCascade);
        rel.setAttributes(rel.Attributes() + dao::dbRelationUpdateCascade);
    }
    gDB->Relations().Append(rel);
}

// ---- the tables ----------------------------------------------------------------------------

void clsCreateMDB::CreateTables()
{
    CreateRegimenTable();
    CreatePersonTable();
    CreateMoodTable();
    CreateMeasureTable();
    CreatePersonPlotTable();
    CreateChartTable();
    CreateSinglePersonPlotTable();
    CreateMultiplePersonPlotTable();
    CreateChartMultiplePersonPlotTable();
    CreateAverageWeekTable();
    CreateAverageMonthTable();
    CreateApplicationTable();
    CreateRelations();
}

void clsCreateMDB::CreateRegimenTable()
{
    using namespace dao;
    newTable(QStringLiteral("REGIMEN"));
    newCounter(QStringLiteral("RGMN_KY"));
    newField(QStringLiteral("RGMN_NM"), dbText, 10, true);
    newField(QStringLiteral("RGMN_DTL"), dbText, 200, false, true);
    appendTable();
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("RGMN_KY")}, true);
    newIndex(QStringLiteral("RGMN_NM"), {QStringLiteral("RGMN_NM")}, false, true);
}

void clsCreateMDB::CreatePersonTable()
{
    using namespace dao;
    newTable(QStringLiteral("PERSON"));
    newCounter(QStringLiteral("PRSN_KY"));
    newField(QStringLiteral("PRSN_NM"), dbText, 30, true);
    newField(QStringLiteral("AGE"), dbInteger);
    newField(QStringLiteral("HGT"), dbSingle);
    newField(QStringLiteral("SEX"), dbText, 1, false, true);
    newField(QStringLiteral("COMMENT"), dbText, 100, false, true);
    newField(QStringLiteral("PLT_PNL_CL"), dbLong, 0, false, false, QStringLiteral("-2147483633"));
    newField(QStringLiteral("PLT_BCK_CL"), dbLong, 0, false, false, QStringLiteral("16777215"));
    newField(QStringLiteral("PLT_3D_PRCNT"), dbInteger, 0, false, false, QStringLiteral("9"));
    appendTable();
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("PRSN_KY")}, true);
    newIndex(QStringLiteral("PRSN_NM"), {QStringLiteral("PRSN_NM")}, false, true);
}

void clsCreateMDB::CreateMoodTable()
{
    using namespace dao;
    newTable(QStringLiteral("MOOD"));
    newField(QStringLiteral("MD_KY"), dbInteger, 0, true);
    newField(QStringLiteral("MD_NM"), dbText, 10, true);
    appendTable();
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("MD_KY")}, true);
    newIndex(QStringLiteral("MD_NM"), {QStringLiteral("MD_NM")}, false, true);
}

void clsCreateMDB::CreateMeasureTable()
{
    using namespace dao;
    newTable(QStringLiteral("MEASURE"));
    newField(QStringLiteral("PRSN_KY"), dbLong, 0, true);
    newField(QStringLiteral("MSRD_DT"), dbDate, 0, true);
    newField(QStringLiteral("MD_KY"), dbInteger);
    newField(QStringLiteral("RGMN_KY"), dbLong);
    newField(QStringLiteral("LBP"), dbInteger);
    newField(QStringLiteral("HBP"), dbInteger);
    newField(QStringLiteral("PLSE"), dbInteger);
    newField(QStringLiteral("WT"), dbSingle);
    newField(QStringLiteral("TEMP"), dbSingle);
    appendTable();
    setFormat(QStringLiteral("MSRD_DT"), QStringLiteral("Short Date"));
    setFormat(QStringLiteral("WT"), QStringLiteral("0.0"));
    setFormat(QStringLiteral("TEMP"), QStringLiteral("0.0"));
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("PRSN_KY"), QStringLiteral("MSRD_DT")}, true);
    newIndex(QStringLiteral("MSRD_DT"), {QStringLiteral("MSRD_DT")}, false);
    newIndex(QStringLiteral("PERSON_KY"), {QStringLiteral("PRSN_KY")}, false);
}

void clsCreateMDB::CreatePersonPlotTable()
{
    using namespace dao;
    newTable(QStringLiteral("PERSON_PLOT"));
    newField(QStringLiteral("PRSN_KY"), dbLong, 0, true);
    newField(QStringLiteral("PLT_KY"), dbInteger, 0, true);
    newField(QStringLiteral("PLT_ACT"), dbBoolean);
    newField(QStringLiteral("LGND"), dbText, 20);
    appendTable();
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("PRSN_KY"), QStringLiteral("PLT_KY")}, true);
}

void clsCreateMDB::CreateChartTable()
{
    using namespace dao;
    newTable(QStringLiteral("CHART"));
    newField(QStringLiteral("CHRT_ID"), dbInteger, 0, true);
    newField(QStringLiteral("CHRT_NM"), dbText, 20, true);
    appendTable();
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("CHRT_ID")}, true);
}

void clsCreateMDB::CreateSinglePersonPlotTable()
{
    using namespace dao;
    newTable(QStringLiteral("SINGLE_PERSON_PLOT"));
    newField(QStringLiteral("PRSN_KY"), dbLong, 0, true);
    newField(QStringLiteral("PLT_KY"), dbInteger, 0, true);
    newField(QStringLiteral("CHRT_ID"), dbInteger, 0, true);
    newField(QStringLiteral("CHRT_TP"), dbInteger);
    newField(QStringLiteral("CHRT_CL"), dbLong);
    newField(QStringLiteral("CHRT_THK"), dbInteger);
    newField(QStringLiteral("Y_MIN"), dbInteger);
    newField(QStringLiteral("Y_MAX"), dbInteger);
    appendTable();
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("PRSN_KY"), QStringLiteral("PLT_KY")}, true);
}

void clsCreateMDB::CreateMultiplePersonPlotTable()
{
    using namespace dao;
    newTable(QStringLiteral("MULTIPLE_PERSON_PLOT"));
    newField(QStringLiteral("PRSN_KY"), dbLong, 0, true);
    newField(QStringLiteral("PLT_KY"), dbInteger, 0, true);
    appendTable();
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("PRSN_KY"), QStringLiteral("PLT_KY")}, true);
}

void clsCreateMDB::CreateChartMultiplePersonPlotTable()
{
    using namespace dao;
    newTable(QStringLiteral("CHART_MULTIPLE_PERSON_PLOT"));
    newField(QStringLiteral("PRSN_KY"), dbLong, 0, true);
    newField(QStringLiteral("PLT_KY"), dbInteger, 0, true);
    newField(QStringLiteral("CHRT_ID"), dbInteger, 0, true);
    newField(QStringLiteral("CHRT_TP"), dbInteger);
    newField(QStringLiteral("CHRT_ACT"), dbBoolean);
    newField(QStringLiteral("LBL_POS"), dbInteger);
    appendTable();
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("PLT_KY"), QStringLiteral("PRSN_KY"), QStringLiteral("CHRT_ID")},
             true);
}

void clsCreateMDB::CreateAverageWeekTable()
{
    using namespace dao;
    newTable(QStringLiteral("AVERAGE_WEEK"));
    newField(QStringLiteral("PRSN_KY"), dbLong, 0, true);
    newField(QStringLiteral("WEEK"), dbDate, 0, true);
    newField(QStringLiteral("LBP"), dbInteger);
    newField(QStringLiteral("HBP"), dbInteger);
    newField(QStringLiteral("PLSE"), dbInteger);
    newField(QStringLiteral("WT"), dbSingle);
    newField(QStringLiteral("TEMP"), dbSingle);
    appendTable();
    setFormat(QStringLiteral("WEEK"), QStringLiteral("Short Date"));
    setFormat(QStringLiteral("WT"), QStringLiteral("0.0"));
    setFormat(QStringLiteral("TEMP"), QStringLiteral("0.0"));
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("PRSN_KY"), QStringLiteral("WEEK")}, true);
    newIndex(QStringLiteral("PRSN_KY"), {QStringLiteral("PRSN_KY")}, false);
    newIndex(QStringLiteral("WEEK"), {QStringLiteral("WEEK")}, false);
}

void clsCreateMDB::CreateAverageMonthTable()
{
    using namespace dao;
    newTable(QStringLiteral("AVERAGE_MONTH"));
    newField(QStringLiteral("PRSN_KY"), dbLong, 0, true);
    newField(QStringLiteral("MNTH"), dbDate, 0, true);
    newField(QStringLiteral("LBP"), dbInteger);
    newField(QStringLiteral("HBP"), dbInteger);
    newField(QStringLiteral("PLSE"), dbInteger);
    newField(QStringLiteral("WT"), dbSingle);
    newField(QStringLiteral("TEMP"), dbSingle);
    appendTable();
    setFormat(QStringLiteral("MNTH"), QStringLiteral("Short Date"));
    setFormat(QStringLiteral("WT"), QStringLiteral("0.0"));
    setFormat(QStringLiteral("TEMP"), QStringLiteral("0.0"));
    newIndex(QStringLiteral("PrimaryKey"), {QStringLiteral("PRSN_KY"), QStringLiteral("MNTH")}, true);
    newIndex(QStringLiteral("MON"), {QStringLiteral("MNTH")}, false);
    newIndex(QStringLiteral("PRSN_KY"), {QStringLiteral("PRSN_KY")}, false);
}

void clsCreateMDB::CreateApplicationTable()
{
    using namespace dao;
    newTable(QStringLiteral("APPLICATION"));
    newField(QStringLiteral("ShowAtStartup"), dbBoolean);
    newField(QStringLiteral("WtUnit"), dbText, 2);
    newField(QStringLiteral("HtUnit"), dbText, 2);
    newField(QStringLiteral("TempUnit"), dbText, 1);
    newField(QStringLiteral("DtFormat"), dbText, 8);
    newField(QStringLiteral("gblPrsnKy"), dbLong, 0, false, false, QStringLiteral("-1"));
    appendTable();
    setFormat(QStringLiteral("ShowAtStartup"), QStringLiteral("Yes/No"));
}

// ---- relations and seed rows ---------------------------------------------------------------

void clsCreateMDB::CreateRelations()
{
    const QString prsn = QStringLiteral("PRSN_KY");
    const QString plt = QStringLiteral("PLT_KY");
    const QString chrt = QStringLiteral("CHRT_ID");
    newRelation(QStringLiteral("R/7"), QStringLiteral("PERSON"), QStringLiteral("PERSON_PLOT"), {prsn});
    newRelation(QStringLiteral("Reference_45"), QStringLiteral("PERSON_PLOT"), QStringLiteral("SINGLE_PERSON_PLOT"), {prsn, plt},
                true);
    newRelation(QStringLiteral("R/12"), QStringLiteral("CHART"), QStringLiteral("SINGLE_PERSON_PLOT"), {chrt});
    newRelation(QStringLiteral("Reference_29"), QStringLiteral("PERSON_PLOT"), QStringLiteral("MULTIPLE_PERSON_PLOT"),
                {prsn, plt}, true);
    newRelation(QStringLiteral("R/30"), QStringLiteral("MULTIPLE_PERSON_PLOT"), QStringLiteral("CHART_MULTIPLE_PERSON_PLOT"),
                {prsn, plt});
    newRelation(QStringLiteral("R/14"), QStringLiteral("CHART"), QStringLiteral("CHART_MULTIPLE_PERSON_PLOT"), {chrt});
    newRelation(QStringLiteral("MOODMEASURE"), QStringLiteral("MOOD"), QStringLiteral("MEASURE"), {QStringLiteral("MD_KY")});
    newRelation(QStringLiteral("PERSONMEASURE"), QStringLiteral("PERSON"), QStringLiteral("MEASURE"), {prsn});
    newRelation(QStringLiteral("REGIMENMEASURE"), QStringLiteral("REGIMEN"), QStringLiteral("MEASURE"),
                {QStringLiteral("RGMN_KY")});
    newRelation(QStringLiteral("PERSONAVERAGE_MONTH"), QStringLiteral("PERSON"), QStringLiteral("AVERAGE_MONTH"), {prsn});
    newRelation(QStringLiteral("PERSONAVERAGE_WEEK"), QStringLiteral("PERSON"), QStringLiteral("AVERAGE_WEEK"), {prsn});
}

void clsCreateMDB::LoadDefaultData()
{
    static const char* const moods[] = {"Normal", "Excited", "Happy", "Melancholy", "Depressed", "Anxious"};
    static const char* const charts[] = {"BP", "PLSE", "WT", "TEMP", "TEMP1", "SUGAR"};

    dao::DBEngine::BeginTrans();
    try {
        for (int n = 1; n <= 6; ++n)
            gDB->Execute(QStringLiteral("insert into Mood(MD_KY, MD_NM) Values(") + QString::number(n) + QStringLiteral(", '") +
                         QLatin1String(moods[n - 1]) + QStringLiteral("')"));
        gDB->Execute(QStringLiteral("insert into Application (ShowAtStartup, WtUnit, HtUnit, TempUnit, DtFormat) "
                                    "values(0, 'lb', 'ft', 'F', 'mm/dd/yy')"));
        for (int n = 0; n <= 5; ++n)
            gDB->Execute(QStringLiteral("insert into Chart Values(") + QString::number(n) + QStringLiteral(", '") +
                         QLatin1String(charts[n]) + QStringLiteral("')"));
        dao::DBEngine::CommitTrans();
    } catch (...) {
        dao::DBEngine::Rollback();
        throw;
    }
}
