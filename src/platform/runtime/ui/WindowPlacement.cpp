#include "platform/runtime/ui/WindowPlacement.h"

#include "platform/runtime/ui/Form.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace vb {

namespace {

const QScreen* screenOf(const QWidget& window)
{
    if (const QScreen* screen = window.screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

// The window's frame as the window system will draw it: its real frame once it is shown with
// one, else its size with a title bar and borders of a usual size at least.
QSize expectedFrameSize(const QWidget& window)
{
    const QSize frame = window.frameGeometry().size();
    if (window.isVisible() && frame != window.size())
        return frame;
    const int border = std::max(8, 2 * window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    const int title = std::max(40, window.style()->pixelMetric(QStyle::PM_TitleBarHeight));
    return window.size() + QSize(border, border + title);
}

// Centres a window of its own over another one (the screen's available area when there is
// none), then keeps it within the screen.
void centreWithinScreen(QWidget& window, const QWidget* over)
{
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect centreOf = over && over->isVisible() ? over->frameGeometry() : screen->availableGeometry();
    QRect frame(QPoint(0, 0), expectedFrameSize(window));
    frame.moveCenter(centreOf.center());
    window.move(frame.topLeft());
    keepWithinScreen(window);
}

// Places its window once, when the window is first shown: before it reaches the screen. A window
// shown inside another (a child of the main window) or placed by its own code is left alone.
class FirstShowPlacer : public QObject {
public:
    explicit FirstShowPlacer(QWidget& window) : QObject(&window), window_(window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_ && event->type() == QEvent::Show) {
            window_.removeEventFilter(this);
            if (window_.isWindow() && !window_.testAttribute(Qt::WA_Moved)) {
                const MDIForm* main = MDIForm::Current();
                centreWithinScreen(window_, main && main->widget() != &window_ ? main->widget() : nullptr);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& window_;
};

} // namespace

QRect placedWithin(const QRect& window, const QRect& area)
{
    const int left = std::max(area.left(), std::min(window.left(), area.right() + 1 - window.width()));
    const int top = std::max(area.top(), std::min(window.top(), area.bottom() + 1 - window.height()));
    return {QPoint(left, top), window.size()};
}

void keepWithinScreen(QWidget& window)
{
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize decoration = expectedFrameSize(window) - window.size();
    const QSize fits = QSize(std::min(window.width(), area.width() - decoration.width()),
                             std::min(window.height(), area.height() - decoration.height()))
                           .expandedTo(window.minimumSize());
    if (fits != window.size())
        window.resize(fits);
    // A window's position is its frame's top left corner.
    const QRect placed = placedWithin(QRect(window.pos(), window.size() + decoration), area);
    if (placed.topLeft() != window.pos())
        window.move(placed.topLeft());
}

void placeWhenFirstShown(QWidget& window) { new FirstShowPlacer(window); }

} // namespace vb
