#pragma once
// Printing from the File menu: a picture of the active window, and the chart of the open chart
// window. Both raise services::PrintError, whose description the caller shows.
class QString;
class QWidget;

namespace modPrintScreen {

// Prints the active window of the program (the main window when none of its windows is
// active), scaled down to the page width when it is wider, its proportions kept.
void PrintActiveWindow();

// Prints the chart of the loaded chart window ("frmChart"). Raises services::PrintError, also
// when no chart window is open.
void PrintChart();

// The window PrintActiveWindow prints.
QWidget* ActiveWindow();

// Shows a printing failure as the File menu's commands do.
void ShowPrinterMessage(const QString& description);

} // namespace modPrintScreen
