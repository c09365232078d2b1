#include "charts/frmChart.h"

#include "charts/clsChart.h"
#include "charts/clsMonthYearInterface.h"
#include "charts/clsTChartInterface.h"
#include "charts/frmAppearance.h"
#include "charts/frmChartCustom.h"
#include "charts/frmChartLimits.h"
#include "charts/frmChartMultiple.h"
#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/ui/Captions.h"
#include "data/ui/ErrorReport.h"
#include "data/ui/modHealthUi.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/TChart.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/controls/usrMonthYear.h"
#include "platform/dao/Error.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/Twips.h"
#include "platform/services/Printing.h"
#include "platform/services/Services.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const PlotCaptions[] = {"Blood Pressure", "Pulse", "Weight", "Temp1", "Temp2", "Sugar", "Multiple"};
const char* const TopCaptions[] = {"None", "Regimen", "Mood", "Sugar Test Time"};
const char* const Categories[] = {"Daily Plot", "Day Average Plot", "Weekly Average Plot", "Monthly Average Plot"};

using errorreport::guarded;

// Swallows keys typed into the person list: the person is chosen with the mouse only.
class KeySwallower : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease || event->type() == QEvent::ShortcutOverride)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

// A chart design with the 13 series of the window: candles, five plot series (bars), three
// label series on the top axis, two blood-pressure series (bars until made lines) and the two
// coloured blood-pressure point series. No title until the first redraw sets one.
void designChart(TChart& chart)
{
    chart.AddSeries(tchart::Candle).setMarksVisible(false);
    for (int i = 1; i <= 5; ++i)
        chart.AddSeries(tchart::Bar).setMarksVisible(true);
    for (int i = 6; i <= 8; ++i)
        chart.AddSeries(tchart::Point, tchart::TopAxis).setMarksVisible(false);
    for (int i = 9; i <= 10; ++i)
        chart.AddSeries(tchart::Bar).setMarksVisible(true);
    for (int i = 11; i <= 12; ++i) {
        TChartSeries& points = chart.AddSeries(tchart::Point);
        points.setMarksVisible(false);
        points.setColorEachPoint(true);
    }
}

} // namespace

