// The blood-sugar goal form: the goal table and its colour bands, adding, replacing and editing a
// goal (with the rename question), refusals, the deletion of a goal with its readings (every
// affected person's averages kept right, all or nothing), the web page and the help topic.
#include "records/RecordsFixture.h"
#include "records/frmDSetGoal.h"
#include "records/frmMeasure.h"
#include "records/test_measure_support.h"

#include "data/clsAverage.h"
#include "data/modFunctions.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <sqlite3.h>

#include <cmath>
#include <optional>

namespace {

using testing_measure::at;
using vb::vbDefaultButton1;
using vb::vbDefaultButton2;
using vb::vbExclamation;
using vb::vbInformation;
using vb::vbNo;
using vb::vbYes;

class GoalFormTest : public testing_records::RecordsFixture {
protected:
    void SetUp() override
    {
        RecordsFixture::SetUp();
        goalCount = count(QStringLiteral("select count(*) from DBTS_GOAL"));
    }

    frmDSetGoal& openForm()
    {
        form = &vb::defaultInstance<frmDSetGoal>();
        form->Load();
        return *form;
    }

    // Stands the form on the goal of that key, as a click in the grid does.
    void standOn(qint32 key)
    {
        form->datDSetGoal->Recordset()->FindFirst(QStringLiteral("GL_KY = %1").arg(key));
        ASSERT_FALSE(form->datDSetGoal->Recordset()->NoMatch());
    }

    void enter(const QString& name, const QString& nl, const QString& nh, const QString& dl, const QString& dh,
               const QString& detail)
    {
        form->txtGlNm->setText(name);
        form->txtNL->setText(nl);
        form->txtNH->setText(nh);
        form->txtDL->setText(dl);
        form->txtDH->setText(dh);
        form->txtGlDtl->setPlainText(detail);
    }

    qint32 keyOf(const QString& name)
    {
        return vb::CLng(value(QStringLiteral("select GL_KY from DBTS_GOAL where GL_NM = %1").arg(vb::SqlText(name))));
    }

    // "NL,NH,DL,DH|detail" of the goal of that key.
    QString goalRow(qint32 key)
    {
        auto rs = gDB->OpenRecordset(QStringLiteral("select GL_NL, GL_NH, GL_DL, GL_DH, GL_DTL, GL_NM from DBTS_GOAL "
                                                    "where GL_KY = %1")
                                         .arg(key),
                                     dao::dbOpenSnapshot);
        if (rs->Eof())
            return QStringLiteral("<none>");
        QStringList limits;
        for (int i = 0; i < 4; ++i)
            limits << (rs->Fields(i).Value().isNull() ? QStringLiteral("<Null>") : rs->Fields(i).Value().toString());
        return rs->Fields(5).Value().toString() + QLatin1Char('=') + limits.join(QLatin1Char(',')) + QLatin1Char('|') +
               rs->Fields(4).Value().toString();
    }

