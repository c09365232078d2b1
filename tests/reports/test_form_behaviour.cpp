// What every form does beyond Qt's own widgets: the user's texts on labels show as typed, and
// Enter on a focused command button clicks it once, in any kind of window.
#include "reports/GridFixture.h"

#include "charts/frmChart.h"
#include "charts/frmChartCustom.h"
#include "platform/runtime/ui/NamedControls.h"
#include "records/frmDSetGoal.h"
#include "records/frmMeasure.h"
#include "reports/frmReportDoctor.h"

#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

using testing_reports::at;
using testing_reports::GridFixture;
using testing_reports::Reading;

using FormBehaviourTest = GridFixture;

// What the label shows: its text when it is drawn as plain text, else a mark that it is not.
QString shown(const QLabel* label)
{
    const bool plain =
        label->textFormat() == Qt::PlainText || (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(label->text()));
    return plain ? label->text() : QStringLiteral("(markup) ") + label->text();
}

TEST_F(FormBehaviourTest, CustomLabelsAndUnitsShowAsTypedOnTheMeasurementFormAndTheChartTypeDialog)
{
    for (const QString& typed : {QStringLiteral("<b>bold</b>"), QStringLiteral("<i>u</i>"), QStringLiteral("&"),
                                 QStringLiteral("a<b"), QStringLiteral("x<br>y \U0001D11E")}) {
        SCOPED_TRACE(typed.toStdString());
        execute(QStringLiteral("update Application set TempLBL = %1, Temp1LBL = %1, TempUnit = %1, Temp1Unit = %1"), {typed});
        auto& measure = vb::defaultInstance<frmMeasure>();
        measure.Show();
        auto& chart = vb::defaultInstance<frmChart>();
        chart.Load();
        auto& types = vb::defaultInstance<frmChartCustom>();
        types.Show();
        for (const QLabel* label : {measure.lbl1[8], measure.lbl1[9], types.lblFact[3], types.lblFact[4]})
            EXPECT_EQ((typed + u':').toStdString(), shown(label).toStdString()) << label->objectName().toStdString();
        for (const QLabel* label : {measure.lblUnitTemp[0], measure.lblUnitTemp[1]})
            EXPECT_EQ(typed.toStdString(), shown(label).toStdString()) << label->objectName().toStdString();
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(FormBehaviourTest, EnterOnAFocusedButtonClicksItOnceInEveryKindOfWindow)
{
    auto named = [](const char* name, auto* button) {
        button->setObjectName(QLatin1String(name));
        button->setText(QLatin1String(name));
        return button;
    };
    // A window of each kind, with a button in it.
    auto main = std::make_unique<vb::MDIForm>(QStringLiteral("mdiTest"));
    main->Show();
    auto* child = new vb::Form(QStringLiteral("frmChildTest")); // goes with its sub-window
    child->setMDIChild(true);
    QPushButton* inChild = vb::makeButton(child, "cmdChild", QStringLiteral("Child"));
    child->Show();
    vb::Form window(QStringLiteral("frmWindowTest"));
    QPushButton* inWindow = vb::makeButton(&window, "cmdWindow", QStringLiteral("Window"));
    auto* box = new QLineEdit(&window);
    auto* picture = named("cmdPicture", new QToolButton(&window));
    auto* byDefault = named("cmdDefault", new QPushButton(&window));
    byDefault->setDefault(true);
    window.Show();
    vb::Form dialogForm(QStringLiteral("frmDialogTest"));
    dialogForm.setWindowFlag(Qt::Dialog);
    QPushButton* inDialogForm = vb::makeButton(&dialogForm, "cmdDialogForm", QStringLiteral("Dialog form"));
    dialogForm.Show();
    QDialog dialog;
    auto* inDialog = named("cmdDialog", new QPushButton(&dialog)); // clicks itself on Enter
    dialog.show();

    const struct {
        QAbstractButton* button;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } rows[] = {
        {inChild, Qt::Key_Return, Qt::NoModifier},         {inChild, Qt::Key_Enter, Qt::KeypadModifier},
        {inWindow, Qt::Key_Return, Qt::NoModifier},        {inWindow, Qt::Key_Enter, Qt::KeypadModifier},
        {picture, Qt::Key_Return, Qt::NoModifier},         {byDefault, Qt::Key_Return, Qt::NoModifier},
        {inDialogForm, Qt::Key_Enter, Qt::KeypadModifier}, {inDialog, Qt::Key_Return, Qt::NoModifier},
        {inDialog, Qt::Key_Enter, Qt::KeypadModifier},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button->objectName().toStdString() + (row.key == Qt::Key_Enter ? " keypad Enter" : " Return"));
        int clicks = 0;
        auto c = QObject::connect(row.button, &QAbstractButton::clicked, [&] { ++clicks; });
        row.button->setFocus();
        QTest::keyClick(row.button, row.key, row.modifiers);
        QObject::disconnect(c);
        EXPECT_EQ(1, clicks);
    }

    // Enter in a text box still ends the entry there and clicks nothing.
    int returns = 0;
    int clicks = 0;
    QObject::connect(box, &QLineEdit::returnPressed, [&] { ++returns; });
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{inWindow, picture, byDefault})
        QObject::connect(button, &QAbstractButton::clicked, [&] { ++clicks; });
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(2, returns);
    EXPECT_EQ(0, clicks);
}

TEST_F(FormBehaviourTest, EnterTwiceOnTheReportsGoRunsTheReportOnce)
{
    gHeightUnit = 1;
    const qint32 person = addPerson(QStringLiteral("Ann"));
    execute(QStringLiteral("update PERSON set AGE = 41, HGT = 66, SEX = 'F'"));
    add(person, Reading(at(2007, 6, 1), 120, 80, 70, 150));
    gPersonKey = person;
    auto& report = vb::defaultInstance<frmReportDoctor>();
    report.setGoalFormMaker([] { return static_cast<vb::FormBase*>(&vb::defaultInstance<frmDSetGoal>()); });
    report.Load();
    report.chkIncludeChart->setChecked(false);
    report.show();
    report.cmdShow->setFocus();
    // Two presses of Enter, the second waiting in the queue while the first runs the report.
    auto enter = [go = report.cmdShow](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QCoreApplication::postEvent(go, new QKeyEvent(QEvent::KeyPress, key, modifiers));
        QCoreApplication::postEvent(go, new QKeyEvent(QEvent::KeyRelease, key, modifiers));
    };
    const std::size_t before = services().shell().Calls().size();
    enter(Qt::Key_Return, Qt::NoModifier);
    enter(Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::processEvents();
    EXPECT_FALSE(report.Running());
    EXPECT_EQ(before + 1, services().shell().Calls().size());
    // Once it is done, Enter runs it again.
    enter(Qt::Key_Enter, Qt::KeypadModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(before + 2, services().shell().Calls().size());
}

} // namespace