frmChart::frmChart() : vb::Form(QStringLiteral("frmChart"))
{
    setCaption(QStringLiteral("Chart of Measurements"));
    setMDIChild(true);

    TChart1 = new TChart(this);
    TChart1->setObjectName(QStringLiteral("TChart1"));
    TChart1->setMinimumHeight(180);
    designChart(*TChart1);

    PicBase = new QWidget(this);
    PicBase->setObjectName(QStringLiteral("PicBase"));

    Label1 = new QLabel(QStringLiteral("1. Select Person"), PicBase);
    cmbPerson = new QComboBox(PicBase);
    cmbPerson->setObjectName(QStringLiteral("cmbPerson"));
    cmbPerson->installEventFilter(new KeySwallower(cmbPerson));
    Label3 = new QLabel(QStringLiteral("2. Select Category"), PicBase);
    lstPlotType = new QListWidget(PicBase);
    lstPlotType->setObjectName(QStringLiteral("lstPlotType"));
    lstPlotType->setFixedHeight(lstPlotType->fontMetrics().height() * 4 + 10);

    FrameYrMnth = new QGroupBox(QStringLiteral("3. Select Year and Month"), PicBase);
    FrameYrMnth->setObjectName(QStringLiteral("FrameYrMnth"));
    usrMonthYear1 = new usrMonthYear(FrameYrMnth);
    usrMonthYear1->setObjectName(QStringLiteral("usrMonthYear1"));
    (new QVBoxLayout(FrameYrMnth))->addWidget(usrMonthYear1);

    Frame1 = new QGroupBox(QStringLiteral("4. Choose a plot"), PicBase);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* plots = new QGridLayout(Frame1);
    plots->setVerticalSpacing(2);
    for (int i = 0; i < 7; ++i) {
        optFact[static_cast<std::size_t>(i)] = new QRadioButton(QLatin1String(PlotCaptions[i]), Frame1);
        optFact[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("optFact%1").arg(i));
    }
    // The custom labels, as long as the user makes them, each on a line across both columns.
    for (int i = 0; i < 5; ++i)
        plots->addWidget(optFact[static_cast<std::size_t>(i)], i, 0, 1, i < 3 ? 1 : 2);
    plots->addWidget(optFact[5], 0, 1);
    plots->addWidget(optFact[6], 1, 1);

    Frame2 = new QGroupBox(QStringLiteral("5. Display on Top Axis"), PicBase);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    // The top-axis options and the settings buttons stand two by two, so that the panel's second
    // row, when it wraps, is no taller than it must be.
    auto* tops = new QGridLayout(Frame2);
    tops->setVerticalSpacing(2);
    for (int i = 0; i < 4; ++i) {
        optTopLbl[static_cast<std::size_t>(i)] = new QRadioButton(QLatin1String(TopCaptions[i]), Frame2);
        optTopLbl[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("optTopLbl%1").arg(i));
        // Row by row, so that the two long captions share a column and the room kept for bold
        // captions (below) is that of one.
        tops->addWidget(optTopLbl[static_cast<std::size_t>(i)], i / 2, i % 2);
    }
    // The chosen option's caption is bold (the first at the start): each option keeps the room
    // of its bold caption, so that choosing another moves nothing beside it.
    for (QRadioButton* option : optTopLbl) {
        QFont font = option->font();
        font.setBold(true);
        option->setFont(font);
        option->setMinimumWidth(option->sizeHint().width());
        font.setBold(option == optTopLbl[0]);
        option->setFont(font);
    }
    optTopLbl[0]->setChecked(true);

    Frame3 = new QGroupBox(QStringLiteral("6. Chart Feature Adjustment"), PicBase);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    cmdCustomTypeColor = new QPushButton(QStringLiteral("&Chart Type/Color"), Frame3);
    cmdChartLimits = new QPushButton(QStringLiteral("&Vertical Limits"), Frame3);
    cmdMultipleCharts = new QPushButton(QStringLiteral("&Multiple Charts"), Frame3);
    cmdAppearance = new QPushButton(QStringLiteral("&Appearance"), Frame3);
    auto* buttons = new QGridLayout(Frame3);
    buttons->setSpacing(2);
    int place = 0;
    for (QPushButton* b : {cmdCustomTypeColor, cmdChartLimits, cmdMultipleCharts, cmdAppearance}) {
        buttons->addWidget(b, place % 2, place / 2);
        ++place;
    }
    cmdCustomTypeColor->setObjectName(QStringLiteral("cmdCustomTypeColor"));
    cmdChartLimits->setObjectName(QStringLiteral("cmdChartLimits"));
    cmdMultipleCharts->setObjectName(QStringLiteral("cmdMultipleCharts"));
    cmdAppearance->setObjectName(QStringLiteral("cmdAppearance"));

    datChartRegimen = new DataControl(PicBase);
    datChartRegimen->setObjectName(QStringLiteral("datChartRegimen"));
    datChartRegimen->setVisible(false);
    vsFGChartRegimen = new VSFlexGrid(PicBase);
    vsFGChartRegimen->setObjectName(QStringLiteral("vsFGChartRegimen"));
    vsFGChartRegimen->setDataSource(datChartRegimen);
    FormatRegimenGrid();

    // Narrow enough to leave the regimen grid room for its details.
    listWidth_ = lstPlotType->fontMetrics().horizontalAdvance(QStringLiteral("Monthly Average Plot")) + 40;
    personListWidth_ = listWidth_;
    cmbPerson->setFixedWidth(listWidth_);
    cmbPerson->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lstPlotType->setFixedWidth(listWidth_);
    personAndCategory_ = new QWidget(PicBase);
    auto* first = new QVBoxLayout(personAndCategory_);
    first->setContentsMargins(0, 0, 0, 0);
    first->setSpacing(2);
    first->addWidget(Label1);
    first->addWidget(cmbPerson);
    first->addSpacing(4);
    first->addWidget(Label3);
    first->addWidget(lstPlotType);
    first->addStretch();
    vsFGChartRegimen->setMinimumHeight(60);
    vsFGChartRegimen->viewport()->installEventFilter(this);

    // The choices stand in one row below the chart when the window is wide enough, and in two
    // when it is not; below the room the two rows need, the window scrolls rather than pressing
    // its controls together.
    auto* panel = new QVBoxLayout(PicBase);
    panel->setContentsMargins(4, 2, 4, 4);
    panel->setSpacing(4);
    for (QHBoxLayout*& row : panelRows_) {
        row = new QHBoxLayout;
        row->setSpacing(6);
        panel->addLayout(row);
    }
    int oneRow = 0;
    for (QWidget* w : panelBlocks())
        oneRow += w->sizeHint().width() + panelRows_[0]->spacing();
    oneRowWidth_ = oneRow + MinimumGridWidth + panel->contentsMargins().left() + panel->contentsMargins().right();
    arrangePanel(true);

    const vb::ScrollingBody scrolling = vb::makeScrollingBody(this);
    scroller_ = scrolling.scroller;
    scroller_->viewport()->installEventFilter(this);
    QVBoxLayout* body = scrolling.layout;
    body->setContentsMargins(2, 2, 2, 2);
    body->setSpacing(2);
    body->addWidget(TChart1, 1);
    body->addWidget(PicBase, 0);

    connect(cmbPerson, &QComboBox::activated, this, [this] { guarded([this] { cmbPerson_Click(); }); });
    connect(lstPlotType, &QListWidget::currentRowChanged, this, [this] { guarded([this] { lstPlotType_Click(); }); });
    connect(usrMonthYear1, &usrMonthYear::PeriodChanged, this, [this] { guarded([this] { usrMonthYear1_PeriodChanged(); }); });
    connect(usrMonthYear1, &usrMonthYear::YearChanged, this, [this] { guarded([this] { usrMonthYear1_YearChanged(); }); });
    for (int i = 0; i < 7; ++i)
        connect(optFact[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                guarded([this, i] { optFact_Click(i); });
        });
    for (int i = 0; i < 4; ++i)
        connect(optTopLbl[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                guarded([this, i] { optTopLbl_Click(i); });
        });
    connect(cmdCustomTypeColor, &QPushButton::clicked, this, [this] { guarded([this] { cmdCustomTypeColor_Click(); }); });
    connect(cmdChartLimits, &QPushButton::clicked, this, [this] { guarded([this] { cmdChartLimits_Click(); }); });
    connect(cmdMultipleCharts, &QPushButton::clicked, this, [this] { guarded([this] { cmdMultipleCharts_Click(); }); });
    connect(cmdAppearance, &QPushButton::clicked, this, [this] { guarded([this] { cmdAppearance_Click(); }); });
}

