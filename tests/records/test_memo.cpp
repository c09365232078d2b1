// The memo: its file (first start, save, reload without growth, UTF-8), the question on
// closing changed text, and saves that fail.
#include "records/MemoFixture.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QDir>
#include <QFile>

namespace {

using MemoTest = testing_records::MemoFixture;

TEST_F(MemoTest, FirstOpenWritesTheDefaultTextAndEveryChangeMakesItDirty)
{
    ASSERT_FALSE(QFile::exists(frmMemo::MemoPath()));
    frmMemo& memo = openMemo();
    EXPECT_EQ(QStringLiteral("This space might be used as a memo."), memo.txtMemo->toPlainText());
    EXPECT_EQ(QByteArray("This space might be used as a memo.\r\n"), fileBytes());
    EXPECT_FALSE(memo.Dirty());
    EXPECT_EQ(QStringLiteral("Memo"), memo.Caption());

    memo.txtMemo->appendPlainText(QStringLiteral("more"));
    EXPECT_TRUE(memo.Dirty());
    EXPECT_TRUE(memo.SaveMemo());
    EXPECT_FALSE(memo.Dirty());
}

TEST_F(MemoTest, SavedTextReloadsExactlyAndTheFileDoesNotGrow)
{
    const QString text = QStringLiteral("Doctor on Tuesday \u2014 na\u00efve \u2713\n\nthird line  \n");
    const QByteArray expected = QStringLiteral("Doctor on Tuesday \u2014 na\u00efve \u2713\r\n\r\nthird line  \r\n\r\n").toUtf8();
    {
        frmMemo& memo = openMemo();
        memo.txtMemo->setPlainText(text);
        ASSERT_TRUE(memo.SaveMemo());
        EXPECT_EQ(expected, fileBytes());
        ASSERT_TRUE(memo.Unload());
    }
    for (int round = 0; round < 3; ++round) {
        frmMemo& memo = openMemo();
        EXPECT_EQ(text, memo.txtMemo->toPlainText());
        EXPECT_FALSE(memo.Dirty());
        ASSERT_TRUE(memo.SaveMemo());
        EXPECT_EQ(expected, fileBytes()) << "round " << round;
        ASSERT_TRUE(memo.Unload());
    }

    // An empty memo is a lone line break, and reads back empty.
    {
        frmMemo& memo = openMemo();
        memo.txtMemo->clear();
        ASSERT_TRUE(memo.SaveMemo());
        EXPECT_EQ(QByteArray("\r\n"), fileBytes());
        ASSERT_TRUE(memo.Unload());
        EXPECT_TRUE(openMemo().txtMemo->toPlainText().isEmpty());
        ASSERT_TRUE(vb::defaultInstance<frmMemo>().Unload());
    }

    // A memo an older version wrote in the ANSI code page still reads.
    writeFile(QByteArray("caf\xe9 \xb0"
                         "C\r\n"));
    EXPECT_EQ(QStringLiteral("caf\u00e9 \u00b0C"), openMemo().txtMemo->toPlainText());
}

TEST_F(MemoTest, ClosingAsksOnlyForChangedTextAndCancelKeepsItOpen)
{
    writeFile("first\r\n");
    {
        frmMemo& memo = openMemo();
        // Unchanged: no question (the strict message double would fail on one).
        EXPECT_TRUE(memo.Unload());
        EXPECT_FALSE(memoLoaded());
    }
    {
        frmMemo& memo = openMemo();
        memo.txtMemo->setPlainText(QStringLiteral("second"));
        answer(vb::vbCancel);
        EXPECT_FALSE(memo.Unload(vb::vbFormControlMenu));
        EXPECT_EQ(testing_records::kMemoQuestion, lastBox().text);
        EXPECT_EQ(vb::vbYesNoCancel, lastBox().buttons);
        EXPECT_EQ(vb::vbExclamation, lastBox().icon);
        EXPECT_EQ(vb::vbDefaultButton1, lastBox().defaultButton);
        EXPECT_EQ(QStringLiteral("Ravelcombrick"), lastBox().title);
        EXPECT_TRUE(memoLoaded());
        EXPECT_TRUE(memo.Dirty());
        EXPECT_EQ(QStringLiteral("second"), memo.txtMemo->toPlainText());
        EXPECT_EQ(QByteArray("first\r\n"), fileBytes());

        answer(vb::vbNo);
        EXPECT_TRUE(memo.Unload());
        EXPECT_FALSE(memoLoaded());
        EXPECT_EQ(QByteArray("first\r\n"), fileBytes());
    }
    {
        frmMemo& memo = openMemo();
        EXPECT_EQ(QStringLiteral("first"), memo.txtMemo->toPlainText());
        memo.txtMemo->setPlainText(QStringLiteral("third"));
        answer(vb::vbYes);
        EXPECT_TRUE(memo.Unload());
        EXPECT_FALSE(memoLoaded());
        EXPECT_EQ(QByteArray("third\r\n"), fileBytes());
    }
    EXPECT_EQ(3, static_cast<int>(messages().Log().size()));
}

TEST_F(MemoTest, FailedSavesAreReportedAndKeepTheTextUnsaved)
{
    writeFile("kept\r\n");
    frmMemo& memo = openMemo();
    memo.txtMemo->setPlainText(QStringLiteral("new words"));

    // The folder can no longer be written.
    const QString folder = App::Path();
    App::setPath(folder + QStringLiteral("/gone"));
    answer(vb::vbOK);
    EXPECT_FALSE(memo.SaveMemo());
    EXPECT_TRUE(lastBox().text.startsWith(QStringLiteral("The memo could not be saved")));
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_TRUE(memo.Dirty());

    // Yes on closing with a save that fails: the memo stays open with its text.
    answer(vb::vbYes);
    answer(vb::vbOK);
    EXPECT_FALSE(memo.Unload());
    EXPECT_TRUE(memoLoaded());
    EXPECT_TRUE(memo.Dirty());
    EXPECT_EQ(QStringLiteral("new words"), memo.txtMemo->toPlainText());

    App::setPath(folder);
    EXPECT_EQ(QByteArray("kept\r\n"), fileBytes());
    EXPECT_TRUE(memo.SaveMemo());
    EXPECT_EQ(QByteArray("new words\r\n"), fileBytes());
    EXPECT_TRUE(memo.Unload());
}

TEST_F(MemoTest, AMemoFileThatCannotBeReadIsReportedAndNotOverwrittenSilently)
{
    // Something that is no file stands at the memo's place.
    ASSERT_TRUE(QDir(App::Path()).mkdir(QStringLiteral("Memo.txt")));
    answer(vb::vbOK);
    frmMemo& memo = openMemo();
    EXPECT_TRUE(lastBox().text.startsWith(QStringLiteral("The memo could not be read")));
    EXPECT_FALSE(memo.Dirty());
    EXPECT_TRUE(memo.txtMemo->toPlainText().isEmpty());

    memo.txtMemo->setPlainText(QStringLiteral("typed"));
    answer(vb::vbOK);
    EXPECT_FALSE(memo.SaveMemo());
    EXPECT_TRUE(memo.Dirty());
    EXPECT_TRUE(QFileInfo(frmMemo::MemoPath()).isDir());

    answer(vb::vbNo);
    EXPECT_TRUE(memo.Unload());
}

} // namespace
