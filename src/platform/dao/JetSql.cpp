#include "platform/dao/JetSql.h"

#include "platform/dao/Error.h"
#include "platform/dao/SqlFunctions.h"

#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace dao::jetsql {
namespace {

// ---------------------------------------------------------------------------------------------
// Dates

struct DateParts {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

template <typename Ch>
constexpr bool isDigit(Ch c)
{
    return c >= '0' && c <= '9';
}
template <typename Ch>
constexpr bool isBlank(Ch c)
{
    return c == ' ' || c == '\t';
}

constexpr bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

constexpr int daysInMonth(int y, int m)
{
    constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : days[static_cast<std::size_t>(m - 1)];
}

// Reads 1..maxDigits decimal digits; returns how many were read, 0 when none or too many.
template <typename Ch>
int readNumber(const Ch*& p, const Ch* e, int maxDigits, int& value)
{
    int n = 0;
    value = 0;
    while (p < e && isDigit(*p)) {
        if (++n > maxDigits)
            return 0;
        value = value * 10 + (*p - '0');
        ++p;
    }
    return n;
}

// The body of a date literal, read by hand: this runs for every literal of every statement.
template <typename Ch>
bool parseDateParts(const Ch* p, const Ch* e, DateParts& out)
{
    while (p < e && isBlank(*p))
        ++p;
    while (e > p && isBlank(e[-1]))
        --e;

    int first = 0;
    const int firstDigits = readNumber(p, e, 4, first);
    if (firstDigits == 0 || p == e)
        return false;
    DateParts d;
    if (*p == '/') {
        if (firstDigits > 2)
            return false;
        ++p;
        if (!readNumber(p, e, 2, d.day) || p == e || *p != '/')
            return false;
        ++p;
        const int yearDigits = readNumber(p, e, 4, d.year);
        if (yearDigits == 0)
            return false;
        if (yearDigits <= 2)
            d.year += d.year < 30 ? 2000 : 1900;
        d.month = first;
    } else if (*p == '-' && firstDigits == 4) {
        ++p;
        if (!readNumber(p, e, 2, d.month) || p == e || *p != '-')
            return false;
        ++p;
        if (!readNumber(p, e, 2, d.day))
            return false;
        d.year = first;
    } else {
        return false;
    }
    if (d.year < 100 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > daysInMonth(d.year, d.month))
        return false;

    if (p < e) {
        if (!isBlank(*p))
            return false;
        while (isBlank(*p))
            ++p; // the trailing blanks are gone, so a non-blank follows
        if (!readNumber(p, e, 2, d.hour))
            return false;
        bool colon = false;
        if (p < e && *p == ':') {
            colon = true;
            ++p;
            if (!readNumber(p, e, 2, d.minute))
                return false;
            if (p < e && *p == ':') {
                ++p;
                if (!readNumber(p, e, 2, d.second))
                    return false;
            }
        }
        while (p < e && isBlank(*p))
            ++p;
        int half = 0; // 1 = AM, 2 = PM
        if (e - p == 2 && (p[1] | 0x20) == 'm') {
            const int c = p[0] | 0x20;
            half = c == 'a' ? 1 : c == 'p' ? 2 : 0;
            if (half)
                p += 2;
        }
        if (p != e)
            return false;
        if (half) {
            if (d.hour > 12)
                return false;
            d.hour = d.hour % 12 + (half == 2 ? 12 : 0);
        } else if (!colon || d.hour > 23) {
            return false; // a bare number after the date is no time of day
        }
        if (d.minute > 59 || d.second > 59)
            return false;
    }
    out = d;
    return true;
}

template <typename Ch>
Ch* putCanonical(Ch* w, const DateParts& d)
{
    auto two = [&w](int v) {
        *w++ = static_cast<Ch>('0' + v / 10);
        *w++ = static_cast<Ch>('0' + v % 10);
    };
    two(d.year / 100);
    two(d.year % 100);
    *w++ = '-';
    two(d.month);
    *w++ = '-';
    two(d.day);
    *w++ = ' ';
    two(d.hour);
    *w++ = ':';
    two(d.minute);
    *w++ = ':';
    two(d.second);
    return w;
}

std::optional<DateParts> partsOf(const QDateTime& dt)
{
    if (!dt.isValid())
        return std::nullopt;
    const QDate date = dt.date();
    const QTime time = dt.time();
    if (date.year() < 1 || date.year() > 9999)
        return std::nullopt;
    return DateParts{date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

QDateTime toDateTime(const DateParts& d)
{
    return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second), Qt::UTC);
}

Error badDate(const QString& literal)
{
    return Error(errSyntaxInExpression, QStringLiteral("Syntax error in date in query expression '%1'.").arg(literal));
}

// ---------------------------------------------------------------------------------------------
// Tokens

enum class Type : std::uint8_t {
    Word,
    Bracket,
    Number,
    String,
    DqString,
    Date,
    Param,
    LParen,
    RParen,
    Comma,
    Semi,
    Dot,
    Amp,
    Compare,
    Arith,
    Other
};

enum Kw : std::uint8_t {
    kNone,
    kSelect,
    kFrom,
    kWhere,
    kAs,
    kOrder,
    kGroup,
    kBy,
    kHaving,
    kOn,
    kSet,
    kValues,
    kThen,
    kElse,
    kWhen,
    kEnd,
    kCase,
    kAnd,
    kOr,
    kNot,
    kLike,
    kIs,
    kBetween,
    kIn,
    kInto,
    kInsert,
    kUpdate,
    kDelete,
    kUnion,
    kJoin,
    kLeft,
    kRight,
    kInner,
    kOuter,
    kDistinct,
    kTrue,
    kFalse,
    kNull,
    kAll,
    kAsc,
    kDesc,
    kTop,
    kExists,
    kMod,
    kXor,
    kEqv,
    kImp
};

// Up to eight ASCII characters, lower-cased, in one integer: keyword tests become a switch.
constexpr std::uint64_t pack(std::string_view w)
{
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < w.size(); ++i)
        v |= std::uint64_t(static_cast<unsigned char>(w[i])) << (8 * i);
    return v;
}

// Reads eight bytes at p whatever n is: the source buffer is padded for this.
std::uint64_t packWord(const char* p, int n)
{
    if (n > 8)
        return 0;
    std::uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, p, sizeof v);
    } else {
        for (int i = 0; i < n; ++i)
            v |= std::uint64_t(static_cast<unsigned char>(p[i])) << (8 * i);
    }
    const std::uint64_t used = n == 8 ? ~std::uint64_t(0) : (std::uint64_t(1) << (8 * n)) - 1;
    v &= used;
    if (v & 0x8080808080808080U)
        return 0;
    // Word characters are letters, digits and '_': OR-ing 0x20 lower-cases the letters only.
    return v | (0x2020202020202020U & used);
}

