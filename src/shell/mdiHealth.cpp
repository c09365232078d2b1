#include "shell/mdiHealth.h"

#include "calculators/frmBMI.h"
#include "calculators/frmBiologicalClockWork.h"
#include "calculators/frmCnFConverter.h"
#include "charts/frmChart.h"
#include "data/Globals.h"
#include "data/clsCreateMDB.h"
#include "data/modHealth.h"
#include "data/ui/ErrorReport.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/Twips.h"
#include "platform/runtime/ui/WindowPlacement.h"
#include "records/frmChngeCustomLblUnt.h"
#include "records/frmDSetGoal.h"
#include "records/frmMeasure.h"
#include "records/frmMemo.h"
#include "records/frmPerson.h"
#include "records/frmPictureManager.h"
#include "records/frmRegimen.h"
#include "reports/frmGrid.h"
#include "reports/frmImportMeasurements.h"
#include "reports/frmReportDoctor.h"
#include "shell/frmSplash.h"

#include <QAction>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>

#include <algorithm>
#include <optional>

namespace {

const QString crlf = QStringLiteral("\r\n");

QString toolbarIcon(const QString& file) { return App::Path() + QStringLiteral("/images/toolbar/") + file; }

// The counts the openers ask about: is there any row? (CountRecords stops at 32767, which
// still reads as "some".)
bool hasRows(const QString& table) { return modHealth::CountRecords(table) != 0; }

void noPersonMessage()
{
    vb::MsgBox(QStringLiteral("There is no person listed in database.") + crlf +
                   QStringLiteral("You need to add a person from Person Information screen."),
               vb::vbExclamation);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction: menus and toolbar

mdiHealth::mdiHealth() : vb::MDIForm(QStringLiteral("mdiHealth"))
{
    setCaption(App::Title());
    MdiArea()->setBackground(QColor(0x8C, 0x96, 0xA0));
    // A child window larger than the client area (the biological-clock planner) can be scrolled to.
    MdiArea()->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    createMenus();
    createToolbar();
}

mdiHealth::~mdiHealth() = default;

mdiHealth* mdiHealth::Loaded() { return vb::Forms().Find<mdiHealth>(QStringLiteral("mdiHealth")); }

namespace {

QAction* makeItem(QObject* owner, const char* name, const QString& caption, const QKeySequence& shortcut = {})
{
    auto* action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    // The pictures belong to the toolbar; menus show text only.
    action->setIconVisibleInMenu(false);
    return action;
}

QAction* makeSeparator(QObject* owner, const char* name)
{
    auto* action = new QAction(owner);
    action->setObjectName(QLatin1String(name));
    action->setSeparator(true);
    return action;
}

} // namespace

void mdiHealth::createMenus()
{
    QMenuBar* bar = menuBar();
    auto menu = [&](const char* name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    // Items marked hidden are made but kept out of their menu: a hidden QAction reports itself
    // disabled, and mnuPrint's enabled state is kept while the chart is open.
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };

    mnuFile = menu("mnuFile", QStringLiteral("&File"));
    mnuPrintScreen = makeItem(this, "mnuPrintScreen", QStringLiteral("Print Screen"));
    mnuPrint = makeItem(this, "mnuPrint", QStringLiteral("Print Chart"));
    mnuPrint->setEnabled(false);
    mnuPrintDash = makeSeparator(this, "mnuPrintDash");
    mnuClose = makeItem(this, "mnuClose", QStringLiteral("&Close"));
    mnuExit = makeItem(this, "mnuExit", QStringLiteral("E&xit"));
    mnuFile->addActions({mnuPrintScreen, mnuPrintDash, mnuClose, mnuExit});

    mnuEntry = menu("mnuEntry", QStringLiteral("&Entry"));
    mnuPerson = makeItem(this, "mnuPerson", QStringLiteral("&Person"), ctrl(Qt::Key_P));
    mnuRegimen = makeItem(this, "mnuRegimen", QStringLiteral("&Regimen"), ctrl(Qt::Key_R));
    mnuMeasure = makeItem(this, "mnuMeasure", QStringLiteral("&Measurement"), ctrl(Qt::Key_M));
    mnuDash1 = makeSeparator(this, "mnuDash1");
    mnuImportMeasurements = makeItem(this, "mnuImportMeasurements", QStringLiteral("Import Measurements"));
    mnuDash12 = makeSeparator(this, "mnuDash12");
    mnuChngeCustomLblUnt = makeItem(this, "mnuChngeCustomLblUnt", QStringLiteral("Change Custom &Label and Units"));
    mnuEntry->addActions({mnuPerson, mnuRegimen, mnuMeasure, mnuDash1, mnuChngeCustomLblUnt});

    mnuView = menu("mnuView", QStringLiteral("&View"));
    mnuChart = makeItem(this, "mnuChart", QStringLiteral("&Chart of Measurements"));
    mnuGrid = makeItem(this, "mnuGrid", QStringLiteral("&Browse Measurements"));
    mnuView->addActions({mnuChart, mnuGrid});

    mnuReport = menu("mnuReport", QStringLiteral("Reports"));
    mnuReportForDoctor = makeItem(this, "mnuReportForDoctor", QStringLiteral("Report for Doctor"), ctrl(Qt::Key_D));
    mnuExportHTML = makeItem(this, "mnuExportHTML", QStringLiteral("Export to Web Page Report"));
    mnuReport->addActions({mnuReportForDoctor, mnuExportHTML});

    mnuMemo = menu("mnuMemo", QStringLiteral("&Memo"));
    mnuMemoOpen = makeItem(this, "mnuMemoOpen", QStringLiteral("&Open"), ctrl(Qt::Key_O));
    mnuMemoSave = makeItem(this, "mnuMemoSave", QStringLiteral("Sa&ve"), ctrl(Qt::Key_S));
    mnuMemoSave->setEnabled(false);
    mnuMemoExit = makeItem(this, "mnuMemoExit", QStringLiteral("E&xit"));
    mnuMemoExit->setEnabled(false);
    mnuMemo->addActions({mnuMemoOpen, mnuMemoSave, mnuMemoExit});

    mnuUtilities = menu("mnuUtilities", QStringLiteral("&Health-Utilites"));
    mnuBMI = makeItem(this, "mnuBMI", QStringLiteral("BMI Calculator"), ctrl(Qt::Key_B));
    mnuWrkBio = makeItem(this, "mnuWrkBio", QStringLiteral("Work with Biological Clock"));
    mnuFC = makeItem(this, "mnuFC", QStringLiteral("Fahrenheit Centigrade Calcualtor"));
    mnuUtilities->addActions({mnuBMI, mnuWrkBio, mnuFC});

    mnuTools = menu("mnuTools", QStringLiteral("&Tools"));
    mnuDatabase = mnuTools->addMenu(QStringLiteral("Database"));
    mnuDatabase->setObjectName(QStringLiteral("mnuDatabase"));
    mnuBackupDBFile = makeItem(this, "mnuBackupDBFile", QStringLiteral("Backup Database to a File"));
    mnuCompactDB = makeItem(this, "mnuCompactDB", QStringLiteral("Compact Database"));
    mnuDBDir = makeItem(this, "mnuDBDir", QStringLiteral("Open Database Directory"));
    mnuDatabase->addActions({mnuBackupDBFile, mnuCompactDB, mnuDBDir});
    mnuDash11 = makeSeparator(this, "mnuDash11");
    mnuPicture = makeItem(this, "mnuPicture", QStringLiteral("Picture Manager"));
    mnuTools->addActions({mnuDash11, mnuPicture});

    mnuWindow = menu("mnuWindow", QStringLiteral("&Window"));
    connect(mnuWindow, &QMenu::aboutToShow, this, [this] { fillWindowMenu(); });

    mnuHelp = menu("mnuHelp", QStringLiteral("&Help"));
    mnuContents = makeItem(this, "mnuContents", QStringLiteral("&Contents..."));
    mnuTip = makeItem(this, "mnuTip", QStringLiteral("&Show a Tip"));
    mnuDash = makeSeparator(this, "mnuDash");
    mnuAbout = makeItem(this, "mnuAbout", QStringLiteral("&About Ravelcombrick Software..."));
    mnuHelp->addActions({mnuContents, mnuTip, mnuDash, mnuAbout});

    const std::pair<QAction*, void (mdiHealth::*)()> handlers[] = {
        {mnuPrintScreen, &mdiHealth::mnuPrintScreen_Click},
        {mnuPrint, &mdiHealth::mnuPrint_Click},
        {mnuClose, &mdiHealth::mnuClose_Click},
        {mnuExit, &mdiHealth::mnuExit_Click},
        {mnuPerson, &mdiHealth::mnuPerson_Click},
        {mnuRegimen, &mdiHealth::mnuRegimen_Click},
        {mnuMeasure, &mdiHealth::mnuMeasure_Click},
        {mnuImportMeasurements, &mdiHealth::mnuImportMeasurements_Click},
        {mnuChngeCustomLblUnt, &mdiHealth::mnuChngeCustomLblUnt_Click},
        {mnuChart, &mdiHealth::mnuChart_Click},
        {mnuGrid, &mdiHealth::mnuGrid_Click},
        {mnuReportForDoctor, &mdiHealth::mnuReportForDoctor_Click},
        {mnuExportHTML, &mdiHealth::mnuExportHTML_Click},
        {mnuMemoOpen, &mdiHealth::mnuMemoOpen_Click},
        {mnuMemoSave, &mdiHealth::mnuMemoSave_Click},
        {mnuMemoExit, &mdiHealth::mnuMemoExit_Click},
        {mnuBMI, &mdiHealth::mnuBMI_Click},
        {mnuWrkBio, &mdiHealth::mnuWrkBio_Click},
        {mnuFC, &mdiHealth::mnuFC_Click},
        {mnuBackupDBFile, &mdiHealth::mnuBackupDBFile_Click},
        {mnuCompactDB, &mdiHealth::mnuCompactDB_Click},
        {mnuDBDir, &mdiHealth::mnuDBDir_Click},
        {mnuPicture, &mdiHealth::mnuPicture_Click},
        {mnuContents, &mdiHealth::mnuContents_Click},
        {mnuTip, &mdiHealth::mnuTip_Click},
        {mnuAbout, &mdiHealth::mnuAbout_Click},
    };
    for (const auto& [action, handler] : handlers) {
        connect(action, &QAction::triggered, this, [this, handler = handler] { guarded([&] { (this->*handler)(); }); });
    }
}

QAction* mdiHealth::addButton(const QString& key, const QString& toolTip, const QString& iconFile)
{
    auto* button = new QAction(this);
    button->setObjectName(QStringLiteral("Toolbar1_") + key);
    button->setData(key);
    // A button without a tooltip has no text either: the toolbar would show the text instead.
    button->setText(toolTip);
    button->setToolTip(toolTip);
    if (!iconFile.isEmpty())
        button->setIcon(QIcon(toolbarIcon(iconFile)));
    Toolbar1->addAction(button);
    connect(button, &QAction::triggered, this, [this, button] { guarded([&] { Toolbar1_ButtonClick(button); }); });
    buttons_.push_back(button);
    return button;
}

void mdiHealth::addSeparatorButton() { buttons_.push_back(Toolbar1->addSeparator()); }

void mdiHealth::pairEnabled(QAction* item, QAction* button)
{
    button->setEnabled(item->isEnabled());
    connect(item, &QAction::enabledChanged, button, &QAction::setEnabled);
    connect(button, &QAction::enabledChanged, item, &QAction::setEnabled);
}

void mdiHealth::createToolbar()
{
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);

    pairEnabled(mnuPerson,
                addButton(QStringLiteral("Person"), QStringLiteral("Add/Edit Person Information"), QStringLiteral("person.png")));
    pairEnabled(mnuRegimen, addButton(QStringLiteral("Regimen"), QStringLiteral("Add/Edit Regimen Information"),
                                      QStringLiteral("regimen1.png")));
    pairEnabled(mnuMeasure,
                addButton(QStringLiteral("Measure"), QStringLiteral("Enter the Measurements"), QStringLiteral("measure.png")));
    addSeparatorButton(); // position 4
    pairEnabled(mnuChart, addButton(QStringLiteral("Chart"), QStringLiteral("Visualize the Data with Charts"),
                                    QStringLiteral("chart.png")));
    pairEnabled(mnuGrid, addButton(QStringLiteral("Grid"), QStringLiteral("Browse Measurements"), QStringLiteral("grid.png")));
    addSeparatorButton();
    addButton(QStringLiteral("ReportForDoctor"), QStringLiteral("Report for Doctor"), QStringLiteral("report-for-doctor.png"));
    addButton(QStringLiteral("ExportWebPage"), QStringLiteral("Export Data to Web Page"), QStringLiteral("export-web-page.png"));
    addSeparatorButton();
    addButton(QStringLiteral("BMI"), QStringLiteral("Find your BMI"), QStringLiteral("bmi.png"));
    addButton(QStringLiteral("WorkWithBiologicalClock"), QStringLiteral("Work with Biological Clock"),
              QStringLiteral("biological-clock.png"));
    addSeparatorButton();
    pairEnabled(mnuMemoOpen, addButton(QStringLiteral("Memo"), QStringLiteral("Memo"), QStringLiteral("memo.png")));
    addButton(QStringLiteral("Tip"), QStringLiteral("Show a Tip"), QStringLiteral("tip.png"));
    addButton(QStringLiteral("Help"), QString(), QStringLiteral("help.png"));
    // The blank button " " does nothing: it stands as a gap.
    addSeparatorButton();
    addButton(QStringLiteral("Print"), QStringLiteral("Print Screen"), QStringLiteral("print.png"));
    addButton(QStringLiteral("Exit"), QStringLiteral("Exit Program"), QStringLiteral("exit.png"));
}

QAction* mdiHealth::Toolbar1Button(int position) const
{
    if (position < 1 || position > static_cast<int>(buttons_.size()))
        return nullptr;
    return buttons_[static_cast<size_t>(position - 1)];
}

QAction* mdiHealth::Toolbar1Button(const QString& key) const
{
    for (QAction* button : buttons_) {
        if (!button->isSeparator() && ButtonKey(button) == key)
            return button;
    }
    return nullptr;
}

QString mdiHealth::ButtonKey(const QAction* button) { return button ? button->data().toString() : QString(); }

void mdiHealth::EnableOpener(const QString& formName, bool enabled)
{
    // Each menu item carries its button along (pairEnabled).
    if (formName == QLatin1String("frmPerson")) {
        mnuPerson->setEnabled(enabled);
    } else if (formName == QLatin1String("frmRegimen")) {
        mnuRegimen->setEnabled(enabled);
    } else if (formName == QLatin1String("frmMeasure")) {
        mnuMeasure->setEnabled(enabled);
    } else if (formName == QLatin1String("frmChart")) {
        mnuChart->setEnabled(enabled);
        mnuPrint->setEnabled(!enabled);
    } else if (formName == QLatin1String("frmGrid")) {
        mnuGrid->setEnabled(enabled);
    } else if (formName == QLatin1String("frmMemo")) {
        mnuMemoOpen->setEnabled(enabled);
    }
}

void mdiHealth::onFormUnloaded(const QString& formName) { EnableOpener(formName, true); }

template <class T>
T& mdiHealth::openChildForm()
{
    T& form = vb::defaultInstance<T>();
    form.setMDIChild(true);
    // Unique: opening a form that is already open connects nothing more.
    connect(&form, &vb::Form::formUnloaded, this, &mdiHealth::onFormUnloaded, Qt::UniqueConnection);
    form.Show();
    return form;
}

vb::FormBase* mdiHealth::OpenDataForm(const QString& formName)
{
    vb::FormBase* form = nullptr;
    if (formName == QLatin1String("frmPerson"))
        form = &openChildForm<frmPerson>();
    else if (formName == QLatin1String("frmRegimen"))
        form = &openChildForm<frmRegimen>();
    else if (formName == QLatin1String("frmMeasure"))
        form = &openChildForm<frmMeasure>();
    else if (formName == QLatin1String("frmChart"))
        form = &openChildForm<frmChart>();
    else if (formName == QLatin1String("frmGrid"))
        form = &openChildForm<frmGrid>();
    if (!form)
        return nullptr;
    fitChildForm(*form);
    EnableOpener(formName, false); // the chart's turns mnuPrint on
    return form;
}

template <class F>
void mdiHealth::guarded(F&& handler)
{
    try {
        handler();
    } catch (...) {
        modSplash::ShowErrorMessage(QStringLiteral("mdiHealth"));
    }
}

void mdiHealth::fillWindowMenu()
{
    mnuWindow->clear();
    const QList<QMdiSubWindow*> windows = MdiArea()->subWindowList();
    QMdiSubWindow* active = MdiArea()->activeSubWindow();
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        if (!window->isVisible())
            continue;
        ++number;
        QAction* item = mnuWindow->addAction(QStringLiteral("&%1 %2").arg(number).arg(window->windowTitle()));
        item->setCheckable(true);
        item->setChecked(window == active);
        connect(item, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(window)] {
            if (window)
                MdiArea()->setActiveSubWindow(window);
        });
    }
}

