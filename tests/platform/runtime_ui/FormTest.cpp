// The form life cycle: the Forms collection, loading unseen, unloading that can be refused,
// default instances, modal showing through the runner, and children of the main window.
#include "RuntimeUiFixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace vb;

namespace {

// Records its events in a shared list; can refuse to unload.
class ProbeForm : public Form {
public:
    explicit ProbeForm(const QString& name = QStringLiteral("frmProbe"), QStringList* events = nullptr)
        : Form(name), events_(events)
    {}
    int cancelQuery = 0;
    int cancelUnload = 0;
    int lastUnloadMode = -1;
    int loads = 0;
    int activations = 0;
    std::function<void()> onLoad;

protected:
    void Form_Load() override
    {
        ++loads;
        note(QStringLiteral("Load"));
        if (onLoad)
            onLoad();
    }
    void Form_Activate() override
    {
        ++activations;
        note(QStringLiteral("Activate"));
    }
    void Form_QueryUnload(int& cancel, int unloadMode) override
    {
        lastUnloadMode = unloadMode;
        note(QStringLiteral("QueryUnload %1").arg(unloadMode));
        cancel = cancelQuery;
    }
    void Form_Unload(int& cancel) override
    {
        note(QStringLiteral("Unload"));
        cancel = cancelUnload;
    }

private:
    void note(const QString& what)
    {
        if (events_)
            events_->append(objectName() + QLatin1Char(' ') + what);
    }
    QStringList* events_;
};

class frmAlpha : public ProbeForm {
public:
    frmAlpha() : ProbeForm(QStringLiteral("frmAlpha")) {}
};

class frmChild : public ProbeForm {
public:
    frmChild() : ProbeForm(QStringLiteral("frmChild")) { setMDIChild(true); }
};

class mdiMain : public MDIForm {
public:
    mdiMain() : MDIForm(QStringLiteral("mdiMain")) {}
    int cancelUnload = 0;
    QStringList events;

protected:
    void MDIForm_Load() override { events.append(QStringLiteral("Load")); }
    void MDIForm_QueryUnload(int&, int mode) override { events.append(QStringLiteral("QueryUnload %1").arg(mode)); }
    void MDIForm_Unload(int& cancel) override
    {
        events.append(QStringLiteral("Unload"));
        cancel = cancelUnload;
    }
};

QStringList Names()
{
    QStringList names;
    for (FormBase* form : Forms().Snapshot())
        names.append(form->Name());
    return names;
}

} // namespace

using FormsCollectionTest = RuntimeUiTest;

TEST_F(FormsCollectionTest, KeepsLoadOrderFindsByNameAndSurvivesUnloadWhileIterating)
{
    ProbeForm person(QStringLiteral("frmPerson"));
    ProbeForm measure(QStringLiteral("frmMeasure"));
    ProbeForm goal(QStringLiteral("frmDSetGoal"));
    measure.Load();
    person.Load();
    goal.Load();
    EXPECT_EQ(Names(), (QStringList{"frmMeasure", "frmPerson", "frmDSetGoal"}));
    EXPECT_EQ(Forms().Find(QStringLiteral("frmPerson")), &person);
    EXPECT_EQ(Forms().Find<ProbeForm>(QStringLiteral("frmDSetGoal")), &goal);
    EXPECT_EQ(Forms().Find(QStringLiteral("frmperson")), nullptr) << "names compare exactly";
    EXPECT_EQ(Forms().Item(0), &measure);
    EXPECT_EQ(Forms().Item(3), nullptr);

    // Unloading every form but one while walking the collection, as closing the child forms does.
    for (FormBase* form : Forms().Snapshot()) {
        if (form->Name() != QLatin1String("frmDSetGoal")) {
            EXPECT_TRUE(form->Unload());
        }
    }
    EXPECT_EQ(Names(), QStringList{"frmDSetGoal"});
    EXPECT_FALSE(person.Loaded());

    // A form loaded again goes to the end.
    person.Load();
    EXPECT_EQ(Names(), (QStringList{"frmDSetGoal", "frmPerson"}));
    EXPECT_EQ(person.loads, 2);
}

TEST_F(FormsCollectionTest, DestroyedFormLeavesTheCollection)
{
    {
        ProbeForm temporary(QStringLiteral("frmTemporary"));
        temporary.Load();
        EXPECT_EQ(Forms().Count(), 1);
    }
    EXPECT_EQ(Forms().Count(), 0);
}

using FormLifeTest = RuntimeUiTest;

