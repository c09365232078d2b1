#include "platform/dao/SqlFunctions.h"

#include "platform/dao/Criteria.h"
#include "platform/dao/Error.h"
#include "platform/dao/JetSql.h"
#include "platform/runtime/Conversions.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <unordered_map>

namespace dao {
namespace {

std::string_view textOf(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_value_bytes(v))) : std::string_view();
}

QString qtextOf(sqlite3_value* v)
{
    const std::string_view t = textOf(v);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

struct Ymd {
    int year, month, day;
};

// "YYYY-MM-DD" with an optional " HH:MM:SS": the stored form, read without building a QDateTime.
std::optional<Ymd> storedDate(std::string_view t)
{
    if (t.size() != 10 && !(t.size() == 19 && t[10] == ' '))
        return std::nullopt;
    auto digits = [&t](std::size_t at, std::size_t n) {
        int v = 0;
        for (std::size_t i = at; i < at + n; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return -1;
            v = v * 10 + (t[i] - '0');
        }
        return v;
    };
    const Ymd d{digits(0, 4), digits(5, 2), digits(8, 2)};
    if (t[4] != '-' || t[7] != '-' || !QDate::isValid(d.year, d.month, d.day))
        return std::nullopt;
    return d;
}

// The date of the argument: the stored form, or else any date literal form ("3/8/2027").
std::optional<QDateTime> dateOf(sqlite3_value* v)
{
    const std::string_view t = textOf(v);
    if (const auto d = storedDate(t)) {
        if (t.size() == 10)
            return QDateTime(QDate(d->year, d->month, d->day), QTime(0, 0), Qt::UTC);
        return jetsql::parseCanonicalDate(qtextOf(v));
    }
    return jetsql::parseDateLiteral(qtextOf(v));
}

void mismatch(sqlite3_context* ctx, const char* function)
{
    const std::string message = std::string(function) + "(): the value is no date";
    sqlite3_result_error(ctx, message.c_str(), -1);
}

enum class Part { Year, Month, Day };

template <Part part>
void datePart(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    constexpr const char* name = part == Part::Year ? "year" : part == Part::Month ? "month" : "day";
    if (const auto d = storedDate(textOf(argv[0]))) {
        // Also a date-only text: year/month/day need no validation of the time.
        sqlite3_result_int(ctx, part == Part::Year ? d->year : part == Part::Month ? d->month : d->day);
        return;
    }
    const auto dt = dateOf(argv[0]);
    if (!dt)
        return mismatch(ctx, name);
    const QDate date = dt->date();
    sqlite3_result_int(ctx, part == Part::Year ? date.year() : part == Part::Month ? date.month() : date.day());
}

void dateValue(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const auto dt = dateOf(argv[0]);
    if (!dt)
        return mismatch(ctx, "datevalue");
    const QByteArray text = jetsql::canonicalDateUtf8(QDateTime(dt->date(), QTime(0, 0), Qt::UTC));
    sqlite3_result_text(ctx, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// The value as vb::Format and the conversions take it: stored dates become dates, numeric
// text a number.
QVariant variantOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return QVariant();
    case SQLITE_INTEGER: return QVariant(static_cast<qlonglong>(sqlite3_value_int64(v)));
    case SQLITE_FLOAT: return QVariant(sqlite3_value_double(v));
    default: break;
    }
    const QString text = qtextOf(v);
    if (jetsql::looksCanonicalDate(text)) {
        if (auto dt = jetsql::parseCanonicalDate(text))
            return *dt;
    } else if (const auto d = storedDate(textOf(v))) {
        return QDateTime(QDate(d->year, d->month, d->day), QTime(0, 0), Qt::UTC);
    }
    bool ok = false;
    const double number = QStringView(text).trimmed().toDouble(&ok);
    if (ok)
        return number;
    return text;
}

// No exception may cross SQLite's C frames: every failure becomes an SQL error.
template <typename F>
void guarded(sqlite3_context* ctx, F&& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    } catch (...) {
        sqlite3_result_error(ctx, "unexpected failure in an SQL function", -1);
    }
}

