// The page builder: the bytes of a saved page, its charset, saving again, the temp folder and
// failed saves.
#include "reports/clsExport.h"
#include "reports/clsWebReportGenerator.h"

#include "platform/runtime/App.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const QByteArray kHeader = "<!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.0 Transitional//EN' "
                           "'http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd'>"
                           "<html xmlns='http://www.w3.org/1999/xhtml'><head>"
                           "<meta http-equiv='Content-Type' content='text/html; charset=iso-8859-1' />"
                           "<title>Report from Ravelcombrick Software</title>\r\n"
                           "<link href='css/ReportDoctorTemplate.css' rel='stylesheet' type='text/css' /></head><body>";
const QByteArray kFooter = "</body>\r\n</html>\r\n";

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

class WebReportGeneratorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        App::setPath(dir_.path());
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QStringList entries() const { return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

    QTemporaryDir dir_;
};

TEST_F(WebReportGeneratorTest, PageIsHeaderBodyAndFooterInWindows1252)
{
    clsWebReportGenerator page;
    EXPECT_TRUE(page.FileName().isEmpty());
    page.AddContent(QStringLiteral("<p>") + htmlText(QStringLiteral("<&>")) + QStringLiteral("</p>"));
    page.AddContent(htmlText(QStringLiteral("O'Brien, Zo\u00EB \u540D \u20AC\u2022 \U0001D11E")));
    const QString file = path(QStringLiteral("Report.html"));
    page.SaveToFile(file);

    EXPECT_EQ(page.FileName(), file);
    const QByteArray expected =
        kHeader + "\r\n" + "<p>&lt;&amp;&gt;</p>" + "O'Brien, Zo\xEB &#21517; \x80\x95 &#119070;" + "\r\n" + kFooter;
    EXPECT_EQ(readAll(file), expected);
    // Only the page itself is left: no temporary file beside it.
    EXPECT_EQ(entries(), QStringList{QStringLiteral("Report.html")});
}

TEST_F(WebReportGeneratorTest, LongPagesAreWrittenWholeWhereverACharacterFalls)
{
    // Parts of a slice's length and around it, a character of two halves at each edge.
    for (const qsizetype length : {qsizetype(32 * 1024 - 1), qsizetype(32 * 1024), qsizetype(100000)}) {
        SCOPED_TRACE(length);
        clsWebReportGenerator page;
        QByteArray body;
        for (int part = 0; part < 3; ++part) {
            page.AddContent(QString(length, u'a') + QStringLiteral("\U0001D11E\u00EB"));
            body += QByteArray(length, 'a') + "&#119070;\xEB";
        }
        const QString file = path(QStringLiteral("Long.html"));
        page.SaveToFile(file);
        EXPECT_EQ(readAll(file), kHeader + "\r\n" + body + "\r\n" + kFooter);
    }
}

TEST_F(WebReportGeneratorTest, EmptyPagesAndSavingAgain)
{
    // Nothing appended: no head at all.
    clsWebReportGenerator bare;
    bare.SaveToFile(path(QStringLiteral("bare.html")));
    EXPECT_EQ(readAll(path(QStringLiteral("bare.html"))), "\r\n\r\n" + kFooter);

    // An empty text gives the head and an empty body; markup passes unchanged.
    clsWebReportGenerator page;
    page.AddContent(QString());
    const QString file = path(QStringLiteral("DiabetesGoals.html"));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
    old.close();
    page.SaveToFile(file);
    EXPECT_EQ(readAll(file), kHeader + "\r\n\r\n" + kFooter);

    // A second save writes the whole page again, with what was appended since.
    page.AddContent(QStringLiteral("<b>a&b</b>"));
    page.SaveToFile(file);
    EXPECT_EQ(readAll(file), kHeader + "\r\n<b>a&b</b>\r\n" + kFooter);
}

TEST_F(WebReportGeneratorTest, TempFolderIsMadeOnceUnderTheProgramFolder)
{
    clsWebReportGenerator page;
    const QString temp = page.GetTempFolder();
    EXPECT_EQ(QFileInfo(temp).absoluteFilePath(), QFileInfo(path(QStringLiteral("temp"))).absoluteFilePath());
    ASSERT_TRUE(QFileInfo(temp).isDir());
    QFile image(QDir(temp).filePath(QStringLiteral("1.jpeg")));
    ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    image.close();
    EXPECT_EQ(page.GetTempFolder(), temp);
    EXPECT_TRUE(image.exists());

    // A file in the way of the folder is an error, not a silent success.
    QTemporaryDir other;
    App::setPath(other.path());
    QFile blocker(QDir(other.path()).filePath(QStringLiteral("temp")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    clsWebReportGenerator second;
    EXPECT_THROW(second.GetTempFolder(), WebReportError);
}

TEST_F(WebReportGeneratorTest, FailedSaveRaisesAndLeavesNoFile)
{
    clsWebReportGenerator page;
    page.AddContent(QStringLiteral("<p>x</p>"));

    // The folder is missing (its name is taken by a file).
    QFile notAFolder(path(QStringLiteral("User")));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    try {
        page.SaveToFile(path(QStringLiteral("User/Report.html")));
        ADD_FAILURE() << "a save into a missing folder succeeded";
    } catch (const WebReportError& e) {
        EXPECT_EQ(e.Number(), 75);
        EXPECT_TRUE(e.Description().contains(QStringLiteral("Report.html"))) << e.Description().toStdString();
    }
    EXPECT_TRUE(page.FileName().isEmpty());

    // The target cannot be replaced (a folder of that name): the write is undone, nothing is left.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Report.html")));
    EXPECT_THROW(page.SaveToFile(path(QStringLiteral("Report.html"))), WebReportError);
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("Report.html"))).isDir());
    EXPECT_EQ(entries().size(), 2) << entries().join(u',').toStdString();

    // A read-only folder (root may write anyway, so only checked for other users).
    if (geteuid() != 0) {
        const QString locked = path(QStringLiteral("locked"));
        ASSERT_TRUE(QDir().mkdir(locked));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_THROW(page.SaveToFile(QDir(locked).filePath(QStringLiteral("Report.html"))), WebReportError);
        EXPECT_TRUE(QDir(locked).isEmpty());
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EXPECT_TRUE(page.FileName().isEmpty());

    // The page is still whole and can be saved elsewhere afterwards.
    page.SaveToFile(path(QStringLiteral("ok.html")));
    EXPECT_EQ(readAll(path(QStringLiteral("ok.html"))), kHeader + "\r\n<p>x</p>\r\n" + kFooter);
}

} // namespace
