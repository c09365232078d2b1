#pragma once
// Conversions the controls share: colour codes (&HBBGGRR, system colours &H800000nn) to Qt
// colours, twips to pixels at the widget's resolution, and the small pictures the controls draw.
#include <QColor>
#include <QIcon>
#include <QPixmap>

class QPalette;
class QWidget;

namespace controls_detail {

// A colour code as a Qt colour; a system colour is looked up in the palette.
QColor colorFromCode(quint32 code, const QPalette& palette);

int twipsToPixelsX(const QWidget* widget, int twips);
int twipsToPixelsY(const QWidget* widget, int twips);
int pixelsToTwipsX(const QWidget* widget, int pixels);
int pixelsToTwipsY(const QWidget* widget, int pixels);

// Navigator arrows: a triangle pointing left or right, with a bar before it for first/last.
enum class Arrow { First, Previous, Next, Last, Up, Down };
QIcon arrowIcon(Arrow arrow, const QColor& color, int size = 12);

} // namespace controls_detail
