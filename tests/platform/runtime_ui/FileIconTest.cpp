// Icons over picture files read on demand: the picture chosen for a size, never larger than
// asked, files that cannot be read left out, and nothing read before a size is asked for.
#include "platform/runtime/ui/FileIcon.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FileIconTest : public ::testing::Test {
protected:
    // A square picture of one colour, saved as PNG.
    QString picture(int side, QColor colour)
    {
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(colour);
        const QString file = dir_.filePath(QStringLiteral("icon-%1.png").arg(side));
        EXPECT_TRUE(image.save(file));
        return file;
    }
    QColor centre(const QPixmap& pm) { return pm.toImage().pixelColor(pm.width() / 2, pm.height() / 2); }

    QTemporaryDir dir_;
};

TEST_F(FileIconTest, EachSizeTakesTheSmallestPictureThatCoversItScaledDownToFit)
{
    const QIcon icon = vb::FileIcon({picture(256, Qt::blue), picture(64, Qt::red)});
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ((QList<QSize>{QSize(64, 64), QSize(256, 256)}), icon.availableSizes());
    struct Case {
        int asked;
        int side;
        QColor from;
    };
    const Case cases[] = {
        {16, 16, Qt::red},    {64, 64, Qt::red},    {65, 65, Qt::blue},
        {128, 128, Qt::blue}, {256, 256, Qt::blue}, {512, 256, Qt::blue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        const QPixmap pm = icon.pixmap(QSize(c.asked, c.asked));
        EXPECT_EQ(QSize(c.side, c.side), pm.size());
        EXPECT_EQ(c.from, centre(pm));
        EXPECT_EQ(QSize(c.side, c.side), icon.actualSize(QSize(c.asked, c.asked)));
    }
}

TEST_F(FileIconTest, APictureIsReadWhenFirstAskedForAndKeptByEveryCopy)
{
    const QString file = picture(64, Qt::red);
    const QIcon icon = vb::FileIcon({file});
    const QIcon copy = icon;
    // Replaced before any size was asked for: the icon shows the new picture.
    ASSERT_TRUE(QFile::remove(file));
    picture(64, Qt::green);
    EXPECT_EQ(QColor(Qt::green), centre(icon.pixmap(64)));
    // Read once: a later change of the file is not seen, by the icon or its copy.
    ASSERT_TRUE(QFile::remove(file));
    picture(64, Qt::blue);
    EXPECT_EQ(QColor(Qt::green), centre(copy.pixmap(64)));
}

TEST_F(FileIconTest, FilesThatCannotBeReadAreLeftOut)
{
    const QString missing = dir_.filePath(QStringLiteral("missing.png"));
    QFile text(dir_.filePath(QStringLiteral("not-a-picture.png")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("text");
    text.close();
    EXPECT_TRUE(vb::FileIcon({missing, text.fileName()}).isNull());
    EXPECT_TRUE(vb::FileIcon({}).isNull());
    const QIcon icon = vb::FileIcon({missing, picture(32, Qt::red)});
    EXPECT_EQ((QList<QSize>{QSize(32, 32)}), icon.availableSizes());
}

TEST_F(FileIconTest, TheDisabledLookIsTheStyles)
{
    const QIcon icon = vb::FileIcon({picture(24, Qt::red)});
    const QImage normal = icon.pixmap(24, QIcon::Normal).toImage();
    const QImage disabled = icon.pixmap(24, QIcon::Disabled).toImage();
    EXPECT_EQ(normal.size(), disabled.size());
    EXPECT_NE(normal, disabled);
}

} // namespace