// Decimals of a plain fixed pattern ("0", "0.0", "0.00", ...), or -1 for any other pattern.
int fixedDecimals(std::string_view pattern)
{
    if (pattern.empty() || pattern[0] != '0')
        return -1;
    if (pattern.size() == 1)
        return 0;
    if (pattern[1] != '.' || pattern.size() < 3 || pattern.size() > 17)
        return -1;
    for (std::size_t i = 2; i < pattern.size(); ++i)
        if (pattern[i] != '0')
            return -1;
    return static_cast<int>(pattern.size() - 2);
}

// A number in a plain fixed pattern, as Format writes it: the value's 15 significant digits
// rounded half away from zero to the decimals. The grid queries format every row this way, so
// this path avoids the general formatter's work.
std::string fixedText(double v, int decimals)
{
    std::array<char, 48> sci{};
    // d.dddddddddddddde+XX: the value's 15 significant digits, correctly rounded.
    const auto written = std::to_chars(sci.data(), sci.data() + sci.size(), std::fabs(v), std::chars_format::scientific, 14);
    *written.ptr = '\0';
    std::string digits;
    digits.reserve(16);
    digits += sci[0];
    digits.append(sci.data() + 2, 14);
    int pointPos = std::atoi(sci.data() + 17) + 1; // digits before the decimal point
    const int keep = pointPos + decimals;
    if (keep < 0) {
        digits.assign(1, '0');
        pointPos = 1;
    } else if (keep < 15) {
        const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            int i = keep - 1;
            for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i)
                digits[static_cast<std::size_t>(i)] = '0';
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++pointPos;
            }
        }
    }
    std::string out;
    auto digitAt = [&](int i) {
        return i >= 0 && i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)] : '0';
    };
    if (pointPos <= 0) {
        out += '0';
    } else {
        for (int i = 0; i < pointPos; ++i)
            out += digitAt(i);
    }
    if (decimals > 0) {
        out += '.';
        for (int i = 0; i < decimals; ++i)
            out += digitAt(pointPos + i);
    }
    if (v < 0 && out.find_first_not_of("0.") != std::string::npos)
        out.insert(out.begin(), '-');
    return out;
}

// Results of Format for the text values of one statement, by value.
using FormatResults = std::unordered_map<std::string, std::string>;

void format(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const int type = sqlite3_value_type(argv[0]);
    if ((type == SQLITE_INTEGER || type == SQLITE_FLOAT) && sqlite3_value_type(argv[1]) == SQLITE_TEXT) {
        const int decimals = fixedDecimals(textOf(argv[1]));
        const double v = sqlite3_value_double(argv[0]);
        if (decimals >= 0 && std::isfinite(v) && std::fabs(v) < 1e15) {
            const std::string text = fixedText(v, decimals);
            sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            return;
        }
    }
    // A text (a stored date, mostly) formats the same way every time with one pattern, and a
    // query formats many rows with few distinct dates and fewer times of day: the results are
    // kept beside the pattern for the rest of the statement.
    FormatResults* results = nullptr;
    if (type == SQLITE_TEXT && sqlite3_value_type(argv[1]) == SQLITE_TEXT) {
        results = static_cast<FormatResults*>(sqlite3_get_auxdata(ctx, 1));
        if (!results) {
            // SQLite owns the kept results from here and frees them with the statement.
            sqlite3_set_auxdata(ctx, 1, std::make_unique<FormatResults>().release(),
                                [](void* p) { delete static_cast<FormatResults*>(p); });
            results = static_cast<FormatResults*>(sqlite3_get_auxdata(ctx, 1));
        }
        if (results) {
            const auto found = results->find(std::string(textOf(argv[0])));
            if (found != results->end()) {
                sqlite3_result_text(ctx, found->second.data(), static_cast<int>(found->second.size()), SQLITE_TRANSIENT);
                return;
            }
        }
    }
    guarded(ctx, [&] {
        const QString pattern = sqlite3_value_type(argv[1]) == SQLITE_NULL ? QString() : qtextOf(argv[1]);
        const QByteArray utf8 = vb::Format(variantOf(argv[0]), pattern).toUtf8();
        if (results) {
            if (results->size() >= 512)
                results->clear();
            results->emplace(std::string(textOf(argv[0])), utf8.toStdString());
        }
        sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    });
}