Kw keywordOf(const char* p, int n)
{
    switch (packWord(p, n)) {
    case pack("select"): return kSelect;
    case pack("from"): return kFrom;
    case pack("where"): return kWhere;
    case pack("as"): return kAs;
    case pack("order"): return kOrder;
    case pack("group"): return kGroup;
    case pack("by"): return kBy;
    case pack("having"): return kHaving;
    case pack("on"): return kOn;
    case pack("set"): return kSet;
    case pack("values"): return kValues;
    case pack("then"): return kThen;
    case pack("else"): return kElse;
    case pack("when"): return kWhen;
    case pack("end"): return kEnd;
    case pack("case"): return kCase;
    case pack("and"): return kAnd;
    case pack("or"): return kOr;
    case pack("not"): return kNot;
    case pack("like"): return kLike;
    case pack("is"): return kIs;
    case pack("between"): return kBetween;
    case pack("in"): return kIn;
    case pack("into"): return kInto;
    case pack("insert"): return kInsert;
    case pack("update"): return kUpdate;
    case pack("delete"): return kDelete;
    case pack("union"): return kUnion;
    case pack("join"): return kJoin;
    case pack("left"): return kLeft;
    case pack("right"): return kRight;
    case pack("inner"): return kInner;
    case pack("outer"): return kOuter;
    case pack("distinct"): return kDistinct;
    case pack("true"): return kTrue;
    case pack("false"): return kFalse;
    case pack("null"): return kNull;
    case pack("all"): return kAll;
    case pack("asc"): return kAsc;
    case pack("desc"): return kDesc;
    case pack("top"): return kTop;
    case pack("exists"): return kExists;
    case pack("mod"): return kMod;
    case pack("xor"): return kXor;
    case pack("eqv"): return kEqv;
    case pack("imp"): return kImp;
    default: return kNone;
    }
}

bool isAggregate(const char* p, int n)
{
    switch (packWord(p, n)) {
    case pack("count"):
    case pack("sum"):
    case pack("avg"):
    case pack("min"):
    case pack("max"): return true;
    default: return false;
    }
}

// Blanks are not kept as tokens: the output copies the source text between rewritten tokens.
struct Token {
    int start; // byte offset in the UTF-8 source, quotes and brackets included
    int len;
    int out; // where the token's output begins; set for marked tokens only
    Type type;
    Kw kw;
    std::uint8_t opens;  // '&' chains whose first operand starts here
    std::uint8_t closes; // '&' chains whose last operand ends here
    bool drop;
    bool inChain;
    bool mark; // rewritten, dropped, or a place a part of the statement begins or ends
    bool fold; // a text compared with letter case folded for every letter
};

// Token storage on the stack for ordinary statements; long ones move to the heap.
class Tokens {
public:
    Tokens() = default;
    Tokens(const Tokens&) = delete;
    Tokens& operator=(const Tokens&) = delete;

    Token& push(int start, int len, Type type, Kw kw = kNone, bool mark = false)
    {
        if (size_ == capacity_)
            grow();
        Token& t = data_[size_++];
        t = Token{start, len, 0, type, kw, 0, 0, false, false, mark, false};
        return t;
    }
    int size() const { return size_; }
    Token& back() { return data_[size_ - 1]; }
    Token& operator[](int i) { return data_[i]; }
    const Token& operator[](int i) const { return data_[i]; }

private:
    void grow()
    {
        std::vector<Token> bigger(static_cast<std::size_t>(capacity_) * 2);
        std::copy(data_, data_ + size_, bigger.begin());
        heap_.swap(bigger);
        data_ = heap_.data();
        capacity_ *= 2;
    }

    std::array<Token, 128> inline_;
    std::vector<Token> heap_;
    Token* data_ = inline_.data();
    int size_ = 0;
    int capacity_ = static_cast<int>(inline_.size());
};

enum CharClass : std::uint8_t { cPunct, cSpace, cWord, cDigit };

// Bytes of multi-byte UTF-8 sequences count as word characters: names may hold any letter.
constexpr std::array<std::uint8_t, 256> charClasses = [] {
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v')
            t[static_cast<std::size_t>(c)] = cSpace;
        else if (c >= '0' && c <= '9')
            t[static_cast<std::size_t>(c)] = cDigit;
        else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80)
            t[static_cast<std::size_t>(c)] = cWord;
    }
    return t;
}();

inline std::uint8_t classOf(char c) { return charClasses[static_cast<unsigned char>(c)]; }

struct Counts {
    int amps = 0;
    int dates = 0;
    int params = 0;
    int literals = 0;   // numbers and texts marked for binding
    bool query = false; // a SELECT, ORDER or GROUP after VALUES: literals there stay SQL
};

Error unclosed(const char* s, int start, int n, const char* what)
{
    return Error(errSyntax, QStringLiteral("Syntax error in query: %1 not closed in '%2'.")
                                .arg(QLatin1String(what), QString::fromUtf8(s + start, n - start)));
}

// Index of the closing quote, with doubled quotes inside skipped; -1 when there is none.
int closingQuote(const char* s, int i, int n, char quote)
{
    for (++i; i < n; ++i) {
        if (s[i] == quote) {
            if (i + 1 < n && s[i + 1] == quote)
                ++i;
            else
                return i;
        }
    }
    return -1;
}

