#include "records/frmChngeCustomLblUnt.h"

#include "data/Globals.h"
#include "data/clsModifyMDB1.h"
#include "platform/controls/DataControl.h"
#include "platform/dao/dao.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/TextLimits.h"
#include "records/frmDSetGoal.h"
#include "records/frmMeasure.h"
#include "records/frmPerson.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QValidator>

#include <exception>
#include <functional>

namespace {

// The settings columns this form shows, as stored (Null reads as the empty text).
struct UnitSettings {
    QString tempLbl, temp1Lbl, tempUnit, temp1Unit, temp2Unit, wtUnit, htUnit;
};

UnitSettings readSettings()
{
    UnitSettings s;
    auto rs = gDB->OpenRecordset(QStringLiteral("select * from Application"), dao::dbOpenSnapshot);
    if (!rs->Eof()) {
        auto text = [&rs](const char* column) { return vb::CStr(rs->Fields(QLatin1String(column)).Value()); };
        s.tempLbl = text("TempLBL");
        s.temp1Lbl = text("Temp1LBL");
        s.tempUnit = text("TempUnit");
        s.temp1Unit = text("Temp1Unit");
        s.temp2Unit = text("Temp2Unit");
        s.wtUnit = text("WtUnit");
        s.htUnit = text("HtUnit");
    }
    rs->Close();
    return s;
}

// The settings columns refuse the empty text: an empty entry is stored as Null.
QString settingLiteral(const QString& entry) { return entry.isEmpty() ? QStringLiteral("Null") : vb::SqlText(entry); }

// Turns one option of a pair on, or both off (index -1). Radio buttons of one frame exclude
// each other, so both can go off only with the exclusion lifted for a moment.
void setOption(const std::array<QRadioButton*, 2>& options, int index)
{
    for (QRadioButton* option : options)
        option->setAutoExclusive(false);
    for (int i = 0; i < 2; ++i)
        options[static_cast<size_t>(i)]->setChecked(i == index);
    for (QRadioButton* option : options)
        option->setAutoExclusive(true);
}

// Index of the option that is on, -1 when none is.
int chosenOption(const std::array<QRadioButton*, 2>& options)
{
    for (int i = 0; i < 2; ++i) {
        if (options[static_cast<size_t>(i)]->isChecked())
            return i;
    }
    return -1;
}

// The exact stored text names one option; any other text names none.
int optionOf(const QString& stored, const QString& first, const QString& second)
{
    if (stored == first)
        return 0;
    if (stored == second)
        return 1;
    return -1;
}

QGroupBox* optionFrame(const QString& name, const QString& caption, std::array<QRadioButton*, 2>& options,
                       const QString& optionName, const QString& first, const QString& second, QWidget* parent)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    auto* layout = new QVBoxLayout(frame);
    const QString captions[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], frame);
        option->setObjectName(optionName + QLatin1Char('_') + QString::number(i));
        layout->addWidget(option);
        options[static_cast<size_t>(i)] = option;
    }
    layout->addStretch();
    return frame;
}

// The grids' headings are made of these texts in a string whose columns "|" separates.
const QString kNoBarMessage = QStringLiteral("A custom label or unit cannot contain the character \"|\".\r\n"
                                             "Please use any other character.");

// Refuses an edit, typed, pasted or dropped, that brings a "|" into a label or unit box, and
// asks for the message once the edit is over. A text that already held one when it was set
// (an older file) may keep it while the user edits it away; applying refuses it.
class NoBarValidator : public QValidator {
public:
    NoBarValidator(QLineEdit& box, std::function<void()> refused) : QValidator(&box), box_(box), refused_(std::move(refused)) {}

    // The "|" the text set by the program holds, which edits may keep.
    void allowPresent(const QString& text) { allowed_ = text.count(u'|'); }

    State validate(QString& input, int& /*pos*/) const override
    {
        const qsizetype bars = input.count(u'|');
        if (bars <= allowed_) {
            allowed_ = bars; // a "|" edited away cannot be typed back
            return Acceptable;
        }
        // After the edit is undone, not inside it.
        QMetaObject::invokeMethod(&box_, refused_, Qt::QueuedConnection);
        return Invalid;
    }

private:
    QLineEdit& box_;
    std::function<void()> refused_;
    mutable qsizetype allowed_ = 0;
};

void setEntry(QLineEdit* box, const QString& text)
{
    if (auto* validator = dynamic_cast<NoBarValidator*>(box->findChild<QValidator*>()))
        validator->allowPresent(text);
    box->setText(text);
}

void reportNotSaved(const QString& reason)
{
    vb::MsgBox(QStringLiteral("The changes could not be saved.\r\n") + reason, vb::vbOKOnly | vb::vbExclamation);
}

} // namespace

