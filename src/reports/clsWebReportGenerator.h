#pragma once
// One HTML page built in memory (a head, an appended body, a foot) and written to a file in one
// go. Every page of the program goes through it; a caller makes one instance per page.
#include "platform/runtime/RuntimeError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A page or folder that could not be written. Numbers as the program's other run-time errors
// show them: 75 the path could not be created or written.
class WebReportError : public vb::RuntimeError {
public:
    using vb::RuntimeError::RuntimeError;
};

class clsWebReportGenerator {
public:
    // The folder "temp" under the program's folder, created when missing; the report puts its
    // chart images there.
    QString GetTempFolder();
    // The path of the last successful save; empty before it.
    QString FileName() const { return fileName_; }
    void WriteHeader();
    // Appends text to the body unchanged (the caller escapes what it must); the first call
    // builds the head.
    void AddContent(const QString& text);
    void WriteFooter();
    // Writes head, body and foot as windows-1252, each followed by CR LF. The page is written
    // to a temporary file beside the target and renamed over it, so a failed save leaves the
    // old file (or none) and raises WebReportError.
    void SaveToFile(const QString& path);

private:
    bool headerWritten_ = false;
    QString tempFolder_;
    QString fileName_;
    QString header_;
    QStringList body_;
    QString footer_;
};

// Text as windows-1252 bytes, the charset the pages declare; a character outside it is written
// as an HTML numeric reference (&#21517;), so nothing is lost.
QByteArray toWindows1252Html(const QString& text);
// Text as windows-1252 bytes for plain text files; a character outside the code page is
// written as "?".
QByteArray toWindows1252Text(const QString& text);
// Text for a plain text file: windows-1252 bytes when the code page holds every character,
// otherwise UTF-8 after a byte order mark, so that no character is lost and readers tell the
// two apart.
QByteArray toPlainTextFile(const QString& text);
