#include "platform/runtime/ui/NotBuiltForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vb {

NotBuiltForm::NotBuiltForm(const QString& name, const QString& caption, bool mdiChild) : Form(name)
{
    setCaption(caption);
    setMDIChild(mdiChild);

    lblNotBuilt = new QLabel(QStringLiteral("This window is not built yet."), this);
    lblNotBuilt->setObjectName(QStringLiteral("lblNotBuilt"));
    lblNotBuilt->setAlignment(Qt::AlignCenter);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNotBuilt, 1);
    layout->addLayout(buttons);
    resize(420, 180);
}

NotBuiltForm::~NotBuiltForm() = default;

void NotBuiltForm::cmdClose_Click() { Unload(); }

} // namespace vb
