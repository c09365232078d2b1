// Tools > Database: backup to a file, compaction in place and the database folder. Whatever
// fails, the program is left with its database open and intact.
#include "shell/CommandsFixture.h"

#include "data/Globals.h"
#include "data/clsCreateMDB.h"
#include "platform/dao/dao.h"
#include "platform/runtime/ui/MsgBox.h"
#include "shell/mdiHealth.h"
#include "shell/modMaintenance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <stdexcept>

#include <unistd.h>

namespace {

using testing_shell::CommandsFixture;
using testing_shell::PlainForm;

const QString kCrLf = QStringLiteral("\r\n");

// A form that stays loaded when asked to unload, as the memo does when the user cancels.
class StubbornForm : public vb::Form {
public:
    StubbornForm() : vb::Form(QStringLiteral("frmStubborn")) {}

protected:
    void Form_QueryUnload(int& cancel, int /*mode*/) override { cancel = 1; }
};

// The file steps with one of them made to fail.
class FailingSteps : public modMaintenance::FileSteps {
public:
    enum class Step { None, RemoveLeftover, CopyOld, Compact, CompactGarbage, Swap, FirstReopen, Backup };
    explicit FailingSteps(Step failing) : failing_(failing) {}

    void removeFile(const QString& path) override
    {
        if (failing_ == Step::RemoveLeftover)
            throw dao::Error(75, QStringLiteral("Path/File access error: cannot delete"));
        FileSteps::removeFile(path);
    }
    void copyFile(const QString& from, const QString& to) override
    {
        if (failing_ == Step::CopyOld && to.endsWith(QLatin1String("_old")))
            throw dao::Error(75, QStringLiteral("Path/File access error: no room for the copy"));
        if (failing_ == Step::Swap && from.endsWith(QLatin1String("_compact")))
            throw dao::Error(75, QStringLiteral("Path/File access error: cannot replace"));
        if (failing_ == Step::Backup)
            throw dao::Error(75, QStringLiteral("Path/File access error: disk full"));
        FileSteps::copyFile(from, to);
    }
    void compact(const QString& from, const QString& to) override
    {
        if (failing_ == Step::Compact) {
            // A real failure of the engine: its target folder does not exist.
            FileSteps::compact(from, QFileInfo(to).absolutePath() + QStringLiteral("/missing/folder.mdb"));
            return;
        }
        if (failing_ == Step::CompactGarbage) {
            QFile file(to);
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray(4096, 'x'));
            return;
        }
        FileSteps::compact(from, to);
    }
    void openDatabase() override
    {
        ++opens;
        if (failing_ == Step::FirstReopen && opens == 1)
            throw dao::Error(3343, QStringLiteral("Unrecognized database format."));
        FileSteps::openDatabase();
    }

    int opens = 0;

private:
    Step failing_;
};

class MaintenanceTest : public CommandsFixture {
protected:
    void SetUp() override
    {
        CommandsFixture::SetUp();
        original = modMaintenance::TableRowCounts(*gDB);
        path = gDB->Name();
    }

    // Every table has as many rows as at the start, and the database is the program's file.
    void expectOriginalDatabaseOpen()
    {
        ASSERT_TRUE(gDB);
        EXPECT_TRUE(gDB->isOpen());
        EXPECT_EQ(path, gDB->Name());
        EXPECT_EQ(original, modMaintenance::TableRowCounts(*gDB));
        EXPECT_EQ(QStringLiteral("Pellam Ostry"),
                  value(QStringLiteral("select PRSN_NM from PERSON where PRSN_KY = %1").arg(samplePerson)).toString());
    }

    static std::map<QString, qint64> countsOf(const QString& file)
    {
        const dao::DatabasePtr db = dao::Database::open(file, true);
        auto counts = modMaintenance::TableRowCounts(*db);
        db->Close();
        return counts;
    }

    QString compactQuestion() const
    {
        return QStringLiteral("Before compacting the database, you should backup the database file. ") + kCrLf + kCrLf +
               QStringLiteral("This action will close the Application.") + kCrLf + kCrLf +
               QStringLiteral("Do you like to compact the database?");
    }

