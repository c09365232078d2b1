// The program's start and end: one running copy, the date-separator check, the splash, the
// database opened and upgraded, the first data form, the settings row read and written, and the
// error report of a start that fails.
#include "shell/ShellFixture.h"
#include "support/FileBytes.h"

#include "data/clsCreateMDB.h"
#include "data/ui/ErrorReport.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Twips.h"
#include "shell/clsControlPanelAPI.h"
#include "shell/frmSplash.h"

#include <QFile>
#include <QLabel>
#include <QPixmap>

#include <sqlite3.h>
#include <unistd.h>

namespace {

using testing_files::readBytes;
using testing_files::setImmutable;
using testing_files::writeBytes;
using testing_shell::ShellFixture;

const QString crlf = QStringLiteral("\r\n");

class StartupTest : public ShellFixture {};

// ---------------------------------------------------------------------------------------------
// One running copy

TEST_F(StartupTest, SecondCopyIsRefusedWithTheTitleAndStartsNothing)
{
    services::InstanceLock firstCopy(lockPath());
    ASSERT_TRUE(firstCopy.TryLock());
    answer(vb::vbOK);

    startProgram();

    ASSERT_EQ(1u, boxLog().size());
    EXPECT_EQ(QStringLiteral("Ravelcombrick is already running."), boxLog()[0].text);
    EXPECT_EQ(vb::vbExclamation, boxLog()[0].icon);
    EXPECT_EQ(vb::vbOKOnly, boxLog()[0].buttons);
    EXPECT_EQ(QStringLiteral("Ravelcombrick"), boxLog()[0].title);
    EXPECT_TRUE(loadedForms().isEmpty());
    EXPECT_FALSE(gDB);
    EXPECT_FALSE(QFile::exists(clsCreateMDB::databasePath()));
}

TEST_F(StartupTest, FirstCopyStartsAndHoldsTheLock)
{
    startProgram();
    ASSERT_NE(nullptr, mainWindow());
    services::InstanceLock secondCopy(lockPath());
    EXPECT_FALSE(secondCopy.TryLock());
}

// ---------------------------------------------------------------------------------------------
// Date separator

QString refusalText()
{
    return QStringLiteral("Ravelcombrick can only work if the date seperator ") + crlf +
           QStringLiteral("is \"-\" (as in 24-05-99) or \"/\"  (as in 5/24/99) or ") + crlf +
           QStringLiteral("\".\" (as in 5.24.99).") + crlf + QStringLiteral("Please change the date seperator from the ") + crlf +
           QStringLiteral("control panel. For more information read the ") + crlf + QStringLiteral("ReadMe file. ");
}

TEST_F(StartupTest, UnusableDateSeparatorsRefuseWithTheSixLineMessageBeforeAnyDatabaseWork)
{
    const std::pair<QString, QString> locales[] = {
        {QStringLiteral("d MMM yyyy"), QStringLiteral(" ")},
        {QStringLiteral("dd,MM,yy"), QStringLiteral(",")},
        {QStringLiteral("yy. M. d."), QStringLiteral(". ")},
        {QStringLiteral("yyyy"), QString()},
    };
    for (const auto& [pattern, separator] : locales) {
        SCOPED_TRACE(separator.toStdString());
        boxes().Clear();
        services().locale().Set(pattern, separator);
        answer(vb::vbOK);

        startProgram();

        ASSERT_EQ(1u, boxLog().size());
        EXPECT_EQ(refusalText(), boxLog()[0].text);
        EXPECT_EQ(6, boxLog()[0].text.split(crlf).size());
        EXPECT_EQ(vb::vbExclamation, boxLog()[0].icon);
        EXPECT_EQ(vb::vbOKOnly, boxLog()[0].buttons);
        EXPECT_EQ(App::Title(), boxLog()[0].title);
        EXPECT_TRUE(gShortDateFormat.isEmpty());
        EXPECT_TRUE(loadedForms().isEmpty());
        EXPECT_FALSE(QFile::exists(clsCreateMDB::databasePath()));
    }
}

TEST_F(StartupTest, DashSlashAndDotPassAndKeepThePatternAsGiven)
{
    const std::pair<QString, QString> locales[] = {
        {QStringLiteral("dd-MM-yy"), QStringLiteral("-")},
        {QStringLiteral("M/d/yyyy"), QStringLiteral("/")},
        {QStringLiteral("dd.MM.yyyy"), QStringLiteral(".")},
    };
    for (const auto& [pattern, separator] : locales) {
        SCOPED_TRACE(separator.toStdString());
        gShortDateFormat.clear();
        services().locale().Set(pattern, separator);
        EXPECT_TRUE(modHealth::CheckDateSeparator());
        EXPECT_EQ(pattern, gShortDateFormat);
    }
    EXPECT_TRUE(boxLog().empty());
}

TEST_F(StartupTest, ControlPanelReadsPatternAndSeparatorFromTheLocale)
{
    services().locale().Set(QStringLiteral("dd.MM.yy"), QStringLiteral("."));
    clsControlPanelAPI api;
    EXPECT_EQ(QStringLiteral("."), api.GetDateSeparator());
    EXPECT_EQ(QStringLiteral("dd.MM.yy"), api.GetShortDateFormat());
}

// ---------------------------------------------------------------------------------------------
// The start sequence

TEST_F(StartupTest, NewDatabaseIsBuiltUpgradedAndOpensOnTheMeasurementFormOfTheSamplePerson)
{
    startProgram();

    EXPECT_TRUE(boxLog().empty());
    ASSERT_TRUE(gDB);
    EXPECT_TRUE(QFile::exists(clsCreateMDB::databasePath()));
    // Both upgrade layers ran: their markers are there.
    EXPECT_NO_THROW(value(QStringLiteral("select Temp1LBL, PICTURE from APPLICATION")));
    ASSERT_NE(nullptr, mainWindow());
    EXPECT_TRUE(mainWindow()->isVisible());
    EXPECT_EQ(App::Title(), mainWindow()->windowTitle());
    EXPECT_TRUE(isLoaded(QStringLiteral("frmMeasure")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmPerson")));
    EXPECT_FALSE(mainWindow()->mnuMeasure->isEnabled());
    EXPECT_FALSE(mainWindow()->Toolbar1Button(3)->isEnabled());
    // The splash is gone once the main window is there.
    EXPECT_FALSE(isLoaded(QStringLiteral("frmSplash")));
    // The two pauses around the main window's loading, in order.
    EXPECT_EQ((std::vector<int>{300, 200}), services().runtime().pause().Requests());
    EXPECT_FALSE(gShortDateFormat.isEmpty());
}

TEST_F(StartupTest, DatabaseWithoutPersonsOpensThePersonFormFirst)
{
    startProgramWithoutSamples();

    EXPECT_TRUE(boxLog().empty());
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from PERSON")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmPerson")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmMeasure")));
    EXPECT_FALSE(mainWindow()->mnuPerson->isEnabled());
    EXPECT_FALSE(mainWindow()->Toolbar1Button(1)->isEnabled());
    EXPECT_TRUE(mainWindow()->mnuMeasure->isEnabled());
}

TEST_F(StartupTest, SplashShowsNameVersionNoticesAndTheStatusWritten)
{
    auto& splash = vb::defaultInstance<frmSplash>();
    splash.Load();
    EXPECT_EQ(QStringLiteral("Ravelcombrick 2.0"), splash.lblProductName->text());
    EXPECT_TRUE(splash.lblCopyright->text().contains(QChar(169)));
    EXPECT_EQ(QStringLiteral("Brannoway Vudevivoviro"), splash.lblCompanyProduct->text());
    EXPECT_EQ(QStringLiteral("Read the disclaimer before using the software"), splash.lblWarning->text());
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);

    splash.Show();
    // Before the data layer writes a status, the designed one shows.
    EXPECT_TRUE(splash.lblStatus->isVisible());
    EXPECT_EQ(QStringLiteral("Making database ..."), splash.lblStatus->text());
    modFunctions::setSplashStatusHook(&frmSplash::ShowStatus);
    modFunctions::ShowSplashStatus(0);
    EXPECT_TRUE(splash.lblStatus->isVisible());
    EXPECT_EQ(QStringLiteral("Building Database ..."), splash.lblStatus->text());
    modFunctions::ShowSplashStatus(1);
    EXPECT_EQ(QStringLiteral("Loading Sample data ..."), splash.lblStatus->text());

    // Without a splash the status goes nowhere.
    splash.Unload();
    EXPECT_NO_THROW(modFunctions::ShowSplashStatus(0));
}

// ---------------------------------------------------------------------------------------------
// Settings row at start and at exit

TEST_F(StartupTest, WindowStateAndCurrentPersonSurviveARestart)
{
    startProgram();
    ASSERT_NE(nullptr, mainWindow());
    const int person = count(QStringLiteral("select max(PRSN_KY) from PERSON"));
    gPersonKey = person;
    mainWindow()->showMaximized();
    exitProgram();

    EXPECT_FALSE(gDB);
    openUpgraded();
    EXPECT_EQ(QStringLiteral("max"), value(QStringLiteral("select DtFormat from APPLICATION")).toString());
    EXPECT_EQ(person, count(QStringLiteral("select gblPrsnKy from APPLICATION")));
    closeDatabase();

    startProgram();
    ASSERT_NE(nullptr, mainWindow());
    EXPECT_TRUE(mainWindow()->isMaximized());
    EXPECT_EQ(person, gPersonKey);

    // Back to normal: "def", and the next start keeps the window at its own size.
    mainWindow()->showNormal();
    gPersonKey = 0; // matches no person, and is stored all the same
    exitProgram();
    openUpgraded();
    EXPECT_EQ(QStringLiteral("def"), value(QStringLiteral("select DtFormat from APPLICATION")).toString());
    EXPECT_EQ(0, count(QStringLiteral("select gblPrsnKy from APPLICATION")));
    EXPECT_FALSE(vb::IsNull(value(QStringLiteral("select gblPrsnKy from APPLICATION"))));
    closeDatabase();

    startProgram();
    ASSERT_NE(nullptr, mainWindow());
    EXPECT_FALSE(mainWindow()->isMaximized());
    EXPECT_EQ(QPoint(0, 0), mainWindow()->pos());
    EXPECT_EQ(vb::TwipsToPixelsX(10600, mainWindow()), mainWindow()->width());
    EXPECT_EQ(vb::TwipsToPixelsY(7950, mainWindow()), mainWindow()->height());
}

TEST_F(StartupTest, SettingsRowGivesUnitsAndPersonOnlyForTheTextsItKnows)
{
    struct Case {
        QString wt, ht, dtFormat, personKey;
        int weightUnit, heightUnit, person;
        bool maximised;
    };
    const Case cases[] = {
        {QStringLiteral("'kg'"), QStringLiteral("'cm'"), QStringLiteral("'max'"), QStringLiteral("7"), 2, 2, 7, true},
        {QStringLiteral("'lb'"), QStringLiteral("'ft'"), QStringLiteral("'mm/dd/yy'"), QStringLiteral("-1"), 1, 1, 0, false},
        // Unknown texts leave the codes at their start values; so does a case difference.
        {QStringLiteral("'KG'"), QStringLiteral("'in'"), QStringLiteral("'MAX'"), QStringLiteral("Null"), 0, 0, 0, false},
    };
    // No person, so the Person form opens and leaves the current person as the main window set it.
    QDir(programFolder() + QStringLiteral("/Sample")).removeRecursively();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wt.toStdString());
        openUpgraded();
        gDB->Execute(QStringLiteral("update APPLICATION set WtUnit = %1, HtUnit = %2, DtFormat = %3, gblPrsnKy = %4")
                         .arg(c.wt, c.ht, c.dtFormat, c.personKey),
                     dao::dbFailOnError);
        closeDatabase();