    frmDSetGoal* form = nullptr;
    int goalCount = 0;
};

TEST_F(GoalFormTest, LoadShowsTheGoalsByNameWithTheirColourBandsAndTheSugarUnit)
{
    gDB->Execute(QStringLiteral("update Application set Temp2Unit = 'mmol/l', WtUnit = 'kg'"));
    gWeightUnitText.clear();
    openForm();

    EXPECT_EQ(QStringLiteral("Set Blood Sugar Goal Ranges"), form->Caption());
    EXPECT_EQ(QStringLiteral("mmol/l"), form->lblTemp2Unit[0]->text());
    EXPECT_EQ(QStringLiteral("mmol/l"), form->lblTemp2Unit[1]->text());
    EXPECT_EQ(QStringLiteral("kg"), gWeightUnitText);
    EXPECT_EQ(QStringLiteral("browse"), form->EditMode);
    EXPECT_EQ(QStringLiteral("Goal: 1 of %1").arg(goalCount), form->datDSetGoal->Caption());
    EXPECT_EQ(QStringLiteral("1.Very Early Morning"), form->txtGlNm->text());
    EXPECT_EQ(QStringLiteral("80"), form->txtNL->text());
    EXPECT_TRUE(form->txtGlNm->isReadOnly());
    EXPECT_FALSE(form->cmdSave->isEnabled());

    const VSFlexGrid& grid = *form->vsFGDSetGoal;
    ASSERT_EQ(13, grid.Cols());
    ASSERT_EQ(goalCount + 1, grid.Rows());
    EXPECT_EQ(QStringLiteral("Goal Name"), grid.TextMatrix(0, 7));
    EXPECT_EQ(QStringLiteral("Normal Limit"), grid.TextMatrix(0, 10));
    for (int col = 1; col <= 6; ++col)
        EXPECT_TRUE(grid.ColHidden(col)) << col;
    EXPECT_GE(grid.ColWidth(7), 1800);
    EXPECT_EQ(1200, grid.ColWidth(10));

    // The last goal by name is the bed-time goal: its bands, each in its colour.
    const int last = grid.Rows() - 1;
    EXPECT_EQ(QStringLiteral("8.Bed time"), grid.TextMatrix(last, 7));
    const QString bands[] = {QStringLiteral(" < 60"), QStringLiteral("60 to 100"), QStringLiteral("100 to 140"),
                             QStringLiteral("140 to 240"), QStringLiteral("> 240")};
    const vb::OLE_COLOR colours[] = {0x9999FF, 0x99FFFF, 0x99FF99, 0x99FFFF, 0x9999FF};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(bands[i], grid.TextMatrix(last, 8 + i));
        EXPECT_EQ(colours[i], grid.Cell(flexcpBackColor, last, 8 + i).value<vb::OLE_COLOR>());
        EXPECT_EQ(colours[i], grid.Cell(flexcpBackColor, 1, 8 + i).value<vb::OLE_COLOR>());
    }
}

