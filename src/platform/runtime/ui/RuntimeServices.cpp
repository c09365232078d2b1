#include "platform/runtime/ui/RuntimeServices.h"

#include "platform/runtime/ui/Form.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace vb {

namespace {

// What answers before anything is installed: a forgotten install fails loudly instead of blocking.
class RefusedMessages : public MessageService {
public:
    int Show(const MsgBoxCall& box) override
    {
        throw UnexpectedDialog(QStringLiteral("Message box before any message service was installed: \"%1\"").arg(box.text));
    }
};

class RefusedModal : public ModalRunner {
public:
    void Run(FormBase& form) override
    {
        throw UnexpectedDialog(QStringLiteral("Modal form \"%1\" before any modal runner was installed").arg(form.Name()));
    }
};

RuntimeServices StrictDefaults()
{
    RuntimeServices services;
    services.messages = std::make_shared<RefusedMessages>();
    services.modal = std::make_shared<RefusedModal>();
    services.beep = std::make_shared<SystemBeep>();
    services.pause = std::make_shared<ThreadPause>();
    services.clock = std::make_shared<SystemClock>();
    services.random = std::make_shared<SystemRandom>();
    return services;
}

// Ends the modal loop when the form's window hides or goes away.
class HideWatcher : public QObject {
public:
    HideWatcher(QWidget* window, QEventLoop& loop) : loop_(loop) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            loop_.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& loop_;
};

} // namespace

RuntimeServices& Runtime()
{
    static RuntimeServices services = StrictDefaults();
    return services;
}

void InstallRealRuntimeServices()
{
    RuntimeServices& services = Runtime();
    services.messages = std::make_shared<QtMessageService>();
    services.modal = std::make_shared<QtModalRunner>();
    services.beep = std::make_shared<SystemBeep>();
    services.pause = std::make_shared<ThreadPause>();
    services.clock = std::make_shared<SystemClock>();
    services.random = std::make_shared<SystemRandom>();
}

void QtModalRunner::Run(FormBase& form)
{
    QPointer<QWidget> window = form.Window();
    if (!window)
        return;
    window->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    HideWatcher watcher(window, loop);
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->show();
    window->raise();
    window->activateWindow();
    if (window->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (window)
        window->setWindowModality(Qt::NonModal);
}

} // namespace vb