        startProgram();
        ASSERT_NE(nullptr, mainWindow());
        EXPECT_EQ(c.weightUnit, gWeightUnit);
        EXPECT_EQ(c.heightUnit, gHeightUnit);
        EXPECT_EQ(c.person, gPersonKey);
        EXPECT_EQ(c.maximised, mainWindow()->isMaximized());
        EXPECT_TRUE(isLoaded(QStringLiteral("frmPerson")));
        exitProgram();
    }
}

TEST_F(StartupTest, ExitClosesTheDatabaseAndWorkspace)
{
    startProgram();
    ASSERT_TRUE(gDB);
    mainWindow()->mnuExit_Click();
    EXPECT_FALSE(gDB);
    EXPECT_FALSE(gWS);
    EXPECT_EQ(nullptr, mainWindow());
}

// ---------------------------------------------------------------------------------------------
// Errors of the start

TEST_F(StartupTest, FailedDatabaseCreationShowsTheFourLineReportAndLeavesNoForm)
{
    // A file where the database folder should be: the database cannot be made.
    QFile blocker(programFolder() + QStringLiteral("/database"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    answer(vb::vbOK);

    startProgram();

    ASSERT_EQ(1u, boxLog().size());
    const vb::MsgBoxDouble::Entry& box = boxLog()[0];
    const QStringList lines = box.text.split(crlf);
    ASSERT_EQ(4, lines.size()) << box.text.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Error Number: ")));
    EXPECT_NE(QStringLiteral("Error Number: 0"), lines[0]);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Error Description: ")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Error source: ")));
    EXPECT_EQ(QStringLiteral("Error location:modHealth"), lines[3]);
    EXPECT_EQ(0, box.icon);
    EXPECT_EQ(vb::vbOKOnly, box.buttons);
    EXPECT_EQ(App::Title(), box.title);
    // The splash went before the report; nothing is left, so the program ends.
    EXPECT_TRUE(loadedForms().isEmpty());
    EXPECT_EQ(nullptr, mainWindow());
}

