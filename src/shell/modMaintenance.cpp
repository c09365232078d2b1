#include "shell/modMaintenance.h"

#include "data/Globals.h"
#include "data/clsCreateMDB.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/Form.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/services/Dialogs.h"
#include "platform/services/Services.h"
#include "platform/services/Shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <exception>
#include <filesystem>
#include <optional>
#include <vector>

namespace modMaintenance {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kMainWindowName = QStringLiteral("mdiHealth");
constexpr int kFileAccessError = 75;

dao::Error fileError(const QString& description)
{
    return dao::Error(kFileAccessError, QStringLiteral("Path/File access error: ") + description, App::Title());
}

QString backupQuestion()
{
    return QStringLiteral("This action will close the Application.") + kCrLf + kCrLf +
           QStringLiteral("Do you like to backup the database?");
}

QString fileNameNotCorrect() { return QStringLiteral("The file name is not correct. Enter the correct file name."); }

QString compactQuestion()
{
    return QStringLiteral("Before compacting the database, you should backup the database file. ") + kCrLf + kCrLf +
           QStringLiteral("This action will close the Application.") + kCrLf + kCrLf +
           QStringLiteral("Do you like to compact the database?");
}

// What went wrong, as the messages show it.
struct Failure {
    int number = 0;
    QString description;
};

Failure describe(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const dao::Error& e) {
        return {e.Number(), e.Description()};
    } catch (const std::exception& e) {
        return {0, QString::fromLocal8Bit(e.what())};
    } catch (...) {
        return {0, QStringLiteral("Unknown error")};
    }
}

void closeDatabase() { clsCreateMDB().CloseDatabase(); }

// Opens the database again; tells the user when even that fails. True when it is open.
bool reopen(FileSteps& steps)
{
    try {
        steps.openDatabase();
        return gDB && gDB->isOpen();
    } catch (...) {
        const Failure failure = describe(std::current_exception());
        vb::MsgBox(QStringLiteral("The database could not be opened again.") + kCrLf + QStringLiteral("Error number: ") +
                       QString::number(failure.number) + kCrLf + failure.description + kCrLf + kCrLf +
                       QStringLiteral("Closing the Application."),
                   vb::vbCritical);
        return false;
    }
}

// A compacted file is taken only when it opens and holds as many rows in every table as the
// database it was made from.
void verifyCompacted(const QString& compacted, const std::map<QString, qint64>& expected)
{
    const dao::DatabasePtr db = dao::Database::open(compacted, true);
    std::map<QString, qint64> counts;
    try {
        counts = TableRowCounts(*db);
    } catch (...) {
        db->Close();
        throw;
    }
    db->Close();
    if (counts != expected)
        throw dao::Error(dao::errUnrecognisedFormat,
                         QStringLiteral("The compacted file '%1' does not hold the rows of the database.").arg(compacted),
                         App::Title());
}

} // namespace

// ---- file steps ----------------------------------------------------------------------------

void FileSteps::copyFile(const QString& from, const QString& to)
{
    const QString what = QStringLiteral("'%1' could not be copied to '%2'").arg(from, to);
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw fileError(what + QStringLiteral(": ") + source.errorString());
    QSaveFile target(to);
    target.setDirectWriteFallback(false);
    if (!target.open(QIODevice::WriteOnly))
        throw fileError(what + QStringLiteral(": ") + target.errorString());
    for (;;) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty())
            break;
        if (target.write(chunk) != chunk.size()) {
            const QString reason = target.errorString();
            target.cancelWriting();
            throw fileError(what + QStringLiteral(": ") + reason);
        }
    }
    if (source.error() != QFileDevice::NoError) {
        target.cancelWriting();
        throw fileError(what + QStringLiteral(": ") + source.errorString());
    }
    if (!target.commit())
        throw fileError(what + QStringLiteral(": ") + target.errorString());
}

