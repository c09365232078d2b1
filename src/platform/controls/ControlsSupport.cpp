#include "platform/controls/ControlsSupport.h"

#include <QPainter>
#include <QPalette>
#include <QPolygonF>
#include <QWidget>

namespace controls_detail {

namespace {

// The system colour indexes of the colour codes, as palette roles.
QPalette::ColorRole roleOfSystemColor(int index)
{
    switch (index) {
    case 4:  return QPalette::Window;          // menu
    case 5:  return QPalette::Base;            // window background
    case 7:  return QPalette::WindowText;      // menu text
    case 8:  return QPalette::Text;            // window text
    case 12: return QPalette::Dark;            // application workspace
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;          // button face
    case 16: return QPalette::Dark;            // button shadow
    case 17: return QPalette::PlaceholderText; // grey text
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;           // button highlight
    case 21: return QPalette::Shadow;
    case 22: return QPalette::Midlight;
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Window;
    }
}

int dpiX(const QWidget* w) { return w && w->logicalDpiX() > 0 ? w->logicalDpiX() : 96; }
int dpiY(const QWidget* w) { return w && w->logicalDpiY() > 0 ? w->logicalDpiY() : 96; }

} // namespace

QColor colorFromCode(quint32 code, const QPalette& palette)
{
    if (code & 0x80000000u)
        return palette.color(QPalette::Active, roleOfSystemColor(int(code & 0xFFu)));
    return QColor(int(code & 0xFFu), int((code >> 8) & 0xFFu), int((code >> 16) & 0xFFu));
}

int twipsToPixelsX(const QWidget* widget, int twips) { return qRound(twips * dpiX(widget) / 1440.0); }
int twipsToPixelsY(const QWidget* widget, int twips) { return qRound(twips * dpiY(widget) / 1440.0); }
int pixelsToTwipsX(const QWidget* widget, int pixels) { return qRound(pixels * 1440.0 / dpiX(widget)); }
int pixelsToTwipsY(const QWidget* widget, int pixels) { return qRound(pixels * 1440.0 / dpiY(widget)); }

QIcon arrowIcon(Arrow arrow, const QColor& color, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const qreal s = size;
    const qreal m = s * 0.2;   // margin
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
    case Arrow::Up:
        tri << QPointF(m, s - m) << QPointF(s - m, s - m) << QPointF(s / 2, m);
        break;
    case Arrow::Down:
        tri << QPointF(m, m) << QPointF(s - m, m) << QPointF(s / 2, s - m);
        break;
    }
    p.drawPolygon(tri);
    if (arrow == Arrow::First)
        p.drawRect(QRectF(m, m, s * 0.15, s - 2 * m));
    else if (arrow == Arrow::Last)
        p.drawRect(QRectF(s - m - s * 0.15, m, s * 0.15, s - 2 * m));
    return QIcon(pixmap);
}

} // namespace controls_detail
