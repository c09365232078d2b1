// The single-instance lock, the printing scale rule, help topics, dialogs and the place where
// the services are installed.
#include "platform/runtime/App.h"
#include "platform/runtime/ui/Twips.h"
#include "platform/services/InstanceLock.h"
#include "support/ServiceDoubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace services;

namespace {

class ServicesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        App::setPath(folder_.path());
        doubles_.setOnUnexpected([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
    }
    void TearDown() override { App::setPath(QString()); }

    QString write(const QString& relative, const QByteArray& content = "<html><body>help</body></html>")
    {
        const QString path = folder_.path() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QTemporaryDir folder_;
    TestServices doubles_;
};

} // namespace

// ---------------------------------------------------------------------------------------------

TEST(InstanceLockTest, SecondCopyIsRefusedUntilTheFirstEnds)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("instance.lock"));
    auto first = std::make_unique<InstanceLock>(path);
    EXPECT_TRUE(first->TryLock());
    EXPECT_TRUE(first->TryLock()) << "asking again keeps the lock";

    InstanceLock second(path);
    EXPECT_FALSE(second.TryLock());
    EXPECT_FALSE(second.Locked());

    first.reset();
    EXPECT_TRUE(second.TryLock());
}

TEST(InstanceLockTest, DefaultLockBelongsToTheProgramFolder)
{
    App::setPath(QStringLiteral("/opt/one"));
    const QString one = DefaultInstanceLockPath();
    App::setPath(QStringLiteral("/opt/two"));
    const QString two = DefaultInstanceLockPath();
    App::setPath(QString());
    EXPECT_NE(one, two);
    EXPECT_TRUE(one.endsWith(QStringLiteral(".lock")));
}

// ---------------------------------------------------------------------------------------------

TEST(PrintScaleTest, WindowWiderThanThePageIsScaledToThePageWidth)
{
    EXPECT_EQ(PrintedSizeTwips(QSizeF(15000, 9000), 11520), QSize(11520, 6912));
    EXPECT_EQ(PrintedSizeTwips(QSizeF(10600, 7950), 11520), QSize(10600, 7950)) << "fits: own size";
    EXPECT_EQ(PrintedSizeTwips(QSizeF(11520, 7000), 11520), QSize(11520, 7000)) << "equal width: own size";
    // Halves round to the even number.
    EXPECT_EQ(PrintedSizeTwips(QSizeF(4, 1), 2), QSize(2, 0));
    EXPECT_EQ(PrintedSizeTwips(QSizeF(4, 3), 2), QSize(2, 2));
    EXPECT_EQ(PrintedSizeTwips(QSizeF(4, 5), 2), QSize(2, 2));
    EXPECT_EQ(PrintedSizeTwips(QSizeF(4, 7), 2), QSize(2, 4));
    EXPECT_EQ(PrintedSizeTwips(QSizeF(100.5, 20.5), 11520), QSize(100, 20));
}

TEST_F(ServicesTest, PrintWindowGrabsAndPrintsOnePageAtPageWidth)
{
    QWidget window;
    window.setObjectName(QStringLiteral("mdiHealth"));
    window.resize(1000, 500);
    const QSizeF twips = vb::PixelsToTwips(window.size(), &window);
    doubles_.printer().setPageSizeTwips(QSizeF(twips.width() / 2, 15000));

    PrintWindow(&window);

    EXPECT_EQ(doubles_.capture().Grabbed(), QStringList{"mdiHealth"});
    ASSERT_EQ(doubles_.printer().Jobs().size(), 1u);
    const FakePrinter::Job& job = doubles_.printer().Jobs().front();
    EXPECT_EQ(job.sizeTwips, PrintedSizeTwips(twips, twips.width() / 2));
    EXPECT_EQ(job.sizeTwips.width() * 2, job.sizeTwips.height() * 4) << "proportions kept";
    EXPECT_EQ(job.image.size(), window.size());
}

