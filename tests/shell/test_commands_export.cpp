// "Export to Web Page Report": the grid of every open data form, each under its title, in one
// page "Report.html" in the program's folder, opened through the shell.
#include "shell/CommandsFixture.h"

#include "charts/frmChart.h"
#include "data/Globals.h"
#include "data/ui/modHTMLhelp.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/ui/MsgBox.h"
#include "records/frmDSetGoal.h"
#include "records/frmMeasure.h"
#include "reports/GridExport.h"
#include "reports/clsWebReportGenerator.h"
#include "reports/frmGrid.h"
#include "reports/frmReportDoctor.h"
#include "shell/mdiHealth.h"
#include "shell/modMaintenance.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBrowser>

namespace {

using testing_shell::CommandsFixture;
using testing_shell::PlainForm;

// A loaded form of the given name holding a small grid of the given name: a fixed row and
// column, then one row of two cells.
class GridForm : public PlainForm {
public:
    GridForm(const QString& formName, const QString& gridName, const QString& cell) : PlainForm(formName)
    {
        grid = new VSFlexGrid(this);
        grid->setObjectName(gridName);
        grid->setFormatString(QStringLiteral("|Name|Detail"));
        grid->setRows(2);
        grid->setTextMatrix(1, 1, cell);
        grid->setTextMatrix(1, 2, QStringLiteral("detail"));
    }
    VSFlexGrid* grid;
};

// Stands for Qt's own opening, which says only that the desktop's opener started.
class StartedOpener : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& /*url*/) {}
};

class ExportTest : public CommandsFixture {
protected:
    QString reportPath() const { return programPath(QStringLiteral("Report.html")); }
    QByteArray page() const { return readFile(reportPath()); }

    // The table titles of a page, in order.
    static QStringList titles(const QByteArray& html)
    {
        QStringList out;
        static const QRegularExpression title(QStringLiteral("Class='TableHeader2' colspan='\\d+'>(.*)</TD>"));
        auto it = title.globalMatch(QString::fromLatin1(html));
        while (it.hasNext())
            out << it.next().captured(1);
        return out;
    }

    GridForm* openGridForm(const QString& formName, const QString& gridName, const QString& cell = QStringLiteral("cell"))
    {
        auto* form = makeForm<GridForm>(formName, gridName, cell);
        form->Load();
        return form;
    }

    mdiHealth& main() { return vb::defaultInstance<mdiHealth>(); }
};

TEST_F(ExportTest, PageHoldsTheOpenFormsGridsUnderTheirTitlesAndIsOpened)
{
    gPersonKey = samplePerson;
    auto& grid = vb::defaultInstance<frmGrid>();
    grid.Load();
    grid.ShownPlotType = 2;
    openGridForm(QStringLiteral("frmDSetGoal"), QStringLiteral("vsFGDSetGoal"), QStringLiteral("Fasting"));
    openGridForm(QStringLiteral("frmMemo"), QStringLiteral("vsFGMemo")); // not a data form: passed over

    main().mnuExportHTML_Click();

    const QByteArray html = page();
    EXPECT_EQ(
        (QStringList{QStringLiteral("Weekly average measurement reading for Pellam Ostry"), QStringLiteral("Diabetes Goal")}),
        titles(html));
    EXPECT_TRUE(html.contains("Fasting"));
    EXPECT_TRUE(html.startsWith("<!DOCTYPE html"));
    EXPECT_TRUE(html.endsWith("</body>\r\n</html>\r\n"));
    ASSERT_EQ(1u, services().shell().Calls().size());
    EXPECT_EQ(QStringLiteral("file"), services().shell().Calls()[0].verb);
    EXPECT_EQ(reportPath(), services().shell().Calls()[0].target);
    EXPECT_TRUE(messages().Log().empty());
}

TEST_F(ExportTest, TheMeasurementScreenWithItsGoalFormGivesTheirTwoTables)
{
    gPersonKey = samplePerson;
    mdiHealth& window = main();
    window.Load(); // opens the Measurement screen for the sample person
    auto* measure = vb::Forms().Find<frmMeasure>(QStringLiteral("frmMeasure"));
    ASSERT_NE(nullptr, measure);
    measure->cmdSetGoal_Click();
    ASSERT_NE(nullptr, vb::Forms().Find<frmDSetGoal>(QStringLiteral("frmDSetGoal")));

    window.mnuExportHTML_Click();

    const QByteArray html = page();
    EXPECT_EQ((QStringList{QStringLiteral("Measurement Reading for Pellam Ostry"), QStringLiteral("Diabetes Goal")}),
              titles(html));
    // Every reading of the person is a row of the first table, after its title and header rows.
    const QByteArray measurements = html.left(html.indexOf("<TABLE", html.indexOf("<TABLE") + 1));
    EXPECT_EQ(count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1").arg(samplePerson)) + 2,
              measurements.count("<TR "));
    EXPECT_EQ(1u, services().shell().Calls().size());
    EXPECT_TRUE(messages().Log().empty());
}

