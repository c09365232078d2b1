// Saving and deleting on the Measurement form: add, replace (the question and both answers),
// edit and delete, each with the day, week and month averages recomputed from MEASURE; the
// checks before a save and their messages; what is stored for empty, zero, swapped and quoted
// entries; dates kept as dates whatever the short-date pattern; deleting at every position; a
// save while another program holds the database.
#include "test_measure_support.h"

#include "data/clsAverage.h"
#include "data/clsCreateMDB.h"
#include "platform/runtime/App.h"

#include <QGroupBox>
#include <QTest>

#include <sqlite3.h>

namespace {

using testing_measure::at;
using testing_measure::Entry;
using testing_measure::MeasureFixture;
using testing_measure::Values;

class MeasureSaveTest : public MeasureFixture {};

Values values(std::optional<double> lbp, std::optional<double> hbp, std::optional<double> plse, std::optional<double> wt,
              std::optional<double> temp = {}, std::optional<double> temp1 = {}, std::optional<double> temp2 = {})
{
    return {lbp, hbp, plse, wt, temp, temp1, temp2};
}

TEST_F(MeasureSaveTest, AddReplaceEditAndDeleteKeepTheAveragesRight)
{
    openForm();
    const int before = measureCount(samplePerson);
    const QDateTime evening = at(2024, 3, 12, 19, 5);
    const QDateTime morning = at(2024, 3, 12, 8, 30);

    // Add: the row, the averages, and the form back in browse on the new row.
    addMeasurement(evening, {.high = "120", .low = "80", .pulse = "72", .weight = "150.5", .comment = "after a walk"});
    EXPECT_TRUE(messages().Log().empty());
    EXPECT_EQ(values(80, 120, 72, 150.5), storedValues(samplePerson, evening));
    EXPECT_EQ("after a walk", storedColumn(samplePerson, evening, "CMMNT").toString());
    EXPECT_EQ("browse", form->EditMode);
    EXPECT_EQ(evening, form->RecordKey());
    EXPECT_EQ(QStringLiteral("Measurement: 1 of %1").arg(before + 1), form->datInfo->Caption());
    EXPECT_EQ("120", form->txtHBP->text());
    EXPECT_EQ("07", form->txtHr->text());
    EXPECT_EQ("PM", form->txtAMPM->text());
    expectAveragesMatch(samplePerson, evening.date());

    // Whatever order the grid had, a save shows it newest first again.
    form->RequeryMeasurements(3, false);
    addMeasurement(morning, {.high = "131", .low = "85", .pulse = "65", .weight = "151.1"});
    EXPECT_EQ(before + 2, measureCount(samplePerson));
    EXPECT_EQ(morning, form->RecordKey());
    EXPECT_EQ(evening, rows()->valueAt(0, 3).toDateTime());
    EXPECT_EQ(QStringLiteral("Measurement: 2 of %1").arg(before + 2), form->datInfo->Caption());
    expectAveragesMatch(samplePerson, morning.date());

    // The same minute again: the replace question, Yes the default. No keeps the stored row
    // and shows it.
    answer(vb::vbNo);
    addMeasurement(evening, {.high = "140", .low = "95", .comment = ""});
    const auto& question = lastBox();
    EXPECT_EQ("Measurement for the same date exists in database.\r\nDo you want to replace it?", question.text);
    EXPECT_EQ(vb::vbExclamation, question.icon);
    EXPECT_EQ(vb::vbYesNo, question.buttons);
    EXPECT_EQ(vb::vbDefaultButton1, question.defaultButton);
    EXPECT_EQ(App::Title(), question.title);
    EXPECT_EQ(values(80, 120, 72, 150.5), storedValues(samplePerson, evening));
    EXPECT_EQ("browse", form->EditMode);
    EXPECT_EQ(evening, form->RecordKey());
    EXPECT_EQ("120", form->txtHBP->text());
    EXPECT_EQ("after a walk", form->txtCmmnt->text());

    // Yes overwrites every value column, the comment included.
    answer(vb::vbYes);
    addMeasurement(evening, {.high = "140", .low = "95", .comment = ""});
    EXPECT_EQ(values(95, 140, {}, {}), storedValues(samplePerson, evening));
    EXPECT_EQ("", storedColumn(samplePerson, evening, "CMMNT").toString());
    EXPECT_EQ(before + 2, measureCount(samplePerson));
    expectAveragesMatch(samplePerson, evening.date());

    // Edit the morning reading: its key stays, its values change.
    rows()->FindFirst(QStringLiteral("MSRD_DT = #3/12/2024 8:30 AM#"));
    form->cmdEdit_Click();
    EXPECT_EQ("edit", form->EditMode);
    form->txtPlse->setText("99");
    form->txtWt->setText("149.9");
    form->cmdSave_Click();
    EXPECT_EQ(values(85, 131, 99, 149.9), storedValues(samplePerson, morning));
    EXPECT_EQ(morning, form->RecordKey());
    EXPECT_EQ("browse", form->EditMode);
    expectAveragesMatch(samplePerson, morning.date());

    // Delete both: the day's row goes; week and month follow what is left.
    rows()->FindFirst(QStringLiteral("MSRD_DT = #3/12/2024 8:30 AM#"));
    form->cmdDelete_Click();
    EXPECT_FALSE(storedValues(samplePerson, morning));
    expectAveragesMatch(samplePerson, morning.date());
    rows()->FindFirst(QStringLiteral("MSRD_DT = #3/12/2024 7:05 PM#"));
    form->cmdDelete_Click();
    EXPECT_EQ(before, measureCount(samplePerson));
    expectAveragesMatch(samplePerson, evening.date());
    EXPECT_EQ(
        0, count(QStringLiteral("select count(*) from AVERAGE_DAY where PRSN_KY = %1 and DT = #3/12/2024#").arg(samplePerson)));
}

TEST_F(MeasureSaveTest, EditingASampleReadingRecomputesItsPeriods)
{
    openForm();
    rows()->MoveLast(); // the oldest reading
    const QDateTime key = form->RecordKey();
    form->cmdEdit_Click();
    form->txtHBP->setText("180");
    form->txtLBP->setText("110");
    form->txtTemp[0]->setText("99.5");
    form->cmdSave_Click();
    EXPECT_EQ(180, storedColumn(samplePerson, key, "HBP").toInt());
    EXPECT_FLOAT_EQ(99.5f, storedColumn(samplePerson, key, "TEMP").toFloat());
    expectAveragesMatch(samplePerson, key.date());
}

// What the form shows of a stored reading is what an edit left alone writes back.
TEST_F(MeasureSaveTest, AReadingShownAndSavedUnchangedStaysAsStored)
{
    openForm();
    const auto keyOf = [](const QComboBox* list) { return qint32(list->itemData(list->count() - 1).toLongLong()); };
    Measurement full{.personKey = samplePerson,
                     .measured = at(2024, 3, 14, 21, 45),
                     .moodKey = keyOf(form->cboMood),
                     .regimenKey = keyOf(form->cboRegimen),
                     .lowPressure = 79,
                     .highPressure = 121,
                     .pulse = 64,
                     .weight = 150.5,
                     .temp = 98.6,
                     .temp1 = 0.1,
                     .sugar = 5.4,
                     .comment = QStringLiteral("it's \"fine\"; Café, Ærø"),
                     .goalKey = keyOf(form->CboDbtsGl)};
    Measurement bare;
    bare.personKey = samplePerson;
    bare.measured = at(2024, 3, 15, 0, 5);
    bare.weight = 99999.0;
    for (const Measurement& m : {full, bare}) {
        SCOPED_TRACE(m.measured.toString().toStdString());
        MeasurementStore().add(m);
        form->RequeryMeasurements(0, true);
        rows()->FindFirst(QStringLiteral("MSRD_DT = ") + testing_measure::dateTimeLiteral(m.measured));
        ASSERT_FALSE(rows()->NoMatch());
        form->cmdEdit_Click();
        form->cmdSave_Click();
        EXPECT_TRUE(messages().Log().empty());
        EXPECT_EQ(m, MeasurementStore().find(samplePerson, m.measured));
    }
}

TEST_F(MeasureSaveTest, ChecksBeforeSavingStopWithTheirMessages)
{
    struct Case {
        const char* what;
        Entry entry;
        QString text;
        int icon;
        QString title;
    };
    const QString program = App::Title();
    const QString software = App::Title() + " Software";
    const QString noData = "Please enter measurement data.";
    const QString bothBp = "Please enter both high and low blood pressure measurements.";
    const Case cases[] = {
        {"all empty, with mood and comment", {.comment = "x", .moodIndex = 1}, noData, vb::vbExclamation, software},
        {"all zero",
         {.high = "0", .low = "0", .pulse = "0", .weight = "0", .temp = "0", .temp1 = "0", .sugar = "0"},
         noData,
         vb::vbExclamation,
         software},
        {"high without low", {.high = "120"}, bothBp, vb::vbExclamation, program},
        {"high 0, low empty, with a pulse", {.high = "0", .pulse = "70"}, bothBp, vb::vbExclamation, program},
        {"sugar without a goal",
         {.sugar = "110"},
         "For diabetes reading, you also need to choose Goal Name from drop down.",
         vb::vbInformation,
         software},
        {"pulse out of range", {.pulse = "99999"}, "Pulse must be a whole number from 0 to 999.", vb::vbExclamation, program},
        {"pressure not a number",
         {.high = "1/2", .low = "80"},
         "High blood pressure must be a whole number from 0 to 999.",
         vb::vbExclamation,
         program},
        {"weight not a number",
         {.weight = "7x"},
         "Weight must be a number from 0 to 99999, such as 72.5.",
         vb::vbExclamation,
         program},
        {"sugar too large",
         {.sugar = "123456", .goalIndex = 0},
         "Sugar must be a number from 0 to 99999, such as 72.5.",
         vb::vbExclamation,
         program},
        {"comment too long",
         {.pulse = "70", .comment = QString(101, 'c')},
         "The comment can hold at most 100 characters; please shorten it.",
         vb::vbExclamation,
         program},
    };
    openForm();
    const int before = count("select count(*) from MEASURE");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages().Clear();
        answer(vb::vbOK);
        form->cmdAddNew_Click();
        type(c.entry);
        form->cmdSave_Click();
        ASSERT_EQ(1u, messages().Log().size());
        EXPECT_EQ(c.text, lastBox().text);
        EXPECT_EQ(c.icon, lastBox().icon);
        EXPECT_EQ(c.title, lastBox().title);
        EXPECT_EQ(vb::vbOKOnly, lastBox().buttons);
        EXPECT_EQ(vb::vbDefaultButton1, lastBox().defaultButton);
        EXPECT_EQ("addnew", form->EditMode) << "the entries stay for correcting";
        EXPECT_EQ(c.entry.comment, form->txtCmmnt->text());
        form->cmdCancel_Click();
    }
    EXPECT_EQ(before, count("select count(*) from MEASURE"));