TEST_F(ServicesTest, PrinterFailureReachesTheCallerWithItsText)
{
    QWidget window;
    window.resize(200, 100);
    doubles_.printer().setError(QStringLiteral("No printers are installed."));
    try {
        PrintWindow(&window);
        FAIL() << "expected a print error";
    } catch (const PrintError& error) {
        EXPECT_EQ(error.Description(), QStringLiteral("No printers are installed."));
    }
    EXPECT_TRUE(doubles_.printer().Jobs().empty());
}

TEST_F(ServicesTest, RealPrinterWritesThePageToAPdf)
{
    const QString pdf = folder_.filePath(QStringLiteral("page.pdf"));
    QtPrinter printer(pdf);
    const QSizeF page = printer.PageSizeTwips();
    EXPECT_GT(page.width(), 5000);
    EXPECT_GT(page.height(), page.width());
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::blue);
    printer.PrintImage(image, QSize(4500, 3000));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}

// ---------------------------------------------------------------------------------------------

TEST_F(ServicesTest, HelpTopicsMapToPagesUnderTheProgramFolder)
{
    const QString root = App::Path();
    EXPECT_EQ(HelpTopicFile(QStringLiteral("htm\\screenperson.htm")), root + QStringLiteral("/htm/screenperson.htm"));
    EXPECT_EQ(HelpTopicFile(QString()), root + QStringLiteral("/htm/index.htm")) << "no topic: the contents";
    EXPECT_EQ(HelpFolder(), root + QStringLiteral("/htm"));

    // Topic names were written for a file system that ignores case.
    const QString page = write(QStringLiteral("htm/ScreenMeasurement.htm"));
    EXPECT_EQ(HelpTopicFile(QStringLiteral("htm\\screenmeasurement.htm")), page);
    EXPECT_EQ(HelpTopicFile(QStringLiteral("HTM\\ScreenMeasurement.htm")), page);
}

TEST_F(ServicesTest, ShowHelpShowsThePageOrSaysWhichFileIsMissing)
{
    const QString page = write(QStringLiteral("htm/screenregimen.htm"));
    EXPECT_TRUE(ShowHelpTopic(QStringLiteral("htm\\screenregimen.htm")));
    EXPECT_EQ(doubles_.help().Pages(), QStringList{page});

    doubles_.messages().Answer(vb::vbOK);
    EXPECT_FALSE(ShowHelpTopic(QStringLiteral("htm\\BMI.htm")));
    ASSERT_EQ(doubles_.messages().Log().size(), 1u);
    const auto& box = doubles_.messages().Last();
    EXPECT_EQ(box.icon, vb::vbExclamation);
    EXPECT_EQ(box.title, App::Title());
    EXPECT_TRUE(box.text.contains(QStringLiteral("BMI.htm")));
    EXPECT_EQ(doubles_.help().Pages().size(), 1) << "nothing shown for a missing page";
}

TEST_F(ServicesTest, HelpWindowShowsTheTopicAndIsReused)
{
    const QString person = write(QStringLiteral("htm/screenperson.htm"), "<html><body><h1>Person</h1></body></html>");
    const QString grid = write(QStringLiteral("htm/screengrid.htm"), "<html><body><h1>Grid</h1></body></html>");
    HelpWindowViewer viewer;
    viewer.ShowPage(person);
    ASSERT_NE(viewer.Window(), nullptr);
    QWidget* window = viewer.Window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(viewer.Browser()->source().toLocalFile(), person);
    EXPECT_TRUE(viewer.Browser()->toPlainText().contains(QStringLiteral("Person")));
    viewer.ShowPage(grid);
    EXPECT_EQ(viewer.Window(), window);
    EXPECT_TRUE(viewer.Browser()->toPlainText().contains(QStringLiteral("Grid")));
}

// ---------------------------------------------------------------------------------------------

