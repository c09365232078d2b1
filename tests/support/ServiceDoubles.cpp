#include "support/ServiceDoubles.h"

#include <QWidget>

namespace services {

namespace {

void Report(QStringList& errors, const vb::UnexpectedHook& hook, const QString& message)
{
    errors.append(message);
    if (hook)
        hook(message);
    else
        throw vb::UnexpectedDialog(message);
}

} // namespace

QSizeF FakePrinter::PageSizeTwips()
{
    if (!error_.isEmpty())
        throw PrintError(error_);
    return page_;
}

void FakePrinter::PrintImage(const QImage& image, const QSize& sizeTwips)
{
    if (!error_.isEmpty())
        throw PrintError(error_);
    jobs_.push_back(Job{image, sizeTwips});
}

QImage FakeCapture::Grab(QWidget* window)
{
    grabbed_.append(window->objectName());
    if (!image_.isNull())
        return image_;
    QImage image(window->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

std::optional<QString> FileDialogDouble::answer(bool save, const FileDialogRequest& request)
{
    calls_.push_back(Call{save, request});
    if (answers_.empty()) {
        Report(errors_, onUnexpected_,
               QStringLiteral("Unexpected %1 dialog \"%2\" (no answer queued)")
                   .arg(save ? QStringLiteral("save") : QStringLiteral("open"), request.title));
        return std::nullopt;
    }
    std::optional<QString> chosen = answers_.front();
    answers_.pop_front();
    if (chosen)
        chosen = WithDefaultExtension(*chosen, request.defaultExtension);
    return chosen;
}

std::optional<vb::OLE_COLOR> ColorDialogDouble::ChooseColor(vb::OLE_COLOR initial, const QString& title)
{
    calls_.push_back(initial);
    if (answers_.empty()) {
        Report(errors_, onUnexpected_, QStringLiteral("Unexpected colour dialog \"%1\" (no answer queued)").arg(title));
        return std::nullopt;
    }
    const std::optional<vb::OLE_COLOR> chosen = answers_.front();
    answers_.pop_front();
    return chosen;
}

TestServices::TestServices()
    : previous_(Current()), shell_(std::make_shared<ShellDouble>()), help_(std::make_shared<HelpDouble>()),
      printer_(std::make_shared<FakePrinter>()), capture_(std::make_shared<FakeCapture>()),
      locale_(std::make_shared<FixedLocale>()), fileDialogs_(std::make_shared<FileDialogDouble>()),
      colorDialog_(std::make_shared<ColorDialogDouble>())
{
    Services& s = Current();
    s.shell = shell_;
    s.help = help_;
    s.printer = printer_;
    s.capture = capture_;
    s.locale = locale_;
    s.fileDialogs = fileDialogs_;
    s.colorDialog = colorDialog_;
}

TestServices::~TestServices() { Current() = previous_; }

void TestServices::setOnUnexpected(const vb::UnexpectedHook& hook)
{
    runtime_.setOnUnexpected(hook);
    fileDialogs_->setOnUnexpected(hook);
    colorDialog_->setOnUnexpected(hook);
}

QStringList TestServices::Errors() const { return runtime_.Errors() + fileDialogs_->Errors() + colorDialog_->Errors(); }

} // namespace services