// ---------------------------------------------------------------------------------------------
// Load and unload

void mdiHealth::MDIForm_Load()
{
    setWindowIcon(frmSplash::ProgramIcon());
    move(0, 0);
    resize(vb::TwipsToPixelsX(10600, this), vb::TwipsToPixelsY(7950, this));

    auto rs =
        gDB->OpenRecordset(QStringLiteral("select HtUnit, WtUnit, DtFormat, gblPrsnKy from APPLICATION"), dao::dbOpenSnapshot);
    const QVariant htUnit = rs->Fields(QStringLiteral("HtUnit")).Value();
    const QVariant wtUnit = rs->Fields(QStringLiteral("WtUnit")).Value();
    const QVariant dtFormat = rs->Fields(QStringLiteral("DtFormat")).Value();
    const QVariant personKey = rs->Fields(QStringLiteral("gblPrsnKy")).Value();
    rs->Close();

    vb::Randomize();
    const int r = static_cast<int>(vb::Rnd() * 3 + 1);
    static const char* const regimenPictures[] = {"regimen1.png", "regimen2.png", "regimen3.png"};
    Toolbar1Button(2)->setIcon(QIcon(toolbarIcon(QLatin1String(regimenPictures[std::clamp(r, 1, 3) - 1]))));

    if (dtFormat.toString() == QLatin1String("max"))
        setWindowState(windowState() | Qt::WindowMaximized);
    if (!vb::IsNull(personKey) && vb::CLng(personKey.toDouble()) != -1)
        gPersonKey = vb::CLng(personKey.toDouble());

    const QString wt = wtUnit.toString();
    if (wt == QLatin1String("lb"))
        gWeightUnit = 1;
    else if (wt == QLatin1String("kg"))
        gWeightUnit = 2;
    const QString ht = htUnit.toString();
    if (ht == QLatin1String("ft"))
        gHeightUnit = 1;
    else if (ht == QLatin1String("cm"))
        gHeightUnit = 2;

    // The first child form makes the window appear.
    show();
    if (!hasRows(QStringLiteral("Person")))
        mnuPerson_Click();
    else
        mnuMeasure_Click();
}

