#pragma once
// What the Measurement form's tests share: the form opened on the sample person with a fixed
// clock, entering a measurement as the user does, and the stored averages of a reading's day,
// week and month compared with a recomputation from MEASURE done here.
#include "records/RecordsFixture.h"
#include "records/frmMeasure.h"

#include "data/clsDataService.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/dao/dao.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>

#include <array>
#include <cmath>
#include <optional>

namespace testing_measure {

using Values = std::array<std::optional<double>, 7>; // LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2

inline QString dateLiteral(const QDate& d) { return QStringLiteral("#%1/%2/%3#").arg(d.month()).arg(d.day()).arg(d.year()); }

inline QString dateTimeLiteral(const QDateTime& dt)
{
    return QStringLiteral("#%1/%2/%3 %4:%5:%6#")
        .arg(dt.date().month())
        .arg(dt.date().day())
        .arg(dt.date().year())
        .arg(dt.time().hour())
        .arg(dt.time().minute())
        .arg(dt.time().second());
}

inline QDateTime at(int y, int m, int d, int h, int min) { return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC); }

// What the user types into the entry fields.
struct Entry {
    QString high{}, low{}, pulse{}, weight{}, temp{}, temp1{}, sugar{}, comment{};
    int goalIndex = -1; // entry of the goal list, -1 none
    int moodIndex = 0;  // 0 "(Unknown)"
    int regimenIndex = 0;
};

class MeasureFixture : public testing_records::RecordsFixture {
protected:
    void SetUp() override
    {
        RecordsFixture::SetUp();
        // The proposed time of a new entry follows the test clock (12 March 2024, 10:07).
        clsDataService::setClock([] { return vb::Now().time(); });
    }

    void TearDown() override
    {
        clsDataService::setClock({});
        RecordsFixture::TearDown();
    }

    frmMeasure& openForm()
    {
        form = &vb::defaultInstance<frmMeasure>();
        form->Load();
        return *form;
    }

    dao::RecordsetPtr rows() const { return form->datInfo->Recordset(); }
    int shownRows() const { return rows() ? rows()->RecordCount() : 0; }
    int measureCount(int person) const
    {
        return count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1").arg(person));
    }

    int addPerson(const QString& name)
    {
        gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values (%1)").arg(vb::SqlText(name)), dao::dbFailOnError);
        return count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = %1").arg(vb::SqlText(name)));
    }

    // Fills the boxes and lists of an entry.
    void type(const Entry& e)
    {
        form->txtHBP->setText(e.high);
        form->txtLBP->setText(e.low);
        form->txtPlse->setText(e.pulse);
        form->txtWt->setText(e.weight);
        form->txtTemp[0]->setText(e.temp);
        form->txtTemp[1]->setText(e.temp1);
        form->txtTemp[2]->setText(e.sugar);
        form->txtCmmnt->setText(e.comment);
        form->CboDbtsGl->setCurrentIndex(e.goalIndex);
        form->cboMood->setCurrentIndex(e.moodIndex);
        form->cboRegimen->setCurrentIndex(e.regimenIndex);
    }

    // Add New, the date from the calendar, the time in the boxes, the values, Save.
    void addMeasurement(const QDateTime& when, const Entry& e)
    {
        form->cmdAddNew_Click();
        form->ctDt_DateSelected(when.date().day(), when.date().month(), when.date().year());
        const QString t = when.time().toString(QStringLiteral("hh:mm AP"));
        form->txtHr->setText(t.left(2));
        form->txtMin->setText(t.mid(3, 2));
        form->txtAMPM->setText(t.mid(6, 2));
        type(e);
        form->cmdSave_Click();
    }

    // The stored row of a measurement: the seven values, or nothing when there is no row.
    static std::optional<Values> storedValues(int person, const QDateTime& when)
    {
        auto rs = gDB->OpenRecordset(QStringLiteral("select LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2 from MEASURE "
                                                    "where PRSN_KY = %1 and MSRD_DT = %2")
                                         .arg(person)
                                         .arg(dateTimeLiteral(when)),
                                     dao::dbOpenSnapshot);
        if (rs->Eof())
            return std::nullopt;
        Values v;
        for (int i = 0; i < 7; ++i)
            if (!rs->Fields(i).Value().isNull())
                v[std::size_t(i)] = rs->Fields(i).Value().toDouble();
        return v;
    }

    static QVariant storedColumn(int person, const QDateTime& when, const QString& column)
    {
        return value(QStringLiteral("select %1 from MEASURE where PRSN_KY = %2 and MSRD_DT = %3")
                         .arg(column)
                         .arg(person)
                         .arg(dateTimeLiteral(when)));
    }

    // The day, week and month rows of the person that hold the date equal the averages of the
    // person's readings in those periods (and are absent for a period without readings).
    static void expectAveragesMatch(int person, const QDate& d)
    {
        QDate sunday = d;
        while (sunday.dayOfWeek() != Qt::Sunday)
            sunday = sunday.addDays(1);
        struct Level {
            const char* table;
            const char* keyColumn;
            QDate key;
            QDate from;
            QDate to;
        };
        const QDate first(d.year(), d.month(), 1);
        const Level levels[] = {
            {"AVERAGE_DAY", "DT", d, d, d},
            {"AVERAGE_WEEK", "WEEK", sunday, sunday.addDays(-6), sunday},
            {"AVERAGE_MONTH", "MNTH", first, first, first.addMonths(1).addDays(-1)},
        };
        for (const Level& level : levels) {
            SCOPED_TRACE(level.table);
            std::array<double, 7> sum{};
            std::array<int, 7> n{};
            int readings = 0;
            auto m = gDB->OpenRecordset(QStringLiteral("select LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2 from MEASURE "
                                                       "where PRSN_KY = %1 and MSRD_DT >= %2 and MSRD_DT < %3")
                                            .arg(person)
                                            .arg(dateLiteral(level.from))
                                            .arg(dateLiteral(level.to.addDays(1))),
                                        dao::dbOpenSnapshot);
            for (; !m->Eof(); m->MoveNext()) {
                ++readings;
                for (int i = 0; i < 7; ++i)
                    if (!m->Fields(i).Value().isNull()) {
                        sum[std::size_t(i)] += m->Fields(i).Value().toDouble();
                        ++n[std::size_t(i)];
                    }
            }
            auto a = gDB->OpenRecordset(QStringLiteral("select LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2 from %1 "
                                                       "where PRSN_KY = %2 and %3 = %4")
                                            .arg(QLatin1String(level.table))
                                            .arg(person)
                                            .arg(QLatin1String(level.keyColumn))
                                            .arg(dateLiteral(level.key)),
                                        dao::dbOpenSnapshot);
            if (readings == 0) {
                EXPECT_TRUE(a->Eof()) << "a period without readings keeps no row";
                continue;
            }
            ASSERT_FALSE(a->Eof()) << "no stored row";
            for (std::size_t i = 0; i < 7; ++i) {
                const QVariant stored = a->Fields(int(i)).Value();
                if (n[i] == 0) {
                    EXPECT_TRUE(stored.isNull()) << "column " << i;
                    continue;
                }
                ASSERT_FALSE(stored.isNull()) << "column " << i;
                const double mean = sum[i] / n[i];
                if (i < 3)
                    EXPECT_EQ(std::nearbyint(mean), stored.toDouble()) << "column " << i;
                else
                    EXPECT_FLOAT_EQ(float(mean), float(stored.toDouble())) << "column " << i;
            }
        }
    }

    frmMeasure* form = nullptr;
};

} // namespace testing_measure
