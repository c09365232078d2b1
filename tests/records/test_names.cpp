// Names and lengths as the database knows them: a record of a name pair that an older file
// holds, names typed in another Unicode normal form, and texts of characters outside the basic
// plane, which a text box's own maximum length counts twice.
#include "test_measure_support.h"

#include "platform/controls/DataControl.h"
#include "records/frmChngeCustomLblUnt.h"
#include "records/frmPerson.h"
#include "records/frmRegimen.h"
#include "reports/MeasurementImportFile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <sqlite3.h>

namespace {

using testing_measure::at;
using testing_measure::MeasureFixture;

const QString kFace = QStringLiteral("\U0001F600"); // one character, two UTF-16 units

QString repeated(const QString& text, int times)
{
    QString out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

class NamesAndLengths : public MeasureFixture {
protected:
    // Rows written by a client that knows no letter case beyond ASCII, as an older file holds them.
    void writeBehindTheEngine(const QByteArray& sql)
    {
        sqlite3* plain = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_open(gDB->Name().toUtf8().constData(), &plain));
        EXPECT_EQ(SQLITE_OK, sqlite3_exec(plain, sql.constData(), nullptr, nullptr, nullptr)) << sqlite3_errmsg(plain);
        sqlite3_close(plain);
    }
    template <class Form>
    Form& open()
    {
        Form& form = vb::defaultInstance<Form>();
        form.Load();
        return form;
    }
    static void pasteInto(QWidget* box, const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }
};

TEST_F(NamesAndLengths, ARecordOfAnOlderNamePairSavesWhenItKeepsItsName)
{
    writeBehindTheEngine("INSERT INTO PERSON (PRSN_NM) VALUES ('Élodie'), ('élodie');"
                         "INSERT INTO REGIMEN (RGMN_NM) VALUES ('Étude'), ('étude');");
    const struct {
        bool regimen;
        const char* name; // typed into the name box
        bool refused;
    } cases[] = {
        {false, "élodie", false},      // only the age changes
        {false, "éLODIE", false},      // its own name in other letters
        {false, "pellam ostry", true}, // another person's name
        {true, "étude", false},        // only the detail changes
        {true, "E\u0301TUDE", false},  // its own name, the accent typed apart
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromUtf8(c.name);
        const std::size_t boxes = messages().Log().size();
        if (c.refused)
            answer(vb::vbOK);
        if (c.regimen) {
            const int key = count(QStringLiteral("select RGMN_KY from REGIMEN where RGMN_NM = 'étude' and RGMN_KY > 0 "
                                                 "order by RGMN_KY desc"));
            auto& form = open<frmRegimen>();
            form.datRegimen->Recordset()->FindFirst(QStringLiteral("RGMN_KY = %1").arg(key));
            form.cmdEdit_Click();
            form.txtName->setText(name);
            form.txtDetail->setPlainText(QStringLiteral("twice a week"));
            form.cmdSave_Click();
            EXPECT_EQ(QStringLiteral("twice a week"),
                      value(QStringLiteral("select RGMN_DTL from REGIMEN where RGMN_KY = %1").arg(key)).toString());
            EXPECT_EQ(name, value(QStringLiteral("select RGMN_NM from REGIMEN where RGMN_KY = %1").arg(key)).toString());
        } else {
            gDB->Execute(QStringLiteral("update PERSON set AGE = Null"));
            gPersonKey = count(QStringLiteral("select max(PRSN_KY) from PERSON"));
            auto& form = open<frmPerson>();
            form.cmdEdit_Click();
            form.txtName->setText(name);
            form.txtAge->setText(QStringLiteral("41"));
            form.cmdSave_Click();
            const QVariant age = value(QStringLiteral("select AGE from PERSON where PRSN_KY = %1").arg(gPersonKey));
            EXPECT_EQ(c.refused ? QVariant() : QVariant(41), age.isNull() ? QVariant() : QVariant(age.toInt()));
            if (c.refused) {
                EXPECT_EQ(QStringLiteral("Person with the same name exists in database."), lastBox().text);
            }
        }
        EXPECT_EQ(boxes + (c.refused ? 1 : 0), messages().Log().size());
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(NamesAndLengths, ANameTypedInAnotherNormalFormIsTheSameName)
{
    const struct {
        bool regimen;
        const char *stored, *typed;
    } cases[] = {
        {false, "\u00C9lodie", "E\u0301lodie"}, // one letter; letter and combining accent
        {false, "Zo\u00EB", "ZOE\u0308"},       // and in other letters
        {true, "E\u0301tude", "\u00E9TUDE"},    // stored apart, typed as one
        {true, "C\u0327a", "\u00C7A"},
    };
    for (const auto& c : cases) {
        const QString stored = QString::fromUtf8(c.stored);
        const QString typed = QString::fromUtf8(c.typed);
        SCOPED_TRACE(typed.toStdString());
        const QString table = c.regimen ? QStringLiteral("REGIMEN") : QStringLiteral("PERSON");
        const QString column = c.regimen ? QStringLiteral("RGMN_NM") : QStringLiteral("PRSN_NM");
        gDB->Execute(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, column, vb::SqlText(stored)),
                     dao::dbFailOnError);
        const int rows = count(QStringLiteral("select count(*) from ") + table);
        // The engine refuses the second name, whatever writes it.
        try {
            gDB->Execute(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, column, vb::SqlText(typed)),
                         dao::dbFailOnError);
            ADD_FAILURE() << "the look-alike name was stored";
        } catch (const dao::Error& e) {
            EXPECT_EQ(dao::errDuplicateKey, e.Number());
        }
        // The form finds it and asks to replace; Yes stores the name as typed into that row.
        answer(vb::vbYes);
        if (c.regimen) {
            auto& form = open<frmRegimen>();
            form.cmdAddNew_Click();
            form.txtName->setText(typed);
            form.cmdSave_Click();
        } else {
            auto& form = open<frmPerson>();
            form.cmdAddNew_Click();
            form.txtName->setText(typed);
            form.cmdSave_Click();
        }
        EXPECT_TRUE(lastBox().text.contains(QStringLiteral("with the same name exists in database.")));
        EXPECT_EQ(rows, count(QStringLiteral("select count(*) from ") + table));
        EXPECT_EQ(1, count(QStringLiteral("select count(*) from %1 where %2 = %3").arg(table, column, vb::SqlText(typed))));
        EXPECT_EQ(
            typed.toUtf8(),
            value(QStringLiteral("select %2 from %1 where %2 = %3").arg(table, column, vb::SqlText(stored))).toString().toUtf8());
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(NamesAndLengths, LengthsCountCharactersAsTheColumnRulesDo)
{
    // Typing and pasting stop at the column's length in characters, and what the box takes is
    // stored by the form's own save.
    const QString letters99 = QString(99, u'a');
    const struct {
        const char* box;
        int limit;
        QString pasted;
        QString kept;
    } pastes[] = {
        {"txtName", 30, repeated(kFace, 31), repeated(kFace, 30)},
        {"txtComment", 100, repeated(kFace, 60), repeated(kFace, 60)},
        {"txtComment", 100, letters99 + kFace + kFace, letters99 + kFace},
    };
    for (const auto& c : pastes) {
        SCOPED_TRACE(c.box);
        gPersonKey = samplePerson;
        if (QByteArray(c.box) == "txtName")
            answer(vb::vbYes); // the person's measurements keep to it
        auto& form = open<frmPerson>();
        form.cmdEdit_Click();
        QWidget* box = form.findChild<QWidget*>(QLatin1String(c.box));
        ASSERT_TRUE(box);
        if (auto* line = qobject_cast<QLineEdit*>(box))
            line->clear();
        else
            static_cast<QPlainTextEdit*>(box)->clear();
        pasteInto(box, c.pasted);
        const QString shown = qobject_cast<QLineEdit*>(box) ? qobject_cast<QLineEdit*>(box)->text()
                                                            : static_cast<QPlainTextEdit*>(box)->toPlainText();
        EXPECT_EQ(c.kept, shown);
        form.cmdSave_Click();
        const char* column = QByteArray(c.box) == "txtName" ? "PRSN_NM" : "COMMENT";
        EXPECT_EQ(c.kept,
                  value(QStringLiteral("select %1 from PERSON where PRSN_KY = %2").arg(QLatin1String(column)).arg(samplePerson))
                      .toString());
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    {
        auto& units = open<frmChngeCustomLblUnt>();
        units.txtTempLbl[0]->clear();
        pasteInto(units.txtTempLbl[0], repeated(kFace, 13));
        EXPECT_EQ(repeated(kFace, 12), units.txtTempLbl[0]->text());
        units.cmdApply_Click();
        EXPECT_EQ(repeated(kFace, 12), value(QStringLiteral("select TempLBL from Application")).toString());
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The measurement's comment: saved when it fits the column in characters, refused with the
    // limit when it does not; an import cell is judged by the same count.
    const struct {
        QString comment;
        bool fits;
    } comments[] = {
        {repeated(kFace, 60), true},
        {letters99 + kFace, true},
        {repeated(kFace, 100), true},
        {letters99 + kFace + kFace, false},
    };
    openForm();
    int minute = 0;
    for (const auto& c : comments) {
        SCOPED_TRACE(c.comment.size());
        const QDateTime when = at(2024, 3, 12, 9, ++minute);
        if (!c.fits)
            answer(vb::vbOK);
        addMeasurement(when, {.high = "120", .low = "80", .comment = c.comment});
        EXPECT_EQ(c.fits ? QVariant(c.comment) : QVariant(), storedColumn(samplePerson, when, QStringLiteral("CMMNT")));
        if (!c.fits) {
            EXPECT_EQ(QStringLiteral("The comment can hold at most 100 characters; please shorten it."), lastBox().text);
            form->cmdCancel_Click();
        }
        EXPECT_EQ(!c.fits, MeasurementImportFile::CheckCell(MeasurementImportFile::colComment, c.comment, {}).failed);
    }
    form->cmdAddNew_Click();
    form->txtCmmnt->clear();
    pasteInto(form->txtCmmnt, letters99 + kFace + kFace);
    EXPECT_EQ(letters99 + kFace, form->txtCmmnt->text());
}

} // namespace