void mdiHealth::MDIForm_Unload(int& /*cancel*/)
{
    // A damaged file gets nothing more written to it; the user has been told.
    if (gDB && !gDB->isDamaged()) {
        try {
            auto rs = gDB->OpenRecordset(QStringLiteral("select gblPrsnKy, dtformat from application"), dao::dbOpenDynaset);
            rs->Edit();
            rs->Fields(QStringLiteral("gblPrsnKy")).setValue(gPersonKey);
            rs->Fields(QStringLiteral("dtformat")).setValue(isMaximized() ? QStringLiteral("max") : QStringLiteral("def"));
            rs->Update();
            rs->Close();
        } catch (...) {
            // The database is closed whatever happens, and the program ends.
            modSplash::ShowErrorMessage(QStringLiteral("mdiHealth"));
        }
    }
    if (gDB || gWS)
        clsCreateMDB().CloseDatabase();
}

void mdiHealth::MDIForm_Resize() { ArrangeChildForms(1); }

// ---------------------------------------------------------------------------------------------
// Child forms

bool mdiHealth::IsExemptForm(const QString& formName)
{
    static const QStringList exempt = {QStringLiteral("mdiHealth"), QStringLiteral("frmMemo"),
                                       QStringLiteral("frmSplash"), QStringLiteral("frmTip"),
                                       QStringLiteral("frmBMI"),    QStringLiteral("frmBiologicalClockWork")};
    return exempt.contains(formName);
}

