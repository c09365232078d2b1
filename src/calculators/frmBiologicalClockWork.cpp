#include "calculators/frmBiologicalClockWork.h"

#include "calculators/CalculatorSupport.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/WindowPlacement.h"
#include "platform/services/Help.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>

using calculators::LineControl;
using calculators::placeTwips;
using calculators::twipsX;
using calculators::twipsY;

namespace {

// The controls below the scale, in twips, as designed.
constexpr double kFrame3Left = 240;
constexpr double kFramesTop = 2700;
constexpr double kFrame3Width = 1935;
constexpr double kFramesHeight = 3135;
constexpr double kFrame2Left = 2400;
constexpr double kFrame2Width = 8295;
constexpr double kSwatchLeft = 240;
constexpr double kSwatchSize = 495;
constexpr double kLegendTextLeft = 840;
constexpr double kLegendTextWidth = 7215;
constexpr double kLegendGap = 60;

struct LegendEntry {
    int swatch;       // picColor index
    double swatchTop; // as designed
    quint32 color;
    double textTop; // as designed
    const char* title;
    const char* colon; // a separate colon, or none when the title carries its own
    const char* text;
};

// Top to bottom: picColor(0), (2), (1), (3) beside richColorDesc(0) to (3).
const std::array<LegendEntry, 4> kLegend = {{
    {0, 360, clockplan::kLowConcentration, 360, "Low Concentration:", nullptr,
     " Body's biological clock is shifting from one stage to other. Make best use by listening to light music, watch "
     "news, or do light reading."},
    {2, 1035, clockplan::kCreativity, 1020, "Creativity", ":",
     " Brain is still not fully alert to surrounding. Ideal window for brainstorming, planning, and open-ended thinking"},
    {1, 1725, clockplan::kProblemSolving, 1740, "Problem Solving", ":",
     " Brain is fully active and alert. Use it for analytical activity, work that need concentration, work on tasks that "
     "requires accuracy."},
    {3, 2400, clockplan::kRejuvenation, 2400, "Rejuvenation", ":",
     " Refresh your brain with daily exercise and brain-building activites like reading, artistic exploration and puzzle "
     "solving."},
}};

QFont serifFont(double points)
{
    QFont font(QStringLiteral("MS Serif"));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(points);
    return font;
}

// One legend paragraph: Garamond 11, a bold dark-red title, a bold orange colon, plain text;
// 1.15 line spacing and 200 twips after the paragraph.
void fillLegendText(QTextEdit* box, const LegendEntry& entry)
{
    QFont garamond(QStringLiteral("Garamond"));
    garamond.setStyleHint(QFont::Serif);
    garamond.setPointSizeF(11);
    box->document()->setDefaultFont(garamond);
    QTextCursor cursor(box->document());
    QTextBlockFormat block;
    block.setLineHeight(115, QTextBlockFormat::ProportionalHeight);
    block.setBottomMargin(calculators::pixelsY(box, 200));
    cursor.setBlockFormat(block);
    QTextCharFormat title;
    title.setFontWeight(QFont::Bold);
    title.setForeground(QColor(192, 0, 0));
    cursor.insertText(QString::fromLatin1(entry.title), title);
    if (entry.colon) {
        QTextCharFormat colon;
        colon.setFontWeight(QFont::Bold);
        colon.setForeground(QColor(227, 108, 10));
        cursor.insertText(QString::fromLatin1(entry.colon), colon);
    }
    cursor.insertText(QString::fromLatin1(entry.text), QTextCharFormat());
}

} // namespace

