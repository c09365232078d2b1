#pragma once
// Doubles of the platform services for tests and benchmarks, and TestServices, which installs a
// fresh set of them together with the runtime's doubles and restores the previous services when
// it goes.
// The file and colour dialog doubles answer from queues; a dialog with nothing queued is an
// error reported like an unexpected message box (see vb::RuntimeDoubles).
#include "platform/services/Dialogs.h"
#include "platform/services/Help.h"
#include "platform/services/Locale.h"
#include "platform/services/Printing.h"
#include "platform/services/Services.h"
#include "platform/services/Shell.h"
#include "support/RuntimeDoubles.h"

#include <QImage>
#include <QSizeF>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace services {

// Records what would have been opened; answers with the result set (true unless changed).
class ShellDouble : public ShellService {
public:
    struct Call {
        QString verb; // "file", "text", "folder" or "web"
        QString target;
    };
    bool OpenFile(const QString& path) override { return record(QStringLiteral("file"), path); }
    bool OpenTextFile(const QString& path) override { return record(QStringLiteral("text"), path); }
    bool OpenFolder(const QString& path) override { return record(QStringLiteral("folder"), path); }
    bool OpenWebAddress(const QString& address) override { return record(QStringLiteral("web"), address); }
    const std::vector<Call>& Calls() const { return calls_; }
    void setResult(bool result) { result_ = result; }

private:
    bool record(const QString& verb, const QString& target)
    {
        calls_.push_back(Call{verb, target});
        return result_;
    }
    std::vector<Call> calls_;
    bool result_ = true;
};

class HelpDouble : public HelpViewer {
public:
    void ShowPage(const QString& file) override { pages_.append(file); }
    const QStringList& Pages() const { return pages_; }

private:
    QStringList pages_;
};

// A printer with a fixed page (8 by 10.5 inches printable unless set) that keeps its jobs, or
// fails every call with the error text set.
class FakePrinter : public PrinterService {
public:
    struct Job {
        QImage image;
        QSize sizeTwips;
    };
    void setPageSizeTwips(const QSizeF& size) { page_ = size; }
    void setError(const QString& description) { error_ = description; }
    QSizeF PageSizeTwips() override;
    void PrintImage(const QImage& image, const QSize& sizeTwips) override;
    const std::vector<Job>& Jobs() const { return jobs_; }

private:
    QSizeF page_{11520, 15120};
    QString error_;
    std::vector<Job> jobs_;
};

// Gives a plain image of the window's size (or the image set) and records the windows grabbed.
class FakeCapture : public ScreenCapture {
public:
    QImage Grab(QWidget* window) override;
    void setImage(const QImage& image) { image_ = image; }
    const QStringList& Grabbed() const { return grabbed_; }

private:
    QImage image_;
    QStringList grabbed_;
};

class FixedLocale : public LocaleService {
public:
    FixedLocale(const QString& pattern = QStringLiteral("M/d/yyyy"), const QString& separator = QStringLiteral("/"))
        : pattern_(pattern), separator_(separator)
    {}
    void Set(const QString& pattern, const QString& separator)
    {
        pattern_ = pattern;
        separator_ = separator;
    }
    QString ShortDatePattern() override { return pattern_; }
    QString DateSeparator() override { return separator_; }

private:
    QString pattern_;
    QString separator_;
};

class FileDialogDouble : public FileDialogService {
public:
    struct Call {
        bool save = false;
        FileDialogRequest request;
    };
    // Queues the next dialog's answer: a full path (the default extension is added as the real
    // dialog adds it), or Cancel().
    void Choose(const QString& path) { answers_.push_back(path); }
    void Cancel() { answers_.push_back(std::nullopt); }
    int Pending() const { return static_cast<int>(answers_.size()); }
    const std::vector<Call>& Calls() const { return calls_; }
    const QStringList& Errors() const { return errors_; }
    void setOnUnexpected(vb::UnexpectedHook hook) { onUnexpected_ = std::move(hook); }

    std::optional<QString> SaveFile(const FileDialogRequest& request) override { return answer(true, request); }
    std::optional<QString> OpenFile(const FileDialogRequest& request) override { return answer(false, request); }

private:
    std::optional<QString> answer(bool save, const FileDialogRequest& request);
    std::deque<std::optional<QString>> answers_;
    std::vector<Call> calls_;
    QStringList errors_;
    vb::UnexpectedHook onUnexpected_;
};

class ColorDialogDouble : public ColorDialogService {
public:
    void Choose(vb::OLE_COLOR color) { answers_.push_back(color); }
    void Cancel() { answers_.push_back(std::nullopt); }
    int Pending() const { return static_cast<int>(answers_.size()); }
    // The starting colours the dialog was opened with.
    const std::vector<vb::OLE_COLOR>& Calls() const { return calls_; }
    const QStringList& Errors() const { return errors_; }
    void setOnUnexpected(vb::UnexpectedHook hook) { onUnexpected_ = std::move(hook); }

    std::optional<vb::OLE_COLOR> ChooseColor(vb::OLE_COLOR initial, const QString& title) override;

private:
    std::deque<std::optional<vb::OLE_COLOR>> answers_;
    std::vector<vb::OLE_COLOR> calls_;
    QStringList errors_;
    vb::UnexpectedHook onUnexpected_;
};

class TestServices {
public:
    TestServices();
    ~TestServices();
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;

    vb::RuntimeDoubles& runtime() { return runtime_; }
    vb::MsgBoxDouble& messages() { return runtime_.messages(); }
    vb::ModalDouble& modal() { return runtime_.modal(); }
    ShellDouble& shell() { return *shell_; }
    HelpDouble& help() { return *help_; }
    FakePrinter& printer() { return *printer_; }
    FakeCapture& capture() { return *capture_; }
    FixedLocale& locale() { return *locale_; }
    FileDialogDouble& fileDialogs() { return *fileDialogs_; }
    ColorDialogDouble& colorDialog() { return *colorDialog_; }

    // Sets the unexpected-dialog hook of every strict double.
    void setOnUnexpected(const vb::UnexpectedHook& hook);
    QStringList Errors() const;

private:
    vb::RuntimeDoubles runtime_;
    Services previous_;
    std::shared_ptr<ShellDouble> shell_;
    std::shared_ptr<HelpDouble> help_;
    std::shared_ptr<FakePrinter> printer_;
    std::shared_ptr<FakeCapture> capture_;
    std::shared_ptr<FixedLocale> locale_;
    std::shared_ptr<FileDialogDouble> fileDialogs_;
    std::shared_ptr<ColorDialogDouble> colorDialog_;
};

} // namespace services