void mdiHealth::fitChildForm(vb::FormBase& form)
{
    if (isMinimized())
        return;
    const QSize inner = MdiArea()->viewport()->size();
    if (inner.width() <= 0 || inner.height() <= 0)
        return;
    QWidget* window = form.Window();
    if (form.MdiParent() == this) {
        window->showNormal();
        window->setGeometry(0, 0, inner.width(), inner.height());
        return;
    }
    // A form in a window of its own is laid over the client area; a hidden one stays hidden.
    if (window->isVisible())
        window->showNormal();
    const QRect area(MdiArea()->viewport()->mapToGlobal(QPoint(0, 0)), inner);
    if (window->minimumSize() == window->maximumSize()) {
        // A window of fixed size keeps it and is only moved into the area (its top left
        // corner first, when the area is smaller than the window).
        window->move(vb::placedWithin(window->frameGeometry(), area).topLeft());
        return;
    }
    window->setGeometry(area);
}

void mdiHealth::ArrangeChildForms(int mode)
{
    for (vb::FormBase* form : vb::Forms().Snapshot()) {
        // A form another one's unloading took along is passed over.
        const auto loaded = vb::Forms().Snapshot();
        if (std::find(loaded.begin(), loaded.end(), form) == loaded.end())
            continue;
        if (IsExemptForm(form->Name()))
            continue;
        try {
            if (mode == 1) {
                fitChildForm(*form);
            } else if (mode == 2) {
                form->Unload();
            }
        } catch (...) {
            // A form that refuses or fails stays as it is; the others are still done.
        }
    }
}

