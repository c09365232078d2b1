#include "shell/modSplash.h"

#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/dao/Error.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Form.h"
#include "platform/runtime/ui/MsgBox.h"
#include "reports/clsWebReportGenerator.h"

namespace modSplash {

namespace {

struct ErrorParts {
    int number = 0;
    QString description;
    QString source;
};

ErrorParts partsOf(const std::exception& error)
{
    if (const auto* e = dynamic_cast<const dao::Error*>(&error))
        return {e->Number(), e->Description(), e->Source()};
    if (const auto* e = dynamic_cast<const vb::ConversionError*>(&error))
        return {e->Number(), e->Description(), App::Title()};
    if (const auto* e = dynamic_cast<const WebReportError*>(&error))
        return {e->Number(), e->Description(), App::Title()};
    if (const auto* e = dynamic_cast<const FlexGridError*>(&error))
        return {e->Number(), QString::fromUtf8(e->what()), App::Title()};
    return {0, QString::fromUtf8(error.what()), App::Title()};
}

} // namespace

QString ErrorReportText(const QString& location, int number, const QString& description, const QString& source)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Error Number: ") + QString::number(number) + crlf + QStringLiteral("Error Description: ") +
           description + crlf + QStringLiteral("Error source: ") + source + crlf + QStringLiteral("Error location:") + location;
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
    const ErrorParts parts = partsOf(error);
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

} // namespace modSplash
