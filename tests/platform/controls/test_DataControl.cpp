// The data control: refresh, the Reposition event, the navigator buttons and the row signals a
// bound grid follows.
#include "ControlsFixture.h"
#include "platform/controls/DataControl.h"

#include <QSignalSpy>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class DataControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = testing_controls::createDatabase(dir.filePath(QStringLiteral("controls.mdb")));
        for (const char* name : {"Cy", "Ann", "Bob"})
            db->Execute(QStringLiteral("insert into PERSON (PRSN_NM, AGE) values ('%1', 40)").arg(QLatin1String(name)));
        dat.setDatabase(db);
    }
    void TearDown() override { db->Close(); }

    int errorOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const dao::Error& e) {
            return e.Number();
        }
        return 0;
    }

    QTemporaryDir dir;
    dao::DatabasePtr db;
    DataControl dat;
};

TEST_F(DataControlTest, RefreshStandsOnTheFirstRowAndRaisesRepositionAlsoWhenEmpty)
{
    EXPECT_EQ(db->Name(), dat.DatabaseName());
    EXPECT_EQ(nullptr, dat.Recordset());

    QSignalSpy reposition(&dat, &DataControl::Reposition);
    QSignalSpy reset(&dat, &DataControl::rowsReset);
    int positionSeen = -2;
    QObject::connect(&dat, &DataControl::Reposition, [&] { positionSeen = dat.Recordset()->AbsolutePosition(); });

    dat.setRecordSource(QStringLiteral("SELECT PRSN_KY, PRSN_NM FROM PERSON ORDER BY PRSN_NM"));
    dat.Refresh();
    EXPECT_EQ(1, reposition.count());
    EXPECT_EQ(1, reset.count());
    EXPECT_EQ(0, positionSeen); // the handler already sees the first row
    EXPECT_EQ(3, dat.Recordset()->RecordCount());
    EXPECT_EQ(QStringLiteral("Ann"), dat.Recordset()->Fields(1).Value().toString());

    dat.setRecordSource(QStringLiteral("SELECT PRSN_KY, PRSN_NM FROM PERSON WHERE PRSN_KY = 0"));
    dat.Refresh();
    EXPECT_EQ(2, reposition.count());
    EXPECT_EQ(-1, positionSeen);
    EXPECT_EQ(0, dat.Recordset()->RecordCount());

    // The navigator does nothing on an empty list (no 3021 escapes a button).
    dat.nextButton()->click();
    dat.lastButton()->click();
    EXPECT_EQ(2, reposition.count());
}

TEST_F(DataControlTest, AFailingRefreshRaisesAndKeepsTheRowsShown)
{
    dat.setRecordSource(QStringLiteral("SELECT PRSN_NM FROM PERSON ORDER BY PRSN_NM"));
    dat.Refresh();
    const dao::RecordsetPtr shown = dat.Recordset();
    dat.setRecordSource(QStringLiteral("SELECT PRSN_NM FROM NO_SUCH_TABLE"));
    EXPECT_NE(0, errorOf([&] { dat.Refresh(); }));
    EXPECT_EQ(shown, dat.Recordset());

    DataControl without;
    without.setRecordSource(QStringLiteral("SELECT * FROM PERSON"));
    EXPECT_EQ(dao::errObjectClosed, errorOf([&] { without.Refresh(); }));
    without.Refresh(db); // the database passed in
    EXPECT_EQ(3, without.Recordset()->RecordCount());
}

TEST_F(DataControlTest, CaptionAndVisibleAreTheFormsToSet)
{
    dat.setCaption(QStringLiteral("Person: 0"));
    EXPECT_EQ(QStringLiteral("Person: 0"), dat.Caption());
    QWidget parent;
    auto* child = new DataControl(&parent);
    EXPECT_TRUE(child->Visible()); // shown with its parent, though the parent is not shown yet
    child->setVisible(false);
    EXPECT_FALSE(child->Visible());
}

