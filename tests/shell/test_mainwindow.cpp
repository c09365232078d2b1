// The main window: its menus and toolbar, the openers with their preconditions, the menu item
// and button of the open data form, the closing and fitting of child forms, the memo commands
// and the window list.
#include "shell/ShellFixture.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"
#include "records/frmMeasure.h"
#include "reports/frmReportDoctor.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QIcon>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolBar>

#include <functional>

namespace {

using testing_shell::ShellFixture;

const QString crlf = QStringLiteral("\r\n");

const QString noPersonText = QStringLiteral("There is no person listed in database.") + crlf +
                             QStringLiteral("You need to add a person from Person Information screen.");
const QString noMeasurementChartText = QStringLiteral("There is no measurement for any person in database.") + crlf +
                                       QStringLiteral("You need to add a measurement from the Measurement Entry screen.");
const QString noMeasurementGridText = QStringLiteral("There is no measurement for any person in database.") + crlf +
                                      QStringLiteral("You need to add a measurement from Measurement Entry screen.");

// A form of the test's own, loaded beside the program's.
class PlainForm : public vb::Form {
public:
    PlainForm(const QString& name, bool mdiChild, bool refuseUnload = false) : vb::Form(name), refuseUnload_(refuseUnload)
    {
        setMDIChild(mdiChild);
        resize(200, 120);
    }

protected:
    void Form_QueryUnload(int& cancel, int /*unloadMode*/) override { cancel = refuseUnload_ ? 1 : 0; }

private:
    bool refuseUnload_;
};

class MainWindowTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        startProgram();
        ASSERT_NE(nullptr, mainWindow());
        mdi = mainWindow();
    }

    // A form of the test's own, shown; deleted with its window.
    PlainForm& showPlainForm(const QString& name, bool mdiChild, bool refuseUnload = false)
    {
        auto* form = new PlainForm(name, mdiChild, refuseUnload);
        form->Show();
        return *form;
    }

    QMdiSubWindow* subWindowOf(const QString& name)
    {
        vb::FormBase* form = vb::Forms().Find(name);
        return form ? qobject_cast<QMdiSubWindow*>(form->Window()) : nullptr;
    }

    // The five data forms, each with how the main window opens it and its menu item and button.
    struct Opener {
        const char* form;
        std::function<void()> open;
        QAction* item;
        int button;
    };
    std::vector<Opener> dataFormOpeners() const
    {
        mdiHealth& window = *mdi;
        return {
            {"frmPerson", [&window] { window.mnuPerson_Click(); }, mdi->mnuPerson, 1},
            {"frmRegimen", [&window] { window.mnuRegimen_Click(); }, mdi->mnuRegimen, 2},
            {"frmMeasure", [&window] { window.mnuMeasure_Click(); }, mdi->mnuMeasure, 3},
            {"frmChart", [&window] { window.mnuChart_Click(); }, mdi->mnuChart, 5},
            {"frmGrid", [&window] { window.mnuGrid_Click(); }, mdi->mnuGrid, 6},
        };
    }

    mdiHealth* mdi = nullptr;
};

// A main window over a database without persons (no sample files).
class EmptyDatabaseTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        startProgramWithoutSamples();
        ASSERT_NE(nullptr, mainWindow());
        mdi = mainWindow();
    }
    mdiHealth* mdi = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Menus and toolbar