frmChart::~frmChart() = default;

// ---------------------------------------------------------------------------------------------
// Load, activate, resize, unload

void frmChart::Form_Load()
{
    clsDataService service;
    optFact[3]->setText(captions::plain(service.GetMeasureCaption(1, 1)));
    optFact[4]->setText(captions::plain(service.GetMeasureCaption(2, 1)));

    clsTChartInterface().InitChart(*this);

    int remembered = -1;
    {
        auto rs = service.GetPersonsWithMeasures();
        remembered = modHealth::FillPersonList(cmbPerson, *rs);
        rs->Close();
    }
    // As wide as its longest name, as far as the window has room.
    personListWidth_ = std::max(listWidth_, cmbPerson->sizeHint().width());
    // A window not shown (the report's) keeps its panel; a shown one fits it at once.
    if (scroller_->viewport()->isVisible())
        fitPanel();

    {
        QSignalBlocker block(lstPlotType);
        lstPlotType->clear();
        for (const char* category : Categories)
            lstPlotType->addItem(QLatin1String(category));
        lstPlotType->setCurrentRow(-1);
    }
    regimenPerson_ = 0;

    if (cmbPerson->count() == 0) {
        vb::MsgBox(QStringLiteral("No person has data to be plotted."), vb::vbOKOnly, App::Title());
        return;
    }
    const int index = remembered >= 0 ? remembered : 0;
    gPersonKey = cmbPerson->itemData(index).toInt();
    selectPerson(index);
}

void frmChart::Form_Activate()
{
    try {
        if (vb::MDIForm* main = MdiParent()) {
            const QSize client = main->MdiArea()->viewport()->size();
            Window()->setGeometry(QRect(QPoint(0, 0), client));
        }
    } catch (...) {
        // Placing the window is a courtesy; nothing depends on it.
    }
}

bool frmChart::eventFilter(QObject* watched, QEvent* event)
{
    // The grid's viewport narrows also when the vertical scroll bar comes, the grid itself not.
    if (watched == vsFGChartRegimen->viewport() && event->type() == QEvent::Resize)
        Form_Resize();
    if (scroller_ && watched == scroller_->viewport() && event->type() == QEvent::Resize)
        fitPanel();
    return vb::Form::eventFilter(watched, event);
}

std::array<QWidget*, 5> frmChart::panelBlocks() const { return {personAndCategory_, FrameYrMnth, Frame1, Frame2, Frame3}; }

