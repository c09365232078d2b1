#pragma once
// How every window reports an error it caught (an exception, or a failure with an error number):
// through here, never through a message box of its own. Two presentations, by what the user
// must learn:
//
//   ShowErrorMessage(location)        start-up and a window's loading: closes the splash screen
//                                     when it is open, then shows the four-line report (number,
//                                     description, source and the reporting place), OK only, no
//                                     icon. Inside a catch block it reports the error in hand.
//   showError(error[, lead[, icon]])  a command that failed: the window's own lead line (when
//                                     given) over the error's description, the critical icon
//                                     unless another is given, titled "Error: " and the number.
//
// Number, description and source come from errorParts: an engine error brings its own source;
// the program's own run-time errors (vb::RuntimeError, the grid's range error) and any other
// exception give the program's title. A command whose error box has its own fixed layout (the
// grid exports' "DoHTMLReport: " box) takes the parts from errorParts too. Questions, warnings
// and notices stay plain MsgBox calls in the windows.
#include "platform/runtime/ui/MsgBox.h"

#include <QString>

#include <exception>
#include <functional>

namespace errorreport {

struct ErrorParts {
    int number = 0;
    QString description;
    QString source;
};

// The parts of an error; another exception than the program's own is number 0 with its text.
ErrorParts errorParts(const std::exception& error);

// Reports the error being handled: call it inside a catch block. Outside one the report shows
// number 0 and empty texts.
void ShowErrorMessage(const QString& location);
// Reports the given error the same way.
void ShowErrorMessage(const QString& location, const std::exception& error);
// Reports an error given by its parts.
void ShowErrorMessage(const QString& location, int number, const QString& description, const QString& source);

// The four-line report: "Error Number: ", "Error Description: ", "Error source: " and
// "Error location:" (the location follows without a blank), joined by CR LF.
QString ErrorReportText(const QString& location, int number, const QString& description, const QString& source);

// The failed command's box for an error: its description, after the lead line when one is given.
void showError(const std::exception& error, const QString& lead = QString(), int icon = vb::vbCritical);
// The same box with the text given whole (a Part's own text for a known error number).
void showError(int number, const QString& text, int icon = vb::vbCritical);

// Runs a control's event handler: an error it lets out is shown with showError rather than
// reaching the event loop.
void guarded(const std::function<void()>& handler);

} // namespace errorreport

// The start-up reporter keeps the module name the program has always called it by.
namespace modSplash {
using errorreport::ErrorReportText;
using errorreport::ShowErrorMessage;
} // namespace modSplash