    // A time that is no clock time is refused too.
    answer(vb::vbOK);
    form->cmdAddNew_Click();
    type({.pulse = "70"});
    form->txtHr->setText("13");
    form->cmdSave_Click();
    EXPECT_EQ("Please enter a valid time: the hour from 01 to 12, the minute from 00 to 59, and AM or PM.", lastBox().text);
    answer(vb::vbOK);
    form->txtHr->setText("12");
    form->txtMin->setText("6x");
    form->cmdSave_Click();
    EXPECT_EQ("Please enter a valid time: the hour from 01 to 12, the minute from 00 to 59, and AM or PM.", lastBox().text);
    EXPECT_EQ(before, count("select count(*) from MEASURE"));
}

TEST_F(MeasureSaveTest, EmptyZeroSwappedAndQuotedEntriesAreStoredSoundly)
{
    openForm();
    // A pulse and a comment only: every other value Null, mood and regimen "(Unknown)" Null.
    const QDateTime t1 = at(2024, 3, 11, 9, 0);
    addMeasurement(t1, {.pulse = "72", .comment = "didn't sleep; 'fine'"});
    EXPECT_EQ(values({}, {}, 72, {}), storedValues(samplePerson, t1));
    EXPECT_TRUE(storedColumn(samplePerson, t1, "MD_KY").isNull());
    EXPECT_TRUE(storedColumn(samplePerson, t1, "RGMN_KY").isNull());
    EXPECT_TRUE(storedColumn(samplePerson, t1, "GL_KY").isNull());
    // The quote is kept as typed and shown again.
    EXPECT_EQ("didn't sleep; 'fine'", storedColumn(samplePerson, t1, "CMMNT").toString());
    EXPECT_EQ("didn't sleep; 'fine'", form->txtCmmnt->text());

    // Low above high: swapped. Equal values stay. Both 0: both Null.
    const QDateTime t2 = at(2024, 3, 11, 10, 0);
    addMeasurement(t2, {.high = "80", .low = "120"});
    EXPECT_EQ(values(80, 120, {}, {}), storedValues(samplePerson, t2));
    const QDateTime t3 = at(2024, 3, 11, 11, 0);
    addMeasurement(t3, {.high = "120", .low = "120"});
    EXPECT_EQ(values(120, 120, {}, {}), storedValues(samplePerson, t3));
    const QDateTime t4 = at(2024, 3, 11, 12, 0);
    addMeasurement(t4, {.high = "0", .low = "0", .pulse = "60"});
    EXPECT_EQ(values({}, {}, 60, {}), storedValues(samplePerson, t4));

    // A goal without a sugar value is not stored; a sugar of 0 stores neither.
    const QDateTime t5 = at(2024, 3, 11, 13, 0);
    addMeasurement(t5, {.pulse = "61", .goalIndex = 0});
    EXPECT_TRUE(storedColumn(samplePerson, t5, "GL_KY").isNull());
    const QDateTime t6 = at(2024, 3, 11, 14, 0);
    addMeasurement(t6, {.pulse = "62", .sugar = "0"});
    EXPECT_TRUE(storedColumn(samplePerson, t6, "TEMP2").isNull());
    EXPECT_TRUE(storedColumn(samplePerson, t6, "GL_KY").isNull());

    // Sugar with a goal, a mood and a regimen: their keys.
    gDB->Execute("insert into REGIMEN (RGMN_NM, RGMN_DTL) values ('Walk', 'daily')", dao::dbFailOnError);
    const int other = addPerson("Aino Kestrel");
    form->Unload();
    openForm();
    const QDateTime t7 = at(2024, 3, 11, 15, 0);
    addMeasurement(
        t7,
        {.weight = "70.5", .sugar = "110.5", .goalIndex = 0, .moodIndex = 1, .regimenIndex = form->cboRegimen->findText("Walk")});
    EXPECT_EQ(form->CboDbtsGl->itemData(0).toInt(), storedColumn(samplePerson, t7, "GL_KY").toInt());
    EXPECT_EQ(form->cboMood->itemData(1).toInt(), storedColumn(samplePerson, t7, "MD_KY").toInt());
    EXPECT_EQ(count("select RGMN_KY from REGIMEN where RGMN_NM = 'Walk'"), storedColumn(samplePerson, t7, "RGMN_KY").toInt());
    EXPECT_FLOAT_EQ(110.5f, storedColumn(samplePerson, t7, "TEMP2").toFloat());
    EXPECT_EQ("70.5", form->txtWt->text());
    EXPECT_EQ("110.5", form->txtTemp[2]->text());
    EXPECT_EQ(0, form->CboDbtsGl->currentIndex());
    expectAveragesMatch(samplePerson, t7.date());

    // The same date and time for another person is a new row, without a question.
    form->cboPerson->setCurrentIndex(form->cboPerson->findData(other));
    EXPECT_EQ(other, gPersonKey);
    addMeasurement(t7, {.pulse = "80"});
    EXPECT_TRUE(messages().Log().empty());
    EXPECT_EQ(values({}, {}, 80, {}), storedValues(other, t7));
    expectAveragesMatch(other, t7.date());
}

