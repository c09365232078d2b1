#include "reports/frmGrid.h"

#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/modFunctions.h"
#include "data/ui/Captions.h"
#include "data/ui/ErrorReport.h"
#include "data/ui/GridWidths.h"
#include "data/ui/modHealthUi.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/TextLength.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/NamedControls.h"
#include "platform/runtime/ui/Twips.h"
#include "platform/services/Dialogs.h"
#include "platform/services/Services.h"
#include "reports/clsWebReportGenerator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kExportTitle = QStringLiteral("Export measurement data");

constexpr vb::OLE_COLOR kRed = 0x9999FF;
constexpr vb::OLE_COLOR kYellow = 0x99FFFF;
constexpr vb::OLE_COLOR kGreen = 0x99FF99;

// Designed column widths in twips, by grid column.
constexpr int kColumnWidths[frmGrid::kColumns] = {300, 0,   0,   1000, 1000, 700,  700,  900,
                                                  800, 800, 800, 1070, 2000, 1200, 1200, 3000};
constexpr int kHeaderHeight = 500; // twips: room for two lines

QStringList categories()
{
    return {QStringLiteral("Daily"), QStringLiteral("Day Average"), QStringLiteral("Weekly Average"),
            QStringLiteral("Monthly Average")};
}

// A push button whose caption wraps within the button, as the export button's long caption
// was laid out to.
class WrappingButton : public QPushButton {
public:
    using QPushButton::QPushButton;

    QSize sizeHint() const override
    {
        const QFontMetrics fm(font());
        const int width = fm.horizontalAdvance(QStringLiteral("Export Data Shown")) + 24;
        const QRect text = fm.boundingRect(QRect(0, 0, width - 12, 1000), flags(), shownText());
        return {width, std::max(QPushButton::sizeHint().height(), text.height() + 12)};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        painter.drawItemText(rect().adjusted(6, 4, -6, -4), flags(), palette(), isEnabled(), shownText(), QPalette::ButtonText);
    }

private:
    static int flags() { return Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic; }
    // The blanks that placed the line break in the designed button are not needed here.
    QString shownText() const { return text().simplified(); }
};

// A settings text; Null reads as "".
QString settingText(const dao::RecordsetPtr& rs, const char* column)
{
    return vb::CStr(rs->Fields(QString::fromLatin1(column)).Value());
}

vb::OLE_COLOR bandColor(double value, double red, double yellow)
{
    if (value >= red)
        return kRed;
    if (value >= yellow)
        return kYellow;
    return kGreen;
}

// Whether a bound cell shows nothing: Null, or an empty text.
bool isEmptyValue(const dao::Recordset& rs, int record, int field)
{
    if (field < 0 || field >= rs.columnCount())
        return true;
    const QVariant& value = rs.valueAt(record, field);
    if (value.isNull() || !value.isValid())
        return true;
    return value.typeId() == QMetaType::QString && value.toString().isEmpty();
}

// Blanks trimmed from both ends (other white space stays, as the text has it).
QString trimBlanks(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString blanks(qsizetype count) { return count > 0 ? QString(count, u' ') : QString(); }

// A character on which some reader starts a new line, or, a tab, a new column.
bool breaksLine(QChar ch)
{
    switch (ch.unicode()) {
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x85:   // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default: return false;
    }
}

// A field of the text export on one line: every line or paragraph break (CR LF counting as
// one) and every tab becomes a blank, so a record stays one line and its columns in line.
QString oneLine(QString text)
{
    // Most fields hold no break and are passed on without a copy.
    if (std::none_of(text.cbegin(), text.cend(), breaksLine))
        return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    std::replace_if(text.begin(), text.end(), breaksLine, u' ');
    return text;
}

// The text cut to its first count characters or padded with blanks to them.
QString justified(const QString& text, qsizetype count)
{
    const QString cut = vb::fittingInsert(text, 0, 0, count);
    return cut + blanks(count - vb::characterCount(cut));
}

using errorreport::guarded;

} // namespace

