// The custom labels and units dialog: what it reads, what one apply writes (settings row, unit
// codes, default goal limits), what it refuses, and the open forms it refreshes.
#include "records/RecordsFixture.h"
#include "records/frmChngeCustomLblUnt.h"
#include "records/frmDSetGoal.h"
#include "records/frmMeasure.h"
#include "records/frmPerson.h"

#include "platform/controls/VSFlexGrid.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace {

class UnitsFormTest : public testing_records::RecordsFixture {
protected:
    void SetUp() override
    {
        RecordsFixture::SetUp();
        form = &vb::defaultInstance<frmChngeCustomLblUnt>();
        form->Load();
    }

    QString setting(const QString& column)
    {
        const QVariant v = value(QStringLiteral("select %1 from Application").arg(column));
        return v.isNull() ? QStringLiteral("<Null>") : v.toString();
    }

    // Every goal row as "key:NL,NH,DL,DH", in key order.
    QStringList goals()
    {
        QStringList out;
        auto rs = gDB->OpenRecordset(QStringLiteral("select GL_KY, GL_NL, GL_NH, GL_DL, GL_DH from DBTS_GOAL order by GL_KY"),
                                     dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList limits;
            for (int i = 1; i <= 4; ++i)
                limits << rs->Fields(i).Value().toString();
            out << rs->Fields(0).Value().toString() + QLatin1Char(':') + limits.join(QLatin1Char(','));
        }
        return out;
    }

    // Every stored sugar reading and weight, in a fixed order.
    QStringList readings()
    {
        QStringList out;
        auto rs = gDB->OpenRecordset(QStringLiteral("select TEMP2, GL_KY, WT from MEASURE "
                                                    "where TEMP2 is not null or WT is not null order by PRSN_KY, MSRD_DT"),
                                     dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            out << rs->Fields(0).Value().toString() + QLatin1Char('/') + rs->Fields(1).Value().toString() + QLatin1Char('/') +
                       rs->Fields(2).Value().toString();
        }
        return out;
    }

    frmChngeCustomLblUnt* form = nullptr;
};

TEST_F(UnitsFormTest, LoadShowsTheSettingsRowAndUnknownUnitTextsChooseNothing)
{
    EXPECT_EQ(QStringLiteral("Custom1"), form->txtTempLbl[0]->text());
    EXPECT_EQ(QStringLiteral("Custom2"), form->txtTempLbl[1]->text());
    EXPECT_EQ(QStringLiteral("Unit1"), form->txtTempUnit[0]->text());
    EXPECT_EQ(QStringLiteral("Unit2"), form->txtTempUnit[1]->text());
    EXPECT_TRUE(form->OptLbKg[0]->isChecked());
    EXPECT_TRUE(form->OptFtCm[0]->isChecked());
    EXPECT_TRUE(form->OptMgMmol[0]->isChecked());
    EXPECT_EQ(QStringLiteral("frmChngeCustomLblUnt"), form->Name());
    EXPECT_EQ(QStringLiteral("Change label and units of custom and selected measures"), form->Caption());

    // "KG" is not "kg": the comparison is exact, and a frame without a choice keeps its text
    // and its unit code when applied.
    gDB->Execute(QStringLiteral("update Application set WtUnit='KG', HtUnit='cm', Temp2Unit='mmol/l'"));
    form->Unload();
    form = &vb::defaultInstance<frmChngeCustomLblUnt>();
    form->Load();
    EXPECT_FALSE(form->OptLbKg[0]->isChecked());
    EXPECT_FALSE(form->OptLbKg[1]->isChecked());
    EXPECT_TRUE(form->OptFtCm[1]->isChecked());
    EXPECT_TRUE(form->OptMgMmol[1]->isChecked());
    gWeightUnit = 1;
    form->cmdApply_Click();
    EXPECT_EQ(QStringLiteral("KG"), setting(QStringLiteral("WtUnit")));
    EXPECT_EQ(1, gWeightUnit);
    EXPECT_EQ(2, gHeightUnit);
    EXPECT_EQ(QStringLiteral("The changes are saved"), form->StatusText());
}