void frmChart::arrangePanel(bool oneRow)
{
    if (arranged_ && oneRow == oneRow_)
        return;
    arranged_ = true;
    oneRow_ = oneRow;
    const auto blocks = panelBlocks();
    for (QHBoxLayout* row : panelRows_) {
        for (QWidget* w : blocks)
            row->removeWidget(w);
        row->removeWidget(vsFGChartRegimen);
        while (QLayoutItem* item = row->takeAt(0))
            delete item; // the stretch of the last arrangement
    }
    // In two rows: person and category, period and plot above; top axis, settings and the
    // regimen grid below.
    const std::size_t firstRowCount = oneRow ? blocks.size() : 3;
    for (std::size_t i = 0; i < blocks.size(); ++i)
        panelRows_[i < firstRowCount ? 0 : 1]->addWidget(blocks[i], 0, Qt::AlignTop);
    if (!oneRow)
        panelRows_[0]->addStretch(1);
    panelRows_[oneRow ? 0 : 1]->addWidget(vsFGChartRegimen, 1);
    // The panel is as high as its rows' tallest choices; the grid scrolls within it.
    int height = PicBase->layout()->contentsMargins().top() + PicBase->layout()->contentsMargins().bottom();
    for (int r = 0; r < (oneRow ? 1 : 2); ++r) {
        int tallest = 0;
        for (std::size_t i = 0; i < blocks.size(); ++i)
            if ((i < firstRowCount) == (r == 0))
                tallest = std::max(tallest, blocks[i]->sizeHint().height());
        height += tallest + (r > 0 ? PicBase->layout()->spacing() : 0);
    }
    PicBase->setFixedHeight(height);
}

void frmChart::fitPanel()
{
    const int room = scroller_->viewport()->width();
    arrangePanel(room >= oneRowWidth_ - listWidth_ + personListWidth_);
    // In two rows the person list shares the first with the period and the plot (whose captions
    // the custom labels set).
    const QMargins margins = PicBase->layout()->contentsMargins();
    const int beside = margins.left() + margins.right() + FrameYrMnth->sizeHint().width() + Frame1->sizeHint().width() +
                       2 * panelRows_[0]->spacing();
    const int width = oneRow_ ? personListWidth_ : std::clamp(room - beside, listWidth_, personListWidth_);
    cmbPerson->setFixedWidth(width);
}

void frmChart::Form_Resize()
{
    // The details column takes what the grid's room for columns (the fixed first column
    // included) leaves after the first two, so the grid needs no sideways scrolling while those
    // two fit. A grid without room of its own yet (the report's window is never shown) keeps
    // its widths.
    if (vsFGChartRegimen->Cols() <= 2)
        return;
    const int rest = vsFGChartRegimen->viewport()->width() - vb::TwipsToPixelsX(vsFGChartRegimen->ColWidth(1), vsFGChartRegimen);
    if (rest <= 0)
        return;
    // Cut, not rounded, to twips: never a pixel more than the room.
    vsFGChartRegimen->setColWidth(2, static_cast<int>(vb::PixelsToTwipsX(rest, vsFGChartRegimen)));
    // Headers wrap: a details column too narrow for its header on one line gets a header row
    // of two lines, so the header stays whole rather than cut in half.
    const int oneLine = vsFGChartRegimen->horizontalHeader()->sizeHint().height();
    const bool wraps = vsFGChartRegimen->fontMetrics().horizontalAdvance(QStringLiteral("Regimen Details")) + 12 > rest;
    const int height = wraps ? oneLine + vsFGChartRegimen->fontMetrics().lineSpacing() : oneLine;
    vsFGChartRegimen->setRowHeight(0, static_cast<int>(vb::PixelsToTwipsY(height, vsFGChartRegimen)));
}

// ---------------------------------------------------------------------------------------------
// Person, category, period

qint32 frmChart::SelectedPersonKey() const
{
    const int index = cmbPerson->currentIndex();
    return index < 0 ? 0 : cmbPerson->itemData(index).toInt();
}

void frmChart::selectPerson(int index)
{
    {
        QSignalBlocker block(cmbPerson);
        cmbPerson->setCurrentIndex(index);
    }
    cmbPerson_Click();
}