frmGrid::frmGrid() : vb::Form(QStringLiteral("frmGrid"))
{
    setCaption(QStringLiteral("Browse Measurements"));
    setMDIChild(true);

    lblPerson = new QLabel(QStringLiteral("1. Select Person"), this);
    lblPerson->setObjectName(QStringLiteral("lblPerson"));
    cboPerson = new QComboBox(this);
    cboPerson->setObjectName(QStringLiteral("cboPerson"));
    cboPerson->setMinimumContentsLength(10); // as wide as the category list; the open list shows a name whole
    cboPerson->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lblPlotType = new QLabel(QStringLiteral("2. Select Category"), this);
    lblPlotType->setObjectName(QStringLiteral("lblPlotType"));
    lstPlotType = vb::makeList(this, "lstPlotType", categories());

    fraPeriod = new QGroupBox(QStringLiteral("3. Select Period"), this);
    fraPeriod->setObjectName(QStringLiteral("fraPeriod"));
    lstSelectPeriod = vb::makeList(fraPeriod, "lstSelectPeriod", PeriodName::all());
    auto* periodLayout = new QVBoxLayout(fraPeriod);
    periodLayout->addWidget(lstSelectPeriod);
    periodLayout->addStretch();

    fraShow = new QGroupBox(QStringLiteral("4. Show the Following"), this);
    fraShow->setObjectName(QStringLiteral("fraShow"));
    chkBP = vb::makeCheckBox(fraShow, QStringLiteral("chkBP"), QStringLiteral("Blood Pressure"));
    chkPLSE = vb::makeCheckBox(fraShow, QStringLiteral("chkPLSE"), QStringLiteral("Pulse"));
    chkWt = vb::makeCheckBox(fraShow, QStringLiteral("chkWt"), QStringLiteral("Weight"));
    chkTemp = vb::makeCheckBox(fraShow, QStringLiteral("chkTemp"), QStringLiteral("Custom1"));
    chkTemp1 = vb::makeCheckBox(fraShow, QStringLiteral("chkTemp1"), QStringLiteral("Custom2"));
    chkSugar = vb::makeCheckBox(fraShow, QStringLiteral("chkSugar"), QStringLiteral("Sugar"));
    chkRegimen = vb::makeCheckBox(fraShow, QStringLiteral("chkRegimen"), QStringLiteral("Regimen"));
    chkMood = vb::makeCheckBox(fraShow, QStringLiteral("chkMood"), QStringLiteral("Mood"));
    chkCmmnt = vb::makeCheckBox(fraShow, QStringLiteral("chkCmmnt"), QStringLiteral("Comment"));
    // The short captions in two columns; the custom labels, as long as the user makes them, each
    // on a line across both, so that they widen the frame once rather than a column beside another.
    auto* showLayout = new QGridLayout(fraShow);
    showLayout->setVerticalSpacing(2);
    const std::pair<QCheckBox*, QCheckBox*> pairs[] = {{chkBP, chkRegimen}, {chkPLSE, chkMood}, {chkWt, chkCmmnt}};
    int row = 0;
    for (const auto& [left, right] : pairs) {
        showLayout->addWidget(left, row, 0);
        showLayout->addWidget(right, row++, 1);
    }
    for (QCheckBox* box : {chkTemp, chkTemp1, chkSugar})
        showLayout->addWidget(box, row++, 0, 1, 2);
    showLayout->setRowStretch(row, 1);

    fraColor = new QGroupBox(QStringLiteral("5. Background Color for:"), this);
    fraColor->setObjectName(QStringLiteral("fraColor"));
    chkBPColor = vb::makeCheckBox(fraColor, QStringLiteral("chkBPColor"), QStringLiteral("Blood Pressure"));
    chkSugarColor = vb::makeCheckBox(fraColor, QStringLiteral("chkSugarColor"), QStringLiteral("Sugar"));
    auto* colorLayout = new QVBoxLayout(fraColor);
    colorLayout->addWidget(chkBPColor);
    colorLayout->addWidget(chkSugarColor);
    colorLayout->addStretch();

    cmdShow = new QPushButton(QStringLiteral("Show &Data"), this);
    cmdShow->setObjectName(QStringLiteral("cmdShow"));
    cmdExport = new WrappingButton(QStringLiteral("     &Export Data Shown                 on the Grid"), this);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));

    datShow = new DataControl(this);
    datShow->setOptions(0); // each show looks at every row, to hide those without values
    datShow->setObjectName(QStringLiteral("datShow"));
    datShow->setVisible(false);
    vsFGShow = new VSFlexGrid(this);
    vsFGShow->setObjectName(QStringLiteral("vsFGShow"));
    vsFGShow->setDataSource(datShow);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* selectors = new QVBoxLayout;
    selectors->addWidget(lblPerson);
    selectors->addWidget(cboPerson);
    selectors->addSpacing(6);
    selectors->addWidget(lblPlotType);
    selectors->addWidget(lstPlotType);
    selectors->addStretch();

    // The colours and the buttons share a column.
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(fraColor);
    buttons->addWidget(cmdShow);
    buttons->addWidget(cmdExport);
    buttons->addStretch();

    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    top->addLayout(selectors);
    top->addWidget(fraPeriod);
    top->addWidget(fraShow);
    top->addLayout(buttons);
    top->addStretch(1);

    // Below the room the choices and a few rows need, the form scrolls instead of pressing its
    // controls together (or making the main window's client area scroll).
    vsFGShow->setMinimumHeight(vsFGShow->fontMetrics().height() * 8);
    QVBoxLayout* layout = vb::makeScrollingBody(this, StatusBar1).layout;
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(top);
    layout->addWidget(datShow);
    layout->addWidget(vsFGShow, 1);

    cboPerson->installEventFilter(this);
    connect(cboPerson, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            guarded([this] { cboPerson_Click(); });
    });
    connect(lstPlotType, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            guarded([this] { lstPlotType_Click(); });
    });
    connect(cmdShow, &QPushButton::clicked, this, [this] { guarded([this] { cmdShow_Click(); }); });
    connect(cmdExport, &QPushButton::clicked, this, [this] { guarded([this] { cmdExport_Click(); }); });
    // Direct: the text and the flag are references into the grid's fill.
    connect(
        vsFGShow, &VSFlexGrid::FilterData, this,
        [this](int row, int col, QString& text, bool saving, bool& cancel) {
            vsFGShow_FilterData(row, col, text, saving, cancel);
        },
        Qt::DirectConnection);

    resize(vb::TwipsToPixelsX(12000, this), vb::TwipsToPixelsY(7500, this));
}