TEST_F(GoalFormTest, ModesLockTheNameInEditAndHoldTheCurrentRowWhileEntering)
{
    openForm();
    form->cmdAddNew_Click();
    EXPECT_EQ(QStringLiteral("addnew"), form->EditMode);
    EXPECT_TRUE(form->txtGlNm->text().isEmpty());
    EXPECT_FALSE(form->txtGlNm->isReadOnly());
    EXPECT_FALSE(form->txtGlDtl->isReadOnly());
    EXPECT_TRUE(form->cmdSave->isEnabled());
    EXPECT_FALSE(form->cmdDelete->isEnabled());
    EXPECT_TRUE(form->Frame1->font().bold());
    EXPECT_EQ(vb::OLE_COLOR(0xC00000), vb::ForeColor(form->lbl[3]));
    EXPECT_FALSE(form->datDSetGoal->isEnabled());
    EXPECT_TRUE(form->vsFGDSetGoal->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(QStringLiteral("All fields are required fields before it can be saved."), form->StatusBar1->currentMessage());

    form->cmdCancel_Click();
    EXPECT_EQ(QStringLiteral("browse"), form->EditMode);
    EXPECT_EQ(QStringLiteral("1.Very Early Morning"), form->txtGlNm->text());
    EXPECT_TRUE(form->txtNL->isReadOnly());
    EXPECT_TRUE(form->datDSetGoal->isEnabled());
    EXPECT_FALSE(form->vsFGDSetGoal->testAttribute(Qt::WA_TransparentForMouseEvents));

    form->cmdEdit_Click();
    EXPECT_EQ(QStringLiteral("edit"), form->EditMode);
    EXPECT_TRUE(form->txtGlNm->isReadOnly());
    EXPECT_FALSE(form->txtNL->isReadOnly());
    EXPECT_EQ(QStringLiteral("1.Very Early Morning"), form->txtGlNm->text());
}

TEST_F(GoalFormTest, LimitBoxesTakeDecimalsOnlyExceptTheDangerHighBox)
{
    openForm();
    form->cmdAddNew_Click();
    QTest::keyClicks(form->txtNL, QStringLiteral("4a.55"));
    EXPECT_EQ(QStringLiteral("4.5"), form->txtNL->text());
    QTest::keyClick(form->txtNL, Qt::Key_Backspace);
    EXPECT_EQ(QStringLiteral("4."), form->txtNL->text());
    QTest::keyClicks(form->txtDH, QStringLiteral("12x"));
    EXPECT_EQ(QStringLiteral("12x"), form->txtDH->text());
}

TEST_F(GoalFormTest, AddingAGoalWritesTheRowAndShowsIt)
{
    openForm();
    form->cmdAddNew_Click();
    enter(QStringLiteral("Mom's check"), QStringLiteral("80"), QStringLiteral("130.5"), QStringLiteral(" 60 "),
          QStringLiteral("250"), QStringLiteral("After the walk"));
    form->cmdSave_Click();

    EXPECT_TRUE(messages().Log().empty());
    const qint32 key = keyOf(QStringLiteral("Mom's check"));
    ASSERT_GT(key, 0);
    EXPECT_EQ(QStringLiteral("Mom's check=80,130.5,60,250|After the walk"), goalRow(key));
    EXPECT_EQ(QStringLiteral("browse"), form->EditMode);
    EXPECT_EQ(QStringLiteral("Mom's check"), form->txtGlNm->text());
    EXPECT_EQ(QStringLiteral("Goal: %1 of %1").arg(goalCount + 1), form->datDSetGoal->Caption());
    EXPECT_TRUE(form->StatusBar1->currentMessage().isEmpty());
    // The new row is coloured with the others.
    const VSFlexGrid& grid = *form->vsFGDSetGoal;
    EXPECT_EQ(QStringLiteral("Mom's check"), grid.TextMatrix(grid.Rows() - 1, 7));
    EXPECT_EQ(vb::OLE_COLOR(0x99FF99), grid.Cell(flexcpBackColor, grid.Rows() - 1, 10).value<vb::OLE_COLOR>());
}

TEST_F(GoalFormTest, EmptyZeroOrNonNumericEntriesAreRefusedAndTheEntryStays)
{
    openForm();
    struct Case {
        QString nl, dh, detail;
        int icon;
    };
    const Case cases[] = {
        {QStringLiteral("80"), QStringLiteral("240"), QStringLiteral("   "), vbInformation},
        {QStringLiteral(""), QStringLiteral("240"), QStringLiteral("x"), vbInformation},
        {QStringLiteral("0"), QStringLiteral("240"), QStringLiteral("x"), vbExclamation},
        {QStringLiteral("0.0"), QStringLiteral("240"), QStringLiteral("x"), vbExclamation},
        {QStringLiteral("80"), QStringLiteral("12abc"), QStringLiteral("x"), vbExclamation},
        {QStringLiteral("80"), QStringLiteral("-5"), QStringLiteral("x"), vbExclamation},
    };
    form->cmdAddNew_Click();
    for (const Case& c : cases) {
        enter(QStringLiteral("Refused"), c.nl, QStringLiteral("120"), QStringLiteral("60"), c.dh, c.detail);
        answer(vb::vbOK);
        form->cmdSave_Click();
        EXPECT_EQ(c.icon, lastBox().icon) << c.nl.toStdString() << " " << c.dh.toStdString();
        EXPECT_EQ(QStringLiteral("addnew"), form->EditMode);
        EXPECT_EQ(c.dh, form->txtDH->text());
    }
    EXPECT_EQ(QStringLiteral("One or more of the mandatory fields (fields with red star before the fields) is empty\r\n"
                             "Please enter all the fields"),
              messages().Log().front().text);
    EXPECT_TRUE(lastBox().text.contains(QStringLiteral("numbers greater than 0")));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from DBTS_GOAL where GL_NM = 'Refused'")));
    // Nothing half-written is left pending: a correct entry then saves one row.
    enter(QStringLiteral("Refused"), QStringLiteral("80"), QStringLiteral("120"), QStringLiteral("60"), QStringLiteral("240"),
          QStringLiteral("x"));
    form->cmdSave_Click();
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from DBTS_GOAL where GL_NM = 'Refused'")));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from DBTS_GOAL where GL_NL = 'Null' or GL_DH = 'Null'")));
}

