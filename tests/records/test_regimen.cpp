// The Regimen form: the comma refused in the short name, saving with the replace and rename
// questions, and deleting a regimen that measurements use.
#include "records/RecordsFixture.h"

#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/MsgBox.h"
#include "records/frmRegimen.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

using testing_records::RecordsFixture;

const QString crlf = QStringLiteral("\r\n");

class RegimenForm : public RecordsFixture {
protected:
    void SetUp() override
    {
        RecordsFixture::SetUp();
        gDB->Execute(QStringLiteral("update MEASURE set RGMN_KY = Null"));
        gDB->Execute(QStringLiteral("delete from REGIMEN"));
        walk = addRegimen(QStringLiteral("Walk"), QStringLiteral("30 minutes a day"));
        swim = addRegimen(QStringLiteral("Swim"), QString());
        // The walk is named by the first ten readings.
        gDB->Execute(
            QStringLiteral(
                "update MEASURE set RGMN_KY = %1 where MSRD_DT in (select MSRD_DT from MEASURE order by MSRD_DT limit 10)")
                .arg(walk));
        walkReadings = readingsWith(walk);
    }

    frmRegimen& open()
    {
        frmRegimen& form = vb::defaultInstance<frmRegimen>();
        form.Load();
        return form;
    }
    void close(frmRegimen& form)
    {
        form.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    int addRegimen(const QString& name, const QString& detail)
    {
        gDB->Execute(QStringLiteral("insert into REGIMEN (RGMN_NM, RGMN_DTL) values (%1, %2)")
                         .arg(vb::SqlText(name), vb::SqlText(detail)));
        return count(QStringLiteral("select RGMN_KY from REGIMEN where RGMN_NM = ") + vb::SqlText(name));
    }
    int readingsWith(int regimen)
    {
        return count(QStringLiteral("select count(*) from MEASURE where RGMN_KY = %1").arg(regimen));
    }
    QVariant field(const char* column, int regimen)
    {
        return value(QStringLiteral("select %1 from REGIMEN where RGMN_KY = %2").arg(QLatin1String(column)).arg(regimen));
    }

    int walk = 0;
    int swim = 0;
    int walkReadings = 0;
};

TEST_F(RegimenForm, OpensOnTheFirstRegimenByNameInBrowseMode)
{
    ASSERT_EQ(10, walkReadings);
    frmRegimen& form = open();
    EXPECT_EQ(QStringLiteral("Regimen Information"), form.Caption());
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Browse Regimen:"), form.Frame1->title());
    EXPECT_EQ(QStringLiteral("Swim"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("Regimen: 1"), form.datRegimen->Caption());
    EXPECT_EQ(QStringLiteral("Regimen Name"), form.vsFGRegimen->TextMatrix(0, 2));
    EXPECT_EQ(QStringLiteral("Regimen Detail"), form.vsFGRegimen->TextMatrix(0, 3));
    EXPECT_TRUE(form.vsFGRegimen->ColHidden(1));
    EXPECT_TRUE(form.txtName->isReadOnly());

    form.datRegimen->moveNext();
    EXPECT_EQ(QStringLiteral("Walk"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("30 minutes a day"), form.txtDetail->toPlainText());
    EXPECT_EQ(QStringLiteral("Regimen: 2"), form.datRegimen->Caption());

    form.cmdAddNew_Click();
    EXPECT_EQ(QStringLiteral("Add New Regimen Here:"), form.Frame1->title());
    EXPECT_TRUE(form.lblDetail->font().bold());
    EXPECT_FALSE(form.datRegimen->Visible());
    form.cmdCancel_Click();
    form.cmdEdit_Click();
    EXPECT_EQ(QStringLiteral("Edit Regimen Here:"), form.Frame1->title());
    EXPECT_EQ(QStringLiteral("Walk"), form.txtName->text());
}

TEST_F(RegimenForm, ACommaIsRefusedWithABeepAndAStatusTextThatTheNextKeyClears)
{
    frmRegimen& form = open();
    form.cmdAddNew_Click();
    QTest::keyClicks(form.txtName, QStringLiteral("Run,"));
    EXPECT_EQ(QStringLiteral("Run"), form.txtName->text());
    EXPECT_EQ(1, services().runtime().beep().Count());
    EXPECT_EQ(QStringLiteral("Comma character is not accepted in regimen short name"), form.StatusText());
    QTest::keyClicks(form.txtName, QStringLiteral("s"));
    EXPECT_EQ(QStringLiteral("Runs"), form.txtName->text());
    EXPECT_EQ(QString(), form.StatusText());
    // At most ten characters are typed.
    QTest::keyClicks(form.txtName, QStringLiteral("abcdefghij"));
    EXPECT_EQ(QStringLiteral("Runsabcdef"), form.txtName->text());
}

TEST_F(RegimenForm, ABlankNameIsRefusedAndANewRegimenIsStoredTrimmed)
{
    frmRegimen& form = open();
    form.cmdAddNew_Click();
    form.txtName->setText(QStringLiteral("  "));
    answer(vb::vbOK);
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("Please enter regimen's short name."), lastBox().text);
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_EQ(QStringLiteral("addnew"), form.EditMode);

    // Quotes go in and come back as typed; name and detail lose their outer blanks.
    form.txtName->setText(QStringLiteral(" Mom's Tea "));
    form.txtDetail->setPlainText(QStringLiteral("  one cup \"strong\", after lunch  "));
    form.cmdSave_Click();
    const int key = count(QStringLiteral("select RGMN_KY from REGIMEN where RGMN_NM = 'Mom''s Tea'"));
    ASSERT_GT(key, 0);
    EXPECT_EQ(QStringLiteral("one cup \"strong\", after lunch"), field("RGMN_DTL", key).toString());
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Mom's Tea"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("Regimen: 3"), form.datRegimen->Caption());
}

TEST_F(RegimenForm, AddingAnExistingNameAsksToReplace)
{
    frmRegimen& form = open();
    form.cmdAddNew_Click();
    form.txtName->setText(QStringLiteral("WALK"));
    form.txtDetail->setPlainText(QStringLiteral("an hour"));
    answer(vb::vbNo);
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("Regimen with the same name exists in database.") + crlf +
                  QStringLiteral("Do you want to replace the information?"),
              lastBox().text);
    EXPECT_EQ(vb::vbYesNo, lastBox().buttons);
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_EQ(vb::vbDefaultButton1, lastBox().defaultButton);
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Walk"), form.txtName->text()); // the existing row is shown
    EXPECT_EQ(QStringLiteral("30 minutes a day"), field("RGMN_DTL", walk).toString());

    form.cmdAddNew_Click();
    form.txtName->setText(QStringLiteral("WALK"));
    form.txtDetail->setPlainText(QStringLiteral("an hour"));
    answer(vb::vbYes);
    form.cmdSave_Click();
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from REGIMEN")));
    EXPECT_EQ(QStringLiteral("WALK"), field("RGMN_NM", walk).toString());
    EXPECT_EQ(QStringLiteral("an hour"), field("RGMN_DTL", walk).toString());
    EXPECT_EQ(walkReadings, readingsWith(walk));
}

TEST_F(RegimenForm, RenamingARegimenThatMeasurementsUseAsksWithNoTheDefault)
{
    frmRegimen& form = open();
    // Swim is used by no measurement: renamed without a question.
    form.cmdEdit_Click();
    form.txtName->setText(QStringLiteral("Swimming"));
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("Swimming"), field("RGMN_NM", swim).toString());