    std::map<QString, qint64> original;
    QString path;
};

// ---- backup --------------------------------------------------------------------------------

TEST_F(MaintenanceTest, BackupWritesACopyThatOpensWithEveryRowAndReopensTheDatabase)
{
    auto* other = makeForm<PlainForm>(QStringLiteral("frmRegimen"));
    other->Load();
    const QString target = programPath(QStringLiteral("backup/copy"));
    QDir().mkpath(programPath(QStringLiteral("backup")));
    answer(vb::vbYes);
    services().fileDialogs().Choose(target);
    answer(vb::vbOK);

    EXPECT_TRUE(modMaintenance::BackupDatabase());

    // The question: Yes/No with No the default.
    const auto& log = messages().Log();
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ(QStringLiteral("This action will close the Application.") + kCrLf + kCrLf +
                  QStringLiteral("Do you like to backup the database?"),
              log[0].text);
    EXPECT_EQ(vb::vbYesNo, log[0].buttons);
    EXPECT_EQ(vb::vbQuestion, log[0].icon);
    EXPECT_EQ(vb::vbDefaultButton2, log[0].defaultButton);
    EXPECT_EQ(QStringLiteral("Ravelcombrick"), log[0].title);
    // The dialog offers our database files and starts at home; the extension is added.
    const auto& request = services().fileDialogs().Calls().at(0).request;
    EXPECT_EQ(QStringLiteral("Database Files (*.mdb)|*.mdb"), request.filter);
    EXPECT_EQ(QStringLiteral(".mdb"), request.defaultExtension);
    EXPECT_EQ(QDir::homePath(), request.initialFolder);
    EXPECT_EQ(QStringLiteral("The database file has been successfully copied to: ") + kCrLf + target + QStringLiteral(".mdb") +
                  kCrLf + QStringLiteral("Closing the Application.") + kCrLf + kCrLf +
                  QStringLiteral("Please keep this backup file in a safe location."),
              log[1].text);
    EXPECT_EQ(vb::vbInformation, log[1].icon);

    EXPECT_EQ(nullptr, vb::Forms().Find(QStringLiteral("frmRegimen")));
    expectOriginalDatabaseOpen();
    EXPECT_EQ(original, countsOf(target + QStringLiteral(".mdb")));
}

TEST_F(MaintenanceTest, BackupReplacesAnExistingFileOnlyWhenTheUserAgrees)
{
    const QString target = programPath(QStringLiteral("old-backup.mdb"));
    writeFile(target, "an older backup");
    const QString question = QStringLiteral("The file: ") + target + QStringLiteral(" already exist.") + kCrLf +
                             QStringLiteral("Do you wish to overwrite it?");

    auto* other = makeForm<PlainForm>(QStringLiteral("frmPerson"));
    other->Load();
    answer(vb::vbYes);
    services().fileDialogs().Choose(target);
    answer(vb::vbNo);
    EXPECT_FALSE(modMaintenance::BackupDatabase());
    EXPECT_EQ(question, messages().Last().text);
    EXPECT_EQ(vb::vbDefaultButton2, messages().Last().defaultButton);
    EXPECT_EQ(vb::vbQuestion, messages().Last().icon);
    EXPECT_EQ(QByteArray("an older backup"), readFile(target));
    EXPECT_NE(nullptr, vb::Forms().Find(QStringLiteral("frmPerson"))); // nothing was closed
    EXPECT_TRUE(gDB->isOpen());

    answer(vb::vbYes);
    services().fileDialogs().Choose(target);
    answer(vb::vbYes);
    answer(vb::vbOK);
    EXPECT_TRUE(modMaintenance::BackupDatabase());
    EXPECT_EQ(original, countsOf(target));
    expectOriginalDatabaseOpen();
}

