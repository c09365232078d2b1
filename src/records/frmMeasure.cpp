#include "records/frmMeasure.h"
#include "records/RecordFormSupport.h"

#include "data/ui/Captions.h"
#include "data/ui/ErrorReport.h"
#include "data/ui/GridWidths.h"

#include "data/Globals.h"
#include "data/MeasurementStore.h"
#include "data/clsAverage.h"
#include "data/clsDataService.h"
#include "data/modFunctions.h"
#include "data/modHealth.h"
#include "data/ui/modHealthUi.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/PictureClip.h"
#include "platform/controls/UpDown.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/controls/ctDate.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/StorableDates.h"
#include "platform/runtime/TextLength.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/FlowLayout.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/TextLimits.h"
#include "platform/runtime/ui/Twips.h"
#include "records/frmDSetGoal.h"
#include "records/frmOptionTime.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kBrowse = QStringLiteral("browse");
const QString kAddNew = QStringLiteral("addnew");
const QString kEdit = QStringLiteral("edit");
const QString kRefresh = QStringLiteral("refresh");

constexpr vb::OLE_COLOR kGrey = vb::vbButtonFace;
constexpr vb::OLE_COLOR kWhite = vb::vbWindowBackground;

// The grid's columns: the row header, then the fields of the record source.
constexpr std::array<int, 16> kColumnWidths = {300, 0, 0, 0, 1900, 700, 750, 950, 800, 800, 800, 1070, 2000, 1200, 1200, 3000};
// Fields of the record source that ShowRecord reads.
enum Field : int {
    fRegimen = 0,
    fMood = 1,
    fGoal = 2,
    fDate = 3,
    fHigh = 4,
    fLow = 5,
    fPulse = 6,
    fWeight = 7,
    fTemp = 8,
    fTemp1 = 9,
    fSugar = 10,
    fComment = 14,
};

// Limits of the number boxes: three-digit whole numbers, five-character decimals.
constexpr double kMaxWhole = 999;
constexpr double kMaxDecimal = 99999;
// The widest decimal a box shows: the largest value with the one decimal of the list.
const QString kLargestDecimal = QStringLiteral("99999.0");
// The comment column's width.
constexpr int kCommentLength = 100;

bool isTabKey(const QKeyEvent* event) { return event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab; }

// A plain decimal number text: digits with at most one ".".
bool isNumberText(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    return number.match(text).hasMatch();
}

bool isWholeNumberText(const QString& text)
{
    static const QRegularExpression whole(QStringLiteral("^\\d+$"));
    return whole.match(text).hasMatch();
}

// Fixes the text colours of a widget at the application's, so that a frame's caption colour
// does not run into the boxes and labels inside it (disabled text stays grey).
void pinTextColours(QWidget* widget)
{
    const QPalette app = QApplication::palette();
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, app.color(group, role));
    widget->setPalette(palette);
    QFont font = widget->font();
    font.setBold(false);
    widget->setFont(font);
}

// A measurement's date-time as a Jet literal, seconds included, so that it matches the stored
// value exactly.
QString keyLiteral(const QDateTime& key)
{
    return modFunctions::SqlDateTime(QVariant(key), key.time().toString(QStringLiteral("h:mm:ss AP")));
}

QString settingsText(const dao::RecordsetPtr& rs, const char* column)
{
    return rs->Eof() ? QString() : vb::CStr(rs->Fields(QString::fromLatin1(column)).Value());
}

// A field caption, which turns bold while entering: it always takes the room of its bold text,
// whatever caption it is given later, so the change of look moves nothing.
class CaptionLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize sizeHint() const override { return QLabel::sizeHint().expandedTo(boldSize()); }
    QSize minimumSizeHint() const override { return QLabel::minimumSizeHint().expandedTo(boldSize()); }

private:
    QSize boldSize() const
    {
        QFont bold = font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        const QSize text =
            metrics.boundingRect(QRect(0, 0, 4000, 4000), Qt::AlignLeft | Qt::TextShowMnemonic, this->text()).size();
        const QMargins margins = contentsMargins();
        return QSize(std::max(text.width(), metrics.horizontalAdvance(this->text())) + 2 * margin() + margins.left() +
                         margins.right(),
                     text.height() + 2 * margin() + margins.top() + margins.bottom());
    }
};

// A frame whose caption turns bold while entering: it is never narrower than its bold caption.
class CaptionFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;
    QSize minimumSizeHint() const override
    {
        QFont bold = font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        const QSize caption(metrics.horizontalAdvance(title()) + metrics.horizontalAdvance(QLatin1Char(' ')), metrics.height());
        return QGroupBox::minimumSizeHint().expandedTo(style()->sizeFromContents(QStyle::CT_GroupBox, &option, caption, this));
    }
    QSize sizeHint() const override { return QGroupBox::sizeHint().expandedTo(minimumSizeHint()); }
};

QLabel* makeCaption(QWidget* parent, const QString& name, const QString& caption)
{
    auto* label = new CaptionLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

// The width a text box needs to show the sample text whole in its own font and style.
int boxWidthFor(const QLineEdit* box, const QString& sample)
{
    const QFontMetrics metrics = box->fontMetrics();
    const QMargins text = box->textMargins();
    const QMargins contents = box->contentsMargins();
    // The box keeps 2 pixels each side of its text, and one for the cursor.
    const int width =
        metrics.horizontalAdvance(sample) + 2 * 2 + 1 + text.left() + text.right() + contents.left() + contents.right();
    const int height = std::max(metrics.height(), 14) + 2 + text.top() + text.bottom() + contents.top() + contents.bottom();
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = QRect(QPoint(0, 0), QSize(width, height));
    option.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    return box->style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), box).width();
}

QLineEdit* makeBox(QWidget* parent, const QString& name, int maxLength, const QString& sample)
{
    // The limit holds typing and pasting: text set from code is shown whole, and a text already
    // longer may still be shortened.
    auto* box = new vb::LimitedLineEdit(maxLength, parent);
    box->setObjectName(name);
    if (!sample.isEmpty())
        box->setFixedWidth(boxWidthFor(box, sample));
    return box;
}

// A small button sized to its caption (the style's wide minimum of text buttons is for dialogs).
void fitButtonToCaption(QPushButton* button)
{
    const QFontMetrics metrics = button->fontMetrics();
    const QStyle* style = button->style();
    const int width = metrics.horizontalAdvance(button->text().remove(QLatin1Char('&'))) + 2 * metrics.averageCharWidth() +
                      style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                      2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    button->setFixedWidth(std::max(width, button->sizeHint().height()));
}

// A list as wide as its longest entry where there is room, and never narrower than the sample
// text (or the given number of average characters) with the list's arrow and frame.
QComboBox* makeCombo(QWidget* parent, const QString& name, int minChars, const QString& sample = QString())
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const QFontMetrics metrics = combo->fontMetrics();
    const int text = std::max(minChars * metrics.averageCharWidth(), metrics.horizontalAdvance(sample));
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = false;
    combo->setMinimumWidth(
        combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(text, metrics.height()), combo).width());
    return combo;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Building the form

frmMeasure::frmMeasure() : vb::Form(QStringLiteral("frmMeasure"))
{
    setCaption(QStringLiteral("Measurement Entry"));
    setMDIChild(true);
    buildControls();
    resize(vb::TwipsToPixelsX(16500, this), vb::TwipsToPixelsY(10500, this));
}

frmMeasure::~frmMeasure() = default;

