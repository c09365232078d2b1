// Tools > Database: backup, compaction and the database folder. Backup and compaction end with
// the database open again; when they ran to their end the main window closes, which ends the
// program the normal way (the settings row is saved on the way out).
#include "shell/mdiHealth.h"

#include "shell/modMaintenance.h"

void mdiHealth::mnuBackupDBFile_Click()
{
    if (modMaintenance::BackupDatabase())
        Unload();
}

void mdiHealth::mnuCompactDB_Click()
{
    if (modMaintenance::CompactDatabase())
        Unload();
}

void mdiHealth::mnuDBDir_Click() { modMaintenance::ShowDatabaseFolder(); }
