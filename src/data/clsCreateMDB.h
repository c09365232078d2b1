#pragma once
// Opens the program's database file, and builds it with the first-layer schema and its seed
// rows when it is missing. Leaves the open workspace and database in gWS and gDB.
#include "platform/dao/dao.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

// Messages of the data layer's database code. The shell points the handler at its message
// box; until then (and in programs without a display) the text goes to stderr.
namespace dataMessage {

inline constexpr int vbOKOnly = 0;
inline constexpr int vbExclamation = 48;

// Arguments as a message box takes them: the text, the buttons-and-icon style, the title.
using Handler = std::function<void(const QString& prompt, int buttons, const QString& title)>;

void setHandler(Handler handler); // an empty handler restores the default
void show(const QString& prompt, int buttons, const QString& title);

} // namespace dataMessage

class clsCreateMDB {
public:
    clsCreateMDB() = default;
    virtual ~clsCreateMDB() = default;
    clsCreateMDB(const clsCreateMDB&) = delete;
    clsCreateMDB& operator=(const clsCreateMDB&) = delete;

    // Sets a property of a stored field, creating it when the field lacks it; any other
    // failure is shown as a message and the build goes on.
    void SetFieldProperty(dao::Field& fld, const QString& strPropName, int intPropType, const QVariant& varPropValue);

    // Opens the database into gWS/gDB; builds it first when it is missing. A new file is built
    // under a temporary name and renamed into place only when it is complete, so a failed
    // build leaves no file behind (and never replaces one). The earlier version's file is
    // taken over when the current one is missing; one that cannot be raises an error and no
    // new database is made. Errors reach the caller.
    void OpenOrCreateDatabase();

    // The twelve first-layer tables, then the relations; works on gDB.
    void CreateTables();
    virtual void CreateRelations();
    virtual void LoadDefaultData();

    // Closes gDB, then gWS, and sets both to nothing.
    void CloseDatabase();

    // The files, under the program's folder.
    static QString databaseBaseName();     // .../database/Ravelcombrick-<major>
    static QString databasePath();         // the base name and ".mdb"
    static QString previousDatabasePath(); // .../database/Ravelcombrick-1.mdb

protected:
    // The table builders; virtual so that a test can make one step of a build fail.
    virtual void CreateRegimenTable();
    virtual void CreatePersonTable();
    virtual void CreateMoodTable();
    virtual void CreateMeasureTable();
    virtual void CreatePersonPlotTable();
    virtual void CreateChartTable();
    virtual void CreateSinglePersonPlotTable();
    virtual void CreateMultiplePersonPlotTable();
    virtual void CreateChartMultiplePersonPlotTable();
    virtual void CreateAverageWeekTable();
    virtual void CreateAverageMonthTable();
    virtual void CreateApplicationTable();

private:
    void takeOverPrevious(const QString& previous, const QString& path);
    void createDatabaseFile(const QString& path);
    void newTable(const QString& name);
    void newField(const QString& name, int type, int size = 0, bool required = false, bool zeroLength = false,
                  const QString& defaultValue = QString());
    void newCounter(const QString& name);
    void appendTable();
    void setFormat(const QString& fieldName, const QString& format);
    void newIndex(const QString& name, const QStringList& columns, bool primary, bool unique = false);
    void newRelation(const QString& name, const QString& table, const QString& foreignTable, const QStringList& columns,
                     bool cascade = false);

    // The definitions in work.
    dao::TableDef tdfNew;
    dao::Field fldNew;
    dao::Index idxNew;
};
