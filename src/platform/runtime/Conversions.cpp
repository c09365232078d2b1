#include "platform/runtime/Conversions.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vb {

namespace {

[[noreturn]] void RaiseOverflow() { throw ConversionError(6, QStringLiteral("Overflow")); }
[[noreturn]] void RaiseTypeMismatch() { throw ConversionError(13, QStringLiteral("Type mismatch")); }
[[noreturn]] void RaiseInvalidNull() { throw ConversionError(94, QStringLiteral("Invalid use of Null")); }

// Day 0 of the serial date numbers that dates turn into when used as numbers.
QDate SerialBase() { return QDate(1899, 12, 30); }
constexpr double kMsPerDay = 86400000.0;

constexpr std::array<const char*, 12> kMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                                                     "July",    "August",   "September", "October", "November", "December"};
// Sunday first, as the program's weekday numbers count.
constexpr std::array<const char*, 7> kDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// ---------------------------------------------------------------------------------------------
// Reading numbers

struct Scanned {
    double value = 0;
    std::size_t length = 0; // characters read; 0 when the text does not begin with a number
};

// "&H" and "&O" literals keep the 16-bit/32-bit two's-complement reading: &HFFFF is -1.
Scanned ScanRadix(std::string_view s)
{
    const int radix = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
    std::uint64_t value = 0;
    std::size_t i = 2;
    for (; i < s.size(); ++i) {
        int digit = -1;
        const char c = s[i];
        if (IsDigit(c))
            digit = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            RaiseOverflow();
    }
    if (i == 2)
        return {};
    double result = 0;
    if (value <= 0xFFFFu)
        result = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    else
        result = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return {result, i};
}

// The longest number at the start of s: sign, digits, one ".", exponent with E or D.
Scanned ScanNumber(std::string_view s)
{
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o'))
        return ScanRadix(s);

    std::string text; // normalised for from_chars, which takes neither "+" nor "D"
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-')
            text += '-';
        ++i;
    }
    int mantissaDigits = 0;
    int integerDigits = 0; // significant digits before the point, to tell overflow from underflow
    for (; i < s.size() && IsDigit(s[i]); ++i, ++mantissaDigits) {
        if (integerDigits > 0 || s[i] != '0')
            ++integerDigits;
        text += s[i];
    }
    if (i < s.size() && s[i] == '.') {
        text += '.';
        for (++i; i < s.size() && IsDigit(s[i]); ++i, ++mantissaDigits)
            text += s[i];
    }
    if (mantissaDigits == 0)
        return {};
    std::size_t length = i;
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponentText = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            if (s[j] == '-')
                exponentText += '-';
            ++j;
        }
        const std::size_t firstDigit = j;
        int kept = 0;
        for (; j < s.size() && IsDigit(s[j]); ++j) {
            // Past six digits any exponent is out of range; only its sign still matters.
            if ((kept > 0 || s[j] != '0') && kept < 7) {
                exponentText += s[j];
                ++kept;
            }
        }
        if (kept == 0)
            exponentText += '0';
        if (j > firstDigit) {
            text += exponentText;
            length = j;
            std::from_chars(exponentText.data() + 1, exponentText.data() + exponentText.size(), exponent);
        }
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (integerDigits + exponent > 0)
            RaiseOverflow();
        value = 0; // too small to tell from zero
    }
    (void)end;
    return {value == 0 ? 0.0 : value, length};
}

// Text that is a number as a whole (blanks around it allowed), without locale.
std::optional<double> WholeNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(trimmed.size()));
    for (const QChar c : trimmed) {
        if (c.unicode() > 127)
            return std::nullopt;
        ascii += static_cast<char>(c.unicode());
    }
    const Scanned scanned = ScanNumber(ascii);
    if (scanned.length == 0 || scanned.length != ascii.size())
        return std::nullopt;
    return scanned.value;
}

bool IsNumericType(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return true;
    default: return false;
    }
}

bool IsDateType(const QVariant& v)
{
    const int type = v.typeId();
    return type == QMetaType::QDateTime || type == QMetaType::QDate || type == QMetaType::QTime;
}

// A date value that holds no date or time (a default QDateTime, say): formats like Null.
bool IsEmptyDate(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QDateTime: return !v.toDateTime().isValid();
    case QMetaType::QDate: return !v.toDate().isValid();
    case QMetaType::QTime: return !v.toTime().isValid();
    default: return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Dates as the program sees them: a day and a time of day, never shifted between time zones.

struct Moment {
    QDate date;
    QTime time{0, 0};
};

Moment MomentOf(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return {dt.date(), dt.time().isValid() ? dt.time() : QTime(0, 0)};
    }
    case QMetaType::QDate: return {v.toDate(), QTime(0, 0)};
    default: return {SerialBase(), v.toTime()};
    }
}

