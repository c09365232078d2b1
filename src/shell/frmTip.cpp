#include "shell/frmTip.h"

#include "data/Globals.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/Twips.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTextStream>
#include <QVBoxLayout>

namespace {

const QString kTipsFile = QStringLiteral("TIPS.TXT");

} // namespace

frmTip::frmTip(QWidget* parent) : vb::Form(QStringLiteral("frmTip"), parent)
{
    setWindowFlag(Qt::Dialog);
    setCaption(QStringLiteral("Tip of the Day: ") + App::Title());

    lblBack = new QFrame(this);
    lblBack->setObjectName(QStringLiteral("lblBack"));
    lblBack->setFrameShape(QFrame::StyledPanel);
    lblBack->setAutoFillBackground(true);
    QPalette back = lblBack->palette();
    back.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xF0));
    back.setColor(QPalette::WindowText, Qt::black);
    lblBack->setPalette(back);

    Picture1 = new QLabel(lblBack);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(QPixmap(App::Path() + QStringLiteral("/images/tip.png")));
    Picture1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Label2 = new QLabel(QStringLiteral("Tip  of  the  day"), lblBack);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setWordWrap(true);

    Label1 = new QLabel(QStringLiteral("Did you know . . ."), lblBack);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.3);
    Label1->setFont(heading);

    lblTipText = new QLabel(lblBack);
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTipText->setTextFormat(Qt::PlainText);
    lblTipText->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(Picture1);
    pictureColumn->addWidget(Label2);
    pictureColumn->addStretch(1);
    auto* textColumn = new QVBoxLayout;
    textColumn->addWidget(Label1);
    textColumn->addWidget(lblTipText, 1);
    auto* panel = new QHBoxLayout(lblBack);
    panel->addLayout(pictureColumn);
    panel->addLayout(textColumn, 1);

    chkLoadTipsAtStartup = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    cmdNextTip = new QPushButton(QStringLiteral("&Next Tip"), this);
    cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkLoadTipsAtStartup);
    buttons->addStretch(1);
    buttons->addWidget(cmdNextTip);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblBack, 1);
    layout->addLayout(buttons);

    // A change of the box's value from code counts as a change, as a click does.
    connect(chkLoadTipsAtStartup, &QCheckBox::stateChanged, this, [this] { chkLoadTipsAtStartup_Click(); });
    connect(cmdNextTip, &QPushButton::clicked, this, [this] { cmdNextTip_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

frmTip::~frmTip() = default;

QString frmTip::TipsPath() { return App::Path() + QLatin1Char('/') + kTipsFile; }

QString frmTip::MissingFileText()
{
    return QStringLiteral("That the ") + kTipsFile + QStringLiteral(" file was not found? ") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Create a text file named ") + kTipsFile + QStringLiteral(" using NotePad with 1 tip per line. ") +
           QStringLiteral("Then place it in the same directory as the application. ");
}

void frmTip::Form_Load()
{
    changed_ = false;
    setCaption(QStringLiteral("Tip of the Day: ") + App::Title());
    vb::Randomize();
    if (!LoadTipsFile(TipsPath())) {
        if (readError_.isEmpty())
            lblTipText->setText(MissingFileText());
        else
            lblTipText->setText(QStringLiteral("The tips file ") + TipsPath() + QStringLiteral(" could not be read: ") +
                                readError_);
    }
}

void frmTip::Form_Activate() { resize(vb::TwipsToPixels(QSizeF(5685, 4410), this)); }

void frmTip::Form_Unload(int& /*cancel*/)
{
    if (!changed_ || !gDB)
        return;
    try {
        auto rs = gDB->OpenRecordset(QStringLiteral("select ShowAtStartup from Application"), dao::dbOpenDynaset);
        // Without the settings row there is nothing to keep the choice in.
        if (rs->Eof())
            return;
        rs->Edit();
        rs->Fields(QStringLiteral("ShowAtStartup")).setValue(chkLoadTipsAtStartup->isChecked());
        rs->Update();
        rs->Close();
    } catch (const dao::Error& e) {
        vb::MsgBox(QStringLiteral("The start-up setting could not be saved:") + QStringLiteral("\r\n") + e.Description(),
                   vb::vbExclamation);
    }
}

bool frmTip::LoadTipsFile(const QString& path)
{
    readError_.clear();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        readError_ = file.errorString();
        return false;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    QStringList tips;
    while (!in.atEnd())
        tips.append(in.readLine());
    if (file.error() != QFileDevice::NoError) {
        readError_ = file.errorString();
        return false;
    }
    tips_ += tips;
    ShowRandomTip();
    return true;
}

void frmTip::ShowRandomTip()
{
    const int count = static_cast<int>(tips_.size());
    currentTip_ = static_cast<int>(vb::Rnd() * count + 1);
    if (currentTip_ > count)
        currentTip_ = count;
    ShowCurrentTip();
}

void frmTip::ShowCurrentTip()
{
    if (tips_.isEmpty() || currentTip_ < 1)
        return;
    lblTipText->setText(tips_.at(currentTip_ - 1));
}

void frmTip::cmdNextTip_Click() { ShowRandomTip(); }

void frmTip::cmdClose_Click() { Unload(); }

void frmTip::chkLoadTipsAtStartup_Click() { changed_ = true; }
