#include "charts/frmChartLimits.h"

#include "charts/clsChart.h"
#include "charts/clsTChartInterface.h"
#include "charts/frmChart.h"
#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/modHealth.h"
#include "data/ui/ErrorReport.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/KeyPress.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/NamedControls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace {

const char* const RowCaptions[] = {"Blood Pressure:", "Pulse:", "Weight:", "Custom1", "Custom2:", "Sugar:"};
// The blood-pressure boxes take three characters; the others five, the width of the largest
// limit, so that a six-digit number cannot be typed.
constexpr int BloodPressureLength = 3;
constexpr int LimitLength = 5;

const QString& refusalText()
{
    static const QString text = QStringLiteral("The value of lower limit must be less than that of upperlimit.");
    return text;
}

const QString& validationTitle()
{
    static const QString title = QStringLiteral("Limits Validation");
    return title;
}

using errorreport::guarded;

QString limitText(const QVariant& stored) { return vb::IsNull(stored) ? QString() : QString::number(stored.toInt()); }

int typingLength(int row) { return row == PlotKey::BloodPressure ? BloodPressureLength : LimitLength; }

bool filterTakes(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('/') || c == QLatin1Char(':');
}

qsizetype untakenCount(const QString& text)
{
    return std::count_if(text.begin(), text.end(), [](QChar c) { return !filterTakes(c); });
}

// A limit box's filter for every edit, typed, pasted or dropped: it takes what the key filter
// lets through, up to the box's length. A key the key filter dropped never gets here, and a
// character typed past the length is simply not taken; anything else it cannot take (a paste
// or a drop) is refused whole and marked, so the dialog can say what a limit may be.
class LimitFilter : public QValidator {
public:
    LimitFilter(int length, QLineEdit* box) : QValidator(box), length_(length)
    {
        // The box's text before an edit: what the program showed may hold more (a long or
        // negative stored limit), and may be shortened.
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text; });
    }
    State validate(QString& input, int&) const override
    {
        const bool tooLong = input.size() > std::max<qsizetype>(length_, shown_.size());
        const bool untaken = untakenCount(input) > untakenCount(shown_);
        refused_ = untaken || (tooLong && input.size() > shown_.size() + 1);
        return tooLong || untaken ? Invalid : Acceptable;
    }
    // Whether the last edit was refused for more than a key typed past the length.
    bool takeRefusal() { return std::exchange(refused_, false); }

private:
    int length_;
    QString shown_;
    mutable bool refused_ = false;
};

// Shows a text from the program: a stored limit is shown whole, whatever the filter takes.
void setBoxText(QLineEdit* box, const QString& text)
{
    const QValidator* filter = box->validator();
    box->setValidator(nullptr);
    box->setText(text);
    box->setValidator(filter);
}

// The chart window whose person and plot the dialog works on.
frmChart& chart() { return vb::defaultInstance<frmChart>(); }

} // namespace

