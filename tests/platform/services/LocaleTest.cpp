// The short-date pattern from the operating system's locale, in the program's tokens, and its
// date separator.
#include "platform/services/Locale.h"
#include "support/ServiceDoubles.h"

#include <QByteArray>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace services;

namespace {

// Sets an environment variable for the scope of a test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

struct PatternCase {
    const char* strftime;
    const char* pattern;
    const char* separator;
};

} // namespace

TEST(LocalePatternTest, StrftimePatternsBecomeProgramPatternsWithTheirSeparator)
{
    const PatternCase cases[] = {
        {"%m/%d/%y", "MM/dd/yy", "/"},   // POSIX / C
        {"%d.%m.%Y", "dd.MM.yyyy", "."}, // German
        {"%Y-%m-%d", "yyyy-MM-dd", "-"}, // Swedish, Canadian
        {"%d/%m/%y", "dd/MM/yy", "/"},   // British
        {"%m/%d/%Y", "MM/dd/yyyy", "/"}, // US
        {"%D", "MM/dd/yy", "/"},
        {"%F", "yyyy-MM-dd", "-"},
        {"%-d/%-m/%Y", "d/M/yyyy", "/"}, // GNU unpadded fields
        {"%e.%m.%Y", "d.MM.yyyy", "."},
        {"%Od.%Om.%Ey", "dd.MM.yy", "."}, // alternative digits
        {"%d %b %Y", "dd MMM yyyy", " "}, // a blank separator (refused by the start-up check)
        {"%Y. %m. %d.", "yyyy. MM. dd.", ". "},
        {"%Y\xeb\x85\x84 %m\xec\x9b\x94 %d\xec\x9d\xbc", "yyyy\xeb\x85\x84 MM\xec\x9b\x94 dd\xec\x9d\xbc", "\xeb\x85\x84 "},
        {"%Y%m%d", "yyyyMMdd", ""},
        {"100%%", "100%", ""},
    };
    for (const PatternCase& c : cases) {
        const QString pattern = VbDatePattern(QString::fromUtf8(c.strftime));
        EXPECT_EQ(pattern, QString::fromUtf8(c.pattern)) << c.strftime;
        EXPECT_EQ(DateSeparatorOf(pattern), QString::fromUtf8(c.separator)) << c.strftime;
    }
}

TEST(LocalePatternTest, PosixLocaleGivesMonthDayYearWithSlashes)
{
    ScopedEnv all("LC_ALL", "C");
    SystemLocale locale;
    EXPECT_EQ(SystemLocale::DateFormat(), QStringLiteral("%m/%d/%y"));
    EXPECT_EQ(locale.ShortDatePattern(), QStringLiteral("MM/dd/yy"));
    EXPECT_EQ(locale.DateSeparator(), QStringLiteral("/"));
}

TEST(LocalePatternTest, UnknownLocaleFallsBackToPosixAndLeavesTheProcessLocaleAlone)
{
    const QByteArray numericBefore = std::setlocale(LC_NUMERIC, nullptr);
    ScopedEnv all("LC_ALL", "xx_YY.UTF-8");
    EXPECT_EQ(SystemLocale::DateFormat(), QStringLiteral("%m/%d/%y"));
    EXPECT_EQ(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), numericBefore);
}

TEST(LocalePatternTest, DoubleReturnsWhatTheTestSets)
{
    FixedLocale locale;
    locale.Set(QStringLiteral("dd.MM.yy"), QStringLiteral("."));
    EXPECT_EQ(locale.ShortDatePattern(), QStringLiteral("dd.MM.yy"));
    EXPECT_EQ(locale.DateSeparator(), QStringLiteral("."));
}
