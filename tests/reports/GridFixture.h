#pragma once
// The base of the grid view's tests: a program folder with a new database, the service doubles
// installed (an unexpected message box or dialog fails the test), a person of the test's own
// making with readings added through SQL and their stored averages, and no form left behind.
#include "data/DataFixture.h"
#include "data/Globals.h"
#include "data/clsAverage.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Form.h"
#include "platform/services/TestDoubles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace testing_reports {

// One reading; an unset value is stored as Null.
struct Reading {
    explicit Reading(QDateTime at, std::optional<int> high = {}, std::optional<int> low = {}, std::optional<int> beat = {},
                     std::optional<double> wt = {})
        : when(std::move(at)), hbp(high), lbp(low), pulse(beat), weight(wt)
    {}
    QDateTime when;
    std::optional<int> hbp, lbp, pulse;
    std::optional<double> weight, temp, temp1, sugar;
    QString goal;    // goal name, looked up
    QString regimen; // regimen name, looked up
    QString mood;    // mood name, looked up
    QString comment;
};

inline QDateTime at(int y, int m, int d, int h = 8, int min = 0) { return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC); }

class GridFixture : public testing_data::DataFixture {
protected:
    void SetUp() override
    {
        services_ = std::make_unique<services::TestServices>();
        services_->setOnUnexpected([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
        testing_data::DataFixture::SetUp();
        gWeightUnit = 1;
        gWeightUnitText = QStringLiteral("lb");
        gShortDateFormat = QStringLiteral("M/d/yyyy");
    }

    void TearDown() override
    {
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        testing_data::DataFixture::TearDown();
        services_.reset();
    }

    services::TestServices& services() { return *services_; }
    vb::MsgBoxDouble& boxes() { return services_->messages(); }

    qint32 addPerson(const QString& name)
    {
        gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values (") + vb::SqlText(name) + u')', dao::dbFailOnError);
        return count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = ") + vb::SqlText(name));
    }

    static QString keyOf(const char* table, const char* keyColumn, const char* nameColumn, const QString& name)
    {
        if (name.isEmpty())
            return QStringLiteral("Null");
        return QString::number(count(QStringLiteral("select %1 from %2 where %3 = ")
                                         .arg(QLatin1String(keyColumn), QLatin1String(table), QLatin1String(nameColumn)) +
                                     vb::SqlText(name)));
    }

    // Adds the reading and brings the person's stored averages up to date.
    void add(qint32 person, const Reading& r)
    {
        auto number = [](const auto& v) { return v ? vb::NumberText(double(*v)) : QStringLiteral("Null"); };
        gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP, LBP, PLSE, WT, TEMP, TEMP1, TEMP2, GL_KY, "
                                    "RGMN_KY, MD_KY, CMMNT) values (%1, %2, %3, %4, %5, %6, %7, %8, %9, ")
                             .arg(person)
                             .arg(r.when.toString(QStringLiteral("#M/d/yyyy h:mm AP#")))
                             .arg(number(r.hbp), number(r.lbp), number(r.pulse), number(r.weight), number(r.temp),
                                  number(r.temp1), number(r.sugar)) +
                         keyOf("DBTS_GOAL", "GL_KY", "GL_NM", r.goal) + u',' + keyOf("REGIMEN", "RGMN_KY", "RGMN_NM", r.regimen) +
                         u',' + keyOf("MOOD", "MD_KY", "MD_NM", r.mood) + u',' +
                         (r.comment.isEmpty() ? QStringLiteral("Null") : vb::SqlText(r.comment)) + u')',
                     dao::dbFailOnError);
        clsAverage().UpdateAverages(person, r.when, clsAverage::actAdded);
    }

    void addRegimen(const QString& name, const QString& detail)
    {
        gDB->Execute(QStringLiteral("insert into REGIMEN (RGMN_NM, RGMN_DTL) values (") + vb::SqlText(name) + u',' +
                         vb::SqlText(detail) + u')',
                     dao::dbFailOnError);
    }

    void addGoal(const QString& name, int nl, int nh, int dl, int dh)
    {
        gDB->Execute(QStringLiteral("insert into DBTS_GOAL (GL_NM, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH) values (") +
                         vb::SqlText(name) + QStringLiteral(", 'test', '%1', '%2', '%3', '%4')").arg(nl).arg(nh).arg(dl).arg(dh),
                     dao::dbFailOnError);
    }

private:
    std::unique_ptr<services::TestServices> services_;
};

} // namespace testing_reports
