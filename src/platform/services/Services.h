#pragma once
// Every replaceable service of the platform in one place. The program calls
// InstallRealServices() at start; tests create a TestServices (tests/support), which installs
// doubles of these and of the runtime's services (message boxes, modal forms, beep, pauses,
// clock, random numbers) and puts the previous ones back when it goes.
#include <memory>

namespace services {

class ShellService;
class HelpViewer;
class PrinterService;
class ScreenCapture;
class LocaleService;
class FileDialogService;
class ColorDialogService;

struct Services {
    std::shared_ptr<ShellService> shell;
    std::shared_ptr<HelpViewer> help;
    std::shared_ptr<PrinterService> printer;
    std::shared_ptr<ScreenCapture> capture;
    std::shared_ptr<LocaleService> locale;
    std::shared_ptr<FileDialogService> fileDialogs;
    std::shared_ptr<ColorDialogService> colorDialog;
};

// The services in use. Until the program installs the real ones nothing reaches the desktop:
// the shell, help, printer and the file and colour dialogs refuse every call (they throw
// vb::UnexpectedDialog); the locale and the screen capture are the real ones.
Services& Current();

// The real services, and the real runtime services with them.
void InstallRealServices();

} // namespace services