TEST_F(MaintenanceTest, BackupOntoTheDatabaseItselfIsRefusedWhateverTheSpelling)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QString link = programPath(QStringLiteral("link-to-db.mdb"));
    ASSERT_TRUE(QFile::link(path, link));
    const QString linkedFolder = programPath(QStringLiteral("dblink"));
    ASSERT_TRUE(QFile::link(folder, linkedFolder));
    const QString hardLink = programPath(QStringLiteral("hard.mdb"));
    const bool haveHardLink = ::link(QFile::encodeName(path).constData(), QFile::encodeName(hardLink).constData()) == 0;

    QStringList spellings{path, folder + QStringLiteral("/../database/./") + QFileInfo(path).fileName(), link,
                          linkedFolder + QLatin1Char('/') + QFileInfo(path).fileName()};
    if (haveHardLink)
        spellings << hardLink;
    const QByteArray before = readFile(path);
    for (const QString& spelling : spellings) {
        SCOPED_TRACE(spelling.toStdString());
        messages().Clear();
        answer(vb::vbYes);
        services().fileDialogs().Choose(spelling);
        answer(vb::vbOK);
        EXPECT_FALSE(modMaintenance::BackupDatabase());
        EXPECT_EQ(QStringLiteral("The destination file cannot be the same as database file name.") + kCrLf +
                      QStringLiteral("Choose another file name"),
                  messages().Last().text);
        EXPECT_EQ(vb::vbExclamation, messages().Last().icon);
        EXPECT_EQ(vb::vbOKOnly, messages().Last().buttons);
        EXPECT_TRUE(gDB->isOpen());
    }
    EXPECT_EQ(before, readFile(path));
    expectOriginalDatabaseOpen();
}

TEST_F(MaintenanceTest, BackupThatCannotBeWrittenEndsWithTheDatabaseOpenAgain)
{
    const QString notCorrect = QStringLiteral("The file name is not correct. Enter the correct file name.");

    // No: nothing happens. Cancel: the wrong-name message.
    answer(vb::vbNo);
    EXPECT_FALSE(modMaintenance::BackupDatabase());
    EXPECT_EQ(0, static_cast<int>(services().fileDialogs().Calls().size()));
    answer(vb::vbYes);
    services().fileDialogs().Cancel();
    answer(vb::vbOK);
    EXPECT_FALSE(modMaintenance::BackupDatabase());
    EXPECT_EQ(notCorrect, messages().Last().text);
    EXPECT_EQ(vb::vbInformation, messages().Last().icon);

    // A folder that does not exist, a name that is a folder, and a copy that fails half-way.
    const QString existingFolder = programPath(QStringLiteral("afolder.mdb"));
    QDir().mkpath(existingFolder);
    struct Case {
        QString target;
        FailingSteps::Step step;
        bool exists;
    };
    const Case cases[] = {
        {programPath(QStringLiteral("no/such/folder/copy.mdb")), FailingSteps::Step::None, false},
        {existingFolder, FailingSteps::Step::None, true},
        {programPath(QStringLiteral("copy.mdb")), FailingSteps::Step::Backup, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        messages().Clear();
        FailingSteps steps(c.step);
        answer(vb::vbYes);
        services().fileDialogs().Choose(c.target);
        if (c.exists)
            answer(vb::vbYes);
        answer(vb::vbOK);
        EXPECT_FALSE(modMaintenance::BackupDatabase(steps));
        EXPECT_EQ(notCorrect, messages().Last().text);
        EXPECT_EQ(1, steps.opens);
        expectOriginalDatabaseOpen();
        EXPECT_FALSE(QFileInfo(programPath(QStringLiteral("copy.mdb"))).exists());
    }
}

TEST_F(MaintenanceTest, BackupAndCompactionStopWhenAFormWillNotClose)
{
    auto* stubborn = makeForm<StubbornForm>();
    stubborn->Load();

    answer(vb::vbYes);
    services().fileDialogs().Choose(programPath(QStringLiteral("copy.mdb")));
    EXPECT_FALSE(modMaintenance::BackupDatabase());
    answer(vb::vbYes);
    EXPECT_FALSE(modMaintenance::CompactDatabase());

    EXPECT_TRUE(stubborn->Loaded());
    EXPECT_EQ(2, static_cast<int>(messages().Log().size())); // the two questions only
    EXPECT_FALSE(QFileInfo::exists(programPath(QStringLiteral("copy.mdb"))));
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral("_old")));
    expectOriginalDatabaseOpen();
}

