#pragma once
// A grid's visible content as one HTML table under a title row, appended piece by piece to a page.
#include "platform/controls/FlexGridSource.h"
#include "platform/runtime/ui/Colors.h"

#include <QString>

class clsWebReportGenerator;

class clsExport {
public:
    // Appends the table of the grid's shown rows and columns (column 0 is never written) under
    // the title, which is escaped here. Returns true once the table is complete; an error of the
    // grid or the page propagates and leaves the table unfinished.
    bool GridToHTML(const FlexGridSource& grid, const QString& title, clsWebReportGenerator& report);

    // The colour as an HTML value in double quotes, "#RRGGBB"; system colours are resolved
    // through the palette first.
    QString ColorToHTML(vb::OLE_COLOR color);
    // A cell text made safe for a table cell: &, < and > escaped, each leading and each trailing
    // blank as &nbsp; (so n blanks give 2n), and an empty text as &nbsp;.
    QString EscapeHTML(const QString& text);
    // Whether the trimmed text reads as a plain number: digits, "," and at most one ".", with
    // "-" only first. The empty text counts as a number.
    bool IsNumberText(const QString& text);
    // Replaces every occurrence of find in text; the search resumes after the inserted text (one
    // character on when it is empty), so a replacement holding find is never searched again.
    void ReplaceAll(QString& text, const QString& find, const QString& replaceWith);
};

// Text for HTML element content: &, < and > escaped, nothing else changed. For titles and other
// data-derived texts placed between tags.
QString htmlText(const QString& text);
