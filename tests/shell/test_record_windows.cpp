// Record forms beside the main window: the goal form's export takes only its own grid, and the
// memo's commands follow the memo (the window learns of it by the memo's signals).
#include "records/MemoFixture.h"
#include "records/frmDSetGoal.h"
#include "shell/mdiHealth.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/RuntimeServices.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTest>

#include <utility>

namespace {

using RecordWindowsTest = testing_records::MemoFixture;

TEST_F(RecordWindowsTest, BesideTheMainWindowTheGoalExportTakesTheGoalGridOnly)
{
    gPersonKey = samplePerson;
    vb::defaultInstance<mdiHealth>().Load(); // opens the Measurement form as at start
    ASSERT_NE(nullptr, vb::Forms().Find(QStringLiteral("frmMeasure")));
    frmDSetGoal& form = vb::defaultInstance<frmDSetGoal>();
    form.Load();
    form.cmdExport_Click();
    QFile file(App::Path() + QStringLiteral("/DiabetesGoals.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromLatin1(file.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("Diabetes Goal")));
    EXPECT_TRUE(html.contains(QStringLiteral("8.Bed time")));
    EXPECT_FALSE(html.contains(QStringLiteral("Measurement Reading")));
    EXPECT_EQ(1u, services().shell().Calls().size());
}

TEST_F(RecordWindowsTest, TheMainWindowsMemoCommandsFollowTheMemo)
{
    writeFile("start\r\n");
    auto& main = vb::defaultInstance<mdiHealth>();
    main.Load();
    QAction* button = main.Toolbar1Button(QStringLiteral("Memo"));
    ASSERT_TRUE(button);
    auto states = [&] {
        return QString::number(main.mnuMemoOpen->isEnabled()) + QString::number(button->isEnabled()) +
               QString::number(main.mnuMemoSave->isEnabled()) + QString::number(main.mnuMemoExit->isEnabled());
    };
    EXPECT_EQ(QStringLiteral("1100"), states());

    main.mnuMemoOpen_Click();
    auto* memo = vb::Forms().Find<frmMemo>(QStringLiteral("frmMemo"));
    ASSERT_TRUE(memo);
    EXPECT_EQ(&main, memo->MdiParent());
    EXPECT_EQ(QStringLiteral("0011"), states());
    main.mnuMemoSave_Click();
    EXPECT_EQ(QStringLiteral("0001"), states());
    memo->txtMemo->setPlainText(QStringLiteral("changed"));
    EXPECT_EQ(QStringLiteral("0011"), states());

    // Closing the data forms leaves the memo alone.
    main.mnuClose_Click();
    EXPECT_TRUE(memoLoaded());

    // The main window does not close over unsaved memo text when the user cancels.
    answer(vb::vbCancel);
    EXPECT_FALSE(main.Unload(vb::vbFormControlMenu));
    EXPECT_TRUE(mdiHealth::Loaded());
    EXPECT_TRUE(memoLoaded());
    EXPECT_EQ(testing_records::kMemoQuestion, lastBox().text);

    answer(vb::vbYes);
    main.mnuMemoExit_Click();
    EXPECT_FALSE(memoLoaded());
    EXPECT_EQ(QByteArray("changed\r\n"), fileBytes());
    EXPECT_EQ(QStringLiteral("1100"), states());
}

// The question is a window of its own: while it is up, the mouse has left the memo's frame.
class LeavingQuestion : public vb::MessageService {
public:
    explicit LeavingQuestion(QWidget* frame) : frame_(frame) {}
    int Show(const vb::MsgBoxCall& box) override
    {
        texts << box.text;
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(frame_, &leave);
        return texts.size() < 3 ? vb::vbCancel : vb::vbNo;
    }
    QStringList texts;

private:
    QWidget* frame_;
};

TEST_F(RecordWindowsTest, TheMemosCloseBoxAsksAgainAfterACancel)
{
    auto& main = vb::defaultInstance<mdiHealth>();
    main.Load();
    main.show();
    main.mnuMemoOpen_Click();
    auto* memo = vb::Forms().Find<frmMemo>(QStringLiteral("frmMemo"));
    ASSERT_TRUE(memo);
    auto* window = qobject_cast<QMdiSubWindow*>(memo->Window());
    ASSERT_TRUE(window);
    memo->txtMemo->setPlainText(QStringLiteral("changed"));
    QStyleOptionTitleBar bar;
    bar.initFrom(window);
    bar.titleBarFlags = window->windowFlags();
    bar.rect = QRect(0, 0, window->width(), window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, window));
    const QPoint closeBox =
        window->style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarCloseButton, window).center();
    QTest::mouseMove(window, closeBox);

    // Cancel twice, then No: each click, with no move between, asks again.
    auto question = std::make_shared<LeavingQuestion>(window);
    const auto kept = std::exchange(vb::Runtime().messages, question);
    for (int click = 0; click < 3; ++click)
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, closeBox);
    vb::Runtime().messages = kept;
    EXPECT_EQ(QStringList(3, testing_records::kMemoQuestion), question->texts);
    EXPECT_FALSE(memoLoaded());
}

} // namespace
