// The sample daily report files and their import.
#include "data/DataFixture.h"
#include "data/Globals.h"
#include "data/clsImport.h"
#include "platform/runtime/Conversions.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <optional>

using namespace testing_data;

namespace {

QString sampleFile(int month) { return executableFolder() + QStringLiteral("/Sample/Pellam Ostry-daily-%1-99.txt").arg(month); }

QString fileText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.readAll());
}

// A data row in the full layout: the date, high and low pressure (10 wide each, a blank at
// position 11), pulse, weight, temperature and regimen (12 wide each), mood.
QString fullRow(const QString& date, const QString& hbp, const QString& lbp, const QString& pulse, const QString& weight,
                const QString& temp, const QString& regimen, const QString& mood)
{
    return date.leftJustified(10) + (QLatin1Char(' ') + hbp).leftJustified(10) + lbp.leftJustified(10) + pulse.leftJustified(12) +
           weight.leftJustified(12) + temp.leftJustified(12) + regimen.leftJustified(12) + mood;
}

const QString kFullHeader = QStringLiteral("Date       High BP  Low BP    Pulse       Weight (lb) Temp (F)    Regimen     Mood");

struct Reading {
    QVariant lbp, hbp, pulse, wt, temp, temp1, temp2, comment, goal;
    QString regimen; // name of the regimen the row points to, empty for Null
    QString mood;
    QDateTime when;
};

} // namespace

// A database with the program's full layout and no person: the sample folder is taken away
// before the first start, so that the tests import the files themselves.
class ImportTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        QDir(programFolder() + QStringLiteral("/Sample")).removeRecursively();
        ASSERT_NO_THROW(openUpgraded());
        ASSERT_TRUE(gDB);
        ASSERT_EQ(0, count(QStringLiteral("select count(*) from person")));
    }

    static qint32 personKey(const QString& name)
    {
        const QVariant v = value(QStringLiteral("select prsn_ky from person where prsn_nm = ") + vb::SqlText(name));
        return v.isNull() ? -1 : v.toInt();
    }

    static std::optional<Reading> reading(qint32 person, const QString& day)
    {
        auto rs =
            gDB->OpenRecordset(QStringLiteral("select * from measure where prsn_ky = %1 and msrd_dt = #%2#").arg(person).arg(day),
                               dao::dbOpenSnapshot);
        if (rs->Eof())
            return std::nullopt;
        Reading r;
        r.lbp = rs->Fields(QStringLiteral("LBP")).Value();
        r.hbp = rs->Fields(QStringLiteral("HBP")).Value();
        r.pulse = rs->Fields(QStringLiteral("PLSE")).Value();
        r.wt = rs->Fields(QStringLiteral("WT")).Value();
        r.temp = rs->Fields(QStringLiteral("TEMP")).Value();
        r.temp1 = rs->Fields(QStringLiteral("TEMP1")).Value();
        r.temp2 = rs->Fields(QStringLiteral("TEMP2")).Value();
        r.comment = rs->Fields(QStringLiteral("CMMNT")).Value();
        r.goal = rs->Fields(QStringLiteral("GL_KY")).Value();
        r.when = rs->Fields(QStringLiteral("MSRD_DT")).Value().toDateTime();
        const QVariant regimen = rs->Fields(QStringLiteral("RGMN_KY")).Value();
        const QVariant mood = rs->Fields(QStringLiteral("MD_KY")).Value();
        if (!regimen.isNull())
            r.regimen = value(QStringLiteral("select rgmn_nm from regimen where rgmn_ky = ") + regimen.toString()).toString();
        if (!mood.isNull())
            r.mood = value(QStringLiteral("select md_nm from mood where md_ky = ") + mood.toString()).toString();
        return r;
    }

    // Writes a file into the program folder; lines end in LF unless asked for CRLF.
    QString writeFile(const QString& name, const QStringList& lines, bool crlf = false, bool lastLineEnd = true)
    {
        const QString path = programFolder() + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const QString end = crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
        QString text = lines.join(end);
        if (lastLineEnd && !lines.isEmpty())
            text += end;
        f.write(text.toUtf8());
        return path;
    }

    // A daily report of the given person with the given regimen lines and rows in the full layout.
    QString writeReport(const QString& name, const QString& person, const QStringList& regimens, const QStringList& rows,
                        const QString& header = kFullHeader)
    {
        QStringList lines{QStringLiteral("Ravelcombrick Daily Value for ") + person + QStringLiteral(" - March 2000"),
                          QStringLiteral("============"), QStringLiteral("Regimens in use this month: %1").arg(regimens.size())};
        lines += regimens;
        lines << QString() << header << QStringLiteral("----------");
        lines += rows;
        return writeFile(name, lines);
    }

    static void import(const QString& path) { clsImport().ImportFile(path); }
    static int measures() { return count(QStringLiteral("select count(*) from measure")); }
};

// ---------------------------------------------------------------------------------------------
// The twelve shipped files

TEST_F(ImportTest, TheTwelveSampleFilesGiveThePersonItsRegimensAndEveryDailyRow)
{
    int dataRows = 0;
    const QRegularExpression dated(QStringLiteral("^\\d\\d/\\d\\d/1999 "));
    for (int month = 1; month <= 12; ++month) {
        const QString text = fileText(sampleFile(month));
        ASSERT_FALSE(text.isEmpty()) << "missing " << sampleFile(month).toStdString();
        for (const QString& line : text.split(QStringLiteral("\r\n")))
            dataRows += dated.match(line).hasMatch() ? 1 : 0;
        import(sampleFile(month));
    }

    ASSERT_EQ(1, count(QStringLiteral("select count(*) from person")));
    const qint32 key = personKey(QStringLiteral("Pellam Ostry"));
    ASSERT_GT(key, 0);
    EXPECT_EQ(key, gPersonKey);
    auto person = gDB->OpenRecordset(QStringLiteral("select * from person"), dao::dbOpenSnapshot);
    EXPECT_EQ(35, person->Fields(QStringLiteral("AGE")).Value().toInt());
    EXPECT_EQ(70.0, person->Fields(QStringLiteral("HGT")).Value().toDouble());
    EXPECT_EQ(QStringLiteral("M"), person->Fields(QStringLiteral("SEX")).Value().toString());
    EXPECT_EQ(QStringLiteral("This is the sample data provided by Ravelcombrick software."),
              person->Fields(QStringLiteral("COMMENT")).Value().toString());
    // Its default chart rows: 7 + 6 + 1 + 6.
    EXPECT_EQ(7, count(QStringLiteral("select count(*) from person_plot where prsn_ky = %1").arg(key)));
    EXPECT_EQ(6, count(QStringLiteral("select count(*) from single_person_plot where prsn_ky = %1").arg(key)));
    EXPECT_EQ(6, count(QStringLiteral("select count(*) from chart_multiple_person_plot where prsn_ky = %1").arg(key)));

    // Regimens named in several files are added once and keep the detail of their first file;
    // a detail keeps everything after the first ":".
    EXPECT_EQ(6, count(QStringLiteral("select count(*) from regimen")));
    EXPECT_EQ(QStringLiteral("Low-salt diet: under 2 g of sodium a day"),
              value(QStringLiteral("select rgmn_dtl from regimen where rgmn_nm = 'LowSalt'")).toString());
    EXPECT_EQ(QStringLiteral("Lisinopril 10 mg, one tablet each morning"),
              value(QStringLiteral("select rgmn_dtl from regimen where rgmn_nm = 'Lisinopril'")).toString());

    EXPECT_EQ(dataRows, measures());
    EXPECT_GT(dataRows, 300);
    // Every measurement is at midnight, has the higher pressure as HBP and plausible values.
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from measure where format(msrd_dt, 'hh:mm AM/PM') <> '12:00 AM'")));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from measure where hbp < lbp")));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from measure where hbp < 100 or hbp > 170 or lbp < 60 or lbp > 100")));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from measure where plse < 55 or plse > 95")));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from measure where wt < 160 or wt > 180")));
    EXPECT_GT(count(QStringLiteral("select count(*) from measure where hbp >= 140")), 10);
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from measure where temp1 is not null or temp2 is not null "
                                      "or gl_ky is not null or cmmnt <> ''")));
}