double SerialOf(const Moment& m)
{
    const double days = static_cast<double>(SerialBase().daysTo(m.date));
    const double fraction = m.time.msecsSinceStartOfDay() / kMsPerDay;
    // Before day 0 the fraction still counts forward in the day: -1.25 is 29 Dec 1899, 06:00.
    return days >= 0 ? days + fraction : days - fraction;
}

std::optional<Moment> MomentFromSerial(double serial)
{
    if (!std::isfinite(serial) || std::fabs(serial) > 3.0e6)
        return std::nullopt;
    const double whole = std::trunc(serial);
    long long seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    long long days = static_cast<long long>(whole);
    if (seconds >= 86400) { // rounding reached the next day
        seconds -= 86400;
        days += serial >= 0 ? 1 : -1;
    }
    return Moment{SerialBase().addDays(days), QTime(0, 0).addSecs(static_cast<int>(seconds))};
}

// Dates stored as text by the database: "yyyy-MM-dd" with an optional time.
std::optional<Moment> MomentFromIsoText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() < 10)
        return std::nullopt;
    const QDate date = QDate::fromString(t.left(10), Qt::ISODate);
    if (!date.isValid())
        return std::nullopt;
    if (t.size() == 10)
        return Moment{date, QTime(0, 0)};
    if (t[10] != u' ' && t[10] != u'T')
        return std::nullopt;
    const QString timeText = t.mid(11);
    for (const QString& form : {QStringLiteral("HH:mm:ss.zzz"), QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm")}) {
        const QTime time = QTime::fromString(timeText, form);
        if (time.isValid())
            return Moment{date, time};
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// Number to text

// Decimal digits of a finite, nonzero magnitude (shortest round-trip, or that many significant
// digits): value = 0.digits * 10^pointPos.
struct Digits {
    std::string digits;
    int pointPos = 0;
};

Digits DigitsOf(double magnitude, std::optional<int> significant)
{
    std::array<char, 64> buf{};
    const auto result =
        significant
            ? std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, std::chars_format::scientific, *significant - 1)
            : std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, std::chars_format::scientific);
    const std::string_view text(buf.data(), static_cast<std::size_t>(result.ptr - buf.data()));
    const std::size_t e = text.find('e');
    Digits d;
    // "inf" and "nan" carry no exponent; callers keep such values away, and this never reads
    // past the text.
    if (result.ec != std::errc() || e == std::string_view::npos) {
        d.digits = "0";
        d.pointPos = 1;
        return d;
    }
    for (std::size_t i = 0; i < e; ++i)
        if (IsDigit(text[i]))
            d.digits += text[i];
    int exponent = 0;
    std::string_view exponentText = text.substr(e + 1);
    if (!exponentText.empty() && exponentText.front() == '+')
        exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    d.pointPos = exponent + 1;
    return d;
}

QString ExponentText(int exponent, int minDigits) { return QString::number(std::abs(exponent)).rightJustified(minDigits, u'0'); }

QString GeneralDateText(const Moment& m, int depth = 0);

// ---------------------------------------------------------------------------------------------
// Date formatting

enum class DateToken {
    Literal,
    Day,
    Day2,
    DayAbbr,
    DayName,
    ShortDate,
    LongDate,
    Weekday,
    Week,
    MonthOrMinute,
    MonthOrMinute2,
    MonthAbbr,
    MonthName,
    Minute,
    Minute2,
    DayOfYear,
    Year2,
    Year4,
    Quarter,
    Hour,
    Hour2,
    Second,
    Second2,
    AmPm,
    GeneralDate,
    LongTime,
};

struct DatePart {
    DateToken token = DateToken::Literal;
    QString text;    // the literal text, or the morning half of an AM/PM token
    QString evening; // the afternoon half of an AM/PM token
};

bool IsHour(DateToken t) { return t == DateToken::Hour || t == DateToken::Hour2; }
bool IsSecond(DateToken t) { return t == DateToken::Second || t == DateToken::Second2; }

qsizetype RunLength(const QString& p, qsizetype i)
{
    const QChar c = p[i].toLower();
    qsizetype n = 1;
    while (i + n < p.size() && p[i + n].toLower() == c)
        ++n;
    return n;
}

