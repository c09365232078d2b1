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

// Through the desktop's opener (xdg-open on Linux, whose exit status says whether a program
// took the file), or QDesktopServices where there is none.
class DesktopShell : public ShellService {
public:
    bool OpenFile(const QString& path) override;
    // The desktop's default program for plain text (xdg-mime); when it can't be found or
    // started, the program associated with the file.
    bool OpenTextFile(const QString& path) override;
    bool OpenFolder(const QString& path) override;
    bool OpenWebAddress(const QString& address) override;
};

// What the program asks the desktop to open.
enum class OpenTarget { Page, Folder, Address };

// The message telling that the desktop could not open `target` and where it is, so that the user
// can open it by hand.
QString NotOpenedText(OpenTarget kind, const QString& target);
// Tells it (exclamation box).
void TellNotOpened(OpenTarget kind, const QString& target);
// Opens it through the current shell service and tells the user when the desktop cannot; returns
// whether it was opened.
bool OpenOrTell(OpenTarget kind, const QString& target);

} // namespace services
