#include "platform/dao/Criteria.h"

#include "platform/dao/Error.h"
#include "platform/dao/JetSql.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace dao {

namespace {

// One character without its case: ASCII directly, any other letter by Unicode's simple folding.
char16_t fold(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    return QChar::toCaseFolded(c);
}

// The text as names compare: without its case, ß written out as ss (as an upper-case text
// writes it, "STRASSE"), in the composed normal form, so that "É" typed as one letter and "É"
// typed as "E" and a combining accent are one letter.
QString foldedRun(QStringView text)
{
    QString out = text.toString().normalized(QString::NormalizationForm_D).toCaseFolded();
    out.replace(QChar(0x00DF), QLatin1String("ss"));
    return out.normalized(QString::NormalizationForm_C);
}

// As foldedRun, but a lone surrogate is kept as it is, between the runs folded on either side of
// it. Qt's normal forms keep such a code unit in some texts and turn it into U+FFFD in others, so
// that a text's key would depend on what stands before it, and the order would not be transitive;
// no letter composes with it or changes case, so nothing is lost by folding around it.
QString nameKey(QStringView text)
{
    QString out;
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!QChar::isSurrogate(c))
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        out += foldedRun(text.sliced(run, i - run));
        out += QChar(c);
        run = i + 1;
    }
    if (run == 0)
        return foldedRun(text);
    out += foldedRun(text.sliced(run));
    return out;
}

} // namespace

int compareNoCase(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t* p = a.utf16();
    const char16_t* q = b.utf16();
    qsizetype i = 0;
    for (; i < n && p[i] < 0x80 && q[i] < 0x80; ++i) {
        const char16_t x = fold(p[i]);
        const char16_t y = fold(q[i]);
        if (x == y)
            continue;
        // Two ASCII letters decide unless a combining mark after one makes it another letter.
        if ((i + 1 == a.size() || p[i + 1] < 0x80) && (i + 1 == b.size() || q[i + 1] < 0x80))
            return x < y ? -1 : 1;
        break;
    }
    if (i == n && a.size() == b.size())
        return 0;
    // Folding and composing work on a letter with its marks: the rest, from the last plain
    // letter on (a mark after it belongs to it), decides alone.
    const qsizetype from = i > 0 ? i - 1 : 0;
    const int r = nameKey(a.sliced(from)).compare(nameKey(b.sliced(from)));
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

namespace {

// ---------------------------------------------------------------------------------------------
// Values

enum class Kind : std::uint8_t { Null, Number, Date, Text };

constexpr qint64 msPerDay = 86'400'000;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr qint64 daysFromCivil(qint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<qint64>(doe) - 719468;
}

struct Civil {
    int year, month, day, hour, minute, second;
};

constexpr Civil civilFromMs(qint64 ms)
{
    qint64 days = ms / msPerDay;
    qint64 rest = ms % msPerDay;
    if (rest < 0) {
        rest += msPerDay;
        --days;
    }
    const qint64 z = days + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const qint64 y = static_cast<qint64>(yoe) + era * 400 + (m <= 2);
    const auto secs = static_cast<int>(rest / 1000);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d), secs / 3600, secs / 60 % 60, secs % 60};
}

// Dates are naive local times; they compare as milliseconds on one uniform calendar,
// whatever time zone setting the QDateTime carries.
qint64 msOf(const QDateTime& dt)
{
    if (dt.timeSpec() == Qt::UTC)
        return dt.toMSecsSinceEpoch();
    const QDate date = dt.date();
    return daysFromCivil(date.year(), static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day())) * msPerDay +
           dt.time().msecsSinceStartOfDay();
}

// Days since 1899-12-30 with the time as the fraction: what a date is as a number.
double serialOf(qint64 ms) { return static_cast<double>(ms) / msPerDay + 25569.0; }

// The stored text of a date, in a buffer that needs no allocation.
using DateText = std::array<char16_t, 19>;

