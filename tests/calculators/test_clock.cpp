// The biological-clock planner: the strips, scale and hour texts for each choice, the strips'
// places, the present-time marker at fixed times (across midnight too), a second activation,
// and nothing clipped at the designed size.
#include "calculators/CalculatorsFixture.h"

#include "calculators/BiologicalClockPlan.h"
#include "calculators/CalculatorSupport.h"
#include "calculators/frmBiologicalClockWork.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTextEdit>

#include <cmath>

namespace {

using testing_calculators::CalculatorsFixture;

constexpr double kHour = 523.125;

QStringList expectedTexts(std::initializer_list<int> hours)
{
    QStringList texts;
    for (int k : hours)
        texts << clockplan::HourText(k);
    return texts;
}

TEST(ClockPlan, StripsScaleAndHourTexts)
{
    const clockplan::Strip morning = clockplan::MorningStrip();
    const clockplan::Strip owl = clockplan::NightOwlStrip();
    EXPECT_EQ(morning.width_total, 8910);
    EXPECT_EQ(owl.width_total, 8370);
    const std::array<double, 7> morningWidths = {270, 1080, 2430, 1080, 1080, 1890, 1080};
    const std::array<double, 7> owlWidths = {1080, 1080, 540, 1080, 1620, 2700, 270};
    EXPECT_EQ(morning.width, morningWidths);
    EXPECT_EQ(owl.width, owlWidths);
    EXPECT_EQ(morning.left[0], 2);
    EXPECT_EQ(morning.left[3], 2 + 270 + 1080 + 2430);
    EXPECT_EQ(owl.color[5], 0x0080FFu);
    EXPECT_EQ(morning.color[1], 0x66FFFFu);

    EXPECT_EQ(clockplan::NightOwlLoadLeft(), 2010);
    const clockplan::Scale scale = clockplan::ScaleFor(2010, 8370);
    EXPECT_DOUBLE_EQ(scale.left, 440.625);
    EXPECT_DOUBLE_EQ(scale.right, 10380);
    EXPECT_DOUBLE_EQ(scale.hourWidth(), kHour);
    EXPECT_DOUBLE_EQ(scale.tickX(1), 963.75);
    EXPECT_DOUBLE_EQ(scale.tickX(19), 10380);

    struct TextCase {
        int k;
        const char* text;
    };
    const TextCase texts[] = {{5, "5 AM"},   {11, "11 AM"}, {12, "12 PM"}, {13, "1 PM"},
                              {23, "11 PM"}, {24, "12 AM"}, {25, "1 AM"},  {29, "5 AM"}};
    for (const TextCase& t : texts)
        EXPECT_EQ(clockplan::HourText(t.k), QLatin1String(t.text)) << t.k;

    struct Choice {
        const char* text;
        int hour;
        bool half;
    };
    const Choice choices[] = {{" 5:30 AM", 5, true}, {" 7:00 AM", 7, false}, {"10:30 AM", 10, true}, {"10:00 AM", 10, false}};
    for (const Choice& c : choices) {
        const clockplan::WakeChoice got = clockplan::ChoiceOf(QLatin1String(c.text));
        EXPECT_EQ(got.hour, c.hour) << c.text;
        EXPECT_EQ(got.half, c.half) << c.text;
    }
    EXPECT_EQ(clockplan::MorningTimes().size(), 7);
    EXPECT_EQ(clockplan::NightOwlTimes().size(), 8);
    for (const QString& t : clockplan::MorningTimes() + clockplan::NightOwlTimes())
        EXPECT_EQ(t.size(), 8) << t.toStdString();
}

TEST(ClockPlan, MarkerAtFixedTimesCountsAcrossMidnight)
{
    const clockplan::Scale scale = clockplan::ScaleFor(2010, 8370);
    struct Case {
        QTime now;
        const char* wake;
        bool visible;
        double hours; // from the scale's start
    };
    const Case cases[] = {
        {QTime(9, 15), " 7:30 AM", true, 2.25},
        {QTime(7, 30, 40), " 7:30 AM", false, 0},
        {QTime(7, 31), " 7:30 AM", true, 31.0 / 60},
        {QTime(7, 29), " 7:30 AM", false, 0},
        {QTime(23, 45), " 4:00 AM", false, 0},
        {QTime(23, 45), " 5:00 AM", true, 18.75},
        // After midnight the time since waking runs on: under 19 hours shows.
        {QTime(2, 0), " 4:00 AM", false, 0},
        {QTime(2, 0), " 7:00 AM", false, 0},
        {QTime(2, 0), " 7:30 AM", true, 19},
        {QTime(1, 0), "10:30 AM", true, 15},
        {QTime(4, 0), " 4:00 AM", false, 0},
        {QTime(12, 0), " 5:00 AM", true, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.now.toString().toStdString() + " woke" + c.wake);
        const clockplan::WakeChoice wakeChoice = clockplan::ChoiceOf(QLatin1String(c.wake));
        const clockplan::Marker marker =
            clockplan::MarkerFor(QLatin1String(c.wake), wakeChoice.hour, QDateTime(QDate(2024, 3, 12), c.now), scale);
        EXPECT_EQ(marker.visible, c.visible);
        if (c.visible) {
            EXPECT_NEAR(marker.x, scale.left + c.hours * kHour, 1e-9);
        }
    }
}

class Planner : public CalculatorsFixture {
protected:
    frmBiologicalClockWork& open(const QTime& now)
    {
        services().runtime().clock().Set(QDate(2024, 3, 12), now);
        frmBiologicalClockWork& form = vb::defaultInstance<frmBiologicalClockWork>();
        form.Load();
        form.Form_Activate();
        return form;
    }
    static QStringList hourTexts(const frmBiologicalClockWork& form)
    {
        QStringList texts;
        for (QLabel* label : form.lblTime)
            texts << label->text();
        return texts;
    }
    static QStringList wakeList(const frmBiologicalClockWork& form)
    {
        QStringList items;
        for (int i = 0; i < form.cmboWakeupTime->count(); ++i)
            items << form.cmboWakeupTime->itemText(i);
        return items;
    }
};

TEST_F(Planner, OpensWithBothStripsAndTheScaleForFiveOClock)
{
    frmBiologicalClockWork& form = open(QTime(9, 15));
    const auto& place = form.Place();
    EXPECT_EQ(place.morningLeft, 660);
    EXPECT_EQ(place.nightOwlLeft, 2010);
    EXPECT_EQ(form.MorningHome(), 660);
    EXPECT_EQ(form.NightOwlHome(), 2010);
    EXPECT_DOUBLE_EQ(place.scale.left, 440.625);
    EXPECT_DOUBLE_EQ(place.scale.right, 10380);
    // The Night Owl strip spans the scale from its third hour to its end.
    EXPECT_DOUBLE_EQ(place.nightOwlLeft, place.scale.left + 3 * kHour);
    EXPECT_DOUBLE_EQ(place.nightOwlLeft + place.nightOwlWidth, place.scale.right);
    EXPECT_TRUE(form.Picture1->isVisibleTo(&form));
    EXPECT_TRUE(form.Picture2->isVisibleTo(&form));
    EXPECT_FALSE(form.optnPersonType[0]->isChecked());
    EXPECT_FALSE(form.optnPersonType[1]->isChecked());
    EXPECT_EQ(form.cmboWakeupTime->count(), 0);
    EXPECT_EQ(hourTexts(form).front(), QStringLiteral("5 AM"));
    EXPECT_EQ(hourTexts(form).back(), QStringLiteral("12 AM"));
    // Decided against 5:00 and placed from 5:00.
    EXPECT_TRUE(place.marker.visible);
    EXPECT_DOUBLE_EQ(place.marker.x, 440.625 + 4.25 * kHour);
    EXPECT_TRUE(form.lineCurrentTime->isVisibleTo(&form));

    // Widgets stand where the twips say: each hour text is centred on its tick.
    EXPECT_EQ(form.Picture1->geometry().left(), calculators::pixelsX(&form, 660));
    EXPECT_EQ(form.Picture2->geometry().left(), calculators::pixelsX(&form, 2010));
    EXPECT_EQ(form.Picture2->geometry().width(), calculators::pixelsX(&form, 2010 + 8370) - calculators::pixelsX(&form, 2010));
    for (std::size_t i = 0; i < form.LineTick.size(); ++i) {
        const int tickX = form.LineTick[i]->geometry().center().x();
        EXPECT_LE(std::abs(form.lblTime[i]->geometry().center().x() - tickX), 1) << i;
        EXPECT_LT(form.lblTime[i]->geometry().bottom(), form.LineScale->geometry().top()) << i;
    }
    EXPECT_LE(std::abs(form.lineCurrentTime->geometry().center().x() - form.lblCurrentTime->geometry().center().x()), 1);
}

TEST_F(Planner, ChoicesPlaceStripsAndTexts)
{
    struct Case {
        int type;
        const char* wake; // nullptr: the type's default
        bool morningShown;
        double morningLeft;
        double nightOwlLeft;
        QStringList texts;
    };
    const QStringList fiveToMidnight = expectedTexts({5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24});
    const Case cases[] = {
        {0, nullptr, true, 660, 660, fiveToMidnight},
        {0, " 7:00 AM", true, 660 - 8910.0 / 32, 660 - 8370.0 / 32,
         expectedTexts({7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26})},
        {1, " 7:00 AM", false, 381.5625, 398.4375,
         expectedTexts({7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26})},
        {1, "10:30 AM", false, 660, 660,
         expectedTexts({10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29})},
    };
    frmBiologicalClockWork& form = open(QTime(9, 15));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + (c.wake ? c.wake : " default"));
        form.optnPersonType_Click(c.type);
        if (c.wake) {
            form.cmboWakeupTime->setCurrentIndex(form.cmboWakeupTime->findText(QLatin1String(c.wake)));
            form.cmboWakeupTime_Click();
        }
        EXPECT_TRUE(form.optnPersonType[static_cast<std::size_t>(c.type)]->isChecked());
        EXPECT_EQ(form.Picture1->isVisibleTo(&form), c.morningShown);
        EXPECT_EQ(form.Picture2->isVisibleTo(&form), !c.morningShown);
        EXPECT_DOUBLE_EQ(form.Place().morningLeft, c.morningLeft);
        EXPECT_DOUBLE_EQ(form.Place().nightOwlLeft, c.nightOwlLeft);
        EXPECT_EQ(hourTexts(form), c.texts);
        // The scale serves every choice from the Night Owl home.
        EXPECT_DOUBLE_EQ(form.Place().scale.left, 440.625);
    }
}

