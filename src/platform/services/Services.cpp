#include "platform/services/Services.h"

#include "platform/runtime/ui/RuntimeServices.h"
#include "platform/services/Dialogs.h"
#include "platform/services/Help.h"
#include "platform/services/Locale.h"
#include "platform/services/Printing.h"
#include "platform/services/Shell.h"
#include "platform/services/TestDoubles.h"

namespace services {

namespace {

Services Defaults()
{
    // Nothing reaches the desktop until the program installs the real services: the shell,
    // help and printer record, the dialogs refuse (they would wait for a user).
    Services s;
    s.shell = std::make_shared<ShellDouble>();
    s.help = std::make_shared<HelpDouble>();
    s.printer = std::make_shared<FakePrinter>();
    s.capture = std::make_shared<WidgetCapture>();
    s.locale = std::make_shared<SystemLocale>();
    s.fileDialogs = std::make_shared<FileDialogDouble>();
    s.colorDialog = std::make_shared<ColorDialogDouble>();
    return s;
}

} // namespace

Services& Current()
{
    static Services services = Defaults();
    return services;
}

void InstallRealServices()
{
    vb::InstallRealRuntimeServices();
    Services& s = Current();
    s.shell = std::make_shared<DesktopShell>();
    s.help = std::make_shared<HelpWindowViewer>();
    s.printer = std::make_shared<QtPrinter>();
    s.capture = std::make_shared<WidgetCapture>();
    s.locale = std::make_shared<SystemLocale>();
    s.fileDialogs = std::make_shared<QtFileDialogs>();
    s.colorDialog = std::make_shared<QtColorDialog>();
}

} // namespace services
