// The Measurement form's entry details: the calendar after a save, the last week whose average
// can be kept, a long comment shown from its start, and the entries handed to the store.
#include "test_measure_support.h"

#include "platform/controls/ctDate.h"

namespace {

using testing_measure::at;
using testing_measure::MeasureFixture;

class MeasureEntryTest : public MeasureFixture {
protected:
    // A new reading on the date picked, at 7:45 AM, with a pulse.
    void enterOn(const QDate& d)
    {
        form->cmdAddNew_Click();
        form->ctDt_DateSelected(d.day(), d.month(), d.year());
        form->txtHr->setText("07");
        form->txtMin->setText("45");
        form->txtAMPM->setText("AM");
        form->txtPlse->setText("70");
    }
};

TEST_F(MeasureEntryTest, AnOpenCalendarStaysOpenAfterASuccessfulSave)
{
    openForm();
    enterOn(QDate(2024, 3, 10));
    form->cmdDt_Click();
    ASSERT_FALSE(form->ctDt->isHidden());
    form->cmdSave_Click();
    EXPECT_TRUE(messages().Log().empty());
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1 and MSRD_DT = #3/10/2024 7:45 AM#")
                           .arg(samplePerson)));
    EXPECT_FALSE(form->ctDt->isHidden());
}

TEST_F(MeasureEntryTest, AWeekEndingPastTheYear9999IsRefusedWithAClearMessage)
{
    openForm();
    const int before = measureCount(samplePerson);
    struct Case {
        QDate date;
        bool saved;
    };
    // 12/31/9999 is a Friday: its week would end on 1/2/10000.
    const Case cases[] = {{QDate(9999, 12, 26), true}, {QDate(9999, 12, 27), false}, {QDate(9999, 12, 31), false}};
    int saved = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        messages().Clear();
        enterOn(c.date);
        if (!c.saved)
            answer(vb::vbOK);
        form->cmdSave_Click();
        saved += c.saved;
        EXPECT_EQ(before + saved, measureCount(samplePerson));
        if (c.saved) {
            EXPECT_TRUE(messages().Log().empty());
        } else {
            ASSERT_EQ(1u, messages().Log().size());
            EXPECT_EQ("Please choose a date up to 12/26/9999: the averages of a later week cannot be kept.", lastBox().text);
            form->cmdCancel_Click();
        }
    }
}

TEST_F(MeasureEntryTest, UnderATwoDigitYearPatternTheCalendarsDaysAndTheirTextsNameTheirYearBeyondDoubt)
{
    gShortDateFormat = QStringLiteral("M/d/yy");
    openForm();
    form->cmdAddNew_Click();
    form->cmdDt_Click();
    EXPECT_EQ(form->ctDt->minimumDate(), QDate(100, 1, 1));
    EXPECT_EQ(form->ctDt->maximumDate(), QDate(9999, 12, 26));
    form->cmdDt_Click();
    // Two digits stand for a year of 1930 to 2029; any other year shows in full.
    const std::pair<QDate, const char*> shown[] = {
        {QDate(2024, 3, 12), "3/12/24"}, {QDate(150, 12, 15), "12/15/0150"}, {QDate(1929, 1, 2), "1/2/1929"}};
    for (const auto& [date, text] : shown) {
        form->ctDt_DateSelected(date.day(), date.month(), date.year());
        EXPECT_EQ(form->txtDate->text(), QString::fromLatin1(text));
    }
    form->cmdCancel_Click();

    enterOn(QDate(9999, 12, 27));
    answer(vb::vbOK);
    form->cmdSave_Click();
    EXPECT_EQ("Please choose a date up to 12/26/9999: the averages of a later week cannot be kept.", lastBox().text);
    form->cmdCancel_Click();
    enterOn(QDate(99, 12, 31));
    answer(vb::vbOK);
    form->cmdSave_Click();
    EXPECT_EQ("Please choose a date from 1/1/0100 on: earlier dates cannot be kept.", lastBox().text);
}

TEST_F(MeasureEntryTest, ALongCommentShowsFromItsStartAndTheEntriesReachTheStoreAsValues)
{
    openForm();
    const QString comment = QString(QStringLiteral("Zoë's \"long\" note; ")).repeated(5);
    enterOn(QDate(2024, 3, 9));
    form->txtHBP->setText("120");
    form->txtLBP->setText("0"); // a zero entry is no reading
    form->txtWt->setText("72.5");
    form->txtCmmnt->setText(comment);
    const Measurement m = form->EnteredMeasurement(at(2024, 3, 9, 7, 45));
    EXPECT_EQ(120, m.highPressure);
    EXPECT_FALSE(m.lowPressure.has_value());
    EXPECT_EQ(70, m.pulse);
    EXPECT_DOUBLE_EQ(72.5, *m.weight);
    EXPECT_FALSE(m.moodKey.has_value()); // "(Unknown)"
    EXPECT_EQ(comment, m.comment);

    form->cmdSave_Click();
    ASSERT_TRUE(messages().Log().empty());
    EXPECT_EQ(comment, form->txtCmmnt->text());
    EXPECT_EQ(0, form->txtCmmnt->cursorPosition());
}

} // namespace
