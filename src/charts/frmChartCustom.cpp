#include "charts/frmChartCustom.h"

#include "charts/ColorSwatch.h"
#include "charts/clsTChartInterface.h"
#include "charts/frmChart.h"
#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/ui/ErrorReport.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/NamedControls.h"
#include "platform/services/Dialogs.h"
#include "platform/services/Services.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char* const PlotNames[] = {"Blood Pressure:", "Pulse:", "Weight:", "Custom1:", "Customr2:", "Sugar:"};

struct TypeEntry {
    const char* text;
    int code;
};
const TypeEntry BloodPressureTypes[] = {{"Candle", SeriesTypeCode::Candle}, {"Line", SeriesTypeCode::Line}};
const TypeEntry PlotTypes[] = {{"Bar", SeriesTypeCode::Bar},
                               {"Line", SeriesTypeCode::Line},
                               {"Area", SeriesTypeCode::Area},
                               {"Point", SeriesTypeCode::Point}};

// The list entry that carries a stored type code, -1 for Null or a code the list lacks.
int entryOfCode(const QComboBox& list, const QVariant& stored)
{
    if (vb::IsNull(stored))
        return -1;
    bool number = false;
    const int code = stored.toInt(&number);
    if (!number)
        return -1;
    for (int i = 0; i < list.count(); ++i)
        if (list.itemData(i).toInt() == code)
            return i;
    return -1;
}

frmChart& chartWindow() { return vb::defaultInstance<frmChart>(); }

} // namespace

frmChartCustom::frmChartCustom() : vb::Form(QStringLiteral("frmChartCustom"))
{
    setCaption(QStringLiteral("Change Chart Type and Chart Color"));
    setWindowFlag(Qt::Dialog);

    Label2[0] = vb::makeLabel(this, "Label2_0", QStringLiteral("Chart Type"));
    Label2[1] = vb::makeLabel(this, "Label2_1", QStringLiteral("Measurement"));
    Label2[2] = vb::makeLabel(this, "Label2_2", QStringLiteral("Chart Color"));
    QFont heading = Label2[0]->font();
    heading.setBold(true);
    for (QLabel* label : Label2)
        label->setFont(heading);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(10);
    rows->setVerticalSpacing(6);
    rows->addWidget(Label2[1], 0, 0);
    rows->addWidget(Label2[0], 0, 1);
    rows->addWidget(Label2[2], 0, 2, 1, 2);
    // Made row by row, so the tab key walks each plot's list and button in turn.
    for (int i = 0; i < 6; ++i) {
        const auto k = static_cast<std::size_t>(i);
        lblFact[k] = vb::makeLabel(this, QStringLiteral("lblFact_%1").arg(i).toLatin1().constData(), QLatin1String(PlotNames[i]));
        cmbChartType[k] = vb::makeComboBox(this, QStringLiteral("cmbChartType_%1").arg(i).toLatin1().constData());
        cmbChartType[k]->setEditable(false); // a type is chosen, never typed
        cmbChartType[k]->setMinimumContentsLength(8);
        lblColor[k] = new ColorSwatch(this, QStringLiteral("lblColor_%1").arg(i));
        cmdChangeColor[k] = vb::makeButton(this, QStringLiteral("cmdChangeColor_%1").arg(i).toLatin1().constData(),
                                           QStringLiteral("Change Color"));
        rows->addWidget(lblFact[k], i + 1, 0);
        rows->addWidget(cmbChartType[k], i + 1, 1);
        rows->addWidget(lblColor[k], i + 1, 2);
        rows->addWidget(cmdChangeColor[k], i + 1, 3);

        connect(cmbChartType[k], &QComboBox::activated, this,
                [this, i] { errorreport::guarded([this, i] { cmbChartType_Click(i); }); });
        connect(cmdChangeColor[k], &QPushButton::clicked, this,
                [this, i] { errorreport::guarded([this, i] { cmdChangeColor_Click(i); }); });
    }
    rows->setColumnMinimumWidth(2, 60);

    cmdOK = vb::makeButton(this, "cmdOK", QStringLiteral("&Save"));
    cmdCancel = vb::makeButton(this, "cmdCancel", QStringLiteral("&Cancel/Close"));
    connect(cmdOK, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdOK_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdCancel_Click(); }); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(14);
    layout->addLayout(rows);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

frmChartCustom::~frmChartCustom() = default;

