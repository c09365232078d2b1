// Every window the menus open is whole at the main window's opening size and maximised: each
// caption as large as its text needs, no two controls over each other, and the window within
// the client area (a window of its own within the screen) without the client area scrolling.
#include "shell/ShellFixture.h"

#include "platform/runtime/ui/Form.h"
#include "records/frmMeasure.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include <vector>

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Controls that hold no other controls: they are checked whole, not looked into.
bool isLeafControl(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLabel*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QProgressBar*>(w) ||
           (qobject_cast<const QAbstractScrollArea*>(w) && !qobject_cast<const QScrollArea*>(w)) ||
           w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).isEmpty();
}

// The controls of a window that are shown: leaves and group boxes (which are also looked into).
// Lines drawn over other controls let the mouse through them and are not controls.
void collectControls(QWidget* parent, std::vector<QWidget*>& controls)
{
    for (QWidget* w : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() || !w->isVisible() || w->testAttribute(Qt::WA_TransparentForMouseEvents) || w->size().isEmpty())
            continue;
        if (qobject_cast<QGroupBox*>(w) || isLeafControl(w))
            controls.push_back(w);
        if (!isLeafControl(w))
            collectControls(w, controls);
    }
}

// Where a control shows in its window: its rectangle cut to every parent's.
QRect shownRect(const QWidget* w, const QWidget* window)
{
    QRect shown(w->mapTo(window, QPoint(0, 0)), w->size());
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        shown &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
    return shown;
}

// Whether a parent cuts the control, other than a scrolled body's view.
bool cutByParent(const QWidget* w, const QWidget* window)
{
    const QRect whole(w->mapTo(window, QPoint(0, 0)), w->size());
    for (const QWidget* p = w->parentWidget(); p != window && !qobject_cast<QScrollArea*>(p->parentWidget());
         p = p->parentWidget()) {
        if (!QRect(p->mapTo(window, QPoint(0, 0)), p->size()).contains(whole))
            return true;
    }
    return false;
}

std::string nameOf(const QWidget* w) { return w->metaObject()->className() + (" " + w->objectName().toStdString()); }

// Each caption as large as its text needs: each of its lines whole, the access-key mark not counted.
void expectCaptionWhole(QWidget* w)
{
    const QSize size = w->size();
    QSize needs;
    if (qobject_cast<QGroupBox*>(w)) {
        needs = w->minimumSizeHint();
    } else if (auto* push = qobject_cast<QPushButton*>(w); push && !push->text().isEmpty()) {
        // As large as the style asks, or at least the text within the button's margins.
        if (size.width() >= w->sizeHint().width() && size.height() >= w->minimumSizeHint().height())
            return;
        needs = w->fontMetrics().size(Qt::TextShowMnemonic, push->text().simplified()) +
                QSize(w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w), 2);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()) {
        needs = QSize(w->sizeHint().width(), w->minimumSizeHint().height());
    } else if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
        const bool flows = label->wordWrap() || label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text());
        needs =
            flows ? QSize(0, label->heightForWidth(size.width())) : w->fontMetrics().size(Qt::TextShowMnemonic, label->text());
    }
    EXPECT_TRUE(size.width() >= needs.width() && size.height() >= needs.height())
        << nameOf(w) << " " << size.width() << "x" << size.height() << " needs " << needs.width() << "x" << needs.height();
}

// Every caption whole and no control cut off by its parent (when asked), and no two controls
// over each other.
void expectWholeAndApart(QWidget* window, bool whole = true)
{
    std::vector<QWidget*> controls;
    collectControls(window, controls);
    ASSERT_FALSE(controls.empty());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (whole) {
            expectCaptionWhole(controls[i]);
            EXPECT_FALSE(cutByParent(controls[i], window)) << nameOf(controls[i]) << " cut";
        }
        const QRect a = shownRect(controls[i], window);
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const bool nested = controls[i]->isAncestorOf(controls[j]) || controls[j]->isAncestorOf(controls[i]);
            EXPECT_FALSE(!nested && a.intersects(shownRect(controls[j], window)))
                << nameOf(controls[i]) << " over " << nameOf(controls[j]);
        }
    }
}

// The window within the client area without the area scrolling, or, in a window of its own,
// within the screen; a body that scrolls does so up and down only.
void expectPlaced(vb::FormBase& form, const mdiHealth& main)
{
    QWidget* window = form.Window();
    // (The biological clock's canvas, drawn to scale, scrolls both ways.)
    for (const QScrollArea* body : form.widget()->findChildren<QScrollArea*>(QStringLiteral("scroller")))
        EXPECT_TRUE(form.Name() == QLatin1String("frmBiologicalClockWork") ||
                    (body->horizontalScrollBar()->maximum() == 0 && body->horizontalScrollBar()->value() == 0));
    if (form.MdiParent()) {
        const QMdiArea* area = main.MdiArea();
        EXPECT_TRUE(area->viewport()->rect().contains(window->geometry()));
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible());
        return;
    }
    // Its place is the program's, not left to the window system, which may open it partly
    // below the screen.
    EXPECT_TRUE(window->testAttribute(Qt::WA_Moved));
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
}

