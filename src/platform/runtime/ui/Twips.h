#pragma once
// Sizes in twips (1440 to the inch), converted at the screen's logical resolution: at 96 dpi a
// pixel is 15 twips.
#include <QRect>
#include <QSize>

class QWidget;

namespace vb {

constexpr double TwipsPerInch = 1440.0;

// Logical dots per inch of the widget's screen (the primary screen without a widget; 96 when
// there is no screen at all).
double ScreenDpiX(const QWidget* widget = nullptr);
double ScreenDpiY(const QWidget* widget = nullptr);
double TwipsPerPixelX(const QWidget* widget = nullptr);
double TwipsPerPixelY(const QWidget* widget = nullptr);

// Conversions at a given resolution; pixels are rounded to the nearest whole pixel.
int TwipsToPixels(double twips, double dpi);
double PixelsToTwips(double pixels, double dpi);

int TwipsToPixelsX(double twips, const QWidget* widget = nullptr);
int TwipsToPixelsY(double twips, const QWidget* widget = nullptr);
double PixelsToTwipsX(double pixels, const QWidget* widget = nullptr);
double PixelsToTwipsY(double pixels, const QWidget* widget = nullptr);
QSize TwipsToPixels(const QSizeF& twips, const QWidget* widget = nullptr);
QRect TwipsToPixels(const QRectF& twips, const QWidget* widget = nullptr);
QSizeF PixelsToTwips(const QSize& pixels, const QWidget* widget = nullptr);

} // namespace vb
