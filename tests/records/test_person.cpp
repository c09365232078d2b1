// The Person form: the record-form pattern (modes, counter, current person), saving with the
// replace and rename questions, heights in both units, deleting a person with everything that
// belongs to it, and a deletion that fails half-way.
#include "records/RecordsFixture.h"

#include "data/modHealth.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/MsgBox.h"
#include "records/frmPerson.h"
#include "records/frmRegimen.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <sqlite3.h>

#include <vector>

namespace {

using testing_records::RecordsFixture;

const QString crlf = QStringLiteral("\r\n");

class PersonForm : public RecordsFixture {
protected:
    void SetUp() override
    {
        RecordsFixture::SetUp();
        modHealth::setBeepHook([] { vb::Beep(); });
    }
    void TearDown() override
    {
        modHealth::setBeepHook({});
        RecordsFixture::TearDown();
    }

    frmPerson& open()
    {
        frmPerson& form = vb::defaultInstance<frmPerson>();
        form.Load();
        return form;
    }
    // Closes the form and lets it go, as the main window's openers do.
    void close(frmPerson& form)
    {
        form.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    int addPerson(const QString& name)
    {
        gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values (%1)").arg(vb::SqlText(name)));
        return count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = %1").arg(vb::SqlText(name)));
    }
    int chartRows(int person)
    {
        const QString key = QString::number(person);
        return count("select count(*) from PERSON_PLOT where PRSN_KY = " + key) +
               count("select count(*) from SINGLE_PERSON_PLOT where PRSN_KY = " + key) +
               count("select count(*) from MULTIPLE_PERSON_PLOT where PRSN_KY = " + key) +
               count("select count(*) from CHART_MULTIPLE_PERSON_PLOT where PRSN_KY = " + key);
    }
    int rowsOf(const char* table, int person)
    {
        return count(QStringLiteral("select count(*) from %1 where PRSN_KY = %2").arg(QLatin1String(table)).arg(person));
    }
    int beeps() { return services().runtime().beep().Count(); }
};

// ---------------------------------------------------------------------------------------------
// Loading, browsing and modes

TEST_F(PersonForm, OpensOnTheCurrentPersonAndMovesMakeAnotherCurrent)
{
    const int ann = addPerson(QStringLiteral("Ann Bell"));
    frmPerson& form = open();

    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Person Information"), form.Caption());
    EXPECT_EQ(QStringLiteral("Pellam Ostry"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("Person: 2"), form.datPerson->Caption()); // listed by name
    EXPECT_EQ(samplePerson, gPersonKey);
    EXPECT_EQ(QStringLiteral("Person Name"), form.vsFGPerson->TextMatrix(0, 2));
    EXPECT_EQ(QStringLiteral("Height(in)"), form.vsFGPerson->TextMatrix(0, 4));
    EXPECT_EQ(QStringLiteral(" Gender"), form.vsFGPerson->TextMatrix(0, 5));
    EXPECT_TRUE(form.vsFGPerson->ColHidden(1));
    EXPECT_EQ(QStringLiteral("Ann Bell"), form.vsFGPerson->TextMatrix(1, 2));

    form.datPerson->moveFirst();
    EXPECT_EQ(ann, gPersonKey);
    EXPECT_EQ(QStringLiteral("Ann Bell"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("Person: 1"), form.datPerson->Caption());

    // Moves made while entering change neither the current person nor the fields.
    form.cmdEdit_Click();
    form.datPerson->moveLast();
    EXPECT_EQ(ann, gPersonKey);
    EXPECT_EQ(QStringLiteral("Ann Bell"), form.txtName->text());
}

TEST_F(PersonForm, AKeyThatMatchesNoPersonLeavesTheFirstRowCurrent)
{
    const int ann = addPerson(QStringLiteral("Ann Bell"));
    for (const qint32 noted : {0, 99999}) {
        gPersonKey = noted;
        frmPerson& form = open();
        EXPECT_EQ(QStringLiteral("Ann Bell"), form.txtName->text()) << noted;
        EXPECT_EQ(QStringLiteral("Person: 1"), form.datPerson->Caption()) << noted;
        EXPECT_EQ(ann, gPersonKey) << noted;
        close(form);
    }
}

TEST_F(PersonForm, AFailingLoadIsReportedWithTheFormsName)
{
    const dao::DatabasePtr database = gDB;
    gDB.reset();
    answer(vb::vbOK);
    frmPerson& form = open();
    gDB = database;
    EXPECT_TRUE(lastBox().text.startsWith(QStringLiteral("Error Number: "))) << lastBox().text.toStdString();
    EXPECT_TRUE(lastBox().text.endsWith(QStringLiteral("\r\nError location:frmPerson"))) << lastBox().text.toStdString();
    EXPECT_EQ(0, lastBox().icon);
    // Closing it later still works.
    close(form);
}

TEST_F(PersonForm, ModesSetCaptionsButtonsFieldsAndLabels)
{
    frmPerson& form = open();
    const vb::OLE_COLOR grey = vb::CodeFromColor(vb::ColorFromCode(vb::vbButtonFace));
    const vb::OLE_COLOR white = vb::CodeFromColor(vb::ColorFromCode(vb::vbWindowBackground));

    EXPECT_EQ(QStringLiteral("Browse Person:"), form.Frame1->title());
    EXPECT_TRUE(form.txtName->isReadOnly());
    EXPECT_TRUE(form.txtComment->isReadOnly());
    EXPECT_EQ(grey, vb::BackColor(form.txtAge));
    EXPECT_EQ(Qt::ClickFocus, form.txtName->focusPolicy());
    EXPECT_TRUE(form.datPerson->Visible());
    EXPECT_TRUE(form.cmdEdit->isEnabled());
    EXPECT_FALSE(form.cmdSave->isEnabled());
    EXPECT_FALSE(form.lblName->font().bold());
    EXPECT_EQ(vb::vbBlack, vb::ForeColor(form.lblName));

    form.cmdAddNew_Click();
    EXPECT_EQ(QStringLiteral("addnew"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Add New Person Here:"), form.Frame1->title());
    EXPECT_EQ(QString(), form.txtName->text());
    EXPECT_FALSE(form.optSex[0]->isChecked());
    EXPECT_FALSE(form.txtName->isReadOnly());
    EXPECT_EQ(white, vb::BackColor(form.txtComment));
    EXPECT_EQ(Qt::StrongFocus, form.optSex[1]->focusPolicy());
    EXPECT_FALSE(form.datPerson->Visible());
    EXPECT_FALSE(form.cmdAddNew->isEnabled());
    EXPECT_FALSE(form.cmdDelete->isEnabled());
    EXPECT_TRUE(form.cmdSave->isEnabled());
    EXPECT_TRUE(form.cmdCancel->isEnabled());
    for (QWidget* caption :
         std::initializer_list<QWidget*>{form.Frame1, form.lblName, form.lblAge, form.lblHgt, form.lblSex, form.lblComment}) {
        EXPECT_TRUE(caption->font().bold()) << caption->objectName().toStdString();
        EXPECT_EQ(0xC00000u, vb::ForeColor(caption)) << caption->objectName().toStdString();
    }
    // The boxes and options inside the frame keep their own look.
    EXPECT_FALSE(form.txtName->font().bold());
    EXPECT_FALSE(form.optSex[0]->font().bold());
    EXPECT_TRUE(form.txtCM->isHidden());
    EXPECT_FALSE(form.txtFt->isHidden());

    form.cmdCancel_Click();
    EXPECT_EQ(QStringLiteral("Pellam Ostry"), form.txtName->text());
    EXPECT_TRUE(form.datPerson->Visible());

    form.cmdEdit_Click();
    EXPECT_EQ(QStringLiteral("Edit Person Here:"), form.Frame1->title());
    EXPECT_EQ(QStringLiteral("Pellam Ostry"), form.txtName->text());
}

// ---------------------------------------------------------------------------------------------
// Saving

TEST_F(PersonForm, ABlankNameIsRefusedAndTheEntriesStay)
{
    frmPerson& form = open();
    form.cmdAddNew_Click();
    form.txtName->setText(QStringLiteral("   "));
    form.txtAge->setText(QStringLiteral("40"));
    answer(vb::vbOK);
    form.cmdSave_Click();

    EXPECT_EQ(QStringLiteral("Please enter person's name."), lastBox().text);
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_EQ(vb::vbOKOnly, lastBox().buttons);
    EXPECT_EQ(QStringLiteral("Ravelcombrick"), lastBox().title);
    EXPECT_EQ(QStringLiteral("addnew"), form.EditMode);
    EXPECT_EQ(QStringLiteral("40"), form.txtAge->text());
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from PERSON")));
}

TEST_F(PersonForm, ANewPersonIsStoredMadeCurrentAndGetsChartRows)
{
    frmPerson& form = open();
    form.cmdAddNew_Click();
    // A quote and letters beyond ASCII go in and come back unchanged.
    const QString name = QStringLiteral("Zoë O'Brien Ærø");
    form.txtName->setText(QStringLiteral("  ") + name + QStringLiteral(" "));
    form.txtAge->setText(QStringLiteral("42"));
    form.txtFt->setText(QStringLiteral("5"));
    form.txtIn->setText(QStringLiteral("11"));
    form.optSex[1]->setChecked(true);
    form.txtComment->setPlainText(QStringLiteral(" didn't sleep "));
    form.cmdSave_Click();

    const int key = count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = ") + vb::SqlText(name));
    ASSERT_GT(key, 0);
    EXPECT_EQ(key, gPersonKey);
    EXPECT_EQ(42, value("select AGE from PERSON where PRSN_KY = " + QString::number(key)).toInt());
    EXPECT_EQ(71.0, value("select HGT from PERSON where PRSN_KY = " + QString::number(key)).toDouble());
    EXPECT_EQ(QStringLiteral("F"), value("select SEX from PERSON where PRSN_KY = " + QString::number(key)).toString());
    EXPECT_EQ(QStringLiteral(" didn't sleep "),
              value("select COMMENT from PERSON where PRSN_KY = " + QString::number(key)).toString());
    EXPECT_EQ(20, chartRows(key));
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Person: 2"), form.datPerson->Caption()); // the new row waits at the end
    EXPECT_EQ(name, form.txtName->text());

    // Read back by a new form.
    close(form);
    frmPerson& again = open();
    EXPECT_EQ(name, again.txtName->text());
    EXPECT_EQ(QStringLiteral("42"), again.txtAge->text());
    EXPECT_EQ(QStringLiteral("5"), again.txtFt->text());
    EXPECT_EQ(QStringLiteral("11"), again.txtIn->text());
    EXPECT_TRUE(again.optSex[1]->isChecked());
    EXPECT_FALSE(again.optSex[0]->isChecked());
}

TEST_F(PersonForm, AddingAnExistingNameInAnotherCaseAsksToReplace)
{
    const int ann = addPerson(QStringLiteral("Ann Bell"));
    const int measurements = rowsOf("MEASURE", samplePerson);
    const int charts = chartRows(samplePerson);
    const QVariant age = value("select AGE from PERSON where PRSN_KY = " + QString::number(samplePerson));
    gPersonKey = ann;
    frmPerson& form = open();

    // No: nothing is written, and the existing person's row is shown (and current).
    form.cmdAddNew_Click();
    form.txtName->setText(QStringLiteral("PELLAM OSTRY"));
    form.txtAge->setText(QStringLiteral("50"));
    answer(vb::vbNo);
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("Person with the same name exists in database. Do you want to replace the information?"),
              lastBox().text);
    EXPECT_EQ(vb::vbYesNo, lastBox().buttons);
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_EQ(vb::vbDefaultButton1, lastBox().defaultButton);
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Pellam Ostry"), form.txtName->text());
    EXPECT_EQ(samplePerson, gPersonKey);
    EXPECT_EQ(age, value("select AGE from PERSON where PRSN_KY = " + QString::number(samplePerson)));

    // Yes: the entries go into the existing row; its key, chart rows and measurements stay.
    form.cmdAddNew_Click();
    form.txtName->setText(QStringLiteral("PELLAM OSTRY"));
    form.txtAge->setText(QStringLiteral("50"));
    answer(vb::vbYes);
    form.cmdSave_Click();
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from PERSON")));
    EXPECT_EQ(QStringLiteral("PELLAM OSTRY"),
              value("select PRSN_NM from PERSON where PRSN_KY = " + QString::number(samplePerson)).toString());
    EXPECT_EQ(50, value("select AGE from PERSON where PRSN_KY = " + QString::number(samplePerson)).toInt());
    EXPECT_EQ(measurements, rowsOf("MEASURE", samplePerson));
    EXPECT_EQ(charts, chartRows(samplePerson));
}

TEST_F(PersonForm, RenamingAPersonWithMeasurementsAsksFirstWithYesTheDefault)
{
    const int measurements = rowsOf("MEASURE", samplePerson);
    ASSERT_GT(measurements, 0);
    frmPerson& form = open();

    // The same name asks nothing.
    form.cmdEdit_Click();
    form.txtAge->setText(QStringLiteral("61"));
    form.cmdSave_Click();
    EXPECT_EQ(61, value("select AGE from PERSON").toInt());

    form.cmdEdit_Click();
    form.txtName->setText(QStringLiteral("Pellam Ostry-Ray"));
    answer(vb::vbNo);
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("This person already has health measurement data.") + crlf +
                  QStringLiteral("All the measurements will be assigned to this person!") + crlf +
                  QStringLiteral("Do you still want to change the name?"),
              lastBox().text);
    EXPECT_EQ(vb::vbDefaultButton1, lastBox().defaultButton);
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Pellam Ostry"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("Pellam Ostry"), value("select PRSN_NM from PERSON").toString());

    form.cmdEdit_Click();
    form.txtName->setText(QStringLiteral("Pellam Ostry-Ray"));
    answer(vb::vbYes);
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("Pellam Ostry-Ray"), value("select PRSN_NM from PERSON").toString());
    EXPECT_EQ(measurements, rowsOf("MEASURE", samplePerson));
    EXPECT_EQ(QStringLiteral("Pellam Ostry-Ray"), form.txtName->text());

    // A person without measurements is renamed without a question.
    const int ann = addPerson(QStringLiteral("Ann Bell"));
    form.LoadPersonList(1, false); // the list read again stands on its first row
    ASSERT_EQ(QStringLiteral("Ann Bell"), form.txtName->text());
    form.cmdEdit_Click();
    form.txtName->setText(QStringLiteral("Ann Bell-Ray"));
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("Ann Bell-Ray"),
              value("select PRSN_NM from PERSON where PRSN_KY = " + QString::number(ann)).toString());
}

TEST_F(PersonForm, RenamingOntoAnotherPersonsNameIsRefusedAndTheEditDiscarded)
{
    const int ann = addPerson(QStringLiteral("Ann Bell"));
    gPersonKey = ann;
    frmPerson& form = open();
    form.cmdEdit_Click();
    form.txtName->setText(QStringLiteral("pellam ostry"));
    form.txtAge->setText(QStringLiteral("33"));
    answer(vb::vbOK);
    form.cmdSave_Click();

    EXPECT_EQ(QStringLiteral("Person with the same name exists in database."), lastBox().text);
    EXPECT_EQ(QStringLiteral("Error: 3022"), lastBox().title);
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    EXPECT_EQ(QStringLiteral("Ann Bell"), form.txtName->text());
    EXPECT_EQ(QString(), form.txtAge->text());
    EXPECT_EQ(QStringLiteral("Ann Bell"), value("select PRSN_NM from PERSON where PRSN_KY = " + QString::number(ann)).toString());
    EXPECT_EQ(ann, gPersonKey);

    // The form goes on working.
    form.cmdEdit_Click();
    form.txtAge->setText(QStringLiteral("33"));
    form.cmdSave_Click();
    EXPECT_EQ(33, value("select AGE from PERSON where PRSN_KY = " + QString::number(ann)).toInt());
}

TEST_F(PersonForm, NumberBoxesRefuseWhatIsNoNumberBeforeItReachesTheDatabase)
{
    const QVariant age = value(QStringLiteral("select AGE from PERSON"));
    const QVariant height = value(QStringLiteral("select HGT from PERSON"));
    frmPerson& form = open();
    struct Case {
        const char* age;
        const char* feet;
        const char* inches;
        const char* message;
    };
    for (const Case& c : {Case{"4/2", "", "", "Please enter the age in whole years."},
                          Case{"42", "5", "1:", "Please enter the height in whole feet and inches."},
                          Case{"42", "", "/", "Please enter the height in whole feet and inches."}}) {
        form.cmdEdit_Click();
        form.txtAge->setText(QLatin1String(c.age));
        form.txtFt->setText(QLatin1String(c.feet));
        form.txtIn->setText(QLatin1String(c.inches));
        answer(vb::vbOK);
        form.cmdSave_Click();
        EXPECT_EQ(QLatin1String(c.message), lastBox().text) << c.age << c.feet << c.inches;
        EXPECT_EQ(vb::vbExclamation, lastBox().icon);
        EXPECT_EQ(QStringLiteral("edit"), form.EditMode);
        EXPECT_EQ(age, value(QStringLiteral("select AGE from PERSON")));
        EXPECT_EQ(height, value(QStringLiteral("select HGT from PERSON")));
        form.cmdCancel_Click();
    }
    gHeightUnit = 2;
    form.cmdEdit_Click();
    form.txtCM->setText(QStringLiteral("1:7"));
    answer(vb::vbOK);
    form.cmdSave_Click();
    EXPECT_EQ(QStringLiteral("Please enter the height in centimetres."), lastBox().text);
    EXPECT_EQ(height, value(QStringLiteral("select HGT from PERSON")));
    form.cmdCancel_Click();
    gHeightUnit = 1;

    // Typed keys: digits, "/" and ":" pass; others beep and are dropped; the length is that
    // of the box.
    form.cmdEdit_Click();
    form.txtAge->clear();
    QTest::keyClicks(form.txtAge, QStringLiteral("4a2x9"));
    EXPECT_EQ(QStringLiteral("429"), form.txtAge->text());
    EXPECT_EQ(2, beeps());
    QTest::keyClick(form.txtAge, Qt::Key_Backspace);
    EXPECT_EQ(QStringLiteral("42"), form.txtAge->text());
    EXPECT_EQ(2, beeps());
    form.txtFt->clear();
    QTest::keyClicks(form.txtFt, QStringLiteral("56"));
    EXPECT_EQ(QStringLiteral("5"), form.txtFt->text());
}

// ---------------------------------------------------------------------------------------------
// Heights

TEST_F(PersonForm, HeightsShowInTheUnitOfTheSettingsAndAreStoredInIt)
{
    const QString sample = QString::number(samplePerson);
    struct Shown {
        const char* stored;
        const char* feet;
        const char* inches;
        const char* cm;
    };
    gHeightUnit = 1;
    for (const Shown& s : {Shown{"71", "5", "11", "71"}, Shown{"180", "15", "0", "180"}, Shown{"Null", "", "", ""}}) {
        gDB->Execute("update PERSON set HGT = " + QLatin1String(s.stored) + " where PRSN_KY = " + sample);
        frmPerson& form = open();
        EXPECT_EQ(QLatin1String(s.feet), form.txtFt->text()) << s.stored;
        EXPECT_EQ(QLatin1String(s.inches), form.txtIn->text()) << s.stored;
        EXPECT_EQ(QLatin1String(s.cm), form.txtCM->text()) << s.stored;
        EXPECT_FALSE(form.txtFt->isHidden());
        EXPECT_TRUE(form.txtCM->isHidden());
        close(form);
    }

    // Feet longer than the box's typing limit are shown whole, and saved back unchanged.
    gDB->Execute("update PERSON set HGT = 180 where PRSN_KY = " + sample);
    {
        frmPerson& form = open();
        form.cmdEdit_Click();
        form.cmdSave_Click();
        EXPECT_EQ(180.0, value("select HGT from PERSON").toDouble());
        form.cmdEdit_Click();
        form.txtFt->setText(QStringLiteral("0"));
        form.txtIn->setText(QStringLiteral("0"));
        form.txtAge->setText(QStringLiteral("0"));
        form.cmdSave_Click();
        EXPECT_TRUE(vb::IsNull(value("select HGT from PERSON")));
        EXPECT_TRUE(vb::IsNull(value("select AGE from PERSON")));
        close(form);
    }

    gHeightUnit = 2;
    gDB->Execute("update PERSON set HGT = 172 where PRSN_KY = " + sample);
    {
        frmPerson& form = open();
        EXPECT_EQ(QStringLiteral("172"), form.txtCM->text());
        EXPECT_FALSE(form.txtCM->isHidden());
        EXPECT_TRUE(form.txtFt->isHidden());
        EXPECT_TRUE(form.lblIn->isHidden());
        EXPECT_EQ(QStringLiteral("Height(cm)"), form.vsFGPerson->TextMatrix(0, 4));
        form.cmdEdit_Click();
        form.txtCM->setText(QStringLiteral("168"));
        form.cmdSave_Click();
        EXPECT_EQ(168.0, value("select HGT from PERSON").toDouble());
        close(form);
    }

    // Another unit code: every height box shows, no header, and the height is left as it was.
    gHeightUnit = 0;
    {
        frmPerson& form = open();
        EXPECT_FALSE(form.txtFt->isHidden());
        EXPECT_FALSE(form.txtCM->isHidden());
        EXPECT_EQ(QString(), form.vsFGPerson->TextMatrix(0, 4));
        form.cmdEdit_Click();
        form.txtCM->setText(QStringLiteral("150"));
        form.txtFt->setText(QStringLiteral("4"));
        form.cmdSave_Click();
        EXPECT_EQ(168.0, value("select HGT from PERSON").toDouble());
    }
}

TEST_F(PersonForm, TheUnitsFormSwitchesAnOpenFormsHeightBoxesAndHeader)
{
    frmPerson& form = open();
    gHeightUnit = 2;
    form.ShowHeightFields();
    form.FormatPersonGrid();
    EXPECT_FALSE(form.txtCM->isHidden());
    EXPECT_TRUE(form.txtIn->isHidden());
    EXPECT_EQ(QStringLiteral("Height(cm)"), form.vsFGPerson->TextMatrix(0, 4));
    EXPECT_TRUE(form.vsFGPerson->ColHidden(1));
}

// ---------------------------------------------------------------------------------------------
// Deleting

TEST_F(PersonForm, DeletingAPersonWithMeasurementsAsksAndThenRemovesAllOfItsData)
{
    const int ann = addPerson(QStringLiteral("Ann Bell"));
    const int measurements = rowsOf("MEASURE", samplePerson);
    ASSERT_GT(measurements, 0);
    ASSERT_GT(rowsOf("AVERAGE_DAY", samplePerson), 0);
    ASSERT_GT(rowsOf("AVERAGE_WEEK", samplePerson), 0);
    ASSERT_GT(rowsOf("AVERAGE_MONTH", samplePerson), 0);
    ASSERT_EQ(20, chartRows(samplePerson));
    frmPerson& form = open();

    answer(vb::vbNo);
    form.cmdDelete_Click();
    EXPECT_EQ(QStringLiteral("By deleting this person, you will delete all of his/her health measurement data.") + crlf +
                  QStringLiteral("Do you still want to delete?"),
              lastBox().text);
    EXPECT_EQ(vb::vbDefaultButton2, lastBox().defaultButton);
    EXPECT_EQ(vb::vbExclamation, lastBox().icon);
    EXPECT_EQ(measurements, rowsOf("MEASURE", samplePerson));
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from PERSON")));

    answer(vb::vbYes);
    form.cmdDelete_Click();
    for (const char* table : {"MEASURE", "AVERAGE_DAY", "AVERAGE_WEEK", "AVERAGE_MONTH", "PERSON"})
        EXPECT_EQ(0, rowsOf(table, samplePerson)) << table;
    EXPECT_EQ(0, chartRows(samplePerson));
    // The list is read again and its first row is current.
    EXPECT_EQ(QStringLiteral("Ann Bell"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("Person: 1"), form.datPerson->Caption());
    EXPECT_EQ(ann, gPersonKey);
    EXPECT_EQ(2, form.vsFGPerson->Rows());
}

TEST_F(PersonForm, DeletingAPersonWithoutMeasurementsAsksNothingAndTheLastLeavesAnEmptyList)
{
    frmPerson& form = open();
    form.cmdAddNew_Click();
    form.txtName->setText(QStringLiteral("Ann Bell"));
    form.cmdSave_Click();
    const int ann = gPersonKey;
    ASSERT_EQ(20, chartRows(ann));
    form.datPerson->Recordset()->FindFirst("PRSN_KY = " + QString::number(ann));
    ASSERT_EQ(QStringLiteral("Ann Bell"), form.txtName->text());

    form.cmdDelete_Click(); // no question: the strict double would fail on one
    EXPECT_EQ(0, rowsOf("PERSON", ann));
    EXPECT_EQ(0, chartRows(ann));
    EXPECT_EQ(QStringLiteral("Pellam Ostry"), form.txtName->text());
    EXPECT_EQ(samplePerson, gPersonKey);

    // The only person.
    answer(vb::vbYes);
    form.cmdDelete_Click();
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from PERSON")));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from MEASURE")));
    EXPECT_EQ(QStringLiteral("Person: 0"), form.datPerson->Caption());
    EXPECT_EQ(QString(), form.txtName->text());
    EXPECT_EQ(QString(), form.txtFt->text());
    EXPECT_EQ(1, form.vsFGPerson->Rows());
    EXPECT_EQ(QStringLiteral("Person Name"), form.vsFGPerson->TextMatrix(0, 2));