void frmMeasure::buildControls()
{
    PicClipDt = new PictureClip(this);
    PicClipDt->setObjectName(QStringLiteral("PicClipDt"));
    PicClipDt->setPicture(PictureClip::calendarButtonPicture(20));
    PicClipDt->setCols(3);

    QWidget* entry = buildEntryFrame();

    cmdAddNew = new QPushButton(QStringLiteral("&Add New"), this);
    cmdEdit = new QPushButton(QStringLiteral("&Edit"), this);
    cmdDelete = new QPushButton(QStringLiteral("&Delete"), this);
    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    // The mode buttons share their row with the record counter, which only browsing shows.
    auto* commands = new QHBoxLayout;
    commands->setSpacing(4);
    for (auto [button, name] : {std::pair{cmdAddNew, "cmdAddNew"},
                                {cmdEdit, "cmdEdit"},
                                {cmdDelete, "cmdDelete"},
                                {cmdSave, "cmdSave"},
                                {cmdCancel, "cmdCancel"}}) {
        button->setObjectName(QString::fromLatin1(name));
        commands->addWidget(button);
    }
    // One width for the five, that of the longest caption, so the counter keeps its room.
    int buttonWidth = 0;
    for (QPushButton* button : {cmdAddNew, cmdEdit, cmdDelete, cmdSave, cmdCancel}) {
        fitButtonToCaption(button);
        buttonWidth = std::max(buttonWidth, button->width());
    }
    for (QPushButton* button : {cmdAddNew, cmdEdit, cmdDelete, cmdSave, cmdCancel})
        button->setFixedWidth(buttonWidth);
    commands->addSpacing(8);
    connect(cmdAddNew, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdAddNew_Click(); }); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdEdit_Click(); }); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdDelete_Click(); }); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdSave_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdCancel_Click(); }); });

    // The picture sits in the free space right of the entry frame; it is placed by hand there
    // (centred, a little above the middle) and takes no room from the frame.
    picArea_ = new QWidget(this);
    picArea_->setObjectName(QStringLiteral("picArea"));
    picArea_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    picArea_->setMinimumSize(0, 0);
    picArea_->installEventFilter(this);
    picPhotosFrame = new QFrame(picArea_);
    picPhotosFrame->setObjectName(QStringLiteral("picPhotosFrame"));
    picPhotosFrame->setFrameShape(QFrame::Box);
    picPhotosFrame->setAutoFillBackground(true);
    vb::SetBackColor(picPhotosFrame, 0x808080);
    picPhotos = new QLabel(picArea_);
    picPhotos->setObjectName(QStringLiteral("picPhotos"));
    picPhotos->setCursor(Qt::PointingHandCursor);
    picPhotos->installEventFilter(this);
    picPhotosFrame->hide();
    picPhotos->hide();

    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(entry, 0);
    top->addWidget(picArea_, 1);

    datInfo = new DataControl(this);
    datInfo->setObjectName(QStringLiteral("datInfo"));
    datInfo->setCaption(QStringLiteral("Measurement: "));
    connect(datInfo, &DataControl::Reposition, this, [this] { errorreport::guarded([this] { datInfo_Reposition(); }); });

    vsFGInfo = new VSFlexGrid(this);
    vsFGInfo->setObjectName(QStringLiteral("vsFGInfo"));
    vsFGInfo->setDataSource(datInfo);
    // The date column shows the date in the user's pattern with the time on the 12-hour clock.
    connect(
        vsFGInfo, &VSFlexGrid::FilterData, this,
        [this](int row, int col, QString& text, bool, bool&) {
            const auto& rs = datInfo->Recordset();
            const int record = row - vsFGInfo->FixedRows();
            if (col == fDate + vsFGInfo->FixedCols() && rs && record >= 0 && record < rs->RecordCount()) {
                const QVariant when = rs->valueAt(record, fDate);
                if (!vb::IsNull(when))
                    text = dateTimeText(when.toDateTime());
            }
        },
        Qt::DirectConnection);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    statusText_ = new QLabel(StatusBar1);
    statusText_->setObjectName(QStringLiteral("StatusBar1Text"));
    // A long hint takes a second line rather than widening the form.
    statusText_->setWordWrap(true);
    statusText_->setContentsMargins(2, 0, 2, 0);
    StatusBar1->addWidget(statusText_, 1);

    commands->addWidget(datInfo, 1);
    // A row of the commands keeps its height while the counter is hidden.
    datInfo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QSizePolicy keepRoom = datInfo->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    datInfo->setSizePolicy(keepRoom);

    // The entry frame and the commands take the height they need; the grid takes the rest.
    // Below the room they need, the form scrolls rather than pressing its fields together.
    QVBoxLayout* body = vb::makeScrollingBody(this, StatusBar1).layout;
    body->setContentsMargins(4, 4, 4, 4);
    body->setSpacing(4);
    body->addLayout(top, 0);
    body->addLayout(commands, 0);
    body->addWidget(vsFGInfo, 1);
    // The grid shows a few rows at least before the form scrolls.
    vsFGInfo->setMinimumHeight(vb::TwipsToPixelsY(2000, this));
}

void frmMeasure::makeCalendar()
{
    // The calendar opens over the form below its button. Made when first opened: building it
    // took a tenth of the form's making at start.
    ctDt = new ctDate(this);
    ctDt->setObjectName(QStringLiteral("ctDt"));
    ctDt->hide();
    connect(ctDt, &ctDate::DateSelected, this,
            [this](int day, int month, int year) { errorreport::guarded([&] { ctDt_DateSelected(day, month, year); }); });
}

