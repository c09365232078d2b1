#include "platform/controls/ControlsSupport.h"

#include <QPainter>
#include <QPolygonF>

namespace controls_detail {

QIcon arrowIcon(Arrow arrow, const QColor& color, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const qreal s = size;
    const qreal m = s * 0.2; // margin
    QPolygonF tri;
    switch (arrow) {
    case Arrow::Previous:
    case Arrow::First:
        tri << QPointF(s - m, m) << QPointF(s - m, s - m) << QPointF(m + (arrow == Arrow::First ? s * 0.2 : 0), s / 2);
        break;
    case Arrow::Next:
    case Arrow::Last:
        tri << QPointF(m, m) << QPointF(m, s - m) << QPointF(s - m - (arrow == Arrow::Last ? s * 0.2 : 0), s / 2);
        break;
    case Arrow::Up: tri << QPointF(m, s - m) << QPointF(s - m, s - m) << QPointF(s / 2, m); break;
    case Arrow::Down: tri << QPointF(m, m) << QPointF(s - m, m) << QPointF(s / 2, s - m); break;
    }
    p.drawPolygon(tri);
    if (arrow == Arrow::First)
        p.drawRect(QRectF(m, m, s * 0.15, s - 2 * m));
    else if (arrow == Arrow::Last)
        p.drawRect(QRectF(s - m - s * 0.15, m, s * 0.15, s - 2 * m));
    return QIcon(pixmap);
}

} // namespace controls_detail