DateText dateText(qint64 ms)
{
    const Civil c = civilFromMs(ms);
    DateText t{};
    auto put = [&t](int at, int v, int digits) {
        for (int i = digits - 1; i >= 0; --i, v /= 10)
            t[static_cast<std::size_t>(at + i)] = static_cast<char16_t>(u'0' + v % 10);
    };
    put(0, c.year, 4);
    t[4] = u'-';
    put(5, c.month, 2);
    t[7] = u'-';
    put(8, c.day, 2);
    t[10] = u' ';
    put(11, c.hour, 2);
    t[13] = u':';
    put(14, c.minute, 2);
    t[16] = u':';
    put(17, c.second, 2);
    return t;
}

template <typename T>
int compareScalar(T a, T b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}

// A constant of the criteria with the readings it may need worked out beforehand.
struct Literal {
    Kind kind = Kind::Null;
    double number = 0; // Number; Text that reads as a number
    qint64 ms = 0;     // Date; Text that reads as a date
    QString text;      // Text as meant (quotes undone)
    bool textIsNumber = false;
    bool textIsDate = false;
};

Literal textLiteral(QString text)
{
    Literal lit;
    lit.kind = Kind::Text;
    bool ok = false;
    const double v = QStringView(text).trimmed().toDouble(&ok);
    if (ok && !text.trimmed().isEmpty()) {
        lit.textIsNumber = true;
        lit.number = v;
    }
    if (const auto dt = jetsql::parseDateLiteral(text)) {
        lit.textIsDate = true;
        lit.ms = msOf(*dt);
    }
    lit.text = std::move(text);
    return lit;
}

// A value as compared: a view of the row's value or of a literal.
struct Value {
    Kind kind = Kind::Null;
    double number = 0;
    qint64 ms = 0;
    QStringView text;
    const Literal* literal = nullptr;
};

Value valueOf(const Literal& lit)
{
    Value v;
    v.kind = lit.kind;
    v.number = lit.number;
    v.ms = lit.ms;
    v.text = lit.text;
    v.literal = &lit;
    return v;
}

// `spare` holds the text of the rare value that is none of the usual types.
Value valueOf(const QVariant& var, QString& spare)
{
    Value v;
    if (!var.isValid() || var.isNull())
        return v;
    switch (var.userType()) {
    case QMetaType::QString:
        v.kind = Kind::Text;
        v.text = *static_cast<const QString*>(var.constData());
        return v;
    case QMetaType::Int:
        v.kind = Kind::Number;
        v.number = *static_cast<const int*>(var.constData());
        return v;
    case QMetaType::LongLong:
        v.kind = Kind::Number;
        v.number = static_cast<double>(*static_cast<const qlonglong*>(var.constData()));
        return v;
    case QMetaType::Double:
        v.kind = Kind::Number;
        v.number = *static_cast<const double*>(var.constData());
        return v;
    case QMetaType::Bool:
        v.kind = Kind::Number;
        v.number = *static_cast<const bool*>(var.constData()) ? -1 : 0; // Yes is -1
        return v;
    case QMetaType::QDateTime: {
        const auto& dt = *static_cast<const QDateTime*>(var.constData());
        if (dt.isValid()) {
            v.kind = Kind::Date;
            v.ms = msOf(dt);
        }
        return v;
    }
    case QMetaType::QDate: {
        const auto& date = *static_cast<const QDate*>(var.constData());
        if (date.isValid()) {
            v.kind = Kind::Date;
            v.ms = daysFromCivil(date.year(), static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day())) * msPerDay;
        }
        return v;
    }
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Float:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        v.kind = Kind::Number;
        v.number = var.toDouble();
        return v;
    default:
        spare = var.toString();
        v.kind = Kind::Text;
        v.text = spare;
        return v;
    }
}

bool textAsNumber(const Value& v, double& out)
{
    if (v.literal) {
        out = v.literal->number;
        return v.literal->textIsNumber;
    }
    const QStringView t = v.text.trimmed();
    bool ok = false;
    out = t.toDouble(&ok);
    return ok && !t.isEmpty();
}

bool textAsDate(const Value& v, qint64& out)
{
    if (v.literal) {
        out = v.literal->ms;
        return v.literal->textIsDate;
    }
    const auto dt = jetsql::parseDateLiteral(v.text);
    if (dt)
        out = msOf(*dt);
    return dt.has_value();
}

