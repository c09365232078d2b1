// The Measurement form's loading, browsing, grid and modes: which person it opens on, what a
// row shows, the grid's headers and stored widths, the controls each mode allows, and the keys
// the boxes and lists take.
#include "test_measure_support.h"

#include "platform/controls/PictureClip.h"
#include "platform/controls/UpDown.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/Colors.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

namespace {

using testing_measure::at;
using testing_measure::MeasureFixture;

class MeasureFormTest : public MeasureFixture {};

TEST_F(MeasureFormTest, OpensOnTheCurrentPersonWithTheNewestReadingShown)
{
    const int total = measureCount(samplePerson);
    const QDateTime newest =
        value(QStringLiteral("select max(MSRD_DT) from MEASURE where PRSN_KY = %1").arg(samplePerson)).toDateTime();
    openForm();
    EXPECT_EQ("Measurement Entry", form->Caption());
    EXPECT_EQ("Browse Measurement:", form->Frame1->title());
    EXPECT_EQ("Pellam Ostry", form->cboPerson->currentText());
    EXPECT_EQ(total, shownRows());
    EXPECT_EQ(QStringLiteral("Measurement: 1 of %1").arg(total), form->datInfo->Caption());
    EXPECT_EQ(newest, form->RecordKey());
    EXPECT_EQ(newest.date().toString("M/d/yyyy"), form->txtDate->text());
    const QString time = newest.time().toString("hh:mm AP");
    EXPECT_EQ(time.left(2), form->txtHr->text());
    EXPECT_EQ(time.mid(3, 2), form->txtMin->text());
    EXPECT_EQ(time.mid(6, 2), form->txtAMPM->text());
    // Moving through the rows shows each one; the counter follows.
    form->datInfo->moveNext();
    EXPECT_EQ(QStringLiteral("Measurement: 2 of %1").arg(total), form->datInfo->Caption());
    EXPECT_LT(form->RecordKey(), newest);
}

TEST_F(MeasureFormTest, AnUnknownCurrentPersonOpensOnTheFirstPersonOfTheList)
{
    const int aaron = addPerson("Aaron Brill");
    gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, PLSE) values (%1, #5/6/2022 9:15 PM#, 64)").arg(aaron),
                 dao::dbFailOnError);
    for (const int start : {-1, 987654}) {
        SCOPED_TRACE(start);
        gPersonKey = start;
        openForm();
        EXPECT_EQ("Aaron Brill", form->cboPerson->currentText());
        EXPECT_EQ(aaron, gPersonKey);
        EXPECT_EQ(1, shownRows());
        EXPECT_EQ("64", form->txtPlse->text());
        EXPECT_EQ("09", form->txtHr->text());
        EXPECT_EQ("15", form->txtMin->text());
        EXPECT_EQ("PM", form->txtAMPM->text());
        form->Unload();
    }
}

TEST_F(MeasureFormTest, ARowShowsItsValuesListsAndFormattedWeight)
{
    const int person = addPerson("Brona Vell");
    gDB->Execute("insert into REGIMEN (RGMN_NM, RGMN_DTL) values ('Pills', '')", dao::dbFailOnError);
    const int regimen = count("select RGMN_KY from REGIMEN where RGMN_NM = 'Pills'");
    const int goal = count("select min(GL_KY) from DBTS_GOAL");
    gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, WT, TEMP2, GL_KY, RGMN_KY, CMMNT) "
                                "values (%1, #1/2/2023 7:05 AM#, 72, 101.5, %2, %3, 'it''s fine')")
                     .arg(person)
                     .arg(goal)
                     .arg(regimen),
                 dao::dbFailOnError);
    gDB->Execute(
        QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, PLSE, MD_KY) values (%1, #1/1/2023 7:05 AM#, 70, 2)").arg(person),
        dao::dbFailOnError);
    gPersonKey = person;
    openForm();
    // Newest: weight stored as 72 shows 72.0; mood Null shows "(Unknown)"; its goal and regimen.
    EXPECT_EQ("72.0", form->txtWt->text());
    EXPECT_EQ("101.5", form->txtTemp[2]->text());
    EXPECT_EQ("it's fine", form->txtCmmnt->text());
    EXPECT_EQ("(Unknown)", form->cboMood->currentText());
    EXPECT_EQ("Pills", form->cboRegimen->currentText());
    EXPECT_EQ(goal, form->CboDbtsGl->currentData().toInt());
    EXPECT_EQ("", form->txtPlse->text());
    EXPECT_EQ("72.0", form->vsFGInfo->TextMatrix(1, 8));
    // Older: its mood, no goal, regimen "(Unknown)".
    form->datInfo->moveNext();
    EXPECT_EQ(form->cboMood->findData(2), form->cboMood->currentIndex());
    EXPECT_EQ(-1, form->CboDbtsGl->currentIndex());
    EXPECT_EQ("(Unknown)", form->cboRegimen->currentText());
    EXPECT_EQ("", form->txtWt->text());

    // A person without readings: empty fields and the counter at 0 of 0.
    const int empty = addPerson("Cato Empty");
    form->Unload();
    gPersonKey = empty;
    openForm();
    EXPECT_EQ(0, shownRows());
    EXPECT_EQ("Measurement: 0 of 0", form->datInfo->Caption());
    EXPECT_EQ("", form->txtDate->text());
    EXPECT_EQ("", form->txtHr->text());
    form->cmdEdit_Click();
    EXPECT_EQ("browse", form->EditMode);
}

