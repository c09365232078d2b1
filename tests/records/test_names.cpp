// Names and lengths as the database knows them: a record of a name pair that an older file
// holds, names typed in another Unicode normal form, and texts of characters outside the basic
// plane, which a text box's own maximum length counts twice.
#include "test_measure_support.h"

#include "platform/runtime/TextLength.h"
#include "records/frmChngeCustomLblUnt.h"
#include "records/frmPerson.h"
#include "records/frmRegimen.h"
#include "reports/MeasurementImportFile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>

#include <sqlite3.h>

#include <functional>

namespace {

using testing_measure::at;
using testing_measure::MeasureFixture;

const QString kFace = QStringLiteral("\U0001F600"); // one character, two UTF-16 units

QString faces(int n) { return kFace.repeated(n); }

class NamesAndLengths : public MeasureFixture {
protected:
    template <class Form>
    Form& open()
    {
        Form& form = vb::defaultInstance<Form>();
        form.Load();
        return form;
    }
    frmPerson& editPerson()
    {
        auto& form = open<frmPerson>();
        form.cmdEdit_Click();
        return form;
    }
};

TEST_F(NamesAndLengths, ARecordOfAnOlderNamePairSavesWhileItKeepsItsName)
{
    // Written by a client that knows no letter case beyond ASCII, as an older file holds them.
    sqlite3* plain = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(gDB->Name().toUtf8().constData(), &plain));
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(plain, "INSERT INTO PERSON (PRSN_NM) VALUES ('Élodie'), ('élodie')", {}, {}, {}));
    sqlite3_close(plain);
    gPersonKey = count(QStringLiteral("select max(PRSN_KY) from PERSON"));
    auto& form = editPerson();
    form.txtName->setText(QStringLiteral("\u00E9LODIE")); // its own name in other letters
    form.txtAge->setText(QStringLiteral("41"));
    form.cmdSave_Click();
    EXPECT_EQ(41, count(QStringLiteral("select AGE from PERSON where PRSN_KY = %1").arg(gPersonKey)));
}

TEST_F(NamesAndLengths, ANameTypedInAnotherNormalFormIsFoundAndReplaced)
{
    const struct {
        const char *table, *column;
        QString stored, typed;
    } cases[] = {
        {"PERSON", "PRSN_NM", QStringLiteral("Zo\u00EB"), QStringLiteral("ZOE\u0308")},
        {"REGIMEN", "RGMN_NM", QStringLiteral("E\u0301tude"), QStringLiteral("\u00E9TUDE")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table);
        const QString table = QLatin1String(c.table), column = QLatin1String(c.column);
        gDB->Execute(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, column, vb::SqlText(c.stored)));
        const int rows = count(QStringLiteral("select count(*) from ") + table);
        // The form finds it and asks to replace; Yes stores the name as typed into that row.
        answer(vb::vbYes);
        auto save = [&](auto& form) {
            form.cmdAddNew_Click();
            form.txtName->setText(c.typed);
            form.cmdSave_Click();
        };
        table == QLatin1String("PERSON") ? save(open<frmPerson>()) : save(open<frmRegimen>());
        EXPECT_TRUE(lastBox().text.contains(QStringLiteral("with the same name exists in database.")));
        EXPECT_EQ(rows, count(QStringLiteral("select count(*) from ") + table));
        EXPECT_EQ(c.typed.toUtf8(),
                  value(QStringLiteral("select %2 from %1 where %2 = %3").arg(table, column, vb::SqlText(c.stored)))
                      .toString()
                      .toUtf8());
        closeForms();
    }
}

