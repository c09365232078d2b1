#include "platform/services/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>

namespace services {

namespace {

QString Suffix(const QString& defaultExtension)
{
    QString suffix = defaultExtension.trimmed();
    while (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    return suffix;
}

std::optional<QString> RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initialFolder);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = QtFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(request.filterIndex - 1, filters.first()));
    }
    dialog.setDefaultSuffix(Suffix(request.defaultExtension));
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return WithDefaultExtension(dialog.selectedFiles().first(), request.defaultExtension);
}

} // namespace

QStringList QtFilters(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')).trimmed();
        // Qt takes the patterns from the parentheses that end the entry.
        const QString shown = QStringLiteral("(") + patterns + QLatin1Char(')');
        if (!description.endsWith(shown))
            description += QLatin1Char(' ') + shown;
        filters.append(description);
    }
    return filters;
}

QString WithDefaultExtension(const QString& fileName, const QString& defaultExtension)
{
    const QString suffix = Suffix(defaultExtension);
    if (suffix.isEmpty() || fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + suffix;
}

std::optional<QString> QtFileDialogs::SaveFile(const FileDialogRequest& request)
{
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<QString> QtFileDialogs::OpenFile(const FileDialogRequest& request)
{
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<vb::OLE_COLOR> QtColorDialog::ChooseColor(vb::OLE_COLOR initial, const QString& title)
{
    const QColor chosen = QColorDialog::getColor(vb::ColorFromCode(initial), QApplication::activeWindow(), title);
    if (!chosen.isValid())
        return std::nullopt;
    return vb::CodeFromColor(chosen);
}

} // namespace services