TEST_F(MainWindowTest, MenusCarryTheirCaptionsShortcutsAndStartStates)
{
    EXPECT_EQ(QStringLiteral("Ravelcombrick"), mdi->windowTitle());
    const std::pair<QMenu*, QString> menus[] = {
        {mdi->mnuFile, QStringLiteral("&File")},   {mdi->mnuEntry, QStringLiteral("&Entry")},
        {mdi->mnuView, QStringLiteral("&View")},   {mdi->mnuReport, QStringLiteral("Reports")},
        {mdi->mnuMemo, QStringLiteral("&Memo")},   {mdi->mnuUtilities, QStringLiteral("&Health-Utilites")},
        {mdi->mnuTools, QStringLiteral("&Tools")}, {mdi->mnuWindow, QStringLiteral("&Window")},
        {mdi->mnuHelp, QStringLiteral("&Help")},
    };
    for (const auto& [menu, caption] : menus)
        EXPECT_EQ(caption, menu->title());

    const std::tuple<QAction*, QString, QKeySequence> items[] = {
        {mdi->mnuPerson, QStringLiteral("&Person"), QKeySequence(QStringLiteral("Ctrl+P"))},
        {mdi->mnuRegimen, QStringLiteral("&Regimen"), QKeySequence(QStringLiteral("Ctrl+R"))},
        {mdi->mnuMeasure, QStringLiteral("&Measurement"), QKeySequence(QStringLiteral("Ctrl+M"))},
        {mdi->mnuReportForDoctor, QStringLiteral("Report for Doctor"), QKeySequence(QStringLiteral("Ctrl+D"))},
        {mdi->mnuMemoOpen, QStringLiteral("&Open"), QKeySequence(QStringLiteral("Ctrl+O"))},
        {mdi->mnuMemoSave, QStringLiteral("Sa&ve"), QKeySequence(QStringLiteral("Ctrl+S"))},
        {mdi->mnuBMI, QStringLiteral("BMI Calculator"), QKeySequence(QStringLiteral("Ctrl+B"))},
        {mdi->mnuFC, QStringLiteral("Fahrenheit Centigrade Calcualtor"), QKeySequence()},
        {mdi->mnuChart, QStringLiteral("&Chart of Measurements"), QKeySequence()},
        {mdi->mnuGrid, QStringLiteral("&Browse Measurements"), QKeySequence()},
        {mdi->mnuAbout, QStringLiteral("&About Ravelcombrick Software..."), QKeySequence()},
    };
    for (const auto& [item, caption, shortcut] : items) {
        SCOPED_TRACE(caption.toStdString());
        EXPECT_EQ(caption, item->text());
        EXPECT_EQ(shortcut, item->shortcut());
    }

    // Hidden items are not in their menus; the hidden "Print Chart" starts disabled.
    EXPECT_FALSE(mdi->mnuFile->actions().contains(mdi->mnuPrint));
    EXPECT_FALSE(mdi->mnuPrint->isEnabled());
    EXPECT_FALSE(mdi->mnuEntry->actions().contains(mdi->mnuImportMeasurements));
    EXPECT_FALSE(mdi->mnuEntry->actions().contains(mdi->mnuDash12));
    EXPECT_TRUE(mdi->mnuEntry->actions().contains(mdi->mnuChngeCustomLblUnt));
    EXPECT_TRUE(mdi->mnuTools->actions().contains(mdi->mnuDatabase->menuAction()));
    EXPECT_TRUE(mdi->mnuDatabase->actions().contains(mdi->mnuCompactDB));
    // Memo: open on, save and exit off.
    EXPECT_TRUE(mdi->mnuMemoOpen->isEnabled());
    EXPECT_FALSE(mdi->mnuMemoSave->isEnabled());
    EXPECT_FALSE(mdi->mnuMemoExit->isEnabled());
}

