#pragma once
// The memo's tests (its own and the main window's): the memo file read and written directly,
// the question on closing changed text, and whether the memo is open.
#include "records/RecordsFixture.h"
#include "records/frmMemo.h"

#include "support/FileBytes.h"

#include <QPlainTextEdit>

namespace testing_records {

inline const QString kMemoQuestion = QStringLiteral("Text in the Memo has been changed.\r\nDo you want to save the changes.");

class MemoFixture : public RecordsFixture {
protected:
    static QByteArray fileBytes() { return testing_files::readBytes(frmMemo::MemoPath()); }
    static void writeFile(const QByteArray& bytes) { ASSERT_TRUE(testing_files::writeBytes(frmMemo::MemoPath(), bytes)); }
    static frmMemo& openMemo()
    {
        frmMemo& memo = vb::defaultInstance<frmMemo>();
        memo.Load();
        return memo;
    }
    static bool memoLoaded() { return vb::Forms().Find(QStringLiteral("frmMemo")) != nullptr; }
};

} // namespace testing_records
