#include "platform/runtime/ui/UserInputDrop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <exception>

namespace vb {

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease: return true;
    default: return false;
    }
}

} // namespace

UserInputDrop::UserInputDrop(QWidget& window) : window_(window)
{
    QCoreApplication::instance()->installEventFilter(this);
    sinceLast_.start();
}

UserInputDrop::~UserInputDrop()
{
    // The input that waited while the work ran is delivered into the filter, and so dropped; an
    // error on its way to the user's message is not held up by it.
    if (std::uncaught_exceptions() == 0)
        QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
}

bool UserInputDrop::due(int milliseconds)
{
    if (sinceLast_.elapsed() < milliseconds)
        return false;
    sinceLast_.restart();
    return true;
}

void UserInputDrop::letOtherMessagesRun() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

bool UserInputDrop::eventFilter(QObject* watched, QEvent* event)
{
    if (!isUserInput(event->type()))
        return false;
    if (watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        return widget == &window_ || window_.isAncestorOf(widget);
    }
    return watched->isWindowType() && watched == window_.windowHandle();
}

} // namespace vb
