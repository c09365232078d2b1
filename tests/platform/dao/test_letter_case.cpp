// Names equal but for the case of their letters, for every letter, and the refusals of triggers
// the engine did not make.
#include "EngineFixture.h"
#include "platform/dao/Criteria.h"

#include <QFile>

#include <string>

using namespace dao;
using testing_dao::EngineTest;
using testing_dao::errorOf;
using testing_dao::sqliteRows;

namespace {

QString quoted(const QString& text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

struct NamePair {
    const char* table;
    const char* first;
    const char* second;
    int error; // of writing the second beside the first
};

const NamePair namePairs[] = {
    {"PERSON", "Zoë Brontë-øster", "ZOË BRONTË-ØSTER", errDuplicateKey},
    {"PERSON", "Ōsaka Ńiko", "ōSAKA ńIKO", errDuplicateKey},
    {"PERSON", "Straße", "STRASSE", errDuplicateKey},
    {"PERSON", "Pellam Ostry", "PELLAM OSTRY", errDuplicateKey},
    {"PERSON", "Zoe", "Zoë", 0},
    {"PERSON", "Orsted", "Ørsted", 0},
    // One letter, or a letter and a combining mark: one name in whichever form it was typed.
    {"PERSON", "\u00C9lodie", "E\u0301LODIE", errDuplicateKey},
    {"PERSON", "Ana", "A\u0301na", 0},
    {"REGIMEN", "Zo\u00EB", "zoe\u0308", errDuplicateKey},
    {"REGIMEN", "Étude", "étude", errDuplicateKey},
    {"REGIMEN", "Walk", "WALK", errDuplicateKey},
    {"MOOD", "Ängstlich", "ÄNGSTLICH", errDuplicateKey},
};

class LetterCaseTest : public EngineTest {
protected:
    static QString nameColumn(const QString& table)
    {
        return table == QLatin1String("PERSON") ? QStringLiteral("PRSN_NM")
               : table == QLatin1String("MOOD") ? QStringLiteral("MD_NM")
                                                : QStringLiteral("RGMN_NM");
    }
    QString insertSql(const QString& table, const QString& name)
    {
        if (table == QLatin1String("MOOD"))
            return QStringLiteral("insert into MOOD (MD_KY, MD_NM) values (%1, %2)").arg(++moodKey).arg(quoted(name));
        return QStringLiteral("insert into %1 (%2) values (%3)").arg(table, nameColumn(table), quoted(name));
    }
    QStringList storedNames(const QString& table)
    {
        return sqliteRows(db->handle(), "SELECT " + nameColumn(table).toUtf8() + " FROM " + table.toUtf8() + " ORDER BY rowid");
    }
    int moodKey = 100;
};

TEST_F(LetterCaseTest, ANameEqualButForLetterCaseIsADuplicate)
{
    for (const NamePair& p : namePairs) {
        const QString table = QString::fromLatin1(p.table);
        const QString first = QString::fromUtf8(p.first);
        const QString second = QString::fromUtf8(p.second);
        SCOPED_TRACE(QStringLiteral("%1: %2 / %3").arg(table, first, second).toStdString());
        const QStringList before = storedNames(table);
        ASSERT_EQ(1, db->Execute(insertSql(table, first), dbFailOnError));
        EXPECT_EQ(p.error, errorOf([&] { db->Execute(insertSql(table, second), dbFailOnError); }));
        if (p.error) {
            // Without the option the row is left out without a word, as any duplicate.
            EXPECT_EQ(0, db->Execute(insertSql(table, second)));
            // A name may change the case of its own letters.
            EXPECT_EQ(1, db->Execute(QStringLiteral("update %1 set %2 = %3 where %2 = %4")
                                         .arg(table, nameColumn(table), quoted(second), quoted(first)),
                                     dbFailOnError));
            EXPECT_EQ(before + QStringList({second}), storedNames(table));
        } else {
            EXPECT_EQ(before + QStringList({first, second}), storedNames(table));
        }
        db->Execute(
            QStringLiteral("delete from %1 where %2 in (%3, %4)").arg(table, nameColumn(table), quoted(first), quoted(second)),
            dbFailOnError);
    }
}

TEST_F(LetterCaseTest, FindsAndQueriesMatchANameWhateverTheCaseOfItsLetters)
{
    addPerson(QStringLiteral("ZOË BRONTË-ØSTER"));
    addPerson(QStringLiteral("Zoe Bronte-Oster"));
    db->Execute(QStringLiteral("insert into REGIMEN (RGMN_NM) values ('Étude')"), dbFailOnError);

    auto people = db->OpenRecordset(QStringLiteral("select * from Person"), dbOpenDynaset);
    people->FindFirst(QStringLiteral("PRSN_NM='zoë brontë-øster'"));
    ASSERT_FALSE(people->NoMatch());
    people->MoveLast();
    people->FindFirst(QString::fromUtf8("PRSN_NM='zoe\u0308 bronte\u0308-\u00F8ster'"));
    ASSERT_FALSE(people->NoMatch());
    EXPECT_EQ(QStringLiteral("ZOË BRONTË-ØSTER"), people->Fields(QStringLiteral("PRSN_NM")).Value().toString());

    struct Query {
        const char* sql;
        QStringList rows;
    };
    const Query queries[] = {
        {"select prsn_nm from person where prsn_nm ='zoë brontë-øster'", {"ZOË BRONTË-ØSTER"}},
        {"select prsn_nm from person where 'Zoë Brontë-Øster' = prsn_nm", {"ZOË BRONTË-ØSTER"}},
        {"select prsn_nm from person where prsn_nm <> \"zoë brontë-øster\"", {"Zoe Bronte-Oster"}},
        {"select rgmn_ky from regimen where rgmn_nm ='étude'", {"1"}},
        {"select rgmn_ky from regimen where rgmn_nm ='e\u0301tude'", {"1"}},
        {"select count(*) from person p where p.prsn_nm = 'ZOE BRONTE-OSTER'", {"1"}},
    };
    for (const Query& q : queries) {
        SCOPED_TRACE(q.sql);
        auto rs = db->OpenRecordset(QString::fromUtf8(q.sql), dbOpenSnapshot);
        QStringList rows;
        for (; !rs->Eof(); rs->MoveNext())
            rows << rs->Fields(0).Value().toString();
        EXPECT_EQ(q.rows, rows);
    }
    EXPECT_EQ(1, db->Execute(QStringLiteral("update person set AGE = 40 where prsn_nm = 'zoë brontë-øster'"), dbFailOnError));
}

// The file stays one that SQLite alone reads and writes; one that already holds two such names
// opens and works, and refuses only a write of the names.
TEST_F(LetterCaseTest, APlainSqliteClientReadsAndWritesTheFileAndItsDuplicatesStillOpen)
{
    addPerson(QStringLiteral("Zoë"));
    db->Close();

    sqlite3* plain = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(QFile::encodeName(path).constData(), &plain));
    EXPECT_EQ(QStringList{"ok"}, sqliteRows(plain, "PRAGMA integrity_check"));
    EXPECT_EQ(QStringList{"0"}, sqliteRows(plain, "SELECT count(*) FROM sqlite_master WHERE sql LIKE '%dao_nocase%'"));
    char* message = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(plain,
                                      "INSERT INTO PERSON (PRSN_NM, AGE) VALUES ('ZOË', 7);"
                                      "UPDATE PERSON SET AGE = 8 WHERE PRSN_NM = 'Zoë';"
                                      "INSERT INTO PERSON_PLOT (PRSN_KY, PLT_KY, PLT_ACT) VALUES (1, 0, -1);",
                                      nullptr, nullptr, &message))
        << message;
    sqlite3_free(message);
    EXPECT_EQ(QStringList({"Zoë|8", "ZOË|7"}), sqliteRows(plain, "SELECT PRSN_NM, AGE FROM PERSON ORDER BY PRSN_KY"));
    sqlite3_close(plain);

