#pragma once
// "Report for Doctor": the user chooses a person, an averaging level, a period, the columns, the
// colour coding and the charts, and "&Go" writes one HTML page a doctor can read (title and
// patient, summary, chart images month by month, the measurement table, the blood-pressure
// legend, the goal and regimen tables and a footnote) and opens it. Shown modally by the main
// window.
//
// The page is made from what the other windows show: the user's data forms are put aside, the
// chart, grid and goal windows are loaded unseen, driven through their own handlers, exported
// and unloaded, and the user's forms come back at the end, also after a failure.
#include "platform/runtime/ui/Form.h"
#include "reports/DoctorReportSections.h"
#include "reports/clsScreenConfiguration.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class clsWebReportGenerator;

class frmReportDoctor : public vb::Form {
    Q_OBJECT
public:
    frmReportDoctor();
    ~frmReportDoctor() override;

    QLabel* lblPerson;
    QComboBox* cboPerson; // persons with measurements; item data PRSN_KY
    QLabel* lblPlotType;
    QListWidget* lstPlotType; // "Daily", "Day Average", "Weekly Average", "Monthly Average"
    QLabel* lblPeriod;
    QListWidget* lstSelectPeriod; // the period names, "All Period" first
    QGroupBox* fraColumns;
    QCheckBox* chkBP;
    QCheckBox* chkPLSE;
    QCheckBox* chkWt;
    QCheckBox* chkTemp;  // caption: the first custom label
    QCheckBox* chkTemp1; // caption: the second custom label
    QCheckBox* chkSugar;
    QCheckBox* chkRegimen;
    QCheckBox* chkMood;
    QCheckBox* chkCmmnt;
    QGroupBox* fraColor;
    QCheckBox* chkSugarColor;
    QCheckBox* chkBPColor;
    QCheckBox* chkIncludeChart;
    QGroupBox* fraCharts;
    std::array<QCheckBox*, 7> chkFact{}; // by plot key; 6 the multiple plot
    QPushButton* cmdShow;
    QPlainTextEdit* txtFootNote; // not shown: the footnote's HTML
    QStatusBar* StatusBar1;
    QProgressBar* ProgressBar1; // at the status bar's right end, shown while a report runs

    // The running number of the chart images, kept while the window stays loaded so that a
    // second report numbers its images on.
    qint32 ChartImageNumber = 0;
    doctorreport::StatsTable MeasureStats{};
    // The settings texts read at load: the custom labels, their units and the sugar unit.
    QString TempLBL, Temp1LBL, TempUnit, Temp1Unit, Temp2Unit;

    // How the goal window is made: it belongs to the record forms, which this window does not
    // know. The main window sets it before showing this window.
    using FormMaker = std::function<vb::FormBase*()>;
    void setGoalFormMaker(FormMaker maker) { goalFormMaker_ = std::move(maker); }
    // How the user's data forms are reopened after the report: as the main window opens them.
    void setDataFormOpener(clsScreenConfiguration::FormOpener opener) { dataFormOpener_ = std::move(opener); }

    // The path of the page the last report wrote; empty before.
    QString LastPage() const { return lastPage_; }
    bool Running() const { return running_; }

    // Handlers.
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void cboPerson_Click();
    void chkIncludeChart_Click();
    // The whole report; a failure is told in a message and leaves the screen as it was.
    void cmdShow_Click();

    // The sections, each appending to the page; errors reach the caller.
    void AddPersonInformation(clsWebReportGenerator& report);
    void AddMeasurementSummary(clsWebReportGenerator& report);
    void ComputeMeasurementStatistics();
    void AddCharts(clsWebReportGenerator& report);
    void AddMeasurementTable(clsWebReportGenerator& report);
    void AddBPColorTable(clsWebReportGenerator& report);
    void AddDiabetesGoals(clsWebReportGenerator& report);
    void AddRegimenTables(clsWebReportGenerator& report);

private:
    void setStatus(const QString& text);
    void setProgress(int value);
    QString selectedPeriod() const;
    // The steps of one report: true once the page was written; whether it could be opened goes
    // to opened.
    void runReport(bool& opened);

    FormMaker goalFormMaker_;
    clsScreenConfiguration::FormOpener dataFormOpener_;
    QString lastPage_;
    bool running_ = false;
};
