// The stored day, week and month averages against a recomputation from MEASURE done here,
// independently of the class.
#include "AverageCheck.h"
#include "DataFixture.h"

#include "data/clsAverage.h"

#include <QLocale>
#include <QRandomGenerator>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

using testing_data::DataFixture;
using testing_data::errorOf;
using namespace testing_data::averages;

namespace {

QString literal(const QDateTime& dt)
{
    return QStringLiteral("#%1/%2/%3 %4:%5#")
        .arg(dt.date().month())
        .arg(dt.date().day())
        .arg(dt.date().year())
        .arg(dt.time().hour())
        .arg(dt.time().minute());
}

QString sqlValue(const std::optional<double>& v) { return v ? QString::number(*v, 'g', 10) : QStringLiteral("Null"); }

class AverageTest : public DataFixture {
protected:
    int addPerson(const QString& name)
    {
        gDB->Execute(QStringLiteral("insert into person (prsn_nm) values ('%1')").arg(name), dao::dbFailOnError);
        return count(QStringLiteral("select prsn_ky from person where prsn_nm = '%1'").arg(name));
    }

    // Writes a reading as the forms do (positional insert, or update), then tells the averages.
    void add(int person, const QDateTime& dt, const Values& v)
    {
        QStringList values;
        for (const auto& x : v)
            values << sqlValue(x);
        gDB->Execute(QStringLiteral("insert into measure values (%1, %2, Null, Null, %3, Null, Null)")
                         .arg(person)
                         .arg(literal(dt))
                         .arg(values.join(QStringLiteral(", "))),
                     dao::dbFailOnError);
        tell(person, dt, clsAverage::actAdded);
    }
    void change(int person, const QDateTime& dt, const Values& v)
    {
        static const char* const cols[] = {"lbp", "hbp", "plse", "wt", "temp", "temp1", "temp2"};
        QStringList set;
        for (int i = 0; i < 7; ++i)
            set << QLatin1String(cols[i]) + QStringLiteral(" = ") + sqlValue(v[std::size_t(i)]);
        ASSERT_EQ(1, gDB->Execute(QStringLiteral("update measure set %1 where prsn_ky = %2 and msrd_dt = %3")
                                      .arg(set.join(QStringLiteral(", ")))
                                      .arg(person)
                                      .arg(literal(dt)),
                                  dao::dbFailOnError));
        tell(person, dt, clsAverage::actChanged);
    }
    void remove(int person, const QDateTime& dt)
    {
        ASSERT_EQ(1, gDB->Execute(
                         QStringLiteral("delete from measure where prsn_ky = %1 and msrd_dt = %2").arg(person).arg(literal(dt)),
                         dao::dbFailOnError));
        tell(person, dt, clsAverage::actDeleted);
    }
    static void tell(int person, const QDateTime& dt, int action)
    {
        gPersonKey = person;
        clsAverage().UpdateAverages(dt, action);
    }

    static int rowsOf(int level, int person, const QDate& key)
    {
        return count(QStringLiteral("select count(*) from %1 where prsn_ky = %2 and %3 = #%4/%5/%6#")
                         .arg(QLatin1String(kTables[level]))
                         .arg(person)
                         .arg(QLatin1String(kKeys[level]))
                         .arg(key.month())
                         .arg(key.day())
                         .arg(key.year()));
    }
    static Values row(int level, int person, const QDate& key) { return stored(level).at({person, key}); }

    // No readings and no averages of anyone (the new file holds the sample person's).
    static void clearAverages()
    {
        gDB->Execute(QStringLiteral("delete from measure"), dao::dbFailOnError);
        for (const char* t : kTables)
            gDB->Execute(QStringLiteral("delete from %1").arg(QLatin1String(t)), dao::dbFailOnError);
    }

