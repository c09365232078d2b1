#include "reports/frmReportDoctor.h"

#include "charts/frmChart.h"
#include "data/BodyMassIndex.h"
#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/ui/Captions.h"
#include "data/ui/ErrorReport.h"
#include "data/ui/modHealthUi.h"
#include "platform/controls/TChart.h"
#include "platform/controls/usrMonthYear.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/NamedControls.h"
#include "platform/runtime/ui/UserInputDrop.h"
#include "platform/services/Services.h"
#include "platform/services/Shell.h"
#include "reports/GridExport.h"
#include "reports/clsScreenConfiguration.h"
#include "reports/clsWebReportGenerator.h"
#include "reports/frmGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

const char* const kCategories[] = {"Daily", "Day Average", "Weekly Average", "Monthly Average"};
const char* const kPlots[] = {"Blood Pressure", "Pulse", "Weight", "Temp1", "Temp2", "Sugar", "Multiple"};

// A window the report loads for one step: unloaded when the step ends, also when it fails.
class DrivenForm {
public:
    explicit DrivenForm(vb::FormBase& form) : form_(&form)
    {
        form_->Load();
        form_->widget()->setWindowState(Qt::WindowMaximized);
    }
    DrivenForm(const DrivenForm&) = delete;
    DrivenForm& operator=(const DrivenForm&) = delete;
    ~DrivenForm()
    {
        try {
            if (form_->Loaded())
                form_->Unload();
        } catch (...) {
            // Unloading is the last thing the step does; the report's own error, if any, is
            // the one to tell.
        }
    }

private:
    vb::FormBase* form_;
};

// Chooses the chart's month as the selector does, then redraws through the window's own
// handler so that its errors reach the report.
void showChartMonth(frmChart& chart, int year, int month)
{
    {
        const QSignalBlocker block(chart.usrMonthYear1);
        chart.usrMonthYear1->SelectPeriod(year, month);
    }
    chart.usrMonthYear1_PeriodChanged();
}

// Loads the chart window on the report's person and category.
void prepareChart(frmChart& chart, qint32 personKey, int category)
{
    const int index = chart.cmbPerson->findData(personKey);
    if (index >= 0 && index != chart.cmbPerson->currentIndex()) {
        {
            const QSignalBlocker block(chart.cmbPerson);
            chart.cmbPerson->setCurrentIndex(index);
        }
        chart.cmbPerson_Click();
    }
    if (chart.lstPlotType->currentRow() != category) {
        {
            const QSignalBlocker block(chart.lstPlotType);
            chart.lstPlotType->setCurrentRow(category);
        }
        chart.lstPlotType_Click();
    }
}

} // namespace