// Where the clauses of the statement begin, and what makes a SELECT more than one table's rows;
// only keywords outside parentheses count.
struct Marks {
    int select = -1, distinct = -1, from = -1, where = -1, tail = -1;
    int set = -1, values = -1, into = -1;
    bool complexFrom = false, grouped = false, aggregate = false;
};

bool inFromClause(const Marks& m) { return m.from >= 0 && m.where < 0 && m.tail < 0; }
bool inSelectList(const Marks& m) { return m.select >= 0 && m.from < 0; }

void noteKeyword(Marks& m, Kw kw, int k, Kw statement)
{
    switch (kw) {
    case kSelect:
        if (m.select < 0)
            m.select = k;
        break;
    case kDistinct:
        if (m.select >= 0 && m.select == k - 1)
            m.distinct = k;
        break;
    case kFrom:
        if (m.from < 0 && (m.select >= 0 || statement == kDelete))
            m.from = k;
        break;
    case kWhere:
        if (m.where < 0 && m.tail < 0 && (m.from >= 0 || statement != kSelect))
            m.where = k;
        break;
    case kGroup:
    case kHaving:
    case kUnion: m.grouped = true; [[fallthrough]];
    case kOrder:
        if (m.from >= 0 && m.tail < 0)
            m.tail = k;
        break;
    case kJoin: m.complexFrom |= inFromClause(m); break;
    case kSet:
        if (m.set < 0)
            m.set = k;
        break;
    case kValues:
        if (m.values < 0)
            m.values = k;
        break;
    case kInto:
        if (m.into < 0)
            m.into = k;
        break;
    default: break;
    }
}

// `s[n]` must be a NUL byte: it stops the scanning loops. With `mayConcatenate` false (no '&'
// in the text), the values of an INSERT need only the tokens rewritten: the rest is copied.
void tokenize(const char* s, int n, Tokens& toks, Counts& counts, Marks& m, bool mayConcatenate, bool literalsToo)
{
    int i = 0;
    int depth = 0;
    bool plainCopied = false;
    auto push = [&](int start, int len, Type type, Kw kw = kNone, bool mark = false) {
        if (mark || !plainCopied)
            toks.push(start, len, type, kw, mark);
    };
    while (i < n) {
        const char c = s[i];
        const int start = i;
        switch (classOf(c)) {
        case cSpace: ++i; continue;
        case cWord: {
            while (classOf(s[++i]) >= cWord) {
            }
            const Kw kw = keywordOf(s + start, i - start);
            if (plainCopied) {
                if (kw == kTrue || kw == kFalse)
                    toks.push(start, i - start, Type::Word, kw, true);
                counts.query |= kw == kSelect || kw == kOrder || kw == kGroup;
                continue;
            }
            toks.push(start, i - start, Type::Word, kw, kw == kTrue || kw == kFalse);
            if (kw != kNone && depth == 0) {
                noteKeyword(m, kw, toks.size() - 1, toks[0].kw);
                plainCopied = kw == kValues && !mayConcatenate && toks[0].kw == kInsert;
            }
            continue;
        }
        case cDigit: break;
        default:
            if (c == '.' && i + 1 < n && classOf(s[i + 1]) == cDigit) {
                // "t.5" would be a name, not a number; "x .5" a number.
                const bool afterName =
                    toks.size() > 0 && toks.back().start + toks.back().len == start &&
                    (toks.back().type == Type::Word || toks.back().type == Type::Bracket || toks.back().type == Type::RParen);
                if (!afterName)
                    break;
            }
            switch (c) {
            case '\'':
            case '"': {
                const int close = closingQuote(s, i, n, c);
                if (close < 0)
                    throw unclosed(s, start, n, "text");
                i = close + 1;
                if (c == '\'') {
                    const bool bind = literalsToo && plainCopied;
                    counts.literals += bind;
                    push(start, i - start, Type::String, kNone, bind);
                } else
                    push(start, i - start, Type::DqString, kNone, true);
                continue;
            }
            case '[':
                while (++i < n && s[i] != ']') {
                }
                if (i == n)
                    throw unclosed(s, start, n, "bracket");
                ++i;
                push(start, i - start, Type::Bracket, kNone, true);
                continue;
            case '#':
                while (++i < n && s[i] != '#') {
                }
                if (i == n)
                    throw badDate(QString::fromUtf8(s + start, n - start));
                ++i;
                push(start, i - start, Type::Date, kNone, true);
                ++counts.dates;
                continue;
            case '(':
                // Left(...) and Right(...) are text functions, not the joins.
                if (toks.size() > 0 && (toks.back().kw == kLeft || toks.back().kw == kRight))
                    toks.back().kw = kNone;
                if (depth++ == 0) {
                    m.complexFrom |= inFromClause(m);
                    if (inSelectList(m) && toks.back().type == Type::Word && isAggregate(s + toks.back().start, toks.back().len))
                        m.aggregate = true;
                }
                push(start, 1, Type::LParen);
                ++i;
                continue;
            case ')':
                depth -= depth > 0;
                push(start, 1, Type::RParen);
                ++i;
                continue;
            case ',':
                m.complexFrom |= depth == 0 && inFromClause(m);
                push(start, 1, Type::Comma);
                ++i;
                continue;
            case ';':
                push(start, 1, Type::Semi);
                ++i;
                continue;
            case '?':
                // SQLite would read "?1" as a numbered placeholder and bind out of order.
                if (classOf(s[i + 1]) == cDigit)
                    throw Error(errSyntax, QStringLiteral("Syntax error in query: numbered parameter in '%1'.")
                                               .arg(QString::fromUtf8(s + start, n - start)));
                push(start, 1, Type::Param);
                ++counts.params;
                ++i;
                continue;
            case '.':
                push(start, 1, Type::Dot);
                ++i;
                continue;
            case '&':
                push(start, 1, Type::Amp, kNone, true);
                ++i;
                ++counts.amps;
                continue;
            case '<':
                i += (i + 1 < n && (s[i + 1] == '=' || s[i + 1] == '>')) ? 2 : 1;
                push(start, i - start, Type::Compare);
                continue;
            case '>':
            case '!':
                if (i + 1 < n && s[i + 1] == '=') {
                    i += 2;
                    push(start, 2, Type::Compare);
                } else {
                    ++i;
                    push(start, 1, c == '>' ? Type::Compare : Type::Other);
                }
                continue;
            case '=':
                push(start, 1, Type::Compare);
                ++i;
                continue;
            case '-':
                // "--" would start a comment in SQLite: the second minus gets a blank before it.
                push(start, 1, Type::Arith, kNone, start > 0 && s[start - 1] == '-');
                ++i;
                continue;
            case '+':
            case '*':
            case '/':
            case '\\':
            case '^':
                push(start, 1, Type::Arith);
                ++i;
                continue;
            default:
                push(start, 1, Type::Other);
                ++i;
                continue;
            }
        }
        // A number: digits, a decimal part, an exponent.
        while (classOf(s[i]) == cDigit)
            ++i;
        if (s[i] == '.') {
            ++i;
            while (classOf(s[i]) == cDigit)
                ++i;
        }
        if (i < n && (s[i] == 'e' || s[i] == 'E')) {
            int j = i + 1;
            if (j < n && (s[j] == '+' || s[j] == '-'))
                ++j;
            if (j < n && classOf(s[j]) == cDigit) {
                while (j < n && classOf(s[j]) == cDigit)
                    ++j;
                i = j;
            }
        }
        const bool bind = literalsToo && plainCopied;
        counts.literals += bind;
        push(start, i - start, Type::Number, kNone, bind);
    }
}

