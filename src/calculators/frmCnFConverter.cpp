#include "calculators/frmCnFConverter.h"

#include "calculators/CalculatorSupport.h"
#include "data/BodyMassIndex.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QLineEdit* makeTemperatureBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-0000000.0")) + 12);
    return box;
}

} // namespace

frmCnFConverter::frmCnFConverter(QWidget* parent) : vb::Form(QStringLiteral("frmCnFConverter"), parent)
{
    setCaption(QStringLiteral("    Fahrenheight-Centigrade Temperature Converter"));

    lblF = calculators::makeLabel(this, "lblF", QStringLiteral("Fahrenheit:"));
    txtF = makeTemperatureBox(this, "txtF");
    lblC = calculators::makeLabel(this, "lblC", QStringLiteral("Centigrade:"));
    TxtC = makeTemperatureBox(this, "TxtC");
    cmdCalculate = calculators::makeButton(this, "cmdCalculate", QStringLiteral("Ca&lculate"));
    cmdClose = calculators::makeButton(this, "cmdClose", QStringLiteral("&Close"));
    cmdHLP = calculators::makeButton(this, "cmdHLP", QStringLiteral("&Help"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* boxes = new QGridLayout;
    boxes->addWidget(lblF, 0, 0);
    boxes->addWidget(txtF, 0, 1);
    boxes->addWidget(lblC, 1, 0);
    boxes->addWidget(TxtC, 1, 1);
    boxes->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdCalculate, cmdClose, cmdHLP})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(12, 12, 12, 6);
    inner->addLayout(boxes);
    inner->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(inner);
    layout->addWidget(StatusBar1);
    // The prompt is the widest thing in the window: it sets the width. The window keeps its
    // own size; the main window's fitting only moves it.
    StatusBar1->setMinimumWidth(StatusBar1->fontMetrics().horizontalAdvance(PromptText()) + 40);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    calculators::onKeyPress(TxtC, [this](int& key) { TxtC_KeyPress(key); });
    calculators::onKeyPress(txtF, [this](int& key) { txtF_KeyPress(key); });
    // A paste or a cut is typing too.
    connect(TxtC, &QLineEdit::textEdited, this, [this] { txtF->clear(); });
    connect(txtF, &QLineEdit::textEdited, this, [this] { TxtC->clear(); });
    connect(cmdCalculate, &QPushButton::clicked, this, [this] { cmdCalculate_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

frmCnFConverter::~frmCnFConverter() = default;

QString frmCnFConverter::PromptText()
{
    return QStringLiteral("Enter the temperature in the Farenheit or Centigrade boxes and click on Calculate button.");
}

QString frmCnFConverter::CelsiusToFahrenheit(double celsius)
{
    return vb::Format(celsius * (9.0 / 5.0) + 32, QStringLiteral(".0"));
}

QString frmCnFConverter::FahrenheitToCelsius(double fahrenheit)
{
    return vb::Format((fahrenheit - 32) * (5.0 / 9.0), QStringLiteral(".0"));
}

void frmCnFConverter::Form_Load()
{
    if (vb::MDIForm* main = vb::MDIForm::Current())
        setWindowIcon(main->windowIcon());
    StatusBar1->showMessage(PromptText());
}

void frmCnFConverter::TxtC_KeyPress(int& /*KeyAscii*/) { txtF->clear(); }

void frmCnFConverter::txtF_KeyPress(int& /*KeyAscii*/) { TxtC->clear(); }

void frmCnFConverter::cmdCalculate_Click()
{
    const auto information = [](const QString& text) { vb::MsgBox(text, vb::vbInformation); };
    const QString enterTemperature = QStringLiteral("Please enter the temperature in the text box and click on calculate");
    const bool fEmpty = txtF->text().trimmed().isEmpty();
    const bool cEmpty = TxtC->text().trimmed().isEmpty();
    if (fEmpty && cEmpty) {
        information(enterTemperature);
        return;
    }
    if (fEmpty) {
        // Text that is no number is asked for again, as an empty box is.
        const std::optional<double> c = bmi::ReadNumber(TxtC->text());
        if (!c) {
            information(enterTemperature);
            return;
        }
        if (*c < -273) {
            information(QStringLiteral("According to laws of Physics the temprature less that -273 C cannot exist!"));
            return;
        }
        txtF->setText(CelsiusToFahrenheit(*c));
    } else if (cEmpty) {
        const std::optional<double> f = bmi::ReadNumber(txtF->text());
        if (!f) {
            information(enterTemperature);
            return;
        }
        if (*f < -459.4) {
            information(QStringLiteral("According to laws of Physics the temprature less that -459.4 F cannot exist!"));
            return;
        }
        TxtC->setText(FahrenheitToCelsius(*f));
    }
    StatusBar1->clearMessage();
}

void frmCnFConverter::cmdClose_Click() { Unload(); }