TEST_F(MainWindowTest, ToolbarButtonsStandAtTheirPositionsWithKeysAndTooltips)
{
    const std::tuple<int, QString, QString> buttons[] = {
        {1, QStringLiteral("Person"), QStringLiteral("Add/Edit Person Information")},
        {2, QStringLiteral("Regimen"), QStringLiteral("Add/Edit Regimen Information")},
        {3, QStringLiteral("Measure"), QStringLiteral("Enter the Measurements")},
        {5, QStringLiteral("Chart"), QStringLiteral("Visualize the Data with Charts")},
        {6, QStringLiteral("Grid"), QStringLiteral("Browse Measurements")},
    };
    for (const auto& [position, key, toolTip] : buttons) {
        QAction* button = mdi->Toolbar1Button(position);
        ASSERT_NE(nullptr, button);
        EXPECT_EQ(key, mdiHealth::ButtonKey(button));
        EXPECT_EQ(toolTip, button->toolTip());
        EXPECT_EQ(button, mdi->Toolbar1Button(key));
    }
    EXPECT_TRUE(mdi->Toolbar1Button(4)->isSeparator());
    EXPECT_EQ(nullptr, mdi->Toolbar1Button(0));
    EXPECT_EQ(nullptr, mdi->Toolbar1Button(99));
    for (const char* key :
         {"ReportForDoctor", "ExportWebPage", "BMI", "WorkWithBiologicalClock", "Memo", "Tip", "Help", "Print", "Exit"}) {
        SCOPED_TRACE(key);
        QAction* button = mdi->Toolbar1Button(QLatin1String(key));
        ASSERT_NE(nullptr, button);
        EXPECT_FALSE(button->icon().isNull());
    }
    EXPECT_EQ(QStringLiteral("Exit Program"), mdi->Toolbar1Button(QStringLiteral("Exit"))->toolTip());
    // The Help button alone has no tooltip.
    EXPECT_EQ(QString(), mdi->Toolbar1Button(QStringLiteral("Help"))->toolTip());
}

TEST_F(MainWindowTest, MenuItemAndItsButtonAreEnabledTogether)
{
    mdi->mnuRegimen->setEnabled(false);
    EXPECT_FALSE(mdi->Toolbar1Button(2)->isEnabled());
    mdi->Toolbar1Button(2)->setEnabled(true);
    EXPECT_TRUE(mdi->mnuRegimen->isEnabled());

    mdi->EnableOpener(QStringLiteral("frmMemo"), false);
    EXPECT_FALSE(mdi->Toolbar1Button(QStringLiteral("Memo"))->isEnabled());
    mdi->EnableOpener(QStringLiteral("frmMemo"), true);
    EXPECT_TRUE(mdi->mnuMemoOpen->isEnabled());

    // The chart's command and "Print Chart" go opposite ways.
    mdi->EnableOpener(QStringLiteral("frmChart"), false);
    EXPECT_FALSE(mdi->Toolbar1Button(5)->isEnabled());
    EXPECT_TRUE(mdi->mnuPrint->isEnabled());
    mdi->EnableOpener(QStringLiteral("frmChart"), true);
    EXPECT_TRUE(mdi->mnuChart->isEnabled());
    EXPECT_FALSE(mdi->mnuPrint->isEnabled());
}

TEST_F(MainWindowTest, RegimenButtonTakesOneOfThreePicturesAtRandom)
{
    exitProgram();
    testing_data::copyFolder(testing_data::executableFolder() + QStringLiteral("/images"),
                             programFolder() + QStringLiteral("/images"));
    const std::pair<double, const char*> draws[] = {{0.0, "regimen1.png"}, {0.5, "regimen2.png"}, {0.99, "regimen3.png"}};
    for (const auto& [draw, file] : draws) {
        SCOPED_TRACE(file);
        services().runtime().random().Queue(draw);
        startProgram();
        ASSERT_NE(nullptr, mainWindow());
        const QImage expected =
            QIcon(App::Path() + QStringLiteral("/images/toolbar/") + QLatin1String(file)).pixmap(24, 24).toImage();
        EXPECT_EQ(expected, mainWindow()->Toolbar1Button(2)->icon().pixmap(24, 24).toImage());
        EXPECT_FALSE(expected.isNull());
        exitProgram();
    }
}

// ---------------------------------------------------------------------------------------------
// Openers