std::vector<DatePart> ParseDatePattern(const QString& p)
{
    std::vector<DatePart> parts;
    auto literal = [&parts](const QString& text) {
        if (!parts.empty() && parts.back().token == DateToken::Literal)
            parts.back().text += text;
        else
            parts.push_back({DateToken::Literal, text, {}});
    };
    qsizetype i = 0;
    while (i < p.size()) {
        const QChar c = p[i];
        const char16_t lower = c.toLower().unicode();
        if (c == u'"') {
            const qsizetype close = p.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? p.size() : close;
            literal(p.mid(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (c == u'\\') {
            if (i + 1 < p.size())
                literal(p.mid(i + 1, 1));
            i += 2;
            continue;
        }
        if (lower == u'a') {
            if (p.mid(i, 5).compare(u"am/pm", Qt::CaseInsensitive) == 0) {
                parts.push_back({DateToken::AmPm, p.mid(i, 2), p.mid(i + 3, 2)});
                i += 5;
            } else if (p.mid(i, 3).compare(u"a/p", Qt::CaseInsensitive) == 0) {
                parts.push_back({DateToken::AmPm, p.mid(i, 1), p.mid(i + 2, 1)});
                i += 3;
            } else if (p.mid(i, 4).compare(u"ampm", Qt::CaseInsensitive) == 0) {
                parts.push_back({DateToken::AmPm, QStringLiteral("AM"), QStringLiteral("PM")});
                i += 4;
            } else {
                literal(QString(c));
                ++i;
            }
            continue;
        }
        const qsizetype run = RunLength(p, i);
        qsizetype used = 1;
        DateToken token = DateToken::Literal;
        switch (lower) {
        case u'd': {
            static constexpr std::array<DateToken, 6> byLength = {DateToken::Day,     DateToken::Day2,      DateToken::DayAbbr,
                                                                  DateToken::DayName, DateToken::ShortDate, DateToken::LongDate};
            used = std::min<qsizetype>(run, 6);
            token = byLength[static_cast<std::size_t>(used - 1)];
            break;
        }
        case u'w':
            used = std::min<qsizetype>(run, 2);
            token = used == 1 ? DateToken::Weekday : DateToken::Week;
            break;
        case u'm': {
            static constexpr std::array<DateToken, 4> byLength = {DateToken::MonthOrMinute, DateToken::MonthOrMinute2,
                                                                  DateToken::MonthAbbr, DateToken::MonthName};
            used = std::min<qsizetype>(run, 4);
            token = byLength[static_cast<std::size_t>(used - 1)];
            break;
        }
        case u'n':
            used = std::min<qsizetype>(run, 2);
            token = used == 1 ? DateToken::Minute : DateToken::Minute2;
            break;
        case u'y':
            used = run >= 4 ? 4 : run >= 2 ? 2 : 1;
            token = used == 4 ? DateToken::Year4 : used == 2 ? DateToken::Year2 : DateToken::DayOfYear;
            break;
        case u'q': token = DateToken::Quarter; break;
        case u'h':
            used = std::min<qsizetype>(run, 2);
            token = used == 1 ? DateToken::Hour : DateToken::Hour2;
            break;
        case u's':
            used = std::min<qsizetype>(run, 2);
            token = used == 1 ? DateToken::Second : DateToken::Second2;
            break;
        case u'c': token = DateToken::GeneralDate; break;
        case u't':
            if (run >= 5) {
                used = 5;
                token = DateToken::LongTime;
            }
            break;
        default: break;
        }
        if (token == DateToken::Literal)
            literal(p.mid(i, used));
        else
            parts.push_back({token, {}, {}});
        i += used;
    }

    // "m" and "mm" are minutes next to an hour or before seconds, months elsewhere.
    for (std::size_t k = 0; k < parts.size(); ++k) {
        DatePart& part = parts[k];
        if (part.token != DateToken::MonthOrMinute && part.token != DateToken::MonthOrMinute2)
            continue;
        bool minute = false;
        for (std::size_t j = k; j-- > 0;) {
            if (parts[j].token != DateToken::Literal) {
                minute = IsHour(parts[j].token);
                break;
            }
        }
        for (std::size_t j = k + 1; !minute && j < parts.size(); ++j) {
            if (parts[j].token != DateToken::Literal) {
                minute = IsSecond(parts[j].token);
                break;
            }
        }
        if (minute)
            part.token = part.token == DateToken::MonthOrMinute ? DateToken::Minute : DateToken::Minute2;
    }
    return parts;
}

// The month's name; none for a date that has no month (an invalid one).
QLatin1StringView MonthNameOf(const QDate& d)
{
    const int month = d.month();
    if (month < 1 || month > static_cast<int>(kMonthNames.size()))
        return {};
    return QLatin1StringView(kMonthNames[static_cast<std::size_t>(month - 1)]);
}

QString Two(int n) { return QString::number(n).rightJustified(2, u'0'); }

// Appends a number of at most two digits without building a text for it; longer numbers take
// the general way.
void AppendNumber(QString& out, int n, bool twoDigits)
{
    if (n < 0 || n > 99) {
        out += twoDigits ? Two(n) : QString::number(n);
        return;
    }
    if (twoDigits || n > 9)
        out += QChar(u'0' + n / 10);
    out += QChar(u'0' + n % 10);
}

// The parsed form of a pattern. A grid's query formats every row with the same few patterns,
// so the last ones are kept; shared, since formatting a short date nests a second pattern.
std::shared_ptr<const std::vector<DatePart>> CachedDatePattern(const QString& pattern)
{
    thread_local std::vector<std::pair<QString, std::shared_ptr<const std::vector<DatePart>>>> cache;
    for (const auto& [text, parts] : cache) {
        if (text == pattern)
            return parts;
    }
    if (cache.size() >= 16)
        cache.erase(cache.begin());
    cache.emplace_back(pattern, std::make_shared<const std::vector<DatePart>>(ParseDatePattern(pattern)));
    return cache.back().second;
}

// The user's short-date pattern, or a fixed one inside it: a user pattern made of "ddddd" or
// "c" must not recurse.
QString ShortDatePatternAt(int depth) { return depth == 0 ? ShortDatePattern() : QStringLiteral("m/d/yyyy"); }

QString FormatMoment(const Moment& m, const QString& pattern, int depth = 0)
{
    const auto cached = CachedDatePattern(pattern);
    const std::vector<DatePart>& parts = *cached;
    bool twelveHour = false;
    for (const DatePart& part : parts)
        twelveHour = twelveHour || part.token == DateToken::AmPm;

    const QDate& d = m.date;
    const QTime& t = m.time;
    const int sundayBased = d.dayOfWeek() % 7; // 0 = Sunday
    int hour = t.hour();
    if (twelveHour) {
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }

    QString out;
    out.reserve(pattern.size() + 8);
    for (const DatePart& part : parts) {
        switch (part.token) {
        case DateToken::Literal: out += part.text; break;
        case DateToken::Day: AppendNumber(out, d.day(), false); break;
        case DateToken::Day2: AppendNumber(out, d.day(), true); break;
        case DateToken::DayAbbr: out += QLatin1StringView(kDayNames[static_cast<std::size_t>(sundayBased)], 3); break;
        case DateToken::DayName: out += QLatin1StringView(kDayNames[static_cast<std::size_t>(sundayBased)]); break;
        case DateToken::ShortDate: out += FormatMoment(m, ShortDatePatternAt(depth), depth + 1); break;
        case DateToken::LongDate: out += FormatMoment(m, QStringLiteral("dddd, mmmm d, yyyy"), depth + 1); break;
        case DateToken::Weekday: out += QString::number(sundayBased + 1); break;
        case DateToken::Week: {
            const int jan1 = QDate(d.year(), 1, 1).dayOfWeek() % 7;
            out += QString::number((d.dayOfYear() - 1 + jan1) / 7 + 1);
            break;
        }
        case DateToken::MonthOrMinute: AppendNumber(out, d.month(), false); break;
        case DateToken::MonthOrMinute2: AppendNumber(out, d.month(), true); break;
        case DateToken::MonthAbbr: out += MonthNameOf(d).left(3); break;
        case DateToken::MonthName: out += MonthNameOf(d); break;
        case DateToken::Minute: AppendNumber(out, t.minute(), false); break;
        case DateToken::Minute2: AppendNumber(out, t.minute(), true); break;
        case DateToken::DayOfYear: out += QString::number(d.dayOfYear()); break;
        case DateToken::Year2: AppendNumber(out, d.year() % 100, true); break;
        case DateToken::Year4: out += QString::number(d.year()); break;
        case DateToken::Quarter: out += QString::number((d.month() - 1) / 3 + 1); break;
        case DateToken::Hour: AppendNumber(out, hour, false); break;
        case DateToken::Hour2: AppendNumber(out, hour, true); break;
        case DateToken::Second: AppendNumber(out, t.second(), false); break;
        case DateToken::Second2: AppendNumber(out, t.second(), true); break;
        case DateToken::AmPm: out += t.hour() < 12 ? part.text : part.evening; break;
        case DateToken::GeneralDate: out += GeneralDateText(m, depth + 1); break;
        case DateToken::LongTime: out += FormatMoment(m, QStringLiteral("h:mm:ss AM/PM"), depth + 1); break;
        }
    }
    return out;
}

QString GeneralDateText(const Moment& m, int depth)
{
    const QString time = FormatMoment(m, QStringLiteral("h:mm:ss AM/PM"), depth + 1);
    // Day 0 is how a bare time is held, so it shows as the time alone.
    if (m.date == SerialBase())
        return time;
    const QString date = FormatMoment(m, ShortDatePatternAt(depth), depth + 1);
    return m.time == QTime(0, 0) ? date : date + u' ' + time;
}

// ---------------------------------------------------------------------------------------------
// Number formatting

struct Rounded {
    std::string integer;  // without leading zeros: "" for a value below 1
    std::string fraction; // exactly the requested number of digits
};

// Half away from zero on the 15-significant-digit decimal value of the number: the precision at
// which the program shows doubles, so 1.005 -> "1.01" and 2.25 -> "2.3" like SQLite's printf.
// The value rounded is magnitude * 10^shift, shifted on its digits so that no scaling can
// overflow or underflow a double.
Rounded RoundDecimal(double magnitude, int fractionDigits, int shift = 0)
{
    constexpr int kSignificant = 15;
    std::string units; // the rounded value in units of 10^-fractionDigits
    if (magnitude == 0) {
        units = "0";
    } else {
        const Digits d = DigitsOf(magnitude, kSignificant);
        const int keep = d.pointPos + shift + fractionDigits;
        if (keep < 0) {
            units = "0";
        } else if (keep == 0) {
            units = d.digits[0] >= '5' ? "1" : "0";
        } else {
            const auto available = static_cast<int>(d.digits.size());
            units = d.digits.substr(0, static_cast<std::size_t>(std::min(keep, available)));
            if (keep > available)
                units.append(static_cast<std::size_t>(keep - available), '0');
            if (keep < available && d.digits[static_cast<std::size_t>(keep)] >= '5') {
                std::size_t i = units.size();
                while (i > 0 && units[i - 1] == '9')
                    units[--i] = '0';
                if (i == 0)
                    units.insert(units.begin(), '1');
                else
                    ++units[i - 1];
            }
        }
    }
    const auto fd = static_cast<std::size_t>(fractionDigits);
    if (units.size() < fd + 1)
        units.insert(0, fd + 1 - units.size(), '0');
    Rounded r;
    r.integer = units.substr(0, units.size() - fd);
    r.fraction = units.substr(units.size() - fd);
    const std::size_t nonZero = r.integer.find_first_not_of('0');
    r.integer = nonZero == std::string::npos ? std::string() : r.integer.substr(nonZero);
    return r;
}

enum class NumberElement { Literal, IntegerDigit, FractionDigit, Point, Exponent, ExponentDigit, Comma };

struct NumberPart {
    NumberElement element = NumberElement::Literal;
    QChar placeholder; // '0' or '#' for digits, the sign mode ('+'/'-') for an exponent
    QString text;      // literal text, or the exponent letter
};

std::vector<QString> SplitSections(const QString& pattern)
{
    std::vector<QString> sections(1);
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
        if (c == u'\\' && i + 1 < pattern.size()) {
            sections.back() += pattern[++i];
        } else if (c == u'"') {
            const qsizetype close = pattern.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? pattern.size() - 1 : close;
            sections.back() += pattern.mid(i + 1, end - i);
            i = end;
        }
    }
    return sections;
}

bool IsPlaceholder(QChar c) { return c == u'0' || c == u'#'; }

QString FormatSection(double magnitude, const QString& section)
{
    std::vector<NumberPart> parts;
    bool seenPoint = false;
    bool seenExponent = false;
    bool seenDigit = false;
    bool percent = false;
    auto literal = [&parts](const QString& text) { parts.push_back({NumberElement::Literal, {}, text}); };
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'"') {
            const qsizetype close = section.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? section.size() : close;
            literal(section.mid(i + 1, end - i - 1));
            i = end;
        } else if (c == u'\\') {
            if (i + 1 < section.size())
                literal(section.mid(++i, 1));
        } else if (IsPlaceholder(c)) {
            seenDigit = true;
            parts.push_back({seenExponent ? NumberElement::ExponentDigit
                             : seenPoint  ? NumberElement::FractionDigit
                                          : NumberElement::IntegerDigit,
                             c,
                             {}});
        } else if (c == u'.' && !seenPoint && !seenExponent) {
            seenPoint = true;
            parts.push_back({NumberElement::Point, {}, {}});
        } else if (c == u',' && !seenPoint && !seenExponent) {
            parts.push_back({NumberElement::Comma, {}, {}});
        } else if ((c == u'E' || c == u'e') && seenDigit && !seenExponent && i + 2 < section.size() &&
                   (section[i + 1] == u'+' || section[i + 1] == u'-') && IsPlaceholder(section[i + 2])) {
            seenExponent = true;
            parts.push_back({NumberElement::Exponent, section[i + 1], QString(c)});
            ++i;
        } else {
            if (c == u'%')
                percent = true;
            literal(QString(c));
        }
    }

    // A comma between integer digits groups thousands; one after the last integer digit scales
    // by a thousand; one before any digit is plain text.
    bool grouping = false;
    int scaleBy1000 = 0;
    int integerCount = 0;
    int fractionCount = 0;
    int exponentMinDigits = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        switch (parts[k].element) {
        case NumberElement::IntegerDigit: ++integerCount; break;
        case NumberElement::FractionDigit: ++fractionCount; break;
        case NumberElement::ExponentDigit:
            if (parts[k].placeholder == u'0')
                ++exponentMinDigits;
            break;
        case NumberElement::Comma: {
            bool digitAfter = false;
            for (std::size_t j = k + 1; j < parts.size(); ++j) {
                const NumberElement e = parts[j].element;
                if (e == NumberElement::IntegerDigit)
                    digitAfter = true;
                if (e == NumberElement::Point || e == NumberElement::Exponent)
                    break;
            }
            if (integerCount == 0) {
                parts[k] = {NumberElement::Literal, {}, QStringLiteral(",")};
            } else if (digitAfter) {
                grouping = true;
                parts[k].text.clear();
            } else {
                ++scaleBy1000;
            }
            break;
        }
        default: break;
        }
    }
    const bool scientific =
        std::any_of(parts.begin(), parts.end(), [](const NumberPart& p) { return p.element == NumberElement::Exponent; });

    // A percent sign and the thousands scaling move the decimal point rather than multiply, so
    // the ends of the double range keep their digits.
    const int shift = (percent ? 2 : 0) - 3 * scaleBy1000;

    Rounded digits;
    int exponent = 0;
    if (scientific) {
        const int leading = std::max(integerCount, 1);
        if (magnitude != 0) {
            const int pointPos = DigitsOf(magnitude, 15).pointPos + shift;
            exponent = pointPos - leading;
            digits = RoundDecimal(magnitude, fractionCount, shift - exponent);
            if (static_cast<int>(digits.integer.size()) > leading) { // 9.99 rounded up to 10.0
                ++exponent;
                digits = RoundDecimal(magnitude, fractionCount, shift - exponent);
            }
        } else {
            digits = RoundDecimal(0, fractionCount);
        }
    } else {
        digits = RoundDecimal(magnitude, fractionCount, shift);
    }

    // What each integer placeholder shows, right-aligned; surplus digits go to the first one.
    std::vector<QString> integerShown(static_cast<std::size_t>(integerCount));
    const auto integerLength = static_cast<int>(digits.integer.size());
    {
        int placeholderIndex = 0;
        for (const NumberPart& part : parts) {
            if (part.element != NumberElement::IntegerDigit)
                continue;
            const int fromRight = integerCount - 1 - placeholderIndex;
            QString shown;
            if (placeholderIndex == 0 && integerLength > integerCount)
                shown = QString::fromLatin1(digits.integer.data(), integerLength - integerCount);
            if (fromRight < integerLength)
                shown += QLatin1Char(digits.integer[static_cast<std::size_t>(integerLength - 1 - fromRight)]);
            else if (part.placeholder == u'0')
                shown += u'0';
            integerShown[static_cast<std::size_t>(placeholderIndex++)] = shown;
        }
    }
    qsizetype integerRemaining = 0;
    for (const QString& s : integerShown)
        integerRemaining += s.size();

    QString out;
    int integerIndex = 0;
    int fractionIndex = 0;
    for (const NumberPart& part : parts) {
        switch (part.element) {
        case NumberElement::Literal:
        case NumberElement::Comma: out += part.text; break;
        case NumberElement::IntegerDigit:
            for (const QChar digit : integerShown[static_cast<std::size_t>(integerIndex)]) {
                out += digit;
                --integerRemaining;
                if (grouping && integerRemaining > 0 && integerRemaining % 3 == 0)
                    out += u',';
            }
            ++integerIndex;
            break;
        case NumberElement::Point:
            if (integerCount == 0)
                out += QString::fromStdString(digits.integer);
            out += u'.';
            break;
        case NumberElement::FractionDigit: {
            const auto at = static_cast<std::size_t>(fractionIndex++);
            const bool trailingZero = digits.fraction.find_first_not_of('0', at) == std::string::npos;
            if (part.placeholder == u'0' || !trailingZero)
                out += QLatin1Char(digits.fraction[at]);
            break;
        }
        case NumberElement::Exponent:
            out += part.text;
            if (exponent < 0)
                out += u'-';
            else if (part.placeholder == u'+')
                out += u'+';
            out += ExponentText(exponent, std::max(exponentMinDigits, 1));
            break;
        case NumberElement::ExponentDigit: break; // written with the exponent
        }
    }
    return out;
}

