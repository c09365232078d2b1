#include "calculators/CalculatorSupport.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/Twips.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace calculators {

int pixelsX(const QWidget* widget, double twips) { return vb::TwipsToPixelsX(twips, widget); }
int pixelsY(const QWidget* widget, double twips) { return vb::TwipsToPixelsY(twips, widget); }
double twipsX(const QWidget* widget, int pixels) { return vb::PixelsToTwipsX(pixels, widget); }
double twipsY(const QWidget* widget, int pixels) { return vb::PixelsToTwipsY(pixels, widget); }

void placeTwips(QWidget* widget, double left, double top, double width, double height)
{
    const int x = pixelsX(widget, left);
    const int y = pixelsY(widget, top);
    const int right = pixelsX(widget, left + width);
    const int bottom = pixelsY(widget, top + height);
    widget->setGeometry(x, y, std::max(0, right - x), std::max(0, bottom - y));
}

int widthForTitle(const QWidget* window)
{
    // Title bars commonly set their text in bold; the bar's height stands for each button.
    QFont font = window->font();
    font.setBold(true);
    const int bar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QFontMetrics(font).horizontalAdvance(window->windowTitle()) + 4 * bar + 16;
}

QPixmap programPicture(const QString& relativePath) { return QPixmap(App::Path() + QLatin1Char('/') + relativePath); }

// ---------------------------------------------------------------------------------------------
// LineControl

LineControl::LineControl(QWidget* parent, const char* name) : QWidget(parent)
{
    setObjectName(QLatin1String(name));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void LineControl::setCoordinates(double x1, double y1, double x2, double y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    place();
}

void LineControl::setBorderColor(const QColor& color)
{
    color_ = color;
    update();
}

void LineControl::setBorderWidth(int pixels)
{
    width_ = std::max(1, pixels);
    place();
}

void LineControl::place()
{
    const int px1 = pixelsX(this, x1_);
    const int py1 = pixelsY(this, y1_);
    const int px2 = pixelsX(this, x2_);
    const int py2 = pixelsY(this, y2_);
    const int half = width_ / 2;
    const int left = std::min(px1, px2) - half;
    const int top = std::min(py1, py2) - half;
    setGeometry(left, top, std::abs(px2 - px1) + width_, std::abs(py2 - py1) + width_);
    update();
}

void LineControl::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const int px1 = pixelsX(this, x1_) - x();
    const int py1 = pixelsY(this, y1_) - y();
    const int px2 = pixelsX(this, x2_) - x();
    const int py2 = pixelsY(this, y2_) - y();
    if (px1 == px2 || py1 == py2) {
        // Upright and level lines fill their pixels exactly.
        painter.fillRect(rect(), color_);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color_, width_));
    painter.drawLine(QPointF(px1 + 0.5, py1 + 0.5), QPointF(px2 + 0.5, py2 + 0.5));
}

} // namespace calculators
