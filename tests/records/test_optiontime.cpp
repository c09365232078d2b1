// The default measurement time form: the stored choice, the example time of each option at fixed
// moments (rounding to the quarter and the hour, ties to even, midnight), the previous
// measurement's time, keeping the choice, and the push into a Measurement form that is adding.
#include "records/RecordsFixture.h"
#include "records/frmMeasure.h"
#include "records/frmOptionTime.h"

#include "data/modFunctions.h"
#include "platform/controls/UpDown.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

class OptionTimeTest : public testing_records::RecordsFixture {
protected:
    frmOptionTime& openForm()
    {
        form = &vb::defaultInstance<frmOptionTime>();
        form->Load();
        return *form;
    }

    void at(int hour, int minute, int second = 0)
    {
        services().runtime().clock().Set(QDate(2024, 3, 12), QTime(hour, minute, second));
    }

    QString exampleOf(int option)
    {
        form->OptnTime[std::size_t(option)]->click();
        return form->lblTime->text();
    }

    QVariant storedOption() { return value(QStringLiteral("select OptnTime from Application")); }

    void addReading(qint32 person, const QDateTime& when)
    {
        gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP, LBP) values (%1, %2, 120, 80)")
                         .arg(person)
                         .arg(modFunctions::SqlDateTime(when)),
                     dao::dbFailOnError);
    }

    frmOptionTime* form = nullptr;
};

TEST_F(OptionTimeTest, OpensOnTheStoredOptionAndANullSettingMeansTheCurrentTime)
{
    at(13, 5, 42);
    gDB->Execute(QStringLiteral("update Application set OptnTime = Null"));
    openForm();
    EXPECT_EQ(QStringLiteral("Setting Default Measurement Time"), form->Caption());
    EXPECT_TRUE(form->OptnTime[1]->isChecked());
    EXPECT_EQ(QStringLiteral("01:05 PM"), form->lblTime->text());
    form->Unload();

    gDB->Execute(QStringLiteral("update Application set OptnTime = 3"));
    openForm();
    EXPECT_TRUE(form->OptnTime[3]->isChecked());
    EXPECT_EQ(QStringLiteral("01:00 PM"), form->lblTime->text());
    form->Unload();

    // A value the program never writes chooses nothing and leaves the example empty.
    gDB->Execute(QStringLiteral("update Application set OptnTime = 9"));
    openForm();
    for (QRadioButton* option : form->OptnTime)
        EXPECT_FALSE(option->isChecked());
    EXPECT_TRUE(form->lblTime->text().isEmpty());
}

TEST_F(OptionTimeTest, EachClockOptionGivesItsTimeForTheMoment)
{
    openForm();
    struct Case {
        int hour, minute, second, option;
        const char* expected;
    };
    const Case cases[] = {
        {23, 53, 0, 0, "12:00 AM"}, {23, 53, 0, 1, "11:53 PM"},  {23, 53, 0, 2, "12:00 AM"}, {23, 53, 0, 3, "12:00 AM"},
        {10, 7, 0, 2, "10:00 AM"},  {10, 7, 0, 3, "10:00 AM"},   {10, 8, 0, 2, "10:15 AM"},  {10, 8, 0, 3, "10:00 AM"},
        {10, 7, 30, 2, "10:00 AM"}, {10, 52, 30, 2, "11:00 AM"}, {14, 30, 0, 3, "02:00 PM"}, {15, 30, 0, 3, "04:00 PM"},
        {14, 30, 1, 3, "03:00 PM"}, {14, 29, 0, 3, "02:00 PM"},  {0, 7, 0, 2, "12:00 AM"},   {12, 0, 0, 1, "12:00 PM"},
        {11, 53, 0, 2, "12:00 PM"}, {0, 0, 0, 1, "12:00 AM"},
    };
    for (const Case& c : cases) {
        at(c.hour, c.minute, c.second);
        EXPECT_EQ(QLatin1String(c.expected), exampleOf(c.option))
            << c.hour << ":" << c.minute << ":" << c.second << " option " << c.option;
    }
}

TEST_F(OptionTimeTest, PreviousMeasurementOptionsTakeThisPersonsAndAnyonesLatestTime)
{
    gDB->Execute(QStringLiteral("delete from MEASURE"));
    gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('Second Person')"), dao::dbFailOnError);
    const qint32 other = count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = 'Second Person'"));
    openForm();
    EXPECT_EQ(QStringLiteral("12:00 AM"), exampleOf(4));
    EXPECT_EQ(QStringLiteral("12:00 AM"), exampleOf(5));

    addReading(samplePerson, QDateTime(QDate(2024, 3, 10), QTime(7, 45), Qt::UTC));
    addReading(samplePerson, QDateTime(QDate(2024, 3, 11), QTime(6, 5), Qt::UTC));
    addReading(other, QDateTime(QDate(2024, 3, 11), QTime(21, 10), Qt::UTC));
    gPersonKey = samplePerson;
    EXPECT_EQ(QStringLiteral("06:05 AM"), exampleOf(4));
    EXPECT_EQ(QStringLiteral("09:10 PM"), exampleOf(5));
    gPersonKey = other;
    EXPECT_EQ(QStringLiteral("09:10 PM"), exampleOf(4));
}

TEST_F(OptionTimeTest, SaveKeepsTheChoiceOnlyWhenAskedAndCancelKeepsNothing)
{
    gDB->Execute(QStringLiteral("update Application set OptnTime = 1"));
    openForm();
    form->OptnTime[2]->click();
    form->cmdSave_Click();
    EXPECT_EQ(1, storedOption().toInt());
    EXPECT_FALSE(form->Loaded());

    openForm();
    form->OptnTime[5]->click();
    form->chkSetting->setChecked(true);
    form->cmdCancel_Click();
    EXPECT_EQ(1, storedOption().toInt());
    EXPECT_FALSE(form->Loaded());

    openForm();
    form->OptnTime[0]->click();
    form->chkSetting->setChecked(true);
    form->cmdSave_Click();
    EXPECT_EQ(0, storedOption().toInt());
}

TEST_F(OptionTimeTest, SavePutsTheExampleIntoAMeasurementFormThatIsAddingOnly)
{
    at(10, 8);
    gPersonKey = samplePerson;
    frmMeasure& measure = vb::defaultInstance<frmMeasure>();
    measure.Load();
    ASSERT_EQ(QStringLiteral("browse"), measure.EditMode);
    const QString hour = measure.txtHr->text();
    const QString minute = measure.txtMin->text();
    const QString half = measure.txtAMPM->text();

    // Browsing: the time boxes show the row and stay as they are.
    openForm();
    form->OptnTime[2]->click();
    form->cmdSave_Click();
    EXPECT_EQ(hour, measure.txtHr->text());
    EXPECT_EQ(minute, measure.txtMin->text());
    EXPECT_EQ(half, measure.txtAMPM->text());

    // Adding: the example goes into the boxes, whether or not the choice is kept.
    measure.cmdAddNew_Click();
    ASSERT_TRUE(measure.UpDownTime->isEnabled());
    at(14, 38);
    openForm();
    form->OptnTime[2]->click();
    EXPECT_EQ(QStringLiteral("02:45 PM"), form->lblTime->text());
    at(16, 1); // the example is not computed again at Save
    form->cmdSave_Click();
    EXPECT_EQ(QStringLiteral("02"), measure.txtHr->text());
    EXPECT_EQ(QStringLiteral("45"), measure.txtMin->text());
    EXPECT_EQ(QStringLiteral("PM"), measure.txtAMPM->text());

    openForm();
    form->OptnTime[0]->click();
    form->cmdSave_Click();
    EXPECT_EQ(QStringLiteral("12"), measure.txtHr->text());
    EXPECT_EQ(QStringLiteral("00"), measure.txtMin->text());
    EXPECT_EQ(QStringLiteral("AM"), measure.txtAMPM->text());

    // Editing: nothing is pushed.
    measure.cmdCancel_Click();
    measure.cmdEdit_Click();
    ASSERT_EQ(QStringLiteral("edit"), measure.EditMode);
    const QString editHour = measure.txtHr->text();
    openForm();
    form->OptnTime[3]->click();
    form->cmdSave_Click();
    EXPECT_EQ(editHour, measure.txtHr->text());
}

} // namespace
