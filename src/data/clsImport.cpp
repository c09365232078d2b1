#include "data/clsImport.h"

#include "data/Globals.h"
#include "data/clsDefaultChartValues.h"
#include "data/modFunctions.h"
#include "platform/dao/JetSql.h"
#include "platform/dao/dao.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/TextLength.h"

#include <QDateTime>
#include <QFile>
#include <QTextStream>
#include <cmath>
#include <exception>
#include <optional>

namespace {

const QString kNull = QStringLiteral("Null");

// Width of the date column: the values start at position 11.
constexpr int kDateWidth = 10;
constexpr int kPressureWidth = 10;
constexpr int kColumnWidth = 12;
constexpr int kRegimenNameWidth = 10;
constexpr int kMoodWidth = 10;
constexpr int kMaxRegimenName = 10;

class LineReader {
public:
    explicit LineReader(QFile& file) : stream_(&file) {}

    // The next line without its line end; false at the end of the file.
    bool next(QString& line)
    {
        if (stream_.atEnd())
            return false;
        line = stream_.readLine();
        if (line.endsWith(u'\r'))
            line.chop(1);
        return true;
    }
    bool skip()
    {
        QString ignored;
        return next(ignored);
    }

private:
    QTextStream stream_;
};

// Which columns the data rows hold, from the names in the column header (letter case counts).
struct Columns {
    bool pressure = false;
    bool pulse = false;
    bool weight = false;
    bool temp = false;
    bool regimen = false;
    bool mood = false;
};

Columns columnsOf(const QString& header)
{
    Columns c;
    c.pressure = header.contains(u"High BP");
    c.pulse = header.contains(u"Pulse");
    c.weight = header.contains(u"Weight");
    c.temp = header.contains(u"Temp");
    c.regimen = header.contains(u"Regimen");
    c.mood = header.contains(u"Mood");
    return c;
}

// One data row, its numbers already as SQL text ("Null" or a plain decimal number).
struct DailyRow {
    QString date; // Jet literal of the day at midnight
    QString lbp = kNull;
    QString hbp = kNull;
    QString pulse = kNull;
    QString weight = kNull;
    QString temp = kNull;
    QString regimen;
    QString mood;
};

// The row of a data line, or nothing when the line can't give a measurement: its date text
// (up to and including the first blank) is no date, or it holds neither a number nor a regimen
// or mood name, which is also what a file whose regimen count is out of step with its lines
// gives.
std::optional<DailyRow> readRow(const QString& line, const Columns& columns)
{
    const qsizetype blank = line.indexOf(u' ');
    const QString dateText = blank < 0 ? line : line.left(blank + 1);
    const auto moment = dao::jetsql::parseDateLiteral(dateText);
    if (!moment)
        return std::nullopt;

    DailyRow row;
    // The date is written into the SQL from the parsed value, never from the file's text.
    row.date = modFunctions::SqlDate(QDateTime(moment->date(), QTime(0, 0), Qt::UTC));
    if (row.date.isEmpty())
        return std::nullopt;

    qsizetype pos = kDateWidth;
    auto field = [&](int width, int advance) {
        const QString text = line.mid(pos, width); // empty beyond the end of a short line
        pos += advance;
        return text;
    };
    if (columns.pressure) {
        row.hbp = clsImport::NumberOrNull(field(kPressureWidth, kPressureWidth));
        row.lbp = clsImport::NumberOrNull(field(kPressureWidth, kPressureWidth));
    }
    if (columns.pulse)
        row.pulse = clsImport::NumberOrNull(field(kColumnWidth, kColumnWidth));
    if (columns.weight)
        row.weight = clsImport::NumberOrNull(field(kColumnWidth, kColumnWidth));
    if (columns.temp)
        row.temp = clsImport::NumberOrNull(field(kColumnWidth, kColumnWidth));
    if (columns.regimen)
        row.regimen = field(kRegimenNameWidth, kColumnWidth).trimmed();
    if (columns.mood)
        row.mood = field(kMoodWidth, kMoodWidth).trimmed();

    if (row.hbp != kNull && row.lbp != kNull && vb::Val(row.hbp) < vb::Val(row.lbp))
        std::swap(row.hbp, row.lbp);

    // A row with nothing but its date is no measurement (the measurement form refuses one too);
    // a regimen or a mood alone is one.
    if (row.lbp == kNull && row.hbp == kNull && row.pulse == kNull && row.weight == kNull && row.temp == kNull &&
        row.regimen.isEmpty() && row.mood.isEmpty())
        return std::nullopt;
    return row;
}

// The key in the first column of the query's first row, as SQL text; empty when there is none.
QString keyOf(const QString& sql)
{
    auto rs = gDB->OpenRecordset(sql, dao::dbOpenSnapshot);
    const QVariant key = rs->Eof() ? QVariant() : rs->Fields(0).Value();
    rs->Close();
    return vb::IsNull(key) ? QString() : QString::number(key.toLongLong());
}

void setMeasureKey(const char* column, const QString& key, const QString& date)
{
    gDB->Execute(QStringLiteral("UPDATE MEASURE") + QStringLiteral("   SET MEASURE.") + QLatin1String(column) +
                 QStringLiteral(" = ") + key + QStringLiteral(" ") + QStringLiteral(" where MEASURE.PRSN_KY = ") +
                 QString::number(gPersonKey) + QStringLiteral("   and MEASURE.MSRD_DT = ") + date);
}

// Inserts the row's measurement, then sets its regimen and mood. A row the database refuses
// (a date the person has already, a value too large for its column) adds no measurement; the
// regimen and mood then go to the measurement the person already has on that date, if any.
void storeRow(const DailyRow& row)
{
    gDB->Execute(QStringLiteral("insert into measure values (") + QString::number(gPersonKey) + QStringLiteral(", ") + row.date +
                 QStringLiteral(", ") + kNull + QStringLiteral(",") + kNull + QStringLiteral(",") + row.lbp +
                 QStringLiteral(",") + row.hbp + QStringLiteral(",") + row.pulse + QStringLiteral(",") + row.weight +
                 QStringLiteral(",") + row.temp + QStringLiteral(",") + kNull + QStringLiteral(",") + kNull +
                 QStringLiteral(",''") + QStringLiteral(",") + kNull + QStringLiteral(")"));

    if (!row.regimen.isEmpty()) {
        const QString key = keyOf(QStringLiteral("select rgmn_ky from regimen where rgmn_nm =") + vb::SqlText(row.regimen));
        if (!key.isEmpty())
            setMeasureKey("RGMN_KY", key, row.date);
    }
    if (!row.mood.isEmpty()) {
        const QString key = keyOf(QStringLiteral("select md_ky from mood where md_nm =") + vb::SqlText(row.mood));
        if (!key.isEmpty())
            setMeasureKey("MD_KY", key, row.date);
    }
}

// Finds or adds the person, makes it the current person and gives it its chart rows. False
// when the person can't be had (an empty name, one too long): nothing may then be written
// for whoever happened to be current.
bool takePerson(const QString& name)
{
    try {
        auto rs = gDB->OpenRecordset(QStringLiteral("select * from Person"), dao::dbOpenDynaset);
        rs->FindFirst(QStringLiteral("PRSN_NM=") + vb::SqlText(name));
        if (rs->NoMatch()) {
            try {
                rs->AddNew();
                rs->Fields(QStringLiteral("PRSN_NM")).setValue(name);
                rs->Fields(QStringLiteral("AGE")).setValue(35);
                rs->Fields(QStringLiteral("HGT")).setValue(70);
                rs->Fields(QStringLiteral("SEX")).setValue(QStringLiteral("M"));
                rs->Fields(QStringLiteral("COMMENT"))
                    .setValue(QStringLiteral("This is the sample data provided by Ravelcombrick software."));
                rs->Update();
            } catch (const dao::Error&) {
                rs->CancelUpdate();
            }
        }
        rs->Close();
    } catch (const std::exception&) {
        // The lookup below tells whether the person is there.
    }

    auto rs = gDB->OpenRecordset(QStringLiteral("select * from Person where prsn_nm =") + vb::SqlText(name), dao::dbOpenDynaset);
    if (rs->RecordCount() != 1)
        return false;
    gPersonKey = rs->Fields(0).Value().toInt();
    rs->Close();
    try {
        clsDefaultChartValues().CreateDefaultPlots(gPersonKey);
    } catch (const std::exception&) {
        // The person's measurements are still worth having without chart settings.
    }
    return true;
}

// Adds a regimen line's regimen when no regimen has its name (letter case aside); a line
// without ":" or with an empty or too long name adds none, and an existing one keeps its detail.
void takeRegimen(dao::Recordset& regimens, const QString& line)
{
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0)
        return;
    const QString name = line.left(colon).trimmed();
    const QString detail = line.mid(colon + 1).trimmed();
    if (name.isEmpty() || !vb::fitsLength(name, kMaxRegimenName))
        return;
    try {
        regimens.FindFirst(QStringLiteral("RGMN_NM=") + vb::SqlText(name));
        if (!regimens.NoMatch())
            return;
        regimens.AddNew();
        regimens.Fields(QStringLiteral("RGMN_NM")).setValue(name);
        regimens.Fields(QStringLiteral("RGMN_DTL")).setValue(detail);
        regimens.Update();
    } catch (const std::exception&) {
        // A detail too long for its column, say: no regimen, and the next line is read.
        regimens.CancelUpdate();
    }
}