TEST_F(FormLifeTest, LoadRunsFormLoadOnceAndShowsNothing)
{
    QStringList events;
    ProbeForm form(QStringLiteral("frmPerson"), &events);
    form.Load();
    form.Load();
    EXPECT_TRUE(form.Loaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.loads, 1);

    form.Show();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.loads, 1) << "showing a loaded form does not load it again";
    form.Hide();
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.Loaded()) << "hiding keeps the form loaded";
}

TEST_F(FormLifeTest, ShowLoadsFirst)
{
    QStringList events;
    ProbeForm form(QStringLiteral("frmTip"), &events);
    form.Show();
    EXPECT_TRUE(form.Loaded());
    EXPECT_EQ(events.value(0), QStringLiteral("frmTip Load"));
}

TEST_F(FormLifeTest, QueryUnloadOrUnloadCanCancel)
{
    QStringList events;
    ProbeForm form(QStringLiteral("frmMemo"), &events);
    form.Show();

    form.cancelQuery = 1;
    EXPECT_FALSE(form.Unload());
    EXPECT_TRUE(form.Loaded());
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(events.last(), QStringLiteral("frmMemo QueryUnload 1")) << "Form_Unload does not run";

    form.cancelQuery = 0;
    form.cancelUnload = 1;
    EXPECT_FALSE(form.Unload());
    EXPECT_TRUE(form.Loaded());
    EXPECT_EQ(Forms().Find(QStringLiteral("frmMemo")), &form);

    form.cancelUnload = 0;
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(form.Loaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(Forms().Count(), 0);
    EXPECT_TRUE(form.Unload()) << "unloading an unloaded form is harmless";
}

TEST_F(FormLifeTest, ClosingTheWindowAsksWithControlMenuModeAndCanBeRefused)
{
    ProbeForm form(QStringLiteral("frmTip"));
    form.Show();
    form.cancelQuery = 1;
    EXPECT_FALSE(form.close());
    EXPECT_EQ(form.lastUnloadMode, vbFormControlMenu);
    EXPECT_TRUE(form.Loaded());
    EXPECT_TRUE(form.isVisible());

    form.cancelQuery = 0;
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.Loaded());
}

TEST_F(FormLifeTest, FormMayUnloadItselfWhileLoading)
{
    ProbeForm form(QStringLiteral("frmSplash"));
    form.onLoad = [&form] { form.Unload(); };
    form.Show();
    EXPECT_FALSE(form.Loaded());
    EXPECT_FALSE(form.Visible());
}

using DefaultInstanceTest = RuntimeUiTest;

TEST_F(DefaultInstanceTest, SameInstanceUntilUnloadedThenAFreshOne)
{
    frmAlpha& first = defaultInstance<frmAlpha>();
    EXPECT_FALSE(first.Loaded()) << "the default instance is created, not loaded";
    EXPECT_EQ(&defaultInstance<frmAlpha>(), &first);
    first.Load();
    first.setWindowTitle(QStringLiteral("changed"));
    QPointer<QWidget> watch(&first);

    EXPECT_TRUE(first.Unload());
    FlushDeletes();
    EXPECT_TRUE(watch.isNull()) << "an unloaded default instance is released";

    frmAlpha& second = defaultInstance<frmAlpha>();
    second.Load();
    EXPECT_EQ(second.loads, 1);
    EXPECT_TRUE(second.windowTitle().isEmpty()) << "the new instance starts from its design";
}

TEST_F(DefaultInstanceTest, RefusedUnloadKeepsTheInstance)
{
    frmAlpha& form = defaultInstance<frmAlpha>();
    form.Load();
    form.cancelUnload = 1;
    EXPECT_FALSE(form.Unload());
    FlushDeletes();
    EXPECT_EQ(&defaultInstance<frmAlpha>(), &form);
}

using ModalTest = RuntimeUiTest;

TEST_F(ModalTest, ModalShowRunsTheQueuedActionAndReturnsWithTheFormHidden)
{
    ProbeForm form(QStringLiteral("frmAbout"));
    bool wasVisible = false;
    doubles().modal().Expect([&wasVisible](FormBase& shown) { wasVisible = shown.Visible(); });
    form.Show(vbModal);
    EXPECT_TRUE(wasVisible);
    EXPECT_TRUE(form.Loaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(doubles().modal().Log(), QStringList{"frmAbout"});
}

TEST_F(ModalTest, ActionThatUnloadsTheDialog)
{
    frmAlpha& form = defaultInstance<frmAlpha>();
    doubles().modal().Expect([](FormBase& shown) { shown.Unload(); });
    form.Show(vbModal);
    EXPECT_EQ(Forms().Count(), 0);
}

TEST_F(ModalTest, UnexpectedModalFormIsAnError)
{
    ProbeForm form(QStringLiteral("frmAbout"));
    QStringList reported;
    doubles().setOnUnexpected([&reported](const QString& message) { reported.append(message); });
    form.Show(vbModal);
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported.first().contains(QStringLiteral("frmAbout")));
    EXPECT_FALSE(form.Visible());

    doubles().setOnUnexpected(nullptr);
    EXPECT_THROW(form.Show(vbModal), UnexpectedDialog);
}

