#include "platform/runtime/Conversions.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using namespace vb;

template <typename Call>
int ErrorNumberOf(Call call)
{
    try {
        call();
    } catch (const ConversionError& e) {
        return e.Number();
    }
    return 0;
}

// What a Null column reads as: a typed but null value.
QVariant SqlNull() { return QVariant(QMetaType(QMetaType::QString)); }

// Tests that change the short-date pattern put the default back however they end.
class ShortDatePatternGuard {
public:
    explicit ShortDatePatternGuard(const QString& pattern) : saved_(ShortDatePattern()) { SetShortDatePattern(pattern); }
    ~ShortDatePatternGuard() { SetShortDatePattern(saved_); }
    ShortDatePatternGuard(const ShortDatePatternGuard&) = delete;
    ShortDatePatternGuard& operator=(const ShortDatePatternGuard&) = delete;

private:
    QString saved_;
};

const QDateTime kEvening(QDate(2027, 3, 8), QTime(19, 5, 9), Qt::UTC);

// ---------------------------------------------------------------------------------------------

TEST(Val, ReadsTheLeadingNumber)
{
    const std::vector<std::pair<const char*, double>> cases = {
        {"42", 42},       {"  42", 42},       {"1 2", 12},        {"\t5\r\n0", 50},  {"-3.5", -3.5},   {"+7", 7},
        {"- 4", -4},      {".5", 0.5},        {"1.5e3", 1500},    {"2D2", 200},      {"1.5E-1", 0.15}, {"1e", 1},
        {"1e+", 1},       {"1.2.3", 1.2},     {"12abc", 12},      {"72.3 kg", 72.3}, {"1,000", 1},     {"abc", 0},
        {"", 0},          {"-", 0},           {".", 0},           {"$5", 0},         {"&HFF", 255},    {"&hff", 255},
        {"&HFFFF", -1},   {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&O17", 15},      {"&H", 0},        {"1e-400", 0},
        {"0001.50", 1.5}, {"5 é", 5},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Val(QString::fromUtf8(text)), expected) << text;
}

TEST(Val, ValuesAndOverflow)
{
    EXPECT_EQ(Val(QVariant()), 0);
    EXPECT_EQ(Val(SqlNull()), 0);
    EXPECT_EQ(Val(QVariant(72.3)), 72.3);
    EXPECT_EQ(Val(QVariant(QStringLiteral("3 kg"))), 3);
    EXPECT_EQ(Val(QVariant(QDate(2027, 3, 8))), 3); // read from its text, "3/8/2027"
    EXPECT_EQ(ErrorNumberOf([] { Val(QStringLiteral("1e400")); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { Val(QStringLiteral("&H100000000")); }), 6);
}

// ---------------------------------------------------------------------------------------------

TEST(CIntCLng, RoundHalfToEven)
{
    const std::vector<std::pair<double, int>> cases = {
        {0.5, 0},       {1.5, 2},       {2.5, 2},         {3.5, 4}, {-0.5, 0},        {-1.5, -2},         {-2.5, -2},
        {2.4999999, 2}, {2.5000001, 3}, {-2.5000001, -3}, {0, 0},   {32767.4, 32767}, {-32768.5, -32768}, {32766.5, 32766},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(CInt(value), expected) << value;
        EXPECT_EQ(CLng(value), expected) << value;
    }
    EXPECT_EQ(CLng(2147483646.5), 2147483646);
    EXPECT_EQ(CLng(-2147483648.5), std::numeric_limits<qint32>::min());
    EXPECT_EQ(CLng(70000.5), 70000);
}

TEST(CIntCLng, OverflowIsError6)
{
    for (const double v : {32767.5, 32768.0, -32768.6, -32769.0, 1e10, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity()})
        EXPECT_EQ(ErrorNumberOf([v] { CInt(v); }), 6) << v;
    for (const double v : {2147483647.5, -2147483648.6, 1e10})
        EXPECT_EQ(ErrorNumberOf([v] { CLng(v); }), 6) << v;
    EXPECT_EQ(ErrorNumberOf([] { CInt(QVariant(QStringLiteral("40000"))); }), 6);
}

TEST(CIntCLng, FromValues)
{
    const std::vector<std::pair<QVariant, int>> cases = {
        {QStringLiteral("2.5"), 2},
        {QStringLiteral(" 12 "), 12},
        {QStringLiteral("-3.5"), -4},
        {QStringLiteral("1e3"), 1000},
        {QStringLiteral("&HFF"), 255},
        {true, -1},
        {false, 0},
        {7.5, 8},
        {QVariant(qint64(-9)), -9},
        {QDate(1900, 1, 1), 2},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(CInt(value), expected) << value.toString().toStdString();
        EXPECT_EQ(CLng(value), expected) << value.toString().toStdString();
    }
}

TEST(CIntCLng, NullAndTextThatIsNotANumber)
{
    EXPECT_EQ(ErrorNumberOf([] { CInt(QVariant()); }), 94);
    EXPECT_EQ(ErrorNumberOf([] { CLng(SqlNull()); }), 94);
    EXPECT_EQ(ErrorNumberOf([] { CDbl(SqlNull()); }), 94);
    for (const char* text : {"", " ", "abc", "12abc", "1 2", "1,000", "1e", "-", "１２"}) {
        const QVariant v(QString::fromUtf8(text));
        EXPECT_EQ(ErrorNumberOf([&v] { CInt(v); }), 13) << text;
        EXPECT_EQ(ErrorNumberOf([&v] { CDbl(v); }), 13) << text;
    }
    try {
        CInt(QVariant());
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.Description(), QStringLiteral("Invalid use of Null"));
    }
}

// ---------------------------------------------------------------------------------------------

TEST(CSng, PrintsAsTheSingleDoes)
{
    EXPECT_EQ(CSng(72.3), 72.3);
    EXPECT_EQ(CSng(1.0 / 3.0), 0.33333334);
    EXPECT_EQ(CSng(12345678.0), 12345678.0);
    EXPECT_EQ(CSng(0.1), 0.1);
    EXPECT_EQ(CSng(static_cast<double>(72.3f)), 72.3);
    EXPECT_EQ(CSng(QVariant(QStringLiteral("98.6"))), 98.6);
    EXPECT_EQ(CSng(QVariant(98.6f)), 98.6);
    EXPECT_EQ(CSng(-0.0), 0);
    EXPECT_EQ(NumberText(CSng(2.0 / 3.0)), QStringLiteral("0.6666667"));
    EXPECT_EQ(CDbl(QVariant(QStringLiteral("0.1"))), 0.1);
}

TEST(CSng, StableWhenStoredAndReadAgain)
{
    for (int i = -2000; i <= 2000; ++i) {
        const double v = i * 0.0137 + i * i * 1.1e-3;
        const double once = CSng(v);
        EXPECT_EQ(CSng(once), once) << v;
        EXPECT_EQ(CSng(static_cast<double>(static_cast<float>(once))), once) << v;
    }
}

TEST(CSng, Overflow)
{
    EXPECT_EQ(ErrorNumberOf([] { CSng(1e39); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { CSng(-1e39); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { CSng(QVariant()); }), 94);
}

// ---------------------------------------------------------------------------------------------

TEST(NumberText, ShortestRoundTrip)
{
    const std::vector<std::pair<double, const char*>> cases = {
        {80, "80"},
        {4.5, "4.5"},
        {6.7, "6.7"},
        {0.1, "0.1"},
        {-3, "-3"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.30000000000000004"},
        {1e14, "100000000000000"},
        {123456789012345, "123456789012345"},
        {1e15, "1E+15"},
        {0.00001, "0.00001"},
        {1.5e-6, "1.5E-06"},
        {-2.5e100, "-2.5E+100"},
        {1234.5678, "1234.5678"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(NumberText(value), QString::fromLatin1(expected)) << value;
}

TEST(CStrNz, ValuesAsText)
{
    const std::vector<std::pair<QVariant, const char*>> cases = {
        {QVariant(), ""},
        {SqlNull(), ""},
        {true, "True"},
        {false, "False"},
        {72.3, "72.3"},
        {QVariant(72.3f), "72.3"},
        {5, "5"},
        {QVariant(qint64(-12345678901)), "-12345678901"},
        {QStringLiteral("O'Brien"), "O'Brien"},
        {QDate(2027, 3, 8), "3/8/2027"},
        {QDateTime(QDate(2027, 3, 8), QTime(0, 0), Qt::UTC), "3/8/2027"},
        {kEvening, "3/8/2027 7:05:09 PM"},
        {QTime(7, 5), "7:05:00 AM"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(CStr(value), QString::fromLatin1(expected)) << expected;
}

TEST(CStrNz, NullAndReplacement)
{
    EXPECT_TRUE(IsNull(QVariant()));
    EXPECT_TRUE(IsNull(SqlNull()));
    EXPECT_FALSE(IsNull(QVariant(QString())));
    EXPECT_FALSE(IsNull(QVariant(0)));
    EXPECT_EQ(Nz(QVariant()), QVariant(QString()));
    EXPECT_EQ(Nz(SqlNull(), 0), QVariant(0));
    EXPECT_EQ(Nz(QVariant(5), 0), QVariant(5));
    EXPECT_EQ(Nz(QVariant(QString()), 0), QVariant(QString()));
}

// ---------------------------------------------------------------------------------------------

struct FormatCase {
    QVariant value;
    const char* pattern;
    const char* expected;
};

void ExpectFormats(const std::vector<FormatCase>& cases)
{
    for (const FormatCase& c : cases)
        EXPECT_EQ(Format(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.expected))
            << c.pattern << " of " << CStr(c.value).toStdString();
}

TEST(FormatDates, PatternsInUse)
{
    ExpectFormats({
        {kEvening, "hh:mm AM/PM", "07:05 PM"},
        {kEvening, "H:M AM/PM", "7:5 PM"},
        {kEvening, "mm/dd/yy", "03/08/27"},
        {kEvening, "mm/dd/yyyy HH:MM AM/PM", "03/08/2027 07:05 PM"},
        {kEvening, "mmmm, yyyy", "March, 2027"},
        {kEvening, "mmm dd , yyyy", "Mar 08 , 2027"},
        {kEvening, "mmm. dd, yy", "Mar. 08, 27"},
        {kEvening, "yyyy", "2027"},
        {kEvening, "dd", "08"},
        {kEvening, "mmm dd", "Mar 08"},
        {kEvening, "mmm", "Mar"},
        {kEvening, "AM/PM", "PM"},
        {kEvening, "Short Date", "3/8/2027"},
        {kEvening, "short date", "3/8/2027"},
        {kEvening, "Long Date", "Monday, March 8, 2027"},
        {kEvening, "Short Time", "19:05"},
        {kEvening, "Medium Time", "07:05 PM"},
        {kEvening, "Long Time", "7:05:09 PM"},
        {kEvening, "General Date", "3/8/2027 7:05:09 PM"},
    });
}

TEST(FormatDates, TokensAndLiterals)
{
    ExpectFormats({
        {kEvening, "ddd dddd d", "Mon Monday 8"},
        {kEvening, "MMMM D, YYYY", "March 8, 2027"},
        {kEvening, "m/d/yy h:m", "3/8/27 19:5"},
        {kEvening, "mm:ss", "05:09"},
        {kEvening, "yyyy-mm-dd hh:nn:ss", "2027-03-08 19:05:09"},
        {kEvening, "hh mmmm", "19 March"},
        {kEvening, "am/pm a/p A/P", "pm p P"},
        {kEvening, "h:nn a/p", "7:05 p"},
        {kEvening, "q y w ww", "1 67 2 11"},
        {kEvening, "\\d\\a\\y d", "day 8"},
        {kEvening, "\"dd mm\" dd", "dd mm 08"},
        {kEvening, "dd-mm-yyyy", "08-03-2027"},
        {kEvening, "ddddd", "3/8/2027"},
    });
}

TEST(FormatDates, MidnightAndNoonInTwelveHours)
{
    const QDate day(2027, 3, 8);
    auto at = [&day](int h, int m) { return QVariant(QDateTime(day, QTime(h, m), Qt::UTC)); };
    ExpectFormats({
        {at(0, 0), "h:mm AM/PM", "12:00 AM"},
        {at(0, 30), "hh:mm AM/PM", "12:30 AM"},
        {at(11, 59), "h:mm AM/PM", "11:59 AM"},
        {at(12, 0), "h:mm AM/PM", "12:00 PM"},
        {at(12, 59), "h:mm am/pm", "12:59 pm"},
        {at(13, 0), "h:mm AM/PM", "1:00 PM"},
        {at(23, 59), "hh:mm AM/PM", "11:59 PM"},
        {at(0, 5), "hh:mm", "00:05"},
        {at(12, 0), "Short Time", "12:00"},
        {day, "hh:mm AM/PM", "12:00 AM"},
        {day, "General Date", "3/8/2027"},
        {QTime(12, 0), "General Date", "12:00:00 PM"},
    });
}

TEST(FormatDates, DatesFromOtherValues)
{
    ExpectFormats({
        {QStringLiteral("2027-03-08 19:05:09"), "mm/dd/yyyy hh:mm AM/PM", "03/08/2027 07:05 PM"},
        {QStringLiteral("2027-03-08T19:05"), "Short Time", "19:05"},
        {QStringLiteral("2027-03-08"), "mmm dd", "Mar 08"},
        {46454, "mm/dd/yyyy", "03/08/2027"},
        {0, "mm/dd/yyyy hh:nn", "12/30/1899 00:00"},
        {1.25, "m/d/yyyy h:nn", "12/31/1899 6:00"},
        {-1.25, "m/d/yyyy h:nn", "12/29/1899 6:00"},
        {QStringLiteral("not a date"), "mm/dd/yyyy", "not a date"},
        {QStringLiteral("2027-13-01"), "Short Date", "2027-13-01"},
        {QVariant(), "mm/dd/yyyy", ""},
        {SqlNull(), "Short Date", ""},
        // A date value that holds no date formats like Null, month names included.
        {QDateTime(), "mmm", ""},
        {QDateTime(), "mmmm", ""},
        {QDateTime(), "Long Date", ""},
        {QDate(), "Medium Date", ""},
    });
}

TEST(FormatDates, UserShortDatePattern)
{
    const ShortDatePatternGuard guard(QStringLiteral("dd.mm.yyyy"));
    ExpectFormats({
        {kEvening, "Short Date", "08.03.2027"},
        {kEvening, "General Date", "08.03.2027 7:05:09 PM"},
        {kEvening, "ddddd", "08.03.2027"},
    });
    EXPECT_EQ(CStr(QDate(2027, 3, 8)), QStringLiteral("08.03.2027"));
}

TEST(FormatDates, ShortDatePatternOfItsOwnTokenDoesNotRecurse)
{
    const ShortDatePatternGuard guard(QStringLiteral("ddddd"));
    EXPECT_EQ(Format(kEvening, QStringLiteral("Short Date")), QStringLiteral("3/8/2027"));
}

TEST(FormatDates, ShortDatePatternWithTheGeneralDateTokenEnds)
{
    const ShortDatePatternGuard guard(QStringLiteral("c"));
    EXPECT_EQ(Format(kEvening, QStringLiteral("Short Date")), QStringLiteral("3/8/2027 7:05:09 PM"));
    EXPECT_EQ(Format(kEvening, QStringLiteral("c")), QStringLiteral("3/8/2027 7:05:09 PM"));
    EXPECT_EQ(CStr(QDate(2027, 3, 8)), QStringLiteral("3/8/2027"));
}

// ---------------------------------------------------------------------------------------------

TEST(FormatNumbers, NonFiniteAndExtremeValuesHaveATextForEveryPattern)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QString zeros307(307, u'0');
    QString grouped = QStringLiteral("170");
    for (int i = 0; i < 102; ++i)
        grouped += QStringLiteral(",000");
    struct Case {
        double value;
        const char* pattern;
        QString expected;
    };
    const std::vector<Case> cases = {
        {nan, "0.00", "NaN"},
        {nan, "0%", "NaN"},
        {nan, "0.00E+00", "NaN"},
        {nan, "General Number", "NaN"},
        {nan, "Short Date", "NaN"},
        {inf, "0.0", "Infinity"},
        {inf, "#,##0,", "Infinity"},
        {inf, "Currency", "Infinity"},
        {inf, "Scientific", "Infinity"},
        {inf, "mm/dd/yy", "Infinity"},
        {-inf, "0.0;(0.0)", "-Infinity"},
        {-inf, "Percent", "-Infinity"},
        {1.7e308, "0", "17" + zeros307},
        {1.7e308, "0%", "1700" + zeros307 + "%"},
        {1.7e308, "#,##0", grouped},
        {1.7e308, "0.00E+00", "1.70E+308"},
        {1.7e308, "#,##0,,", grouped.chopped(8)},
        {-1.7e308, "Scientific", "-1.70E+308"},
        {1.7e308, "Short Date", "1.7E+308"},
        {4.9e-324, "0.00E+00", "4.94E-324"},
        {4.9e-324, "0.00E-00", "4.94E-324"},
        {4.9e-324, "0%", "0%"},
        {4.9e-324, "0.00", "0.00"},
        {4.9e-324, "General Number", "5E-324"},
        {-4.9e-324, "0.0", "0.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Format(c.value, QString::fromUtf8(c.pattern)), c.expected) << c.pattern << " of " << c.value;
}

TEST(FormatNumbers, Patterns)
{
    ExpectFormats({
        {0.5, "#.0", ".5"},
        {0.5, ".0", ".5"},
        {72, ".0", "72.0"},
        {72, "0.0", "72.0"},
        {72.25, "0.0", "72.3"},
        {7, "00", "07"},
        {123, "00", "123"},
        {0, "#", ""},
        {0, "0", "0"},
        {0, "#,##0", "0"},
        {1234567, "#,##0", "1,234,567"},
        {123, "#,##0", "123"},
        {5, "0,000", "0,005"},
        {1234567, "#,##0,", "1,235"},
        {1234567.891, "Standard", "1,234,567.89"},
        {-1234.5, "Fixed", "-1234.50"},
        {0.125, "Percent", "12.50%"},
        {0.5, "0%", "50%"},
        {12345, "Scientific", "1.23E+04"},
        {0.000123, "Scientific", "1.23E-04"},
        {9.999, "0.00E+00", "1.00E+01"},
        {-5, "Currency", "($5.00)"},
        {1234.5, "Currency", "$1,234.50"},
        {0, "Yes/No", "No"},
        {-1, "Yes/No", "Yes"},
        {72.3, "General Number", "72.3"},
        {1.5, "0.0#", "1.5"},
        {1.25, "0.0#", "1.25"},
        {72.5, "0.0 \"kg\"", "72.5 kg"},
        {98.6, "0.0\\F", "98.6F"},
        {123456789, "000-00-0000", "123-45-6789"},
        {-7, "0.0", "-7.0"},
        {-7, "$0.00", "-$7.00"},
    });
}

TEST(FormatNumbers, Sections)
{
    const char* threeSections = "0.0;(0.0);\\Z\\e\\r\\o";
    ExpectFormats({
        {5, threeSections, "5.0"},
        {-5, threeSections, "(5.0)"},
        {0, threeSections, "Zero"},
        {-1, "0.0;;\"nil\"", "-1.0"},
        {0, "0.0;;\"nil\"", "nil"},
        {-2, "0;\"minus \"0", "minus 2"},
        {0, "0.0;-0.0", "0.0"},
    });
}

TEST(FormatNumbers, RoundsHalfAwayFromZeroLikeSqlitePrintf)
{
    // Expected texts are SQLite's printf('%.Nf') for the same doubles.
    ExpectFormats({
        {2.25, "0.0", "2.3"},
        {0.05, "0.0", "0.1"},
        {0.15, "0.0", "0.2"},
        {1.45, "0.0", "1.5"},
        {4.35, "0.0", "4.4"},
        {1.005, "0.00", "1.01"},
        {2.675, "0.00", "2.68"},
        {0.125, "0.00", "0.13"},
        {1.115, "0.00", "1.12"},
        {0.285, "0.00", "0.29"},
        {8.345, "0.00", "8.35"},
        {5.015, "0.00", "5.02"},
        {10.005, "0.00", "10.01"},
        {123456789.125, "0.00", "123456789.13"},
        {0.5, "0", "1"},
        {1.5, "0", "2"},
        {2.5, "0", "3"},
        {-2.5, "0", "-3"},
        {9.995, "0.00", "10.00"},
        {999.96, "#,##0.0", "1,000.0"},
        {0.0001, "0.00", "0.00"},
        {-0.001, "0.00", "0.00"},
        {0.1 + 0.2, "0.0000000000000000", "0.3000000000000000"},
    });
}

TEST(FormatNumbers, TextNullAndEmptyPattern)
{
    ExpectFormats({
        {QStringLiteral("72.3"), "0.00", "72.30"},
        {QStringLiteral(" 5 "), "00", "05"},
        {QStringLiteral("abc"), "0.0", "abc"},
        {QStringLiteral("72.3 kg"), "0.0", "72.3 kg"},
        {QStringLiteral(""), "0.0", ""},
        {QVariant(), "0.0", ""},
        {SqlNull(), "Fixed", ""},
        {72.3, "", "72.3"},
        {true, "", "True"},
        {true, "0", "-1"},
        {QDate(2027, 3, 8), "0", "46454"},
    });
}

TEST(Locale, NumbersIgnoreTheUserLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Val(QStringLiteral("1.5")), 1.5);
    EXPECT_EQ(CInt(QVariant(QStringLiteral("2.5"))), 2);
    EXPECT_EQ(Format(72.25, QStringLiteral("#,##0.0")), QStringLiteral("72.3"));
    EXPECT_EQ(Format(kEvening, QStringLiteral("dddd mmmm")), QStringLiteral("Monday March"));
    EXPECT_EQ(CStr(4.5), QStringLiteral("4.5"));
    QLocale::setDefault(saved);
}

// ---------------------------------------------------------------------------------------------

TEST(SqlText, QuotesDoubled)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"O'Brien", "'O''Brien'"},
        {"", "''"},
        {"'", "''''"},
        {"''", "''''''"},
        {"it's Zoë's", "'it''s Zoë''s'"},
        {"d'Été 名前 😀", "'d''Été 名前 😀'"},
        {"no quotes", "'no quotes'"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SqlText(QString::fromUtf8(text)), QString::fromUtf8(expected)) << text;
    EXPECT_EQ(SqlQuote(QStringLiteral("O'Brien")), QStringLiteral("O''Brien"));
}

} // namespace
