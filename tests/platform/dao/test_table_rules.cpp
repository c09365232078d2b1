// The rules a table of the engine keeps whoever writes to it: each kind refuses a row with its
// own error number, a table in the older form of the rules refuses the same rows, and a new
// row's parents are checked for every relation the table has.
#include "EngineFixture.h"

#include <sqlite3.h>

using namespace dao;
using testing_dao::EngineTest;
using testing_dao::errorOf;
using testing_dao::field;

namespace {

class TableRulesTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        TableDef td = db->CreateTableDef(QStringLiteral("RULES"));
        field(td, "K", dbLong, 0, true);
        field(td, "YN", dbBoolean);
        field(td, "BY", dbByte);
        field(td, "SI", dbInteger);
        field(td, "LO", dbLong);
        field(td, "SG", dbSingle);
        field(td, "DB", dbDouble);
        field(td, "CU", dbCurrency);
        field(td, "DT", dbDate);
        field(td, "TX", dbText, 5);
        field(td, "ZL", dbText, 5, false, true);
        field(td, "ME", dbMemo);
        db->TableDefs().Append(td);
        testing_dao::index(td, "PrimaryKey", {"K"}, true);
    }

    // The column, the value as SQL, and the error it gives (0: kept).
    struct Case {
        const char* column;
        const char* value;
        int error;
    };

    static std::vector<Case> cases()
    {
        return {
            {"YN", "-1", 0},
            {"YN", "'x'", errTypeConversion},
            {"YN", "CAST('1' AS BLOB)", errTypeConversion},
            {"BY", "255", 0},
            {"BY", "256", errNumericOverflow},
            {"BY", "-1", errNumericOverflow},
            {"BY", "'12'", 0}, // a text that reads as a number is the number
            {"BY", "'twelve'", errTypeConversion},
            {"SI", "-32768", 0},
            {"SI", "32768", errNumericOverflow},
            {"SI", "''", errTypeConversion},
            {"LO", "2147483647", 0},
            {"LO", "-2147483649", errNumericOverflow},
            {"LO", "9223372036854775807", errNumericOverflow},
            {"LO", "' 7 '", 0},
            {"SG", "3.4e38", 0},
            {"SG", "-3.5e38", errNumericOverflow},
            {"SG", "-9223372036854775808", 0},
            {"SG", "'1.5.'", errTypeConversion},
            {"DB", "1e300", 0},
            {"DB", "CAST('1' AS BLOB)", errTypeConversion},
            {"CU", "12.34", 0},
            {"CU", "'12,34'", errTypeConversion},
            {"DT", "'2027-03-08 10:00:00'", 0},
            {"DT", "'2027-03-08 10:00'", errTypeConversion},
            {"DT", "'2027-03-08 10:00:00 '", errTypeConversion},
            {"DT", "CAST('2027-03-08 10:00:00' AS BLOB)", errTypeConversion},
            {"DT", "20270308", errTypeConversion},
            {"DT", "Null", 0},
            {"TX", "'abcde'", 0},
            {"TX", "'abcdef'", errFieldTooSmall},
            {"TX", "''", errZeroLength},
            {"ZL", "''", 0},
            {"ME", "''", errZeroLength},
            {"K", "Null", errRequired},
        };
    }

    // Writes each case into its own row of table: each must give its error.
    void expectEachCase(const char* table)
    {
        int key = 0;
        for (const Case& c : cases()) {
            const QString k = std::strcmp(c.column, "K") == 0 ? QString() : QStringLiteral("K, ");
            const QString v = k.isEmpty() ? QString() : QStringLiteral("%1, ").arg(++key);
            EXPECT_EQ(c.error, errorOf([&] {
                          db->Execute(QStringLiteral("INSERT INTO %1 (%2%3) VALUES (%4%5)")
                                          .arg(QLatin1String(table), k, QLatin1String(c.column), v, QLatin1String(c.value)),
                                      dbFailOnError);
                      }))
                << table << ": " << c.column << " = " << c.value;
        }
    }
};

TEST_F(TableRulesTest, EachKindOfRuleRefusesARowWithItsNumber)
{
    expectEachCase("RULES");
    // A row left out without the fail-on-error option is not written either.
    EXPECT_EQ(0, db->Execute(QStringLiteral("INSERT INTO RULES (K, SI) VALUES (1000, 40000)")));
    EXPECT_EQ(0, count(QStringLiteral("SELECT count(*) FROM RULES WHERE K = 1000")));
}