QString FormatNumber(double v, const QString& pattern)
{
    // No pattern has digits for these (a damaged or edited file may hold them): the plain text.
    if (!std::isfinite(v))
        return NumberText(v);
    const std::vector<QString> sections = SplitSections(pattern);
    const QString* section = &sections[0];
    bool minus = false;
    if (v < 0) {
        if (sections.size() >= 2 && !sections[1].isEmpty())
            section = &sections[1]; // the negative section writes its own sign
        else
            minus = true;
    } else if (v == 0 && sections.size() >= 3 && !sections[2].isEmpty()) {
        section = &sections[2];
    }
    const QString text = FormatSection(std::fabs(v), *section);
    // A negative number that rounds to zero shows no sign.
    const bool allZero = std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit() && c != u'0'; });
    return minus && !allZero ? u'-' + text : text;
}

// A pattern is for dates when it has date letters and no digit placeholders.
bool IsDatePattern(const QString& p)
{
    bool dateLetter = false;
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == u'"') {
            const qsizetype close = p.indexOf(u'"', i + 1);
            i = close < 0 ? p.size() : close;
        } else if (c == u'\\') {
            ++i;
        } else if (IsPlaceholder(c)) {
            return false;
        } else if (QStringView(u"dmyhnswqcDMYHNSWQC").contains(c)) {
            dateLetter = true;
        } else if ((c == u'a' || c == u'A') && (p.mid(i, 3).compare(u"a/p", Qt::CaseInsensitive) == 0 ||
                                                p.mid(i, 4).compare(u"ampm", Qt::CaseInsensitive) == 0)) {
            dateLetter = true;
        }
    }
    return dateLetter;
}

