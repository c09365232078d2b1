#pragma once
// The base of the calculators' tests: a program folder with a new database (sample person
// included) and the help pages, the runtime and service doubles installed (an unexpected
// message box fails the test), and no form left behind.
#include "data/DataFixture.h"
#include "data/Globals.h"
#include "data/modHealth.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Form.h"
#include "support/ServiceDoubles.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

#include <memory>

namespace testing_calculators {

class CalculatorsFixture : public testing_data::DataFixture {
protected:
    void SetUp() override
    {
        services_ = std::make_unique<services::TestServices>();
        services_->setOnUnexpected([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
        testing_data::DataFixture::SetUp();
        testing_data::copyFolder(testing_data::executableFolder() + QStringLiteral("/htm"),
                                 folder.path() + QStringLiteral("/htm"));
        modHealth::setBeepHook([] { vb::Beep(); });
        gPersonKey = -1;
        gHeightUnit = 1;
        gWeightUnit = 1;
    }

    void TearDown() override
    {
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        modHealth::setBeepHook({});
        testing_data::DataFixture::TearDown();
        services_.reset();
    }

    services::TestServices& services() { return *services_; }
    vb::MsgBoxDouble& messages() { return services_->messages(); }
    const vb::MsgBoxDouble::Entry& lastBox() { return services_->messages().Log().back(); }

    // A stand-in for the main window: the calculators only look for a loaded form of its name.
    void loadMainWindow()
    {
        main_ = std::make_unique<vb::MDIForm>(QStringLiteral("mdiHealth"));
        main_->Load();
    }
    void unloadMainWindow()
    {
        if (main_)
            main_->Unload();
    }

    qint32 addPerson(const QString& name, const QVariant& height)
    {
        gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM, HGT) values (%1, %2)")
                         .arg(vb::SqlText(name), vb::IsNull(height) ? QStringLiteral("Null") : height.toString()));
        return count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = %1").arg(vb::SqlText(name)));
    }
    void addWeight(qint32 person, const QString& when, const QVariant& weight)
    {
        gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, WT) values (%1, #%2#, %3)")
                         .arg(person)
                         .arg(when, vb::IsNull(weight) ? QStringLiteral("Null") : weight.toString()));
    }

private:
    std::unique_ptr<services::TestServices> services_;
    std::unique_ptr<vb::MDIForm> main_;
};

} // namespace testing_calculators

// Readable QString values in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE
