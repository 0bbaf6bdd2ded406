#include "shell/shutdown_store.h"

#include "files/config.h"
#include "files/file_commands.h"
#include "host/host.h"
#include "shell/program_path.h"
#include "host/texts.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "store/undo.h"

namespace {

constexpr const char* textQuitWithoutSaving = "The data has not been saved.\nQuit ORDANE-Lumo without saving?";

}  // namespace

bool shutdownStore(bool canStay)
{
    uiBusy = true;   // stays up once the shutdown goes through
    if (autoSaveConfig)
        writeConfiguration(configFilePath);
    if (dataModified && !storeUnavailable) {
        if (autoSaveData || host().askYesNo(captionMain, textSaveNow, false)) {
            // The edits exist only in memory now: freeing the store after a
            // save that did not happen would lose them.
            if (saveFile(false) != SaveResult::Saved && canStay &&
                !host().askYesNo(captionMain, textQuitWithoutSaving, false)) {
                uiBusy = false;
                return false;
            }
        }
    }
    saveLocked = true;
    freeStore();
    if (snapshotValid)
        discardSnapshot();
    return true;
}
