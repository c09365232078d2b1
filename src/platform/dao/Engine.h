#pragma once
// The engine object and its workspaces. There are no accounts on SQLite: a workspace keeps its
// name and user for the code's sake, and the workgroup file setting is kept but not needed.
#include "platform/dao/Database.h"
#include "platform/dao/Error.h"

#include <QString>
#include <memory>
#include <vector>

namespace dao {

class Workspace {
public:
    Workspace(QString name, QString user);
    QString Name() const { return name_; }
    QString UserName() const { return user_; }

    DatabasePtr OpenDatabase(const QString& path, bool exclusive = false, bool readOnly = false);
    DatabasePtr CreateDatabase(const QString& path, const QString& locale = QString::fromLatin1(dbLangGeneral));
    const std::vector<DatabasePtr>& Databases() const { return databases_; }

    // Transactions of the workspace span its open databases.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    void Close();

private:
    QString name_;
    QString user_;
    std::vector<DatabasePtr> databases_;
};

using WorkspacePtr = std::shared_ptr<Workspace>;

class DBEngine {
public:
    static QString SystemDB();
    static void setSystemDB(const QString& path);
    static WorkspacePtr CreateWorkspace(const QString& name, const QString& user, const QString& password, int type = dbUseJet);
    // Transactions of the engine: on every database opened through a workspace and still open.
    static void BeginTrans();
    static void CommitTrans();
    static void Rollback();
    // Copies src into a new, compacted file dst; raises 3204 when dst exists, 3024 when src is
    // missing. The errors of the last failing call stay in Errors().
    static void CompactDatabase(const QString& src, const QString& dst);
    static const std::vector<Error>& Errors();

private:
    friend class Workspace;
    static void registerDatabase(const DatabasePtr& db);
};

} // namespace dao
