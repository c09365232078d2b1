// The shared helpers without widgets: key filters, empty-to-Null, Jet literals, days in a
// month, splash status, row counts, stored grid widths, the multiple-plot fold and sugar colours.
#include "data/DataFixture.h"

#include "data/Globals.h"
#include "data/modFunctions.h"
#include "data/modHealth.h"
#include "platform/runtime/Conversions.h"

#include <sqlite3.h>

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <gtest/gtest.h>
#include <map>
#include <vector>

using testing_data::DataFixture;

namespace {

// Counts the beeps of refused keys for as long as it lives.
struct BeepCounter {
    BeepCounter()
    {
        modHealth::setBeepHook([this] { ++beeps; });
    }
    ~BeepCounter() { modHealth::setBeepHook({}); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;
    int beeps = 0;
};

// Sets the user's short-date pattern for one test.
struct ShortDatePattern {
    explicit ShortDatePattern(const QString& pattern) : saved(vb::ShortDatePattern()) { vb::SetShortDatePattern(pattern); }
    ~ShortDatePattern() { vb::SetShortDatePattern(saved); }
    ShortDatePattern(const ShortDatePattern&) = delete;
    ShortDatePattern& operator=(const ShortDatePattern&) = delete;
    QString saved;
};

QDateTime At(int y, int m, int d, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s), Qt::UTC);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Key filters

TEST(KeyFilters, DigitKeyPassesDigitsSlashColonAndBackspaceOnly)
{
    BeepCounter counter;
    for (int key : std::vector<int>{8, '/', '0', '5', '9', ':'})
        EXPECT_EQ(modHealth::FilterDigitKey(key), key) << key;
    EXPECT_EQ(counter.beeps, 0);
    // ".", "-", letters, blank, the clipboard shortcuts (Ctrl+C, Ctrl+V, Ctrl+X) and Enter.
    const std::vector<int> dropped = {'.', '-', 'a', 'Z', ' ', 3, 22, 24, 13, ';', '.' - 1};
    for (int key : dropped)
        EXPECT_EQ(modHealth::FilterDigitKey(key), 0) << key;
    EXPECT_EQ(counter.beeps, int(dropped.size()));
}

TEST(KeyFilters, DecimalKeyAllowsOnePointAndOneDecimalDigit)
{
    BeepCounter counter;
    struct Case {
        const char* text;
        int caret;
        int key;
        bool passes;
    };
    const Case cases[] = {
        {"", 0, '5', true},      {"7", 1, '.', true},    {"7.", 2, '2', true}, // the first decimal digit
        {"7.2", 3, '3', false},                                                // a second one at the end
        {"7.2", 2, '3', false},                                                // or right behind the point
        {"7.2", 0, '3', true},                                                 // in front of the point is fine
        {"7.2", 1, '3', true},   {"12.5", 2, '0', true},                       // caret just before the point
        {"12.5", 3, '0', false}, {"7.2", 3, '.', false},                       // a second point
        {"72", 1, '.', true},    {"7.2", 3, 8, true},                          // Backspace always
        {"", 0, 8, true},        {"7", 1, '-', false},   {"7", 1, 'e', false}, {"7", 1, 22, false}, // Ctrl+V
        {"1.25", 4, '1', true}, // only the last two characters are looked at
    };
    int refused = 0;
    for (const Case& c : cases) {
        const int result = modHealth::FilterDecimalKey(c.key, QString::fromLatin1(c.text), c.caret);
        EXPECT_EQ(result, c.passes ? c.key : 0) << c.text << " caret " << c.caret << " key " << c.key;
        refused += c.passes ? 0 : 1;
    }
    EXPECT_EQ(counter.beeps, refused);
}

TEST(KeyFilters, RefusedKeyWithoutBeepHookIsStillDropped)
{
    EXPECT_EQ(modHealth::FilterDigitKey('x'), 0);
    EXPECT_EQ(modHealth::FilterDecimalKey('x', QString(), 0), 0);
}

// ---------------------------------------------------------------------------------------------
// Empty to Null

TEST(EmptyToNull, EmptyZeroAndNonNumericEntriesBecomeNull)
{
    for (const QVariant& v :
         {QVariant(QString()), QVariant(QStringLiteral("")), QVariant(QStringLiteral("0")), QVariant(QStringLiteral("0.0")),
          QVariant(QStringLiteral("abc")), QVariant(QStringLiteral("   ")), QVariant(0), QVariant(0.0), QVariant()}) {
        EXPECT_EQ(modHealth::SqlValueOrNull(v), QStringLiteral("Null")) << vb::CStr(v).toStdString();
        EXPECT_TRUE(modHealth::ValueOrNull(v).isNull()) << vb::CStr(v).toStdString();
    }
}

TEST(EmptyToNull, EntriesAreTrimmed)
{
    EXPECT_EQ(modHealth::SqlValueOrNull(QStringLiteral("  12.5  ")), QStringLiteral("12.5"));
    EXPECT_EQ(modHealth::ValueOrNull(QStringLiteral("  12.5  ")), QVariant(QStringLiteral("12.5")));
    EXPECT_EQ(modHealth::SqlValueOrNull(QStringLiteral("120")), QStringLiteral("120"));
    EXPECT_EQ(modHealth::SqlValueOrNull(QStringLiteral("-3")), QStringLiteral("-3"));
    EXPECT_EQ(modHealth::SqlValueOrNull(72), QStringLiteral("72"));
    // The field form keeps the text as entered (no conversion to a number).
    EXPECT_EQ(modHealth::ValueOrNull(QStringLiteral(" 07 ")), QVariant(QStringLiteral("07")));
}

TEST(EmptyToNull, SqlFormCarriesOnlyTheLeadingNumber)
{
    // Whatever follows the number never reaches the statement.
    EXPECT_EQ(modHealth::SqlValueOrNull(QStringLiteral("12abc")), QStringLiteral("12"));
    EXPECT_EQ(modHealth::SqlValueOrNull(QStringLiteral("12/3")), QStringLiteral("12"));
    EXPECT_EQ(modHealth::SqlValueOrNull(QStringLiteral("1:2")), QStringLiteral("1"));
    EXPECT_EQ(modHealth::SqlValueOrNull(QStringLiteral("5); delete from person; --")), QStringLiteral("5"));
    EXPECT_EQ(modHealth::SqlValueOrNull(QStringLiteral("98.6")), QStringLiteral("98.6"));
}

// ---------------------------------------------------------------------------------------------
// Jet literals and days in a month

TEST(JetLiterals, DateIsMonthFirstWithoutLeadingZerosInEveryLocale)
{
    for (const char* pattern : {"m/d/yyyy", "dd.mm.yyyy", "yyyy-mm-dd", "dd/mm/yy"}) {
        ShortDatePattern locale(QString::fromLatin1(pattern));
        EXPECT_EQ(modFunctions::SqlDate(QDate(2027, 1, 1)), QStringLiteral("#1/1/2027#")) << pattern;
        EXPECT_EQ(modFunctions::SqlDate(At(2027, 3, 8, 15, 5)), QStringLiteral("#3/8/2027#")) << pattern;
        EXPECT_EQ(modFunctions::SqlDate(At(2026, 12, 31, 23, 59)), QStringLiteral("#12/31/2026#")) << pattern;
    }
}

TEST(JetLiterals, DateTimeTakesTheGivenTimeOrTheValuesOwn)
{
    EXPECT_EQ(modFunctions::SqlDateTime(At(2027, 3, 8, 15, 5, 42)), QStringLiteral("#3/8/2027 3:5 PM#"));
    EXPECT_EQ(modFunctions::SqlDateTime(At(2027, 1, 1)), QStringLiteral("#1/1/2027 12:0 AM#"));
    EXPECT_EQ(modFunctions::SqlDateTime(At(2027, 1, 1, 12, 30)), QStringLiteral("#1/1/2027 12:30 PM#"));
    EXPECT_EQ(modFunctions::SqlDateTime(QDate(2027, 1, 1)), QStringLiteral("#1/1/2027 12:0 AM#"));
    EXPECT_EQ(modFunctions::SqlDateTime(At(2007, 3, 12, 9, 0), QStringLiteral("11:59:59 PM")),
              QStringLiteral("#3/12/2007 11:59:59 PM#"));
    EXPECT_EQ(modFunctions::SqlDateTime(QDate(2027, 3, 8), QStringLiteral("07:05:00 PM")),
              QStringLiteral("#3/8/2027 07:05:00 PM#"));
}

TEST(JetLiterals, TimeTextMustBeATimeOfDay)
{
    const QDate d(2027, 3, 8);
    EXPECT_EQ(modFunctions::SqlDateTime(d, QStringLiteral("7:5 pm")), QStringLiteral("#3/8/2027 7:5 pm#"));
    EXPECT_EQ(modFunctions::SqlDateTime(d, QStringLiteral("19:05")), QStringLiteral("#3/8/2027 19:05#"));
    for (const char* bad : {"07:5#) or (1=1", "13:00 PM", "10:60:00 AM", "7 PM", "abc", "10:00 AM; delete"})
        EXPECT_TRUE(modFunctions::SqlDateTime(d, QString::fromLatin1(bad)).isNull()) << bad;
}

TEST(JetLiterals, TextIsReadInTheUsersDayOrder)
{
    {
        ShortDatePattern locale(QStringLiteral("mm/dd/yy"));
        EXPECT_EQ(modFunctions::SqlDate(QStringLiteral("03/08/2027")), QStringLiteral("#3/8/2027#"));
        EXPECT_EQ(modFunctions::SqlDate(QStringLiteral("3/8/27")), QStringLiteral("#3/8/2027#"));
        EXPECT_EQ(modFunctions::SqlDate(QStringLiteral("3/8/99")), QStringLiteral("#3/8/1999#"));
        // The import's formatted texts carry a time.
        EXPECT_EQ(modFunctions::SqlDateTime(QStringLiteral("03/08/2027 07:05 PM")), QStringLiteral("#3/8/2027 7:5 PM#"));
        EXPECT_EQ(modFunctions::SqlDateTime(QStringLiteral("03/08/2027 12:00 AM")), QStringLiteral("#3/8/2027 12:0 AM#"));
        EXPECT_EQ(modFunctions::SqlDateTime(QStringLiteral("03/08/2027 19:05")), QStringLiteral("#3/8/2027 7:5 PM#"));
    }
    {
        ShortDatePattern locale(QStringLiteral("dd.mm.yyyy"));
        EXPECT_EQ(modFunctions::SqlDate(QStringLiteral("08.03.2027")), QStringLiteral("#3/8/2027#"));
        EXPECT_EQ(modFunctions::SqlDate(QStringLiteral("08/03/2027")), QStringLiteral("#3/8/2027#"));
    }
    // Year first, as the database writes dates, in any locale.
    EXPECT_EQ(modFunctions::SqlDateTime(QStringLiteral("2027-03-08 15:05:00")), QStringLiteral("#3/8/2027 3:5 PM#"));
}

TEST(JetLiterals, ValueThatIsNoDateGivesTheEmptyValue)
{
    ShortDatePattern locale(QStringLiteral("m/d/yyyy"));
    const QVariant notDates[] = {QVariant(QStringLiteral("abc")),
                                 QVariant(QStringLiteral("")),
                                 QVariant(QStringLiteral("13/8/2027")),
                                 QVariant(QStringLiteral("2/30/2027")),
                                 QVariant(QStringLiteral("3/8/2027 13:00 PM")),
                                 QVariant(QStringLiteral("3/8/2027 10:75")),
                                 QVariant(45000),
                                 QVariant(),
                                 QVariant(QDate())};
    for (const QVariant& v : notDates) {
        EXPECT_TRUE(modFunctions::SqlDate(v).isNull()) << vb::CStr(v).toStdString();
        EXPECT_TRUE(modFunctions::SqlDateTime(v).isNull()) << vb::CStr(v).toStdString();
        EXPECT_TRUE(modFunctions::SqlDateTime(v, QStringLiteral("10:00 AM")).isNull());
    }
}

TEST(DaysInMonth, FollowsTheCalendar)
{
    EXPECT_EQ(modFunctions::DaysInMonth(2, 2028), 29);
    EXPECT_EQ(modFunctions::DaysInMonth(2, 2027), 28);
    EXPECT_EQ(modFunctions::DaysInMonth(2, 2000), 29);
    EXPECT_EQ(modFunctions::DaysInMonth(2, 1900), 28);
    EXPECT_EQ(modFunctions::DaysInMonth(12, 2027), 31);
    EXPECT_EQ(modFunctions::DaysInMonth(1, 2027), 31);
    EXPECT_EQ(modFunctions::DaysInMonth(4, 2027), 30);
    EXPECT_EQ(modFunctions::DaysInMonth(11, 2027), 30);
}

TEST(SplashStatus, WritesTheStageTextThroughTheHook)
{
    modFunctions::ShowSplashStatus(0); // no splash: nothing happens
    std::vector<QString> shown;
    modFunctions::setSplashStatusHook([&shown](const QString& text) { shown.push_back(text); });
    modFunctions::ShowSplashStatus(0);
    modFunctions::ShowSplashStatus(1);
    modFunctions::ShowSplashStatus(2);
    modFunctions::ShowSplashStatus(-1);
    modFunctions::setSplashStatusHook({});
    modFunctions::ShowSplashStatus(1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], QStringLiteral("Building Database ..."));
    EXPECT_EQ(shown[1], QStringLiteral("Loading Sample data ..."));
}

