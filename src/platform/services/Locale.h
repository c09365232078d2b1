#pragma once
// The user's date conventions from the operating system's locale (LC_TIME as set by LC_ALL,
// LC_TIME or LANG): the short-date pattern of nl_langinfo(D_FMT), written in the pattern tokens
// the program uses ("M/d/yyyy", "dd.MM.yy"), and the date separator found in it. The POSIX/C
// locale gives "%m/%d/%y", that is "MM/dd/yy" and "/".
#include <QString>

namespace services {

// A strftime date pattern in the program's tokens: %d "dd", %e "d", %m "MM", %y "yy",
// %Y "yyyy", %b "MMM", %B "MMMM", %a "ddd", %A "dddd", %D and %F spelt out, GNU flags ("%-d")
// and the alternative-digit modifiers (%Od, %Ey) dropped; other text is kept.
QString VbDatePattern(const QString& strftimePattern);
// The text between the first two date fields of a pattern in the program's tokens ("" when the
// pattern has fewer than two fields).
QString DateSeparatorOf(const QString& vbPattern);

class LocaleService {
public:
    virtual ~LocaleService() = default;
    virtual QString ShortDatePattern() = 0;
    virtual QString DateSeparator() = 0;
};

// The operating system's locale, read on every call.
class SystemLocale : public LocaleService {
public:
    QString ShortDatePattern() override;
    QString DateSeparator() override;
    // The raw D_FMT of the user's locale ("%m/%d/%y" for C or an unknown locale).
    static QString DateFormat();
};

} // namespace services
