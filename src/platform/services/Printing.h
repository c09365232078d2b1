#pragma once
// Printing a picture of a window: the window is grabbed (QWidget::grab, no clipboard), then
// drawn at the top left corner of one page, scaled down to the page width when the window is
// wider than the page. Sizes are in twips, the window's at the screen's resolution.
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <stdexcept>

class QWidget;

namespace services {

// A printing failure; its text is what the user is shown.
class PrintError : public std::runtime_error {
public:
    explicit PrintError(const QString& description) : std::runtime_error(description.toStdString()) {}
    QString Description() const { return QString::fromStdString(what()); }
};

class PrinterService {
public:
    virtual ~PrinterService() = default;
    // The printable width and height of the page, in twips. Throws PrintError without a printer.
    virtual QSizeF PageSizeTwips() = 0;
    // Prints the image at the page's top left corner in the given size (twips) as one page.
    // Throws PrintError.
    virtual void PrintImage(const QImage& image, const QSize& sizeTwips) = 0;
};

class ScreenCapture {
public:
    virtual ~ScreenCapture() = default;
    // A picture of the window as it is on screen.
    virtual QImage Grab(QWidget* window) = 0;
};

// The printed size of a window: its own size when it fits the page width, otherwise the page
// width with the window's proportions kept; both rounded to whole twips, halves to even.
QSize PrintedSizeTwips(const QSizeF& windowTwips, double pageWidthTwips);

// Grabs the window and prints it by the rule above through the installed printer and capture.
// Throws PrintError.
void PrintWindow(QWidget* window);

// The default printer, without a dialog, or a PDF file when one is named (for checking the
// output without a print system).
class QtPrinter : public PrinterService {
public:
    QtPrinter() = default;
    explicit QtPrinter(const QString& pdfFile) : pdfFile_(pdfFile) {}
    QSizeF PageSizeTwips() override;
    void PrintImage(const QImage& image, const QSize& sizeTwips) override;

private:
    QString pdfFile_;
};

class WidgetCapture : public ScreenCapture {
public:
    QImage Grab(QWidget* window) override;
};

} // namespace services