QWidget* frmMeasure::buildEntryFrame()
{
    Frame1 = new CaptionFrame(QStringLiteral("Browse Health Measurement:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    // As tall as its values take at the width it has: they may stand on two lines.
    Frame1->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);

    static const char* const captions[13] = {
        "Select Person:", "Measured Date:", "Mood:",  "Regimen:", "low:",   "high:",         "Pulse:",
        "Weight:",        "Temperature:",   "Sugar:", "Comment:", "Sugar:", "Measured Time:"};
    for (int i = 0; i < 13; ++i)
        lbl1[std::size_t(i)] = makeCaption(Frame1, QStringLiteral("lbl1_%1").arg(i), QString::fromLatin1(captions[i]));

    QGridLayout* rows = buildPersonDateTimeRows();
    // The groups of values continue on a second line when long custom labels and units leave
    // them no room across.
    auto* values = new vb::FlowLayout(4);
    values->addWidget(buildPressureFrame());
    auto* pulseWeight = new QWidget(Frame1);
    pulseWeight->setLayout(buildPulseWeightRows());
    values->addWidget(pulseWeight);
    values->addWidget(buildCustomFrame());
    values->addWidget(buildDiabetesFrame());

    auto* frame = new QVBoxLayout(Frame1);
    frame->setContentsMargins(6, 4, 6, 6);
    frame->setSpacing(6);
    frame->addLayout(rows);
    frame->addLayout(values);
    frame->addLayout(buildCommentRow());

    // The frames' caption look must not run into what they hold.
    for (QWidget* child : Frame1->findChildren<QWidget*>()) {
        if (!qobject_cast<QGroupBox*>(child))
            pinTextColours(child);
    }
    connectEntryFrame();
    return Frame1;
}

// Two rows: the person with the lists of mood and regimen, then the date and time.
QGridLayout* frmMeasure::buildPersonDateTimeRows()
{
    cboPerson = makeCombo(Frame1, QStringLiteral("cboPerson"), 12);
    // The date box is as wide as the longest date of the user's pattern.
    txtDate = makeBox(Frame1, QStringLiteral("txtDate"), 20, QString());
    txtDate->setFixedWidth(std::max(boxWidthFor(txtDate, QDate(2000, 12, 28).toString(shortDatePattern())),
                                    boxWidthFor(txtDate, QStringLiteral("00/00/0000"))));
    // The date comes from the calendar only; the box shows it.
    txtDate->setReadOnly(true);
    cmdDt = new PictureButton(Frame1);
    cmdDt->setObjectName(QStringLiteral("cmdDt"));
    cmdDt->setToolTip(QStringLiteral("Calendar Button"));
    txtHr = makeBox(Frame1, QStringLiteral("txtHr"), 2, QStringLiteral("00"));
    txtHr->setText(QStringLiteral("12"));
    lblColon = recordform::makeLabel(Frame1, "lblColon", QStringLiteral(":"));
    txtMin = makeBox(Frame1, QStringLiteral("txtMin"), 2, QStringLiteral("00"));
    txtMin->setText(QStringLiteral("00"));
    // Room for the wider of the two halves of the day.
    txtAMPM = makeBox(Frame1, QStringLiteral("txtAMPM"), 2, QString());
    txtAMPM->setFixedWidth(std::max(boxWidthFor(txtAMPM, QStringLiteral("AM")), boxWidthFor(txtAMPM, QStringLiteral("PM"))));
    txtAMPM->setText(QStringLiteral("AM"));
    UpDownTime = new UpDown(Frame1);
    UpDownTime->setObjectName(QStringLiteral("UpDownTime"));
    // As tall as the time boxes it steps, as wide as a scroll bar.
    UpDownTime->setFixedSize(std::max(12, UpDownTime->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, UpDownTime) + 2),
                             txtHr->sizeHint().height());
    cmdOptionTime = new QPushButton(QStringLiteral("..."), Frame1);
    cmdOptionTime->setObjectName(QStringLiteral("cmdOptionTime"));
    cmdOptionTime->setToolTip(QStringLiteral("Setting of Time optiions"));
    fitButtonToCaption(cmdOptionTime);
    cboMood = makeCombo(Frame1, QStringLiteral("cboMood"), 10);
    cboRegimen = makeCombo(Frame1, QStringLiteral("cboRegimen"), 10);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(lbl1[0], 0, 0);
    grid->addWidget(cboPerson, 0, 1);
    grid->addWidget(lbl1[2], 0, 2);
    grid->addWidget(cboMood, 0, 3);
    grid->addWidget(lbl1[3], 0, 4);
    grid->addWidget(cboRegimen, 0, 5);
    grid->addWidget(lbl1[1], 1, 0);
    auto* date = new QHBoxLayout;
    date->setSpacing(2);
    date->addWidget(txtDate);
    date->addWidget(cmdDt);
    date->addStretch(1);
    grid->addLayout(date, 1, 1);
    // The time follows the date on its own, so its long caption does not widen the mood column.
    auto* time = new QHBoxLayout;
    time->setSpacing(2);
    time->addWidget(lbl1[12]);
    time->addSpacing(4);
    time->addWidget(txtHr);
    time->addWidget(lblColon);
    time->addWidget(txtMin);
    time->addSpacing(2);
    time->addWidget(txtAMPM);
    time->addWidget(UpDownTime);
    time->addSpacing(4);
    time->addWidget(cmdOptionTime);
    time->addStretch(1);
    grid->addLayout(time, 1, 2, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    return grid;
}

namespace {
// Narrow frame borders keep the row of values within the main window's width.
void setInnerSpacing(QGridLayout* inner)
{
    inner->setContentsMargins(4, 2, 4, 4);
    inner->setHorizontalSpacing(6);
    inner->setVerticalSpacing(4);
}
} // namespace

QGroupBox* frmMeasure::buildPressureFrame()
{
    Frame2 = new CaptionFrame(QStringLiteral("Blood Pressure"), Frame1);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    txtHBP = makeBox(Frame2, QStringLiteral("txtHBP"), 3, QStringLiteral("999"));
    txtLBP = makeBox(Frame2, QStringLiteral("txtLBP"), 3, QStringLiteral("999"));
    lbl1[5]->setParent(Frame2);
    lbl1[4]->setParent(Frame2);
    auto* bp = new QGridLayout(Frame2);
    bp->addWidget(lbl1[5], 0, 0);
    bp->addWidget(txtHBP, 0, 1);
    bp->addWidget(lbl1[4], 1, 0);
    bp->addWidget(txtLBP, 1, 1);
    bp->setColumnStretch(2, 1);
    setInnerSpacing(bp);
    return Frame2;
}

// Pulse and weight have no frame: they line up with the rows inside the frames.
QGridLayout* frmMeasure::buildPulseWeightRows()
{
    auto* general = new QGridLayout;
    txtPlse = makeBox(Frame1, QStringLiteral("txtPlse"), 3, QStringLiteral("999"));
    lblUnitPulse = recordform::makeLabel(Frame1, "lblUnitPulse", QStringLiteral("/min"));
    txtWt = makeBox(Frame1, QStringLiteral("txtWt"), 5, kLargestDecimal);
    lblUnitWt = recordform::makeLabel(Frame1, "lblUnitWt", QStringLiteral("lb"));
    general->addWidget(lbl1[6], 0, 0);
    general->addWidget(txtPlse, 0, 1);
    general->addWidget(lblUnitPulse, 0, 2);
    general->addWidget(lbl1[7], 1, 0);
    general->addWidget(txtWt, 1, 1);
    general->addWidget(lblUnitWt, 1, 2);
    general->setHorizontalSpacing(4);
    general->setVerticalSpacing(4);
    general->setContentsMargins(0, Frame2->contentsMargins().top() + 2, 0, Frame2->contentsMargins().bottom() + 4);
    return general;
}

namespace {
const char* const kUnitCaptions[3] = {"F", "F", "mg/dl"};

QLineEdit* makeValueBox(QGroupBox* frame, int i)
{
    return makeBox(frame, QStringLiteral("txtTemp_%1").arg(i), 5, kLargestDecimal);
}

QLabel* makeUnitLabel(QGroupBox* frame, int i)
{
    const QByteArray name = "lblUnitTemp_" + QByteArray::number(i);
    return recordform::makeLabel(frame, name.constData(), QString::fromLatin1(kUnitCaptions[i]));
}
} // namespace

QGroupBox* frmMeasure::buildCustomFrame()
{
    Frame3 = new CaptionFrame(QStringLiteral("Custom"), Frame1);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    for (int i = 0; i < 2; ++i) {
        txtTemp[std::size_t(i)] = makeValueBox(Frame3, i);
        lblUnitTemp[std::size_t(i)] = makeUnitLabel(Frame3, i);
    }
    lbl1[8]->setParent(Frame3);
    lbl1[9]->setParent(Frame3);
    auto* custom = new QGridLayout(Frame3);
    custom->addWidget(lbl1[8], 0, 0);
    custom->addWidget(txtTemp[0], 0, 1);
    custom->addWidget(lblUnitTemp[0], 0, 2);
    custom->addWidget(lbl1[9], 1, 0);
    custom->addWidget(txtTemp[1], 1, 1);
    custom->addWidget(lblUnitTemp[1], 1, 2);
    setInnerSpacing(custom);
    return Frame3;
}

QGroupBox* frmMeasure::buildDiabetesFrame()
{
    Frame4 = new CaptionFrame(QStringLiteral("Diabetes"), Frame1);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    txtTemp[2] = makeValueBox(Frame4, 2);
    lblUnitTemp[2] = makeUnitLabel(Frame4, 2);
    lbl1[11]->setParent(Frame4);
    CboDbtsGl = makeCombo(Frame4, QStringLiteral("CboDbtsGl"), 0, QStringLiteral("Goal Name"));
    CboDbtsGl->setPlaceholderText(QStringLiteral("Goal Name"));
    cmdSetGoal = new QPushButton(QStringLiteral("Goals..."), Frame4);
    cmdSetGoal->setObjectName(QStringLiteral("cmdSetGoal"));
    cmdSetGoal->setToolTip(QStringLiteral("Blood Sugar Goal Setting"));
    fitButtonToCaption(cmdSetGoal);
    auto* sugar = new QGridLayout(Frame4);
    sugar->addWidget(lbl1[11], 0, 0);
    auto* sugarValue = new QHBoxLayout;
    sugarValue->setSpacing(6);
    sugarValue->addWidget(txtTemp[2]);
    sugarValue->addWidget(lblUnitTemp[2]);
    // Room for the longer of the two sugar units.
    lblUnitTemp[2]->setMinimumWidth(lblUnitTemp[2]->fontMetrics().horizontalAdvance(QStringLiteral("mmol/l")));
    sugarValue->addStretch(1);
    sugar->addLayout(sugarValue, 0, 1);
    auto* goal = new QHBoxLayout;
    goal->setSpacing(4);
    goal->addWidget(CboDbtsGl, 1);
    goal->addWidget(cmdSetGoal);
    sugar->addLayout(goal, 1, 0, 1, 2);
    setInnerSpacing(sugar);
    return Frame4;
}

QHBoxLayout* frmMeasure::buildCommentRow()
{
    txtCmmnt = makeBox(Frame1, QStringLiteral("txtCmmnt"), kCommentLength, QString());
    auto* comment = new QHBoxLayout;
    comment->setSpacing(6);
    comment->addWidget(lbl1[10]);
    comment->addWidget(txtCmmnt, 1);
    return comment;
}

void frmMeasure::connectEntryFrame()
{
    connect(cmdDt, &QToolButton::clicked, this, [this] { errorreport::guarded([this] { cmdDt_Click(); }); });
    connect(cmdOptionTime, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdOptionTime_Click(); }); });
    connect(cmdSetGoal, &QPushButton::clicked, this, [this] { errorreport::guarded([this] { cmdSetGoal_Click(); }); });
    connect(UpDownTime, &UpDown::UpClick, this, [this] { errorreport::guarded([this] { UpDownTime_UpClick(); }); });
    connect(UpDownTime, &UpDown::DownClick, this, [this] { errorreport::guarded([this] { UpDownTime_DownClick(); }); });
    connect(cboPerson, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            errorreport::guarded([this] { cboPerson_Click(); });
    });
    // Typed keys go to the boxes' KeyPress handlers; an error there is shown, not let out.
    auto keys = [this](QLineEdit* box, void (frmMeasure::*handler)(int&)) {
        recordform::onKeyPress(box,
                               [this, handler](int& keyAscii) { errorreport::guarded([&] { (this->*handler)(keyAscii); }); });
    };
    keys(txtDate, &frmMeasure::txtDate_KeyPress);
    keys(txtHr, &frmMeasure::txtHr_KeyPress);
    keys(txtAMPM, &frmMeasure::txtAMPM_KeyPress);
    keys(txtHBP, &frmMeasure::txtHBP_KeyPress);
    keys(txtLBP, &frmMeasure::txtLBP_KeyPress);
    keys(txtPlse, &frmMeasure::txtPlse_KeyPress);
    keys(txtWt, &frmMeasure::txtWt_KeyPress);
    for (int i = 0; i < 3; ++i)
        recordform::onKeyPress(txtTemp[std::size_t(i)],
                               [this, i](int& keyAscii) { errorreport::guarded([&] { txtTemp_KeyPress(i, keyAscii); }); });
    // Focus changes of the time boxes, and the lists' keys and clicks.
    for (QWidget* watched : std::initializer_list<QWidget*>{txtHr, txtMin, txtAMPM, cboPerson, cboMood, cboRegimen, CboDbtsGl})
        watched->installEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// Loading, lists and the grid