TEST_F(NamesAndLengths, LengthsCountCharactersAsTheColumnRulesDo)
{
    // Pasting stops at the column's length in characters, never splitting one.
    const QString letters99(99, u'a');
    const struct {
        const char* box;
        std::function<QWidget*()> open;
        QString pasted, kept;
    } pastes[] = {
        {"person's name", [&] { return editPerson().txtName; }, faces(31), faces(30)},
        {"person's comment", [&] { return editPerson().txtComment; }, letters99 + faces(2), letters99 + kFace},
        {"custom label", [&] { return open<frmChngeCustomLblUnt>().txtTempLbl[0]; }, faces(13), faces(12)},
        {"measurement's comment",
         [&] {
             openForm().cmdAddNew_Click();
             return form->txtCmmnt;
         },
         letters99 + faces(2), letters99 + kFace},
    };
    for (const auto& c : pastes) {
        SCOPED_TRACE(c.box);
        QWidget* box = c.open();
        QGuiApplication::clipboard()->setText(c.pasted);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(c.kept, box->property(qobject_cast<QLineEdit*>(box) ? "text" : "plainText").toString());
        closeForms();
    }

    // The measurement's comment is saved when it fits the column in characters and refused with
    // the limit when it does not; an import cell is judged by the same count.
    openForm();
    for (const bool fits : {true, false}) {
        const QString comment = fits ? faces(100) : letters99 + faces(2);
        const QDateTime when = at(2024, 3, 12, 9, fits ? 1 : 2);
        if (!fits)
            answer(vb::vbOK);
        addMeasurement(when, {.high = "120", .low = "80", .comment = comment});
        EXPECT_EQ(fits ? QVariant(comment) : QVariant(), storedColumn(samplePerson, when, QStringLiteral("CMMNT")));
        if (!fits) {
            EXPECT_EQ(QStringLiteral("The comment can hold at most 100 characters; please shorten it."), lastBox().text);
        }
        EXPECT_EQ(!fits, MeasurementImportFile::CheckCell(MeasurementImportFile::colComment, comment, {}).failed);
    }
}

TEST_F(NamesAndLengths, UndoAndRedoShowOnlyTextsTheUserHadWithinTheLimit)
{
    // A box typed to one short of its limit (its last character outside the basic plane), given
    // more than fits, then undone and redone: every text shown is one the user had.
    enum Way { Type, Paste, Drop };
    const QStringList xyz{"X", "Y", "Z"}, threeFaces{kFace, kFace, kFace};
    const struct {
        const char* box;
        bool comment; // the person's comment, else the name
        Way way;
        QStringList more;  // one key each
        const char* steps; // u Undo, r Redo
    } cases[] = {
        {"comment, typed", true, Type, xyz, "uurr"},   {"comment, pasted", true, Paste, threeFaces, "uurru"},
        {"comment, dropped", true, Drop, xyz, "urur"}, {"name, typed", false, Type, threeFaces, "uurr"},
        {"name, pasted", false, Paste, xyz, "uurru"},  {"name, dropped", false, Drop, threeFaces, "urur"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        auto& person = open<frmPerson>();
        person.cmdAddNew_Click();
        QWidget* box = c.comment ? static_cast<QWidget*>(person.txtComment) : person.txtName;
        const int limit = c.comment ? 100 : 30;
        const auto shown = [&] { return box->property(c.comment ? "plainText" : "text").toString(); };
        QStringList had{shown()};
        const auto type = [&](const QString& key) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, key);
            QCoreApplication::sendEvent(box, &press);
            had << shown();
        };
        for (int i = 0; i < limit - 2; ++i)
            type(QStringLiteral("a"));
        type(kFace);
        QMimeData dragged;
        dragged.setText(c.more.join(QString()));
        QGuiApplication::clipboard()->setText(dragged.text());
        if (c.way == Type) {
            for (const QString& key : c.more)
                type(key);
        } else if (c.way == Paste) {
            QTest::keySequence(box, QKeySequence::Paste);
        } else { // at the end of the text
            QWidget* target = c.comment ? person.txtComment->viewport() : box;
            const QPoint end = c.comment ? person.txtComment->cursorRect().center() : QPoint(box->width() - 3, box->height() / 2);
            QDragEnterEvent enter(end, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
            QDropEvent drop(end, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &enter);
            QCoreApplication::sendEvent(target, &drop);
        }
        had << shown();
        EXPECT_EQ(limit, vb::characterCount(shown()));
        for (const char* step = c.steps; *step; ++step) {
            QTest::keySequence(box, *step == 'u' ? QKeySequence::Undo : QKeySequence::Redo);
            EXPECT_TRUE(had.contains(shown()) && vb::fitsLength(shown(), limit)) << step;
        }
        closeForms();
    }
}

} // namespace
