#include "platform/services/Help.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/Twips.h"
#include "platform/services/Services.h"
#include "platform/services/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace services {

namespace {

// The entry of a folder whose name matches ignoring case, or the name as given.
QString MatchName(const QString& folder, const QString& name)
{
    if (QFileInfo::exists(folder + QLatin1Char('/') + name))
        return name;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

QString HelpFolder() { return App::Path() + QStringLiteral("/htm"); }

QString HelpTopicFile(const QString& topic)
{
    QString relative = topic.trimmed();
    if (relative.isEmpty())
        relative = QString::fromLatin1(HelpContentsTopic);
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString path = App::Path();
    for (const QString& part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        path += QLatin1Char('/') + MatchName(path, part);
    return path;
}

QString HelpMissingText(const QString& file)
{
    return QStringLiteral("The Help page cannot be found:") + QStringLiteral("\r\n") + QDir::toNativeSeparators(file) +
           QStringLiteral("\r\n") + QStringLiteral("The help pages are installed with the program in the folder \"htm\" ") +
           QStringLiteral("of the program's folder.");
}

bool ShowHelpTopic(const QString& topic)
{
    const QString file = HelpTopicFile(topic);
    if (!QFileInfo(file).isFile()) {
        vb::MsgBox(HelpMissingText(file), vb::vbExclamation);
        return false;
    }
    Current().help->ShowPage(file);
    return true;
}

HelpWindowViewer::HelpWindowViewer() = default;

HelpWindowViewer::~HelpWindowViewer()
{
    // Once the application object is gone a widget can no longer be destroyed; the process is
    // ending then anyway.
    if (!QCoreApplication::instance())
        (void)window_.release();
}

QWidget* HelpWindowViewer::Window() const { return window_.get(); }

void HelpWindowViewer::ShowPage(const QString& file)
{
    if (!window_) {
        window_ = std::make_unique<QWidget>(nullptr, Qt::Window);
        window_->setObjectName(QStringLiteral("Main"));
        window_->setWindowTitle(App::Title() + QStringLiteral(" Help"));
        auto* layout = new QVBoxLayout(window_.get());
        layout->setContentsMargins(0, 0, 0, 0);
        browser_ = new QTextBrowser(window_.get());
        browser_->setObjectName(QStringLiteral("HelpBrowser"));
        // Addresses outside the help pages go to the user's browser, and the user is told when
        // the desktop has none.
        browser_->setOpenLinks(false);
        QObject::connect(browser_, &QTextBrowser::anchorClicked, browser_, [browser = browser_.data()](const QUrl& link) {
            const QUrl url = browser->source().resolved(link);
            if (url.isLocalFile())
                browser->setSource(url);
            else
                OpenOrTell(OpenTarget::Address, url.toString());
        });
        layout->addWidget(browser_);
        window_->resize(vb::TwipsToPixels(QSizeF(10800, 9000), window_.get()));
    }
    browser_->setSource(QUrl::fromLocalFile(file));
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace services