TEST_F(ImportTest, ChosenSampleLinesAreStoredWithExactlyTheirValues)
{
    for (int month = 1; month <= 12; ++month)
        import(sampleFile(month));
    const qint32 key = personKey(QStringLiteral("Pellam Ostry"));
    ASSERT_GT(key, 0);

    struct Expect {
        int month;
        const char* line; // as it stands in the file
        const char* day;
        QVariant hbp, lbp, pulse, wt, temp;
        const char* regimen;
        const char* mood;
    };
    const QVariant null;
    const Expect cases[] = {
        // Full layout, blank pulse.
        {1, "01/04/1999 140      83                    174.3       98.1        LowSalt     Happy", "1/4/1999", 140, 83, null,
         174.3, 98.1, "LowSalt", "Happy"},
        // A fever day without regimen.
        {2, "02/09/1999 139      89        84          173.5       101.1                   Depressed", "2/9/1999", 139, 89, 84,
         173.5, 101.1, "", "Depressed"},
        // No temperature column: regimen and mood move left; blank pressures.
        {3, "03/03/1999                    79          173.2       Walk30      Melancholy", "3/3/1999", null, null, 79, 173.2,
         null, "Walk30", "Melancholy"},
        // No mood column; blank temperature.
        {5, "05/03/1999 124      82        72          170.0                   Walk30", "5/3/1999", 124, 82, 72, 170.0, null,
         "Walk30", ""},
        // No pulse column: the weight starts at position 31.
        {6, "06/02/1999 126      71        169.3       98.5        Swim", "6/2/1999", 126, 71, null, 169.3, 98.5, "Swim", ""},
        // No weight and no regimen column.
        {7, "07/02/1999 140      88        75          97.9        Anxious", "7/2/1999", 140, 88, 75, null, 97.9, "", "Anxious"},
        // No pressure column: the pulse starts at position 11.
        {9, "09/02/1999 77         167.7       97.9        Lisinopril  Excited", "9/2/1999", null, null, 77, 167.7, 97.9,
         "Lisinopril", "Excited"},
        // No temperature and no mood column, a short line without regimen.
        {10, "10/02/1999 128      83        68          168.1", "10/2/1999", 128, 83, 68, 168.1, null, "", ""},
        // Full layout, every column filled.
        {12, "12/01/1999 131      76        70          169.8       97.9        LowSalt     Melancholy", "12/1/1999", 131, 76, 70,
         169.8, 97.9, "LowSalt", "Melancholy"},
    };
    for (const Expect& e : cases) {
        SCOPED_TRACE(e.line);
        ASSERT_TRUE(fileText(sampleFile(e.month)).contains(QLatin1String(e.line) + QStringLiteral("\r\n")));
        const auto r = reading(key, QLatin1String(e.day));
        ASSERT_TRUE(r.has_value());
        auto same = [](const QVariant& expected, const QVariant& actual) {
            if (expected.isNull())
                return actual.isNull();
            return !actual.isNull() && vb::CSng(expected.toDouble()) == actual.toDouble();
        };
        EXPECT_TRUE(same(e.hbp, r->hbp)) << r->hbp.toString().toStdString();
        EXPECT_TRUE(same(e.lbp, r->lbp)) << r->lbp.toString().toStdString();
        EXPECT_TRUE(same(e.pulse, r->pulse)) << r->pulse.toString().toStdString();
        EXPECT_TRUE(same(e.wt, r->wt)) << r->wt.toString().toStdString();
        EXPECT_TRUE(same(e.temp, r->temp)) << r->temp.toString().toStdString();
        EXPECT_EQ(QLatin1String(e.regimen), r->regimen);
        EXPECT_EQ(QLatin1String(e.mood), r->mood);
        EXPECT_EQ(QTime(0, 0), r->when.time());
        EXPECT_TRUE(r->temp1.isNull() && r->temp2.isNull() && r->goal.isNull());
        EXPECT_EQ(QString(), r->comment.toString());
        EXPECT_FALSE(r->comment.isNull());
    }
}

TEST_F(ImportTest, ASecondImportOfAFileAddsNothingAndSetsRegimenAndMoodAgain)
{
    import(sampleFile(1));
    const int rows = measures();
    const int regimens = count(QStringLiteral("select count(*) from regimen"));
    const qint32 key = gPersonKey;
    ASSERT_GT(rows, 20);
    gDB->Execute(QStringLiteral("update measure set rgmn_ky = Null, md_ky = Null, hbp = 100 where msrd_dt = #1/4/1999#"));

    gPersonKey = -1;
    import(sampleFile(1));

    EXPECT_EQ(key, gPersonKey);
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from person")));
    EXPECT_EQ(regimens, count(QStringLiteral("select count(*) from regimen")));
    EXPECT_EQ(rows, measures());
    EXPECT_EQ(20, count(QStringLiteral("select count(*) from person_plot where prsn_ky = %1").arg(key)) +
                      count(QStringLiteral("select count(*) from single_person_plot where prsn_ky = %1").arg(key)) +
                      count(QStringLiteral("select count(*) from multiple_person_plot where prsn_ky = %1").arg(key)) +
                      count(QStringLiteral("select count(*) from chart_multiple_person_plot where prsn_ky = %1").arg(key)));
    const auto r = reading(key, QStringLiteral("1/4/1999"));
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(QStringLiteral("LowSalt"), r->regimen);
    EXPECT_EQ(QStringLiteral("Happy"), r->mood);
    EXPECT_EQ(100, r->hbp.toInt()); // the failed insert changed no reading
}

