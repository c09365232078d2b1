#pragma once
// The memo: one free text for the whole program, kept in "Memo.txt" in the program's folder.
// It lives beside the data forms in the main window and asks before unsaved text is lost. The
// main window's memo commands follow its signals.
#include "platform/runtime/ui/Form.h"

#include <QString>

class QPlainTextEdit;

class frmMemo : public vb::Form {
    Q_OBJECT
public:
    explicit frmMemo(QWidget* parent = nullptr);
    ~frmMemo() override;

    // The text a new memo starts with.
    static QString DefaultText();
    // The memo file: App::Path() + "/Memo.txt".
    static QString MemoPath();

    QPlainTextEdit* txtMemo;

    // Writes the text, followed by one CR LF, to the memo file as UTF-8 (the file is replaced
    // whole or not at all). On success the memo is clean and true is returned; on failure the
    // user is told why and the memo stays changed.
    bool SaveMemo();
    // Whether the text was changed since it was loaded or saved.
    bool Dirty() const { return dirty_; }

    void txtMemo_Change();

signals:
    // The user changed the text (the save command comes on).
    void memoChanged();
    // A save wrote the file (the save command goes off).
    void memoSaved();
    // The closing goes ahead, after the question (the open command comes back, save and exit go).
    void memoClosing();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    bool dirty_ = false;
    bool loading_ = false; // the load's own text is no change
};