// ---------------------------------------------------------------------------------------------
// '&' chains

bool isValueWord(const Token& t)
{
    return t.type == Type::Word && (t.kw == kNone || t.kw == kNull || t.kw == kTrue || t.kw == kFalse);
}

bool startsPrimary(const Token& t)
{
    switch (t.type) {
    case Type::Word: return isValueWord(t);
    case Type::Bracket:
    case Type::Number:
    case Type::String:
    case Type::DqString:
    case Type::Date:
    case Type::Param:
    case Type::LParen: return true;
    default: return false;
    }
}

bool endsPrimary(const Token& t)
{
    switch (t.type) {
    case Type::Word: return isValueWord(t);
    case Type::Bracket:
    case Type::Number:
    case Type::String:
    case Type::DqString:
    case Type::Date:
    case Type::Param:
    case Type::RParen: return true;
    default: return false;
    }
}

// Operators that bind tighter than '&' and so stay inside an operand.
bool joinsOperand(const Token& t)
{
    return t.type == Type::Arith || t.type == Type::Dot || t.type == Type::Other || (t.type == Type::Word && t.kw == kMod);
}

// Two primaries standing side by side end an operand ("a & b alias"), except a function
// name followed by its parenthesised arguments.
bool sideBySide(const Token& left, const Token& right)
{
    return endsPrimary(left) && startsPrimary(right) && !(left.type == Type::Word && right.type == Type::LParen);
}

// Marks where the chain of '&' operators through toks[amp] begins and ends.
void markChain(Tokens& toks, int first, int end, int amp)
{
    int startIdx = amp;
    int depth = 0;
    const Token* right = nullptr; // the token right of the one looked at
    for (int k = amp - 1; k >= first; --k) {
        const Token& t = toks[k];
        if (depth > 0) {
            if (t.type == Type::RParen)
                ++depth;
            else if (t.type == Type::LParen && --depth == 0)
                right = &t;
            startIdx = k;
            continue;
        }
        if (joinsOperand(t)) {
            startIdx = k;
            right = &t;
            continue;
        }
        if (!endsPrimary(t) || (right && sideBySide(t, *right)))
            break;
        startIdx = k;
        right = &t;
        if (t.type == Type::RParen)
            depth = 1;
    }

    int endIdx = amp;
    depth = 0;
    const Token* left = nullptr;
    for (int k = amp; k < end; ++k) {
        Token& t = toks[k];
        if (depth > 0) {
            if (t.type == Type::LParen)
                ++depth;
            else if (t.type == Type::RParen && --depth == 0)
                left = &t;
            endIdx = k;
            continue;
        }
        if (t.type == Type::Amp) {
            t.inChain = true;
            left = &t;
            continue;
        }
        if (joinsOperand(t)) {
            left = &t;
            continue;
        }
        if (!startsPrimary(t) || (left && sideBySide(*left, t)))
            break;
        endIdx = k;
        left = &t;
        if (t.type == Type::LParen)
            depth = 1;
    }
    ++toks[startIdx].opens;
    toks[startIdx].mark = true;
    ++toks[endIdx].closes;
    toks[endIdx].mark = true;
}

// ---------------------------------------------------------------------------------------------
// Statement structure

bool isName(const Token& t) { return (t.type == Type::Word && t.kw == kNone) || t.type == Type::Bracket; }

// SQLite takes no table qualifier on the columns an UPDATE assigns.
void dropSetQualifiers(Tokens& toks, int from, int end)
{
    bool itemStart = true;
    int depth = 0;
    for (int k = from; k < end; ++k) {
        Token& t = toks[k];
        if (depth == 0 && itemStart) {
            itemStart = false;
            if (isName(t) && k + 2 < end && toks[k + 1].type == Type::Dot &&
                (toks[k + 2].type == Type::Word || toks[k + 2].type == Type::Bracket)) {
                for (Token* q : {&t, &toks[k + 1]})
                    q->drop = q->mark = true;
                k += 2;
                continue;
            }
        }
        if (t.type == Type::LParen)
            ++depth;
        else if (t.type == Type::RParen)
            depth = std::max(0, depth - 1);
        else if (t.type == Type::Comma && depth == 0)
            itemStart = true;
    }
}

