#pragma once
// The calendar control: a month calendar with day, month and year, raising DateSelected when the
// user picks a date with the mouse or confirms one with Enter (not while moving through the days
// with the keyboard). It offers only the days a reading can be saved on (vb::IsStorableDate).
#include <QCalendarWidget>

class ctDate : public QCalendarWidget {
    Q_OBJECT
public:
    explicit ctDate(QWidget* parent = nullptr);

    // Setting one part keeps the others; a day past the month's end shows as its last day until
    // the month or year that has it is set (so day, month, year may be set in any order). A date
    // beyond the days offered shows as the nearest one offered.
    int Day() const { return selectedDate().day(); }
    void setDay(int day);
    int Month() const { return selectedDate().month(); }
    void setMonth(int month);
    int Year() const { return selectedDate().year(); }
    void setYear(int year);

    // The control's own visibility flag (a hidden parent does not clear it).
    bool Visible() const { return !isHidden(); }

signals:
    void DateSelected(int day, int month, int year);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showDate(int day, int month, int year);
    void raiseSelected(const QDate& date);

    int day_;
    int month_;
    int year_;
};