    form.datRegimen->Recordset()->FindFirst(QStringLiteral("RGMN_KY = %1").arg(walk));
    ASSERT_EQ(QStringLiteral("Walk"), form.txtName->text());
    form.cmdEdit_Click();
    form.txtName->setText(QStringLiteral("Hike"));
    answer(vb::vbNo);
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("By changing the name of this regimen, the regimen of the associated measurements") + crlf +
                  QStringLiteral("will be changed accordingly. Do you still want to change it?"),
              lastBox().text);
    EXPECT_EQ(vb::vbDefaultButton2, lastBox().defaultButton);
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Walk"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("Walk"), field("RGMN_NM", walk).toString());

    form.cmdEdit_Click();
    form.txtName->setText(QStringLiteral("Hike"));
    answer(vb::vbYes);
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("Hike"), field("RGMN_NM", walk).toString());
    EXPECT_EQ(walkReadings, readingsWith(walk)); // they keep the key and show the new name
}

TEST_F(RegimenForm, RenamingOntoAnotherRegimensNameIsRefusedAndTheEditDiscarded)
{
    frmRegimen& form = open(); // on Swim
    form.cmdEdit_Click();
    form.txtName->setText(QStringLiteral("walk"));
    answer(vb::vbOK);
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("Regimen with the same name exists in database."), lastBox().text);
    EXPECT_EQ(QStringLiteral("Error: 3022"), lastBox().title);
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Swim"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("Swim"), field("RGMN_NM", swim).toString());
}

TEST_F(RegimenForm, DeletingARegimenThatMeasurementsUseLeavesThemWithoutOne)
{
    const int readings = count(QStringLiteral("select count(*) from MEASURE"));
    frmRegimen& form = open();
    form.datRegimen->Recordset()->FindFirst(QStringLiteral("RGMN_KY = %1").arg(walk));

    answer(vb::vbNo);
    form.cmdDelete_Click();
    EXPECT_EQ(QStringLiteral("By deleting this regimen, the regimen of the associated measurements") + crlf +
                  QStringLiteral("will become 'unknown'. Do you still want to delete?"),
              lastBox().text);
    EXPECT_EQ(vb::vbDefaultButton2, lastBox().defaultButton);
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_EQ(walkReadings, readingsWith(walk));
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from REGIMEN")));

    answer(vb::vbYes);
    form.cmdDelete_Click();
    EXPECT_EQ(0, readingsWith(walk));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from REGIMEN where RGMN_KY = %1").arg(walk)));
    EXPECT_EQ(readings, count(QStringLiteral("select count(*) from MEASURE")));
    EXPECT_EQ(QStringLiteral("Swim"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("Regimen: 1"), form.datRegimen->Caption());

    // The only regimen, used by nothing: no question, an empty list.
    form.cmdDelete_Click();
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from REGIMEN")));
    EXPECT_EQ(QStringLiteral("Regimen: 0"), form.datRegimen->Caption());
    EXPECT_EQ(QString(), form.txtName->text());
    EXPECT_EQ(QString(), form.txtDetail->toPlainText());
    form.cmdEdit_Click();
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
}

TEST_F(RegimenForm, ColumnWidthsTheUserLeavesAreKept)
{
    frmRegimen& form = open();
    EXPECT_NEAR(6000, form.vsFGRegimen->ColWidth(3), 15);
    form.vsFGRegimen->setColWidth(2, 2000);
    close(form);
    frmRegimen& again = open();
    EXPECT_NEAR(2000, again.vsFGRegimen->ColWidth(2), 15);
}

} // namespace
