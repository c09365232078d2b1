#include "records/frmMemo.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The file's text as the box shows it: the line break every save adds after the text is not
// part of it, and line breaks are the box's own "\n". A file that is not UTF-8 was written by
// an older version in the ANSI code page.
QString memoText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.endsWith(kLineBreak))
        text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    text.replace(kLineBreak, QStringLiteral("\n"));
    return text;
}

} // namespace

frmMemo::frmMemo(QWidget* parent) : vb::Form(QStringLiteral("frmMemo"), parent)
{
    setCaption(QStringLiteral("Memo"));
    setMDIChild(true);

    txtMemo = new QPlainTextEdit(this);
    txtMemo->setObjectName(QStringLiteral("txtMemo"));
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(10);
    txtMemo->setFont(font);
    connect(txtMemo, &QPlainTextEdit::textChanged, this, [this] { txtMemo_Change(); });

    // The box fills the form at every size.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtMemo);
    resize(480, 320);
}

frmMemo::~frmMemo() = default;

QString frmMemo::DefaultText() { return QStringLiteral("This space might be used as a memo."); }

QString frmMemo::MemoPath() { return QDir(App::Path()).filePath(QStringLiteral("Memo.txt")); }

void frmMemo::Form_Load()
{
    const QString path = MemoPath();
    if (!QFileInfo::exists(path)) {
        loading_ = true;
        txtMemo->setPlainText(DefaultText());
        loading_ = false;
        SaveMemo();
        // The default text is no change of the user's, saved or not.
        dirty_ = false;
        return;
    }
    QString text;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        vb::MsgBox(QStringLiteral("The memo could not be read from the file\r\n") + QDir::toNativeSeparators(path) + kLineBreak +
                       file.errorString(),
                   vb::vbOKOnly | vb::vbExclamation);
    } else {
        text = memoText(file.readAll());
    }
    loading_ = true;
    txtMemo->setPlainText(text);
    loading_ = false;
    dirty_ = false;
}

void frmMemo::txtMemo_Change()
{
    if (loading_)
        return;
    dirty_ = true;
    emit memoChanged();
}

bool frmMemo::SaveMemo()
{
    const QString path = MemoPath();
    QString text = txtMemo->toPlainText();
    text.replace(QLatin1Char('\n'), kLineBreak);
    text += kLineBreak;
    const QByteArray bytes = text.toUtf8();

    // Written beside the file and renamed over it: a failed save leaves the old memo whole.
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written)
        written = file.write(bytes) == bytes.size();
    if (written)
        written = file.commit();
    if (!written) {
        const QString reason = file.errorString();
        file.cancelWriting();
        vb::MsgBox(QStringLiteral("The memo could not be saved to the file\r\n") + QDir::toNativeSeparators(path) + kLineBreak +
                       reason + QStringLiteral("\r\nYour text is still in the memo."),
                   vb::vbOKOnly | vb::vbExclamation);
        return false;
    }
    dirty_ = false;
    emit memoSaved();
    return true;
}

void frmMemo::Form_QueryUnload(int& cancel, int /*unloadMode*/)
{
    if (dirty_) {
        const int answer = vb::MsgBox(QStringLiteral("Text in the Memo has been changed.\r\nDo you want to save the changes."),
                                      vb::vbYesNoCancel | vb::vbExclamation | vb::vbDefaultButton1);
        if (answer == vb::vbCancel) {
            cancel = 1;
            return;
        }
        // A save that failed keeps the memo open with its text.
        if (answer == vb::vbYes && !SaveMemo()) {
            cancel = 1;
            return;
        }
    }
    emit memoClosing();
}
