#pragma once
// Fills the chart window's month and year selector from a person's measurements: the years
// with readings, the months of the shown year that have readings, and the latest of both
// selected.
#include "data/clsDataService.h"

#include <QtGlobal>
#include <memory>

class usrMonthYear;

class clsMonthYearInterface {
public:
    // Offers the person's years, marks the months of the latest one and selects its latest
    // month (the selector then announces the period). A person without readings fails with the
    // engine's no-current-record error.
    void LoadYears(qint32 personKey, usrMonthYear& selector);
    // Marks each month 1 to 12 of the year as having readings or not, and gives back the
    // latest month with readings (pickLast 1) or the earliest; selects nothing.
    void LoadMonths(int year, qint32 personKey, int pickLast, usrMonthYear& selector, int& month);
    // Puts back a period chosen earlier, on a selector filled by LoadYears for the person:
    // marks the year's months and selects the year and month, but only where the person has
    // readings in that month; otherwise changes nothing and gives false.
    bool SelectKeptPeriod(int year, int month, qint32 personKey, usrMonthYear& selector);

private:
    clsDataService& service();
    std::unique_ptr<clsDataService> service_;
};