TEST_F(GoalFormTest, AddingAnExistingNameAsksToReplaceIt)
{
    openForm();
    const qint32 bed = keyOf(QStringLiteral("8.Bed time"));

    // No: nothing written, the existing goal shown in browse mode.
    form->cmdAddNew_Click();
    enter(QStringLiteral("  8.BED TIME "), QStringLiteral("90"), QStringLiteral("150"), QStringLiteral("70"),
          QStringLiteral("250"), QStringLiteral("Evening"));
    answer(vbNo);
    form->cmdSave_Click();
    EXPECT_EQ(vbExclamation, lastBox().icon);
    EXPECT_EQ(vb::vbYesNo, lastBox().buttons);
    EXPECT_EQ(vbDefaultButton1, lastBox().defaultButton);
    EXPECT_EQ(QStringLiteral("8.Bed time=100,140,60,240|During the day and before bed"), goalRow(bed));
    EXPECT_EQ(QStringLiteral("browse"), form->EditMode);
    EXPECT_EQ(QStringLiteral("100"), form->txtNL->text());
    EXPECT_EQ(goalCount, count(QStringLiteral("select count(*) from DBTS_GOAL")));

    // Yes: the existing row (its key) takes the entries.
    form->cmdAddNew_Click();
    enter(QStringLiteral("8.Bed time"), QStringLiteral("90"), QStringLiteral("150"), QStringLiteral("70"), QStringLiteral("250"),
          QStringLiteral("Evening"));
    answer(vbYes);
    form->cmdSave_Click();
    EXPECT_EQ(QStringLiteral("8.Bed time=90,150,70,250|Evening"), goalRow(bed));
    EXPECT_EQ(goalCount, count(QStringLiteral("select count(*) from DBTS_GOAL")));

    // A name with a quote is found as well.
    gDB->Execute(QStringLiteral("insert into DBTS_GOAL (GL_NM, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH) "
                                "values ('Dad''s', 'd', '1', '2', '3', '4')"));
    form->datDSetGoal->Refresh();
    form->cmdAddNew_Click();
    enter(QStringLiteral("Dad's"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),
          QStringLiteral("e"));
    answer(vbYes);
    form->cmdSave_Click();
    EXPECT_EQ(QStringLiteral("Dad's=5,6,7,8|e"), goalRow(keyOf(QStringLiteral("Dad's"))));
}

TEST_F(GoalFormTest, EditingWritesTheLimitsAndAsksBeforeARenameThatTouchesReadings)
{
    openForm();
    const qint32 bed = keyOf(QStringLiteral("8.Bed time"));
    standOn(bed);
    form->cmdEdit_Click();
    form->txtNH->setText(QStringLiteral("145"));
    form->txtGlDtl->setPlainText(QStringLiteral("Before sleep"));
    form->cmdSave_Click();
    EXPECT_TRUE(messages().Log().empty());
    EXPECT_EQ(QStringLiteral("8.Bed time=100,145,60,240|Before sleep"), goalRow(bed));
    EXPECT_EQ(QStringLiteral("browse"), form->EditMode);

    // A name stored with blanks around it differs from its trimmed entry: with readings that
    // use the goal, the rename question comes first (No the default).
    gDB->Execute(QStringLiteral("insert into DBTS_GOAL (GL_NM, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH) "
                                "values (' Spaced ', 'd', '80', '120', '60', '240')"));
    const qint32 spaced = keyOf(QStringLiteral(" Spaced "));
    gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, TEMP2, GL_KY) values (%1, #3/4/2031 8:00 AM#, 100, %2)")
                     .arg(samplePerson)
                     .arg(spaced),
                 dao::dbFailOnError);
    form->datDSetGoal->Refresh();
    standOn(spaced);
    form->cmdEdit_Click();
    form->txtNL->setText(QStringLiteral("85"));
    answer(vbNo);
    form->cmdSave_Click();
    EXPECT_EQ(QStringLiteral("By changing the name of this goal, the goal of the associated measurements\r\n"
                             "will be changed accordingly. Do you still want to change it?"),
              lastBox().text);
    EXPECT_EQ(vbDefaultButton2, lastBox().defaultButton);
    EXPECT_EQ(vbExclamation, lastBox().icon);
    EXPECT_EQ(QStringLiteral(" Spaced =80,120,60,240|d"), goalRow(spaced));
    EXPECT_EQ(QStringLiteral("browse"), form->EditMode);
    EXPECT_EQ(QStringLiteral("80"), form->txtNL->text());

    form->cmdEdit_Click();
    form->txtNL->setText(QStringLiteral("85"));
    answer(vbYes);
    form->cmdSave_Click();
    // The name is kept as it was: this form never renames a goal.
    EXPECT_EQ(QStringLiteral(" Spaced =85,120,60,240|d"), goalRow(spaced));
}

