#pragma once
// Where the program puts the windows whose place it sets: a window of its own lies, frame
// included, within its screen's available area; a window inside the main window's client area
// lies within that area. Neither is left to open partly out of sight.
#include <QRect>

class QWidget;

namespace vb {

// Moves a window of its own, and if need be shrinks it (not below its minimum size), so that it
// lies within its screen's available area; a window that lies within it already stays put.
void keepWithinScreen(QWidget& window);

// At its first showing, a window of its own that its code has not placed opens centred over the
// main window (or the screen when none is loaded) and within the screen.
void placeWhenFirstShown(QWidget& window);

// The place of a window of the given size inside an area: as near to where it is as lies within
// the area, its top left corner in the area when the window is the larger.
QRect placedWithin(const QRect& window, const QRect& area);

} // namespace vb