void frmMeasure::Form_Load()
{
    try {
        cmdDt->setPicture(PicClipDt->GraphicCell(0));
        cmdDt->setDownPicture(PicClipDt->GraphicCell(1));

        clsDataService captions;
        lbl1[8]->setText(captions.GetMeasureCaption(1, 1) + QStringLiteral(":"));
        lbl1[9]->setText(captions.GetMeasureCaption(2, 1) + QStringLiteral(":"));
        lblUnitTemp[0]->setText(captions.GetMeasureCaption(1, 2));
        lblUnitTemp[1]->setText(captions.GetMeasureCaption(2, 2));
        lblUnitTemp[2]->setText(captions.GetMeasureCaption(3, 2));
        gWeightUnitText = captions.GetMeasureCaption(4, 2);

        EditMode = kBrowse;
        datInfo->setDatabase(gDB);

        modHealth::FillCombo(cboMood, QStringLiteral("SELECT MD_KY, MD_NM FROM MOOD"));
        modHealth::FillCombo(cboRegimen, QStringLiteral("SELECT RGMN_KY, RGMN_NM FROM REGIMEN ORDER BY RGMN_NM"));
        // The goal list is filled before the person list, whose selection shows the first row.
        modHealth::FillCombo(CboDbtsGl, QStringLiteral("SELECT GL_KY, GL_NM FROM DBTS_GOAL ORDER BY GL_NM"));
        requeried_ = false;
        // Selects the current person (or the first), which requeries the grid for that person.
        modHealth::FillCombo(cboPerson, QStringLiteral("SELECT PRSN_KY, PRSN_NM FROM PERSON ORDER BY PRSN_NM"));

        SetMode(EditMode);
        ShowWeightUnit();
        if (!requeried_)
            RequeryMeasurements(0, true);

        auto rs = gDB->OpenRecordset(QStringLiteral("select * from Application"), dao::dbOpenSnapshot);
        PictureSetting = settingsText(rs, "PICTURE");
        rs->Close();
    } catch (...) {
        modSplash::ShowErrorMessage(QStringLiteral("frmMeasurement"));
    }
}

void frmMeasure::cboPerson_Click()
{
    const int index = cboPerson->currentIndex();
    if (index < 0)
        return;
    gPersonKey = vb::CLng(cboPerson->itemData(index));
    RequeryMeasurements(0, true);
}

void frmMeasure::RequeryMeasurements(int sortColumn, bool descending)
{
    static const char* const orderBy[8] = {"M.MSRD_DT", "M.HBP", "M.LBP", "M.PLSE", "M.WT", "M.TEMP", "R.RGMN_NM", "MO.MD_NM"};
    if (sortColumn < 0 || sortColumn > 7)
        return;
    QString order = QString::fromLatin1(orderBy[sortColumn]);
    if (descending)
        order += QStringLiteral(" Desc");
    const QString sql = QStringLiteral(" SELECT  M.RGMN_KY, M.MD_KY, D.GL_KY, MSRD_DT, M.HBP, "
                                       "M.LBP, M.PLSE, format(M.WT,'0.0'), ") +
                        QStringLiteral(" format(M.TEMP,'0.0'),format(M.TEMP1,'0.0'), "
                                       "format(M.TEMP2,'0.0'), D.GL_NM,") +
                        QStringLiteral(" R.RGMN_NM, MO.MD_NM,  M.CMMNT ") +
                        QStringLiteral(" FROM (((PERSON AS P INNER JOIN MEASURE AS M ON "
                                       "P.PRSN_KY = M.PRSN_KY)") +
                        QStringLiteral(" LEFT JOIN MOOD AS MO ON M.MD_KY = MO.MD_KY)") +
                        QStringLiteral(" LEFT JOIN REGIMEN AS R ON M.RGMN_KY = R.RGMN_KY)") +
                        QStringLiteral(" LEFT JOIN DBTS_GOAL AS D ON M.GL_KY = D.GL_KY") + QStringLiteral(" WHERE P.PRSN_KY = ") +
                        QString::number(gPersonKey) + QStringLiteral(" ORDER BY ") + order;
    if (datInfo->Database() != gDB)
        datInfo->setDatabase(gDB);
    datInfo->setRecordSource(sql);
    newestFirstSource_.clear();
    datInfo->Refresh();
    if (sortColumn == 0 && descending)
        newestFirstSource_ = sql;
    requeried_ = true;
    FormatGrid();
}

void frmMeasure::FormatGrid()
{
    auto rs = gDB->OpenRecordset(QStringLiteral("select * from Application"), dao::dbOpenSnapshot);
    const QString tempLbl = settingsText(rs, "TempLBL");
    const QString temp1Lbl = settingsText(rs, "Temp1LBL");
    const QString tempUnit = settingsText(rs, "TempUnit");
    const QString temp1Unit = settingsText(rs, "Temp1Unit");
    const QString temp2Unit = settingsText(rs, "Temp2Unit");
    rs->Close();

    // The labels and units are the user's: set as texts, not as part of the format string.
    using captions::unitHeading;
    captions::setHeadings(*vsFGInfo, {{},
                                      {QStringLiteral("rgmn_ky")},
                                      {QStringLiteral("gl_ky")},
                                      {QStringLiteral("md_ky")},
                                      {QStringLiteral("Date(mm/dd/yy)")},
                                      {QStringLiteral("High BP")},
                                      {QStringLiteral("Low BP")},
                                      {QStringLiteral("Pulse (/min)")},
                                      {unitHeading(QStringLiteral("Weight"), gWeightUnitText)},
                                      {unitHeading(tempLbl, tempUnit)},
                                      {unitHeading(temp1Lbl, temp1Unit)},
                                      {QStringLiteral("Sugar(") + temp2Unit + QStringLiteral(")"), true},
                                      {QStringLiteral("Sugar Goal Name"), true},
                                      {QStringLiteral("Regimen")},
                                      {QStringLiteral("Mood")},
                                      {QStringLiteral("Comment")}});
    vsFGInfo->setRowHeight(0, 500);
    const int columns = std::min<int>(vsFGInfo->Cols(), int(kColumnWidths.size()));
    for (int col = 0; col < columns; ++col)
        vsFGInfo->setColWidth(col, kColumnWidths[std::size_t(col)]);
    for (int col = 1; col <= 3 && col < columns; ++col)
        vsFGInfo->setColHidden(col, true);
    if (columns > 12) {
        // The sugar columns are centred by the format string; then the date and the goal name
        // (and the hidden column 3) are set to the left.
        vsFGInfo->setColAlignment(11, flexAlignCenterCenter);
        vsFGInfo->setColAlignment(12, flexAlignCenterCenter);
        for (int col : {3, 4, 12})
            vsFGInfo->setColAlignment(col, flexAlignLeftCenter);
    }
    fitColumnsToTheirTexts();
    modHealth::LoadGridColumnWidths(*vsFGInfo);
    // The weight, custom and sugar headings hold the user's units and labels.
    captions::fitHeadings(*vsFGInfo, {8, 9, 10, 11});
}

