#include "reports/clsWebReportGenerator.h"

#include "platform/runtime/App.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Unicode code points of windows-1252's bytes 0x80 to 0x9F (0 where the byte is unassigned).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

// The windows-1252 byte of a code point, or -1 when the code page has none.
int windows1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == cp)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

} // namespace

namespace {

void appendWindows1252Html(QByteArray& out, QStringView text)
{
    // Pages run to megabytes of mostly plain letters: those are copied in runs.
    const char16_t* data = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        qsizetype run = i;
        while (run < size && (data[run] < 0x80 || (data[run] >= 0xA0 && data[run] <= 0xFF)))
            ++run;
        if (run > i) {
            const qsizetype at = out.size();
            out.resize(at + (run - i));
            char* bytes = out.data() + at;
            for (qsizetype k = i; k < run; ++k)
                *bytes++ = static_cast<char>(data[k]);
            i = run;
            continue;
        }
        char32_t cp = data[i];
        if (QChar::isHighSurrogate(cp) && i + 1 < size && QChar::isLowSurrogate(data[i + 1])) {
            cp = QChar::surrogateToUcs4(data[i], data[i + 1]);
            ++i;
        } else if (QChar::isSurrogate(cp)) {
            cp = QChar::ReplacementCharacter;
        }
        ++i;
        const int byte = windows1252Byte(cp);
        if (byte >= 0)
            out.append(static_cast<char>(byte));
        else
            out.append("&#" + QByteArray::number(static_cast<quint32>(cp)) + ';');
    }
}

} // namespace

QByteArray toWindows1252Html(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    appendWindows1252Html(out, text);
    return out;
}

QByteArray toWindows1252Text(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text.at(i).unicode();
        // A surrogate pair is one character, and one "?".
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        const int byte = QChar::isSurrogate(cp) ? -1 : windows1252Byte(cp);
        out.append(byte >= 0 ? static_cast<char>(byte) : '?');
    }
    return out;
}

QByteArray toPlainTextFile(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const int byte = ch.isSurrogate() ? -1 : windows1252Byte(ch.unicode());
        if (byte < 0)
            return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        out.append(static_cast<char>(byte));
    }
    return out;
}

QString clsWebReportGenerator::GetTempFolder()
{
    const QString folder = QDir(App::Path()).filePath(QStringLiteral("temp"));
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw WebReportError(
            75, QStringLiteral("Path/File access error: cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
    tempFolder_ = folder;
    return tempFolder_;
}

void clsWebReportGenerator::WriteHeader()
{
    header_ = QStringLiteral("<!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.0 Transitional//EN' "
                             "'http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd'>"
                             "<html xmlns='http://www.w3.org/1999/xhtml'>"
                             "<head>"
                             "<meta http-equiv='Content-Type' content='text/html; charset=iso-8859-1' />"
                             "<title>Report from Ravelcombrick Software</title>") +
              kCrLf +
              QStringLiteral("<link href='css/ReportDoctorTemplate.css' rel='stylesheet' type='text/css' />"
                             "</head>"
                             "<body>");
    headerWritten_ = true;
}

void clsWebReportGenerator::AddContent(const QString& text)
{
    if (!headerWritten_)
        WriteHeader();
    // Kept as the parts added: a table arrives as one text of megabytes, and joining the parts
    // would copy it again.
    body_.append(text);
}

void clsWebReportGenerator::WriteFooter() { footer_ = QStringLiteral("</body>") + kCrLf + QStringLiteral("</html>"); }

void clsWebReportGenerator::SaveToFile(const QString& path)
{
    WriteFooter();

    // QSaveFile writes beside the target and renames on commit: a page is replaced whole or not
    // at all.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw WebReportError(75, QStringLiteral("Path/File access error: cannot write the page %1 (%2)")
                                     .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    // Encoded and written a slice at a time: a report's body runs to megabytes, and a buffer of
    // its whole size would be filled once and thrown away.
    constexpr qsizetype kSlice = 32 * 1024;
    QByteArray buffer;
    buffer.reserve(4 * kSlice);
    bool written = true;
    auto put = [&](QStringView text) {
        while (!text.isEmpty()) {
            qsizetype n = std::min(kSlice, text.size());
            // A character of two halves is not cut in two.
            if (n < text.size() && QChar::isHighSurrogate(text.at(n - 1).unicode()))
                ++n;
            appendWindows1252Html(buffer, text.first(n));
            text = text.sliced(n);
            if (buffer.size() >= kSlice) {
                written = written && file.write(buffer) == buffer.size();
                buffer.resize(0);
            }
        }
    };
    put(header_);
    put(u"\r\n");
    for (const QString& part : body_)
        put(part);
    put(u"\r\n");
    put(footer_);
    put(u"\r\n");
    written = written && file.write(buffer) == buffer.size();
    if (!written || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw WebReportError(
            75,
            QStringLiteral("Path/File access error: cannot write the page %1 (%2)").arg(QDir::toNativeSeparators(path), reason));
    }
    fileName_ = path;
}
