#pragma once
// What the calculator windows share: typed keys handed to a KeyPress handler, controls placed
// by twips, a line control drawn between two points given in twips, and the pictures the
// program ships.
#include "platform/runtime/ui/KeyPress.h"
#include "platform/runtime/ui/NamedControls.h"

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace calculators {

// The shared KeyPress event (platform/runtime/ui/KeyPress.h).
inline void onKeyPress(QWidget* box, std::function<void(int& keyAscii)> handler) { vb::OnKeyPress(box, std::move(handler)); }

// Places a widget on its parent by twips: each edge is rounded to its own pixel, so controls
// that abut in twips abut on the screen.
void placeTwips(QWidget* widget, double left, double top, double width, double height);
// A length or coordinate in twips as pixels of the widget's screen.
int pixelsX(const QWidget* widget, double twips);
int pixelsY(const QWidget* widget, double twips);
double twipsX(const QWidget* widget, int pixels);
double twipsY(const QWidget* widget, int pixels);

// The width a window needs to show its whole title, with the title bar's icon and buttons.
int widthForTitle(const QWidget* window);

using vb::makeButton;
using vb::makeLabel;

// A picture of the program's folder ("images/..."); an empty picture when the file is missing.
QPixmap programPicture(const QString& relativePath);

// A straight line between two points of its parent, in twips. It draws itself in a widget just
// large enough to hold it, so it can lie over other controls; mouse events pass through it.
class LineControl : public QWidget {
    Q_OBJECT
public:
    explicit LineControl(QWidget* parent, const char* name);

    void setCoordinates(double x1, double y1, double x2, double y2);
    double X1() const { return x1_; }
    double Y1() const { return y1_; }
    double X2() const { return x2_; }
    double Y2() const { return y2_; }
    void setBorderColor(const QColor& color);
    void setBorderWidth(int pixels);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void place();

    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    QColor color_{Qt::black};
    int width_ = 1;
};

} // namespace calculators