// ---- compaction ----------------------------------------------------------------------------

TEST_F(MaintenanceTest, CompactionShrinksTheFileKeepsEveryRowAndLeavesBothSideCopies)
{
    // Free pages for the compaction to give back.
    gDB->Execute(QStringLiteral("delete from AVERAGE_DAY"));
    original = modMaintenance::TableRowCounts(*gDB);
    writeFile(path + QStringLiteral("_old"), "left from an earlier run");
    writeFile(path + QStringLiteral("_compact"), "left from an earlier run");
    auto* other = makeForm<PlainForm>(QStringLiteral("frmDSetGoal"));
    other->Load();
    gDB->Close();
    const qint64 sizeBefore = QFileInfo(path).size();
    const QByteArray bytesBefore = readFile(path);
    clsCreateMDB().OpenOrCreateDatabase();

    answer(vb::vbNo);
    EXPECT_FALSE(modMaintenance::CompactDatabase());
    EXPECT_EQ(compactQuestion(), messages().Last().text);
    EXPECT_EQ(vb::vbYesNo, messages().Last().buttons);
    EXPECT_EQ(vb::vbQuestion, messages().Last().icon);
    EXPECT_EQ(vb::vbDefaultButton2, messages().Last().defaultButton);
    EXPECT_TRUE(other->Loaded());

    answer(vb::vbYes);
    answer(vb::vbOK);
    EXPECT_TRUE(modMaintenance::CompactDatabase());
    EXPECT_EQ(QStringLiteral("Database has been compacted."), messages().Last().text);
    EXPECT_EQ(vb::vbInformation, messages().Last().icon);
    EXPECT_EQ(nullptr, vb::Forms().Find(QStringLiteral("frmDSetGoal")));

    expectOriginalDatabaseOpen();
    EXPECT_LT(QFileInfo(path).size(), sizeBefore);
    EXPECT_EQ(bytesBefore, readFile(path + QStringLiteral("_old")));
    EXPECT_EQ(original, countsOf(path + QStringLiteral("_compact")));
}

struct FailureCase {
    const char* name;
    FailingSteps::Step step;
};

class CompactionFailureTest : public MaintenanceTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CompactionFailureTest, LeavesTheOriginalDatabaseOpen)
{
    gDB->Execute(QStringLiteral("delete from AVERAGE_DAY"));
    original = modMaintenance::TableRowCounts(*gDB);
    if (GetParam().step == FailingSteps::Step::RemoveLeftover)
        writeFile(path + QStringLiteral("_compact"), "left from an earlier run");
    gDB->Close();
    const QByteArray bytesBefore = readFile(path);
    clsCreateMDB().OpenOrCreateDatabase();

    FailingSteps steps(GetParam().step);
    answer(vb::vbYes);
    answer(vb::vbOK);
    EXPECT_TRUE(modMaintenance::CompactDatabase(steps));

    const auto& box = messages().Last();
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Repair unsuccessful! Replacing with Old file.\rError number: ")))
        << box.text.toStdString();
    EXPECT_EQ(0, box.icon);
    EXPECT_EQ(vb::vbOKOnly, box.buttons);
    expectOriginalDatabaseOpen();
    gDB->Close();
    EXPECT_EQ(bytesBefore, readFile(path));
    clsCreateMDB().OpenOrCreateDatabase();
}

