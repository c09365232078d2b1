#pragma once
// Colours as the program keeps them: 32-bit codes in BGR order (&H99FF99 is red 0x99, green
// 0xFF, blue 0x99), and system colours &H800000nn resolved through the application's palette.
// Codes read from the database arrive as signed 32-bit numbers; pass them through ColorCode().
#include <QColor>
#include <QPalette>
#include <QtGlobal>

class QWidget;

namespace vb {

using OLE_COLOR = quint32;

constexpr OLE_COLOR RGB(int red, int green, int blue)
{
    return static_cast<OLE_COLOR>(red & 0xFF) | (static_cast<OLE_COLOR>(green & 0xFF) << 8) |
           (static_cast<OLE_COLOR>(blue & 0xFF) << 16);
}

// A stored colour number (signed or not) as a colour code.
constexpr OLE_COLOR ColorCode(qint64 stored) { return static_cast<OLE_COLOR>(stored & 0xFFFFFFFF); }

constexpr OLE_COLOR vbBlack = 0x000000;
constexpr OLE_COLOR vbRed = 0x0000FF;
constexpr OLE_COLOR vbGreen = 0x00FF00;
constexpr OLE_COLOR vbYellow = 0x00FFFF;
constexpr OLE_COLOR vbBlue = 0xFF0000;
constexpr OLE_COLOR vbMagenta = 0xFF00FF;
constexpr OLE_COLOR vbCyan = 0xFFFF00;
constexpr OLE_COLOR vbWhite = 0xFFFFFF;

// System colours.
constexpr OLE_COLOR vbScrollBars = 0x80000000;
constexpr OLE_COLOR vbDesktop = 0x80000001;
constexpr OLE_COLOR vbActiveTitleBar = 0x80000002;
constexpr OLE_COLOR vbInactiveTitleBar = 0x80000003;
constexpr OLE_COLOR vbMenuBar = 0x80000004;
constexpr OLE_COLOR vbWindowBackground = 0x80000005;
constexpr OLE_COLOR vbWindowFrame = 0x80000006;
constexpr OLE_COLOR vbMenuText = 0x80000007;
constexpr OLE_COLOR vbWindowText = 0x80000008;
constexpr OLE_COLOR vbTitleBarText = 0x80000009;
constexpr OLE_COLOR vbActiveBorder = 0x8000000A;
constexpr OLE_COLOR vbInactiveBorder = 0x8000000B;
constexpr OLE_COLOR vbApplicationWorkspace = 0x8000000C;
constexpr OLE_COLOR vbHighlight = 0x8000000D;
constexpr OLE_COLOR vbHighlightText = 0x8000000E;
constexpr OLE_COLOR vbButtonFace = 0x8000000F;
constexpr OLE_COLOR vbButtonShadow = 0x80000010;
constexpr OLE_COLOR vbGrayText = 0x80000011;
constexpr OLE_COLOR vbButtonText = 0x80000012;
constexpr OLE_COLOR vbInactiveCaptionText = 0x80000013;
constexpr OLE_COLOR vb3DHighlight = 0x80000014;
constexpr OLE_COLOR vb3DDKShadow = 0x80000015;
constexpr OLE_COLOR vb3DLight = 0x80000016;
constexpr OLE_COLOR vbInfoText = 0x80000017;
constexpr OLE_COLOR vbInfoBackground = 0x80000018;

constexpr bool IsSystemColor(OLE_COLOR code) { return (code & 0xFF000000) == 0x80000000; }

// The colour of a code; system colours come from the palette (the application's by default).
QColor ColorFromCode(OLE_COLOR code);
QColor ColorFromCode(OLE_COLOR code, const QPalette& palette);
// The BGR code of a colour (alpha dropped).
OLE_COLOR CodeFromColor(const QColor& color);

// A control's BackColor and ForeColor. The back colour fills the widget's background and its
// text-entry area; the fore colour is its text.
void SetBackColor(QWidget* widget, OLE_COLOR code);
void SetForeColor(QWidget* widget, OLE_COLOR code);
OLE_COLOR BackColor(const QWidget* widget);
OLE_COLOR ForeColor(const QWidget* widget);

} // namespace vb
