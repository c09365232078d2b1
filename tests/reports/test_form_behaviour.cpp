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
    for (const QString& typed : {QStringLiteral("<b>bold</b>"), QStringLiteral("x<br>y \U0001D11E")}) {
        SCOPED_TRACE(typed.toStdString());
        execute(QStringLiteral("update Application set TempLBL = %1, Temp1LBL = %1, TempUnit = %1, Temp1Unit = %1"), {typed});
        auto& measure = vb::defaultInstance<frmMeasure>();
        measure.Show();
        vb::defaultInstance<frmChart>().Load();
        auto& types = vb::defaultInstance<frmChartCustom>();
        types.Show();
        for (const QLabel* label : {measure.lbl1[8], measure.lbl1[9], types.lblFact[3], types.lblFact[4]})
            EXPECT_EQ((typed + u':').toStdString(), shown(label).toStdString()) << label->objectName().toStdString();
        for (const QLabel* label : {measure.lblUnitTemp[0], measure.lblUnitTemp[1]})
            EXPECT_EQ(typed.toStdString(), shown(label).toStdString()) << label->objectName().toStdString();
        closeForms();
    }
}

TEST_F(FormBehaviourTest, EnterOnAFocusedButtonClicksItOnceInEveryKindOfWindow)
{
    // A window of each kind with a button in it: a sub-window, a window of its own (of the
    // program's dialog kind, holding a picture button and a default button), and a Qt dialog,
    // whose buttons click themselves on Enter.
    auto main = std::make_unique<vb::MDIForm>(QStringLiteral("mdiTest"));
    main->Show();
    auto* child = new vb::Form(QStringLiteral("frmChildTest")); // goes with its sub-window
    child->setMDIChild(true);
    QPushButton* inChild = vb::makeButton(child, "cmdChild", QStringLiteral("Child"));
    child->Show();
    vb::Form window(QStringLiteral("frmWindowTest"));
    window.setWindowFlag(Qt::Dialog);
    QPushButton* inWindow = vb::makeButton(&window, "cmdWindow", QStringLiteral("Window"));
    auto* picture = new QToolButton(&window);
    auto* byDefault = vb::makeButton(&window, "cmdDefault", QStringLiteral("Default"));
    byDefault->setDefault(true);
    window.Show();
    QDialog dialog;
    auto* inDialog = new QPushButton(QStringLiteral("Dialog"), &dialog);
    dialog.show();

    const struct {
        QAbstractButton* button;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } rows[] = {
        {inChild, Qt::Key_Return, Qt::NoModifier},  {inWindow, Qt::Key_Enter, Qt::KeypadModifier},
        {picture, Qt::Key_Return, Qt::NoModifier},  {byDefault, Qt::Key_Return, Qt::NoModifier},
        {inDialog, Qt::Key_Return, Qt::NoModifier},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button->metaObject()->className() + (" " + row.button->text().toStdString()));
        int clicks = 0;
        auto c = QObject::connect(row.button, &QAbstractButton::clicked, [&] { ++clicks; });
        row.button->setFocus();
        QTest::keyClick(row.button, row.key, row.modifiers);
        QObject::disconnect(c);
        EXPECT_EQ(1, clicks);
    }
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
    auto enter = [go = report.cmdShow] {
        QCoreApplication::postEvent(go, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        QCoreApplication::postEvent(go, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier));
    };
    const std::size_t before = services().shell().Calls().size();
    enter();
    enter();
    QCoreApplication::processEvents();
    EXPECT_EQ(before + 1, services().shell().Calls().size());
    // Once it is done, Enter runs it again.
    enter();
    QCoreApplication::processEvents();
    EXPECT_EQ(before + 2, services().shell().Calls().size());
}

} // namespace
