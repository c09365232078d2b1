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
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
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

using errorreport::guarded;

QString limitText(const QVariant& stored) { return vb::IsNull(stored) ? QString() : QString::number(stored.toInt()); }

int typingLength(int row) { return row == PlotKey::BloodPressure ? BloodPressureLength : LimitLength; }

// The length holds typing only: a longer stored limit is shown whole, and typing never makes a
// box longer than its length or its text.
void setBoxText(QLineEdit* box, int row, const QString& text)
{
    box->setMaxLength(std::max(typingLength(row), static_cast<int>(text.size())));
    box->setText(text);
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

    // Paste takes what typing takes: digits, "/" and ":" (after the sign a stored limit may have).
    const QRegularExpression typed(QStringLiteral("-?[0-9/:]*"));
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
            box->setMaxLength(typingLength(i));
            connect(box, &QLineEdit::textEdited, box,
                    [box, i] { box->setMaxLength(std::max(typingLength(i), static_cast<int>(box->text().size()))); });
            box->setValidator(new QRegularExpressionValidator(typed, box));
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
    setBoxText(txtLwrLim[static_cast<std::size_t>(row)], row, limitText(lower));
    setBoxText(txtUprLim[static_cast<std::size_t>(row)], row, limitText(upper));
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
        vb::MsgBox(refusalText(), vb::vbExclamation | vb::vbOKOnly, QStringLiteral("Limits Validation"));
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
        setBoxText(txtLwrLim[n], i, QString::number(lower));
        setBoxText(txtUprLim[n], i, QString::number(upper));
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
                   vb::vbExclamation, QStringLiteral("Limits Validation"));

    if (mPlotMode == 1) {
        for (int row : rows)
            clsChart().ApplyPlotSettings(chart(), row, personKey);
    } else {
        chart().optFact_Click(PlotKey::Multiple);
    }
}

void frmChartLimits::cmdClose_Click() { Unload(); }