std::optional<double> NumberForFormat(const QVariant& v)
{
    if (IsNumericType(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1.0 : 0.0;
    if (IsDateType(v))
        return SerialOf(MomentOf(v));
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray)
        return WholeNumber(v.toString());
    return std::nullopt;
}

std::optional<Moment> MomentForFormat(const QVariant& v)
{
    if (IsDateType(v))
        return MomentOf(v);
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        if (auto m = MomentFromIsoText(v.toString()))
            return m;
    }
    if (const auto n = NumberForFormat(v))
        return MomentFromSerial(*n);
    return std::nullopt;
}

std::optional<QString> NamedFormat(const QVariant& value, const QString& pattern)
{
    struct Named {
        const char16_t* name;
        bool date;
        const char16_t* expansion; // nullptr when handled below
    };
    static constexpr std::array<Named, 16> kNamed = {{
        {u"General Date", true, nullptr},
        {u"Long Date", true, u"dddd, mmmm d, yyyy"},
        {u"Medium Date", true, u"dd-mmm-yy"},
        {u"Short Date", true, nullptr},
        {u"Long Time", true, u"h:mm:ss AM/PM"},
        {u"Medium Time", true, u"hh:mm AM/PM"},
        {u"Short Time", true, u"hh:mm"},
        {u"General Number", false, nullptr},
        {u"Currency", false, u"$#,##0.00;($#,##0.00)"},
        {u"Fixed", false, u"0.00"},
        {u"Standard", false, u"#,##0.00"},
        {u"Percent", false, u"0.00%"},
        {u"Scientific", false, u"0.00E+00"},
        {u"Yes/No", false, nullptr},
        {u"True/False", false, nullptr},
        {u"On/Off", false, nullptr},
    }};
    const QString trimmed = pattern.trimmed();
    for (const Named& named : kNamed) {
        const QStringView name(named.name);
        if (trimmed.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (named.date) {
            const auto m = MomentForFormat(value);
            if (!m)
                return CStr(value);
            if (named.expansion)
                return FormatMoment(*m, QString::fromUtf16(named.expansion));
            return name == u"Short Date" ? FormatMoment(*m, ShortDatePattern()) : GeneralDateText(*m);
        }
        const auto n = NumberForFormat(value);
        if (!n)
            return CStr(value);
        if (named.expansion)
            return FormatNumber(*n, QString::fromUtf16(named.expansion));
        if (name == u"General Number")
            return NumberText(*n);
        const qsizetype slash = name.indexOf(u'/');
        return (*n != 0 ? name.left(slash) : name.mid(slash + 1)).toString();
    }
    return std::nullopt;
}

// A value as a number for the conversions: Null and text that is not a number are errors.
double NumberForConversion(const QVariant& v)
{
    if (IsNull(v))
        RaiseInvalidNull();
    if (IsNumericType(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1.0 : 0.0;
    if (IsDateType(v))
        return SerialOf(MomentOf(v));
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        if (const auto n = WholeNumber(v.toString()))
            return *n;
    }
    RaiseTypeMismatch();
}

// Half to even, then the range check (so 32767.5 overflows an Integer).
double RoundHalfEven(double v)
{
    const double floor = std::floor(v);
    const double diff = v - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

template <typename Int>
Int ToInteger(double v)
{
    if (!std::isfinite(v))
        RaiseOverflow();
    const double r = RoundHalfEven(v);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) || r > static_cast<double>(std::numeric_limits<Int>::max()))
        RaiseOverflow();
    return static_cast<Int>(r);
}

} // namespace

