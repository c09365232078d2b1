#include "platform/dao/Engine.h"

#include "platform/dao/Connection.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace dao {

namespace {

struct EngineState {
    QString systemDB;
    std::vector<Error> errors;
    std::vector<std::weak_ptr<Database>> databases;
};

EngineState& state()
{
    static EngineState s;
    return s;
}

std::vector<DatabasePtr> openDatabases()
{
    std::vector<DatabasePtr> out;
    auto& list = state().databases;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [](const std::weak_ptr<Database>& w) {
                                  auto db = w.lock();
                                  return !db || !db->isOpen();
                              }),
               list.end());
    for (const auto& w : list)
        out.push_back(w.lock());
    return out;
}

// Remembers the error of a failing engine call in Errors() before it is raised.
template <typename F>
void recordingErrors(F&& f)
{
    state().errors.clear();
    try {
        f();
    } catch (const Error& e) {
        state().errors.push_back(e);
        throw;
    }
}

} // namespace

Workspace::Workspace(QString name, QString user) : name_(std::move(name)), user_(std::move(user)) {}

DatabasePtr Workspace::OpenDatabase(const QString& path, bool /*exclusive*/, bool readOnly)
{
    DatabasePtr db;
    recordingErrors([&] { db = Database::open(path, readOnly); });
    databases_.push_back(db);
    DBEngine::registerDatabase(db);
    return db;
}

DatabasePtr Workspace::CreateDatabase(const QString& path, const QString& /*locale*/)
{
    // The locale string asks for case-blind English sorting and code page 1252; the engine's
    // text is Unicode and its comparisons ignore case, so there is nothing to set.
    DatabasePtr db;
    recordingErrors([&] { db = Database::create(path); });
    databases_.push_back(db);
    DBEngine::registerDatabase(db);
    return db;
}

void Workspace::BeginTrans()
{
    for (auto& db : databases_)
        if (db->isOpen())
            db->BeginTrans();
}

void Workspace::CommitTrans()
{
    for (auto& db : databases_)
        if (db->isOpen())
            db->CommitTrans();
}

void Workspace::Rollback()
{
    for (auto& db : databases_)
        if (db->isOpen())
            db->Rollback();
}

void Workspace::Close()
{
    for (auto& db : databases_)
        db->Close();
    databases_.clear();
}

QString DBEngine::SystemDB() { return state().systemDB; }
void DBEngine::setSystemDB(const QString& path) { state().systemDB = path; }

WorkspacePtr DBEngine::CreateWorkspace(const QString& name, const QString& user, const QString& /*password*/, int /*type*/)
{
    return std::make_shared<Workspace>(name, user);
}

void DBEngine::registerDatabase(const DatabasePtr& db) { state().databases.push_back(db); }

void DBEngine::BeginTrans()
{
    for (auto& db : openDatabases())
        db->BeginTrans();
}

void DBEngine::CommitTrans()
{
    for (auto& db : openDatabases())
        if (db->transactionDepth() > 0)
            db->CommitTrans();
}

void DBEngine::Rollback()
{
    for (auto& db : openDatabases())
        if (db->transactionDepth() > 0)
            db->Rollback();
}

const std::vector<Error>& DBEngine::Errors() { return state().errors; }

void DBEngine::CompactDatabase(const QString& src, const QString& dst)
{
    recordingErrors([&] {
        if (QFileInfo::exists(dst))
            throw Error(errDatabaseExists, QStringLiteral("Database '%1' already exists.").arg(dst));
        if (!QFileInfo::exists(src))
            throw Error(errFileNotFound, QStringLiteral("Could not find file '%1'.").arg(src));
        DatabasePtr db = Database::open(src);
        const QString target = QFileInfo(dst).absoluteFilePath();
        char* msg = nullptr;
        const int rc =
            sqlite3_exec(db->handle(), ("VACUUM INTO " + detail::quoteLiteral(target)).constData(), nullptr, nullptr, &msg);
        const QString text = msg ? QString::fromUtf8(msg) : QString();
        sqlite3_free(msg);
        db->Close();
        if (rc != SQLITE_OK) {
            QFile::remove(target);
            Error e = detail::mapError(rc, text, dst);
            throw Error(e.Number(),
                        QStringLiteral("The database could not be compacted into '%1': %2").arg(dst, e.Description()));
        }
    });
}

} // namespace dao