TEST(FileDialogTest, FiltersAndDefaultExtension)
{
    EXPECT_EQ(QtFilters(QStringLiteral("Database Files (*.mdb)|*.mdb")), QStringList{"Database Files (*.mdb)"});
    EXPECT_EQ(QtFilters(QStringLiteral("Comma Seperated Files (*.csv)|*.csv|Text Files (*.txt)|*.txt|All Files (*.*)|*.*")),
              (QStringList{"Comma Seperated Files (*.csv)", "Text Files (*.txt)", "All Files (*.*)"}));
    EXPECT_EQ(QtFilters(QStringLiteral("Pictures|*.jpg;*.png")), QStringList{"Pictures (*.jpg *.png)"});
    EXPECT_TRUE(QtFilters(QString()).isEmpty());

    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/backup"), QStringLiteral(".mdb")),
              QStringLiteral("/home/u/backup.mdb"));
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/backup.db"), QStringLiteral(".mdb")),
              QStringLiteral("/home/u/backup.db"));
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u.x/export"), QStringLiteral("txt")),
              QStringLiteral("/home/u.x/export.txt"));
}

TEST_F(ServicesTest, DialogDoublesAnswerFromTheirQueuesAndTellCancelApart)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Backup");
    request.filter = QStringLiteral("Database Files (*.mdb)|*.mdb");
    request.defaultExtension = QStringLiteral(".mdb");
    doubles_.fileDialogs().Choose(QStringLiteral("/tmp/copy"));
    doubles_.fileDialogs().Cancel();
    EXPECT_EQ(Current().fileDialogs->SaveFile(request), std::optional<QString>(QStringLiteral("/tmp/copy.mdb")));
    EXPECT_EQ(Current().fileDialogs->SaveFile(request), std::nullopt);
    ASSERT_EQ(doubles_.fileDialogs().Calls().size(), 2u);
    EXPECT_TRUE(doubles_.fileDialogs().Calls()[0].save);
    EXPECT_EQ(doubles_.fileDialogs().Calls()[0].request.filter, request.filter);

    doubles_.colorDialog().Choose(0x99FF99);
    EXPECT_EQ(Current().colorDialog->ChooseColor(0xFF, QString()), std::optional<vb::OLE_COLOR>(0x99FF99));
    EXPECT_EQ(doubles_.colorDialog().Calls(), std::vector<vb::OLE_COLOR>{0xFF});

    QStringList reported;
    doubles_.setOnUnexpected([&reported](const QString& message) { reported.append(message); });
    EXPECT_EQ(Current().fileDialogs->OpenFile(request), std::nullopt);
    EXPECT_EQ(Current().colorDialog->ChooseColor(0, QString()), std::nullopt);
    EXPECT_EQ(reported.size(), 2);
    EXPECT_EQ(doubles_.Errors(), reported);
}

// ---------------------------------------------------------------------------------------------

TEST(ServicesInstallTest, TestServicesPutThePreviousServicesBack)
{
    const std::shared_ptr<ShellService> before = Current().shell;
    const std::shared_ptr<vb::MessageService> messagesBefore = vb::Runtime().messages;
    {
        TestServices doubles;
        EXPECT_EQ(Current().shell.get(), &doubles.shell());
        EXPECT_EQ(vb::Runtime().messages.get(), &doubles.messages());
        EXPECT_TRUE(Current().shell->OpenFolder(QStringLiteral("/data/database")));
        ASSERT_EQ(doubles.shell().Calls().size(), 1u);
        EXPECT_EQ(doubles.shell().Calls()[0].verb, QStringLiteral("folder"));
    }
    EXPECT_EQ(Current().shell, before);
    EXPECT_EQ(vb::Runtime().messages, messagesBefore);
}

TEST(ShellTest, RealShellReportsAMissingFileWithoutOpeningAnything)
{
    DesktopShell shell;
    EXPECT_FALSE(shell.OpenFile(QStringLiteral("/nonexistent/Report.html")));
    EXPECT_FALSE(shell.OpenFolder(QStringLiteral("/nonexistent/database")));
}