TEST_F(Planner, ChoosingATypeResetsItsListAndMarkerFollowsTheClock)
{
    frmBiologicalClockWork& form = open(QTime(9, 15));
    form.optnPersonType_Click(0);
    EXPECT_EQ(wakeList(form), clockplan::MorningTimes());
    EXPECT_EQ(form.cmboWakeupTime->currentText(), QStringLiteral(" 5:30 AM"));
    form.cmboWakeupTime->setCurrentIndex(0);
    form.cmboWakeupTime_Click();
    form.optnPersonType_Click(1);
    EXPECT_EQ(wakeList(form), clockplan::NightOwlTimes());
    EXPECT_EQ(form.cmboWakeupTime->currentText(), QStringLiteral(" 7:30 AM"));
    EXPECT_TRUE(form.Place().marker.visible);
    EXPECT_DOUBLE_EQ(form.Place().marker.x, 440.625 + 2.25 * kHour);

    // Only a choice moves the marker.
    services().runtime().clock().Set(QDate(2024, 3, 12), QTime(7, 30, 40));
    EXPECT_TRUE(form.lineCurrentTime->isVisibleTo(&form));
    form.cmboWakeupTime_Click();
    EXPECT_FALSE(form.Place().marker.visible);
    EXPECT_FALSE(form.lineCurrentTime->isVisibleTo(&form));
    EXPECT_FALSE(form.lblCurrentTime->isVisibleTo(&form));
}