// Three-way comparison in SQL's manner; false when either side is Null.
bool compare(const Value& a, const Value& b, int& result)
{
    if (a.kind == Kind::Null || b.kind == Kind::Null)
        return false;
    if (a.kind == b.kind) {
        switch (a.kind) {
        case Kind::Number: result = compareScalar(a.number, b.number); break;
        case Kind::Date: result = compareScalar(a.ms, b.ms); break;
        case Kind::Text: result = compareNoCase(a.text, b.text); break;
        case Kind::Null: break;
        }
        return true;
    }
    // Mixed kinds: x is the lower of Number < Date < Text.
    const bool swapped = a.kind > b.kind;
    const Value& x = swapped ? b : a;
    const Value& y = swapped ? a : b;
    int r = 0;
    if (x.kind == Kind::Number && y.kind == Kind::Date) {
        r = compareScalar(x.number, serialOf(y.ms));
    } else if (x.kind == Kind::Number) {
        double n = 0;
        // As in SQLite, a number sorts before a text that is no number.
        r = textAsNumber(y, n) ? compareScalar(x.number, n) : -1;
    } else {
        qint64 ms = 0;
        if (textAsDate(y, ms)) {
            r = compareScalar(x.ms, ms);
        } else {
            const DateText t = dateText(x.ms);
            r = compareNoCase(QStringView(t.data(), static_cast<qsizetype>(t.size())), y.text);
        }
    }
    result = swapped ? -r : r;
    return true;
}

// ---------------------------------------------------------------------------------------------
// LIKE with the wildcards * ? # and [list], letter case ignored.

// Matches one [list] or [!list] at pattern[pi] against c; pi moves past the ']'.
bool matchList(QStringView pattern, qsizetype& pi, char16_t c)
{
    const qsizetype n = pattern.size();
    qsizetype i = pi + 1;
    bool negate = false;
    if (i < n && pattern[i] == u'!') {
        negate = true;
        ++i;
    }
    bool hit = false;
    const char16_t fc = fold(c);
    for (bool firstItem = true; i < n && (pattern[i] != u']' || firstItem); firstItem = false) {
        const char16_t lo = fold(pattern[i].unicode());
        if (i + 2 < n && pattern[i + 1] == u'-' && pattern[i + 2] != u']') {
            const char16_t hi = fold(pattern[i + 2].unicode());
            hit |= fc >= lo && fc <= hi;
            i += 3;
        } else {
            hit |= fc == lo;
            ++i;
        }
    }
    pi = i < n ? i + 1 : n;
    return hit != negate;
}

bool like(QStringView text, QStringView pattern)
{
    qsizetype ti = 0, pi = 0;
    qsizetype starP = -1, starT = 0;
    const qsizetype tn = text.size(), pn = pattern.size();
    while (ti < tn) {
        if (pi < pn) {
            const char16_t p = pattern[pi].unicode();
            const char16_t c = text[ti].unicode();
            if (p == u'*') {
                starP = ++pi;
                starT = ti;
                continue;
            }
            bool ok = false;
            qsizetype next = pi + 1;
            if (p == u'?')
                ok = true;
            else if (p == u'#')
                ok = c >= u'0' && c <= u'9';
            else if (p == u'[')
                ok = matchList(pattern, next = pi, c);
            else
                ok = fold(p) == fold(c);
            if (ok) {
                pi = next;
                ++ti;
                continue;
            }
        }
        if (starP < 0)
            return false;
        pi = starP;
        ti = ++starT;
    }
    while (pi < pn && pattern[pi] == u'*')
        ++pi;
    return pi == pn;
}

// ---------------------------------------------------------------------------------------------
// Lexer

enum class TokType : std::uint8_t { End, Word, Name, Number, Text, Date, Op, LParen, RParen, Dot };
enum class Op : std::uint8_t { Eq, Ne, Lt, Le, Gt, Ge };

struct Tok {
    TokType type = TokType::End;
    QString text; // Word/Name: the name; Text: the text meant; Date: the literal as written
    Op op = Op::Eq;
    double number = 0;
    qint64 ms = 0;
};

bool isWordStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

Error syntaxError(const QString& criteria)
{
    return Error(errSyntaxInCriteria, QStringLiteral("Syntax error in the criteria expression '%1'.").arg(criteria));
}