// Readings of two persons that use one goal, with stored averages made as the program makes them.
class GoalDeletionTest : public GoalFormTest {
protected:
    void SetUp() override
    {
        GoalFormTest::SetUp();
        gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('Second Person')"), dao::dbFailOnError);
        other = count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = 'Second Person'"));
        gDB->Execute(QStringLiteral("insert into DBTS_GOAL (GL_NM, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH) "
                                    "values ('Gone', 'to be deleted', '80', '120', '60', '240')"));
        goal = keyOf(QStringLiteral("Gone"));
        kept = keyOf(QStringLiteral("2.Before Breakfast"));

        // The sample person (current): a sugar-only reading (mood and comment do not count) and a
        // reading with a pressure; another goal's reading on the same day.
        add(samplePerson, at(2031, 3, 5, 7, 0), {}, {}, 110, goal, QStringLiteral("with a comment"));
        add(samplePerson, at(2031, 3, 5, 19, 30), 130, {}, 150, goal);
        add(samplePerson, at(2031, 3, 5, 12, 0), {}, {}, 90, kept);
        // The second person: a day with a sugar-only reading and a weighed one, and a month
        // whose only reading is sugar-only.
        add(other, at(2031, 3, 6, 8, 15), {}, {}, 200, goal);
        add(other, at(2031, 3, 6, 9, 45), {}, 70.5, 100, goal);
        add(other, at(2031, 3, 6, 10, 0), {}, 72.5, 120, kept);
        add(other, at(2031, 5, 20, 8, 0), {}, {}, 180, goal);
        gDB->Execute(QStringLiteral("update MEASURE set MD_KY = 1 where PRSN_KY = %1 and TEMP2 = 110").arg(samplePerson));
    }

    void add(qint32 person, const QDateTime& when, std::optional<int> hbp, std::optional<double> wt, double sugar, qint32 goalKey,
             const QString& comment = QString())
    {
        gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP, WT, TEMP2, GL_KY, CMMNT) "
                                    "values (%1, %2, %3, %4, %5, %6, %7)")
                         .arg(person)
                         .arg(modFunctions::SqlDateTime(when))
                         .arg(hbp ? QString::number(*hbp) : QStringLiteral("Null"))
                         .arg(wt ? vb::NumberText(*wt) : QStringLiteral("Null"))
                         .arg(vb::NumberText(sugar))
                         .arg(goalKey)
                         .arg(comment.isEmpty() ? QStringLiteral("Null") : vb::SqlText(comment)),
                     dao::dbFailOnError);
        clsAverage().UpdateAverages(person, when, clsAverage::actAdded);
        touched.emplace_back(person, when.date());
    }

    QStringList readings(qint32 person)
    {
        QStringList out;
        auto rs = gDB->OpenRecordset(QStringLiteral("select MSRD_DT, HBP, WT, TEMP2, GL_KY from MEASURE where PRSN_KY = %1 "
                                                    "and MSRD_DT >= #1/1/2031# order by MSRD_DT")
                                         .arg(person),
                                     dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList row{rs->Fields(0).Value().toDateTime().toString(QStringLiteral("d/M H:mm"))};
            for (int i = 1; i <= 4; ++i)
                row << vb::CStr(rs->Fields(i).Value());
            out << row.join(QLatin1Char(' ')).simplified();
        }
        return out;
    }

    // Every stored average of the periods the readings touched equals a recomputation from
    // MEASURE (no row for a period without readings).
    void expectAveragesRecomputed()
    {
        for (const auto& [person, day] : touched) {
            struct Level {
                const char* table;
                const char* keyColumn;
                QDate from, to; // to: exclusive
            };
            const QDate month = clsAverage::MonthKey(day);
            const QDate week = clsAverage::WeekKey(day);
            const Level levels[] = {
                {"AVERAGE_MONTH", "MNTH", month, month.addMonths(1)},
                {"AVERAGE_WEEK", "WEEK", week.addDays(-6), week.addDays(1)},
                {"AVERAGE_DAY", "DT", day, day.addDays(1)},
            };
            for (const Level& level : levels) {
                int n = 0, hbpCount = 0, wtCount = 0, sugarCount = 0;
                double hbp = 0, wt = 0, sugar = 0;
                auto rs = gDB->OpenRecordset(
                    QStringLiteral("select MSRD_DT, HBP, WT, TEMP2 from MEASURE where PRSN_KY = %1").arg(person),
                    dao::dbOpenSnapshot);
                for (; !rs->Eof(); rs->MoveNext()) {
                    const QDate d = rs->Fields(0).Value().toDateTime().date();
                    if (d < level.from || d >= level.to)
                        continue;
                    ++n;
                    if (!rs->Fields(1).Value().isNull())
                        hbp += rs->Fields(1).Value().toDouble(), ++hbpCount;
                    if (!rs->Fields(2).Value().isNull())
                        wt += rs->Fields(2).Value().toDouble(), ++wtCount;
                    if (!rs->Fields(3).Value().isNull())
                        sugar += rs->Fields(3).Value().toDouble(), ++sugarCount;
                }
                const QString keyDate = level.table == QLatin1String("AVERAGE_MONTH")  ? level.from.toString(u"M/d/yyyy")
                                        : level.table == QLatin1String("AVERAGE_WEEK") ? week.toString(u"M/d/yyyy")
                                                                                       : day.toString(u"M/d/yyyy");
                auto stored = gDB->OpenRecordset(QStringLiteral("select HBP, WT, TEMP2 from %1 where PRSN_KY = %2 and %3 = #%4#")
                                                     .arg(QLatin1String(level.table))
                                                     .arg(person)
                                                     .arg(QLatin1String(level.keyColumn), keyDate),
                                                 dao::dbOpenSnapshot);
                const std::string where =
                    std::string(level.table) + " person " + std::to_string(person) + " " + keyDate.toStdString();
                if (n == 0) {
                    EXPECT_TRUE(stored->Eof()) << where << ": a period without readings keeps a row";
                    continue;
                }
                ASSERT_FALSE(stored->Eof()) << where << ": no row";
                auto expectAverage = [&](int column, double sum, int values, const char* name) {
                    const QVariant v = stored->Fields(column).Value();
                    if (values == 0)
                        EXPECT_TRUE(v.isNull()) << where << " " << name;
                    else
                        EXPECT_NEAR(sum / values, v.toDouble(), 0.01) << where << " " << name;
                };
                expectAverage(0, hbp, hbpCount, "HBP");
                expectAverage(1, wt, wtCount, "WT");
                expectAverage(2, sugar, sugarCount, "TEMP2");
            }
        }
    }

    qint32 other = 0;
    qint32 goal = 0;
    qint32 kept = 0;
    std::vector<std::pair<qint32, QDate>> touched;
};