void frmMeasure::fitColumnsToTheirTexts()
{
    // The header row holds two lines: a column is at least as wide as its header's longest word,
    // and the date column as wide as a date with its time.
    const QFontMetrics header(vsFGInfo->horizontalHeader()->font());
    const QFontMetrics cells(vsFGInfo->font());
    constexpr int kMarginPixels = 14;
    for (int col = vsFGInfo->FixedCols(); col < vsFGInfo->Cols(); ++col) {
        if (vsFGInfo->ColHidden(col) || vsFGInfo->ColWidth(col) <= 0)
            continue;
        int pixels = 0;
        for (const QString& word : vsFGInfo->TextMatrix(0, col).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            pixels = std::max(pixels, header.horizontalAdvance(word));
        if (col == 4)
            pixels =
                std::max(pixels, cells.horizontalAdvance(dateTimeText(QDateTime(QDate(2000, 12, 30), QTime(12, 0), Qt::UTC))));
        const int twips = int(vb::PixelsToTwipsX(pixels + kMarginPixels, vsFGInfo));
        if (vsFGInfo->ColWidth(col) < twips)
            vsFGInfo->setColWidth(col, twips);
    }
}

QString frmMeasure::dateTimeText(const QDateTime& when) const
{
    return when.date().toString(shortDatePattern()) + QLatin1Char(' ') + when.time().toString(QStringLiteral("hh:mm AP"));
}

void frmMeasure::ShowWeightUnit() { lblUnitWt->setText(gWeightUnitText); }

void frmMeasure::RefillGoalList()
{
    const QVariant chosen = CboDbtsGl->currentIndex() >= 0 ? CboDbtsGl->currentData() : QVariant();
    CboDbtsGl->clear();
    modHealth::FillCombo(CboDbtsGl, QStringLiteral("SELECT GL_KY, GL_NM FROM DBTS_GOAL ORDER BY GL_NM"));
    CboDbtsGl->setCurrentIndex(chosen.isValid() ? CboDbtsGl->findData(chosen) : -1);
}

// ---------------------------------------------------------------------------------------------
// Browsing

void frmMeasure::setCounterCaption()
{
    const auto& rs = datInfo->Recordset();
    const int position = rs ? rs->AbsolutePosition() : -1;
    const int count = rs ? rs->RecordCount() : 0;
    datInfo->setCaption(QStringLiteral("Measurement: %1 of %2").arg(position + 1).arg(count));
}

void frmMeasure::datInfo_Reposition()
{
    if (EditMode != kBrowse)
        return;
    setCounterCaption();
    ShowRecord();
}

void frmMeasure::ShowRecord()
{
    if (const auto m = RowMeasurement())
        ShowMeasurement(*m);
    else
        ClearFields();
}

namespace {
template <typename T>
std::optional<T> fieldValue(const QVariant& v)
{
    if (vb::IsNull(v))
        return std::nullopt;
    // The decimals come formatted to one place, with the locale's separator.
    const double d = vb::Val(vb::CStr(v).replace(QLatin1Char(','), QLatin1Char('.')));
    if constexpr (std::is_integral_v<T>)
        return T(std::llround(d));
    else
        return d;
}

QString boxText(const std::optional<int>& v) { return v ? QString::number(*v) : QString(); }

QString boxText(const std::optional<double>& v)
{
    return v ? vb::Format(*v, QStringLiteral("0.0")).replace(QLatin1Char(','), QLatin1Char('.')) : QString();
}

// Null shows the list's first entry ("(Unknown)"), or none for the goal list; a key no entry
// has (a deleted regimen, say) leaves the list as it was.
void selectByKey(QComboBox* combo, const std::optional<qint64>& key, int nullIndex)
{
    if (!key) {
        combo->setCurrentIndex(combo->count() > 0 ? nullIndex : -1);
        return;
    }
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemData(i).toLongLong() == *key) {
            combo->setCurrentIndex(i);
            return;
        }
    }
}
} // namespace

std::optional<Measurement> frmMeasure::RowMeasurement() const
{
    const auto& rs = datInfo->Recordset();
    if (!rs || !rs->isOpen() || rs->AbsolutePosition() < 0)
        return std::nullopt;
    Measurement m;
    m.personKey = gPersonKey;
    m.measured = rs->Fields(fDate).Value().toDateTime();
    m.regimenKey = fieldValue<qint32>(rs->Fields(fRegimen).Value());
    m.moodKey = fieldValue<int>(rs->Fields(fMood).Value());
    m.goalKey = fieldValue<qint32>(rs->Fields(fGoal).Value());
    m.highPressure = fieldValue<int>(rs->Fields(fHigh).Value());
    m.lowPressure = fieldValue<int>(rs->Fields(fLow).Value());
    m.pulse = fieldValue<int>(rs->Fields(fPulse).Value());
    m.weight = fieldValue<double>(rs->Fields(fWeight).Value());
    m.temp = fieldValue<double>(rs->Fields(fTemp).Value());
    m.temp1 = fieldValue<double>(rs->Fields(fTemp1).Value());
    m.sugar = fieldValue<double>(rs->Fields(fSugar).Value());
    m.comment = vb::CStr(rs->Fields(fComment).Value());
    return m;
}

void frmMeasure::ShowMeasurement(const Measurement& m)
{
    recordKey_ = m.measured;
    setDateValue(m.measured.date());
    const QString time = m.measured.time().toString(QStringLiteral("hh:mm AP"));
    txtHr->setText(time.left(2));
    txtMin->setText(time.mid(3, 2));
    txtAMPM->setText(time.mid(6, 2));

    txtHBP->setText(boxText(m.highPressure));
    txtLBP->setText(boxText(m.lowPressure));
    txtPlse->setText(boxText(m.pulse));
    txtWt->setText(boxText(m.weight));
    txtTemp[0]->setText(boxText(m.temp));
    txtTemp[1]->setText(boxText(m.temp1));
    txtTemp[2]->setText(boxText(m.sugar));
    txtCmmnt->setText(m.comment);
    // A comment longer than the box shows from its start.
    txtCmmnt->setCursorPosition(0);

    selectByKey(cboRegimen, m.regimenKey, 0);
    selectByKey(cboMood, m.moodKey, 0);
    selectByKey(CboDbtsGl, m.goalKey, -1);
}

void frmMeasure::ClearFields()
{
    cboRegimen->setCurrentIndex(cboRegimen->count() > 0 ? 0 : -1);
    cboMood->setCurrentIndex(cboMood->count() > 0 ? 0 : -1);
    CboDbtsGl->setCurrentIndex(-1);
    setDateValue(QDate());
    recordKey_ = QDateTime();
    for (QLineEdit* box : {txtHr, txtMin, txtAMPM, txtLBP, txtHBP, txtPlse, txtWt, txtCmmnt, txtTemp[0], txtTemp[1], txtTemp[2]})
        box->clear();
}

void frmMeasure::setDateValue(const QDate& date)
{
    dateValue_ = date;
    // A year outside the window that two-digit years are read in shows in full, so the box never
    // names a day of another century.
    const bool twoDigitsReadBack = date.year() >= 1930 && date.year() <= 2029;
    const QString pattern = twoDigitsReadBack ? shortDatePattern() : vb::WithFullYear(shortDatePattern());
    txtDate->setText(date.isValid() ? date.toString(pattern) : QString());
}

QString frmMeasure::shortDatePattern() { return gShortDateFormat.isEmpty() ? QStringLiteral("M/d/yyyy") : gShortDateFormat; }

bool frmMeasure::IsDateText(const QString& text) const
{
    const QString trimmed = text.trimmed();
    return !trimmed.isEmpty() && modFunctions::DateOf(QVariant(trimmed)).has_value();
}

// ---------------------------------------------------------------------------------------------
// Modes

