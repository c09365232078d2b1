// The import window on a real database: the template, loading files into the preview grid, the
// verdicts and their colours, the error display, the filters, and the write with its averages.
#include "records/RecordsFixture.h"
#include "reports/MeasurementImportFile.h"
#include "reports/frmImportMeasurements.h"

#include "data/clsAverage.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStringEncoder>
#include <QTest>

#include <sqlite3.h>

namespace {

using namespace MeasurementImportFile;

class ImportWindowTest : public testing_records::RecordsFixture {
protected:
    void SetUp() override
    {
        RecordsFixture::SetUp();
        gDB->Execute(QStringLiteral("insert into person (prsn_nm) values ('Import Tester')"), dao::dbFailOnError);
        person = count(QStringLiteral("select prsn_ky from person where prsn_nm = 'Import Tester'"));
        gPersonKey = person;
        gDB->Execute(QStringLiteral("insert into regimen (rgmn_nm) values ('O''Brien')"), dao::dbFailOnError);
        regimen = count(QStringLiteral("select rgmn_ky from regimen where rgmn_nm = 'O''Brien'"));
        goalName = value(QStringLiteral("select gl_nm from dbts_goal where gl_ky = 2")).toString();
    }

    frmImportMeasurements& open()
    {
        auto& f = vb::defaultInstance<frmImportMeasurements>();
        f.Load();
        return f;
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(programFolder()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    void load(frmImportMeasurements& f, const QByteArray& content, const QString& name = QStringLiteral("readings.csv"))
    {
        f.txtImportFileName->setText(writeFile(name, content));
        f.cmdLoadTemplateToGrid_Click();
    }

    // Writes the grid; the statistics message is answered.
    QString write(frmImportMeasurements& f)
    {
        answer(vb::vbOK);
        f.cmdLoadDataFromGrid_Click();
        return lastBox().text;
    }

    static vb::OLE_COLOR color(frmImportMeasurements& f, int row, int col)
    {
        return f.vsFGImport->Cell(flexcpBackColor, row, col).value<vb::OLE_COLOR>();
    }

    // The person's stored averages, one text a row.
    QStringList averages()
    {
        QStringList out;
        const std::pair<const char*, const char*> levels[] = {
            {"average_day", "dt"}, {"average_week", "week"}, {"average_month", "mnth"}};
        for (const auto& [table, key] : levels) {
            auto rs = gDB->OpenRecordset(
                QStringLiteral("select * from %1 where prsn_ky = %2 order by %3").arg(table).arg(person).arg(key),
                dao::dbOpenSnapshot);
            for (; !rs->Eof(); rs->MoveNext()) {
                QStringList cells{QLatin1String(table)};
                for (int i = 0; i < rs->Fields().Count(); ++i)
                    cells << rs->Fields(i).Value().toString();
                out << cells.join(u'|');
            }
        }
        return out;
    }

    // The averages as a recomputation from MEASURE gives them: every day of the person again.
    void expectAveragesRecomputed()
    {
        const QStringList stored = averages();
        auto rs =
            gDB->OpenRecordset(QStringLiteral("select msrd_dt from measure where prsn_ky = %1").arg(person), dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext())
            clsAverage().UpdateAverages(person, rs->Fields(0).Value().toDateTime(), clsAverage::actChanged);
        EXPECT_EQ(stored, averages());
        EXPECT_FALSE(stored.isEmpty());
    }

    QString measure(const QString& columns, const QString& when)
    {
        auto rs = gDB->OpenRecordset(
            QStringLiteral("select %1 from measure where prsn_ky = %2 and msrd_dt = #%3#").arg(columns).arg(person).arg(when),
            dao::dbOpenSnapshot);
        if (rs->Eof())
            return QStringLiteral("<none>");
        QStringList cells;
        for (int i = 0; i < rs->Fields().Count(); ++i)
            cells << (rs->Fields(i).Value().isNull() ? QStringLiteral("Null") : rs->Fields(i).Value().toString());
        return cells.join(u'|');
    }

    int readings() { return count(QStringLiteral("select count(*) from measure where prsn_ky = %1").arg(person)); }

    qint32 person = 0;
    qint32 regimen = 0;
    QString goalName;
};

TEST_F(ImportWindowTest, OpensWithTheStoredNameTheHeaderAndHiddenFilters)
{
    gDB->Execute(QStringLiteral("update application set ImportFileName = 'old.csv'"));
    auto& f = open();
    EXPECT_EQ(f.Caption(), QStringLiteral("Import the Data from File"));
    EXPECT_EQ(f.txtImportFileName->text(), QStringLiteral("old.csv"));
    EXPECT_TRUE(f.ChosenPath().isEmpty());
    EXPECT_EQ(f.cboPerson->currentData().toInt(), person);
    EXPECT_TRUE(f.frmeValidate->isHidden());
    EXPECT_TRUE(f.frmeLoad->isHidden());
    VSFlexGrid& g = *f.vsFGImport;
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(g.Cols(), colCount);
    EXPECT_EQ(g.TextMatrix(0, colDate), QStringLiteral("Date(mm/dd/yy hh:mm AM/PM)"));
    EXPECT_EQ(g.TextMatrix(0, colSugar), QStringLiteral("Sugar(mg/dl)"));
    for (int c : {1, 14, 15, 16})
        EXPECT_TRUE(g.ColHidden(c)) << c;

    f.cboPerson->setCurrentIndex(f.cboPerson->findText(QStringLiteral("Pellam Ostry")));
    EXPECT_EQ(gPersonKey, samplePerson);
}

TEST_F(ImportWindowTest, LabelsHoldingABarKeepTheirColumns)
{
    // Written by an older program or edited outside this one.
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temp|C', TempUnit = '^F'"));
    VSFlexGrid& g = *open().vsFGImport;
    ASSERT_EQ(g.Cols(), colCount);
    EXPECT_EQ(g.TextMatrix(0, colCustom1), QStringLiteral("Temp|C (^F)"));
    EXPECT_EQ(g.TextMatrix(0, colSugar), QStringLiteral("Sugar(mg/dl)"));
    for (int c : {1, 14, 15, 16})
        EXPECT_TRUE(g.ColHidden(c)) << c;
}

TEST_F(ImportWindowTest, TemplateIsWrittenOpenedAndNamed)
{
    auto& f = open();
    answer(vb::vbOK); // the template's path is too long to be remembered
    f.cmdGenerateTemplate_Click();
    const QString path = QDir(programFolder()).filePath(QStringLiteral("TempQJImport.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), TemplateLine());
    ASSERT_EQ(services().shell().Calls().size(), 1u);
    EXPECT_EQ(services().shell().Calls()[0].target, path);
    EXPECT_EQ(f.txtImportFileName->text(), path);
    EXPECT_EQ(f.ChosenPath(), path);

    // Loaded, the template's header is a row refused for its date.
    f.cmdLoadTemplateToGrid_Click();
    VSFlexGrid& g = *f.vsFGImport;
    EXPECT_EQ(g.TextMatrix(1, colDate), QStringLiteral("Date-Time"));
    EXPECT_EQ(color(f, 1, colDate), RejectedColor);
    EXPECT_EQ(color(f, 1, colStatus), RejectedColor);
    EXPECT_TRUE(g.TextMatrix(1, colError).startsWith(DateMessage()));
    EXPECT_EQ(f.StatusBar1->currentMessage(), QStringLiteral("Loaded lines 1"));
    EXPECT_FALSE(f.frmeValidate->isHidden());
}

TEST_F(ImportWindowTest, FileDialogStartsInTheUserFolderAndCancelChangesNothing)
{
    auto& f = open();
    f.txtImportFileName->setText(QStringLiteral("no such file"));
    services().fileDialogs().Cancel();
    f.cmdImportFile_Click();
    ASSERT_EQ(services().fileDialogs().Calls().size(), 1u);
    const auto& request = services().fileDialogs().Calls()[0].request;
    EXPECT_EQ(request.initialFolder, QDir(programFolder()).filePath(QStringLiteral("User")));
    EXPECT_TRUE(QFileInfo(request.initialFolder).isDir());
    EXPECT_EQ(request.filter, QStringLiteral("Comma Seperated Files (*.csv)|*.csv|Text Files (*.txt)|*.txt|All Files (*.*)|*.*"));
    EXPECT_EQ(f.txtImportFileName->text(), QStringLiteral("no such file"));
    EXPECT_TRUE(f.ChosenPath().isEmpty());

    const QString chosen = writeFile(QStringLiteral("mine.csv"), "x");
    services().fileDialogs().Choose(chosen);
    answer(vb::vbOK); // the test folder's path is too long to be remembered
    f.cmdImportFile_Click();
    EXPECT_EQ(f.txtImportFileName->text(), chosen);
    EXPECT_EQ(f.ChosenPath(), chosen);
}

TEST_F(ImportWindowTest, BrowsingOpensTheNamedFileOrTellsItIsMissing)
{
    auto& f = open();
    const QString path = writeFile(QStringLiteral("view.csv"), "1/5/2031,120,80\r\n");
    f.txtImportFileName->setText(path);
    f.optBrowse[0]->setChecked(true);
    f.cmdBrowseData_Click();
    f.optBrowse[1]->setChecked(true);
    f.cmdBrowseData_Click();
    ASSERT_EQ(services().shell().Calls().size(), 2u);
    EXPECT_EQ(services().shell().Calls()[0].verb, QStringLiteral("text"));
    EXPECT_EQ(services().shell().Calls()[1].verb, QStringLiteral("file"));

    f.txtImportFileName->setText(QStringLiteral("/nowhere/gone.csv"));
    answer(vb::vbOK);
    f.cmdBrowseData_Click();
    EXPECT_EQ(lastBox().text,
              QStringLiteral("There is no file with the name:\r\n\"/nowhere/gone.csv\"\r\nPlease import the right file or "
                             "generate from the template."));
    EXPECT_EQ(lastBox().icon, vb::vbInformation);
    EXPECT_EQ(services().shell().Calls().size(), 2u);
}

TEST_F(ImportWindowTest, LoadTellsAMissingFileAndKeepsTheGrid)
{
    auto& f = open();
    load(f, "1/5/2031 8:00 AM,120,80");
    f.txtImportFileName->setText(QStringLiteral("/nowhere/gone.csv"));
    answer(vb::vbOK);
    f.cmdLoadTemplateToGrid_Click();
    EXPECT_TRUE(lastBox().text.startsWith(QStringLiteral("There is no file with the name:")));
    EXPECT_EQ(f.vsFGImport->TextMatrix(1, colHighBP), QStringLiteral("120"));
}

TEST_F(ImportWindowTest, LinesFillTheirRows)
{
    auto& f = open();
    load(f, "1/5/2031 8:00 AM,120,80\r\n"
            "\r\n"
            "1/5/2031 9:00 AM,121,81,60\r\n"
            "1/5/2031 10:00 AM,1,2,3,4,5,6,7,,,,first, second, third\n"
            "  1/5/2031 11:00 AM , 118 ");
    VSFlexGrid& g = *f.vsFGImport;
    EXPECT_EQ(g.TextMatrix(1, colStatus), QStringLiteral("1"));
    EXPECT_EQ(g.TextMatrix(1, colLowBP), QStringLiteral("80"));
    EXPECT_TRUE(g.TextMatrix(1, colPulse).isEmpty());
    // A blank line keeps its number: only the line number and an empty date.
    EXPECT_EQ(g.TextMatrix(2, colStatus), QStringLiteral("2"));
    EXPECT_TRUE(g.TextMatrix(2, colDate).isEmpty());
    EXPECT_EQ(color(f, 2, colDate), RejectedColor);
    EXPECT_EQ(g.TextMatrix(3, colPulse), QStringLiteral("60"));
    EXPECT_EQ(g.TextMatrix(4, colComment), QStringLiteral("first, second, third"));
    EXPECT_EQ(g.TextMatrix(5, colDate), QStringLiteral("1/5/2031 11:00 AM"));
    EXPECT_EQ(g.TextMatrix(5, colHighBP), QStringLiteral("118"));
    EXPECT_EQ(color(f, 5, colStatus), 0u);
}

TEST_F(ImportWindowTest, GridGrowsTenRowsAtATimeAndEveryLoadStartsEmpty)
{
    auto& f = open();
    QByteArray many;
    for (int i = 0; i < 25; ++i)
        many += QStringLiteral("1/%1/2031 8:00 AM,120,80,abc\r\n").arg(i + 1).toUtf8();
    load(f, many);
    VSFlexGrid& g = *f.vsFGImport;
    EXPECT_EQ(g.Rows(), 31);
    EXPECT_EQ(g.TextMatrix(25, colStatus), QStringLiteral("25"));
    EXPECT_TRUE(g.TextMatrix(26, colStatus).isEmpty());
    f.cboValidate->setCurrentIndex(1);
    f.cmdValidate_Click();

    // A shorter, good file: nothing of the first one stays, no mark, no hidden row.
    load(f, "2/1/2031 8:00 AM,130,85\r\n");
    EXPECT_EQ(g.Rows(), 11);
    EXPECT_EQ(g.TextMatrix(1, colPulse), QString());
    EXPECT_EQ(color(f, 1, colStatus), 0u);
    EXPECT_TRUE(g.TextMatrix(1, colError).isEmpty());
    EXPECT_TRUE(g.TextMatrix(2, colStatus).isEmpty());
    EXPECT_FALSE(g.RowHidden(1));
    EXPECT_NE(write(f).indexOf(QStringLiteral("Rows loaded (shown in green):1\r\n")), -1);
    EXPECT_EQ(readings(), 1);
}

TEST_F(ImportWindowTest, VerdictsColoursAndMessages)
{
    auto& f = open();
    load(f, QStringLiteral("Date-Time,High BP\r\n"
                           "1/5/2031 8:00 AM,120,80,fast,heavy\r\n"
                           "1/5/2031 9:00 AM,,80\r\n"
                           "1/5/2031 10:00 AM,120,80,,,,,,,Jogging\r\n"
                           "1/5/2031 11:00 AM,120,80,,,,,,,O'Brien,Happy\r\n"
                           "1/5/2031 12:00 PM,,,,,,,,,,,only a comment\r\n"
                           "1/5/2031 1:00 PM,,,,,,,5.5,%1\r\n"
                           "1/5/2031 2:00 PM,,,,,,,5.5,No such goal\r\n"
                           "1/5/2031 3:00 PM,120.5,80,72.5\r\n"
                           "1/5/2031 4:00 PM,120,80,,,,,,,,,%2\r\n")
                .arg(goalName, QString(101, u'x'))
                .toUtf8());
    VSFlexGrid& g = *f.vsFGImport;
    const QString notice = QStringLiteral(
        "The row below with red cell has hard error and cannot be loaded.Click on the row to see the error details.");
    EXPECT_EQ(f.txtError->toPlainText(), notice);
    // Letters as pulse and weight: both cells red, the message once.
    EXPECT_EQ(color(f, 2, colPulse), RejectedColor);
    EXPECT_EQ(color(f, 2, colWeight), RejectedColor);
    EXPECT_EQ(color(f, 2, colStatus), RejectedColor);
    EXPECT_EQ(g.TextMatrix(2, colError), MeasurementMessage());
    // No high pressure, a low one: passes.
    EXPECT_EQ(color(f, 3, colStatus), 0u);
    // An unknown regimen: red, its message, no key.
    EXPECT_EQ(color(f, 4, colRegimen), RejectedColor);
    EXPECT_EQ(g.TextMatrix(4, colError), RegimenMessage());
    EXPECT_TRUE(g.TextMatrix(4, colRegimenKey).isEmpty());
    // A regimen name with a quote and a known mood: their keys, no colour.
    EXPECT_EQ(g.TextMatrix(5, colRegimenKey), QString::number(regimen));
    EXPECT_EQ(g.TextMatrix(5, colMoodKey), QStringLiteral("3"));
    EXPECT_EQ(color(f, 5, colStatus), 0u);
    EXPECT_EQ(color(f, 5, colMood), 0u);
    // Only a comment: no measurements.
    EXPECT_EQ(color(f, 6, colStatus), RejectedColor);
    EXPECT_TRUE(g.TextMatrix(6, colError).endsWith(NoMeasurementsMessage()));
    // A known goal gives its key; an unknown one is noted yellow and the row still passes.
    EXPECT_EQ(g.TextMatrix(7, colGoalKey), QStringLiteral("2"));
    EXPECT_EQ(color(f, 7, colStatus), 0u);
    EXPECT_EQ(color(f, 8, colGoal), NotedColor);
    EXPECT_EQ(color(f, 8, colStatus), 0u);
    EXPECT_EQ(g.TextMatrix(8, colError), GoalMessage());
    // A fraction where whole numbers are kept; a fraction in the weight is fine.
    EXPECT_EQ(color(f, 9, colHighBP), RejectedColor);
    EXPECT_EQ(color(f, 9, colPulse), RejectedColor);
    EXPECT_EQ(g.TextMatrix(9, colError), RangeMessage());
    EXPECT_EQ(color(f, 10, colComment), RejectedColor);
    EXPECT_EQ(g.TextMatrix(10, colError), CommentMessage());

    // Choosing rows shows their errors.
    g.setRow(2);
    EXPECT_EQ(f.txtError->toPlainText(), QString(MeasurementMessage()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    g.setRow(3);
    EXPECT_EQ(f.txtError->toPlainText(), QStringLiteral("No error on the selected row"));
    // A click on a row: the current row moves first, the selection follows.
    f.resize(1100, 760);
    f.show();
    const QRect cell = g.visualRect(g.model()->index(4 - 1, colDate - 1));
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(f.txtError->toPlainText(), QString(RegimenMessage()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    // The row with the unknown goal keeps its sugar reading, without a goal.
    write(f);
    EXPECT_EQ(measure(QStringLiteral("temp2, gl_ky"), QStringLiteral("1/5/2031 2:00 PM")), QStringLiteral("5.5|Null"));
}

TEST_F(ImportWindowTest, FiltersNeverHideTheHeader)
{
    auto& f = open();
    load(f, "Date-Time\r\n1/5/2031 8:00 AM,120,80\r\n1/5/2031 9:00 AM,x\r\n");
    VSFlexGrid& g = *f.vsFGImport;
    struct Case {
        int entry;
        bool hidden1, hidden2, hidden3;
    } cases[] = {{1, true, false, true}, {2, false, true, false}, {3, false, true, true}, {0, false, false, false}};
    for (const Case& c : cases) {
        f.cboValidate->setCurrentIndex(c.entry);
        f.cmdValidate_Click();
        EXPECT_FALSE(g.RowHidden(0)) << c.entry;
        EXPECT_EQ(g.RowHidden(1), c.hidden1) << c.entry;
        EXPECT_EQ(g.RowHidden(2), c.hidden2) << c.entry;
        EXPECT_EQ(g.RowHidden(3), c.hidden3) << c.entry;
    }
    f.cboValidate->setCurrentIndex(2);
    f.cmdValidate_Click();
    write(f); // shows every row again
    EXPECT_FALSE(g.RowHidden(2));
    EXPECT_TRUE(f.frmeValidate->isHidden());
    EXPECT_FALSE(f.frmeLoad->isHidden());
    f.cboLoad->setCurrentIndex(1);
    f.cmdLoad_Click();
    EXPECT_TRUE(g.RowHidden(1));
    EXPECT_FALSE(g.RowHidden(2));
    EXPECT_TRUE(g.RowHidden(3));
    f.cboLoad->setCurrentIndex(3);
    f.cmdLoad_Click();
    EXPECT_FALSE(g.RowHidden(1));
    EXPECT_TRUE(g.RowHidden(2));
    EXPECT_TRUE(g.RowHidden(3)) << "refused for its pressure, not its date";
}

TEST_F(ImportWindowTest, WriteInsertsUpdatesAndKeepsTheAveragesRight)
{
    gDB->Execute(
        QStringLiteral("insert into measure (prsn_ky, msrd_dt, hbp, lbp) values (%1, #3/10/2031 8:00 AM#, 140, 90)").arg(person));
    auto& f = open();
    const QByteArray file = QStringLiteral("Date-Time,High BP, Low BP\r\n"
                                           "3/10/2031 08:00 AM,125,82,70,,,,,,,Normal,it's \"quoted\"; <b>caf\u00E9</b>\r\n"
                                           "3/10/2031 07:30 PM,80,120,0\r\n"
                                           "3/11/2031 07:30 AM,,85\r\n"
                                           "3/12/2031 07:30 AM,,,,180.5,,,6.2,%1,O'Brien\r\n"
                                           "3/13/2031 07:30 AM,abc,85\r\n")
                                .arg(goalName)
                                .toUtf8();
    load(f, file);
    QString message = write(f);
    EXPECT_EQ(message, QStringLiteral(" Data load is successfull. The statistics are as follows:\r\n"
                                      "      Rows loaded (shown in green):3\r\n"
                                      "      Rows updated (shown in yellow):1\r\n"
                                      "      Rows rejected (shown in red):2"));
    EXPECT_EQ(lastBox().icon, 0);
    EXPECT_EQ(f.StatusBar1->currentMessage(), QStringLiteral("3 rows inserted (shown green). 1 rows updated. (shown yellow)"));
    EXPECT_EQ(color(f, 1, colStatus), RejectedColor);
    EXPECT_EQ(color(f, 2, colStatus), UpdatedColor);
    EXPECT_EQ(color(f, 3, colStatus), InsertedColor);
    EXPECT_EQ(color(f, 6, colStatus), RejectedColor);
    EXPECT_TRUE(f.Written());

    EXPECT_EQ(measure(QStringLiteral("hbp, lbp, plse, md_ky, cmmnt"), QStringLiteral("3/10/2031 8:00 AM")),
              QStringLiteral("125|82|70|1|it's \"quoted\"; <b>caf\u00E9</b>"));
    EXPECT_EQ(measure(QStringLiteral("hbp, lbp, plse, cmmnt"), QStringLiteral("3/10/2031 7:30 PM")),
              QStringLiteral("120|80|Null|"));
    EXPECT_EQ(measure(QStringLiteral("hbp, lbp"), QStringLiteral("3/11/2031 7:30 AM")), QStringLiteral("Null|85"));
    EXPECT_EQ(measure(QStringLiteral("wt, temp2, gl_ky, rgmn_ky"), QStringLiteral("3/12/2031 7:30 AM")),
              QStringLiteral("180.5|6.2|2|%1").arg(regimen));
    EXPECT_EQ(measure(QStringLiteral("hbp"), QStringLiteral("3/13/2031 7:30 AM")), QStringLiteral("<none>"));
    EXPECT_EQ(readings(), 4);
    expectAveragesRecomputed();

    // The same file again: after the question, every written row is an update.
    answer(vb::vbYes);
    f.cmdLoadTemplateToGrid_Click();
    EXPECT_EQ(lastBox().text,
              QStringLiteral("The data has recently been loaded,\r\n do you like to prepare for the load agian?"));
    EXPECT_EQ(lastBox().defaultButton, vb::vbDefaultButton2);
    message = write(f);
    EXPECT_NE(message.indexOf(QStringLiteral("Rows loaded (shown in green):0\r\n      Rows updated (shown in yellow):4")), -1);
    EXPECT_EQ(readings(), 4);
    expectAveragesRecomputed();

    // No to the question leaves the grid as it was.
    answer(vb::vbNo);
    f.cmdLoadTemplateToGrid_Click();
    EXPECT_EQ(color(f, 2, colStatus), UpdatedColor);
}

TEST_F(ImportWindowTest, AFailureHalfWayWritesNothing)
{
    auto& f = open();
    load(f, "4/1/2031 8:00 AM,120,80\r\n4/2/2031 8:00 AM,121,81,,,,,,,,,boom\r\n4/3/2031 8:00 AM,122,82\r\n");
    const QStringList before = averages();
    // Another program's rule refuses the second row.
    ASSERT_EQ(sqlite3_exec(gDB->handle(),
                           "create temp trigger refuse before insert on measure when new.cmmnt = 'boom' "
                           "begin select raise(abort, 'refused'); end",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    answer(vb::vbOK);
    f.cmdLoadDataFromGrid_Click();
    EXPECT_TRUE(lastBox().text.startsWith(QStringLiteral("The data could not be loaded; nothing was written.")));
    EXPECT_EQ(lastBox().icon, vb::vbCritical);
    EXPECT_EQ(readings(), 0);
    EXPECT_EQ(averages(), before);
    EXPECT_EQ(color(f, 1, colStatus), 0u);
    EXPECT_FALSE(f.Written());
    EXPECT_EQ(gDB->transactionDepth(), 0);
}

TEST_F(ImportWindowTest, AnotherProgramHoldingTheDatabaseIsToldAndNothingIsWritten)
{
    auto& f = open();
    load(f, "4/1/2031 8:00 AM,120,80\r\n");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    answer(vb::vbOK);
    f.cmdLoadDataFromGrid_Click();
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(lastBox().text.startsWith(QStringLiteral("The data could not be loaded; nothing was written.")));
    EXPECT_EQ(readings(), 0);
    EXPECT_EQ(color(f, 1, colStatus), 0u);

    // Once the other program lets go, the same rows are written.
    EXPECT_NE(write(f).indexOf(QStringLiteral("Rows loaded (shown in green):1")), -1);
    EXPECT_EQ(readings(), 1);
}

TEST_F(ImportWindowTest, BadFilesGiveRedRowsNotCrashes)
{
    auto& f = open();
    struct Case {
        const char* name;
        QByteArray bytes;
        int rows;
    } cases[] = {
        {"empty.csv", QByteArray(), 1},
        {"binary.csv", QByteArray("\x00\x01\xFF\xFE,\x00\r\n\x7F", 9), 11},
        {"long.csv", QByteArray("1/5/2031 8:00 AM,120,80,,,,,,,,,") + QByteArray(10000, 'x'), 11},
        {"dates.csv", QByteArray("2/30/2027,1\r\n13/1/2027,1\r\n1/1/10000,1\r\n"), 11},
    };
    for (const Case& c : cases) {
        load(f, c.bytes, QString::fromLatin1(c.name));
        EXPECT_EQ(f.vsFGImport->Rows(), c.rows) << c.name;
        for (int r = 1; r < c.rows; ++r) {
            if (!f.vsFGImport->TextMatrix(r, colStatus).isEmpty()) {
                EXPECT_EQ(color(f, r, colStatus), RejectedColor) << c.name << " row " << r;
            }
        }
    }
    EXPECT_EQ(write(f).right(2), QStringLiteral(":3"));
    EXPECT_EQ(readings(), 0);
}

TEST_F(ImportWindowTest, ClosingRemembersTheFileName)
{
    auto& f = open();
    f.txtImportFileName->setText(QStringLiteral("  short.csv "));
    EXPECT_TRUE(f.Unload());
    EXPECT_EQ(value(QStringLiteral("select ImportFileName from application")).toString(), QStringLiteral("short.csv"));

    auto& g = open();
    EXPECT_EQ(g.txtImportFileName->text(), QStringLiteral("short.csv"));
    const QString longName = QStringLiteral("/home/someone/Documents/health/readings-2031.csv");
    // Told once, when chosen: choosing it again and closing say nothing more.
    for (int i = 0; i < 2; ++i) {
        services().fileDialogs().Choose(longName);
        if (i == 0)
            answer(vb::vbOK);
        g.cmdImportFile_Click();
    }
    ASSERT_EQ(messages().Log().size(), 1u);
    EXPECT_NE(lastBox().text.indexOf(longName), -1);
    EXPECT_TRUE(lastBox().text.contains(QStringLiteral("longer than 30 characters")));
    EXPECT_TRUE(g.Unload());
    EXPECT_EQ(messages().Log().size(), 1u);
    EXPECT_EQ(value(QStringLiteral("select ImportFileName from application")).toString(), QStringLiteral("short.csv"));
}

TEST_F(ImportWindowTest, LineEndsOfEveryKindAndAcrossReadChunks)
{
    // One line longer than the reader's chunk puts a CR LF across two chunks.
    const QByteArray longLine(1 << 20, 'x');
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"LF", "a\nb", {"a", "b"}},
        {"CR", "a\rb\r", {"a", "b"}},
        {"mixed, blank lines count", "a\r\rb\n\nc\r\n\r\n", {"a", "", "b", "", "c", ""}},
        {"mark dropped, windows-1252", "\xEF\xBB\xBF\xE9\r\x80", {"\u00E9", "\u20AC"}},
        {"CR LF across chunks", longLine.left((1 << 20) - 1) + "\r\nz", {QString(longLine.left((1 << 20) - 1)), "z"}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        QBuffer buffer;
        buffer.setData(c.bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        const auto shape = ScanFile(buffer);
        ASSERT_TRUE(shape) << c.name;
        EXPECT_EQ(shape->lines, c.lines.size()) << c.name;
        QStringList lines;
        EXPECT_TRUE(ReadLines(buffer, *shape, [&lines](const QString& line) { lines << line; })) << c.name;
        EXPECT_EQ(lines, c.lines) << c.name;
    }

    // Through the window, a file of CR-only lines fills a row a line.
    auto& f = open();
    load(f, "1/5/2031 8:00 AM,120,80\r1/6/2031 8:00 AM,121,81\r");
    EXPECT_EQ(f.vsFGImport->TextMatrix(2, colHighBP), QStringLiteral("121"));
    EXPECT_EQ(f.StatusBar1->currentMessage(), QStringLiteral("Loaded lines 2"));
}

TEST_F(ImportWindowTest, AFileThatCannotBeLoadedWholeLoadsNothingAndWritesNothing)
{
    const QByteArray five = "1/5/2031 8:00 AM,120,80\r\n1/6/2031 8:00 AM,121,81\r\n1/7/2031 8:00 AM,122,82\r\n"
                            "1/8/2031 8:00 AM,123,83\r\n1/9/2031 8:00 AM,124,84\r\n";
    struct Case {
        const char* name;
        bool tooManyLines;        // more lines than the window may load
        bool memoryRunsOutAtRow3; // an allocation fails part-way
        const char* said;
    } cases[] = {
        {"too many lines", true, false, "The file has 5 lines; at most 4 lines can be loaded"},
        {"out of memory", false, true, "There is not enough memory to load the whole file (5 lines)"},
    };
    for (const Case& c : cases) {
        auto& f = open();
        load(f, "1/1/2031 8:00 AM,110,70\r\n", QStringLiteral("earlier.csv"));
        f.setMaxLines(c.tooManyLines ? 4 : 1000);
        QMetaObject::Connection failing;
        if (c.memoryRunsOutAtRow3)
            failing = QObject::connect(f.vsFGImport, &VSFlexGrid::CellChanged, [](int row, int) {
                if (row == 3)
                    throw std::bad_alloc();
            });
        answer(vb::vbOK);
        load(f, five);
        QObject::disconnect(failing);
        EXPECT_TRUE(lastBox().text.startsWith(QLatin1String(c.said))) << c.name << ": " << lastBox().text.toStdString();
        EXPECT_TRUE(lastBox().text.endsWith(QStringLiteral("Nothing was loaded."))) << c.name;
        EXPECT_EQ(f.vsFGImport->Rows(), 1) << c.name << ": neither the earlier file nor part of this one stays";
        EXPECT_EQ(f.StatusBar1->currentMessage(), QStringLiteral("The file was not loaded")) << c.name;
        EXPECT_TRUE(f.frmeValidate->isHidden()) << c.name;

        EXPECT_EQ(write(f), QStringLiteral(" Data load is successfull. The statistics are as follows:\r\n"
                                           "      Rows loaded (shown in green):0\r\n"
                                           "      Rows updated (shown in yellow):0\r\n"
                                           "      Rows rejected (shown in red):0"))
            << c.name;
        EXPECT_EQ(readings(), 0) << c.name;
        f.txtImportFileName->clear(); // a long name would be told about at close
        f.Unload();
    }
}

TEST_F(ImportWindowTest, ALongCellIsDrawnCutAndKeptWhole)
{
    auto& f = open();
    const QString comment(5'000'000, u'c');
    load(f, "1/5/2031 8:00 AM,120,80,,,,,,,,," + comment.toLatin1() + "\r\n");
    VSFlexGrid& g = *f.vsFGImport;
    EXPECT_EQ(g.TextMatrix(1, colComment), comment);
    EXPECT_EQ(color(f, 1, colComment), RejectedColor);
    const QString shown = g.model()->data(g.model()->index(0, colComment - 1)).toString();
    EXPECT_LT(shown.size(), 5000);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_TRUE(comment.startsWith(shown.chopped(1)));
    // Short cells, a multi-byte one among them, are drawn whole.
    g.setTextMatrix(1, colMood, QStringLiteral("Zoë"));
    EXPECT_EQ(g.model()->data(g.model()->index(0, colMood - 1)).toString(), QStringLiteral("Zoë"));
    EXPECT_EQ(g.TextMatrix(1, colComment), comment) << "a write to another cell keeps the long one";
}

TEST_F(ImportWindowTest, ANewLoadClearsTheErrorBox)
{
    auto& f = open();
    load(f, "not a date,1\r\n");
    EXPECT_FALSE(f.txtError->toPlainText().isEmpty());
    load(f, "1/5/2031 8:00 AM,120,80\r\n", QStringLiteral("good.csv"));
    EXPECT_TRUE(f.txtError->toPlainText().isEmpty());
}

TEST_F(ImportWindowTest, OpensWithinTheScreen)
{
    auto& f = open();
    f.show();
    const QRect area = f.screen()->availableGeometry();
    EXPECT_LE(f.frameGeometry().height(), area.height());
    EXPECT_LE(f.frameGeometry().width(), area.width());
    EXPECT_TRUE(area.contains(f.frameGeometry())) << area.height();
}

TEST_F(ImportWindowTest, ErrorPanelExpandsAndRestores)
{
    auto& f = open();
    f.resize(1100, 760);
    f.cmdArrows_Click();
    EXPECT_TRUE(f.Expanded());
    EXPECT_TRUE(f.cmdLoadTemplateToGrid->isHidden());
    EXPECT_TRUE(f.cboPerson->isHidden());
    EXPECT_FALSE(f.txtError->isHidden());
    EXPECT_LT(f.txtError->y(), 20);
    EXPECT_GT(f.vsFGImport->y(), f.txtError->y() + f.txtError->height());
    f.cmdArrows_Click();
    EXPECT_FALSE(f.Expanded());
    EXPECT_FALSE(f.cmdLoadTemplateToGrid->isHidden());
    EXPECT_FALSE(f.frmeValidate->isHidden()) << "restoring shows both filter frames";
    EXPECT_FALSE(f.frmeLoad->isHidden());
    EXPECT_GT(f.txtError->y(), 300);
}

TEST_F(ImportWindowTest, ALongLoadOrWriteLetsMessagesRunCountsItsRowsAndDropsTheUsersInput)
{
    auto& f = open();
    f.setMessagePace(0); // let messages run at every row, so that three rows are a long file
    f.show();
    // A click on "Generate the Template", waiting in the queue as the user's input does.
    auto click = [button = f.cmdGenerateTemplate] {
        const QPointF at = button->rect().center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QCoreApplication::postEvent(button, new QMouseEvent(type, at, button->mapToGlobal(at), Qt::LeftButton, held, {}));
        }
    };
    const struct {
        const char* clickedAt; // the status at which the click is made
        const char* counted;   // a count the status shows later on
    } cases[] = {
        {"Loading line 1", "Loading line 3"},
        {"Written 1 of 3 rows", "Written 3 of 3 rows; updating the averages ..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clickedAt);
        QStringList shown;
        QString statusWhenMessagesRan;
        auto shows = QObject::connect(f.StatusBar1, &QStatusBar::messageChanged, [&](const QString& text) {
            shown << text;
            if (text != QLatin1String(c.clickedAt))
                return;
            click();
            QMetaObject::invokeMethod(
                f.StatusBar1, [&] { statusWhenMessagesRan = f.StatusBar1->currentMessage(); }, Qt::QueuedConnection);
        });
        if (&c == cases)
            load(f, "1/5/2031 8:00 AM,120,80\r\n1/6/2031 8:00 AM,121,81\r\n1/7/2031 8:00 AM,122,82\r\n", QStringLiteral("r.csv"));
        else
            write(f);
        QObject::disconnect(shows);
        QCoreApplication::processEvents();
        EXPECT_EQ(statusWhenMessagesRan, QLatin1String(c.clickedAt)) << "messages ran during the work";
        EXPECT_TRUE(shown.contains(QLatin1String(c.counted))) << shown.join(u'|').toStdString();
        EXPECT_TRUE(services().shell().Calls().empty()) << "the click made meanwhile was dropped";
    }
    EXPECT_EQ(readings(), 3);
    // Afterwards a click is the user's again.
    answer(vb::vbOK); // the template's name is too long to be remembered
    click();
    QCoreApplication::processEvents();
    EXPECT_EQ(services().shell().Calls().size(), 1u);
}

// The window system's close, delivered wherever the work lets messages run (or as it ends), waits
// for the load or write to end and is then honoured.
TEST_F(ImportWindowTest, AWindowCloseDuringALoadOrWriteWaitsForItsEnd)
{
    const QByteArray lines = "1/5/2031 8:00 AM,120,80\r\n1/6/2031 8:00 AM,121,81\r\n";
    for (const char* closedAt : {"Loading line 1", "Written 2 of 2 rows; updating the averages ..."}) {
        SCOPED_TRACE(closedAt);
        auto& f = open();
        f.setMessagePace(0);
        QString statusAtUnload = QStringLiteral("<still loaded>");
        QObject::connect(&f, &vb::Form::formUnloaded, [&] { statusAtUnload = f.StatusBar1->currentMessage(); });
        QObject::connect(f.StatusBar1, &QStatusBar::messageChanged, &f, [&f, closedAt](const QString& text) {
            if (text == QLatin1String(closedAt))
                QMetaObject::invokeMethod(
                    &f, [&f] { QCoreApplication::postEvent(&f, new QCloseEvent); }, Qt::QueuedConnection);
        });
        load(f, lines);
        if (closedAt[0] == 'W')
            write(f);
        const QString finalStatus = f.StatusBar1->currentMessage();
        answer(vb::vbOK); // the file's name is too long to be remembered
        QCoreApplication::processEvents();
        EXPECT_EQ(statusAtUnload.toStdString(), finalStatus.toStdString());
    }
    EXPECT_EQ(readings(), 2);
}

// A name in the file finds the stored name that differs only in letter case or normal form.
TEST_F(ImportWindowTest, NamesInTheFileAreFoundWhateverTheirLettersCaseOrForm)
{
    gDB->Execute(QStringLiteral("update regimen set rgmn_nm = 'Café' where rgmn_ky = %1").arg(regimen), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("insert into mood (md_ky, md_nm) values (90, 'Ängstlich')"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("update dbts_goal set gl_nm = 'Straße' where gl_ky = 2"), dao::dbFailOnError);
    const struct {
        const char* line;
        int col, key;
    } cases[] = {{"1/1/2031 8:00 AM,120,80,,,,,,,CAFÉ", colRegimen, regimen},
                 {"1/2/2031 8:00 AM,120,80,,,,,,,cafe\u0301", colRegimen, regimen},
                 {"1/3/2031 8:00 AM,120,80,,,,,,,,ÄNGSTLICH", colMood, 90},
                 {"1/4/2031 8:00 AM,,,,,,,5.5,STRASSE", colGoal, 2}};
    QByteArray file;
    for (const auto& c : cases)
        file += QByteArray(c.line) + "\r\n";
    auto& f = open();
    load(f, file);
    for (int row = 1; const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(f.vsFGImport->TextMatrix(row, KeyColumnOf(c.col)), QString::number(c.key));
        EXPECT_EQ(color(f, row++, colStatus), 0u);
    }
}

TEST_F(ImportWindowTest, AUtf16FileLoadsWholeOrIsRefusedWithTheEncodingsRead)
{
    const QByteArray bytes = QStringEncoder(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom)(
        QStringLiteral("1/5/2031 8:00 AM,120,80,,,,,,,,,caf\u00E9 \U0001F600\r\n"));
    auto& f = open();
    load(f, bytes, QStringLiteral("u16.csv"));
    EXPECT_EQ(f.StatusBar1->currentMessage(), QStringLiteral("Loaded lines 1"));
    EXPECT_EQ(f.vsFGImport->TextMatrix(1, colComment), QStringLiteral("caf\u00E9 \U0001F600"));
    EXPECT_NE(color(f, 1, colStatus), RejectedColor);
    answer(vb::vbOK);
    load(f, bytes + 'x', QStringLiteral("u16.csv")); // ends in the middle of a character
    EXPECT_TRUE(lastBox().text.contains(EncodingsRead())) << lastBox().text.toStdString();
    EXPECT_TRUE(lastBox().text.endsWith(QStringLiteral("Nothing was loaded.")));
    EXPECT_EQ(f.vsFGImport->Rows(), 1);
}

TEST_F(ImportWindowTest, ALongFileNameIsToldOnceHoweverItCameIn)
{
    const QString longName = QStringLiteral("/home/someone/Documents/health/readings-2031.csv");
    for (const bool chosen : {false, true}) {
        SCOPED_TRACE(chosen ? "chosen in the dialog" : "typed");
        gDB->Execute(QStringLiteral("update application set ImportFileName = 'short.csv'"));
        messages().Clear();
        auto& f = open();
        answer(vb::vbOK);
        if (chosen) {
            services().fileDialogs().Choose(longName);
            f.cmdImportFile_Click();
        } else {
            f.txtImportFileName->setText(longName);
        }
        EXPECT_TRUE(f.Unload());
        ASSERT_EQ(messages().Log().size(), 1u);
        EXPECT_TRUE(lastBox().text.contains(longName));
        EXPECT_EQ(value(QStringLiteral("select ImportFileName from application")).toString(), QStringLiteral("short.csv"));
    }
}

} // namespace