TEST_F(GoalDeletionTest, AnsweringNoChangesNothing)
{
    openForm();
    standOn(goal);
    const QStringList before = readings(other);
    answer(vbNo);
    form->cmdDelete_Click();
    EXPECT_EQ(QStringLiteral("By deleting this row, the goal range of the associated measurements\r\n"
                             "will become empty. Do you still want to delete?"),
              lastBox().text);
    EXPECT_EQ(vbExclamation, lastBox().icon);
    EXPECT_EQ(vbDefaultButton2, lastBox().defaultButton);
    EXPECT_EQ(before, readings(other));
    EXPECT_NE(QStringLiteral("<none>"), goalRow(goal));
}

TEST_F(GoalDeletionTest, ASecondQuestionCountsTheReadingsLostAndNoKeepsThem)
{
    openForm();
    standOn(goal);
    const QStringList mine = readings(samplePerson);
    const QStringList theirs = readings(other);
    answer(vbYes);
    answer(vbNo);
    form->cmdDelete_Click();
    ASSERT_EQ(2u, messages().Log().size());
    // Three sugar-only readings go and two lose their sugar value, of both persons.
    EXPECT_EQ(QStringLiteral("Deleting this goal also deletes 3 readings that hold only a blood sugar value and clears "
                             "the blood sugar value of 2 other readings, of 2 persons.\r\n"
                             "They cannot be brought back. Do you still want to delete the goal?"),
              lastBox().text);
    EXPECT_EQ(vbExclamation, lastBox().icon);
    EXPECT_EQ(vbDefaultButton2, lastBox().defaultButton);
    EXPECT_EQ(mine, readings(samplePerson));
    EXPECT_EQ(theirs, readings(other));
    EXPECT_NE(QStringLiteral("<none>"), goalRow(goal));

    // Readings that keep everything but the goal's key need no second question.
    gDB->Execute(QStringLiteral("update MEASURE set TEMP2 = Null, HBP = 120 where GL_KY = %1").arg(goal));
    answer(vbYes);
    form->cmdDelete_Click();
    EXPECT_EQ(3u, messages().Log().size());
    EXPECT_EQ(QStringLiteral("<none>"), goalRow(goal));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from MEASURE where GL_KY = %1").arg(goal)));
}

