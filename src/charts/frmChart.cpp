#include "charts/frmChart.h"

#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/services/Printing.h"

#include <QLabel>
#include <QVBoxLayout>

frmChart::frmChart() : vb::Form(QStringLiteral("frmChart"))
{
    setCaption(QStringLiteral("Chart of Measurements"));
    setMDIChild(true);

    TChart1 = new QLabel(QStringLiteral("The chart window is not built yet."), this);
    TChart1->setObjectName(QStringLiteral("TChart1"));
    TChart1->setAlignment(Qt::AlignCenter);
    TChart1->setMinimumHeight(160);

    vsFGChartRegimen = new VSFlexGrid(this);
    vsFGChartRegimen->setObjectName(QStringLiteral("vsFGChartRegimen"));
    vsFGChartRegimen->setFormatString(QStringLiteral("|Regimen Name|Regimen Detail"));
    vsFGChartRegimen->setRows(1);
    vsFGChartRegimen->setColWidth(0, 0);
    vsFGChartRegimen->setColWidth(1, 1800);
    vsFGChartRegimen->setColWidth(2, 6000);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TChart1, 3);
    layout->addWidget(vsFGChartRegimen, 1);
}

frmChart::~frmChart() = default;

void frmChart::PrintChart() { services::PrintWindow(TChart1); }
