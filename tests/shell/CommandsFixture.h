#pragma once
// The shell commands' tests: a program folder with a new database (sample person included), the
// shipped help pages, tips file and pictures, the runtime and service doubles (an unexpected
// dialog fails the test), and no form left behind.
#include "data/DataFixture.h"
#include "records/RecordsFixture.h"
#include "support/FileBytes.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/Form.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace testing_shell {

// A plain form of a given name that goes away once unloaded, as a default instance does.
class PlainForm : public vb::Form {
public:
    explicit PlainForm(const QString& name) : vb::Form(name) {}

protected:
    void Form_Unload(int& /*cancel*/) override { deleteLater(); }
};

class CommandsFixture : public testing_records::RecordsFixture {
protected:
    void SetUp() override
    {
        testing_records::RecordsFixture::SetUp();
        const QString shipped = testing_data::executableFolder();
        for (const char* folder : {"htm", "images", "css"})
            testing_data::copyFolder(shipped + QLatin1Char('/') + QLatin1String(folder),
                                     programFolder() + QLatin1Char('/') + QLatin1String(folder));
    }

    void TearDown() override
    {
        // Forms a test made itself belong to the test.
        for (const QPointer<QWidget>& form : ownForms_)
            delete form.data();
        ownForms_.clear();
        testing_records::RecordsFixture::TearDown();
    }

    // A form of the test's own, deleted at the end of the test if nothing else deleted it.
    template <class T, class... Args>
    T* makeForm(Args&&... args)
    {
        auto* form = new T(std::forward<Args>(args)...);
        ownForms_.emplace_back(form);
        return form;
    }

    QString programPath(const QString& relative) const { return programFolder() + QLatin1Char('/') + relative; }

    static void writeFile(const QString& path, const QByteArray& bytes) { ASSERT_TRUE(testing_files::writeBytes(path, bytes)); }
    static QByteArray readFile(const QString& path) { return testing_files::readBytes(path); }

    // The texts of the message boxes shown so far.
    QStringList boxTexts()
    {
        QStringList texts;
        for (const auto& entry : messages().Log())
            texts << entry.text;
        return texts;
    }

private:
    std::vector<QPointer<QWidget>> ownForms_;
};

} // namespace testing_shell