TEST_F(Planner, ASecondActivationMakesNoSecondHourTextsAndKeepsTheChoice)
{
    frmBiologicalClockWork& form = open(QTime(9, 15));
    const auto labels = [&form] {
        int n = 0;
        for (QLabel* label : form.findChildren<QLabel*>())
            n += label->objectName() == QLatin1String("lblTime") ? 1 : 0;
        return n;
    };
    EXPECT_EQ(labels(), 20);
    form.optnPersonType_Click(1);
    form.Form_Activate();
    EXPECT_EQ(labels(), 20);
    EXPECT_EQ(form.cmboWakeupTime->currentText(), QStringLiteral(" 7:30 AM"));
    EXPECT_EQ(form.Place().nightOwlLeft, 660);
    EXPECT_EQ(form.NightOwlHome(), 2010);
}

TEST_F(Planner, NothingIsClippedAtTheDesignedSize)
{
    frmBiologicalClockWork& form = open(QTime(9, 15));
    form.show();
    const QRect client = form.rect();
    EXPECT_GE(client.width(), calculators::pixelsX(&form, clockplan::kClientWidth));
    EXPECT_GE(client.height(), calculators::pixelsY(&form, clockplan::kClientHeight));
    for (QWidget* child : form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(client.contains(child->geometry())) << child->objectName().toStdString();
    // Texts fit their controls.
    for (QLabel* label : form.lblTime)
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_GE(form.lblCurrentTime->width(), form.lblCurrentTime->fontMetrics().horizontalAdvance(QStringLiteral("Current Time")));
    for (QRadioButton* option : form.optnPersonType)
        EXPECT_GE(option->width(), option->sizeHint().width());
    for (QTextEdit* text : form.richColorDesc) {
        EXPECT_LE(std::ceil(text->document()->size().height()), text->height() + 1);
        EXPECT_TRUE(form.Frame2->rect().contains(text->geometry()));
    }
    EXPECT_GE(form.Frame3->width(), form.Frame3->sizeHint().width());
    EXPECT_LE(form.Frame3->geometry().right(), form.Frame2->geometry().left());
    // The legend's words.
    EXPECT_TRUE(form.richColorDesc[0]->toPlainText().startsWith(QStringLiteral("Low Concentration: Body's biological clock")));
    EXPECT_TRUE(form.richColorDesc[3]->toPlainText().startsWith(QStringLiteral("Rejuvenation: Refresh your brain")));
}

TEST_F(Planner, HelpShowsItsTopic)
{
    frmBiologicalClockWork& form = open(QTime(9, 15));
    form.cmdHLP_Click();
    ASSERT_EQ(services().help().Pages().size(), 1);
    EXPECT_TRUE(services().help().Pages().front().endsWith(QStringLiteral("/htm/ScreenWorkWithBiologicalClock.htm")));
}

} // namespace
