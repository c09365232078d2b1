// Tools > Database: backup, compaction and the database folder.
#include "shell/mdiHealth.h"

void mdiHealth::mnuBackupDBFile_Click() {}

void mdiHealth::mnuCompactDB_Click() {}

void mdiHealth::mnuDBDir_Click() {}