TEST_F(StartupTest, MissingSettingsRowIsReportedAndTheLoadedMainWindowStaysUsable)
{
    openUpgraded();
    gDB->Execute(QStringLiteral("delete from APPLICATION"));
    closeDatabase();
    answer(vb::vbOK);

    startProgram();

    ASSERT_EQ(1u, boxLog().size());
    EXPECT_TRUE(boxLog()[0].text.endsWith(QStringLiteral("Error location:modHealth")));
    EXPECT_TRUE(boxLog()[0].text.startsWith(QStringLiteral("Error Number: 3021")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmSplash")));
    ASSERT_NE(nullptr, mainWindow());
    EXPECT_TRUE(mainWindow()->isVisible());
}

namespace {

// Runs statements on the file as another program would: plain SQLite, none of our functions,
// with the table checks and the triggers switched off.
void editWithPlainSqlite(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(QFile::encodeName(path).constData(), &db));
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    EXPECT_EQ(SQLITE_OK, rc) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

} // namespace

TEST_F(StartupTest, AFileWithInfiniteNaNAndFractionalReadingsOpensAndShowsItsForms)
{
    openUpgraded();
    const int sample = count(QStringLiteral("select PRSN_KY from PERSON"));
    const QString newest =
        value(QStringLiteral("select max(MSRD_DT) from MEASURE")).toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    closeDatabase();
    editWithPlainSqlite(databasePath(), QStringLiteral("PRAGMA ignore_check_constraints = ON;"
                                                       "UPDATE MEASURE SET WT = 9e999, PLSE = 'NaN', HBP = 120.5 "
                                                       "WHERE PRSN_KY = %1 AND MSRD_DT = '%2';"
                                                       "UPDATE AVERAGE_DAY SET WT = -9e999, HBP = 'NaN', LBP = 80.5;")
                                            .arg(sample)
                                            .arg(newest)
                                            .toUtf8()
                                            .constData());

    startProgram();

    EXPECT_TRUE(boxLog().empty());
    ASSERT_NE(nullptr, mainWindow());
    EXPECT_TRUE(mainWindow()->isVisible());
    EXPECT_TRUE(isLoaded(QStringLiteral("frmMeasure")));
    EXPECT_FALSE(mainWindow()->grab().isNull());
}

TEST_F(StartupTest, ADamagedFileIsNamedAndNothingMoreIsWrittenToIt)
{
    openUpgraded();
    const int measureRoot = count(QStringLiteral("select rootpage from sqlite_master where name = 'MEASURE'"));
    closeDatabase();
    QByteArray damaged = readBytes(databasePath());
    damaged.replace((measureRoot - 1) * 4096, 4096, QByteArray(4096, '\xff'));
    ASSERT_TRUE(writeBytes(databasePath(), damaged));
    for (int i = 0; i < 3; ++i)
        answer(vb::vbOK);

    startProgram();
    exitProgram();

    ASSERT_FALSE(boxLog().empty());
    for (const vb::MsgBoxDouble::Entry& box : boxLog()) {
        EXPECT_TRUE(box.text.contains(QStringLiteral("The database file '%1' is damaged. Nothing more will be written to "
                                                     "it; replace it with a backup copy.")
                                          .arg(QFileInfo(databasePath()).absoluteFilePath())))
            << box.text.toStdString() << " | " << box.title.toStdString();
    }
    EXPECT_EQ(readBytes(databasePath()), damaged);
}

TEST_F(StartupTest, AReadOnlyFileOrOneHeldByAnotherProgramIsNamedAtTheStartInPlainWords)
{
    openUpgraded();
    closeDatabase();
    const QString file = QFileInfo(databasePath()).absoluteFilePath();
    const QByteArray before = readBytes(file);
    const auto start = [&](const QString& expected) {
        answer(vb::vbOK);
        startProgram();
        ASSERT_EQ(1u, boxLog().size());
        EXPECT_TRUE(boxLog()[0].text.contains(QStringLiteral("Error Description: ") + expected.arg(file)))
            << boxLog()[0].text.toStdString();
        EXPECT_EQ(nullptr, mainWindow());
        EXPECT_EQ(readBytes(file), before);
        boxes().Clear();
    };

    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(QFile::encodeName(file).constData(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
    start(QStringLiteral("The database file '%1' is in use by another program. Close that program, then try again."));
    sqlite3_close(other);

    struct Writable {
        QString file;
        ~Writable()
        {
            setImmutable(file, false);
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        }
    } undo{file};
    QFile::setPermissions(file, QFile::ReadOwner);
    if (::access(QFile::encodeName(file).constData(), W_OK) == 0 && !setImmutable(file, true))
        GTEST_SKIP() << "the file system can't make the file read-only";
    start(QStringLiteral("The database file '%1' is read-only: nothing can be saved in it."));
}

TEST_F(StartupTest, ErrorReportTakesTheEngineErrorsParts)
{
    auto& splash = vb::defaultInstance<frmSplash>();
    splash.Show();
    answer(vb::vbOK);
    answer(vb::vbOK);
    try {
        throw dao::Error(3022, QStringLiteral("Duplicate key."), QStringLiteral("DAO.Recordset"));
    } catch (...) {
        modSplash::ShowErrorMessage(QStringLiteral("frmPerson"));
    }
    ASSERT_EQ(1u, boxLog().size());
    EXPECT_EQ(QStringLiteral("Error Number: 3022") + crlf + QStringLiteral("Error Description: Duplicate key.") + crlf +
                  QStringLiteral("Error source: DAO.Recordset") + crlf + QStringLiteral("Error location:frmPerson"),
              boxLog()[0].text);
    EXPECT_FALSE(isLoaded(QStringLiteral("frmSplash")));

    try {
        throw std::runtime_error("plain failure");
    } catch (const std::exception& e) {
        modSplash::ShowErrorMessage(QStringLiteral("frmMeasurement"), e);
    }
    EXPECT_TRUE(boxLog().back().text.contains(QStringLiteral("Error Description: plain failure")));
    EXPECT_TRUE(boxLog().back().text.endsWith(QStringLiteral("Error location:frmMeasurement")));
}

} // namespace
