#pragma once
// Reads one daily report file of the sample person (title with the person's name, the
// regimens, a column header and fixed-column daily rows) into PERSON, REGIMEN and MEASURE.
#include <QString>
#include <QVariant>

class clsImport {
public:
    // Stores the path and reads the file. Shows nothing and reports nothing: a missing or
    // malformed file imports what it can, a line that can't be stored is left out.
    void ImportFile(const QString& strFilePath);

    // Reads the file whose path the instance holds: creates the person and the regimens it
    // names when missing, makes the person current (gPersonKey) with its default chart rows,
    // and inserts one measurement per data row.
    void ReadDailyValueFile();

    // The SQL text of a numeric field: "Null" for Null, an empty text, a text without a leading
    // number or a value of 0; otherwise the leading number in plain decimal with ".".
    // Raises vb::ConversionError 6 for a number beyond the range of a double.
    static QString NumberOrNull(const QVariant& value);

private:
    QString mstrFilePath;
};