    // Edit and Delete on an empty list do nothing; Add New still works.
    form.cmdEdit_Click();
    EXPECT_EQ(QStringLiteral("browse"), form.EditMode);
    form.cmdDelete_Click();
    form.cmdAddNew_Click();
    form.txtName->setText(QStringLiteral("Cy Dorn"));
    form.cmdSave_Click();
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from PERSON")));
    EXPECT_EQ(QStringLiteral("Person: 1"), form.datPerson->Caption());
}

TEST_F(PersonForm, ADeletionThatFailsHalfWayLeavesEverything)
{
    const QString sample = QString::number(samplePerson);
    const int measurements = rowsOf("MEASURE", samplePerson);
    const int days = rowsOf("AVERAGE_DAY", samplePerson);
    const int weeks = rowsOf("AVERAGE_WEEK", samplePerson);
    const int months = rowsOf("AVERAGE_MONTH", samplePerson);
    frmPerson& form = open();

    // The day averages go third, after the month and week averages: with their table out of
    // the way, the deletion fails in the middle.
    ASSERT_EQ(SQLITE_OK,
              sqlite3_exec(gDB->handle(), "ALTER TABLE AVERAGE_DAY RENAME TO AVERAGE_DAY_AWAY", nullptr, nullptr, nullptr));
    answer(vb::vbYes);
    answer(vb::vbOK);
    form.cmdDelete_Click();
    ASSERT_EQ(SQLITE_OK,
              sqlite3_exec(gDB->handle(), "ALTER TABLE AVERAGE_DAY_AWAY RENAME TO AVERAGE_DAY", nullptr, nullptr, nullptr));

    EXPECT_EQ(vb::vbCritical, lastBox().icon);
    EXPECT_TRUE(lastBox().title.startsWith(QStringLiteral("Error: "))) << lastBox().title.toStdString();
    EXPECT_EQ(measurements, rowsOf("MEASURE", samplePerson));
    EXPECT_EQ(days, rowsOf("AVERAGE_DAY", samplePerson));
    EXPECT_EQ(weeks, rowsOf("AVERAGE_WEEK", samplePerson));
    EXPECT_EQ(months, rowsOf("AVERAGE_MONTH", samplePerson));
    EXPECT_EQ(20, chartRows(samplePerson));
    EXPECT_EQ(1, rowsOf("PERSON", samplePerson));
    EXPECT_EQ(0, gDB->transactionDepth());

    // The form still shows the person and can delete it now.
    EXPECT_EQ(QStringLiteral("Pellam Ostry"), form.txtName->text());
    EXPECT_EQ(QStringLiteral("Person: 1"), form.datPerson->Caption());
    answer(vb::vbYes);
    form.cmdDelete_Click();
    EXPECT_EQ(0, rowsOf("PERSON", samplePerson));
    EXPECT_EQ(0, rowsOf("AVERAGE_DAY", samplePerson));
}