TEST_F(UnitsFormTest, SugarUnitChangeRewritesOnlyUntouchedDefaultGoalsAndBack)
{
    // A default row the user changed, and a row the user added with a default set.
    gDB->Execute(QStringLiteral("update DBTS_GOAL set GL_NH='130' where GL_KY=2"));
    gDB->Execute(QStringLiteral("insert into DBTS_GOAL (GL_NM, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH) "
                                "values ('Mine', 'own', '80', '180', '60', '240')"));
    const QStringList before = goals();
    gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, TEMP2, GL_KY) values (%1, #3/1/2024 8:00 AM#, 126, 1)")
                     .arg(samplePerson));
    gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, TEMP2, GL_KY) values (%1, #3/1/2024 9:30 PM#, 7.5, 8)")
                     .arg(samplePerson));
    const QStringList stored = readings();
    ASSERT_TRUE(stored.contains(QStringLiteral("126/1/")));
    const int mine = count(QStringLiteral("select GL_KY from DBTS_GOAL where GL_NM='Mine'"));
    const QString mineRow = QString::number(mine) + QStringLiteral(":80,180,60,240");
    ASSERT_TRUE(before.contains(mineRow));

    // The goals that kept their numbers are named; the status alone would hide them.
    const auto keptMessage = [](const QString& unit) {
        return QStringLiteral("The default goals now have their limits in ") + unit +
               QStringLiteral(".\r\nThese goals kept their numbers; enter their limits in ") + unit +
               QStringLiteral(":\r\n2.Before Breakfast\r\nMine");
    };
    form->OptMgMmol[1]->setChecked(true);
    answer(vb::vbOK);
    form->cmdApply_Click();
    EXPECT_EQ(keptMessage(QStringLiteral("mmol/l")), lastBox().text);
    EXPECT_EQ(vb::vbInformation, lastBox().icon);
    EXPECT_EQ(QStringLiteral("mmol/l"), setting(QStringLiteral("Temp2Unit")));
    QStringList expected{
        QStringLiteral("1:4.5,10,3.5,13"),  QStringLiteral("2:80,130,60,240"),  QStringLiteral("3:4.5,10,3.5,13"),
        QStringLiteral("4:4.5,6.7,3.5,13"), QStringLiteral("5:4.5,10,3.5,13"),  QStringLiteral("6:4.5,6.7,3.5,13"),
        QStringLiteral("7:4.5,10,3.5,13"),  QStringLiteral("8:5.5,7.8,3.5,13"), mineRow,
    };
    EXPECT_EQ(expected, goals());
    EXPECT_EQ(stored, readings());
    EXPECT_EQ(QStringLiteral("The changes are saved"), form->StatusText());

    // A second apply in the same unit finds nothing left to change and tells nothing.
    const std::size_t shown = messages().Log().size();
    form->cmdApply_Click();
    EXPECT_EQ(expected, goals());
    EXPECT_EQ(shown, messages().Log().size());

    form->OptMgMmol[0]->setChecked(true);
    answer(vb::vbOK);
    form->cmdApply_Click();
    EXPECT_EQ(keptMessage(QStringLiteral("mg/dl")), lastBox().text);
    EXPECT_EQ(QStringLiteral("mg/dl"), setting(QStringLiteral("Temp2Unit")));
    EXPECT_EQ(before, goals());
    EXPECT_EQ(stored, readings());
}