// ---------------------------------------------------------------------------------------------
// Row counts

using CountRecordsTest = DataFixture;

TEST_F(CountRecordsTest, CountsRowsAndStaysPositivePastTheSixteenBitRange)
{
    EXPECT_EQ(modHealth::CountRecords(QStringLiteral("Mood")), 6);
    EXPECT_EQ(modHealth::CountRecords(QStringLiteral("REGIMEN")), count(QStringLiteral("select count(*) from REGIMEN")));
    ASSERT_EQ(sqlite3_exec(gDB->handle(), "create table BIG (N integer)", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(modHealth::CountRecords(QStringLiteral("BIG")), 0);
    // 40000 rows do not fit a 16-bit count: the count stays at its largest value.
    ASSERT_EQ(sqlite3_exec(gDB->handle(),
                           "with recursive n(i) as (select 1 union all select i + 1 from n where i < 40000) "
                           "insert into BIG select i from n",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(modHealth::CountRecords(QStringLiteral("BIG")), 32767);
}

// ---------------------------------------------------------------------------------------------
// Grid column widths

namespace {

class FakeGrid : public modHealth::ColumnWidthGrid {
public:
    FakeGrid(QString name, int columns, int width = 1000) : name_(std::move(name)), widths(std::size_t(columns), width) {}
    QString gridName() const override { return name_; }
    int columnCount() const override { return int(widths.size()); }
    int columnWidth(int column) const override { return widths.at(std::size_t(column)); }
    void setColumnWidth(int column, int twips) override
    {
        widths.at(std::size_t(column)) = twips;
        ++sets;
    }

    QString name_;
    std::vector<int> widths;
    int sets = 0;
};

} // namespace

class GridWidthsTest : public DataFixture {
protected:
    // Every stored width, by grid and column, to compare the whole table before and after.
    static std::map<QString, std::vector<QVariant>> table()
    {
        std::map<QString, std::vector<QVariant>> rows;
        auto rs = gDB->OpenRecordset(QStringLiteral("select * from GridColumnPersistance"), dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            std::vector<QVariant>& row = rows[rs->Fields(QStringLiteral("GRID_NM")).Value().toString()];
            for (int i = 1; i <= 30; ++i)
                row.push_back(rs->Fields(QStringLiteral("COL%1").arg(i)).Value());
        }
        return rows;
    }
    static QVariant stored(const QString& grid, int col)
    {
        return value(QStringLiteral("select COL%1 from GridColumnPersistance where GRID_NM = '%2'").arg(col).arg(grid));
    }
};

TEST_F(GridWidthsTest, SavedWidthsLoadBackAndNullKeepsTheDesignedWidth)
{
    ASSERT_EQ(count(QStringLiteral("select count(*) from GridColumnPersistance where GRID_NM = 'vsFGPerson'")), 1);
    FakeGrid fresh(QStringLiteral("vsFGPerson"), 4, 777);
    modHealth::LoadGridColumnWidths(fresh); // a new file stores no width
    EXPECT_EQ(fresh.widths, (std::vector<int>{777, 777, 777, 777}));
    EXPECT_EQ(fresh.sets, 0);

    FakeGrid grid(QStringLiteral("vsFGPerson"), 4);
    grid.widths = {300, 0, 2500, 1200};
    modHealth::SaveGridColumnWidths(grid);
    EXPECT_EQ(stored(QStringLiteral("vsFGPerson"), 1).toInt(), 300);
    EXPECT_EQ(stored(QStringLiteral("vsFGPerson"), 3).toInt(), 2500);
    EXPECT_TRUE(stored(QStringLiteral("vsFGPerson"), 5).isNull()); // beyond the grid: untouched

    gDB->Execute(QStringLiteral("update GridColumnPersistance set COL2 = Null where GRID_NM = 'vsFGPerson'"));
    FakeGrid later(QStringLiteral("vsFGPerson"), 4, 999);
    modHealth::LoadGridColumnWidths(later);
    EXPECT_EQ(later.widths, (std::vector<int>{300, 999, 2500, 1200}));
}

TEST_F(GridWidthsTest, NarrowerGridKeepsTheOtherStoredColumns)
{
    FakeGrid wide(QStringLiteral("vsFGShow"), 16, 800);
    modHealth::SaveGridColumnWidths(wide);
    FakeGrid narrow(QStringLiteral("vsFGShow"), 3, 100);
    modHealth::SaveGridColumnWidths(narrow);
    EXPECT_EQ(stored(QStringLiteral("vsFGShow"), 3).toInt(), 100);
    EXPECT_EQ(stored(QStringLiteral("vsFGShow"), 4).toInt(), 800);
    EXPECT_EQ(stored(QStringLiteral("vsFGShow"), 16).toInt(), 800);
}

TEST_F(GridWidthsTest, GridWithoutARowChangesNothing)
{
    FakeGrid info(QStringLiteral("vsFGInfo"), 3);
    info.widths = {111, 222, 333};
    modHealth::SaveGridColumnWidths(info);
    const auto before = table();

    FakeGrid import(QStringLiteral("vsFGImport"), 15, 640);
    modHealth::LoadGridColumnWidths(import);
    EXPECT_EQ(import.sets, 0);
    import.widths.assign(15, 4321);
    modHealth::SaveGridColumnWidths(import);
    EXPECT_EQ(table(), before);
    EXPECT_EQ(count(QStringLiteral("select count(*) from GridColumnPersistance where GRID_NM = 'vsFGImport'")), 0);

    // A name with a quote is looked up, not spliced into the criteria.
    FakeGrid quoted(QStringLiteral("vsFG'x"), 2);
    EXPECT_NO_THROW(modHealth::LoadGridColumnWidths(quoted));
    EXPECT_NO_THROW(modHealth::SaveGridColumnWidths(quoted));
    EXPECT_EQ(table(), before);
}

TEST_F(GridWidthsTest, WidthsAreClampedToTheColumnRangeAndOnlyThirtyAreStored)
{
    FakeGrid grid(QStringLiteral("vsFGRegimen"), 33, 500);
    grid.widths[0] = 40000;
    grid.widths[1] = -40000;
    grid.widths[31] = 9999;
    EXPECT_NO_THROW(modHealth::SaveGridColumnWidths(grid));
    EXPECT_EQ(stored(QStringLiteral("vsFGRegimen"), 1).toInt(), 32767);
    EXPECT_EQ(stored(QStringLiteral("vsFGRegimen"), 2).toInt(), -32768);
    EXPECT_EQ(stored(QStringLiteral("vsFGRegimen"), 30).toInt(), 500);

    FakeGrid back(QStringLiteral("vsFGRegimen"), 33, 1);
    EXPECT_NO_THROW(modHealth::LoadGridColumnWidths(back));
    EXPECT_EQ(back.widths[0], 32767);
    EXPECT_EQ(back.widths[29], 500);
    EXPECT_EQ(back.widths[30], 1); // the 31st column has no stored width
    EXPECT_EQ(back.widths[32], 1);
}

// ---------------------------------------------------------------------------------------------
// The fold of the multiple-plot rows

class FoldTest : public DataFixture {
protected:
    // A person with plot rows 0 to 6 and its multiple plot under the given key with six series.
    static qint32 personWithMultiplePlotUnder(const QString& name, int plotKey)
    {
        gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('%1')").arg(name), dao::dbFailOnError);
        const qint32 key = value(QStringLiteral("select max(PRSN_KY) from PERSON")).toInt();
        for (int plot = 0; plot <= 6; ++plot)
            gDB->Execute(
                QStringLiteral("insert into PERSON_PLOT (PRSN_KY, PLT_KY, PLT_ACT) values (%1, %2, 0)").arg(key).arg(plot),
                dao::dbFailOnError);
        gDB->Execute(QStringLiteral("insert into MULTIPLE_PERSON_PLOT (PRSN_KY, PLT_KY) values (%1, %2)").arg(key).arg(plotKey),
                     dao::dbFailOnError);
        for (int chart = 0; chart <= 5; ++chart)
            gDB->Execute(
                QStringLiteral("insert into CHART_MULTIPLE_PERSON_PLOT (PRSN_KY, PLT_KY, CHRT_ID, CHRT_TP, CHRT_ACT, LBL_POS) "
                               "values (%1, %2, %3, 0, -1, 1)")
                    .arg(key)
                    .arg(plotKey)
                    .arg(chart),
                dao::dbFailOnError);
        return key;
    }
};

TEST_F(FoldTest, SeriesRowsMoveToPlotKeySixAndOldParentsGo)
{
    const qint32 a = personWithMultiplePlotUnder(QStringLiteral("Fold A"), 5);
    const qint32 b = personWithMultiplePlotUnder(QStringLiteral("Fold B"), 3);
    const int series = count(QStringLiteral("select count(*) from CHART_MULTIPLE_PERSON_PLOT"));

    modHealth::FixMultiplePersonPlot();

    EXPECT_EQ(count(QStringLiteral("select count(*) from CHART_MULTIPLE_PERSON_PLOT where PLT_KY <> 6")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from CHART_MULTIPLE_PERSON_PLOT")), series);
    EXPECT_EQ(count(QStringLiteral("select count(*) from MULTIPLE_PERSON_PLOT where PLT_KY <> 6")), 0);
    for (qint32 person : {a, b}) {
        EXPECT_EQ(
            count(QStringLiteral("select count(*) from MULTIPLE_PERSON_PLOT where PLT_KY = 6 and PRSN_KY = %1").arg(person)), 1);
        EXPECT_EQ(
            count(
                QStringLiteral("select count(*) from CHART_MULTIPLE_PERSON_PLOT where PLT_KY = 6 and PRSN_KY = %1").arg(person)),
            6);
    }
}

TEST_F(FoldTest, FoldedDataAreLeftAlone)
{
    const qint32 a = personWithMultiplePlotUnder(QStringLiteral("Fold C"), 6);
    // A parent row under another key without series is not the fold's business.
    gDB->Execute(QStringLiteral("insert into MULTIPLE_PERSON_PLOT (PRSN_KY, PLT_KY) values (%1, 2)").arg(a), dao::dbFailOnError);
    const int parents = count(QStringLiteral("select count(*) from MULTIPLE_PERSON_PLOT"));
    const int series = count(QStringLiteral("select count(*) from CHART_MULTIPLE_PERSON_PLOT"));
    modHealth::FixMultiplePersonPlot();
    modHealth::FixMultiplePersonPlot();
    EXPECT_EQ(count(QStringLiteral("select count(*) from MULTIPLE_PERSON_PLOT")), parents);
    EXPECT_EQ(count(QStringLiteral("select count(*) from MULTIPLE_PERSON_PLOT where PLT_KY = 2")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from CHART_MULTIPLE_PERSON_PLOT")), series);
}

// ---------------------------------------------------------------------------------------------
// Sugar goal colours

class SugarColorTest : public DataFixture {
protected:
    static void addGoal(const QString& name, const char* nl, const char* nh, const char* dl, const char* dh)
    {
        gDB->Execute(
            QStringLiteral(
                "insert into DBTS_GOAL (GL_NM, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH) values ('%1', 'test', '%2', '%3', '%4', '%5')")
                .arg(vb::SqlQuote(name), QLatin1String(nl), QLatin1String(nh), QLatin1String(dl), QLatin1String(dh)),
            dao::dbFailOnError);
    }
};

TEST_F(SugarColorTest, BandsAndTheirEdges)
{
    addGoal(QStringLiteral("Mom's fasting"), "80", "120", "60", "240");
    const QString goal = QStringLiteral("Mom's fasting");
    using namespace modFunctions;
    EXPECT_EQ(GetSugarGoalColor(100, goal), SugarNormalColor);
    EXPECT_EQ(GetSugarGoalColor(80, goal), SugarNormalColor);
    EXPECT_EQ(GetSugarGoalColor(120, goal), SugarNormalColor);
    EXPECT_EQ(GetSugarGoalColor(70, goal), SugarWarningColor);
    EXPECT_EQ(GetSugarGoalColor(200, goal), SugarWarningColor);
    EXPECT_EQ(GetSugarGoalColor(60, goal), SugarWarningColor);
    EXPECT_EQ(GetSugarGoalColor(240, goal), SugarWarningColor);
    EXPECT_EQ(GetSugarGoalColor(79.9f, goal), SugarWarningColor);
    EXPECT_EQ(GetSugarGoalColor(120.1f, goal), SugarWarningColor);
    EXPECT_EQ(GetSugarGoalColor(59, goal), SugarDangerColor);
    EXPECT_EQ(GetSugarGoalColor(241, goal), SugarDangerColor);
    EXPECT_EQ(GetSugarGoalColor(0, goal), SugarDangerColor);
    // The name is matched without regard to letter case.
    EXPECT_EQ(GetSugarGoalColor(100, QStringLiteral("MOM'S FASTING")), SugarNormalColor);
}

TEST_F(SugarColorTest, WithoutAGoalTheReadingIsCyan)
{
    EXPECT_EQ(modFunctions::GetSugarGoalColor(100, QString()), 0xFFFF00);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(100, QStringLiteral("No such goal")), 0xFFFF00);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(100, QStringLiteral("x' or '1'='1")), 0xFFFF00);
}

TEST_F(SugarColorTest, OneReaderForManyReadingsKeepsEachNameApart)
{
    addGoal(QStringLiteral("Fasting"), "80", "120", "60", "240");
    addGoal(QStringLiteral("Été"), "90", "130", "70", "250");
    using namespace modFunctions;
    modFunctions::SugarGoalColors colors;
    const struct {
        float reading;
        const char16_t* goal;
        qint32 color;
    } cases[] = {
        {100, u"Fasting", SugarNormalColor},
        {65, u"fasting", SugarWarningColor},
        {59, u"FASTING", SugarDangerColor},
        {125, u"Été", SugarNormalColor},
        {135, u"Été", SugarWarningColor},
        {100, u"Fasting", SugarNormalColor},
        // Every letter matches without case, as the database compares names.
        {125, u"été", SugarNormalColor},
        {125, u"ETE", SugarNoGoalColor},
        {100, u"", SugarNoGoalColor},
        {100, u"none", SugarNoGoalColor},
    };
    for (const auto& c : cases) {
        const QString goal = QString::fromUtf16(c.goal);
        EXPECT_EQ(colors.ColorOf(c.reading, goal), c.color) << goal.toStdString() << " " << c.reading;
    }
}

TEST_F(SugarColorTest, LimitsAreReadAsNumbersInSinglePrecision)
{
    // mmol/l limits with one decimal: 5.6 as text and 5.6 as a single reading are the same.
    addGoal(QStringLiteral("mmol"), "4.4", "5.6", "3.9", "13.9");
    EXPECT_EQ(modFunctions::GetSugarGoalColor(5.6f, QStringLiteral("mmol")), modFunctions::SugarNormalColor);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(4.4f, QStringLiteral("mmol")), modFunctions::SugarNormalColor);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(13.9f, QStringLiteral("mmol")), modFunctions::SugarWarningColor);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(3.9f, QStringLiteral("mmol")), modFunctions::SugarWarningColor);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(3.8f, QStringLiteral("mmol")), modFunctions::SugarDangerColor);
    // Blanks and trailing text around a limit: the leading number counts.
    addGoal(QStringLiteral("loose"), " 80 ", "120 mg", "6 0", "240x");
    EXPECT_EQ(modFunctions::GetSugarGoalColor(100, QStringLiteral("loose")), modFunctions::SugarNormalColor);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(59, QStringLiteral("loose")), modFunctions::SugarDangerColor);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(240, QStringLiteral("loose")), modFunctions::SugarWarningColor);
}