frmGrid::~frmGrid() = default;

std::array<QCheckBox*, 9> frmGrid::ColumnCheckBoxes() const
{
    return {chkBP, chkPLSE, chkWt, chkTemp, chkTemp1, chkSugar, chkRegimen, chkMood, chkCmmnt};
}

// ---------------------------------------------------------------------------------------------
// Loading, layout and closing

void frmGrid::Form_Load()
{
    lstSelectPeriod->setCurrentRow(1); // "Last 1 Month"
    // Choosing the person chooses "Daily".
    fillPersons();
    cmdShow_Click();
    chkTemp->setText(captions::plain(customLabels_[0]));
    chkTemp1->setText(captions::plain(customLabels_[1]));
}

void frmGrid::fillPersons()
{
    clsDataService data;
    auto rs = data.GetPersonsWithMeasures();
    int selected = modHealth::FillPersonList(cboPerson, *rs);
    rs->Close();
    if (selected < 0 && cboPerson->count() > 0)
        selected = 0; // its click makes it the current person
    if (selected >= 0)
        cboPerson->setCurrentIndex(selected);
}

void frmGrid::Form_Activate()
{
    try {
        if (vb::MDIForm* main = MdiParent()) {
            const QSize area = main->MdiArea()->viewport()->size();
            if (area.width() > 0 && area.height() > 0)
                Window()->setGeometry(0, 0, area.width(), area.height());
        }
    } catch (...) {
        // The form keeps its place.
    }
}

void frmGrid::Form_Resize()
{
    // The layout gives the grid the room below the selectors, above the status bar.
}

void frmGrid::Form_Unload(int& /*cancel*/)
{
    // The main window gives its "Browse Measurements" command back when it hears of the unload.
    try {
        modHealth::SaveGridColumnWidths(*vsFGShow);
    } catch (...) {
        // The stored widths stay as they were; the form closes all the same.
    }
}

