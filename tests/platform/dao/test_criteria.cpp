#include "platform/dao/Criteria.h"
#include "platform/dao/Error.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QStringList>

#include <initializer_list>
#include <ostream>
#include <vector>

// Readable failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

struct Case {
    const char* criteria;
    QStringList keys; // MSR_KY of the rows matched
};

// The rows of a recordset as the engine hands them over: one QVariant per field.
class CriteriaOverRows : public ::testing::Test {
protected:
    const QStringList fields{"MSR_KY", "PRSN_KY", "PRSN_NM", "MSRD_DT", "WT", "FLAG", "CMMNT", "CODE"};
    const std::vector<std::vector<QVariant>> table{
        {1, 5, "O'Brien", at(2027, 2, 28, 8, 0), 150.5, false, "first", "12"},
        {2, 5, "o'brien", at(2027, 3, 8, 19, 5), 151.0, true, QVariant(), "7"},
        {3, 6, "Smith", at(2027, 3, 1), 99.5, false, "", QVariant()},
        {4, 7, "smyth", QVariant(), QVariant(), true, "x", "abc"},
        {5, qint64(8), QStringLiteral("Émile"), at(2027, 3, 9, 7, 0), 80, false, "Ab*c", "2027-03-01"},
    };

    // Keys (MSR_KY) of the rows the criteria match.
    QStringList matching(const QString& text) const
    {
        dao::Criteria criteria(text);
        criteria.bind([this](const QString& name) {
            for (int i = 0; i < fields.size(); ++i)
                if (fields[i].compare(name, Qt::CaseInsensitive) == 0)
                    return i;
            return -1;
        });
        QStringList keys;
        for (const auto& row : table) {
            if (criteria.matches([&row](int column) { return row[static_cast<std::size_t>(column)]; }))
                keys << row[0].toString();
        }
        return keys;
    }

    void expectMatches(std::initializer_list<Case> cases) const
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.criteria);
            EXPECT_EQ(matching(QString::fromUtf8(c.criteria)), c.keys);
        }
    }
};

TEST_F(CriteriaOverRows, TextComparesWithLetterCaseFolded)
{
    expectMatches({{"PRSN_NM='O''Brien'", {"1", "2"}},
                   {"PRSN_NM = \"O'BRIEN\"", {"1", "2"}},
                   {"PRSN_NM <> 'o''brien'", {"3", "4", "5"}},
                   {"PRSN_NM < 'sm'", {"1", "2"}},
                   {"PRSN_NM >= 'SMITH'", {"3", "4", "5"}},
                   {"PRSN_NM = 'émile'", {"5"}},
                   {"PRSN_NM = 'ÉMILE'", {"5"}},
                   {"PRSN_NM = 'Emile'", {}},
                   {"PRSN_NM LIKE 'é*'", {"5"}},
                   {"CMMNT = ''", {"3"}},
                   {"[PRSN_NM] = 'smith'", {"3"}}});
}

TEST_F(CriteriaOverRows, NumbersCompareNumerically)
{
    expectMatches({{"prsn_ky = 5", {"1", "2"}},
                   {"PRSN_KY >= 7", {"4", "5"}}, // an int and a qint64 field
                   {"PRSN_KY > -3 AND PRSN_KY < +6", {"1", "2"}},
                   {"WT >= 150.5", {"1", "2"}},
                   {"WT < 1E2", {"3", "5"}},
                   {"WT <= .995e2", {"3", "5"}},
                   {"PRSN_KY = '5'", {"1", "2"}},    // numeric text against a number
                   {"CODE = 12", {"1"}},             // and the other way round
                   {"CODE > 10", {"1", "4", "5"}}}); // text that is no number sorts after numbers
}

TEST_F(CriteriaOverRows, YesNoFieldsAreMinusOneAndZero)
{
    expectMatches(
        {{"FLAG = True", {"2", "4"}}, {"FLAG = -1", {"2", "4"}}, {"flag = false", {"1", "3", "5"}}, {"FLAG <> 0", {"2", "4"}}});
}

TEST_F(CriteriaOverRows, DatesCompareChronologically)
{
    expectMatches({{"msrd_dt >= #3/1/2027#", {"2", "3", "5"}},
                   {"MSRD_DT = #3/8/2027 07:05:00 PM#", {"2"}},
                   {"MSRD_DT < #3/1/2027 12:00:01 AM#", {"1", "3"}},
                   {"f.msrd_dt > #2027-03-08 19:05#", {"5"}},
                   {"MSRD_DT > '3/8/2027'", {"2", "5"}}, // text that reads as a date
                   {"MSRD_DT = '2027-03-01 00:00:00'", {"3"}},
                   {"CODE = #3/1/2027#", {"5"}}}); // a stored date text against a date
}