TEST_F(EmptyDatabaseTest, MeasurementChartAndGridNeedAPersonThenChartAndGridAMeasurement)
{
    ASSERT_TRUE(isLoaded(QStringLiteral("frmPerson")));
    mdiHealth& window = *mdi;
    const std::function<void()> openers[] = {[&] { window.mnuMeasure_Click(); }, [&] { window.mnuChart_Click(); },
                                             [&] { window.mnuGrid_Click(); }};
    for (const auto& opener : openers) {
        answer(vb::vbOK);
        opener();
        ASSERT_FALSE(boxLog().empty());
        EXPECT_EQ(noPersonText, boxLog().back().text);
        EXPECT_EQ(vb::vbExclamation, boxLog().back().icon);
        EXPECT_EQ(vb::vbOKOnly, boxLog().back().buttons);
        EXPECT_EQ(App::Title(), boxLog().back().title);
        // Nothing was closed.
        EXPECT_TRUE(isLoaded(QStringLiteral("frmPerson")));
    }

    gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('Ida Morrow')"), dao::dbFailOnError);
    answer(vb::vbOK);
    mdi->mnuChart_Click();
    EXPECT_EQ(noMeasurementChartText, boxLog().back().text);
    answer(vb::vbOK);
    mdi->Toolbar1_ButtonClick(mdi->Toolbar1Button(QStringLiteral("Grid")));
    EXPECT_EQ(noMeasurementGridText, boxLog().back().text);
    EXPECT_EQ(vb::vbExclamation, boxLog().back().icon);
    EXPECT_FALSE(isLoaded(QStringLiteral("frmChart")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmGrid")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmPerson")));
    const size_t boxesSoFar = boxLog().size();

    // A person is enough for the Measurement form, which takes the Person form's place.
    mdi->mnuMeasure_Click();
    EXPECT_EQ(boxesSoFar, boxLog().size());
    EXPECT_TRUE(isLoaded(QStringLiteral("frmMeasure")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmPerson")));
    EXPECT_TRUE(mdi->mnuPerson->isEnabled());
    EXPECT_TRUE(mdi->Toolbar1Button(1)->isEnabled());
    EXPECT_FALSE(mdi->mnuMeasure->isEnabled());

    // And a measurement opens the chart.
    const int person = count(QStringLiteral("select PRSN_KY from PERSON"));
    gDB->Execute(
        QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP, LBP) values (%1, #3/1/2024 8:00 AM#, 120, 80)").arg(person),
        dao::dbFailOnError);
    mdi->mnuChart_Click();
    EXPECT_TRUE(isLoaded(QStringLiteral("frmChart")));
    EXPECT_EQ(boxesSoFar, boxLog().size());
}

TEST_F(MainWindowTest, OpeningTheGridClosesTheChartAndSwapsTheirCommands)
{
    mdi->mnuChart_Click();
    ASSERT_TRUE(isLoaded(QStringLiteral("frmChart")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmMeasure")));
    EXPECT_TRUE(mdi->mnuMeasure->isEnabled());
    EXPECT_TRUE(mdi->Toolbar1Button(3)->isEnabled());
    EXPECT_FALSE(mdi->mnuChart->isEnabled());
    EXPECT_FALSE(mdi->Toolbar1Button(5)->isEnabled());
    EXPECT_TRUE(mdi->mnuPrint->isEnabled());

    mdi->mnuGrid_Click();
    EXPECT_FALSE(isLoaded(QStringLiteral("frmChart")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmGrid")));
    EXPECT_TRUE(mdi->mnuChart->isEnabled());
    EXPECT_TRUE(mdi->Toolbar1Button(5)->isEnabled());
    EXPECT_FALSE(mdi->mnuPrint->isEnabled());
    EXPECT_FALSE(mdi->mnuGrid->isEnabled());
    EXPECT_FALSE(mdi->Toolbar1Button(6)->isEnabled());
    EXPECT_TRUE(boxLog().empty());
}

TEST_F(MainWindowTest, ADataFormClosedByTheUserGivesItsCommandBack)
{
    const std::vector<Opener> openers = dataFormOpeners();
    for (int round = 1; round <= 2; ++round) { // the second time through a new default instance
        for (const Opener& o : openers) {
            SCOPED_TRACE(o.form);
            o.open();
            vb::FormBase* form = vb::Forms().Find(QLatin1String(o.form));
            ASSERT_NE(nullptr, form);
            EXPECT_FALSE(o.item->isEnabled());
            EXPECT_FALSE(mdi->Toolbar1Button(o.button)->isEnabled());
            // The window's own close box, not the main window's commands.
            EXPECT_TRUE(form->Window()->close());
            EXPECT_FALSE(isLoaded(QLatin1String(o.form)));
            EXPECT_TRUE(o.item->isEnabled());
            EXPECT_TRUE(mdi->Toolbar1Button(o.button)->isEnabled());
            EXPECT_FALSE(mdi->mnuPrint->isEnabled());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    EXPECT_TRUE(boxLog().empty());
}

TEST_F(MainWindowTest, AfterAReportTheUsersFormsAreBackWithTheirCommandsOffAsWhenOpenedByHand)
{
    for (const Opener& r : dataFormOpeners()) {
        SCOPED_TRACE(r.form);
        r.open();
        // The goal form beside the Measurement form: both come back, the Measurement's command off.
        if (QLatin1String(r.form) == QLatin1String("frmMeasure"))
            vb::Forms().Find<frmMeasure>(QStringLiteral("frmMeasure"))->cmdSetGoal_Click();
        const QStringList open = loadedForms();
        services().modal().Expect([](vb::FormBase& form) {
            auto& report = dynamic_cast<frmReportDoctor&>(form);
            report.chkIncludeChart->setChecked(false);
            report.cmdShow_Click();
            form.Unload();
        });
        mdi->mnuReportForDoctor_Click();
        EXPECT_EQ(open, loadedForms());
        EXPECT_FALSE(r.item->isEnabled());
        EXPECT_FALSE(mdi->Toolbar1Button(r.button)->isEnabled());
        EXPECT_EQ(QLatin1String(r.form) == QLatin1String("frmChart"), mdi->mnuPrint->isEnabled());
        // Closed again, the form gives its command back.
        mdi->mnuClose_Click();
        EXPECT_TRUE(r.item->isEnabled());
        EXPECT_TRUE(mdi->Toolbar1Button(r.button)->isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(MainWindowTest, ToolbarButtonsOpenWhatTheirMenuItemsOpen)
{
    mdi->Toolbar1_ButtonClick(mdi->Toolbar1Button(QStringLiteral("Regimen")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmRegimen")));
    EXPECT_FALSE(mdi->mnuRegimen->isEnabled());
    mdi->Toolbar1_ButtonClick(mdi->Toolbar1Button(QStringLiteral("Person")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmPerson")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmRegimen")));
    EXPECT_TRUE(mdi->mnuRegimen->isEnabled());
    mdi->Toolbar1_ButtonClick(mdi->Toolbar1Button(QStringLiteral("BMI")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmBMI")));
    mdi->Toolbar1_ButtonClick(mdi->Toolbar1Button(QStringLiteral("WorkWithBiologicalClock")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmBiologicalClockWork")));

    // The report for the doctor and the import are modal.
    services().modal().Expect([](vb::FormBase& form) { form.Unload(); });
    mdi->Toolbar1_ButtonClick(mdi->Toolbar1Button(QStringLiteral("ReportForDoctor")));
    services().modal().Expect([](vb::FormBase& form) { form.Unload(); });
    mdi->mnuImportMeasurements_Click();
    EXPECT_EQ((QStringList{QStringLiteral("frmReportDoctor"), QStringLiteral("frmImportMeasurements")}),
              services().modal().Log());
    EXPECT_FALSE(isLoaded(QStringLiteral("frmReportDoctor")));

    // A key of no button does nothing.
    QAction none;
    none.setData(QStringLiteral(" "));
    const QStringList before = loadedForms();
    mdi->Toolbar1_ButtonClick(&none);
    EXPECT_EQ(before, loadedForms());
}

// ---------------------------------------------------------------------------------------------
// Closing and fitting the child forms

TEST_F(MainWindowTest, CloseLeavesTheMemoAndTwoCalculatorsAndClosesEverythingElse)
{
    mdi->mnuMemoOpen_Click();
    mdi->mnuBMI_Click();
    mdi->mnuWrkBio_Click();
    mdi->mnuFC_Click();
    showPlainForm(QStringLiteral("frmDSetGoal"), true);
    showPlainForm(QStringLiteral("frmOptionTime"), false);
    ASSERT_TRUE(isLoaded(QStringLiteral("frmMeasure")));

    mdi->mnuClose_Click();

    QStringList left = loadedForms();
    left.sort();
    EXPECT_EQ((QStringList{QStringLiteral("frmBMI"), QStringLiteral("frmBiologicalClockWork"), QStringLiteral("frmMemo"),
                           QStringLiteral("mdiHealth")}),
              left);
    EXPECT_TRUE(mdi->mnuMeasure->isEnabled());
    EXPECT_TRUE(mdi->Toolbar1Button(3)->isEnabled());

    // Opening a data form does the same.
    mdi->mnuFC_Click();
    mdi->mnuRegimen_Click();
    EXPECT_FALSE(isLoaded(QStringLiteral("frmCnFConverter")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmBMI")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmMemo")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmRegimen")));
}

TEST_F(MainWindowTest, FormThatRefusesToCloseStaysAndTheOthersStillClose)
{
    showPlainForm(QStringLiteral("frmStubborn"), true, true);
    mdi->mnuFC_Click();
    mdi->ArrangeChildForms(2);
    EXPECT_TRUE(isLoaded(QStringLiteral("frmStubborn")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmCnFConverter")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmMeasure")));
}

TEST_F(MainWindowTest, ResizingFitsTheNonExemptChildFormsToTheClientArea)
{
    mdi->mnuWrkBio_Click();
    QMdiSubWindow* planner = subWindowOf(QStringLiteral("frmBiologicalClockWork"));
    ASSERT_NE(nullptr, planner);
    planner->setGeometry(10, 10, 150, 100);
    QMdiSubWindow* measure = subWindowOf(QStringLiteral("frmMeasure"));
    ASSERT_NE(nullptr, measure);
    measure->setGeometry(5, 5, 100, 80);

    mdi->resize(mdi->width() + 120, mdi->height() + 60);
    const QSize inner = mdi->MdiArea()->viewport()->size();
    EXPECT_EQ(QRect(QPoint(0, 0), inner), measure->geometry());
    EXPECT_EQ(QRect(10, 10, 150, 100), planner->geometry());

    // A minimised main window fits nothing.
    measure->setGeometry(5, 5, 100, 80);
    mdi->showMinimized();
    mdi->ArrangeChildForms(1);
    EXPECT_EQ(QRect(5, 5, 100, 80), measure->geometry());
}

TEST_F(MainWindowTest, ResizingAlsoFitsTheGoalAndTimeFormsAndAWindowOfItsOwn)
{
    auto* measure = vb::Forms().Find<frmMeasure>(QStringLiteral("frmMeasure"));
    ASSERT_NE(nullptr, measure);
    measure->cmdSetGoal_Click();
    measure->cmdOptionTime_Click();
    PlainForm& own = showPlainForm(QStringLiteral("frmOwnWindow"), false);

    mdi->resize(mdi->width() + 120, mdi->height() + 60);
    const QSize inner = mdi->MdiArea()->viewport()->size();
    for (const char* name : {"frmDSetGoal", "frmOptionTime"}) {
        SCOPED_TRACE(name);
        QMdiSubWindow* window = subWindowOf(QLatin1String(name));
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(QRect(QPoint(0, 0), inner), window->geometry());
    }
    EXPECT_EQ(QRect(mdi->MdiArea()->viewport()->mapToGlobal(QPoint(0, 0)), inner), own.geometry());
}

TEST_F(MainWindowTest, ResizingMovesAWindowOfFixedSizeIntoTheClientAreaAtItsOwnSize)
{
    mdi->mnuFC_Click();
    auto* converter = vb::Forms().Find<vb::Form>(QStringLiteral("frmCnFConverter"));
    ASSERT_NE(nullptr, converter);
    converter->layout()->activate();
    const QSize own = converter->size();
    const auto area = [this] {
        return QRect(mdi->MdiArea()->viewport()->mapToGlobal(QPoint(0, 0)), mdi->MdiArea()->viewport()->size());
    };
    // Past the area's lower right corner: moved in. Inside it: left where it is.
    for (const QPoint& place : {area().bottomRight() + QPoint(50, 50), area().topLeft() + QPoint(20, 30)}) {
        converter->move(place);
        const QRect before = converter->frameGeometry();
        mdi->resize(mdi->width() + 2, mdi->height() + 2);
        EXPECT_EQ(own, converter->size());
        EXPECT_TRUE(area().contains(converter->frameGeometry()));
        if (area().contains(before)) {
            EXPECT_EQ(before, converter->frameGeometry());
        }
    }
}

TEST_F(MainWindowTest, OpenedDataFormFillsTheClientArea)
{
    mdi->mnuRegimen_Click();
    QMdiSubWindow* regimen = subWindowOf(QStringLiteral("frmRegimen"));
    ASSERT_NE(nullptr, regimen);
    EXPECT_EQ(QRect(QPoint(0, 0), mdi->MdiArea()->viewport()->size()), regimen->geometry());
}

// ---------------------------------------------------------------------------------------------
// Memo commands and the window list

TEST_F(MainWindowTest, MemoCommandsFollowTheMemo)
{
    mdi->Toolbar1_ButtonClick(mdi->Toolbar1Button(QStringLiteral("Memo")));
    ASSERT_TRUE(isLoaded(QStringLiteral("frmMemo")));
    EXPECT_FALSE(mdi->mnuMemoOpen->isEnabled());
    EXPECT_FALSE(mdi->Toolbar1Button(QStringLiteral("Memo"))->isEnabled());
    EXPECT_TRUE(mdi->mnuMemoSave->isEnabled());
    EXPECT_TRUE(mdi->mnuMemoExit->isEnabled());

    mdi->mnuMemoSave_Click();
    EXPECT_FALSE(mdi->mnuMemoSave->isEnabled());
    EXPECT_TRUE(QFile::exists(App::Path() + QStringLiteral("/Memo.txt")));

    mdi->mnuMemoExit_Click();
    EXPECT_FALSE(isLoaded(QStringLiteral("frmMemo")));
    EXPECT_TRUE(mdi->mnuMemoOpen->isEnabled());
    EXPECT_TRUE(mdi->Toolbar1Button(QStringLiteral("Memo"))->isEnabled());
    EXPECT_FALSE(mdi->mnuMemoExit->isEnabled());
}

TEST_F(MainWindowTest, WindowMenuListsTheOpenChildWindows)
{
    mdi->mnuMemoOpen_Click();
    emit mdi->mnuWindow->aboutToShow();
    QStringList captions;
    for (QAction* item : mdi->mnuWindow->actions())
        captions << item->text();
    ASSERT_EQ(2, captions.size());
    EXPECT_TRUE(captions[0].contains(QStringLiteral("Measurement Entry")));
    EXPECT_TRUE(captions[1].contains(QStringLiteral("Memo")));

    // Choosing one makes it the active window.
    mdi->mnuWindow->actions()[0]->trigger();
    EXPECT_EQ(subWindowOf(QStringLiteral("frmMeasure")), mdi->MdiArea()->activeSubWindow());

    mdi->mnuClose_Click();
    mdi->mnuMemoExit_Click();
    emit mdi->mnuWindow->aboutToShow();
    EXPECT_TRUE(mdi->mnuWindow->actions().isEmpty());
}

} // namespace