void FileSteps::removeFile(const QString& path)
{
    QFile file(path);
    if (!file.remove() && QFileInfo::exists(path))
        throw fileError(QStringLiteral("'%1' could not be deleted: %2").arg(path, file.errorString()));
}

void FileSteps::compact(const QString& from, const QString& to) { dao::DBEngine::CompactDatabase(from, to); }

void FileSteps::openDatabase() { clsCreateMDB().OpenOrCreateDatabase(); }

// ---- helpers -------------------------------------------------------------------------------

bool IsSameFile(const QString& first, const QString& second)
{
    if (first.isEmpty() || second.isEmpty())
        return false;
    if (QDir::cleanPath(QFileInfo(first).absoluteFilePath()) == QDir::cleanPath(QFileInfo(second).absoluteFilePath()))
        return true;
    std::error_code ec;
    const bool same =
        std::filesystem::equivalent(QFile::encodeName(first).toStdString(), QFile::encodeName(second).toStdString(), ec);
    return !ec && same;
}

bool UnloadOtherForms()
{
    // Search the collection afresh after each unload: a form's unload may take others with it.
    for (;;) {
        vb::FormBase* next = nullptr;
        for (vb::FormBase* form : vb::Forms().Snapshot()) {
            if (form->Name() != kMainWindowName) {
                next = form;
                break;
            }
        }
        if (!next)
            return true;
        if (!next->Unload())
            return false;
    }
}

std::map<QString, qint64> TableRowCounts(dao::Database& db)
{
    std::map<QString, qint64> counts;
    for (const QString& table : db.TableDefs().names()) {
        auto rs = db.OpenRecordset(QStringLiteral("select count(*) from [") + table + QLatin1Char(']'), dao::dbOpenSnapshot,
                                   dao::dbReadOnly);
        counts[table] = rs->Fields(0).Value().toLongLong();
        rs->Close();
    }
    return counts;
}

// ---- backup --------------------------------------------------------------------------------

bool BackupDatabase(FileSteps& steps)
{
    if (!gDB)
        return false;
    const QString path = gDB->Name();

    if (vb::MsgBox(backupQuestion(), vb::vbYesNo | vb::vbQuestion | vb::vbDefaultButton2) != vb::vbYes)
        return false;

    services::FileDialogRequest request;
    request.title = QStringLiteral("Backup Database to a File");
    request.initialFolder = QDir::homePath();
    request.filter = QStringLiteral("Database Files (*.mdb)|*.mdb");
    request.defaultExtension = QStringLiteral(".mdb");
    const std::optional<QString> chosen = services::Current().fileDialogs->SaveFile(request);
    // A cancelled dialog ends the command as a wrong name does.
    if (!chosen || chosen->trimmed().isEmpty()) {
        vb::MsgBox(fileNameNotCorrect(), vb::vbInformation);
        return false;
    }
    const QString target = *chosen;

    if (IsSameFile(target, path)) {
        vb::MsgBox(QStringLiteral("The destination file cannot be the same as database file name.") + kCrLf +
                       QStringLiteral("Choose another file name"),
                   vb::vbExclamation);
        return false;
    }
    if (QFileInfo::exists(target)) {
        const QString question = QStringLiteral("The file: ") + QDir::toNativeSeparators(target) +
                                 QStringLiteral(" already exist.") + kCrLf + QStringLiteral("Do you wish to overwrite it?");
        if (vb::MsgBox(question, vb::vbYesNo | vb::vbQuestion | vb::vbDefaultButton2) != vb::vbYes)
            return false;
    }

    if (!UnloadOtherForms())
        return false;
    closeDatabase();

    bool copied = false;
    try {
        steps.copyFile(path, target);
        copied = true;
    } catch (...) {
    }
    // Open again whatever happened: the program never goes on without its database.
    const bool opened = reopen(steps);
    if (!copied) {
        vb::MsgBox(fileNameNotCorrect(), vb::vbInformation);
        return !opened;
    }
    if (!opened)
        return true;

    vb::MsgBox(QStringLiteral("The database file has been successfully copied to: ") + kCrLf + QDir::toNativeSeparators(target) +
                   kCrLf + QStringLiteral("Closing the Application.") + kCrLf + kCrLf +
                   QStringLiteral("Please keep this backup file in a safe location."),
               vb::vbInformation);
    return true;
}

bool BackupDatabase()
{
    FileSteps steps;
    return BackupDatabase(steps);
}

// ---- compaction ----------------------------------------------------------------------------

bool CompactDatabase(FileSteps& steps)
{
    if (vb::MsgBox(compactQuestion(), vb::vbYesNo | vb::vbQuestion | vb::vbDefaultButton2) != vb::vbYes)
        return false;
    if (!gDB)
        return false;
    const QString path = gDB->Name();
    const QString oldPath = path + QStringLiteral("_old");
    const QString compactPath = path + QStringLiteral("_compact");

    if (!UnloadOtherForms())
        return false;

    std::optional<Failure> failure;
    std::vector<dao::Error> engineErrors;
    bool replaced = false;
    {
        vb::BusyCursor busy;
        try {
            const std::map<QString, qint64> counts = TableRowCounts(*gDB);
            closeDatabase();
            if (QFileInfo::exists(compactPath))
                steps.removeFile(compactPath);
            if (QFileInfo::exists(oldPath))
                steps.removeFile(oldPath);
            steps.copyFile(path, oldPath);
            try {
                steps.compact(path, compactPath);
            } catch (const dao::Error&) {
                engineErrors = dao::DBEngine::Errors();
                throw;
            }
            verifyCompacted(compactPath, counts);
            // The one step that changes the database file: a rename, so it is either the old
            // file or the whole compacted one.
            steps.copyFile(compactPath, path);
            replaced = true;
            steps.openDatabase();
        } catch (...) {
            failure = describe(std::current_exception());
        }
    }

    if (!failure) {
        vb::MsgBox(QStringLiteral("Database has been compacted."), vb::vbInformation);
        return true;
    }

    if (engineErrors.empty())
        engineErrors.emplace_back(failure->number, failure->description);
    for (const dao::Error& e : engineErrors) {
        vb::MsgBox(QStringLiteral("Repair unsuccessful! Replacing with Old file.") + QStringLiteral("\r") +
                       QStringLiteral("Error number: ") + QString::number(e.Number()) + QStringLiteral("\r") + e.Description(),
                   vb::vbOKOnly);
    }
    if (gDB)
        closeDatabase();
    if (replaced) {
        // The compacted file is in place but would not open: the copy made before is put back,
        // once. Before that step the database file was never touched.
        try {
            steps.copyFile(oldPath, path);
        } catch (...) {
            const Failure restore = describe(std::current_exception());
            vb::MsgBox(QStringLiteral("The old file could not be put back: ") + restore.description + kCrLf +
                           QStringLiteral("The copy made before compacting is: ") + QDir::toNativeSeparators(oldPath),
                       vb::vbCritical);
        }
    }
    reopen(steps);
    return true;
}

bool CompactDatabase()
{
    FileSteps steps;
    return CompactDatabase(steps);
}

// ---- database folder -----------------------------------------------------------------------

void ShowDatabaseFolder()
{
    const QString path = gDB ? gDB->Name() : clsCreateMDB::databasePath();
    const QString question = QStringLiteral("The database directory is: ") + QDir::toNativeSeparators(path) + kCrLf +
                             QStringLiteral("Do you like to open the directory?") + kCrLf +
                             QStringLiteral("Note: Moving or changing the database file may erase all the information.");
    if (vb::MsgBox(question, vb::vbYesNo | vb::vbExclamation | vb::vbDefaultButton2) != vb::vbYes)
        return;
    const QString folder = App::Path() + QStringLiteral("/database");
    services::OpenOrTell(services::OpenTarget::Folder, folder);
}

} // namespace modMaintenance
