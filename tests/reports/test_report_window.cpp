// "Report for Doctor": the window's lists and boxes, and the whole report it writes: status and
// progress, chart images over two reports, the order of the page's sections, a page compared
// byte for byte, and the user's data form put back after success and after a failure.
#include "reports/GridFixture.h"

#include "charts/clsTChartInterface.h"
#include "charts/frmChart.h"
#include "data/clsDataService.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"
#include "records/frmDSetGoal.h"
#include "reports/clsWebReportGenerator.h"
#include "reports/frmGrid.h"
#include "reports/frmReportDoctor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeySequence>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>

namespace {

using testing_reports::at;
using testing_reports::GridFixture;
using testing_reports::Reading;

class ReportWindowTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        gHeightUnit = 1;
        // Only the test's own person has readings.
        gDB->Execute(QStringLiteral("delete from MEASURE"));
        gDB->Execute(QStringLiteral("update Application set TempLBL = 'Custom1', Temp1LBL = 'Custom2', TempUnit = 'F', "
                                    "Temp1Unit = '%', Temp2Unit = 'mg/dl'"));
        addRegimen(QStringLiteral("Walk"), QStringLiteral("30 minutes a day"));
        addGoal(QStringLiteral("Fasting"), 80, 120, 70, 140);
        person = addPerson(QStringLiteral("Ann"));
        gDB->Execute(QStringLiteral("update PERSON set AGE = 41, HGT = 66, SEX = 'F' where PRSN_KY = %1").arg(person));
        // Three months of readings.
        const std::array<QDateTime, 4> days = {at(2007, 4, 10), at(2007, 5, 3), at(2007, 6, 1), at(2007, 6, 15, 19, 30)};
        int i = 0;
        for (const QDateTime& when : days) {
            Reading r(when, 120 + 10 * i, 80 + i, 70 - i, 150 - i);
            r.sugar = 100 + i;
            r.goal = QStringLiteral("Fasting");
            r.regimen = QStringLiteral("Walk");
            r.comment = QStringLiteral("note ") + QString::number(i);
            add(person, r);
            ++i;
        }
        gPersonKey = person;
    }

    frmReportDoctor& openReport()
    {
        auto& report = vb::defaultInstance<frmReportDoctor>();
        report.setGoalFormMaker([] { return static_cast<vb::FormBase*>(&vb::defaultInstance<frmDSetGoal>()); });
        report.Load();
        return report;
    }

    QString pagePath() const { return App::Path() + QStringLiteral("/ReportForDoctor.html"); }
    QString page() const
    {
        QFile file(pagePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }
    QStringList images() const
    {
        QStringList names = QDir(App::Path() + QStringLiteral("/temp")).entryList({QStringLiteral("*.jpeg")}, QDir::Files);
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return a.section(u'.', 0, 0).toInt() < b.section(u'.', 0, 0).toInt();
        });
        return names;
    }
    static bool loaded(const char* name) { return vb::Forms().Find(QLatin1String(name)) != nullptr; }
    static void tickPlots(frmReportDoctor& report, std::initializer_list<int> plots)
    {
        for (int i = 0; i < 7; ++i)
            report.chkFact[static_cast<std::size_t>(i)]->setChecked(std::find(plots.begin(), plots.end(), i) != plots.end());
    }

    qint32 person = 0;
};

// ---------------------------------------------------------------------------------------------
// The window

