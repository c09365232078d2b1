// Message boxes through the double: what is logged, answers in order, and the failure on a box
// nobody expected.
#include "RuntimeUiFixture.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"

using namespace vb;

using MsgBoxTest = RuntimeUiTest;

TEST_F(MsgBoxTest, LogsTextIconTitleButtonsAndDefault)
{
    doubles().messages().Answer(vbNo);
    doubles().messages().Answer(vbOK);
    const int first = MsgBox(QStringLiteral("Replace it?"), vbYesNo + vbExclamation + vbDefaultButton2);
    const int second =
        MsgBox(QStringLiteral("Please enter measurement data."), vbExclamation, QStringLiteral("Ravelcombrick Software"));
    EXPECT_EQ(first, vbNo);
    EXPECT_EQ(second, vbOK);

    const auto& log = doubles().messages().Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].text, QStringLiteral("Replace it?"));
    EXPECT_EQ(log[0].icon, vbExclamation);
    EXPECT_EQ(log[0].buttons, vbYesNo);
    EXPECT_EQ(log[0].defaultButton, vbDefaultButton2);
    EXPECT_EQ(log[0].title, App::Title()) << "the default caption is the program's title";
    EXPECT_EQ(log[1].title, QStringLiteral("Ravelcombrick Software"));
    EXPECT_EQ(log[1].buttons, vbOKOnly);
    EXPECT_EQ(doubles().messages().Pending(), 0);
    EXPECT_TRUE(doubles().messages().Errors().isEmpty());
}

TEST_F(MsgBoxTest, StyleFlagsDecompose)
{
    const MsgBoxCall memo = MsgBoxCall::from(QStringLiteral("save?"), vbYesNoCancel | vbExclamation, QString());
    EXPECT_EQ(memo.buttons, vbYesNoCancel);
    EXPECT_EQ(memo.icon, vbExclamation);
    EXPECT_EQ(memo.defaultResult(), vbYes);
    EXPECT_EQ((memo.results()), (std::vector<int>{vbYes, vbNo, vbCancel}));

    const MsgBoxCall backup = MsgBoxCall::from(QStringLiteral("backup?"), vbYesNo + vbQuestion + vbDefaultButton2, QString());
    EXPECT_EQ(backup.icon, vbQuestion);
    EXPECT_EQ(backup.defaultResult(), vbNo);

    const MsgBoxCall critical = MsgBoxCall::from(QStringLiteral("x"), vbCritical, QStringLiteral("Error: 3022"));
    EXPECT_EQ(critical.icon, vbCritical);
    EXPECT_EQ(critical.results(), std::vector<int>{vbOK});
    EXPECT_EQ(critical.title, QStringLiteral("Error: 3022"));
}

TEST_F(MsgBoxTest, UnexpectedBoxFailsInsteadOfBlocking)
{
    QStringList reported;
    doubles().setOnUnexpected([&reported](const QString& message) { reported.append(message); });

    // With the hook the code goes on with the answer that changes nothing.
    EXPECT_EQ(MsgBox(QStringLiteral("Delete?"), vbYesNo + vbExclamation), vbNo);
    EXPECT_EQ(MsgBox(QStringLiteral("Save?"), vbYesNoCancel), vbCancel);
    ASSERT_EQ(reported.size(), 2);
    EXPECT_TRUE(reported[0].contains(QStringLiteral("Delete?")));
    EXPECT_EQ(doubles().messages().Errors(), reported);
    EXPECT_EQ(doubles().messages().Log().size(), 2u) << "unexpected boxes are logged too";

    // An answer the box cannot give is an error as well.
    doubles().messages().Answer(vbYes);
    EXPECT_EQ(MsgBox(QStringLiteral("Done.")), vbOK);
    EXPECT_EQ(reported.size(), 3);

    // Without a hook the double throws, which fails the test that did not expect the box.
    doubles().setOnUnexpected(nullptr);
    EXPECT_THROW(MsgBox(QStringLiteral("Unexpected")), UnexpectedDialog);
}

TEST_F(MsgBoxTest, StrictDefaultWhenNothingIsInstalled)
{
    // The fixture's doubles are in place; a fresh set of defaults is what the runtime starts
    // with before the program installs the real boxes.
    RuntimeServices saved = Runtime();
    Runtime().messages = std::make_shared<MsgBoxDouble>();
    EXPECT_THROW(MsgBox(QStringLiteral("nobody answers")), UnexpectedDialog);
    Runtime() = saved;
}