frmBiologicalClockWork::frmBiologicalClockWork(QWidget* parent) : vb::Form(QStringLiteral("frmBiologicalClockWork"), parent)
{
    setCaption(QStringLiteral("Work with Biological Clock"));
    setMDIChild(true);

    // Everything is placed by twips on a canvas of the size it needs; the window scrolls the
    // canvas where it has less room than that.
    const vb::ScrollingBody body = vb::makeScrollingBody(this);
    body.layout->setContentsMargins(0, 0, 0, 0);
    canvas_ = new QWidget;
    canvas_->setObjectName(QStringLiteral("canvas"));
    body.layout->addWidget(canvas_);
    QWidget* const canvas = canvas_;

    // The strips, their bands, the scale and the marker.
    Picture1 = new QWidget(canvas);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture2 = new QWidget(canvas);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    for (std::size_t i = 0; i < lblMP.size(); ++i) {
        lblMP[i] = calculators::makeLabel(Picture1, "lblMP", QString());
        lblNO[i] = calculators::makeLabel(Picture2, "lblNO", QString());
    }
    LineScale = new LineControl(canvas, "LineScale");
    const QFont timeFont = serifFont(6.75);
    for (std::size_t i = 0; i < LineTick.size(); ++i) {
        LineTick[i] = new LineControl(canvas, "LineTick");
        lblTime[i] = calculators::makeLabel(canvas, "lblTime", i == 0 ? QStringLiteral("5 AM") : QString());
        lblTime[i]->setFont(timeFont);
        lblTime[i]->setAlignment(Qt::AlignCenter);
    }
    lineCurrentTime = new LineControl(canvas, "lineCurrentTime");
    lblCurrentTime = calculators::makeLabel(canvas, "lblCurrentTime", QStringLiteral("Current Time"));
    lblCurrentTime->setFont(serifFont(6));
    lblCurrentTime->setAlignment(Qt::AlignCenter);

    // The choices.
    Frame3 = new QGroupBox(canvas);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    fmPersonType = new QGroupBox(QStringLiteral("1. Person Type"), Frame3);
    fmPersonType->setObjectName(QStringLiteral("fmPersonType"));
    optnPersonType[0] = new QRadioButton(QStringLiteral("Morning Person"), fmPersonType);
    optnPersonType[0]->setObjectName(QStringLiteral("optnPersonType_0"));
    optnPersonType[1] = new QRadioButton(QStringLiteral("Night Owl"), fmPersonType);
    optnPersonType[1]->setObjectName(QStringLiteral("optnPersonType_1"));
    Frame1 = new QGroupBox(QStringLiteral("2. Wakeup Time"), Frame3);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    cmboWakeupTime = new QComboBox(Frame1);
    cmboWakeupTime->setObjectName(QStringLiteral("cmboWakeupTime"));
    cmboWakeupTime->setMinimumWidth(calculators::pixelsX(this, 1455));
    cmdHLP = calculators::makeButton(Frame3, "cmdHLP", QStringLiteral("&Help"));
    cmdHLP->setToolTip(QStringLiteral("Topic Help"));
    vb::SetBackColor(cmdHLP, 0xC0C000);

    auto* typeLayout = new QVBoxLayout(fmPersonType);
    typeLayout->addWidget(optnPersonType[0]);
    typeLayout->addWidget(optnPersonType[1]);
    auto* timeLayout = new QVBoxLayout(Frame1);
    timeLayout->addWidget(cmboWakeupTime);
    auto* choices = new QVBoxLayout(Frame3);
    choices->addWidget(fmPersonType);
    choices->addWidget(Frame1);
    choices->addStretch();
    choices->addWidget(cmdHLP, 0, Qt::AlignHCenter);

    // The legend.
    Frame2 = new QGroupBox(QStringLiteral("Color Interpretation"), canvas);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    for (std::size_t i = 0; i < kLegend.size(); ++i) {
        const LegendEntry& entry = kLegend[i];
        auto* swatch = new QWidget(Frame2);
        swatch->setObjectName(QStringLiteral("picColor"));
        vb::SetBackColor(swatch, entry.color);
        picColor[static_cast<std::size_t>(entry.swatch)] = swatch;
        auto* text = new QTextEdit(Frame2);
        text->setObjectName(QStringLiteral("richColorDesc"));
        text->setReadOnly(true);
        text->setFrameStyle(QFrame::NoFrame);
        text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text->setFocusPolicy(Qt::NoFocus);
        text->document()->setDocumentMargin(2);
        fillLegendText(text, entry);
        richColorDesc[i] = text;
    }
    placeControls();

    for (int i = 0; i < 2; ++i)
        connect(optnPersonType[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { optnPersonType_Click(i); });
    connect(cmboWakeupTime, &QComboBox::activated, this, [this] { cmboWakeupTime_Click(); });
    connect(cmdHLP, &QPushButton::clicked, this, [this] { cmdHLP_Click(); });
}

frmBiologicalClockWork::~frmBiologicalClockWork() = default;

// The controls below the scale: as designed, grown where the screen's font needs more room, and
// the window as large as the design's client area or what it holds.
void frmBiologicalClockWork::placeControls()
{
    const double frame3Width = std::max(kFrame3Width, twipsX(this, Frame3->sizeHint().width()));
    const double frame2Left = std::max(kFrame2Left, kFrame3Left + frame3Width + 225);

    double legendBottom = 0;
    double previousBottom = 0;
    for (std::size_t i = 0; i < kLegend.size(); ++i) {
        const LegendEntry& entry = kLegend[i];
        QTextEdit* text = richColorDesc[i];
        // Measured on a copy: the box lays its own document out at whatever width it has now.
        const std::unique_ptr<QTextDocument> measure(text->document()->clone());
        measure->setTextWidth(calculators::pixelsX(this, kLegendTextWidth));
        const double height = twipsY(this, static_cast<int>(std::ceil(measure->size().height())));
        // A paragraph starts where it was designed to, or below the one before when the font
        // needs more room.
        const double top = std::max(entry.textTop, previousBottom);
        const double shift = top - entry.textTop;
        placeTwips(text, kLegendTextLeft, top, kLegendTextWidth, height);
        placeTwips(picColor[static_cast<std::size_t>(entry.swatch)], kSwatchLeft, entry.swatchTop + shift, kSwatchSize,
                   kSwatchSize);
        previousBottom = top + height + kLegendGap;
        legendBottom = std::max({legendBottom, top + height, entry.swatchTop + shift + kSwatchSize});
    }
    const double framesHeight = std::max({kFramesHeight, legendBottom + 120, twipsY(this, Frame3->sizeHint().height())});
    placeTwips(Frame3, kFrame3Left, kFramesTop, frame3Width, framesHeight);
    placeTwips(Frame2, frame2Left, kFramesTop, kFrame2Width, framesHeight);

    const double width = std::max(clockplan::kClientWidth, frame2Left + kFrame2Width + 270);
    const double height = std::max(clockplan::kClientHeight, kFramesTop + framesHeight + 105);
    openingSize_ = QSize(calculators::pixelsX(this, width), calculators::pixelsY(this, height));
    canvas_->setFixedSize(openingSize_);
    resize(openingSize_);
}

// ---------------------------------------------------------------------------------------------
// Loading and activation

void frmBiologicalClockWork::Form_Load()
{
    place_.nightOwlLeft = clockplan::NightOwlLoadLeft(place_.morningLeft, clockplan::kBandUnit);
    LayoutMorningBands();
    LayoutNightOwlBands();
}

void frmBiologicalClockWork::LayoutMorningBands()
{
    const clockplan::Strip strip = clockplan::MorningStrip(clockplan::kBandUnit);
    for (std::size_t i = 0; i < lblMP.size(); ++i) {
        vb::SetBackColor(lblMP[i], strip.color[i]);
        placeTwips(lblMP[i], strip.left[i], 0, strip.width[i], clockplan::kStripHeight);
    }
    place_.morningWidth = strip.width_total;
    placeStrips();
}

void frmBiologicalClockWork::LayoutNightOwlBands()
{
    const clockplan::Strip strip = clockplan::NightOwlStrip(clockplan::kBandUnit);
    for (std::size_t i = 0; i < lblNO.size(); ++i) {
        vb::SetBackColor(lblNO[i], strip.color[i]);
        placeTwips(lblNO[i], strip.left[i], 0, strip.width[i], clockplan::kStripHeight);
    }
    place_.nightOwlWidth = strip.width_total;
    placeStrips();
}

void frmBiologicalClockWork::Form_Activate()
{
    if (vb::MDIForm* main = vb::MDIForm::Current())
        setWindowIcon(main->windowIcon());
    setUpScale();
}

// A window that is shown before it was ever activated (the main window itself not being the
// active one) is set up all the same.
void frmBiologicalClockWork::showEvent(QShowEvent* event)
{
    vb::Form::showEvent(event);
    // Inside the main window the frame opens at the size the canvas needs, or at the client
    // area's where that is less (the window then scrolls the canvas), and within the area.
    if (!opened_ && Window() != this) {
        opened_ = true;
        QWidget* frame = Window();
        const QWidget* area = frame->parentWidget();
        QSize size = frame->sizeHint();
        if (area)
            size = size.boundedTo(area->size());
        frame->resize(size);
        if (area)
            frame->move(vb::placedWithin(frame->geometry(), area->rect()).topLeft());
    }
    if (Loaded())
        setUpScale();
}

void frmBiologicalClockWork::setUpScale()
{
    // Coming back to the open window keeps what the user chose; the first activation sets up
    // the scale (its hour texts exist once, from the window's making).
    if (activated_)
        return;
    activated_ = true;
    morningHome_ = static_cast<qint16>(std::lround(place_.morningLeft));
    nightOwlHome_ = static_cast<qint16>(std::lround(place_.nightOwlLeft));
    cmboWakeupTime->clear();
    place_.scale = clockplan::ScaleFor(place_.nightOwlLeft, place_.nightOwlWidth);
    placeScale();
    PositionForWakeupTime(5, true);
}

// ---------------------------------------------------------------------------------------------
// Choices

bool frmBiologicalClockWork::personTypeChosen() const { return optnPersonType[0]->isChecked() || optnPersonType[1]->isChecked(); }

void frmBiologicalClockWork::setPersonType(int index)
{
    QRadioButton* option = optnPersonType[static_cast<std::size_t>(index)];
    if (!option->isChecked())
        option->setChecked(true);
}

void frmBiologicalClockWork::optnPersonType_Click(int Index)
{
    if (Index != 0 && Index != 1)
        return;
    setPersonType(Index);
    const bool morning = Index == 0;
    Picture1->setVisible(morning);
    Picture2->setVisible(!morning);
    cmboWakeupTime->clear();
    cmboWakeupTime->addItems(morning ? clockplan::MorningTimes() : clockplan::NightOwlTimes());
    cmboWakeupTime->setCurrentIndex(morning ? clockplan::kMorningDefault : clockplan::kNightOwlDefault);
    cmboWakeupTime_Click();
}

void frmBiologicalClockWork::cmboWakeupTime_Click()
{
    const clockplan::WakeChoice choice = clockplan::ChoiceOf(cmboWakeupTime->currentText());
    PositionForWakeupTime(choice.hour, choice.half);
}

void frmBiologicalClockWork::cmdHLP_Click() { services::ShowHelpTopic(QStringLiteral("htm\\ScreenWorkWithBiologicalClock.htm")); }

// ---------------------------------------------------------------------------------------------
// Positioning

void frmBiologicalClockWork::PositionForWakeupTime(int hour, bool half)
{
    QString wakeText = cmboWakeupTime->currentText();
    if (wakeText.trimmed().isEmpty())
        wakeText = clockplan::kDefaultWakeText;
    place_.marker = clockplan::MarkerFor(wakeText, hour, vb::Now(), place_.scale);

    place_.scale = clockplan::ScaleFor(nightOwlHome_, place_.nightOwlWidth);

    const clockplan::StripLefts lefts = clockplan::StripLeftsFor(half, personTypeChosen(), morningHome_, place_.morningWidth,
                                                                 place_.nightOwlWidth, {place_.morningLeft, place_.nightOwlLeft});
    place_.morningLeft = lefts.morning;
    place_.nightOwlLeft = lefts.nightOwl;

    const QStringList texts = clockplan::HourTexts(hour);
    for (std::size_t i = 0; i < lblTime.size(); ++i)
        lblTime[i]->setText(texts[static_cast<qsizetype>(i)]);

    placeStrips();
    placeScale();
    placeMarker();
}

void frmBiologicalClockWork::placeStrips()
{
    placeTwips(Picture1, place_.morningLeft, clockplan::kMorningTop, place_.morningWidth, clockplan::kStripHeight);
    placeTwips(Picture2, place_.nightOwlLeft, clockplan::kNightOwlTop, place_.nightOwlWidth, clockplan::kStripHeight);
}

void frmBiologicalClockWork::placeScale()
{
    const clockplan::Scale& scale = place_.scale;
    LineScale->setCoordinates(scale.left, clockplan::kScaleY, scale.right, clockplan::kScaleY);
    const double tickTop = clockplan::kScaleY - clockplan::kTickHeight;
    for (std::size_t i = 0; i < LineTick.size(); ++i) {
        const double x = scale.tickX(static_cast<int>(i));
        LineTick[i]->setCoordinates(x, clockplan::kScaleY, x, tickTop);
        // Centred on its tick, as wide as its text needs and at least as designed.
        QLabel* text = lblTime[i];
        const double width =
            std::max(clockplan::kTimeTextWidth, twipsX(this, text->fontMetrics().horizontalAdvance(QStringLiteral("12 PM")) + 4));
        const double height = std::max(clockplan::kTimeTextHeight, twipsY(this, text->fontMetrics().height()));
        placeTwips(text, x - width / 2, tickTop - clockplan::kTimeTextGap, width, height);
    }
}

void frmBiologicalClockWork::placeMarker()
{
    const clockplan::Marker& marker = place_.marker;
    lineCurrentTime->setVisible(marker.visible);
    lblCurrentTime->setVisible(marker.visible);
    if (!marker.visible)
        return;
    lineCurrentTime->setCoordinates(marker.x, clockplan::kMarkerTop, marker.x, clockplan::kMarkerBottom);
    lineCurrentTime->raise();
    const double width = std::max(clockplan::kMarkerTextWidth,
                                  twipsX(this, lblCurrentTime->fontMetrics().horizontalAdvance(lblCurrentTime->text()) + 4));
    const double height = std::max(clockplan::kMarkerTextHeight, twipsY(this, lblCurrentTime->fontMetrics().height()));
    placeTwips(lblCurrentTime, marker.x - width / 2, clockplan::kMarkerTextTop, width, height);
}
