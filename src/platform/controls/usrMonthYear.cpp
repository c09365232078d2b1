#include "platform/controls/usrMonthYear.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLocale>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

usrMonthYear::usrMonthYear(QWidget* parent) : QWidget(parent)
{
    cboYear_ = new QComboBox(this);
    cboYear_->setObjectName(QStringLiteral("cboYear"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(cboYear_);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    const QLocale locale;
    for (int m = 1; m <= 12; ++m) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("month%1").arg(m));
        button->setText(locale.monthName(m, QLocale::ShortFormat));
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grid->addWidget(button, (m - 1) / 4, (m - 1) % 4);
        connect(button, &QToolButton::clicked, this, [this, m] { pickMonth(m); });
        months_[static_cast<std::size_t>(m - 1)] = button;
    }
    layout->addLayout(grid);
    connect(cboYear_, &QComboBox::activated, this, &usrMonthYear::onYearActivated);
    showSelection();
}

usrMonthYear::~usrMonthYear() = default;

void usrMonthYear::ClearYears()
{
    const QSignalBlocker block(cboYear_);
    cboYear_->clear();
}

void usrMonthYear::AddYear(int year)
{
    const QSignalBlocker block(cboYear_);
    cboYear_->addItem(QString::number(year), year);
    showSelection();
}

int usrMonthYear::YearCount() const { return cboYear_->count(); }

int usrMonthYear::Year(int index) const { return cboYear_->itemData(index).toInt(); }

void usrMonthYear::MonthHasData(int month, bool hasData)
{
    if (month < 1 || month > 12)
        return;
    hasData_[static_cast<std::size_t>(month - 1)] = hasData;
    showSelection();
}

bool usrMonthYear::MonthMarked(int month) const
{
    return month >= 1 && month <= 12 && hasData_[static_cast<std::size_t>(month - 1)];
}

void usrMonthYear::setMonthChoiceEnabled(bool enabled)
{
    monthChoice_ = enabled;
    showSelection();
}

void usrMonthYear::SelectPeriod(int year, int month)
{
    // The list holds the years with readings only; another year is no period to show.
    if (cboYear_->findData(year) < 0)
        return;
    year_ = year;
    month_ = month;
    showSelection();
    emit PeriodChanged();
}

void usrMonthYear::pickYear(int year)
{
    if (year == year_)
        return;
    year_ = year;
    showSelection();
    // With or without the month choice the listener picks the month of the new year.
    emit YearChanged();
}

void usrMonthYear::pickMonth(int month)
{
    if (!monthChoice_ || month < 1 || month > 12) {
        showSelection();
        return;
    }
    month_ = month;
    showSelection();
    emit PeriodChanged();
}

void usrMonthYear::onYearActivated(int index)
{
    if (index >= 0)
        pickYear(cboYear_->itemData(index).toInt());
}

void usrMonthYear::showSelection()
{
    {
        const QSignalBlocker block(cboYear_);
        cboYear_->setCurrentIndex(cboYear_->findData(year_));
    }
    for (int m = 1; m <= 12; ++m) {
        QToolButton* button = months_[static_cast<std::size_t>(m - 1)];
        const bool data = hasData_[static_cast<std::size_t>(m - 1)];
        QFont f = button->font();
        f.setBold(data);
        button->setFont(f);
        button->setEnabled(monthChoice_ && data);
        button->setChecked(monthChoice_ && m == month_);
    }
}