TEST_F(CriteriaOverRows, AndBindsTighterThanOrAndNotNegates)
{
    expectMatches({{"PRSN_KY = 6 OR PRSN_KY = 5 AND WT > 151", {"3"}},
                   {"(PRSN_KY = 6 OR PRSN_KY = 5) AND WT > 100", {"1", "2"}},
                   {"PRSN_KY = 5 AND WT > 151 OR PRSN_KY = 6", {"3"}},
                   {"NOT PRSN_KY = 5", {"3", "4", "5"}},
                   {"NOT (PRSN_KY = 5 OR PRSN_KY = 6) AND NOT FLAG = True", {"5"}},
                   {"NOT NOT PRSN_KY = 6", {"3"}}});
}

TEST_F(CriteriaOverRows, NullNeverMatchesAComparison)
{
    expectMatches({{"CMMNT IS NULL", {"2"}},
                   {"CMMNT Is Not Null", {"1", "3", "4", "5"}},
                   {"CMMNT = Null", {}},
                   {"CMMNT <> 'x'", {"1", "3", "5"}},
                   {"NOT (CMMNT = 'x')", {"1", "3", "5"}}, // Null stays unknown under NOT
                   {"CMMNT = 'x' OR WT > 1000", {"4"}},
                   {"MSRD_DT < #1/1/2100# OR CMMNT = 'x'", {"1", "2", "3", "4", "5"}},
                   {"NOT (MSRD_DT > #1/1/2000# AND CODE = 'abc')", {"1", "2", "5"}}});
}

TEST_F(CriteriaOverRows, LikeUsesJetWildcards)
{
    expectMatches({{"PRSN_NM LIKE 'o*'", {"1", "2"}},
                   {"PRSN_NM LIKE 'sm?th'", {"3", "4"}},
                   {"PRSN_NM NOT LIKE 'S*'", {"1", "2", "5"}},
                   {"CODE LIKE '#'", {"2"}},
                   {"CODE LIKE '*#'", {"1", "2", "5"}},
                   {"PRSN_NM LIKE '[a-o]*'", {"1", "2"}},
                   {"PRSN_NM LIKE '[!a-o]*'", {"3", "4", "5"}},
                   {"CMMNT LIKE 'ab[*]c'", {"5"}},
                   {"CMMNT LIKE '*'", {"1", "3", "4", "5"}}});
}

TEST_F(CriteriaOverRows, ErrorsCarryJetNumbers)
{
    const char* syntax[] = {
        "",
        "   ",
        "PRSN_KY =",
        "PRSN_KY = 5 AND",
        "(PRSN_KY = 5",
        "PRSN_KY = 5)",
        "= 5",
        "PRSN_KY 5",
        "PRSN_KY IS 5",
        "PRSN_NM LIKE 5",
        "PRSN_NM = 'open",
        "PRSN_KY = 5 5",
        "PRSN_KY == 5",
        "PRSN_KY = -",
        "[PRSN_KY = 5",
        "AND = 5",
        "PRSN_KY = 5 OR OR PRSN_KY = 6",
        "PRSN_KY = @",
    };
    for (const char* text : syntax) {
        SCOPED_TRACE(text);
        try {
            dao::Criteria c(QString::fromUtf8(text));
            ADD_FAILURE() << "no error";
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.Number(), dao::errSyntaxInCriteria);
        }
    }
    try {
        dao::Criteria c(QStringLiteral("MSRD_DT = #2/30/2027#"));
        ADD_FAILURE() << "no error";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.Number(), dao::errSyntaxInExpression);
    }
    try {
        matching(QStringLiteral("PRSN_KY = 5 AND t.NOPE = 1"));
        ADD_FAILURE() << "no error";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.Number(), dao::errFieldNotRecognised);
        EXPECT_TRUE(e.Description().contains(QStringLiteral("NOPE")));
    }
}

TEST(CriteriaBinding, PassesBareFieldNamesAndSurvivesMoves)
{
    dao::Criteria criteria(QStringLiteral("f.msrd_dt >= #3/1/2027# AND [m].[Some Field] = 1 AND x.y.CODE = 'a'"));
    QStringList asked;
    criteria.bind([&asked](const QString& name) {
        asked << name;
        return static_cast<int>(asked.size() - 1);
    });
    EXPECT_EQ(asked, QStringList({"msrd_dt", "Some Field", "CODE"}));

    dao::Criteria moved(std::move(criteria));
    const std::vector<QVariant> row{at(2027, 3, 2), 1, QStringLiteral("A")};
    EXPECT_TRUE(moved.matches([&row](int i) { return row[static_cast<std::size_t>(i)]; }));
}

} // namespace
