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

// What a test needs of one form: its list, how to start and save an edit, the box it changes
// and how to read that box's stored value by the row's key.
struct ListForm {
    vb::Form* form = nullptr;
    DataControl* data = nullptr;
    VSFlexGrid* grid = nullptr;
    QWidget* changed = nullptr;
    std::function<void()> edit;
    std::function<void()> save;
    int keyField = 0;
    std::function<QString(const QVariant& key)> stored;
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

    template <class F>
    static ListForm listForm(F& form, DataControl* data, VSFlexGrid* grid, QWidget* changed, int keyField,
                             std::function<QString(const QVariant&)> stored)
    {
        form.Load();
        return {&form,
                data,
                grid,
                changed,
                [&form] { form.cmdEdit_Click(); },
                [&form] { form.cmdSave_Click(); },
                keyField,
                std::move(stored)};
    }

    static std::function<QString(const QVariant&)> column(const char* table, const char* key, const char* col)
    {
        return [=](const QVariant& k) {
            return vb::CStr(value(QStringLiteral("select %1 from %2 where %3 = %4")
                                      .arg(QLatin1String(col), QLatin1String(table), QLatin1String(key))
                                      .arg(vb::CLng(k))));
        };
    }

    ListForm open(const QString& name)
    {
        ListForm f;
        if (name == QLatin1String("frmPerson")) {
            auto& form = vb::defaultInstance<frmPerson>();
            f = listForm(form, form.datPerson, form.vsFGPerson, form.txtComment, 0, column("PERSON", "PRSN_KY", "COMMENT"));
        } else if (name == QLatin1String("frmRegimen")) {
            auto& form = vb::defaultInstance<frmRegimen>();
            f = listForm(form, form.datRegimen, form.vsFGRegimen, form.txtDetail, 0, column("REGIMEN", "RGMN_KY", "RGMN_DTL"));
        } else if (name == QLatin1String("frmDSetGoal")) {
            auto& form = vb::defaultInstance<frmDSetGoal>();
            f = listForm(form, form.datDSetGoal, form.vsFGDSetGoal, form.txtGlDtl, 0, column("DBTS_GOAL", "GL_KY", "GL_DTL"));
        } else {
            // The Measurement form keys its rows by their date-time, not by a number column.
            auto& form = vb::defaultInstance<frmMeasure>();
            f = listForm(form, form.datInfo, form.vsFGInfo, form.txtCmmnt, 3, [](const QVariant& when) {
                return vb::CStr(value(QStringLiteral("select CMMNT from MEASURE where PRSN_KY = %1 and MSRD_DT = #%2#")
                                          .arg(gPersonKey)
                                          .arg(when.toDateTime().toString(QStringLiteral("M/d/yyyy h:mm:ss AP")))));
            });
        }
        f.form->show();
        f.form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.form));
        return f;
    }

    static QVariant currentKey(const ListForm& f) { return f.data->Recordset()->Fields(f.keyField).Value(); }

    static void setText(QWidget* box, const QString& text)
    {
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->setText(text);
        else
            qobject_cast<QPlainTextEdit*>(box)->setPlainText(text);
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
        case Move::ClickAnotherRow: clickRow(*f.grid, 2); break;
        case Move::ArrowKeyInGrid: QTest::keyClick(f.grid, Qt::Key_Down); break;
        case Move::NavigatorNext: QTest::mouseClick(f.data->nextButton(), Qt::LeftButton); break;
        case Move::MovedFromCode: f.data->Recordset()->MoveNext(); break;
        }
        QCoreApplication::processEvents();
    }
};

TEST_F(EntryRowTest, TheSaveWritesTheRowTheEditBeganOnAndNoOther)
{
    for (const char* when : {"#3/10/2024 7:00:00 AM#", "#3/11/2024 7:00:00 AM#"})
        gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, PLSE, CMMNT) values (%1, %2, 70, 'as it was')")
                         .arg(samplePerson)
                         .arg(QLatin1String(when)));
    for (const char* name : {"frmPerson", "frmRegimen", "frmDSetGoal", "frmMeasure"}) {
        for (Move how : {Move::ClickAnotherRow, Move::ArrowKeyInGrid, Move::NavigatorNext, Move::MovedFromCode}) {
            SCOPED_TRACE(std::string(name) + " move " + std::to_string(int(how)));
            ListForm f = open(QLatin1String(name));
            const auto rs = f.data->Recordset();
            ASSERT_GE(rs->RecordCount(), 2);
            const QVariant edited = currentKey(f);
            rs->MoveNext();
            const QVariant other = currentKey(f);
            rs->MoveFirst();
            const QString otherBefore = f.stored(other);

            f.edit();
            setText(f.changed, QStringLiteral("changed"));
            tryToMove(f, how);
            if (how != Move::MovedFromCode) {
                // The list did not move under the entry.
                EXPECT_EQ(edited, currentKey(f));
                EXPECT_EQ(1, f.grid->Row());
            }
            f.save();

            EXPECT_TRUE(messages().Log().empty());
            EXPECT_EQ(QStringLiteral("changed"), f.stored(edited));
            EXPECT_EQ(otherBefore, f.stored(other));
            if (auto* measure = qobject_cast<frmMeasure*>(f.form)) {
                EXPECT_EQ(edited.toDateTime(), measure->RecordKey()) << "the saved reading is shown";
            }
            f.form->Unload();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
}

TEST_F(EntryRowTest, BrowsingFreesTheListAgain)
{
    ListForm f = open(QStringLiteral("frmRegimen"));
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
        ListForm f = open(QLatin1String(name));
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