// ---------------------------------------------------------------------------------------------

bool IsNull(const QVariant& v) { return !v.isValid() || v.isNull(); }

double Val(const QString& text)
{
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (IsBlank(c.unicode()))
            continue;
        if (c.unicode() > 127)
            break;
        ascii += static_cast<char>(c.unicode());
    }
    return ScanNumber(ascii).value;
}

double Val(const QVariant& v)
{
    if (IsNull(v))
        return 0;
    if (IsNumericType(v))
        return v.toDouble();
    return Val(CStr(v));
}

int CInt(double v) { return ToInteger<std::int16_t>(v); }
int CInt(const QVariant& v) { return CInt(NumberForConversion(v)); }
qint32 CLng(double v) { return ToInteger<qint32>(v); }
qint32 CLng(const QVariant& v) { return CLng(NumberForConversion(v)); }

double CSng(double v)
{
    if (std::isnan(v) || std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max()))
        RaiseOverflow();
    const auto single = static_cast<float>(v);
    if (single == 0)
        return 0;
    // The double read back from the single's shortest text: it prints as the single does and
    // keeps every single exactly (12345678 stays 12345678).
    std::array<char, 32> buf{};
    const auto written = std::to_chars(buf.data(), buf.data() + buf.size(), single);
    double result = 0;
    std::from_chars(buf.data(), written.ptr, result);
    return result;
}