    static Values bp(double low, double high, double pulse) { return {low, high, pulse, {}, {}, {}, {}}; }
};

TEST_F(AverageTest, FirstReadingMakesTheThreeRowsAndTheNextUpdatesThem)
{
    clearAverages();
    const int p = addPerson(QStringLiteral("Ann"));
    add(p, at(2007, 3, 14, 8, 30), {80, 125, 70, 150.5, 98.6, {}, 110}); // a Wednesday
    EXPECT_EQ(1, rowsOf(0, p, QDate(2007, 3, 1)));
    EXPECT_EQ(1, rowsOf(1, p, QDate(2007, 3, 18)));
    EXPECT_EQ(1, rowsOf(2, p, QDate(2007, 3, 14)));
    EXPECT_EQ(3u, stored(0).size() + stored(1).size() + stored(2).size());

    add(p, at(2007, 3, 14, 20, 0), {81, 126, 73, 151, {}, 4.5, {}});
    for (int level = 0; level < 3; ++level) {
        const Values v = row(level, p, clsAverage::PeriodKey(level, QDate(2007, 3, 14)));
        EXPECT_EQ(80, *v[0]);  // 80.5 rounds half to even
        EXPECT_EQ(126, *v[1]); // 125.5 likewise
        EXPECT_EQ(72, *v[2]);  // 71.5
        EXPECT_FLOAT_EQ(150.75f, float(*v[3]));
        EXPECT_FLOAT_EQ(98.6f, float(*v[4])); // one reading with a value
        EXPECT_FLOAT_EQ(4.5f, float(*v[5]));
        EXPECT_FLOAT_EQ(110.f, float(*v[6]));
    }
    expectAveragesMatchMeasurements();
    EXPECT_EQ(0, gDB->transactionDepth());
}

TEST_F(AverageTest, PeriodKeysAndSpansAtWeekMonthAndYearBoundaries)
{
    clearAverages();
    const int p = addPerson(QStringLiteral("Ann"));
    clsAverage avg;
    avg.setPersonKey(p);

    // Monday 00:00 belongs to the week that it begins, Sunday 11:59 PM to the week it ends.
    add(p, at(2007, 3, 12, 0, 0), bp(70, 120, 60));   // Monday
    add(p, at(2007, 3, 18, 23, 59), bp(90, 140, 80)); // Sunday
    add(p, at(2007, 3, 19, 0, 0), bp(60, 100, 50));   // the next Monday
    EXPECT_EQ(2, avg.CountMeasures(clsAverage::akWeek, QDate(2007, 3, 18)));
    EXPECT_EQ(1, avg.CountMeasures(clsAverage::akWeek, QDate(2007, 3, 25)));
    EXPECT_EQ(1, avg.CountMeasures(clsAverage::akDay, QDate(2007, 3, 18)));
    EXPECT_EQ(80, *row(1, p, QDate(2007, 3, 18))[0]);
    EXPECT_EQ(60, *row(1, p, QDate(2007, 3, 25))[0]);

    // A week over a month end and a year end keeps one key, the Sunday after.
    add(p, at(2008, 12, 29, 9, 0), bp(70, 120, 60)); // Monday
    add(p, at(2008, 12, 31, 23, 59), bp(72, 122, 62));
    add(p, at(2009, 1, 4, 12, 0), bp(80, 130, 70)); // Sunday
    EXPECT_EQ(3, avg.CountMeasures(clsAverage::akWeek, QDate(2009, 1, 4)));
    EXPECT_EQ(2, avg.CountMeasures(clsAverage::akMonth, QDate(2008, 12, 1)));
    EXPECT_EQ(1, avg.CountMeasures(clsAverage::akMonth, QDate(2009, 1, 1)));
    EXPECT_EQ(74, *row(1, p, QDate(2009, 1, 4))[0]);
    EXPECT_EQ(71, *row(0, p, QDate(2008, 12, 1))[0]);
    EXPECT_EQ(80, *row(0, p, QDate(2009, 1, 1))[0]);

    // The leap day: its own day, February's month, the week ending on 2 March.
    add(p, at(2008, 2, 29, 7, 15), bp(75, 125, 65));
    add(p, at(2008, 3, 1, 7, 15), bp(77, 127, 67));
    EXPECT_EQ(1, rowsOf(2, p, QDate(2008, 2, 29)));
    EXPECT_EQ(75, *row(0, p, QDate(2008, 2, 1))[0]);
    EXPECT_EQ(76, *row(1, p, QDate(2008, 3, 2))[0]);
    EXPECT_EQ(clsAverage::WeekKey(QDate(2008, 2, 29)), QDate(2008, 3, 2));

    // The last minute of a month is that month's; the first of the next is not.
    add(p, at(2009, 1, 31, 23, 59), bp(90, 150, 90));
    add(p, at(2009, 2, 1, 0, 0), bp(50, 100, 50));
    EXPECT_EQ(85, *row(0, p, QDate(2009, 1, 1))[0]);
    EXPECT_EQ(50, *row(0, p, QDate(2009, 2, 1))[0]);

    expectAveragesMatchMeasurements();
}

TEST_F(AverageTest, DeletionsRemoveEmptiedPeriodsAndRecomputeTheOthers)
{
    clearAverages();
    const int p = addPerson(QStringLiteral("Ann"));
    add(p, at(2007, 3, 14), bp(80, 120, 70));
    add(p, at(2007, 3, 15), bp(90, 130, 80));
    add(p, at(2007, 5, 2), bp(60, 110, 60));

    // The last reading of a day: the day row goes, week and month stay, recomputed.
    remove(p, at(2007, 3, 15));
    EXPECT_EQ(0, rowsOf(2, p, QDate(2007, 3, 15)));
    EXPECT_EQ(80, *row(1, p, QDate(2007, 3, 18))[0]);
    EXPECT_EQ(80, *row(0, p, QDate(2007, 3, 1))[0]);

    // The only reading of a month: all three rows go.
    remove(p, at(2007, 5, 2));
    EXPECT_EQ(0, rowsOf(0, p, QDate(2007, 5, 1)));
    EXPECT_EQ(0, rowsOf(1, p, QDate(2007, 5, 6)));
    EXPECT_EQ(0, rowsOf(2, p, QDate(2007, 5, 2)));
    expectAveragesMatchMeasurements();

    // A reading without values keeps rows of Nulls while it is there.
    add(p, at(2007, 7, 4), Values{});
    EXPECT_EQ(Values{}, row(0, p, QDate(2007, 7, 1)));
    EXPECT_EQ(Values{}, row(2, p, QDate(2007, 7, 4)));
    remove(p, at(2007, 7, 4));
    EXPECT_EQ(0, rowsOf(0, p, QDate(2007, 7, 1)));
    expectAveragesMatchMeasurements();
}

TEST_F(AverageTest, ChangesAndUnknownActions)
{
    clearAverages();
    const int p = addPerson(QStringLiteral("Ann"));
    add(p, at(2007, 3, 14), bp(80, 120, 70));
    change(p, at(2007, 3, 14), {84, 124, 74, 150, {}, {}, 6.7});
    EXPECT_EQ(84, *row(0, p, QDate(2007, 3, 1))[0]);
    EXPECT_FLOAT_EQ(6.7f, float(*row(2, p, QDate(2007, 3, 14))[6]));

    // A change whose month and week rows are missing puts them back.
    gDB->Execute(QStringLiteral("delete from average_month"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("delete from average_week"), dao::dbFailOnError);
    change(p, at(2007, 3, 14), {86, 126, 76, 150, {}, {}, {}});
    EXPECT_EQ(86, *row(0, p, QDate(2007, 3, 1))[0]);
    EXPECT_EQ(86, *row(1, p, QDate(2007, 3, 18))[0]);
    expectAveragesMatchMeasurements();

    // Any other action changes nothing.
    gDB->Execute(QStringLiteral("insert into measure (prsn_ky, msrd_dt, lbp) values (%1, #4/2/2007 8:00 AM#, 90)").arg(p),
                 dao::dbFailOnError);
    for (int action : {-1, 3, 99})
        tell(p, at(2007, 4, 2, 8, 0), action);
    EXPECT_EQ(0, rowsOf(0, p, QDate(2007, 4, 1)));
    EXPECT_EQ(0, rowsOf(2, p, QDate(2007, 4, 2)));
}

TEST_F(AverageTest, ValuesReachTheSqlWithADecimalPointWhateverTheLocale)
{
    clearAverages();
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const int p = addPerson(QStringLiteral("Ann"));
    add(p, at(2007, 3, 14, 8, 0), {80, 120, 70, 71.0, 98.5, 1.25, 5.5});
    add(p, at(2007, 3, 14, 9, 0), {80, 120, 70, 71.5, 98.0, 1.75, 6.0});
    QLocale::setDefault(saved);
    const Values v = row(2, p, QDate(2007, 3, 14));
    EXPECT_FLOAT_EQ(71.25f, float(*v[3]));
    EXPECT_FLOAT_EQ(98.25f, float(*v[4]));
    EXPECT_FLOAT_EQ(1.5f, float(*v[5]));
    EXPECT_FLOAT_EQ(5.75f, float(*v[6]));
}

TEST_F(AverageTest, MixedReadingsOfTwoPersonsStayInStep)
{
    clearAverages();
    const int a = addPerson(QStringLiteral("Ann"));
    const int b = addPerson(QStringLiteral("Bo"));
    QRandomGenerator rng(20070314);
    std::vector<std::pair<int, QDateTime>> present;
    const QDate start(2008, 12, 1);
    auto randomValues = [&] {
        Values v;
        for (std::size_t i = 0; i < 7; ++i)
            if (rng.bounded(4) != 0) // about one value in four left empty
                v[i] = i < 3 ? double(rng.bounded(40, 180)) : rng.bounded(400) / 10.0 + 40;
        return v;
    };
    for (int step = 0; step < 300; ++step) {
        const int op = present.empty() ? 0 : int(rng.bounded(10));
        if (op < 6) {
            const int person = rng.bounded(2) ? a : b;
            const QDateTime dt(start.addDays(rng.bounded(75)), QTime(int(rng.bounded(24)), int(rng.bounded(60))), Qt::UTC);
            if (count(QStringLiteral("select count(*) from measure where prsn_ky = %1 and msrd_dt = %2")
                          .arg(person)
                          .arg(literal(dt))) == 0) {
                add(person, dt, randomValues());
                present.emplace_back(person, dt);
            }
        } else if (op < 8) {
            const auto& [person, dt] = present[rng.bounded(quint32(present.size()))];
            change(person, dt, randomValues());
        } else {
            const std::size_t i = rng.bounded(quint32(present.size()));
            const auto [person, dt] = present[i];
            present.erase(present.begin() + std::ptrdiff_t(i));
            remove(person, dt);
        }
        if (step % 50 == 49)
            expectAveragesMatchMeasurements();
    }
    expectAveragesMatchMeasurements();

    // The rows of a reading of another person than the current one, told through its key.
    const QDateTime dt = at(2009, 6, 10);
    gDB->Execute(QStringLiteral("insert into measure (prsn_ky, msrd_dt, lbp) values (%1, %2, 99)").arg(b).arg(literal(dt)),
                 dao::dbFailOnError);
    gPersonKey = a;
    clsAverage().UpdateAverages(b, dt, clsAverage::actAdded);
    EXPECT_EQ(a, gPersonKey);
    EXPECT_EQ(99, *row(0, b, QDate(2009, 6, 1))[0]);
    expectAveragesMatchMeasurements();
}

TEST_F(AverageTest, AFailedUpdateLeavesNoRowChangedAndNoTransactionOpen)
{
    clearAverages();
    const int p = addPerson(QStringLiteral("Ann"));
    gDB->TableDefs().Delete(QStringLiteral("AVERAGE_DAY"));
    gDB->Execute(QStringLiteral("insert into measure (prsn_ky, msrd_dt, lbp) values (%1, #3/14/2007 8:30 AM#, 80)").arg(p),
                 dao::dbFailOnError);
    gPersonKey = p;
    EXPECT_NE(0, errorOf([] { clsAverage().UpdateAverages(at(2007, 3, 14), clsAverage::actAdded); }));
    EXPECT_EQ(0, rowsOf(0, p, QDate(2007, 3, 1)));
    EXPECT_EQ(0, rowsOf(1, p, QDate(2007, 3, 18)));
    EXPECT_EQ(0, gDB->transactionDepth());
}

TEST_F(AverageTest, RebuildGivesTheRowsThatIncrementalUpdatesGive)
{
    clearAverages();
    const int a = addPerson(QStringLiteral("Ann"));
    const int b = addPerson(QStringLiteral("Bo"));
    // Months chosen for their weeks: March 2009 begins on a Sunday and its last days (Monday 30,
    // Tuesday 31) fall in a week that ends in April, a month without readings; a week that
    // runs over a year end; a month alone in its year; a leap day.
    const QDateTime readings[] = {at(2009, 3, 1, 6, 0), at(2009, 3, 17),        at(2009, 3, 30, 23, 59), at(2009, 3, 31),
                                  at(2008, 12, 30),     at(2009, 1, 2, 0, 0),   at(2011, 6, 15),         at(2008, 2, 29),
                                  at(2008, 2, 1, 0, 0), at(2009, 5, 31, 23, 59)};
    int n = 0;
    for (const QDateTime& dt : readings) {
        ++n;
        add(a, dt,
            {double(60 + n),
             double(110 + 3 * n),
             double(50 + n),
             70 + n / 4.0,
             {},
             n % 2 ? std::optional<double>(n) : std::nullopt,
             {}});
        add(b, dt.addSecs(60), bp(70 + n, 120 + n, 60));
    }
    expectAveragesMatchMeasurements();
    const Table months = stored(0), weeks = stored(1), days = stored(2);
    ASSERT_EQ(1u, weeks.count({a, QDate(2009, 4, 5)}));

    // Rebuilt from empty month and week tables: the same rows, and the day rows untouched.
    gDB->Execute(QStringLiteral("delete from average_month"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("delete from average_week"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("delete from average_day where prsn_ky = %1").arg(b), dao::dbFailOnError);
    gPersonKey = 12345;
    clsAverage().RebuildAllAverages();
    EXPECT_EQ(12345, gPersonKey);
    expectSame(months, stored(0), "months");
    expectSame(weeks, stored(1), "weeks");
    Table daysOfA;
    for (const auto& [key, v] : days)
        if (key.first == a)
            daysOfA[key] = v;
    expectSame(daysOfA, stored(2), "days");

    // Over stale rows: those of periods with readings are corrected, the others left alone.
    gDB->Execute(QStringLiteral("update average_month set lbp = 1, wt = Null"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("insert into average_week values(%1, #1/7/2007#, 1, 2, 3, 4, 5, 6, 7)").arg(a),
                 dao::dbFailOnError);
    clsAverage().RebuildAllAverages();
    expectSame(months, stored(0), "months");
    EXPECT_EQ(weeks.size() + 1, stored(1).size());
    EXPECT_EQ(1, rowsOf(1, a, QDate(2007, 1, 7)));
    EXPECT_EQ(0, gDB->transactionDepth());
}

TEST_F(AverageTest, RebuildWithoutReadingsWritesNothing)
{
    clearAverages();
    EXPECT_EQ(0, errorOf([] { clsAverage().RebuildAllAverages(); }));
    for (int level = 0; level < 3; ++level)
        EXPECT_TRUE(stored(level).empty());
}

TEST_F(AverageTest, YearsAndMonthsOfAPersonInOrder)
{
    const int p = addPerson(QStringLiteral("Ann"));
    const int q = addPerson(QStringLiteral("Bo"));
    for (const QDateTime& dt :
         {at(2010, 11, 30), at(2009, 2, 3), at(2010, 1, 1, 0, 0), at(2009, 12, 31, 23, 59), at(2009, 2, 28)})
        gDB->Execute(QStringLiteral("insert into measure (prsn_ky, msrd_dt) values (%1, %2)").arg(p).arg(literal(dt)),
                     dao::dbFailOnError);
    gDB->Execute(QStringLiteral("insert into measure (prsn_ky, msrd_dt) values (%1, #6/1/2009#)").arg(q), dao::dbFailOnError);
    clsAverage avg;
    avg.setPersonKey(p);
    avg.LoadMeasureYearsMonths();
    EXPECT_EQ((std::vector<int>{2009, 2010}), avg.years());
    EXPECT_EQ((std::vector<int>{2, 2}), avg.monthCounts());
    EXPECT_EQ(2, avg.monthTable()[0][0]);
    EXPECT_EQ(12, avg.monthTable()[0][1]);
    EXPECT_EQ(1, avg.monthTable()[1][0]);
    EXPECT_EQ(11, avg.monthTable()[1][1]);
}

} // namespace

namespace {

// A new file holds the sample person's readings with averages that the upgrade made.
TEST_F(AverageTest, TheNewFilesSampleAveragesMatchItsReadings)
{
    ASSERT_GT(count(QStringLiteral("select count(*) from measure")), 0);
    expectAveragesMatchMeasurements();
}

} // namespace
