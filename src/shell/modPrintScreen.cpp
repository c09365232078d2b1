#include "shell/modPrintScreen.h"

#include "charts/frmChart.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/Form.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/services/Printing.h"

#include <QApplication>
#include <QString>
#include <QWidget>

namespace modPrintScreen {

QWidget* ActiveWindow()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (vb::MDIForm* main = vb::MDIForm::Current())
        return main;
    return nullptr;
}

void PrintActiveWindow()
{
    // Let pending paints and the closing menu finish before the picture is taken.
    vb::DoEvents();
    services::PrintWindow(ActiveWindow());
}

void PrintChart()
{
    auto* chart = vb::Forms().Find<frmChart>(QStringLiteral("frmChart"));
    if (!chart)
        throw services::PrintError(QStringLiteral("There is no chart to print."));
    chart->PrintChart();
}

void ShowPrinterMessage(const QString& description)
{
    vb::MsgBox(description, vb::vbOKOnly, App::Title() + QStringLiteral(": Printer Message"));
}

} // namespace modPrintScreen