// ---------------------------------------------------------------------------------------------
// File

void mdiHealth::mnuClose_Click() { ArrangeChildForms(2); }

void mdiHealth::mnuExit_Click() { Unload(); }

// ---------------------------------------------------------------------------------------------
// Openers

void mdiHealth::mnuPerson_Click()
{
    ArrangeChildForms(2);
    OpenDataForm(QStringLiteral("frmPerson"));
}

void mdiHealth::mnuRegimen_Click()
{
    ArrangeChildForms(2);
    OpenDataForm(QStringLiteral("frmRegimen"));
}

void mdiHealth::mnuMeasure_Click()
{
    if (!hasRows(QStringLiteral("Person"))) {
        noPersonMessage();
        return;
    }
    ArrangeChildForms(2);
    OpenDataForm(QStringLiteral("frmMeasure"));
}

void mdiHealth::mnuChart_Click()
{
    if (!hasRows(QStringLiteral("Person"))) {
        noPersonMessage();
        return;
    }
    if (!hasRows(QStringLiteral("Measure"))) {
        vb::MsgBox(QStringLiteral("There is no measurement for any person in database.") + crlf +
                       QStringLiteral("You need to add a measurement from the Measurement Entry screen."),
                   vb::vbExclamation);
        return;
    }
    ArrangeChildForms(2);
    OpenDataForm(QStringLiteral("frmChart"));
}