TEST_F(ReportWindowTest, LoadFillsTheListsBoxesAndCaptions)
{
    frmReportDoctor& report = openReport();
    EXPECT_EQ(QStringLiteral("Report for Doctor"), report.windowTitle());
    ASSERT_EQ(1, report.cboPerson->count());
    EXPECT_EQ(QStringLiteral("Ann"), report.cboPerson->currentText());
    QStringList categories;
    for (int i = 0; i < report.lstPlotType->count(); ++i)
        categories << report.lstPlotType->item(i)->text();
    EXPECT_EQ((QStringList{"Daily", "Day Average", "Weekly Average", "Monthly Average"}), categories);
    EXPECT_EQ(0, report.lstPlotType->currentRow());
    EXPECT_EQ(7, report.lstSelectPeriod->count());
    EXPECT_EQ(QStringLiteral("Last 1 Month"), report.lstSelectPeriod->currentItem()->text());

    struct Box {
        QCheckBox* box;
        const char* caption;
        bool checked;
    };
    const Box boxes[] = {
        {report.chkBP, "Blood Pressure", true},   {report.chkTemp, "Custom1", true},
        {report.chkTemp1, "Custom2", true},       {report.chkCmmnt, "Comment", true},
        {report.chkSugarColor, "Sugar", true},    {report.chkBPColor, "Blood Pressure", true},
        {report.chkIncludeChart, "Charts", true}, {report.chkFact[0], "Blood Pressure", true},
        {report.chkFact[1], "Pulse", false},      {report.chkFact[2], "Weight", true},
        {report.chkFact[3], "Custom1", false},    {report.chkFact[4], "Custom2", false},
        {report.chkFact[6], "Multiple", false},
    };
    for (const Box& b : boxes) {
        EXPECT_EQ(QLatin1String(b.caption), b.box->text()) << b.box->objectName().toStdString();
        EXPECT_EQ(b.checked, b.box->isChecked()) << b.box->objectName().toStdString();
    }
    EXPECT_EQ(QStringLiteral("&Go"), report.cmdShow->text());
    EXPECT_FALSE(report.ProgressBar1->isVisibleTo(&report));
    EXPECT_EQ(0, report.ChartImageNumber);
}

TEST_F(ReportWindowTest, ChartsBoxEnablesThePlotBoxesAndLeavesTheirValues)
{
    frmReportDoctor& report = openReport();
    for (const bool on : {false, true, false}) {
        report.chkIncludeChart->setChecked(on);
        report.chkIncludeChart_Click();
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(on, report.chkFact[static_cast<std::size_t>(i)]->isEnabled()) << i;
            EXPECT_EQ(i == 0 || i == 2, report.chkFact[static_cast<std::size_t>(i)]->isChecked()) << i;
        }
    }
}

TEST_F(ReportWindowTest, ThePersonChosenBecomesTheCurrentPerson)
{
    const qint32 bo = addPerson(QStringLiteral("Bo"));
    add(bo, Reading(at(2007, 6, 1), 110, 70));
    const qint32 zed = addPerson(QStringLiteral("Zed")); // no readings: not listed
    gPersonKey = zed;
    frmReportDoctor& report = openReport();
    EXPECT_EQ((QStringList{"Ann", "Bo"}), (QStringList{report.cboPerson->itemText(0), report.cboPerson->itemText(1)}));
    EXPECT_EQ(2, report.cboPerson->count());
    // Not among them: the first is chosen and becomes current.
    EXPECT_EQ(0, report.cboPerson->currentIndex());
    EXPECT_EQ(person, gPersonKey);
    report.cboPerson->setCurrentIndex(1);
    report.cboPerson_Click();
    EXPECT_EQ(bo, gPersonKey);
}

TEST_F(ReportWindowTest, GoIsRefusedWhenNoPersonHasReadings)
{
    gDB->Execute(QStringLiteral("delete from MEASURE"));
    const qint32 before = gPersonKey;
    frmReportDoctor& report = openReport();
    EXPECT_EQ(0, report.cboPerson->count());
    EXPECT_EQ(before, gPersonKey);
    boxes().Answer(vb::vbOK);
    report.cmdShow_Click();
    EXPECT_EQ(QStringLiteral("No person has measurements to report on."), boxes().Last().text);
    EXPECT_FALSE(QFile::exists(pagePath()));
    EXPECT_TRUE(services().shell().Calls().empty());
}

// ---------------------------------------------------------------------------------------------
// The pipeline

