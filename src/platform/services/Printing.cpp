#include "platform/services/Printing.h"

#include "platform/runtime/ui/Twips.h"
#include "platform/services/Services.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include <cmath>

namespace services {

namespace {

constexpr double TwipsPerPoint = 20.0;

// Rounds half to even, as the printed sizes are rounded.
int RoundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

void Configure(QPrinter& printer, const QString& pdfFile)
{
    if (!pdfFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile);
        return;
    }
    if (QPrinterInfo::availablePrinters().isEmpty())
        throw PrintError(QStringLiteral("No printers are installed."));
    const QPrinterInfo preferred = QPrinterInfo::defaultPrinter();
    if (!preferred.isNull())
        printer.setPrinterName(preferred.printerName());
}

} // namespace

QSize PrintedSizeTwips(const QSizeF& windowTwips, double pageWidthTwips)
{
    if (pageWidthTwips < windowTwips.width() && windowTwips.width() > 0) {
        const double height = pageWidthTwips / windowTwips.width() * windowTwips.height();
        return {RoundEven(pageWidthTwips), RoundEven(height)};
    }
    return {RoundEven(windowTwips.width()), RoundEven(windowTwips.height())};
}

void PrintWindow(QWidget* window)
{
    if (!window)
        throw PrintError(QStringLiteral("There is no window to print."));
    Services& services = Current();
    const QImage picture = services.capture->Grab(window);
    if (picture.isNull())
        throw PrintError(QStringLiteral("The picture of the window could not be taken."));
    const QSizeF windowTwips = vb::PixelsToTwips(window->size(), window);
    const QSizeF page = services.printer->PageSizeTwips();
    services.printer->PrintImage(picture, PrintedSizeTwips(windowTwips, page.width()));
}

QSizeF QtPrinter::PageSizeTwips()
{
    QPrinter printer(QPrinter::HighResolution);
    Configure(printer, pdfFile_);
    return printer.pageLayout().paintRect(QPageLayout::Point).size() * TwipsPerPoint;
}

void QtPrinter::PrintImage(const QImage& image, const QSize& sizeTwips)
{
    QPrinter printer(QPrinter::HighResolution);
    Configure(printer, pdfFile_);
    QPainter painter;
    if (!painter.begin(&printer))
        throw PrintError(QStringLiteral("The printer could not be started."));
    const QRect target(0, 0, vb::TwipsToPixels(sizeTwips.width(), printer.logicalDpiX()),
                       vb::TwipsToPixels(sizeTwips.height(), printer.logicalDpiY()));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
    if (!painter.end())
        throw PrintError(QStringLiteral("The page could not be printed."));
}

QImage WidgetCapture::Grab(QWidget* window) { return window->grab().toImage(); }

} // namespace services