bool frmGrid::eventFilter(QObject* watched, QEvent* event)
{
    // The person is chosen with the mouse only: keys other than Tab are dropped.
    if (watched == cboPerson && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key != Qt::Key_Tab && key != Qt::Key_Backtab;
    }
    return vb::Form::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Selections

void frmGrid::cboPerson_Click()
{
    const int index = cboPerson->currentIndex();
    if (index < 0)
        return;
    gPersonKey = vb::CLng(cboPerson->itemData(index));
    lstPlotType->setCurrentRow(0);
}

void frmGrid::lstPlotType_Click()
{
    const bool daily = lstPlotType->currentRow() == 0;
    chkRegimen->setEnabled(daily);
    chkMood->setEnabled(daily);
    chkCmmnt->setEnabled(daily);
}

// ---------------------------------------------------------------------------------------------
// Showing

QString frmGrid::RecordSource(int category, const QString& periodFilter)
{
    const QString key = QString::number(gPersonKey);
    if (category == 0) {
        return QStringLiteral(" SELECT  M.RGMN_KY, M.MD_KY, Format(MSRD_DT, \"mm/dd/yy\"), Format(MSRD_DT, \"hh:mm AM/PM\"), "
                              "M.HBP, M.LBP, M.PLSE, format(M.WT,'0.0'), ") +
               QStringLiteral(" format(M.TEMP,'0.0'),format(M.TEMP1,'0.0'), format(M.TEMP2,'0.0'), D.GL_NM,") +
               QStringLiteral(" R.RGMN_NM, MO.MD_NM, M.CMMNT") +
               QStringLiteral(" FROM (((PERSON AS P INNER JOIN MEASURE AS M ON P.PRSN_KY = M.PRSN_KY)") +
               QStringLiteral(" LEFT JOIN MOOD AS MO ON M.MD_KY = MO.MD_KY)") +
               QStringLiteral(" LEFT JOIN REGIMEN AS R ON M.RGMN_KY = R.RGMN_KY)") +
               QStringLiteral(" LEFT JOIN DBTS_GOAL AS D ON M.GL_KY = D.GL_KY") + QStringLiteral(" WHERE P.PRSN_KY = ") + key +
               periodFilter + QStringLiteral(" ORDER BY ") + QStringLiteral("msrd_dt");
    }
    QString column, table, gap;
    switch (category) {
    case 1:
        column = QStringLiteral("DT");
        table = QStringLiteral("AVERAGE_DAY");
        gap = QStringLiteral(" ");
        break;
    case 2:
        column = QStringLiteral("WEEK");
        table = QStringLiteral("AVERAGE_WEEK");
        gap = QStringLiteral("  ");
        break;
    default:
        column = QStringLiteral("MNTH");
        table = QStringLiteral("AVERAGE_MONTH");
        gap = QStringLiteral("  ");
        break;
    }
    return QStringLiteral(" SELECT  '', '', Format(") + column + QStringLiteral(", \"mm/dd/yy\"),") + gap +
           QStringLiteral("\"00:00 AM\", M.HBP, M.LBP, M.PLSE, format(M.WT,'0.0'), ") +
           QStringLiteral(" format(M.TEMP,'0.0'),format(M.TEMP1,'0.0'), format(M.TEMP2,'0.0'), '',") + QStringLiteral(" '', ''") +
           QStringLiteral(" FROM (PERSON AS P INNER JOIN ") + table + QStringLiteral(" AS M ON P.PRSN_KY = M.PRSN_KY)") +
           QStringLiteral(" WHERE P.PRSN_KY = ") + key + periodFilter + QStringLiteral(" ORDER BY ") + column;
}

void frmGrid::cmdShow_Click()
{
    QFont font = cmdShow->font();
    font.setBold(true);
    font.setPointSize(8);
    cmdShow->setFont(font);
    cmdShow->setText(QStringLiteral("Show &Data"));

    const int category = std::clamp(lstPlotType->currentRow(), 0, 3);
    const QString period = lstSelectPeriod->currentItem() ? lstSelectPeriod->currentItem()->text() : QString();
    static const char* const dateColumns[] = {"MSRD_DT", "DT", "WEEK", "MNTH"};
    clsDataService data;
    const QString filter = data.GetPeriodFilter(QLatin1String(dateColumns[category]), period);

    // The fill event colours rows by the choices of this show.
    bpColorShown_ = chkBPColor->isChecked();
    sugarColorShown_ = chkSugarColor->isChecked();
    sugarGoals_ = modFunctions::SugarGoalColors();

    datShow->setDatabase(gDB);
    datShow->setDatabaseName(gDB->Name());
    datShow->setRecordSource(RecordSource(category, filter));
    datShow->Refresh();
    setHeaders();

    const std::pair<QCheckBox*, std::vector<int>> groups[] = {
        {chkBP, {colHighBP, colLowBP}}, {chkPLSE, {colPulse}},  {chkWt, {colWeight}},
        {chkTemp, {colTemp}},           {chkTemp1, {colTemp1}}, {chkSugar, {colSugar, colGoal}},
        {chkRegimen, {colRegimen}},     {chkMood, {colMood}},   {chkCmmnt, {colComment}},
    };
    for (const auto& [box, columns] : groups) {
        for (const int col : columns)
            vsFGShow->setColHidden(col, !box->isChecked());
    }

    hideEmptyRows();

    if (category != 0) {
        for (const int col : {int(colTime), int(colGoal), int(colRegimen), int(colMood), int(colComment)})
            vsFGShow->setColHidden(col, true);
    }
    ShownPlotType = static_cast<qint16>(category);
    ShownPersonKey = gPersonKey;
}

void frmGrid::setHeaders()
{
    auto settings = gDB->OpenRecordset(QStringLiteral("select * from Application"), dao::dbOpenSnapshot);
    customLabels_[0] = settingText(settings, "TempLBL");
    customLabels_[1] = settingText(settings, "Temp1LBL");
    const QString unit1 = settingText(settings, "TempUnit");
    const QString unit2 = settingText(settings, "Temp1Unit");
    const QString sugarUnit = settingText(settings, "Temp2Unit");
    settings->Close();

    // The labels and units are the user's: set as texts, not as part of the format string.
    using captions::unitHeading;
    captions::setHeadings(*vsFGShow, {{},
                                      {QStringLiteral("rgmn_ky")},
                                      {QStringLiteral("md_ky")},
                                      {QStringLiteral("Date (mm/dd/yy)")},
                                      {QStringLiteral("Time")},
                                      {QStringLiteral("High BP")},
                                      {QStringLiteral("Low BP")},
                                      {QStringLiteral("Pulse (/min)")},
                                      {unitHeading(QStringLiteral("Weight"), gWeightUnitText)},
                                      {unitHeading(customLabels_[0], unit1)},
                                      {unitHeading(customLabels_[1], unit2)},
                                      {unitHeading(QStringLiteral("Sugar"), sugarUnit), true},
                                      {QStringLiteral("Sugar Goal Name"), true},
                                      {QStringLiteral("Regimen")},
                                      {QStringLiteral("Mood")},
                                      {QStringLiteral("Comment")}});
    for (int col = 0; col < kColumns && col < vsFGShow->Cols(); ++col)
        vsFGShow->setColWidth(col, kColumnWidths[col]);
    vsFGShow->setColHidden(colRegimenKey, true);
    vsFGShow->setColHidden(colMoodKey, true);
    // An average shown before hid the time; the readings show it again.
    vsFGShow->setColHidden(colDate, false);
    vsFGShow->setColHidden(colTime, false);
    vsFGShow->setColAlignment(colMoodKey, flexAlignRightCenter);
    vsFGShow->setColAlignment(colDate, flexAlignLeftCenter);
    vsFGShow->setColAlignment(colTime, flexAlignLeftCenter);
    vsFGShow->setColAlignment(colGoal, flexAlignLeftCenter);
    vsFGShow->setRowHeight(0, kHeaderHeight);
    fitColumns();
    modHealth::LoadGridColumnWidths(*vsFGShow);
    captions::fitHeadings(*vsFGShow, {colWeight, colTemp, colTemp1, colSugar});
}

// The designed widths were made for a smaller font: a header must fit on two lines broken at a
// blank (or else on one), a date or time on one line, or the column is widened (and the header
// row made taller) to fit.
void frmGrid::fitColumns()
{
    const QFontMetrics cell(vsFGShow->font());
    const int padding = captions::headingPadding(*vsFGShow);
    auto twips = [this](int pixels) { return qRound(vb::PixelsToTwipsX(pixels, vsFGShow)); };
    for (int col = colDate; col < vsFGShow->Cols(); ++col) {
        int needed = captions::headingWidthPixels(*vsFGShow, vsFGShow->TextMatrix(0, col));
        if (col == colDate)
            needed = std::max(needed, cell.horizontalAdvance(QStringLiteral("00/00/00")) + padding);
        else if (col == colTime)
            needed = std::max(needed, cell.horizontalAdvance(QStringLiteral("00:00 AM")) + padding);
        if (vsFGShow->ColWidth(col) < twips(needed))
            vsFGShow->setColWidth(col, twips(needed));
    }
}

// A row is hidden unless one ticked group has a value in it. Read from the records, which the
// cells show unchanged, so that hiding does not make every row's cells.
void frmGrid::hideEmptyRows()
{
    const dao::RecordsetPtr& rs = datShow->Recordset();
    if (!rs || !rs->isOpen())
        return;
    const bool daily = std::clamp(lstPlotType->currentRow(), 0, 3) == 0;
    // Groups by their grid columns; a group with two columns needs both. A sugar value counts
    // without a goal name, and the comment counts for the readings.
    std::vector<std::vector<int>> ticked;
    const std::pair<QCheckBox*, std::vector<int>> groups[] = {
        {chkBP, {colHighBP, colLowBP}}, {chkPLSE, {colPulse}},  {chkWt, {colWeight}},
        {chkTemp, {colTemp}},           {chkTemp1, {colTemp1}}, {chkSugar, {colSugar}},
        {chkRegimen, {colRegimen}},     {chkMood, {colMood}},   {chkCmmnt, {colComment}},
    };
    for (const auto& [box, columns] : groups) {
        if (box->isChecked() && (daily || box != chkCmmnt))
            ticked.push_back(columns);
    }
    const int fixed = vsFGShow->FixedRows();
    const int fields = rs->columnCount();
    for (int row = fixed; row < vsFGShow->Rows(); ++row) {
        const int record = row - fixed;
        // Every row of these sources carries its date and time.
        if (isEmptyValue(*rs, record, colDate - 1))
            continue;
        bool hasValue = false;
        for (const auto& columns : ticked) {
            hasValue = std::all_of(columns.begin(), columns.end(),
                                   [&](int col) { return col - 1 < fields && !isEmptyValue(*rs, record, col - 1); });
            if (hasValue)
                break;
        }
        vsFGShow->setRowHidden(row, !hasValue);
    }
}

void frmGrid::vsFGShow_FilterData(int Row, int Col, QString& Value, bool /*Saving*/, bool& Cancel)
{
    if (bpColorShown_ && !Value.isEmpty()) {
        if (Col == colHighBP)
            vsFGShow->setCell(flexcpBackColor, Row, Col, QVariant::fromValue(bandColor(vb::Val(Value), 140, 130)));
        else if (Col == colLowBP)
            vsFGShow->setCell(flexcpBackColor, Row, Col, QVariant::fromValue(bandColor(vb::Val(Value), 90, 85)));
    }
    if (sugarColorShown_ && Col == colGoal && !Value.isEmpty()) {
        const float sugar = static_cast<float>(vb::Val(vsFGShow->TextMatrix(Row, colSugar)));
        const auto color = QVariant::fromValue(vb::ColorCode(sugarGoals_.ColorOf(sugar, Value)));
        vsFGShow->setCell(flexcpBackColor, Row, colSugar, color);
        vsFGShow->setCell(flexcpBackColor, Row, colGoal, color);
    }
    Cancel = true;
}

// ---------------------------------------------------------------------------------------------
// Text export

QString frmGrid::SetExportColumnFormat(int index, const QString& header)
{
    struct Rule {
        const char* text;
        bool numeric;
        int width;
        int margin;
    };
    static constexpr Rule rules[] = {
        {"High BP", true, 10, 5}, {"Low BP", true, 10, 6},   {"Pulse", true, 12, 6}, {"Weight", true, 12, 5},
        {"Temp", true, 12, 5},    {"Regimen", false, 12, 0}, {"Mood", false, 12, 0},
    };
    if (index < 0)
        return QString();
    if (std::size_t(index) >= exportColumns_.size())
        exportColumns_.resize(std::size_t(index) + 1);
    ExportColumn& entry = exportColumns_[std::size_t(index)];
    QString cell;
    if (index == 0) {
        entry.numeric = false;
        entry.width = 15;
        entry.margin = 0;
        cell = header;
    } else {
        const Rule* match = nullptr;
        for (const Rule& rule : rules) {
            if (header.contains(QLatin1String(rule.text))) {
                match = &rule;
                break;
            }
        }
        if (!match)
            return QString();
        entry.numeric = match->numeric;
        entry.width = match->width;
        entry.margin = match->margin;
        // The blood-pressure headers keep their blanks.
        cell = match->width == 10 ? header : trimBlanks(header);
    }
    return cell + blanks(entry.width - cell.size());
}

QString frmGrid::ExportUnderline(int index, const QString& header)
{
    if (index == 0)
        return QStringLiteral("-------------  ");
    static const std::pair<const char*, const char*> lines[] = {
        {"High BP", "-------   "}, {"Low BP", "------    "},    {"Pulse", "----------- "}, {"Weight", "----------  "},
        {"Temp", "---------   "},  {"Regimen", "-------     "}, {"Mood", "----"},
    };
    for (const auto& [text, line] : lines) {
        if (header.contains(QLatin1String(text)))
            return QLatin1String(line);
    }
    return QString();
}

QString frmGrid::PadExportField(const QString& text, int index) const
{
    const ExportColumn& column = exportColumns_.at(std::size_t(index));
    const qsizetype length = vb::characterCount(text);
    if (column.numeric) {
        const qsizetype lead = column.width - length - column.margin;
        if (lead >= 0)
            return blanks(lead) + text + blanks(column.margin);
        return text + blanks(std::max<qsizetype>(1, column.width - length));
    }
    if (length <= column.width)
        return text + blanks(column.width - length);
    return text + u' ';
}

void frmGrid::BuildExportColumns(QString& headerLine, QString& underlineLine)
{
    exportColumns_.clear();
    headerLine.clear();
    underlineLine.clear();
    std::vector<int> shown;
    for (int col = colDate; col < vsFGShow->Cols(); ++col) {
        if (!vsFGShow->ColHidden(col))
            shown.push_back(col);
    }
    for (int index = 0; index < int(shown.size()); ++index) {
        const int col = shown[std::size_t(index)];
        const QString header = oneLine(vsFGShow->TextMatrix(0, col));
        exportColumns_.resize(std::size_t(index) + 1);
        QString cell = SetExportColumnFormat(index, header);
        QString line = ExportUnderline(index, header);
        if (cell.isEmpty()) {
            // A column the table has no row for (time, a custom measurement, sugar, goal name,
            // comment) is written all the same: measurements as numbers, the rest as text.
            const QString text = trimBlanks(header);
            ExportColumn& entry = exportColumns_.back();
            entry.numeric = col == colTemp || col == colTemp1 || col == colSugar;
            entry.width = std::max<int>(12, int(text.size()) + (entry.numeric ? 1 : 2));
            // The goal name column is as wide as the longest goal name (up to 25 characters) and
            // a blank, so the columns after it stay in line.
            if (col == colGoal && index + 1 < int(shown.size()))
                entry.width = std::max(entry.width, longestGoalName() + 1);
            entry.margin = entry.numeric ? 5 : 0;
            cell = text + blanks(entry.width - text.size());
            line = QString(text.size(), u'-');
        }
        ExportColumn& entry = exportColumns_.back();
        entry.gridCol = col;
        // A heading longer than its column (a long custom label and unit) widens the column by
        // what it needs and a blank, so the values stay under it.
        if (index + 1 < int(shown.size()) && cell.size() > entry.width) {
            entry.width = int(cell.size()) + 1;
            cell += u' ';
        }
        // The underline keeps to its column, so the columns after it stay in line.
        if (index + 1 < int(shown.size()))
            line += blanks(entry.width - line.size());
        headerLine += cell;
        underlineLine += line;
    }
}

int frmGrid::longestGoalName()
{
    auto rs = gDB->OpenRecordset(QStringLiteral("select GL_NM from DBTS_GOAL"), dao::dbOpenSnapshot);
    qsizetype longest = 0;
    for (; !rs->Eof(); rs->MoveNext())
        longest = std::max(longest, trimBlanks(vb::CStr(rs->Fields(0).Value())).size());
    rs->Close();
    return int(longest);
}

QByteArray frmGrid::ExportText()
{
    QString out;
    auto writeLine = [&out](const QString& line) { out += line + kCrLf; };
    writeLine(QString());

    if (ShownPlotType == 0) {
        clsDataService data;
        // The regimens of the person whose readings follow, even when another one is chosen.
        auto regimens = data.GetPersonRegimens(ShownPersonKey);
        int count = 0;
        if (!regimens->Eof()) {
            regimens->MoveLast();
            count = regimens->RecordCount();
            regimens->MoveFirst();
        }
        writeLine(QString());
        if (count > 0) {
            writeLine(QStringLiteral("Number of Regimen used: ") + QString::number(count));
            for (; !regimens->Eof(); regimens->MoveNext()) {
                const QString name = oneLine(vb::CStr(regimens->Fields(QStringLiteral("rgmn_nm")).Value()));
                writeLine(QStringLiteral("  ") + justified(name, 10) + QStringLiteral(": ") +
                          oneLine(vb::CStr(regimens->Fields(QStringLiteral("rgmn_dtl")).Value())));
            }
        } else {
            writeLine(QStringLiteral("Regimen used: 0"));
        }
        regimens->Close();
    }

    QString headerLine, underlineLine;
    BuildExportColumns(headerLine, underlineLine);
    writeLine(QString());
    writeLine(headerLine);
    writeLine(underlineLine);

    // Every record, also those the grid hides.
    if (const dao::RecordsetPtr& rs = datShow->Recordset(); rs && rs->isOpen()) {
        const int fields = rs->columnCount();
        QString line;
        for (int record = 0; record < rs->RecordCount(); ++record) {
            line.clear();
            for (int index = 0; index < int(exportColumns_.size()); ++index) {
                const int field = exportColumns_[std::size_t(index)].gridCol - 1;
                const QString text = field < fields ? trimBlanks(oneLine(vb::CStr(rs->valueAt(record, field)))) : QString();
                line += PadExportField(text, index);
            }
            writeLine(line);
        }
    }
    return toPlainTextFile(out);
}

void frmGrid::cmdExport_Click()
{
    if (datShow->DatabaseName().isEmpty()) {
        vb::MsgBox(QStringLiteral("There is no data in the grid to be exported."), vb::vbExclamation);
        return;
    }
    const QString folder = App::Path() + QStringLiteral("/User");
    QDir().mkpath(folder); // without it the dialog starts elsewhere

    services::FileDialogRequest request;
    request.initialFolder = folder;
    request.defaultExtension = QStringLiteral(".txt");
    request.filter = QStringLiteral("Text Files (*.txt)|*.txt");
    request.overwritePrompt = true;
    const std::optional<QString> chosen = services::Current().fileDialogs->SaveFile(request);
    if (!chosen || chosen->isEmpty())
        return; // cancelled

    const QString path = *chosen;
    const QByteArray text = ExportText();
    // Written beside the target and renamed over it: a failed export leaves no half-written
    // file, and an existing file as it was.
    QSaveFile file(path);
    QString failure;
    if (!file.open(QIODevice::WriteOnly))
        failure = file.errorString();
    else if (file.write(text) != text.size() || !file.commit())
        failure = file.errorString();
    if (!failure.isEmpty()) {
        file.cancelWriting();
        vb::MsgBox(QStringLiteral("The data could not be exported to the file:") + kCrLf + QDir::toNativeSeparators(path) +
                       kCrLf + failure,
                   vb::vbExclamation, kExportTitle);
        return;
    }
    vb::MsgBox(QStringLiteral(" is successfully exported as file:") + kCrLf + QDir::toNativeSeparators(path), vb::vbInformation,
               kExportTitle);
}