std::vector<Tok> lex(const QString& s)
{
    std::vector<Tok> out;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Tok t;
        const qsizetype start = i;
        if (isWordStart(c)) {
            while (++i < n && isWordChar(s[i])) {
            }
            t.type = TokType::Word;
            t.text = s.mid(start, i - start);
        } else if (c.isDigit() || c == u'.' || c == u'-' || c == u'+') {
            if (c == u'.' && !(i + 1 < n && s[i + 1].isDigit())) {
                t.type = TokType::Dot;
                ++i;
            } else {
                if (c == u'-' || c == u'+')
                    ++i;
                while (i < n && (s[i].isDigit() || s[i] == u'.'))
                    ++i;
                if (i < n && (s[i] == u'e' || s[i] == u'E')) {
                    qsizetype j = i + 1;
                    if (j < n && (s[j] == u'+' || s[j] == u'-'))
                        ++j;
                    if (j < n && s[j].isDigit()) {
                        while (j < n && s[j].isDigit())
                            ++j;
                        i = j;
                    }
                }
                bool ok = false;
                t.number = QStringView(s).mid(start, i - start).toDouble(&ok);
                if (!ok)
                    throw syntaxError(s);
                t.type = TokType::Number;
            }
        } else if (c == u'\'' || c == u'"') {
            t.type = TokType::Text;
            for (++i;; ++i) {
                if (i >= n)
                    throw syntaxError(s);
                if (s[i] == c) {
                    if (i + 1 < n && s[i + 1] == c)
                        ++i;
                    else
                        break;
                }
                t.text.append(s[i]);
            }
            ++i;
        } else if (c == u'[') {
            const qsizetype close = s.indexOf(u']', i + 1);
            if (close < 0 || close == i + 1)
                throw syntaxError(s);
            t.type = TokType::Name;
            t.text = s.mid(i + 1, close - i - 1);
            i = close + 1;
        } else if (c == u'#') {
            const qsizetype close = s.indexOf(u'#', i + 1);
            const QString literal = close < 0 ? s.mid(i) : s.mid(i, close - i + 1);
            const auto dt = close < 0 ? std::nullopt : jetsql::parseDateLiteral(QStringView(s).mid(i + 1, close - i - 1));
            if (!dt)
                throw Error(errSyntaxInExpression, QStringLiteral("Syntax error in date in query expression '%1'.").arg(literal));
            t.type = TokType::Date;
            t.ms = msOf(*dt);
            i = close + 1;
        } else if (c == u'(' || c == u')') {
            t.type = c == u'(' ? TokType::LParen : TokType::RParen;
            ++i;
        } else if (c == u'=' || c == u'<' || c == u'>') {
            t.type = TokType::Op;
            const QChar next = i + 1 < n ? s[i + 1] : QChar();
            if (c == u'=') {
                t.op = Op::Eq;
            } else if (c == u'<' && next == u'>') {
                t.op = Op::Ne;
            } else if (next == u'=') {
                t.op = c == u'<' ? Op::Le : Op::Ge;
            } else {
                t.op = c == u'<' ? Op::Lt : Op::Gt;
            }
            i += (c != u'=' && (next == u'=' || (c == u'<' && next == u'>'))) ? 2 : 1;
        } else {
            throw syntaxError(s);
        }
        out.push_back(std::move(t));
    }
    out.push_back(Tok{});
    return out;
}

// ---------------------------------------------------------------------------------------------
// Tree

enum class Tri : std::uint8_t { False, True, Unknown };

struct Operand {
    QString field; // empty for a literal
    int column = -1;
    Literal literal;
};

enum class NodeKind : std::uint8_t { And, Or, Not, Compare, IsNull, Like };

struct Node {
    NodeKind kind = NodeKind::Compare;
    Op op = Op::Eq;
    bool negated = false;
    int left = -1; // And/Or/Not: child nodes
    int right = -1;
    Operand a, b;    // Compare: both; IsNull/Like: a
    QString pattern; // Like
};