// CInt/CLng/CSng read a number argument directly and leave text to the runtime's own rules.
double numberOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return static_cast<double>(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return sqlite3_value_double(v);
    default: return vb::CDbl(variantOf(v));
    }
}

void cint(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    guarded(ctx, [&] { sqlite3_result_int(ctx, vb::CInt(numberOf(argv[0]))); });
}

void clng(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    guarded(ctx, [&] { sqlite3_result_int(ctx, vb::CLng(numberOf(argv[0]))); });
}

void csng(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    guarded(ctx, [&] { sqlite3_result_double(ctx, vb::CSng(numberOf(argv[0]))); });
}

using Function = void (*)(sqlite3_context*, int, sqlite3_value**);

struct Registration {
    const char* name;
    int arguments;
    Function function;
};

constexpr std::array<Registration, 8> functions{{
    {"year", 1, &datePart<Part::Year>},
    {"month", 1, &datePart<Part::Month>},
    {"day", 1, &datePart<Part::Day>},
    {"datevalue", 1, &dateValue},
    // Replaces SQLite's own format() (printf) for two arguments only.
    {"format", 2, &format},
    {"cint", 1, &cint},
    {"clng", 1, &clng},
    {"csng", 1, &csng},
}};

} // namespace

namespace {

// "dao_nocase": compareNoCase over UTF-8. Plain ASCII is compared byte by byte; the rest, from
// the last plain letter before the first other character on (a combining mark belongs to the
// letter before it), as compareNoCase compares it.
int compareFolded(void*, int na, const void* va, int nb, const void* vb)
{
    const auto* a = static_cast<const unsigned char*>(va);
    const auto* b = static_cast<const unsigned char*>(vb);
    const int n = std::min(na, nb);
    int i = 0;
    for (; i < n && a[i] < 0x80 && b[i] < 0x80; ++i) {
        const int x = a[i] >= 'A' && a[i] <= 'Z' ? a[i] + 32 : a[i];
        const int y = b[i] >= 'A' && b[i] <= 'Z' ? b[i] + 32 : b[i];
        if (x == y)
            continue;
        if ((i + 1 == na || a[i + 1] < 0x80) && (i + 1 == nb || b[i + 1] < 0x80))
            return x - y;
        break;
    }
    if (i == n && na == nb)
        return 0;
    const int from = i > 0 ? i - 1 : 0;
    return compareNoCase(QString::fromUtf8(reinterpret_cast<const char*>(a + from), na - from),
                         QString::fromUtf8(reinterpret_cast<const char*>(b + from), nb - from));
}

} // namespace

void registerJetFunctions(sqlite3* db)
{
    const int collation = sqlite3_create_collation_v2(db, kFoldedCollation, SQLITE_UTF8, nullptr, compareFolded, nullptr);
    if (collation != SQLITE_OK)
        throw Error(errReservedError, QStringLiteral("The collation %1 could not be registered: %2")
                                          .arg(QLatin1String(kFoldedCollation), QString::fromUtf8(sqlite3_errstr(collation))));
    for (const Registration& r : functions) {
        const int rc = sqlite3_create_function_v2(db, r.name, r.arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                                  r.function, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw Error(errReservedError, QStringLiteral("The SQL function %1 could not be registered: %2")
                                              .arg(QLatin1String(r.name), QString::fromUtf8(sqlite3_errstr(rc))));
    }
}

} // namespace dao