frmReportDoctor::frmReportDoctor() : vb::Form(QStringLiteral("frmReportDoctor"))
{
    setCaption(QStringLiteral("Report for Doctor"));

    lblPerson = new QLabel(QStringLiteral("1. Select Person"), this);
    lblPerson->setObjectName(QStringLiteral("lblPerson"));
    cboPerson = new QComboBox(this);
    cboPerson->setObjectName(QStringLiteral("cboPerson"));
    cboPerson->setMinimumContentsLength(18);
    lblPlotType = new QLabel(QStringLiteral("2. Select Category"), this);
    lblPlotType->setObjectName(QStringLiteral("lblPlotType"));
    QStringList categories;
    for (const char* c : kCategories)
        categories << QLatin1String(c);
    lstPlotType = vb::makeList(this, "lstPlotType", categories);
    lstPlotType->setFixedWidth(lstPlotType->minimumWidth() + 4);
    lblPeriod = new QLabel(QStringLiteral("3. Select Period"), this);
    lblPeriod->setObjectName(QStringLiteral("lblPeriod"));
    lstSelectPeriod = vb::makeList(this, "lstSelectPeriod", PeriodName::all());
    lstSelectPeriod->setFixedWidth(lstSelectPeriod->minimumWidth() + 4);

    fraColumns = new QGroupBox(QStringLiteral("4. Select Columns"), this);
    fraColumns->setObjectName(QStringLiteral("fraColumns"));
    chkBP = vb::makeCheckBox(fraColumns, QStringLiteral("chkBP"), QStringLiteral("Blood Pressure"), true);
    chkPLSE = vb::makeCheckBox(fraColumns, QStringLiteral("chkPLSE"), QStringLiteral("Pulse"), true);
    chkWt = vb::makeCheckBox(fraColumns, QStringLiteral("chkWt"), QStringLiteral("Weight"), true);
    chkTemp = vb::makeCheckBox(fraColumns, QStringLiteral("chkTemp"), QStringLiteral("Temp1"), true);
    chkTemp1 = vb::makeCheckBox(fraColumns, QStringLiteral("chkTemp1"), QStringLiteral("Temp2"), true);
    chkSugar = vb::makeCheckBox(fraColumns, QStringLiteral("chkSugar"), QStringLiteral("Sugar"), true);
    chkRegimen = vb::makeCheckBox(fraColumns, QStringLiteral("chkRegimen"), QStringLiteral("Regimen"), true);
    chkMood = vb::makeCheckBox(fraColumns, QStringLiteral("chkMood"), QStringLiteral("Mood"), true);
    chkCmmnt = vb::makeCheckBox(fraColumns, QStringLiteral("chkCmmnt"), QStringLiteral("Comment"), true);
    auto* columnsLayout = new QGridLayout(fraColumns);
    QCheckBox* const columnBoxes[] = {chkBP, chkPLSE, chkWt, chkTemp, chkTemp1, chkSugar, chkRegimen, chkMood, chkCmmnt};
    for (int i = 0; i < 9; ++i)
        columnsLayout->addWidget(columnBoxes[i], i % 3, i / 3);

    fraColor = new QGroupBox(QStringLiteral("5. Background Color for:"), this);
    fraColor->setObjectName(QStringLiteral("fraColor"));
    chkSugarColor = vb::makeCheckBox(fraColor, QStringLiteral("chkSugarColor"), QStringLiteral("Sugar"), true);
    chkBPColor = vb::makeCheckBox(fraColor, QStringLiteral("chkBPColor"), QStringLiteral("Blood Pressure"), true);
    auto* colorLayout = new QVBoxLayout(fraColor);
    colorLayout->addWidget(chkSugarColor);
    colorLayout->addWidget(chkBPColor);
    colorLayout->addStretch();

    chkIncludeChart = vb::makeCheckBox(this, QStringLiteral("chkIncludeChart"), QStringLiteral("Charts"), true);
    fraCharts = new QGroupBox(QStringLiteral("6. Include the following"), this);
    fraCharts->setObjectName(QStringLiteral("fraCharts"));
    auto* chartsLayout = new QGridLayout(fraCharts);
    for (int i = 0; i < 7; ++i) {
        auto* box = vb::makeCheckBox(fraCharts, QStringLiteral("chkFact_%1").arg(i), QLatin1String(kPlots[i]), i == 0 || i == 2);
        chkFact[static_cast<std::size_t>(i)] = box;
        chartsLayout->addWidget(box, i % 4, i / 4);
    }

    cmdShow = new QPushButton(QStringLiteral("&Go"), this);
    cmdShow->setObjectName(QStringLiteral("cmdShow"));
    cmdShow->setAutoDefault(false);
    cmdShow->setMinimumWidth(cmdShow->fontMetrics().horizontalAdvance(QStringLiteral("Go")) * 5);

    txtFootNote = new QPlainTextEdit(this);
    txtFootNote->setObjectName(QStringLiteral("txtFootNote"));
    txtFootNote->setPlainText(doctorreport::FootnoteHtml());
    txtFootNote->setVisible(false);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    ProgressBar1 = new QProgressBar(StatusBar1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 12);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedWidth(160);
    StatusBar1->addPermanentWidget(ProgressBar1);
    ProgressBar1->setVisible(false);

    // Layout: the three lists across the top, the column and colour choices below them, the
    // chart choices and the button under those, the status bar at the foot.
    auto* top = new QHBoxLayout;
    auto column = [](QLabel* label, QWidget* control) {
        auto* box = new QVBoxLayout;
        box->setSpacing(2);
        box->addWidget(label);
        box->addWidget(control);
        box->addStretch();
        return box;
    };
    top->addLayout(column(lblPerson, cboPerson));
    top->addLayout(column(lblPlotType, lstPlotType));
    top->addLayout(column(lblPeriod, lstSelectPeriod));
    top->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addWidget(fraColumns, 1);
    middle->addWidget(fraColor);

    auto* charts = new QVBoxLayout;
    charts->addWidget(chkIncludeChart);
    charts->addWidget(fraCharts);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(charts, 1);
    auto* go = new QVBoxLayout;
    go->addStretch();
    go->addWidget(cmdShow);
    bottom->addLayout(go);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addLayout(bottom);
    layout->addStretch();
    layout->addWidget(StatusBar1);

    using errorreport::guarded;
    connect(cboPerson, &QComboBox::activated, this, [this] { guarded([this] { cboPerson_Click(); }); });
    connect(chkIncludeChart, &QCheckBox::clicked, this, [this] { guarded([this] { chkIncludeChart_Click(); }); });
    // The report tells its own failures; the guard is for anything it lets out all the same.
    connect(cmdShow, &QPushButton::clicked, this, [this] { guarded([this] { cmdShow_Click(); }); });
}

