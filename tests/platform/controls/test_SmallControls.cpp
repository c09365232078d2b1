// The calendar, the up-down control and the picture clip.
#include "platform/controls/PictureClip.h"
#include "platform/controls/UpDown.h"
#include "platform/controls/ctDate.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// The day cell of the calendar's table that shows the given day of the shown month.
QModelIndex dayCell(QAbstractItemView* view, int day)
{
    const QAbstractItemModel* m = view->model();
    for (int r = 1; r < m->rowCount(); ++r) { // row 0 holds the weekday names
        for (int c = 0; c < m->columnCount(); ++c) {
            const QModelIndex i = m->index(r, c);
            // Days of the neighbouring months are shown too: take the first run of the month.
            if (m->data(i).toInt() == day && !(r == 1 && day > 20) && !(r >= 5 && day < 15))
                return i;
        }
    }
    return {};
}

TEST(CalendarControl, DayMonthAndYearMaySetInAnyOrder)
{
    ctDate cal;
    cal.setYear(2024);
    cal.setMonth(2);
    cal.setDay(10);
    EXPECT_EQ(QDate(2024, 2, 10), cal.selectedDate());

    // 31 March 2023 set day first while February is shown.
    cal.setDay(31);
    EXPECT_EQ(QDate(2024, 2, 29), cal.selectedDate());
    cal.setMonth(3);
    cal.setYear(2023);
    EXPECT_EQ(QDate(2023, 3, 31), cal.selectedDate());
    EXPECT_EQ(31, cal.Day());
    EXPECT_EQ(3, cal.Month());
    EXPECT_EQ(2023, cal.Year());
    EXPECT_EQ(2023, cal.yearShown());
    EXPECT_EQ(3, cal.monthShown());

    // Hidden until the form shows it, as the calendar button does.
    QWidget form;
    auto* ctDt = new ctDate(&form);
    ctDt->hide();
    EXPECT_FALSE(ctDt->Visible());
    ctDt->show();
    EXPECT_TRUE(ctDt->Visible());
}

TEST(CalendarControl, OffersOnlyTheDaysAReadingCanBeSavedOn)
{
    ctDate cal;
    cal.setYear(1);
    EXPECT_EQ(cal.Year(), 100);
    cal.setYear(9999);
    cal.setMonth(12);
    cal.setDay(31);
    EXPECT_EQ(cal.selectedDate(), QDate(9999, 12, 26));
    // The year box: typing 101 and stepping down twice stops at 100.
    auto* year = cal.findChild<QSpinBox*>(QStringLiteral("qt_calendar_yearedit"));
    ASSERT_NE(year, nullptr);
    year->setValue(101);
    QTest::keyClick(year, Qt::Key_Down);
    QTest::keyClick(year, Qt::Key_Down);
    EXPECT_EQ(year->value(), 100);
}

TEST(CalendarControl, DateSelectedOnClickAndEnterButNotOnKeyboardMoves)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* box = new QLineEdit(&form);
    auto* cal = new ctDate(&form);
    layout->addWidget(box);
    layout->addWidget(cal);
    cal->setYear(2030);
    cal->setMonth(3);
    cal->setDay(1);
    QSignalSpy selected(cal, &ctDate::DateSelected);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    auto* view = cal->findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview"));
    ASSERT_NE(nullptr, view);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(QDate(2030, 3, 9), cal->selectedDate());
    EXPECT_EQ(0, selected.count());

    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(1, selected.count());
    EXPECT_EQ((QList<QVariant>{9, 3, 2030}), selected.at(0));

    const QModelIndex cell = dayCell(view, 15);
    ASSERT_TRUE(cell.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    ASSERT_EQ(2, selected.count());
    EXPECT_EQ((QList<QVariant>{15, 3, 2030}), selected.at(1));
    EXPECT_EQ(15, cal->Day());
}

TEST(UpDownControl, ReportsUpAndDownSeparatelyAndLeavesTheFocusAlone)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* box = new QLineEdit(&form);
    auto* upDown = new UpDown(&form);
    layout->addWidget(box);
    layout->addWidget(upDown);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    box->setFocus();
    ASSERT_TRUE(box->hasFocus());

    QSignalSpy up(upDown, &UpDown::UpClick);
    QSignalSpy down(upDown, &UpDown::DownClick);
    QTest::mouseClick(upDown->upButton(), Qt::LeftButton);
    QTest::mouseClick(upDown->upButton(), Qt::LeftButton);
    QTest::mouseClick(upDown->downButton(), Qt::LeftButton);
    EXPECT_EQ(2, up.count());
    EXPECT_EQ(1, down.count());
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(Qt::NoFocus, upDown->upButton()->focusPolicy());
    EXPECT_TRUE(upDown->upButton()->autoRepeat());
    EXPECT_TRUE(upDown->downButton()->autoRepeat());

    upDown->setEnabled(false);
    QTest::mouseClick(upDown->downButton(), Qt::LeftButton);
    EXPECT_EQ(1, down.count());
}

TEST(PictureClipControl, HandsOutItsCellsAndTheCalendarButtonHasThreeDifferentOnes)
{
    PictureClip clip;
    EXPECT_TRUE(clip.GraphicCell(0).isNull());
    clip.setPicture(PictureClip::calendarButtonPicture(20));
    clip.setCols(3);
    const QImage normal = clip.GraphicCell(0).toImage();
    const QImage pressed = clip.GraphicCell(1).toImage();
    const QImage open = clip.GraphicCell(2).toImage();
    EXPECT_EQ(QSize(20, 20), normal.size());
    EXPECT_NE(normal, pressed);
    EXPECT_NE(normal, open);
    EXPECT_NE(pressed, open);
    EXPECT_TRUE(clip.GraphicCell(3).isNull());
    EXPECT_TRUE(clip.GraphicCell(-1).isNull());

    PictureButton button;
    button.setPicture(clip.GraphicCell(0));
    button.setDownPicture(clip.GraphicCell(1));
    const qint64 normalKey = button.icon().pixmap(20).cacheKey();
    button.setDown(true);
    emit button.pressed();
    EXPECT_NE(normalKey, button.icon().pixmap(20).cacheKey());
    button.setDown(false);
    emit button.released();
    EXPECT_EQ(button.Picture().toImage(), button.icon().pixmap(20).toImage());
}

} // namespace
