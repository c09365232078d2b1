#include "calculators/frmFtToInches.h"

#include "calculators/CalculatorSupport.h"
#include "calculators/frmBMI.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpacerItem>
#include <QValidator>

#include <algorithm>

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

// What a picker box can hold while it is edited: nothing, its mark alone, or a number the Enter
// button takes. Typed keys are filtered before this; whatever else would bring another text
// (a paste, a drop) is refused whole, and the user is told what the box takes.
class PickerText : public QValidator {
public:
    PickerText(QLineEdit* box, QChar mark, QString allowed) : QValidator(box), mark_(mark), allowed_(std::move(allowed)) {}

    State validate(QString& input, int& /*pos*/) const override
    {
        const bool blank = std::any_of(input.cbegin(), input.cend(), [](QChar c) { return c.isSpace(); });
        if (input.isEmpty() || input == QString(mark_) || (!blank && frmFtToInches::PickedNumber(input, mark_)))
            return Acceptable;
        // Told once the box has refused the text, not from inside its edit.
        if (!telling_) {
            telling_ = true;
            QMetaObject::invokeMethod(
                const_cast<PickerText*>(this),
                [this] {
                    vb::MsgBox(allowed_, vb::vbOKOnly | vb::vbExclamation);
                    telling_ = false;
                },
                Qt::QueuedConnection);
        }
        return Invalid;
    }

private:
    QChar mark_;
    QString allowed_;
    mutable bool telling_ = false;
};

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

    // The title is the widest thing the window has to show.
    layout->addItem(new QSpacerItem(calculators::widthForTitle(this), 0, QSizePolicy::Fixed, QSizePolicy::Minimum), 2, 0, 1, 2);

    cmbFt->lineEdit()->setValidator(new PickerText(
        cmbFt->lineEdit(), kFeetMark,
        QStringLiteral("The height in feet takes a whole number of at most two digits, with or without ' after it.")));
    cmbIn->lineEdit()->setValidator(
        new PickerText(cmbIn->lineEdit(), kInchMark,
                       QStringLiteral("The inches take a whole number of at most two digits, with or without \" after it.")));
    // Keys typed while a box has the focus reach its editor through the box itself, past any
    // filter of the editor's own: both are watched.
    for (QWidget* box : {static_cast<QWidget*>(cmbFt), static_cast<QWidget*>(cmbFt->lineEdit())})
        calculators::onKeyPress(box, [this](int& key) { cmbFt_KeyPress(key); });
    for (QWidget* box : {static_cast<QWidget*>(cmbIn), static_cast<QWidget*>(cmbIn->lineEdit())})
        calculators::onKeyPress(box, [this](int& key) { cmbIn_KeyPress(key); });
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