TEST_F(MeasureFormTest, TheGridCarriesTheLabelsAndUnitsAndKeepsTheUsersWidths)
{
    gDB->Execute("update Application set TempLBL = 'Temp', TempUnit = 'C', Temp1LBL = 'Oxygen', Temp1Unit = Null",
                 dao::dbFailOnError);
    openForm();
    VSFlexGrid* grid = form->vsFGInfo;
    EXPECT_EQ(16, grid->Cols());
    EXPECT_EQ("Date(mm/dd/yy)", grid->TextMatrix(0, 4));
    EXPECT_EQ(QStringLiteral("Weight (%1)").arg(gWeightUnitText), grid->TextMatrix(0, 8));
    EXPECT_EQ("Temp (C)", grid->TextMatrix(0, 9));
    EXPECT_EQ("Oxygen ()", grid->TextMatrix(0, 10));
    EXPECT_EQ("Sugar Goal Name", grid->TextMatrix(0, 12));
    EXPECT_EQ("Comment", grid->TextMatrix(0, 15));
    for (int col = 1; col <= 3; ++col)
        EXPECT_TRUE(grid->ColHidden(col)) << col;
    // The given widths, widened where a header word or the date with its time needs more.
    EXPECT_GE(grid->ColWidth(4), 1900);
    EXPECT_EQ(3000, grid->ColWidth(15));
    EXPECT_EQ("3/12/2024 07:05 PM", [&] {
        form->cmdAddNew_Click();
        form->ctDt_DateSelected(12, 3, 2024);
        form->txtHr->setText("07");
        form->txtMin->setText("05");
        form->txtAMPM->setText("PM");
        form->txtPlse->setText("70");
        form->cmdSave_Click();
        return grid->TextMatrix(1, 4);
    }());
    EXPECT_EQ("Temp:", form->lbl1[8]->text());
    EXPECT_EQ("Oxygen:", form->lbl1[9]->text());
    EXPECT_EQ("C", form->lblUnitTemp[0]->text());
    EXPECT_EQ(gWeightUnitText, form->lblUnitWt->text());

    grid->setColWidth(15, 4500);
    grid->setColWidth(5, 1000);
    form->Unload();
    openForm();
    EXPECT_EQ(4500, form->vsFGInfo->ColWidth(15));
    EXPECT_EQ(1000, form->vsFGInfo->ColWidth(5));
}

TEST_F(MeasureFormTest, EachModeAllowsItsOwnControls)
{
    openForm();
    const vb::OLE_COLOR grey = vb::CodeFromColor(vb::ColorFromCode(vb::vbButtonFace));
    const vb::OLE_COLOR white = vb::CodeFromColor(vb::ColorFromCode(vb::vbWindowBackground));

    // Browse: values locked grey, no entry commands, navigation shown.
    EXPECT_TRUE(form->txtHBP->isReadOnly());
    EXPECT_EQ(grey, vb::BackColor(form->txtHBP));
    EXPECT_FALSE(form->cmdSave->isEnabled());
    EXPECT_TRUE(form->cmdAddNew->isEnabled());
    EXPECT_FALSE(form->cmdDt->isEnabled());
    EXPECT_FALSE(form->UpDownTime->isEnabled());
    EXPECT_TRUE(form->cmdSetGoal->isEnabled());
    EXPECT_TRUE(form->datInfo->Visible());
    EXPECT_FALSE(form->lbl1[6]->font().bold());

    // Add: today's date and the proposed time (the clock's 10:07 AM), everything editable, the hint.
    form->cmdAddNew_Click();
    EXPECT_EQ("Add New Measurement Here:", form->Frame1->title());
    EXPECT_EQ(vb::Today(), form->DateValue());
    EXPECT_EQ("3/12/2024", form->txtDate->text());
    EXPECT_EQ("10", form->txtHr->text());
    EXPECT_EQ("07", form->txtMin->text());
    EXPECT_EQ("AM", form->txtAMPM->text());
    EXPECT_EQ("", form->txtHBP->text());
    EXPECT_EQ("(Unknown)", form->cboMood->currentText());
    EXPECT_FALSE(form->txtHBP->isReadOnly());
    EXPECT_EQ(white, vb::BackColor(form->txtHBP));
    EXPECT_EQ(white, vb::BackColor(form->txtDate));
    EXPECT_TRUE(form->cmdDt->isEnabled());
    EXPECT_TRUE(form->UpDownTime->isEnabled());
    EXPECT_TRUE(form->cmdOptionTime->isEnabled());
    EXPECT_FALSE(form->cmdSetGoal->isEnabled());
    EXPECT_FALSE(form->cmdAddNew->isEnabled());
    EXPECT_TRUE(form->cmdSave->isEnabled());
    EXPECT_FALSE(form->datInfo->Visible());
    EXPECT_TRUE(form->lbl1[6]->font().bold());
    EXPECT_EQ(0xC00000u, vb::ForeColor(form->lbl1[6]));
    EXPECT_TRUE(form->Frame2->font().bold());
    EXPECT_FALSE(form->txtHBP->font().bold()) << "a frame's caption look stays on the caption";
    EXPECT_EQ("You may add measurements in the fields highlighted in blue color. Click on Save button to save the measurements.",
              form->StatusText());

    // The person list is locked while entering: a click does not open it.
    QTest::mouseClick(form->cboPerson, Qt::LeftButton);
    EXPECT_FALSE(form->cboPerson->view()->isVisible());

    // Cancel shows the row again; edit keeps the key's controls out of reach.
    form->cmdCancel_Click();
    EXPECT_EQ("browse", form->EditMode);
    EXPECT_EQ("Browse Measurement:", form->Frame1->title());
    EXPECT_TRUE(form->DateValue().isValid());
    form->cmdEdit_Click();
    EXPECT_EQ("Edit Measurement Here:", form->Frame1->title());
    EXPECT_FALSE(form->txtHr->isEnabled());
    EXPECT_FALSE(form->txtAMPM->isEnabled());
    EXPECT_FALSE(form->cmdDt->isEnabled());
    EXPECT_FALSE(form->UpDownTime->isEnabled());
    EXPECT_TRUE(form->cmdSetGoal->isEnabled());
    EXPECT_FALSE(form->txtPlse->isReadOnly());
    EXPECT_EQ(grey, vb::BackColor(form->txtDate));
    form->cmdCancel_Click();
    EXPECT_TRUE(form->txtHr->isEnabled());
    EXPECT_TRUE(form->txtHr->isReadOnly());
}

