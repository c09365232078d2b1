// Date and time entry on the Measurement form: the up-down stepping of hour, minute and AM/PM
// (wrapping at 12 and 59, never carrying into the next part), the boxes' focus, key and
// formatting rules, the calendar, the proposed time of a new entry, and the stored time of
// 12 AM and 12 PM.
#include "test_measure_support.h"

#include "platform/controls/PictureClip.h"
#include "platform/controls/UpDown.h"
#include "platform/controls/ctDate.h"

#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

using testing_measure::at;
using testing_measure::MeasureFixture;

class MeasureTimeTest : public MeasureFixture {
protected:
    void SetUp() override
    {
        MeasureFixture::SetUp();
        openForm();
        form->cmdAddNew_Click();
    }

    void setTime(const QString& hour, const QString& minute, const QString& half)
    {
        form->txtHr->setText(hour);
        form->txtMin->setText(minute);
        form->txtAMPM->setText(half);
    }
    QString time() const { return form->txtHr->text() + ":" + form->txtMin->text() + " " + form->txtAMPM->text(); }
    void step(int part, bool up)
    {
        form->TimePart = part;
        if (up)
            form->UpDownTime_UpClick();
        else
            form->UpDownTime_DownClick();
    }
};

TEST_F(MeasureTimeTest, StepsWrapAtTwelveAndFiftyNineWithoutCarrying)
{
    struct Case {
        int part;
        bool up;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {1, true, "11:30 AM", "12:30 AM"},  {1, true, "12:30 AM", "01:30 AM"},  {1, false, "01:30 PM", "12:30 PM"},
        {1, false, "12:30 PM", "11:30 PM"}, {1, true, "7:30 AM", "08:30 AM"},   {1, true, "13:30 AM", "13:30 AM"},
        {1, false, "0:30 AM", "0:30 AM"},   {2, true, "11:59 AM", "11:00 AM"},  {2, false, "11:00 AM", "11:59 AM"},
        {2, true, "10:05 PM", "10:06 PM"},  {2, false, "10:06 PM", "10:05 PM"}, {3, true, "12:00 AM", "12:00 PM"},
        {3, false, "12:00 PM", "12:00 AM"}, {3, true, "12:00 xM", "12:00 xM"},  {2, true, "10: PM", "10: PM"},
        {1, true, "ab:10 AM", "ab:10 AM"},
    };
    for (const Case& c : cases) {
        const QString from = QString::fromLatin1(c.from);
        SCOPED_TRACE(from.toStdString() + (c.up ? " up " : " down ") + std::to_string(c.part));
        const int colon = int(from.indexOf(':'));
        setTime(from.left(colon), from.mid(colon + 1, from.indexOf(' ') - colon - 1), from.mid(from.indexOf(' ') + 1));
        step(c.part, c.up);
        EXPECT_EQ(QString::fromLatin1(c.to), time());
    }

    // 11:59 AM to 12:00 PM takes three steps, one per part.
    setTime("11", "59", "AM");
    step(2, true);
    EXPECT_EQ("11:00 AM", time());
    step(1, true);
    EXPECT_EQ("12:00 AM", time());
    step(3, true);
    EXPECT_EQ("12:00 PM", time());
}

TEST_F(MeasureTimeTest, TheFocusChoosesThePartAndTheMinuteComesFirst)
{
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    setTime("09", "15", "AM");
    EXPECT_EQ(0, form->TimePart);
    form->UpDownTime_UpClick();
    EXPECT_EQ(2, form->TimePart);
    EXPECT_EQ("09:16 AM", time());

    form->txtHr->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(1, form->TimePart);
    QTest::mouseClick(form->UpDownTime->upButton(), Qt::LeftButton);
    EXPECT_EQ("10:16 AM", time());
    EXPECT_TRUE(form->txtHr->hasFocus()) << "the up-down leaves the focus in the box";
    form->txtAMPM->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(3, form->TimePart);
    QTest::mouseClick(form->UpDownTime->downButton(), Qt::LeftButton);
    EXPECT_EQ("10:16 PM", time());
}

TEST_F(MeasureTimeTest, TheBoxesTakeTheirKeysAndShowTwoDigits)
{
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    // The hour takes digits only; leaving it writes two digits.
    form->txtHr->setFocus();
    form->txtHr->clear();
    QTest::keyClicks(form->txtHr, "x7");
    EXPECT_EQ("7", form->txtHr->text());
    form->txtMin->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ("07", form->txtHr->text());
    // An empty minute stays empty; one that is no number stays as typed.
    form->txtMin->clear();
    form->txtHr->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ("", form->txtMin->text());
    form->txtMin->setText("5a");
    form->txtMin_LostFocus();
    EXPECT_EQ("5a", form->txtMin->text());

    // AM/PM: "p" and "a" choose, any other key changes nothing.
    form->txtAMPM->setText("AM");
    QTest::keyClick(form->txtAMPM, 'p');
    EXPECT_EQ("PM", form->txtAMPM->text());
    QTest::keyClick(form->txtAMPM, 'x');
    EXPECT_EQ("PM", form->txtAMPM->text());
    QTest::keyClick(form->txtAMPM, 'A');
    EXPECT_EQ("AM", form->txtAMPM->text());

    // Locked in browse, the box keeps its text.
    form->cmdCancel_Click();
    const QString half = form->txtAMPM->text();
    int key = 'p';
    form->txtAMPM_KeyPress(key);
    EXPECT_EQ(half, form->txtAMPM->text());
}

