// Help topics, print screen and chart printing, the about box and the tip of the day.
#include "shell/CommandsFixture.h"

#include "charts/frmChart.h"
#include "data/Globals.h"
#include "data/ui/modHTMLhelp.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/Twips.h"
#include "records/frmMeasure.h"
#include "shell/frmAbout.h"
#include "shell/frmTip.h"
#include "shell/mdiHealth.h"
#include "shell/modPrintScreen.h"
#include "shell/modTip.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

using testing_shell::CommandsFixture;

class HelpCommandsTest : public CommandsFixture {
protected:
    QString lastHelpPage() const
    {
        const QStringList& pages = const_cast<HelpCommandsTest*>(this)->services().help().Pages();
        return pages.isEmpty() ? QString() : pages.back();
    }
    mdiHealth& loadMainWindow()
    {
        mdiHealth& main = vb::defaultInstance<mdiHealth>();
        main.Load();
        main.show();
        return main;
    }
};

// ---- help ----------------------------------------------------------------------------------

TEST_F(HelpCommandsTest, EachScreenOpensItsOwnPageAndAnyOtherNameTheContents)
{
    const struct {
        const char* form;
        const char* page;
    } topics[] = {
        {"frmPerson", "htm/screenperson.htm"},
        {"frmRegimen", "htm/screenregimen.htm"},
        {"frmMeasure", "htm/ScreenMeasurement.htm"},
        {"frmChart", "htm/screenchart.htm"},
        {"frmGrid", "htm/screengrid.htm"},
        {"frmDSetGoal", "htm/ScreenSugarGoalSetting.htm"},
        {"frmBiologicalClockWork", "htm/ScreenWorkWithBiologicalClock.htm"},
        {"frmBMI", "htm/BMI.htm"},
        {"frmMemo", "htm/index.htm"},
        {"", "htm/index.htm"},
        {"frmperson", "htm/index.htm"}, // names compare exactly
    };
    for (const auto& t : topics) {
        SCOPED_TRACE(t.form);
        modHTMLhelp::ShowHelp(QLatin1String(t.form));
        EXPECT_EQ(programPath(QLatin1String(t.page)), lastHelpPage());
    }
    EXPECT_TRUE(messages().Log().empty());
}

TEST_F(HelpCommandsTest, ContentsOpensTheActiveFormsTopicOrTheStartPage)
{
    mdiHealth& main = loadMainWindow();
    // With a person in the database the main window opens the Measurement screen.
    ASSERT_NE(nullptr, main.ActiveForm());
    ASSERT_EQ(QStringLiteral("frmMeasure"), main.ActiveForm()->Name());
    main.mnuContents_Click();
    EXPECT_EQ(programPath(QStringLiteral("htm/ScreenMeasurement.htm")), lastHelpPage());

    main.mnuClose_Click();
    main.mnuContents_Click();
    EXPECT_EQ(programPath(QStringLiteral("htm/index.htm")), lastHelpPage());
}

TEST_F(HelpCommandsTest, ContentsWithTheGoalFormInFrontOpensTheGoalTopic)
{
    mdiHealth& main = loadMainWindow();
    auto* measure = vb::Forms().Find<frmMeasure>(QStringLiteral("frmMeasure"));
    ASSERT_NE(nullptr, measure);
    measure->cmdSetGoal_Click();
    main.mnuContents_Click();
    EXPECT_EQ(programPath(QStringLiteral("htm/ScreenSugarGoalSetting.htm")), lastHelpPage());
}

TEST_F(HelpCommandsTest, AMissingPageIsReportedByTheHelpService)
{
    QFile::remove(programPath(QStringLiteral("htm/screenregimen.htm")));
    answer(vb::vbOK);
    modHTMLhelp::ShowHelp(QStringLiteral("frmRegimen"));
    EXPECT_TRUE(services().help().Pages().isEmpty());
    EXPECT_EQ(vb::vbExclamation, messages().Last().icon);
    EXPECT_TRUE(messages().Last().text.contains(QStringLiteral("screenregimen.htm")));
}

// ---- printing ------------------------------------------------------------------------------