TEST_F(SugarColorTest, LimitsOutOfOrderTakeTheFirstTestThatHolds)
{
    // Normal limits swapped: nothing is normal, the warning tests decide.
    addGoal(QStringLiteral("swapped"), "120", "80", "60", "240");
    EXPECT_EQ(modFunctions::GetSugarGoalColor(100, QStringLiteral("swapped")), modFunctions::SugarWarningColor);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(50, QStringLiteral("swapped")), modFunctions::SugarDangerColor);
    // Danger limits inside the normal range: the normal test comes first.
    addGoal(QStringLiteral("inside"), "80", "180", "100", "140");
    EXPECT_EQ(modFunctions::GetSugarGoalColor(90, QStringLiteral("inside")), modFunctions::SugarNormalColor);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(170, QStringLiteral("inside")), modFunctions::SugarNormalColor);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(190, QStringLiteral("inside")), modFunctions::SugarDangerColor);
    // Empty limits read as 0.
    gDB->Execute(QStringLiteral("insert into DBTS_GOAL (GL_NM) values ('blank')"), dao::dbFailOnError);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(0, QStringLiteral("blank")), modFunctions::SugarNormalColor);
    EXPECT_EQ(modFunctions::GetSugarGoalColor(5, QStringLiteral("blank")), modFunctions::SugarDangerColor);
}
