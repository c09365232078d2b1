// The grid view's fixed-width text export: the file byte for byte, the padding rules, and what
// happens when the dialog is cancelled or the file cannot be written.
#include "reports/GridFixture.h"

#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/ui/MsgBox.h"
#include "reports/GridExport.h"
#include "reports/clsWebReportGenerator.h"
#include "reports/frmGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>

#include <algorithm>
#include <vector>

namespace {

using testing_reports::at;
using testing_reports::GridFixture;
using testing_reports::Reading;

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class GridExportTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        addRegimen(QStringLiteral("Walk"), QStringLiteral("Brisk walk"));
        addRegimen(QStringLiteral("Unused"), QStringLiteral("never named"));
        person = addPerson(QStringLiteral("Ada"));
        gPersonKey = person;
        Reading first{at(2024, 3, 1, 8), 128, 82, 70, 150.0};
        first.regimen = QStringLiteral("Walk");
        Reading second{at(2024, 3, 2, 19, 5), 132, 86, 101, 151.0};
        add(person, first);
        add(person, second);
    }

    frmGrid& openGrid(int category, const std::vector<QCheckBox * frmGrid::*>& ticked)
    {
        auto& grid = vb::defaultInstance<frmGrid>();
        grid.Load();
        grid.lstPlotType->setCurrentRow(category);
        grid.lstSelectPeriod->setCurrentRow(0);
        for (QCheckBox* frmGrid::*box :
             {&frmGrid::chkBP, &frmGrid::chkPLSE, &frmGrid::chkWt, &frmGrid::chkTemp, &frmGrid::chkTemp1, &frmGrid::chkSugar,
              &frmGrid::chkRegimen, &frmGrid::chkMood, &frmGrid::chkCmmnt})
            (grid.*box)->setChecked(std::find(ticked.begin(), ticked.end(), box) != ticked.end());
        grid.cmdShow_Click();
        return grid;
    }

    // Exports to the file, answering the dialog and the closing message.
    QByteArray exportTo(frmGrid& grid, const QString& path)
    {
        services().fileDialogs().Choose(path);
        boxes().Answer(vb::vbOK);
        grid.cmdExport_Click();
        return readFile(path);
    }

    QString userFile(const char* name) const { return programFolder() + QStringLiteral("/User/") + QLatin1String(name); }

    qint32 person = 0;
};

TEST_F(GridExportTest, DailyFileHasTheRegimenBlockHeaderUnderlineAndPaddedFields)
{
    frmGrid& grid = openGrid(0, {&frmGrid::chkBP, &frmGrid::chkPLSE, &frmGrid::chkRegimen});
    const QByteArray file = exportTo(grid, userFile("daily.txt"));
    const QByteArray expected = "\r\n"
                                "\r\n"
                                "Number of Regimen used: 1\r\n"
                                "  Walk      : Brisk walk\r\n"
                                "\r\n"
                                "Date (mm/dd/yy)Time        High BP   Low BP    Pulse (/min)Regimen     \r\n"
                                "-------------  ----        -------   ------    ----------- -------     \r\n"
                                "03/01/24       08:00 AM      128       82          70      Walk        \r\n"
                                "03/02/24       07:05 PM      132       86         101                  \r\n";
    EXPECT_EQ(expected, file);

    // The dialog and the closing message as the export asks for them.
    ASSERT_EQ(1u, services().fileDialogs().Calls().size());
    const auto& request = services().fileDialogs().Calls()[0].request;
    EXPECT_TRUE(services().fileDialogs().Calls()[0].save);
    EXPECT_EQ(programFolder() + QStringLiteral("/User"), request.initialFolder);
    EXPECT_EQ(QStringLiteral(".txt"), request.defaultExtension);
    EXPECT_EQ(QStringLiteral("Text Files (*.txt)|*.txt"), request.filter);
    EXPECT_TRUE(request.overwritePrompt);
    ASSERT_EQ(1u, boxes().Log().size());
    EXPECT_EQ(QStringLiteral(" is successfully exported as file:\r\n") + QDir::toNativeSeparators(userFile("daily.txt")),
              boxes().Log()[0].text);
    EXPECT_EQ(vb::vbInformation, boxes().Log()[0].icon);
    EXPECT_EQ(QStringLiteral("Export measurement data"), boxes().Log()[0].title);
}

TEST_F(GridExportTest, WeeklyAverageFileHasNoRegimenBlockAndOneLinePerWeek)
{
    frmGrid& grid = openGrid(2, {&frmGrid::chkBP, &frmGrid::chkWt});
    const QByteArray expected = "\r\n"
                                "\r\n"
                                "Date (mm/dd/yy)High BP   Low BP    Weight (lb) \r\n"
                                "-------------  -------   ------    ----------  \r\n"
                                "03/03/24         130       84        150.5     \r\n";
    EXPECT_EQ(expected, exportTo(grid, userFile("weekly.txt")));
}

