#include "charts/frmAppearance.h"

#include "charts/ColorSwatch.h"
#include "charts/clsTChartInterface.h"
#include "charts/frmChart.h"
#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/ui/ErrorReport.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/NamedControls.h"
#include "platform/services/Dialogs.h"
#include "platform/services/Services.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

frmAppearance::frmAppearance() : vb::Form(QStringLiteral("frmAppearance"))
{
    setCaption(QStringLiteral("Change Chart Appearance"));
    setWindowFlag(Qt::Dialog);

    Frame3D = vb::makeFrame(this, "Frame3D", QStringLiteral("3D Appearance"));
    HScroll1 = new QScrollBar(Qt::Horizontal, Frame3D);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setMinimumWidth(260);
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    (new QVBoxLayout(Frame3D))->addWidget(HScroll1);

    cmdPnlCol = vb::makeButton(this, "cmdPnlCol", QStringLiteral("&Panel Color"));
    lblPnlCol = new ColorSwatch(this, QStringLiteral("lblPnlCol"));
    chkPnlCol = new QCheckBox(QStringLiteral("Default Panel Color"), this);
    chkPnlCol->setObjectName(QStringLiteral("chkPnlCol"));
    cmdBckCol = vb::makeButton(this, "cmdBckCol", QStringLiteral("&Back Color"));
    lblBckCol = new ColorSwatch(this, QStringLiteral("lblBckCol"));
    chkBckCol = new QCheckBox(QStringLiteral("Default  Back Color"), this);
    chkBckCol->setObjectName(QStringLiteral("chkBckCol"));
    cmdOK = vb::makeButton(this, "cmdOK", QStringLiteral("&Save"));
    cmdCancel = vb::makeButton(this, "cmdCancel", QStringLiteral("&Cancel/Close"));

    auto* colours = new QGridLayout;
    colours->setHorizontalSpacing(10);
    colours->setVerticalSpacing(8);
    colours->addWidget(cmdPnlCol, 0, 0);
    colours->addWidget(lblPnlCol, 0, 1);
    colours->addWidget(chkPnlCol, 0, 2);
    colours->addWidget(cmdBckCol, 1, 0);
    colours->addWidget(lblBckCol, 1, 1);
    colours->addWidget(chkBckCol, 1, 2);
    colours->setColumnMinimumWidth(1, 60);
    colours->setColumnStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(14);
    layout->addWidget(Frame3D);
    layout->addLayout(colours);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Top to bottom, as the controls stand.
    setTabOrder(HScroll1, cmdPnlCol);
    setTabOrder(cmdPnlCol, chkPnlCol);
    setTabOrder(chkPnlCol, cmdBckCol);
    setTabOrder(cmdBckCol, chkBckCol);
    setTabOrder(chkBckCol, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    using errorreport::guarded;
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { guarded([this] { HScroll1_Change(); }); });
    connect(chkPnlCol, &QCheckBox::toggled, this, [this] { guarded([this] { chkPnlCol_Click(); }); });
    connect(chkBckCol, &QCheckBox::toggled, this, [this] { guarded([this] { chkBckCol_Click(); }); });
    connect(cmdPnlCol, &QPushButton::clicked, this, [this] { guarded([this] { cmdPnlCol_Click(); }); });
    connect(cmdBckCol, &QPushButton::clicked, this, [this] { guarded([this] { cmdBckCol_Click(); }); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { guarded([this] { cmdOK_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { guarded([this] { cmdCancel_Click(); }); });
    chkPnlCol->installEventFilter(this);
    chkBckCol->installEventFilter(this);
}

frmAppearance::~frmAppearance() = default;

clsTChartInterface& frmAppearance::chart()
{
    if (!mChartInterface)
        mChartInterface = std::make_unique<clsTChartInterface>();
    return *mChartInterface;
}

bool frmAppearance::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == chkPnlCol)
            errorreport::guarded([this] { chkPnlCol_LostFocus(); });
        else if (watched == chkBckCol)
            errorreport::guarded([this] { chkBckCol_LostFocus(); });
    }
    return vb::Form::eventFilter(watched, event);
}

void frmAppearance::Form_Load()
{
    mPerson = vb::defaultInstance<frmChart>().SelectedPersonKey();
    if (mPerson == 0)
        mPerson = gPersonKey;

    clsTChartInterface reader;
    int percent = 0;
    vb::OLE_COLOR panel = 0;
    vb::OLE_COLOR back = 0;
    reader.Get3DPercent(percent);
    reader.GetPanelColor(panel);
    reader.GetBackColor(back);
    lblPnlCol->setBackColor(panel);
    lblBckCol->setBackColor(back);

    // The controls' own events apply the same values to the chart again.
    HScroll1->setMaximum(20);
    HScroll1->setMinimum(0);
    HScroll1->setValue(percent);
    setFrameCaption();
    chkPnlCol->setChecked(panel == DefaultPanelColor);
    chkBckCol->setChecked(back == DefaultBackColor);
}

void frmAppearance::setFrameCaption()
{
    // The number after a blank of its own, as a value of zero or more is written.
    Frame3D->setTitle(QStringLiteral("3D Appearance: ") + QStringLiteral(" ") + QString::number(HScroll1->value()));
}

void frmAppearance::HScroll1_Change()
{
    chart().Set3DPercent(HScroll1->value());
    setFrameCaption();
}

void frmAppearance::chkPnlCol_Click()
{
    if (!chkPnlCol->isChecked())
        return;
    lblPnlCol->setBackColor(DefaultPanelColor);
    chart().SetPanelColor(DefaultPanelColor);
}

void frmAppearance::chkBckCol_Click()
{
    if (!chkBckCol->isChecked())
        return;
    lblBckCol->setBackColor(DefaultBackColor);
    chart().SetBackColor(DefaultBackColor);
}

void frmAppearance::cmdPnlCol_Click()
{
    const vb::OLE_COLOR start = lblPnlCol->BackColor();
    const vb::OLE_COLOR color = services::Current().colorDialog->ChooseColor(start, QString()).value_or(start);
    lblPnlCol->setBackColor(color);
    chart().SetPanelColor(color);
    chkPnlCol->setChecked(color == DefaultPanelColor);
}

void frmAppearance::cmdBckCol_Click()
{
    const vb::OLE_COLOR start = lblBckCol->BackColor();
    const vb::OLE_COLOR color = services::Current().colorDialog->ChooseColor(start, QString()).value_or(start);
    lblBckCol->setBackColor(color);
    chart().SetBackColor(color);
    chkBckCol->setChecked(color == DefaultBackColor);
}

void frmAppearance::chkPnlCol_LostFocus() { SyncDefaultChecks(); }

void frmAppearance::chkBckCol_LostFocus() { SyncDefaultChecks(); }

void frmAppearance::SyncDefaultChecks()
{
    // Ticks a box whose colour is still the default; never clears one.
    vb::OLE_COLOR color = 0;
    chart().GetPanelColor(color);
    if (color == DefaultPanelColor)
        chkPnlCol->setChecked(true);
    chart().GetBackColor(color);
    if (color == DefaultBackColor)
        chkBckCol->setChecked(true);
}

void frmAppearance::cmdOK_Click()
{
    vb::OLE_COLOR panel = 0;
    vb::OLE_COLOR back = 0;
    chart().GetPanelColor(panel);
    chart().GetBackColor(back);
    {
        dao::Transaction transaction(*gDB);
        auto rs = clsDataService().GetPlotAppearance(mPerson);
        if (rs->Eof()) {
            rs->Close();
            vb::MsgBox(QStringLiteral("The person of this chart is no longer in the database. Nothing was saved."),
                       vb::vbExclamation, App::Title());
            return;
        }
        rs->Edit();
        rs->Fields(QStringLiteral("plt_pnl_cl")).setValue(chartdialogs::StoredColor(panel));
        rs->Fields(QStringLiteral("plt_bck_cl")).setValue(chartdialogs::StoredColor(back));
        rs->Fields(QStringLiteral("plt_3d_prcnt")).setValue(HScroll1->value());
        rs->Update();
        rs->Close();
        transaction.commit();
    }
    Unload();
}

void frmAppearance::cmdCancel_Click() { Unload(); }

void frmAppearance::Form_Unload(int& /*cancel*/)
{
    // Every close shows what is stored: unsaved changes are dropped.
    errorreport::guarded([this] { restoreStored(); });
}

void frmAppearance::restoreStored()
{
    auto rs = clsDataService().GetPlotAppearance(mPerson);
    if (!rs->Eof()) {
        chart().SetPanelColor(vb::ColorCode(rs->Fields(QStringLiteral("plt_pnl_cl")).Value().toLongLong()));
        chart().SetBackColor(vb::ColorCode(rs->Fields(QStringLiteral("plt_bck_cl")).Value().toLongLong()));
        chart().Set3DPercent(rs->Fields(QStringLiteral("plt_3d_prcnt")).Value().toInt());
    }
    rs->Close();
}
