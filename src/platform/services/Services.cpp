#include "platform/services/Services.h"

#include "platform/runtime/ui/RuntimeServices.h"
#include "platform/services/Dialogs.h"
#include "platform/services/Help.h"
#include "platform/services/Locale.h"
#include "platform/services/Printing.h"
#include "platform/services/Shell.h"

namespace services {

namespace {

// What answers before anything is installed: nothing reaches the desktop or waits for a user,
// and a forgotten install fails loudly.
[[noreturn]] void refuse(const QString& what)
{
    throw vb::UnexpectedDialog(what + QStringLiteral(" before the services were installed"));
}

class RefusedShell : public ShellService {
public:
    bool OpenFile(const QString& path) override { refuse(QStringLiteral("Opening \"%1\"").arg(path)); }
    bool OpenTextFile(const QString& path) override { refuse(QStringLiteral("Opening \"%1\"").arg(path)); }
    bool OpenFolder(const QString& path) override { refuse(QStringLiteral("Opening \"%1\"").arg(path)); }
    bool OpenWebAddress(const QString& address) override { refuse(QStringLiteral("Opening \"%1\"").arg(address)); }
};

class RefusedHelp : public HelpViewer {
public:
    void ShowPage(const QString& file) override { refuse(QStringLiteral("Help page \"%1\"").arg(file)); }
};

class RefusedPrinter : public PrinterService {
public:
    QSizeF PageSizeTwips() override { refuse(QStringLiteral("Printing")); }
    void PrintImage(const QImage& /*image*/, const QSize& /*sizeTwips*/) override { refuse(QStringLiteral("Printing")); }
};

class RefusedFileDialogs : public FileDialogService {
public:
    std::optional<QString> SaveFile(const FileDialogRequest& request) override
    {
        refuse(QStringLiteral("Save dialog \"%1\"").arg(request.title));
    }
    std::optional<QString> OpenFile(const FileDialogRequest& request) override
    {
        refuse(QStringLiteral("Open dialog \"%1\"").arg(request.title));
    }
};

class RefusedColorDialog : public ColorDialogService {
public:
    std::optional<vb::OLE_COLOR> ChooseColor(vb::OLE_COLOR /*initial*/, const QString& title) override
    {
        refuse(QStringLiteral("Colour dialog \"%1\"").arg(title));
    }
};

Services Defaults()
{
    Services s;
    s.shell = std::make_shared<RefusedShell>();
    s.help = std::make_shared<RefusedHelp>();
    s.printer = std::make_shared<RefusedPrinter>();
    s.capture = std::make_shared<WidgetCapture>();
    s.locale = std::make_shared<SystemLocale>();
    s.fileDialogs = std::make_shared<RefusedFileDialogs>();
    s.colorDialog = std::make_shared<RefusedColorDialog>();
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