bool isKeyword(const Tok& t, const char* word)
{
    return t.type == TokType::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

class Parser {
public:
    Parser(const QString& text, std::vector<Node>& nodes) : text_(text), toks_(lex(text)), nodes_(nodes) {}

    int parse()
    {
        const int root = expr();
        if (peek().type != TokType::End)
            throw syntaxError(text_);
        return root;
    }

private:
    const Tok& peek() const { return toks_[pos_]; }
    const Tok& take() { return toks_[pos_ < toks_.size() - 1 ? pos_++ : pos_]; }

    int add(Node node)
    {
        nodes_.push_back(std::move(node));
        return static_cast<int>(nodes_.size() - 1);
    }

    int binary(NodeKind kind, int left, int right)
    {
        Node node;
        node.kind = kind;
        node.left = left;
        node.right = right;
        return add(std::move(node));
    }

    int expr()
    {
        int left = conjunction();
        while (isKeyword(peek(), "or")) {
            take();
            left = binary(NodeKind::Or, left, conjunction());
        }
        return left;
    }

    int conjunction()
    {
        int left = term();
        while (isKeyword(peek(), "and")) {
            take();
            left = binary(NodeKind::And, left, term());
        }
        return left;
    }

    int term()
    {
        if (isKeyword(peek(), "not")) {
            take();
            return binary(NodeKind::Not, term(), -1);
        }
        if (peek().type == TokType::LParen) {
            take();
            const int inner = expr();
            if (take().type != TokType::RParen)
                throw syntaxError(text_);
            return inner;
        }
        Node node;
        node.a = operand();
        const Tok& t = take();
        if (t.type == TokType::Op) {
            node.kind = NodeKind::Compare;
            node.op = t.op;
            node.b = operand();
        } else if (isKeyword(t, "is")) {
            node.kind = NodeKind::IsNull;
            if (isKeyword(peek(), "not")) {
                take();
                node.negated = true;
            }
            if (!isKeyword(take(), "null"))
                throw syntaxError(text_);
        } else if (isKeyword(t, "like") || (isKeyword(t, "not") && isKeyword(peek(), "like"))) {
            node.kind = NodeKind::Like;
            if (isKeyword(t, "not")) {
                take();
                node.negated = true;
            }
            const Tok& pattern = take();
            if (pattern.type != TokType::Text)
                throw syntaxError(text_);
            node.pattern = pattern.text.normalized(QString::NormalizationForm_C);
        } else {
            throw syntaxError(text_);
        }
        return add(std::move(node));
    }

    Operand operand()
    {
        Operand o;
        const Tok& t = take();
        switch (t.type) {
        case TokType::Word:
            if (isKeyword(t, "true") || isKeyword(t, "false")) {
                o.literal.kind = Kind::Number;
                o.literal.number = isKeyword(t, "true") ? -1 : 0;
                return o;
            }
            if (isKeyword(t, "null"))
                return o;
            if (isKeyword(t, "and") || isKeyword(t, "or") || isKeyword(t, "not") || isKeyword(t, "is") || isKeyword(t, "like"))
                throw syntaxError(text_);
            [[fallthrough]];
        case TokType::Name:
            o.field = t.text;
            // "t.field" and "[t].[field]": the table is the recordset's own.
            while (peek().type == TokType::Dot) {
                take();
                const Tok& part = take();
                if (part.type != TokType::Word && part.type != TokType::Name)
                    throw syntaxError(text_);
                o.field = part.text;
            }
            return o;
        case TokType::Number:
            o.literal.kind = Kind::Number;
            o.literal.number = t.number;
            return o;
        case TokType::Text: o.literal = textLiteral(t.text); return o;
        case TokType::Date:
            o.literal.kind = Kind::Date;
            o.literal.ms = t.ms;
            return o;
        default: throw syntaxError(text_);
        }
    }

    const QString& text_;
    std::vector<Tok> toks_;
    std::size_t pos_ = 0;
    std::vector<Node>& nodes_;
};

Tri fromBool(bool b) { return b ? Tri::True : Tri::False; }

bool holds(Op op, int r)
{
    switch (op) {
    case Op::Eq: return r == 0;
    case Op::Ne: return r != 0;
    case Op::Lt: return r < 0;
    case Op::Le: return r <= 0;
    case Op::Gt: return r > 0;
    case Op::Ge: return r >= 0;
    }
    return false;
}

} // namespace

