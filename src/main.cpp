// The program: install the real services, run the start, then the event loop for as long as
// the main window lives.
#include "data/clsCreateMDB.h"
#include "data/clsDataService.h"
#include "data/modHealth.h"
#include "platform/runtime/ui/Form.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/services/Services.h"
#include "shell/mdiHealth.h"
#include "shell/modHealthMain.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ravelcombrick"));
    // Closing the last window does not end the program; the main window's end does.
    QApplication::setQuitOnLastWindowClosed(false);
    vb::InstallFormBehaviour();

    services::InstallRealServices();
    modHealth::setBeepHook([] { vb::Beep(); });
    // The default entry time reads the same clock as the forms.
    clsDataService::setClock([] { return vb::Now().time(); });
    dataMessage::setHandler([](const QString& prompt, int buttons, const QString& title) { vb::MsgBox(prompt, buttons, title); });

    modHealth::Main();

    int result = 0;
    if (mdiHealth* main = mdiHealth::Loaded()) {
        // The main window's unload hides it and deletes it from the event loop: that ends the run.
        QObject::connect(main, &QObject::destroyed, &app, &QCoreApplication::quit);
        result = QApplication::exec();
    }
    vb::DestroyAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    dataMessage::setHandler({});
    return result;
}