frmReportDoctor::~frmReportDoctor() = default;

// ---------------------------------------------------------------------------------------------
// Load, resize, unload, choices

void frmReportDoctor::Form_Load()
{
    if (vb::MDIForm* main = vb::MDIForm::Current())
        setWindowIcon(main->windowIcon());

    lstPlotType->setCurrentRow(0);

    clsDataService service;
    {
        auto rs = service.GetPersonsWithMeasures();
        modHealth::FillPersonListAndSelect(cboPerson, *rs);
        rs->Close();
    }

    lstSelectPeriod->setCurrentRow(1); // "Last 1 Month"

    auto settings = gDB->OpenRecordset(QStringLiteral("select * from Application"), dao::dbOpenSnapshot);
    auto text = [&settings](const char* column) {
        return settings->Eof() ? QString() : vb::CStr(settings->Fields(QLatin1String(column)).Value());
    };
    TempLBL = text("TempLBL");
    Temp1LBL = text("Temp1LBL");
    TempUnit = text("TempUnit");
    Temp1Unit = text("Temp1Unit");
    Temp2Unit = text("Temp2Unit");
    settings->Close();
    chkTemp->setText(captions::plain(TempLBL));
    chkFact[3]->setText(captions::plain(TempLBL));
    chkTemp1->setText(captions::plain(Temp1LBL));
    chkFact[4]->setText(captions::plain(Temp1LBL));
}

void frmReportDoctor::Form_Resize()
{
    // The progress bar sits at the status bar's right end by the status bar's own layout; it
    // shows only while a report runs.
    if (!running_)
        ProgressBar1->setVisible(false);
}

void frmReportDoctor::Form_QueryUnload(int& cancel, int /*unloadMode*/)
{
    // The report drives other windows and puts the user's forms back at its end: the window
    // stays until it is done.
    if (running_)
        cancel = 1;
}

void frmReportDoctor::cboPerson_Click()
{
    const int index = cboPerson->currentIndex();
    if (index >= 0)
        gPersonKey = cboPerson->itemData(index).toInt();
}

void frmReportDoctor::chkIncludeChart_Click()
{
    const bool on = chkIncludeChart->checkState() != Qt::Unchecked;
    for (QCheckBox* box : chkFact)
        box->setEnabled(on);
}

void frmReportDoctor::setStatus(const QString& text)
{
    if (text.isEmpty())
        StatusBar1->clearMessage();
    else
        StatusBar1->showMessage(text);
}

void frmReportDoctor::setProgress(int value) { ProgressBar1->setValue(value); }

QString frmReportDoctor::selectedPeriod() const
{
    return lstSelectPeriod->currentItem() ? lstSelectPeriod->currentItem()->text() : QString();
}

// ---------------------------------------------------------------------------------------------
// The pipeline