TEST_F(ExportTest, EachFormHasItsTitleAndTheGridFormsFollowsTheLevelShown)
{
    gPersonKey = samplePerson;
    const struct {
        const char* form;
        const char* grid;
        const char* title;
    } forms[] = {
        {"frmMeasure", "vsFGInfo", "Measurement Reading for Pellam Ostry"},
        {"frmRegimen", "vsFGRegimen", "Regimen"},
        {"frmPerson", "vsFGPerson", "Person"},
        {"frmDSetGoal", "vsFGDSetGoal", "Diabetes Goal"},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE(f.form);
        GridForm* form = openGridForm(QLatin1String(f.form), QLatin1String(f.grid));
        clsWebReportGenerator report;
        main().ExportActiveGridToWebReport(report);
        report.SaveToFile(reportPath());
        EXPECT_EQ(QStringList{QLatin1String(f.title)}, titles(page()));
        form->Unload();
    }

    const char* levels[] = {"Daily measurement reading for Pellam Ostry", "Daily average measurement reading for Pellam Ostry",
                            "Weekly average measurement reading for Pellam Ostry",
                            "Monthly average measurement reading for Pellam Ostry", ""};
    auto& grid = vb::defaultInstance<frmGrid>();
    grid.Load();
    for (int level = 0; level <= 4; ++level) {
        SCOPED_TRACE(level);
        grid.ShownPlotType = static_cast<qint16>(level);
        clsWebReportGenerator report;
        main().ExportActiveGridToWebReport(report);
        report.SaveToFile(reportPath());
        EXPECT_EQ(QStringList{QLatin1String(levels[level])}, titles(page()));
    }
    grid.Unload();

    auto& chart = vb::defaultInstance<frmChart>();
    chart.Load();
    clsWebReportGenerator report;
    main().ExportActiveGridToWebReport(report);
    report.SaveToFile(reportPath());
    EXPECT_EQ(QStringList{QStringLiteral("Regimen Used in the Measurements")}, titles(page()));
}

TEST_F(ExportTest, WithoutACurrentPersonThePersonsTitlesAreEmpty)
{
    openGridForm(QStringLiteral("frmMeasure"), QStringLiteral("vsFGInfo"));
    // The grid view makes a listed person current when it loads; the person is taken away after.
    vb::defaultInstance<frmGrid>().Load();
    const QString shown = gridexport::PersonName(gPersonKey);
    gPersonKey = 0;
    EXPECT_EQ(QString(), main().GetCurrentPersonName());
    openGridForm(QStringLiteral("frmRegimen"), QStringLiteral("vsFGRegimen"));
    main().mnuExportHTML_Click();
    // The grid view's table still holds the rows of the person it showed, and names them.
    EXPECT_EQ((QStringList{QString(), QStringLiteral("Daily measurement reading for ") + shown, QStringLiteral("Regimen")}),
              titles(page()));

    gPersonKey = -1;
    EXPECT_EQ(QString(), main().GetCurrentPersonName());
}

TEST_F(ExportTest, ThePersonsNameIsEscapedAndWrittenAsTheCharsetThePageDeclares)
{
    gDB->Execute(QStringLiteral("update PERSON set PRSN_NM = 'Zo\u00EB <B> & \u540D' where PRSN_KY = %1").arg(samplePerson));
    gPersonKey = samplePerson;
    openGridForm(QStringLiteral("frmMeasure"), QStringLiteral("vsFGInfo"), QStringLiteral("x<y"));
    main().mnuExportHTML_Click();
    const QByteArray html = page();
    EXPECT_TRUE(html.contains("Measurement Reading for Zo\xEB &lt;B&gt; &amp; &#21517;</TD>")) << html.constData();
    EXPECT_TRUE(html.contains("x&lt;y"));
    EXPECT_FALSE(html.contains("<B> &"));
}

TEST_F(ExportTest, OldChartPicturesGoAndWithNoFormOpenThePageIsEmpty)
{
    writeFile(programPath(QStringLiteral("temp/1.jpeg")), "old chart");
    writeFile(programPath(QStringLiteral("temp/2.jpeg")), "old chart");
    writeFile(programPath(QStringLiteral("temp/keep.txt")), "not a chart");
    writeFile(reportPath(), "an earlier page");

    main().mnuExportHTML_Click();

    EXPECT_FALSE(QFileInfo::exists(programPath(QStringLiteral("temp/1.jpeg"))));
    EXPECT_FALSE(QFileInfo::exists(programPath(QStringLiteral("temp/2.jpeg"))));
    EXPECT_TRUE(QFileInfo::exists(programPath(QStringLiteral("temp/keep.txt"))));
    const QByteArray html = page();
    EXPECT_TRUE(titles(html).isEmpty());
    EXPECT_TRUE(html.endsWith("<body>\r\n\r\n</body>\r\n</html>\r\n"));
    EXPECT_EQ(1u, services().shell().Calls().size());

    // No temp folder at all is no error either.
    QDir(programPath(QStringLiteral("temp"))).removeRecursively();
    main().mnuExportHTML_Click();
    EXPECT_EQ(2u, services().shell().Calls().size());
    EXPECT_TRUE(messages().Log().empty());
}