frmChartLimits::frmChartLimits() : vb::Form(QStringLiteral("frmChartLimits"))
{
    setCaption(QStringLiteral("Setting Limits for Vertical Axis"));
    setWindowFlag(Qt::Dialog);

    Label2[0] = vb::makeLabel(this, "Label2_0", QStringLiteral("Lower Limit"));
    Label2[1] = vb::makeLabel(this, "Label2_1", QStringLiteral("Measurement"));
    Label2[2] = vb::makeLabel(this, "Label2_2", QStringLiteral("Upper Limit"));
    QFont heading = Label2[0]->font();
    heading.setBold(true);
    for (QLabel* label : Label2) {
        label->setFont(heading);
        label->setAlignment(Qt::AlignCenter);
    }

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->addWidget(Label2[1], 0, 0);
    grid->addWidget(Label2[0], 0, 1);
    grid->addWidget(Label2[2], 0, 3);
    QWidget* previous = nullptr;
    for (int i = 0; i < 6; ++i) {
        const auto n = static_cast<std::size_t>(i);
        lblFact[n] =
            vb::makeLabel(this, QStringLiteral("lblFact_%1").arg(i).toLatin1().constData(), QLatin1String(RowCaptions[i]));
        lblFact[n]->setTextFormat(Qt::PlainText);
        lblto[n] = vb::makeLabel(this, QStringLiteral("lblto_%1").arg(i).toLatin1().constData(), QStringLiteral("to"));
        lblto[n]->setAlignment(Qt::AlignCenter);
        for (auto* boxes : {&txtLwrLim, &txtUprLim}) {
            auto* box = new QLineEdit(this);
            box->setObjectName(QStringLiteral("%1_%2").arg(boxes == &txtLwrLim ? "txtLwrLim" : "txtUprLim").arg(i));
            auto* filter = new LimitFilter(typingLength(i), box);
            box->setValidator(filter);
            connect(box, &QLineEdit::inputRejected, this, [this, filter, i] {
                if (filter->takeRefusal())
                    vb::MsgBox(QStringLiteral("A limit is a whole number from 0 to %1, of digits only.")
                                   .arg(i == PlotKey::BloodPressure ? 999 : MaxLimit),
                               vb::vbExclamation | vb::vbOKOnly, validationTitle());
            });
            box->setAlignment(Qt::AlignRight);
            box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
            (*boxes)[n] = box;
        }
        vb::OnKeyPress(txtLwrLim[n], [this, i](int& key) { txtLwrLim_KeyPress(i, key); });
        vb::OnKeyPress(txtUprLim[n], [this, i](int& key) { txtUprLim_KeyPress(i, key); });
        grid->addWidget(lblFact[n], i + 1, 0);
        grid->addWidget(txtLwrLim[n], i + 1, 1, Qt::AlignCenter);
        grid->addWidget(lblto[n], i + 1, 2);
        grid->addWidget(txtUprLim[n], i + 1, 3, Qt::AlignCenter);
        // Row by row, lower before upper.
        if (previous)
            setTabOrder(previous, txtLwrLim[n]);
        setTabOrder(txtLwrLim[n], txtUprLim[n]);
        previous = txtUprLim[n];
    }

    cmdApply = vb::makeButton(this, "cmdApply", QStringLiteral("Apply/&Save"));
    cmdClose = vb::makeButton(this, "cmdClose", QStringLiteral("&Close"));
    setTabOrder(previous, cmdApply);
    setTabOrder(cmdApply, cmdClose);
    connect(cmdApply, &QPushButton::clicked, this, [this] { guarded([this] { cmdApply_Click(); }); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { guarded([this] { cmdClose_Click(); }); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdApply);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(12);
    // A wider window keeps the rows together in its middle.
    auto* rows = new QHBoxLayout;
    rows->addStretch(1);
    rows->addLayout(grid);
    rows->addStretch(1);
    layout->addLayout(rows);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

frmChartLimits::~frmChartLimits() = default;

qint32 frmChartLimits::person() const { return chart().SelectedPersonKey(); }

qint64 frmChartLimits::LeadingNumber(const QString& entry)
{
    qint64 number = 0;
    for (const QChar c : entry) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        // Past the largest limit the exact value no longer matters.
        if (number <= MaxLimit)
            number = number * 10 + c.digitValue();
    }
    return number;
}

// ---------------------------------------------------------------------------------------------
// Load

void frmChartLimits::Form_Load()
{
    mPlotMode = 0;
    for (int i = 0; i < 7; ++i) {
        if (chart().optFact[static_cast<std::size_t>(i)]->isChecked())
            mPlotMode = i < PlotKey::Multiple ? 1 : 2;
    }

    clsDataService service;
    lblFact[PlotKey::Custom1]->setText(service.GetMeasureCaption(1, 1) + QStringLiteral(":"));
    lblFact[PlotKey::Custom2]->setText(service.GetMeasureCaption(2, 1) + QStringLiteral(":"));

    if (mPlotMode == 1) {
        for (int i = 0; i < 6; ++i) {
            if (chart().optFact[static_cast<std::size_t>(i)]->isChecked())
                LoadSinglePlotLimits(i);
            else
                setRowState(i, RowState::Shut);
        }
    } else if (mPlotMode == 2) {
        LoadMultiplePlotLimits(PlotKey::Multiple);
    } else {
        // The chart shows no plot (no person has readings): there is nothing to limit.
        for (int i = 0; i < 6; ++i)
            setRowState(i, RowState::Shut);
    }
}

void frmChartLimits::setRowState(int row, RowState state)
{
    const auto n = static_cast<std::size_t>(row);
    const bool editable = state == RowState::Editable;
    for (QLineEdit* box : {txtLwrLim[n], txtUprLim[n]}) {
        box->setEnabled(editable);
        box->setReadOnly(!editable);
        if (!editable)
            vb::SetBackColor(box, vb::vbButtonFace);
        else if (mPlotMode == 2)
            vb::SetBackColor(box, vb::vbWindowBackground);
    }
    lblFact[n]->setEnabled(editable);
    lblto[n]->setEnabled(editable);
}

void frmChartLimits::showLimits(int row, const QVariant& lower, const QVariant& upper)
{
    setBoxText(txtLwrLim[static_cast<std::size_t>(row)], limitText(lower));
    setBoxText(txtUprLim[static_cast<std::size_t>(row)], limitText(upper));
}

void frmChartLimits::LoadSinglePlotLimits(int plot)
{
    clsDataService service;
    for (int i = 0; i < 6; ++i) {
        auto rs = service.GetSinglePersonPlot(i, person());
        if (service.RecordCount() > 0) {
            rs->MoveFirst();
            showLimits(i, rs->Fields(QStringLiteral("y_min")).Value(), rs->Fields(QStringLiteral("y_max")).Value());
        }
        rs->Close();
        if (i == plot)
            setRowState(i, RowState::Editable);
    }
}

void frmChartLimits::LoadMultiplePlotLimits(int plot)
{
    for (int i = 0; i < 6; ++i) {
        setRowState(i, RowState::Shut);
        showLimits(i, QVariant(), QVariant());
    }
    clsDataService service;
    auto charts = service.GetMultiPlotCharts(plot, person());
    if (service.RecordCount() > 0)
        charts->MoveFirst();
    for (; !charts->Eof(); charts->MoveNext()) {
        const int k = charts->Fields(QStringLiteral("chrt_id")).Value().toInt();
        if (!charts->Fields(QStringLiteral("chrt_act")).Value().toBool() || k < 0 || k > 5)
            continue;
        clsDataService rowService;
        auto rs = rowService.GetSinglePersonPlot(k, person());
        if (rowService.RecordCount() > 0) {
            rs->MoveFirst();
            showLimits(k, rs->Fields(QStringLiteral("y_min")).Value(), rs->Fields(QStringLiteral("y_max")).Value());
        }
        setRowState(k, RowState::Editable);
        rs->Close();
    }
    charts->Close();
}

// ---------------------------------------------------------------------------------------------
// Keys, apply and close

void frmChartLimits::txtLwrLim_KeyPress(int /*Index*/, int& KeyAscii) { KeyAscii = modHealth::FilterDigitKey(KeyAscii); }

void frmChartLimits::txtUprLim_KeyPress(int /*Index*/, int& KeyAscii) { KeyAscii = modHealth::FilterDigitKey(KeyAscii); }

bool frmChartLimits::applyRow(int row, qint32 personKey)
{
    const auto n = static_cast<std::size_t>(row);
    clsDataService service;
    auto rs = service.GetSinglePersonPlot(row, personKey);
    if (service.RecordCount() == 0) {
        rs->Close();
        return false;
    }
    rs->MoveFirst();
    // The boxes hold plain digits since the tidying.
    const qint64 lower = LeadingNumber(txtLwrLim[n]->text());
    const qint64 upper = LeadingNumber(txtUprLim[n]->text());
    if (upper <= lower || upper > MaxLimit) {
        // After the tidying the upper box holds the larger number.
        vb::MsgBox(upper > MaxLimit ? QStringLiteral("A limit cannot be larger than %1.").arg(MaxLimit) : refusalText(),
                   vb::vbExclamation | vb::vbOKOnly, validationTitle());
        showLimits(row, rs->Fields(QStringLiteral("y_min")).Value(), rs->Fields(QStringLiteral("y_max")).Value());
    } else {
        rs->Edit();
        rs->Fields(QStringLiteral("y_min")).setValue(static_cast<int>(lower));
        rs->Fields(QStringLiteral("y_max")).setValue(static_cast<int>(upper));
        rs->Update();
    }
    rs->Close();
    return true;
}

void frmChartLimits::cmdApply_Click()
{
    // Tidy: plain digits in every open row, the smaller number below.
    for (int i = 0; i < 6; ++i) {
        const auto n = static_cast<std::size_t>(i);
        if (!txtLwrLim[n]->isEnabled())
            continue;
        qint64 lower = LeadingNumber(txtLwrLim[n]->text());
        qint64 upper = LeadingNumber(txtUprLim[n]->text());
        if (upper < lower)
            std::swap(lower, upper);
        setBoxText(txtLwrLim[n], QString::number(lower));
        setBoxText(txtUprLim[n], QString::number(upper));
    }

    const qint32 personKey = person();
    // The rows to decide, in order: the shown plot's, or each plot switched on in the multiple
    // plot that the dialog let the user edit.
    std::vector<int> rows;
    bool gone = false;
    if (mPlotMode == 1) {
        for (int i = 0; i < 6; ++i)
            if (txtLwrLim[static_cast<std::size_t>(i)]->isEnabled())
                rows.push_back(i);
    } else if (mPlotMode == 2) {
        clsDataService service;
        auto charts = service.GetMultiPlotCharts(PlotKey::Multiple, personKey);
        const bool stored = service.RecordCount() > 0;
        if (stored)
            charts->MoveFirst();
        for (; !charts->Eof(); charts->MoveNext()) {
            const int k = charts->Fields(QStringLiteral("chrt_id")).Value().toInt();
            if (charts->Fields(QStringLiteral("chrt_act")).Value().toBool() && k >= 0 && k <= 5 &&
                txtLwrLim[static_cast<std::size_t>(k)]->isEnabled())
                rows.push_back(k);
        }
        charts->Close();
        // Rows on offer but no multiple plot stored any more: the person went meanwhile.
        gone = !stored && std::any_of(txtLwrLim.begin(), txtLwrLim.end(), [](QLineEdit* box) { return box->isEnabled(); });
    } else {
        return;
    }

    // One transaction: every accepted row is stored, or none when the person's settings are gone.
    if (!gone) {
        dao::Transaction transaction(*gDB);
        for (int row : rows) {
            if (!applyRow(row, personKey)) {
                gone = true;
                break;
            }
        }
        if (!gone)
            transaction.commit();
    }
    if (gone)
        vb::MsgBox(QStringLiteral("The chart settings of this person are no longer stored. Nothing was saved."),
                   vb::vbExclamation, validationTitle());

    if (mPlotMode == 1) {
        for (int row : rows)
            clsChart().ApplyPlotSettings(chart(), row, personKey);
    } else {
        chart().optFact_Click(PlotKey::Multiple);
    }
}

void frmChartLimits::cmdClose_Click() { Unload(); }
