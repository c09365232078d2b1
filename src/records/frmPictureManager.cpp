#include "records/frmPictureManager.h"

#include "data/Globals.h"
#include "data/ui/ErrorReport.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/Twips.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

frmPictureManager::frmPictureManager() : vb::Form(QStringLiteral("frmPictureManager"))
{
    setCaption(QStringLiteral("Picture Manager"));

    RichTextBox1 = new QTextEdit(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setReadOnly(true);
    RichTextBox1->setFrameShape(QFrame::NoFrame);
    RichTextBox1->viewport()->setAutoFillBackground(false);
    RichTextBox1->setPlainText(
        QStringLiteral("The picture shown on the right of Measurement screen is intended to distract you from daily "
                       "activities and create a positive feeling. However, you can choose to switch off the display of "
                       "pictures."));

    chkPicture = new QCheckBox(QStringLiteral("Display the picture"), this);
    chkPicture->setObjectName(QStringLiteral("chkPicture"));

    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setDefault(true);
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RichTextBox1, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(chkPicture);
    row->addStretch(1);
    row->addWidget(cmdSave);
    layout->addLayout(row);
    resize(vb::TwipsToPixelsX(5200, this), vb::TwipsToPixelsY(2200, this));
}

frmPictureManager::~frmPictureManager() = default;

void frmPictureManager::Form_Load()
{
    auto rs = gDB->OpenRecordset(QStringLiteral("select * from Application"), dao::dbOpenSnapshot);
    const QString setting = rs->Eof() ? QString() : vb::CStr(rs->Fields(QStringLiteral("PICTURE")).Value());
    rs->Close();
    chkPicture->setChecked(setting != QLatin1String("NO"));
}

void frmPictureManager::cmdSave_Click() { Unload(); }

void frmPictureManager::Form_Unload(int& /*cancel*/)
{
    // However the window closes, the box's state is what the user chose.
    const QString value = chkPicture->isChecked() ? QStringLiteral("YES") : QStringLiteral("NO");
    try {
        gDB->Execute(QStringLiteral("UPDATE APPLICATION SET PICTURE = '") + value + QStringLiteral("'"), dao::dbFailOnError);
    } catch (const dao::Error& e) {
        // The window still closes; the user learns that the choice was not kept.
        errorreport::showError(e, QStringLiteral("The picture setting could not be saved."), vb::vbExclamation);
    }
}
