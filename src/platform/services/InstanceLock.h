#pragma once
// Refuses a second running copy of the program: a lock file held for the program's lifetime.
// The default lock sits in the user's runtime folder and is named after the program's folder,
// so copies installed in different folders (each with its own database) may run side by side.
#include <QLockFile>
#include <QString>

#include <memory>

namespace services {

QString DefaultInstanceLockPath();

class InstanceLock {
public:
    explicit InstanceLock(const QString& lockPath = DefaultInstanceLockPath());
    // True when this copy now holds the lock; false when another running copy holds it. A lock
    // left behind by a copy that died is taken over.
    bool TryLock();
    bool Locked() const;
    QString Path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace services