void frmMeasure::setComboLocked(QComboBox* combo, bool locked)
{
    combo->setProperty("locked", locked);
    combo->setFocusPolicy(locked ? Qt::ClickFocus : Qt::StrongFocus);
}

bool frmMeasure::isComboLocked(const QComboBox* combo) const { return combo->property("locked").toBool(); }

void frmMeasure::SetMode(const QString& mode)
{
    txtDate->setToolTip(gShortDateFormat);
    const bool browse = mode == kBrowse || mode == kRefresh;
    const bool adding = mode == kAddNew;
    const bool editing = mode == kEdit;
    if (!browse && !adding && !editing)
        return;

    if (mode == kBrowse || editing) {
        ShowRecord();
    } else if (adding) {
        ClearFields();
        setDateValue(vb::Today());
        clsDataService service;
        const QString time = service.GetDefaultEntryTime();
        const auto proposed = QTime::fromString(time, QStringLiteral("hh:mm AP"));
        const QString text = proposed.isValid() ? proposed.toString(QStringLiteral("hh:mm AP")) : time;
        txtHr->setText(text.left(2));
        txtMin->setText(text.mid(3, 2));
        txtAMPM->setText(text.mid(6, 2));
    }

    Frame1->setTitle(browse   ? QStringLiteral("Browse Measurement:")
                     : adding ? QStringLiteral("Add New Measurement Here:")
                              : QStringLiteral("Edit Measurement Here:"));
    cmdAddNew->setEnabled(browse);
    cmdEdit->setEnabled(browse);
    cmdDelete->setEnabled(browse);
    cmdSave->setEnabled(!browse);
    cmdCancel->setEnabled(!browse);

    setComboLocked(cboPerson, !browse);
    for (QComboBox* list : {cboMood, cboRegimen, CboDbtsGl}) {
        setComboLocked(list, browse);
        vb::SetBackColor(list, browse ? kGrey : kWhite);
    }
    for (QLineEdit* box : {txtHBP, txtLBP, txtPlse, txtWt, txtTemp[0], txtTemp[1], txtTemp[2], txtCmmnt})
        recordform::lockBox(box, browse);
    if (browse)
        vb::SetBackColor(txtDate, kGrey);
    else if (adding)
        vb::SetBackColor(txtDate, kWhite);
    for (QLineEdit* box : {txtHr, txtMin, txtAMPM}) {
        box->setEnabled(!editing);
        if (!editing)
            recordform::lockBox(box, browse);
    }
    cmdDt->setEnabled(adding);
    UpDownTime->setEnabled(adding);
    cmdOptionTime->setEnabled(adding);
    cmdSetGoal->setEnabled(!adding);
    datInfo->setVisible(browse);
    // No other row can be chosen while a reading is entered: the save writes the one shown.
    recordform::freezeList(datInfo, vsFGInfo, !browse);
    // The add hint speaks of the blue fields; it goes with them.
    if (!adding)
        statusText_->clear();

    recordform::setEntryLook({Frame1, Frame2, Frame3, Frame4}, !browse);
    for (QLabel* label : lbl1)
        recordform::setEntryLook({label}, !browse);
    if (browse)
        recordform::setEntryLook({lblUnitWt, lblUnitTemp[0], lblUnitTemp[1], lblUnitTemp[2]}, false);
}

void frmMeasure::cmdAddNew_Click()
{
    EditMode = kAddNew;
    SetMode(EditMode);
    statusText_->setText(QStringLiteral("You may add measurements in the fields highlighted in blue color. "
                                        "Click on Save button to save the measurements."));
}

void frmMeasure::cmdEdit_Click()
{
    const auto& rs = datInfo->Recordset();
    if (!rs || rs->RecordCount() == 0)
        return;
    EditMode = kEdit;
    SetMode(EditMode);
    // The save writes this row, whatever moves the list meanwhile.
    editKey_ = recordKey_;
}

void frmMeasure::cmdCancel_Click()
{
    EditMode = kBrowse;
    SetMode(EditMode);
    closeCalendar();
}

QString frmMeasure::StatusText() const { return statusText_->text(); }

// ---------------------------------------------------------------------------------------------
// Saving and deleting

bool frmMeasure::numbersAreValid()
{
    struct Box {
        QLineEdit* box;
        QString name;
        bool whole;
    };
    auto nameOf = [](const QLabel* label) { return label->text().remove(QLatin1Char(':')).trimmed(); };
    const Box boxes[] = {
        {txtHBP, QStringLiteral("High blood pressure"), true},
        {txtLBP, QStringLiteral("Low blood pressure"), true},
        {txtPlse, QStringLiteral("Pulse"), true},
        {txtWt, QStringLiteral("Weight"), false},
        {txtTemp[0], nameOf(lbl1[8]), false},
        {txtTemp[1], nameOf(lbl1[9]), false},
        {txtTemp[2], QStringLiteral("Sugar"), false},
    };
    for (const Box& b : boxes) {
        const QString text = b.box->text().trimmed();
        if (text.isEmpty())
            continue;
        const bool ok =
            b.whole ? isWholeNumberText(text) && vb::Val(text) <= kMaxWhole : isNumberText(text) && vb::Val(text) <= kMaxDecimal;
        if (!ok) {
            const QString name = b.name.isEmpty() ? QStringLiteral("This measurement") : b.name;
            vb::MsgBox(b.whole ? QStringLiteral("%1 must be a whole number from 0 to 999.").arg(name)
                               : QStringLiteral("%1 must be a number from 0 to 99999, such as 72.5.").arg(name),
                       vb::vbOKOnly | vb::vbExclamation, QString());
            b.box->setFocus();
            return false;
        }
    }
    return true;
}

bool frmMeasure::entriesAreValid()
{
    if (!numbersAreValid())
        return false;

    const std::array<QLineEdit*, 7> values = {txtHBP, txtLBP, txtPlse, txtWt, txtTemp[0], txtTemp[1], txtTemp[2]};
    const bool allEmpty = std::all_of(values.begin(), values.end(),
                                      [](const QLineEdit* box) { return vb::IsNull(modHealth::ValueOrNull(box->text())); });
    if (allEmpty) {
        vb::MsgBox(QStringLiteral("Please enter measurement data."), vb::vbOKOnly | vb::vbExclamation,
                   App::Title() + QStringLiteral(" Software"));
        return false;
    }
    if ((txtHBP->text().isEmpty() || txtLBP->text().isEmpty()) && txtHBP->text() != txtLBP->text()) {
        vb::MsgBox(QStringLiteral("Please enter both high and low blood pressure measurements."),
                   vb::vbOKOnly | vb::vbExclamation, QString());
        return false;
    }
    if (!vb::IsNull(modHealth::ValueOrNull(txtTemp[2]->text())) && CboDbtsGl->currentIndex() < 0) {
        vb::MsgBox(QStringLiteral("For diabetes reading, you also need to choose "
                                  "Goal Name from drop down."),
                   vb::vbOKOnly | vb::vbInformation, App::Title() + QStringLiteral(" Software"));
        return false;
    }
    if (!vb::fitsLength(txtCmmnt->text(), kCommentLength)) {
        vb::MsgBox(QStringLiteral("The comment can hold at most %1 characters; please shorten it.").arg(kCommentLength),
                   vb::vbOKOnly | vb::vbExclamation, QString());
        return false;
    }
    return true;
}

QDateTime frmMeasure::enteredKey() const
{
    const QString hour = txtHr->text().trimmed();
    const QString minute = txtMin->text().trimmed();
    const QString half = txtAMPM->text().trimmed().toUpper();
    if (!dateValue_.isValid() || !isWholeNumberText(hour) || !isWholeNumberText(minute) || hour.size() > 2 || minute.size() > 2)
        return {};
    const int h = hour.toInt();
    const int m = minute.toInt();
    if (h < 1 || h > 12 || m > 59 || (half != QLatin1String("AM") && half != QLatin1String("PM")))
        return {};
    const int h24 = (h % 12) + (half == QLatin1String("PM") ? 12 : 0);
    return QDateTime(dateValue_, QTime(h24, m), Qt::UTC);
}