double CSng(const QVariant& v) { return CSng(NumberForConversion(v)); }
double CDbl(const QVariant& v) { return NumberForConversion(v); }

QVariant Nz(const QVariant& v, const QVariant& valueIfNull) { return IsNull(v) ? valueIfNull : v; }

QString NumberText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NaN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (v == 0)
        return QStringLiteral("0");
    const Digits d = DigitsOf(std::fabs(v), std::nullopt);
    const QString digits = QString::fromStdString(d.digits);
    const auto count = static_cast<int>(digits.size());
    QString text = v < 0 ? QStringLiteral("-") : QString();
    // Plain digits from 0.00001 up to 15 integer digits; beyond that the exponent form.
    if (d.pointPos > 15 || d.pointPos < -4) {
        text += digits.left(1);
        if (count > 1)
            text += u'.' + digits.mid(1);
        const int exponent = d.pointPos - 1;
        text += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        text += ExponentText(exponent, 2);
    } else if (d.pointPos <= 0) {
        text += QStringLiteral("0.") + QString(-d.pointPos, u'0') + digits;
    } else if (d.pointPos >= count) {
        text += digits + QString(d.pointPos - count, u'0');
    } else {
        text += digits.left(d.pointPos) + u'.' + digits.mid(d.pointPos);
    }
    return text;
}