TEST_F(DataControlTest, ButtonsMovesAndFindsRaiseRepositionAndStopAtTheEnds)
{
    dat.setRecordSource(QStringLiteral("SELECT PRSN_KY, PRSN_NM FROM PERSON ORDER BY PRSN_NM"));
    dat.Refresh();
    const dao::RecordsetPtr& rs = dat.Recordset();
    QSignalSpy reposition(&dat, &DataControl::Reposition);

    dat.nextButton()->click();
    EXPECT_EQ(1, rs->AbsolutePosition());
    dat.lastButton()->click();
    EXPECT_EQ(2, rs->AbsolutePosition());
    dat.nextButton()->click(); // past the end: stays on the last row
    EXPECT_EQ(2, rs->AbsolutePosition());
    EXPECT_FALSE(rs->Eof());
    dat.firstButton()->click();
    dat.previousButton()->click(); // before the start: stays on the first row
    EXPECT_EQ(0, rs->AbsolutePosition());
    EXPECT_FALSE(rs->Bof());
    EXPECT_EQ(5, reposition.count());

    rs->FindFirst(QStringLiteral("PRSN_NM = 'cy'"));
    EXPECT_EQ(6, reposition.count());
    EXPECT_EQ(2, rs->AbsolutePosition());
    rs->FindFirst(QStringLiteral("PRSN_NM = 'Nobody'"));
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(6, reposition.count()); // a failed find does not move
    rs->MovePrevious();
    EXPECT_EQ(7, reposition.count());
}

TEST_F(DataControlTest, RowSignalsFollowAppendedChangedAndDeletedRows)
{
    dat.setRecordSource(QStringLiteral("SELECT PRSN_KY, PRSN_NM, AGE FROM PERSON ORDER BY PRSN_NM"));
    dat.Refresh();
    const dao::RecordsetPtr rs = dat.Recordset();
    QSignalSpy appended(&dat, &DataControl::rowAppended);
    QSignalSpy changed(&dat, &DataControl::rowChanged);
    QSignalSpy removed(&dat, &DataControl::rowRemoved);
    QSignalSpy reset(&dat, &DataControl::rowsReset);
    QSignalSpy reposition(&dat, &DataControl::Reposition);

    rs->AddNew();
    rs->Fields(QStringLiteral("PRSN_NM")).setValue(QStringLiteral("Dee"));
    rs->Update();
    ASSERT_EQ(1, appended.count());
    EXPECT_EQ(3, appended.at(0).at(0).toInt()); // at the end, until the next refresh

    rs->setAbsolutePosition(1); // Bob
    rs->Edit();
    rs->Fields(QStringLiteral("AGE")).setValue(41);
    rs->Update();
    ASSERT_EQ(1, changed.count());
    EXPECT_EQ(1, changed.at(0).at(0).toInt());

    rs->Delete();
    ASSERT_EQ(1, removed.count());
    EXPECT_EQ(1, removed.at(0).at(0).toInt());
    EXPECT_EQ(3, rs->RecordCount());

    // Next from the deleted row goes to the row after it.
    const int before = int(reposition.count());
    dat.nextButton()->click();
    EXPECT_EQ(QStringLiteral("Cy"), rs->Fields(1).Value().toString());
    EXPECT_EQ(before + 1, reposition.count());

    rs->Requery();
    EXPECT_EQ(1, reset.count());
    EXPECT_EQ(0, rs->AbsolutePosition());
    EXPECT_EQ(before + 2, reposition.count());

    rs->Close();
    EXPECT_EQ(2, reset.count());
}

TEST_F(DataControlTest, BindsToAnExistingRecordsetWhereItStandsAndLetsGoOfItWhenGone)
{
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM PERSON ORDER BY PRSN_NM"), dao::dbOpenDynaset);
    rs->MoveLast();
    QSignalSpy reposition(&dat, &DataControl::Reposition);
    dat.setRecordset(rs);
    EXPECT_EQ(1, reposition.count());
    EXPECT_EQ(2, dat.Recordset()->AbsolutePosition());
    dat.firstButton()->click();
    EXPECT_EQ(0, rs->AbsolutePosition());

    {
        DataControl shortLived;
        shortLived.setRecordset(rs);
    }
    rs->MoveNext(); // the destroyed control no longer listens
    EXPECT_EQ(3, reposition.count());
}

} // namespace