TEST(GoalDeletionText, SaysWhatGoesAndOfHowManyPersons)
{
    const struct {
        int deleted, cleared, persons;
        const char* text;
    } cases[] = {
        {1, 0, 1, "deletes 1 reading that holds only a blood sugar value, of 1 person."},
        {0, 2, 2, "clears the blood sugar value of 2 readings, of 2 persons."},
        {2, 1, 1,
         "deletes 2 readings that hold only a blood sugar value and clears the blood sugar value of 1 other "
         "reading, of 1 person."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QStringLiteral("Deleting this goal also ") + QLatin1String(c.text) +
                      QStringLiteral("\r\nThey cannot be brought back. Do you still want to delete the goal?"),
                  frmDSetGoal::ReadingsLostText(c.deleted, c.cleared, c.persons));
}

TEST_F(GoalDeletionTest, YesDeletesSugarOnlyReadingsClearsTheOthersAndKeepsEveryPersonsAverages)
{
    gPersonKey = samplePerson;
    openForm();
    standOn(goal);
    answer(vbYes);
    answer(vbYes); // the readings lost, too
    form->cmdDelete_Click();

    EXPECT_EQ(QStringLiteral("<none>"), goalRow(goal));
    EXPECT_EQ(goalCount, count(QStringLiteral("select count(*) from DBTS_GOAL")));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from MEASURE where GL_KY = %1").arg(goal)));
    // The sugar-only reading with a mood and comment is gone; the pressure reading stays
    // without its sugar; the other goal's reading is untouched.
    EXPECT_EQ(QStringList({QStringLiteral("5/3 12:00 90 %1").arg(kept), QStringLiteral("5/3 19:30 130")}),
              readings(samplePerson));
    EXPECT_EQ(QStringList({QStringLiteral("6/3 9:45 70.5"), QStringLiteral("6/3 10:00 72.5 120 %1").arg(kept)}), readings(other));

    expectAveragesRecomputed();
    // The second person's May has no reading left, so no month row either.
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from AVERAGE_MONTH where PRSN_KY = %1 and MNTH = #5/1/2031#").arg(other)));
    EXPECT_EQ(samplePerson, gPersonKey);

    // The list is read again from its first goal.
    EXPECT_EQ(QStringLiteral("Goal: 1 of %1").arg(goalCount), form->datDSetGoal->Caption());
    EXPECT_EQ(goalCount + 1, form->vsFGDSetGoal->Rows());
    EXPECT_EQ(vb::OLE_COLOR(0x9999FF), form->vsFGDSetGoal->Cell(flexcpBackColor, 1, 8).value<vb::OLE_COLOR>());
}

TEST_F(GoalDeletionTest, AnOpenMeasurementFormShowsTheReadingsAgainWithoutTheGoal)
{
    gPersonKey = samplePerson;
    frmMeasure& measure = vb::defaultInstance<frmMeasure>();
    measure.Load();
    const int shown = measure.datInfo->Recordset()->RecordCount();
    ASSERT_GE(measure.CboDbtsGl->findData(goal), 0);
    // A measurement being entered there, with another goal chosen.
    measure.cmdAddNew_Click();
    measure.CboDbtsGl->setCurrentIndex(measure.CboDbtsGl->findData(kept));

    openForm();
    standOn(goal);
    answer(vbYes);
    answer(vbYes); // the readings lost, too
    form->cmdDelete_Click();
    EXPECT_EQ(shown - 1, measure.datInfo->Recordset()->RecordCount());
    EXPECT_EQ(-1, measure.CboDbtsGl->findData(goal));
    EXPECT_EQ(kept, measure.CboDbtsGl->currentData().toInt());
    EXPECT_EQ(QStringLiteral("addnew"), measure.EditMode);
}

TEST_F(GoalDeletionTest, AFailureOnTheWayUndoesTheWholeDeletion)
{
    openForm();
    standOn(goal);
    // The goal row itself refuses to go, after the readings were already dealt with.
    char* error = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(gDB->handle(),
                                      "CREATE TEMP TRIGGER keep_goal BEFORE DELETE ON DBTS_GOAL "
                                      "BEGIN SELECT RAISE(ABORT, 'the goal is kept'); END",
                                      nullptr, nullptr, &error));
    const QStringList mine = readings(samplePerson);
    const QStringList theirs = readings(other);
    const int averages = count(QStringLiteral("select count(*) from AVERAGE_DAY"));
    answer(vbYes);
    answer(vbYes); // the readings lost, too
    answer(vb::vbOK);
    form->cmdDelete_Click();
    EXPECT_EQ(vb::vbCritical, lastBox().icon);
    EXPECT_TRUE(lastBox().title.startsWith(QStringLiteral("Error: ")));
    EXPECT_EQ(mine, readings(samplePerson));
    EXPECT_EQ(theirs, readings(other));
    EXPECT_EQ(averages, count(QStringLiteral("select count(*) from AVERAGE_DAY")));
    EXPECT_NE(QStringLiteral("<none>"), goalRow(goal));
    expectAveragesRecomputed();
    EXPECT_EQ(goalCount + 1, form->datDSetGoal->Recordset()->RecordCount());
    sqlite3_exec(gDB->handle(), "DROP TRIGGER keep_goal", nullptr, nullptr, nullptr);
}