TEST_F(HelpCommandsTest, PrintScreenKeepsTheWindowsSizeOrScalesItToThePageWidth)
{
    mdiHealth& main = loadMainWindow();
    const QSizeF window = vb::PixelsToTwips(main.size(), &main);
    ASSERT_GT(window.width(), 5000);

    services().printer().setPageSizeTwips(QSizeF(window.width() + 100, 15000));
    main.mnuPrintScreen_Click();
    ASSERT_EQ(1u, services().printer().Jobs().size());
    EXPECT_EQ(QSize(qRound(window.width()), qRound(window.height())), services().printer().Jobs()[0].sizeTwips);
    EXPECT_EQ(QStringLiteral("mdiHealth"), services().capture().Grabbed().value(0));

    // A narrower page: its width, the window's proportions kept.
    services().printer().setPageSizeTwips(QSizeF(5000, 7000));
    main.mnuPrintScreen_Click();
    ASSERT_EQ(2u, services().printer().Jobs().size());
    EXPECT_EQ(QSize(5000, qRound(5000.0 / window.width() * window.height())), services().printer().Jobs()[1].sizeTwips);
    EXPECT_TRUE(messages().Log().empty());
}

TEST_F(HelpCommandsTest, PrinterErrorsAreShownUnderThePrinterCaption)
{
    mdiHealth& main = loadMainWindow();
    services().printer().setError(QStringLiteral("No printers are installed."));
    answer(vb::vbOK);
    main.mnuPrintScreen_Click();
    EXPECT_EQ(QStringLiteral("No printers are installed."), messages().Last().text);
    EXPECT_EQ(QStringLiteral("Ravelcombrick: Printer Message"), messages().Last().title);
    EXPECT_EQ(0, messages().Last().icon);
    EXPECT_EQ(vb::vbOKOnly, messages().Last().buttons);

    // The chart command: the same caption, also when there is no chart.
    answer(vb::vbOK);
    main.mnuPrint_Click();
    EXPECT_EQ(QStringLiteral("Ravelcombrick: Printer Message"), messages().Last().title);
    EXPECT_TRUE(services().printer().Jobs().empty());
}

TEST_F(HelpCommandsTest, PrintChartPrintsTheChartOfTheOpenChartWindow)
{
    mdiHealth& main = loadMainWindow();
    main.mnuChart_Click();
    ASSERT_NE(nullptr, vb::Forms().Find(QStringLiteral("frmChart")));
    main.mnuPrint_Click();
    ASSERT_EQ(1u, services().printer().Jobs().size());
    EXPECT_EQ(QStringLiteral("TChart1"), services().capture().Grabbed().value(0));
    EXPECT_TRUE(messages().Log().empty());
}

// ---- about box -----------------------------------------------------------------------------

TEST_F(HelpCommandsTest, AboutBoxShowsTheTitleAndAThreeNumberVersion)
{
    mdiHealth& main = vb::defaultInstance<mdiHealth>();
    bool seen = false;
    services().modal().Expect([&seen](vb::FormBase& form) {
        auto& about = dynamic_cast<frmAbout&>(form);
        seen = true;
        EXPECT_EQ(QStringLiteral("About Ravelcombrick"), about.Caption());
        EXPECT_EQ(QStringLiteral("Ravelcombrick"), about.lblTitle->text());
        EXPECT_EQ(QStringLiteral("Version 2.0.0"), about.lblVersion->text());
        EXPECT_TRUE(about.lblCopyright->text().contains(QChar(0xA9)));
        EXPECT_TRUE(about.lblDescription->text().startsWith(QStringLiteral("This software is ideal for keeping")));
        EXPECT_TRUE(about.lblDisclaimer->text().startsWith(QStringLiteral("This software assumes no responsibility")));
        EXPECT_EQ(QString(), about.lblWarning[0]->text());
        EXPECT_TRUE(about.lblWarning[1]->text().contains(QStringLiteral("educational and  helpful")));
        about.cmdOK->click();
        EXPECT_FALSE(about.Loaded());
    });
    main.mnuAbout_Click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(QStringList{QStringLiteral("frmAbout")}, services().modal().Log());
}

// ---- tip of the day ------------------------------------------------------------------------

class TipTest : public HelpCommandsTest {
protected:
    void setShowAtStartup(bool on) { gDB->Execute(QStringLiteral("update APPLICATION set ShowAtStartup = %1").arg(on ? -1 : 0)); }
    bool showAtStartup() { return value(QStringLiteral("select ShowAtStartup from APPLICATION")).toBool(); }
    void writeTips(const QByteArray& bytes) { writeFile(programPath(QStringLiteral("TIPS.TXT")), bytes); }
};

