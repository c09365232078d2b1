#include "records/frmOptionTime.h"

#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/modFunctions.h"
#include "data/ui/ErrorReport.h"
#include "platform/controls/UpDown.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Interaction.h"
#include "records/RecordFormSupport.h"
#include "records/frmMeasure.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QVBoxLayout>

frmOptionTime::frmOptionTime() : vb::Form(QStringLiteral("frmOptionTime"))
{
    setCaption(QStringLiteral("Setting Default Measurement Time"));
    // A window of the main window beside the Measurement form: the main window fits it with its
    // other forms, and its help is the one for the form in front.
    setMDIChild(true);

    Frame1 = new QGroupBox(QStringLiteral("Display setting for the measurement time:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    static const char* const captions[6] = {
        "Don't show time (12:00 AM)",
        "Show the current time",
        "Show the time to nearest quarter",
        "Show the time to nearest hour",
        "Show the time of previous measurement (for this person)",
        "Show the time of previous measurement (for any person)",
    };
    auto* options = new QVBoxLayout(Frame1);
    for (int i = 0; i < 6; ++i) {
        OptnTime[i] = new QRadioButton(QLatin1String(captions[i]), Frame1);
        OptnTime[i]->setObjectName(QStringLiteral("OptnTime_%1").arg(i));
        options->addWidget(OptnTime[i]);
        connect(OptnTime[i], &QRadioButton::clicked, this, [this, i] { errorreport::guarded([this, i] { OptnTime_Click(i); }); });
    }

    chkSetting = new QCheckBox(QStringLiteral("Keep this as default setting for all measurement in future"), this);
    chkSetting->setObjectName(QStringLiteral("chkSetting"));

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Label1 = new QLabel(QStringLiteral("Example: Following will be displayed for current measurement"), Frame2);
    Label1->setObjectName(QStringLiteral("Label1"));
    lblTime = new QLabel(Frame2);
    lblTime->setObjectName(QStringLiteral("lblTime"));
    QFont timeFont = lblTime->font();
    timeFont.setBold(true);
    timeFont.setPointSizeF(timeFont.pointSizeF() * 1.6);
    lblTime->setFont(timeFont);
    lblTime->setAlignment(Qt::AlignCenter);
    lblTime->setMinimumHeight(lblTime->fontMetrics().height() + 8);
    auto* example = new QVBoxLayout(Frame2);
    example->addWidget(Label1);
    example->addWidget(lblTime);

    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdSave, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdSave_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdCancel_Click(); }); });

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(chkSetting);
    layout->addWidget(Frame2);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar1);
    layout->setContentsMargins(10, 10, 10, 0);
}

frmOptionTime::~frmOptionTime() = default;

void frmOptionTime::Form_Load()
{
    LoadTimeOption();
    ShowExampleTime();
}

void frmOptionTime::LoadTimeOption()
{
    auto rs = gDB->OpenRecordset(QStringLiteral("select * from Application"), dao::dbOpenDynaset);
    const QVariant stored = rs->Eof() ? QVariant() : rs->Fields(QStringLiteral("OptnTime")).Value();
    rs->Close();
    const int option = vb::IsNull(stored) ? 1 : stored.toInt();
    // A value the program never writes names no option.
    if (option >= 0 && option < int(OptnTime.size()))
        OptnTime[std::size_t(option)]->setChecked(true);
}

QTime frmOptionTime::RoundedTime(const QTime& time, int steps) { return clsDataService::RoundedTime(time, steps); }

std::optional<QTime> frmOptionTime::TimeOfText(const QString& text) { return modFunctions::ClockTimeOf(text); }

void frmOptionTime::ShowExampleTime()
{
    int option = -1;
    for (int i = 0; i < int(OptnTime.size()); ++i) {
        if (OptnTime[std::size_t(i)]->isChecked()) {
            option = i;
            break;
        }
    }
    const QTime now = vb::Now().time();
    switch (option) {
    case DefaultTimeOption::Midnight: lblTime->setText(QStringLiteral("12:00 AM")); break;
    case DefaultTimeOption::Now: lblTime->setText(clsDataService::TimeText(now)); break;
    case DefaultTimeOption::NearestQuarter: lblTime->setText(clsDataService::TimeText(RoundedTime(now, 96))); break;
    case DefaultTimeOption::NearestHour: lblTime->setText(clsDataService::TimeText(RoundedTime(now, 24))); break;
    case DefaultTimeOption::PersonLast: lblTime->setText(clsDataService().GetLastMeasureTime(1)); break;
    case DefaultTimeOption::AnyoneLast: lblTime->setText(clsDataService().GetLastMeasureTime(2)); break;
    default: break;
    }
}

void frmOptionTime::OptnTime_Click(int) { ShowExampleTime(); }

void frmOptionTime::cmdSave_Click()
{
    if (chkSetting->isChecked()) {
        int option = 0;
        for (int i = 0; i < int(OptnTime.size()); ++i) {
            if (OptnTime[std::size_t(i)]->isChecked()) {
                option = i;
                break;
            }
        }
        gDB->Execute(QStringLiteral("update Application set OptnTime = ") + QString::number(option));
    }

    // The Measurement form's time spinner is enabled only while it adds a measurement; an
    // example that is no time (no option chosen) is not pushed.
    auto* measure = vb::Forms().Find<frmMeasure>(QStringLiteral("frmMeasure"));
    if (measure && measure->UpDownTime->isEnabled()) {
        if (const auto time = TimeOfText(lblTime->text())) {
            const QString text = clsDataService::TimeText(*time);
            measure->txtHr->setText(text.left(2));
            measure->txtMin->setText(text.mid(3, 2));
            measure->txtAMPM->setText(text.right(2));
        }
    }

    Unload();
}

void frmOptionTime::cmdCancel_Click() { Unload(); }
