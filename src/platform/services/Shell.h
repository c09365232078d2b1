#pragma once
// The desktop's "open" verb: a file in the program the user's system associates with it, a
// folder in the file manager, a web address in the browser. The program does not wait.
#include <QString>

namespace services {

class ShellService {
public:
    virtual ~ShellService() = default;
    // Each returns false when the desktop could not open it.
    virtual bool OpenFile(const QString& path) = 0;
    // A file in the desktop's text editor, whatever program its name is associated with.
    virtual bool OpenTextFile(const QString& path) = 0;
    virtual bool OpenFolder(const QString& path) = 0;
    virtual bool OpenWebAddress(const QString& address) = 0;
};

// Through QDesktopServices (xdg-open on Linux).
class DesktopShell : public ShellService {
public:
    bool OpenFile(const QString& path) override;
    // The desktop's default program for plain text (xdg-mime); when it can't be found or
    // started, the program associated with the file.
    bool OpenTextFile(const QString& path) override;
    bool OpenFolder(const QString& path) override;
    bool OpenWebAddress(const QString& address) override;
};

} // namespace services
