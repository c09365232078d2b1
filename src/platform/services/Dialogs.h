#pragma once
// The file and colour dialogs. Filters are written as the program writes them,
// "Database Files (*.mdb)|*.mdb" (description and pattern pairs joined by "|"); a cancelled
// dialog gives no value.
#include "platform/runtime/ui/Colors.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace services {

struct FileDialogRequest {
    QString title;
    QString initialFolder;
    QString fileName;             // proposed name, may be empty
    QString filter;               // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*"
    int filterIndex = 1;          // 1-based, as the filter's pairs are counted
    QString defaultExtension;     // ".txt" or "txt": added to a chosen name without an extension
    bool overwritePrompt = false; // save: ask before replacing an existing file
};

// The filter in Qt's form: "Text Files (*.txt);;All Files (*.*)".
QStringList QtFilters(const QString& filter);
// The chosen name with the default extension added when it has none.
QString WithDefaultExtension(const QString& fileName, const QString& defaultExtension);

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    virtual std::optional<QString> SaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> OpenFile(const FileDialogRequest& request) = 0;
};

class ColorDialogService {
public:
    virtual ~ColorDialogService() = default;
    // The colour chosen, starting from the given one.
    virtual std::optional<vb::OLE_COLOR> ChooseColor(vb::OLE_COLOR initial, const QString& title) = 0;
};

class QtFileDialogs : public FileDialogService {
public:
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
};

class QtColorDialog : public ColorDialogService {
public:
    std::optional<vb::OLE_COLOR> ChooseColor(vb::OLE_COLOR initial, const QString& title) override;
};

} // namespace services
