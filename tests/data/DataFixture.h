#pragma once
// Test fixtures of the data layer: a temporary program folder (App::Path points at it) with
// the shipped sample files, and a database opened through the program's own creation path.
#include "data/Globals.h"
#include "data/clsCreateMDB.h"
#include "data/clsModifyMDB.h"
#include "data/clsModifyMDB1.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <vector>

namespace testing_data {

// The number of the engine error the call raises, 0 when it raises none.
template <typename F>
int errorOf(F&& f)
{
    try {
        f();
    } catch (const dao::Error& e) {
        return e.Number();
    }
    return 0;
}

// The folder of the running test program; the build copies assets/ beside it.
inline QString executableFolder()
{
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

inline void copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(source, target);
    }
}

// The program-wide variables at their start values.
inline void resetGlobals()
{
    gWS.reset();
    gDB.reset();
    gPersonKey = 0;
    gHeightUnit = 0;
    gWeightUnit = 0;
    gWeightUnitText.clear();
    gShortDateFormat.clear();
    gDefaultWeightYMin = 0;
    gDefaultWeightYMax = 0;
    gDefaultTempYMin = 0;
    gDefaultTempYMax = 0;
}

// Messages of the data layer, collected instead of shown, for as long as the log lives.
class MessageLog {
public:
    struct Entry {
        QString prompt;
        int buttons = 0;
        QString title;
    };
    MessageLog()
    {
        dataMessage::setHandler([this](const QString& prompt, int buttons, const QString& title) {
            entries.push_back({prompt, buttons, title});
        });
    }
    ~MessageLog() { dataMessage::setHandler({}); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    std::vector<Entry> entries;
};

// Layout of a table in short texts, as the tests compare it.
inline QString typeText(const dao::Field& f)
{
    if (f.Attributes() & dao::dbAutoIncrField)
        return QStringLiteral("counter");
    switch (f.Type()) {
    case dao::dbBoolean: return QStringLiteral("yesno");
    case dao::dbInteger: return QStringLiteral("int16");
    case dao::dbLong: return QStringLiteral("int32");
    case dao::dbSingle: return QStringLiteral("single");
    case dao::dbDate: return QStringLiteral("date");
    case dao::dbText: return QStringLiteral("text(%1)").arg(f.Size());
    default: return QStringLiteral("type %1").arg(f.Type());
    }
}

// "NAME type[ req][ zl][ =default]" for each column, in the stored order.
inline QStringList columnsOf(const QString& table)
{
    QStringList out;
    const dao::TableDef td = gDB->TableDefs(table); // the fields live as long as it does
    for (const dao::Field& f : td.Fields()) {
        QString text = f.Name() + QLatin1Char(' ') + typeText(f);
        if (f.Required())
            text += QStringLiteral(" req");
        if (f.AllowZeroLength())
            text += QStringLiteral(" zl");
        if (!f.DefaultValue().isEmpty())
            text += QStringLiteral(" =") + f.DefaultValue();
        out << text;
    }
    return out;
}

// "Name(COL,COL)[ primary clustered][ unique]" for each index.
inline QStringList indexesOf(const QString& table)
{
    QStringList out;
    const dao::TableDef td = gDB->TableDefs(table);
    for (const dao::Index& idx : td.Indexes()) {
        QStringList cols;
        for (const dao::Field& f : idx.Fields())
            cols << f.Name();
        QString text = idx.Name() + QLatin1Char('(') + cols.join(QLatin1Char(',')) + QLatin1Char(')');
        if (idx.Primary())
            text += QStringLiteral(" primary");
        if (idx.Clustered())
            text += QStringLiteral(" clustered");
        if (idx.Unique() && !idx.Primary())
            text += QStringLiteral(" unique");
        out << text;
    }
    return out;
}

// Tables, columns, indexes and relations of the open database, one text each, in a fixed order.
inline QStringList layoutOf()
{
    QStringList out;
    QStringList tables = gDB->TableDefs().names();
    tables.sort(Qt::CaseInsensitive);
    for (const QString& table : tables) {
        out << QStringLiteral("table ") + table;
        for (const QString& c : columnsOf(table))
            out << QStringLiteral("  ") + c;
        for (const QString& i : indexesOf(table))
            out << QStringLiteral("  index ") + i;
    }
    for (const QString& name : gDB->Relations().names()) {
        const dao::Relation r = gDB->Relations()(name);
        QStringList cols;
        for (const dao::Field& f : r.Fields())
            cols << f.Name() + QLatin1Char('=') + f.ForeignName();
        out << QStringLiteral("relation %1 %2>%3 %4 %5")
                   .arg(r.Name(), r.Table(), r.ForeignTable(), cols.join(QLatin1Char(',')))
                   .arg(r.Attributes());
    }
    return out;
}

// A temporary program folder with the sample files and no database yet.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        App::setPath(folder.path());
        const QString samples = executableFolder() + QStringLiteral("/Sample");
        if (QFileInfo(samples).isDir())
            copyFolder(samples, folder.path() + QStringLiteral("/Sample"));
        resetGlobals();
    }

    void TearDown() override
    {
        closeDatabase();
        resetGlobals();
        App::setPath(QString());
    }

    QString programFolder() const { return folder.path(); }
    static QString databasePath() { return clsCreateMDB::databasePath(); }

    // Opens the database as start-up does, creating it when missing, without the upgrades:
    // a new file keeps the first layout.
    static void openFirstLayer() { clsCreateMDB().OpenOrCreateDatabase(); }

    // Opens the database as start-up does: created when missing, then both upgrade layers.
    static void openUpgraded()
    {
        clsCreateMDB().OpenOrCreateDatabase();
        clsModifyMDB().runUpgrade();
        clsModifyMDB1().runUpgrade();
    }

    static void closeDatabase()
    {
        if (gDB || gWS)
            clsCreateMDB().CloseDatabase();
    }

    // The first column of the first row of a query; Null when there is no row.
    static QVariant value(const QString& sql)
    {
        auto rs = gDB->OpenRecordset(sql, dao::dbOpenSnapshot);
        return rs->Eof() ? QVariant() : rs->Fields(0).Value();
    }
    static int count(const QString& sql) { return value(sql).toInt(); }

    QTemporaryDir folder;
    MessageLog messages;
};

// A new database as the program makes it at its first start, left open in gWS/gDB.
class DataFixture : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_NO_THROW(openUpgraded());
    }
};

// A database made by the creation code alone (the first layout), left open in gWS/gDB.
class FirstLayerFixture : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_NO_THROW(openFirstLayer());
    }
};

} // namespace testing_data
