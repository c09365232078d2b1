#pragma once
// The user's date conventions from the locale service: the short-date pattern and the date
// separator. Each caller makes its own instance; it remembers the last value of each it read.
#include <QString>

class clsControlPanelAPI {
public:
    // The user's short-date pattern ("M/d/yyyy", "dd.MM.yy").
    QString GetShortDateFormat();
    // The text between the first two fields of that pattern ("/", "-", ".", or another).
    QString GetDateSeparator();

private:
    QString shortDateFormat_;
    QString dateSeparator_;
};