TEST_F(TipTest, OneLineIsAlwaysTheTipAndEmptyLinesAreTipsToo)
{
    writeTips("Only this tip\n");
    services().runtime().random().Queue(0.99);
    services().runtime().random().Queue(0.0);
    frmTip& tip = vb::defaultInstance<frmTip>();
    tip.Load();
    EXPECT_EQ(QStringLiteral("Only this tip"), tip.lblTipText->text());
    tip.cmdNextTip->click();
    EXPECT_EQ(QStringLiteral("Only this tip"), tip.lblTipText->text());
    EXPECT_EQ(QStringLiteral("Tip of the Day: Ravelcombrick"), tip.Caption());
    tip.Unload();

    // "first", "", "third" (CR LF and LF both end a line; no tip after the last line end).
    writeTips("first\r\n\nthird\r\n");
    services().runtime().random().Queue(0.34); // int(0.34 * 3 + 1) = 2
    services().runtime().random().Queue(0.99);
    frmTip& second = vb::defaultInstance<frmTip>();
    second.Load();
    EXPECT_EQ((QStringList{QStringLiteral("first"), QString(), QStringLiteral("third")}), second.Tips());
    EXPECT_EQ(2, second.CurrentTip());
    EXPECT_EQ(QString(), second.lblTipText->text());
    second.cmdNextTip_Click();
    EXPECT_EQ(QStringLiteral("third"), second.lblTipText->text());
}

TEST_F(TipTest, WithoutTheFileTheDialogSaysSoAndNextTipKeepsThatText)
{
    QFile::remove(programPath(QStringLiteral("TIPS.TXT")));
    frmTip& tip = vb::defaultInstance<frmTip>();
    tip.Load();
    const QString missing =
        QStringLiteral("That the TIPS.TXT file was not found? \r\n\r\nCreate a text file named TIPS.TXT using "
                       "NotePad with 1 tip per line. Then place it in the same directory as the "
                       "application. ");
    EXPECT_EQ(missing, tip.lblTipText->text());
    tip.cmdNextTip_Click();
    EXPECT_EQ(missing, tip.lblTipText->text());
    EXPECT_FALSE(tip.LoadTipsFile(QString()));
}

TEST_F(TipTest, StartUpShowsTheTipOnlyWhenAskedAndTheBoxChoiceIsKept)
{
    writeTips("A tip\n");
    setShowAtStartup(false);
    modHealth::ShowTipOfTheDay(1);
    EXPECT_TRUE(services().modal().Log().isEmpty());

    // From the Help menu: shown with the box off; ticking it and closing stores True.
    services().modal().Expect([](vb::FormBase& form) {
        auto& tip = dynamic_cast<frmTip&>(form);
        EXPECT_FALSE(tip.chkLoadTipsAtStartup->isChecked());
        EXPECT_EQ(QStringLiteral("A tip"), tip.lblTipText->text());
        tip.chkLoadTipsAtStartup->click();
        tip.cmdClose->click();
    });
    vb::defaultInstance<mdiHealth>().mnuTip_Click();
    EXPECT_EQ(QStringList{QStringLiteral("frmTip")}, services().modal().Log());
    EXPECT_TRUE(showAtStartup());

    // At start-up now; untick and close: False.
    services().modal().Expect([](vb::FormBase& form) {
        auto& tip = dynamic_cast<frmTip&>(form);
        EXPECT_TRUE(tip.chkLoadTipsAtStartup->isChecked());
        tip.chkLoadTipsAtStartup->click();
        tip.cmdClose_Click();
    });
    modHealth::ShowTipOfTheDay(1);
    EXPECT_EQ(2, services().modal().Log().size());
    EXPECT_FALSE(showAtStartup());

    // Closing without touching the box leaves the setting alone.
    setShowAtStartup(false);
    services().modal().Expect([](vb::FormBase& form) { dynamic_cast<frmTip&>(form).cmdClose_Click(); });
    modHealth::ShowTipOfTheDay(2);
    EXPECT_FALSE(showAtStartup());
    EXPECT_TRUE(messages().Log().empty());
}

TEST_F(TipTest, WithoutTheSettingsRowTheStrangeErrorIsShownAndNoTip)
{
    gDB->Execute(QStringLiteral("delete from APPLICATION"));
    answer(vb::vbOK);
    modHealth::ShowTipOfTheDay(1);
    EXPECT_EQ(QStringLiteral("Strange Error: Message 111"), messages().Last().text);
    EXPECT_EQ(0, messages().Last().icon);
    EXPECT_TRUE(services().modal().Log().isEmpty());
}

} // namespace
