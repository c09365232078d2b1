#include "platform/controls/PictureClip.h"

#include <QPainter>

PictureClip::PictureClip(QObject* parent) : QObject(parent) {}

QPixmap PictureClip::GraphicCell(int index) const
{
    if (picture_.isNull() || index < 0 || index >= rows_ * cols_)
        return {};
    const int w = picture_.width() / cols_;
    const int h = picture_.height() / rows_;
    return picture_.copy((index % cols_) * w, (index / cols_) * h, w, h);
}

namespace {

// A small calendar sheet: a coloured top band with two rings and a grid of days. Pressed, it is
// drawn shifted and darker; while the calendar is open, the band is green and a day is marked.
void drawCalendar(QPainter& p, const QRect& cell, int state)
{
    const int s = cell.width();
    const int shift = state == 1 ? 1 : 0;
    const QRectF sheet(cell.x() + s * 0.15 + shift, cell.y() + s * 0.2 + shift, s * 0.7, s * 0.65);
    const QColor band = state == 2 ? QColor(0x2e, 0x8b, 0x57) : QColor(0xc0, 0x30, 0x30);
    const QColor paper = state == 1 ? QColor(0xdd, 0xdd, 0xdd) : QColor(Qt::white);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.setBrush(paper);
    p.drawRect(sheet);
    p.setBrush(band);
    p.drawRect(QRectF(sheet.x(), sheet.y(), sheet.width(), sheet.height() * 0.25));
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
    p.drawLine(QPointF(sheet.x() + sheet.width() * 0.3, sheet.y() - s * 0.08),
               QPointF(sheet.x() + sheet.width() * 0.3, sheet.y() + s * 0.06));
    p.drawLine(QPointF(sheet.x() + sheet.width() * 0.7, sheet.y() - s * 0.08),
               QPointF(sheet.x() + sheet.width() * 0.7, sheet.y() + s * 0.06));
    p.setPen(Qt::NoPen);
    const qreal top = sheet.y() + sheet.height() * 0.35;
    const qreal dx = sheet.width() / 4.0, dy = (sheet.bottom() - top) / 3.0;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            p.setBrush(state == 2 && r == 1 && c == 2 ? band : QColor(0x70, 0x70, 0x70));
            p.drawRect(QRectF(sheet.x() + dx * c + dx * 0.25, top + dy * r + dy * 0.2, dx * 0.5, dy * 0.5));
        }
}

} // namespace

QPixmap PictureClip::calendarButtonPicture(int cellSize)
{
    QPixmap strip(cellSize * 3, cellSize);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    for (int state = 0; state < 3; ++state)
        drawCalendar(p, QRect(state * cellSize, 0, cellSize, cellSize), state);
    return strip;
}

PictureButton::PictureButton(QWidget* parent) : QToolButton(parent)
{
    connect(this, &QToolButton::pressed, this, &PictureButton::showPicture);
    connect(this, &QToolButton::released, this, &PictureButton::showPicture);
}

void PictureButton::setPicture(const QPixmap& picture)
{
    picture_ = picture;
    if (!picture.isNull())
        setIconSize(picture.size());
    showPicture();
}

void PictureButton::setDownPicture(const QPixmap& picture)
{
    downPicture_ = picture;
    showPicture();
}

void PictureButton::showPicture() { setIcon(QIcon(isDown() && !downPicture_.isNull() ? downPicture_ : picture_)); }