TEST_F(MeasureSaveTest, TheCommentCannotBeTypedPastItsWidth)
{
    openForm();
    form->show();
    form->cmdAddNew_Click();
    form->txtCmmnt->setText(QString(99, 'a'));
    form->txtCmmnt->setCursorPosition(99);
    QTest::keyClicks(form->txtCmmnt, "bcd");
    EXPECT_EQ(100, form->txtCmmnt->text().size());
    EXPECT_EQ(QString(99, 'a') + "b", form->txtCmmnt->text()) << form->txtCmmnt->text().right(5).toStdString();
}

TEST_F(MeasureSaveTest, ADateAfter2029IsStoredInItsCenturyUnderATwoDigitYearPattern)
{
    gShortDateFormat = "M/d/yy";
    openForm();
    const QDateTime when = at(2030, 3, 8, 7, 45);
    form->cmdAddNew_Click();
    form->ctDt_DateSelected(8, 3, 2030);
    // Two digits would read back as 1930: the year shows in full.
    EXPECT_EQ("3/8/2030", form->txtDate->text());
    EXPECT_EQ("M/d/yy", form->txtDate->toolTip());
    form->txtHr->setText("07");
    form->txtMin->setText("45");
    form->txtAMPM->setText("AM");
    form->txtPlse->setText("70");
    form->cmdSave_Click();
    EXPECT_TRUE(messages().Log().empty());
    EXPECT_EQ(values({}, {}, 70, {}), storedValues(samplePerson, when));
    EXPECT_EQ(0, count("select count(*) from MEASURE where year(MSRD_DT) = 1930"));
    EXPECT_EQ("3/8/2030", form->txtDate->text());
    expectAveragesMatch(samplePerson, when.date());

    // An edit of that row keeps its key.
    form->cmdEdit_Click();
    form->txtPlse->setText("71");
    form->cmdSave_Click();
    EXPECT_EQ(71, storedColumn(samplePerson, when, "PLSE").toInt());
    EXPECT_EQ(1, count("select count(*) from MEASURE where year(MSRD_DT) = 2030"));
}