using WindowFitTest = testing_shell::ShellFixture;

TEST_F(WindowFitTest, EveryWindowTheMenusOpenIsWholeApartAndWithinItsArea)
{
    startProgram();
    mdiHealth& main = *mainWindow();

    const struct {
        const char* form;
        void (mdiHealth::*open)();
        bool modal;
    } windows[] = {
        {"frmPerson", &mdiHealth::mnuPerson_Click, false},
        {"frmRegimen", &mdiHealth::mnuRegimen_Click, false},
        {"frmMeasure", &mdiHealth::mnuMeasure_Click, false},
        {"frmChart", &mdiHealth::mnuChart_Click, false},
        {"frmGrid", &mdiHealth::mnuGrid_Click, false},
        {"frmMemo", &mdiHealth::mnuMemoOpen_Click, false},
        {"frmBMI", &mdiHealth::mnuBMI_Click, false},
        {"frmBiologicalClockWork", &mdiHealth::mnuWrkBio_Click, false},
        {"frmCnFConverter", &mdiHealth::mnuFC_Click, false},
        {"frmReportDoctor", &mdiHealth::mnuReportForDoctor_Click, true},
        {"frmImportMeasurements", &mdiHealth::mnuImportMeasurements_Click, true},
        {"frmChngeCustomLblUnt", &mdiHealth::mnuChngeCustomLblUnt_Click, true},
        {"frmPictureManager", &mdiHealth::mnuPicture_Click, true},
        {"frmTip", &mdiHealth::mnuTip_Click, true},
        {"frmAbout", &mdiHealth::mnuAbout_Click, true},
    };
    // Custom labels and units as long as the labels form takes them, as the windows show them.
    const char* const labels[] = {"TempLBL = 'Blood Oxygen', TempUnit = '% saturation', Temp1LBL = 'Temperature', "
                                  "Temp1Unit = 'deg. Celsius'",
                                  "TempLBL = 'WWWWWWWWWWWW', TempUnit = 'WWWWWWWWWWWW', Temp1LBL = 'WWWWWWWWWWWW', "
                                  "Temp1Unit = 'WWWWWWWWWWWW'"};
    for (const auto& [label, maximised] :
         {std::pair{labels[0], false}, {labels[1], false}, {labels[0], true}, {labels[1], true}}) {
        gDB->Execute(QStringLiteral("update Application set ") + QLatin1String(label));
        if (maximised)
            main.showMaximized();
        settle();
        const QSize size = main.size();
        ASSERT_EQ(maximised, main.isMaximized());
        for (const auto& w : windows) {
            SCOPED_TRACE(std::string(w.form) + (maximised ? " maximised at " : " at the opening size ") +
                         std::to_string(size.width()) + "x" + std::to_string(size.height()) + " with " + label);
            auto check = [&](vb::FormBase& form) {
                settle();
                EXPECT_EQ(QLatin1String(w.form), form.Name());
                expectWholeAndApart(form.widget());
                expectPlaced(form, main);
                if (auto* measure = dynamic_cast<frmMeasure*>(&form)) {
                    // Entering, the captions turn bold; the focus then goes through every field.
                    measure->cmdAddNew->click();
                    measure->txtHBP->setFocus();
                    for (int i = 0; i < 30; ++i) {
                        settle();
                        QWidget* focus = form.widget()->focusWidget();
                        ASSERT_TRUE(focus);
                        SCOPED_TRACE("adding, the focus in " + nameOf(focus));
                        expectWholeAndApart(form.widget());
                        expectPlaced(form, main);
                        QTest::keyClick(focus, Qt::Key_Tab);
                    }
                    measure->cmdCancel->click();
                }
                if (!maximised) {
                    // Made as small as it goes, it may press texts together but lays no control
                    // over another.
                    QWidget* window = form.Window();
                    window->resize(window->minimumSizeHint().expandedTo(window->minimumSize()));
                    settle();
                    SCOPED_TRACE("as small as it goes");
                    expectWholeAndApart(form.widget(), false);
                }
                form.Unload();
            };
            if (w.modal)
                services().modal().Expect(check);
            (main.*w.open)();
            if (w.modal) {
                EXPECT_EQ(0, services().modal().Pending());
            } else {
                vb::FormBase* form = vb::Forms().Find(QLatin1String(w.form));
                ASSERT_TRUE(form);
                check(*form);
            }
            settle();
        }
    }
}

} // namespace