TEST_F(UnitsFormTest, LabelsAndUnitsWithQuotesAndOfFullLengthAreStoredAsTyped)
{
    const QString label1 = QStringLiteral("Doctor's cnt");   // 12 characters
    const QString label2 = QStringLiteral(" 'x' \"y\" ;--"); // 12, quotes and blanks kept
    const QString unit1 = QStringLiteral("o'clock''''");     // 11
    const QString unit2 = QStringLiteral("123456789012");
    ASSERT_EQ(frmChngeCustomLblUnt::kMaxEntryLength, label1.size());
    form->txtTempLbl[0]->setText(label1);
    form->txtTempLbl[1]->setText(label2);
    form->txtTempUnit[0]->setText(unit1);
    form->txtTempUnit[1]->setText(unit2);
    QTest::keyClick(form->txtTempUnit[1], '3'); // typing stops at the column's length
    form->OptLbKg[1]->setChecked(true);
    form->OptFtCm[1]->setChecked(true);
    form->cmdApply_Click();

    EXPECT_EQ(label1, setting(QStringLiteral("TempLBL")));
    EXPECT_EQ(label2, setting(QStringLiteral("Temp1LBL")));
    EXPECT_EQ(unit1, setting(QStringLiteral("TempUnit")));
    EXPECT_EQ(unit2, setting(QStringLiteral("Temp1Unit")));
    EXPECT_EQ(QStringLiteral("kg"), setting(QStringLiteral("WtUnit")));
    EXPECT_EQ(QStringLiteral("cm"), setting(QStringLiteral("HtUnit")));
    EXPECT_EQ(2, gWeightUnit);
    EXPECT_EQ(2, gHeightUnit);
    // No Measurement form is open, so the weight text is left to the forms that read it.
    EXPECT_TRUE(gWeightUnitText.isEmpty());
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from Application")));

    form->cmdClose_Click();
    EXPECT_FALSE(vb::Forms().Find(QStringLiteral("frmChngeCustomLblUnt")));
    form = &vb::defaultInstance<frmChngeCustomLblUnt>();
    form->Load();
    EXPECT_EQ(label1, form->txtTempLbl[0]->text());
    EXPECT_EQ(label2, form->txtTempLbl[1]->text());
    EXPECT_EQ(unit1, form->txtTempUnit[0]->text());
    EXPECT_TRUE(form->OptLbKg[1]->isChecked());
}

TEST_F(UnitsFormTest, EmptyUnitsAreStoredAsNullAndReadBackEmptyBlankUnitsAsTyped)
{
    form->txtTempUnit[0]->clear();
    form->txtTempUnit[1]->setText(QStringLiteral("  "));
    form->OptMgMmol[1]->setChecked(true);
    form->cmdApply_Click();

    EXPECT_EQ(QStringLiteral("<Null>"), setting(QStringLiteral("TempUnit")));
    EXPECT_EQ(QStringLiteral("  "), setting(QStringLiteral("Temp1Unit")));
    // The rest of the row was written with it.
    EXPECT_EQ(QStringLiteral("mmol/l"), setting(QStringLiteral("Temp2Unit")));
    EXPECT_EQ(QStringLiteral("4.5"), value(QStringLiteral("select GL_NL from DBTS_GOAL where GL_KY=1")).toString());
    EXPECT_EQ(QStringLiteral("The changes are saved"), form->StatusText());

    form->Unload();
    form = &vb::defaultInstance<frmChngeCustomLblUnt>();
    form->Load();
    EXPECT_EQ(QString(), form->txtTempUnit[0]->text());
    EXPECT_EQ(QStringLiteral("  "), form->txtTempUnit[1]->text());
}

TEST_F(UnitsFormTest, BlankLabelIsRefusedAndNothingChanges)
{
    const QStringList goalsBefore = goals();
    for (int which = 0; which < 2; ++which) {
        form->txtTempLbl[0]->setText(which == 0 ? QStringLiteral("   ") : QStringLiteral("Temp"));
        form->txtTempLbl[1]->setText(which == 1 ? QString() : QStringLiteral("Other"));
        form->OptMgMmol[1]->setChecked(true);
        form->OptLbKg[1]->setChecked(true);
        answer(vb::vbOK);
        form->cmdApply_Click();
        EXPECT_EQ(QStringLiteral("The custom label cannot be empty.\r\nPlease enter the custom label."), lastBox().text);
        EXPECT_EQ(vb::vbInformation, lastBox().icon);
        EXPECT_EQ(vb::vbOKOnly, lastBox().buttons);
        EXPECT_EQ(QStringLiteral("Ravelcombrick"), lastBox().title);
    }
    EXPECT_EQ(QStringLiteral("Custom1"), setting(QStringLiteral("TempLBL")));
    EXPECT_EQ(QStringLiteral("lb"), setting(QStringLiteral("WtUnit")));
    EXPECT_EQ(QStringLiteral("mg/dl"), setting(QStringLiteral("Temp2Unit")));
    EXPECT_EQ(goalsBefore, goals());
    EXPECT_EQ(1, gWeightUnit);
    EXPECT_TRUE(form->StatusText().isEmpty());
}

