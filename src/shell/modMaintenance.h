#pragma once
// The database commands of the Tools menu: backup to a file the user chooses, compaction in
// place (through the side copies "<path>_old" and "<path>_compact", left beside the file) and
// the database folder. Backup and compaction close every other form and the database, work on
// the file and open the database again through the data layer, whatever step failed; the main
// window then closes, which ends the program the normal way.
#include <QString>

#include <map>

namespace dao {
class Database;
}

namespace modMaintenance {

// The file work of the commands, one step a call. Virtual so that a test can make a step fail.
class FileSteps {
public:
    virtual ~FileSteps() = default;
    // Copies a file. The target is replaced only by a complete copy: the copy is written beside
    // it and renamed over it, so a failure leaves the target as it was. Raises dao::Error 75.
    virtual void copyFile(const QString& from, const QString& to);
    // Raises dao::Error 75 when an existing file cannot be removed.
    virtual void removeFile(const QString& path);
    // The engine's compaction into a new file.
    virtual void compact(const QString& from, const QString& to);
    // Opens the program's database into gWS/gDB (clsCreateMDB::OpenOrCreateDatabase).
    virtual void openDatabase();
};

// Each returns true when the main window must close now (the command reached its end with the
// database closed and opened again); false when it ended early and changed nothing.
bool BackupDatabase(FileSteps& steps);
bool BackupDatabase();
bool CompactDatabase(FileSteps& steps);
bool CompactDatabase();
// Shows the database file's path and, when the user agrees, opens the database folder.
void ShowDatabaseFolder();

// Whether two names denote one file: the same absolute path, or (both existing) the same file
// reached through another spelling, a symbolic link or a hard link.
bool IsSameFile(const QString& first, const QString& second);
// Unloads every loaded form but the main window; false when one refuses (it stays loaded, and
// so do the forms after it).
bool UnloadOtherForms();
// The rows of every table, by table name.
std::map<QString, qint64> TableRowCounts(dao::Database& db);

} // namespace modMaintenance