// A text literal beside a comparison in a query or condition is compared with the case of every
// letter folded: SQLite's NOCASE folds ASCII only, and names such as "Zoë" and "ZOË" are one
// name to the program. Only texts that hold a letter: a date or number written as text keeps the
// column's comparison (and its index). The SET part of an UPDATE assigns, it compares nothing.
int markFoldedTexts(Tokens& toks, const char* s, int first, int end, const Marks& m, StatementKind kind)
{
    if (kind == StatementKind::InsertValues || kind == StatementKind::Other)
        return 0;
    const int setEnd = kind == StatementKind::Update && m.set >= 0 ? (m.where >= 0 ? m.where : end) : -1;
    int marked = 0;
    for (int k = first; k < end; ++k) {
        Token& t = toks[k];
        if ((t.type != Type::String && t.type != Type::DqString) || t.opens || t.closes || (k > m.set && k < setEnd))
            continue;
        if (!((k > first && toks[k - 1].type == Type::Compare) || (k + 1 < end && toks[k + 1].type == Type::Compare)))
            continue;
        const char* p = s + t.start + 1;
        const char* e = s + t.start + t.len - 1;
        if (std::none_of(p, e, [](char c) { return classOf(c) == cWord && c != '_'; }))
            continue;
        t.fold = t.mark = true;
        ++marked;
    }
    return marked;
}

// ---------------------------------------------------------------------------------------------
// Output

template <std::size_t N>
inline char* putLiteral(char* w, const char (&text)[N])
{
    std::memcpy(w, text, N - 1);
    return w + N - 1;
}

inline char* putBytes(char* w, const char* p, const char* e)
{
    const auto n = static_cast<std::size_t>(e - p);
    std::memcpy(w, p, n);
    return w + n;
}

// Copies the inside of a quoted token, doubling `doubled` and undoubling `quote`.
char* putRequoted(char* w, const char* p, const char* e, char quote, char doubled)
{
    for (; p < e; ++p) {
        if (*p == quote)
            ++p; // a doubled quote of the old kind stands for one
        else if (*p == doubled)
            *w++ = doubled;
        *w++ = *p;
    }
    return w;
}

} // namespace

// ---------------------------------------------------------------------------------------------

namespace {

// A number literal as SQLite would read it, when that is sure: whole numbers that fit 64 bits,
// and decimals of at most 15 significant digits (exactly rounded either way). Others stay SQL.
bool literalNumber(const char* p, const char* e, Translation::Literal& out)
{
    int digits = 0;
    bool whole = true;
    for (const char* q = p; q < e; ++q) {
        if (*q >= '0' && *q <= '9')
            digits += digits > 0 || *q != '0';
        else
            whole = false;
    }
    if (whole) {
        if (e - p > 18)
            return false;
        qint64 v = 0;
        for (const char* q = p; q < e; ++q)
            v = v * 10 + (*q - '0');
        out.kind = Translation::Literal::Integer;
        out.integer = v;
        return true;
    }
    if (digits > 15)
        return false;
    double d = 0;
    const auto [end, ec] = std::from_chars(p, e, d);
    if (ec != std::errc() || end != e)
        return false;
    out.kind = Translation::Literal::Real;
    out.real = d;
    return true;
}

// The text of a quoted literal with its doubled quotes made single.
void literalText(Translation& tr, const char* p, const char* e, char quote)
{
    Translation::Literal lit;
    lit.kind = Translation::Literal::Text;
    lit.offset = static_cast<int>(tr.literalText.size());
    for (const char* q = p + 1; q < e - 1; ++q) {
        tr.literalText += *q;
        if (*q == quote)
            ++q;
    }
    lit.size = static_cast<int>(tr.literalText.size()) - lit.offset;
    tr.literals.push_back(lit);
}

} // namespace