// The calendar is made when first opened: what closes it before that finds none and leaves the
// date box and the calendar button as they are when it is closed.
TEST_F(MeasureTimeTest, ClosingTheCalendarBeforeItWasEverOpenedChangesNothing)
{
    ASSERT_EQ(nullptr, form->ctDt);
    const QDate shown = form->DateValue();
    const std::pair<const char*, std::function<void()>> closers[] = {
        {"cancel", [&] { form->cmdCancel_Click(); }},
        {"a picked date", [&] { form->ctDt_DateSelected(shown.day(), shown.month(), shown.year()); }},
    };
    for (const auto& [what, close] : closers) {
        SCOPED_TRACE(what);
        close();
        EXPECT_EQ(nullptr, form->ctDt);
        EXPECT_TRUE(form->txtDate->isEnabled());
        EXPECT_EQ(form->PicClipDt->GraphicCell(0).toImage(), form->cmdDt->Picture().toImage());
    }
    form->cmdDt_Click();
    ASSERT_NE(nullptr, form->ctDt);
    EXPECT_TRUE(form->ctDt->Visible());
    EXPECT_EQ(form, form->ctDt->parentWidget());
}

TEST_F(MeasureTimeTest, TheCalendarGivesTheDate)
{
    // Opening with no date writes today's and shows its month.
    form->ClearFields();
    form->cmdDt_Click();
    EXPECT_TRUE(form->ctDt->Visible());
    EXPECT_FALSE(form->txtDate->isEnabled());
    EXPECT_EQ(vb::Today(), form->DateValue());
    EXPECT_EQ("3/12/2024", form->txtDate->text());
    EXPECT_EQ(3, form->ctDt->Month());
    EXPECT_EQ(2024, form->ctDt->Year());
    EXPECT_EQ(form->PicClipDt->GraphicCell(2).toImage(), form->cmdDt->Picture().toImage());

    // A date picked closes it.
    form->ctDt_DateSelected(29, 2, 2024);
    EXPECT_FALSE(form->ctDt->Visible());
    EXPECT_TRUE(form->txtDate->isEnabled());
    EXPECT_EQ(QDate(2024, 2, 29), form->DateValue());
    EXPECT_EQ("2/29/2024", form->txtDate->text());
    EXPECT_EQ(form->PicClipDt->GraphicCell(0).toImage(), form->cmdDt->Picture().toImage());

    // Opened again it starts on the date held; a second click closes it unchanged.
    form->cmdDt_Click();
    EXPECT_EQ(29, form->ctDt->Day());
    EXPECT_EQ(2, form->ctDt->Month());
    form->cmdDt_Click();
    EXPECT_FALSE(form->ctDt->Visible());
    EXPECT_EQ(QDate(2024, 2, 29), form->DateValue());

    // Cancel closes an open calendar too.
    form->cmdDt_Click();
    form->cmdCancel_Click();
    EXPECT_FALSE(form->ctDt->Visible());
    EXPECT_TRUE(form->txtDate->isEnabled());
}

TEST_F(MeasureTimeTest, TheProposedTimeFollowsTheSetting)
{
    gDB->Execute("update Application set OptnTime = 0", dao::dbFailOnError);
    form->cmdCancel_Click();
    form->cmdAddNew_Click();
    EXPECT_EQ("12:00 AM", time());
    gDB->Execute("update Application set OptnTime = 3", dao::dbFailOnError);
    form->cmdCancel_Click();
    form->cmdAddNew_Click();
    EXPECT_EQ("10:00 AM", time());
}

TEST_F(MeasureTimeTest, TwelveAmIsMidnightAndTwelvePmIsNoon)
{
    struct Case {
        const char* hour;
        const char* minute;
        const char* half;
        QTime stored;
    };
    const Case cases[] = {{"12", "00", "AM", QTime(0, 0)},
                          {"12", "30", "PM", QTime(12, 30)},
                          {"07", "05", "PM", QTime(19, 5)},
                          {"1", "2", "am", QTime(1, 2)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toString().toStdString());
        form->cmdAddNew_Click();
        form->ctDt_DateSelected(2, 2, 2024);
        setTime(c.hour, c.minute, c.half);
        form->txtPlse->setText("66");
        form->cmdSave_Click();
        EXPECT_EQ(66, storedColumn(samplePerson, QDateTime(QDate(2024, 2, 2), c.stored, Qt::UTC), "PLSE").toInt());
        EXPECT_EQ(QDateTime(QDate(2024, 2, 2), c.stored, Qt::UTC), form->RecordKey());
    }
    EXPECT_TRUE(messages().Log().empty());
    expectAveragesMatch(samplePerson, QDate(2024, 2, 2));
}

TEST_F(MeasureTimeTest, AnEditKeepsTheRowsKeyWhateverTheBoxesSay)
{
    form->cmdCancel_Click();
    const QDateTime key = form->RecordKey();
    form->cmdEdit_Click();
    setTime("03", "33", "AM");
    form->ctDt_DateSelected(1, 1, 2001);
    form->txtPlse->setText("77");
    form->cmdSave_Click();
    EXPECT_EQ(77, storedColumn(samplePerson, key, "PLSE").toInt());
    EXPECT_EQ(0, count("select count(*) from MEASURE where year(MSRD_DT) = 2001"));
    EXPECT_EQ(key, form->RecordKey());
}

} // namespace