TEST_F(GridExportTest, EveryShownFieldIsWrittenWhole)
{
    gDB->Execute(QStringLiteral("delete from MEASURE"));
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temperature1', TempUnit = 'F'"));
    gDB->Execute(QStringLiteral("update REGIMEN set RGMN_DTL = 'Walk \"fast\" <daily> caf\u00E9 \u540D' where RGMN_NM = 'Walk'"));
    Reading r{at(2024, 3, 1, 8), 128, 82};
    r.weight = 1234567.5;
    r.temp = 98.6;
    r.regimen = QStringLiteral("Walk");
    r.comment = QStringLiteral("A comment longer than twelve characters, with \u00E9 and \u540D");
    add(person, r);
    frmGrid& grid = openGrid(0, {&frmGrid::chkWt, &frmGrid::chkTemp, &frmGrid::chkCmmnt});
    const QByteArray file = exportTo(grid, userFile("whole.txt"));
    EXPECT_TRUE(file.contains("  Walk      : Walk \"fast\" <daily> caf\u00E9 \u540D\r\n"));
    // A heading wider than its column widens it.
    EXPECT_TRUE(file.contains("Date (mm/dd/yy)Time        Weight (lb) Temperature1 (F) Comment     \r\n")) << file.toStdString();
    // The weight is wider than its column and keeps every digit, and the columns after it stay
    // in line; the long comment is written whole.
    EXPECT_TRUE(
        file.contains("03/01/24       08:00 AM    1234567.5           98.6     A comment longer than twelve characters, with "
                      "\u00E9 and \u540D \r\n"))
        << file.toStdString();
}

// A line break inside a field is written as a blank; text the code page holds whole is written
// in it as ever, other text as UTF-8 after a byte order mark.
TEST_F(GridExportTest, OneLinePerRecordAndNoCharacterLost)
{
    const struct {
        const char *comment, *written; // UTF-8
        bool utf8;
    } cases[] = {
        {"a\r\nb\nc\rd", "a b c d", false},
        {"a\u2028b\u2029c\u0085d\te\vf", "a b c d e f", false},
        {"caf\u00E9 \u20AC", "caf\u00E9 \u20AC", false},
        {"\u263A \u8840\u538B \u2192\r\n\U0001F600", "\u263A \u8840\u538B \u2192 \U0001F600", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comment);
        gDB->Execute(QStringLiteral("delete from MEASURE"));
        Reading r{at(2024, 3, 1, 8), 128, 82};
        r.comment = QString::fromUtf8(c.comment);
        add(person, r);
        const QByteArray file = exportTo(openGrid(0, {&frmGrid::chkCmmnt}), userFile("lines.txt"));
        const QString written = QString::fromUtf8(c.written);
        EXPECT_EQ(c.utf8, file.startsWith("\xEF\xBB\xBF"));
        // Regimen block, header, underline and the one record: seven lines, no other break.
        EXPECT_EQ(7, file.count("\r\n"));
        EXPECT_EQ(7, file.count('\n') + file.count('\r') - 7);
        EXPECT_TRUE(file.trimmed().endsWith(c.utf8 ? written.toUtf8() : toWindows1252Text(written))) << file.toStdString();
    }
}

