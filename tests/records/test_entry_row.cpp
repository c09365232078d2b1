// The record forms with a list (Person, Regimen, goal, Measurement): while a record is edited
// the list stands still whatever the user does to it, the save writes the row the edit began on,
// and Tab walks the editable controls only (never the locked boxes of browse mode, never the
// grid's cells).
#include "records/RecordsFixture.h"

#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/Conversions.h"
#include "records/frmDSetGoal.h"
#include "records/frmMeasure.h"
#include "records/frmPerson.h"
#include "records/frmRegimen.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

// What a test needs of one form: its list, how to start an edit, the box it changes and the
// column that box is stored in.
struct ListForm {
    vb::Form* form = nullptr;
    DataControl* data = nullptr;
    VSFlexGrid* grid = nullptr;
    QPlainTextEdit* changed = nullptr;
    std::function<void()> edit;
    std::function<void()> save;
    QString table, keyColumn, column;
};

enum class Move { ClickAnotherRow, ArrowKeyInGrid, NavigatorNext, MovedFromCode };

class EntryRowTest : public testing_records::RecordsFixture {
protected:
    void SetUp() override
    {
        RecordsFixture::SetUp();
        gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM, COMMENT) values ('Zed Second', 'as it was')"));
        gDB->Execute(QStringLiteral("insert into REGIMEN (RGMN_NM, RGMN_DTL) values ('Swim', 'as it was')"));
        gDB->Execute(QStringLiteral("insert into REGIMEN (RGMN_NM, RGMN_DTL) values ('Walk', 'as it was')"));
    }

    ListForm open(const char* name)
    {
        ListForm f;
        const QString which = QLatin1String(name);
        if (which == QLatin1String("frmPerson")) {
            auto& form = vb::defaultInstance<frmPerson>();
            form.Load();
            f = {&form,
                 form.datPerson,
                 form.vsFGPerson,
                 form.txtComment,
                 [&form] { form.cmdEdit_Click(); },
                 [&form] { form.cmdSave_Click(); },
                 QStringLiteral("PERSON"),
                 QStringLiteral("PRSN_KY"),
                 QStringLiteral("COMMENT")};
        } else if (which == QLatin1String("frmRegimen")) {
            auto& form = vb::defaultInstance<frmRegimen>();
            form.Load();
            f = {&form,
                 form.datRegimen,
                 form.vsFGRegimen,
                 form.txtDetail,
                 [&form] { form.cmdEdit_Click(); },
                 [&form] { form.cmdSave_Click(); },
                 QStringLiteral("REGIMEN"),
                 QStringLiteral("RGMN_KY"),
                 QStringLiteral("RGMN_DTL")};
        } else {
            auto& form = vb::defaultInstance<frmDSetGoal>();
            form.Load();
            f = {&form,
                 form.datDSetGoal,
                 form.vsFGDSetGoal,
                 form.txtGlDtl,
                 [&form] { form.cmdEdit_Click(); },
                 [&form] { form.cmdSave_Click(); },
                 QStringLiteral("DBTS_GOAL"),
                 QStringLiteral("GL_KY"),
                 QStringLiteral("GL_DTL")};
        }
        f.form->show();
        f.form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.form));
        return f;
    }

    QString stored(const ListForm& f, qint32 key)
    {
        return vb::CStr(value(QStringLiteral("select %1 from %2 where %3 = %4").arg(f.column, f.table, f.keyColumn).arg(key)));
    }

    // A click on the row as the user makes it: through the window, so whatever the form does to
    // keep clicks off the grid takes effect.
    static void clickRow(VSFlexGrid& grid, int row)
    {
        const int viewRow = row - grid.FixedRows();
        int col = 0;
        while (col < grid.model()->columnCount() && (grid.isColumnHidden(col) || grid.columnWidth(col) == 0))
            ++col;
        const QRect cell = grid.visualRect(grid.model()->index(viewRow, col));
        ASSERT_TRUE(cell.isValid());
        const QPoint at = grid.viewport()->mapTo(grid.window(), cell.center());
        QTest::mouseClick(grid.window()->windowHandle(), Qt::LeftButton, {}, at);
    }

    static void tryToMove(ListForm& f, Move how)
    {
        switch (how) {
        case Move::ClickAnotherRow:
            clickRow(*f.grid, 2);
            break;
        case Move::ArrowKeyInGrid:
            QTest::keyClick(f.grid, Qt::Key_Down);
            break;
        case Move::NavigatorNext:
            QTest::mouseClick(f.data->nextButton(), Qt::LeftButton);
            break;
        case Move::MovedFromCode:
            f.data->Recordset()->MoveNext();
            break;
        }
        QCoreApplication::processEvents();
    }
};

