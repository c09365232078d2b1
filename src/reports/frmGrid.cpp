#include "reports/frmGrid.h"

#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"

#include <QLabel>
#include <QVBoxLayout>

frmGrid::frmGrid() : vb::Form(QStringLiteral("frmGrid"))
{
    setCaption(QStringLiteral("Browse Measurements"));
    setMDIChild(true);

    lblNotBuilt = new QLabel(QStringLiteral("The browsing grid is not built yet."), this);
    lblNotBuilt->setObjectName(QStringLiteral("lblNotBuilt"));
    lblNotBuilt->setAlignment(Qt::AlignCenter);

    vsFGShow = new VSFlexGrid(this);
    vsFGShow->setObjectName(QStringLiteral("vsFGShow"));
    vsFGShow->setFormatString(QStringLiteral("|Date|Time"));
    vsFGShow->setRows(1);
    vsFGShow->setColWidth(0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNotBuilt);
    layout->addWidget(vsFGShow, 1);
}

frmGrid::~frmGrid() = default;
