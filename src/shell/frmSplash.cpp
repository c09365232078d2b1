#include "shell/frmSplash.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/FileIcon.h"
#include "platform/runtime/ui/Interaction.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QString imagePath(const QString& name) { return App::Path() + QStringLiteral("/images/") + name; }

} // namespace

frmSplash::frmSplash() : vb::Form(QStringLiteral("frmSplash"))
{
    // Above the other windows while the main window loads behind it, without a frame.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowIcon(ProgramIcon());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xFF));
    pal.setColor(QPalette::WindowText, QColor(0x20, 0x30, 0x40));
    setPalette(pal);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    Image1 = new QLabel(frame);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap picture(imagePath(QStringLiteral("splash.jpg")));
    if (!picture.isNull())
        Image1->setPixmap(picture);
    Image1->setAlignment(Qt::AlignCenter);

    lblProductName = new QLabel(frame);
    lblProductName->setObjectName(QStringLiteral("lblProductName"));
    QFont big = lblProductName->font();
    big.setPointSizeF(big.pointSizeF() * 2.0);
    big.setBold(true);
    lblProductName->setFont(big);

    lblCompanyProduct = new QLabel(QStringLiteral("Brannoway Vudevivoviro"), frame);
    lblCompanyProduct->setObjectName(QStringLiteral("lblCompanyProduct"));
    QFont company = lblCompanyProduct->font();
    company.setPointSizeF(company.pointSizeF() * 1.15);
    lblCompanyProduct->setFont(company);

    lblCopyright = new QLabel(frame);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));

    lblWarning = new QLabel(QStringLiteral("Read the disclaimer before using the software"), frame);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    QFont warning = lblWarning->font();
    warning.setItalic(true);
    lblWarning->setFont(warning);
    lblWarning->setStyleSheet(QStringLiteral("color: #A03020;"));

    lblStatus = new QLabel(QStringLiteral("Making database ..."), frame);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setStyleSheet(QStringLiteral("color: #506070;"));

    auto* text = new QVBoxLayout;
    text->setSpacing(4);
    text->addWidget(lblProductName);
    text->addWidget(lblCompanyProduct);
    text->addSpacing(8);
    text->addWidget(lblCopyright);
    text->addWidget(lblWarning);
    text->addStretch(1);
    text->addSpacing(6);
    text->addWidget(lblStatus);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 14);
    layout->setSpacing(12);
    layout->addWidget(Image1);
    auto* textRow = new QHBoxLayout;
    textRow->setContentsMargins(20, 0, 20, 0);
    textRow->addLayout(text);
    layout->addLayout(textRow);
}

frmSplash::~frmSplash() = default;

QIcon frmSplash::ProgramIcon()
{
    // Read when a window system asks for a size: the splash and the main window both set it at
    // start, and decoding the large picture each time slowed the start.
    return vb::FileIcon({imagePath(QStringLiteral("icon-64.png")), imagePath(QStringLiteral("icon-256.png"))});
}

QString frmSplash::CopyrightNotice()
{
    return QStringLiteral("Copyright %1 Brannoway Vudevivoviro. All rights reserved.").arg(QChar(169));
}

void frmSplash::ShowStatus(const QString& text)
{
    auto* splash = vb::Forms().Find<frmSplash>(QStringLiteral("frmSplash"));
    if (!splash)
        return;
    splash->lblStatus->setText(text);
    splash->lblStatus->setVisible(true);
    vb::DoEvents();
}

void frmSplash::Form_Load()
{
    lblProductName->setText(App::Title() + QLatin1Char(' ') + QString::number(App::Major()) + QLatin1Char('.') +
                            QString::number(App::Minor()));
    lblCopyright->setText(CopyrightNotice());
    adjustSize();
    // In the middle of the screen, as a splash is expected.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void frmSplash::mousePressEvent(QMouseEvent* event)
{
    Form_Click();
    event->accept();
}
