// The month and year selector and the adapter that fills it from a person's readings.
#include "ChartFixture.h"

#include "charts/clsMonthYearInterface.h"
#include "platform/controls/usrMonthYear.h"

#include <QToolButton>

using testing_charts::ChartFixture;

namespace {

// The selector's events in order, with the selection each saw.
struct EventLog {
    explicit EventLog(usrMonthYear& s)
    {
        QObject::connect(&s, &usrMonthYear::PeriodChanged,
                         [this, &s] { events << QStringLiteral("period %1/%2").arg(s.SelectedMonth()).arg(s.SelectedYear()); });
        QObject::connect(&s, &usrMonthYear::YearChanged,
                         [this, &s] { events << QStringLiteral("year %1").arg(s.SelectedYear()); });
    }
    QStringList events;
};

QString marks(const usrMonthYear& s)
{
    QString out;
    for (int m = 1; m <= 12; ++m)
        out += s.MonthMarked(m) ? QLatin1Char('x') : QLatin1Char('.');
    return out;
}

TEST(MonthYearSelector, EventsComeInTheOrderOfTheCalls)
{
    usrMonthYear s;
    EventLog log(s);
    EXPECT_EQ(0, s.SelectedMonth());
    s.AddYear(2006);
    s.AddYear(2007);
    for (int m = 1; m <= 12; ++m)
        s.MonthHasData(m, m == 3 || m == 7);
    s.SelectPeriod(2006, 7);
    s.pickMonth(3);   // a month with data
    s.pickYear(2007); // another year: the listener picks its month
    s.pickYear(2007); // the same year again: nothing
    s.SelectPeriod(2007, 1);
    s.setMonthChoiceEnabled(false);
    s.pickMonth(5); // no month choice: nothing
    s.pickYear(2006);
    s.SelectPeriod(2010, 5); // a year the list lacks: nothing, and no year added
    EXPECT_EQ(2, s.YearCount());
    EXPECT_EQ(2006, s.SelectedYear());
    EXPECT_EQ((QStringList{"period 7/2006", "period 3/2006", "year 2007", "period 1/2007", "year 2006"}), log.events);
    EXPECT_EQ(QStringLiteral("..x...x....."), marks(s));
    EXPECT_FALSE(s.monthButton(5)->isEnabled());
    s.setMonthChoiceEnabled(true);
    EXPECT_TRUE(s.monthButton(3)->isEnabled());
    EXPECT_FALSE(s.monthButton(4)->isEnabled());
    s.ClearYears();
    EXPECT_EQ(0, s.YearCount());
}

class MonthYearAdapter : public ChartFixture {};

TEST_F(MonthYearAdapter, TheLatestYearAndItsLatestMonthAreSelected)
{
    const int person = addPerson(QStringLiteral("Ada Holm"));
    for (const char* when : {"#7/9/2006 8:00 AM#", "#3/2/2006 8:00 AM#", "#3/20/2006 8:00 AM#", "#1/15/2007 8:00 AM#"})
        addReading(person, QLatin1String(when), QStringLiteral("PLSE"), QStringLiteral("60"));
    usrMonthYear s;
    EventLog log(s);
    clsMonthYearInterface().LoadYears(person, s);
    ASSERT_EQ(2, s.YearCount());
    EXPECT_EQ(2006, s.Year(0));
    EXPECT_EQ(2007, s.Year(1));
    EXPECT_EQ(QStringLiteral("x..........."), marks(s));
    EXPECT_EQ(QStringList{QStringLiteral("period 1/2007")}, log.events);

    const struct {
        int pickLast, month;
    } rows[] = {{0, 3}, {1, 7}};
    for (const auto& r : rows) {
        int month = 0;
        clsMonthYearInterface().LoadMonths(2006, person, r.pickLast, s, month);
        EXPECT_EQ(r.month, month);
        EXPECT_EQ(QStringLiteral("..x...x....."), marks(s));
    }
    EXPECT_EQ(1, log.events.size()); // marking selects nothing
}

TEST_F(MonthYearAdapter, AYearWithDecemberOnlyMarksTheLastMonth)
{
    const int person = addPerson(QStringLiteral("Ben Dahl"));
    addReading(person, QStringLiteral("#12/31/2010 11:30 PM#"), QStringLiteral("PLSE"), QStringLiteral("60"));
    usrMonthYear s;
    int month = 0;
    clsMonthYearInterface().LoadMonths(2010, person, 1, s, month);
    EXPECT_EQ(12, month);
    EXPECT_EQ(QStringLiteral("...........x"), marks(s));
}

} // namespace
