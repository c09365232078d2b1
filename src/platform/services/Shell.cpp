#include "platform/services/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace services {

bool DesktopShell::OpenFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool DesktopShell::OpenFolder(const QString& path)
{
    if (!QFileInfo(path).isDir())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool DesktopShell::OpenWebAddress(const QString& address)
{
    QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        return false;
    return QDesktopServices::openUrl(url);
}

} // namespace services
