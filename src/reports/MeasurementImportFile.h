#pragma once
// The comma-separated measurement file the import window reads, and the checks its rows pass
// before they may be written: plain functions over texts, so the window only maps them onto its
// preview grid.
//
// A line is one reading: date and time, high and low blood pressure, pulse, weight, the two
// custom measurements, blood sugar, the sugar goal's name, the regimen's name, the mood's name
// and a comment (which takes the rest of the line, commas included). There is no quoting and no
// header line: every line is a record.
#include "data/MeasurementImport.h"
#include "platform/runtime/ui/Colors.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace MeasurementImportFile {

// Columns of the preview grid.
enum Column : int {
    colStatus = 0, // the line number; its back colour is the row's verdict
    colError = 1,  // hidden: the row's error texts
    colDate = 2,
    colHighBP = 3,
    colLowBP = 4,
    colPulse = 5,
    colWeight = 6,
    colCustom1 = 7,
    colCustom2 = 8,
    colSugar = 9,
    colGoal = 10,
    colRegimen = 11,
    colMood = 12,
    colComment = 13,
    colRegimenKey = 14, // hidden: keys found for the names
    colMoodKey = 15,
    colGoalKey = 16,
    colCount = 17,
};

inline constexpr int kFieldCount = 12; // fields of a line: grid columns 2 to 13
inline constexpr int kCommentLength = 100;

// Back colours of the verdicts.
inline constexpr vb::OLE_COLOR RejectedColor = 0x9999FF; // light red
inline constexpr vb::OLE_COLOR InsertedColor = 0x99FF99; // light green
inline constexpr vb::OLE_COLOR UpdatedColor = 0x99FFFF;  // light yellow
inline constexpr vb::OLE_COLOR NotedColor = 0x99FFFF;    // light yellow: a cell noted, the row still written

// The template's one line, CR LF included.
QByteArray TemplateLine();

// Messages appended to a row's error text.
QString DateMessage();
QString MeasurementMessage();
QString RangeMessage();
QString RegimenMessage();
QString MoodMessage();
QString GoalMessage(); // a note: the row is still written
QString StorableDateMessage();
QString CommentMessage();
QString NoMeasurementsMessage();

// A file read line by line, so that a large one is never held whole, nor decoded whole: the
// first pass (ScanFile) counts the lines and settles the encoding, the second (ReadLines) hands
// each line to the caller decoded. A file that begins with the byte-order mark of UTF-16 (either
// byte order) is UTF-16; any other is UTF-8 when every line is valid UTF-8 and otherwise
// windows-1252. Lines end at CR LF, LF or CR alike, a last line needs no terminator, an empty
// file has no lines, and a leading byte-order mark is dropped. The file is read in chunks of
// chunkBytes (a test may make them small); a line, a character or a line end may lie across two.
enum class Encoding { Utf8, Windows1252, Utf16LE, Utf16BE };
inline constexpr qint64 kReadChunk = 1 << 20;
struct FileShape {
    Encoding encoding = Encoding::Utf8;
    qint64 lines = 0;
    // Why the file cannot be read whole (a UTF-16 file cut in the middle of a character, or one
    // holding a broken character), naming the encodings the import reads; empty when it can.
    QString fault;
};
// The encodings the import reads, as a sentence for the user.
QString EncodingsRead();
// Nothing when the file cannot be read. onChunk, when given, is told the lines counted so far
// after each chunk.
std::optional<FileShape> ScanFile(QIODevice& file, const std::function<void(qint64 lines)>& onChunk = {},
                                  qint64 chunkBytes = kReadChunk);
// False when reading fails part-way.
bool ReadLines(QIODevice& file, const FileShape& shape, const std::function<void(const QString& line)>& onLine,
               qint64 chunkBytes = kReadChunk);
// The fields of a line, trimmed, at most twelve: the twelfth holds the rest of the line. A blank
// line gives one empty field.
QStringList SplitFields(const QString& line);

// The reading's date and time as the date conversion reads the trimmed text, to the minute;
// nothing for a text that is no date (or empty). Besides the numeric forms of the user's date
// order, a month by name or its three letters before or after the day ("28-Jun-2007",
// "Jun 28, 2007", "June 28 2007"), and an hour without minutes ("8 AM", "8AM"). Whether the day
// can be kept is CheckCell's concern (vb::IsStorableDate).
std::optional<QDateTime> DateOfText(const QString& text);

// How a measurement cell reads. Empty: nothing there. NotNumber: text that is no plain decimal
// number (thousands separators and exponents included). OutOfRange: a number the column cannot
// hold: beyond the bounds of its column type (dao::holdsValue: an integer column for the
// pressures and the pulse, a single one elsewhere), or with a fraction in a whole-number column.
enum class NumberVerdict { Empty, Number, NotNumber, OutOfRange };
NumberVerdict CheckMeasurement(int col, const QString& text);
// Whether the column holds whole numbers (the blood pressures and the pulse).
bool IsWholeNumberColumn(int col);
// The value of a cell that CheckMeasurement found a Number; nothing otherwise.
std::optional<double> MeasurementValue(int col, const QString& text);

// Looks a name up: the key of the regimen (colRegimen), mood (colMood) or sugar goal (colGoal)
// of that name, nothing when there is none.
using NameLookup = std::function<std::optional<qint32>(int col, const QString& name)>;

// The verdict on one cell of a data row.
struct CellVerdict {
    bool failed = false;       // the cell turns red and the row is rejected
    bool noted = false;        // the cell turns yellow and the row is still written (a goal not found)
    QString message;           // appended to the row's error text (once per row for the measurement messages)
    std::optional<qint32> key; // for a name found: its key, for the column colRegimenKey etc.
};
CellVerdict CheckCell(int col, const QString& text, const NameLookup& lookup);
// The hidden key column a name column fills (-1 for other columns).
int KeyColumnOf(int col);

// A row that passed its cell checks but carries no measurement: each of the columns colHighBP to
// colGoal is empty or not a number.
bool HasNoMeasurements(const QStringList& cells);

// The values a row writes, from its cells (grid columns 0 to colCount - 1).
using RowValues = Measurement;
// Nothing for a row whose date is no date, or a day that cannot be kept. An empty cell and a value of 0 are Null. When both
// blood pressures are given the larger is the high one; a single one keeps its column.
std::optional<RowValues> ValuesOfRow(const QStringList& cells);

// The filters of the preview grid, by the entries of the two lists.
enum class Filter { None, Passed, Failed, FailedDate, LoadedNew, LoadedUpdated, NotLoaded };
// Whether a data row is hidden under the filter, from its status and date cell colours.
bool HiddenByFilter(Filter filter, vb::OLE_COLOR statusColor, vb::OLE_COLOR dateColor);

} // namespace MeasurementImportFile