// A file made before holds the longer forms of the same rules: they refuse the same rows.
TEST_F(TableRulesTest, TheOlderFormOfTheRulesRefusesTheSameRows)
{
    auto numeric = [](const char* t, const char* c, const char* form) {
        return QStringLiteral("CONSTRAINT \"typ:%1.%2\" CHECK(typeof(\"%2\") %3)")
            .arg(QLatin1String(t), QLatin1String(c), QLatin1String(form));
    };
    auto range = [](const char* c, const char* lo, const char* hi) {
        return QStringLiteral("CONSTRAINT \"rng:OLD.%1\" CHECK(\"%1\" IS NULL OR (\"%1\" >= %2 AND \"%1\" < %3))")
            .arg(QLatin1String(c), QLatin1String(lo), QLatin1String(hi));
    };
    const char* oldest = "IN ('integer','real','null')";
    const char* older = "NOT IN ('text','blob')";
    const QString sql =
        QStringLiteral("CREATE TABLE OLD (\"K\" INTEGER NOT NULL, \"YN\" BOOLEAN %1, \"BY\" BYTE %2 %3, \"SI\" SMALLINT %4 %5, "
                       "\"LO\" INTEGER %6 %7, \"SG\" FLOAT %8 CONSTRAINT \"rng:OLD.SG\" CHECK(\"SG\" IS NULL OR abs(\"SG\") <= "
                       "3.402823466e38), \"DB\" DOUBLE %9, \"CU\" CURRENCY %10, \"DT\" DATETIME CONSTRAINT \"dt:OLD.DT\" "
                       "CHECK(\"DT\" IS NULL OR (typeof(\"DT\")='text' AND \"DT\" GLOB "
                       "'[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')), "
                       "\"TX\" VARCHAR(5) COLLATE NOCASE CONSTRAINT \"len:OLD.TX\" CHECK(length(\"TX\") <= 5) "
                       "CONSTRAINT \"zl:OLD.TX\" CHECK(\"TX\" <> ''), \"ZL\" VARCHAR(5) COLLATE NOCASE "
                       "CONSTRAINT \"len:OLD.ZL\" CHECK(length(\"ZL\") <= 5), \"ME\" TEXT COLLATE NOCASE "
                       "CONSTRAINT \"zl:OLD.ME\" CHECK(\"ME\" <> ''))")
            .arg(numeric("OLD", "YN", oldest), numeric("OLD", "BY", older), range("BY", "-0.5", "255.5"),
                 numeric("OLD", "SI", oldest), range("SI", "-32768.5", "32767.5"), numeric("OLD", "LO", older),
                 range("LO", "-2147483648.5", "2147483647.5"), numeric("OLD", "SG", oldest), numeric("OLD", "DB", older))
            .arg(numeric("OLD", "CU", oldest));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db->handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr))
        << sqlite3_errmsg(db->handle());
    expectEachCase("OLD");
}

class RelationRulesTest : public EngineTest {};

TEST_F(RelationRulesTest, ANewRowNeedsAParentForEachOfItsRelations)
{
    const int ann = addPerson(QStringLiteral("Ann"));
    db->Execute(QStringLiteral("INSERT INTO REGIMEN (RGMN_NM) VALUES ('Walk')"));
    const QString row = QStringLiteral("INSERT INTO MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY) VALUES (%1, #1/%2/2024#, %3, %4)");
    const struct {
        int person;
        const char* mood;
        const char* regimen;
        const char* missing; // the parent table the error names; nullptr: kept
    } cases[] = {
        {ann, "1", "1", nullptr},
        {ann, "Null", "Null", nullptr},
        {ann + 1, "1", "1", "PERSON"},
        {ann, "99", "1", "MOOD"},
        {ann, "1", "99", "REGIMEN"},
        // Several parents missing: the relation made last is named, as separate checks did.
        {ann + 1, "99", "99", "REGIMEN"},
        {ann + 1, "99", "1", "PERSON"},
    };
    int day = 0;
    for (const auto& c : cases) {
        ++day;
        QString message;
        const int error = errorOf([&] {
            try {
                db->Execute(row.arg(c.person).arg(day).arg(QLatin1String(c.mood), QLatin1String(c.regimen)), dbFailOnError);
            } catch (const Error& e) {
                message = e.Description();
                throw;
            }
        });
        EXPECT_EQ(c.missing ? errRelatedRecordRequired : 0, error) << day;
        if (c.missing) {
            EXPECT_TRUE(message.contains(QStringLiteral("'%1'").arg(QLatin1String(c.missing)))) << message.toStdString();
        }
    }
    EXPECT_EQ(2, count(QStringLiteral("SELECT count(*) FROM MEASURE")));
    // A changed key is checked as before, and a parent with children is kept.
    EXPECT_EQ(errRelatedRecordRequired,
              errorOf([&] { db->Execute(QStringLiteral("UPDATE MEASURE SET MD_KY = 99"), dbFailOnError); }));
    EXPECT_EQ(errRelatedRecordsExist,
              errorOf([&] { db->Execute(QStringLiteral("DELETE FROM MOOD WHERE MD_KY = 1"), dbFailOnError); }));
}

// The parent checks of a table follow its relations: one added later is checked from then on.
TEST_F(RelationRulesTest, ARelationAddedLaterIsCheckedForNewRows)
{
    db->Execute(QStringLiteral("DELETE FROM APPLICATION"));
    EXPECT_EQ(1, db->Execute(QStringLiteral("INSERT INTO APPLICATION (gblPrsnKy) VALUES (77)"), dbFailOnError));
    db->Execute(QStringLiteral("DELETE FROM APPLICATION"));
    Relation r = db->CreateRelation(QStringLiteral("PERSONAPP"), QStringLiteral("PERSON"), QStringLiteral("APPLICATION"));
    Field f = r.CreateField(QStringLiteral("PRSN_KY"));
    f.setForeignName(QStringLiteral("gblPrsnKy"));
    r.Fields().Append(f);
    db->Relations().Append(r);
    EXPECT_EQ(errRelatedRecordRequired,
              errorOf([&] { db->Execute(QStringLiteral("INSERT INTO APPLICATION (gblPrsnKy) VALUES (78)"), dbFailOnError); }));
    const int ann = addPerson(QStringLiteral("Ann"));
    EXPECT_EQ(1, db->Execute(QStringLiteral("INSERT INTO APPLICATION (gblPrsnKy) VALUES (%1)").arg(ann), dbFailOnError));
}

} // namespace
