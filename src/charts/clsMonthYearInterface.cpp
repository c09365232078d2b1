#include "charts/clsMonthYearInterface.h"

#include "platform/controls/usrMonthYear.h"

namespace {

// Marks each month 1 to 12 by whether the year's months with readings (ascending) hold it.
void markMonths(dao::Recordset& rs, usrMonthYear& selector)
{
    rs.MoveFirst();
    int m = 1;
    for (; !rs.Eof() && m <= 12; ++m) {
        if (rs.Fields(0).Value().toInt() == m) {
            selector.MonthHasData(m, true);
            rs.MoveNext();
        } else {
            selector.MonthHasData(m, false);
        }
    }
    for (; m <= 12; ++m)
        selector.MonthHasData(m, false);
}

} // namespace

clsDataService& clsMonthYearInterface::service()
{
    if (!service_)
        service_ = std::make_unique<clsDataService>();
    return *service_;
}

void clsMonthYearInterface::LoadYears(qint32 personKey, usrMonthYear& selector)
{
    const std::vector<int> years = service().GetMeasureYearList(personKey);
    selector.ClearYears();
    for (const int y : years)
        selector.AddYear(y);
    const int year = years.empty() ? 0 : years.back();
    int month = 0;
    LoadMonths(year, personKey, 1, selector, month);
    selector.SelectPeriod(year, month);
}

void clsMonthYearInterface::LoadMonths(int year, qint32 personKey, int pickLast, usrMonthYear& selector, int& month)
{
    auto rs = service().GetMeasureMonths(year, personKey);
    if (pickLast == 1)
        rs->MoveLast();
    else
        rs->MoveFirst();
    month = rs->Fields(0).Value().toInt();
    markMonths(*rs, selector);
    rs->Close();
}

bool clsMonthYearInterface::SelectKeptPeriod(int year, int month, qint32 personKey, usrMonthYear& selector)
{
    auto rs = service().GetMeasureMonths(year, personKey);
    bool hasReadings = false;
    for (; !rs->Eof() && !hasReadings; rs->MoveNext())
        hasReadings = rs->Fields(0).Value().toInt() == month;
    if (hasReadings)
        markMonths(*rs, selector);
    rs->Close();
    if (hasReadings)
        selector.SelectPeriod(year, month);
    return hasReadings;
}