TEST_F(GoalFormTest, AGoalWithoutReadingsGoesAtOnceAndTheLastOneLeavesAnEmptyForm)
{
    gDB->Execute(QStringLiteral("update MEASURE set GL_KY = Null"));
    gDB->Execute(
        QStringLiteral("delete from DBTS_GOAL where GL_NM <> '3.1-2 Hrs after Breakfast' and GL_NM <> '4.Before Lunch'"));
    openForm();
    form->cmdDelete_Click();
    EXPECT_TRUE(messages().Log().empty());
    EXPECT_EQ(QStringLiteral("Goal: 1 of 1"), form->datDSetGoal->Caption());
    EXPECT_EQ(QStringLiteral("4.Before Lunch"), form->txtGlNm->text());
    form->cmdDelete_Click();
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from DBTS_GOAL")));
    EXPECT_EQ(QStringLiteral("Goal: 0"), form->datDSetGoal->Caption());
    for (QLineEdit* box : {form->txtGlNm, form->txtNL, form->txtNH, form->txtDL, form->txtDH})
        EXPECT_TRUE(box->text().isEmpty());
    EXPECT_TRUE(form->txtGlDtl->toPlainText().isEmpty());
    // Nothing to delete or edit now.
    form->cmdDelete_Click();
    form->cmdEdit_Click();
    EXPECT_EQ(QStringLiteral("browse"), form->EditMode);
}

TEST_F(GoalFormTest, ExportWritesTheGoalPageAndOpensItAndHelpShowsTheGoalTopic)
{
    openForm();
    form->cmdExport_Click();
    const QString page = App::Path() + QStringLiteral("/DiabetesGoals.html");
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromLatin1(file.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("Diabetes Goal")));
    EXPECT_TRUE(html.contains(QStringLiteral("1.Very Early Morning")));
    EXPECT_TRUE(html.contains(QStringLiteral("8.Bed time")));
    EXPECT_TRUE(html.contains(QStringLiteral("100 to 140")));
    EXPECT_FALSE(html.contains(QStringLiteral("Fasting - Before Lunch"))); // hidden columns stay out
    ASSERT_EQ(1u, services().shell().Calls().size());
    EXPECT_EQ(QStringLiteral("file"), services().shell().Calls()[0].verb);
    EXPECT_EQ(page, services().shell().Calls()[0].target);

    // The shell could not open it: the user is told.
    services().shell().setResult(false);
    answer(vb::vbOK);
    form->cmdExport_Click();
    EXPECT_EQ(vbExclamation, lastBox().icon);

    testing_data::copyFolder(testing_data::executableFolder() + QStringLiteral("/htm"), App::Path() + QStringLiteral("/htm"));
    form->cmdHLP_Click();
    ASSERT_EQ(1, services().help().Pages().size());
    EXPECT_TRUE(services().help().Pages()[0].endsWith(QStringLiteral("htm/ScreenSugarGoalSetting.htm")));
}

} // namespace
