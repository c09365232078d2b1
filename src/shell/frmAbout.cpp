#include "shell/frmAbout.h"

#include "platform/runtime/App.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* newLabel(const QString& name, QWidget* parent, bool wrap = true)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(wrap);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (wrap)
        label->setMinimumWidth(400);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : vb::Form(QStringLiteral("frmAbout"), parent)
{
    setWindowFlag(Qt::Dialog);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblTitle = newLabel(QStringLiteral("lblTitle"), this, false);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle->setFont(titleFont);
    lblVersion = newLabel(QStringLiteral("lblVersion"), this, false);
    lblDescription = newLabel(QStringLiteral("lblDescription"), this);
    lblCopyright = newLabel(QStringLiteral("lblCopyright"), this);
    lblDisclaimer = newLabel(QStringLiteral("lblDisclaimer"), this);
    lblWarning[0] = newLabel(QStringLiteral("lblWarning_0"), this);
    lblWarning[1] = newLabel(QStringLiteral("lblWarning_1"), this);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setMinimumWidth(90);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addSpacing(8);
    text->addWidget(lblDescription);
    text->addSpacing(8);
    text->addWidget(lblCopyright);

    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(text, 1);

    auto* bottom = new QHBoxLayout;
    auto* notices = new QVBoxLayout;
    notices->addWidget(lblDisclaimer);
    notices->addWidget(lblWarning[0]);
    notices->addWidget(lblWarning[1]);
    bottom->addLayout(notices, 1);
    bottom->addSpacing(8);
    bottom->addWidget(cmdOK, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

frmAbout::~frmAbout() = default;

QString frmAbout::CopyrightNotice() { return QStringLiteral("Copyright \u00A9 Brannoway Vudevivoviro. All rights reserved."); }

void frmAbout::Form_Load()
{
    const QIcon programIcon(App::Path() + QStringLiteral("/images/icon-64.png"));
    const vb::MDIForm* main = vb::MDIForm::Current();
    setWindowIcon(main && !main->windowIcon().isNull() ? main->windowIcon() : programIcon);
    picIcon->setPixmap(programIcon.pixmap(64, 64));

    setCaption(QStringLiteral("About ") + App::Title());
    lblTitle->setText(App::Title());
    lblVersion->setText(QStringLiteral("Version %1.%2.%3").arg(App::Major()).arg(App::Minor()).arg(App::Revision()));
    lblDescription->setText(QStringLiteral(
        "This software is ideal for keeping everyday record of health related items, such as  blood pressure, weight, "
        "pulse, and regimen etc. The data can be browsed from a grid or visualized in various charts. The data can also "
        "be exported as text files."));
    lblCopyright->setText(CopyrightNotice());
    lblDisclaimer->setText(QStringLiteral(
        "This software assumes no responsibility for errors or omissions, or for damages resulting from the use. Please "
        "read the disclaimer in the Help before using this software."));
    lblWarning[0]->setText(QString());
    lblWarning[1]->setText(QStringLiteral(
        "Brannoway Vudevivoviro envisions creating software that are educational and  helpful at affordable price. Your "
        "support is greatly appreciated."));
    // The wrapped texts decide the height.
    adjustSize();
}

void frmAbout::cmdOK_Click() { Unload(); }