frmChngeCustomLblUnt::frmChngeCustomLblUnt(QWidget* parent) : vb::Form(QStringLiteral("frmChngeCustomLblUnt"), parent)
{
    setWindowFlags(Qt::Dialog);
    setCaption(QStringLiteral("Change label and units of custom and selected measures"));

    Frame1 = new QGroupBox(QStringLiteral("Custom in Measurement Screen"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(Frame1);
    // Room for the longest entry with a little to spare.
    const int boxWidth = fontMetrics().averageCharWidth() * (kMaxEntryLength + 6);
    for (int i = 0; i < 2; ++i) {
        const auto idx = static_cast<size_t>(i);
        const QString n = QString::number(i + 1);
        const QString suffix = QLatin1Char('_') + QString::number(i);

        lblFact[idx] = new QLabel(QStringLiteral("Custom %1 Label:").arg(n), Frame1);
        lblFact[idx]->setObjectName(QStringLiteral("lblFact") + suffix);
        txtTempLbl[idx] = new vb::LimitedLineEdit(kMaxEntryLength, Frame1);
        txtTempLbl[idx]->setObjectName(QStringLiteral("txtTempLbl") + suffix);
        txtTempLbl[idx]->setMinimumWidth(boxWidth);
        lblFact[idx]->setBuddy(txtTempLbl[idx]);

        lblto[idx] = new QLabel(QStringLiteral("Custom %1 Unit:").arg(n), Frame1);
        lblto[idx]->setObjectName(QStringLiteral("lblto") + suffix);
        txtTempUnit[idx] = new vb::LimitedLineEdit(kMaxEntryLength, Frame1);
        txtTempUnit[idx]->setObjectName(QStringLiteral("txtTempUnit") + suffix);
        txtTempUnit[idx]->setMinimumWidth(boxWidth);
        lblto[idx]->setBuddy(txtTempUnit[idx]);

        for (QLineEdit* box : {txtTempLbl[idx], txtTempUnit[idx]})
            box->setValidator(new NoBarValidator(*box, [] { vb::MsgBox(kNoBarMessage, vb::vbOKOnly | vb::vbExclamation); }));

        grid->addWidget(lblFact[idx], i, 0);
        grid->addWidget(txtTempLbl[idx], i, 1);
        grid->addItem(new QSpacerItem(16, 0), i, 2);
        grid->addWidget(lblto[idx], i, 3);
        grid->addWidget(txtTempUnit[idx], i, 4);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);

    Frame3 = optionFrame(QStringLiteral("Frame3"), QStringLiteral("Weight in Measurement Screen"), OptLbKg,
                         QStringLiteral("OptLbKg"), QStringLiteral("in lb"), QStringLiteral("in Kg"), this);
    Frame2 = optionFrame(QStringLiteral("Frame2"), QStringLiteral("Height in Person Screen"), OptFtCm, QStringLiteral("OptFtCm"),
                         QStringLiteral("in feet/inches"), QStringLiteral("in cm"), this);
    Frame4 = optionFrame(QStringLiteral("Frame4"), QStringLiteral("Sugar in Measurement Screen"), OptMgMmol,
                         QStringLiteral("OptMgMmol"), QStringLiteral("in mg/dl"), QStringLiteral("in mmol/l"), this);

    cmdApply = new QPushButton(QStringLiteral("Apply/&Save"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* units = new QHBoxLayout;
    units->addWidget(Frame3, 1);
    units->addWidget(Frame2, 1);
    units->addWidget(Frame4, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdApply);
    buttons->addWidget(cmdClose);

    auto* content = new QVBoxLayout;
    content->addWidget(Frame1);
    content->addLayout(units);
    content->addSpacing(4);
    content->addLayout(buttons);

    content->setContentsMargins(11, 11, 11, 8);
    auto* outer = new QVBoxLayout(this);
    // A dialog of fixed content: its natural size is the only one that reads well.
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* margins = new QWidget(this);
    margins->setLayout(content);
    outer->addWidget(margins, 1);
    outer->addWidget(StatusBar1);
}

frmChngeCustomLblUnt::~frmChngeCustomLblUnt() = default;

QString frmChngeCustomLblUnt::StatusText() const { return StatusBar1->currentMessage(); }

void frmChngeCustomLblUnt::Form_Load()
{
    if (vb::MDIForm* main = vb::MDIForm::Current())
        setWindowIcon(main->windowIcon());

    const UnitSettings s = readSettings();
    setEntry(txtTempLbl[0], s.tempLbl);
    setEntry(txtTempLbl[1], s.temp1Lbl);
    setEntry(txtTempUnit[0], s.tempUnit);
    setEntry(txtTempUnit[1], s.temp1Unit);
    // Exact, case-sensitive: a text the program did not write chooses nothing.
    setOption(OptLbKg, optionOf(s.wtUnit, QStringLiteral("lb"), QStringLiteral("kg")));
    setOption(OptFtCm, optionOf(s.htUnit, QStringLiteral("ft"), QStringLiteral("cm")));
    setOption(OptMgMmol, optionOf(s.temp2Unit, QStringLiteral("mg/dl"), QStringLiteral("mmol/l")));
}

void frmChngeCustomLblUnt::cmdApply_Click()
{
    if (txtTempLbl[0]->text().trimmed().isEmpty() || txtTempLbl[1]->text().trimmed().isEmpty()) {
        vb::MsgBox(QStringLiteral("The custom label cannot be empty.\r\nPlease enter the custom label."),
                   vb::vbOKOnly | vb::vbInformation);
        return;
    }

    for (const QLineEdit* box : {txtTempLbl[0], txtTempLbl[1], txtTempUnit[0], txtTempUnit[1]}) {
        if (box->text().contains(u'|')) {
            vb::MsgBox(kNoBarMessage, vb::vbOKOnly | vb::vbExclamation);
            return;
        }
    }

    const int weight = chosenOption(OptLbKg);
    const int height = chosenOption(OptFtCm);
    const int sugar = chosenOption(OptMgMmol);

    // Labels and units as typed. A unit frame with no option on keeps its stored text: there is
    // no choice to store, and its unit code stays as it is.
    QStringList assignments{
        QStringLiteral("TempLBL=") + settingLiteral(txtTempLbl[0]->text()),
        QStringLiteral("Temp1LBL=") + settingLiteral(txtTempLbl[1]->text()),
        QStringLiteral("TempUnit=") + settingLiteral(txtTempUnit[0]->text()),
        QStringLiteral("Temp1Unit=") + settingLiteral(txtTempUnit[1]->text()),
    };
    if (sugar >= 0)
        assignments << QStringLiteral("Temp2Unit=") +
                           vb::SqlText(sugar == 0 ? QStringLiteral("mg/dl") : QStringLiteral("mmol/l"));
    if (weight >= 0)
        assignments << QStringLiteral("WtUnit=") + vb::SqlText(weight == 0 ? QStringLiteral("lb") : QStringLiteral("kg"));
    if (height >= 0)
        assignments << QStringLiteral("HtUnit=") + vb::SqlText(height == 0 ? QStringLiteral("ft") : QStringLiteral("cm"));

    StatusBar1->clearMessage();
    const QString sugarUnitBefore = readSettings().temp2Unit;
    QStringList keptGoals;
    // The settings row and the goal limits change together or not at all, so the goals never
    // stand in another unit than the one the settings name.
    try {
        dao::Transaction trans(*gDB);
        const int written =
            gDB->Execute(QStringLiteral("update Application set ") + assignments.join(QStringLiteral(", ")), dao::dbFailOnError);
        if (written < 1) {
            reportNotSaved(QStringLiteral("The settings row is missing from the database."));
            return;
        }
        if (sugar >= 0)
            keptGoals = clsModifyMDB1().ConvertGoalUnits(sugar == 1 ? 1 : 2);
        trans.commit();
    } catch (const dao::Error& e) {
        reportNotSaved(e.Description());
        return;
    } catch (const std::exception& e) {
        reportNotSaved(QString::fromStdString(e.what()));
        return;
    }

    if (weight >= 0)
        gWeightUnit = weight + 1;
    if (height >= 0)
        gHeightUnit = height + 1;
    StatusBar1->showMessage(QStringLiteral("The changes are saved"));

    // The open forms show what the row now holds.
    const UnitSettings s = readSettings();
    for (vb::FormBase* form : vb::Forms().Snapshot()) {
        if (form->Name() == QLatin1String("frmMeasure")) {
            auto* measure = dynamic_cast<frmMeasure*>(form);
            if (!measure)
                continue;
            measure->lbl1[8]->setText(s.tempLbl + QLatin1Char(':'));
            measure->lbl1[9]->setText(s.temp1Lbl + QLatin1Char(':'));
            measure->lblUnitTemp[0]->setText(s.tempUnit);
            measure->lblUnitTemp[1]->setText(s.temp1Unit);
            measure->lblUnitTemp[2]->setText(s.temp2Unit);
            measure->lblUnitWt->setText(s.wtUnit);
            gWeightUnitText = s.wtUnit;
            measure->FormatGrid(); // the headers carry the labels and units
        } else if (form->Name() == QLatin1String("frmPerson")) {
            if (auto* person = dynamic_cast<frmPerson*>(form)) {
                person->ShowHeightFields();
                person->FormatPersonGrid();
            }
        } else if (form->Name() == QLatin1String("frmDSetGoal")) {
            // An open goal form would otherwise show, and on an edit write back, the limits
            // of before the conversion.
            if (auto* goal = dynamic_cast<frmDSetGoal*>(form)) {
                for (QLabel* unit : goal->lblTemp2Unit)
                    unit->setText(s.temp2Unit);
                // A goal being entered stays as the user typed it.
                if (goal->EditMode == QLatin1String("browse")) {
                    goal->datDSetGoal->Refresh();
                    goal->FormatGoalGrid();
                }
            }
        }
    }

    // Only the untouched default goals were converted: the user must know which limits now
    // stand in the wrong unit.
    if (!keptGoals.isEmpty() && s.temp2Unit != sugarUnitBefore)
        vb::MsgBox(QStringLiteral("The default goals now have their limits in ") + s.temp2Unit +
                       QStringLiteral(".\r\nThese goals kept their numbers; enter their limits in ") + s.temp2Unit +
                       QStringLiteral(":\r\n") + keptGoals.join(QStringLiteral("\r\n")),
                   vb::vbOKOnly | vb::vbInformation);
}

void frmChngeCustomLblUnt::cmdClose_Click() { Unload(); }
