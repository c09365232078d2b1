// Colour codes in BGR order, system colours through the palette, and twips at the screen's DPI.
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/Twips.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace vb;

TEST(ColorCodeTest, CodesAreBlueGreenRed)
{
    EXPECT_EQ(ColorFromCode(0x99FF99), QColor(0x99, 0xFF, 0x99));
    EXPECT_EQ(ColorFromCode(0x9999FF), QColor(0xFF, 0x99, 0x99)) << "&H9999FF is a light red";
    EXPECT_EQ(ColorFromCode(0xC00000), QColor(0x00, 0x00, 0xC0)) << "&HC00000 is dark blue";
    EXPECT_EQ(ColorFromCode(0xFFFF00), QColor(0x00, 0xFF, 0xFF));
    EXPECT_EQ(ColorFromCode(vbRed), QColor(Qt::red));
    EXPECT_EQ(CodeFromColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412u);
    for (OLE_COLOR code : {0x000000u, 0xFFFFFFu, 0x99FFFFu, 0xFF00u, 0x123456u})
        EXPECT_EQ(CodeFromColor(ColorFromCode(code)), code);
}

TEST(ColorCodeTest, SystemColoursComeFromThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Base, QColor(4, 5, 6));
    palette.setColor(QPalette::Text, QColor(7, 8, 9));
    EXPECT_EQ(ColorFromCode(vbButtonFace, palette), QColor(1, 2, 3));
    EXPECT_EQ(ColorFromCode(0x80000005, palette), QColor(4, 5, 6));
    EXPECT_EQ(ColorFromCode(vbWindowText, palette), QColor(7, 8, 9));
    EXPECT_TRUE(IsSystemColor(0x8000000F));
    EXPECT_FALSE(IsSystemColor(0xFFFFFF));
    // A colour stored as a signed 32-bit number.
    EXPECT_EQ(ColorCode(-2147483633), vbButtonFace);
    EXPECT_EQ(ColorCode(0x99FF99), 0x99FF99u);
}

TEST(ColorCodeTest, BackAndForeColourOfAControl)
{
    QLineEdit box;
    SetBackColor(&box, 0x99FF99);
    SetForeColor(&box, 0xC00000);
    EXPECT_EQ(box.palette().color(QPalette::Base), QColor(0x99, 0xFF, 0x99));
    EXPECT_EQ(box.palette().color(QPalette::Text), QColor(0, 0, 0xC0));
    SetBackColor(&box, vbButtonFace);
    EXPECT_EQ(box.palette().color(QPalette::Base), QGuiApplication::palette().color(QPalette::Button));
}

TEST(TwipsTest, ConversionsAtAGivenResolution)
{
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(TwipsToPixels(15, 96), 1);
    EXPECT_EQ(TwipsToPixels(10600, 96), 707);
    EXPECT_EQ(TwipsToPixels(7950, 96), 530);
    EXPECT_EQ(TwipsToPixels(10600, 120), 883);
    EXPECT_EQ(TwipsToPixels(7, 96), 0);
    EXPECT_EQ(TwipsToPixels(8, 96), 1);
    EXPECT_DOUBLE_EQ(PixelsToTwips(1, 96), 15.0);
    EXPECT_DOUBLE_EQ(PixelsToTwips(96, 144), 960.0);
}

TEST(TwipsTest, ScreenResolutionIsUsed)
{
    const double dpi = ScreenDpiX();
    ASSERT_GT(dpi, 0.0);
    EXPECT_DOUBLE_EQ(TwipsPerPixelX(), 1440.0 / dpi);
    EXPECT_EQ(TwipsToPixelsX(5685), TwipsToPixels(5685, dpi));
    EXPECT_EQ(TwipsToPixels(QSizeF(1440, 2880)), QSize(TwipsToPixels(1440, dpi), TwipsToPixels(2880, ScreenDpiY())));
}
