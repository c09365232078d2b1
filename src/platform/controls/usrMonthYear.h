#pragma once
// The month and year selector: a list of years and twelve month buttons. Months marked as
// having data are in bold; the others are greyed and cannot be picked by the user (code may
// still select them). With the month choice switched off only a year is picked.
//
// PeriodChanged is raised when the user picks a month and whenever SelectPeriod sets a
// selection (of a year in the list; the selector never adds one itself); YearChanged when the
// user picks another year (the listener then selects a month of it). Both are delivered at
// once, before the call returns.
#include <QWidget>

#include <array>

class QComboBox;
class QToolButton;
class QButtonGroup;

class usrMonthYear : public QWidget {
    Q_OBJECT
public:
    explicit usrMonthYear(QWidget* parent = nullptr);
    ~usrMonthYear() override;

    void ClearYears();
    void AddYear(int year);
    int YearCount() const;
    int Year(int index) const;

    // Marks a month 1 to 12 as having data or not.
    void MonthHasData(int month, bool hasData);
    bool MonthMarked(int month) const;

    bool MonthChoiceEnabled() const { return monthChoice_; }
    void setMonthChoiceEnabled(bool enabled);

    // Selects the year and the month, then raises PeriodChanged. A year not in the list changes
    // nothing and raises nothing.
    void SelectPeriod(int year, int month);
    int SelectedYear() const { return year_; }
    int SelectedMonth() const { return month_; } // 0 while nothing is selected

    // What a user's click does, for tests and the keyboard.
    void pickYear(int year);
    void pickMonth(int month);

    QComboBox* yearList() const { return cboYear_; }
    QToolButton* monthButton(int month) const { return months_.at(static_cast<std::size_t>(month - 1)); }

signals:
    void PeriodChanged();
    void YearChanged();

private:
    void showSelection();
    void onYearActivated(int index);

    QComboBox* cboYear_;
    std::array<QToolButton*, 12> months_{};
    std::array<bool, 12> hasData_{};
    bool monthChoice_ = true;
    int year_ = 0;
    int month_ = 0;
    bool updating_ = false;
};