void frmChart::cmbPerson_Click()
{
    if (cmbPerson->currentIndex() < 0)
        return;
    gPersonKey = SelectedPersonKey();

    clsDataService service;
    if (!service.GetLastMeasureDate().isValid()) {
        // The person was deleted, or lost the last reading, while the window was open.
        vb::MsgBox(QStringLiteral("The chosen person has no measurements to plot any more."), vb::vbExclamation, App::Title());
        return;
    }

    if (regimenPerson_ != gPersonKey) {
        datChartRegimen->setRecordset(service.GetPersonRegimens(gPersonKey));
        vsFGChartRegimen->Refresh();
        FormatRegimenGrid();
        regimenPerson_ = gPersonKey;
    }
    clsChart().ApplyPersonAppearance(*this);
    lstPlotType->setCurrentRow(0);
    clsMonthYearInterface().LoadYears(gPersonKey, *usrMonthYear1);
}

void frmChart::FormatRegimenGrid()
{
    vsFGChartRegimen->setFormatString(QStringLiteral("|Regimen Name|Regimen Details"));
    vsFGChartRegimen->setColWidth(0, 300);
    // Wide enough for its header in this font as well.
    const int header = static_cast<int>(vb::PixelsToTwipsX(
        vsFGChartRegimen->fontMetrics().horizontalAdvance(QStringLiteral("Regimen Name")) + 12, vsFGChartRegimen));
    vsFGChartRegimen->setColWidth(1, std::max(1400, header));
    vsFGChartRegimen->setEditable(0);
    Form_Resize();
}

void frmChart::lstPlotType_Click()
{
    const int category = lstPlotType->currentRow();
    if (usrMonthYear1->SelectedMonth() != 0)
        usrMonthYear1_PeriodChanged();
    const bool daily = category == PlotCategory::Daily;
    if (!daily)
        optTopLbl[0]->setChecked(true);
    for (int i = 1; i <= 3; ++i)
        optTopLbl[static_cast<std::size_t>(i)]->setEnabled(daily);
    const bool byMonth = category == PlotCategory::Daily || category == PlotCategory::DayAverage;
    FrameYrMnth->setTitle(byMonth ? QStringLiteral("3. Select Year and Month") : QStringLiteral("3. Select Year"));
    usrMonthYear1->setMonthChoiceEnabled(byMonth);
}

void frmChart::usrMonthYear1_PeriodChanged()
{
    const qint32 person = SelectedPersonKey();
    const int category = lstPlotType->currentRow();
    if (category >= 0 && category <= 3) {
        clsDataService service;
        const int month = usrMonthYear1->SelectedMonth();
        const int year = usrMonthYear1->SelectedYear();
        // Only the month or year the chart shows is loaded, not the whole history.
        const bool byMonth = category == PlotCategory::Daily || category == PlotCategory::DayAverage;
        const QDate first = byMonth ? QDate(year, month, 1) : QDate(year, 1, 1);
        auto rs = first.isValid()
                      ? service.GetMeasureData(person, category, QDateTime(first, QTime(0, 0), Qt::UTC),
                                               QDateTime(byMonth ? first.addMonths(1) : first.addYears(1), QTime(0, 0), Qt::UTC))
                      : service.GetMeasureData(person, category);
        clsChart chart;
        switch (category) {
        case PlotCategory::Daily: chart.LoadDailyPlot(month, year, *rs, *this); break;
        case PlotCategory::DayAverage: chart.LoadDayAveragePlot(month, year, *rs, *this); break;
        case PlotCategory::WeeklyAverage: chart.LoadWeeklyAveragePlot(month, year, *rs, *this); break;
        default: chart.LoadMonthlyAveragePlot(month, year, *rs, *this); break;
        }
        rs->Close();
    }

    int plot = -1;
    for (int i = 0; i < 7 && plot < 0; ++i)
        if (optFact[static_cast<std::size_t>(i)]->isChecked())
            plot = i;
    if (plot < 0)
        plot = clsDataService().GetActivePlotKey(gPersonKey);
    if (plot < 0 || plot > 6)
        plot = 0;
    if (optFact[static_cast<std::size_t>(plot)]->isChecked())
        optFact_Click(plot);
    else
        optFact[static_cast<std::size_t>(plot)]->setChecked(true);
}

void frmChart::usrMonthYear1_YearChanged()
{
    const int year = usrMonthYear1->SelectedYear();
    int month = 0;
    clsMonthYearInterface().LoadMonths(year, SelectedPersonKey(), 1, *usrMonthYear1, month);
    usrMonthYear1->SelectPeriod(year, month);
}

// ---------------------------------------------------------------------------------------------
// Plot and top-axis choice

