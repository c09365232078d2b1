// The import file's reading and row rules, without a window: lines, fields, encodings, numbers,
// dates, names, the values a row writes and the filters.
#include "reports/MeasurementImportFile.h"

#include <QBuffer>
#include <QStringEncoder>
#include <gtest/gtest.h>

#include <map>

namespace {

using namespace MeasurementImportFile;

// The lines of a file's bytes, as the load reads them.
QStringList linesOf(const QByteArray& bytes)
{
    QBuffer file;
    file.setData(bytes);
    QStringList lines;
    const auto shape = file.open(QIODevice::ReadOnly) ? ScanFile(file) : std::nullopt;
    if (shape)
        ReadLines(file, *shape, [&lines](const QString& line) { lines << line; });
    return lines;
}

TEST(ImportFileText, LinesEndWithCrLfOrLfAndBlankLinesCount)
{
    struct Case {
        QString text;
        QStringList lines;
    } cases[] = {
        {QString(), {}},
        {QStringLiteral("a"), {QStringLiteral("a")}},
        {QStringLiteral("a\r\nb\r\n"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\nb"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\r\n\r\nc"), {QStringLiteral("a"), QString(), QStringLiteral("c")}},
        {QStringLiteral("\n"), {QString()}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(linesOf(c.text.toUtf8()), c.lines) << c.text.toStdString();
}

TEST(ImportFileText, Utf8WhenValidOtherwiseWindows1252AndTheMarkIsDropped)
{
    EXPECT_EQ(linesOf(QByteArray("\xEF\xBB\xBF"
                                 "caf\xC3\xA9")),
              QStringList{QStringLiteral("caf\u00E9")});
    EXPECT_EQ(linesOf(QByteArray("caf\xE9 \x80 \x96")), QStringList{QStringLiteral("caf\u00E9 \u20AC \u2013")});
    EXPECT_EQ(linesOf(QByteArray("plain")), QStringList{QStringLiteral("plain")});
}

// A text as UTF-16 bytes, its mark first; a lone surrogate is written as it is.
QByteArray utf16(const QString& text, QStringEncoder::Encoding order = QStringEncoder::Utf16LE)
{
    return QStringEncoder(order, QStringEncoder::Flag::WriteBom)(text);
}

TEST(ImportFileText, EveryEncodingReadAcrossEveryChunkBoundary)
{
    const QString text = QStringLiteral("a,caf\u00E9\r\n\U0001F600z\n\rc\r\nd");
    const QStringList lines{QStringLiteral("a,caf\u00E9"), QStringLiteral("\U0001F600z"), QString(), QStringLiteral("c"),
                            QStringLiteral("d")};
    struct Case {
        const char* name;
        QByteArray bytes;
        Encoding encoding;
        QStringList lines;
        const char* fault; // empty: read whole
    } cases[] = {
        {"UTF-16 little-endian", utf16(text), Encoding::Utf16LE, lines, ""},
        {"UTF-16 big-endian", utf16(text, QStringEncoder::Utf16BE), Encoding::Utf16BE, lines, ""},
        {"UTF-16 mark alone", "\xFF\xFE", Encoding::Utf16LE, {}, ""},
        {"UTF-16 odd byte count", utf16(text) + 'x', Encoding::Utf16LE, {}, "ends in the middle of a character"},
        {"UTF-16 lone surrogate",
         utf16(QStringLiteral("a\nb") + QChar(0xD83D) + QStringLiteral("\nc")),
         Encoding::Utf16LE,
         {},
         "line 2 holds a broken character"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + text.toUtf8(), Encoding::Utf8, lines, ""},
        {"UTF-8 mark alone", "\xEF\xBB\xBF", Encoding::Utf8, {}, ""},
        {"windows-1252", "caf\xE9\r\n\x80", Encoding::Windows1252, {QStringLiteral("caf\u00E9"), QStringLiteral("\u20AC")}, ""},
    };
    for (const Case& c : cases) {
        for (const qint64 chunk : {qint64(1), qint64(2), qint64(3), qint64(5), kReadChunk}) {
            SCOPED_TRACE(std::string(c.name) + ", chunks of " + std::to_string(chunk));
            QBuffer file;
            file.setData(c.bytes);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const auto shape = ScanFile(file, {}, chunk);
            ASSERT_TRUE(shape);
            EXPECT_EQ(shape->encoding, c.encoding);
            if (*c.fault) {
                EXPECT_TRUE(shape->fault.contains(QLatin1String(c.fault)) && shape->fault.endsWith(EncodingsRead()))
                    << shape->fault.toStdString();
                continue;
            }
            EXPECT_EQ(shape->fault.toStdString(), "");
            EXPECT_EQ(shape->lines, c.lines.size());
            QStringList read;
            EXPECT_TRUE(ReadLines(
                file, *shape, [&read](const QString& line) { read << line; }, chunk));
            EXPECT_EQ(read, c.lines);
        }
    }
}

TEST(ImportFileText, FieldsAreTrimmedAndTheTwelfthTakesTheRestOfTheLine)
{
    struct Case {
        QString line;
        QStringList fields;
    } cases[] = {
        {QString(), {QString()}},
        {QStringLiteral("1/5/2031 8:00 AM, 120 ,80"),
         {QStringLiteral("1/5/2031 8:00 AM"), QStringLiteral("120"), QStringLiteral("80")}},
        {QStringLiteral("d,1,2,3,4,5,6,7,g,r,m,a comment, with, commas , "),
         {QStringLiteral("d"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
          QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("g"), QStringLiteral("r"),
          QStringLiteral("m"), QStringLiteral("a comment, with, commas ,")}},
        {QStringLiteral("\"quoted, text\""), {QStringLiteral("\"quoted"), QStringLiteral("text\"")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitFields(c.line), c.fields) << c.line.toStdString();
}

TEST(ImportRules, MeasurementsAreStrictNumbersTheColumnCanHold)
{
    struct Case {
        int col;
        const char* text;
        NumberVerdict verdict;
    } cases[] = {
        {colHighBP, "", NumberVerdict::Empty},
        {colHighBP, "  ", NumberVerdict::Empty},
        {colHighBP, "120", NumberVerdict::Number},
        {colHighBP, "120.0", NumberVerdict::Number},
        {colHighBP, "abc", NumberVerdict::NotNumber},
        {colWeight, "1,200", NumberVerdict::NotNumber},
        {colWeight, "1e5", NumberVerdict::NotNumber},
        {colWeight, "$5", NumberVerdict::NotNumber},
        {colWeight, "72.5", NumberVerdict::Number},
        {colWeight, ".5", NumberVerdict::Number},
        {colPulse, "72.5", NumberVerdict::OutOfRange},
        {colLowBP, "32768", NumberVerdict::OutOfRange},
        {colLowBP, "32767", NumberVerdict::Number},
        {colSugar, "1000000000000000000000000000000000000000000", NumberVerdict::OutOfRange},
        // A single column keeps the value as a single: the largest single is beyond its rule.
        {colWeight, "340282346638528859811704183484516925440", NumberVerdict::OutOfRange},
        {colWeight, "340282346600000000000000000000000000000", NumberVerdict::OutOfRange},
        {colWeight, "340282326356119256160033759537265639424", NumberVerdict::Number},
        {colLowBP, "-32768", NumberVerdict::Number},
        {colLowBP, "-32769", NumberVerdict::OutOfRange},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckMeasurement(c.col, QString::fromUtf8(c.text)), c.verdict) << c.col << " " << c.text;
}

TEST(ImportRules, DateTextsReadAndRefused)
{
    struct Case {
        const char* text;
        QDateTime read; // invalid: refused
    };
    auto at = [](int y, int mo, int d, int h = 0, int mi = 0) { return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC); };
    const Case cases[] = {
        // The numeric forms, as before.
        {"6/29/2007 7:00 AM", at(2007, 6, 29, 7)},
        {"6/29/07 19:05", at(2007, 6, 29, 19, 5)},
        {"2007-06-29", at(2007, 6, 29)},
        // A month by name, either side of the day, with or without a time.
        {"28-Jun-2007 7:00 AM", at(2007, 6, 28, 7)},
        {"28 June 2007", at(2007, 6, 28)},
        {"28/jun/07 7:30PM", at(2007, 6, 28, 19, 30)},
        {"Jun 28, 2007", at(2007, 6, 28)},
        {"June 28 2007 20:00", at(2007, 6, 28, 20)},
        {"SEP 3, 2007 12 AM", at(2007, 9, 3, 0)},
        {"May 1 2030", at(2030, 5, 1)},
        // An hour without minutes, with AM or PM.
        {"6/29/2007 8 AM", at(2007, 6, 29, 8)},
        {"6/29/2007 8AM", at(2007, 6, 29, 8)},
        {"Jun 28, 2007 12 pm", at(2007, 6, 28, 12)},
        // Refused: no year, an unknown or misplaced month, impossible days and hours, a bare
        // number where the time goes, two months.
        {"Jun 28", {}},
        {"28-Jun", {}},
        {"Jum 28, 2007", {}},
        {"Sept 3, 2007", {}},
        {"Jun 31, 2007", {}},
        {"Feb 29, 2007", {}},
        {"2007 Jun 28", {}},
        {"Jun 28, 2007 8", {}},
        {"6/29/2007 8", {}},
        {"6/29/2007 13 PM", {}},
        {"6/29/2007 8 XM", {}},
        {"6/29/2007 24:00", {}},
        {"Jun Jul 2007", {}},
        {"Date-Time", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        const auto read = DateOfText(QString::fromLatin1(c.text));
        EXPECT_EQ(read.value_or(QDateTime()), c.read) << c.text;
    }
}

TEST(ImportRules, EachCellRuleAndItsMessage)
{
    const std::map<std::pair<int, QString>, qint32> known{{{colRegimen, QStringLiteral("Walk 'n' run")}, 7},
                                                          {{colMood, QStringLiteral("Happy")}, 3},
                                                          {{colGoal, QStringLiteral("Fasting")}, 2}};
    const NameLookup lookup = [&known](int col, const QString& name) -> std::optional<qint32> {
        const auto it = known.find({col, name});
        return it == known.end() ? std::nullopt : std::optional<qint32>(it->second);
    };
    struct Case {
        int col;
        QString text;
        bool failed;
        QString message;
        std::optional<qint32> key;
    } cases[] = {
        {colDate, QStringLiteral("Date-Time"), true, DateMessage(), {}},
        {colDate, QString(), true, DateMessage(), {}},
        {colDate, QStringLiteral("2/30/2027"), true, DateMessage(), {}},
        {colDate, QStringLiteral("13/1/2027"), true, DateMessage(), {}},
        {colDate, QStringLiteral("1/1/10000"), true, DateMessage(), {}},
        {colDate, QStringLiteral("1/1/0050"), true, StorableDateMessage(), {}},
        {colDate, QStringLiteral("12/27/9999"), true, StorableDateMessage(), {}},
        {colDate, QStringLiteral("1/5/2031 7:30 PM"), false, {}, {}},
        {colPulse, QStringLiteral("fast"), true, MeasurementMessage(), {}},
        {colPulse, QStringLiteral("70000"), true, RangeMessage(), {}},
        {colWeight, QStringLiteral(""), false, {}, {}},
        {colRegimen, QStringLiteral("Walk 'n' run"), false, {}, 7},
        {colRegimen, QStringLiteral("Unknown plan"), true, RegimenMessage(), {}},
        {colMood, QStringLiteral("Happy"), false, {}, 3},
        {colMood, QStringLiteral("<b>;"), true, MoodMessage(), {}},
        {colGoal, QStringLiteral("Fasting"), false, {}, 2},
        {colGoal, QStringLiteral("Nowhere"), false, GoalMessage(), {}},
        {colGoal, QString(), false, {}, {}},
        {colComment, QString(100, u'x'), false, {}, {}},
        {colComment, QString(101, u'x'), true, CommentMessage(), {}},
        {colStatus, QStringLiteral("anything"), false, {}, {}},
    };
    for (const Case& c : cases) {
        const CellVerdict v = CheckCell(c.col, c.text, lookup);
        EXPECT_EQ(v.failed, c.failed) << c.col << " " << c.text.toStdString();
        EXPECT_EQ(v.message, c.message) << c.col << " " << c.text.toStdString();
        EXPECT_EQ(v.key, c.key) << c.col << " " << c.text.toStdString();
        // Only an unknown goal is a note: yellow, the row still written.
        EXPECT_EQ(v.noted, c.col == colGoal && !c.message.isEmpty()) << c.text.toStdString();
    }
    EXPECT_EQ(StorableDateMessage(), QStringLiteral("* The date of the selected row cannot be kept: the dates kept run from "
                                                    "1/1/0100 to 12/26/9999.\r\n"));
    EXPECT_TRUE(MeasurementMessage().endsWith(QStringLiteral("format.\r\n\r\n")));
}

QStringList row(std::initializer_list<std::pair<int, const char*>> cells)
{
    QStringList out;
    for (int i = 0; i < colCount; ++i)
        out << QString();
    for (const auto& [col, text] : cells)
        out[col] = QString::fromUtf8(text);
    return out;
}

TEST(ImportRules, RowsWithoutMeasurements)
{
    EXPECT_TRUE(HasNoMeasurements(row({{colDate, "1/5/2031"}, {colComment, "only a comment"}})));
    EXPECT_TRUE(HasNoMeasurements(row({{colDate, "1/5/2031"}, {colGoal, "Fasting"}})));
    EXPECT_FALSE(HasNoMeasurements(row({{colDate, "1/5/2031"}, {colGoal, "100"}})));
    EXPECT_FALSE(HasNoMeasurements(row({{colDate, "1/5/2031"}, {colCustom2, "3.5"}})));
}

TEST(ImportRules, ValuesARowWrites)
{
    struct Case {
        QStringList cells;
        std::optional<int> high, low, pulse;
    } cases[] = {
        {row({{colDate, "1/5/2031 8:00 AM"}, {colHighBP, "80"}, {colLowBP, "120"}}), 120, 80, {}},
        {row({{colDate, "1/5/2031 8:00 AM"}, {colHighBP, "120"}, {colLowBP, "120"}}), 120, 120, {}},
        {row({{colDate, "1/5/2031 8:00 AM"}, {colLowBP, "85"}}), {}, 85, {}},
        {row({{colDate, "1/5/2031 8:00 AM"}, {colHighBP, "0"}, {colLowBP, "85"}, {colPulse, "0"}}), {}, 85, {}},
        {row({{colDate, "1/5/2031 8:00 AM"}, {colHighBP, "130"}, {colPulse, "64"}}), 130, {}, 64},
    };
    for (const Case& c : cases) {
        const auto v = ValuesOfRow(c.cells);
        ASSERT_TRUE(v);
        EXPECT_EQ(v->highPressure, c.high) << c.cells.join(u'|').toStdString();
        EXPECT_EQ(v->lowPressure, c.low) << c.cells.join(u'|').toStdString();
        EXPECT_EQ(v->pulse, c.pulse) << c.cells.join(u'|').toStdString();
    }
    const auto v = ValuesOfRow(row({{colDate, "1/5/2031 7:30:45 PM"},
                                    {colWeight, "72.5"},
                                    {colSugar, "0"},
                                    {colGoalKey, "2"},
                                    {colMoodKey, "3"},
                                    {colComment, " it's fine "}}));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->measured, QDateTime(QDate(2031, 1, 5), QTime(19, 30), Qt::UTC));
    EXPECT_EQ(v->weight, 72.5);
    EXPECT_FALSE(v->sugar);
    EXPECT_FALSE(v->goalKey) << "a goal is kept only with a sugar reading";
    EXPECT_EQ(v->moodKey, 3);
    EXPECT_EQ(v->comment, QStringLiteral("it's fine"));
    EXPECT_EQ(ValuesOfRow(row({{colDate, "1/5/2031"}, {colSugar, "5.5"}, {colGoalKey, "2"}}))->goalKey, 2);
    EXPECT_FALSE(ValuesOfRow(row({{colDate, "Date-Time"}, {colPulse, "60"}})));
    EXPECT_FALSE(ValuesOfRow(row({{colDate, "12/31/9999"}, {colPulse, "60"}})));
    EXPECT_FALSE(ValuesOfRow(row({{colDate, "1/1/0099"}, {colPulse, "60"}})));
}

TEST(ImportRules, FiltersByVerdictColour)
{
    const vb::OLE_COLOR none = 0;
    struct Case {
        Filter filter;
        vb::OLE_COLOR status, date;
        bool hidden;
    } cases[] = {
        {Filter::None, RejectedColor, RejectedColor, false},
        {Filter::Passed, RejectedColor, none, true},
        {Filter::Passed, none, none, false},
        {Filter::Failed, none, none, true},
        {Filter::Failed, RejectedColor, none, false},
        {Filter::FailedDate, RejectedColor, none, true},
        {Filter::FailedDate, RejectedColor, RejectedColor, false},
        {Filter::LoadedNew, InsertedColor, none, false},
        {Filter::LoadedNew, UpdatedColor, none, true},
        {Filter::LoadedUpdated, UpdatedColor, none, false},
        {Filter::LoadedUpdated, InsertedColor, none, true},
        {Filter::NotLoaded, RejectedColor, none, true},
        {Filter::NotLoaded, RejectedColor, RejectedColor, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HiddenByFilter(c.filter, c.status, c.date), c.hidden) << int(c.filter) << " " << c.status << " " << c.date;
}

TEST(ImportFileText, TemplateLineByteForByte)
{
    EXPECT_EQ(
        TemplateLine(),
        QByteArray(
            "Date-Time,High BP, Low BP, Pulse, Weight, Custom1, Customer 2, Sugar, Sugar Goal, Regimen, Mood, Comments \r\n"));
}

} // namespace
