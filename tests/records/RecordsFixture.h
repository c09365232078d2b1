#pragma once
// The base of the record forms' tests: a program folder with a new database (sample person
// included), the runtime and service doubles installed (an unexpected message box fails the
// test), and no form left behind.
#include "data/DataFixture.h"
#include "data/Globals.h"
#include "platform/runtime/ui/Form.h"
#include "support/ServiceDoubles.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

#include <memory>

namespace testing_records {

class RecordsFixture : public testing_data::DataFixture {
protected:
    void SetUp() override
    {
        services_ = std::make_unique<services::TestServices>();
        services_->setOnUnexpected([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
        testing_data::DataFixture::SetUp();
        // The sample person is the current person of a new database.
        samplePerson = count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = 'Pellam Ostry'"));
        gPersonKey = samplePerson;
        gWeightUnit = 1;
        gHeightUnit = 1;
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
    vb::MsgBoxDouble& messages() { return services_->messages(); }
    // Queues the answer for the next message box.
    void answer(int result) { services_->messages().Answer(result); }
    const vb::MsgBoxDouble::Entry& lastBox() { return services_->messages().Log().back(); }

    int samplePerson = 0;

private:
    std::unique_ptr<services::TestServices> services_;
};

} // namespace testing_records
