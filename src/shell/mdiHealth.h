#pragma once
// The main window: a menu bar and a toolbar over the client area that holds one data form at a
// time (Person, Regimen, Measurement, Chart or Grid), plus the memo and the calculators.
//
// The handlers are spread over four files:
//   mdiHealth.cpp              load and unload, menus, toolbar, openers, child forms, memo,
//                              dialog openers
//   mdiHealth_maintenance.cpp  Tools > Database: backup, compaction, database folder
//   mdiHealth_export.cpp       the web-page export and the two grid exports other forms call
//   mdiHealth_help.cpp         help, print screen, chart printing, about box, tip of the day
//
// Menu items and toolbar buttons
// ------------------------------
// Every menu item is a QAction member named as the item (mnuPerson, mnuMemoSave...). The
// toolbar's buttons are QActions of their own (their key in data(), their tooltip), reached by
// position, 1-based, separators counted, as the forms address them:
//     1 Person  2 Regimen  3 Measure  4 -  5 Chart  6 Grid  7 -  8 ReportForDoctor
//     9 ExportWebPage  10 -  11 BMI  12 WorkWithBiologicalClock  13 -  14 Memo  15 Tip
//     16 Help  17 -  18 Print  19 Exit
// or by key (Toolbar1Button("Memo")). A button that repeats a menu item (Person, Regimen,
// Measure, Chart, Grid and Memo, whose twin is mnuMemoOpen) keeps the item's enabled state:
// enabling or disabling either one changes both, so a form may set one or both.
//
// The windows do not know the main window. Where it opens a data form or the memo, it connects
// to the form's formUnloaded signal, which gives the form's menu item and button back
// (EnableOpener), and to the memo's signals, which drive the memo commands.
#include "platform/runtime/ui/Form.h"

#include <QString>
#include <vector>

class QAction;
class QMenu;
class QToolBar;
class clsWebReportGenerator;

class mdiHealth : public vb::MDIForm {
    Q_OBJECT
public:
    mdiHealth();
    ~mdiHealth() override;

    // The loaded main window, or none.
    static mdiHealth* Loaded();

    // --- Menus (captions, shortcuts and start states as the program has always had them) ---
    QMenu* mnuFile = nullptr;
    QAction* mnuPrintScreen = nullptr;
    QAction* mnuPrint = nullptr; // "Print Chart": hidden throughout; enabled while the chart is open
    QAction* mnuPrintDash = nullptr;
    QAction* mnuClose = nullptr;
    QAction* mnuExit = nullptr;

    QMenu* mnuEntry = nullptr;
    QAction* mnuPerson = nullptr;  // Ctrl+P, twin of button 1
    QAction* mnuRegimen = nullptr; // Ctrl+R, twin of button 2
    QAction* mnuMeasure = nullptr; // Ctrl+M, twin of button 3
    QAction* mnuDash1 = nullptr;
    QAction* mnuImportMeasurements = nullptr; // hidden
    QAction* mnuDash12 = nullptr;             // hidden
    QAction* mnuChngeCustomLblUnt = nullptr;

    QMenu* mnuView = nullptr;
    QAction* mnuChart = nullptr; // twin of button 5
    QAction* mnuGrid = nullptr;  // twin of button 6

    QMenu* mnuReport = nullptr;
    QAction* mnuReportForDoctor = nullptr; // Ctrl+D
    QAction* mnuExportHTML = nullptr;

    QMenu* mnuMemo = nullptr;
    QAction* mnuMemoOpen = nullptr; // Ctrl+O, twin of the Memo button (14)
    QAction* mnuMemoSave = nullptr; // Ctrl+S, off at start
    QAction* mnuMemoExit = nullptr; // off at start

    QMenu* mnuUtilities = nullptr;
    QAction* mnuBMI = nullptr; // Ctrl+B
    QAction* mnuWrkBio = nullptr;
    QAction* mnuFC = nullptr;

    QMenu* mnuTools = nullptr;
    QMenu* mnuDatabase = nullptr;
    QAction* mnuBackupDBFile = nullptr;
    QAction* mnuCompactDB = nullptr;
    QAction* mnuDBDir = nullptr;
    QAction* mnuDash11 = nullptr;
    QAction* mnuPicture = nullptr;

    QMenu* mnuWindow = nullptr; // lists the open child windows

    QMenu* mnuHelp = nullptr;
    QAction* mnuContents = nullptr;
    QAction* mnuTip = nullptr;
    QAction* mnuDash = nullptr;
    QAction* mnuAbout = nullptr;

    QToolBar* Toolbar1 = nullptr;

