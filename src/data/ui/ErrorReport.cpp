#include "data/ui/ErrorReport.h"

#include "platform/controls/VSFlexGrid.h"
#include "platform/dao/Error.h"
#include "platform/runtime/App.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/ui/Form.h"

namespace errorreport {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

ErrorParts errorParts(const std::exception& error)
{
    if (const auto* e = dynamic_cast<const dao::Error*>(&error))
        return {e->Number(), e->Description(), e->Source()};
    if (const auto* e = dynamic_cast<const vb::RuntimeError*>(&error))
        return {e->Number(), e->Description(), App::Title()};
    if (const auto* e = dynamic_cast<const FlexGridError*>(&error))
        return {e->Number(), e->Description(), App::Title()};
    return {0, QString::fromUtf8(error.what()), App::Title()};
}

QString ErrorReportText(const QString& location, int number, const QString& description, const QString& source)
{
    return QStringLiteral("Error Number: ") + QString::number(number) + kCrLf + QStringLiteral("Error Description: ") +
           description + kCrLf + QStringLiteral("Error source: ") + source + kCrLf + QStringLiteral("Error location:") + location;
}

void ShowErrorMessage(const QString& location, int number, const QString& description, const QString& source)
{
    for (vb::FormBase* form : vb::Forms().Snapshot()) {
        if (form->Name() == QLatin1String("frmSplash"))
            form->Unload();
    }
    vb::MsgBox(ErrorReportText(location, number, description, source), vb::vbOKOnly);
}

void ShowErrorMessage(const QString& location, const std::exception& error)
{
    const ErrorParts parts = errorParts(error);
    ShowErrorMessage(location, parts.number, parts.description, parts.source);
}

void ShowErrorMessage(const QString& location)
{
    const std::exception_ptr current = std::current_exception();
    if (!current) {
        ShowErrorMessage(location, 0, QString(), QString());
        return;
    }
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        ShowErrorMessage(location, e);
    } catch (...) {
        ShowErrorMessage(location, 0, QString(), App::Title());
    }
}

void showError(int number, const QString& text, int icon)
{
    vb::MsgBox(text, vb::vbOKOnly | icon, QStringLiteral("Error: ") + QString::number(number));
}

void showError(const std::exception& error, const QString& lead, int icon)
{
    const ErrorParts parts = errorParts(error);
    showError(parts.number, lead.isEmpty() ? parts.description : lead + kCrLf + parts.description, icon);
}

void guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        showError(e);
    }
}

} // namespace errorreport