// A person with three readings, newest first: 3 June, 2 June, 1 June.
class MeasureDeleteTest : public MeasureFixture {
protected:
    void SetUp() override
    {
        MeasureFixture::SetUp();
        person = addPerson("Delia Morrow");
        gPersonKey = person;
        for (const QDateTime& t : readings) {
            gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, PLSE, WT) values (%1, %2, %3, 70.5)")
                             .arg(person)
                             .arg(testing_measure::dateTimeLiteral(t))
                             .arg(60 + t.date().day()),
                         dao::dbFailOnError);
            clsAverage().UpdateAverages(t, clsAverage::actAdded);
        }
        openForm();
        ASSERT_EQ(3, shownRows());
    }

    void expectStandingOn(const QDateTime& t, int position, int total)
    {
        EXPECT_EQ(t, form->RecordKey());
        EXPECT_EQ(QStringLiteral("Measurement: %1 of %2").arg(position).arg(total), form->datInfo->Caption());
        EXPECT_EQ(QString::number(60 + t.date().day()), form->txtPlse->text());
        EXPECT_EQ("browse", form->EditMode);
    }

    int person = 0;
    const QDateTime readings[3] = {at(2023, 6, 1, 8, 0), at(2023, 6, 2, 8, 0), at(2023, 6, 3, 8, 0)};
};

TEST_F(MeasureDeleteTest, TheMiddleRowLeavesTheFormOnTheRowThatFollowed)
{
    rows()->setAbsolutePosition(1);
    form->cmdDelete_Click();
    EXPECT_FALSE(storedValues(person, readings[1]));
    expectStandingOn(readings[0], 2, 2);
    expectAveragesMatch(person, readings[1].date());
}

TEST_F(MeasureDeleteTest, TheNewestRowLeavesTheFormOnTheNextNewest)
{
    form->cmdDelete_Click();
    expectStandingOn(readings[1], 1, 2);
    expectAveragesMatch(person, readings[2].date());
}

TEST_F(MeasureDeleteTest, TheOldestRowLeavesTheFormOnARowThatExists)
{
    rows()->MoveLast();
    form->cmdDelete_Click();
    EXPECT_FALSE(storedValues(person, readings[0]));
    expectStandingOn(readings[1], 2, 2);
    expectAveragesMatch(person, readings[0].date());
}

TEST_F(MeasureDeleteTest, TheOnlyRowEmptiesTheFieldsAndTheCounter)
{
    form->cmdDelete_Click();
    form->cmdDelete_Click();
    ASSERT_EQ(1, shownRows());
    form->cmdDelete_Click();
    EXPECT_EQ(0, measureCount(person));
    EXPECT_EQ("Measurement: 0", form->datInfo->Caption());
    EXPECT_EQ("", form->txtPlse->text());
    EXPECT_EQ("", form->txtDate->text());
    EXPECT_FALSE(form->DateValue().isValid());
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from AVERAGE_MONTH where PRSN_KY = %1").arg(person)));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from AVERAGE_WEEK where PRSN_KY = %1").arg(person)));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from AVERAGE_DAY where PRSN_KY = %1").arg(person)));
    // Nothing left to delete or edit.
    form->cmdDelete_Click();
    form->cmdEdit_Click();
    EXPECT_EQ("browse", form->EditMode);
}

// Another program holds a write lock on the database file.
class LockedDatabaseTest : public MeasureFixture {
protected:
    void lock()
    {
        ASSERT_EQ(SQLITE_OK, sqlite3_open(clsCreateMDB::databasePath().toUtf8().constData(), &other));
        ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
        // Our side gives up at once instead of waiting for the lock.
        sqlite3_busy_timeout(gDB->handle(), 0);
    }
    void unlock()
    {
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        other = nullptr;
    }
    void TearDown() override
    {
        if (other)
            unlock();
        MeasureFixture::TearDown();
    }
    sqlite3* other = nullptr;
};