    // The toolbar button at a position (1-based, separators counted), or none.
    QAction* Toolbar1Button(int position) const;
    // The toolbar button with that key ("Person", "Memo"...), or none.
    QAction* Toolbar1Button(const QString& key) const;
    // The key of a toolbar button.
    static QString ButtonKey(const QAction* button);

    // Enables or disables the menu item and toolbar button that open the named form:
    // "frmPerson" mnuPerson + 1, "frmRegimen" mnuRegimen + 2, "frmMeasure" mnuMeasure + 3,
    // "frmChart" mnuChart + 5 (and mnuPrint the other way), "frmGrid" mnuGrid + 6,
    // "frmMemo" mnuMemoOpen + the Memo button. Other names: nothing.
    void EnableOpener(const QString& formName, bool enabled);
    // Opens the named data form ("frmPerson", "frmRegimen", "frmMeasure", "frmChart",
    // "frmGrid") in the client area as its opener does once its checks passed, other forms left
    // open: shown and fitted, its menu item and button disabled until it unloads. The report
    // reopens the user's forms through it. None for another name.
    vb::FormBase* OpenDataForm(const QString& formName);

    // --- Start-up and shutdown ---
    void MDIForm_Load() override;
    void MDIForm_Unload(int& cancel) override;
    void MDIForm_Resize() override;

    // --- Child forms ---
    // Mode 1 fits every non-exempt child form to the client area (nothing when minimised);
    // mode 2 unloads every non-exempt loaded form. Exempt: "mdiHealth", "frmMemo",
    // "frmSplash", "frmTip", "frmBMI", "frmBiologicalClockWork". Errors are passed over.
    void ArrangeChildForms(int mode);
    static bool IsExemptForm(const QString& formName);

    // --- Menu handlers ---
    // File
    void mnuPrintScreen_Click(); // mdiHealth_help.cpp
    void mnuPrint_Click();       // mdiHealth_help.cpp
    void mnuClose_Click();
    void mnuExit_Click();
    // Entry: the openers check their preconditions, close the other forms, open theirs and
    // disable its menu item and button.
    void mnuPerson_Click();
    void mnuRegimen_Click();
    void mnuMeasure_Click();
    void mnuImportMeasurements_Click();
    void mnuChngeCustomLblUnt_Click();
    // View
    void mnuChart_Click();
    void mnuGrid_Click();
    // Reports
    void mnuReportForDoctor_Click();
    void mnuExportHTML_Click(); // mdiHealth_export.cpp
    // Memo
    void mnuMemoOpen_Click();
    void mnuMemoSave_Click();
    void mnuMemoExit_Click();
    // Health-Utilites
    void mnuBMI_Click();
    void mnuWrkBio_Click();
    void mnuFC_Click();
    // Tools
    void mnuBackupDBFile_Click(); // mdiHealth_maintenance.cpp
    void mnuCompactDB_Click();    // mdiHealth_maintenance.cpp
    void mnuDBDir_Click();        // mdiHealth_maintenance.cpp
    void mnuPicture_Click();
    // Help
    void mnuContents_Click(); // mdiHealth_help.cpp
    void mnuTip_Click();      // mdiHealth_help.cpp
    void mnuAbout_Click();    // mdiHealth_help.cpp

    // The toolbar's click: hourglass, then the handler of the button's key.
    void Toolbar1_ButtonClick(QAction* Button);

    // --- Web-page export (mdiHealth_export.cpp; the exports themselves are gridexport's) ---
    // The grids of every loaded data form, each under its title, appended to the page.
    void ExportActiveGridToWebReport(clsWebReportGenerator& report);
    // The goal form's grid only.
    void ExportGoalGridToWebReport(clsWebReportGenerator& report);
    // The current person's name, "" when gPersonKey matches no person.
    QString GetCurrentPersonName();

private:
    void createMenus();
    void createToolbar();
    QAction* addButton(const QString& key, const QString& toolTip, const QString& iconFile);
    void addSeparatorButton();
    // Keeps a menu item and its toolbar button enabled together.
    static void pairEnabled(QAction* item, QAction* button);
    void fillWindowMenu();
    // Runs a handler from a menu or button: an error is reported, never let loose in the
    // event loop.
    template <class F>
    void guarded(F&& handler);
    // Fits one child form to the client area.
    void fitChildForm(vb::FormBase& form);
    // Shows the default instance of a data form in the client area, connected to give its
    // command back when it unloads.
    template <class T>
    T& openChildForm();
    // A form this window opened has unloaded: its menu item and button come back.
    void onFormUnloaded(const QString& formName);
    // The memo's text changed, was saved, or the memo is closing.
    void onMemoChanged();
    void onMemoSaved();
    void onMemoClosing();

    std::vector<QAction*> buttons_; // by position - 1
};