bool frmMeasure::weekIsStorable(const QDate& date)
{
    if (vb::IsStorableDate(date))
        return true;
    // The bounds in full years: a two-digit year would name another century.
    const QString pattern = vb::WithFullYear(shortDatePattern());
    if (date < vb::FirstStorableDate())
        vb::MsgBox(QStringLiteral("Please choose a date from %1 on: earlier dates cannot be kept.")
                       .arg(vb::FirstStorableDate().toString(pattern)),
                   vb::vbOKOnly | vb::vbExclamation, QString());
    else
        // The week's average is kept under the Sunday that ends it: that day must be a date the
        // database holds.
        vb::MsgBox(QStringLiteral("Please choose a date up to %1: the averages of a later week cannot be kept.")
                       .arg(vb::LastStorableDate().toString(pattern)),
                   vb::vbOKOnly | vb::vbExclamation, QString());
    return false;
}

bool frmMeasure::timeIsValid(QDateTime& key)
{
    key = enteredKey();
    if (key.isValid())
        return true;
    if (!dateValue_.isValid())
        vb::MsgBox(QStringLiteral("To enter date, click on the Calender Button to "
                                  "the right of this Text Box"),
                   vb::vbOKOnly | vb::vbInformation, QString());
    else
        vb::MsgBox(QStringLiteral("Please enter a valid time: the hour from 01 to "
                                  "12, the minute from 00 to 59, and AM or PM."),
                   vb::vbOKOnly | vb::vbExclamation, QString());
    return false;
}

namespace {
// A box's entry as a number; empty and zero entries are none.
std::optional<double> entryNumber(const QString& text)
{
    const QVariant v = modHealth::ValueOrNull(text);
    if (vb::IsNull(v))
        return std::nullopt;
    return vb::Val(v);
}

std::optional<int> entryWhole(const QString& text)
{
    const auto v = entryNumber(text);
    return v ? std::optional<int>(int(std::nearbyint(*v))) : std::nullopt;
}

// The key a list's entry carries; the lists' "(Unknown)" (0) is none.
std::optional<qint32> listKey(const QComboBox* combo)
{
    if (combo->currentIndex() < 0)
        return std::nullopt;
    const QVariant v = combo->currentData();
    if (vb::IsNull(v) || vb::Val(v) == 0)
        return std::nullopt;
    return vb::CLng(v);
}
} // namespace

Measurement frmMeasure::EnteredMeasurement(const QDateTime& key) const
{
    Measurement m;
    m.personKey = gPersonKey;
    m.measured = key;
    if (const auto mood = listKey(cboMood))
        m.moodKey = int(*mood);
    m.regimenKey = listKey(cboRegimen);
    m.lowPressure = entryWhole(txtLBP->text());
    m.highPressure = entryWhole(txtHBP->text());
    m.pulse = entryWhole(txtPlse->text());
    m.weight = entryNumber(txtWt->text());
    m.temp = entryNumber(txtTemp[0]->text());
    m.temp1 = entryNumber(txtTemp[1]->text());
    m.sugar = entryNumber(txtTemp[2]->text());
    m.comment = txtCmmnt->text();
    if (CboDbtsGl->currentIndex() >= 0)
        m.goalKey = vb::CLng(CboDbtsGl->currentData());
    return m;
}

void frmMeasure::cmdSave_Click()
{
    if (EditMode != kAddNew && EditMode != kEdit)
        return;
    if (!entriesAreValid())
        return;
    // The higher pressure is always the high one.
    if (vb::Val(txtLBP->text()) > vb::Val(txtHBP->text())) {
        const QString high = txtHBP->text();
        txtHBP->setText(txtLBP->text());
        txtLBP->setText(high);
    }
    QDateTime key;
    if (EditMode == kAddNew) {
        if (!timeIsValid(key) || !weekIsStorable(key.date()))
            return;
    } else {
        key = editKey_;
    }

    try {
        MeasurementStore store;
        int action = EditMode == kEdit ? clsAverage::actChanged : clsAverage::actAdded;
        if (EditMode == kAddNew) {
            if (store.exists(gPersonKey, key)) {
                const int answer = vb::MsgBox(QStringLiteral("Measurement for the same date exists in database.") + kCrLf +
                                                  QStringLiteral("Do you want to replace it?"),
                                              vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton1, QString());
                action = answer == vb::vbYes ? clsAverage::actChanged : -1;
            }
        }
        // The store writes the row and the averages it feeds together or not at all.
        const Measurement m = EnteredMeasurement(key);
        if (action == clsAverage::actAdded) {
            store.add(m);
        } else if (action == clsAverage::actChanged && !store.update(m)) {
            vb::MsgBox(QStringLiteral("The measurement was not found in the database; nothing was saved."),
                       vb::vbOKOnly | vb::vbExclamation, QString());
            return;
        }
    } catch (const std::exception& e) {
        // Nothing was written (the transaction is undone); the entries stay for another try.
        errorreport::showError(e);
        return;
    }

    // An open calendar stays open: the next reading's date is often picked right away.
    EditMode = kRefresh;
    SetMode(EditMode);
    try {
        if (!refreshSavedRow(key))
            RequeryMeasurements(0, true);
    } catch (...) {
        EditMode = kBrowse;
        throw;
    }
    EditMode = kBrowse;
    showRowAfterWrite(key);
}

bool frmMeasure::refreshSavedRow(const QDateTime& key)
{
    const auto& rs = datInfo->Recordset();
    if (!rs || !rs->isOpen() || newestFirstSource_.isEmpty() || datInfo->RecordSource() != newestFirstSource_)
        return false;
    // The rows run newest first (a person has one reading a time): the saved one stands before
    // the first older row, or is that row when it was there already.
    int first = 0, last = rs->RecordCount();
    while (first < last) {
        const int middle = first + (last - first) / 2;
        if (rs->valueAt(middle, fDate).toDateTime() > key)
            first = middle + 1;
        else
            last = middle;
    }
    const bool present = first < rs->RecordCount() && rs->valueAt(first, fDate).toDateTime() == key;
    rs->refreshRow(first, present, QStringLiteral("M.MSRD_DT = ?"), dao::Params{key});
    return true;
}

void frmMeasure::showRowAfterWrite(const QDateTime& key)
{
    const auto& rs = datInfo->Recordset();
    if (!rs)
        return;
    rs->FindFirst(QStringLiteral("MSRD_DT = ") + keyLiteral(key));
    // Without the row, the form shows the row it stands on.
    if (rs->NoMatch())
        datInfo_Reposition();
}

void frmMeasure::cmdDelete_Click()
{
    auto rs = datInfo->Recordset();
    if (!rs || rs->RecordCount() == 0 || rs->AbsolutePosition() < 0)
        return;
    EditMode = kRefresh;
    const int position = rs->AbsolutePosition();
    const QDateTime when = rs->Fields(fDate).Value().toDateTime();
    try {
        MeasurementStore().remove(gPersonKey, when);
    } catch (const std::exception& e) {
        EditMode = kBrowse;
        errorreport::showError(e);
        return;
    }
    try {
        RequeryMeasurements(0, true);
    } catch (...) {
        EditMode = kBrowse;
        throw;
    }
    EditMode = kBrowse;
    rs = datInfo->Recordset();
    if (rs->RecordCount() > 0) {
        // The row that followed the deleted one, or the new last row when the oldest went.
        rs->setAbsolutePosition(std::min(position, rs->RecordCount() - 1));
    } else {
        ClearFields();
        datInfo->setCaption(QStringLiteral("Measurement: 0"));
    }
}

// ---------------------------------------------------------------------------------------------
// Date and time entry

void frmMeasure::cmdDt_Click()
{
    if (!ctDt)
        makeCalendar();
    if (ctDt->isHidden()) {
        QDate date = dateValue_;
        if (!date.isValid()) {
            date = vb::Today();
            setDateValue(date);
        }
        ctDt->setYear(date.year());
        ctDt->setMonth(date.month());
        ctDt->setDay(date.day());
        txtDate->setEnabled(false);
        const QPoint below = cmdDt->mapTo(this, QPoint(0, cmdDt->height() + 2));
        ctDt->resize(ctDt->sizeHint());
        ctDt->move(std::max(0, std::min(below.x(), width() - ctDt->width())), below.y());
        ctDt->show();
        ctDt->raise();
        cmdDt->setPicture(PicClipDt->GraphicCell(2));
    } else {
        closeCalendar();
    }
}

void frmMeasure::closeCalendar()
{
    if (ctDt)
        ctDt->hide();
    txtDate->setEnabled(true);
    cmdDt->setPicture(PicClipDt->GraphicCell(0));
}