    db = Database::open(path);
    auto rs = db->OpenRecordset(QStringLiteral("select * from PERSON order by PRSN_KY"), dbOpenDynaset);
    EXPECT_EQ(2, (rs->MoveLast(), rs->RecordCount()));
    rs->Edit();
    rs->Fields(QStringLiteral("AGE")).setValue(9);
    EXPECT_EQ(0, errorOf([&] { rs->Update(); }));
    // Its own name in other letters is still its own name; another's, in any normal form, is refused.
    rs->Edit();
    rs->Fields(QStringLiteral("PRSN_NM")).setValue(QStringLiteral("zoË"));
    EXPECT_EQ(0, errorOf([&] { rs->Update(); }));
    EXPECT_EQ(errDuplicateKey, errorOf([&] { addPerson(QStringLiteral("zoë")); }));
    EXPECT_EQ(3, addPerson(QStringLiteral("\u00C5sa")));
    rs->Edit();
    rs->Fields(QStringLiteral("PRSN_NM")).setValue(QStringLiteral("A\u030ASA"));
    EXPECT_EQ(errDuplicateKey, errorOf([&] { rs->Update(); }));
}

// Names are sorted and matched by this order: a strict weak order for any text, lone surrogates included.
TEST(CompareNoCase, IsAStrictWeakOrderForEveryText)
{
    const std::u16string texts[] = {u"Kb\xDC00",       u"kb\xFEFF",
                                    u"\u212Ab\xFEFF",  u"kb\xFFFD",
                                    u"Ee\x0307\xDC00", u"Ee\x0307\xDBFF\x11A8\xDC00K",
                                    u"\xD800",         u"Ab\xD83D\xDE00",
                                    u"Ab\xD83D\x00E9", u"E\x0301",
                                    u"\x00C9",         u"Stra\xDF",
                                    u"STRASS\xDC00",   u""};
    const auto cmp = [](const std::u16string& a, const std::u16string& b) {
        const int c = compareNoCase(QStringView(a), QStringView(b));
        return (c > 0) - (c < 0);
    };
    for (const auto& a : texts)
        for (const auto& b : texts) {
            EXPECT_EQ(cmp(a, b), -cmp(b, a)) << &a - texts << " " << &b - texts; // and so a == a
            for (const auto& c : texts)
                if (cmp(a, b) <= 0 && cmp(b, c) <= 0) { // then a <= c, strictly if either step is
                    EXPECT_EQ(std::min(cmp(a, b), cmp(b, c)), cmp(a, c)) << &a - texts << " " << &b - texts << " " << &c - texts;
                }
        }
}

TEST_F(EngineTest, ATriggerTheEngineDidNotMakeRefusesWithItsOwnWords)
{
    const int p = addPerson(QStringLiteral("Ann"));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db->handle(),
                                      "CREATE TRIGGER early BEFORE INSERT ON MEASURE WHEN NEW.MSRD_DT < '2000' "
                                      "BEGIN SELECT RAISE(ABORT, 'Readings before 2000 belong in the archive.'); END",
                                      nullptr, nullptr, nullptr));
    const QString early = QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT) values (%1, #1/5/1999#)").arg(p);
    try {
        db->Execute(early, dbFailOnError);
        ADD_FAILURE() << "the trigger let the row in";
    } catch (const Error& e) {
        EXPECT_EQ(errRangeRule, e.Number());
        EXPECT_EQ(QStringLiteral("Readings before 2000 belong in the archive."), e.Description());
    }
    EXPECT_EQ(0, db->Execute(early)); // left out, as any row that breaks a rule
}

} // namespace
