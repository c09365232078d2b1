// The main window: its menus and toolbar, the openers with their preconditions, the menu item
// and button of the open data form, the closing and fitting of child forms, the memo commands
// and the window list.
#include "shell/ShellFixture.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolBar>

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
    PlainForm(const QString& name, bool mdiChild, bool refuseUnload = false)
        : vb::Form(name), refuseUnload_(refuseUnload)
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
        main = mainWindow();
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

    mdiHealth* main = nullptr;
};

// A main window over a database without persons (no sample files).
class EmptyDatabaseTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        startProgramWithoutSamples();
        ASSERT_NE(nullptr, mainWindow());
        main = mainWindow();
    }
    mdiHealth* main = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Menus and toolbar

TEST_F(MainWindowTest, MenusCarryTheirCaptionsShortcutsAndStartStates)
{
    EXPECT_EQ(QStringLiteral("Ravelcombrick"), main->windowTitle());
    const std::pair<QMenu*, QString> menus[] = {
        {main->mnuFile, QStringLiteral("&File")},         {main->mnuEntry, QStringLiteral("&Entry")},
        {main->mnuView, QStringLiteral("&View")},         {main->mnuReport, QStringLiteral("Reports")},
        {main->mnuMemo, QStringLiteral("&Memo")},         {main->mnuUtilities, QStringLiteral("&Health-Utilites")},
        {main->mnuTools, QStringLiteral("&Tools")},       {main->mnuWindow, QStringLiteral("&Window")},
        {main->mnuHelp, QStringLiteral("&Help")},
    };
    for (const auto& [menu, caption] : menus)
        EXPECT_EQ(caption, menu->title());

    const std::tuple<QAction*, QString, QKeySequence> items[] = {
        {main->mnuPerson, QStringLiteral("&Person"), QKeySequence(QStringLiteral("Ctrl+P"))},
        {main->mnuRegimen, QStringLiteral("&Regimen"), QKeySequence(QStringLiteral("Ctrl+R"))},
        {main->mnuMeasure, QStringLiteral("&Measurement"), QKeySequence(QStringLiteral("Ctrl+M"))},
        {main->mnuReportForDoctor, QStringLiteral("Report for Doctor"), QKeySequence(QStringLiteral("Ctrl+D"))},
        {main->mnuMemoOpen, QStringLiteral("&Open"), QKeySequence(QStringLiteral("Ctrl+O"))},
        {main->mnuMemoSave, QStringLiteral("Sa&ve"), QKeySequence(QStringLiteral("Ctrl+S"))},
        {main->mnuBMI, QStringLiteral("BMI Calculator"), QKeySequence(QStringLiteral("Ctrl+B"))},
        {main->mnuFC, QStringLiteral("Fahrenheit Centigrade Calcualtor"), QKeySequence()},
        {main->mnuChart, QStringLiteral("&Chart of Measurements"), QKeySequence()},
        {main->mnuGrid, QStringLiteral("&Browse Measurements"), QKeySequence()},
        {main->mnuAbout, QStringLiteral("&About Ravelcombrick Software..."), QKeySequence()},
    };
    for (const auto& [item, caption, shortcut] : items) {
        SCOPED_TRACE(caption.toStdString());
        EXPECT_EQ(caption, item->text());
        EXPECT_EQ(shortcut, item->shortcut());
    }

    // Hidden items are not in their menus; the hidden "Print Chart" starts disabled.
    EXPECT_FALSE(main->mnuFile->actions().contains(main->mnuPrint));
    EXPECT_FALSE(main->mnuPrint->isEnabled());
    EXPECT_FALSE(main->mnuEntry->actions().contains(main->mnuImportMeasurements));
    EXPECT_FALSE(main->mnuEntry->actions().contains(main->mnuDash12));
    EXPECT_TRUE(main->mnuEntry->actions().contains(main->mnuChngeCustomLblUnt));
    EXPECT_TRUE(main->mnuTools->actions().contains(main->mnuDatabase->menuAction()));
    EXPECT_TRUE(main->mnuDatabase->actions().contains(main->mnuCompactDB));
    // Memo: open on, save and exit off.
    EXPECT_TRUE(main->mnuMemoOpen->isEnabled());
    EXPECT_FALSE(main->mnuMemoSave->isEnabled());
    EXPECT_FALSE(main->mnuMemoExit->isEnabled());
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
        QAction* button = main->Toolbar1Button(position);
        ASSERT_NE(nullptr, button);
        EXPECT_EQ(key, mdiHealth::ButtonKey(button));
        EXPECT_EQ(toolTip, button->toolTip());
        EXPECT_EQ(button, main->Toolbar1Button(key));
    }
    EXPECT_TRUE(main->Toolbar1Button(4)->isSeparator());
    EXPECT_EQ(nullptr, main->Toolbar1Button(0));
    EXPECT_EQ(nullptr, main->Toolbar1Button(99));
    for (const char* key : {"ReportForDoctor", "ExportWebPage", "BMI", "WorkWithBiologicalClock", "Memo", "Tip",
                            "Help", "Print", "Exit"}) {
        SCOPED_TRACE(key);
        QAction* button = main->Toolbar1Button(QLatin1String(key));
        ASSERT_NE(nullptr, button);
        EXPECT_FALSE(button->icon().isNull());
    }
    EXPECT_EQ(QStringLiteral("Exit Program"), main->Toolbar1Button(QStringLiteral("Exit"))->toolTip());
}