void frmReportDoctor::cmdShow_Click()
{
    if (running_)
        return;
    if (cboPerson->currentIndex() < 0) {
        vb::MsgBox(QStringLiteral("No person has measurements to report on."), vb::vbExclamation, App::Title());
        return;
    }
    gPersonKey = cboPerson->itemData(cboPerson->currentIndex()).toInt();
    if (!clsDataService().GetLastMeasureDate().isValid()) {
        vb::MsgBox(QStringLiteral("The chosen person has no measurements to report on any more."), vb::vbExclamation,
                   App::Title());
        return;
    }

    running_ = true;
    cmdShow->setEnabled(false);
    bool opened = true;
    QString failure;
    {
        vb::UserInputDrop inputDrop(*this);
        try {
            runReport(opened);
        } catch (const std::exception& e) {
            failure = errorreport::errorParts(e).description;
        } catch (...) {
            failure = QStringLiteral("Unknown error.");
        }
    }
    ProgressBar1->setVisible(false);
    setStatus(QString());
    cmdShow->setEnabled(true);
    running_ = false;

    if (!failure.isEmpty()) {
        vb::MsgBox(QStringLiteral("The report for the doctor could not be made:") + QStringLiteral("\r\n") + failure,
                   vb::vbExclamation, App::Title());
    } else if (!opened) {
        // Told once the user's forms are back.
        services::TellNotOpened(services::OpenTarget::Page, lastPage_);
    }
}

void frmReportDoctor::runReport(bool& opened)
{
    clsScreenConfiguration screen(dataFormOpener_);
    doctorreport::DeleteOldChartImages();
    clsWebReportGenerator report;
    ProgressBar1->setMaximum(12);
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(true);

    AddPersonInformation(report);
    setStatus(QStringLiteral("Getting Person Information ..."));
    setProgress(1);
    AddMeasurementSummary(report);
    setStatus(QStringLiteral("Capturing current screen configuration ..."));
    setProgress(2);

    try {
        screen.SaveAndClose();
        setStatus(QStringLiteral("Creating table for measurements ..."));
        setProgress(3);
        if (chkIncludeChart->isChecked()) {
            AddCharts(report);
            setStatus(QStringLiteral("Getting Charts ..."));
            setProgress(4);
        }
        setStatus(QStringLiteral("Creating Table for Measurements ..."));
        AddMeasurementTable(report);
        setStatus(QStringLiteral("Creating BP range color table ..."));
        setProgress(5);
        AddBPColorTable(report);
        setStatus(QStringLiteral("Creating Diabetes Goals table ..."));
        setProgress(6);
        AddDiabetesGoals(report);
        setStatus(QStringLiteral("Creating regiment table ..."));
        setProgress(7);
        AddRegimenTables(report);
        setStatus(QStringLiteral("Creating footnote ..."));
        setProgress(8);
        // The footnote keeps its CR LF line ends whatever the text box made of them.
        report.AddContent(txtFootNote->toPlainText().remove(u'\r').replace(u'\n', QStringLiteral("\r\n")));
        setStatus(QStringLiteral("Saving the report to a file ..."));
        setProgress(9);
        setStatus(QStringLiteral("Report Consolidation ..."));
        report.SaveToFile(App::Path() + QStringLiteral("/ReportForDoctor.html"));
        lastPage_ = report.FileName();
        setStatus(QStringLiteral("Displaying the report ..."));
        setProgress(10);
        opened = services::Current().shell->OpenFile(report.FileName());
    } catch (...) {
        // The user's forms come back whatever failed (those the save closed before a failure
        // of its own too); the failure is what is told.
        try {
            screen.Restore();
        } catch (...) {
        }
        throw;
    }
    setStatus(QStringLiteral("Restoring the screen configuration ..."));
    setProgress(11);
    setStatus(QString());
    screen.Restore();
    setProgress(12);
}

// ---------------------------------------------------------------------------------------------
// Sections