// ---------------------------------------------------------------------------------------------
// Crafted files

TEST_F(ImportTest, QuotesInPersonAndRegimenNamesAreStoredAndFoundWithoutLetterCase)
{
    gDB->Execute(QStringLiteral("insert into regimen (rgmn_nm, rgmn_dtl) values ('Walk''s', 'kept detail')"));
    const QString path =
        writeReport(QStringLiteral("quotes.txt"), QStringLiteral("Dan O'Hara  "),
                    {QStringLiteral("Dr's plan : Mike's advice: twice a day"), QStringLiteral("WALK'S : another detail")},
                    {fullRow(QStringLiteral("03/01/2000"), QStringLiteral("130"), QStringLiteral("85"), QStringLiteral("70"),
                             QStringLiteral("180.5"), QString(), QStringLiteral("dr's PLAN"), QStringLiteral("happy")),
                     fullRow(QStringLiteral("03/02/2000"), QStringLiteral("128"), QStringLiteral("84"), QString(), QString(),
                             QString(), QStringLiteral("walk's"), QStringLiteral("O'Neil"))});
    import(path);

    const qint32 key = personKey(QStringLiteral("Dan O'Hara"));
    ASSERT_GT(key, 0);
    EXPECT_EQ(key, gPersonKey);
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from regimen")));
    EXPECT_EQ(QStringLiteral("Mike's advice: twice a day"),
              value(QStringLiteral("select rgmn_dtl from regimen where rgmn_nm = 'Dr''s plan'")).toString());
    EXPECT_EQ(QStringLiteral("kept detail"),
              value(QStringLiteral("select rgmn_dtl from regimen where rgmn_nm = 'Walk''s'")).toString());

    const auto first = reading(key, QStringLiteral("3/1/2000"));
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(QStringLiteral("Dr's plan"), first->regimen);
    EXPECT_EQ(QStringLiteral("Happy"), first->mood);
    const auto second = reading(key, QStringLiteral("3/2/2000"));
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(QStringLiteral("Walk's"), second->regimen);
    EXPECT_EQ(QString(), second->mood); // a mood no seeded mood has stays Null
}

TEST_F(ImportTest, RowsAreReadAsTheFormatSays)
{
    const QString path =
        writeReport(QStringLiteral("rows.txt"), QStringLiteral("Row Reader"), {},
                    {// The pressures the wrong way round are exchanged.
                     fullRow(QStringLiteral("03/01/2000"), QStringLiteral("80"), QStringLiteral("120"), QStringLiteral("66"),
                             QString(), QString(), QString(), QString()),
                     // A pulse of 0 and a field without a number are Null; blanks inside a number are skipped.
                     fullRow(QStringLiteral("03/02/2000"), QStringLiteral("1 35"), QStringLiteral("85"), QStringLiteral("0"),
                             QStringLiteral("n/a"), QStringLiteral("98.25"), QString(), QString()),
                     // A shorter date followed by blanks, and a two-digit year.
                     fullRow(QStringLiteral("3/3/00"), QStringLiteral("125"), QStringLiteral("80"), QStringLiteral("72"),
                             QString(), QString(), QString(), QStringLiteral("Normal"))});
    import(path);
    const qint32 key = personKey(QStringLiteral("Row Reader"));
    ASSERT_GT(key, 0);

    const auto swapped = reading(key, QStringLiteral("3/1/2000"));
    ASSERT_TRUE(swapped.has_value());
    EXPECT_EQ(120, swapped->hbp.toInt());
    EXPECT_EQ(80, swapped->lbp.toInt());

    const auto zero = reading(key, QStringLiteral("3/2/2000"));
    ASSERT_TRUE(zero.has_value());
    EXPECT_EQ(135, zero->hbp.toInt());
    EXPECT_TRUE(zero->pulse.isNull());
    EXPECT_TRUE(zero->wt.isNull());
    EXPECT_EQ(vb::CSng(98.25), zero->temp.toDouble());

    const auto shortDate = reading(key, QStringLiteral("3/3/2000"));
    ASSERT_TRUE(shortDate.has_value());
    EXPECT_EQ(QStringLiteral("Normal"), shortDate->mood);
    EXPECT_EQ(3, measures());
}

