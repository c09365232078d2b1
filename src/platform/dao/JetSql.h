#pragma once
// Translation of the Jet SQL dialect the program writes into SQLite's dialect,
// and the date texts shared by the translator, the criteria of finds and storage.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace dao::jetsql {

enum class StatementKind { Select, InsertValues, InsertSelect, Update, Delete, Other };

struct Translation {
    QByteArray sql; // whole statement in SQLite's dialect (UTF-8), no trailing ';'
    StatementKind kind = StatementKind::Other;
    QString table;             // INSERT/UPDATE/DELETE target; SELECT: the FROM table when singleTable
    QString tableAlias;        // SELECT: the alias of that table (the table name when it has none)
    QStringList insertColumns; // INSERT with a column list, as written
    QByteArray selectPart;     // INSERT ... SELECT: the translated SELECT
    QByteArray setPart;        // UPDATE: translated text between SET and WHERE (qualifiers dropped)
    QByteArray wherePart;      // UPDATE/DELETE/SELECT: translated condition after WHERE, empty when none
    QByteArray selectList;     // SELECT: translated items between SELECT [DISTINCT] and FROM
    QByteArray fromPart;       // SELECT: translated text after FROM up to WHERE/GROUP/HAVING/ORDER/end
    QByteArray tailPart;       // SELECT: translated text from GROUP/HAVING/ORDER (after the WHERE) to the end
    bool singleTable = false;  // SELECT over one table: no join, comma, DISTINCT, GROUP BY, HAVING,
                               // UNION or aggregate in the select list
    int parameters = 0;        // '?' placeholders outside quotes, kept in order in every part
    int leadingParameters = 0; // of them, those before the WHERE (SELECT: before WHERE or ORDER/GROUP;
                               // UPDATE: in the SET part; INSERT: all)

    // With bindLiterals, the numbers, texts and dates of an INSERT's VALUES became '?' in `sql`
    // (not counted in `parameters`); these are their values, in order, to bind before any other.
    // Statements that differ only in their values then share one prepared statement.
    struct Literal {
        enum Kind : std::uint8_t { Integer, Real, Text } kind = Integer;
        qint64 integer = 0;
        double real = 0;
        int offset = 0; // Text: bytes in literalText
        int size = 0;
    };
    std::vector<Literal> literals;
    QByteArray literalText;
};

// Translates one Jet statement. Throws dao::Error: 3075 for a date literal that is no date,
// 3134 for text the translator cannot read (an unclosed quote or bracket, say, or a numbered
// placeholder "?1": placeholders are plain '?', bound in the order they stand).
Translation translate(const QString& jetSql, bool bindLiterals = false);

// A plain "INSERT ... VALUES (...)" read without translating it: `shape` is the text with each
// number, text and date of its values replaced by a mark, `literals` and `literalText` the
// values translate(jetSql, true) binds for them, in the same form. Texts of one shape differ
// only in those values, so they share one translation.
class InsertShape {
public:
    // False (the members then hold nothing of use) for any other text: it is for the
    // translator to read. The text up to VALUES is not read again when it is that of the last
    // shape read.
    bool read(const QString& jetSql);

    QString shape;
    std::vector<Translation::Literal> literals;
    QByteArray literalText;

private:
    bool readText(const QString& jetSql);
    qsizetype prefix_ = 0; // of the last shape read: its length up to VALUES, 0 when none
};

// The text between the '#' signs of a Jet date literal, in the forms
// "m/d/yyyy", "m/d/yy", "m/d/yyyy h[:m[:s]] [AM|PM]", "yyyy-m-d[ h:m[:s]]"; blanks around
// and inside (before AM/PM) allowed. Two-digit years: 00-29 -> 2000-2029, 30-99 -> 1930-1999.
// Returns nothing when the text is no valid date or time.
std::optional<QDateTime> parseDateLiteral(QStringView body);

// Stored form of a date: "YYYY-MM-DD HH:MM:SS", naive local time (a QDateTime set to Qt::UTC).
QString canonicalDate(const QDateTime& dt);
QByteArray canonicalDateUtf8(const QDateTime& dt);
std::optional<QDateTime> parseCanonicalDate(QStringView text);
bool looksCanonicalDate(QStringView text);

} // namespace dao::jetsql