TEST_F(ExportTest, GoalExportTakesOnlyTheGoalForm)
{
    gPersonKey = samplePerson;
    openGridForm(QStringLiteral("frmPerson"), QStringLiteral("vsFGPerson"));
    openGridForm(QStringLiteral("frmDSetGoal"), QStringLiteral("vsFGDSetGoal"));
    clsWebReportGenerator report;
    main().ExportGoalGridToWebReport(report);
    report.SaveToFile(reportPath());
    EXPECT_EQ(QStringList{QStringLiteral("Diabetes Goal")}, titles(page()));
}

TEST_F(ExportTest, FailuresAreReportedAndTheProgramGoesOn)
{
    // A data form without its grid: the conversion stops with the export's message.
    auto* broken = makeForm<PlainForm>(QStringLiteral("frmRegimen"));
    broken->Load();
    answer(vb::vbOK);
    main().mnuExportHTML_Click();
    EXPECT_TRUE(messages().Last().text.startsWith(QStringLiteral("DoHTMLReport: ")));
    EXPECT_EQ(QStringLiteral("424"), messages().Last().title);
    EXPECT_EQ(0, messages().Last().icon);
    EXPECT_EQ(1u, services().shell().Calls().size()); // the page is still written and opened
    broken->Unload();

    // A page that cannot be written: reported, nothing opened.
    QFile::remove(reportPath());
    QDir().mkpath(reportPath());
    answer(vb::vbOK);
    main().mnuExportHTML_Click();
    EXPECT_TRUE(messages().Last().text.startsWith(QStringLiteral("DoHTMLReport: ")));
    EXPECT_EQ(1u, services().shell().Calls().size());
    QDir(reportPath()).removeRecursively();

    // A desktop that cannot open the page: told so.
    services().shell().setResult(false);
    answer(vb::vbOK);
    main().mnuExportHTML_Click();
    EXPECT_EQ(services::NotOpenedText(services::OpenTarget::Page, reportPath()), messages().Last().text);
    EXPECT_EQ(vb::vbExclamation, messages().Last().icon);
}

TEST_F(ExportTest, WhatTheDesktopCannotOpenIsNamedSoTheUserCanOpenItByHand)
{
    // A desktop whose opener finds no program for anything, as one without a browser or file
    // manager: xdg-open ends with its "no method available" status.
    const QString bin = programPath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    ASSERT_TRUE(testing_files::writeBytes(bin + QStringLiteral("/xdg-open"), "#!/bin/sh\nexit 3\n") &&
                QFile::setPermissions(bin + QStringLiteral("/xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit() + ':' + path);
    StartedOpener started;
    for (const char* scheme : {"file", "https"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &started, "open");
    services::Current().shell = std::make_shared<services::DesktopShell>();
    const auto help = std::make_shared<services::HelpWindowViewer>();
    services::Current().help = help;

    using services::OpenTarget;
    const struct {
        const char* command;
        std::function<void()> run;
        OpenTarget kind;
        QString named;
    } cases[] = {
        {"report for the doctor",
         [] {
             auto& report = vb::defaultInstance<frmReportDoctor>();
             report.setGoalFormMaker([] { return static_cast<vb::FormBase*>(&vb::defaultInstance<frmDSetGoal>()); });
             report.Load();
             report.cmdShow_Click();
         },
         OpenTarget::Page, programPath(QStringLiteral("ReportForDoctor.html"))},
        {"web page export", [this] { main().mnuExportHTML_Click(); }, OpenTarget::Page, reportPath()},
        {"goal page", [] { vb::defaultInstance<frmDSetGoal>().cmdExport_Click(); }, OpenTarget::Page,
         programPath(QStringLiteral("DiabetesGoals.html"))},
        {"a help page's outside link",
         [&] {
             modHTMLhelp::ShowHelp(QStringLiteral("frmPerson"));
             emit help->Browser()->anchorClicked(QUrl(QStringLiteral("https://example.org/blood-pressure")));
         },
         OpenTarget::Address, QStringLiteral("https://example.org/blood-pressure")},
        {"database directory", [] { modMaintenance::ShowDatabaseFolder(); }, OpenTarget::Folder,
         programPath(QStringLiteral("database"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        messages().Clear();
        if (c.kind == OpenTarget::Folder)
            answer(vb::vbYes); // the command asks first
        answer(vb::vbOK);
        c.run();
        const QString text = messages().Log().empty() ? QString() : messages().Last().text;
        EXPECT_TRUE(text.contains(QStringLiteral("could not be opened")) && text.contains(QDir::toNativeSeparators(c.named)))
            << text.toStdString();
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    qputenv("PATH", path);
    for (const char* scheme : {"file", "https"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}

} // namespace

#include "test_commands_export.moc"
