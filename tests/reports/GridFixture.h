#pragma once
// The base of the grid view's tests: a program folder with a new database, the service doubles
// installed (an unexpected message box or dialog fails the test), a person of the test's own
// making with readings added through SQL and their stored averages, and no form left behind.
#include "data/DataFixture.h"
#include "data/Globals.h"
#include "data/clsAverage.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Form.h"
#include "support/ServiceDoubles.h"

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

    // Closes every form and lets Qt delete them.
    static void closeForms()
    {
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void TearDown() override
    {
        closeForms();
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

    // Adds the reading (goal, regimen and mood by name) and brings the stored averages up to date.
    void add(qint32 person, const Reading& r)
    {
        auto number = [](const auto& v) { return v ? vb::NumberText(double(*v)) : QStringLiteral("Null"); };
        auto key = [](const char* sql, const QString& name) {
            return name.isEmpty() ? QStringLiteral("Null") : QString::number(count(QLatin1String(sql) + vb::SqlText(name)));
        };
        gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP, LBP, PLSE, WT, TEMP, TEMP1, TEMP2, GL_KY, "
                                    "RGMN_KY, MD_KY, CMMNT) values (%1, %2, %3, %4, %5, %6, %7, %8, %9, ")
                             .arg(person)
                             .arg(r.when.toString(QStringLiteral("#M/d/yyyy h:mm AP#")))
                             .arg(number(r.hbp), number(r.lbp), number(r.pulse), number(r.weight), number(r.temp),
                                  number(r.temp1), number(r.sugar)) +
                         QStringList{key("select GL_KY from DBTS_GOAL where GL_NM = ", r.goal),
                                     key("select RGMN_KY from REGIMEN where RGMN_NM = ", r.regimen),
                                     key("select MD_KY from MOOD where MD_NM = ", r.mood),
                                     r.comment.isEmpty() ? QStringLiteral("Null") : vb::SqlText(r.comment)}
                             .join(u',') +
                         u')',
                     dao::dbFailOnError);
        clsAverage().UpdateAverages(person, r.when, clsAverage::actAdded);
    }

    // Runs a statement whose %1, %2... are the texts given, each as an SQL text literal.
    static void execute(const QString& sql, const QStringList& texts = {})
    {
        QString statement = sql;
        for (const QString& text : texts)
            statement = statement.arg(vb::SqlText(text));
        gDB->Execute(statement, dao::dbFailOnError);
    }
    void addRegimen(const QString& name, const QString& detail)
    {
        execute(QStringLiteral("insert into REGIMEN (RGMN_NM, RGMN_DTL) values (%1, %2)"), {name, detail});
    }
    void addGoal(const QString& name, int nl, int nh, int dl, int dh)
    {
        execute(QStringLiteral("insert into DBTS_GOAL (GL_NM, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH) values (%1, 't', ") +
                    QStringLiteral("'%1', '%2', '%3', '%4')").arg(nl).arg(nh).arg(dl).arg(dh),
                {name});
    }

private:
    std::unique_ptr<services::TestServices> services_;
};

} // namespace testing_reports