TEST_F(MeasureFormTest, BoxesAndListsTakeOnlyTheirKeys)
{
    openForm();
    form->show();
    form->cmdAddNew_Click();

    // Whole numbers: letters are dropped with a beep, the length is the box's.
    QTest::keyClicks(form->txtPlse, "7a2x9");
    EXPECT_EQ("729", form->txtPlse->text());
    // Decimals: one point and one digit after it.
    QTest::keyClicks(form->txtWt, "72.55");
    EXPECT_EQ("72.5", form->txtWt->text());
    QTest::keyClicks(form->txtTemp[0], "9.8.7");
    EXPECT_EQ("9.8", form->txtTemp[0]->text());
    // Cursor keys still move inside a filtered box.
    QTest::keyClick(form->txtWt, Qt::Key_Home);
    EXPECT_EQ(0, form->txtWt->cursorPosition());

    // The date box takes no typing; while adding it says how to enter a date.
    const QString date = form->txtDate->text();
    answer(vb::vbOK);
    QTest::keyClicks(form->txtDate, "1");
    EXPECT_EQ(date, form->txtDate->text());
    EXPECT_EQ("To enter date, click on the Calender Button to the right of this Text Box", lastBox().text);
    EXPECT_EQ(vb::vbInformation, lastBox().icon);
    EXPECT_EQ(App::Title(), lastBox().title);

    // The mood list is chosen with the mouse only.
    const int mood = form->cboMood->currentIndex();
    QTest::keyClick(form->cboMood, Qt::Key_Down);
    EXPECT_EQ(mood, form->cboMood->currentIndex());
    form->cmdCancel_Click();
    EXPECT_EQ(1u, messages().Log().size());
}

TEST_F(MeasureFormTest, TheLargestValuesShowWholeAndASmallWindowScrollsInstead)
{
    gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP, LBP, PLSE, WT, TEMP, TEMP1, TEMP2) "
                                "values (%1, #1/1/2030 7:00:00 AM#, 999, 998, 997, 99999, 99999, 99999, 99999)")
                     .arg(samplePerson));
    openForm().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    form->resize(1400, 800);
    QCoreApplication::processEvents();
    for (QLineEdit* box :
         {form->txtHBP, form->txtLBP, form->txtPlse, form->txtWt, form->txtTemp[0], form->txtTemp[1], form->txtTemp[2]}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_FALSE(box->text().isEmpty());
        QStyleOptionFrame option;
        option.initFrom(box);
        option.rect = box->rect();
        option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
        const QRect inner = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
        // A line edit keeps 2 pixels beside its text.
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), inner.width() - 4);
    }

    // Smaller than its fields need: the form takes the size and scrolls; the fields keep theirs.
    form->resize(400, 250);
    QCoreApplication::processEvents();
    EXPECT_EQ(QSize(400, 250), form->size());
    EXPECT_GE(form->Frame1->width(), form->Frame1->minimumSizeHint().width());
    EXPECT_GE(form->Frame1->height(), form->Frame1->minimumSizeHint().height());
    auto* scroller = form->findChild<QScrollArea*>();
    ASSERT_NE(nullptr, scroller);
    EXPECT_TRUE(scroller->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(scroller->verticalScrollBar()->isVisible());
}

} // namespace