void mdiHealth::mnuGrid_Click()
{
    if (!hasRows(QStringLiteral("Person"))) {
        noPersonMessage();
        return;
    }
    if (!hasRows(QStringLiteral("Measure"))) {
        vb::MsgBox(QStringLiteral("There is no measurement for any person in database.") + crlf +
                       QStringLiteral("You need to add a measurement from Measurement Entry screen."),
                   vb::vbExclamation);
        return;
    }
    ArrangeChildForms(2);
    OpenDataForm(QStringLiteral("frmGrid"));
}

// ---------------------------------------------------------------------------------------------
// Dialogs

void mdiHealth::mnuImportMeasurements_Click() { vb::defaultInstance<frmImportMeasurements>().Show(vb::vbModal); }

void mdiHealth::mnuChngeCustomLblUnt_Click()
{
    try {
        vb::defaultInstance<frmChngeCustomLblUnt>().Show(vb::vbModal);
    } catch (...) {
        // Errors of this dialog are passed over.
    }
}

void mdiHealth::mnuReportForDoctor_Click()
{
    frmReportDoctor& report = vb::defaultInstance<frmReportDoctor>();
    // The report drives the goal window, which only the shell knows.
    report.setGoalFormMaker([] { return static_cast<vb::FormBase*>(&vb::defaultInstance<frmDSetGoal>()); });
    // The user's forms come back after the report as if opened by hand.
    report.setDataFormOpener([main = QPointer<mdiHealth>(this)](const QString& formName) -> vb::FormBase* {
        return main ? main->OpenDataForm(formName) : nullptr;
    });
    report.Show(vb::vbModal);
}

