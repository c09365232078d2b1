#include "platform/runtime/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace vb {

namespace {

QScreen* ScreenOf(const QWidget* widget)
{
    if (widget) {
        if (QScreen* screen = widget->screen())
            return screen;
    }
    return QGuiApplication::primaryScreen();
}

} // namespace

double ScreenDpiX(const QWidget* widget)
{
    const QScreen* screen = ScreenOf(widget);
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

double ScreenDpiY(const QWidget* widget)
{
    const QScreen* screen = ScreenOf(widget);
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

double TwipsPerPixelX(const QWidget* widget) { return TwipsPerInch / ScreenDpiX(widget); }

double TwipsPerPixelY(const QWidget* widget) { return TwipsPerInch / ScreenDpiY(widget); }

int TwipsToPixels(double twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / TwipsPerInch)); }

double PixelsToTwips(double pixels, double dpi) { return pixels * TwipsPerInch / dpi; }

int TwipsToPixelsX(double twips, const QWidget* widget) { return TwipsToPixels(twips, ScreenDpiX(widget)); }

int TwipsToPixelsY(double twips, const QWidget* widget) { return TwipsToPixels(twips, ScreenDpiY(widget)); }

double PixelsToTwipsX(double pixels, const QWidget* widget) { return PixelsToTwips(pixels, ScreenDpiX(widget)); }

double PixelsToTwipsY(double pixels, const QWidget* widget) { return PixelsToTwips(pixels, ScreenDpiY(widget)); }

QSize TwipsToPixels(const QSizeF& twips, const QWidget* widget)
{
    return {TwipsToPixelsX(twips.width(), widget), TwipsToPixelsY(twips.height(), widget)};
}

QRect TwipsToPixels(const QRectF& twips, const QWidget* widget)
{
    return {TwipsToPixelsX(twips.left(), widget), TwipsToPixelsY(twips.top(), widget), TwipsToPixelsX(twips.width(), widget),
            TwipsToPixelsY(twips.height(), widget)};
}

QSizeF PixelsToTwips(const QSize& pixels, const QWidget* widget)
{
    return {PixelsToTwipsX(pixels.width(), widget), PixelsToTwipsY(pixels.height(), widget)};
}

} // namespace vb
