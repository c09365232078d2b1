#pragma once
// The base of the shell's tests: a temporary program folder (with the sample files, no
// database yet), every runtime and platform service replaced by its double (an unexpected
// message box or modal window fails the test), a lock file of the test's own, and no form or
// open database left behind.
#include "data/DataFixture.h"
#include "data/Globals.h"
#include "data/modFunctions.h"
#include "platform/runtime/ui/Form.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/services/InstanceLock.h"
#include "shell/mdiHealth.h"
#include "shell/modHealthMain.h"
#include "support/ServiceDoubles.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

namespace testing_shell {

class ShellFixture : public testing_data::ProgramFolderTest {
protected:
    void SetUp() override
    {
        services_ = std::make_unique<services::TestServices>();
        services_->setOnUnexpected([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
        services_->locale().Set(QStringLiteral("M/d/yyyy"), QStringLiteral("/"));
        testing_data::ProgramFolderTest::SetUp();
        lock_ = std::make_unique<services::InstanceLock>(lockPath());
    }

    void TearDown() override
    {
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        modFunctions::setSplashStatusHook({});
        testing_data::ProgramFolderTest::TearDown();
        lock_.reset();
        services_.reset();
    }

    QString lockPath() const { return programFolder() + QStringLiteral("/instance.lock"); }

    // The program's start, as main() runs it, with this test's lock.
    void startProgram() { modHealth::Main(*lock_); }

    // A start without sample files: the new database has no person.
    void startProgramWithoutSamples()
    {
        QDir(programFolder() + QStringLiteral("/Sample")).removeRecursively();
        startProgram();
    }

    // Ends the program as the Exit command does; the next start begins from the globals' start
    // values, as a new process would.
    void exitProgram()
    {
        if (mdiHealth* main = mdiHealth::Loaded())
            main->Unload();
        vb::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        testing_data::resetGlobals();
    }

    static mdiHealth* mainWindow() { return mdiHealth::Loaded(); }

    // Names of the loaded forms, in load order.
    static QStringList loadedForms()
    {
        QStringList names;
        for (vb::FormBase* form : vb::Forms().Snapshot())
            names << form->Name();
        return names;
    }
    static bool isLoaded(const QString& name) { return vb::Forms().Find(name) != nullptr; }

    services::TestServices& services() { return *services_; }
    vb::MsgBoxDouble& boxes() { return services_->messages(); }
    const std::vector<vb::MsgBoxDouble::Entry>& boxLog() { return services_->messages().Log(); }
    // Queues the answer to the next message box.
    void answer(int result) { services_->messages().Answer(result); }

private:
    std::unique_ptr<services::TestServices> services_;
    std::unique_ptr<services::InstanceLock> lock_;
};

} // namespace testing_shell
