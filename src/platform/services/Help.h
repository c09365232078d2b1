#pragma once
// The help pages: HTML topics in the folder "htm" under the program's folder, shown in the
// program's own help window. A topic is named as the forms name it ("htm\screenperson.htm");
// the empty topic is the contents page.
#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <QWidget>

#include <memory>

namespace services {

// The contents page, shown for the empty topic.
inline constexpr const char* HelpContentsTopic = "htm\\index.htm";

// The folder of the help pages.
QString HelpFolder();
// The page file of a topic: the topic's folder and name under the program's folder, "\" read as
// "/". Letter case is forgiven when only a differently cased file exists (the topic names were
// written for a file system that ignores case).
QString HelpTopicFile(const QString& topic);
// The text shown when a topic's page is missing.
QString HelpMissingText(const QString& file);

// Shows the topic's page; when the page is missing the user is told which file is missing
// (exclamation box) and false is returned.
bool ShowHelpTopic(const QString& topic);

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Shows an existing page file.
    virtual void ShowPage(const QString& file) = 0;
};

// A help window of the program's own (a text browser that follows the pages' links), made on
// first use and brought to the front for every topic.
class HelpWindowViewer : public HelpViewer {
public:
    HelpWindowViewer();
    ~HelpWindowViewer() override;
    HelpWindowViewer(const HelpWindowViewer&) = delete;
    HelpWindowViewer& operator=(const HelpWindowViewer&) = delete;

    void ShowPage(const QString& file) override;
    // The window, once a page was shown (tests read the page shown).
    QWidget* Window() const;
    QTextBrowser* Browser() const { return browser_; }

private:
    std::unique_ptr<QWidget> window_;
    QPointer<QTextBrowser> browser_;
};

} // namespace services
