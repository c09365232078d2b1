#include "platform/runtime/App.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Put the executable's folder back for whatever test runs next.
struct PathReset {
    ~PathReset() { App::setPath({}); }
};

TEST(App, PathIsTheExecutableFolderWithoutTrailingSlash)
{
    const PathReset reset;
    App::setPath({});
    const QString path = App::Path();
    EXPECT_FALSE(path.endsWith(u'/')) << path.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral("/test_runtime"))) << path.toStdString();
}

TEST(App, SameFolderOnceTheApplicationObjectExists)
{
    const PathReset reset;
    const QString before = App::Path();
    int argc = 1;
    QByteArray name = QFile::encodeName(before + QStringLiteral("/test_runtime"));
    char* argv[] = {name.data(), nullptr};
    const QCoreApplication app(argc, argv);
    EXPECT_EQ(App::Path(), before);
}

TEST(App, TestsCanPointItAtAProgramFolder)
{
    const PathReset reset;
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    App::setPath(folder.path() + u'/');
    EXPECT_EQ(App::Path(), QDir::cleanPath(folder.path()));
    App::setPath({});
    EXPECT_NE(App::Path(), QDir::cleanPath(folder.path()));
}

} // namespace
