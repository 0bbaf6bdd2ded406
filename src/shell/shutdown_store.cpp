#include "shell/shutdown_store.h"

#include "files/config.h"
#include "files/file_commands.h"
#include "host/host.h"
#include "shell/program_path.h"
#include "host/texts.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "store/undo.h"

void shutdownStore()
{
    uiBusy = true;   // stays up: no more input from here on
    if (autoSaveConfig)
        writeConfiguration(configFilePath);
    if (dataModified && !storeUnavailable) {
        if (autoSaveData || host().askYesNo(captionMain, textSaveNow, false))
            saveFile(false);
    }
    saveLocked = true;
    freeStore();
    if (snapshotValid)
        discardSnapshot();
}