TEST_F(EntryRowTest, TheSaveWritesTheRowTheEditBeganOnAndNoOther)
{
    const struct {
        const char* form;
        Move how;
    } cases[] = {
        {"frmPerson", Move::ClickAnotherRow},  {"frmPerson", Move::ArrowKeyInGrid},   {"frmPerson", Move::NavigatorNext},
        {"frmPerson", Move::MovedFromCode},    {"frmRegimen", Move::ClickAnotherRow}, {"frmRegimen", Move::ArrowKeyInGrid},
        {"frmRegimen", Move::NavigatorNext},   {"frmRegimen", Move::MovedFromCode},   {"frmDSetGoal", Move::ClickAnotherRow},
        {"frmDSetGoal", Move::ArrowKeyInGrid}, {"frmDSetGoal", Move::NavigatorNext},  {"frmDSetGoal", Move::MovedFromCode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.form) + " move " + std::to_string(int(c.how)));
        ListForm f = open(c.form);
        const qint32 edited = vb::CLng(f.grid->TextMatrix(1, 1));
        const qint32 other = vb::CLng(f.grid->TextMatrix(2, 1));
        const QString otherBefore = stored(f, other);

        f.edit();
        f.changed->setPlainText(QStringLiteral("changed"));
        tryToMove(f, c.how);
        if (c.how != Move::MovedFromCode) {
            // The list did not move under the entry.
            EXPECT_EQ(edited, vb::CLng(f.data->Recordset()->Fields(0).Value()));
            EXPECT_EQ(1, f.grid->Row());
        }
        f.save();

        EXPECT_TRUE(messages().Log().empty());
        EXPECT_EQ(QStringLiteral("changed"), stored(f, edited));
        EXPECT_EQ(otherBefore, stored(f, other));
        f.form->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The Measurement form keys its rows by their date-time, not by a number column.
TEST_F(EntryRowTest, TheMeasurementSaveWritesTheReadingTheEditBeganOn)
{
    for (const char* when : {"#3/10/2024 7:00:00 AM#", "#3/11/2024 7:00:00 AM#"})
        gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, PLSE, CMMNT) values (%1, %2, 70, 'as it was')")
                         .arg(samplePerson)
                         .arg(QLatin1String(when)));
    auto comment = [](const QDateTime& when) {
        return vb::CStr(value(QStringLiteral("select CMMNT from MEASURE where PRSN_KY = %1 and MSRD_DT = #%2#")
                                  .arg(gPersonKey)
                                  .arg(when.toString(QStringLiteral("M/d/yyyy h:mm:ss AP")))));
    };
    for (Move how : {Move::ClickAnotherRow, Move::ArrowKeyInGrid, Move::NavigatorNext, Move::MovedFromCode}) {
        SCOPED_TRACE("move " + std::to_string(int(how)));
        auto& form = vb::defaultInstance<frmMeasure>();
        form.Load();
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        ListForm f;
        f.form = &form;
        f.data = form.datInfo;
        f.grid = form.vsFGInfo;
        const auto rs = form.datInfo->Recordset();
        ASSERT_GE(rs->RecordCount(), 2);
        const QDateTime edited = rs->Fields(3).Value().toDateTime();
        rs->MoveNext();
        const QDateTime other = rs->Fields(3).Value().toDateTime();
        rs->MoveFirst();
        const QString otherBefore = comment(other);

        form.cmdEdit_Click();
        form.txtCmmnt->setText(QStringLiteral("changed"));
        tryToMove(f, how);
        if (how != Move::MovedFromCode) {
            EXPECT_EQ(edited, form.datInfo->Recordset()->Fields(3).Value().toDateTime());
            EXPECT_EQ(1, form.vsFGInfo->Row());
        }
        form.cmdSave_Click();

        EXPECT_TRUE(messages().Log().empty());
        EXPECT_EQ(QStringLiteral("changed"), comment(edited));
        EXPECT_EQ(otherBefore, comment(other));
        EXPECT_EQ(edited, form.RecordKey()) << "the saved reading is shown";
        gDB->Execute(QStringLiteral("update MEASURE set CMMNT = 'as it was'"));
        form.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(EntryRowTest, BrowsingFreesTheListAgain)
{
    ListForm f = open("frmRegimen");
    f.edit();
    EXPECT_FALSE(f.data->isEnabled());
    EXPECT_EQ(Qt::NoFocus, f.grid->focusPolicy());
    f.save();
    EXPECT_TRUE(f.data->isEnabled());
    EXPECT_EQ(Qt::StrongFocus, f.grid->focusPolicy());
    clickRow(*f.grid, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(vb::CLng(f.grid->TextMatrix(2, 1)), vb::CLng(f.data->Recordset()->Fields(0).Value()));
}

TEST_F(EntryRowTest, TabPassesOverLockedBoxesAndLeavesTheGridWithoutMovingIt)
{
    for (const char* name : {"frmPerson", "frmRegimen", "frmDSetGoal"}) {
        SCOPED_TRACE(name);
        ListForm f = open(name);
        const int row = f.data->Recordset()->AbsolutePosition();
        f.grid->setFocus();
        bool reachedButton = false;
        for (int i = 0; i < 30; ++i) {
            QWidget* focused = QApplication::focusWidget();
            ASSERT_NE(nullptr, focused);
            const auto* line = qobject_cast<QLineEdit*>(focused);
            const auto* text = qobject_cast<QPlainTextEdit*>(focused);
            EXPECT_FALSE((line && line->isReadOnly()) || (text && text->isReadOnly()))
                << "Tab stopped on the locked box " << focused->objectName().toStdString();
            reachedButton = reachedButton || qobject_cast<QPushButton*>(focused);
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        EXPECT_TRUE(reachedButton);
        EXPECT_EQ(row, f.data->Recordset()->AbsolutePosition());

        // Editing puts the boxes back in the order.
        f.edit();
        bool reachedBox = false;
        for (int i = 0; i < 30 && !reachedBox; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reachedBox = QApplication::focusWidget() == f.changed;
        }
        EXPECT_TRUE(reachedBox);
        f.form->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace
