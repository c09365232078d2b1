// Readings written through the measurement store: bound values come back as written, and the
// stored averages stay equal to a recomputation after every write, single or batched.
#include "AverageCheck.h"
#include "DataFixture.h"

#include "data/MeasurementStore.h"

using testing_data::DataFixture;
using testing_data::errorOf;
using namespace testing_data::averages;

namespace {

class MeasurementStoreTest : public DataFixture {
protected:
    void SetUp() override
    {
        DataFixture::SetUp();
        gDB->Execute(QStringLiteral("insert into person (prsn_nm) values (?)"), {QStringLiteral("O'Neil; Zoë")},
                     dao::dbFailOnError);
        person = count(QStringLiteral("select max(prsn_ky) from person"));
    }

    Measurement reading(const QDateTime& when, int low, double weight) const
    {
        Measurement m;
        m.personKey = person;
        m.measured = when;
        m.lowPressure = low;
        m.highPressure = low + 40;
        m.weight = weight;
        return m;
    }

    int person = 0;
    MeasurementStore store;
};

TEST_F(MeasurementStoreTest, TextWithQuotesAndLettersBeyondAsciiComesBackByteForByte)
{
    const QString comment = QStringLiteral("Dr. O'Brien: \"rest\"; drop table MEASURE; -- Zoë, Ærø, 名前 ½ ?");
    Measurement m = reading(at(2007, 3, 14, 20, 5, 9), 80, 71.5);
    m.comment = comment;
    m.temp = 98.6;
    m.moodKey = 1;
    store.add(m);

    const auto back = store.find(person, m.measured);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(comment, back->comment);
    EXPECT_EQ(comment.toUtf8().toHex().toUpper(),
              value(QStringLiteral("select hex(CMMNT) from MEASURE where PRSN_KY = %1").arg(person)).toString().toLatin1());
    EXPECT_EQ(m.measured, back->measured);
    EXPECT_EQ(80, back->lowPressure);
    EXPECT_EQ(120, back->highPressure);
    EXPECT_FALSE(back->pulse.has_value());
    EXPECT_FLOAT_EQ(71.5f, float(*back->weight));
    EXPECT_FLOAT_EQ(98.6f, float(*back->temp));
    EXPECT_EQ(1, back->moodKey);
    EXPECT_FALSE(back->regimenKey.has_value());
    // The stored date is the engine's own: a Jet literal to the second finds it.
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from MEASURE where MSRD_DT = #3/14/2007 8:05:09 PM#")));
    expectAveragesMatchMeasurements();

    // Through the update as well; an empty comment stays the empty text, not Null.
    m.comment = QStringLiteral("it's 'twice'");
    ASSERT_TRUE(store.update(m));
    EXPECT_EQ(m.comment, store.find(person, m.measured)->comment);
    m.comment.clear();
    ASSERT_TRUE(store.update(m));
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from MEASURE where CMMNT = '' and PRSN_KY = %1").arg(person)));
}

TEST_F(MeasurementStoreTest, EachWriteKeepsTheAveragesEqualToARecomputation)
{
    gDB->Execute(QStringLiteral("delete from measure"), dao::dbFailOnError);
    for (const char* t : kTables)
        gDB->Execute(QStringLiteral("delete from %1").arg(QLatin1String(t)), dao::dbFailOnError);
    enum Op { Add, Update, Remove };
    struct Step {
        Op op;
        QDateTime when;
        int low;
        double weight;
        bool done; // what the store answers
    };
    // Across a month's end inside one week, and a second reading on a day.
    const Step steps[] = {
        {Add, at(2007, 2, 27), 70, 70.0, true},        {Add, at(2007, 3, 1), 80, 71.5, true},
        {Add, at(2007, 3, 1, 21, 0), 90, 72.25, true}, {Update, at(2007, 3, 1), 100, 69.0, true},
        {Update, at(2007, 3, 2), 60, 60.0, false},     {Remove, at(2007, 2, 27), 0, 0, true},
        {Remove, at(2007, 2, 27), 0, 0, false},        {Remove, at(2007, 3, 1, 21, 0), 0, 0, true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.when.toString(Qt::ISODate).toStdString());
        switch (s.op) {
        case Add:
            EXPECT_FALSE(store.exists(person, s.when));
            store.add(reading(s.when, s.low, s.weight));
            EXPECT_TRUE(store.exists(person, s.when));
            break;
        case Update: EXPECT_EQ(s.done, store.update(reading(s.when, s.low, s.weight))); break;
        case Remove:
            EXPECT_EQ(s.done, store.remove(person, s.when));
            EXPECT_FALSE(store.exists(person, s.when));
            break;
        }
        expectAveragesMatchMeasurements();
    }
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from average_month where mnth = #2/1/2007#")));
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from average_day where dt = #3/1/2007#")));
}

TEST_F(MeasurementStoreTest, AGoalIsStoredOnlyWithASugarReading)
{
    const int goal = count(QStringLiteral("select min(gl_ky) from dbts_goal"));
    ASSERT_GT(goal, 0);
    Measurement m = reading(at(2008, 1, 5), 80, 70);
    m.goalKey = goal;
    store.add(m);
    EXPECT_FALSE(store.find(person, m.measured)->goalKey.has_value());
    m.sugar = 110;
    store.update(m);
    EXPECT_EQ(goal, store.find(person, m.measured)->goalKey);
}

TEST_F(MeasurementStoreTest, AFailedWriteLeavesNothingWrittenAndNoTransactionOpen)
{
    const Measurement m = reading(at(2009, 6, 1), 80, 70);
    store.add(m);
    const int readings = count(QStringLiteral("select count(*) from measure"));
    EXPECT_EQ(dao::errDuplicateKey, errorOf([&] { store.add(m); }));
    // The averages cannot be written: the reading goes with them.
    gDB->TableDefs().Delete(QStringLiteral("AVERAGE_DAY"));
    EXPECT_NE(0, errorOf([&] { store.add(reading(at(2009, 6, 2), 90, 71)); }));
    EXPECT_NE(0, errorOf([&] { store.update(reading(m.measured, 95, 72)); }));
    EXPECT_NE(0, errorOf([&] { store.remove(person, m.measured); }));
    EXPECT_EQ(readings, count(QStringLiteral("select count(*) from measure")));
    EXPECT_EQ(80, store.find(person, m.measured)->lowPressure);
    EXPECT_EQ(0, gDB->transactionDepth());
}

TEST_F(MeasurementStoreTest, ABatchWritesItsReadingsAndTheirAveragesAtCommit)
{
    const QDateTime evening = at(2010, 1, 30, 21, 0);
    store.add(reading(evening, 70, 70));
    {
        MeasurementStore::Batch batch;
        for (int day = 0; day < 40; ++day)
            batch.add(reading(at(2010, 1, 25).addDays(day), 60 + day, 60 + day * 0.25));
        EXPECT_TRUE(batch.update(reading(evening, 99, 99)));
        EXPECT_TRUE(batch.remove(person, at(2010, 2, 3)));
        EXPECT_FALSE(batch.remove(person, at(1999, 1, 1)));
        batch.commit();
    }
    EXPECT_EQ(40, count(QStringLiteral("select count(*) from measure where prsn_ky = %1").arg(person)));
    expectAveragesMatchMeasurements();

    // Undone as a whole unless committed.
    {
        MeasurementStore::Batch batch;
        batch.add(reading(at(2011, 5, 5), 70, 70));
        batch.remove(person, evening);
    }
    EXPECT_FALSE(store.exists(person, at(2011, 5, 5)));
    EXPECT_EQ(99, store.find(person, evening)->lowPressure);
    EXPECT_EQ(0, gDB->transactionDepth());
    expectAveragesMatchMeasurements();
}

} // namespace