// The regimen count: the number after the last ":" of the line (the whole line without one).
int regimenCount(const QString& line)
{
    const qsizetype colon = line.lastIndexOf(u':');
    double count = 0;
    try {
        count = vb::Val(colon < 0 ? line : line.mid(colon + 1));
    } catch (const vb::ConversionError&) {
        return 0;
    }
    if (!(count > 0))
        return 0;
    // More lines than the file has just end the reading at its end.
    return count >= 1e9 ? 1000000000 : int(std::lround(count));
}

} // namespace

void clsImport::ImportFile(const QString& strFilePath)
{
    mstrFilePath = strFilePath;
    ReadDailyValueFile();
}

void clsImport::ReadDailyValueFile()
{
    if (!gDB)
        return;
    QFile file(mstrFilePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    LineReader reader(file);

    QString line;
    if (!reader.next(line))
        return;
    const QString marker = QStringLiteral("Daily Value for ");
    const qsizetype at = line.indexOf(marker);
    if (at < 0)
        return;
    const qsizetype start = at + marker.size();
    const qsizetype dash = line.indexOf(u'-', start);
    const QString name = (dash < 0 ? line.mid(start) : line.mid(start, dash - start)).trimmed();
    if (name.isEmpty())
        return;

    const qint32 previousPerson = gPersonKey;
    try {
        // One transaction for the file keeps the per-row statements quick and leaves nothing of
        // a file whose reading broke off on an unforeseen error.
        dao::Transaction transaction(*gDB);
        if (!takePerson(name)) {
            transaction.commit();
            return;
        }

        bool complete = reader.skip() && reader.next(line);
        if (complete) {
            const int count = regimenCount(line);
            auto regimens = gDB->OpenRecordset(QStringLiteral("select * from regimen"), dao::dbOpenDynaset);
            for (int i = 0; i < count && complete; ++i) {
                complete = reader.next(line);
                if (complete)
                    takeRegimen(*regimens, line);
            }
            regimens->Close();
        }

        QString header;
        complete = complete && reader.skip() && reader.next(header) && reader.skip();
        if (complete) {
            const Columns columns = columnsOf(header);
            while (reader.next(line)) {
                try {
                    const auto row = readRow(line, columns);
                    if (!row)
                        continue;
                    // A row is stored whole or not at all.
                    dao::Transaction rowTransaction(*gDB);
                    storeRow(*row);
                    rowTransaction.commit();
                } catch (const std::exception&) {
                    // The row is left out; the next one is read.
                }
            }
        }
        transaction.commit();
    } catch (const std::exception&) {
        // Nothing is reported: the file's rows are left out, and the person made for them too.
        gPersonKey = previousPerson;
    }
}

QString clsImport::NumberOrNull(const QVariant& value)
{
    if (vb::IsNull(value))
        return kNull;
    const double number = vb::Val(value);
    if (number == 0)
        return kNull;
    return vb::NumberText(number);
}