QString frmChart::titleText(int plot) const
{
    static const char* const prefixes[] = {"Daily Plot ", "Day Average ", "Weekly Average ", "Monthly Average "};
    static const char* const middles[] = {"of Blood Pressure for ", "of Pulse for ", "of Weight for ", "of Temperature for "};
    const int category = lstPlotType->currentRow();
    QString prefix;
    QString period;
    if (category >= 0 && category <= 3) {
        prefix = QLatin1String(prefixes[category]);
        const QDate first(usrMonthYear1->SelectedYear(), std::max(1, usrMonthYear1->SelectedMonth()), 1);
        period = QLocale().toString(first,
                                    category <= PlotCategory::DayAverage ? QStringLiteral("MMMM, yyyy") : QStringLiteral("yyyy"));
    }
    const QString middle = plot >= 0 && plot <= 3 ? QLatin1String(middles[plot]) : QStringLiteral("for ");
    return prefix + middle + period;
}

void frmChart::optFact_Click(int Index)
{
    const bool multiple = Index == PlotKey::Multiple;
    cmdMultipleCharts->setEnabled(multiple);
    cmdCustomTypeColor->setEnabled(!multiple);
    clsChart().ApplyPlotSettings(*this, Index, SelectedPersonKey());
    clsTChartInterface().SetTitle(titleText(Index));
}

void frmChart::optTopLbl_Click(int Index)
{
    clsTChartInterface().ShowTopAxisSeries(Index + 1);
    TChart1->Axis(tchart::TopAxis).LabelsAngle = 90;
    TChart1->Axis(tchart::TopAxis).Visible = true;

    QRadioButton* last = optTopLbl[static_cast<std::size_t>(lastTopLabel_)];
    QFont plain = last->font();
    plain.setBold(false);
    last->setFont(plain);
    QRadioButton* chosen = optTopLbl[static_cast<std::size_t>(Index)];
    QFont bold = chosen->font();
    bold.setBold(true);
    chosen->setFont(bold);
    last->repaint();
    chosen->repaint();
    lastTopLabel_ = Index;
}

// ---------------------------------------------------------------------------------------------
// Settings dialogs and printing

void frmChart::cmdCustomTypeColor_Click()
{
    // A dialog that unloads itself is released: ask the guard, not the form, afterwards.
    QPointer<frmChartCustom> dialog = &vb::defaultInstance<frmChartCustom>();
    dialog->Show(vb::vbModal);
    // Gone from the screen means closed: its unload redraws the chart from what is stored.
    if (dialog && dialog->Loaded())
        dialog->Unload();
}

void frmChart::cmdChartLimits_Click()
{
    // A dialog that unloads itself is released: ask the guard, not the form, afterwards.
    QPointer<frmChartLimits> dialog = &vb::defaultInstance<frmChartLimits>();
    dialog->Show(vb::vbModal);
    // Closing stores and redraws nothing.
    if (dialog && dialog->Loaded())
        dialog->Unload();
}

void frmChart::cmdMultipleCharts_Click()
{
    // A dialog that unloads itself is released: ask the guard, not the form, afterwards.
    QPointer<frmChartMultiple> dialog = &vb::defaultInstance<frmChartMultiple>();
    dialog->Show(vb::vbModal);
    // Gone from the screen means closed: its unload redraws the chart from what is stored.
    if (dialog && dialog->Loaded())
        dialog->Unload();
}

void frmChart::cmdAppearance_Click()
{
    // A dialog that unloads itself is released: ask the guard, not the form, afterwards.
    QPointer<frmAppearance> dialog = &vb::defaultInstance<frmAppearance>();
    dialog->Show(vb::vbModal);
    // Gone from the screen means closed: its unload re-applies the stored appearance.
    if (dialog && dialog->Loaded())
        dialog->Unload();
}

void frmChart::PrintChart()
{
    // Drawn at twice the screen's detail and printed at its size on a 96 dpi screen (15 twips a
    // pixel), scaled down to the page width when wider.
    const QSize pixels = TChart1->size();
    const QImage picture = TChart1->RenderImage(pixels.width(), pixels.height(), 2.0);
    if (picture.isNull())
        throw services::PrintError(QStringLiteral("The picture of the chart could not be made."));
    services::PrinterService& printer = *services::Current().printer;
    const QSizeF twips(pixels.width() * 15.0, pixels.height() * 15.0);
    printer.PrintImage(picture, services::PrintedSizeTwips(twips, printer.PageSizeTwips().width()));
}