TEST_F(LockedDatabaseTest, ASaveIsRefusedWithAClearMessageAndLosesNothing)
{
    openForm();
    const QDateTime when = at(2024, 3, 12, 6, 15);
    const int averages = count("select count(*) from AVERAGE_DAY");
    lock();
    answer(vb::vbOK);
    addMeasurement(when, {.high = "125", .low = "82", .comment = "kept"});
    ASSERT_EQ(1u, messages().Log().size());
    EXPECT_EQ(vb::vbCritical, lastBox().icon);
    EXPECT_EQ("Error: 3218", lastBox().title);
    EXPECT_TRUE(lastBox().text.contains("locked")) << lastBox().text.toStdString();
    // The entries wait in add mode for another try.
    EXPECT_EQ("addnew", form->EditMode);
    EXPECT_EQ("125", form->txtHBP->text());
    EXPECT_EQ("kept", form->txtCmmnt->text());
    unlock();
    EXPECT_FALSE(storedValues(samplePerson, when));
    EXPECT_EQ(averages, count("select count(*) from AVERAGE_DAY"));

    form->cmdSave_Click();
    EXPECT_EQ(values(82, 125, {}, {}), storedValues(samplePerson, when));
    EXPECT_EQ("browse", form->EditMode);
    expectAveragesMatch(samplePerson, when.date());
}

TEST_F(LockedDatabaseTest, ADeleteIsRefusedAndTheRowStays)
{
    openForm();
    const QDateTime key = form->RecordKey();
    lock();
    answer(vb::vbOK);
    form->cmdDelete_Click();
    EXPECT_EQ("Error: 3218", lastBox().title);
    EXPECT_EQ("browse", form->EditMode);
    unlock();
    EXPECT_TRUE(storedValues(samplePerson, key));
    expectAveragesMatch(samplePerson, key.date());
}

// A save reads the saved row again into the grid's rows rather than reloading them all: after
// each kind of save, the rows (every cell) and the grid's lines are those a fresh query gives.
TEST_F(MeasureSaveTest, AfterEachSaveTheGridHoldsWhatTheDatabaseHolds)
{
    openForm();
    auto expectFresh = [&](const char* what, const QDateTime& saved) {
        const auto shown = rows();
        const auto fresh = gDB->OpenRecordset(form->datInfo->RecordSource(), dao::dbOpenSnapshot);
        ASSERT_EQ(fresh->RecordCount(), shown->RecordCount()) << what;
        ASSERT_EQ(fresh->columnCount(), shown->columnCount()) << what;
        for (int r = 0; r < fresh->RecordCount(); ++r)
            for (int c = 0; c < fresh->columnCount(); ++c)
                ASSERT_EQ(fresh->valueAt(r, c), shown->valueAt(r, c)) << what << " row " << r << " column " << c;
        EXPECT_EQ(form->vsFGInfo->FixedRows() + fresh->RecordCount(), form->vsFGInfo->Rows()) << what;
        EXPECT_EQ(saved, form->RecordKey()) << what;
        EXPECT_EQ(saved, shown->Fields(3).Value().toDateTime()) << what;
        EXPECT_EQ(QStringLiteral("Measurement: %1 of %2").arg(shown->AbsolutePosition() + 1).arg(fresh->RecordCount()),
                  form->datInfo->Caption())
            << what;
    };
    struct Save {
        const char* what;
        QDateTime when;
        Entry entry;
        int answer; // to the replace question, 0 none
    };
    const Save saves[] = {
        {"the newest reading", at(2031, 1, 1, 7, 0), {.high = "120", .low = "80", .comment = "newest"}, 0},
        {"a reading in the middle", at(2024, 3, 10, 12, 0), {.high = "121", .low = "81", .goalIndex = 0, .moodIndex = 1}, 0},
        {"the oldest reading", at(1990, 6, 1, 9, 30), {.high = "122", .low = "82", .regimenIndex = 1}, 0},
        {"the same minute, replaced", at(2024, 3, 10, 12, 0), {.high = "140", .low = "90", .comment = "replaced"}, vb::vbYes},
    };
    for (const Save& s : saves) {
        if (s.answer)
            answer(s.answer);
        addMeasurement(s.when, s.entry);
        EXPECT_EQ("browse", form->EditMode) << s.what;
        expectFresh(s.what, s.when);
    }
    // An edit of a row in the middle.
    rows()->FindFirst(QStringLiteral("MSRD_DT = #3/10/2024 12:00 PM#"));
    ASSERT_FALSE(rows()->NoMatch());
    form->cmdEdit_Click();
    form->txtPlse->setText("66");
    form->cmdSave_Click();
    expectFresh("an edit", at(2024, 3, 10, 12, 0));
    EXPECT_EQ(66, rows()->Fields(6).Value().toInt());
}

} // namespace