TEST_F(GridExportTest, ColumnFormatsUnderlinesAndPaddingFollowTheTable)
{
    auto& grid = vb::defaultInstance<frmGrid>();
    const struct {
        const char* header;
        const char* cell;
        const char* underline;
        const char* value;
        const char* padded;
    } cases[] = {
        {"Date (mm/dd/yy)", "Date (mm/dd/yy)", "-------------  ", "03/01/24", "03/01/24       "},
        {" High BP", " High BP  ", "-------   ", "128", "  128     "},
        {"Low BP", "Low BP    ", "------    ", "82", "  82      "},
        {"Pulse (/min)", "Pulse (/min)", "----------- ", "70", "    70      "},
        {"Weight (lb)", "Weight (lb) ", "----------  ", "150.5", "  150.5     "},
        {" Temp (F) ", "Temp (F)    ", "---------   ", "98.6", "   98.6     "},
        {"Regimen", "Regimen     ", "-------     ", "Walk", "Walk        "},
        {"Mood", "Mood        ", "----", "Happy", "Happy       "},
        // Wider than the column: written whole, one blank after it.
        {"High BP", "High BP   ", "-------   ", "12345678901", "12345678901 "},
        {"Pulse", "Pulse       ", "----------- ", "1234567", "1234567     "},
        {"Mood", "Mood        ", "----", "Thirteen char", "Thirteen char "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        const int index = QLatin1String(c.header).startsWith(QLatin1String("Date")) ? 0 : 1;
        EXPECT_EQ(QLatin1String(c.cell), grid.SetExportColumnFormat(index, QLatin1String(c.header)));
        EXPECT_EQ(QLatin1String(c.underline), frmGrid::ExportUnderline(index, QLatin1String(c.header)));
        EXPECT_EQ(QLatin1String(c.padded), grid.PadExportField(QLatin1String(c.value), index));
    }
    // A header that matches no row leaves the entry as it was.
    grid.SetExportColumnFormat(1, QStringLiteral("Low BP"));
    EXPECT_EQ(QString(), grid.SetExportColumnFormat(1, QStringLiteral("low bp")));
    EXPECT_EQ(QString(), frmGrid::ExportUnderline(1, QStringLiteral("Sugar (mg/dl)")));
    EXPECT_EQ(QStringLiteral("  82      "), grid.PadExportField(QStringLiteral("82"), 1));
}

TEST_F(GridExportTest, NoDataCancelAndAnUnwritableFileNeverReportSuccess)
{
    // A grid that never showed anything.
    frmGrid unshown;
    boxes().Answer(vb::vbOK);
    unshown.cmdExport_Click();
    ASSERT_EQ(1u, boxes().Log().size());
    EXPECT_EQ(QStringLiteral("There is no data in the grid to be exported."), boxes().Log()[0].text);
    EXPECT_EQ(vb::vbExclamation, boxes().Log()[0].icon);
    EXPECT_TRUE(services().fileDialogs().Calls().empty());

    frmGrid& grid = openGrid(0, {&frmGrid::chkBP});
    // Cancelled: nothing written, nothing said.
    services().fileDialogs().Cancel();
    grid.cmdExport_Click();
    EXPECT_EQ(1u, boxes().Log().size());
    EXPECT_TRUE(QDir(programFolder() + QStringLiteral("/User")).isEmpty());

    // A file that cannot be written (its folder is a file): the user is told, and no success.
    const QString notAFolder = programFolder() + QStringLiteral("/notAFolder");
    {
        QFile blocker(notAFolder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.write("plain file");
    }
    services().fileDialogs().Choose(notAFolder + QStringLiteral("/data.txt"));
    boxes().Answer(vb::vbOK);
    grid.cmdExport_Click();
    EXPECT_EQ(QByteArray("plain file"), readFile(notAFolder));
    ASSERT_EQ(2u, boxes().Log().size());
    EXPECT_TRUE(boxes().Log()[1].text.startsWith(QStringLiteral("The data could not be exported to the file:\r\n")));
    EXPECT_EQ(vb::vbExclamation, boxes().Log()[1].icon);
    EXPECT_EQ(QStringLiteral("Export measurement data"), boxes().Log()[1].title);
}

TEST_F(GridExportTest, BothExportsDescribeThePersonOfTheTableShownNotOneChosenSince)
{
    addRegimen(QStringLiteral("Laps"), QStringLiteral("In the pool"));
    const qint32 other = addPerson(QStringLiteral("Bea"));
    Reading theirs{at(2024, 3, 5, 9), 140, 90};
    theirs.regimen = QStringLiteral("Laps");
    add(other, theirs);
    frmGrid& grid = openGrid(0, {&frmGrid::chkBP});
    grid.cboPerson->setCurrentIndex(grid.cboPerson->findData(other)); // chosen, not shown
    ASSERT_EQ(other, gPersonKey);
    const QByteArray file = exportTo(grid, userFile("shown.txt"));
    EXPECT_TRUE(file.contains("\r\n  Walk      : Brisk walk\r\n")) << file.toStdString();
    EXPECT_FALSE(file.contains("Laps"));
    clsWebReportGenerator page;
    gridexport::ExportFormGridToWebReport(page, QStringLiteral("frmGrid"));
    page.SaveToFile(programFolder() + QStringLiteral("/Report.html"));
    EXPECT_TRUE(readFile(page.FileName()).contains("'>Daily measurement reading for Ada</TD>"));
}

TEST_F(GridExportTest, EveryRowLinesUpUnderItsHeaderWhateverTheGoalNamesLength)
{
    gDB->Execute(QStringLiteral("delete from MEASURE"));
    // 4 characters, and 25, the longest a goal name can be.
    const QStringList goals{QStringLiteral("Meal"), QStringLiteral("Two hours after breakfast")};
    for (int i = 0; i < goals.size(); ++i) {
        addGoal(goals[i], 80, 120, 70, 140);
        Reading r{at(2024, 3, i + 1)};
        r.sugar = 99.5;
        r.goal = goals[i];
        r.regimen = QStringLiteral("Walk");
        add(person, r);
    }
    frmGrid& grid = openGrid(0, {&frmGrid::chkSugar, &frmGrid::chkRegimen});
    const QStringList lines = QString::fromLatin1(exportTo(grid, userFile("goals.txt"))).split(QStringLiteral("\r\n"));
    // Regimen block, header, underline, two rows and the last line end.
    ASSERT_EQ(10, lines.size());
    const qsizetype regimen = lines[5].indexOf(QStringLiteral("Regimen"));
    EXPECT_EQ(QStringLiteral(" -------"), lines[6].mid(regimen - 1, 8));
    for (int row = 7; row < 9; ++row)
        EXPECT_EQ(regimen, lines[row].indexOf(QStringLiteral("Walk"))) << lines[row].toStdString();
}

} // namespace
