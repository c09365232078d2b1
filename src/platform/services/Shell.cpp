#include "platform/services/Shell.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace services {

bool DesktopShell::OpenFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

namespace {

// The command line of the desktop's default program for plain text, with the file in place of
// its file or address field codes; empty when there is none.
QStringList textEditorCommand(const QString& file)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    if (!query.waitForFinished(3000) || query.exitCode() != 0)
        return {};
    const QString id = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    const QString entry = id.isEmpty() ? QString() : QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    QFile desktop(entry);
    if (entry.isEmpty() || !desktop.open(QIODevice::ReadOnly))
        return {};
    QString exec;
    bool inEntry = false;
    for (const QByteArray& raw : desktop.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'['))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec=")))
            exec = line.mid(5);
    }
    QStringList command;
    bool placed = false;
    for (const QString& part : QProcess::splitCommand(exec)) {
        if (part == QLatin1String("%f") || part == QLatin1String("%F") || part == QLatin1String("%u") ||
            part == QLatin1String("%U")) {
            command << file;
            placed = true;
        } else if (!(part.size() == 2 && part[0] == u'%')) {
            command << part;
        }
    }
    if (!command.isEmpty() && !placed)
        command << file;
    return command;
}

} // namespace

bool DesktopShell::OpenTextFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    const QStringList command = textEditorCommand(QFileInfo(path).absoluteFilePath());
    if (!command.isEmpty() && QProcess::startDetached(command.first(), command.mid(1)))
        return true;
    return OpenFile(path);
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