Translation translate(const QString& jetSql, bool bindLiterals)
{
    // UTF-8 copy of the statement, on the stack when it is short, with eight bytes to spare
    // for the keyword test's reads.
    QStringEncoder toUtf8(QStringConverter::Utf8);
    const qsizetype room = toUtf8.requiredSpace(jetSql.size()) + 8;
    std::array<char, 2048> local;
    std::unique_ptr<char[]> heap;
    char* const source = room <= static_cast<qsizetype>(local.size())
                             ? local.data()
                             : (heap = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(room))).get();
    const char* const s = source;
    const int n = static_cast<int>(toUtf8.appendToBuffer(source, jetSql) - source);
    std::memset(source + n, 0, 8);
    const bool ascii = n == jetSql.size(); // byte offsets are then character offsets

    Tokens toks;
    Counts counts;
    Marks m;
    const bool mayConcatenate = std::memchr(s, '&', static_cast<std::size_t>(n)) != nullptr;
    tokenize(s, n, toks, counts, m, mayConcatenate, bindLiterals && !mayConcatenate);

    // A ';' ending the text is outside any quotes: a quote left open has thrown.
    int sourceEnd = n;
    while (sourceEnd > 0 && (classOf(s[sourceEnd - 1]) == cSpace || s[sourceEnd - 1] == ';'))
        --sourceEnd;
    constexpr int first = 0;
    int end = toks.size();
    while (end > first && toks[end - 1].type == Type::Semi)
        --end;

    Translation tr;
    if (first == end)
        return tr;

    const Kw statement = toks[first].type == Type::Word ? toks[first].kw : kNone;
    tr.parameters = counts.params;
    if (statement == kSelect || statement == kUpdate || statement == kDelete) {
        const int leadEnd = m.where >= 0 ? m.where : m.tail >= 0 ? m.tail : end;
        for (int k = first; k < leadEnd; ++k)
            tr.leadingParameters += toks[k].type == Type::Param;
    } else {
        tr.leadingParameters = tr.parameters; // an INSERT has no WHERE of its own
    }
    switch (statement) {
    case kSelect: tr.kind = StatementKind::Select; break;
    case kInsert:
        tr.kind = m.values >= 0   ? StatementKind::InsertValues
                  : m.select >= 0 ? StatementKind::InsertSelect
                                  : StatementKind::Other;
        break;
    case kUpdate: tr.kind = StatementKind::Update; break;
    case kDelete: tr.kind = StatementKind::Delete; break;
    default: break;
    }

    if (counts.amps > 0) {
        for (int k = first; k < end; ++k)
            if (toks[k].type == Type::Amp && !toks[k].inChain)
                markChain(toks, first, end, k);
    }
    if (tr.kind == StatementKind::Update && m.set >= 0)
        dropSetQualifiers(toks, m.set + 1, m.where >= 0 ? m.where : end);
    const int folded = markFoldedTexts(toks, s, first, end, m, tr.kind);
    if (tr.kind == StatementKind::Delete) {
        // "DELETE * FROM t" and "DELETE t.* FROM t": SQLite knows only "DELETE FROM t".
        for (int k = first + 1; k < m.from; ++k)
            toks[k].drop = toks[k].mark = true;
    }
    // The parts of the statement are cut from the output at these tokens.
    for (const int k : {first + 1, m.distinct + 1, m.from, m.from + 1, m.where, m.where + 1, m.tail, m.set + 1, m.select}) {
        if (k > first && k < end)
            toks[k].mark = true;
    }

    // The values of a plain INSERT are bound rather than written into the SQL (a statement with
    // placeholders of its own keeps its literals: the order of the values would mix).
    const bool binding = bindLiterals && tr.kind == StatementKind::InsertValues && counts.params == 0 && !counts.query &&
                         (counts.literals > 0 || counts.dates > 0);
    if (binding)
        tr.literals.reserve(static_cast<std::size_t>(counts.literals + counts.dates));
    // A byte gives at most two (a doubled quote); a date literal, the shortest being seven
    // bytes, gives 21; '&' with its share of the chain's opening and closing 27.
    constexpr char foldSuffix[] = " COLLATE dao_nocase";
    static_assert(std::string_view(foldSuffix).substr(9) == std::string_view(kFoldedCollation));
    const qsizetype bound = qsizetype(2) * n + qsizetype(27) * counts.amps + qsizetype(24) * counts.dates +
                            qsizetype(sizeof foldSuffix) * folded + 16;
    tr.sql.resize(bound);
    char* const base = tr.sql.data();
    char* w = base;
    const char* run = s + toks[first].start; // source text not yet copied
    for (int k = first; k < end; ++k) {
        Token& t = toks[k];
        if (!t.mark)
            continue;
        const char* p = s + t.start;
        const char* e = p + t.len;
        w = putBytes(w, run, p);
        run = e;
        t.out = static_cast<int>(w - base);
        if (t.drop)
            continue;
        for (int i = 0; i < t.opens; ++i)
            w = putLiteral(w, "(ifnull(");
        switch (t.type) {
        case Type::Word:
            if (t.kw == kTrue) {
                if (w > base && w[-1] == '-')
                    *w++ = ' ';
                w = putLiteral(w, "-1");
            } else if (t.kw == kFalse) {
                *w++ = '0';
            } else {
                w = putBytes(w, p, e);
            }
            break;
        case Type::Bracket:
            *w++ = '"';
            w = putRequoted(w, p + 1, e - 1, 0, '"');
            *w++ = '"';
            break;
        case Type::Number:
            if (Translation::Literal lit; binding && k > m.values && literalNumber(p, e, lit)) {
                tr.literals.push_back(lit);
                *w++ = '?';
            } else {
                w = putBytes(w, p, e);
            }
            break;
        case Type::String:
        case Type::DqString:
            if (binding && k > m.values) {
                literalText(tr, p, e, *p);
                *w++ = '?';
            } else if (t.type == Type::DqString) {
                *w++ = '\'';
                w = putRequoted(w, p + 1, e - 1, '"', '\'');
                *w++ = '\'';
            } else {
                w = putBytes(w, p, e);
            }
            if (t.fold)
                w = putLiteral(w, foldSuffix);
            break;
        case Type::Date: {
            DateParts d;
            if (!parseDateParts(p + 1, e - 1, d))
                throw badDate(QString::fromUtf8(p, e - p));
            if (binding && k > m.values) {
                Translation::Literal lit;
                lit.kind = Translation::Literal::Text;
                lit.offset = static_cast<int>(tr.literalText.size());
                lit.size = 19;
                tr.literalText.resize(lit.offset + 19);
                putCanonical(tr.literalText.data() + lit.offset, d);
                tr.literals.push_back(lit);
                *w++ = '?';
                break;
            }
            *w++ = '\'';
            w = putCanonical(w, d);
            *w++ = '\'';
            break;
        }
        case Type::Amp: w = putLiteral(w, ",'')||ifnull("); break;
        case Type::Arith:
            if (*p == '-' && w > base && w[-1] == '-')
                *w++ = ' ';
            w = putBytes(w, p, e);
            break;
        default: w = putBytes(w, p, e); break;
        }
        for (int i = 0; i < t.closes; ++i)
            w = putLiteral(w, ",''))");
    }
    w = putBytes(w, run, s + sourceEnd);
    const int outEnd = static_cast<int>(w - base);
    tr.sql.resize(outEnd);

    // Output text of tokens [a, b), blanks trimmed.
    auto part = [&](int a, int b) {
        auto blank = [](char c) { return classOf(c) == cSpace; };
        int from = a < end ? toks[a].out : outEnd;
        int to = std::max(from, b < end ? toks[b].out : outEnd);
        while (from < to && blank(base[from]))
            ++from;
        while (to > from && blank(base[to - 1]))
            --to;
        return QByteArray(base + from, to - from);
    };
    auto nameOf = [&](const Token& t) {
        const int at = t.type == Type::Bracket ? t.start + 1 : t.start;
        const int len = t.type == Type::Bracket ? t.len - 2 : t.len;
        return ascii ? QString(jetSql.constData() + at, len) : QString::fromUtf8(s + at, len);
    };
    auto nameAt = [&](int k) { return k < end && isName(toks[k]) ? nameOf(toks[k]) : QString(); };

    switch (tr.kind) {
    case StatementKind::Select: {
        tr.selectList = part((m.distinct >= 0 ? m.distinct : first) + 1, m.from >= 0 ? m.from : end);
        if (m.from < 0)
            break;
        const int fromEnd = m.where >= 0 ? m.where : m.tail >= 0 ? m.tail : end;
        tr.fromPart = part(m.from + 1, fromEnd);
        if (m.where >= 0)
            tr.wherePart = part(m.where + 1, m.tail >= 0 ? m.tail : end);
        if (m.tail >= 0)
            tr.tailPart = part(m.tail, end);

        if (m.complexFrom || m.distinct >= 0 || m.grouped || m.aggregate)
            break;
        // One table: "t", "t alias" or "t AS alias".
        const int table = m.from + 1;
        if (table >= fromEnd || !isName(toks[table]))
            break;
        int k = table + 1;
        if (k < fromEnd && toks[k].type == Type::Word && toks[k].kw == kAs)
            ++k;
        const int alias = k < fromEnd ? k : table;
        if (k < fromEnd && (!isName(toks[k]) || k + 1 != fromEnd))
            break;
        tr.singleTable = true;
        tr.table = nameOf(toks[table]);
        tr.tableAlias = alias == table ? tr.table : nameOf(toks[alias]);
        break;
    }
    case StatementKind::InsertValues:
    case StatementKind::InsertSelect: {
        if (m.into < 0)
            break;
        const int table = m.into + 1;
        tr.table = nameAt(table);
        const int open = table + 1;
        if (open < end && toks[open].type == Type::LParen && (tr.kind == StatementKind::InsertSelect || open < m.values)) {
            // Names and commas alternate: half the tokens up to VALUES/SELECT bound the count.
            tr.insertColumns.reserve(std::max(0, (m.values >= 0 ? m.values : m.select) - open) / 2 + 1);
            QString column;
            for (int k = open + 1; k < end && toks[k].type != Type::RParen; ++k) {
                if (isName(toks[k]))
                    column = nameOf(toks[k]); // of "t.c" the last name
                else if (toks[k].type == Type::Comma)
                    tr.insertColumns.append(std::exchange(column, QString()));
            }
            tr.insertColumns.append(std::move(column));
        }
        if (tr.kind == StatementKind::InsertSelect)
            tr.selectPart = part(m.select, end);
        break;
    }
    case StatementKind::Update:
        tr.table = nameAt(first + 1);
        if (m.set >= 0)
            tr.setPart = part(m.set + 1, m.where >= 0 ? m.where : end);
        if (m.where >= 0)
            tr.wherePart = part(m.where + 1, end);
        break;
    case StatementKind::Delete:
        if (m.from >= 0)
            tr.table = nameAt(m.from + 1);
        if (m.where >= 0)
            tr.wherePart = part(m.where + 1, end);
        break;
    case StatementKind::Other: break;
    }
    return tr;
}

