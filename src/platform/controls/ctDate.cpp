#include "platform/controls/ctDate.h"

#include "platform/runtime/StorableDates.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include <algorithm>

ctDate::ctDate(QWidget* parent) : QCalendarWidget(parent)
{
    const QDate today = selectedDate();
    day_ = today.day();
    month_ = today.month();
    year_ = today.year();
    // Only days that can be saved: the year box, the month arrows and the keys stop at them.
    setDateRange(vb::FirstStorableDate(), vb::LastStorableDate());
    setGridVisible(true);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(this, &QCalendarWidget::clicked, this, &ctDate::raiseSelected);
    // Enter on the day table confirms the date under the cursor; a double click is a click.
    if (auto* view = findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview")))
        view->installEventFilter(this);
}

void ctDate::setDay(int day) { showDate(day, month_, year_); }
void ctDate::setMonth(int month) { showDate(day_, month, year_); }
void ctDate::setYear(int year) { showDate(day_, month_, year); }

void ctDate::showDate(int day, int month, int year)
{
    day_ = std::clamp(day, 1, 31);
    month_ = std::clamp(month, 1, 12);
    year_ = std::clamp(year, minimumDate().year(), maximumDate().year());
    const QDate first(year_, month_, 1);
    const QDate date = std::clamp(QDate(year_, month_, std::min(day_, first.daysInMonth())), minimumDate(), maximumDate());
    setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}

void ctDate::raiseSelected(const QDate& date)
{
    if (!vb::IsStorableDate(date))
        return;
    day_ = date.day();
    month_ = date.month();
    year_ = date.year();
    emit DateSelected(day_, month_, year_);
}

bool ctDate::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            raiseSelected(selectedDate());
            return true;
        }
    }
    return QCalendarWidget::eventFilter(watched, event);
}