void frmChartCustom::Form_Load()
{
    clsDataService service;
    lblFact[3]->setText(service.GetMeasureCaption(1, 1) + QStringLiteral(":"));
    lblFact[4]->setText(service.GetMeasureCaption(2, 1) + QStringLiteral(":"));
    mLoaded = false;

    frmChart& chart = chartWindow();
    mPerson = chart.SelectedPersonKey();
    if (mPerson == 0)
        mPerson = gPersonKey;

    FillChartTypes();

    mShownPlot = 0;
    for (int i = 0; i <= 5; ++i)
        if (chart.optFact[static_cast<std::size_t>(i)]->isChecked()) {
            mShownPlot = i;
            break;
        }

    auto rs = service.GetSinglePersonPlots(mPerson);
    for (; !rs->Eof(); rs->MoveNext()) {
        const int plot = rs->Fields(QStringLiteral("plt_ky")).Value().toInt();
        if (plot >= 0 && plot <= 5)
            lblColor[static_cast<std::size_t>(plot)]->setBackColor(
                vb::ColorCode(rs->Fields(QStringLiteral("chrt_cl")).Value().toLongLong()));
    }
    rs->Close();
    mLoaded = true;
}

void frmChartCustom::FillChartTypes()
{
    for (int i = 0; i < 6; ++i) {
        QComboBox* list = cmbChartType[static_cast<std::size_t>(i)];
        list->clear();
        if (i == PlotKey::BloodPressure)
            for (const TypeEntry& e : BloodPressureTypes)
                list->addItem(QLatin1String(e.text), e.code);
        else
            for (const TypeEntry& e : PlotTypes)
                list->addItem(QLatin1String(e.text), e.code);
        list->setCurrentIndex(-1);
        mUnlistedType[static_cast<std::size_t>(i)].reset();
    }

    auto rs = clsDataService().GetSinglePersonPlots(mPerson);
    for (; !rs->Eof(); rs->MoveNext()) {
        const int plot = rs->Fields(QStringLiteral("plt_ky")).Value().toInt();
        if (plot < 0 || plot > 5)
            continue;
        const auto k = static_cast<std::size_t>(plot);
        const QVariant stored = rs->Fields(QStringLiteral("chrt_tp")).Value();
        const int entry = entryOfCode(*cmbChartType[k], stored);
        if (entry >= 0) {
            cmbChartType[k]->setCurrentIndex(entry);
        } else {
            // No entry for it: show the plot's first type, keep the stored one until a choice.
            cmbChartType[k]->setCurrentIndex(0);
            mUnlistedType[k] = stored;
        }
    }
    rs->Close();
}

void frmChartCustom::SelectFactOption(int index)
{
    QRadioButton* option = chartWindow().optFact[static_cast<std::size_t>(index)];
    if (!option->isChecked())
        option->setChecked(true); // the chart window redraws that plot from what is stored
}

void frmChartCustom::cmbChartType_Click(int Index)
{
    if (!mLoaded)
        return;
    QComboBox* list = cmbChartType[static_cast<std::size_t>(Index)];
    if (list->currentIndex() < 0)
        return;
    mUnlistedType[static_cast<std::size_t>(Index)].reset();
    SelectFactOption(Index);
    clsTChartInterface().SetSeriesType(Index, list->currentData().toInt());
}

void frmChartCustom::cmdChangeColor_Click(int Index)
{
    SelectFactOption(Index);
    ColorSwatch* swatch = lblColor[static_cast<std::size_t>(Index)];
    const vb::OLE_COLOR start = swatch->BackColor();
    const vb::OLE_COLOR color = services::Current().colorDialog->ChooseColor(start, QString()).value_or(start);
    swatch->setBackColor(color);
    clsTChartInterface().SetSeriesColor(Index, color);
}

void frmChartCustom::cmdOK_Click()
{
    // All six rows or none.
    dao::Transaction transaction(*gDB);
    auto rs = clsDataService().GetSinglePersonPlots(mPerson);
    if (rs->Eof()) {
        rs->Close();
        vb::MsgBox(QStringLiteral("The person of this chart is no longer in the database. Nothing was saved."), vb::vbExclamation,
                   App::Title());
        return;
    }
    for (; !rs->Eof(); rs->MoveNext()) {
        const int plot = rs->Fields(QStringLiteral("plt_ky")).Value().toInt();
        if (plot < 0 || plot > 5)
            continue;
        const auto k = static_cast<std::size_t>(plot);
        rs->Edit();
        rs->Fields(QStringLiteral("chrt_cl")).setValue(chartdialogs::StoredColor(lblColor[k]->BackColor()));
        rs->Fields(QStringLiteral("chrt_tp")).setValue(mUnlistedType[k] ? *mUnlistedType[k] : cmbChartType[k]->currentData());
        rs->Update();
    }
    rs->Close();
    transaction.commit();
}

void frmChartCustom::cmdCancel_Click() { Unload(); }

void frmChartCustom::Form_Unload(int& /*cancel*/)
{
    // Back to the plot shown when the dialog opened, drawn from what is stored.
    errorreport::guarded([this] {
        frmChart& chart = chartWindow();
        QRadioButton* option = chart.optFact[static_cast<std::size_t>(mShownPlot)];
        if (option->isChecked())
            chart.optFact_Click(mShownPlot);
        else
            option->setChecked(true);
    });
}