namespace {

// The lexer's classes, for UTF-16: every character beyond ASCII is part of a word.
constexpr bool isWordChar(char16_t c) { return c >= 0x80 || charClasses[c] == cWord || charClasses[c] == cDigit; }
constexpr bool isSpaceChar(char16_t c) { return c < 0x80 && charClasses[c] == cSpace; }

// Case-insensitive test of an ASCII word against a lower-case one.
bool wordIs(const char16_t* p, const char16_t* e, std::string_view lower)
{
    if (e - p != static_cast<std::ptrdiff_t>(lower.size()))
        return false;
    for (const char c : lower)
        if ((*p++ | 0x20) != c)
            return false;
    return true;
}

// The text of a quoted literal, its doubled quotes made single, appended as UTF-8.
void appendUnquoted(QByteArray& out, const char16_t* p, const char16_t* e, char16_t quote)
{
    const char16_t* run = p;
    auto flush = [&](const char16_t* to) {
        bool ascii = true;
        for (const char16_t* q = run; q < to; ++q)
            ascii &= *q < 0x80;
        if (ascii) {
            const qsizetype at = out.size();
            out.resize(at + (to - run));
            char* w = out.data() + at;
            for (const char16_t* q = run; q < to; ++q)
                *w++ = static_cast<char>(*q);
        } else {
            out += QStringView(run, to - run).toUtf8();
        }
    };
    for (const char16_t* q = p; q < e; ++q) {
        if (*q == quote) {
            flush(q + 1);
            run = ++q + 1; // the second quote of the pair is left out
        }
    }
    flush(e);
}

} // namespace

bool InsertShape::read(const QString& jetSql)
{
    if (!readText(jetSql)) {
        prefix_ = 0;
        return false;
    }
    return true;
}

