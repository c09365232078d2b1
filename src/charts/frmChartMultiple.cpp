#include "charts/frmChartMultiple.h"

#include "charts/clsTChartInterface.h"
#include "charts/frmChart.h"
#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/ui/Captions.h"
#include "data/ui/ErrorReport.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/NamedControls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <functional>

namespace {

const char* const PlotCaptions[] = {"BloodPressure", "Pulse", "Weight", "Custom1", "Custom2", "Sugar"};

using errorreport::guarded;

// Options of one group cannot be turned off one by one: lift the rule while doing it.
void unselect(QRadioButton* option)
{
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

// The chart window whose person and plot the dialog works on.
frmChart& chart() { return vb::defaultInstance<frmChart>(); }

} // namespace

frmChartMultiple::frmChartMultiple() : vb::Form(QStringLiteral("frmChartMultiple"))
{
    setCaption(QStringLiteral("Multiple Charts "));
    setWindowFlag(Qt::Dialog);

    Frame2 = vb::makeFrame(this, "Frame2", QStringLiteral("Plot with Left Label"));
    Frame3 = vb::makeFrame(this, "Frame3", QStringLiteral("Plot with Right Label"));
    auto* left = new QVBoxLayout(Frame2);
    auto* right = new QVBoxLayout(Frame3);
    for (int i = 0; i < 6; ++i) {
        const auto n = static_cast<std::size_t>(i);
        optLeftLbl[n] = new QRadioButton(QLatin1String(PlotCaptions[i]), Frame2);
        optLeftLbl[n]->setObjectName(QStringLiteral("optLeftLbl_%1").arg(i));
        left->addWidget(optLeftLbl[n]);
        optRightLbl[n] = new QRadioButton(QLatin1String(PlotCaptions[i]), Frame3);
        optRightLbl[n]->setObjectName(QStringLiteral("optRightLbl_%1").arg(i));
        right->addWidget(optRightLbl[n]);
        // A choice runs its handler whether the user or the code makes it.
        connect(optLeftLbl[n], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                guarded([this, i] { optLeftLbl_Click(i); });
        });
        connect(optRightLbl[n], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                guarded([this, i] { optRightLbl_Click(i); });
        });
    }

    cmdSave = vb::makeButton(this, "cmdSave", QStringLiteral("&Save"));
    cmdCancel = vb::makeButton(this, "cmdCancel", QStringLiteral("&Cancel/Close"));
    connect(cmdSave, &QPushButton::clicked, this, [this] { guarded([this] { cmdSave_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { guarded([this] { cmdCancel_Click(); }); });

    auto* frames = new QHBoxLayout;
    frames->setSpacing(12);
    frames->addWidget(Frame2);
    frames->addWidget(Frame3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addLayout(frames);
    layout->addLayout(buttons);

    // Down the left options, then down the right ones, then the buttons.
    QWidget* previous = nullptr;
    for (const auto* options : {&optLeftLbl, &optRightLbl}) {
        for (QRadioButton* option : *options) {
            if (previous)
                setTabOrder(previous, option);
            previous = option;
        }
    }
    setTabOrder(previous, cmdSave);
    setTabOrder(cmdSave, cmdCancel);
}

frmChartMultiple::~frmChartMultiple() = default;

// ---------------------------------------------------------------------------------------------
// Load and unload

void frmChartMultiple::Form_Load()
{
    if (chart().cmbPerson->currentIndex() >= 0)
        gPersonKey = chart().SelectedPersonKey();

    clsDataService service;
    const QString custom1 = captions::plain(service.GetMeasureCaption(1, 1)) + QStringLiteral(":");
    const QString custom2 = captions::plain(service.GetMeasureCaption(2, 1)) + QStringLiteral(":");
    optLeftLbl[PlotKey::Custom1]->setText(custom1);
    optRightLbl[PlotKey::Custom1]->setText(custom1);
    optLeftLbl[PlotKey::Custom2]->setText(custom2);
    optRightLbl[PlotKey::Custom2]->setText(custom2);

    mShownPlot = -1;
    for (int i = 0; i < 7 && mShownPlot < 0; ++i)
        if (chart().optFact[static_cast<std::size_t>(i)]->isChecked())
            mShownPlot = static_cast<qint16>(i);

    // The stored choice, shown and previewed through the options' handlers.
    auto charts = service.GetMultiPlotCharts(PlotKey::Multiple, gPersonKey);
    if (service.RecordCount() > 0)
        charts->MoveFirst();
    for (; !charts->Eof(); charts->MoveNext()) {
        const int k = charts->Fields(QStringLiteral("chrt_id")).Value().toInt();
        if (!charts->Fields(QStringLiteral("chrt_act")).Value().toBool() || k < 0 || k > 5)
            continue;
        const auto n = static_cast<std::size_t>(k);
        switch (charts->Fields(QStringLiteral("lbl_pos")).Value().toInt()) {
        case 1:
            if (optLeftLbl[n]->isChecked()) {
                optLeftLbl_Click(k);
            } else {
                optLeftLbl[n]->setChecked(true);
                unselect(optRightLbl[n]);
                optRightLbl[n]->setEnabled(false);
            }
            break;
        case 2:
            if (optRightLbl[n]->isChecked())
                optRightLbl_Click(k);
            else
                optRightLbl[n]->setChecked(true);
            break;
        default: break;
        }
    }
    charts->Close();
}

void frmChartMultiple::Form_Unload(int& /*cancel*/)
{
    // The chart goes back to what is stored; the dialog closes even when that fails.
    if (mShownPlot < 0)
        return;
    guarded([this] {
        QRadioButton* shown = chart().optFact[static_cast<std::size_t>(mShownPlot)];
        if (shown->isChecked())
            chart().optFact_Click(mShownPlot);
        else
            shown->setChecked(true);
    });
}

// ---------------------------------------------------------------------------------------------
// Choices

void frmChartMultiple::optLeftLbl_Click(int Index)
{
    if (mLeftChoice != 0) {
        const int previous = mLeftChoice - 10;
        clsTChartInterface().HideSeries(previous);
        unselect(optRightLbl[static_cast<std::size_t>(previous)]);
        optRightLbl[static_cast<std::size_t>(previous)]->setEnabled(true);
    }
    mLeftChoice = static_cast<qint16>(Index + 10);
    // A plot on the right chosen on the left moves to the left.
    QRadioButton* sameOnRight = optRightLbl[static_cast<std::size_t>(Index)];
    if (sameOnRight->isChecked()) {
        unselect(sameOnRight);
        mRightChoice = 0;
    }
    sameOnRight->setEnabled(false);
    preview(Index, 1);
}

void frmChartMultiple::optRightLbl_Click(int Index)
{
    if (mRightChoice != 0)
        clsTChartInterface().HideSeries(mRightChoice - 10);
    mRightChoice = static_cast<qint16>(Index + 10);
    preview(Index, 2);
}

void frmChartMultiple::preview(int index, int side)
{
    clsDataService service;
    auto charts = service.GetMultiPlotCharts(PlotKey::Multiple, gPersonKey);
    if (service.RecordCount() > 0)
        charts->MoveFirst();
    for (; !charts->Eof(); charts->MoveNext()) {
        if (charts->Fields(QStringLiteral("chrt_id")).Value().toInt() != index)
            continue;
        clsDataService rangeService;
        auto range = rangeService.GetSinglePersonPlot(index, gPersonKey);
        clsTChartInterface chart;
        chart.HideSeries(index);
        chart.SetSeriesType(index, charts->Fields(QStringLiteral("chrt_tp")).Value().toInt());
        if (rangeService.RecordCount() > 0) {
            range->MoveFirst();
            chart.SetVerticalAxis(index, side, range->Fields(QStringLiteral("y_min")).Value().toInt(),
                                  range->Fields(QStringLiteral("y_max")).Value().toInt());
        }
        range->Close();
    }
    charts->Close();
}

// ---------------------------------------------------------------------------------------------
// Save and cancel

void frmChartMultiple::cmdSave_Click()
{
    clsDataService service;
    auto charts = service.GetMultiPlotCharts(PlotKey::Multiple, gPersonKey);
    if (service.RecordCount() == 0) {
        charts->Close();
        vb::MsgBox(QStringLiteral("The multiple plot of this person is no longer stored. Nothing was saved."), vb::vbExclamation);
        return;
    }
    // Every row or none.
    dao::Transaction transaction(*gDB);
    charts->MoveFirst();
    for (; !charts->Eof(); charts->MoveNext()) {
        const int k = charts->Fields(QStringLiteral("chrt_id")).Value().toInt();
        const bool inRange = k >= 0 && k <= 5;
        int position = 0;
        if (inRange && optLeftLbl[static_cast<std::size_t>(k)]->isChecked())
            position = 1;
        else if (inRange && optRightLbl[static_cast<std::size_t>(k)]->isChecked())
            position = 2;
        charts->Edit();
        charts->Fields(QStringLiteral("lbl_pos")).setValue(position);
        charts->Fields(QStringLiteral("chrt_act")).setValue(position != 0);
        charts->Update();
    }
    transaction.commit();
    charts->Close();
}

void frmChartMultiple::cmdCancel_Click() { Unload(); }
