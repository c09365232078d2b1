#include "charts/clsMonthYearInterface.h"

#include "platform/controls/usrMonthYear.h"

clsDataService& clsMonthYearInterface::service()
{
    if (!service_)
        service_ = std::make_unique<clsDataService>();
    return *service_;
}

void clsMonthYearInterface::LoadYears(qint32 personKey, usrMonthYear& selector)
{
    auto rs = service().GetMeasureYears(personKey);
    selector.ClearYears();
    for (; !rs->Eof(); rs->MoveNext())
        selector.AddYear(rs->Fields(0).Value().toInt());
    rs->MoveLast();
    const int year = rs->Fields(0).Value().toInt();
    rs->Close();
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
    rs->MoveFirst();
    int m = 1;
    for (; !rs->Eof() && m <= 12; ++m) {
        if (rs->Fields(0).Value().toInt() == m) {
            selector.MonthHasData(m, true);
            rs->MoveNext();
        } else {
            selector.MonthHasData(m, false);
        }
    }
    for (; m <= 12; ++m)
        selector.MonthHasData(m, false);
    rs->Close();
}