bool InsertShape::readText(const QString& jetSql)
{
    literals.clear();
    literalText.resize(0);
    const auto* const text = reinterpret_cast<const char16_t*>(jetSql.utf16());
    const char16_t* p = text;
    const char16_t* const e = p + jetSql.size();
    // The text up to VALUES decides the translation alone, and is kept in the shape as it
    // stands: the same as last time, it needs no reading.
    const bool samePrefix = prefix_ > 0 && jetSql.size() > prefix_ && !isWordChar(text[prefix_]) &&
                            QStringView(jetSql).first(prefix_) == QStringView(shape).first(prefix_);
    shape.resize(jetSql.size());
    auto* const base = reinterpret_cast<char16_t*>(shape.data());
    auto* w = base;
    if (samePrefix) {
        p += prefix_;
        w += prefix_;
    }
    bool first = true;
    int depth = 0;
    while (!samePrefix) {
        if (p == e)
            return false;
        const char16_t c = *p;
        if (first && !isWordChar(c) && !isSpaceChar(c))
            return false;
        if (isWordChar(c)) {
            const char16_t* start = p;
            while (p < e && isWordChar(*p))
                ++p;
            if (first && !wordIs(start, p, "insert"))
                return false;
            first = false;
            w = std::copy(start, p, w);
            if (depth == 0 && wordIs(start, p, "values")) {
                prefix_ = p - text;
                break;
            }
            continue;
        }
        switch (c) {
        case '\'':
        case '"':
        case '#':
        case '?':
        case '&':
        case ';': return false;
        case '[': {
            const char16_t* close = std::find(p, e, u']');
            if (close == e)
                return false;
            w = std::copy(p, close + 1, w);
            p = close + 1;
            continue;
        }
        case '(': ++depth; break;
        case ')': depth -= depth > 0; break;
        default: break;
        }
        *w++ = *p++;
    }

    // The values: numbers, texts and dates become marks, their values are read as the
    // translation binds them.
    auto mark = [&](Translation::Literal::Kind kind) { *w++ = static_cast<char16_t>(1 + kind); };
    while (p < e) {
        const char16_t c = *p;
        if (isWordChar(c) && !isDigit(c)) {
            const char16_t* start = p;
            while (p < e && isWordChar(*p))
                ++p;
            if (!wordIs(start, p, "null") && !wordIs(start, p, "true") && !wordIs(start, p, "false"))
                return false;
            w = std::copy(start, p, w);
            continue;
        }
        if (isDigit(c) || (c == '.' && p + 1 < e && isDigit(p[1]))) {
            if (c == '.' && p > text && (isWordChar(p[-1]) || p[-1] == ')' || p[-1] == ']'))
                return false; // a qualifier's dot, not a number
            const char16_t* start = p;
            while (p < e && isDigit(*p))
                ++p;
            if (p < e && *p == '.') {
                ++p;
                while (p < e && isDigit(*p))
                    ++p;
            }
            if (p < e && (*p == 'e' || *p == 'E')) {
                const char16_t* q = p + 1;
                if (q < e && (*q == '+' || *q == '-'))
                    ++q;
                if (q < e && isDigit(*q)) {
                    while (q < e && isDigit(*q))
                        ++q;
                    p = q;
                }
            }
            std::array<char, 64> digits;
            if (p - start > static_cast<std::ptrdiff_t>(digits.size()))
                return false;
            char* d = digits.data();
            for (const char16_t* q = start; q < p; ++q)
                *d++ = static_cast<char>(*q);
            Translation::Literal lit;
            if (literalNumber(digits.data(), d, lit)) {
                literals.push_back(lit);
                mark(lit.kind);
            } else {
                w = std::copy(start, p, w); // kept in the SQL as written
            }
            continue;
        }
        switch (c) {
        case ' ':
        case '\t':
        case '\r':
        case '\n':
        case '(':
        case ')':
        case ',':
        case '-':
        case '+': *w++ = *p++; continue;
        case '\'':
        case '"': {
            const char16_t* q = p + 1;
            for (; q < e; ++q) {
                if (*q == '&')
                    return false; // a '&' anywhere makes the translator keep the values
                if (*q == c) {
                    if (q + 1 < e && q[1] == c)
                        ++q;
                    else
                        break;
                }
            }
            if (q == e)
                return false;
            Translation::Literal lit;
            lit.kind = Translation::Literal::Text;
            lit.offset = static_cast<int>(literalText.size());
            appendUnquoted(literalText, p + 1, q, c);
            lit.size = static_cast<int>(literalText.size()) - lit.offset;
            literals.push_back(lit);
            mark(Translation::Literal::Text);
            p = q + 1;
            continue;
        }
        case '#': {
            const char16_t* close = std::find(p + 1, e, u'#');
            DateParts parts;
            if (close == e || !parseDateParts(p + 1, close, parts))
                return false; // the translator tells what is wrong
            Translation::Literal lit;
            lit.kind = Translation::Literal::Text;
            lit.offset = static_cast<int>(literalText.size());
            lit.size = 19;
            literalText.resize(lit.offset + 19);
            putCanonical(literalText.data() + lit.offset, parts);
            literals.push_back(lit);
            *w++ = u'#'; // a date is bound as text: its mark tells it from a quoted text
            p = close + 1;
            continue;
        }
        default: return false;
        }
    }
    if (literals.empty())
        return false;
    shape.truncate(w - base);
    return true;
}

std::optional<QDateTime> parseDateLiteral(QStringView body)
{
    DateParts d;
    if (!parseDateParts(body.utf16(), body.utf16() + body.size(), d))
        return std::nullopt;
    return toDateTime(d);
}

QString canonicalDate(const QDateTime& dt)
{
    const std::optional<DateParts> d = partsOf(dt);
    if (!d)
        return QString();
    std::array<char16_t, 19> buffer;
    putCanonical(buffer.data(), *d);
    return QString(reinterpret_cast<const QChar*>(buffer.data()), static_cast<qsizetype>(buffer.size()));
}

QByteArray canonicalDateUtf8(const QDateTime& dt)
{
    const std::optional<DateParts> d = partsOf(dt);
    if (!d)
        return QByteArray();
    QByteArray text(19, Qt::Uninitialized);
    putCanonical(text.data(), *d);
    return text;
}

bool looksCanonicalDate(QStringView text)
{
    if (text.size() != 19)
        return false;
    for (int i = 0; i < 19; ++i) {
        const char16_t c = text.utf16()[i];
        switch (i) {
        case 4:
        case 7:
            if (c != u'-')
                return false;
            break;
        case 10:
            if (c != u' ')
                return false;
            break;
        case 13:
        case 16:
            if (c != u':')
                return false;
            break;
        default:
            if (!isDigit(c))
                return false;
            break;
        }
    }
    return true;
}

std::optional<QDateTime> parseCanonicalDate(QStringView text)
{
    if (!looksCanonicalDate(text))
        return std::nullopt;
    const char16_t* p = text.utf16();
    auto num = [p](int at, int digits) {
        int v = 0;
        for (int i = 0; i < digits; ++i)
            v = v * 10 + (p[at + i] - u'0');
        return v;
    };
    const DateParts d{num(0, 4), num(5, 2), num(8, 2), num(11, 2), num(14, 2), num(17, 2)};
    if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > daysInMonth(d.year, d.month) || d.hour > 23 ||
        d.minute > 59 || d.second > 59)
        return std::nullopt;
    return toDateTime(d);
}

} // namespace dao::jetsql
