#include "calculators/frmFtToInches.h"

#include "calculators/CalculatorSupport.h"
#include "calculators/frmBMI.h"
#include "platform/runtime/ui/Interaction.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace {

constexpr QChar kFeetMark = u'\'';
constexpr QChar kInchMark = u'"';

// Digits, Backspace and the mark pass; the rest beeps and is dropped.
int filterPickerKey(int keyAscii, QChar mark)
{
    if (keyAscii == 8 || (keyAscii >= '0' && keyAscii <= '9') || keyAscii == mark.unicode())
        return keyAscii;
    vb::Beep();
    return 0;
}

QComboBox* makePickerBox(QWidget* parent, const char* name, const QString& toolTip)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setToolTip(toolTip);
    box->lineEdit()->setMaxLength(3);
    box->setMinimumContentsLength(3);
    return box;
}

} // namespace

frmFtToInches::frmFtToInches(QWidget* parent) : vb::Form(QStringLiteral("frmFtToInches"), parent)
{
    setCaption(QStringLiteral("Feet to Inches Calcualtor"));
    setWindowFlag(Qt::Dialog);

    cmbFt = makePickerBox(this, "cmbFt", QStringLiteral("Height in feet"));
    for (int feet = 3; feet <= 7; ++feet)
        cmbFt->addItem(QString::number(feet) + kFeetMark);
    cmbFt->setCurrentIndex(2); // "5'"
    cmbIn = makePickerBox(this, "cmbIn", QStringLiteral("remainder height in inches"));
    for (int inches = 1; inches <= 11; ++inches)
        cmbIn->addItem(QString::number(inches) + kInchMark);
    cmbIn->setCurrentIndex(-1);
    cmbIn->setEditText(QStringLiteral("0\""));
    cmdClose = calculators::makeButton(this, "cmdClose", QStringLiteral("&Enter"));
    cmdClose->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(cmbFt, 0, 0);
    layout->addWidget(cmbIn, 0, 1);
    layout->addWidget(cmdClose, 1, 0, 1, 2, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    calculators::onKeyPress(cmbFt->lineEdit(), [this](int& key) { cmbFt_KeyPress(key); });
    calculators::onKeyPress(cmbIn->lineEdit(), [this](int& key) { cmbIn_KeyPress(key); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

frmFtToInches::~frmFtToInches() = default;

std::optional<int> frmFtToInches::PickedNumber(const QString& text, QChar mark)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,2}$"));
    QString t = text.trimmed();
    if (t.endsWith(mark))
        t.chop(1);
    if (!number.match(t).hasMatch())
        return std::nullopt;
    return t.toInt();
}

void frmFtToInches::cmbFt_KeyPress(int& KeyAscii) { KeyAscii = filterPickerKey(KeyAscii, kFeetMark); }

void frmFtToInches::cmbIn_KeyPress(int& KeyAscii) { KeyAscii = filterPickerKey(KeyAscii, kInchMark); }

void frmFtToInches::cmdClose_Click()
{
    const std::optional<int> feet = PickedNumber(cmbFt->currentText(), kFeetMark);
    const std::optional<int> inches = PickedNumber(cmbIn->currentText(), kInchMark);
    // A box that holds no number keeps the picker open, with the box to correct.
    if (!feet || !inches) {
        vb::Beep();
        QComboBox* wrong = feet ? cmbIn : cmbFt;
        wrong->setFocus();
        wrong->lineEdit()->selectAll();
        return;
    }
    if (auto* calculator = vb::Forms().Find<frmBMI>(QStringLiteral("frmBMI")))
        calculator->SetHeightInches(*feet * 12 + *inches);
    Unload();
}