QString CStr(const QVariant& v)
{
    if (IsNull(v))
        return {};
    switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double: return NumberText(v.toDouble());
    case QMetaType::Float: {
        const auto single = static_cast<double>(v.toFloat());
        return NumberText(std::isfinite(single) ? CSng(single) : single);
    }
    case QMetaType::ULongLong:
    case QMetaType::ULong:
    case QMetaType::UInt: return QString::number(v.toULongLong());
    case QMetaType::QString: return v.toString();
    case QMetaType::QByteArray: return QString::fromUtf8(v.toByteArray());
    default: break;
    }
    if (IsNumericType(v))
        return QString::number(v.toLongLong());
    if (IsDateType(v))
        return GeneralDateText(MomentOf(v));
    return v.toString();
}

QString Format(const QVariant& value, const QString& pattern)
{
    if (IsNull(value) || IsEmptyDate(value))
        return {};
    if (pattern.isEmpty())
        return CStr(value);
    if (auto named = NamedFormat(value, pattern))
        return *named;
    if (IsDatePattern(pattern)) {
        const auto m = MomentForFormat(value);
        return m ? FormatMoment(*m, pattern) : CStr(value);
    }
    const auto n = NumberForFormat(value);
    return n ? FormatNumber(*n, pattern) : CStr(value);
}

namespace {
QString& ShortDatePatternSetting()
{
    static QString pattern = QStringLiteral("m/d/yyyy");
    return pattern;
}
} // namespace

void SetShortDatePattern(const QString& vbPattern)
{
    ShortDatePatternSetting() = vbPattern.isEmpty() ? QStringLiteral("m/d/yyyy") : vbPattern;
}

QString ShortDatePattern() { return ShortDatePatternSetting(); }

QString SqlQuote(const QString& text)
{
    QString quoted = text;
    return quoted.replace(u'\'', QStringLiteral("''"));
}

QString SqlText(const QString& text) { return u'\'' + SqlQuote(text) + u'\''; }

} // namespace vb