TEST_F(ImportTest, AHeaderWithoutAColumnMovesTheFollowingColumnsLeft)
{
    // Without "Pulse" the weight starts at position 31; without "High BP" the first field
    // starts at position 11.
    const QString noPulse = writeReport(QStringLiteral("nopulse.txt"), QStringLiteral("Column Mover"), {},
                                        {QStringLiteral("03/01/2000") + QStringLiteral(" 130").leftJustified(10) +
                                         QStringLiteral("85").leftJustified(10) + QStringLiteral("181.5").leftJustified(12) +
                                         QStringLiteral("99.0").leftJustified(12)},
                                        QStringLiteral("Date       High BP  Low BP    Weight      Temp"));
    const QString noPressure = writeReport(QStringLiteral("nopressure.txt"), QStringLiteral("Column Mover"), {},
                                           {QStringLiteral("03/02/2000") + QStringLiteral(" 64").leftJustified(12) +
                                            QStringLiteral("182.0").leftJustified(12) + QStringLiteral("Excited")},
                                           QStringLiteral("Date       Pulse       Weight      Mood"));
    import(noPulse);
    import(noPressure);
    const qint32 key = personKey(QStringLiteral("Column Mover"));

    const auto first = reading(key, QStringLiteral("3/1/2000"));
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(130, first->hbp.toInt());
    EXPECT_EQ(85, first->lbp.toInt());
    EXPECT_TRUE(first->pulse.isNull());
    EXPECT_EQ(vb::CSng(181.5), first->wt.toDouble());
    EXPECT_EQ(vb::CSng(99.0), first->temp.toDouble());

    const auto second = reading(key, QStringLiteral("3/2/2000"));
    ASSERT_TRUE(second.has_value());
    EXPECT_TRUE(second->hbp.isNull() && second->lbp.isNull() && second->temp.isNull());
    EXPECT_EQ(64, second->pulse.toInt());
    EXPECT_EQ(vb::CSng(182.0), second->wt.toDouble());
    EXPECT_EQ(QStringLiteral("Excited"), second->mood);
}