void frmReportDoctor::AddPersonInformation(clsWebReportGenerator& report)
{
    clsDataService service;
    const QDateTime last = service.GetLastMeasureDate();
    const QDateTime first = service.GetFirstMeasureDate();
    const QDate start = doctorreport::TitleStart(selectedPeriod(), first.date(), last.date());
    report.AddContent(doctorreport::PeriodTitleHtml(start, last.date()));
    report.AddContent(doctorreport::NoteHtml());

    doctorreport::PatientInfo patient = doctorreport::ReadPatient(gPersonKey, gHeightUnit, gWeightUnit);
    // The calculator's own computation for the person's height and newest weight; its refusal
    // is shown as the calculator shows it.
    const bmi::Outcome outcome = bmi::Calculate(bmi::PersonEntry(gPersonKey));
    if (outcome.accepted())
        patient.bmi = outcome.text.isEmpty() ? QStringLiteral("Unknown") : outcome.text;
    else
        vb::MsgBox(outcome.message, outcome.icon);
    report.AddContent(doctorreport::PatientTableHtml(patient));
}

void frmReportDoctor::ComputeMeasurementStatistics()
{
    MeasureStats = doctorreport::StatsTable{};
    const QString filter = clsDataService().GetPeriodFilter(QStringLiteral("MSRD_DT"), selectedPeriod());
    MeasureStats = doctorreport::ComputeMeasurementStatistics(gPersonKey, filter);
}

void frmReportDoctor::AddMeasurementSummary(clsWebReportGenerator& report)
{
    ComputeMeasurementStatistics();
    doctorreport::SummaryColumns columns;
    columns.bp = chkBP->isChecked();
    columns.pulse = chkPLSE->isChecked();
    columns.weight = chkWt->isChecked();
    columns.temp = chkTemp->isChecked();
    columns.temp1 = chkTemp1->isChecked();
    columns.sugar = chkSugar->isChecked();
    doctorreport::SummaryLabels labels;
    labels.weightUnit = gWeightUnitText;
    labels.tempLabel = TempLBL;
    labels.temp1Label = Temp1LBL;
    labels.tempUnit = TempUnit;
    labels.temp1Unit = Temp1Unit;
    labels.sugarUnit = Temp2Unit;
    report.AddContent(doctorreport::SummaryTableHtml(MeasureStats, columns, labels));
}

void frmReportDoctor::AddCharts(clsWebReportGenerator& report)
{
    setStatus(QStringLiteral("Creating Charts ..."));
    frmChart& chart = vb::defaultInstance<frmChart>();
    DrivenForm driven(chart);
    vb::UserInputDrop::letOtherMessagesRun(); // status and progress show; input waits to be dropped
    prepareChart(chart, gPersonKey, std::max(0, lstPlotType->currentRow()));

    clsDataService service;
    auto months = service.GetMonthlyCounts(gPersonKey, selectedPeriod());
    struct Month {
        int year;
        int month;
    };
    std::vector<Month> list;
    for (; !months->Eof(); months->MoveNext())
        list.push_back(
            {vb::CInt(months->Fields(QStringLiteral("yr")).Value()), vb::CInt(months->Fields(QStringLiteral("mnth")).Value())});
    months->Close();

    for (const Month& m : list) {
        showChartMonth(chart, m.year, m.month);
        report.AddContent(QStringLiteral("<p class='pSpacer'></p>"));
        vb::UserInputDrop::letOtherMessagesRun();
        report.AddContent(doctorreport::ChartMonthOpenHtml());
        for (int i = 0; i < 7; ++i) {
            if (!chkFact[static_cast<std::size_t>(i)]->isChecked())
                continue;
            {
                const QSignalBlocker block(chart.optFact[static_cast<std::size_t>(i)]);
                chart.optFact[static_cast<std::size_t>(i)]->setChecked(true);
            }
            vb::UserInputDrop::letOtherMessagesRun();
            chart.optFact_Click(i);
            const int number = ++ChartImageNumber;
            setStatus(QStringLiteral("Creating Charts - ") + QString::number(number) + QStringLiteral(" ... "));
            const QString file = report.GetTempFolder() + u'/' + QString::number(number) + QStringLiteral(".jpeg");
            if (!chart.TChart1->ExportJpeg(file, 700, 300, 100))
                throw WebReportError(75, QStringLiteral("Path/File access error: cannot write the chart image %1")
                                             .arg(QDir::toNativeSeparators(file)));
            report.AddContent(doctorreport::ChartImageHtml(number));
        }
        report.AddContent(doctorreport::ChartMonthCloseHtml());
    }
}