TEST_F(UnitsFormTest, ARowNotWrittenIsReportedAndChangesNothingElse)
{
    const QStringList goalsBefore = goals();
    // A first apply leaves its notice; the failing one must not keep it.
    form->cmdApply_Click();
    ASSERT_EQ(QStringLiteral("The changes are saved"), form->StatusText());

    gDB->Execute(QStringLiteral("delete from Application"));
    form->OptMgMmol[1]->setChecked(true);
    form->OptLbKg[1]->setChecked(true);
    form->OptFtCm[1]->setChecked(true);
    answer(vb::vbOK);
    form->cmdApply_Click();
    EXPECT_TRUE(lastBox().text.startsWith(QStringLiteral("The changes could not be saved.")));
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_TRUE(form->StatusText().isEmpty());
    EXPECT_EQ(goalsBefore, goals());
    EXPECT_EQ(1, gWeightUnit);
    EXPECT_EQ(1, gHeightUnit);
    EXPECT_TRUE(vb::Forms().Find(QStringLiteral("frmChngeCustomLblUnt"))); // still usable
}

TEST_F(UnitsFormTest, ApplyRefreshesAnOpenMeasurementAndPersonForm)
{
    auto& measure = vb::defaultInstance<frmMeasure>();
    measure.Load();
    auto& person = vb::defaultInstance<frmPerson>();
    person.Load();
    const QStringList stored = readings();
    ASSERT_EQ(QStringLiteral("Custom1:"), measure.lbl1[8]->text());
    ASSERT_FALSE(person.txtFt->isHidden());

    form->txtTempLbl[0]->setText(QStringLiteral("Temp'C"));
    form->txtTempUnit[0]->setText(QStringLiteral("\u00b0C"));
    form->txtTempLbl[1]->setText(QStringLiteral("Steps"));
    form->txtTempUnit[1]->clear();
    form->OptLbKg[1]->setChecked(true);
    form->OptFtCm[1]->setChecked(true);
    form->OptMgMmol[1]->setChecked(true);
    form->cmdApply_Click();

    EXPECT_EQ(QStringLiteral("Temp'C:"), measure.lbl1[8]->text());
    EXPECT_EQ(QStringLiteral("Steps:"), measure.lbl1[9]->text());
    EXPECT_EQ(QStringLiteral("\u00b0C"), measure.lblUnitTemp[0]->text());
    EXPECT_EQ(QString(), measure.lblUnitTemp[1]->text());
    EXPECT_EQ(QStringLiteral("mmol/l"), measure.lblUnitTemp[2]->text());
    EXPECT_EQ(QStringLiteral("kg"), measure.lblUnitWt->text());
    EXPECT_EQ(QStringLiteral("kg"), gWeightUnitText);
    EXPECT_EQ(QStringLiteral("Weight (kg)"), measure.vsFGInfo->TextMatrix(0, 8));
    EXPECT_EQ(QStringLiteral("Temp'C (\u00b0C)"), measure.vsFGInfo->TextMatrix(0, 9));
    EXPECT_EQ(QStringLiteral("Steps ()"), measure.vsFGInfo->TextMatrix(0, 10));
    EXPECT_EQ(QStringLiteral("Sugar(mmol/l)"), measure.vsFGInfo->TextMatrix(0, 11));

    EXPECT_TRUE(person.txtFt->isHidden());
    EXPECT_TRUE(person.txtIn->isHidden());
    EXPECT_FALSE(person.txtCM->isHidden());
    EXPECT_FALSE(person.lblCM->isHidden());
    EXPECT_EQ(QStringLiteral("Height(cm)"), person.vsFGPerson->TextMatrix(0, 4));

    // Only texts and codes change: weights and sugar readings keep their numbers.
    EXPECT_EQ(stored, readings());
}

