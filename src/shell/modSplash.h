#pragma once
// The error reporter of start-up and of the Person and Measurement forms' loading: it closes the
// splash screen when it is open and shows the error with the place it came from.
#include <QString>

#include <exception>

namespace modSplash {

// Reports the error being handled: call it inside a catch block. A dao::Error shows its
// number, description and source; the runtime's own errors (conversions, grid, page writing)
// their number and text with the program's title as source; another exception its text.
// Outside a catch block the report shows number 0 and empty texts.
void ShowErrorMessage(const QString& location);
// Reports the given error the same way.
void ShowErrorMessage(const QString& location, const std::exception& error);
// Reports an error given by its parts.
void ShowErrorMessage(const QString& location, int number, const QString& description, const QString& source);

// The four-line report: "Error Number: ", "Error Description: ", "Error source: " and
// "Error location:" (the location follows without a blank), joined by CR LF.
QString ErrorReportText(const QString& location, int number, const QString& description, const QString& source);

} // namespace modSplash
