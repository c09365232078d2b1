#include "platform/services/Shell.h"

#include "platform/runtime/ui/MsgBox.h"
#include "platform/services/Services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace services {

namespace {

// How long the desktop's opener is waited for. Where the desktop has a session of its own the
// opener hands the file over and ends at once; elsewhere it runs the program it found and stays
// until that program ends, so one still running after this time has opened the file.
constexpr int kOpenerWaitMs = 3000;

// Opens through xdg-open, which ends with a failing status (3, 4) when no program would or could
// open the target: Qt's own opening only tells whether the opener started.
bool openThroughDesktop(const QUrl& url)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url);
    // Left running, it goes when it ends.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start(opener, {url.isLocalFile() ? url.toLocalFile() : url.toString()});
    if (!process->waitForStarted()) {
        process->deleteLater();
        return false;
    }
    if (!process->waitForFinished(kOpenerWaitMs))
        return true;
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

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

bool DesktopShell::OpenFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    return openThroughDesktop(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

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
    return openThroughDesktop(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool DesktopShell::OpenWebAddress(const QString& address)
{
    QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        return false;
    return openThroughDesktop(url);
}

QString NotOpenedText(OpenTarget kind, const QString& target)
{
    struct Words {
        const char* what;
        const char* where;
        const char* todo;
    };
    static constexpr Words words[] = {
        // in OpenTarget's order
        {"page", "It was written to:\r\n", "Open it by hand."},
        {"folder", "The folder is:\r\n", "Open it by hand."},
        {"address", "", "Open it in a web browser by hand."},
    };
    const Words& w = words[static_cast<int>(kind)];
    const QString shown = kind == OpenTarget::Address ? target : QDir::toNativeSeparators(target);
    return QStringLiteral("The %1 could not be opened: no program on this desktop opens it.\r\n\r\n%2%3\r\n\r\n%4")
        .arg(QLatin1String(w.what), QLatin1String(w.where), shown, QLatin1String(w.todo));
}

void TellNotOpened(OpenTarget kind, const QString& target) { vb::MsgBox(NotOpenedText(kind, target), vb::vbExclamation); }

bool OpenOrTell(OpenTarget kind, const QString& target)
{
    ShellService& shell = *Current().shell;
    const bool opened = kind == OpenTarget::Page     ? shell.OpenFile(target)
                        : kind == OpenTarget::Folder ? shell.OpenFolder(target)
                                                     : shell.OpenWebAddress(target);
    if (!opened)
        TellNotOpened(kind, target);
    return opened;
}

} // namespace services