struct Criteria::Impl {
    QString text;
    std::vector<Node> nodes;
    int root = -1;
    bool bound = false;

    // The value of an operand: a literal's is at hand, a field's is fetched into `holder`,
    // which must outlive the view.
    static Value operandValue(const Operand& o, const std::function<QVariant(int)>& rowValue, std::optional<QVariant>& holder,
                              QString& spare)
    {
        if (o.field.isEmpty())
            return valueOf(o.literal);
        return valueOf(holder.emplace(rowValue(o.column)), spare);
    }

    Tri eval(int index, const std::function<QVariant(int)>& rowValue) const
    {
        const Node& node = nodes[static_cast<std::size_t>(index)];
        switch (node.kind) {
        case NodeKind::And: {
            const Tri l = eval(node.left, rowValue);
            if (l == Tri::False)
                return Tri::False;
            const Tri r = eval(node.right, rowValue);
            return r == Tri::False ? Tri::False : l == Tri::True && r == Tri::True ? Tri::True : Tri::Unknown;
        }
        case NodeKind::Or: {
            const Tri l = eval(node.left, rowValue);
            if (l == Tri::True)
                return Tri::True;
            const Tri r = eval(node.right, rowValue);
            return r == Tri::True ? Tri::True : l == Tri::False && r == Tri::False ? Tri::False : Tri::Unknown;
        }
        case NodeKind::Not: {
            const Tri v = eval(node.left, rowValue);
            return v == Tri::Unknown ? v : fromBool(v == Tri::False);
        }
        case NodeKind::Compare: {
            std::optional<QVariant> holderA, holderB;
            QString spareA, spareB;
            const Value a = operandValue(node.a, rowValue, holderA, spareA);
            const Value b = operandValue(node.b, rowValue, holderB, spareB);
            int r = 0;
            if (!compare(a, b, r))
                return Tri::Unknown;
            return fromBool(holds(node.op, r));
        }
        case NodeKind::IsNull: {
            std::optional<QVariant> holder;
            QString spare;
            const Value a = operandValue(node.a, rowValue, holder, spare);
            return fromBool((a.kind == Kind::Null) != node.negated);
        }
        case NodeKind::Like: {
            std::optional<QVariant> holder;
            QString spare;
            const Value a = operandValue(node.a, rowValue, holder, spare);
            QStringView text = a.text;
            DateText date{};
            switch (a.kind) {
            case Kind::Null: return Tri::Unknown;
            case Kind::Number:
                spare = QString::number(a.number, 'g', 15);
                text = spare;
                break;
            case Kind::Date:
                date = dateText(a.ms);
                text = QStringView(date.data(), static_cast<qsizetype>(date.size()));
                break;
            case Kind::Text: break;
            }
            // Letters with their marks in one form, as the pattern is.
            QString composed;
            if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; })) {
                composed = text.toString().normalized(QString::NormalizationForm_C);
                text = composed;
            }
            return fromBool(like(text, node.pattern) != node.negated);
        }
        }
        return Tri::Unknown;
    }
};

Criteria::Criteria(const QString& text) : d(std::make_unique<Impl>())
{
    d->text = text;
    if (text.trimmed().isEmpty())
        throw syntaxError(text);
    d->root = Parser(d->text, d->nodes).parse();
}

Criteria::~Criteria() = default;
Criteria::Criteria(Criteria&&) noexcept = default;
Criteria& Criteria::operator=(Criteria&&) noexcept = default;

void Criteria::bind(const std::function<int(const QString&)>& columnOf)
{
    for (Node& node : d->nodes) {
        for (Operand* o : {&node.a, &node.b}) {
            if (o->field.isEmpty())
                continue;
            o->column = columnOf(o->field);
            if (o->column < 0)
                throw Error(errFieldNotRecognised, QStringLiteral("The field '%1' in the criteria is not known.").arg(o->field));
        }
    }
    d->bound = true;
}

bool Criteria::matches(const std::function<QVariant(int)>& valueOf) const
{
    if (!d->bound)
        throw Error(errFieldNotRecognised, QStringLiteral("The criteria '%1' are not bound to fields.").arg(d->text));
    return d->eval(d->root, valueOf) == Tri::True;
}

} // namespace dao
