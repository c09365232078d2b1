#include "calculators/frmBMI.h"

#include "calculators/CalculatorSupport.h"
#include "calculators/frmFtToInches.h"
#include "data/BodyMassIndex.h"
#include "data/Globals.h"
#include "data/ui/modHealthUi.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/WindowPlacement.h"
#include "platform/services/Help.h"
#include "platform/services/Services.h"
#include "platform/services/Shell.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using calculators::LineControl;
using calculators::makeButton;
using calculators::makeLabel;
using calculators::placeTwips;

namespace {

constexpr int kSliderMin = 13;
constexpr int kSliderMax = 45;
// The scale, in twips on its panel.
constexpr double kSliderLeft = 150;
constexpr double kSliderWidth = 8400;
constexpr double kBandGap = 30;
constexpr double kBandHeight = 480;
constexpr double kTickLength = 300;
constexpr int kTickCount = 8; // 15, 20, ..., 50

} // namespace

namespace calculators {

BmiSlider::BmiSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

int BmiSlider::HandleCentre(int value) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.sliderPosition = std::clamp(value, minimum(), maximum());
    option.sliderValue = option.sliderPosition;
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    return handle.center().x();
}

} // namespace calculators

frmBMI::frmBMI(QWidget* parent) : vb::Form(QStringLiteral("frmBMI"), parent)
{
    setCaption(QStringLiteral("Body Mass Index Calculator"));

    lblPerson = makeLabel(this, "lblPerson", QStringLiteral("Select Person"));
    cmbPerson = new QComboBox(this);
    cmbPerson->setObjectName(QStringLiteral("cmbPerson"));
    cmbPerson->setMinimumContentsLength(20);
    lblHeight = makeLabel(this, "lblHeight", QStringLiteral("Height:"));
    txtHT = new QLineEdit(this);
    txtHT->setObjectName(QStringLiteral("txtHT"));
    lblHtIn = makeLabel(this, "lblHtIn", QStringLiteral("in"));
    cmbHT = new QComboBox(this);
    cmbHT->setObjectName(QStringLiteral("cmbHT"));
    CmdDetail = makeButton(this, "CmdDetail", QString());
    CmdDetail->setIcon(QIcon(calculators::programPicture(QStringLiteral("images/bmi-detail.png"))));
    CmdDetail->setIconSize(QSize(24, 24));
    CmdDetail->setToolTip(QStringLiteral("Height in feet and inches"));
    lblWeight = makeLabel(this, "lblWeight", QStringLiteral("Weight:"));
    txtWt = new QLineEdit(this);
    txtWt->setObjectName(QStringLiteral("txtWt"));
    lblWtIn = makeLabel(this, "lblWtIn", QStringLiteral("in"));
    cmbWT = new QComboBox(this);
    cmbWT->setObjectName(QStringLiteral("cmbWT"));
    for (QLineEdit* box : {txtHT, txtWt})
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);

    cmdCalculate = makeButton(this, "cmdCalculate", QStringLiteral("Ca&lculate"));
    cmdClose = makeButton(this, "cmdClose", QStringLiteral("&Close"));
    cmdHLP = makeButton(this, "cmdHLP", QStringLiteral("&Help"));
    cmdHomePage = makeButton(this, "cmdHomePage", QStringLiteral("Home &Page"));

    // The two illustrations share one place; one is shown at a time.
    Picture1 = makeLabel(this, "Picture1", QString());
    Picture1->setPixmap(calculators::programPicture(QStringLiteral("images/bmi-picture1.png")));
    Picture2 = makeLabel(this, "Picture2", QString());
    Picture2->setPixmap(calculators::programPicture(QStringLiteral("images/bmi-picture2.png")));
    Picture2->hide();

    fraBMI = new QGroupBox(QStringLiteral("BMI:           "), this);
    fraBMI->setObjectName(QStringLiteral("fraBMI"));
    lblBMI = makeLabel(fraBMI, "lblBMI", QString());
    lblBMI->setAlignment(Qt::AlignCenter);
    lblBMI->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont resultFont = lblBMI->font();
    resultFont.setBold(true);
    resultFont.setPointSizeF(resultFont.pointSizeF() * 1.6);
    lblBMI->setFont(resultFont);
    lblBMI->setMinimumSize(lblBMI->fontMetrics().horizontalAdvance(QStringLiteral("0000.0")) + 16,
                           lblBMI->fontMetrics().height() + 10);
    vb::SetBackColor(lblBMI, vb::vbWindowBackground);

    // The scale: a panel whose controls are placed by twips around the slider.
    auto* scalePanel = new QWidget(fraBMI);
    scalePanel->setObjectName(QStringLiteral("scalePanel"));
    Slider1 = new calculators::BmiSlider(scalePanel);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(kSliderMin, kSliderMax);
    Slider1->setTickPosition(QSlider::NoTicks);
    Slider1->setFocusPolicy(Qt::NoFocus);
    LineSlider = new LineControl(scalePanel, "LineSlider");
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    for (int i = 0; i < kTickCount; ++i) {
        Tick.push_back(new LineControl(scalePanel, "Tick"));
        QLabel* value = makeLabel(scalePanel, "lblBMIValue", QString());
        value->setFont(small);
        lblBMIValue.push_back(value);
    }
    const auto& bands = bmi::Bands();
    for (std::size_t i = 0; i < lblColor.size(); ++i) {
        QLabel* band = makeLabel(scalePanel, "lblColor", QLatin1String(bands[i].caption));
        band->setFont(small);
        band->setAlignment(Qt::AlignCenter);
        band->setWordWrap(true);
        vb::SetBackColor(band, bands[i].color);
        vb::SetForeColor(band, vb::vbBlack);
        lblColor[i] = band;
    }

    // Inputs on the left, buttons beside them, the illustration on the right; the result below.
    auto* inputs = new QGridLayout;
    inputs->addWidget(lblPerson, 0, 0);
    inputs->addWidget(cmbPerson, 0, 1, 1, 4);
    inputs->addWidget(lblHeight, 1, 0);
    inputs->addWidget(txtHT, 1, 1);
    inputs->addWidget(lblHtIn, 1, 2);
    inputs->addWidget(cmbHT, 1, 3);
    inputs->addWidget(CmdDetail, 1, 4);
    inputs->addWidget(lblWeight, 2, 0);
    inputs->addWidget(txtWt, 2, 1);
    inputs->addWidget(lblWtIn, 2, 2);
    inputs->addWidget(cmbWT, 2, 3);
    inputs->setRowStretch(3, 1);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdCalculate, cmdHLP, cmdHomePage, cmdClose})
        buttons->addWidget(b);
    buttons->addStretch();

    auto* pictures = new QHBoxLayout;
    pictures->setSpacing(0);
    pictures->addWidget(Picture1, 0, Qt::AlignTop);
    pictures->addWidget(Picture2, 0, Qt::AlignTop);

    auto* top = new QHBoxLayout;
    top->addLayout(inputs);
    top->addSpacing(12);
    top->addLayout(buttons);
    top->addStretch();
    top->addLayout(pictures);

    auto* resultLayout = new QVBoxLayout(fraBMI);
    resultLayout->addWidget(lblBMI, 0, Qt::AlignLeft);
    resultLayout->addWidget(scalePanel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(fraBMI);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    layOutScale();

    calculators::onKeyPress(txtHT, [this](int& key) { txtHT_KeyPress(key); });
    calculators::onKeyPress(txtWt, [this](int& key) { txtWt_KeyPress(key); });
    calculators::onKeyPress(cmbHT, [this](int& key) { cmbHT_KeyPress(key); });
    calculators::onKeyPress(cmbWT, [this](int& key) { cmbWT_KeyPress(key); });
    connect(cmbPerson, &QComboBox::activated, this, [this] { cmbPerson_Click(); });
    connect(cmbHT, &QComboBox::activated, this, [this] { cmbHT_Click(); });
    connect(cmbWT, &QComboBox::activated, this, [this] { cmbWT_Click(); });
    connect(cmdCalculate, &QPushButton::clicked, this, [this] { cmdCalculate_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(cmdHLP, &QPushButton::clicked, this, [this] { cmdHLP_Click(); });
    connect(cmdHomePage, &QPushButton::clicked, this, [this] { cmdHomePage_Click(); });
    connect(CmdDetail, &QPushButton::clicked, this, [this] { CmdDetail_Click(); });
    // The slider only shows the result: whatever moves it goes back.
    connect(Slider1, &QSlider::sliderReleased, this, [this] { Slider1_ResetToBMI(); });
    connect(Slider1, &QSlider::valueChanged, this, [this] {
        if (!settingSlider_ && !Slider1->isSliderDown())
            Slider1_ResetToBMI();
    });
}

frmBMI::~frmBMI() = default;

QString frmBMI::HomePageAddress() { return QStringLiteral("https://www.ravelcombrick.example/"); }

// ---------------------------------------------------------------------------------------------
// Loading and closing

void frmBMI::Form_Load()
{
    mainLoaded_ = vb::Forms().Find(QStringLiteral("mdiHealth")) != nullptr;
    // The picker waits, hidden, for the Detail button.
    vb::defaultInstance<frmFtToInches>().Load();
    if (vb::MDIForm* main = vb::MDIForm::Current())
        setWindowIcon(main->windowIcon());

    if (mainLoaded_ && gDB) {
        personRs_ = gDB->OpenRecordset(QStringLiteral("SELECT PRSN_KY, PRSN_NM, AGE, HGT, SEX FROM PERSON") +
                                           QStringLiteral(" ORDER BY PRSN_NM"),
                                       dao::dbOpenSnapshot, dao::dbReadOnly);
    } else {
        cmbPerson->hide();
        lblPerson->hide();
    }

    cmbHT->clear();
    cmbHT->addItems({bmi::kInches, bmi::kCentimeters});
    cmbHT->setCurrentIndex(gHeightUnit == 1 ? 0 : gHeightUnit == 2 ? 1 : -1);
    cmbWT->clear();
    cmbWT->addItems({bmi::kPounds, bmi::kKilograms});
    cmbWT->setCurrentIndex(gWeightUnit == 1 ? 0 : gWeightUnit == 2 ? 1 : -1);

    if (personRs_ && !personRs_->Eof()) {
        int remembered = -1;
        cmbPerson->clear();
        for (personRs_->MoveFirst(); !personRs_->Eof(); personRs_->MoveNext()) {
            const qint32 key = vb::CLng(personRs_->Fields(QStringLiteral("PRSN_KY")).Value());
            cmbPerson->addItem(vb::CStr(personRs_->Fields(QStringLiteral("PRSN_NM")).Value()), key);
            if (key == gPersonKey) {
                remembered = cmbPerson->count() - 1;
                txtHT->setText(vb::CStr(personRs_->Fields(QStringLiteral("HGT")).Value()));
                LoadLatestWeight(key);
            }
        }
        cmbPerson->setCurrentIndex(remembered);
        if (remembered >= 0)
            cmbPerson_Click();
    }
    layOutScale();
}

void frmBMI::Form_Activate()
{
    try {
        const bool even = vb::Now().time().second() % 2 == 0;
        Picture1->setVisible(even);
        Picture2->setVisible(!even);
    } catch (...) {
        // The illustration is decoration only.
    }
}

void frmBMI::Form_Unload(int& /*cancel*/)
{
    if (personRs_) {
        personRs_->Close();
        personRs_.reset();
    }
}

void frmBMI::cmdClose_Click() { Unload(); }

// ---------------------------------------------------------------------------------------------
// The scale

void frmBMI::layOutScale()
{
    const double sliderHeight = calculators::twipsY(this, Slider1->sizeHint().height());
    placeTwips(Slider1, kSliderLeft, 0, kSliderWidth, sliderHeight);
    // The line runs between the handle's centres at the two ends of the range, so every tick
    // stands where the handle points for its value.
    const double x1 = kSliderLeft + calculators::twipsX(this, Slider1->HandleCentre(kSliderMin));
    const double x2 = kSliderLeft + calculators::twipsX(this, Slider1->HandleCentre(kSliderMax));
    const double step = (x2 - x1) / (kSliderMax - kSliderMin);
    const double bandTop = sliderHeight + kBandGap;
    const double bandHeight = std::max(kBandHeight, calculators::twipsY(this, lblColor[0]->fontMetrics().lineSpacing() * 2 + 4));
    const double y1 = bandTop + bandHeight;
    LineSlider->setCoordinates(x1, y1, x2, y1);

    std::array<double, kTickCount> tickX{};
    double right = kSliderLeft + kSliderWidth;
    double bottom = y1;
    for (int i = 1; i <= kTickCount; ++i) {
        const int v = 5 * i + 10;
        const double x = x1 + step * (v - kSliderMin);
        tickX[static_cast<std::size_t>(i - 1)] = x;
        LineControl* tick = Tick[static_cast<std::size_t>(i - 1)];
        tick->setCoordinates(x, y1, x, y1 + kTickLength);
        tick->show();
        QLabel* value = lblBMIValue[static_cast<std::size_t>(i - 1)];
        value->setText(QString::number(v));
        value->adjustSize();
        const double width = calculators::twipsX(this, value->width());
        const double height = calculators::twipsY(this, value->height());
        placeTwips(value, x - width / 2, y1 + kTickLength, width, height);
        value->show();
        right = std::max(right, x + width / 2);
        bottom = std::max(bottom, y1 + kTickLength + height);
    }

    const auto band = [&](int index, double left, double width) {
        placeTwips(lblColor[static_cast<std::size_t>(index)], left, bandTop, width, bandHeight);
    };
    band(0, x1, tickX[1] - x1);
    band(1, tickX[1], tickX[2] - tickX[1]);
    band(2, tickX[2], tickX[3] - tickX[2]);
    band(3, tickX[3], tickX[5] - tickX[3]);
    band(4, tickX[5], tickX[6] - tickX[5] + 10);

    auto* panel = Slider1->parentWidget();
    panel->setFixedSize(calculators::pixelsX(this, right + 120), calculators::pixelsY(this, bottom + 60));
}

void frmBMI::setSlider(int value)
{
    sliderValue_ = value;
    settingSlider_ = true;
    // The slider keeps a value outside its range at the nearer end.
    Slider1->setValue(std::clamp(value, kSliderMin, kSliderMax));
    settingSlider_ = false;
}

void frmBMI::Slider1_ResetToBMI()
{
    const QString shown = lblBMI->text();
    setSlider(shown.isEmpty() ? 0 : vb::CInt(vb::Val(shown)));
}

void frmBMI::ClearResult()
{
    setSlider(0);
    lblBMI->setText(QString());
    vb::SetBackColor(lblBMI, vb::vbWindowBackground);
}

// ---------------------------------------------------------------------------------------------
// Persons and units

void frmBMI::cmbPerson_Click()
{
    const QVariant key = cmbPerson->currentData();
    if (!personRs_ || !key.isValid())
        return;
    // By key: a name may hold a quote.
    personRs_->FindFirst(QStringLiteral("PRSN_KY = ") + QString::number(key.toInt()));
    if (personRs_->NoMatch())
        return;
    takePerson();
    ClearResult();
}

void frmBMI::takePerson()
{
    txtHT->setText(vb::CStr(personRs_->Fields(QStringLiteral("HGT")).Value()));
    LoadLatestWeight(vb::CLng(personRs_->Fields(QStringLiteral("PRSN_KY")).Value()));
}

void frmBMI::LoadLatestWeight(qint32 personKey) { txtWt->setText(bmi::LatestWeightText(personKey)); }

void frmBMI::cmbHT_Click() { ClearResult(); }

void frmBMI::cmbWT_Click() { ClearResult(); }

void frmBMI::cmbHT_KeyPress(int& KeyAscii) { KeyAscii = 0; }

void frmBMI::cmbWT_KeyPress(int& KeyAscii) { KeyAscii = 0; }

void frmBMI::txtHT_KeyPress(int& KeyAscii)
{
    ClearResult();
    KeyAscii = modHealth::FilterDecimalKey(KeyAscii, txtHT);
}

void frmBMI::txtWt_KeyPress(int& KeyAscii)
{
    ClearResult();
    KeyAscii = modHealth::FilterDecimalKey(KeyAscii, txtWt);
}

void frmBMI::SetHeightInches(int totalInches)
{
    txtHT->setText(QString::number(totalInches));
    cmbHT->setCurrentIndex(0);
    cmbHT_Click();
}

// ---------------------------------------------------------------------------------------------
// The calculation

void frmBMI::cmdCalculate_Click()
{
    const bmi::Outcome outcome = bmi::Calculate({txtHT->text(), cmbHT->currentText(), txtWt->text(), cmbWT->currentText()});
    if (!outcome.accepted()) {
        vb::MsgBox(outcome.message, outcome.icon);
        return;
    }
    lblBMI->setText(outcome.text);
    setSlider(outcome.slider);
    vb::SetBackColor(lblBMI, bmi::Bands()[static_cast<std::size_t>(outcome.band)].color);
}

// ---------------------------------------------------------------------------------------------
// Picker, help, home page

void frmBMI::CmdDetail_Click()
{
    frmFtToInches& picker = vb::defaultInstance<frmFtToInches>();
    picker.Load();
    // Beside the Detail button: 100 twips right of it, 200 twips below its top.
    const QPoint corner = CmdDetail->mapToGlobal(QPoint(CmdDetail->width(), 0));
    picker.move(corner.x() + calculators::pixelsX(this, 100), corner.y() + calculators::pixelsY(this, 200));
    // Near the screen's edge it is moved back within the screen, at the size it will show at.
    if (picker.layout())
        picker.layout()->activate();
    vb::keepWithinScreen(picker);
    picker.Show(vb::vbModal);
}

void frmBMI::cmdHLP_Click() { services::ShowHelpTopic(QStringLiteral("htm\\BMI.htm")); }

void frmBMI::cmdHomePage_Click()
{
    if (services::Current().shell->OpenWebAddress(HomePageAddress()))
        return;
    // The desktop gives no error number; 0 stands for "could not start".
    vb::MsgBox(App::Title() +
                   QStringLiteral(" had a problem running your web browser. You should check that your browser is correctly "
                                  "installed.(Error") +
                   QString::number(0) + QStringLiteral(")"),
               vb::vbExclamation, QStringLiteral("Browser Unavailable"));
}
