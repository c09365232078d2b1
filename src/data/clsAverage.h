#pragma once
// The stored day, week and month averages of the seven numeric measurement columns, kept in
// step with MEASURE: one reading at a time after each write, or all at once for every person.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <vector>

class clsAverage {
public:
    // AverageKind: the levels the procedures take.
    enum AverageKind : int { akMonth = 0, akWeek = 1, akDay = 2 };
    // What happened to the reading that UpdateAverages is told about.
    enum Action : int { actAdded = 0, actChanged = 1, actDeleted = 2 };

    // Brings the month, week and day rows of the current person (gPersonKey) that hold
    // dtMeasured up to date with MEASURE, after the reading was added (0), changed (1) or
    // deleted (2); any other action does nothing. A period left without readings loses its row.
    // All three rows change together or not at all; an error reaches the caller.
    void UpdateAverages(const QDateTime& dtMeasured, int intAction);
    // The same for a reading of the given person (when the reading is not the current person's).
    void UpdateAverages(qint32 lngPersonKey, const QDateTime& dtMeasured, int intAction);

    // Recomputes the month and week rows of every person who has readings (the day rows are
    // the caller's: the upgrade refills AVERAGE_DAY itself). Rows of periods without readings
    // are left as they are. All or nothing; gPersonKey is left untouched.
    void RebuildAllAverages();

    // Keys of the period that holds a date: the first day of its month, the Sunday that ends
    // its Monday-to-Sunday week, the day itself.
    static QDate MonthKey(const QDate& d);
    static QDate WeekKey(const QDate& d);
    static QDate PeriodKey(int intPeriod, const QDate& d);

    // The building blocks, on the working person key.
    void setPersonKey(qint32 lngPersonKey) { personKey_ = lngPersonKey; }
    qint32 personKey() const { return personKey_; }
    // Readings of the person in the period of that key.
    int CountMeasures(int intPeriod, const QDate& dtKey);
    // Stored average rows (0 or 1) of the person with that key.
    int CountMonthAverage(const QDate& dtKey);
    int CountWeekAverage(const QDate& dtKey);
    int CountDayAverage(const QDate& dtKey);
    // Computes the seven averages of the period and inserts the row (intExists 0) or updates it
    // (intExists 1); a period without readings has its row deleted instead.
    void SaveAverage(int intPeriod, int intExists, const QDate& dtKey);
    // The years (ascending) in which the person has readings, and for each its months.
    void LoadMeasureYearsMonths();
    const std::vector<int>& years() const { return years_; }
    const std::vector<std::array<int, 12>>& monthTable() const { return monthTable_; }
    const std::vector<int>& monthCounts() const { return monthCounts_; }
    // Recomputes, from the Sunday given on, the week rows of every week that holds a day of
    // that Sunday's month and has readings.
    void RebuildMonthWeeks(const QDate& dtFirstWeekEnd);

private:
    int countAverageRows(int intPeriod, const QDate& dtKey);
    void refreshPeriod(int intPeriod, const QDate& dtKey);

    qint32 personKey_ = 0;
    std::vector<int> years_;
    std::vector<std::array<int, 12>> monthTable_;
    std::vector<int> monthCounts_;
};
