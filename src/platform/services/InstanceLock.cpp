#include "platform/services/InstanceLock.h"

#include "platform/runtime/App.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace services {

QString DefaultInstanceLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray id = QCryptographicHash::hash(App::Path().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return folder + QStringLiteral("/ravelcombrick-") + QString::fromLatin1(id) + QStringLiteral(".lock");
}

InstanceLock::InstanceLock(const QString& lockPath) : path_(lockPath) {}

bool InstanceLock::TryLock()
{
    if (Locked())
        return true;
    auto lock = std::make_unique<QLockFile>(path_);
    // Held for the program's whole run: never stale by age, only when its process is gone.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    lock_ = std::move(lock);
    return true;
}

bool InstanceLock::Locked() const { return lock_ && lock_->isLocked(); }

} // namespace services
