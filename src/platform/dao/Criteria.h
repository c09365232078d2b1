#pragma once
// Criteria of FindFirst/FindNext in Jet's WHERE syntax, evaluated in C++ over the rows of a
// recordset: PRSN_NM='O''Brien', prsn_ky = 5, msrd_dt >= #3/1/2027#, a AND (b OR NOT c), x IS NULL.
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace dao {

// Texts compared with letter case not counting, for every letter (SQLite's NOCASE folds ASCII
// only): Unicode case folding, with ß read as ss. Negative, zero or positive as a sorts before,
// with or after b. The engine's SQL compares names by the same rule (collation "dao_nocase").
int compareNoCase(QStringView a, QStringView b);

class Criteria {
public:
    // Parses the text; throws dao::Error(3077) on a syntax error, 3075 on a bad date literal.
    explicit Criteria(const QString& text);
    ~Criteria();
    Criteria(Criteria&&) noexcept;
    Criteria& operator=(Criteria&&) noexcept;

    // Resolves every field name (a "t." qualifier is ignored, letter case is ignored) to a
    // column index through columnOf, which returns -1 for an unknown name; throws dao::Error(3070).
    void bind(const std::function<int(const QString&)>& columnOf);

    // SQL WHERE semantics: text compares with letter case folded (compareNoCase),
    // numbers numerically, dates (QDateTime) chronologically; a comparison with Null is false.
    bool matches(const std::function<QVariant(int)>& valueOf) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dao
