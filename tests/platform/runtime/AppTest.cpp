#include "platform/runtime/App.h"

#include <QFileInfo>

#include <gtest/gtest.h>

TEST(App, PathIsTheExecutableFolder)
{
    App::setPath({});
    const QString path = App::Path();
    EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral("/test_runtime"))) << path.toStdString();
}