void frmMeasure::ctDt_DateSelected(int day, int month, int year)
{
    setDateValue(QDate(year, month, day));
    closeCalendar();
}

void frmMeasure::txtDate_KeyPress(int& KeyAscii)
{
    if (EditMode == kAddNew)
        vb::MsgBox(QStringLiteral("To enter date, click on the Calender Button to "
                                  "the right of this Text Box"),
                   vb::vbOKOnly | vb::vbInformation, QString());
    // The date comes from the calendar only.
    KeyAscii = 0;
}

void frmMeasure::txtHr_GotFocus()
{
    TimePart = 1;
    QTimer::singleShot(0, txtHr, &QLineEdit::selectAll);
}

void frmMeasure::txtMin_GotFocus()
{
    TimePart = 2;
    QTimer::singleShot(0, txtMin, &QLineEdit::selectAll);
}

void frmMeasure::txtAMPM_GotFocus() { TimePart = 3; }

void frmMeasure::txtHr_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDigitKey(KeyAscii); }

namespace {
// "7" becomes "07"; an empty text or one that is no number stays as it is.
void formatTwoDigits(QLineEdit* box)
{
    const QString text = box->text().trimmed();
    if (isNumberText(text))
        box->setText(vb::Format(vb::Val(text), QStringLiteral("00")));
}
} // namespace

void frmMeasure::txtHr_LostFocus() { formatTwoDigits(txtHr); }

void frmMeasure::txtMin_LostFocus() { formatTwoDigits(txtMin); }

void frmMeasure::txtAMPM_KeyPress(int& KeyAscii)
{
    if (txtAMPM->isReadOnly())
        return;
    if (KeyAscii == 'A' || KeyAscii == 'a')
        txtAMPM->setText(QStringLiteral("AM"));
    else if (KeyAscii == 'P' || KeyAscii == 'p')
        txtAMPM->setText(QStringLiteral("PM"));
    KeyAscii = 0;
}

void frmMeasure::UpDownTime_DownClick() { stepTime(-1); }

void frmMeasure::UpDownTime_UpClick() { stepTime(1); }

void frmMeasure::stepTime(int direction)
{
    if (TimePart < 1 || TimePart > 3) {
        txtMin->setFocus();
        TimePart = 2;
    }
    if (TimePart == 3) {
        const QString half = txtAMPM->text();
        if (half == QLatin1String("AM"))
            txtAMPM->setText(QStringLiteral("PM"));
        else if (half == QLatin1String("PM"))
            txtAMPM->setText(QStringLiteral("AM"));
        return;
    }
    QLineEdit* box = TimePart == 1 ? txtHr : txtMin;
    const QString text = box->text().trimmed();
    // An empty box or one that holds no number is left alone.
    if (!isNumberText(text))
        return;
    const int value = int(std::floor(vb::Val(text)));
    int next = value;
    if (TimePart == 1) {
        if (direction > 0)
            next = value < 12 ? value + 1 : value == 12 ? 1 : value;
        else
            next = value > 1 ? value - 1 : value == 1 ? 12 : value;
    } else {
        if (direction > 0)
            next = value < 59 ? value + 1 : 0;
        else
            next = value > 0 ? value - 1 : 59;
    }
    if (next != value)
        box->setText(vb::Format(next, QStringLiteral("00")));
}

void frmMeasure::cmdOptionTime_Click() { vb::defaultInstance<frmOptionTime>().Show(vb::vbModeless); }

void frmMeasure::cmdSetGoal_Click() { vb::defaultInstance<frmDSetGoal>().Show(vb::vbModeless); }

void frmMeasure::txtHBP_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDigitKey(KeyAscii); }
void frmMeasure::txtLBP_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDigitKey(KeyAscii); }
void frmMeasure::txtPlse_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDigitKey(KeyAscii); }
void frmMeasure::txtWt_KeyPress(int& KeyAscii) { KeyAscii = modHealth::FilterDecimalKey(KeyAscii, txtWt); }

void frmMeasure::txtTemp_KeyPress(int Index, int& KeyAscii)
{
    if (Index >= 0 && Index < 3)
        KeyAscii = modHealth::FilterDecimalKey(KeyAscii, txtTemp[std::size_t(Index)]);
}

// Key presses, focus changes and clicks of the controls, dispatched to their handlers.
bool frmMeasure::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (auto* combo = qobject_cast<QComboBox*>(watched)) {
            // The person, mood and regimen lists, and any locked list, take no keys but Tab.
            const bool mouseOnly = combo == cboPerson || combo == cboMood || combo == cboRegimen;
            return (mouseOnly || isComboLocked(combo)) && !isTabKey(static_cast<QKeyEvent*>(event));
        }
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        if (auto* combo = qobject_cast<QComboBox*>(watched))
            return isComboLocked(combo);
        if (watched == picPhotos && event->type() == QEvent::MouseButtonPress) {
            errorreport::guarded([this] { picPhotos_Click(); });
            return true;
        }
        return false;
    case QEvent::FocusIn:
        if (watched == txtHr)
            txtHr_GotFocus();
        else if (watched == txtMin)
            txtMin_GotFocus();
        else if (watched == txtAMPM)
            txtAMPM_GotFocus();
        return false;
    case QEvent::FocusOut:
        if (watched == txtHr)
            txtHr_LostFocus();
        else if (watched == txtMin)
            txtMin_LostFocus();
        return false;
    case QEvent::Resize:
        if (watched == picArea_)
            placePicture();
        return false;
    default: return vb::Form::eventFilter(watched, event);
    }
}

// ---------------------------------------------------------------------------------------------
// The picture

void frmMeasure::Form_Activate()
{
    if (PictureSetting == QLatin1String("NO")) {
        pictureShown_ = false;
        pictureFile_.clear();
        placePicture();
        return;
    }
    ShowRandomPicture();
}

void frmMeasure::picPhotos_Click() { ShowRandomPicture(); }

void frmMeasure::ShowRandomPicture()
{
    struct Group {
        const char* name;
        int count;
    };
    static constexpr Group groups[4] = {{"AA", 8}, {"BA", 7}, {"CA", 4}, {"DA", 6}};
    vb::Randomize();
    const int group = std::clamp(int(vb::Rnd() * 4), 0, 3);
    const int number = std::clamp(int(groups[group].count * vb::Rnd()) + 1, 1, groups[group].count);
    const QString file = App::Path() + QStringLiteral("/picture/") + QLatin1String(groups[group].name) + QString::number(number) +
                         QStringLiteral(".jpg");
    const QPixmap picture(file);
    if (picture.isNull()) {
        // A missing or unreadable file: the form goes on without a picture.
        pictureShown_ = false;
        pictureFile_.clear();
        placePicture();
        return;
    }
    picPhotos->setPixmap(picture);
    picPhotos->setFixedSize(picture.size());
    pictureShown_ = true;
    pictureFile_ = file;
    placePicture();
    vb::DoEvents();
}

void frmMeasure::placePicture()
{
    if (!pictureShown_) {
        picPhotos->hide();
        picPhotosFrame->hide();
        return;
    }
    const int border = std::max(1, vb::TwipsToPixelsX(50, this));
    const QSize picture = picPhotos->size();
    // Centred in the space right of the entry frame, a little above the middle of its height.
    const int left = (picArea_->width() - picture.width()) / 2;
    const int top = std::max(border, int((picArea_->height() - picture.height()) / 2.5));
    picPhotos->move(left, top);
    picPhotosFrame->setGeometry(left - border, top - border, picture.width() + 2 * border, picture.height() + 2 * border);
    // Too narrow a space would put the picture over the entry frame: then it is hidden, unless
    // it is taller than the space anyway.
    const bool hidden = picArea_->height() > picPhotosFrame->height() && left < 0;
    picPhotosFrame->setVisible(!hidden);
    picPhotos->setVisible(!hidden);
    picPhotosFrame->lower();
    picPhotos->raise();
}

void frmMeasure::Form_Resize() { placePicture(); }

void frmMeasure::Form_Unload(int& /*cancel*/)
{
    try {
        modHealth::SaveGridColumnWidths(*vsFGInfo);
    } catch (const dao::Error&) {
        // The widths are a convenience; closing goes on.
    }
}
