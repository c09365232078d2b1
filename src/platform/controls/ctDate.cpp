#include "platform/controls/ctDate.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include <algorithm>

ctDate::ctDate(QWidget* parent) : QCalendarWidget(parent)
{
    const QDate today = selectedDate();
    day_ = today.day();
    month_ = today.month();
    year_ = today.year();
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
    year_ = std::clamp(year, 100, 9999);
    const QDate first(year_, month_, 1);
    const QDate date(year_, month_, std::min(day_, first.daysInMonth()));
    setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}

void ctDate::raiseSelected(const QDate& date)
{
    if (!date.isValid())
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