TEST_F(ImportTest, BadDatesAndValuesTooLargeLeaveTheirRowOutAndKeepTheOthers)
{
    const QString path =
        writeReport(QStringLiteral("bad.txt"), QStringLiteral("Bad Rows"), {QStringLiteral("Walk30 : walking")},
                    {fullRow(QStringLiteral("03/01/2000"), QStringLiteral("130"), QStringLiteral("85"), QStringLiteral("70"),
                             QString(), QString(), QStringLiteral("Walk30"), QStringLiteral("Happy")),
                     fullRow(QStringLiteral("13/45/2000"), QStringLiteral("131"), QStringLiteral("86"), QString(), QString(),
                             QString(), QStringLiteral("Walk30"), QString()),
                     fullRow(QStringLiteral("xx/01/2000"), QStringLiteral("132"), QStringLiteral("87"), QString(), QString(),
                             QString(), QString(), QString()),
                     // A date text that would break the statement if it went into the SQL as it stands.
                     QStringLiteral("3/2/2000#,1)-- 133      88"),
                     // Too large for the 16-bit pulse, for the single weight, for a double.
                     fullRow(QStringLiteral("03/03/2000"), QStringLiteral("133"), QStringLiteral("88"), QStringLiteral("40000"),
                             QString(), QString(), QStringLiteral("Walk30"), QStringLiteral("Sad")),
                     fullRow(QStringLiteral("03/04/2000"), QStringLiteral("134"), QStringLiteral("89"), QString(),
                             QStringLiteral("1E39"), QString(), QString(), QString()),
                     fullRow(QStringLiteral("03/05/2000"), QStringLiteral("1E999"), QStringLiteral("89"), QString(), QString(),
                             QString(), QString(), QString()),
                     // Nothing but a date, an empty line: no measurement.
                     QStringLiteral("03/06/2000"), QString(),
                     // A regimen or a mood alone: a measurement.
                     fullRow(QStringLiteral("03/07/2000"), QString(), QString(), QString(), QString(), QString(),
                             QStringLiteral("Walk30"), QString()),
                     fullRow(QStringLiteral("03/10/2000"), QString(), QString(), QString(), QString(), QString(), QString(),
                             QStringLiteral("Happy")),
                     // The same day twice: the first row stays, the second one's mood goes to it.
                     fullRow(QStringLiteral("03/08/2000"), QStringLiteral("135"), QStringLiteral("90"), QString(), QString(),
                             QString(), QString(), QString()),
                     fullRow(QStringLiteral("03/08/2000"), QStringLiteral("150"), QStringLiteral("99"), QString(), QString(),
                             QString(), QString(), QStringLiteral("Anxious")),
                     fullRow(QStringLiteral("03/09/2000"), QStringLiteral("136"), QStringLiteral("91"), QString(), QString(),
                             QString(), QString(), QString())});
    EXPECT_NO_THROW(import(path));
    const qint32 key = personKey(QStringLiteral("Bad Rows"));
    ASSERT_GT(key, 0);

    EXPECT_EQ(5, measures());
    const auto good = reading(key, QStringLiteral("3/1/2000"));
    ASSERT_TRUE(good.has_value());
    EXPECT_EQ(QStringLiteral("Walk30"), good->regimen);
    EXPECT_EQ(QStringLiteral("Happy"), good->mood);
    const auto twice = reading(key, QStringLiteral("3/8/2000"));
    ASSERT_TRUE(twice.has_value());
    EXPECT_EQ(135, twice->hbp.toInt());
    EXPECT_EQ(QStringLiteral("Anxious"), twice->mood);
    EXPECT_TRUE(reading(key, QStringLiteral("3/9/2000")).has_value());
    EXPECT_FALSE(reading(key, QStringLiteral("3/2/2000")).has_value());
    EXPECT_FALSE(reading(key, QStringLiteral("3/3/2000")).has_value());
    EXPECT_FALSE(reading(key, QStringLiteral("3/6/2000")).has_value());
    const auto regimenOnly = reading(key, QStringLiteral("3/7/2000"));
    ASSERT_TRUE(regimenOnly.has_value());
    EXPECT_EQ(QStringLiteral("Walk30"), regimenOnly->regimen);
    EXPECT_TRUE(regimenOnly->mood.isEmpty());
    const auto moodOnly = reading(key, QStringLiteral("3/10/2000"));
    ASSERT_TRUE(moodOnly.has_value());
    EXPECT_EQ(QStringLiteral("Happy"), moodOnly->mood);
    EXPECT_TRUE(moodOnly->regimen.isEmpty());
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from measure where hbp is null and lbp is null and plse is null "
                                      "and wt is null and temp is null")));
    // The statement after the broken date still ran: the database is usable and not in a transaction.
    EXPECT_EQ(0, gDB->transactionDepth());
}

TEST_F(ImportTest, FilesThatAreMissingEmptyOrWithoutTitleImportNothing)
{
    gPersonKey = -1;
    import(programFolder() + QStringLiteral("/no such file.txt"));
    import(programFolder()); // a folder
    import(writeFile(QStringLiteral("empty.txt"), {}));
    import(writeFile(QStringLiteral("title.txt"),
                     {QStringLiteral("Ravelcombrick daily value for Pellam Ostry - April 2000"), QStringLiteral("="),
                      QStringLiteral("Regimens in use this month: 0"), QString(), kFullHeader, QStringLiteral("-"),
                      fullRow(QStringLiteral("04/01/2000"), QStringLiteral("130"), QStringLiteral("85"), QString(), QString(),
                              QString(), QString(), QString())}));
    // An empty name, and a name longer than the 30 characters a person's name may have.
    import(writeFile(QStringLiteral("noname.txt"), {QStringLiteral("Daily Value for  - May")}));
    import(writeReport(QStringLiteral("longname.txt"), QStringLiteral("A Name Much Longer Than Thirty Letters"), {},
                       {fullRow(QStringLiteral("04/01/2000"), QStringLiteral("130"), QStringLiteral("85"), QString(), QString(),
                                QString(), QString(), QString())}));

    EXPECT_EQ(0, count(QStringLiteral("select count(*) from person")));
    EXPECT_EQ(0, measures());
    EXPECT_EQ(-1, gPersonKey);
}