INSTANTIATE_TEST_SUITE_P(EachStep, CompactionFailureTest,
                         ::testing::Values(FailureCase{"RemoveLeftover", FailingSteps::Step::RemoveLeftover},
                                           FailureCase{"CopyOld", FailingSteps::Step::CopyOld},
                                           FailureCase{"Compact", FailingSteps::Step::Compact},
                                           FailureCase{"CompactGarbage", FailingSteps::Step::CompactGarbage},
                                           FailureCase{"Swap", FailingSteps::Step::Swap}),
                         [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(MaintenanceTest, CompactionFailureOfTheEngineShowsTheEnginesError)
{
    FailingSteps steps(FailingSteps::Step::Compact);
    answer(vb::vbYes);
    answer(vb::vbOK);
    EXPECT_TRUE(modMaintenance::CompactDatabase(steps));
    ASSERT_EQ(2u, messages().Log().size());
    const QStringList lines = messages().Log().at(1).text.split(QLatin1Char('\r'));
    ASSERT_EQ(3, lines.size());
    EXPECT_EQ(QStringLiteral("Repair unsuccessful! Replacing with Old file."), lines[0]);
    EXPECT_NE(QStringLiteral("Error number: 0"), lines[1]);
    EXPECT_TRUE(lines[2].contains(QStringLiteral("could not be compacted"))) << lines[2].toStdString();
    expectOriginalDatabaseOpen();
}

TEST_F(MaintenanceTest, CompactedFileThatWillNotOpenIsReplacedByTheOldOneOnce)
{
    gDB->Execute(QStringLiteral("delete from AVERAGE_DAY"));
    original = modMaintenance::TableRowCounts(*gDB);
    FailingSteps steps(FailingSteps::Step::FirstReopen);
    answer(vb::vbYes);
    answer(vb::vbOK);
    EXPECT_TRUE(modMaintenance::CompactDatabase(steps));
    EXPECT_EQ(QStringLiteral("Repair unsuccessful! Replacing with Old file.\rError number: 3343\rUnrecognized database format."),
              messages().Last().text);
    EXPECT_EQ(2, steps.opens);
    expectOriginalDatabaseOpen();
    gDB->Close();
    EXPECT_EQ(readFile(path + QStringLiteral("_old")), readFile(path));
    clsCreateMDB().OpenOrCreateDatabase();
}

// ---- through the main window ---------------------------------------------------------------

TEST_F(MaintenanceTest, AfterABackupTheMainWindowClosesAndSavesTheSettingsRow)
{
    mdiHealth& main = vb::defaultInstance<mdiHealth>();
    main.Load();
    gPersonKey = 4321;
    answer(vb::vbYes);
    services().fileDialogs().Choose(programPath(QStringLiteral("copy.mdb")));
    answer(vb::vbOK);
    main.mnuBackupDBFile_Click();

    EXPECT_EQ(nullptr, mdiHealth::Loaded());
    EXPECT_TRUE(QFileInfo::exists(programPath(QStringLiteral("copy.mdb"))));
    clsCreateMDB().OpenOrCreateDatabase();
    EXPECT_EQ(4321, count(QStringLiteral("select gblPrsnKy from APPLICATION")));
    EXPECT_EQ(QStringLiteral("def"), value(QStringLiteral("select DtFormat from APPLICATION")).toString());
}

// ---- database folder -----------------------------------------------------------------------

TEST_F(MaintenanceTest, DatabaseFolderShowsTheFilesPathAndOpensTheFolderOnYes)
{
    const QString question = QStringLiteral("The database directory is: ") + path + kCrLf +
                             QStringLiteral("Do you like to open the directory?") + kCrLf +
                             QStringLiteral("Note: Moving or changing the database file may erase all the information.");
    answer(vb::vbNo);
    modMaintenance::ShowDatabaseFolder();
    EXPECT_EQ(question, messages().Last().text);
    EXPECT_EQ(vb::vbExclamation, messages().Last().icon);
    EXPECT_EQ(vb::vbYesNo, messages().Last().buttons);
    EXPECT_EQ(vb::vbDefaultButton2, messages().Last().defaultButton);
    EXPECT_TRUE(services().shell().Calls().empty());

    answer(vb::vbYes);
    modMaintenance::ShowDatabaseFolder();
    ASSERT_EQ(1u, services().shell().Calls().size());
    EXPECT_EQ(QStringLiteral("folder"), services().shell().Calls()[0].verb);
    EXPECT_EQ(programPath(QStringLiteral("database")), services().shell().Calls()[0].target);

    // A desktop that cannot open it is reported, not ignored.
    services().shell().setResult(false);
    answer(vb::vbYes);
    answer(vb::vbOK);
    modMaintenance::ShowDatabaseFolder();
    EXPECT_EQ(services::NotOpenedText(services::OpenTarget::Folder, programPath(QStringLiteral("database"))),
              messages().Last().text);
}

} // namespace