using MdiTest = RuntimeUiTest;

TEST_F(MdiTest, ChildFormsGoIntoTheMainWindowAndCloseWithIt)
{
    mdiMain& main = defaultInstance<mdiMain>();
    main.Show();
    EXPECT_EQ(MDIForm::Current(), &main);

    QStringList events;
    auto* child = new ProbeForm(QStringLiteral("frmMeasure"), &events);
    child->setMDIChild(true);
    child->Show();
    ASSERT_NE(child->MdiParent(), nullptr);
    EXPECT_EQ(child->MdiParent(), &main);
    EXPECT_EQ(main.MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(main.ActiveForm(), child);
    EXPECT_NE(child->Window(), child) << "the window of a child is its sub-window";

    // A child that refuses keeps the main window open.
    child->cancelQuery = 1;
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.Loaded());
    EXPECT_TRUE(child->Loaded());
    EXPECT_EQ(child->lastUnloadMode, vbFormMDIForm);
    EXPECT_FALSE(main.events.contains(QStringLiteral("Unload")));

    child->cancelQuery = 0;
    events.clear();
    QPointer<ProbeForm> watch(child);
    EXPECT_TRUE(main.close());
    EXPECT_EQ(events, (QStringList{"frmMeasure QueryUnload 4", "frmMeasure Unload"}));
    EXPECT_EQ(main.events.last(), QStringLiteral("Unload"));
    EXPECT_EQ(Forms().Count(), 0);
    FlushDeletes();
    EXPECT_TRUE(watch.isNull());
}

TEST_F(MdiTest, UnloadedSignalComesOnceTheFormIsGoneAndOnlyThen)
{
    mdiMain& main = defaultInstance<mdiMain>();
    main.Show();
    QStringList heard; // each name with whether the form was still in the collection
    auto listen = [&](Form& form) {
        QObject::connect(&form, &Form::formUnloaded, [&heard](const QString& name) {
            heard.append(name + (Forms().Find(name) ? QStringLiteral(" loaded") : QString()));
        });
    };

    // Refused by either event: nothing is heard.
    frmChild& child = defaultInstance<frmChild>();
    listen(child);
    child.Show();
    child.cancelQuery = 1;
    EXPECT_FALSE(child.Unload());
    child.cancelQuery = 0;
    child.cancelUnload = 1;
    EXPECT_FALSE(child.Window()->close());
    child.cancelUnload = 0;
    EXPECT_TRUE(heard.isEmpty());

    // Closed by the user, by code, or with the main window: heard once each, after it left.
    EXPECT_TRUE(child.Window()->close());
    ProbeForm& byCode = *new ProbeForm(QStringLiteral("frmRegimen"));
    byCode.setMDIChild(true);
    listen(byCode);
    byCode.Show();
    EXPECT_TRUE(byCode.Unload());
    auto* withMain = new ProbeForm(QStringLiteral("frmGrid"));
    withMain->setMDIChild(true);
    listen(*withMain);
    withMain->Show();
    QStringList mainHeard;
    QObject::connect(&main, &MDIForm::formUnloaded, [&mainHeard](const QString& name) { mainHeard.append(name); });
    EXPECT_TRUE(main.Unload());
    EXPECT_EQ(heard, (QStringList{"frmChild", "frmRegimen", "frmGrid"}));
    EXPECT_EQ(mainHeard, QStringList{"mdiMain"});
    FlushDeletes();

    // The program's end unloads nothing: nobody is told.
    frmChild& last = defaultInstance<frmChild>();
    listen(last);
    last.Load();
    heard.clear();
    DestroyAllForms();
    FlushDeletes();
    EXPECT_TRUE(heard.isEmpty());
}