TEST_F(MainWindowTest, MenuItemAndItsButtonAreEnabledTogether)
{
    main->mnuRegimen->setEnabled(false);
    EXPECT_FALSE(main->Toolbar1Button(2)->isEnabled());
    main->Toolbar1Button(2)->setEnabled(true);
    EXPECT_TRUE(main->mnuRegimen->isEnabled());

    main->EnableOpener(QStringLiteral("frmMemo"), false);
    EXPECT_FALSE(main->Toolbar1Button(QStringLiteral("Memo"))->isEnabled());
    main->EnableOpener(QStringLiteral("frmMemo"), true);
    EXPECT_TRUE(main->mnuMemoOpen->isEnabled());

    // The chart's command and "Print Chart" go opposite ways.
    main->EnableOpener(QStringLiteral("frmChart"), false);
    EXPECT_FALSE(main->Toolbar1Button(5)->isEnabled());
    EXPECT_TRUE(main->mnuPrint->isEnabled());
    // Forms in libraries that do not link the shell reach it by name.
    QMetaObject::invokeMethod(main, "EnableOpener", Q_ARG(QString, QStringLiteral("frmChart")), Q_ARG(bool, true));
    EXPECT_TRUE(main->mnuChart->isEnabled());
    EXPECT_FALSE(main->mnuPrint->isEnabled());
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
    for (auto opener : {&mdiHealth::mnuMeasure_Click, &mdiHealth::mnuChart_Click, &mdiHealth::mnuGrid_Click}) {
        answer(vb::vbOK);
        (main->*opener)();
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
    main->mnuChart_Click();
    EXPECT_EQ(noMeasurementChartText, boxLog().back().text);
    answer(vb::vbOK);
    main->Toolbar1_ButtonClick(main->Toolbar1Button(QStringLiteral("Grid")));
    EXPECT_EQ(noMeasurementGridText, boxLog().back().text);
    EXPECT_EQ(vb::vbExclamation, boxLog().back().icon);
    EXPECT_FALSE(isLoaded(QStringLiteral("frmChart")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmGrid")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmPerson")));
    const size_t boxesSoFar = boxLog().size();

    // A person is enough for the Measurement form, which takes the Person form's place.
    main->mnuMeasure_Click();
    EXPECT_EQ(boxesSoFar, boxLog().size());
    EXPECT_TRUE(isLoaded(QStringLiteral("frmMeasure")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmPerson")));
    EXPECT_TRUE(main->mnuPerson->isEnabled());
    EXPECT_TRUE(main->Toolbar1Button(1)->isEnabled());
    EXPECT_FALSE(main->mnuMeasure->isEnabled());

    // And a measurement opens the chart.
    const int person = count(QStringLiteral("select PRSN_KY from PERSON"));
    gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP, LBP) values (%1, #3/1/2024 8:00 AM#, 120, 80)")
                     .arg(person),
                 dao::dbFailOnError);
    main->mnuChart_Click();
    EXPECT_TRUE(isLoaded(QStringLiteral("frmChart")));
    EXPECT_EQ(boxesSoFar, boxLog().size());
}

TEST_F(MainWindowTest, OpeningTheGridClosesTheChartAndSwapsTheirCommands)
{
    main->mnuChart_Click();
    ASSERT_TRUE(isLoaded(QStringLiteral("frmChart")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmMeasure")));
    EXPECT_TRUE(main->mnuMeasure->isEnabled());
    EXPECT_TRUE(main->Toolbar1Button(3)->isEnabled());
    EXPECT_FALSE(main->mnuChart->isEnabled());
    EXPECT_FALSE(main->Toolbar1Button(5)->isEnabled());
    EXPECT_TRUE(main->mnuPrint->isEnabled());

    main->mnuGrid_Click();
    EXPECT_FALSE(isLoaded(QStringLiteral("frmChart")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmGrid")));
    EXPECT_TRUE(main->mnuChart->isEnabled());
    EXPECT_TRUE(main->Toolbar1Button(5)->isEnabled());
    EXPECT_FALSE(main->mnuPrint->isEnabled());
    EXPECT_FALSE(main->mnuGrid->isEnabled());
    EXPECT_FALSE(main->Toolbar1Button(6)->isEnabled());
    EXPECT_TRUE(boxLog().empty());
}

TEST_F(MainWindowTest, ToolbarButtonsOpenWhatTheirMenuItemsOpen)
{
    main->Toolbar1_ButtonClick(main->Toolbar1Button(QStringLiteral("Regimen")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmRegimen")));
    EXPECT_FALSE(main->mnuRegimen->isEnabled());
    main->Toolbar1_ButtonClick(main->Toolbar1Button(QStringLiteral("Person")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmPerson")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmRegimen")));
    EXPECT_TRUE(main->mnuRegimen->isEnabled());
    main->Toolbar1_ButtonClick(main->Toolbar1Button(QStringLiteral("BMI")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmBMI")));
    main->Toolbar1_ButtonClick(main->Toolbar1Button(QStringLiteral("WorkWithBiologicalClock")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmBiologicalClockWork")));

    // The report for the doctor and the import are modal.
    services().modal().Expect([](vb::FormBase& form) { form.Unload(); });
    main->Toolbar1_ButtonClick(main->Toolbar1Button(QStringLiteral("ReportForDoctor")));
    services().modal().Expect([](vb::FormBase& form) { form.Unload(); });
    main->mnuImportMeasurements_Click();
    EXPECT_EQ((QStringList{QStringLiteral("frmReportDoctor"), QStringLiteral("frmImportMeasurements")}),
              services().modal().Log());
    EXPECT_FALSE(isLoaded(QStringLiteral("frmReportDoctor")));

    // A key of no button does nothing.
    QAction none;
    none.setData(QStringLiteral(" "));
    const QStringList before = loadedForms();
    main->Toolbar1_ButtonClick(&none);
    EXPECT_EQ(before, loadedForms());
}

// ---------------------------------------------------------------------------------------------
// Closing and fitting the child forms

TEST_F(MainWindowTest, CloseLeavesTheMemoAndTwoCalculatorsAndClosesEverythingElse)
{
    main->mnuMemoOpen_Click();
    main->mnuBMI_Click();
    main->mnuWrkBio_Click();
    main->mnuFC_Click();
    showPlainForm(QStringLiteral("frmDSetGoal"), true);
    showPlainForm(QStringLiteral("frmOptionTime"), false);
    ASSERT_TRUE(isLoaded(QStringLiteral("frmMeasure")));

    main->mnuClose_Click();

    QStringList left = loadedForms();
    left.sort();
    EXPECT_EQ((QStringList{QStringLiteral("frmBMI"), QStringLiteral("frmBiologicalClockWork"), QStringLiteral("frmMemo"),
                           QStringLiteral("mdiHealth")}),
              left);
    EXPECT_TRUE(main->mnuMeasure->isEnabled());
    EXPECT_TRUE(main->Toolbar1Button(3)->isEnabled());

    // Opening a data form does the same.
    main->mnuFC_Click();
    main->mnuRegimen_Click();
    EXPECT_FALSE(isLoaded(QStringLiteral("frmCnFConverter")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmBMI")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmMemo")));
    EXPECT_TRUE(isLoaded(QStringLiteral("frmRegimen")));
}

TEST_F(MainWindowTest, FormThatRefusesToCloseStaysAndTheOthersStillClose)
{
    showPlainForm(QStringLiteral("frmStubborn"), true, true);
    main->mnuFC_Click();
    main->ArrangeChildForms(2);
    EXPECT_TRUE(isLoaded(QStringLiteral("frmStubborn")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmCnFConverter")));
    EXPECT_FALSE(isLoaded(QStringLiteral("frmMeasure")));
}

TEST_F(MainWindowTest, ResizingFitsTheNonExemptChildFormsToTheClientArea)
{
    main->mnuWrkBio_Click();
    QMdiSubWindow* planner = subWindowOf(QStringLiteral("frmBiologicalClockWork"));
    ASSERT_NE(nullptr, planner);
    planner->setGeometry(10, 10, 150, 100);
    QMdiSubWindow* measure = subWindowOf(QStringLiteral("frmMeasure"));
    ASSERT_NE(nullptr, measure);
    measure->setGeometry(5, 5, 100, 80);

    main->resize(main->width() + 120, main->height() + 60);
    const QSize inner = main->MdiArea()->viewport()->size();
    EXPECT_EQ(QRect(QPoint(0, 0), inner), measure->geometry());
    EXPECT_EQ(QRect(10, 10, 150, 100), planner->geometry());

    // A minimised main window fits nothing.
    measure->setGeometry(5, 5, 100, 80);
    main->showMinimized();
    main->ArrangeChildForms(1);
    EXPECT_EQ(QRect(5, 5, 100, 80), measure->geometry());
}

TEST_F(MainWindowTest, OpenedDataFormFillsTheClientArea)
{
    main->mnuRegimen_Click();
    QMdiSubWindow* regimen = subWindowOf(QStringLiteral("frmRegimen"));
    ASSERT_NE(nullptr, regimen);
    EXPECT_EQ(QRect(QPoint(0, 0), main->MdiArea()->viewport()->size()), regimen->geometry());
}

// ---------------------------------------------------------------------------------------------
// Memo commands and the window list

TEST_F(MainWindowTest, MemoCommandsFollowTheMemo)
{
    main->Toolbar1_ButtonClick(main->Toolbar1Button(QStringLiteral("Memo")));
    ASSERT_TRUE(isLoaded(QStringLiteral("frmMemo")));
    EXPECT_FALSE(main->mnuMemoOpen->isEnabled());
    EXPECT_FALSE(main->Toolbar1Button(QStringLiteral("Memo"))->isEnabled());
    EXPECT_TRUE(main->mnuMemoSave->isEnabled());
    EXPECT_TRUE(main->mnuMemoExit->isEnabled());

    main->mnuMemoSave_Click();
    EXPECT_FALSE(main->mnuMemoSave->isEnabled());
    EXPECT_TRUE(QFile::exists(App::Path() + QStringLiteral("/Memo.txt")));

    main->mnuMemoExit_Click();
    EXPECT_FALSE(isLoaded(QStringLiteral("frmMemo")));
    EXPECT_TRUE(main->mnuMemoOpen->isEnabled());
    EXPECT_TRUE(main->Toolbar1Button(QStringLiteral("Memo"))->isEnabled());
    EXPECT_FALSE(main->mnuMemoExit->isEnabled());
}

TEST_F(MainWindowTest, WindowMenuListsTheOpenChildWindows)
{
    main->mnuMemoOpen_Click();
    emit main->mnuWindow->aboutToShow();
    QStringList captions;
    for (QAction* item : main->mnuWindow->actions())
        captions << item->text();
    ASSERT_EQ(2, captions.size());
    EXPECT_TRUE(captions[0].contains(QStringLiteral("Measurement Entry")));
    EXPECT_TRUE(captions[1].contains(QStringLiteral("Memo")));

    // Choosing one makes it the active window.
    main->mnuWindow->actions()[0]->trigger();
    EXPECT_EQ(subWindowOf(QStringLiteral("frmMeasure")), main->MdiArea()->activeSubWindow());

    main->mnuClose_Click();
    main->mnuMemoExit_Click();
    emit main->mnuWindow->aboutToShow();
    EXPECT_TRUE(main->mnuWindow->actions().isEmpty());
}

} // namespace