TEST_F(ReportWindowTest, StatusTextsAndProgressComeInOrder)
{
    struct Case {
        bool charts;
        QStringList progress;
    };
    const Case cases[] = {
        {true, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},
        // Without charts the bar goes from 3 to 5.
        {false, {"0", "1", "2", "3", "5", "6", "7", "8", "9", "10", "11", "12"}},
    };
    for (const Case& c : cases) {
        frmReportDoctor& report = openReport();
        report.chkIncludeChart->setChecked(c.charts);
        const std::size_t shellCalls = services().shell().Calls().size();
        QStringList texts;
        QStringList values;
        bool goEnabledDuringRun = false;
        bool closedDuringRun = false;
        auto a = QObject::connect(report.StatusBar1, &QStatusBar::messageChanged, [&](const QString& text) {
            if (!text.isEmpty())
                texts << text;
            goEnabledDuringRun = goEnabledDuringRun || report.cmdShow->isEnabled();
        });
        auto b = QObject::connect(report.ProgressBar1, &QProgressBar::valueChanged,
                                  [&](int value) { values << QString::number(value); });
        // A click on "&Go" or closing the window while the report runs does nothing.
        auto d = QObject::connect(report.StatusBar1, &QStatusBar::messageChanged, [&](const QString& text) {
            if (text == QLatin1String("Creating footnote ...")) {
                report.cmdShow_Click();
                closedDuringRun = report.Unload();
            }
        });
        report.cmdShow_Click();
        QObject::disconnect(a);
        QObject::disconnect(b);
        QObject::disconnect(d);

        QStringList expected{"Getting Person Information ...", "Capturing current screen configuration ...",
                             "Creating table for measurements ..."};
        if (c.charts)
            expected << "Creating Charts ..."
                     << "Creating Charts - " + QString::number(report.ChartImageNumber - 1) + " ... "
                     << "Creating Charts - " + QString::number(report.ChartImageNumber) + " ... "
                     << "Getting Charts ...";
        expected << "Creating Table for Measurements ..."
                 << "Creating BP range color table ..."
                 << "Creating Color - BP Range Information ..."
                 << "Creating Diabetes Goals table ..."
                 << "Creating regiment table ..."
                 << "Creating Regimen Information ..."
                 << "Creating footnote ..."
                 << "Saving the report to a file ..."
                 << "Report Consolidation ..."
                 << "Displaying the report ..."
                 << "Restoring the screen configuration ...";
        EXPECT_EQ(expected, texts) << c.charts;
        EXPECT_EQ(c.progress, values) << c.charts;
        EXPECT_FALSE(goEnabledDuringRun);
        EXPECT_FALSE(closedDuringRun);
        EXPECT_TRUE(report.cmdShow->isEnabled());
        EXPECT_FALSE(report.ProgressBar1->isVisibleTo(&report));
        EXPECT_TRUE(report.StatusBar1->currentMessage().isEmpty());
        ASSERT_EQ(shellCalls + 1, services().shell().Calls().size());
        EXPECT_EQ(pagePath(), services().shell().Calls().back().target);
        EXPECT_EQ(QStringLiteral("file"), services().shell().Calls().back().verb);
        // The windows the report drove are gone.
        for (const char* name : {"frmChart", "frmGrid", "frmDSetGoal"})
            EXPECT_FALSE(loaded(name)) << name;
        report.Unload();
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ReportWindowTest, ChartImagesAreNumberedOnAcrossReportsOfOneOpening)
{
    // An image of an earlier run that is not ours to keep.
    QDir().mkpath(App::Path() + QStringLiteral("/temp"));
    QFile stale(App::Path() + QStringLiteral("/temp/99.jpeg"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    frmReportDoctor& report = openReport();
    report.lstSelectPeriod->setCurrentRow(2); // "Last 3 Months": April, May, June
    tickPlots(report, {0, 2});
    struct Run {
        QStringList files;
        int firstImage;
    };
    const Run runs[] = {
        {{"1.jpeg", "2.jpeg", "3.jpeg", "4.jpeg", "5.jpeg", "6.jpeg"}, 1},
        {{"7.jpeg", "8.jpeg", "9.jpeg", "10.jpeg", "11.jpeg", "12.jpeg"}, 7},
    };
    for (const Run& run : runs) {
        report.cmdShow_Click();
        EXPECT_EQ(run.files, images());
        const QString html = page();
        EXPECT_EQ(3, html.count(QStringLiteral("<table border='1' width='10'>")));
        for (int n = run.firstImage; n < run.firstImage + 6; ++n)
            EXPECT_TRUE(html.contains(QStringLiteral("<img src='temp/%1.jpeg'").arg(n))) << n;
        EXPECT_FALSE(html.contains(QStringLiteral("temp/%1.jpeg").arg(run.firstImage + 6)));
        const QImage image(App::Path() + QStringLiteral("/temp/") + run.files.first());
        EXPECT_EQ(QSize(700, 300), image.size());
    }
    EXPECT_EQ(12, report.ChartImageNumber);

    // No plot ticked: one empty table per month, no image.
    tickPlots(report, {});
    report.cmdShow_Click();
    EXPECT_TRUE(images().isEmpty());
    const QString html = page();
    EXPECT_EQ(3, html.count(QStringLiteral("<table border='1' width='10'><tr><td> \r\n</td></tr></table>")));
    EXPECT_EQ(12, report.ChartImageNumber);
}

TEST_F(ReportWindowTest, ThePageHoldsItsSectionsInOrder)
{
    frmReportDoctor& report = openReport();
    report.cmdShow_Click();
    const QString html = page();
    const char* const sections[] = {
        "Report for the period June, 2007 through June, 2007",
        "<p class='NoteStyle'>",
        "Patient Name:",
        "Summary of measurements during reporting period",
        "<img src='temp/1.jpeg'",
        "<img src='temp/2.jpeg'",
        "Daily measurement reading for Ann",
        "Color Code used in Chart and Table for Blood Pressue",
        "Diabetes Goal",
        "Regimen Used in the Measurements",
        "Note for Doctor",
        "Disclaimer:",
    };
    qsizetype last = -1;
    for (const char* section : sections) {
        const qsizetype at = html.indexOf(QLatin1String(section));
        EXPECT_GT(at, last) << section;
        last = at;
    }
    // The regimen table comes once, the goal table once.
    EXPECT_EQ(1, html.count(QStringLiteral("Regimen Used in the Measurements")));
    EXPECT_EQ(1, html.count(QStringLiteral(">Diabetes Goal<")));
}

TEST_F(ReportWindowTest, DataTextsAreEscapedAndAPersonWithoutHeightGetsNoBmi)
{
    gDB->Execute(QStringLiteral("update PERSON set PRSN_NM = ?, HGT = Null where PRSN_KY = ?"),
                 dao::Params{QStringLiteral("<Ann & \"Zo\u00eb\">"), person});
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'T<1>'"));
    frmReportDoctor& report = openReport();
    report.chkIncludeChart->setChecked(false);
    boxes().Answer(vb::vbOK); // the calculator's refusal
    report.cmdShow_Click();
    const QString html = page();
    EXPECT_TRUE(html.contains(QStringLiteral("<td width='325'>&lt;Ann &amp; \"Zo\xEB\"&gt;</td>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Daily measurement reading for &lt;Ann &amp; \"Zo\xEB\"&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td width='30%'>T&lt;1&gt; (F)</td>")));
    EXPECT_FALSE(html.contains(QStringLiteral("<Ann")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>BMI:</td>\r\n<td>Unknown</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>Height:</td>\r\n<td>Unknown</td>")));
    ASSERT_FALSE(boxes().Log().empty());
    EXPECT_EQ(1u, services().shell().Calls().size());
}

TEST_F(ReportWindowTest, AnotherPersonChosenIsThePersonOfEverySection)
{
    const qint32 bo = addPerson(QStringLiteral("Bo"));
    Reading r(at(2008, 2, 3), 111, 71);
    r.regimen = QStringLiteral("Walk");
    add(bo, r);
    frmReportDoctor& report = openReport();
    report.cboPerson->setCurrentIndex(report.cboPerson->findData(bo));
    report.cboPerson_Click();
    report.chkIncludeChart->setChecked(false);
    boxes().Answer(vb::vbOK); // Bo has no height: the calculator refuses
    report.cmdShow_Click();
    const QString html = page();
    for (const char* text : {"Report for the period February, 2008 through February, 2008", "<td width='325'>Bo</td>",
                             "111 as on Feb. 03, 08", "Daily measurement reading for Bo"})
        EXPECT_TRUE(html.contains(QLatin1String(text))) << text;
    EXPECT_FALSE(html.contains(QStringLiteral("Ann")));
    EXPECT_EQ(bo, gPersonKey);
    EXPECT_EQ(1u, boxes().Log().size());
}

// The page of a tiny fixture, charts off, byte for byte but for the grid's pixel widths, which
// follow the fonts of the machine.
TEST_F(ReportWindowTest, PageMatchesTheGoldenFile)
{
    frmReportDoctor& report = openReport();
    report.lstSelectPeriod->setCurrentRow(0); // "All Period"
    report.chkIncludeChart->setChecked(false);
    report.cmdShow_Click();
    QFile written(pagePath());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    const QString goldenPath =
        QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/golden/report_for_doctor.html");
    if (qEnvironmentVariableIsSet("RAVEL_WRITE_GOLDEN")) {
        QFile out(goldenPath);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QFile golden(goldenPath);
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << goldenPath.toStdString();
    const auto withoutPixelWidths = [](QByteArray page) {
        return QString::fromLatin1(page).replace(QRegularExpression(QStringLiteral("width='\\d+'")), QStringLiteral("width='#'"));
    };
    EXPECT_EQ(withoutPixelWidths(golden.readAll()), withoutPixelWidths(bytes));
    EXPECT_TRUE(images().isEmpty());
}

// What a printed page needs: headings that repeat on every page, a long word that wraps inside
// its cell, a note that closes its font, and a legend whose bands are the colours' own.
TEST_F(ReportWindowTest, PrintedPageRepeatsHeadingsWrapsLongWordsClosesFontsAndStatesTheColouredBands)
{
    Reading r(at(2007, 6, 20), 125, 80);
    r.comment = QString(100, u'w');
    add(person, r);
    frmReportDoctor& report = openReport();
    report.chkIncludeChart->setChecked(false);
    report.cmdShow_Click();
    const QString html = page();
    const auto has = [&html](const char* pattern) { return html.contains(QRegularExpression(QLatin1String(pattern))); };
    // The legend names the bands from the first readings the colour function paints yellow and red.
    const QString legend = html.section(QStringLiteral("<table width='538'>"), 1).section(QStringLiteral("</table>"), 0, 0);
    bool bandsAgree = true;
    for (bool high : {false, true}) {
        int yellow = 0, red = 0;
        for (int v = 300; v >= 0; --v) {
            yellow = clsTChartInterface::BpColorCode(float(v), high) != clsTChartInterface::BpGreen ? v : yellow;
            red = clsTChartInterface::BpColorCode(float(v), high) == clsTChartInterface::BpRed ? v : red;
        }
        for (const QString& band : {QStringLiteral(">&lt; %1<").arg(yellow),
                                    QStringLiteral(">%1 to %2<").arg(yellow).arg(red - 1), QStringLiteral(">&gt;= %1<").arg(red)})
            bandsAgree &= legend.contains(band);
    }
    const std::pair<const char*, bool> cases[] = {
        {"title and headings in the head",
         has("(?s)<THEAD>((?!</THEAD>).)*High BP((?!</TR>).)*</TR>\\r\\n</THEAD>\\r\\n<TBODY>")},
        {"the long word may break", has("STYLE='overflow-wrap:anywhere;word-break:break-word' > w{100}</TD>")},
        {"short texts kept whole", !has("overflow-wrap:anywhere[^>]*> (note|Walk)")},
        {"every font closed", html.count(QStringLiteral("<font")) == html.count(QStringLiteral("</font>"))},
        {"legend bands as coloured", bandsAgree},
    };
    for (const auto& [what, holds] : cases)
        EXPECT_TRUE(holds) << what;
}

// ---------------------------------------------------------------------------------------------
// Failures and the user's form

TEST_F(ReportWindowTest, TheUsersFormComesBackAfterSuccessAndAfterAFailure)
{
    enum class Fault { None, TempIsAFile, PageIsAFolder, BrowserFails };
    struct Case {
        Fault fault;
        const char* message; // start of the message shown, "" for none
        bool pageWritten;
    };
    const Case cases[] = {
        {Fault::None, "", true},
        {Fault::TempIsAFile, "The report for the doctor could not be made:\r\nPath/File access error: cannot create the folder",
         false},
        {Fault::PageIsAFolder, "The report for the doctor could not be made:\r\nPath/File access error: cannot write the page",
         false},
        {Fault::BrowserFails, "The page could not be opened:", true},
    };
    for (const Case& c : cases) {
        // The user's grid view, on weekly averages over all the period, without the comment.
        frmGrid& user = vb::defaultInstance<frmGrid>();
        user.Show();
        user.lstPlotType->setCurrentRow(2);
        user.lstSelectPeriod->setCurrentRow(0);
        user.chkCmmnt->setChecked(false);
        user.cmdShow_Click();

        QFile::remove(pagePath());
        QDir(App::Path() + QStringLiteral("/temp")).removeRecursively();
        QFile::remove(App::Path() + QStringLiteral("/temp"));
        QDir(pagePath()).removeRecursively();
        if (c.fault == Fault::TempIsAFile) {
            QFile file(App::Path() + QStringLiteral("/temp"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        } else if (c.fault == Fault::PageIsAFolder) {
            QDir().mkpath(pagePath());
        }
        services().shell().setResult(c.fault != Fault::BrowserFails);
        boxes().Clear();
        if (*c.message)
            boxes().Answer(vb::vbOK);

        frmReportDoctor& report = openReport();
        const std::size_t shellCalls = services().shell().Calls().size();
        report.cmdShow_Click();

        const char* name = *c.message ? c.message : "(none)";
        if (*c.message) {
            ASSERT_EQ(1u, boxes().Log().size()) << name;
            EXPECT_TRUE(boxes().Last().text.startsWith(QString::fromLatin1(c.message))) << boxes().Last().text.toStdString();
        } else {
            EXPECT_TRUE(boxes().Log().empty());
        }
        EXPECT_EQ(c.pageWritten, QFileInfo(pagePath()).isFile()) << name;
        EXPECT_EQ(shellCalls + (c.pageWritten ? 1u : 0u), services().shell().Calls().size()) << name;

        auto* back = vb::Forms().Find<frmGrid>(QStringLiteral("frmGrid"));
        ASSERT_NE(nullptr, back) << name;
        EXPECT_EQ(2, back->lstPlotType->currentRow()) << name;
        EXPECT_EQ(0, back->lstSelectPeriod->currentRow()) << name;
        EXPECT_FALSE(back->chkCmmnt->isChecked()) << name;
        EXPECT_TRUE(back->chkBP->isChecked()) << name;
        for (const char* driven : {"frmChart", "frmDSetGoal"})
            EXPECT_FALSE(loaded(driven)) << driven << " " << name;
        EXPECT_FALSE(report.ProgressBar1->isVisibleTo(&report)) << name;
        EXPECT_TRUE(report.cmdShow->isEnabled()) << name;
        EXPECT_FALSE(report.Running()) << name;

        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QFile::remove(App::Path() + QStringLiteral("/temp"));
    QDir(pagePath()).removeRecursively();
}

TEST_F(ReportWindowTest, EveryDataFormTheReportClosedComesBack)
{
    for (vb::FormBase* form : {static_cast<vb::FormBase*>(&vb::defaultInstance<frmDSetGoal>()),
                               static_cast<vb::FormBase*>(&vb::defaultInstance<frmGrid>())})
        form->Show();
    frmReportDoctor& report = openReport();
    report.chkIncludeChart->setChecked(false);
    report.cmdShow_Click();
    EXPECT_TRUE(boxes().Log().empty());
    QStringList back;
    for (vb::FormBase* form : vb::Forms().Snapshot())
        back << form->Name();
    EXPECT_EQ((QStringList{"frmReportDoctor", "frmDSetGoal", "frmGrid"}), back);
    // The goal table went into the page once, from the goal window the report drove.
    EXPECT_EQ(1, page().count(QStringLiteral(">Diabetes Goal<")));
}

TEST_F(ReportWindowTest, ClicksOnGoMadeWhileTheReportRunsAreDroppedNotDeliveredAfter)
{
    frmReportDoctor& report = openReport();
    report.chkIncludeChart->setChecked(false);
    report.show();
    // A double-click, waiting in the queue as the window's input does while the report runs.
    auto doubleClick = [go = report.cmdShow] {
        const QPointF at = go->rect().center();
        using E = QEvent;
        for (const E::Type type : {E::MouseButtonPress, E::MouseButtonRelease, E::MouseButtonDblClick, E::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == E::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QCoreApplication::postEvent(go, new QMouseEvent(type, at, go->mapToGlobal(at), Qt::LeftButton, held, {}));
        }
    };
    const std::size_t before = services().shell().Calls().size();
    auto c = QObject::connect(report.StatusBar1, &QStatusBar::messageChanged, [&](const QString& text) {
        if (text == QLatin1String("Restoring the screen configuration ..."))
            doubleClick();
    });
    report.cmdShow_Click();
    QObject::disconnect(c);
    QCoreApplication::processEvents();
    EXPECT_EQ(before + 1, services().shell().Calls().size());
    // Afterwards the first click is the user's again; the second, made while it runs, is not.
    doubleClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(before + 2, services().shell().Calls().size());
}

TEST_F(ReportWindowTest, LabelsHoldingAnAmpersandShowAsTypedOnEveryBox)
{
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temp<&>'"));
    frmReportDoctor& report = openReport();
    auto& chart = vb::defaultInstance<frmChart>();
    chart.Load();
    auto& grid = vb::defaultInstance<frmGrid>();
    grid.Load();
    for (QAbstractButton* box :
         std::initializer_list<QAbstractButton*>{report.chkTemp, report.chkFact[3], chart.optFact[3], grid.chkTemp}) {
        EXPECT_TRUE(QKeySequence::mnemonic(box->text()).isEmpty()) << box->objectName().toStdString();
        EXPECT_EQ(QStringLiteral("Temp<&>"), box->text().replace(QStringLiteral("&&"), QStringLiteral("&")));
    }
}

} // namespace