void frmReportDoctor::AddMeasurementTable(clsWebReportGenerator& report)
{
    frmGrid& grid = vb::defaultInstance<frmGrid>();
    DrivenForm driven(grid);
    // The same person, level and period as this window; the lists hold the same entries in the
    // same order, the person is matched by key all the same.
    {
        const QSignalBlocker block(grid.cboPerson);
        const int person = grid.cboPerson->findData(gPersonKey);
        if (person >= 0)
            grid.cboPerson->setCurrentIndex(person);
    }
    {
        const QSignalBlocker block(grid.lstPlotType);
        grid.lstPlotType->setCurrentRow(lstPlotType->currentRow());
    }
    {
        const QSignalBlocker block(grid.lstSelectPeriod);
        grid.lstSelectPeriod->setCurrentRow(lstSelectPeriod->currentRow());
    }
    const std::pair<QCheckBox*, QCheckBox*> boxes[] = {
        {grid.chkBP, chkBP},           {grid.chkPLSE, chkPLSE},
        {grid.chkWt, chkWt},           {grid.chkTemp, chkTemp},
        {grid.chkTemp1, chkTemp1},     {grid.chkSugar, chkSugar},
        {grid.chkRegimen, chkRegimen}, {grid.chkMood, chkMood},
        {grid.chkCmmnt, chkCmmnt},     {grid.chkSugarColor, chkSugarColor},
        {grid.chkBPColor, chkBPColor},
    };
    for (const auto& [theirs, ours] : boxes)
        theirs->setChecked(ours->isChecked());
    grid.cmdShow_Click();
    vb::UserInputDrop::letOtherMessagesRun();
    gridexport::ExportFormGridToWebReport(report, QStringLiteral("frmGrid"));
}

void frmReportDoctor::AddBPColorTable(clsWebReportGenerator& report)
{
    setStatus(QStringLiteral("Creating Color - BP Range Information ..."));
    report.AddContent(doctorreport::BPColorTableHtml());
}

void frmReportDoctor::AddDiabetesGoals(clsWebReportGenerator& report)
{
    vb::FormBase* goals = goalFormMaker_ ? goalFormMaker_() : vb::DefaultInstanceByName(QStringLiteral("frmDSetGoal"));
    if (!goals)
        throw vb::RuntimeError(424, QStringLiteral("Object required: the goal window frmDSetGoal"));
    DrivenForm driven(*goals);
    vb::UserInputDrop::letOtherMessagesRun();
    gridexport::ExportFormGridToWebReport(report, QStringLiteral("frmDSetGoal"));
}

void frmReportDoctor::AddRegimenTables(clsWebReportGenerator& report)
{
    setStatus(QStringLiteral("Creating Regimen Information ..."));
    frmChart& chart = vb::defaultInstance<frmChart>();
    DrivenForm driven(chart);
    vb::UserInputDrop::letOtherMessagesRun();

    // The month of the latest reading, whatever period the report covers. The regimen table
    // depends on the person only; the chart's load already shows that month, and is not
    // redrawn for it again.
    auto months = clsDataService().GetMonthlyCounts(gPersonKey, PeriodName::Last1Month);
    std::vector<std::pair<int, int>> list;
    for (; !months->Eof(); months->MoveNext())
        list.emplace_back(vb::CInt(months->Fields(QStringLiteral("yr")).Value()),
                          vb::CInt(months->Fields(QStringLiteral("mnth")).Value()));
    months->Close();
    for (const auto& [year, month] : list) {
        if (chart.usrMonthYear1->SelectedYear() != year || chart.usrMonthYear1->SelectedMonth() != month)
            showChartMonth(chart, year, month);
        vb::UserInputDrop::letOtherMessagesRun();
        gridexport::ExportFormGridToWebReport(report, QStringLiteral("frmChart"));
    }
}