void mdiHealth::mnuPicture_Click() { vb::defaultInstance<frmPictureManager>().Show(vb::vbModal); }

void mdiHealth::mnuBMI_Click()
{
    try {
        auto& form = vb::defaultInstance<frmBMI>();
        form.Show();
        form.Window()->raise();
        form.Window()->activateWindow();
    } catch (...) {
        // Errors while showing the calculator are passed over.
    }
}

void mdiHealth::mnuWrkBio_Click() { vb::defaultInstance<frmBiologicalClockWork>().Show(); }

void mdiHealth::mnuFC_Click() { vb::defaultInstance<frmCnFConverter>().Show(); }

// ---------------------------------------------------------------------------------------------
// Memo

void mdiHealth::mnuMemoOpen_Click()
{
    auto& memo = vb::defaultInstance<frmMemo>();
    memo.setMDIChild(true);
    connect(&memo, &vb::Form::formUnloaded, this, &mdiHealth::onFormUnloaded, Qt::UniqueConnection);
    connect(&memo, &frmMemo::memoChanged, this, &mdiHealth::onMemoChanged, Qt::UniqueConnection);
    connect(&memo, &frmMemo::memoSaved, this, &mdiHealth::onMemoSaved, Qt::UniqueConnection);
    connect(&memo, &frmMemo::memoClosing, this, &mdiHealth::onMemoClosing, Qt::UniqueConnection);
    memo.Show();
    mnuMemoOpen->setEnabled(false); // and the memo button
    mnuMemoExit->setEnabled(true);
    mnuMemoSave->setEnabled(true);
}

void mdiHealth::mnuMemoSave_Click()
{
    // A save that succeeded turns the command off (memoSaved); one that failed keeps it, so
    // that the text can still be saved.
    if (auto* memo = vb::Forms().Find<frmMemo>(QStringLiteral("frmMemo")))
        memo->SaveMemo();
}

void mdiHealth::onMemoChanged() { mnuMemoSave->setEnabled(true); }

void mdiHealth::onMemoSaved() { mnuMemoSave->setEnabled(false); }

void mdiHealth::onMemoClosing()
{
    mnuMemoOpen->setEnabled(true);
    mnuMemoSave->setEnabled(false);
    mnuMemoExit->setEnabled(false);
}

void mdiHealth::mnuMemoExit_Click()
{
    if (vb::FormBase* memo = vb::Forms().Find(QStringLiteral("frmMemo")))
        memo->Unload();
}

// ---------------------------------------------------------------------------------------------
// Toolbar

void mdiHealth::Toolbar1_ButtonClick(QAction* Button)
{
    std::optional<vb::BusyCursor> busy;
    busy.emplace();
    const QString key = ButtonKey(Button);
    if (key == QLatin1String("Person")) {
        mnuPerson_Click();
    } else if (key == QLatin1String("Regimen")) {
        mnuRegimen_Click();
    } else if (key == QLatin1String("Measure")) {
        mnuMeasure_Click();
    } else if (key == QLatin1String("Chart")) {
        mnuChart_Click();
    } else if (key == QLatin1String("Grid")) {
        mnuGrid_Click();
    } else if (key == QLatin1String("ReportForDoctor")) {
        busy.reset(); // a modal dialog follows
        mnuReportForDoctor_Click();
    } else if (key == QLatin1String("BMI")) {
        mnuBMI_Click();
    } else if (key == QLatin1String("WorkWithBiologicalClock")) {
        mnuWrkBio_Click();
    } else if (key == QLatin1String("Memo")) {
        mnuMemoOpen_Click();
    } else if (key == QLatin1String("Help")) {
        mnuContents_Click();
    } else if (key == QLatin1String("Tip")) {
        busy.reset(); // a modal dialog follows
        mnuTip_Click();
    } else if (key == QLatin1String("ExportWebPage")) {
        mnuExportHTML_Click();
    } else if (key == QLatin1String("Print")) {
        mnuPrintScreen_Click();
    } else if (key == QLatin1String("Exit")) {
        mnuExit_Click();
    }
}