// ---------------------------------------------------------------------------------------------
// Column widths

TEST_F(PersonForm, ColumnWidthsTheUserLeavesAreKept)
{
    frmPerson& form = open();
    EXPECT_NEAR(4000, form.vsFGPerson->ColWidth(6), 15);
    form.vsFGPerson->setColWidth(6, 2500);
    close(form);
    EXPECT_NEAR(2500, value(QStringLiteral("select COL7 from GridColumnPersistance where GRID_NM = 'vsFGPerson'")).toInt(), 15);
    frmPerson& again = open();
    EXPECT_NEAR(2500, again.vsFGPerson->ColWidth(6), 15);
}

} // namespace

namespace {

TEST_F(PersonForm, PersonAndRegimenFormsScrollBelowTheRoomTheyNeed)
{
    frmPerson& person = open();
    frmRegimen& regimen = vb::defaultInstance<frmRegimen>();
    regimen.Load();
    const std::pair<vb::Form*, std::vector<QWidget*>> forms[] = {
        {&person, {person.cmdAddNew, person.cmdCancel, person.txtName, person.Frame1}},
        {&regimen, {regimen.cmdAddNew, regimen.cmdCancel, regimen.txtName, regimen.Frame1}},
    };
    for (const auto& [form, controls] : forms) {
        SCOPED_TRACE(form->Name().toStdString());
        form->show();
        form->resize(260, 180);
        QCoreApplication::processEvents();
        // The form takes the size; its controls keep theirs.
        EXPECT_EQ(QSize(260, 180), form->size());
        for (QWidget* control : controls)
            EXPECT_GE(control->height(), control->minimumSizeHint().height()) << control->objectName().toStdString();
        auto* scroller = form->findChild<QScrollArea*>();
        ASSERT_NE(nullptr, scroller);
        EXPECT_TRUE(scroller->verticalScrollBar()->isVisible());
    }
}

} // namespace
