// Help, print screen, chart printing, the about box and the tip of the day.
#include "shell/mdiHealth.h"

void mdiHealth::mnuContents_Click() {}

void mdiHealth::mnuPrintScreen_Click() {}

void mdiHealth::mnuPrint_Click() {}

void mdiHealth::mnuAbout_Click() {}

void mdiHealth::mnuTip_Click() {}