TEST_F(MdiTest, ClosingTheSubWindowUnloadsTheChild)
{
    mdiMain& main = defaultInstance<mdiMain>();
    main.Show();
    frmChild& child = defaultInstance<frmChild>();
    child.Show();
    QMdiSubWindow* sub = main.MdiArea()->subWindowList().value(0);
    ASSERT_NE(sub, nullptr);

    child.cancelQuery = 1;
    EXPECT_FALSE(sub->close());
    EXPECT_TRUE(child.Loaded());

    child.cancelQuery = 0;
    QPointer<QMdiSubWindow> watch(sub);
    EXPECT_TRUE(sub->close());
    EXPECT_FALSE(child.Loaded());
    EXPECT_EQ(Names(), QStringList{"mdiMain"});
    FlushDeletes();
    EXPECT_TRUE(watch.isNull());
    EXPECT_TRUE(main.MdiArea()->subWindowList().isEmpty());

    // Unloading from code closes the sub-window as well, and the next instance opens afresh.
    frmChild& again = defaultInstance<frmChild>();
    again.Show();
    EXPECT_EQ(main.MdiArea()->subWindowList().size(), 1);
    EXPECT_TRUE(again.Unload());
    FlushDeletes();
    EXPECT_TRUE(main.MdiArea()->subWindowList().isEmpty());
}

TEST_F(MdiTest, ChildWithoutMainWindowIsATopLevelWindow)
{
    frmChild& child = defaultInstance<frmChild>();
    child.Show();
    EXPECT_EQ(child.MdiParent(), nullptr);
    EXPECT_TRUE(child.isWindow());
    EXPECT_TRUE(child.Visible());
}

TEST_F(MdiTest, ActivateRunsWhenAFormBecomesActive)
{
    ProbeForm first(QStringLiteral("frmFirst"));
    ProbeForm second(QStringLiteral("frmSecond"));
    first.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
    EXPECT_EQ(first.activations, 1);
    second.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second));
    EXPECT_EQ(second.activations, 1);
    first.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
    EXPECT_EQ(first.activations, 2);
}

TEST_F(MdiTest, ActivateRunsOnceWhenAChildIsShownChosenOrComesNextInLine)
{
    mdiMain& main = defaultInstance<mdiMain>();
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    ProbeForm& first = *new ProbeForm(QStringLiteral("frmFirst"));
    first.setMDIChild(true);
    ProbeForm& second = *new ProbeForm(QStringLiteral("frmSecond"));
    second.setMDIChild(true);

    // Opened from the main window's menu: the main window is already active.
    first.Show();
    QCoreApplication::processEvents();
    EXPECT_EQ(first.activations, 1);
    second.Show();
    QCoreApplication::processEvents();
    EXPECT_EQ(second.activations, 1);
    EXPECT_EQ(first.activations, 1);

    // Chosen again inside the main window.
    main.MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first.Window()));
    QCoreApplication::processEvents();
    EXPECT_EQ(first.activations, 2);
    EXPECT_EQ(second.activations, 1);

    // A top-level window comes and goes: the child in front is activated once on the return,
    // and the one behind it not at all.
    ProbeForm other(QStringLiteral("frmOther"));
    other.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(other.Unload());
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QCoreApplication::processEvents();
    EXPECT_EQ(first.activations, 3);
    EXPECT_EQ(second.activations, 1);

    // The child in front closes: the one next in line is activated.
    EXPECT_TRUE(first.Unload());
    QCoreApplication::processEvents();
    EXPECT_EQ(second.activations, 2);
    EXPECT_TRUE(main.Unload());
    FlushDeletes();
}

TEST_F(ModalTest, RealModalLoopReturnsWhenTheFormUnloads)
{
    Runtime().modal = std::make_shared<QtModalRunner>();
    ProbeForm form(QStringLiteral("frmAbout"));
    bool seenVisible = false;
    QTimer::singleShot(0, &form, [&form, &seenVisible] {
        seenVisible = form.isVisible() && form.isModal();
        form.Unload();
    });
    form.Show(vbModal);
    EXPECT_TRUE(seenVisible);
    EXPECT_FALSE(form.Loaded());
    EXPECT_FALSE(form.isModal()) << "the form is not left modal";
}

TEST_F(ModalTest, RealModalLoopReturnsWhenTheFormHides)
{
    Runtime().modal = std::make_shared<QtModalRunner>();
    ProbeForm form(QStringLiteral("frmChngeCustomLblUnt"));
    QTimer::singleShot(0, &form, [&form] { form.Hide(); });
    form.Show(vbModal);
    EXPECT_TRUE(form.Loaded());
    EXPECT_FALSE(form.Visible());
}
