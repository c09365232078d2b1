#include "platform/runtime/App.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Set only by tests that run the program from a temporary folder.
QString& PathOverride()
{
    static QString folder;
    return folder;
}

QString ExecutableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Before the application object exists (start-up, tests) the kernel still knows the binary.
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    return QFileInfo(exe.canonicalFilePath()).absolutePath();
}

} // namespace

QString App::Path()
{
    const QString& folder = PathOverride();
    // Callers append "/name", so the folder never ends with a slash (cleanPath strips it).
    return QDir::cleanPath(folder.isEmpty() ? ExecutableFolder() : folder);
}

void App::setPath(const QString& folder) { PathOverride() = folder; }