TEST_F(UnitsFormTest, AnOpenGoalFormShowsTheConvertedLimits)
{
    auto& goal = vb::defaultInstance<frmDSetGoal>();
    goal.Load();
    ASSERT_EQ(QStringLiteral("browse"), goal.EditMode);
    const QString name = goal.txtGlNm->text();
    ASSERT_FALSE(name.isEmpty());
    ASSERT_EQ(QStringLiteral("mg/dl"), goal.lblTemp2Unit[0]->text());

    form->OptMgMmol[1]->setChecked(true);
    form->cmdApply_Click();
    EXPECT_EQ(QStringLiteral("mmol/l"), goal.lblTemp2Unit[0]->text());
    EXPECT_EQ(QStringLiteral("mmol/l"), goal.lblTemp2Unit[1]->text());
    EXPECT_EQ(name, goal.txtGlNm->text());
    const QString stored = value(QStringLiteral("select GL_NH from DBTS_GOAL where GL_NM=%1").arg(vb::SqlText(name))).toString();
    EXPECT_EQ(stored, goal.txtNH->text());
    EXPECT_TRUE(stored == QStringLiteral("10") || stored == QStringLiteral("6.7") || stored == QStringLiteral("7.8"));
}

TEST_F(UnitsFormTest, ABarIsRefusedTypedOrPastedAndOneStoredBeforeAtApply)
{
    const QString refused =
        QStringLiteral("A custom label or unit cannot contain the character \"|\".\r\nPlease use any other character.");
    const struct {
        QLineEdit* box;
        bool paste;
        const char *input, *kept;
        std::size_t messages;
    } cases[] = {
        {form->txtTempLbl[0], false, "Temp|C", "TempC", 1},
        {form->txtTempUnit[1], false, "a||b", "ab", 2},
        {form->txtTempUnit[0], true, "mg|dl", "", 1}, // refused whole, not changed
    };
    for (const auto& c : cases) {
        c.box->clear();
        const std::size_t logged = messages().Log().size() + c.messages;
        for (std::size_t i = 0; i < c.messages; ++i)
            answer(vb::vbOK);
        QGuiApplication::clipboard()->setText(QLatin1String(c.input));
        c.paste ? c.box->paste() : QTest::keyClicks(c.box, QLatin1String(c.input));
        QCoreApplication::processEvents();
        EXPECT_EQ(QLatin1String(c.kept), c.box->text());
        ASSERT_EQ(logged, messages().Log().size());
        EXPECT_EQ(refused, lastBox().text);
    }
    // Stored by an older program: shown, but not stored again.
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Old|one'"));
    form->cmdClose_Click();
    form = &vb::defaultInstance<frmChngeCustomLblUnt>();
    form->Load();
    ASSERT_EQ(QStringLiteral("Old|one"), form->txtTempLbl[0]->text());
    answer(vb::vbOK);
    form->cmdApply_Click();
    EXPECT_EQ(refused, lastBox().text);
    EXPECT_TRUE(form->StatusText().isEmpty());
}

TEST_F(UnitsFormTest, TheMeasurementGridKeepsItsColumnsUnderLabelsHoldingMarks)
{
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temp|C', TempUnit = '^F', Temp1Unit = '|'"));
    auto& measure = vb::defaultInstance<frmMeasure>();
    measure.Load();
    const QStringList expected{"Temp|C (^F)", "Custom2 (|)", "Sugar(mg/dl)", "Sugar Goal Name", "Regimen", "Mood", "Comment"};
    QStringList headings;
    for (int col = 9; col < measure.vsFGInfo->Cols(); ++col)
        headings << measure.vsFGInfo->TextMatrix(0, col);
    EXPECT_EQ(expected, headings);
}

} // namespace