TEST_F(ImportTest, AFailedPersonNeverLendsItsRowsToTheCurrentPerson)
{
    import(writeReport(QStringLiteral("first.txt"), QStringLiteral("First Person"), {},
                       {fullRow(QStringLiteral("04/01/2000"), QStringLiteral("130"), QStringLiteral("85"), QString(), QString(),
                                QString(), QString(), QString())}));
    const qint32 first = gPersonKey;
    ASSERT_EQ(first, personKey(QStringLiteral("First Person")));

    import(writeReport(QStringLiteral("long.txt"), QStringLiteral("A Name Much Longer Than Thirty Letters"), {},
                       {fullRow(QStringLiteral("04/02/2000"), QStringLiteral("131"), QStringLiteral("86"), QString(), QString(),
                                QString(), QString(), QString())}));
    EXPECT_EQ(first, gPersonKey);
    EXPECT_EQ(1, measures());
}

TEST_F(ImportTest, TruncatedAndShortFilesKeepWhatWasReadWhole)
{
    // Only the title: the person is made current with its chart rows, nothing else.
    import(writeFile(QStringLiteral("one.txt"), {QStringLiteral("Daily Value for Short File - June")}, false, false));
    const qint32 key = personKey(QStringLiteral("Short File"));
    ASSERT_GT(key, 0);
    EXPECT_EQ(key, gPersonKey);
    EXPECT_EQ(7, count(QStringLiteral("select count(*) from person_plot where prsn_ky = %1").arg(key)));

    // Cut inside the regimen lines: the regimens before the cut are there.
    import(writeFile(QStringLiteral("regimens.txt"),
                     {QStringLiteral("Daily Value for Short File - June"), QStringLiteral("="),
                      QStringLiteral("Regimens in use this month: 3"), QStringLiteral("Swim : pool"), QStringLiteral("Cycl")},
                     true, false));
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from regimen")));

    // Cut after the header: no rows.
    import(writeFile(QStringLiteral("header.txt"), {QStringLiteral("Daily Value for Short File - June"), QStringLiteral("="),
                                                    QStringLiteral("Regimens: 0"), QString(), kFullHeader}));
    EXPECT_EQ(0, measures());

    // Cut inside the last row's regimen name: the rows before are whole, the cut row keeps its
    // numbers and finds no regimen.
    const QStringList rows{
        fullRow(QStringLiteral("06/01/2000"), QStringLiteral("130"), QStringLiteral("85"), QStringLiteral("70"),
                QStringLiteral("181.0"), QString(), QStringLiteral("Swim"), QStringLiteral("Normal")),
        fullRow(QStringLiteral("06/02/2000"), QStringLiteral("131"), QStringLiteral("86"), QStringLiteral("71"),
                QStringLiteral("181.2"), QString(), QStringLiteral("Swim"), QStringLiteral("Happy"))};
    QStringList lines{QStringLiteral("Daily Value for Short File - June"),
                      QStringLiteral("="),
                      QStringLiteral("Regimens in use this month: 1"),
                      QStringLiteral("Swim : pool"),
                      QString(),
                      kFullHeader,
                      QStringLiteral("-")};
    lines += rows;
    QString cutRow = rows.last().left(68); // ends inside "Swim"
    cutRow.replace(QStringLiteral("06/02"), QStringLiteral("06/03"));
    lines << cutRow;
    import(writeFile(QStringLiteral("cut.txt"), lines, true, false));

    EXPECT_EQ(3, measures());
    const auto whole = reading(key, QStringLiteral("6/2/2000"));
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(QStringLiteral("Happy"), whole->mood);
    const auto cut = reading(key, QStringLiteral("6/3/2000"));
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(131, cut->hbp.toInt());
    EXPECT_EQ(vb::CSng(181.2), cut->wt.toDouble());
    EXPECT_EQ(QString(), cut->regimen);
}

