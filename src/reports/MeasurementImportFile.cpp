#include "reports/MeasurementImportFile.h"

#include "data/modFunctions.h"
#include "platform/dao/ValueRanges.h"
#include "platform/runtime/StorableDates.h"
#include "platform/runtime/TextLength.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <limits>

namespace MeasurementImportFile {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Unicode code points of windows-1252's bytes 0x80 to 0x9F; the five unassigned bytes keep
// their own value, as the code page's best-fit reading does.
constexpr char16_t kHighBytes[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                     0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                     0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += b >= 0x80 && b < 0xA0 ? QChar(kHighBytes[b - 0x80]) : QChar(b);
    }
    return text;
}

// A plain decimal number: an optional sign, digits with at most one ".", nothing else.
bool isPlainNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+(\.\d*)?|\.\d+)$)"));
    return number.match(text).hasMatch();
}

std::optional<int> wholeOrNull(const std::optional<double>& v)
{
    if (!v || *v == 0)
        return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<double> numberOrNull(const std::optional<double>& v)
{
    if (!v || *v == 0)
        return std::nullopt;
    return v;
}

std::optional<qint32> keyOf(const QString& text)
{
    bool ok = false;
    const qint32 key = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return key;
}

// The month a name gives: its full English name or its first three letters, any letter case.
int monthOfName(QStringView name)
{
    static const char* const names[] = {"january", "february", "march",     "april",   "may",      "june",
                                        "july",    "august",   "september", "october", "november", "december"};
    for (int i = 0; i < 12; ++i) {
        const QLatin1StringView full(names[i]);
        if (name.compare(full, Qt::CaseInsensitive) == 0 || name.compare(full.left(3), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

// Two-digit years fall into 1930-2029, as in the numeric forms.
int yearOf(QStringView digits)
{
    const int year = digits.toInt();
    if (digits.size() > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

// The forms the numeric reading leaves to this one: a month by name, before or after the day
// ("28-Jun-2007", "Jun 28, 2007", "June 28 2007"), and an hour without minutes ("8 AM", "8AM").
// A named month leaves no doubt which number is the day; the year comes last and a bare number
// after it is no time of day.
std::optional<QDateTime> otherDateForm(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(.+?)(?:(?:\s+|(?<=\d)T)(?:(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*([AaPp][Mm]?)?|(\d{1,2})\s*([AaPp][Mm])))?$)"));
    static const QRegularExpression dayFirst(
        QStringLiteral(R"(^(\d{1,2})(?:\s*[-/.]\s*|\s+)([A-Za-z]{3,9})\.?(?:\s*[-/.,]\s*|\s+)(\d{1,4})$)"));
    static const QRegularExpression monthFirst(
        QStringLiteral(R"(^([A-Za-z]{3,9})\.?(?:\s*[-/.]\s*|\s+)(\d{1,2})(?:\s*[-/.,]\s*|\s+)(\d{1,4})$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString datePart = m.captured(1);
    QDate date;
    const bool oneWord = !datePart.contains(u' ') && !datePart.contains(u'\t');
    if (const auto numeric = oneWord ? modFunctions::DateOf(datePart) : std::nullopt; numeric) {
        date = numeric->date();
    } else if (const auto d = dayFirst.match(datePart); d.hasMatch()) {
        const int month = monthOfName(d.capturedView(2));
        if (month > 0)
            date = QDate(yearOf(d.capturedView(3)), month, d.capturedView(1).toInt());
    } else if (const auto d = monthFirst.match(datePart); d.hasMatch()) {
        const int month = monthOfName(d.capturedView(1));
        if (month > 0)
            date = QDate(yearOf(d.capturedView(3)), month, d.capturedView(2).toInt());
    }
    if (!date.isValid())
        return std::nullopt;
    const bool hourOnly = m.capturedStart(6) >= 0;
    int hour = (hourOnly ? m.capturedView(6) : m.capturedView(2)).toInt();
    const int minute = m.capturedView(3).toInt();
    const int second = m.capturedView(4).toInt();
    const QStringView half = hourOnly ? m.capturedView(7) : m.capturedView(5);
    if (!half.isEmpty()) {
        if (hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half.startsWith(u'p', Qt::CaseInsensitive) ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return QDateTime(date, QTime(hour, minute, second), Qt::UTC);
}

// Cuts a stream of bytes (View QByteArrayView) or of UTF-16 text (QStringView) into lines at
// CR LF, LF or CR, across the chunks it is fed.
template <typename View, typename Buffer>
class LineSplitter {
public:
    template <typename OnLine>
    void feed(View chunk, OnLine&& onLine)
    {
        qsizetype from = 0;
        if (afterCr_ && !chunk.isEmpty() && chunk[0] == u'\n')
            from = 1;
        if (!chunk.isEmpty())
            afterCr_ = false;
        for (qsizetype i = from; i < chunk.size(); ++i) {
            const auto c = chunk[i];
            if (c != u'\r' && c != u'\n')
                continue;
            if (pending_.isEmpty()) {
                onLine(chunk.sliced(from, i - from));
            } else {
                pending_.append(chunk.sliced(from, i - from));
                onLine(View(pending_));
                pending_ = Buffer();
            }
            if (c == u'\r') {
                if (i + 1 == chunk.size())
                    afterCr_ = true; // an LF opening the next chunk ends the same line
                else if (chunk[i + 1] == u'\n')
                    ++i;
            }
            from = i + 1;
        }
        pending_.append(chunk.sliced(from));
    }

    // The last line, which needs no terminator.
    template <typename OnLine>
    void finish(OnLine&& onLine)
    {
        if (!pending_.isEmpty())
            onLine(View(pending_));
        pending_ = Buffer();
    }

private:
    Buffer pending_; // the start of a line that goes on in the next chunk
    bool afterCr_ = false;
};

bool isUtf16(Encoding encoding) { return encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE; }

// The byte-order mark a file begins with: the encoding it names and its length in bytes.
struct Mark {
    std::optional<Encoding> encoding;
    qint64 size = 0;
};

Mark markOf(QByteArrayView start)
{
    if (start.startsWith("\xEF\xBB\xBF"))
        return {Encoding::Utf8, 3};
    if (start.startsWith("\xFF\xFE"))
        return {Encoding::Utf16LE, 2};
    if (start.startsWith("\xFE\xFF"))
        return {Encoding::Utf16BE, 2};
    return {};
}

// Reads the whole file from its start, after its mark, in chunks: the lines of a UTF-16 file go
// to onText decoded, those of any other file to onBytes as they are; onChunk follows each chunk.
// The mark found and the bytes after it are returned through mark and bodyBytes. False when
// reading fails.
template <typename OnBytes, typename OnText, typename OnChunk>
bool splitFile(QIODevice& file, qint64 chunkBytes, Mark& mark, qint64& bodyBytes, OnBytes&& onBytes, OnText&& onText,
               OnChunk&& onChunk)
{
    if (!file.isSequential() && !file.seek(0))
        return false;
    // Peeked, not taken from the first chunk: a mark may be longer than a chunk.
    mark = markOf(file.peek(3));
    if (mark.size > 0 && file.skip(mark.size) != mark.size)
        return false;
    const qint64 chunk = std::max<qint64>(1, chunkBytes);
    QByteArray buffer(chunk, Qt::Uninitialized);
    LineSplitter<QByteArrayView, QByteArray> bytes;
    LineSplitter<QStringView, QString> text;
    // The decoder keeps the half of a code unit that ends a chunk for the next one; a surrogate
    // pair cut by a chunk is joined again in the line it belongs to.
    std::optional<QStringDecoder> decoder;
    if (mark.encoding && isUtf16(*mark.encoding))
        decoder.emplace(*mark.encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                        QStringConverter::Flag::ConvertInitialBom);
    bodyBytes = 0;
    while (true) {
        const qint64 got = file.read(buffer.data(), chunk);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        bodyBytes += got;
        const QByteArrayView view(buffer.constData(), got);
        if (decoder) {
            const QString decoded = decoder->decode(view);
            text.feed(QStringView(decoded), onText);
        } else {
            bytes.feed(view, onBytes);
        }
        onChunk();
    }
    bytes.finish(onBytes);
    text.finish(onText);
    return true;
}

} // namespace

QByteArray TemplateLine()
{
    return QByteArrayLiteral(
        "Date-Time,High BP, Low BP, Pulse, Weight, Custom1, Customer 2, Sugar, Sugar Goal, Regimen, Mood, Comments \r\n");
}

QString DateMessage()
{
    return QStringLiteral("* The date-time field column of the selected row is empty OR is not in date format.") + kCrLf;
}

QString MeasurementMessage()
{
    return QStringLiteral("* The measurement field(s) highlighted in RED for the selected row is not in numerical format.") +
           kCrLf + kCrLf;
}

QString RangeMessage()
{
    return QStringLiteral("* The measurement field(s) highlighted in RED for the selected row is too large, or has a fraction "
                          "where only whole numbers are kept (blood pressure and pulse).") +
           kCrLf;
}

QString RegimenMessage() { return QStringLiteral("* The regimen field does not exist in the database.") + kCrLf; }
QString MoodMessage() { return QStringLiteral("* The mood field does not exist in the database.") + kCrLf; }
QString GoalMessage()
{
    return QStringLiteral("* The sugar goal name was not found in the database: the reading is stored without a goal.") + kCrLf;
}

QString StorableDateMessage()
{
    const QString pattern = QStringLiteral("M/d/yyyy");
    return QStringLiteral("* The date of the selected row cannot be kept: the dates kept run from %1 to %2.")
               .arg(vb::FirstStorableDate().toString(pattern), vb::LastStorableDate().toString(pattern)) +
           kCrLf;
}

QString CommentMessage()
{
    return QStringLiteral("* The comment field is longer than %1 characters.").arg(kCommentLength) + kCrLf;
}

QString NoMeasurementsMessage() { return QStringLiteral("No measurements"); }

QString EncodingsRead()
{
    return QStringLiteral("The import reads files in UTF-8, in UTF-16 that begins with its byte-order mark, and in "
                          "Windows-1252.");
}

std::optional<FileShape> ScanFile(QIODevice& file, const std::function<void(qint64 lines)>& onChunk, qint64 chunkBytes)
{
    FileShape shape;
    bool utf8 = true;
    qint64 brokenLine = 0;
    Mark mark;
    qint64 bodyBytes = 0;
    const bool ok = splitFile(
        file, chunkBytes, mark, bodyBytes,
        [&](QByteArrayView line) {
            ++shape.lines;
            if (utf8 && !line.isValidUtf8())
                utf8 = false;
        },
        [&](QStringView line) {
            ++shape.lines;
            if (brokenLine == 0 && !line.isValidUtf16())
                brokenLine = shape.lines;
        },
        [&] {
            if (onChunk)
                onChunk(shape.lines);
        });
    if (!ok)
        return std::nullopt;
    if (mark.encoding && isUtf16(*mark.encoding)) {
        shape.encoding = *mark.encoding;
        const QString marked = QStringLiteral("The file begins with the byte-order mark of UTF-16, ");
        if (bodyBytes % 2 != 0)
            shape.fault = marked + QStringLiteral("but it ends in the middle of a character.");
        else if (brokenLine > 0)
            shape.fault = marked + QStringLiteral("but line %1 holds a broken character.").arg(brokenLine);
        if (!shape.fault.isEmpty())
            shape.fault += kCrLf + EncodingsRead();
    } else {
        shape.encoding = utf8 ? Encoding::Utf8 : Encoding::Windows1252;
    }
    return shape;
}

bool ReadLines(QIODevice& file, const FileShape& shape, const std::function<void(const QString& line)>& onLine, qint64 chunkBytes)
{
    Mark mark;
    qint64 bodyBytes = 0;
    const bool utf8 = shape.encoding == Encoding::Utf8;
    return splitFile(
        file, chunkBytes, mark, bodyBytes,
        [&](QByteArrayView line) { onLine(utf8 ? QString::fromUtf8(line) : fromWindows1252(line)); },
        [&](QStringView line) { onLine(line.toString()); }, [] {});
}

QStringList SplitFields(const QString& line)
{
    QStringList fields;
    qsizetype start = 0;
    while (true) {
        const qsizetype comma = line.indexOf(u',', start);
        // Trimmed through a view: a long field is copied once.
        if (fields.size() == kFieldCount - 1 || comma < 0) {
            fields << QStringView(line).mid(start).trimmed().toString();
            return fields;
        }
        fields << QStringView(line).mid(start, comma - start).trimmed().toString();
        start = comma + 1;
    }
}

std::optional<QDateTime> DateOfText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    auto dt = modFunctions::DateOf(t);
    if (!dt)
        dt = otherDateForm(t);
    if (!dt)
        return std::nullopt;
    const QTime time = dt->time();
    return QDateTime(dt->date(), QTime(time.hour(), time.minute()), Qt::UTC);
}

bool IsWholeNumberColumn(int col) { return col == colHighBP || col == colLowBP || col == colPulse; }

NumberVerdict CheckMeasurement(int col, const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return NumberVerdict::Empty;
    if (!isPlainNumber(t))
        return NumberVerdict::NotNumber;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return NumberVerdict::OutOfRange;
    // The column's own bounds, so that no value passed here is refused by the write.
    const int type = IsWholeNumberColumn(col) ? dao::dbInteger : dao::dbSingle;
    if (!dao::holdsValue(type, v) || (IsWholeNumberColumn(col) && v != std::floor(v)))
        return NumberVerdict::OutOfRange;
    return NumberVerdict::Number;
}

std::optional<double> MeasurementValue(int col, const QString& text)
{
    if (CheckMeasurement(col, text) != NumberVerdict::Number)
        return std::nullopt;
    return text.trimmed().toDouble();
}

int KeyColumnOf(int col)
{
    switch (col) {
    case colRegimen: return colRegimenKey;
    case colMood: return colMoodKey;
    case colGoal: return colGoalKey;
    default: return -1;
    }
}

CellVerdict CheckCell(int col, const QString& text, const NameLookup& lookup)
{
    CellVerdict verdict;
    switch (col) {
    case colDate:
        if (const auto date = DateOfText(text); !date) {
            verdict.failed = true;
            verdict.message = DateMessage();
        } else if (!vb::IsStorableDate(date->date())) {
            verdict.failed = true;
            verdict.message = StorableDateMessage();
        }
        break;
    case colHighBP:
    case colLowBP:
    case colPulse:
    case colWeight:
    case colCustom1:
    case colCustom2:
    case colSugar:
        switch (CheckMeasurement(col, text)) {
        case NumberVerdict::NotNumber:
            verdict.failed = true;
            verdict.message = MeasurementMessage();
            break;
        case NumberVerdict::OutOfRange:
            verdict.failed = true;
            verdict.message = RangeMessage();
            break;
        default: break;
        }
        break;
    case colGoal:
    case colRegimen:
    case colMood:
        if (!text.trimmed().isEmpty()) {
            verdict.key = lookup ? lookup(col, text.trimmed()) : std::nullopt;
            if (!verdict.key && col == colGoal) {
                // The goal only judges the sugar reading: the row is still written, without one.
                verdict.noted = true;
                verdict.message = GoalMessage();
            } else if (!verdict.key) {
                verdict.failed = true;
                verdict.message = col == colRegimen ? RegimenMessage() : MoodMessage();
            }
        }
        break;
    case colComment:
        if (!vb::fitsLength(text.trimmed(), kCommentLength)) {
            verdict.failed = true;
            verdict.message = CommentMessage();
        }
        break;
    default: break;
    }
    return verdict;
}

bool HasNoMeasurements(const QStringList& cells)
{
    for (int col = colHighBP; col <= colSugar; ++col)
        if (col < cells.size() && CheckMeasurement(col, cells[col]) == NumberVerdict::Number)
            return false;
    // The goal's name counts like a measurement when it reads as a number.
    return !(colGoal < cells.size() && isPlainNumber(cells[colGoal].trimmed()));
}

std::optional<RowValues> ValuesOfRow(const QStringList& cells)
{
    auto cell = [&cells](int col) { return col < cells.size() ? cells[col] : QString(); };
    const auto measured = DateOfText(cell(colDate));
    if (!measured || !vb::IsStorableDate(measured->date()))
        return std::nullopt;
    RowValues v;
    v.measured = *measured;
    const auto first = wholeOrNull(MeasurementValue(colHighBP, cell(colHighBP)));
    const auto second = wholeOrNull(MeasurementValue(colLowBP, cell(colLowBP)));
    if (first && second) {
        // The larger value is the high pressure whichever column it came in.
        v.highPressure = std::max(*first, *second);
        v.lowPressure = std::min(*first, *second);
    } else {
        v.highPressure = first;
        v.lowPressure = second;
    }
    v.pulse = wholeOrNull(MeasurementValue(colPulse, cell(colPulse)));
    v.weight = numberOrNull(MeasurementValue(colWeight, cell(colWeight)));
    v.temp = numberOrNull(MeasurementValue(colCustom1, cell(colCustom1)));
    v.temp1 = numberOrNull(MeasurementValue(colCustom2, cell(colCustom2)));
    v.sugar = numberOrNull(MeasurementValue(colSugar, cell(colSugar)));
    v.moodKey = keyOf(cell(colMoodKey));
    v.regimenKey = keyOf(cell(colRegimenKey));
    if (v.moodKey && *v.moodKey == 0)
        v.moodKey.reset();
    if (v.regimenKey && *v.regimenKey == 0)
        v.regimenKey.reset();
    if (v.sugar)
        v.goalKey = keyOf(cell(colGoalKey));
    v.comment = cell(colComment).trimmed();
    return v;
}

bool HiddenByFilter(Filter filter, vb::OLE_COLOR statusColor, vb::OLE_COLOR dateColor)
{
    switch (filter) {
    case Filter::Passed: return statusColor == RejectedColor;
    case Filter::Failed: return statusColor != RejectedColor;
    case Filter::FailedDate: return dateColor != RejectedColor;
    case Filter::LoadedNew: return statusColor != InsertedColor;
    case Filter::LoadedUpdated: return statusColor != UpdatedColor;
    case Filter::NotLoaded: return dateColor != RejectedColor;
    default: return false;
    }
}

} // namespace MeasurementImportFile
