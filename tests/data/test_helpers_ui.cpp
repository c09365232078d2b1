// The widget-side helpers: combo filling from SQL and the decimal filter on a line edit.
#include "data/DataFixture.h"

#include "data/Globals.h"
#include "data/ui/modHealthUi.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Counts the index changes a combo reports.
struct ChangeCounter {
    explicit ChangeCounter(QComboBox* box)
        : connection(QObject::connect(box, &QComboBox::currentIndexChanged, box, [this](int) { ++n; }))
    {}
    ~ChangeCounter() { QObject::disconnect(connection); }
    ChangeCounter(const ChangeCounter&) = delete;
    ChangeCounter& operator=(const ChangeCounter&) = delete;
    int count() const { return n; }
    int n = 0;
    QMetaObject::Connection connection;
};

bool EnsureApplication()
{
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_data";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

class FillComboTest : public testing_data::DataFixture {
protected:
    void SetUp() override
    {
        if (!EnsureApplication())
            GTEST_SKIP() << "needs a widget application";
        DataFixture::SetUp();
    }

    static std::unique_ptr<QComboBox> combo(const char* name)
    {
        auto box = std::make_unique<QComboBox>();
        box->setObjectName(QString::fromLatin1(name));
        return box;
    }
    static qint32 addPerson(const QString& name)
    {
        gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('%1')").arg(name), dao::dbFailOnError);
        return value(QStringLiteral("select max(PRSN_KY) from PERSON")).toInt();
    }
    static QStringList texts(const QComboBox& box)
    {
        QStringList list;
        for (int i = 0; i < box.count(); ++i)
            list << box.itemText(i);
        return list;
    }

    const QString personSql = QStringLiteral("SELECT PRSN_KY, PRSN_NM FROM PERSON ORDER BY PRSN_NM");
};

} // namespace

TEST_F(FillComboTest, PersonListSelectsTheCurrentPersonOnce)
{
    const qint32 bea = addPerson(QStringLiteral("Bea"));
    const qint32 aaron = addPerson(QStringLiteral("Aaron"));
    gPersonKey = bea;
    auto box = combo("cboPerson");
    ChangeCounter changes(box.get());
    modHealth::FillCombo(box.get(), personSql);
    EXPECT_EQ(box->count(), count(QStringLiteral("select count(*) from PERSON")));
    EXPECT_EQ(box->currentText(), QStringLiteral("Bea"));
    EXPECT_EQ(box->currentData().toInt(), bea);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(box->itemText(0), QStringLiteral("Aaron"));
    EXPECT_EQ(box->itemData(0).toInt(), aaron);
    EXPECT_EQ(box->findText(QStringLiteral("(Unknown)")), -1);
}

TEST_F(FillComboTest, PersonListWithoutTheCurrentPersonSelectsTheFirst)
{
    addPerson(QStringLiteral("Aaron"));
    for (qint32 key : {-1, 0, 99999}) {
        gPersonKey = key;
        auto box = combo("cboPerson");
        ChangeCounter changes(box.get());
        modHealth::FillCombo(box.get(), personSql);
        EXPECT_GT(box->count(), 0);
        EXPECT_EQ(box->currentIndex(), 0) << key;
        EXPECT_EQ(changes.count(), 1) << key;
    }
}

TEST_F(FillComboTest, EmptyPersonListSelectsNothing)
{
    auto box = combo("cboPerson");
    ChangeCounter changes(box.get());
    modHealth::FillCombo(box.get(), QStringLiteral("SELECT PRSN_KY, PRSN_NM FROM PERSON WHERE PRSN_KY < 0"));
    EXPECT_EQ(box->count(), 0);
    EXPECT_EQ(box->currentIndex(), -1);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(FillComboTest, MoodAndRegimenListsStartWithUnknownAndSelectNothing)
{
    auto mood = combo("cboMood");
    ChangeCounter changes(mood.get());
    modHealth::FillCombo(mood.get(), QStringLiteral("SELECT MD_KY, MD_NM FROM MOOD"));
    EXPECT_EQ(texts(*mood), (QStringList{QStringLiteral("(Unknown)"), QStringLiteral("Normal"), QStringLiteral("Excited"),
                                         QStringLiteral("Happy"), QStringLiteral("Melancholy"), QStringLiteral("Depressed"),
                                         QStringLiteral("Anxious")}));
    EXPECT_EQ(mood->itemData(0), QVariant(qint32(0)));
    EXPECT_EQ(mood->itemData(3).toInt(), 3);
    EXPECT_EQ(mood->currentIndex(), -1);
    EXPECT_EQ(changes.count(), 0);

    auto noMoods = combo("cboMood");
    modHealth::FillCombo(noMoods.get(), QStringLiteral("SELECT MD_KY, MD_NM FROM MOOD WHERE MD_KY < 0"));
    EXPECT_EQ(texts(*noMoods), QStringList{QStringLiteral("(Unknown)")});
    EXPECT_EQ(noMoods->currentIndex(), -1);

    gDB->Execute(QStringLiteral("insert into REGIMEN (RGMN_NM, RGMN_DTL) values ('aaa first', 'x')"), dao::dbFailOnError);
    auto regimen = combo("cboRegimen");
    modHealth::FillCombo(regimen.get(), QStringLiteral("SELECT RGMN_KY, RGMN_NM FROM REGIMEN ORDER BY RGMN_NM"));
    ASSERT_GE(regimen->count(), 2);
    EXPECT_EQ(regimen->itemText(0), QStringLiteral("(Unknown)"));
    EXPECT_EQ(regimen->itemText(1), QStringLiteral("aaa first"));
    EXPECT_EQ(regimen->count(), 1 + count(QStringLiteral("select count(*) from REGIMEN")));
}

TEST_F(FillComboTest, OtherListsGetRowsOnlyAndAppendToWhatTheyHold)
{
    auto goals = combo("CboDbtsGl");
    const QString sql = QStringLiteral("SELECT GL_KY, GL_NM FROM DBTS_GOAL ORDER BY GL_NM");
    modHealth::FillCombo(goals.get(), sql);
    const int rows = count(QStringLiteral("select count(*) from DBTS_GOAL"));
    EXPECT_EQ(goals->count(), rows);
    EXPECT_EQ(goals->findText(QStringLiteral("(Unknown)")), -1);
    EXPECT_EQ(goals->currentIndex(), -1);
    goals->setCurrentIndex(1);
    modHealth::FillCombo(goals.get(), sql);
    EXPECT_EQ(goals->count(), 2 * rows);
    EXPECT_EQ(goals->currentIndex(), 1); // the caller's selection stays
}

TEST_F(FillComboTest, DecimalFilterReadsTheLineEdit)
{
    QLineEdit box;
    box.setText(QStringLiteral("7.2"));
    box.setCursorPosition(3);
    EXPECT_EQ(modHealth::FilterDecimalKey('5', &box), 0);
    box.setCursorPosition(0);
    EXPECT_EQ(modHealth::FilterDecimalKey('5', &box), int('5'));
    EXPECT_EQ(modHealth::FilterDecimalKey('.', &box), 0);
    box.setText(QStringLiteral("7."));
    box.setCursorPosition(2);
    EXPECT_EQ(modHealth::FilterDecimalKey('5', &box), int('5'));
}