TEST_F(ImportTest, ARegimenCountOutOfStepWithItsLinesStoresNoMisreadRows)
{
    const QStringList rows{fullRow(QStringLiteral("07/01/2000"), QStringLiteral("130"), QStringLiteral("85"),
                                   QStringLiteral("70"), QStringLiteral("181.0"), QString(), QStringLiteral("Swim"),
                                   QStringLiteral("Normal")),
                           fullRow(QStringLiteral("07/02/2000"), QStringLiteral("131"), QStringLiteral("86"),
                                   QStringLiteral("71"), QStringLiteral("181.2"), QString(), QString(), QString())};
    auto report = [&](const QString& countLine, const QString& person) {
        QStringList lines{QStringLiteral("Daily Value for ") + person + QStringLiteral(" - July"),
                          QStringLiteral("="),
                          countLine,
                          QStringLiteral("Swim : pool"),
                          QStringLiteral("Cycling : river path"),
                          QString(),
                          kFullHeader,
                          QStringLiteral("----------")};
        lines += rows;
        return writeFile(person + QStringLiteral(".txt"), lines);
    };
    import(report(QStringLiteral("Regimens in use this month: 3"), QStringLiteral("Too High")));
    import(report(QStringLiteral("Regimens in use this month: 1"), QStringLiteral("Too Low")));
    import(report(QStringLiteral("Regimens in use this month"), QStringLiteral("No Number")));
    import(report(QStringLiteral("Regimens: -4"), QStringLiteral("Negative")));
    import(report(QStringLiteral("Regimens: 99999999999"), QStringLiteral("Huge")));

    EXPECT_EQ(5, count(QStringLiteral("select count(*) from person")));
    EXPECT_EQ(0, measures());
    // The regimen lines read as regimens were added; a line without ":" adds none.
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from regimen")));

    // The same file with the right count imports both rows.
    import(report(QStringLiteral("Regimens in use this month: 2"), QStringLiteral("Right")));
    EXPECT_EQ(2, measures());
}

TEST_F(ImportTest, RegimenLinesWithoutColonOrWithALongNameAddNoRegimen)
{
    import(writeReport(QStringLiteral("reg.txt"), QStringLiteral("Regimen Lines"),
                       {QStringLiteral("No colon here"), QStringLiteral("ElevenChars : too long"), QStringLiteral(" : no name"),
                        QStringLiteral("LongDetail : ") + QString(201, u'x'), QStringLiteral("Tenletters :   spaced detail  "),
                        QStringLiteral("TENLETTERS : same name, other case")},
                       {}));
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from regimen")));
    EXPECT_EQ(QStringLiteral("spaced detail"),
              value(QStringLiteral("select rgmn_dtl from regimen where rgmn_nm = 'Tenletters'")).toString());
}

TEST_F(ImportTest, CrlfAndLfLineEndsReadAlike)
{
    const QStringList lines{QStringLiteral("Daily Value for Line Ends - July"),
                            QStringLiteral("="),
                            QStringLiteral("Regimens in use this month: 1"),
                            QStringLiteral("Swim : pool"),
                            QString(),
                            kFullHeader,
                            QStringLiteral("-"),
                            fullRow(QStringLiteral("07/01/2000"), QStringLiteral("130"), QStringLiteral("85"),
                                    QStringLiteral("70"), QString(), QString(), QStringLiteral("Swim"),
                                    QStringLiteral("Normal"))};
    import(writeFile(QStringLiteral("lf.txt"), lines, false));
    gDB->Execute(QStringLiteral("delete from measure"));
    import(writeFile(QStringLiteral("crlf.txt"), lines, true));
    const auto r = reading(personKey(QStringLiteral("Line Ends")), QStringLiteral("7/1/2000"));
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(QStringLiteral("Normal"), r->mood);
    EXPECT_EQ(QStringLiteral("Swim"), r->regimen);
}

// ---------------------------------------------------------------------------------------------
// Number reading of a field

TEST(ImportNumberOrNull, NullZeroAndNonNumbersGiveNullOthersThePlainNumber)
{
    EXPECT_EQ(QStringLiteral("Null"), clsImport::NumberOrNull(QVariant()));
    EXPECT_EQ(QStringLiteral("Null"), clsImport::NumberOrNull(QString()));
    EXPECT_EQ(QStringLiteral("Null"), clsImport::NumberOrNull(QStringLiteral("          ")));
    EXPECT_EQ(QStringLiteral("Null"), clsImport::NumberOrNull(QStringLiteral(" 0.0 ")));
    EXPECT_EQ(QStringLiteral("Null"), clsImport::NumberOrNull(QStringLiteral("abc")));
    EXPECT_EQ(QStringLiteral("135"), clsImport::NumberOrNull(QStringLiteral(" 135      ")));
    EXPECT_EQ(QStringLiteral("12.5"), clsImport::NumberOrNull(QStringLiteral("12.50kg")));
    EXPECT_EQ(QStringLiteral("-3"), clsImport::NumberOrNull(QStringLiteral("-3")));
    EXPECT_EQ(QStringLiteral("98.6"), clsImport::NumberOrNull(98.6));
    EXPECT_THROW(clsImport::NumberOrNull(QStringLiteral("1E999")), vb::ConversionError);
}
