#include "shell/modHealthMain.h"

#include "data/Globals.h"
#include "data/clsCreateMDB.h"
#include "data/clsModifyMDB.h"
#include "data/clsModifyMDB1.h"
#include "data/modFunctions.h"
#include "data/modHealth.h"
#include "data/ui/ErrorReport.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/Form.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/services/InstanceLock.h"
#include "shell/clsControlPanelAPI.h"
#include "shell/frmSplash.h"
#include "shell/mdiHealth.h"

#if __has_include("shell/modTip.h")
#include "shell/modTip.h"
#define RAVEL_HAVE_TIP_OF_THE_DAY 1
#endif

namespace modHealth {

QString DateSeparatorRefusalText()
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Ravelcombrick can only work if the date seperator ") + crlf +
           QStringLiteral("is \"-\" (as in 24-05-99) or \"/\"  (as in 5/24/99) or ") + crlf +
           QStringLiteral("\".\" (as in 5.24.99).") + crlf + QStringLiteral("Please change the date seperator from the ") + crlf +
           QStringLiteral("control panel. For more information read the ") + crlf + QStringLiteral("ReadMe file. ");
}

bool CheckDateSeparator()
{
    clsControlPanelAPI api;
    const QString separator = api.GetDateSeparator();
    if (separator == QLatin1String("-") || separator == QLatin1String("/") || separator == QLatin1String(".")) {
        gShortDateFormat = api.GetShortDateFormat();
        return true;
    }
    vb::MsgBox(DateSeparatorRefusalText(), vb::vbExclamation);
    return false;
}

void Main()
{
    // Held until the process ends, so that a second copy started meanwhile is refused.
    static services::InstanceLock lock;
    Main(lock);
}

void Main(services::InstanceLock& instanceLock)
{
    if (!instanceLock.TryLock()) {
        vb::MsgBox(App::Title() + QStringLiteral(" is already running."), vb::vbExclamation, App::Title());
        return;
    }
    if (!CheckDateSeparator())
        return;

    try {
        modFunctions::setSplashStatusHook(&frmSplash::ShowStatus);
        vb::defaultInstance<frmSplash>().Show();
        vb::DoEvents();

        clsCreateMDB().OpenOrCreateDatabase();
        // Each layer runs only when its marker column is missing, in one transaction each.
        clsModifyMDB().runUpgrade();
        clsModifyMDB1().runUpgrade();
        modHealth::FixMultiplePersonPlot();

        vb::Pause(300);
        vb::defaultInstance<mdiHealth>().Load();
        vb::Pause(200);
        if (vb::FormBase* splash = vb::Forms().Find(QStringLiteral("frmSplash")))
            splash->Unload();

#ifdef RAVEL_HAVE_TIP_OF_THE_DAY
        modHealth::ShowTipOfTheDay(1);
#else
            // TIP OF THE DAY: modHealth::ShowTipOfTheDay(1) goes here once shell/modTip.h exists.
#endif
    } catch (...) {
        modSplash::ShowErrorMessage(QStringLiteral("modHealth"));
        // A main window that failed half-way through its loading still runs the program: it
        // must be seen, or the program would run on with no window at all.
        if (auto* main = mdiHealth::Loaded(); main && !main->isVisible())
            main->Show();
    }
}

} // namespace modHealth
