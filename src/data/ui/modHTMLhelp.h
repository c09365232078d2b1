#pragma once
// Context help: each screen has a page of its own among the help pages; any other name opens
// the contents page.
#include <QString>

namespace modHTMLhelp {

// The topic kept for a form name (exact comparison), or the empty text for the contents page.
QString TopicOf(const QString& formName);

// Shows the help page of the form's topic in the program's help window.
void ShowHelp(const QString& formName);

} // namespace modHTMLhelp
